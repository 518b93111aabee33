#include "blocks/dialogs/mcu/peripheral_dialogs.h"

#include <cwchar>

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/avr_timer.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/software_pwm.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "kestui/buttons/kest_check_box.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/lists/kest_list_view.h"

const wchar_t* const kBeAdcReferenceItems[4] = {
    L"Ножка AREF (00)", L"Ножка AVCC с внеш.кондесатором к AREF (01)", L"Зарезервировано (10)",
    L"Внутр. 2.65в с внеш.кондесатором к AREF (11)"};
const wchar_t* const kBeAdcAdjustItems[2] = {L"правое: ------9876543210", L"левое:  9876543210------"};
const wchar_t* const kBeAdcPrescalerItems[8] = {L"2 (000)",  L"2 (001)",  L"4 (010)",  L"8 (011)",
                                                L"16 (100)", L"32 (101)", L"64 (110)", L"128 (111)"};
const wchar_t* const kBeTimerCompareItems[3] = {L"Откл.", L"Прям.ШИМ", L"Инв.ШИМ"};
const wchar_t* const kBePortModeItems[4] = {L"Вход", L"Вход с подтягивающим резистором", L"Выход",
                                            L"Переключаемый вход/выход"};

namespace {
const int kGpioSize = 260, kGpioButtonPanelHeight = 45, kGpioListHeight = 200;
const int kPwmWidth = 260, kPwmHeight = 180, kPwmPeriodWidth = 180;
const int kIntervalWidth = 400, kIntervalHeight = 220;
const int kIntervalTextWidth = 360, kIntervalTextHeight = 40;
const int kIntervalLabelWidth = 270, kIntervalRowHeight = 22;
const int kIntervalFilterWidth = 200, kCheckHeight = 18;
const int kIntervalMin = 100, kIntervalMax = 10000000, kIntervalStep = 100;
const int kPeriodsMin = 1, kPeriodsMax = 5000;
const int kAdcWidth = 360, kAdcHeight = 330;
const int kAdcReferenceWidth = 250, kAdcAdjustWidth = 300, kAdcPrescalerWidth = 200, kAdcChannelWidth = 150;
const int kTimerWidth = 360, kTimerHeight = 220, kTimerListWidth = 100, kTimerTopWidth = 80;
const int kTimerTopMax = 65535, kTimerTopOfNarrow = 255;
const int kPortWidth = 300, kPortHeight = 120, kPortListWidth = 280, kPortTitleChars = 64;
const int kSwitchableItem = 3;
// The period edit is read to this many characters.
const int kReadChars = 31;

// A label of the caption's own size in the flow, alone in its row.
CKestLabel* AddLoneLabel(CBEPropertyForm* form, const wchar_t* text) {
  auto* label = new CKestLabel(form, text, KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  form->NewFlowRow();
  return label;
}

// "Свойства <caption>" into a buffer of kPortTitleChars.
void PortTitle(const wchar_t* caption, wchar_t* title) {
  const wchar_t* prefix = L"Свойства ";
  const int last = kPortTitleChars - 1;
  int n = 0;
  for (const wchar_t* p = prefix; *p && n < last; ++p) title[n++] = *p;
  const wchar_t* c = caption ? caption : L"";
  for (; *c && n < last; ++c) title[n++] = *c;
  title[n] = 0;
  if (*c) wcscpy(title + last - 3, L"...");
}

int SelectedOr(CKestComboBox* list, int fallback) {
  int index = list ? list->GetSelectedIndex() : -1;
  return index >= 0 ? index : fallback;
}
}  // namespace

bool ShowGpioDialog(CBEBlock* block) {
  auto* gpio = dynamic_cast<CBEGPIO*>(block);
  if (!gpio) return false;
  CBEPropertyForm* form = OpenPropertyForm(gpio, kGpioSize, kGpioSize);
  if (!form) return false;
  BePropertyFormScope scope(form);
  auto* buttons = new CKestPanel(form, 0, KEST_POS_BOTTOM, kGpioSize, kGpioButtonPanelHeight, false, false);
  new CKestLabel(form, L"Отметьте галочкой выходы:", KEST_POS_TOP, false, KEST_LABEL_MEASURE,
                 KEST_LABEL_MEASURE, -1);
  auto* lines = new CKestListView(form, KEST_POS_CLIENT, kGpioSize, kGpioListHeight,
                                  WS_VISIBLE | WS_TABSTOP | LVS_LIST | LVS_SINGLESEL | LVS_AUTOARRANGE,
                                  LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  for (int q = 0; q < gpio->lineCount; ++q) {
    wchar_t name[24];
    swprintf(name, 24, L"GPIO %d", q);
    int item = lines->AddItem(name, -1, 0);
    lines->SetItemChecked(item, gpio->IsDriven(q));
  }
  // The strip takes the client width before its buttons are centred in it.
  form->Realign();
  form->AddButtons(kBeDialogButtonWidth, buttons);
  form->SetInitialFocus(lines);
  if (!form->Confirm()) return false;
  int count = gpio->lineCount;
  if (count > lines->GetItemCount()) count = lines->GetItemCount();
  auto* before = count > 0 ? static_cast<unsigned char*>(AllocBuffer(count)) : nullptr;
  if (count > 0 && !before) return false;
  for (int q = 0; q < count; ++q) {
    before[q] = gpio->directions[q];
    gpio->directions[q] = lines->IsItemChecked(q) ? 1 : 0;
  }
  bool built = gpio->BuildPins();
  if (!built) {
    // Out of memory for the pins: the lines keep the directions their pins
    // have.
    for (int q = 0; q < count; ++q) gpio->directions[q] = before[q];
  }
  FreeBuffer(before);
  return built;
}

bool ShowSoftwarePwmDialog(CBEBlock* block) {
  auto* pwm = dynamic_cast<CBESoftwarePWM*>(block);
  if (!pwm) return false;
  CBEPropertyForm* form = OpenPropertyForm(pwm, kPwmWidth, kPwmHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  wchar_t text[kFoundationFormatDoubleChars];
  swprintf(text, kFoundationFormatDoubleChars, L"%0.4f", static_cast<double>(pwm->period));
  CKestEdit* period = form->AddTextRow(L"Период ШИМ [сек]:", kPwmPeriodWidth, 0, text);
  CKestSpinEdit* steps = form->AddIntegerRow(L"Кол-во дискрет (ампл.входа):", kFewestPwmSteps, kMostPwmSteps,
                                             kBeDialogSpinWidth, pwm->steps);
  form->SetInitialFocus(period);
  form->AddButtons();
  if (!form->Confirm()) return false;
  wchar_t typed[kReadChars + 1];
  ReadEditText(period, typed, kReadChars);
  pwm->period = TextHasDigit(typed) ? ParseFloat(typed, pwm->period, nullptr) : 0.0f;
  if (steps) pwm->steps = static_cast<signed char>(steps->GetIntValue());
  pwm->UpdateCosts();
  return true;
}

bool ShowIntervalDetectorDialog(CBEBlock* block) {
  auto* meter = dynamic_cast<CBEIntervalDetector*>(block);
  if (!meter) return false;
  CBEPropertyForm* form = OpenPropertyForm(meter, kIntervalWidth, kIntervalHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  form->BeginCenteredRows();
  new CKestLabel(form,
                 L"Блок подсчитывает количество измерительных импульсов в течение заданного числа периода "
                 L"входного сигнала (с учетом знака входного сигнала)",
                 KEST_POS_FLOW, false, kIntervalTextWidth, kIntervalTextHeight, 0);
  form->CenterFlowRows();
  form->NewFlowRow();
  new CKestLabel(form, L"Период измерительных импульсов [мкс]:", KEST_POS_FLOW, false, kIntervalLabelWidth,
                 kIntervalRowHeight, -1);
  auto* interval = new CKestSpinEdit(form, 0, true, kIntervalMin, kIntervalMax, kIntervalStep, KEST_POS_FLOW,
                                     kBeDialogSpinWidth, kBeDialogSpinHeight);
  interval->SetIntValue(meter->interval);
  form->NewFlowRow();
  new CKestLabel(form, L"Число периодов вх.сигнала:", KEST_POS_FLOW, false, kIntervalLabelWidth,
                 kIntervalRowHeight, -1);
  auto* periods = new CKestSpinEdit(form, 0, true, kPeriodsMin, kPeriodsMax, 1, KEST_POS_FLOW, kBeDialogSpinWidth,
                                    kBeDialogSpinHeight);
  periods->SetIntValue(meter->periods);
  form->NewFlowRow();
  auto* filter = new CKestCheckBox(form, L"Фильтрация вх.сигнала", meter->filter != 0, 0, KEST_POS_FLOW,
                                   kIntervalFilterWidth, kCheckHeight, nullptr);
  form->NewFlowRow();
  form->SetInitialFocus(interval);
  form->AddButtons();
  if (!form->Confirm()) return false;
  meter->interval = interval->GetIntValue();
  meter->periods = periods->GetIntValue();
  meter->filter = filter->IsChecked() ? 1 : 0;
  meter->UpdateCosts();
  return true;
}

bool ShowAvrAdcDialog(CBEBlock* block) {
  auto* adc = dynamic_cast<CBEAvrADC*>(block);
  if (!adc) return false;
  CBEPropertyForm* form = OpenPropertyForm(adc, kAdcWidth, kAdcHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestComboBox* reference = form->AddListRow(L"Ист. опорного напряжения (REFS1:0):", kBeAdcReferenceItems, 4,
                                              adc->reference, kAdcReferenceWidth);
  CKestComboBox* adjust = form->AddListRow(L"Выравнивание результата (ADLAR):", kBeAdcAdjustItems, 2,
                                           adc->leftAdjust ? 1 : 0, kAdcAdjustWidth);
  CKestComboBox* prescaler =
      form->AddListRow(L"Делитель (ADPS2:0):", kBeAdcPrescalerItems, 8, adc->prescaler, kAdcPrescalerWidth);
  AddLoneLabel(form, L"Каналы АЦП:");
  CKestCheckBox* channels[CBEAvrADC::kChannels] = {};
  for (int k = 0; k < CBEAvrADC::kChannels; ++k) {
    wchar_t caption[32];
    swprintf(caption, 32, L"Канал %d (ADC%d)", k, k);
    channels[k] = new CKestCheckBox(form, caption, (adc->channelMask >> k) & 1, 0, KEST_POS_FLOW, kAdcChannelWidth,
                                    kCheckHeight, nullptr);
    if (k % 2 == 1) form->NewFlowRow();
  }
  form->SetInitialFocus(reference);
  form->AddButtons();
  if (!form->Confirm()) return false;
  const unsigned char before[4] = {adc->reference, adc->leftAdjust, adc->prescaler, adc->channelMask};
  unsigned char mask = 0;
  for (int k = 0; k < CBEAvrADC::kChannels; ++k)
    if (channels[k]->IsChecked()) mask = static_cast<unsigned char>(mask | (1 << k));
  adc->reference = static_cast<unsigned char>(SelectedOr(reference, adc->reference));
  adc->leftAdjust = static_cast<unsigned char>(SelectedOr(adjust, adc->leftAdjust) == 1 ? 1 : 0);
  adc->prescaler = static_cast<unsigned char>(SelectedOr(prescaler, adc->prescaler));
  adc->channelMask = mask;
  if (!adc->BuildPins()) {
    // Out of memory for the pins: the converter goes back to what it was.
    adc->reference = before[0];
    adc->leftAdjust = before[1];
    adc->prescaler = before[2];
    adc->channelMask = before[3];
    adc->BuildPins();
    adc->BindPins();
    return false;
  }
  adc->BindPins();
  return true;
}

bool ShowAvrTimerDialog(CBEBlock* block) {
  auto* timer = dynamic_cast<CBEAvrTimer*>(block);
  if (!timer) return false;
  CBEPropertyForm* form = OpenPropertyForm(timer, kTimerWidth, kTimerHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  wchar_t dividerTexts[kBeTimerPrescalerCount][16];
  const wchar_t* dividers[kBeTimerPrescalerCount];
  for (int i = 0; i < kBeTimerPrescalerCount; ++i) {
    if (i == 0) wcscpy(dividerTexts[i], L"Выкл.");
    else swprintf(dividerTexts[i], 16, L"1:%d", BeTimerPrescalerTable[i]);
    dividers[i] = dividerTexts[i];
  }
  CKestComboBox* prescaler = form->AddListRow(L"Делитель частоты (рег. CSx):", dividers, kBeTimerPrescalerCount,
                                              timer->prescaler, kTimerListWidth);
  CKestSpinEdit* top = nullptr;
  if (timer->wide) {
    top = form->AddIntegerRow(L"Диапазон вход.знач. (рег. ICRx):", 0, kTimerTopMax, kTimerTopWidth, timer->top);
  } else {
    AddLoneLabel(form, L"Диапазон вход.знач.: 255");
  }
  int channels = timer->channelCount < CBEAvrTimer::kMaxChannels ? timer->channelCount : CBEAvrTimer::kMaxChannels;
  CKestComboBox* modes[CBEAvrTimer::kMaxChannels] = {};
  static const wchar_t* const kLetters[CBEAvrTimer::kMaxChannels] = {L"A", L"B", L"C"};
  for (int m = 0; m < channels; ++m) {
    wchar_t caption[32];
    if (channels == 1) swprintf(caption, 32, L"Вых.OC%d:", timer->number);
    else swprintf(caption, 32, L"Вых.OC%d%ls:", timer->number, kLetters[m]);
    new CKestLabel(form, caption, KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    modes[m] = new CKestComboBox(form, 0, false, KEST_POS_FLOW, kTimerListWidth, kBeDialogListHeight, 0);
    for (const wchar_t* item : kBeTimerCompareItems) modes[m]->AddItem(item, 0);
    unsigned char mode = timer->compareModes[m];
    modes[m]->SetSelectedIndex(mode <= CBEAvrTimer::kInvertedPwm ? mode : -1);
  }
  if (channels > 0) form->NewFlowRow();
  form->SetInitialFocus(prescaler);
  form->AddButtons();
  if (!form->Confirm()) return false;
  const unsigned char beforePrescaler = timer->prescaler;
  const unsigned short beforeTop = timer->top;
  unsigned char beforeModes[CBEAvrTimer::kMaxChannels];
  for (int m = 0; m < CBEAvrTimer::kMaxChannels; ++m) beforeModes[m] = timer->compareModes[m];
  timer->prescaler = static_cast<unsigned char>(SelectedOr(prescaler, timer->prescaler));
  timer->top = static_cast<unsigned short>(top ? top->GetIntValue() : kTimerTopOfNarrow);
  for (int m = 0; m < channels; ++m)
    timer->compareModes[m] = static_cast<unsigned char>(SelectedOr(modes[m], timer->compareModes[m]));
  if (!timer->BuildPins(true)) {
    // Out of memory for the pins: the timer goes back to what it was.
    timer->prescaler = beforePrescaler;
    timer->top = beforeTop;
    for (int m = 0; m < CBEAvrTimer::kMaxChannels; ++m) timer->compareModes[m] = beforeModes[m];
    timer->BuildPins(true);
    return false;
  }
  return true;
}

bool ShowIOPortDialog(CBEBlock* block) {
  auto* port = dynamic_cast<CBEIOPort*>(block);
  if (!port || (port->mode >= CBEIOPort::kModeAltInput && port->mode <= CBEIOPort::kModeBus)) return false;
  // The title holds the short names the microcontroller gives its pins; a
  // longer caption is cut, with "..." at the end.
  wchar_t title[kPortTitleChars];
  PortTitle(port->GetCaption(), title);
  CBEPropertyForm* form = OpenPropertyForm(title, kPortWidth, kPortHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  int current = port->mode == CBEIOPort::kModeSwitchable ? kSwitchableItem : port->mode;
  CKestComboBox* modes = form->AddListRow(L"Режим порта:", kBePortModeItems, 4, current, kPortListWidth);
  form->SetInitialFocus(modes);
  form->AddButtons();
  if (!form->Confirm()) return false;
  int index = SelectedOr(modes, current);
  int before = port->mode;
  if (!port->SetMode(index == kSwitchableItem ? static_cast<int>(CBEIOPort::kModeSwitchable) : index)) {
    port->SetMode(before);
    return false;
  }
  return true;
}
