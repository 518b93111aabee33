#include "components/devices/sensors/urm37_form.h"

#include <new>

#include "kestui/buttons/kest_label.h"
#include "kestui/core/kest_messages.h"

namespace {

const int kNoteWidth = 300, kNoteHeight = 80;
const int kLevelsLabelWidth = 180, kLevelsWidth = 120, kListHeight = 21;
const int kModeWidth = 300;
const int kEditWidth = 100, kEditHeight = 22;
const int kButtonWidth = 100, kButtonHeight = 25;
const int kOkResult = 1, kCancelResult = 2;
const int kModeCount = 3;
const int kGap = 4;

const wchar_t kNote[] =
    L"Для обмена данными с устройством используйте \"Драйвер протокола управления дальномерами\". Скорость "
    L"9600,8,1,N. Входной канал дальномера 1, выходной 0";
const wchar_t* const kLevels[] = {L"TTL", L"RS232"};
const wchar_t* const kModes[kModeCount] = {L"Режим 1: работы по последовательному порту",
                                           L"Режим 2: автоматически формируется ШИМ и COMP",
                                           L"Режим 3: ШИМ формируется по запросу TRIG"};

}  // namespace

CUrm37Form::CUrm37Form(const wchar_t* caption, const Urm37Settings& settings) {
  if (!Create(MainKestForm, caption ? caption : L"", KEST_POS_FLOW, kWidth, kHeight, nullptr, false, false, true,
              true))
    return;
  // The rows are as wide as the form's client area allows with a small gap.
  if (KestFlowLayout* flow = GetFlowLayout()) flow->gap = kGap;
  new CKestLabel(this, kNote, KEST_POS_FLOW, false, kNoteWidth, kNoteHeight, 0);
  NewFlowRow();
  new CKestLabel(this, L"Джамперы J0,J1,J2:", KEST_POS_FLOW, false, kLevelsLabelWidth, kListHeight, 1);
  levelsBox = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kLevelsWidth, kListHeight, 0);
  for (const wchar_t* item : kLevels) levelsBox->AddItem(item, 0);
  levelsBox->SetSelectedIndex(settings.rs232Levels ? 1 : 0);
  NewFlowRow();
  new CKestLabel(this, L"Режим работы:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  modeBox = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kModeWidth, kListHeight, 0);
  for (const wchar_t* item : kModes) modeBox->AddItem(item, 0);
  if (settings.mode < kModeCount) modeBox->SetSelectedIndex(settings.mode);
  NewFlowRow();
  new CKestLabel(this, L"Пороговое расстояние для реж.2 (в см):", KEST_POS_FLOW, true, KEST_LABEL_MEASURE,
                 KEST_LABEL_MEASURE, -1);
  thresholdEdit =
      new CKestSpinEdit(this, 0, true, kMinThreshold, kMaxThreshold, 1, KEST_POS_FLOW, kEditWidth, kEditHeight);
  thresholdEdit->SetIntValue(settings.threshold);
  NewFlowRow();
  BeginCenteredRows();
  okButton = new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, kOkResult);
  cancelButton = new CKestButton(this, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight,
                                 nullptr, kCancelResult);
  CenterFlowRows();
}

void CUrm37Form::TakeInto(Urm37Settings* settings) {
  int i = levelsBox ? levelsBox->GetSelectedIndex() : -1;
  if (i == 0 || i == 1) settings->rs232Levels = i == 1;
  i = modeBox ? modeBox->GetSelectedIndex() : -1;
  if (i >= 0 && i < kModeCount) settings->mode = static_cast<unsigned char>(i);
  if (thresholdEdit) settings->threshold = static_cast<uint16_t>(thresholdEdit->GetIntValue());
}

bool EditUrm37Settings(const wchar_t* caption, Urm37Settings* settings) {
  CUrm37Form* form = new (std::nothrow) CUrm37Form(caption, *settings);
  bool ok = false;
  if (form && form->GetHandle() && form->ShowModal(false) == kOkResult) {
    form->TakeInto(settings);
    ok = true;
  }
  delete form;
  return ok;
}
