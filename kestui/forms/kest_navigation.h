// Keyboard pre-translation of the framework's message loops: Tab moves the
// focus between tab stops, Enter clicks the default button, and other keys
// are reported to the owning form as WM_KEST_KEYDOWN / WM_KEST_KEYUP.
#pragma once

#include <windows.h>

// Called for every fetched message before accelerators, translation and
// dispatch. May neutralise the message by setting its code to WM_NULL.
void PreTranslateKeyMessage(MSG* message);

// Visible child with WS_TABSTOP, enabled, and without WS_BORDER/WS_DLGFRAME.
// The searches below also pass over hidden or disabled containers.
bool IsTabStopWindow(HWND window);
bool IsChildWindow(HWND window);
// forward: true walks GW_HWNDNEXT, false GW_HWNDPREV.
HWND FindTabStop(HWND window, bool forward, bool skip);
HWND FindTabStopFrom(HWND start, bool forward, bool skip = true);
// Tab never leaves the form it starts in: the searches do not climb above
// the form that holds the start nor enter a form nested in it (an MDI
// child), and the wrap-around starts over in that form.
HWND GetNextTabStop(HWND focused);
HWND GetPrevTabStop(HWND focused);
// The form keyboard navigation of window works in: the nearest framework
// form holding it (an MDI child, a dialog, the frame), else its top-level
// window; the active window for null.
HWND GetNavigationForm(HWND window);
// The visible, enabled window under window (itself included) that answers
// WM_GETDLGCODE with DLGC_DEFPUSHBUTTON; null when none.
HWND FindDefaultButton(HWND window);
