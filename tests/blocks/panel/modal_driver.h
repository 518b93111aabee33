// Drives a modal form of type Form from inside its modal loop: when the form
// is activated, step (form, step number) runs from a posted message, and
// again after the waiting messages while it answers true.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "kestui/core/kest_control.h"

namespace paneltest {

const UINT kModalStepMessage = WM_APP + 77;

template <class Form>
class ModalDriver {
public:
  explicit ModalDriver(std::function<bool(Form*, int)> step) : step_(std::move(step)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PanelModalDriver";
    RegisterClassW(&wc);
    helper_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(helper_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~ModalDriver() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (helper_) DestroyWindow(helper_);
    current_ = nullptr;
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;
  bool Ready() const { return helper_ && hook_; }
  int Steps() const { return steps_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_ && !current_->form_) {
      auto* form = dynamic_cast<Form*>(GetControlFromHandle(reinterpret_cast<HWND>(wParam)));
      if (form) {
        current_->form_ = form;
        PostMessageW(current_->helper_, kModalStepMessage, 0, 0);
      }
    }
    return CallNextHookEx(current_ ? current_->hook_ : nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalDriver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kModalStepMessage && self && self->form_) {
      if (self->step_(self->form_, self->steps_++)) PostMessageW(window, kModalStepMessage, 0, 0);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  static inline ModalDriver* current_ = nullptr;
  std::function<bool(Form*, int)> step_;
  HWND helper_ = nullptr;
  HHOOK hook_ = nullptr;
  Form* form_ = nullptr;
  int steps_ = 0;
};

// build\screenshots\<name>, the folder made when missing.
inline std::wstring PanelScreenshotPath(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + name;
}

}  // namespace paneltest
