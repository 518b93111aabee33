// In-place editing of grid cells: each editor kind, each way of ending an
// edit, and what opens an editor.
#include <windows.h>

#include <string>

#include "foundation/buffers.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/widgets/grid_combo.h"
#include "kestui/widgets/grid_edit.h"
#include "kestui/widgets/kest_grid.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

const wchar_t kChoices[] = L"красный\nзелёный\nсиний";

enum class Ending { Enter, Escape, FocusLoss, Up, Down, Left, Right };

struct EditCase {
  const char* name;
  int column;  // 0 edit, 1 list combo, 2 editable combo
  Ending ending;
  const wchar_t* expectedText;  // the cell's text afterwards
  int expectedColumn;           // the current cell afterwards
  int expectedRow;
  bool stillEditing;
};

std::wstring Owned(wchar_t* text) {
  std::wstring result = text ? text : L"";
  FreeBuffer(text);
  return result;
}

class GridEditTest : public WidgetFormTest<420, 260> {
protected:
  void SetUp() override {
    WidgetFormTest::SetUp();
    grid = new CKestGrid(form, 5, KestPos(10, 10), 300, 150, 3, 4, 1);
    for (int c = 0; c < 3; ++c) grid->SetColumnWidth(c, 90);
    grid->SetColumnEditor(0, KestGridEditorEdit, nullptr);
    grid->SetColumnEditor(1, KestGridEditorList, kChoices);
    grid->SetColumnEditor(2, KestGridEditorCombo, kChoices);
    grid->SetEditing(true);
    other = new CKestEdit(form, 9, KestPos(10, 200), 100, 22, false, 0, true);
    for (int r = 1; r < 4; ++r) {
      form->texts[{0, r}] = L"старый";
      form->texts[{1, r}] = L"зелёный";
      form->texts[{2, r}] = L"зелёный";
    }
    kesttest::ActivateWindow(form->GetHandle());
    grid->SetFocus();
  }

  // Opens the editor of the cell and changes its text the editor's way.
  void OpenAndChange(int column, int row) {
    ASSERT_TRUE(grid->SelectCell(column, row, false));
    ASSERT_TRUE(grid->BeginEdit());
    CKestControl* editor = grid->GetEditor();
    ASSERT_NE(nullptr, editor);
    if (column == 0) {
      auto* edit = dynamic_cast<CGridEdit*>(editor);
      ASSERT_NE(nullptr, edit);
      EXPECT_EQ(L"старый", Owned(edit->GetText()));
      EXPECT_EQ(GetFocus(), edit->GetHandle());
      edit->SetText(L"новое");
    } else {
      auto* combo = dynamic_cast<CGridCombo*>(editor);
      ASSERT_NE(nullptr, combo);
      EXPECT_EQ(column == 2, combo->IsEditable());
      EXPECT_EQ(3, combo->GetCount());
      EXPECT_EQ(L"зелёный", Owned(combo->GetText()));
      if (column == 1) {
        EXPECT_EQ(1, combo->GetSelectedIndex());
        combo->SetSelectedIndex(2);
      } else {
        combo->SetText(L"жёлтый");
      }
    }
    // The editor covers the cell, inside its grid lines.
    RECT cell, placed;
    grid->GetCellRect(column, row, &cell);
    GetWindowRect(editor->GetHandle(), &placed);
    MapWindowPoints(nullptr, grid->GetHandle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(cell.left, placed.left);
    EXPECT_EQ(cell.top, placed.top);
    EXPECT_EQ(cell.right - 1, placed.right);
  }

  // The window that receives the keys of the editor.
  HWND KeyWindow() const {
    CKestControl* editor = grid->GetEditor();
    if (auto* combo = dynamic_cast<CGridCombo*>(editor)) {
      if (combo->GetInnerEdit()) return combo->GetInnerEdit();
    }
    return editor ? editor->GetHandle() : nullptr;
  }

  void End(Ending ending) {
    static const UINT keys[] = {VK_RETURN, VK_ESCAPE, 0, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
    if (ending == Ending::FocusLoss) {
      other->SetFocus();
    } else {
      SendMessageW(KeyWindow(), WM_KEYDOWN, keys[static_cast<int>(ending)], 1);
    }
    velktest::FlushEvents();
  }

  CKestGrid* grid = nullptr;
  CKestEdit* other = nullptr;
};

TEST_F(GridEditTest, EachEditorKindEndsEachWay) {
  const EditCase cases[] = {
      {"edit Enter", 0, Ending::Enter, L"новое", 0, 2, false},
      {"edit Esc", 0, Ending::Escape, L"новое", 0, 2, false},
      {"edit focus loss", 0, Ending::FocusLoss, L"новое", 0, 2, false},
      {"edit Down", 0, Ending::Down, L"новое", 0, 3, false},
      {"edit Up", 0, Ending::Up, L"новое", 0, 1, false},
      {"list Enter", 1, Ending::Enter, L"синий", 1, 2, false},
      {"list Esc", 1, Ending::Escape, L"синий", 1, 2, false},
      {"list focus loss", 1, Ending::FocusLoss, L"синий", 1, 2, false},
      {"list Right", 1, Ending::Right, L"синий", 2, 2, false},
      {"list Left", 1, Ending::Left, L"синий", 0, 2, false},
      {"combo Enter", 2, Ending::Enter, L"жёлтый", 2, 2, false},
      {"combo Esc", 2, Ending::Escape, L"жёлтый", 2, 2, false},
      {"combo focus loss", 2, Ending::FocusLoss, L"жёлтый", 2, 2, false},
      {"combo Left", 2, Ending::Left, L"зелёный", 2, 2, true},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    form->texts[{c.column, 2}] = c.column == 0 ? L"старый" : L"зелёный";
    grid->SetFocus();
    form->calls.clear();
    OpenAndChange(c.column, 2);
    HWND editorWindow = grid->GetEditor() ? grid->GetEditor()->GetHandle() : nullptr;
    End(c.ending);
    EXPECT_EQ(c.stillEditing, grid->GetEditor() != nullptr);
    EXPECT_EQ(c.expectedText, form->Text(c.column, 2));
    EXPECT_EQ(c.expectedColumn, grid->GetCurrentColumn());
    EXPECT_EQ(c.expectedRow, grid->GetCurrentRow());
    if (c.stillEditing) {
      ASSERT_TRUE(grid->EndEdit());
      velktest::FlushEvents();
      EXPECT_EQ(L"жёлтый", form->Text(c.column, 2));
    } else {
      // The text went to the form as a set-text request.
      auto sets = form->Calls(KestGridRequestSetText);
      ASSERT_EQ(1u, sets.size());
      EXPECT_EQ(c.column, sets[0].column);
      EXPECT_EQ(2, sets[0].row);
      if (c.ending == Ending::FocusLoss) {
        EXPECT_EQ(other->GetHandle(), GetFocus());
      } else {
        EXPECT_EQ(grid->GetHandle(), GetFocus());
      }
    }
    EXPECT_FALSE(IsWindow(editorWindow));  // the editor is gone
    grid->SelectCell(0, 1, false);
  }
}

TEST_F(GridEditTest, WhatOpensAnEditor) {
  // Not in the fixed rows, not while editing is off, not in a column
  // without an editor.
  grid->SelectCell(0, 1, false);
  grid->SetEditing(false);
  EXPECT_FALSE(grid->BeginEdit());
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_EQ(nullptr, grid->GetEditor());
  EXPECT_EQ(0, SendMessageW(grid->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  grid->SetEditing(true);
  EXPECT_NE(0, SendMessageW(grid->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  grid->SetColumnEditor(0, KestGridEditorNone, nullptr);
  EXPECT_FALSE(grid->BeginEdit());
  grid->SetColumnEditor(0, 7, nullptr);
  EXPECT_FALSE(grid->BeginEdit());
  grid->SetColumnEditor(0, KestGridEditorEdit, nullptr);

  // F2 and Enter open it; a second begin does nothing.
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_F2, 0);
  ASSERT_NE(nullptr, grid->GetEditor());
  EXPECT_FALSE(grid->BeginEdit());
  EXPECT_TRUE(grid->EndEdit());
  EXPECT_FALSE(grid->EndEdit());
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_NE(nullptr, grid->GetEditor());
  grid->EndEdit();

  // A typed character replaces the text.
  SendMessageW(grid->GetHandle(), WM_CHAR, L'Я', 0);
  ASSERT_NE(nullptr, grid->GetEditor());
  EXPECT_EQ(L"Я", Owned(static_cast<CGridEdit*>(grid->GetEditor())->GetText()));
  // Selecting another cell ends the edit first.
  grid->SelectCell(0, 3, false);
  EXPECT_EQ(nullptr, grid->GetEditor());
  EXPECT_EQ(L"Я", form->Text(0, 1));

  // A double click opens the cell under the mouse.
  RECT cell;
  grid->GetCellRect(2, 2, &cell);
  LPARAM at = Point(cell.left + 5, cell.top + 5);
  SendMessageW(grid->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(grid->GetHandle(), WM_LBUTTONUP, 0, at);
  SendMessageW(grid->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ASSERT_NE(nullptr, dynamic_cast<CGridCombo*>(grid->GetEditor()));
  EXPECT_EQ(KestGridEditorCombo, grid->GetEditKind());
  grid->EndEdit();

  // A list combo shows no entry for a text that is not among its choices.
  form->texts[{1, 3}] = L"фиолетовый";
  grid->SelectCell(1, 3, false);
  ASSERT_TRUE(grid->BeginEdit());
  EXPECT_EQ(-1, static_cast<CGridCombo*>(grid->GetEditor())->GetSelectedIndex());
  grid->EndEdit();
  EXPECT_EQ(L"", form->Text(1, 3));
}

TEST_F(GridEditTest, EnterInAnOpenListPicksTheEntryAndEndsTheEdit) {
  grid->SelectCell(1, 2, false);
  ASSERT_TRUE(grid->BeginEdit());
  auto* combo = static_cast<CGridCombo*>(grid->GetEditor());
  HWND box = combo->GetHandle();
  SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0));
  SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);  // from "зелёный" to "синий"
  SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
  velktest::FlushEvents();
  EXPECT_EQ(nullptr, grid->GetEditor());
  EXPECT_EQ(L"синий", form->Text(1, 2));
  EXPECT_FALSE(IsWindow(box));
}

TEST_F(GridEditTest, SpaceTogglesACheckBoxCell) {
  grid->SetColumnEditor(2, KestGridEditorCheckBox, nullptr);
  grid->SelectCell(2, 1, false);
  EXPECT_FALSE(grid->BeginEdit());
  form->texts[{2, 1}] = L"0";
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(L"1", form->Text(2, 1));
  SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(L"0", form->Text(2, 1));
}

TEST_F(GridEditTest, DestroyingTheGridWhileEditingLeavesNothingBehind) {
  grid->SelectCell(0, 1, false);
  ASSERT_TRUE(grid->BeginEdit());
  HWND editor = grid->GetEditor()->GetHandle();
  DestroyWindow(grid->GetHandle());
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_EQ(L"старый", form->Text(0, 1));  // the dying grid writes nothing
}

}  // namespace
