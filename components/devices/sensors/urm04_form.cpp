#include "components/devices/sensors/urm04_form.h"

#include <new>

#include "kestui/buttons/kest_label.h"
#include "kestui/core/kest_messages.h"

namespace {

const int kNoteWidth = 280, kNoteHeight = 80;
const int kEditWidth = 100, kEditHeight = 22;
const int kButtonWidth = 100, kButtonHeight = 25;
const int kOkResult = 1, kCancelResult = 2;
const int kMinAddress = 17, kMaxAddress = 128;

const wchar_t kNote[] =
    L"Для обмена данными с устройством используйте \"Драйвер протокола управления дальномерами\". Скорость: "
    L"115200,8,1,N.";

}  // namespace

CUrm04Form::CUrm04Form(const wchar_t* caption, int address) {
  if (!Create(MainKestForm, caption ? caption : L"", KEST_POS_FLOW, kWidth, kHeight, nullptr, false, false, true,
              true))
    return;
  new CKestLabel(this, kNote, KEST_POS_FLOW, false, kNoteWidth, kNoteHeight, 0);
  NewFlowRow();
  new CKestLabel(this, L"Выберите номер канала 17 до 128:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE,
                 KEST_LABEL_MEASURE, -1);
  NewFlowRow();
  BeginCenteredRows();
  addressEdit = new CKestSpinEdit(this, 0, true, kMinAddress, kMaxAddress, 1, KEST_POS_FLOW, kEditWidth, kEditHeight);
  addressEdit->SetIntValue(address);
  NewFlowRow();
  okButton = new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, kOkResult);
  cancelButton = new CKestButton(this, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight,
                                 nullptr, kCancelResult);
  CenterFlowRows();
}

bool EditUrm04Address(const wchar_t* caption, int* address) {
  CUrm04Form* form = new (std::nothrow) CUrm04Form(caption, *address);
  bool ok = false;
  if (form && form->GetHandle() && form->ShowModal(false) == kOkResult) {
    if (form->addressEdit) *address = form->addressEdit->GetIntValue();
    ok = true;
  }
  delete form;
  return ok;
}
