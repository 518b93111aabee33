#include "kestui/widgets/kest_grid.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/widgets/grid_combo.h"
#include "kestui/widgets/grid_edit.h"
#include "kestui/widgets/kest_painter.h"

namespace {

constexpr int kDefaultColumnWidth = 64;
constexpr int kDefaultRowHeight = 20;
constexpr int kMinimumColumnWidth = 4;
constexpr int kBorderReach = 2;        // pixels either side of a column border
constexpr int kMaxCells = 1 << 22;     // keeps every per-cell array well inside memory
constexpr int kMaxSpan = 32767;
constexpr int kTextInset = 3;
constexpr int kCheckBoxSize = 13;
// Posted to the grid with an editor window that has finished: the editor
// is destroyed outside the messages of its own window.
constexpr UINT kDisposeEditor = WM_USER + 1;

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

template <class T>
T* AllocArray(size_t count) {
  return static_cast<T*>(AllocBuffer(sizeof(T) * (count ? count : 1)));
}

}  // namespace

CKestGrid::CKestGrid(CKestControl* parent, int id, uint32_t position, int width, int height,
                     int columns, int rows, int fixedRows)
    : cellBack_(GetSysColor(COLOR_WINDOW)),
      cellText_(GetSysColor(COLOR_WINDOWTEXT)),
      fixedBack_(GetSysColor(COLOR_BTNFACE)),
      fixedText_(GetSysColor(COLOR_BTNTEXT)),
      selectedBack_(GetSysColor(COLOR_HIGHLIGHT)),
      selectedText_(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      lineColor_(GetSysColor(COLOR_BTNSHADOW)) {
  backColor_ = GetSysColor(COLOR_APPWORKSPACE);
  Resize(columns, rows);
  SetFixedRows(fixedRows);
  if (!CreateControlWindow(WS_EX_CLIENTEDGE, nullptr, nullptr,
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, position,
                           width, height, parent, nullptr, nullptr)) {
    return;
  }
  SetWindowLongW(window_, GWL_ID, id);
  UpdateScrollBars();
}

CKestGrid::~CKestGrid() {
  // The editor is a child window: it goes with the grid's window.
  editor_ = nullptr;
  for (int c = 0; c < columns_; ++c) FreeBuffer(choices_[c]);
  FreeBuffer(choices_);
  FreeBuffer(alignments_);
  FreeBuffer(editorKinds_);
  FreeBuffer(columnRights_);
  FreeBuffer(rowBottoms_);
  FreeBuffer(columnSpans_);
  FreeBuffer(rowSpans_);
  if (cellFont_) cellFont_->Release();
  cellFont_ = nullptr;
}

// ---------------------------------------------------------------------------
// Size and spans

bool CKestGrid::Resize(int columns, int rows) {
  if (columns < 0 || rows < 0) return false;
  if (columns > 0 && rows > kMaxCells / columns) return false;
  if (columns > kMaxCells || rows > kMaxCells) return false;
  const size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
  auto* rights = AllocArray<int32_t>(columns);
  auto* bottoms = AllocArray<int32_t>(rows);
  auto* colSpans = AllocArray<int16_t>(cells);
  auto* rowSpans = AllocArray<int16_t>(cells);
  auto* alignments = AllocArray<int8_t>(columns);
  auto* kinds = AllocArray<int8_t>(columns);
  auto* choices = AllocArray<wchar_t*>(columns);
  if (!rights || !bottoms || !colSpans || !rowSpans || !alignments || !kinds || !choices) {
    FreeBuffer(rights);
    FreeBuffer(bottoms);
    FreeBuffer(colSpans);
    FreeBuffer(rowSpans);
    FreeBuffer(alignments);
    FreeBuffer(kinds);
    FreeBuffer(choices);
    return false;
  }
  int edge = -1;
  for (int c = 0; c < columns; ++c) {
    int width = c < columns_ ? GetColumnWidth(c) : kDefaultColumnWidth;
    edge += width;
    rights[c] = edge;
    alignments[c] = c < columns_ ? alignments_[c] : KestGridAlignLeft;
    kinds[c] = c < columns_ ? editorKinds_[c] : KestGridEditorEdit;
    choices[c] = c < columns_ ? choices_[c] : nullptr;
  }
  for (int c = columns; c < columns_; ++c) FreeBuffer(choices_[c]);
  edge = -1;
  for (int r = 0; r < rows; ++r) {
    edge += r < rows_ ? GetRowHeight(r) : kDefaultRowHeight;
    bottoms[r] = edge;
  }
  // Spans: kept cells keep theirs, then every block is clipped to the new
  // size (covered cells lie after their origin, so they never lose it).
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      size_t at = static_cast<size_t>(c) + static_cast<size_t>(r) * columns;
      if (c < columns_ && r < rows_) {
        size_t old = static_cast<size_t>(c) + static_cast<size_t>(r) * columns_;
        colSpans[at] = columnSpans_[old];
        rowSpans[at] = rowSpans_[old];
      } else {
        colSpans[at] = 1;
        rowSpans[at] = 1;
      }
      if (colSpans[at] >= 1 && rowSpans[at] >= 1) {
        colSpans[at] = static_cast<int16_t>(std::min<int>(colSpans[at], columns - c));
        rowSpans[at] = static_cast<int16_t>(std::min<int>(rowSpans[at], rows - r));
      }
    }
  }
  FreeBuffer(columnRights_);
  FreeBuffer(rowBottoms_);
  FreeBuffer(columnSpans_);
  FreeBuffer(rowSpans_);
  FreeBuffer(alignments_);
  FreeBuffer(editorKinds_);
  FreeBuffer(choices_);
  columnRights_ = rights;
  rowBottoms_ = bottoms;
  columnSpans_ = colSpans;
  rowSpans_ = rowSpans;
  alignments_ = alignments;
  editorKinds_ = kinds;
  choices_ = choices;
  columns_ = columns;
  rows_ = rows;
  if (fixedRows_ > rows_) fixedRows_ = rows_;
  return true;
}

bool CKestGrid::SetSize(int columns, int rows) {
  EndEdit();
  if (!Resize(columns, rows)) return false;
  if (currentColumn_ >= columns_ || currentRow_ >= rows_) {
    currentColumn_ = currentRow_ = -1;
    previousColumn_ = previousRow_ = -1;
  }
  if (previousColumn_ >= columns_ || previousRow_ >= rows_) previousColumn_ = previousRow_ = -1;
  if (anchorColumn_ >= columns_ || anchorRow_ >= rows_) {
    anchorColumn_ = currentColumn_;
    anchorRow_ = currentRow_;
  }
  if (currentColumn_ >= 0) {
    selection_ = RECT{std::min(anchorColumn_, currentColumn_), std::min(anchorRow_, currentRow_),
                      std::max(anchorColumn_, currentColumn_), std::max(anchorRow_, currentRow_)};
    GrowSelectionOverBlocks();
  } else {
    selection_ = RECT{-1, -1, -1, -1};
  }
  UpdateScrollBars();
  ScrollTo(scrollX_, scrollY_);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

void CKestGrid::SetFixedRows(int rows) {
  fixedRows_ = std::clamp(rows, 0, rows_);
  // No block may cross the boundary between fixed and scrolling rows.
  for (int r = 0; r < fixedRows_; ++r) {
    for (int c = 0; c < columns_; ++c) {
      int at = CellIndex(c, r);
      if (rowSpans_[at] >= 1 && r + rowSpans_[at] > fixedRows_) SplitBlock(c, r);
    }
  }
  if (currentRow_ >= 0 && currentRow_ < fixedRows_) {
    currentColumn_ = currentRow_ = -1;
    selection_ = RECT{-1, -1, -1, -1};
  }
  if (window_) {
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, FALSE);
  }
}

int CKestGrid::CellIndex(int column, int row) const {
  if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return -1;
  return column + row * columns_;
}

bool CKestGrid::GetOrigin(int* column, int* row) const {
  if (!column || !row) return false;
  int at = CellIndex(*column, *row);
  if (at < 0) return false;
  if (columnSpans_[at] <= 0 || rowSpans_[at] <= 0) {
    int c = *column + columnSpans_[at];
    int r = *row + rowSpans_[at];
    if (CellIndex(c, r) < 0) return false;
    *column = c;
    *row = r;
  }
  return true;
}

int CKestGrid::GetColumnSpan(int column, int row) const {
  int at = CellIndex(column, row);
  return at < 0 ? 0 : columnSpans_[at];
}

int CKestGrid::GetRowSpan(int column, int row) const {
  int at = CellIndex(column, row);
  return at < 0 ? 0 : rowSpans_[at];
}

void CKestGrid::SplitBlock(int column, int row) {
  if (!GetOrigin(&column, &row)) return;
  int at = CellIndex(column, row);
  int colSpan = columnSpans_[at], rowSpan = rowSpans_[at];
  for (int r = row; r < row + rowSpan && r < rows_; ++r) {
    for (int c = column; c < column + colSpan && c < columns_; ++c) {
      int cell = CellIndex(c, r);
      columnSpans_[cell] = 1;
      rowSpans_[cell] = 1;
    }
  }
}

bool CKestGrid::SetCellSpan(int column, int row, int colSpan, int rowSpan) {
  if (CellIndex(column, row) < 0) return false;
  EndEdit();
  int rowLimit = row < fixedRows_ ? fixedRows_ : rows_;
  colSpan = std::clamp(colSpan, 1, std::min(columns_ - column, kMaxSpan));
  rowSpan = std::clamp(rowSpan, 1, std::min(rowLimit - row, kMaxSpan));
  for (int r = row; r < row + rowSpan; ++r) {
    for (int c = column; c < column + colSpan; ++c) {
      int cell = CellIndex(c, r);
      if (columnSpans_[cell] != 1 || rowSpans_[cell] != 1) SplitBlock(c, r);
    }
  }
  for (int r = row; r < row + rowSpan; ++r) {
    for (int c = column; c < column + colSpan; ++c) {
      int cell = CellIndex(c, r);
      columnSpans_[cell] = static_cast<int16_t>(column - c);
      rowSpans_[cell] = static_cast<int16_t>(row - r);
    }
  }
  int origin = CellIndex(column, row);
  columnSpans_[origin] = static_cast<int16_t>(colSpan);
  rowSpans_[origin] = static_cast<int16_t>(rowSpan);
  // The current cell may now be covered.
  if (currentColumn_ >= 0) {
    int c = currentColumn_, r = currentRow_;
    GetOrigin(&c, &r);
    currentColumn_ = c;
    currentRow_ = r;
    GrowSelectionOverBlocks();
  }
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

// ---------------------------------------------------------------------------
// Geometry

int CKestGrid::GetColumnRight(int column) const {
  return (column >= 0 && column < columns_) ? columnRights_[column] : -1;
}

int CKestGrid::GetRowBottom(int row) const {
  return (row >= 0 && row < rows_) ? rowBottoms_[row] : -1;
}

int CKestGrid::ColumnLeft(int column) const { return column <= 0 ? 0 : columnRights_[column - 1] + 1; }

int CKestGrid::RowTop(int row) const { return row <= 0 ? 0 : rowBottoms_[row - 1] + 1; }

int CKestGrid::GetColumnWidth(int column) const {
  if (column < 0 || column >= columns_) return 0;
  return columnRights_[column] + 1 - ColumnLeft(column);
}

int CKestGrid::GetRowHeight(int row) const {
  if (row < 0 || row >= rows_) return 0;
  return rowBottoms_[row] + 1 - RowTop(row);
}

int CKestGrid::GetTotalWidth() const { return columns_ > 0 ? columnRights_[columns_ - 1] + 1 : 0; }

int CKestGrid::GetTotalHeight() const { return rows_ > 0 ? rowBottoms_[rows_ - 1] + 1 : 0; }

int CKestGrid::GetFixedHeight() const { return fixedRows_ > 0 ? rowBottoms_[fixedRows_ - 1] + 1 : 0; }

bool CKestGrid::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= columns_) return false;
  width = std::clamp(width, 0, 1 << 20);
  int difference = width - GetColumnWidth(column);
  if (difference == 0) return true;
  if (static_cast<long long>(GetTotalWidth()) + difference > INT_MAX / 2) return false;
  EndEdit();
  for (int c = column; c < columns_; ++c) columnRights_[c] += difference;
  UpdateScrollBars();
  ScrollTo(scrollX_, scrollY_);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

bool CKestGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= rows_) return false;
  height = std::clamp(height, 0, 1 << 20);
  int difference = height - GetRowHeight(row);
  if (difference == 0) return true;
  if (static_cast<long long>(GetTotalHeight()) + difference > INT_MAX / 2) return false;
  EndEdit();
  for (int r = row; r < rows_; ++r) rowBottoms_[r] += difference;
  UpdateScrollBars();
  ScrollTo(scrollX_, scrollY_);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

bool CKestGrid::HitTest(int x, int y, int* column, int* row) const {
  int c = -1, r = -1;
  if (x >= 0 && y >= 0) {
    for (int i = 0; i < columns_; ++i) {
      if (columnRights_[i] - scrollX_ + 1 > x) {
        c = i;
        break;
      }
    }
    int fixedHeight = GetFixedHeight();
    int first = y < fixedHeight ? 0 : fixedRows_;
    int last = y < fixedHeight ? fixedRows_ : rows_;
    int scroll = y < fixedHeight ? 0 : scrollY_;
    for (int i = first; i < last; ++i) {
      if (rowBottoms_[i] - scroll + 1 > y) {
        r = i;
        break;
      }
    }
  }
  bool inside = c >= 0 && r >= 0 && GetOrigin(&c, &r);
  if (!inside) c = r = -1;
  if (column) *column = c;
  if (row) *row = r;
  return inside;
}

int CKestGrid::CellAt(int x, int y) const {
  int c, r;
  return HitTest(x, y, &c, &r) ? CellIndex(c, r) : -1;
}

bool CKestGrid::GetCellRect(int column, int row, RECT* rect) const {
  if (!rect) return false;
  SetRectEmpty(rect);
  if (!GetOrigin(&column, &row)) return false;
  int at = CellIndex(column, row);
  int lastColumn = column + columnSpans_[at] - 1;
  int lastRow = row + rowSpans_[at] - 1;
  int scroll = row < fixedRows_ ? 0 : scrollY_;
  rect->left = ColumnLeft(column) - scrollX_;
  rect->right = columnRights_[lastColumn] + 1 - scrollX_;
  rect->top = RowTop(row) - scroll;
  rect->bottom = rowBottoms_[lastRow] + 1 - scroll;
  return true;
}

int CKestGrid::ColumnBorderAt(int x, int y) const {
  if (y < 0 || y >= GetFixedHeight()) return -1;
  int best = -1, bestDistance = kBorderReach + 1;
  for (int c = 0; c < columns_; ++c) {
    int border = columnRights_[c] + 1 - scrollX_;
    int distance = std::abs(x - border);
    if (distance <= bestDistance) {  // the later column wins a tie: zero widths stay reachable
      best = c;
      bestDistance = distance;
    }
  }
  return bestDistance <= kBorderReach ? best : -1;
}

int CKestGrid::ViewWidth() const {
  RECT client = {0, 0, 0, 0};
  if (window_) GetClientRect(window_, &client);
  return client.right;
}

int CKestGrid::ViewHeight() const {
  RECT client = {0, 0, 0, 0};
  if (window_) GetClientRect(window_, &client);
  return std::max(0, static_cast<int>(client.bottom) - GetFixedHeight());
}

// ---------------------------------------------------------------------------
// Scrolling

void CKestGrid::UpdateScrollBars() {
  if (!window_ || updatingBars_) return;
  updatingBars_ = true;
  // Showing one bar narrows the view for the other: a second pass settles it.
  for (int pass = 0; pass < 3; ++pass) {
    RECT before;
    GetClientRect(window_, &before);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, GetTotalWidth() - 1);
    info.nPage = static_cast<UINT>(std::max(0, ViewWidth()));
    info.nPos = scrollX_;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
    info.nMax = std::max(0, GetTotalHeight() - GetFixedHeight() - 1);
    info.nPage = static_cast<UINT>(ViewHeight());
    info.nPos = scrollY_;
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    RECT after;
    GetClientRect(window_, &after);
    if (EqualRect(&before, &after)) break;
  }
  updatingBars_ = false;
}

void CKestGrid::ScrollTo(int x, int y) {
  int maxX = std::max(0, GetTotalWidth() - ViewWidth());
  int maxY = std::max(0, GetTotalHeight() - GetFixedHeight() - ViewHeight());
  x = std::clamp(x, 0, maxX);
  y = std::clamp(y, 0, maxY);
  if (x == scrollX_ && y == scrollY_) return;
  EndEdit();
  scrollX_ = x;
  scrollY_ = y;
  if (window_) {
    SetScrollPos(window_, SB_HORZ, x, TRUE);
    SetScrollPos(window_, SB_VERT, y, TRUE);
    InvalidateRect(window_, nullptr, FALSE);
  }
}

void CKestGrid::ScrollCellIntoView(int column, int row) {
  if (!GetOrigin(&column, &row)) return;
  int at = CellIndex(column, row);
  int left = ColumnLeft(column);
  int right = columnRights_[column + columnSpans_[at] - 1] + 1;
  int x = scrollX_;
  int view = ViewWidth();
  if (right > x + view) x = right - view;
  if (left < x) x = left;
  int y = scrollY_;
  if (row >= fixedRows_) {
    int fixedHeight = GetFixedHeight();
    int top = RowTop(row) - fixedHeight;
    int bottom = rowBottoms_[row + rowSpans_[at] - 1] + 1 - fixedHeight;
    int height = ViewHeight();
    if (bottom > y + height) y = bottom - height;
    if (top < y) y = top;
  }
  ScrollTo(x, y);
}

void CKestGrid::ScrollBy(int bar, int code) {
  int position;
  if (code == SB_THUMBTRACK) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window_, bar, &info);
    position = info.nTrackPos;
  } else {
    position = HandleScrollCommand(bar, code, window_);
  }
  if (bar == SB_HORZ) {
    ScrollTo(position, scrollY_);
  } else {
    ScrollTo(scrollX_, position);
  }
}

// ---------------------------------------------------------------------------
// Current cell and selection

bool CKestGrid::SelectCell(int column, int row, bool extend) {
  if (CellIndex(column, row) < 0) return false;
  EndEdit();
  if (row < fixedRows_) row = fixedRows_;
  if (row >= rows_) return false;
  if (!GetOrigin(&column, &row)) return false;
  if (column == currentColumn_ && row == currentRow_) return false;
  HWND window = window_;
  if (SelectingCell(column, row)) return false;
  if (window && GetControlFromHandle(window) != this) return false;  // the form took the grid away
  previousColumn_ = currentColumn_;
  previousRow_ = currentRow_;
  currentColumn_ = column;
  currentRow_ = row;
  if (!extend || anchorColumn_ < 0 || CellIndex(anchorColumn_, anchorRow_) < 0 ||
      anchorRow_ < fixedRows_) {
    anchorColumn_ = column;
    anchorRow_ = row;
  }
  selection_ = RECT{std::min(anchorColumn_, column), std::min(anchorRow_, row),
                    std::max(anchorColumn_, column), std::max(anchorRow_, row)};
  GrowSelectionOverBlocks();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  ScrollCellIntoView(column, row);
  CellSelected(column, row);
  return true;
}

void CKestGrid::GrowSelectionOverBlocks() {
  if (selection_.left < 0) return;
  // A block cut by the rectangle pulls the rectangle over it, until no
  // block sticks out.
  for (bool grown = true; grown;) {
    grown = false;
    for (int r = selection_.top; r <= selection_.bottom; ++r) {
      for (int c = selection_.left; c <= selection_.right; ++c) {
        int oc = c, orow = r;
        if (!GetOrigin(&oc, &orow)) continue;
        int at = CellIndex(oc, orow);
        RECT block = {oc, orow, oc + columnSpans_[at] - 1, orow + rowSpans_[at] - 1};
        RECT joined = {std::min(selection_.left, block.left), std::min(selection_.top, block.top),
                       std::max(selection_.right, block.right),
                       std::max(selection_.bottom, block.bottom)};
        if (!EqualRect(&joined, &selection_)) {
          selection_ = joined;
          grown = true;
        }
      }
    }
  }
}

bool CKestGrid::IsCellSelected(int column, int row) const {
  if (CellIndex(column, row) < 0 || selection_.left < 0) return false;
  return column >= selection_.left && column <= selection_.right && row >= selection_.top &&
         row <= selection_.bottom;
}

void CKestGrid::SelectAll() {
  if (columns_ == 0 || rows_ <= fixedRows_) return;
  EndEdit();
  if (currentColumn_ < 0) {
    SelectCell(0, fixedRows_, false);
    if (currentColumn_ < 0) return;
  }
  anchorColumn_ = 0;
  anchorRow_ = fixedRows_;
  selection_ = RECT{0, fixedRows_, columns_ - 1, rows_ - 1};
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CKestGrid::MoveCurrent(int dx, int dy, bool extend) {
  if (columns_ == 0 || rows_ <= fixedRows_) return;
  if (currentColumn_ < 0) {
    SelectCell(0, fixedRows_, false);
    return;
  }
  int at = CellIndex(currentColumn_, currentRow_);
  int column = currentColumn_, row = currentRow_;
  if (dx > 0) column += columnSpans_[at];
  if (dx < 0) column -= 1;
  if (dy > 0) row += rowSpans_[at];
  if (dy < 0) row -= 1;
  column = std::clamp(column, 0, columns_ - 1);
  row = std::clamp(row, fixedRows_, rows_ - 1);
  SelectCell(column, row, extend);
}

void CKestGrid::MoveToEdge(bool horizontalEnd, bool lastOne, bool extend) {
  if (columns_ == 0 || rows_ <= fixedRows_) return;
  int column = std::max(currentColumn_, 0);
  int row = std::max(currentRow_, fixedRows_);
  if (horizontalEnd) {
    column = lastOne ? columns_ - 1 : 0;
  } else {
    row = lastOne ? rows_ - 1 : fixedRows_;
  }
  SelectCell(column, row, extend);
}

// ---------------------------------------------------------------------------
// Requests and virtual operations

LRESULT CKestGrid::Request(WPARAM code, KestGridRequest* request) {
  if (!window_) return 0;
  HWND owner = GetOwnerFormWindow(window_);
  if (!owner || owner == window_) return 0;
  return SendMessageW(owner, WM_KEST_GRIDREQUEST, code, reinterpret_cast<LPARAM>(request));
}

void CKestGrid::DrawCell(HDC dc, int column, int row, const RECT& rect, uint32_t state) {
  if (CellIndex(column, row) < 0) return;
  KestGridRequest request = {this, column, row, dc, rect, state, nullptr};
  if (Request(KestGridRequestDrawCell, &request)) return;
  DrawCellDefault(dc, column, row, rect, state);
}

const wchar_t* CKestGrid::GetCellText(int column, int row) {
  if (CellIndex(column, row) < 0) return nullptr;
  KestGridRequest request = {this, column, row, nullptr, {0, 0, 0, 0}, 0, nullptr};
  return reinterpret_cast<const wchar_t*>(Request(KestGridRequestGetText, &request));
}

void CKestGrid::SetCellText(int column, int row, const wchar_t* text) {
  if (CellIndex(column, row) < 0) return;
  KestGridRequest request = {this, column, row, nullptr, {0, 0, 0, 0}, 0, text};
  HWND window = window_;
  Request(KestGridRequestSetText, &request);
  if (window && GetControlFromHandle(window) == this) InvalidateCell(column, row);
}

bool CKestGrid::SelectingCell(int column, int row) {
  KestGridRequest request = {this, column, row, nullptr, {0, 0, 0, 0}, 0, nullptr};
  return Request(KestGridRequestSelectingCell, &request) != 0;
}

void CKestGrid::CellSelected(int column, int row) {
  KestGridRequest request = {this, column, row, nullptr, {0, 0, 0, 0}, 0, nullptr};
  Request(KestGridRequestCellSelected, &request);
}

void CKestGrid::InvalidateCell(int column, int row) {
  RECT rect;
  if (window_ && GetCellRect(column, row, &rect)) InvalidateRect(window_, &rect, FALSE);
}

// ---------------------------------------------------------------------------
// Drawing

void CKestGrid::DrawCellDefault(HDC dc, int column, int row, const RECT& rect, uint32_t state) {
  if (!dc) return;
  const bool fixed = (state & KestGridStateFixed) != 0;
  const bool selected = !fixed && (state & KestGridStateSelected) != 0;
  COLORREF back = fixed ? fixedBack_ : selected ? selectedBack_ : cellBack_;
  COLORREF text = fixed ? fixedText_ : selected ? selectedText_ : cellText_;
  CKestPainter painter(dc);
  RECT inside = rect;
  if (fixed) {
    Draw3DFrameRect(dc, &rect, back, GetSysColor(COLOR_BTNHIGHLIGHT), lineColor_);
    InflateRect(&inside, -1, -1);
  } else {
    RECT fill = {rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    painter.SetBrush(back);
    FillRect(dc, &fill, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    painter.SetPen(PS_SOLID, 1, lineColor_);
    MoveToEx(dc, rect.right - 1, rect.top, nullptr);
    LineTo(dc, rect.right - 1, rect.bottom - 1);
    LineTo(dc, rect.left - 1, rect.bottom - 1);
    inside.right -= 1;
    inside.bottom -= 1;
  }
  const wchar_t* value = GetCellText(column, row);
  if (!fixed && GetColumnEditor(column) == KestGridEditorCheckBox) {
    bool checked = value && value[0] && wcscmp(value, L"0") != 0;
    int x = (inside.left + inside.right - kCheckBoxSize) / 2;
    int y = (inside.top + inside.bottom - kCheckBoxSize) / 2;
    RECT box = {x, y, x + kCheckBoxSize, y + kCheckBoxSize};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0));
  } else if (value && value[0]) {
    painter.SetFont(cellFont_ ? cellFont_ : font_);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, text);
    RECT area = {inside.left + kTextInset, inside.top, inside.right - kTextInset, inside.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    int alignment = GetColumnAlignment(column);
    if (alignment == KestGridAlignCenter) format |= DT_CENTER;
    if (alignment == KestGridAlignRight) format |= DT_RIGHT;
    DrawTextW(dc, value, -1, &area, format);
    ::SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
  }
  if (!fixed && (state & KestGridStateCurrent) && (state & KestGridStateFocused)) {
    RECT focus = inside;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
}

void CKestGrid::DrawRows(HDC dc, int firstRow, int lastRow, const RECT& client) {
  int firstColumn = -1, lastColumn = -1;
  for (int c = 0; c < columns_; ++c) {
    int left = ColumnLeft(c) - scrollX_, right = columnRights_[c] + 1 - scrollX_;
    if (right <= client.left || left >= client.right) continue;
    if (firstColumn < 0) firstColumn = c;
    lastColumn = c;
  }
  if (firstColumn < 0) return;
  const bool focused = HasFocus();
  for (int r = firstRow; r <= lastRow; ++r) {
    for (int c = firstColumn; c <= lastColumn; ++c) {
      int oc = c, orow = r;
      if (!GetOrigin(&oc, &orow)) continue;
      // Each block once: at its origin, or where it enters the view.
      if (!((oc == c || c == firstColumn) && (orow == r || r == firstRow))) continue;
      RECT rect;
      GetCellRect(oc, orow, &rect);
      uint32_t state = 0;
      if (orow < fixedRows_) state |= KestGridStateFixed;
      if (IsCellSelected(oc, orow)) state |= KestGridStateSelected;
      if (oc == currentColumn_ && orow == currentRow_) state |= KestGridStateCurrent;
      if (focused) state |= KestGridStateFocused;
      DrawCell(dc, oc, orow, rect, state);
    }
  }
}

void CKestGrid::Paint(HDC dc) {
  if (!dc || !window_) return;
  RECT client;
  GetClientRect(window_, &client);
  HBRUSH background = CreateSolidBrush(backColor_ == KEST_TRANSPARENT ? cellBack_ : backColor_);
  if (background) {
    FillRect(dc, &client, background);
    DeleteObject(background);
  }
  const int fixedHeight = GetFixedHeight();
  // Scrolling rows under the fixed ones.
  int first = -1, last = -1;
  for (int r = fixedRows_; r < rows_; ++r) {
    int top = RowTop(r) - scrollY_, bottom = rowBottoms_[r] + 1 - scrollY_;
    if (bottom <= fixedHeight || top >= client.bottom) continue;
    if (first < 0) first = r;
    last = r;
  }
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, fixedHeight, client.right, client.bottom);
  if (first >= 0) DrawRows(dc, first, last, client);
  RestoreDC(dc, saved);
  if (fixedRows_ > 0) {
    saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, client.right, fixedHeight);
    DrawRows(dc, 0, fixedRows_ - 1, client);
    RestoreDC(dc, saved);
  }
}

// ---------------------------------------------------------------------------
// Fonts, colours, columns

void CKestGrid::SetCellFont(CKestFont* font) {
  if (font) font->AddRef();
  if (cellFont_) cellFont_->Release();
  cellFont_ = font;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CKestGrid::SetCellColors(COLORREF back, COLORREF text) {
  cellBack_ = back;
  cellText_ = text;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CKestGrid::SetFixedColors(COLORREF back, COLORREF text) {
  fixedBack_ = back;
  fixedText_ = text;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CKestGrid::SetSelectedColors(COLORREF back, COLORREF text) {
  selectedBack_ = back;
  selectedText_ = text;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

bool CKestGrid::SetColumnAlignment(int column, int alignment) {
  if (column < 0 || column >= columns_) return false;
  alignments_[column] = static_cast<int8_t>(std::clamp(alignment, 0, 2));
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

int CKestGrid::GetColumnAlignment(int column) const {
  return (column >= 0 && column < columns_) ? alignments_[column] : KestGridAlignLeft;
}

bool CKestGrid::SetColumnEditor(int column, int kind, const wchar_t* choices) {
  if (column < 0 || column >= columns_) return false;
  if (editor_ && editColumn_ == column) EndEdit();
  editorKinds_[column] = static_cast<int8_t>(std::clamp(kind, -128, 127));
  ReplaceString(&choices_[column], choices);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return true;
}

int CKestGrid::GetColumnEditor(int column) const {
  return (column >= 0 && column < columns_) ? editorKinds_[column] : KestGridEditorNone;
}

const wchar_t* CKestGrid::GetColumnChoices(int column) const {
  return (column >= 0 && column < columns_) ? choices_[column] : nullptr;
}

// ---------------------------------------------------------------------------
// Editing

bool CKestGrid::BeginEdit() {
  if (!window_ || !editingAllowed_ || editor_) return false;
  int column = currentColumn_, row = currentRow_;
  if (CellIndex(column, row) < 0 || row < fixedRows_) return false;
  int kind = editorKinds_[column];
  if (kind != KestGridEditorEdit && kind != KestGridEditorCombo && kind != KestGridEditorList) {
    return false;
  }
  ScrollCellIntoView(column, row);
  RECT rect;
  GetCellRect(column, row, &rect);
  rect.right -= 1;  // the grid line stays visible
  rect.bottom -= 1;
  // The text is copied first: the editor's creation may send requests.
  wchar_t* text = DupString(GetCellText(column, row));
  CKestControl* editor = nullptr;
  if (kind == KestGridEditorEdit) {
    auto* edit = new CGridEdit(this, rect);
    if (edit->GetHandle()) edit->SetText(text);
    editor = edit;
  } else {
    auto* combo = new CGridCombo(this, kind == KestGridEditorCombo, rect);
    if (combo->GetHandle()) {
      combo->AddChoices(choices_[column]);
      combo->ShowText(text);
    }
    editor = combo;
  }
  FreeBuffer(text);
  if (!editor->GetHandle()) {
    delete editor;
    return false;
  }
  editor_ = editor;
  editColumn_ = column;
  editRow_ = row;
  editKind_ = kind;
  editor->SetFocus();
  return true;
}

bool CKestGrid::EndEdit() {
  if (!editor_) return false;
  CKestControl* editor = editor_;
  editor_ = nullptr;  // a focus change below must not end it again
  int column = editColumn_, row = editRow_, kind = editKind_;
  editColumn_ = editRow_ = editKind_ = -1;
  wchar_t* text = kind == KestGridEditorEdit ? static_cast<CGridEdit*>(editor)->GetText()
                                             : static_cast<CGridCombo*>(editor)->GetText();
  HWND editorWindow = editor->GetHandle();
  HWND focus = GetFocus();
  bool hadFocus = editorWindow && (focus == editorWindow || IsChild(editorWindow, focus));
  if (editorWindow) {
    ShowWindow(editorWindow, SW_HIDE);
    // Destroyed later: this may run inside a message of the editor itself.
    PostMessageW(window_, kDisposeEditor, 0, reinterpret_cast<LPARAM>(editorWindow));
  }
  HWND window = window_;
  SetCellText(column, row, text);
  FreeBuffer(text);
  if (hadFocus && window && GetControlFromHandle(window) == this) ::SetFocus(window);
  return true;
}

void CKestGrid::ToggleCheckBox() {
  int column = currentColumn_, row = currentRow_;
  if (!editingAllowed_ || CellIndex(column, row) < 0 || row < fixedRows_) return;
  if (editorKinds_[column] != KestGridEditorCheckBox) return;
  const wchar_t* value = GetCellText(column, row);
  bool checked = value && value[0] && wcscmp(value, L"0") != 0;
  SetCellText(column, row, checked ? L"0" : L"1");
}

// ---------------------------------------------------------------------------
// Copy

wchar_t* CKestGrid::GetSelectionText() {
  if (selection_.left < 0) return nullptr;
  // Two passes: the length first, then the text, never past what was
  // counted (a form may answer differently the second time).
  size_t length = 0;
  for (int r = selection_.top; r <= selection_.bottom; ++r) {
    if (r > selection_.top) ++length;
    for (int c = selection_.left; c <= selection_.right; ++c) {
      if (c > selection_.left) ++length;
      if (GetColumnSpan(c, r) < 1 || GetRowSpan(c, r) < 1) continue;
      const wchar_t* text = GetCellText(c, r);
      if (text) length += wcslen(text);
    }
  }
  wchar_t* result = AllocWideString(length);
  if (!result) return nullptr;
  size_t at = 0;
  auto put = [&](const wchar_t* text, size_t n) {
    n = std::min(n, length - at);
    memcpy(result + at, text, n * sizeof(wchar_t));
    at += n;
  };
  for (int r = selection_.top; r <= selection_.bottom; ++r) {
    if (r > selection_.top) put(L"\n", 1);
    for (int c = selection_.left; c <= selection_.right; ++c) {
      if (c > selection_.left) put(L"\t", 1);
      if (GetColumnSpan(c, r) < 1 || GetRowSpan(c, r) < 1) continue;
      const wchar_t* text = GetCellText(c, r);
      if (text) put(text, wcslen(text));
    }
  }
  result[at] = 0;
  return result;
}

bool CKestGrid::CopySelection() {
  if (!window_) return false;
  wchar_t* text = GetSelectionText();
  if (!text) return false;
  bool copied = false;
  if (OpenClipboard(window_)) {
    EmptyClipboard();
    copied = SetClipboardText(text);
    CloseClipboard();
  }
  FreeBuffer(text);
  return copied;
}

// ---------------------------------------------------------------------------
// Input

bool CKestGrid::OnKeyDown(WPARAM key) {
  const bool shift = KeyHeld(VK_SHIFT);
  const bool ctrl = KeyHeld(VK_CONTROL);
  int page = 1;
  if (currentRow_ >= 0) {
    int height = GetRowHeight(currentRow_);
    page = std::max(1, height > 0 ? ViewHeight() / height : 1);
  }
  switch (key) {
    case VK_LEFT: MoveCurrent(-1, 0, shift); return true;
    case VK_RIGHT: MoveCurrent(1, 0, shift); return true;
    case VK_UP: MoveCurrent(0, -1, shift); return true;
    case VK_DOWN: MoveCurrent(0, 1, shift); return true;
    case VK_PRIOR:
      if (currentColumn_ >= 0) SelectCell(currentColumn_, std::max(fixedRows_, currentRow_ - page), shift);
      return true;
    case VK_NEXT:
      if (currentColumn_ >= 0) SelectCell(currentColumn_, std::min(rows_ - 1, currentRow_ + page), shift);
      return true;
    case VK_HOME: MoveToEdge(!ctrl, false, shift); return true;
    case VK_END: MoveToEdge(!ctrl, true, shift); return true;
    case VK_F2:
    case VK_RETURN:
      BeginEdit();
      return true;
    case VK_SPACE:
      ToggleCheckBox();
      return true;
    case 'C':
    case VK_INSERT:
      if (ctrl) {
        CopySelection();
        return true;
      }
      return false;
    case 'A':
      if (ctrl) {
        SelectAll();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void CKestGrid::OnChar(wchar_t character) {
  if (character < L' ' || KeyHeld(VK_CONTROL) || character == L' ') return;
  if (!BeginEdit()) return;
  HWND target = editor_ ? editor_->GetHandle() : nullptr;
  if (!target) return;
  if (editKind_ != KestGridEditorList) {
    SendMessageW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    if (editKind_ == KestGridEditorCombo) {
      CGridCombo* combo = static_cast<CGridCombo*>(editor_);
      if (combo->GetInnerEdit()) target = combo->GetInnerEdit();
    }
  }
  SendMessageW(target, WM_CHAR, character, 0);
}

LRESULT CKestGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow(window_, [this](HDC dc) {
        RECT client;
        GetClientRect(window_, &client);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, std::max(1L, client.right),
                                                         std::max(1L, client.bottom))
                                : nullptr;
        if (!bitmap) {
          if (memory) DeleteDC(memory);
          Paint(dc);
          return;
        }
        {
          CKestPainter painter(memory);
          painter.SelectOwned(bitmap);
          Paint(memory);
          BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        }
        DeleteDC(memory);
      });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBars();
      ScrollTo(scrollX_, scrollY_);
      break;
    case WM_HSCROLL:
      ScrollBy(SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      ScrollBy(SB_VERT, LOWORD(wParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window_, nullptr, FALSE);
      break;
    case WM_GETDLGCODE:
      // Enter opens the editor when the grid edits; otherwise it is the
      // dialog's (its default button).
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (editingAllowed_ ? DLGC_WANTALLKEYS : 0);
    case WM_KEYDOWN:
      if (OnKeyDown(wParam)) return 0;
      break;
    case WM_CHAR:
      OnChar(static_cast<wchar_t>(wParam));
      return 0;
    case WM_LBUTTONDOWN: {
      HWND window = window_;
      ::SetFocus(window);  // ends an edit through the editor's focus loss
      if (GetControlFromHandle(window) != this) return 0;
      int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      int border = resizingAllowed_ ? ColumnBorderAt(x, y) : -1;
      if (border >= 0) {
        dragColumn_ = border;
        cursorIndex_ = KestCursorSplitWe;
      } else {
        int column, row;
        if (HitTest(x, y, &column, &row)) {
          SelectCell(column, row, (wParam & MK_SHIFT) != 0);
          mouseSelecting_ = true;
        }
      }
      if (GetControlFromHandle(window) != this) return 0;
      break;
    }
    case WM_MOUSEMOVE: {
      int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (dragColumn_ >= 0 && (wParam & MK_LBUTTON)) {
        SetColumnWidth(dragColumn_, std::max(kMinimumColumnWidth, x + scrollX_ - ColumnLeft(dragColumn_)));
      } else if (mouseSelecting_ && (wParam & MK_LBUTTON)) {
        int column, row;
        if (HitTest(x, y, &column, &row)) SelectCell(column, row, true);
      } else {
        dragColumn_ = -1;
        mouseSelecting_ = false;
      }
      bool onBorder = dragColumn_ >= 0 || (resizingAllowed_ && ColumnBorderAt(x, y) >= 0);
      cursorIndex_ = onBorder ? KestCursorSplitWe : KestCursorArrow;
      break;
    }
    case WM_LBUTTONUP:
      dragColumn_ = -1;
      mouseSelecting_ = false;
      break;
    case WM_LBUTTONDBLCLK: {
      int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (!(resizingAllowed_ && ColumnBorderAt(x, y) >= 0) && CellAt(x, y) >= 0) BeginEdit();
      break;
    }
    case WM_MOUSEWHEEL: {
      HWND window = window_;
      if (SendMessageW(GetOwnerFormWindow(window), WM_KEST_MOUSEWHEEL, wParam,
                       reinterpret_cast<LPARAM>(window))) {
        return 1;
      }
      if (GetControlFromHandle(window) != this) return 1;
      int delta = static_cast<short>(HIWORD(wParam));
      ScrollTo(scrollX_, scrollY_ - delta * 3 * kDefaultRowHeight / WHEEL_DELTA);
      return 1;
    }
    case WM_COPY:
      CopySelection();
      return 0;
    case WM_KEST_CANCOPY:
      return selection_.left >= 0 ? 1 : 0;
    case WM_KEST_CANSELECTALL:
      return (columns_ > 0 && rows_ > fixedRows_) ? 1 : 0;
    case WM_KEST_SELECTALL:
      SelectAll();
      return 1;
    case kDisposeEditor: {
      HWND editor = reinterpret_cast<HWND>(lParam);
      if (editor && IsWindow(editor) && GetParent(editor) == window_ &&
          (!editor_ || editor_->GetHandle() != editor)) {
        DestroyWindow(editor);
      }
      return 0;
    }
    default:
      break;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
