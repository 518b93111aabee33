// What the scheme and board views report to the editor window that hosts
// them (its owning form).
#pragma once

#include <windows.h>

// A tool ended (wParam 0, lParam = palette command to show pressed: 109
// "Курсор", or 0 for none).
constexpr UINT WM_EDITOR_TOOL_FINISHED = 8209;
// The selection changed (wParam 0 scheme view, 1 board view).
constexpr UINT WM_EDITOR_SELECTION_CHANGED = 8210;
