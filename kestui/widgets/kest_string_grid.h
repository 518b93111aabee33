// CKestStringGrid: a grid that keeps one text per cell itself instead of
// asking its form. Texts are owned copies; a null slot is an empty cell.
#pragma once

#include <windows.h>

#include "kestui/widgets/kest_grid.h"

class CKestStringGrid : public CKestGrid {
public:
  CKestStringGrid(CKestControl* parent, int id, uint32_t position, int width, int height,
                  int columns, int rows, int fixedRows);
  ~CKestStringGrid() override;

  // Cells that fall away lose their texts; new cells start empty.
  bool SetSize(int columns, int rows) override;
  // The stored text; null for an empty cell or outside the grid.
  const wchar_t* GetCellText(int column, int row) override;
  // Stores a copy (null or "" empties the cell) and repaints the cell.
  void SetCellText(int column, int row, const wchar_t* text) override;

private:
  wchar_t** strings_ = nullptr;
};
