// The control items' tests: a block scheme whose catalogue holds the six
// user-interface blocks, and a fixture that registers the item kinds, keeps
// message boxes away and puts the current panel back.
#pragma once

#include <gtest/gtest.h>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "blocks/panel/ui_blocks/ui_block_entries.h"
#include "blocks/panel/ui_panel.h"
#include "panel_fixture.h"

namespace uitest {

// Palette rows of the control kinds.
const int kButtonRow = 3;
const int kTrackBarRow = 4;
const int kJoystickRow = 5;
const int kVideoRow = 6;
const int kIndicatorRow = 7;

// A catalogue with the user-interface blocks in group 0 and one scheme on it.
class UiCatalogue {
public:
  UiCatalogue() {
    BeCatalogueGroup* hidden = catalogue.AddGroup(nullptr);
    AddUserInterfaceBlockEntries(hidden);
  }
  BeCatalogue catalogue;
};

class UiBlockTest : public ::testing::Test {
protected:
  void SetUp() override {
    savedPanel_ = CurrentPanel();
    RegisterPanelItemKinds();
    scheme.Init(&ui.catalogue);
  }
  void TearDown() override {
    scheme.DeleteBlocks(true);
    SetCurrentPanel(savedPanel_);
    RegisterPanelItemKinds();
  }
  // A user-interface block of the scheme and its panel.
  CBEUI* AddUIBlock(BeScheme* target) {
    return static_cast<CBEUI*>(target->CreateBlock(kUIBlockClassId));
  }
  int CountClass(BeScheme* target, unsigned int classId) {
    int n = 0;
    for (CBEBlock* b = target->blocks; b; b = b->next)
      if (b->GetClassId() == classId) ++n;
    return n;
  }

  paneltest::RecordingHost host;
  CKestHostScope hostScope{&host};
  UiCatalogue ui;
  BeScheme scheme;

private:
  UiPanel* savedPanel_ = nullptr;
};

}  // namespace uitest
