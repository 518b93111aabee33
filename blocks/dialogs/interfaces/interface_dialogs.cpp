#include "blocks/dialogs/interfaces/interface_dialogs.h"

#include <cwchar>
#include <new>

#include "blocks/dialogs/dialog_resources.h"
#include "blocks/dialogs/interfaces/interface_device_dlg.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "blocks/library/mcu/spi.h"
#include "blocks/library/mcu/twi.h"
#include "blocks/library/mcu/uart.h"
#include "foundation/numbers.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_check_box.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/graphics/kest_image_box.h"
#include "kestui/lists/kest_combo_box.h"
#include "kestui/lists/kest_list_view.h"

namespace {
const int kFormWidth = 550, kFormHeight = 500;
const int kListHeight = 21, kCheckHeight = 18, kSpinHeight = 22;
const int kButtonWidth = 80, kButtonHeight = 25;

// The COM port's speeds, lowest first.
const int kComSpeeds[] = {110, 300, 600, 1200, 2400, 9600, 11400, 19200, 38400, 56000, 57600, 115200};
const wchar_t* const kParities[] = {L"Нет", L"Четность", L"Нечетность"};
const wchar_t* const kProtocols[] = {L"Асинхронный обмен", L"Обмен по запросу. Ведущий",
                                     L"Обмен по запросу. Ведомый"};
const wchar_t* const kModes[] = {L"Выкл", L"Master", L"Slave"};
const wchar_t* const kDividers[] = {L"1:2", L"1:4", L"1:8", L"1:16", L"1:32", L"1:64", L"1:128"};

// The dialog's form, deleted at the end of the call when its window is
// still the form's (the program may have ended it meanwhile).
class DialogScope {
public:
  explicit DialogScope(CInterfaceDeviceDlg* form) : form_(form) {}
  ~DialogScope() {
    if (form_ && window_ && GetControlFromHandle(window_) == form_) delete form_;
    else if (form_ && !window_) delete form_;
  }
  DialogScope(const DialogScope&) = delete;
  DialogScope& operator=(const DialogScope&) = delete;
  void Opened() { window_ = form_->GetHandle(); }
  // Shows the form; true for "OK" with the form still there to read.
  bool Confirm() {
    int result = form_->ShowModal(false);
    return result == 1 && GetControlFromHandle(window_) == form_;
  }

private:
  CInterfaceDeviceDlg* form_;
  HWND window_ = nullptr;
};

bool CreateWindowOf(CInterfaceDeviceDlg* form, CBEBlock* block) {
  if (!form->Create(MainKestForm, block->GetCaption(), KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, true,
                    false, true, true))
    return false;
  form->SetReady(false);
  return true;
}

// "OK" and "Отмена" from the left edge of a panel at the bottom.
void AddButtons(CInterfaceDeviceDlg* form) {
  auto* panel = new CKestPanel(form, 0, KEST_POS_BOTTOM, 1000, 45, false, false);
  new CKestButton(panel, L"OK", false, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 1);
  new CKestButton(panel, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 2);
}

void Finish(CInterfaceDeviceDlg* form) {
  form->BuildForm();
  form->SetReady(true);
}

CKestLabel* AddLabel(CKestContainer* panel, const wchar_t* caption, bool stacked, int height = KEST_LABEL_MEASURE) {
  return new CKestLabel(panel, caption, KEST_POS_FLOW, stacked, KEST_LABEL_MEASURE, height, -1);
}

// A label stacked over a drop-down list of the texts, item selected (none
// when outside).
CKestComboBox* AddList(CKestContainer* panel, const wchar_t* caption, int width, const wchar_t* const* items,
                       int count, int selected, bool stacked = true) {
  AddLabel(panel, caption, stacked, stacked ? KEST_LABEL_MEASURE : kListHeight);
  auto* list = new CKestComboBox(panel, 0, false, KEST_POS_FLOW, width, kListHeight, 0);
  for (int i = 0; i < count; ++i) list->AddItem(items[i], i);
  list->SetSelectedIndex(selected >= 0 && selected < count ? selected : -1);
  return list;
}

CKestCheckBox* AddCheck(CKestContainer* panel, const wchar_t* caption, int width, bool checked) {
  return new CKestCheckBox(panel, caption, checked, 0, KEST_POS_FLOW, width, kCheckHeight, nullptr);
}

CKestSpinEdit* AddSpin(CKestContainer* panel, const wchar_t* caption, int maximum, int value) {
  AddLabel(panel, caption, true);
  auto* spin = new CKestSpinEdit(panel, 0, true, 0, maximum, 1, KEST_POS_FLOW, 80, kSpinHeight);
  spin->SetIntValue(value);
  return spin;
}

// The index chosen in a list, or fallback when none is.
int Chosen(CKestComboBox* list, int fallback) {
  int index = list->GetSelectedIndex();
  return index >= 0 ? index : fallback;
}

}  // namespace

bool ShowLanDialog(CBEBlock* block) {
  auto* device = dynamic_cast<CBELAN*>(block);
  if (!device) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(device);
  if (!form) return false;
  DialogScope scope(form);
  if (!CreateWindowOf(form, block)) return false;
  scope.Opened();
  AddButtons(form);
  Finish(form);
  if (!scope.Confirm()) return false;
  form->Apply();
  return true;
}

bool ShowComPortDialog(CBEBlock* block) {
  auto* port = dynamic_cast<CBECOMPort*>(block);
  if (!port) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(port);
  if (!form) return false;
  DialogScope scope(form);
  if (!CreateWindowOf(form, block)) return false;
  scope.Opened();
  auto* top = new CKestPanel(form, 1, KEST_POS_TOP, 1000, 98, false, false);
  AddLabel(top, L"Скорость:", true);
  auto* speeds = new CKestComboBox(top, 0, false, KEST_POS_FLOW, 90, kListHeight, 0);
  wchar_t text[16];
  for (int speed : kComSpeeds) {
    int index = speeds->AddItem(FormatInt(speed, text), speed);
    if (speed == port->speed) speeds->SetSelectedIndex(index);
  }
  auto* parity = AddList(top, L"Четность:", 90, kParities, 3, port->parity);
  const wchar_t* const stops[] = {L"1", L"2", L"1.5"};
  auto* stopBits = AddList(top, L"Стоп бит:", 90, stops, 3, port->stopBits - 1);
  top->NewFlowRow();
  auto* protocol = AddList(top, L"Протокол:", 250, kProtocols, 3, port->protocol, false);
  AddButtons(form);
  Finish(form);
  if (!scope.Confirm()) return false;

  int speedIndex = speeds->GetSelectedIndex();
  if (speedIndex >= 0) port->speed = static_cast<int>(speeds->GetItemData(speedIndex));
  port->parity = static_cast<unsigned char>(Chosen(parity, port->parity));
  port->stopBits = static_cast<unsigned char>(Chosen(stopBits, port->stopBits - 1) + 1);
  int lineStops = port->stopBits < 2 ? port->stopBits : 2;
  port->bitsPerByte = 9 + lineStops + (port->parity != 0 ? 1 : 0);
  port->protocol = static_cast<unsigned char>(Chosen(protocol, port->protocol));
  port->UpdateLineFormat();
  form->Apply();
  return true;
}

bool ShowUartDialog(CBEBlock* block) {
  auto* uart = dynamic_cast<CBEUART*>(block);
  if (!uart) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(uart);
  if (!form) return false;
  DialogScope scope(form);
  if (!CreateWindowOf(form, block)) return false;
  scope.Opened();
  auto* top = new CKestPanel(form, 1, KEST_POS_TOP, 1000, 120, false, false);
  auto* enabled = AddCheck(top, L"Включен", 100, uart->enabled != 0);
  auto* rs485 = AddCheck(top, L"Режим RS-485", 140, uart->rs485 != 0);
  top->NewFlowRow();
  AddLabel(top, L"Скорость:", true);
  auto* speeds = new CKestComboBox(top, 0, false, KEST_POS_FLOW, 90, kListHeight, 0);
  wchar_t text[16];
  for (int i = 0; i < kBeUartSpeedCount; ++i) speeds->AddItem(FormatInt(BeUartSpeedTable[i], text), i);
  speeds->SetSelectedIndex(uart->speedIndex < kBeUartSpeedCount ? uart->speedIndex : -1);
  auto* parity = AddList(top, L"Четность:", 90, kParities, 3, uart->parity);
  const wchar_t* const stops[] = {L"1", L"2"};
  auto* stopBits = AddList(top, L"Стоп бит:", 90, stops, 2, uart->bitsPerByte - 10 - (uart->parity != 0 ? 1 : 0));
  top->NewFlowRow();
  auto* protocol = AddList(top, L"Протокол:", 250, kProtocols, 3, uart->protocol, false);
  AddButtons(form);
  Finish(form);
  if (!scope.Confirm()) return false;

  int oldStops = uart->bitsPerByte - 10 - (uart->parity != 0 ? 1 : 0);
  if (rs485->IsChecked() != (uart->rs485 != 0)) {
    // Every data output was disconnected and the first one changed its
    // role: the rows start from fresh pins.
    if (uart->SetRs485(rs485->IsChecked()) && form->receiveList) {
      for (int i = 0; i < form->receiveList->GetItemCount(); ++i) form->receiveList->SetItemData(i, 0);
    }
  }
  uart->enabled = enabled->IsChecked() ? 1 : 0;
  uart->SetSpeedIndex(Chosen(speeds, uart->speedIndex));
  uart->parity = static_cast<unsigned char>(Chosen(parity, uart->parity));
  int stopIndex = Chosen(stopBits, oldStops == 1 ? 1 : 0);
  uart->bitsPerByte = 10 + stopIndex + (uart->parity != 0 ? 1 : 0);
  uart->protocol = static_cast<unsigned char>(Chosen(protocol, uart->protocol));
  uart->UpdateLineFormat();
  form->Apply();
  uart->BindPins();
  return true;
}

bool ShowWiFiDialog(CBEBlock* block) {
  auto* wifi = dynamic_cast<CBEWiFi*>(block);
  if (!wifi) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(wifi);
  if (!form) return false;
  DialogScope scope(form);
  if (!CreateWindowOf(form, block)) return false;
  scope.Opened();
  auto* top = new CKestPanel(form, 0, KEST_POS_TOP, 1000, 78, false, false);
  auto* enabled = AddCheck(top, L"Включен", 150, wifi->enabled != 0);
  top->NewFlowRow();
  AddLabel(top, L"Режим:", true);
  auto* mode = new CKestComboBox(top, 0, false, KEST_POS_FLOW, 150, kListHeight, 0);
  mode->AddItem(L"Wireless client", kWiFiClient);
  mode->AddItem(L"ADHOC", kWiFiAdHoc);
  mode->SetSelectedIndex(wifi->mode == kWiFiAdHoc ? 1 : 0);
  AddLabel(top, L"SSID (пустая строка - авто):", true);
  auto* ssid = new CKestEdit(top, 0, KEST_POS_FLOW, 200, kListHeight, false, kWiFiSsidChars, true);
  ssid->SetText(wifi->ssid);
  AddButtons(form);
  Finish(form);
  if (!scope.Confirm()) return false;

  wifi->enabled = enabled->IsChecked() ? 1 : 0;
  wchar_t text[kWiFiSsidChars + 1] = L"";
  ssid->CopyText(text, kWiFiSsidChars + 1);
  text[kWiFiSsidChars] = 0;
  wifi->SetSsid(text);
  int index = mode->GetSelectedIndex();
  if (index >= 0) wifi->mode = static_cast<unsigned char>(mode->GetItemData(index));
  form->Apply();
  return true;
}

bool ShowSpiDialog(CBEBlock* block) {
  auto* spi = dynamic_cast<CBESPI*>(block);
  if (!spi) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(spi);
  if (!form) return false;
  DialogScope scope(form);
  if (!CreateWindowOf(form, block)) return false;
  scope.Opened();
  auto* top = new CKestPanel(form, 1, KEST_POS_TOP, 1000, 130, false, false);
  auto* mode = AddList(top, L"Режим:", 90, kModes, 3, spi->mode);
  auto* divider = AddList(top, L"Делитель частоты:", 100, kDividers, 7, spi->divider);
  top->NewFlowRow();
  auto* polarity = AddCheck(top, L"Обратная полярность", 200, spi->inversePolarity != 0);
  auto* edge = AddCheck(top, L"Обратный фронт синх.", 200, spi->inverseEdge != 0);
  top->NewFlowRow();
  auto* order = AddCheck(top, L"Обратный порядок бит", 200, spi->inverseBitOrder != 0);
  AddButtons(form);
  Finish(form);
  if (!scope.Confirm()) return false;

  spi->mode = static_cast<unsigned char>(Chosen(mode, spi->mode));
  spi->divider = static_cast<unsigned char>(Chosen(divider, spi->divider));
  spi->inversePolarity = polarity->IsChecked() ? 1 : 0;
  spi->inverseEdge = edge->IsChecked() ? 1 : 0;
  spi->inverseBitOrder = order->IsChecked() ? 1 : 0;
  form->Apply();
  spi->UpdateLineFormat();
  spi->BindPins();
  return true;
}

bool ShowTwiDialog(CBEBlock* block) {
  auto* twi = dynamic_cast<CBETWI*>(block);
  if (!twi) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(twi);
  if (!form) return false;
  DialogScope scope(form);
  if (!CreateWindowOf(form, block)) return false;
  scope.Opened();
  auto* top = new CKestPanel(form, 1, KEST_POS_TOP, 1000, 130, false, false);
  top->NewFlowColumn(150);
  auto* mode = AddList(top, L"Режим:", 90, kModes, 3, twi->mode);
  top->NewFlowColumn(350);
  AddLabel(top, L"Скорость передачи:", false);
  top->NewFlowRow();
  new CKestImageBox(top, 0, KEST_POS_FLOW, IDB_TWI_FORMULA, false, false, 210, 38);
  top->NewFlowRow();
  auto* twbr = AddSpin(top, L"TWBR:", 255, twi->twbr);
  auto* twps = AddSpin(top, L"TWPS:", CBETWI::kLastPrescaler, twi->twps);
  AddButtons(form);
  Finish(form);
  if (!scope.Confirm()) return false;

  twi->twbr = static_cast<unsigned char>(twbr->GetIntValue());
  twi->twps = static_cast<unsigned char>(twps->GetIntValue());
  twi->mode = static_cast<unsigned char>(Chosen(mode, twi->mode));
  if (twi->mode != CBETWI::kMaster) {
    twi->twbr = 0;
    twi->twps = 0;
  }
  form->Apply();
  twi->UpdateBitRate();
  twi->BindPins();
  return true;
}
