#include "kestui/hints/kest_hint.h"

#include <climits>

#include "kestui/hints/kest_hint_window.h"

bool HintsEnabled = true;
bool HintShownForRest = false;
CHintWindow* CurrentHintWindow = nullptr;
UINT_PTR HintTimerId = 0;

namespace {

constexpr UINT HintIntervalMs = 50;
constexpr DWORD RestDelayMs = 300;

KestHintSeam CurrentSeam = {nullptr, nullptr};
bool SeamSet = false;
POINT LastCursor = {INT_MIN, INT_MIN};
DWORD LastMoveTime = 0;

DWORD ReadClock(DWORD fallback) {
  if (SeamSet && CurrentSeam.now) return CurrentSeam.now();
  return fallback;
}

void DeleteShownHint() {
  if (CurrentHintWindow) delete CurrentHintWindow;  // clears CurrentHintWindow
  CurrentHintWindow = nullptr;
}

void Track(DWORD time) {
  if (!HintsEnabled) return;
  POINT at;
  if (!ReadCursor(&at)) return;
  if (at.x != LastCursor.x || at.y != LastCursor.y) {
    LastMoveTime = time;
    LastCursor = at;
    HintShownForRest = false;
    DeleteShownHint();
    if (GetCapture()) return;  // a drag in progress keeps the hover widget
    CKestControl* under = GetControlFromHandle(WindowFromPoint(at));
    if (under != HoverControl) {
      CKestControl* old = HoverControl;
      HoverControl = under;
      if (old && old->GetHandle()) SendMessageW(old->GetHandle(), WM_KEST_MOUSELEAVE, 0, 0);
      // The leave handler may have destroyed the new widget: it then cleared
      // HoverControl itself.
      if (HoverControl == under && under && under->GetHandle()) {
        SendMessageW(under->GetHandle(), WM_KEST_MOUSEENTER, 0, 0);
      }
    }
    return;
  }
  if (!HintShownForRest && static_cast<DWORD>(time - LastMoveTime) > RestDelayMs) {
    DeleteShownHint();
    HintShownForRest = true;
    if (!HoverControl || !HoverControl->GetHint()) return;
    // A widget of a form disabled under a modal dialog shows no hint: the
    // hint would stand over the dialog.
    HWND root = HoverControl->GetHandle() ? GetAncestor(HoverControl->GetHandle(), GA_ROOT) : nullptr;
    if (!root || !IsWindowEnabled(root)) return;
    CHintWindow* hint = new CHintWindow(HoverControl->GetHint());
    hint->shownFor = root;
  }
}

}  // namespace

bool ReadCursor(POINT* at) {
  if (SeamSet && CurrentSeam.cursor) return CurrentSeam.cursor(at);
  return GetCursorPos(at) != FALSE;
}

void SetHintSeam(const KestHintSeam* seam) {
  SeamSet = seam != nullptr;
  CurrentSeam = seam ? *seam : KestHintSeam{nullptr, nullptr};
}

bool StartHintTimer() {
  if (HintTimerId == 0) HintTimerId = SetTimer(nullptr, 0, HintIntervalMs, HintTimerProc);
  return HintTimerId != 0;
}

void StopHintTimer() {
  if (HintTimerId != 0) KillTimer(nullptr, HintTimerId);
  HintTimerId = 0;
}

void CALLBACK HintTimerProc(HWND, UINT, UINT_PTR, DWORD time) { Track(ReadClock(time)); }

void HintTimerStep() { Track(ReadClock(GetTickCount())); }

void HideHintOfWindow(HWND window) {
  if (window && CurrentHintWindow && CurrentHintWindow->shownFor == window) DeleteShownHint();
}

void ResetHintTracking() {
  LastCursor.x = INT_MIN;
  LastCursor.y = INT_MIN;
  LastMoveTime = 0;
  HintShownForRest = false;
  DeleteShownHint();
  HoverControl = nullptr;
}

