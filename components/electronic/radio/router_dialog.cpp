#include "components/electronic/radio/router_dialog.h"

#include <new>

#include "components/electronic/radio/router.h"
#include "foundation/buffers.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/core/kest_messages.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/lists/kest_combo_box.h"

namespace {

const int kDialogWidth = 280;
const int kDialogHeight = 150;
const wchar_t* const kModeNames[] = {L"Wireless client", L"Access point", L"Wireless bridge (P2P)",
                                     L"Multi-point Bridge", L"Repeater"};
const int kModesWithoutRepeater = 4;

bool ExternalAntenna(const CSCHRouter* r) {
  if (r->antennaKind == kElecRouterAntennaExternal) return true;
  if (r->antennaKind != kElecRouterAntennaOptional || r->pinCount < 1) return false;
  const SchPin& last = r->pins[r->pinCount - 1];
  return last.net != nullptr || last.wire != nullptr;
}

}  // namespace

bool CRouterDialog::Build(CSCHRouter* router) {
  if (!Create(MainKestForm, L"Настройки WiFi-роутера", KEST_POS_CENTER, kDialogWidth, kDialogHeight, nullptr,
              false, false, true, true))
    return false;
  SetReady(false);
  new CKestLabel(this, L"Режим:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  modeList = new CKestComboBox(this, 0, false, KEST_POS_FLOW, 150, 21, 0);
  int modes = router->repeaterAllowed ? kModesWithoutRepeater + 1 : kModesWithoutRepeater;
  for (int i = 0; i < modes; i++) modeList->AddItem(kModeNames[i], 0);
  modeList->SetSelectedIndex(router->mode < modes ? router->mode : -1);
  NewFlowRow();
  new CKestLabel(this, L"SSID:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  ssidEdit = new CKestEdit(this, 0, KEST_POS_FLOW, 200, 21, false, kElecRouterSsidChars, true);
  ssidEdit->SetText(router->ssid);
  NewFlowRow();
  antennaLabel = new CKestLabel(this, ExternalAntenna(router) ? L"Антенна: внешняя" : L"Антенна: встроенная",
                                KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  BeginCenteredRows();
  new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, 80, 25, nullptr, 1);
  new CKestButton(this, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, 80, 25, nullptr, 2);
  CenterFlowRows();
  SetReady(true);
  return true;
}

void CRouterDialog::Apply(CSCHRouter* router) const {
  wchar_t* text = ssidEdit ? ssidEdit->GetText() : nullptr;
  router->SetSsid(text);
  FreeBuffer(text);
  int index = modeList ? modeList->GetSelectedIndex() : -1;
  if (index >= 0 && index <= kElecRouterRepeater) router->mode = static_cast<unsigned char>(index);
}

bool ShowRouterDialog(CSCHRouter* router) {
  auto* dialog = new (std::nothrow) CRouterDialog();
  if (!dialog) return false;
  if (!dialog->Build(router)) {
    delete dialog;
    return false;
  }
  HWND window = dialog->GetHandle();
  int result = dialog->ShowModal(false);
  bool changed = false;
  if (GetControlFromHandle(window) == dialog) {
    if (result == 1) {
      dialog->Apply(router);
      changed = true;
    }
    delete dialog;
  }
  return changed;
}
