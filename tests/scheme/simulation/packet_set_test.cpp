#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"

#include <gtest/gtest.h>

namespace {

SchPacket* NewPacket(int id, int sequence) {
  SchPacket* p = new SchPacket;
  p->id = static_cast<unsigned char>(id);
  p->sequence = static_cast<unsigned char>(sequence);
  return p;
}

class PacketSetTest : public ::testing::Test {
protected:
  void SetUp() override { live_ = SchPacket::LiveCount(); }
  void TearDown() override { EXPECT_EQ(live_, SchPacket::LiveCount()) << "packets leaked or freed twice"; }
  int live_ = 0;
};

TEST_F(PacketSetTest, NewPacketIsEmpty) {
  SchPacket* p = new SchPacket;
  EXPECT_EQ(0, p->id);
  EXPECT_EQ(0, p->sequence);
  EXPECT_EQ(0, p->format);
  EXPECT_EQ(0, p->useCount);
  EXPECT_EQ(0, p->payload.size);
  EXPECT_EQ(64, p->payload.granularity);
  p->AddRef();
  p->Release();
}

TEST_F(PacketSetTest, PacketInTwoSetsIsFreedOnceWhenBothLetGo) {
  SchPacket* p = NewPacket(1, 0);
  SchPacketSet* a = new SchPacketSet;
  SchPacketSet* b = new SchPacketSet;
  a->Append(p);
  b->Put(p);
  EXPECT_EQ(2, p->useCount);
  a->RemoveAt(0);
  EXPECT_EQ(live_ + 1, SchPacket::LiveCount());
  b->RemoveAt(0);
  EXPECT_EQ(live_, SchPacket::LiveCount());
  delete a;
  delete b;
}

TEST_F(PacketSetTest, PutReplacesSameIdAndIgnoresSamePacket) {
  SchPacketSet set;
  SchPacket* first = NewPacket(5, 1);
  SchPacket* second = NewPacket(5, 2);
  set.Put(first);
  set.Put(first);
  EXPECT_EQ(1, set.count);
  EXPECT_EQ(1, first->useCount);
  first->AddRef();  // keep it readable after the set lets go
  set.Put(second);
  EXPECT_EQ(1, set.count);
  EXPECT_EQ(second, set.packets[0]);
  EXPECT_EQ(1, first->useCount);
  first->Release();
  EXPECT_EQ(-1, set.FindId(6));
  EXPECT_EQ(0, set.FindId(5));
}

TEST_F(PacketSetTest, ArrayGrowsPastItsSteps) {
  SchPacketSet set;
  for (int id = 0; id < 9; ++id) ASSERT_TRUE(set.Append(NewPacket(id, 0)));
  EXPECT_EQ(9, set.count);
  set.RemoveAt(0);
  set.RemoveAt(100);  // out of range: nothing
  set.RemoveAt(-1);
  ASSERT_EQ(8, set.count);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(i + 1, set.packets[i]->id);
}

TEST_F(PacketSetTest, CloneAndEquals) {
  EXPECT_EQ(nullptr, SchPacketSet::Clone(nullptr));
  SchPacketSet empty;
  SchPacketSet* emptyClone = SchPacketSet::Clone(&empty);
  ASSERT_NE(nullptr, emptyClone);
  EXPECT_EQ(0, emptyClone->count);
  EXPECT_TRUE(empty.Equals(emptyClone));
  delete emptyClone;

  SchPacketSet set;
  set.Append(NewPacket(1, 0));
  set.Append(NewPacket(2, 0));
  SchPacketSet* clone = SchPacketSet::Clone(&set);
  EXPECT_TRUE(set.Equals(clone));
  EXPECT_TRUE(clone->Equals(&set));
  EXPECT_EQ(2, set.packets[0]->useCount);
  clone->Put(NewPacket(2, 1));
  EXPECT_FALSE(set.Equals(clone));
  EXPECT_FALSE(set.Equals(nullptr));
  EXPECT_TRUE(set.Equals(&set));
  delete clone;

  // Equal contents in different packet objects are not the same set.
  SchPacketSet other;
  other.Append(NewPacket(1, 0));
  other.Append(NewPacket(2, 0));
  EXPECT_FALSE(set.Equals(&other));
}

TEST_F(PacketSetTest, MergeKeepsTheNewerOfEachIdInBothSets) {
  // Sequences compare as signed 8-bit differences; when neither packet is
  // newer (equal, or exactly 128 apart) each set keeps its own.
  enum Outcome { kTheirs, kMine, kEachOwn };
  struct Case {
    int mine, theirs;
    Outcome outcome;
  } cases[] = {
      {1, 2, kTheirs}, {2, 1, kMine}, {255, 0, kTheirs}, {0, 255, kMine},
      {0, 127, kTheirs}, {0, 128, kEachOwn}, {7, 7, kEachOwn},
  };
  for (const Case& c : cases) {
    SchPacketSet a, b;
    SchPacket* pa = NewPacket(3, c.mine);
    SchPacket* pb = NewPacket(3, c.theirs);
    a.Append(pa);
    b.Append(pb);
    a.Merge(&b);
    SchPacket* inA = c.outcome == kTheirs ? pb : pa;
    SchPacket* inB = c.outcome == kMine ? pa : pb;
    EXPECT_EQ(inA, a.packets[0]) << c.mine << " vs " << c.theirs;
    EXPECT_EQ(inB, b.packets[0]) << c.mine << " vs " << c.theirs;
    EXPECT_EQ(1, a.count);
    EXPECT_EQ(1, b.count);
  }
}

TEST_F(PacketSetTest, MergeJoinsDistinctIds) {
  SchPacketSet a, b;
  SchPacket* p1 = NewPacket(1, 0);
  SchPacket* p2 = NewPacket(2, 0);
  a.Append(p1);
  b.Append(p2);
  a.Merge(&b);
  ASSERT_EQ(2, a.count);
  ASSERT_EQ(2, b.count);
  EXPECT_EQ(p1, a.packets[0]);
  EXPECT_EQ(p2, a.packets[1]);
  EXPECT_EQ(p2, b.packets[0]);
  EXPECT_EQ(p1, b.packets[1]);
  EXPECT_EQ(2, p1->useCount);
  a.Merge(nullptr);
  EXPECT_EQ(2, a.count);
}

TEST_F(PacketSetTest, MergingSetsOfTheSamePacketsChangesNothing) {
  SchPacketSet a;
  a.Append(NewPacket(1, 4));
  a.Append(NewPacket(2, 9));
  SchPacketSet* b = SchPacketSet::Clone(&a);
  a.Merge(b);
  EXPECT_TRUE(a.Equals(b));
  EXPECT_EQ(2, a.count);
  EXPECT_EQ(2, a.packets[0]->useCount);
  delete b;
}

}  // namespace
