// Small widgets for the framework tests: a top-level container that records
// what reaches it, a plain "MainClass" child, and a wrapper of any standard
// control class.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "kestui/kestui.h"

namespace kesttest {

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT notifyCode;  // NMHDR code for WM_NOTIFY
};

bool IsReported(UINT message);

// Records the messages it is told about, in order.
class RecordingControl : public CKestControl {
public:
  ~RecordingControl() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  std::vector<Seen> seen;
  int* deletions = nullptr;  // incremented by the destructor
  LRESULT commandAnswer = 0;  // answer to WM_KEST_COMMAND / WM_KEST_NOTIFY
  LRESULT dialogCode = -1;    // answer to WM_GETDLGCODE (-1: default)
  std::vector<LPARAM> dialogCodeParams;
  UINT throwOn = 0;           // a message that makes WindowProc throw

  int Count(UINT message) const;
  const Seen* Last(UINT message) const;
};

// A top-level container standing in for a form.
class TestForm : public RecordingControl {
public:
  explicit TestForm(int width = 400, int height = 300, CKestMenu* menu = nullptr,
                    uint32_t position = KestPos(40, 40));
};

// A "MainClass" child widget.
class TestWidget : public RecordingControl {
public:
  TestWidget(CKestControl* parent, uint32_t position, int width, int height, int id = 0,
             DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0);
};

// A subclassed standard control.
class StdWidget : public RecordingControl {
public:
  StdWidget(CKestControl* parent, const wchar_t* className, const wchar_t* caption, DWORD style,
            uint32_t position, int width, int height, int id = 0, DWORD exStyle = 0);
};

// Destroys a window left over by a test (its object deletes itself).
class WindowGuard {
public:
  explicit WindowGuard(CKestControl* control) : window_(control ? control->GetHandle() : nullptr) {}
  ~WindowGuard() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
  }
  WindowGuard(const WindowGuard&) = delete;
  WindowGuard& operator=(const WindowGuard&) = delete;

private:
  HWND window_;
};

// Sets or clears Shift, Ctrl and Alt in this thread's key state.
void SetModifierKeys(bool shift, bool ctrl, bool alt);

// Brings a top-level window to the front and makes it active.
void ActivateWindow(HWND window);

}  // namespace kesttest
