// LoopProbe: runs an action once inside whatever message loop dispatches
// next (a modal loop, typically): a message-only window receives a posted
// request and calls the action.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace velktest {

class LoopProbe {
public:
  explicit LoopProbe(std::function<void()> action) : action_(std::move(action)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelkLoopProbe";
    RegisterClassW(&wc);
    window_ = CreateWindowW(L"VelkLoopProbe", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~LoopProbe() {
    if (window_) DestroyWindow(window_);
  }
  LoopProbe(const LoopProbe&) = delete;
  LoopProbe& operator=(const LoopProbe&) = delete;

  // Asks for the action in the next loop that dispatches.
  void Post() { PostMessageW(window_, WM_APP, 0, 0); }
  bool Ran() const { return ran_; }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
      auto* probe = reinterpret_cast<LoopProbe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (probe && !probe->ran_) {
        probe->ran_ = true;
        probe->action_();
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  std::function<void()> action_;
  HWND window_ = nullptr;
  bool ran_ = false;
};

}  // namespace velktest
