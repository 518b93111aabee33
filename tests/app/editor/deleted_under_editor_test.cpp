// Objects deleted under open editors and views, driven through the real
// windows with freed memory poisoned: a wire being drawn that goes with its
// component, a board deleted while its board editor is open, a unit deleted
// and a document closed while a block editor shows a block scheme.
#include <windows.h>

#include <vector>

#include "app/board/pcb_view.h"
#include "app/editor/editor_fixture.h"
#include "app/views/view_fixture.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/core/kest_command_ids.h"
#include "support/live_forms.h"
#include "support/poisoned_heap.h"
#include "support/test_support.h"

namespace {

using apptest::LiveEditors;

// Every live block editor.
std::vector<CBEEditor*> LiveBlockEditors() {
  std::vector<CBEEditor*> editors;
  for (int i = 0; i < LiveForms.count; i++)
    if (CBEEditor* e = dynamic_cast<CBEEditor*>(LiveForms.forms[i])) editors.push_back(e);
  return editors;
}

// Paints the window at once if it still exists: a view left on freed
// memory reads the poison here.
void PaintNow(HWND window) {
  if (IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A programmable unit as the circuit shows it: a component that owns the
// block scheme of its program.
class UnitStandIn : public CSCHBlock {
public:
  UnitStandIn() {
    className = "UnitStandIn";
    rect = RECT{0, 0, 80, 60};
  }
  BeScheme program;
};

class DeletedUnderEditorTest : public apptest::EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    GetKeyboardState(keys_);
  }
  void TearDown() override {
    SetKeyboardState(keys_);
    EditorTest::TearDown();
  }
  CSphEditor* OpenMain() {
    form_ = MakeMainForm();
    CSphEditor* editor = new CSphEditor(form_, form_->GetScheme(), CSphEditor::kEditorMain, 0, 0);
    EXPECT_NE(nullptr, editor->GetHandle());
    form_->Show(false);
    velktest::FlushEvents();
    return editor;
  }
  static void Key(CKestControl* view, WPARAM key, bool ctrl = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(view->GetHandle(), WM_KEYDOWN, key, 1);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
  }
  // "Выделить все" and "Удалить" of the view's popup menu, as the editor
  // receives them (another editor may be the active one).
  static void SelectAllAndDelete(CSphEditor* editor) {
    editor->GetSchemeView()->SetFocus();
    SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_POPUP_SELECT_ALL, 0), 0);
    SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_POPUP_DELETE, 0), 0);
  }

  CMainForm* form_ = nullptr;
  BYTE keys_[256] = {};
};

TEST_F(DeletedUnderEditorTest, AWireBeingDrawnGoesWithItsComponentAndEscapeDeletesNothing) {
  CSphEditor* editor = OpenMain();
  CSchemeView* view = editor->GetSchemeView();
  SchScheme* scheme = form_->GetScheme();
  // Pin 1 of the part is at (186, 170).
  new viewtest::FourPinPart(scheme, "EditPart", L"Деталь", RECT{100, 100, 180, 200});
  velktest::PoisonedHeapScope poison;
  auto at = [view](int x, int y) { return MAKELPARAM(x - view->GetScrollX(), y - view->GetScrollY()); };
  SendMessageW(view->GetHandle(), WM_MOUSEMOVE, 0, at(186, 170));
  SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at(186, 170));
  SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, at(186, 170));
  SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at(300, 170));
  SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, at(300, 170));
  ASSERT_EQ(CSchemeView::kToolWire, view->tool);
  ASSERT_EQ(CSchemeView::kStateDrawing, view->state);
  ASSERT_EQ(1, scheme->WireCount());
  ASSERT_EQ(scheme->wires, view->object);

  // Ctrl+A, Del: the part goes, and its wire with it.
  Key(view, 'A', true);
  ASSERT_TRUE(view->HasSelection(false));
  view->SetFocus();
  SendMessageW(form_->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_DELETE, 0), 0);
  EXPECT_EQ(0, scheme->BlockCount());
  EXPECT_EQ(0, scheme->WireCount());
  // The view let go of the wire and is back at the cursor, whose button is
  // pressed again.
  EXPECT_EQ(nullptr, view->object);
  EXPECT_EQ(CSchemeView::kToolSelect, view->tool);
  EXPECT_EQ(CSchemeView::kStateIdle, view->state);
  velktest::FlushEvents();
  CKestSpdBtn* cursor = editor->GetPaletteButton(0);
  ASSERT_NE(nullptr, cursor);
  EXPECT_TRUE(cursor->IsDown());

  // Esc afterwards has no wire to delete; moving and painting touch nothing
  // that went.
  Key(view, VK_ESCAPE);
  SendMessageW(view->GetHandle(), WM_MOUSEMOVE, 0, at(250, 250));
  PaintNow(view->GetHandle());
  EXPECT_EQ(CSchemeView::kStateIdle, view->state);
  EXPECT_EQ(0, scheme->WireCount());
}

TEST_F(DeletedUnderEditorTest, ABusBeingDrawnThatIsDeletedEndsTheBusTool) {
  CSphEditor* editor = OpenMain();
  CSchemeView* view = editor->GetSchemeView();
  SchScheme* scheme = form_->GetScheme();
  velktest::PoisonedHeapScope poison;
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(CSphEditor::kPalTwoCoreCable, 0), 0);
  ASSERT_EQ(CSchemeView::kToolBus, view->tool);
  SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
  ASSERT_EQ(1, scheme->BusCount());
  ASSERT_EQ(scheme->buses, view->object);
  delete scheme->buses;  // any path: the view learns of it from the scheme
  EXPECT_EQ(nullptr, view->object);
  EXPECT_EQ(CSchemeView::kToolSelect, view->tool);
  EXPECT_EQ(CSchemeView::kStateIdle, view->state);
  SendMessageW(view->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
  SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
  PaintNow(view->GetHandle());
  EXPECT_EQ(0, scheme->BusCount());
}

TEST_F(DeletedUnderEditorTest, DeletingABoardClosesItsBoardEditor) {
  CSphEditor* editor = OpenMain();
  SchScheme* scheme = form_->GetScheme();
  CSCHBlock* board = apptest::Place(scheme, "PCB", 100, 100);
  ASSERT_NE(nullptr, board);
  ASSERT_NE(nullptr, board->nestedScheme);
  apptest::Place(board->nestedScheme, "GND", 40, 40);
  // Properties over the board open its board editor.
  editor->GetSchemeView()->currentPoint = POINT{110, 110};
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(ID_KEST_POPUP_PROPERTIES, 0), 0);
  ASSERT_EQ(2u, LiveEditors().size());
  CSphEditor* boardEditor = LiveEditors()[1];
  ASSERT_EQ(board->nestedScheme, boardEditor->GetScheme());
  HWND boardWindow = boardEditor->GetHandle();
  HWND boardView = boardEditor->GetBoardView()->GetHandle();
  HWND boardSchemeView = boardEditor->GetSchemeView()->GetHandle();
  ASSERT_EQ(3, board->nestedScheme->WatchCount());  // the editor and its two views
  velktest::PoisonedHeapScope poison;

  SelectAllAndDelete(editor);
  EXPECT_EQ(0, scheme->BlockCount());
  // The board editor and both its views let go at once, paint nothing that
  // went, and the editor closes as soon as messages flow.
  EXPECT_EQ(nullptr, boardEditor->GetScheme());
  EXPECT_EQ(nullptr, boardEditor->GetSchemeView()->GetScheme());
  EXPECT_EQ(nullptr, boardEditor->GetBoardView()->GetScheme());
  PaintNow(boardView);
  PaintNow(boardSchemeView);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(boardWindow));
  EXPECT_EQ(1u, LiveEditors().size());
  EXPECT_EQ(editor, LiveEditors()[0]);
}

TEST_F(DeletedUnderEditorTest, ABoardPartBeingPlacedThatGoesEndsThePlacing) {
  CSphEditor* main = OpenMain();
  (void)main;
  SchScheme* scheme = form_->GetScheme();
  CSCHBlock* board = apptest::Place(scheme, "PCB", 100, 100);
  ASSERT_TRUE(board && board->nestedScheme);
  CSphEditor* editor = new CSphEditor(form_, board->nestedScheme, CSphEditor::kEditorBoard, 100.f, 100.f);
  ASSERT_NE(nullptr, editor->GetHandle());
  velktest::FlushEvents();
  CPCBView* boardView = editor->GetBoardView();
  CSCHBlock* part = apptest::Place(board->nestedScheme, "GND", 40, 40);
  part->flags |= kSchBoardPart;
  boardView->currentPart = part;
  boardView->tool = CPCBView::kToolPlace;
  velktest::PoisonedHeapScope poison;
  // The scheme page deletes it (any path does).
  delete part;
  EXPECT_EQ(nullptr, boardView->currentPart);
  EXPECT_EQ(CPCBView::kToolNormal, boardView->tool);
  SendMessageW(boardView->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
  SendMessageW(boardView->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 1);
  PaintNow(boardView->GetHandle());
  EXPECT_EQ(0, board->nestedScheme->BlockCount());
}

TEST_F(DeletedUnderEditorTest, DeletingAUnitClosesTheBlockEditorOfItsProgram) {
  CSphEditor* editor = OpenMain();
  UnitStandIn* unit = new UnitStandIn;
  unit->Attach(form_->GetScheme());
  unit->MoveTo(100, 100);
  CBEEditor* blockEditor = new CBEEditor(form_, &unit->program);
  ASSERT_NE(nullptr, blockEditor->GetHandle());
  velktest::FlushEvents();
  HWND blockWindow = blockEditor->GetHandle();
  HWND blockView = blockEditor->GetView()->GetHandle();
  velktest::PoisonedHeapScope poison;

  SelectAllAndDelete(editor);
  EXPECT_EQ(0, form_->GetScheme()->BlockCount());
  EXPECT_EQ(nullptr, blockEditor->GetScheme());
  EXPECT_EQ(nullptr, blockEditor->GetView()->GetScheme());
  PaintNow(blockView);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(blockWindow));
  EXPECT_TRUE(LiveBlockEditors().empty());
}

TEST_F(DeletedUnderEditorTest, ClosingTheDocumentWithABlockEditorOpen) {
  form_ = MakeMainForm();
  form_->Show(false);
  UnitStandIn* unit = new UnitStandIn;
  unit->Attach(form_->GetScheme());
  CBEEditor* blockEditor = new CBEEditor(form_, &unit->program);
  ASSERT_NE(nullptr, blockEditor->GetHandle());
  velktest::FlushEvents();
  HWND main = form_->GetHandle();
  velktest::PoisonedHeapScope poison;
  // An unmodified document closes without a question; the program's
  // scheme goes with the window, and the block editor with it.
  SendMessageW(main, WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(LiveBlockEditors().empty());
  EXPECT_TRUE(velktest::DropQuitRequests());
}

}  // namespace
