// Small helpers shared by the framework's widget sources; for kestui's own
// sources only.
#pragma once

#include <windows.h>

void SetWindowId(HWND window, int id);
