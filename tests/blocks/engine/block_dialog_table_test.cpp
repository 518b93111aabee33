// The table of block dialogs by class id that the dialogs fill at start-up,
// so the engine reaches them without including them.
#include <utility>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_dialog_table.h"
#include "foundation/buffer_failure_scope.h"
#include "support/test_support.h"

namespace {

std::vector<CBEBlock*> g_shown;
bool g_answer = true;
bool CountingDialog(CBEBlock* block) {
  g_shown.push_back(block);
  return g_answer;
}
bool OtherDialog(CBEBlock*) { return false; }

// Puts the program's table back as it was.
class ProgramDialogs {
public:
  ProgramDialogs() {
    BeBlockDialogTable& t = BeBlockDialogTable::Program();
    for (int i = 0; i < t.Count(); ++i) saved_.push_back({t.ClassIdAt(i), t.DialogAt(i)});
  }
  ~ProgramDialogs() {
    BeBlockDialogTable& t = BeBlockDialogTable::Program();
    t.Clear();
    for (const auto& row : saved_) t.Set(row.first, row.second);
  }

private:
  std::vector<std::pair<unsigned int, BeBlockDialog>> saved_;
};

TEST(BlockDialogTable, SetFindReplaceAndRemove) {
  BeBlockDialogTable table;
  EXPECT_EQ(nullptr, table.Find(0x4400));
  ASSERT_TRUE(table.Set(0x4400, CountingDialog));
  ASSERT_TRUE(table.Set(0x4001, OtherDialog));
  EXPECT_EQ(CountingDialog, table.Find(0x4400));
  EXPECT_EQ(OtherDialog, table.Find(0x4001));
  EXPECT_EQ(2, table.Count());
  ASSERT_TRUE(table.Set(0x4400, OtherDialog));
  EXPECT_EQ(OtherDialog, table.Find(0x4400));
  EXPECT_EQ(2, table.Count());
  EXPECT_EQ(0x4400u, table.ClassIdAt(0));
  EXPECT_EQ(0x4001u, table.ClassIdAt(1));
  EXPECT_EQ(0u, table.ClassIdAt(2));
  EXPECT_EQ(nullptr, table.DialogAt(-1));
  // Null removes the row; the others keep their order.
  ASSERT_TRUE(table.Set(0x4400, nullptr));
  EXPECT_EQ(nullptr, table.Find(0x4400));
  EXPECT_EQ(1, table.Count());
  EXPECT_EQ(0x4001u, table.ClassIdAt(0));
  EXPECT_TRUE(table.Set(0x7777, nullptr));
  EXPECT_EQ(1, table.Count());
}

TEST(BlockDialogTable, RefusedMemoryLeavesTheTableAsItWas) {
  BeBlockDialogTable table;
  ASSERT_TRUE(table.Set(1, CountingDialog));
  bool added;
  {
    CBufferFailureScope refuse(0);
    added = table.Set(2, OtherDialog);
  }
  EXPECT_FALSE(added);
  EXPECT_EQ(1, table.Count());
  EXPECT_EQ(nullptr, table.Find(2));
  EXPECT_EQ(CountingDialog, table.Find(1));
}

TEST(BlockDialogTable, ShowBlockDialogRunsTheClassDialogOrAnswersFalse) {
  ProgramDialogs restore;
  g_shown.clear();
  CBEBlock block;
  // No dialog registered: false, nothing shown.
  EXPECT_FALSE(ShowBlockDialog(&block, 0x4400));
  EXPECT_TRUE(g_shown.empty());
  BeBlockDialogTable::Program().Set(0x4400, CountingDialog);
  g_answer = true;
  EXPECT_TRUE(ShowBlockDialog(&block, 0x4400));
  g_answer = false;
  EXPECT_FALSE(ShowBlockDialog(&block, 0x4400));
  ASSERT_EQ(2u, g_shown.size());
  EXPECT_EQ(&block, g_shown[0]);
  EXPECT_FALSE(ShowBlockDialog(nullptr, 0x4400));
  EXPECT_EQ(2u, g_shown.size());
  EXPECT_FALSE(ShowBlockDialog(&block, 0x4001));
  g_answer = true;
}

}  // namespace
