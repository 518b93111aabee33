// A window procedure for framework windows that hold scroll bars: a window
// of a widget installs it in place of MainClassWindowProc (it passes every
// other message on to it).
//
// WM_HSCROLL / WM_VSCROLL from a scroll-bar control (lParam): the control
// scrolls by HandleScrollCommand (SB_CTL), then WM_KEST_SCROLL (its id, its
// window) goes to the form. From the window's own bars (lParam null): the bar
// scrolls the same way, then WM_KEST_MOUSEMOVE (horizontal) or
// WM_KEST_RBUTTONDOWN (vertical) goes to the form with the scroll request
// (the message's wParam) and the window.
#pragma once

#include <windows.h>

LRESULT CALLBACK KestScrollBarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Installs KestScrollBarWindowProc on a "MainClass" window of a widget;
// false for any other window (subclassed standard controls included).
bool InstallKestScrollBarProc(HWND window);
