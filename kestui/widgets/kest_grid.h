// CKestGrid: a table of cells drawn by the widget or by its owning form.
//
// Cells are indexed column + row * column count; an index outside the grid
// is -1, and every operation that takes a cell checks it first. The first
// fixedRows rows are headers: they never scroll vertically, are never
// selected, and in them the column borders can be dragged (when column
// resizing is on) with the vertical-splitter cursor.
//
// Geometry: the cumulative edges hold the last pixel of each column (right
// edge) and row (bottom edge) in unscrolled coordinates, so column c covers
// the pixels right(c - 1) + 1 .. right(c). A merged block keeps its spans on
// its origin cell (1 or more); each covered cell holds the distance back to
// the origin as zero or negative column and row values. A block lies either
// wholly in the fixed rows or wholly below them.
//
// The grid asks its form for what it does not know with WM_KEST_GRIDREQUEST
// (request code, KestGridRequest*): drawing a cell (0; non-zero answer = the
// form drew it), whether a cell may become current (1; non-zero = no), that
// it became current (2), a cell's text (3; the answer is a wide string the
// form keeps alive) and a new text for a cell (4). CKestStringGrid keeps
// its own texts instead.
//
// In-place editing (when editing is on): F2, Enter, a double click or a
// typed character open the editor of the current cell's column (kind 0 an
// edit, 1 an editable combo, 2 a drop-down list combo, filled from the
// column's choice text with entries separated by "\n"); ending the edit
// writes the editor's text with SetCellText. Kind 3 draws a check box
// ("1" checked) that Space toggles; other kinds are not editable.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"
#include "kestui/graphics/kest_font.h"

class CKestGrid;

// Request codes (wParam of WM_KEST_GRIDREQUEST).
constexpr WPARAM KestGridRequestDrawCell = 0;
constexpr WPARAM KestGridRequestSelectingCell = 1;
constexpr WPARAM KestGridRequestCellSelected = 2;
constexpr WPARAM KestGridRequestGetText = 3;
constexpr WPARAM KestGridRequestSetText = 4;

// State bits of a cell being drawn.
constexpr uint32_t KestGridStateFixed = 1;
constexpr uint32_t KestGridStateSelected = 2;
constexpr uint32_t KestGridStateCurrent = 4;
constexpr uint32_t KestGridStateFocused = 8;

// Editor kinds of a column.
constexpr int KestGridEditorEdit = 0;
constexpr int KestGridEditorCombo = 1;
constexpr int KestGridEditorList = 2;
constexpr int KestGridEditorCheckBox = 3;
constexpr int KestGridEditorNone = -1;

// Column alignments.
constexpr int KestGridAlignLeft = 0;
constexpr int KestGridAlignCenter = 1;
constexpr int KestGridAlignRight = 2;

// The record of a request: the grid, the cell, then the request's own
// arguments.
struct KestGridRequest {
  CKestGrid* grid;
  int column;
  int row;
  HDC dc;               // draw: where to draw
  RECT rect;            // draw: the cell (whole merged block) in client coordinates
  uint32_t state;       // draw: KestGridState* bits
  const wchar_t* text;  // set text: the new text (null = empty)
};

class CKestGrid : public CKestControl {
public:
  CKestGrid(CKestControl* parent, int id, uint32_t position, int width, int height, int columns,
            int rows, int fixedRows);
  ~CKestGrid() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Virtual operations of the grid.
  // Resizes every per-cell and per-column array, keeping what both sizes
  // share. False (nothing changed) for negative or too large sizes or
  // without memory. Note: hides CKestControl::SetSize (window size).
  virtual bool SetSize(int columns, int rows);
  virtual void DrawCell(HDC dc, int column, int row, const RECT& rect, uint32_t state);
  // Null for an empty cell or a cell outside the grid.
  virtual const wchar_t* GetCellText(int column, int row);
  virtual void SetCellText(int column, int row, const wchar_t* text);
  // True keeps the old current cell.
  virtual bool SelectingCell(int column, int row);
  virtual void CellSelected(int column, int row);

  int GetColumnCount() const { return columns_; }
  int GetRowCount() const { return rows_; }
  int GetFixedRows() const { return fixedRows_; }
  // Clamped to 0 .. row count; merged blocks that would cross the new
  // boundary are split.
  void SetFixedRows(int rows);
  // column + row * column count, -1 outside the grid.
  int CellIndex(int column, int row) const;

  // Merges the block of colSpan x rowSpan cells at the origin (spans are
  // clipped to the grid and to the fixed-row boundary); blocks it overlaps
  // are split first. Spans of 1 x 1 split the block at the origin.
  bool SetCellSpan(int column, int row, int colSpan, int rowSpan);
  // Spans of the cell: 1 or more on an origin, zero or negative distances
  // back to the origin on a covered cell; 0 outside the grid.
  int GetColumnSpan(int column, int row) const;
  int GetRowSpan(int column, int row) const;
  // Replaces a covered cell by its origin; false outside the grid.
  bool GetOrigin(int* column, int* row) const;

  int GetColumnWidth(int column) const;
  bool SetColumnWidth(int column, int width);
  int GetRowHeight(int row) const;
  bool SetRowHeight(int row, int height);
  // Last pixel of the column or row (unscrolled); -1 outside the grid.
  int GetColumnRight(int column) const;
  int GetRowBottom(int row) const;
  int GetTotalWidth() const;
  int GetTotalHeight() const;
  int GetFixedHeight() const;

  // The cell under a client point, as the origin of its block; false (and
  // -1, -1) outside the cells.
  bool HitTest(int x, int y, int* column, int* row) const;
  // Cell index under a client point, -1 outside.
  int CellAt(int x, int y) const;
  // The client rectangle of the cell's whole block; false outside the grid.
  bool GetCellRect(int column, int row, RECT* rect) const;
  // The column whose right border lies within reach of a client point in the
  // fixed rows; -1 when none.
  int ColumnBorderAt(int x, int y) const;

  int GetCurrentColumn() const { return currentColumn_; }
  int GetCurrentRow() const { return currentRow_; }
  int GetPreviousColumn() const { return previousColumn_; }
  int GetPreviousRow() const { return previousRow_; }
  // Makes a cell current (see the .cpp); extend keeps the anchor and
  // selects the rectangle from it. Answers whether the current cell moved.
  bool SelectCell(int column, int row, bool extend);
  // Selected cells as an inclusive rectangle of columns and rows (left,
  // top, right, bottom); all -1 when nothing is selected.
  RECT GetSelection() const { return selection_; }
  bool IsCellSelected(int column, int row) const;
  void SelectAll();

  int GetScrollX() const { return scrollX_; }
  int GetScrollY() const { return scrollY_; }
  // Scrolls to the position, clamped to what the content allows.
  void ScrollTo(int x, int y);
  void ScrollCellIntoView(int column, int row);

  void SetCellFont(CKestFont* font);  // a counted reference; null: the widget's font
  CKestFont* GetCellFont() const { return cellFont_; }
  void SetCellColors(COLORREF back, COLORREF text);
  void SetFixedColors(COLORREF back, COLORREF text);
  void SetSelectedColors(COLORREF back, COLORREF text);
  COLORREF GetCellBackColor() const { return cellBack_; }
  COLORREF GetFixedBackColor() const { return fixedBack_; }
  COLORREF GetSelectedBackColor() const { return selectedBack_; }

  bool SetColumnAlignment(int column, int alignment);
  int GetColumnAlignment(int column) const;
  // Editor kind and, for the combos, the choices separated by "\n" (copied).
  bool SetColumnEditor(int column, int kind, const wchar_t* choices);
  int GetColumnEditor(int column) const;
  const wchar_t* GetColumnChoices(int column) const;

  void SetEditing(bool on) { editingAllowed_ = on; }
  bool IsEditingAllowed() const { return editingAllowed_; }
  void SetColumnResizing(bool on) { resizingAllowed_ = on; }
  bool IsColumnResizingAllowed() const { return resizingAllowed_; }

  // Opens the editor over the current cell; false when the cell cannot be
  // edited or an edit is in progress.
  bool BeginEdit();
  // Writes the editor's text into its cell and removes the editor; false
  // when no edit was in progress.
  bool EndEdit();
  CKestControl* GetEditor() const { return editor_; }
  int GetEditKind() const { return editKind_; }

  // The selected cells as text: cells separated by a tab, rows by "\n"
  // (covered cells empty). A new block (FreeBuffer); null without selection.
  wchar_t* GetSelectionText();
  // Puts GetSelectionText on the clipboard as CF_UNICODETEXT.
  bool CopySelection();

  // Draws the whole grid into dc (the client area).
  void Paint(HDC dc);

protected:
  // Sends a request to the owning form and answers its result.
  LRESULT Request(WPARAM code, KestGridRequest* request);
  // The grid's own drawing of a cell.
  void DrawCellDefault(HDC dc, int column, int row, const RECT& rect, uint32_t state);
  void InvalidateCell(int column, int row);

private:
  bool Resize(int columns, int rows);
  void SplitBlock(int column, int row);
  void GrowSelectionOverBlocks();
  void MoveCurrent(int dx, int dy, bool extend);
  void MoveToEdge(bool horizontalEnd, bool lastOne, bool extend);
  void UpdateScrollBars();
  void ScrollBy(int bar, int code);
  void DrawRows(HDC dc, int firstRow, int lastRow, const RECT& client);
  int ColumnLeft(int column) const;
  int RowTop(int row) const;
  int ViewWidth() const;
  int ViewHeight() const;  // the client height under the fixed rows
  bool OnKeyDown(WPARAM key);
  void OnChar(wchar_t character);
  void ToggleCheckBox();

  int columns_ = 0;
  int rows_ = 0;
  int fixedRows_ = 0;
  int32_t* columnRights_ = nullptr;
  int32_t* rowBottoms_ = nullptr;
  int16_t* columnSpans_ = nullptr;
  int16_t* rowSpans_ = nullptr;
  int currentColumn_ = -1;
  int currentRow_ = -1;
  int previousColumn_ = -1;
  int previousRow_ = -1;
  RECT selection_ = {-1, -1, -1, -1};
  int anchorColumn_ = -1;
  int anchorRow_ = -1;
  int scrollX_ = 0;
  int scrollY_ = 0;
  CKestFont* cellFont_ = nullptr;
  COLORREF cellBack_;
  COLORREF cellText_;
  COLORREF fixedBack_;
  COLORREF fixedText_;
  COLORREF selectedBack_;
  COLORREF selectedText_;
  COLORREF lineColor_;
  int8_t* alignments_ = nullptr;
  int8_t* editorKinds_ = nullptr;
  wchar_t** choices_ = nullptr;
  CKestControl* editor_ = nullptr;
  int editColumn_ = -1;
  int editRow_ = -1;
  int editKind_ = -1;
  bool editingAllowed_ = false;
  bool resizingAllowed_ = false;
  int dragColumn_ = -1;        // column whose border is being dragged
  bool mouseSelecting_ = false;
  bool updatingBars_ = false;
};
