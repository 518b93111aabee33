// Small widgets and forms for the container, hint and form tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kestui/containers/kest_container.h"
#include "kestui/core/kest_host_scope.h"
#include "kestui/forms/kest_form.h"
#include "kestui/forms/kest_mdi_child_form.h"
#include "kestui/hints/kest_hint.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace formtest {

// A plain "MainClass" child that logs the enter and leave messages it gets.
class Box : public CKestControl {
public:
  Box(CKestControl* parent, uint32_t position, int width, int height,
      DWORD style = WS_CHILD | WS_VISIBLE) {
    CreateControlWindow(0, nullptr, nullptr, style, position, width, height, parent, nullptr,
                        nullptr);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if ((message == WM_KEST_MOUSEENTER || message == WM_KEST_MOUSELEAVE) && log) {
      log->push_back(name + (message == WM_KEST_MOUSEENTER ? L"+" : L"-"));
    }
    return CKestControl::WindowProc(message, wParam, lParam);
  }
  std::vector<std::wstring>* log = nullptr;
  std::wstring name;
};

// A child container (a panel).
class Panel : public CKestContainer {
public:
  Panel(CKestControl* parent, uint32_t position, int width, int height,
        DWORD style = WS_CHILD | WS_VISIBLE) {
    CreateControlWindow(0, nullptr, nullptr, style | WS_CLIPCHILDREN, position, width, height,
                        parent, nullptr, nullptr);
  }
};

// A subclassed standard control (EDIT, BUTTON, STATIC).
class StdControl : public CKestControl {
public:
  StdControl(CKestControl* parent, const wchar_t* className, const wchar_t* text, DWORD style,
             uint32_t position, int width, int height, int id = 0, DWORD exStyle = 0) {
    CreateControlWindow(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, position, width,
                        height, parent, nullptr, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_ID, id);
  }
};

// A form whose messages a test can watch: on(message) runs before the
// form's own handling; answering true consumes the message (result 0).
class Form : public CKestForm {
public:
  using Handler = std::function<bool(Form* self, UINT message, WPARAM wParam, LPARAM lParam)>;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (handler && handler(this, message, wParam, lParam)) return 0;
    return CKestForm::WindowProc(message, wParam, lParam);
  }
  ~Form() override {
    if (deleted) ++*deleted;
  }
  Handler handler;
  int* deleted = nullptr;
};

// A plain form: no caption bar, so the client area is the window.
inline Form* MakeForm(int x, int y, int width, int height, CKestControl* owner = nullptr,
                      bool caption = false) {
  Form* form = new Form;
  form->Create(owner, L"Форма", KestPos(x, y), width, height, nullptr, caption, false, caption,
               caption);
  return form;
}

class MDIChild : public CKestMDIChildForm {
public:
  ~MDIChild() override {
    if (deleted) ++*deleted;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && HIWORD(wParam) == 0) commands.push_back(LOWORD(wParam));
    return CKestMDIChildForm::WindowProc(message, wParam, lParam);
  }
  int* deleted = nullptr;
  std::vector<int> commands;  // ids of the clicks and commands (code 0) it received
};

// Window rectangle of a widget in its parent's client coordinates.
inline RECT RectIn(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

inline std::string Describe(int l, int t, int r, int b) {
  RECT x = {l, t, r, b};
  return Describe(x);
}

// A host without a window list: "More windows" does nothing unless a test
// installs a host of its own.
class NoWindowListHost : public CKestHost {
public:
  bool ChooseMDIWindow(CKestForm*, int*) override { return false; }
};

// Each test starts and ends with no forms and no pending quit, and runs with
// a host without a window list (the one before is reinstalled after it).
class FormsTest : public ::testing::Test {
protected:
  NoWindowListHost quietHost_;
  CKestHostScope hostScope_{&quietHost_};

  void SetUp() override {
    ClearAll();
  }
  void TearDown() override {
    ClearAll();
  }
  static void ClearAll() {
    HintsEnabled = true;
    SetHintSeam(nullptr);
    ResetHintTracking();
    velktest::CloseAllLiveForms();
    StopHintTimer();
    EXPECT_EQ(nullptr, MainKestForm);
  }
};

}  // namespace formtest
