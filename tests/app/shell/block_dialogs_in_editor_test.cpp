// In Velkboard's block editor a double click on a library block opens that
// block's property dialog; a confirmed dialog marks the document modified, a
// cancelled one does not.
#include <string>

#include "app/app_fixture.h"
#include "app/shell/main_form.h"
#include "app/shell/velkboard_host.h"
#include "blocks/dialogs/dialog_classes.h"
#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/library_classes.h"
#include "support/test_support.h"

namespace {

class BlockDialogsInEditorTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    apptest::WindowsTest::SetUp();
    BeBlockDialogTable& table = BeBlockDialogTable::Program();
    for (int i = 0; i < table.Count(); ++i) saved_.push_back({table.ClassIdAt(i), table.DialogAt(i)});
    ASSERT_TRUE(RegisterBlockDialogs());
  }
  void TearDown() override {
    apptest::WindowsTest::TearDown();
    BeBlockDialogTable& table = BeBlockDialogTable::Program();
    table.Clear();
    for (const auto& row : saved_) table.Set(row.first, row.second);
  }

  std::vector<std::pair<unsigned int, BeBlockDialog>> saved_;
};

struct Seen {
  bool ok = false;
  bool shown = false;
  std::wstring caption;
};
Seen g_seen;

CBEPropertyForm* OpenPropertyFormWindow() {
  for (int i = LiveForms.count - 1; i >= 0; i--)
    if (auto* form = dynamic_cast<CBEPropertyForm*>(LiveForms.forms[i])) return form;
  return nullptr;
}

// Answers the dialog once it shows: the first row's list moved to another
// item (so that a type picker has a new type), then "OK" or "Отмена".
void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  CBEPropertyForm* form = OpenPropertyFormWindow();
  if (!form || !IsWindowVisible(form->GetHandle())) return;
  KillTimer(nullptr, id);
  g_seen.shown = true;
  g_seen.caption = apptest::WindowTextOf(form->GetHandle());
  for (int row = 0; row < form->GetRowCount(); ++row)
    if (auto* list = dynamic_cast<CKestComboBox*>(form->GetRowControl(row)))
      list->SetSelectedIndex(list->GetSelectedIndex() == 0 ? 1 : 0);
  CKestButton* button = g_seen.ok ? form->GetOkButton() : form->GetCancelButton();
  SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
}

TEST_F(BlockDialogsInEditorTest, DoubleClickOpensTheBlocksDialog) {
  BeBlockCreatorTable creators;
  ASSERT_TRUE(RegisterBlockLibraryCreators(&creators));
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  CVelkboardHost velkboard;
  CBlockHostScope blockHost(&velkboard);
  for (unsigned int classId : {kBeNegClassId, kBeShrClassId, kBeLimiterClassId, kBeSpeedClassId, kBeConstantClassId,
                               kBeMUXClassId, kBeProportionalClassId, kBeEventClassId}) {
    SCOPED_TRACE(classId);
    ClearAll();
    CMainForm* main = MakeMainForm();
    main->Show(false);
    BeScheme scheme;
    scheme.Init(&catalogue);
    CBEBlock* block = scheme.CreateBlock(classId);
    ASSERT_NE(nullptr, block);
    block->MoveTo(100, 60);
    ASSERT_TRUE(velkboard.OpenBlockEditor(&scheme, L"AVR1"));
    velktest::FlushEvents();
    auto* editor = dynamic_cast<CBEEditor*>(main->GetActiveMDIChild());
    ASSERT_NE(nullptr, editor);
    HWND view = editor->GetView()->GetHandle();
    LPARAM at = MAKELPARAM(100 + block->Width() / 2, 60 + block->Height() / 2);
    // Cancelled first: the document stays unmodified; then confirmed.
    for (bool ok : {false, true}) {
      g_seen = Seen();
      g_seen.ok = ok;
      UINT_PTR timer = SetTimer(nullptr, 0, 10, Answer);
      SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(view, WM_LBUTTONUP, 0, at);
      SendMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      KillTimer(nullptr, timer);
      velktest::FlushEvents();
      EXPECT_TRUE(g_seen.shown) << "the dialog opened";
      EXPECT_EQ(std::wstring(block->GetCaption()), g_seen.caption);
      EXPECT_EQ(ok, main->IsModified());
    }
    SendMessageW(editor->GetHandle(), WM_CLOSE, 0, 0);
    velktest::FlushEvents();
  }
}

}  // namespace
