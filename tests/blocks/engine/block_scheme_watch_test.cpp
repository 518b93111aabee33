// The block scheme's watches: what they are told when blocks, pins and the
// scheme itself go, how they leave the list, and the deletion of all blocks
// cutting every link before the first block goes.
#include <cstdint>
#include <vector>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/block_scheme_watch.h"
#include "blocks/engine/engine_fixture.h"
#include "support/poisoned_heap.h"

using betest::kPlainClassId;
using betest::kTwoByTwoClassId;

namespace {

class RecordingWatch : public BeSchemeWatch {
public:
  void OnSchemeDeleting(BeScheme* scheme) override {
    schemesGone.push_back(reinterpret_cast<uintptr_t>(scheme));
    stillWatching = GetWatchedScheme() != nullptr;
  }
  void OnObjectDeleting(BeScheme* scheme, const void* object) override {
    EXPECT_EQ(GetWatchedScheme(), scheme);
    objectsGone.push_back(reinterpret_cast<uintptr_t>(object));
  }
  std::vector<uintptr_t> schemesGone;
  std::vector<uintptr_t> objectsGone;
  bool stillWatching = true;
};

bool Contains(const std::vector<uintptr_t>& list, const void* p) {
  for (uintptr_t q : list)
    if (q == reinterpret_cast<uintptr_t>(p)) return true;
  return false;
}

TEST(BlockSchemeWatch, TellsOfBlocksAndPinsThatGo) {
  betest::TestCatalogue catalogue;
  BeScheme scheme;
  scheme.Init(&catalogue.catalogue);
  CBEBlock* a = scheme.CreateBlock(kPlainClassId);
  CBEBlock* b = scheme.CreateBlock(kTwoByTwoClassId);
  ASSERT_TRUE(a && b);
  RecordingWatch first, second;
  first.Watch(&scheme);
  second.Watch(&scheme);
  EXPECT_EQ(2, scheme.WatchCount());

  uintptr_t surplusInput = reinterpret_cast<uintptr_t>(b->inputs[1]);
  uintptr_t surplusOutput = reinterpret_cast<uintptr_t>(b->outputs[1]);
  ASSERT_TRUE(b->SetInputCount(1));
  ASSERT_TRUE(b->SetOutputCount(1));
  EXPECT_EQ((std::vector<uintptr_t>{surplusInput, surplusOutput}), first.objectsGone);
  EXPECT_EQ(first.objectsGone, second.objectsGone);

  first.objectsGone.clear();
  uintptr_t blockAddress = reinterpret_cast<uintptr_t>(a);  // an address only: the block goes
  delete a;
  ASSERT_FALSE(first.objectsGone.empty());
  EXPECT_EQ(blockAddress, first.objectsGone[0]);  // the block before its pins

  // A watch that watches nothing (or is destroyed) hears no more.
  second.Watch(nullptr);
  EXPECT_EQ(1, scheme.WatchCount());
  second.objectsGone.clear();
  scheme.DeleteBlocks(true);
  EXPECT_TRUE(Contains(first.objectsGone, b));
  EXPECT_TRUE(second.objectsGone.empty());
  {
    RecordingWatch brief;
    brief.Watch(&scheme);
    EXPECT_EQ(2, scheme.WatchCount());
  }
  EXPECT_EQ(1, scheme.WatchCount());
}

TEST(BlockSchemeWatch, ADeletedSchemeReleasesEveryWatchOnce) {
  betest::TestCatalogue catalogue;
  RecordingWatch first, second;
  BeScheme* scheme = new BeScheme;
  scheme->Init(&catalogue.catalogue);
  ASSERT_NE(nullptr, scheme->CreateBlock(kPlainClassId));
  first.Watch(scheme);
  second.Watch(scheme);
  uintptr_t schemeAddress = reinterpret_cast<uintptr_t>(scheme);
  delete scheme;
  for (RecordingWatch* watch : {&first, &second}) {
    ASSERT_EQ(1u, watch->schemesGone.size());
    EXPECT_EQ(schemeAddress, watch->schemesGone[0]);
    // Left before being told; the blocks that went afterwards told no one.
    EXPECT_FALSE(watch->stillWatching);
    EXPECT_EQ(nullptr, watch->GetWatchedScheme());
    EXPECT_TRUE(watch->objectsGone.empty());
  }
}

// A block whose destructor reads its inputs, as a plug-in's destroy
// function does.
class ReadsInputsWhenDeleted : public betest::TestBlock {
public:
  explicit ReadsInputsWhenDeleted(std::vector<unsigned char>* seen) : TestBlock(1, 1), seen_(seen) {}
  ~ReadsInputsWhenDeleted() override {
    const BeOutputPin* source = inputs[0]->source;
    seen_->push_back(source ? source->value[0] : 0);
  }

private:
  std::vector<unsigned char>* seen_;
};

TEST(BlockSchemeWatch, DeletingEveryBlockCutsTheLinksFirst) {
  std::vector<unsigned char> seen;
  BeScheme scheme;
  // Deleted newest first: a goes before b, whose input reads a's output.
  ReadsInputsWhenDeleted* b = new ReadsInputsWhenDeleted(&seen);
  b->AttachToScheme(&scheme);
  ReadsInputsWhenDeleted* a = new ReadsInputsWhenDeleted(&seen);
  a->AttachToScheme(&scheme);
  betest::Link(a, 0, b, 0);
  betest::Link(b, 0, a, 0);
  a->outputs[0]->value[0] = 7;
  b->outputs[0]->value[0] = 9;
  velktest::PoisonedHeapScope poison;
  scheme.DeleteBlocks(true);
  // Neither destructor met a source: the links went before any block.
  EXPECT_EQ((std::vector<unsigned char>{0, 0}), seen);
  EXPECT_EQ(nullptr, scheme.blocks);
}

}  // namespace
