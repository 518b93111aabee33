// The table of live payloads that message values name by a handle in bytes
// 4-7: handles, stale handles, reuse of slots, release by owner, at Stop and
// when a block goes, and the value bytes at both widths.
#include <cstdint>
#include <cstring>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/payload_table.h"
#include "engine_fixture.h"
#include "foundation/buffer_failure_scope.h"
#include "support/test_support.h"

namespace {

// Counts what the table hands back to its release function.
std::vector<void*> g_released;
void RecordRelease(void* payload) { g_released.push_back(payload); }

class PayloadTableTest : public ::testing::Test {
protected:
  void SetUp() override { g_released.clear(); }
  void TearDown() override {
    BePayloadTable::Program().ReleaseAll();
    g_released.clear();
  }
  BePayloadTable table;
  int a = 0, b = 0, c = 0;
  int ownerX = 0, ownerY = 0;
};

TEST_F(PayloadTableTest, HandlesNameSlotAndGenerationAndResolveWhileLive) {
  EXPECT_EQ(kNoPayload, table.Add(nullptr, &ownerX));
  BePayloadHandle ha = table.Add(&a, &ownerX);
  BePayloadHandle hb = table.Add(&b, &ownerY);
  // Slot 1 and slot 2 (1-based, low 16 bits), generation 1 (high 16 bits).
  EXPECT_EQ(0x00010001u, ha);
  EXPECT_EQ(0x00010002u, hb);
  EXPECT_EQ(&a, table.Resolve(ha));
  EXPECT_EQ(&b, table.Resolve(hb));
  EXPECT_EQ(&ownerX, table.OwnerOf(ha));
  EXPECT_EQ(2, table.LiveCount());
  // Nothing, a slot never made, and a live slot under another generation.
  EXPECT_EQ(nullptr, table.Resolve(kNoPayload));
  EXPECT_EQ(nullptr, table.Resolve(0x00010003u));
  EXPECT_EQ(nullptr, table.Resolve(0x00020001u));
  EXPECT_EQ(nullptr, table.Resolve(0x00000001u));
  EXPECT_EQ(nullptr, table.Resolve(0xFFFFFFFFu));
}

TEST_F(PayloadTableTest, AReleasedHandleStaysStaleWhenItsSlotIsTakenAgain) {
  BePayloadHandle ha = table.Add(&a, &ownerX, RecordRelease);
  ASSERT_TRUE(table.Release(ha));
  ASSERT_EQ(1u, g_released.size());
  EXPECT_EQ(&a, g_released[0]);
  EXPECT_EQ(nullptr, table.Resolve(ha));
  EXPECT_EQ(nullptr, table.OwnerOf(ha));
  EXPECT_FALSE(table.Release(ha)) << "a stale handle releases nothing";
  EXPECT_EQ(1u, g_released.size());

  // The slot comes back with the next generation.
  BePayloadHandle hc = table.Add(&c, &ownerY);
  EXPECT_EQ(0x00020001u, hc);
  EXPECT_EQ(&c, table.Resolve(hc));
  EXPECT_EQ(nullptr, table.Resolve(ha));
  EXPECT_EQ(1, table.SlotCount());

  // Generations wrap from 65535 to 1, never to 0 (0 is no handle).
  BePayloadHandle h = hc;
  for (int i = 0; i < 0xFFFF - 2; ++i) {
    ASSERT_TRUE(table.Release(h));
    h = table.Add(&c, &ownerY);
  }
  EXPECT_EQ(0xFFFF0001u, h);
  ASSERT_TRUE(table.Release(h));
  h = table.Add(&c, &ownerY);
  EXPECT_EQ(0x00010001u, h);
  EXPECT_EQ(&c, table.Resolve(h));
}

TEST_F(PayloadTableTest, ReleaseOwnerAndReleaseAll) {
  BePayloadHandle h1 = table.Add(&a, &ownerX, RecordRelease);
  BePayloadHandle h2 = table.Add(&b, &ownerY, RecordRelease);
  BePayloadHandle h3 = table.Add(&c, &ownerX, RecordRelease);
  EXPECT_EQ(2, table.ReleaseOwner(&ownerX));
  EXPECT_EQ(nullptr, table.Resolve(h1));
  EXPECT_EQ(&b, table.Resolve(h2));
  EXPECT_EQ(nullptr, table.Resolve(h3));
  EXPECT_EQ(0, table.ReleaseOwner(&ownerX));
  EXPECT_EQ(2u, g_released.size());
  table.ReleaseAll();
  EXPECT_EQ(0, table.LiveCount());
  EXPECT_EQ(nullptr, table.Resolve(h2));
  EXPECT_EQ(3u, g_released.size());
  // Every slot stays with a later generation: no old handle comes back.
  BePayloadHandle again = table.Add(&a, &ownerX);
  EXPECT_NE(h1, again);
  EXPECT_NE(h2, again);
  EXPECT_NE(h3, again);
  EXPECT_EQ(nullptr, table.Resolve(h1));
  EXPECT_EQ(nullptr, table.Resolve(h2));
  EXPECT_EQ(nullptr, table.Resolve(h3));
}

// A release function that publishes again while the table releases.
BePayloadTable* g_table = nullptr;
int g_republished = 0;
void Republish(void* payload) {
  if (g_table && g_table->Add(payload, &g_republished)) ++g_republished;
}

TEST_F(PayloadTableTest, AReleaseFunctionMayUseTheTable) {
  g_table = &table;
  g_republished = 0;
  std::vector<int> items(40);
  int owner = 0;
  for (int& item : items) ASSERT_NE(kNoPayload, table.Add(&item, &owner, Republish));
  EXPECT_EQ(40, table.ReleaseOwner(&owner));
  EXPECT_EQ(40, g_republished);
  EXPECT_EQ(40, table.LiveCount());
  g_table = nullptr;
}

TEST_F(PayloadTableTest, RefusedMemoryAddsNothing) {
  BePayloadHandle h = kNoPayload;
  {
    CBufferFailureScope refuse(0);
    h = table.Add(&a, &ownerX);
  }
  EXPECT_EQ(kNoPayload, h);
  EXPECT_EQ(0, table.LiveCount());
  EXPECT_EQ(0, table.SlotCount());
  h = table.Add(&a, &ownerX);
  EXPECT_EQ(&a, table.Resolve(h));
}

TEST_F(PayloadTableTest, AFullTableRefusesMore) {
  std::vector<BePayloadHandle> handles;
  for (int i = 0; i < BePayloadTable::kMaxSlots; ++i) handles.push_back(table.Add(&a, &ownerX));
  EXPECT_EQ(0xFFFF, table.LiveCount());
  EXPECT_EQ(0x0001FFFFu, handles.back());
  EXPECT_EQ(kNoPayload, table.Add(&b, &ownerX));
  ASSERT_TRUE(table.Release(handles[10]));
  EXPECT_EQ(0x0002000Bu, table.Add(&b, &ownerX));
}

// The handle is four bytes in bytes 4-7 of a value, little-endian, whatever
// the width of the program: a pointer never goes into a value.
TEST_F(PayloadTableTest, ValueBytesAreTheSameAtBothWidths) {
  static_assert(sizeof(BePayloadHandle) == 4, "a handle fits bytes 4-7");
  unsigned char value[8] = {1, 2, 3, 4, 0xAA, 0xAA, 0xAA, 0xAA};
  BePutPayloadHandle(value, 0x00030002u);
  const unsigned char expected[8] = {1, 2, 3, 4, 0x02, 0x00, 0x03, 0x00};
  EXPECT_EQ(0, memcmp(expected, value, 8));
  EXPECT_EQ(0x00030002u, BeGetPayloadHandle(value));

  // A payload anywhere in the address space (above 4 GB where pointers have
  // 8 bytes) is reached through its handle unchanged.
  void* high = reinterpret_cast<void*>(~static_cast<uintptr_t>(0) - 15);
  BePayloadTable& program = BePayloadTable::Program();
  BePayloadHandle h = program.Add(high, &ownerX);
  ASSERT_NE(kNoPayload, h);
  BePutPayloadHandle(value, h);
  EXPECT_EQ(high, BeResolvePayload(value));
  EXPECT_EQ(1, program.ReleaseOwner(&ownerX));
  EXPECT_EQ(nullptr, BeResolvePayload(value));
  EXPECT_EQ(nullptr, BeResolvePayload(nullptr));
}

// A block that publishes a record of its own while it runs.
class Publisher : public betest::TestBlock {
public:
  Publisher() : TestBlock(0, 1) {}
  void Step(float dt) override {
    TestBlock::Step(dt);
    if (!handle) handle = BePayloadTable::Program().Add(&record, this);
    BePutPayloadHandle(outputs[0]->value, handle);
  }
  int record = 0;
  BePayloadHandle handle = kNoPayload;
};

TEST_F(PayloadTableTest, PayloadsOfTheSchemesBlocksAreReleasedAtStop) {
  BePayloadTable& program = BePayloadTable::Program();
  BeScheme scheme;
  Publisher* publisher = new Publisher;
  publisher->AttachToScheme(&scheme);
  int other = 0;
  BePayloadHandle foreign = program.Add(&other, &ownerY);
  scheme.Start();
  scheme.Step(0.001f);
  ASSERT_NE(kNoPayload, publisher->handle);
  EXPECT_EQ(&publisher->record, BeResolvePayload(publisher->outputs[0]->value));
  scheme.Stop();
  EXPECT_EQ(nullptr, BeResolvePayload(publisher->outputs[0]->value));
  EXPECT_EQ(&other, program.Resolve(foreign)) << "what no block of the scheme owns stays";
  EXPECT_EQ(1, program.LiveCount());
}

TEST_F(PayloadTableTest, ABlockThatGoesTakesItsPayloadsAlong) {
  BePayloadTable& program = BePayloadTable::Program();
  BeScheme scheme;
  Publisher* publisher = new Publisher;
  publisher->AttachToScheme(&scheme);
  scheme.Start();
  scheme.Step(0.001f);
  BePayloadHandle h = publisher->handle;
  ASSERT_EQ(&publisher->record, program.Resolve(h));
  delete publisher;
  EXPECT_EQ(nullptr, program.Resolve(h));
  EXPECT_EQ(0, program.LiveCount());
}

}  // namespace
