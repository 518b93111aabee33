#include "components/electronic/usb/uart_settings_form.h"

#include <cwchar>
#include <new>

#include "kestui/buttons/kest_label.h"

namespace {

const int kListWidth = 90, kListHeight = 21;
const int kProtocolWidth = 250;
const int kButtonWidth = 80, kButtonHeight = 25;
const wchar_t* const kParities[] = {L"Нет", L"Четность", L"Нечетность"};
const wchar_t* const kStopBits[] = {L"1", L"2", L"1.5"};
const wchar_t* const kProtocols[] = {L"Асинхронный обмен", L"Обмен по запросу. Ведущий",
                                     L"Обмен по запросу. Ведомый"};

CKestComboBox* AddList(CKestForm* form, const wchar_t* label, bool stack, int width,
                       const wchar_t* const* items, int count, int selected) {
  if (stack) new CKestLabel(form, label, KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  else new CKestLabel(form, label, KEST_POS_FLOW, false, KEST_LABEL_MEASURE, kListHeight, -1);
  CKestComboBox* box = new CKestComboBox(form, 0, false, KEST_POS_FLOW, width, kListHeight, 0);
  for (int i = 0; i < count; i++) box->AddItem(items[i], 0);
  if (selected >= 0 && selected < count) box->SetSelectedIndex(selected);
  return box;
}

}  // namespace

CUartSettingsForm::CUartSettingsForm(const wchar_t* caption, int width, int height, const wchar_t* heading,
                                     const wchar_t* priceLine, const UartSettings& settings) {
  // Owned by the main form, so that it stays above it.
  if (!Create(MainKestForm, caption, KEST_POS_CENTER, width, height, nullptr, false, false, true, true)) return;
  if (heading) {
    new CKestLabel(this, heading, KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    NewFlowRow();
  }
  if (priceLine) {
    new CKestLabel(this, priceLine, KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    NewFlowRow();
  }
  new CKestLabel(this, L"Скорость:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  speedBox = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kListWidth, kListHeight, 0);
  for (int i = 0; i < kElecUartSpeedCount; i++) {
    wchar_t text[16];
    swprintf(text, 16, L"%d", kElecUartSpeeds[i]);
    int index = speedBox->AddItem(text, static_cast<uint32_t>(kElecUartSpeeds[i]));
    if (index >= 0 && kElecUartSpeeds[i] == settings.speed) speedBox->SetSelectedIndex(index);
  }
  NewFlowRow();
  parityBox = AddList(this, L"Четность:", true, kListWidth, kParities, 3, settings.parity);
  stopBox = AddList(this, L"Стоп бит:", true, kListWidth, kStopBits, 3, settings.stopBits - 1);
  NewFlowRow();
  protocolBox = AddList(this, L"Протокол:", false, kProtocolWidth, kProtocols, 3, settings.protocol);
  NewFlowRow();
  BeginCenteredRows();
  okButton = new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 1);
  cancelButton = new CKestButton(this, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight,
                                 nullptr, 2);
  CenterFlowRows();
}

void CUartSettingsForm::TakeInto(UartSettings* settings) const {
  if (!settings) return;
  int i = speedBox ? speedBox->GetSelectedIndex() : -1;
  if (i >= 0 && i < speedBox->GetCount()) {
    const int speed = static_cast<int>(speedBox->GetItemData(i));
    if (speed > 0) settings->speed = speed;
  }
  i = parityBox ? parityBox->GetSelectedIndex() : -1;
  if (i >= 0 && i < 3) settings->parity = static_cast<signed char>(i);
  i = stopBox ? stopBox->GetSelectedIndex() : -1;
  if (i >= 0 && i < 3) settings->stopBits = static_cast<signed char>(i + 1);
  i = protocolBox ? protocolBox->GetSelectedIndex() : -1;
  if (i >= 0 && i < 3) settings->protocol = static_cast<signed char>(i);
}

bool EditUartSettings(const wchar_t* caption, int width, int height, const wchar_t* heading,
                      const wchar_t* priceLine, UartSettings* settings) {
  if (!settings) return false;
  CUartSettingsForm* form =
      new (std::nothrow) CUartSettingsForm(caption, width, height, heading, priceLine, *settings);
  bool ok = false;
  if (form && form->GetHandle() && form->ShowModal(false) == 1) {
    form->TakeInto(settings);
    ok = true;
  }
  delete form;
  return ok;
}
