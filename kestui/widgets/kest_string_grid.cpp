#include "kestui/widgets/kest_string_grid.h"

#include "foundation/buffers.h"

CKestStringGrid::CKestStringGrid(CKestControl* parent, int id, uint32_t position, int width,
                                 int height, int columns, int rows, int fixedRows)
    : CKestGrid(parent, id, position, width, height, 0, 0, 0) {
  SetSize(columns, rows);
  SetFixedRows(fixedRows);
}

CKestStringGrid::~CKestStringGrid() {
  int cells = GetColumnCount() * GetRowCount();
  if (strings_) {
    for (int i = 0; i < cells; ++i) FreeBuffer(strings_[i]);
  }
  FreeBuffer(strings_);
  strings_ = nullptr;
}

bool CKestStringGrid::SetSize(int columns, int rows) {
  if (columns < 0 || rows < 0) return false;
  const int oldColumns = GetColumnCount(), oldRows = GetRowCount();
  const size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
  auto** strings = static_cast<wchar_t**>(AllocBuffer(sizeof(wchar_t*) * (cells ? cells : 1)));
  if (!strings) return false;
  // An edit in progress writes its text under the old size first.
  EndEdit();
  if (!CKestGrid::SetSize(columns, rows)) {
    FreeBuffer(strings);
    return false;
  }
  for (int r = 0; r < oldRows; ++r) {
    for (int c = 0; c < oldColumns; ++c) {
      wchar_t*& old = strings_[c + static_cast<size_t>(r) * oldColumns];
      if (c < columns && r < rows) {
        strings[c + static_cast<size_t>(r) * columns] = old;
      } else {
        FreeBuffer(old);
      }
      old = nullptr;
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (c >= oldColumns || r >= oldRows) strings[c + static_cast<size_t>(r) * columns] = nullptr;
    }
  }
  FreeBuffer(strings_);
  strings_ = strings;
  return true;
}

const wchar_t* CKestStringGrid::GetCellText(int column, int row) {
  int at = CellIndex(column, row);
  return (at < 0 || !strings_) ? nullptr : strings_[at];
}

void CKestStringGrid::SetCellText(int column, int row, const wchar_t* text) {
  int at = CellIndex(column, row);
  if (at < 0 || !strings_) return;
  if (text && !text[0]) text = nullptr;
  ReplaceString(&strings_[at], text);
  InvalidateCell(column, row);
}
