#include "kestui/widgets/grid_edit.h"

#include "kestui/widgets/kest_grid.h"

CGridEdit::CGridEdit(CKestGrid* grid, const RECT& rect)
    : CKestEdit(grid, 0, KestPos(0, 0), rect.right - rect.left, rect.bottom - rect.top, false, 0,
                false),
      grid_(grid),
      gridWindow_(grid ? grid->GetHandle() : nullptr) {
  if (window_) {
    MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  }
}

CKestGrid* CGridEdit::GetGrid() const {
  return (gridWindow_ && GetControlFromHandle(gridWindow_) == grid_) ? grid_ : nullptr;
}

void CGridEdit::EndEdit() {
  CKestGrid* grid = GetGrid();
  if (grid && grid->GetEditor() == this) grid->EndEdit();
}

LRESULT CGridEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      // Enter and the arrows are the editor's, not the dialog's.
      return CKestEdit::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
          EndEdit();
          return 0;
        case VK_UP:
        case VK_DOWN:
          if (GetGrid()) PostMessageW(gridWindow_, WM_KEYDOWN, wParam, lParam);
          EndEdit();
          return 0;
        default:
          break;
      }
      break;
    case WM_KILLFOCUS: {
      LRESULT result = CKestEdit::WindowProc(message, wParam, lParam);
      EndEdit();
      return result;
    }
    default:
      break;
  }
  return CKestEdit::WindowProc(message, wParam, lParam);
}
