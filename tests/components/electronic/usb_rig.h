// What the USB-UART tests share: a probe that runs once inside a modal
// loop, a USB host part that drives a differential pair (or a host net of
// the cable kind) with one packet source, and the settings form found on
// the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "chip_rig.h"
#include "components/electronic/usb/uart_settings_form.h"
#include "kestui/core/kest_control.h"
#include "kestui/hints/kest_hint.h"
#include "support/live_forms.h"
#include "support/loop_probe.h"

namespace usbtest {

// Posted before a modal loop starts, the action runs inside the loop.
class ModalProbe : public velktest::LoopProbe {
public:
  explicit ModalProbe(std::function<void()> action) : LoopProbe(std::move(action)) { Post(); }
};

// A shown main form, as the program has one while a part's Edit runs; every
// form, the hint timer and the main-form pointer are cleared afterwards.
class MainFormScope {
public:
  MainFormScope() : saved_(MainKestForm) {
    Clear();
    main = new CKestForm;
    EXPECT_TRUE(main->Create(nullptr, L"Главное окно", KEST_POS_FLOW, 400, 300, nullptr, true, true, true, true));
    main->Show(false);
    velktest::FlushEvents();
  }
  ~MainFormScope() {
    Clear();
    MainKestForm = saved_;
  }
  MainFormScope(const MainFormScope&) = delete;
  MainFormScope& operator=(const MainFormScope&) = delete;
  static void Clear() {
    velktest::CloseAllLiveForms();
    StopHintTimer();
    MainKestForm = nullptr;
  }
  CKestForm* main = nullptr;

private:
  CKestForm* saved_;
};

// The settings form with that caption on the screen, or null.
inline CUartSettingsForm* FindSettingsForm(const wchar_t* caption) {
  HWND w = FindWindowW(nullptr, caption);
  return w ? dynamic_cast<CUartSettingsForm*>(GetControlFromHandle(w)) : nullptr;
}

// The items of a list box's drop-down.
inline std::vector<std::wstring> Items(CKestComboBox* box) {
  std::vector<std::wstring> v;
  for (int i = 0; i < box->GetCount(); i++) {
    wchar_t text[64] = {};
    if (box->GetItemTextLength(i) < 63) box->GetItemText(i, text);
    v.push_back(text);
  }
  return v;
}

// A USB host: pins of the given kind that hand their nets one source with
// the host's packet set. With two pins they drive the FT232RL's pair (D-
// low then high, D+ high then low, kind 12); with one pin the cable's host
// net (kind 11).
class UsbHost : public CSCHBlock {
public:
  UsbHost(int pinCount_, int pinKind) {
    namePrefix = L"H";
    className = "TestUsbHost";
    SetPinCount(pinCount_);
    for (int i = 0; i < pinCount; i++) {
      pins[i].kind = pinKind;
      pins[i].side = kSchSideRight;
    }
    source.packets = packets.set;
  }
  void Start() override { Apply(); }
  void Step(float) override { Apply(); }
  void Apply() {
    for (int i = 0; i < pinCount; i++) {
      SchPinState s = {};
      // D- low then high; D+ and the host net high then low.
      const bool minus = pinCount == 2 && i == 0;
      s.U = minus ? 0.0f : 3.3f;
      s.U2 = minus ? 3.3f : 0.0f;
      s.R = s.R2 = 20;
      s.sourceKind = pinCount == 2 ? kSchSourceUsb : kSchSourceUsbHost;
      s.source = &source;
      SetPinState(i, s);
    }
  }
  chiptest::OwnedSet packets{7, 1, 0};
  SchSignalSource source = {nullptr, 0};
};

// The formats of a set's packets by id.
inline int FormatOf(const SchPacketSet* set, int id) {
  if (!set) return -1;
  int i = set->FindId(id);
  return i < 0 ? -1 : set->packets[i]->format;
}

}  // namespace usbtest
