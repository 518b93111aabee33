// The scheme container: ownership, deleting, identities, lookups and the
// simulation drivers' block loop.
#include <gtest/gtest.h>

#include "foundation/stream.h"
#include "scheme_fixture.h"

using schtest::SchemeBuilder;
using schtest::TestPart;

namespace {

// A circuit with something of every kind: parts with a child, wires between
// pins, a tee junction, a four-way junction, a bus with wires on both sides.
void BuildEverything(SchemeBuilder& b) {
  TestPart* a = b.Part(0, 2, 100, 50);
  TestPart* c = b.Part(2, 0, 500, 200);
  TestPart* d = b.Part(0, 0, 250, 400, 1, 0);
  a->SetModel("K561LA7");
  a->SetTableName(L"Микросхемы");
  a->SetOptions("1:0;");
  TestPart* child = b.Part(1, 1);
  a->AddChild(child);
  child->AddChild(b.Part(1, 1));  // a grandchild
  SchWire* w = b.Connect(a, 0, c, 0);
  b.Connect(a, 1, c, 1);
  b.Tee(w, d, 0);
  SchJunction* j = b.Junction(900, 900);
  b.FromJunction(j, 0, b.Part(0, 1, 600, 840), 0);
  b.FromJunction(j, 1, b.Part(0, 0, 840, 600, 0, 1), 0);
  b.FromJunction(j, 2, b.Part(1, 0, 1100, 840), 0);
  SchBus* bus = b.Bus(4, {100, 1000}, {400, 1000}, 1);
  for (int side = 0; side < 2; side++) {
    SchWire* x = b.Wire(bus->GetEndSide(side));
    EXPECT_TRUE(x->AttachToBus(0, bus, side, 2));
  }
}

TEST(SchemeOwnership, DeletingASchemeFreesEverything) {
  SchLiveCounts before = g_schLiveCounts;
  {
    SchemeBuilder b;
    BuildEverything(b);
    SchLiveCounts during = g_schLiveCounts;
    EXPECT_EQ(before.schemes + 1, during.schemes);
    EXPECT_EQ(before.blocks + 8, during.blocks);
    EXPECT_GT(during.pins, before.pins + 10);
    EXPECT_EQ(before.texts + 8 + 3, during.texts);  // eight names, model, table, options
    EXPECT_EQ(before.wires + 2 + 2 + 3 + 2, during.wires);
    EXPECT_EQ(before.junctions + 2, during.junctions);
    EXPECT_EQ(before.buses + 1, during.buses);
  }
  EXPECT_EQ(before, g_schLiveCounts);
}

TEST(SchemeOwnership, DeleteObjectsEmptiesWithoutMerging) {
  SchemeBuilder b;
  BuildEverything(b);
  SchLiveCounts before = g_schLiveCounts;
  int blocks = b.scheme->BlockCount();
  b.scheme->DeleteObjects();
  EXPECT_EQ(nullptr, b.scheme->blocks);
  EXPECT_EQ(nullptr, b.scheme->wires);
  EXPECT_EQ(nullptr, b.scheme->junctions);
  EXPECT_EQ(nullptr, b.scheme->buses);
  EXPECT_EQ(before.blocks - blocks, g_schLiveCounts.blocks);
  EXPECT_EQ(before.wires - 9, g_schLiveCounts.wires);
  EXPECT_EQ(before.junctions - 2, g_schLiveCounts.junctions);
  // Empty schemes can be filled again.
  BuildEverything(b);
  EXPECT_EQ(blocks, b.scheme->BlockCount());
}

TEST(SchemeOwnership, ChildrenGoWithTheirParentWhicheverIsOlder) {
  for (bool parentFirst : {true, false}) {
    SchemeBuilder b;
    TestPart* first = b.Part(1, 1);
    TestPart* second = b.Part(1, 1);
    TestPart* parent = parentFirst ? first : second;
    parent->AddChild(parentFirst ? second : first);
    b.Part(1, 1);
    b.scheme->DeleteObjects();
    EXPECT_EQ(0, b.scheme->BlockCount()) << parentFirst;
  }
}

// Notes, from its Stop, how many blocks its scheme still holds.
class StopProbe : public TestPart {
public:
  explicit StopProbe(std::vector<int>* seen) : TestPart(1, 1), seen_(seen) {}
  void Stop() override {
    seen_->push_back(scheme->BlockCount() * 100 + (instanceName[1] - L'0'));
  }

private:
  std::vector<int>* seen_;
};

TEST(SchemeSimulation, DestroyingARunningSchemeStopsEveryBlockFirst) {
  std::vector<int> seen;
  SchScheme* scheme = new SchScheme;
  for (int i = 0; i < 3; i++) (new StopProbe(&seen))->Attach(scheme);
  scheme->StartSimulation();
  EXPECT_EQ(1, scheme->running);
  EXPECT_EQ(1, scheme->startedToken);
  delete scheme;
  // U3 is the newest and the head of the list; all three blocks were still
  // there at every Stop.
  EXPECT_EQ((std::vector<int>{303, 302, 301}), seen);

  // A scheme that is not running is deleted without any Stop.
  seen.clear();
  scheme = new SchScheme;
  (new StopProbe(&seen))->Attach(scheme);
  delete scheme;
  EXPECT_TRUE(seen.empty());
}

TEST(SchemeSimulation, DriversWalkTheBlockList) {
  SchemeBuilder b;
  b.Part(1, 1);
  b.Part(1, 1);
  b.scheme->StartSimulation();
  b.scheme->StepSimulation(0.01f);
  b.scheme->StopSimulation();
  EXPECT_EQ(0, b.scheme->running);
  EXPECT_EQ((std::vector<std::wstring>{L"start U2", L"start U1", L"step U2", L"step U1",
                                       L"stop U2", L"stop U1"}),
            b.events);
}

TEST(SchemeRunState, SavesAndLoadsEveryBlockInListOrder) {
  SchemeBuilder b;
  TestPart* p1 = b.Part(1, 1);
  TestPart* p2 = b.Part(1, 1);
  p2->burnt = 1;
  CMemoryStream s;
  b.scheme->SaveRunState(&s);
  p2->burnt = 0;
  s.Seek(0, 0);
  EXPECT_TRUE(b.scheme->LoadRunState(&s));
  EXPECT_EQ(1, p2->burnt);
  EXPECT_EQ(0, p1->burnt);
  s.Seek(0, 0);
  p2->className = "Other";
  EXPECT_FALSE(b.scheme->LoadRunState(&s));
}

TEST(SchemeIdentities, RunningNumbersPerKindOldestFirst) {
  SchemeBuilder b;
  BuildEverything(b);
  b.scheme->NumberObjects();
  int expected = b.scheme->BlockCount();
  for (CSCHBlock* x = b.scheme->blocks; x; x = x->next) EXPECT_EQ(expected--, x->savedId);
  expected = b.scheme->WireCount();
  for (SchWire* x = b.scheme->wires; x; x = x->next) EXPECT_EQ(expected--, x->savedId);
  EXPECT_EQ(2, b.scheme->junctions->savedId);
  EXPECT_EQ(1, b.scheme->buses->savedId);

  EXPECT_EQ(b.scheme->LastBlock(), b.scheme->FindBlockById(1));
  EXPECT_EQ(b.scheme->wires, b.scheme->FindWireById(b.scheme->WireCount()));
  EXPECT_EQ(b.scheme->junctions->next, b.scheme->FindJunctionById(1));
  EXPECT_EQ(b.scheme->buses, b.scheme->FindBusById(1));
  EXPECT_EQ(nullptr, b.scheme->FindBusById(2));

  // The same scheme numbers the same way every time.
  b.scheme->ClearIdentities();
  EXPECT_EQ(nullptr, b.scheme->FindBlockById(1));
  b.scheme->NumberObjects();
  EXPECT_EQ(b.scheme->LastBlock(), b.scheme->FindBlockById(1));
  b.scheme->ClearIdentities();
  for (CSCHBlock* x = b.scheme->blocks; x; x = x->next) EXPECT_EQ(0, x->savedId);
}

}  // namespace
