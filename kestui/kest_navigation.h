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
HWND GetNextTabStop(HWND focused);
HWND GetPrevTabStop(HWND focused);
// The visible, enabled window under window (itself included) that answers
// WM_GETDLGCODE with DLGC_DEFPUSHBUTTON; null when none.
HWND FindDefaultButton(HWND window);
