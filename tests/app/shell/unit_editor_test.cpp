// A programmable unit of a document opens its program in a block-diagram
// editor of the main window, with the palette of the unit's own catalogue.
#include "app/app_fixture.h"
#include "app/shell/main_form.h"
#include "app/shell/velkboard_host.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_host.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/editor/be_editor.h"
#include "components/electronic/component_kit.h"
#include "kestui/containers/kest_tabs.h"
#include "support/test_support.h"
#include "units/computers/board_computer.h"
#include "units/unit_classes.h"

namespace {

class UnitEditorTest : public apptest::WindowsTest {};

TEST_F(UnitEditorTest, ABoardComputerOfTheSampleTableOpensItsProgramWithItsPalette) {
  comptest::RegistryScope registry;
  RegisterUnitComponentCreators();
  comptest::SampleTable computers(L"computers");
  CompDbRecord* row = computers.Find("VB-Nano 12");
  ASSERT_NE(nullptr, row);
  std::unique_ptr<CSCHBoardComputer> pc = comptest::NewDetached<CSCHBoardComputer>("BOARD_COMPUTER");
  ASSERT_NE(nullptr, pc);
  pc->ApplyDbRecord(row);
  pc->SetName(L"PC1");
  EXPECT_NE(nullptr, pc->FindProgramBlock(L"USB0"));
  EXPECT_NE(nullptr, pc->FindProgramBlock(L"GPIO"));

  CVelkboardHost velkboard;
  CBlockHostScope blockHost(&velkboard);
  CMainForm* form = MakeMainForm();
  form->Show(false);
  EXPECT_FALSE(pc->Edit());
  velktest::FlushEvents();
  auto* editor = dynamic_cast<CBEEditor*>(form->GetActiveMDIChild());
  ASSERT_NE(nullptr, editor);
  EXPECT_EQ(L"PC1", apptest::WindowTextOf(editor->GetHandle()));
  EXPECT_EQ(pc->GetProgram(), editor->GetScheme());
  // One tab per palette group: the common ones, "Интеллект" and "Отладка".
  const BeCatalogue* catalogue = pc->GetProgram()->catalogue;
  ASSERT_NE(nullptr, catalogue);
  CKestTabControl* tabs = editor->GetTabs();
  ASSERT_NE(nullptr, tabs);
  ASSERT_EQ(catalogue->groupCount - 1, tabs->GetTabCount());
  EXPECT_STREQ(L"Генераторы", tabs->GetCaption(0));
  EXPECT_STREQ(L"Интеллект", tabs->GetCaption(tabs->GetTabCount() - 2));
  EXPECT_STREQ(L"Отладка", tabs->GetCaption(tabs->GetTabCount() - 1));
  velktest::SaveScreenshot(form->GetHandle(), L"board_computer_block_editor.bmp");
  SendMessageW(editor->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
}

}  // namespace
