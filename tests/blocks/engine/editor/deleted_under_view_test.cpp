// Blocks deleted under the block-diagram view and its editor, driven through
// real windows with freed memory poisoned: Delete and Ctrl+X during a link,
// route or free-input drag, a macro block deleted while an editor shows its
// inner scheme, and the macro's confirmed pin rows deleting port blocks an
// open inner view holds.
#include <windows.h>

#include <string>
#include <vector>

#include "blocks/engine/block_host.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "blocks/engine/engine_fixture.h"
#include "blocks/engine/macro/macro.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/core/kest_host_scope.h"
#include "kestui/forms/kest_form.h"
#include "support/live_forms.h"
#include "support/poisoned_heap.h"
#include "support/test_support.h"

using betest::kPlainClassId;
using betest::kTwoByTwoClassId;

namespace {

// Records block dialogs and answers message boxes.
class RecordingHost : public CKestHost, public CBlockHost {
public:
  int ShowMessage(UINT, const wchar_t*, const wchar_t*) override { return IDOK; }
  bool ShowBlockProperties(CBEBlock* block) override {
    shown.push_back(block);
    return false;
  }
  std::vector<CBEBlock*> shown;
};

std::vector<CBEEditor*> LiveBlockEditors() {
  std::vector<CBEEditor*> editors;
  for (int i = 0; i < LiveForms.count; i++)
    if (CBEEditor* e = dynamic_cast<CBEEditor*>(LiveForms.forms[i])) editors.push_back(e);
  return editors;
}

void PaintNow(HWND window) {
  if (IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

class DeletedUnderViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    countBefore_ = BeOpenEditorCount;
    frame_ = new CKestForm;
    ASSERT_TRUE(frame_->Create(nullptr, L"Velkboard", KestPos(10, 10), 1000, 760, nullptr, true, true, true, true));
    ASSERT_TRUE(frame_->CreateMDIClient());
    frame_->Show(false);
    scheme_.Init(&unit_.catalogue);
  }
  void TearDown() override {
    velktest::CloseAllLiveForms();
    EXPECT_EQ(countBefore_, BeOpenEditorCount);
  }

  CBEEditor* Open(BeScheme* scheme) {
    CBEEditor* editor = new CBEEditor(frame_, scheme);
    EXPECT_TRUE(editor->GetHandle());
    MoveWindow(editor->GetHandle(), 0, 0, 900, 640, TRUE);
    velktest::FlushEvents();
    return editor;
  }
  // The fixture blocks, made again: A (1 in, 1 out) at (20, 20)-(170, 120)
  // with its output at (170, 70); B (2 in, 2 out) at (300, 200)-(450, 300)
  // with inputs at (300, 225) and (300, 275); A.out -> B.in0, route x1 235.
  void MakeBlocks() {
    scheme_.DeleteBlocks(true);
    CBEBlock* a = scheme_.CreateBlock(kPlainClassId);
    CBEBlock* b = scheme_.CreateBlock(kTwoByTwoClassId);
    ASSERT_TRUE(a && b);
    a->MoveTo(20, 20);
    b->MoveTo(300, 200);
    betest::Link(a, 0, b, 0, 235);
  }
  static void Mouse(CBEView* view, UINT message, int x, int y, WPARAM keys) {
    SendMessageW(view->GetHandle(), message, keys, MAKELPARAM(x, y));
  }

  int countBefore_ = 0;
  CKestForm* frame_ = nullptr;
  betest::UnitCatalogue unit_;
  BeScheme scheme_;
  RecordingHost host_;
};

TEST_F(DeletedUnderViewTest, DeleteOrCutDuringALinkRouteOrInputDragEndsTheDrag) {
  CKestHostScope kestScope(&host_);
  CBlockHostScope blockScope(&host_);
  CBEEditor* editor = Open(&scheme_);
  CBEView* view = editor->GetView();
  struct DragCase {
    const char* name;
    POINT press;
    int mode;
  };
  const DragCase drags[] = {
      {"link from an output", {170, 70}, CBEView::kDragLinkFromOutput},
      {"link from a free input", {300, 275}, CBEView::kDragLinkFromInput},
      {"route", {235, 150}, CBEView::kDragRouteX1},
  };
  for (const DragCase& drag : drags) {
    for (int cut = 0; cut < 2; ++cut) {
      SCOPED_TRACE(std::string(drag.name) + (cut ? ", Ctrl+X" : ", Delete"));
      MakeBlocks();
      velktest::PoisonedHeapScope poison;
      Mouse(view, WM_LBUTTONDOWN, drag.press.x, drag.press.y, MK_LBUTTON);
      Mouse(view, WM_MOUSEMOVE, drag.press.x + 20, drag.press.y + 10, MK_LBUTTON);
      ASSERT_EQ(drag.mode, view->GetMode());
      SendMessageW(editor->GetHandle(), WM_COMMAND, ID_KEST_POPUP_SELECT_ALL, 0);
      if (cut) SendMessageW(editor->GetHandle(), WM_COMMAND, ID_KEST_POPUP_CUT, 0);
      else SendMessageW(view->GetHandle(), WM_KEYDOWN, VK_DELETE, 1);
      EXPECT_EQ(nullptr, scheme_.blocks);
      // The drag ended with the blocks: the next moves, the release and a
      // painting touch nothing that went.
      EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
      EXPECT_EQ(nullptr, view->GetPressedObject());
      EXPECT_EQ(nullptr, view->GetHotLink());
      Mouse(view, WM_MOUSEMOVE, drag.press.x + 40, drag.press.y + 20, MK_LBUTTON);
      Mouse(view, WM_LBUTTONUP, drag.press.x + 40, drag.press.y + 20, 0);
      PaintNow(view->GetHandle());
      velktest::FlushEvents();
      EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
      EXPECT_EQ(nullptr, scheme_.blocks);
    }
  }
  EXPECT_TRUE(host_.shown.empty());
}

TEST_F(DeletedUnderViewTest, ABlockThatGoesByAnotherPathIsDroppedFromTheDrag) {
  CBEEditor* editor = Open(&scheme_);
  CBEView* view = editor->GetView();
  MakeBlocks();
  CBEBlock* b = scheme_.blocks;  // newest: B
  velktest::PoisonedHeapScope poison;
  // A route of B's first input is being dragged when B goes.
  Mouse(view, WM_LBUTTONDOWN, 235, 150, MK_LBUTTON);
  ASSERT_EQ(CBEView::kDragRouteX1, view->GetMode());
  delete b;
  EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
  EXPECT_EQ(nullptr, view->GetPressedObject());
  Mouse(view, WM_MOUSEMOVE, 260, 150, MK_LBUTTON);
  Mouse(view, WM_LBUTTONUP, 260, 150, 0);
  PaintNow(view->GetHandle());
  // A drag that holds nothing of what goes goes on: A's output is pressed
  // while B's surplus input goes.
  MakeBlocks();
  b = scheme_.blocks;
  b->inputs[0]->source = nullptr;
  Mouse(view, WM_LBUTTONDOWN, 170, 70, MK_LBUTTON);
  ASSERT_EQ(CBEView::kDragLinkFromOutput, view->GetMode());
  ASSERT_TRUE(b->SetInputCount(1));  // B's one input is now at (300, 250)
  EXPECT_EQ(CBEView::kDragLinkFromOutput, view->GetMode());
  Mouse(view, WM_MOUSEMOVE, 250, 240, MK_LBUTTON);
  Mouse(view, WM_LBUTTONUP, 300, 250, 0);
  EXPECT_EQ(scheme_.GetTail()->outputs[0], b->inputs[0]->source);
}

TEST_F(DeletedUnderViewTest, DeletingAMacroClosesTheEditorOfItsInnerScheme) {
  CBEBlock* macroBlock = scheme_.CreateBlock(kBeMacroBlockClassId);
  ASSERT_NE(nullptr, macroBlock);
  CBEMacro* macro = static_cast<CBEMacro*>(macroBlock);
  macro->MoveTo(100, 100);
  BeScheme* inner = macro->nested;
  ASSERT_NE(nullptr, inner);
  CBEBlock* innerBlock = inner->CreateBlock(kPlainClassId);
  ASSERT_NE(nullptr, innerBlock);
  CBEEditor* outer = Open(&scheme_);
  CBEEditor* innerEditor = Open(inner);
  CBEView* innerView = innerEditor->GetView();
  // The inner view holds the inner block it pressed.
  RECT r = innerBlock->rect;
  Mouse(innerView, WM_LBUTTONDOWN, (r.left + r.right) / 2, (r.top + r.bottom) / 2, MK_LBUTTON);
  Mouse(innerView, WM_LBUTTONUP, (r.left + r.right) / 2, (r.top + r.bottom) / 2, 0);
  ASSERT_EQ(innerBlock, innerView->GetPressedObject());
  HWND innerWindow = innerEditor->GetHandle();
  HWND innerViewWindow = innerView->GetHandle();
  ASSERT_EQ(countBefore_ + 2, BeOpenEditorCount);
  velktest::PoisonedHeapScope poison;

  SendMessageW(outer->GetHandle(), WM_COMMAND, ID_KEST_POPUP_SELECT_ALL, 0);
  SendMessageW(outer->GetView()->GetHandle(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(nullptr, scheme_.blocks);
  EXPECT_EQ(nullptr, innerEditor->GetScheme());
  EXPECT_EQ(nullptr, innerView->GetScheme());
  EXPECT_EQ(nullptr, innerView->GetPressedObject());
  PaintNow(innerViewWindow);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(innerWindow));
  ASSERT_EQ(1u, LiveBlockEditors().size());
  EXPECT_EQ(outer, LiveBlockEditors()[0]);
  EXPECT_EQ(countBefore_ + 1, BeOpenEditorCount);
}

TEST_F(DeletedUnderViewTest, ConfirmedPinRowsDropThePortsAnInnerViewHolds) {
  CKestHostScope kestScope(&host_);
  CBlockHostScope blockScope(&host_);
  CBEMacro* macro = static_cast<CBEMacro*>(scheme_.CreateBlock(kBeMacroBlockClassId));
  ASSERT_NE(nullptr, macro);
  const BeMacroPinRow ins[] = {{L"a", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 1, nullptr, 0));
  CBEBlock* port = macro->nested->blocks;
  ASSERT_NE(nullptr, port);
  ASSERT_EQ(kBeMacroInputClassId, port->GetClassId());
  CBEEditor* innerEditor = Open(macro->nested);
  CBEView* innerView = innerEditor->GetView();
  RECT r = port->rect;
  Mouse(innerView, WM_LBUTTONDOWN, (r.left + r.right) / 2, (r.top + r.bottom) / 2, MK_LBUTTON);
  Mouse(innerView, WM_LBUTTONUP, (r.left + r.right) / 2, (r.top + r.bottom) / 2, 0);
  ASSERT_EQ(port, innerView->GetPressedObject());
  velktest::PoisonedHeapScope poison;

  // Rows without the port: confirming deletes it.
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", nullptr, 0, nullptr, 0));
  EXPECT_EQ(nullptr, macro->nested->blocks);
  EXPECT_EQ(nullptr, innerView->GetPressedObject());
  EXPECT_EQ(CBEView::kHitNothing, innerView->GetPressedHit());
  // Its Properties command has no block to show.
  SendMessageW(innerEditor->GetHandle(), WM_COMMAND, ID_KEST_POPUP_PROPERTIES, 0);
  EXPECT_TRUE(host_.shown.empty());
  PaintNow(innerView->GetHandle());
  // The editor stays open on the scheme, which still exists.
  EXPECT_EQ(macro->nested, innerEditor->GetScheme());
}

}  // namespace
