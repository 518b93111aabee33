#include "blocks/dialogs/interfaces/data_field_dialog.h"

#include <cwchar>
#include <new>

#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_check_box.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

const BeSignalType kBeFieldTypes[kBeFieldTypeCount] = {1, 2, 3, 4, 5, 6, 22, 23, 24, 27, 28, 25, 26, 30, 31, 32, 33, 36};

namespace {
const int kFormWidth = 220, kFormHeight = 215;
const int kNameWidth = 120, kNameHeight = 21;
const int kTypeWidth = 200, kTypeHeight = 21;
const int kChannelWidth = 100, kChannelHeight = 22;
const int kRobotBoxWidth = 200, kRobotBoxHeight = 18;
const int kButtonWidth = 80, kButtonHeight = 25;
}  // namespace

bool ShowDataFieldDialog(wchar_t* name, BeSignalType* type, int* channel) {
  if (!name || !type || !channel) return false;
  auto* form = new (std::nothrow) CKestForm();
  if (!form) return false;
  if (!form->Create(MainKestForm, L"Поле данных", KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, false, false,
                    true, true)) {
    delete form;
    return false;
  }
  form->SetReady(false);
  new CKestLabel(form, L"Название:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  auto* edit = new CKestEdit(form, 0, KEST_POS_FLOW, kNameWidth, kNameHeight, false, kBeFieldTextChars - 1, true);
  name[kBeFieldTextChars - 1] = 0;
  edit->SetText(name);
  form->NewFlowRow();

  new CKestLabel(form, L"Тип данных:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  auto* types = new CKestComboBox(form, 0, false, KEST_POS_FLOW, kTypeWidth, kTypeHeight, 0);
  int selected = -1;
  for (int i = 0; i < kBeFieldTypeCount; ++i) {
    const wchar_t* text = GetSignalTypeName(kBeFieldTypes[i]);
    int index = types->AddItem(text ? text : L"", kBeFieldTypes[i]);
    if (selected < 0 && kBeFieldTypes[i] == *type) selected = index;
  }
  types->SetSelectedIndex(selected);
  form->NewFlowRow();

  CKestSpinEdit* number = nullptr;
  CKestCheckBox* robot = nullptr;
  if (*channel >= 0) {
    new CKestLabel(form, L"Канал:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, kChannelHeight, -1);
    number = new CKestSpinEdit(form, 0, true, 0, 255, 1, KEST_POS_FLOW, kChannelWidth, kChannelHeight);
    number->SetIntValue(*channel);
    form->NewFlowRow();
    robot = new CKestCheckBox(form, L"Канал=номер робота", *channel == kBeFieldRobotChannel, 0, KEST_POS_FLOW,
                              kRobotBoxWidth, kRobotBoxHeight, nullptr);
    form->NewFlowRow();
  }
  form->BeginCenteredRows();
  new CKestButton(form, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 1);
  new CKestButton(form, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 2);
  form->CenterFlowRows();
  edit->SetFocus();
  form->SetReady(true);

  HWND window = form->GetHandle();
  int result = form->ShowModal(false);
  // The program may have ended the form meanwhile: only a form still there
  // is read and deleted.
  bool alive = IsWindow(window) && GetControlFromHandle(window) == form;
  if (!alive) return false;
  bool confirmed = result == 1;
  if (confirmed) {
    int index = types->GetSelectedIndex();
    if (index >= 0) *type = static_cast<BeSignalType>(types->GetItemData(index));
    wchar_t text[kBeFieldTextChars] = L"";
    edit->CopyText(text, kBeFieldTextChars);
    text[kBeFieldTextChars - 1] = 0;
    wcscpy(name, text);
    if (robot && robot->IsChecked()) {
      *channel = kBeFieldRobotChannel;
    } else if (number) {
      int value = number->GetIntValue();
      *channel = value < 0 ? 0 : value > 255 ? 255 : value;
    }
  }
  delete form;
  return confirmed;
}
