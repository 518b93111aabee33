// Small helpers shared by the framework's widget sources; for kestui's own
// sources only.
#pragma once

#include <windows.h>

class CKestControl;

void SetWindowId(HWND window, int id);
void SetHintIfAny(CKestControl* control, const wchar_t* hint);

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
