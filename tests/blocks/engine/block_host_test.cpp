// The block engine's service interface: installing, restoring and the base
// answers.
#include "blocks/engine/block.h"
#include "blocks/engine/block_host.h"
#include "support/test_support.h"

namespace {

class CountingBlockHost : public CBlockHost {
public:
  bool ShowBlockProperties(CBEBlock* block) override {
    ++asked;
    return block != nullptr;
  }
  int asked = 0;
};

}  // namespace

TEST(BlockHost, ScopesInstallAndReinstallInOrder) {
  CBlockHost* base = GetBlockHost();
  ASSERT_NE(nullptr, base);
  CountingBlockHost outer, inner;
  CBEBlock block;
  {
    CBlockHostScope a(&outer);
    {
      CBlockHostScope b(&inner);
      EXPECT_EQ(&inner, GetBlockHost());
      EXPECT_TRUE(GetBlockHost()->ShowBlockProperties(&block));
    }
    EXPECT_EQ(&outer, GetBlockHost());
  }
  EXPECT_EQ(base, GetBlockHost());
  EXPECT_EQ(1, inner.asked);
  EXPECT_EQ(0, outer.asked);
  CBlockHost* previous = SetBlockHost(&outer);
  EXPECT_EQ(&outer, SetBlockHost(nullptr));
  EXPECT_EQ(base, GetBlockHost());
  SetBlockHost(previous);
}

TEST(BlockHost, BaseAnswersWithoutTheProgramsWindows) {
  CBlockHost* base = GetBlockHost();
  CBEBlock block;
  EXPECT_FALSE(base->OpenBlockEditor(nullptr, L"AVR"));
  EXPECT_FALSE(base->ShowBlockProperties(&block));
  EXPECT_FALSE(base->ShowBlockProperties(nullptr));
}
