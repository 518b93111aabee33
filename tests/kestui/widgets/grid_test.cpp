// The grid: cell indices, geometry with merged cells and scrolling, the
// current cell and its selection, the requests to the form, the grid's own
// drawing, column borders and copying.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "kestui/widgets/kest_grid.h"
#include "kestui/panels_fixture.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

// 4 columns of 50, 30, 40 and 60 pixels, 5 rows of 20 pixels, one fixed row.
class GridTest : public WidgetFormTest<400, 300> {
protected:
  CKestGrid* MakeGrid(int width = 300, int height = 200) {
    auto* grid = new CKestGrid(form, 7, KestPos(10, 10), width, height, 4, 5, 1);
    grid->SetColumnWidth(0, 50);
    grid->SetColumnWidth(1, 30);
    grid->SetColumnWidth(2, 40);
    grid->SetColumnWidth(3, 60);
    return grid;
  }
  static std::vector<int> Rights(CKestGrid* grid) {
    std::vector<int> result;
    for (int c = 0; c < grid->GetColumnCount(); ++c) result.push_back(grid->GetColumnRight(c));
    return result;
  }
  static std::string Cell(CKestGrid* grid, int x, int y) {
    int c = 7, r = 7;
    bool inside = grid->HitTest(x, y, &c, &r);
    return (inside ? "" : "out ") + std::to_string(c) + "," + std::to_string(r);
  }
};

TEST_F(GridTest, CellIndicesAreCheckedAgainstTheGrid) {
  CKestGrid* grid = MakeGrid();
  EXPECT_EQ(14, grid->CellIndex(2, 3));  // column + row * 4
  EXPECT_EQ(0, grid->CellIndex(0, 0));
  EXPECT_EQ(19, grid->CellIndex(3, 4));
  for (auto cell : {std::make_pair(4, 0), {-1, 0}, {0, 5}, {0, -1}, {100000, 100000}}) {
    EXPECT_EQ(-1, grid->CellIndex(cell.first, cell.second));
  }
  // Nothing outside the grid reaches the form or an array.
  grid->SetCellText(4, 1, L"x");
  EXPECT_EQ(nullptr, grid->GetCellText(0, 5));
  EXPECT_FALSE(grid->SelectCell(-1, 2, false));
  EXPECT_FALSE(grid->SetColumnWidth(4, 10));
  EXPECT_FALSE(grid->SetCellSpan(0, 9, 2, 2));
  EXPECT_FALSE(grid->SetColumnEditor(-3, 0, nullptr));
  EXPECT_EQ(0, grid->GetColumnSpan(9, 9));
  EXPECT_TRUE(form->calls.empty());
  EXPECT_FALSE(grid->SetSize(-1, 3));
  EXPECT_FALSE(grid->SetSize(1 << 16, 1 << 16));
  EXPECT_EQ(4, grid->GetColumnCount());
  EXPECT_EQ(5, grid->GetRowCount());
}

TEST_F(GridTest, EdgesHitTestAndRectanglesWithMergedCells) {
  CKestGrid* grid = MakeGrid();
  EXPECT_EQ((std::vector<int>{49, 79, 119, 179}), Rights(grid));
  EXPECT_EQ(19, grid->GetRowBottom(0));
  EXPECT_EQ(99, grid->GetRowBottom(4));
  EXPECT_EQ(20, grid->GetFixedHeight());

  // A right edge is the column's last pixel.
  EXPECT_EQ("0,1", Cell(grid, 49, 25));
  EXPECT_EQ("1,1", Cell(grid, 50, 25));
  EXPECT_EQ("3,4", Cell(grid, 179, 99));
  EXPECT_EQ("0,0", Cell(grid, 0, 0));
  EXPECT_EQ("out -1,-1", Cell(grid, 180, 50));
  EXPECT_EQ("out -1,-1", Cell(grid, 50, 100));
  EXPECT_EQ("out -1,-1", Cell(grid, -1, 5));

  // A block of 2 x 2 at (1, 1): the covered cells point back to it.
  ASSERT_TRUE(grid->SetCellSpan(1, 1, 2, 2));
  EXPECT_EQ(2, grid->GetColumnSpan(1, 1));
  EXPECT_EQ(2, grid->GetRowSpan(1, 1));
  EXPECT_EQ(-1, grid->GetColumnSpan(2, 2));
  EXPECT_EQ(-1, grid->GetRowSpan(2, 2));
  EXPECT_EQ(0, grid->GetColumnSpan(1, 2));
  EXPECT_EQ(-1, grid->GetRowSpan(1, 2));
  EXPECT_EQ(-1, grid->GetColumnSpan(2, 1));
  EXPECT_EQ(0, grid->GetRowSpan(2, 1));
  EXPECT_EQ("1,1", Cell(grid, 100, 45));
  EXPECT_EQ(grid->CellIndex(1, 1), grid->CellAt(119, 59));
  RECT rect;
  ASSERT_TRUE(grid->GetCellRect(2, 2, &rect));
  EXPECT_EQ(Describe(50, 20, 120, 60), Describe(rect));
  ASSERT_TRUE(grid->GetCellRect(3, 0, &rect));
  EXPECT_EQ(Describe(120, 0, 180, 20), Describe(rect));
  EXPECT_FALSE(grid->GetCellRect(4, 0, &rect));

  // Spans reaching outside the grid are clipped; a block in the fixed rows
  // stays there; a new block splits those it overlaps.
  ASSERT_TRUE(grid->SetCellSpan(3, 3, 5, 9));
  EXPECT_EQ(1, grid->GetColumnSpan(3, 3));
  EXPECT_EQ(2, grid->GetRowSpan(3, 3));
  ASSERT_TRUE(grid->SetCellSpan(0, 0, 2, 3));
  EXPECT_EQ(1, grid->GetRowSpan(0, 0));
  EXPECT_EQ(2, grid->GetColumnSpan(0, 0));
  ASSERT_TRUE(grid->SetCellSpan(2, 2, 1, 1));
  EXPECT_EQ(1, grid->GetColumnSpan(1, 1));
  EXPECT_EQ(1, grid->GetColumnSpan(2, 1));
  EXPECT_EQ("2,2", Cell(grid, 100, 45));
}

TEST_F(GridTest, ScrollingMovesTheRowsUnderTheFixedOnes) {
  // A small window: the content of 180 x 100 does not fit.
  CKestGrid* grid = MakeGrid(140, 90);
  grid->SetCellSpan(1, 1, 2, 2);
  grid->ScrollTo(30, 20);
  ASSERT_EQ(30, grid->GetScrollX());
  ASSERT_EQ(20, grid->GetScrollY());
  EXPECT_EQ(30, GetScrollPos(grid->GetHandle(), SB_HORZ));
  EXPECT_EQ(20, GetScrollPos(grid->GetHandle(), SB_VERT));

  EXPECT_EQ("0,0", Cell(grid, 5, 5));     // fixed rows keep their place
  EXPECT_EQ("0,2", Cell(grid, 19, 25));  // row 1 is under the header now
  EXPECT_EQ("1,1", Cell(grid, 20, 25));  // the lower row of the block
  EXPECT_EQ("0,3", Cell(grid, 5, 45));   // row 3 (40 .. 59) now at 40 - 20
  RECT rect;
  grid->GetCellRect(2, 1, &rect);
  EXPECT_EQ(Describe(20, 0, 90, 40), Describe(rect));
  grid->GetCellRect(0, 0, &rect);
  EXPECT_EQ(Describe(-30, 0, 20, 20), Describe(rect));

  // Scrolling is clamped to the content.
  RECT client;
  GetClientRect(grid->GetHandle(), &client);
  grid->ScrollTo(10000, 10000);
  EXPECT_EQ(180 - client.right, grid->GetScrollX());
  EXPECT_EQ(100 - 20 - (client.bottom - 20), grid->GetScrollY());
  grid->ScrollTo(-5, -5);
  EXPECT_EQ(0, grid->GetScrollX());
  EXPECT_EQ(0, grid->GetScrollY());

  // A new current cell is scrolled into view.
  grid->SelectCell(3, 4, false);
  EXPECT_EQ(180 - client.right, grid->GetScrollX());
  EXPECT_EQ(100 - client.bottom, grid->GetScrollY());
  ASSERT_TRUE(grid->GetCellRect(3, 4, &rect));
  EXPECT_EQ(client.right, rect.right);
  EXPECT_EQ(client.bottom, rect.bottom);

  // The scroll bar drives the position.
  SendMessageW(grid->GetHandle(), WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(0, grid->GetScrollX());
}

TEST_F(GridTest, SelectionMovesAndShiftExtendsIt) {
  CKestGrid* grid = MakeGrid();
  grid->SetCellSpan(1, 1, 2, 2);
  // Never above the fixed rows.
  EXPECT_TRUE(grid->SelectCell(0, 0, false));
  EXPECT_EQ(0, grid->GetCurrentColumn());
  EXPECT_EQ(1, grid->GetCurrentRow());
  auto asked = form->Calls(KestGridRequestSelectingCell);
  auto told = form->Calls(KestGridRequestCellSelected);
  ASSERT_EQ(1u, asked.size());
  ASSERT_EQ(1u, told.size());
  EXPECT_EQ(1, told[0].row);
  // Asked before, told after.
  EXPECT_EQ(KestGridRequestSelectingCell, form->calls[0].code);

  // The same cell again: nothing happens.
  form->calls.clear();
  EXPECT_FALSE(grid->SelectCell(0, 1, false));
  EXPECT_TRUE(form->calls.empty());

  // A covered cell selects the block's origin; Shift extends from the
  // anchor and takes in whole blocks.
  grid->SelectCell(0, 2, false);
  EXPECT_TRUE(grid->SelectCell(2, 2, true));
  EXPECT_EQ(1, grid->GetCurrentColumn());
  EXPECT_EQ(1, grid->GetCurrentRow());
  EXPECT_EQ(0, grid->GetPreviousColumn());
  EXPECT_EQ(2, grid->GetPreviousRow());
  RECT s = grid->GetSelection();
  EXPECT_EQ(Describe(0, 1, 2, 2), Describe(s));
  EXPECT_TRUE(grid->IsCellSelected(2, 2));
  EXPECT_FALSE(grid->IsCellSelected(3, 2));

  // Keys: right from the block jumps over it; Shift+Down extends.
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(3, grid->GetCurrentColumn());
  EXPECT_EQ(Describe(3, 1, 3, 1), Describe(grid->GetSelection()));
  kesttest::SetModifierKeys(true, false, false);
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
  kesttest::SetModifierKeys(false, false, false);
  EXPECT_EQ(3, grid->GetCurrentRow());
  EXPECT_EQ(Describe(3, 1, 3, 3), Describe(grid->GetSelection()));
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(2, grid->GetCurrentColumn());  // (2, 3) is below the block
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(1, grid->GetCurrentColumn());  // (2, 2) is covered: its origin
  EXPECT_EQ(1, grid->GetCurrentRow());
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(1, grid->GetCurrentRow());  // the fixed row stops it

  // A mouse press with Shift extends too.
  SendMessageW(grid->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, Point(25, 90));
  SendMessageW(grid->GetHandle(), WM_LBUTTONUP, MK_SHIFT, Point(25, 90));
  EXPECT_EQ(0, grid->GetCurrentColumn());
  EXPECT_EQ(4, grid->GetCurrentRow());
  EXPECT_EQ(Describe(0, 1, 2, 4), Describe(grid->GetSelection()));
}

TEST_F(GridTest, TheFormMayKeepTheOldCell) {
  CKestGrid* grid = MakeGrid();
  grid->SelectCell(0, 1, false);
  form->refuseCell = [](int column, int) { return column == 3; };
  form->calls.clear();
  EXPECT_FALSE(grid->SelectCell(3, 2, false));
  EXPECT_EQ(0, grid->GetCurrentColumn());
  EXPECT_EQ(1, grid->GetCurrentRow());
  EXPECT_EQ(1u, form->Calls(KestGridRequestSelectingCell).size());
  EXPECT_TRUE(form->Calls(KestGridRequestCellSelected).empty());
  EXPECT_TRUE(grid->SelectCell(2, 2, false));
}

TEST_F(GridTest, TheFormDrawsCellsItAnswersAndTheGridDrawsTheRest) {
  CKestGrid* grid = MakeGrid();
  const COLORREF cell = RGB(250, 250, 240), fixed = RGB(200, 210, 220), chosen = RGB(40, 80, 160);
  const COLORREF red = RGB(255, 0, 0);
  grid->SetCellColors(cell, RGB(0, 0, 0));
  grid->SetFixedColors(fixed, RGB(0, 0, 0));
  grid->SetSelectedColors(chosen, RGB(255, 255, 255));
  grid->SetColumnEditor(3, KestGridEditorCheckBox, nullptr);
  grid->SetCellSpan(1, 1, 2, 2);
  form->texts[{3, 3}] = L"1";
  form->texts[{3, 4}] = L"0";
  form->texts[{0, 4}] = L"ЖЖЖЖЖ";
  grid->SelectCell(0, 3, false);
  form->drawCell = [&](KestGridRequest* request) -> LRESULT {
    if (request->column != 1 || request->row != 1) return 0;
    HBRUSH brush = CreateSolidBrush(red);
    FillRect(request->dc, &request->rect, brush);
    DeleteObject(brush);
    return 1;
  };
  form->recordDrawing = true;
  form->calls.clear();
  kesttest::Canvas canvas(300, 200, RGB(1, 2, 3));
  grid->Paint(canvas.dc());

  // One request per block: 4 + 4 * 4 - 3 covered cells.
  auto draws = form->Calls(KestGridRequestDrawCell);
  EXPECT_EQ(17u, draws.size());
  for (const GridCall& call : draws) {
    EXPECT_EQ(call.row == 0, (call.state & KestGridStateFixed) != 0) << call.column << "," << call.row;
    bool current = call.column == 0 && call.row == 3;
    EXPECT_EQ(current, (call.state & KestGridStateCurrent) != 0);
    EXPECT_EQ(current, (call.state & KestGridStateSelected) != 0);
    EXPECT_FALSE(call.row == 2 && (call.column == 1 || call.column == 2));
  }
  EXPECT_EQ(red, canvas.At(85, 40));         // the form's block
  EXPECT_EQ(red, canvas.At(118, 58));
  EXPECT_EQ(cell, canvas.At(25, 30));        // the grid's plain cell
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW),
            canvas.At(49, 30));              // the grid line on the right edge
  EXPECT_EQ(fixed, canvas.At(25, 10));
  EXPECT_EQ(chosen, canvas.At(5, 70));       // the selected current cell
  EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), canvas.At(250, 50));  // beyond the cells

  // The text and the check box leave marks the plain cells do not have.
  auto marked = [&](int left, int top, int right, int bottom, COLORREF background) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) n += canvas.At(x, y) != background;
    }
    return n;
  };
  EXPECT_GT(marked(2, 82, 47, 97, cell), 10);
  EXPECT_EQ(0, marked(2, 22, 47, 37, cell));
  int differences = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 120; x < 180; ++x) differences += canvas.At(x, 60 + y) != canvas.At(x, 80 + y);
  }
  EXPECT_GT(differences, 5);  // checked and unchecked boxes differ
}

TEST_F(GridTest, ColumnWidthChangesMoveTheFollowingEdges) {
  CKestGrid* grid = MakeGrid();
  grid->SetColumnWidth(1, 50);
  EXPECT_EQ((std::vector<int>{49, 99, 139, 199}), Rights(grid));
  grid->SetColumnWidth(3, 0);
  EXPECT_EQ((std::vector<int>{49, 99, 139, 139}), Rights(grid));
  grid->SetColumnWidth(3, 60);

  // Dragging a border in the fixed row, only when the grid allows it.
  HWND w = grid->GetHandle();
  SendMessageW(w, WM_MOUSEMOVE, 0, Point(101, 5));
  EXPECT_EQ(0, grid->GetCursorIndex());
  grid->SetColumnResizing(true);
  SendMessageW(w, WM_MOUSEMOVE, 0, Point(101, 5));
  EXPECT_EQ(10, grid->GetCursorIndex());
  EXPECT_EQ(GetKestCursor(10), GetCursor());
  SendMessageW(w, WM_MOUSEMOVE, 0, Point(101, 40));  // not in the fixed row
  EXPECT_EQ(0, grid->GetCursorIndex());

  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Point(99, 5));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(120, 5));
  EXPECT_EQ(10, grid->GetCursorIndex());
  EXPECT_EQ(70, grid->GetColumnWidth(1));
  EXPECT_EQ((std::vector<int>{49, 119, 159, 219}), Rights(grid));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(-40, 5));
  EXPECT_EQ(4, grid->GetColumnWidth(1));
  SendMessageW(w, WM_LBUTTONUP, 0, Point(-40, 5));
  SendMessageW(w, WM_MOUSEMOVE, 0, Point(200, 5));
  EXPECT_EQ(4, grid->GetColumnWidth(1));
  EXPECT_EQ(-1, grid->GetCurrentColumn());  // a border press selects nothing
}

TEST_F(GridTest, CopyPutsTheSelectionOnTheClipboardAsText) {
  CKestGrid* grid = MakeGrid();
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 4; ++c) form->texts[{c, r}] = std::wstring(1, L'а' + c) + std::to_wstring(r);
  }
  grid->SetCellSpan(1, 2, 2, 1);
  EmptyTheClipboard(form->GetHandle());
  EXPECT_EQ(0, SendMessageW(grid->GetHandle(), WM_KEST_CANCOPY, 0, 0));
  EXPECT_FALSE(grid->CopySelection());

  grid->SelectCell(0, 1, false);
  grid->SelectCell(2, 3, true);
  EXPECT_EQ(1, SendMessageW(grid->GetHandle(), WM_KEST_CANCOPY, 0, 0));
  SendMessageW(grid->GetHandle(), WM_COPY, 0, 0);
  EXPECT_EQ(L"а1\tб1\tв1\nа2\tб2\t\nа3\tб3\tв3", ClipboardText(form->GetHandle()));

  // Ctrl+C with one cell; an empty cell copies as nothing between tabs.
  form->texts.erase({3, 4});
  grid->SelectCell(2, 4, false);
  grid->SelectCell(3, 4, true);
  kesttest::SetModifierKeys(false, true, false);
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, 'C', 0);
  kesttest::SetModifierKeys(false, false, false);
  EXPECT_EQ(L"в4\t", ClipboardText(form->GetHandle()));
  EmptyTheClipboard(form->GetHandle());
}

TEST_F(GridTest, ResizingKeepsSharedCellsAndClipsBlocks) {
  CKestGrid* grid = MakeGrid();
  grid->SetCellSpan(1, 1, 3, 2);
  grid->SetColumnEditor(2, KestGridEditorList, L"а\nб");
  grid->SelectCell(3, 4, false);
  ASSERT_TRUE(grid->SetSize(3, 3));
  EXPECT_EQ(3, grid->GetColumnCount());
  EXPECT_EQ((std::vector<int>{49, 79, 119}), Rights(grid));
  EXPECT_EQ(2, grid->GetColumnSpan(1, 1));
  EXPECT_EQ(2, grid->GetRowSpan(1, 1));
  EXPECT_EQ(-1, grid->GetCurrentColumn());  // the current cell fell away
  EXPECT_STREQ(L"а\nб", grid->GetColumnChoices(2));
  ASSERT_TRUE(grid->SetSize(5, 4));
  EXPECT_EQ(64, grid->GetColumnWidth(4));  // new columns get the default width
  EXPECT_EQ(20, grid->GetRowHeight(3));
  EXPECT_EQ(1, grid->GetColumnSpan(3, 1));
  EXPECT_EQ(nullptr, grid->GetColumnChoices(3));
  ASSERT_TRUE(grid->SetSize(0, 0));
  EXPECT_EQ(-1, grid->CellAt(5, 5));
  EXPECT_EQ(nullptr, grid->GetSelectionText());
}

}  // namespace
