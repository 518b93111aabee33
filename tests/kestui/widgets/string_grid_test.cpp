// The string grid keeps its own texts: copies, emptied cells, resizing that
// keeps the shared cells and drops the others, editing and copying.
#include <windows.h>

#include <cwchar>
#include <string>

#include "kestui/widgets/grid_edit.h"
#include "kestui/widgets/kest_string_grid.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

using StringGridTest = WidgetFormTest<400, 300>;

std::wstring Name(int column, int row) {
  return L"ячейка " + std::to_wstring(column) + L"," + std::to_wstring(row);
}

std::wstring TextOf(CKestStringGrid* grid, int column, int row) {
  const wchar_t* text = grid->GetCellText(column, row);
  return text ? text : L"<null>";
}

TEST_F(StringGridTest, KeepsCopiesOfItsTexts) {
  auto* grid = new CKestStringGrid(form, 3, KestPos(5, 5), 300, 200, 3, 3, 1);
  ASSERT_NE(nullptr, grid->GetHandle());
  wchar_t source[] = L"оригинал";
  grid->SetCellText(1, 1, source);
  source[0] = L'X';
  EXPECT_EQ(L"оригинал", TextOf(grid, 1, 1));
  EXPECT_EQ(L"<null>", TextOf(grid, 0, 0));
  grid->SetCellText(1, 1, grid->GetCellText(1, 1));  // its own text
  EXPECT_EQ(L"оригинал", TextOf(grid, 1, 1));
  grid->SetCellText(1, 1, L"");
  EXPECT_EQ(L"<null>", TextOf(grid, 1, 1));
  grid->SetCellText(2, 2, L"x");
  grid->SetCellText(2, 2, nullptr);
  EXPECT_EQ(L"<null>", TextOf(grid, 2, 2));
  // Outside the grid nothing is stored or read.
  grid->SetCellText(3, 0, L"x");
  grid->SetCellText(0, -1, L"x");
  EXPECT_EQ(nullptr, grid->GetCellText(3, 0));
  EXPECT_EQ(nullptr, grid->GetCellText(0, 3));
  // The form is not asked for texts.
  EXPECT_TRUE(form->Calls(KestGridRequestGetText).empty());
  EXPECT_TRUE(form->Calls(KestGridRequestSetText).empty());
}

TEST_F(StringGridTest, ResizingKeepsSharedCellsAndEmptiesTheRest) {
  auto* grid = new CKestStringGrid(form, 3, KestPos(5, 5), 300, 200, 3, 3, 1);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) grid->SetCellText(c, r, Name(c, r).c_str());
  }
  // Fewer columns, more rows: each kept cell keeps its own text.
  ASSERT_TRUE(grid->SetSize(2, 4));
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 2; ++c) EXPECT_EQ(Name(c, r), TextOf(grid, c, r));
  }
  EXPECT_EQ(L"<null>", TextOf(grid, 0, 3));
  EXPECT_EQ(L"<null>", TextOf(grid, 1, 3));
  EXPECT_EQ(nullptr, grid->GetCellText(2, 0));
  // Growing back does not bring the dropped texts back.
  ASSERT_TRUE(grid->SetSize(3, 2));
  EXPECT_EQ(L"<null>", TextOf(grid, 2, 0));
  EXPECT_EQ(L"<null>", TextOf(grid, 2, 1));
  EXPECT_EQ(Name(1, 1), TextOf(grid, 1, 1));
  EXPECT_EQ(nullptr, grid->GetCellText(0, 2));
  // A failed resize changes nothing.
  EXPECT_FALSE(grid->SetSize(-2, 2));
  EXPECT_EQ(Name(1, 1), TextOf(grid, 1, 1));
  ASSERT_TRUE(grid->SetSize(0, 0));
  EXPECT_EQ(nullptr, grid->GetCellText(0, 0));
  ASSERT_TRUE(grid->SetSize(1, 1));
  EXPECT_EQ(nullptr, grid->GetCellText(0, 0));
}

TEST_F(StringGridTest, EditsAndCopiesItsOwnTexts) {
  auto* grid = new CKestStringGrid(form, 3, KestPos(5, 5), 300, 200, 2, 3, 1);
  grid->SetEditing(true);
  grid->SetCellText(0, 0, L"Имя");
  grid->SetCellText(1, 0, L"Значение");
  grid->SetCellText(0, 1, L"R1");
  grid->SetCellText(1, 1, L"10 кОм");
  grid->SetCellText(0, 2, L"C1");
  kesttest::ActivateWindow(form->GetHandle());
  grid->SelectCell(1, 2, false);
  ASSERT_TRUE(grid->BeginEdit());
  static_cast<CGridEdit*>(grid->GetEditor())->SetText(L"100 нФ");
  SendMessageW(grid->GetEditor()->GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(L"100 нФ", TextOf(grid, 1, 2));

  grid->SelectCell(0, 1, false);
  grid->SelectCell(1, 2, true);
  ASSERT_TRUE(grid->CopySelection());
  EXPECT_EQ(L"R1\t10 кОм\nC1\t100 нФ", ClipboardText(form->GetHandle()));
  EmptyTheClipboard(form->GetHandle());

  // Resizing while editing writes the edit first, into its cell.
  grid->SelectCell(0, 2, false);
  ASSERT_TRUE(grid->BeginEdit());
  static_cast<CGridEdit*>(grid->GetEditor())->SetText(L"C2");
  ASSERT_TRUE(grid->SetSize(1, 3));
  EXPECT_EQ(nullptr, grid->GetEditor());
  EXPECT_EQ(L"C2", TextOf(grid, 0, 2));
  velktest::FlushEvents();
}

}  // namespace
