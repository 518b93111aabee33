// Hints and mouse tracking. One process-wide 50 ms timer (started by the
// first CKestForm::Create, killed when CKestForm::Run ends) follows the
// cursor: it tells widgets when the mouse enters and leaves them
// (WM_KEST_MOUSEENTER / WM_KEST_MOUSELEAVE, sent) and, once the mouse has
// rested for more than 300 ms over a widget with a hint text, shows that text
// in a CHintWindow, which goes with the next movement, after 5 seconds or
// when the widget's window loses activation. The widgets of a form disabled
// under a modal dialog show none.
#pragma once

#include <windows.h>

#include "kestui/core/kest_control.h"

// False: the timer does nothing at all (common dialogs with their own modal
// loops switch it off while they are open).
extern bool HintsEnabled;
// True once the hint of the current rest has been shown (or skipped).
extern bool HintShownForRest;
// The hint window being shown, or null.
class CHintWindow;
extern CHintWindow* CurrentHintWindow;
// Id of the hint timer; 0 when it does not run.
extern UINT_PTR HintTimerId;

// Where the timer reads the time and the cursor. Tests put a fake clock and
// cursor here; null members (or a null seam) mean the real ones.
struct KestHintSeam {
  DWORD (*now)();             // milliseconds
  bool (*cursor)(POINT* at);  // screen coordinates; false = unknown
};
void SetHintSeam(const KestHintSeam* seam);

// The cursor as the timer reads it: the seam's cursor when one is set,
// else GetCursorPos. False when unknown.
bool ReadCursor(POINT* at);

// Starts the 50 ms timer when it does not run yet; answers whether it runs.
bool StartHintTimer();
// Kills the timer and clears its id.
void StopHintTimer();
// The timer callback: one step with the timer message's time (the seam's
// clock when one is set).
void CALLBACK HintTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
// One step of the tracking with the seam's clock (or GetTickCount).
void HintTimerStep();
// Forgets the last cursor position and rest, deletes a shown hint and
// clears HoverControl without messages (tests start from here).
void ResetHintTracking();
// A top-level window lost activation (another window or a dialog came over
// it): a hint shown for one of its widgets goes, so that it never stays
// above what was opened after it.
void HideHintOfWindow(HWND window);
