// The camera's settings dialogs under Xvfb: which dialog each interface
// opens, their captions, lists and fields, the write-back on "OK", and
// "Отмена" changing nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/devices/device_kit.h"
#include "kestui/buttons/kest_label.h"
#include "support/test_support.h"
#include "tests/components/electronic/usb_rig.h"
#include "units/media/camera.h"
#include "units/media/camera_settings_form.h"
#include "units/unit_classes.h"

namespace {

class UnitBench : public devtest::DeviceBench {
public:
  UnitBench() { RegisterUnitComponentCreators(); }
};

CCameraSettingsForm* FindForm(const wchar_t* caption) {
  HWND w = FindWindowW(nullptr, caption);
  return w ? dynamic_cast<CCameraSettingsForm*>(GetControlFromHandle(w)) : nullptr;
}

// The texts of the form's labels, in creation order.
std::vector<std::wstring> LabelTexts(CKestForm* form) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(form->GetHandle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    auto* label = dynamic_cast<CKestLabel*>(GetControlFromHandle(child));
    if (!label) continue;
    wchar_t* text = label->GetTextCopy();
    texts.push_back(text ? text : L"");
    FreeBuffer(text);
  }
  return texts;
}

void Shoot(CKestForm* form, const wchar_t* name) {
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveWindowBitmap(form->GetHandle(), comptest::ScreenshotFolder() + name));
}

void SetCameraModel(CSCHCamera* c, int iface, bool mic, float zoom, unsigned char sync) {
  c->iface = iface;
  c->Mic = mic;
  c->Zoom = zoom;
  c->sync = sync;
  ASSERT_TRUE(c->BuildPins());
}

const wchar_t kControlFormat[] = L"Формат данных: <∆zoom:byte><∆x:byte><∆y:byte>";

TEST(CameraSettings, Rs485DialogEditsTheControlChannelAndTheSyncMode) {
  usbtest::MainFormScope mainForm;
  UnitBench bench;
  auto* c = bench.Create<CSCHCamera>("Camera");
  SetCameraModel(c, CSCHCamera::kAnalogue, false, 2, CSCHCamera::kSyncSlave);
  c->controlChannel = 7;
  std::vector<std::wstring> labels, modes;
  int channel = -1, shown = -1;
  double low = -1, high = -1;
  RECT frame = {};
  usbtest::ModalProbe probe([&] {
    CCameraSettingsForm* form = FindForm(L"Настройка управления по RS-485");
    ASSERT_NE(nullptr, form);
    GetWindowRect(form->GetHandle(), &frame);
    labels = LabelTexts(form);
    EXPECT_EQ(nullptr, form->transmissionEdit);
    EXPECT_EQ(nullptr, form->modeBox);
    ASSERT_NE(nullptr, form->syncBox);
    modes = usbtest::Items(form->syncBox);
    shown = form->syncBox->GetSelectedIndex();
    channel = form->controlEdit->GetIntValue();
    low = form->controlEdit->GetMinimum();
    high = form->controlEdit->GetMaximum();
    Shoot(form, L"camera_rs485_dialog.bmp");
    form->controlEdit->SetIntValue(42);
    form->syncBox->SetSelectedIndex(1);
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(c->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(380, frame.right - frame.left);
  EXPECT_EQ((std::vector<std::wstring>{L"Канал управления:", kControlFormat, L"Синхронизация: "}), labels);
  EXPECT_EQ((std::vector<std::wstring>{L"Выкл.", L"Мастер", L"Ведомый"}), modes);
  EXPECT_EQ(2, shown);
  EXPECT_EQ(7, channel);
  EXPECT_EQ(0, low);
  EXPECT_EQ(255, high);
  EXPECT_EQ(42, c->controlChannel);
  EXPECT_EQ(CSCHCamera::kSyncMaster, c->sync);
}

TEST(CameraSettings, CameraDialogEditsBothChannelsAndHasNoSyncRowWithoutSyncLines) {
  usbtest::MainFormScope mainForm;
  UnitBench bench;
  auto* c = bench.Create<CSCHCamera>("Camera");
  SetCameraModel(c, CSCHCamera::kEthernet, true, 3, CSCHCamera::kNoSync);
  c->transmissionChannel = 5;
  c->controlChannel = 6;
  std::vector<std::wstring> labels;
  bool hasSync = true;
  usbtest::ModalProbe probe([&] {
    CCameraSettingsForm* form = FindForm(L"Настройка камеры");
    ASSERT_NE(nullptr, form);
    labels = LabelTexts(form);
    hasSync = form->syncBox != nullptr;
    EXPECT_EQ(5, form->transmissionEdit->GetIntValue());
    ASSERT_NE(nullptr, form->controlEdit);
    EXPECT_EQ(6, form->controlEdit->GetIntValue());
    Shoot(form, L"camera_settings_dialog.bmp");
    form->transmissionEdit->SetIntValue(10);
    form->controlEdit->SetIntValue(255);
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(c->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ((std::vector<std::wstring>{L"Канал передачи:", L"Формат данных: <видео:ВИДЕО><аудио:АУДИО>",
                                       L"Канал управления:", kControlFormat}),
            labels);
  EXPECT_FALSE(hasSync);
  EXPECT_EQ(10, c->transmissionChannel);
  EXPECT_EQ(255, c->controlChannel);
  EXPECT_EQ(CSCHCamera::kNoSync, c->sync);
}

TEST(CameraSettings, WiFiDialogEditsModeSsidAndChannels) {
  usbtest::MainFormScope mainForm;
  UnitBench bench;
  auto* c = bench.Create<CSCHCamera>("Camera");
  SetCameraModel(c, CSCHCamera::kWiFi, false, 0, CSCHCamera::kSyncOff);
  c->wifiMode = CSCHCamera::kWiFiAdHocMode;
  c->SetSsid(L"net");
  std::vector<std::wstring> labels, modes;
  int shown = -1;
  LPARAM data0 = -1, data1 = -1;
  std::wstring ssid;
  RECT frame = {};
  usbtest::ModalProbe probe([&] {
    CCameraSettingsForm* form = FindForm(L"Настройка WiFi-камеры");
    ASSERT_NE(nullptr, form);
    GetWindowRect(form->GetHandle(), &frame);
    labels = LabelTexts(form);
    modes = usbtest::Items(form->modeBox);
    shown = form->modeBox->GetSelectedIndex();
    data0 = form->modeBox->GetItemData(0);
    data1 = form->modeBox->GetItemData(1);
    wchar_t* text = form->ssidEdit->GetTextCopy();
    ssid = text ? text : L"";
    FreeBuffer(text);
    EXPECT_EQ(nullptr, form->controlEdit);
    Shoot(form, L"camera_wifi_dialog.bmp");
    form->modeBox->SetSelectedIndex(0);
    // Typed text stops at 15 characters.
    SetFocus(form->ssidEdit->GetHandle());
    SendMessageW(form->ssidEdit->GetHandle(), EM_SETSEL, 0, -1);
    for (const wchar_t* p = L"ABCDEFGHIJKLMNOPQRS"; *p; ++p) SendMessageW(form->ssidEdit->GetHandle(), WM_CHAR, *p, 0);
    form->transmissionEdit->SetIntValue(3);
    form->syncBox->SetSelectedIndex(2);
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(c->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(380, frame.right - frame.left);
  EXPECT_EQ((std::vector<std::wstring>{L"Режим:", L"SSID:", L"Канал передачи:", L"Формат данных: <видео:ВИДЕО>",
                                       L"Синхронизация: "}),
            labels);
  EXPECT_EQ((std::vector<std::wstring>{L"Wireless client", L"ADHOC"}), modes);
  EXPECT_EQ(1, shown);
  EXPECT_EQ(0, data0);
  EXPECT_EQ(3, data1);
  EXPECT_EQ(L"net", ssid);
  EXPECT_EQ(CSCHCamera::kWiFiClientMode, c->wifiMode);
  EXPECT_STREQ(L"ABCDEFGHIJKLMNO", c->ssid);
  EXPECT_EQ(0, c->ssid[15]);
  EXPECT_EQ(3, c->transmissionChannel);
  EXPECT_EQ(CSCHCamera::kSyncSlave, c->sync);
}

TEST(CameraSettings, CancelChangesNothing) {
  struct Case {
    int iface;
    const wchar_t* caption;
  } cases[] = {{CSCHCamera::kAnalogue, L"Настройка управления по RS-485"},
               {CSCHCamera::kUsb, L"Настройка камеры"},
               {CSCHCamera::kWiFi, L"Настройка WiFi-камеры"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.iface);
    usbtest::MainFormScope mainForm;
    UnitBench bench;
    auto* c = bench.Create<CSCHCamera>("Camera");
    SetCameraModel(c, k.iface, false, 1, CSCHCamera::kSyncOff);
    c->SetSsid(L"keep");
    usbtest::ModalProbe probe([&] {
      CCameraSettingsForm* form = FindForm(k.caption);
      ASSERT_NE(nullptr, form);
      if (form->controlEdit) form->controlEdit->SetIntValue(99);
      if (form->transmissionEdit) form->transmissionEdit->SetIntValue(99);
      if (form->ssidEdit) form->ssidEdit->SetText(L"changed");
      if (form->modeBox) form->modeBox->SetSelectedIndex(1);
      form->syncBox->SetSelectedIndex(2);
      SendMessageW(form->cancelButton->GetHandle(), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(c->Edit());
    EXPECT_TRUE(probe.Ran());
    EXPECT_EQ(0, c->transmissionChannel);
    EXPECT_EQ(1, c->controlChannel);
    EXPECT_EQ(CSCHCamera::kSyncOff, c->sync);
    EXPECT_EQ(CSCHCamera::kWiFiClientMode, c->wifiMode);
    EXPECT_STREQ(L"keep", c->ssid);
  }
}

}  // namespace
