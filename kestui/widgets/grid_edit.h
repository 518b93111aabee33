// CGridEdit: the in-place edit of a grid cell (editor kind 0). Enter, Esc
// and the loss of the focus end the edit; Up and Down end it and are posted
// to the grid as WM_KEYDOWN, so the grid moves on to the next row.
#pragma once

#include <windows.h>

#include "kestui/edits/kest_edit.h"

class CKestGrid;

class CGridEdit : public CKestEdit {
public:
  // A borderless edit over rect (grid client coordinates).
  CGridEdit(CKestGrid* grid, const RECT& rect);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The grid being edited, while its object still exists; else null.
  CKestGrid* GetGrid() const;

private:
  // Ends the edit when this editor is still the grid's editor.
  void EndEdit();

  CKestGrid* grid_;
  HWND gridWindow_;
};
