// The scheme container: ownership, deleting, identities, lookups and the
// simulation drivers' block loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "foundation/memory_stream.h"
#include "scheme/scheme_fixture.h"

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

// A part that owns other parts of its scheme outside the child list and
// deletes them in its destructor, as a chip deletes its application parts.
// A part deleted first leaves its owner's list. Each destruction is noted,
// so that a part destroyed twice shows.
class OwningPart : public TestPart {
public:
  OwningPart() : TestPart(1, 1) { live().insert(this); }
  ~OwningPart() override {
    if (!live().erase(this)) ++destroyedTwice();
    if (owner) owner->owned.erase(std::find(owner->owned.begin(), owner->owned.end(), this));
    while (!owned.empty()) {
      OwningPart* part = owned.back();
      owned.pop_back();
      part->owner = nullptr;
      delete part;
    }
  }
  void Own(OwningPart* part) {
    owned.push_back(part);
    part->owner = this;
  }
  static std::set<OwningPart*>& live() {
    static std::set<OwningPart*> parts;
    return parts;
  }
  static int& destroyedTwice() {
    static int count = 0;
    return count;
  }

  OwningPart* owner = nullptr;
  std::vector<OwningPart*> owned;
};

TEST(SchemeOwnership, DeleteObjectsSurvivesDestructorsThatDeleteOtherBlocks) {
  // Parts 0 (oldest) to 5 (newest); who owns whom, and who is whose child.
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> owns;
    std::vector<std::pair<int, int>> parents;
  } cases[] = {
      {"the oldest owns the next to go", {{0, 1}}, {}},
      {"the oldest owns every other part", {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}}, {}},
      {"the newest owns the oldest", {{5, 0}}, {}},
      {"each owns the next newer", {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}, {}},
      {"each owns the next older", {{5, 4}, {4, 3}, {3, 2}, {2, 1}, {1, 0}}, {}},
      {"an owned part has children", {{0, 2}}, {{2, 3}, {3, 4}, {2, 1}}},
      {"a child of another part is owned", {{0, 4}}, {{5, 4}, {4, 3}}},
      {"a parent owns a part its child owns", {{3, 5}, {1, 2}}, {{1, 3}}},
      {"a child owns its parent's other child", {{2, 3}}, {{1, 2}, {1, 3}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    SchLiveCounts before = g_schLiveCounts;
    OwningPart::destroyedTwice() = 0;
    {
      SchemeBuilder b;
      std::vector<OwningPart*> parts;
      for (int i = 0; i < 6; i++) {
        parts.push_back(new OwningPart);
        parts.back()->Attach(b.scheme);
      }
      for (auto& o : k.owns) parts[o.first]->Own(parts[o.second]);
      for (auto& c : k.parents) parts[c.first]->AddChild(parts[c.second]);
      b.Part(1, 1);  // a plain part between them all
      b.scheme->DeleteObjects();
      EXPECT_EQ(nullptr, b.scheme->blocks);
      EXPECT_EQ(nullptr, b.scheme->LastBlock());
      EXPECT_TRUE(OwningPart::live().empty());
      EXPECT_EQ(0, OwningPart::destroyedTwice());
      // The emptied scheme takes new parts.
      TestPart* again = b.Part(1, 1);
      EXPECT_EQ(again, b.scheme->blocks);
      EXPECT_EQ(again, b.scheme->LastBlock());
    }
    EXPECT_EQ(before, g_schLiveCounts);
  }
  OwningPart::live().clear();
}

// A part that notes the order the parts are deleted in.
class NotingPart : public CSCHBlock {
public:
  explicit NotingPart(int tag, std::vector<int>* order) : tag_(tag), order_(order) {}
  ~NotingPart() override { order_->push_back(tag_); }

private:
  int tag_;
  std::vector<int>* order_;
};

// Emptying a scheme deletes its blocks in the order they were made, each on
// its own, whatever families they form (the heap gets its memory back in the
// order it gave it).
TEST(SchemeOwnership, DeleteObjectsGoesOldestFirstWhateverTheFamilies) {
  std::vector<int> order;
  SchLiveCounts before = g_schLiveCounts;
  {
    SchemeBuilder b;
    std::vector<NotingPart*> parts;
    for (int i = 0; i < 5; i++) {
      parts.push_back(new NotingPart(i, &order));
      parts.back()->Attach(b.scheme);
    }
    parts[0]->AddChild(parts[3]);
    parts[3]->AddChild(parts[4]);
    parts[2]->AddChild(parts[1]);
    b.scheme->DeleteObjects();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), order);
    EXPECT_EQ(nullptr, b.scheme->blocks);
  }
  EXPECT_EQ(before, g_schLiveCounts);
}

// Deleting a parent takes its family with it, also when destructors on the
// way delete other members of the family.
TEST(SchemeOwnership, DeletingAParentTakesItsFamilyWhateverTheDestructorsDelete) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> owns;
    std::vector<std::pair<int, int>> parents;  // children of a parent, in order
    std::set<int> gone;                          // deleted with part 0
  } cases[] = {
      {"three generations", {}, {{0, 1}, {1, 2}, {2, 3}, {1, 4}}, {0, 1, 2, 3, 4}},
      {"a child deletes its sibling", {{2, 1}}, {{0, 1}, {0, 2}, {1, 3}}, {0, 1, 2, 3}},
      {"a child deletes its nephew", {{3, 4}}, {{0, 1}, {0, 3}, {1, 4}, {4, 5}}, {0, 1, 3, 4, 5}},
      {"a grandchild deletes its uncle", {{5, 2}}, {{0, 2}, {0, 1}, {1, 4}, {1, 5}}, {0, 1, 2, 4, 5}},
      {"a child deletes a stranger", {{1, 5}}, {{0, 1}, {5, 4}}, {0, 1, 4, 5}},
      {"a child deletes its own child", {{1, 2}}, {{0, 1}, {1, 2}, {2, 3}}, {0, 1, 2, 3}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    SchLiveCounts before = g_schLiveCounts;
    OwningPart::destroyedTwice() = 0;
    {
      SchemeBuilder b;
      std::vector<OwningPart*> parts;
      for (int i = 0; i < 6; i++) {
        parts.push_back(new OwningPart);
        parts.back()->Attach(b.scheme);
      }
      for (auto& o : k.owns) parts[o.first]->Own(parts[o.second]);
      for (auto& c : k.parents) parts[c.first]->AddChild(parts[c.second]);
      std::vector<OwningPart*> all = parts;
      delete parts[0];
      for (int i = 0; i < 6; i++)
        EXPECT_EQ(k.gone.count(i) == 0, OwningPart::live().count(all[i]) == 1) << "part " << i;
      EXPECT_EQ(6 - static_cast<int>(k.gone.size()), b.scheme->BlockCount());
      for (CSCHBlock* x = b.scheme->blocks; x; x = x->next) {
        EXPECT_TRUE(!x->parent || OwningPart::live().count(static_cast<OwningPart*>(x->parent)));
        for (int c = 0; c < x->childCount; c++)
          EXPECT_TRUE(OwningPart::live().count(static_cast<OwningPart*>(x->children[c])));
      }
      b.scheme->DeleteObjects();
      EXPECT_TRUE(OwningPart::live().empty());
      EXPECT_EQ(0, OwningPart::destroyedTwice());
    }
    EXPECT_EQ(before, g_schLiveCounts);
  }
  OwningPart::live().clear();
}

// Families far deeper than the stack could nest: a chain of generations
// each with one child, and a chain whose every generation also has leaves.
TEST(SchemeOwnership, DeepFamiliesAreDeletedWithoutRecursion) {
  const int kGenerations = 100000;
  for (int leaves : {0, 3}) {
    SCOPED_TRACE(leaves);
    SchLiveCounts before = g_schLiveCounts;
    CSCHBlock* root = new CSCHBlock;
    CSCHBlock* last = root;
    for (int i = 1; i < kGenerations; i++) {
      CSCHBlock* child = new CSCHBlock;
      for (int k = 0; k < leaves; k++) {
        if (k == leaves / 2) last->AddChild(child);  // the next generation among the leaves
        last->AddChild(new CSCHBlock);
      }
      if (leaves == 0) last->AddChild(child);
      ASSERT_EQ(last, child->parent);
      last = child;
    }
    EXPECT_EQ(before.blocks + kGenerations + (kGenerations - 1) * leaves, g_schLiveCounts.blocks);
    delete root;
    EXPECT_EQ(before, g_schLiveCounts);
  }
}

TEST(SchemeOwnership, LastBlockFollowsTheList) {
  SchemeBuilder b;
  EXPECT_EQ(nullptr, b.scheme->LastBlock());
  TestPart* first = b.Part(1, 1);
  TestPart* second = b.Part(1, 1);
  TestPart* third = b.Part(1, 1);
  EXPECT_EQ(first, b.scheme->LastBlock());
  delete second;  // from the middle
  EXPECT_EQ(first, b.scheme->LastBlock());
  delete first;  // the tail
  EXPECT_EQ(third, b.scheme->LastBlock());
  SchScheme other;
  third->Attach(&other);  // moved to another scheme
  EXPECT_EQ(nullptr, b.scheme->LastBlock());
  EXPECT_EQ(nullptr, b.scheme->blocks);
  EXPECT_EQ(third, other.LastBlock());
  EXPECT_EQ(third, other.blocks);
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
