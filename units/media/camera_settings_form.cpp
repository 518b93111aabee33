#include "units/media/camera_settings_form.h"

#include <new>

#include "foundation/buffers.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/core/kest_messages.h"
#include "units/media/camera.h"

namespace {

const int kWidth = 380, kHeight = 220, kWiFiHeight = 320;
const int kFieldWidth = 50, kFieldHeight = 22;
const int kSyncWidth = 100, kModeWidth = 150, kListHeight = 21;
const int kSsidWidth = 200, kSsidHeight = 21;
const int kButtonWidth = 80, kButtonHeight = 25;
const int kBottomMargin = 45;
const int kSsidChars = CSCHCamera::kSsidUnits - 1;

const wchar_t* const kCaptions[3] = {L"Настройка управления по RS-485", L"Настройка камеры",
                                     L"Настройка WiFi-камеры"};
const wchar_t kControlFormat[] = L"Формат данных: <∆zoom:byte><∆x:byte><∆y:byte>";
const wchar_t* const kSyncModes[3] = {L"Выкл.", L"Мастер", L"Ведомый"};

}  // namespace

CKestSpinEdit* CCameraSettingsForm::AddChannelField(int value) {
  CKestSpinEdit* edit = new CKestSpinEdit(this, 0, true, 0, 255, 1, KEST_POS_FLOW, kFieldWidth, kFieldHeight);
  edit->SetIntValue(value);
  return edit;
}

void CCameraSettingsForm::AddControlFormat() {
  BeginCenteredRows();
  new CKestLabel(this, kControlFormat, KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  CenterFlowRows();
}

CCameraSettingsForm::CCameraSettingsForm(Kind k, const CSCHCamera& camera) : kind(k) {
  if (!Create(MainKestForm, kCaptions[kind], KEST_POS_CENTER, kWidth, kind == kWiFiCamera ? kWiFiHeight : kHeight,
              nullptr, false, false, true, true))
    return;
  if (kind == kRs485) {
    new CKestLabel(this, L"Канал управления:", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    controlEdit = AddChannelField(camera.controlChannel);
    NewFlowRow();
    AddControlFormat();
  } else {
    if (kind == kWiFiCamera) {
      new CKestLabel(this, L"Режим:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
      modeBox = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kModeWidth, kListHeight, 0);
      modeBox->AddItem(L"Wireless client", CSCHCamera::kWiFiClientMode);
      modeBox->AddItem(L"ADHOC", CSCHCamera::kWiFiAdHocMode);
      if (camera.wifiMode == CSCHCamera::kWiFiClientMode) modeBox->SetSelectedIndex(0);
      if (camera.wifiMode == CSCHCamera::kWiFiAdHocMode) modeBox->SetSelectedIndex(1);
      NewFlowRow();
      new CKestLabel(this, L"SSID:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
      ssidEdit = new CKestEdit(this, 0, KEST_POS_FLOW, kSsidWidth, kSsidHeight, false, kSsidChars, true);
      ssidEdit->SetText(camera.ssid);
      NewFlowRow();
    }
    new CKestLabel(this, L"Канал передачи:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    transmissionEdit = AddChannelField(camera.transmissionChannel);
    NewFlowRow();
    BeginCenteredRows();
    new CKestLabel(this, camera.Mic ? L"Формат данных: <видео:ВИДЕО><аудио:АУДИО>" : L"Формат данных: <видео:ВИДЕО>",
                   KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    CenterFlowRows();
    NewFlowRow();
    NewFlowRow();
    if (camera.HasRemoteControl()) {
      new CKestLabel(this, L"Канал управления:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
      controlEdit = AddChannelField(camera.controlChannel);
      NewFlowRow();
      AddControlFormat();
    }
  }
  if (camera.sync != CSCHCamera::kNoSync) {
    // After a centred format line the sync row starts below it.
    if (kind == kRs485 || camera.HasRemoteControl()) NewFlowRow();
    new CKestLabel(this, L"Синхронизация: ", KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
    syncBox = new CKestComboBox(this, 0, false, KEST_POS_FLOW, kSyncWidth, kListHeight, 0);
    for (const wchar_t* mode : kSyncModes) syncBox->AddItem(mode, 0);
    syncBox->SetSelectedIndex(camera.sync - 1);
    NewFlowRow();
  }
  BeginCenteredRows();
  okButton = new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, kOkResult);
  cancelButton = new CKestButton(this, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight,
                                 nullptr, kCancelResult);
  CenterFlowRows();
  if (KestFlowLayout* flow = GetFlowLayout()) SetClientSize(GetClientWidth(), flow->cursorY + kBottomMargin);
}

void CCameraSettingsForm::TakeInto(CSCHCamera* camera) {
  if (modeBox) {
    const int i = modeBox->GetSelectedIndex();
    if (i >= 0) camera->wifiMode = static_cast<unsigned char>(modeBox->GetItemData(i));
  }
  if (ssidEdit) {
    wchar_t* text = ssidEdit->GetTextCopy();
    camera->SetSsid(text ? text : L"");
    FreeBuffer(text);
  }
  if (transmissionEdit) camera->transmissionChannel = static_cast<unsigned char>(transmissionEdit->GetIntValue());
  if (controlEdit) camera->controlChannel = static_cast<unsigned char>(controlEdit->GetIntValue());
  if (syncBox) {
    const int i = syncBox->GetSelectedIndex();
    camera->sync = static_cast<unsigned char>(i >= 0 && i < 3 ? i + 1 : 1);
  }
}

bool ShowCameraSettings(CCameraSettingsForm::Kind kind, CSCHCamera* camera) {
  CCameraSettingsForm* form = new (std::nothrow) CCameraSettingsForm(kind, *camera);
  bool ok = false;
  if (form && form->GetHandle() && form->ShowModal(false) == CCameraSettingsForm::kOkResult) {
    form->TakeInto(camera);
    ok = true;
  }
  delete form;
  return ok;
}
