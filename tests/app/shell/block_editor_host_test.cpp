// Velkboard opens block-diagram editors as MDI children of its main window,
// and what they report reaches that window: the Edit menu's answers and the
// document's modified flag.
#include <richedit.h>

#include "app/app_fixture.h"
#include "app/shell/main_form.h"
#include "app/shell/velkboard_host.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "support/test_support.h"

namespace {

class BlockEditorHostTest : public apptest::WindowsTest {};

CBEBlock* NewBlock() { return new CBEBlock; }

TEST_F(BlockEditorHostTest, OpensAnEditorInTheMainWindow) {
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  catalogue.AddGroup(L"Блоки")->AddEntry(0x7E570010, NewBlock, L"Блок", nullptr);
  BeScheme scheme;
  scheme.Init(&catalogue);
  CBEBlock* block = scheme.CreateBlock(0x7E570010);
  ASSERT_NE(nullptr, block);

  CVelkboardHost velkboard;
  EXPECT_FALSE(velkboard.OpenBlockEditor(&scheme, L"AVR1"));  // no main window yet
  int count = BeOpenEditorCount;
  CMainForm* form = MakeMainForm();
  form->Show(false);
  EXPECT_FALSE(velkboard.OpenBlockEditor(nullptr, L"AVR1"));
  ASSERT_TRUE(velkboard.OpenBlockEditor(&scheme, L"AVR1"));
  velktest::FlushEvents();
  EXPECT_EQ(count + 1, BeOpenEditorCount);
  auto* editor = dynamic_cast<CBEEditor*>(form->GetActiveMDIChild());
  ASSERT_NE(nullptr, editor);
  EXPECT_EQ(L"AVR1", apptest::WindowTextOf(editor->GetHandle()));
  EXPECT_EQ(&scheme, editor->GetScheme());

  // Select all and delete through the main window's Edit menu: the document
  // becomes modified.
  EXPECT_FALSE(form->IsModified());
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(40025, 0), 0);
  EXPECT_TRUE(block->IsSelected());
  EXPECT_EQ(1, SendMessageW(editor->GetHandle(), WM_KEST_CANDELETE, 0, 0));
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(40029, 0), 0);
  EXPECT_EQ(0, scheme.GetBlockCount());
  EXPECT_TRUE(form->IsModified());

  SendMessageW(editor->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(count, BeOpenEditorCount);
}

}  // namespace

namespace {

// A block whose property dialog only counts and answers.
class PropertiesBlock : public CBEBlock {
public:
  bool ShowProperties() override {
    ++shown;
    return answer;
  }
  int shown = 0;
  bool answer = true;
};

TEST(VelkboardHostProperties, TheBlockShowsItsOwnDialog) {
  CVelkboardHost velkboard;
  PropertiesBlock block;
  EXPECT_TRUE(velkboard.ShowBlockProperties(&block));
  block.answer = false;
  EXPECT_FALSE(velkboard.ShowBlockProperties(&block));
  EXPECT_EQ(block.shown, 2);
  EXPECT_FALSE(velkboard.ShowBlockProperties(nullptr));
}

}  // namespace
