#include "blocks/engine/block_scheme.h"

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "blocks/engine/block.h"
#include "foundation/buffer_failure_scope.h"
#include "kestui/core/kest_host_scope.h"
#include "engine_fixture.h"
#include "support/test_support.h"

using betest::Link;
using betest::LogWatch;
using betest::NestingBlock;
using betest::RecordedMessages;
using betest::TestBlock;
using betest::TestCatalogue;

namespace {

TEST(BlockScheme, InitSetsTheStartingValues) {
  TestCatalogue cat;
  BeScheme scheme;
  scheme.frequency = 5;
  scheme.Init(&cat.catalogue);
  EXPECT_EQ(&cat.catalogue, scheme.catalogue);
  EXPECT_EQ(nullptr, scheme.blocks);
  EXPECT_EQ(nullptr, scheme.portBlocks);
  EXPECT_EQ(1000000.0f, scheme.frequency);
  EXPECT_EQ(-1, scheme.romLimit);
  EXPECT_EQ(-1, scheme.ramLimit);
  EXPECT_EQ(nullptr, scheme.owner);
  EXPECT_EQ(0, scheme.running);
  EXPECT_EQ(0, scheme.sharedRoutineRom);
  EXPECT_EQ(50000, scheme.baseRom);
  EXPECT_EQ(0, scheme.baseRam);
  EXPECT_EQ(nullptr, scheme.parent);
}

TEST(BlockScheme, CreateBlockTakesTheFirstEntryInGroupOrder) {
  TestCatalogue cat;
  // A later group with the same class id under another caption.
  BeCatalogueGroup* later = cat.catalogue.AddGroup(L"Ещё");
  later->AddEntry(betest::kPlainClassId, betest::NewTwoByTwo, L"Второй", nullptr);
  BeScheme scheme;
  scheme.Init(&cat.catalogue);
  RecordedMessages messages;
  CBEBlock* block = scheme.CreateBlock(betest::kPlainClassId);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(cat.catalogue.groups[1]->Entry(0), block->entry);
  EXPECT_EQ(betest::kPlainClassId, block->GetClassId());
  EXPECT_STREQ(L"Простой", block->GetCaption());
  EXPECT_EQ(1, block->inputCount);  // made by the first entry's creator
  EXPECT_EQ(&scheme, block->scheme);
  EXPECT_EQ(block, scheme.blocks);
  EXPECT_EQ(150, block->rect.left);
  EXPECT_EQ(40, block->rect.top);
  EXPECT_TRUE(messages.texts.empty());
}

TEST(BlockScheme, CreateBlockOfAnUnknownClassTellsTheUser) {
  TestCatalogue cat;
  BeScheme scheme;
  scheme.Init(&cat.catalogue);
  RecordedMessages messages;
  ASSERT_NE(nullptr, scheme.CreateBlock(betest::kTwoByTwoClassId));
  EXPECT_EQ(nullptr, scheme.CreateBlock(0xDEADBEEF));
  ASSERT_EQ(1u, messages.texts.size());
  EXPECT_EQ(L"Ошибка загрузки схемы", messages.captions[0]);
  EXPECT_EQ(L"Блок класса 0xDEADBEEF не зарегистрирован! Последний удачный блок \"Два на два\".",
            messages.texts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OK), messages.flags[0] & 0xF);
  EXPECT_EQ(1, scheme.GetBlockCount());

  // Without a catalogue nothing can be created.
  BeScheme bare;
  EXPECT_EQ(nullptr, bare.CreateBlock(betest::kPlainClassId));
  ASSERT_EQ(2u, messages.texts.size());
  EXPECT_EQ(L"Блок класса 0x7E570001 не зарегистрирован! Последний удачный блок \"Два на два\".",
            messages.texts[1]);
}

TEST(BlockScheme, WithoutAReplacementTheErrorIsAMessageBox) {
  TestCatalogue cat;
  BeScheme scheme;
  scheme.Init(&cat.catalogue);
  CKestHost baseHost;  // the framework's own message box
  CKestHostScope hostScope(&baseHost);
  velktest::DialogAnswerer answerer(IDOK);
  EXPECT_EQ(nullptr, scheme.CreateBlock(0x12345678));
  ASSERT_EQ(1, answerer.Count());
  EXPECT_EQ(L"Ошибка загрузки схемы", answerer.Captions()[0]);
  EXPECT_EQ(0u, answerer.Texts()[0].find(L"Блок класса 0x12345678 не зарегистрирован!"));
}

TEST(BlockScheme, FindDeviceBlockNeedsTheFlagAndAnOwnCaption) {
  TestCatalogue cat;
  BeScheme scheme;
  scheme.Init(&cat.catalogue);
  CBEBlock* plain = scheme.CreateBlock(betest::kPlainClassId);
  plain->SetCaption(L"COM1");  // not a device block
  CBEBlock* unnamed = scheme.CreateBlock(betest::kPlainClassId);
  unnamed->flags |= kBeBlockDevice;  // shows "Простой" from its entry
  CBEBlock* com1 = scheme.CreateBlock(betest::kPlainClassId);
  com1->flags |= kBeBlockDevice;
  com1->SetCaption(L"COM1");
  CBEBlock* older = scheme.CreateBlock(betest::kPlainClassId);
  older->flags |= kBeBlockDevice;
  older->SetCaption(L"USB0");
  CBEBlock* newest = scheme.CreateBlock(betest::kPlainClassId);
  newest->flags |= kBeBlockDevice;
  newest->SetCaption(L"USB0");
  EXPECT_EQ(com1, scheme.FindDeviceBlock(L"COM1"));
  EXPECT_EQ(newest, scheme.FindDeviceBlock(L"USB0"));
  EXPECT_EQ(nullptr, scheme.FindDeviceBlock(L"com1"));
  EXPECT_EQ(nullptr, scheme.FindDeviceBlock(L"Простой"));
  EXPECT_EQ(nullptr, scheme.FindDeviceBlock(nullptr));
}

TEST(BlockScheme, DeleteBlocksKeepsTheSelectedOnesWhenAsked) {
  BeScheme scheme;
  TestBlock* a = new TestBlock(0, 1);
  a->AttachToScheme(&scheme);
  TestBlock* b = new TestBlock(1, 1);
  b->AttachToScheme(&scheme);
  TestBlock* c = new TestBlock(1, 0);
  c->AttachToScheme(&scheme);
  Link(a, 0, b, 0);
  Link(b, 0, c, 0);
  b->flags |= kBeBlockSelected;
  c->flags |= kBeBlockSelected;
  scheme.DeleteBlocks(false);
  EXPECT_EQ(2, scheme.GetBlockCount());
  EXPECT_EQ(c, scheme.blocks);
  EXPECT_EQ(b, c->next);
  EXPECT_EQ(nullptr, b->inputs[0]->source);
  EXPECT_EQ(b->outputs[0], c->inputs[0]->source);
  scheme.DeleteBlocks(true);
  EXPECT_EQ(nullptr, scheme.blocks);
  EXPECT_EQ(0, scheme.GetBlockCount());
}

// A unit's scheme with a block, a macro block and, inside it, another block
// and a second macro block with one more block:
//   outer: base ROM 50000, shared-routine ROM 3000
//     A: ROM 100, RAM 10, cycles 5, shared routine
//     N: ROM 20, RAM 2, cycles 1 -> inner (base 0/0, own shared ROM 999)
//          B: ROM 200, RAM 30, cycles 7, shared routine
//          N2: -> inner2: C: ROM 1000, RAM 5, cycles 11
class Totals : public ::testing::Test {
protected:
  void SetUp() override {
    outer.sharedRoutineRom = 3000;
    a = new TestBlock(0, 0);
    a->AttachToScheme(&outer);
    a->rom = 100;
    a->ram = 10;
    a->cycles = 5;
    a->sharedRoutine = 1;
    n = MakeNesting(&outer);
    n->rom = 20;
    n->ram = 2;
    n->cycles = 1;
    n->inner.sharedRoutineRom = 999;
    b = new TestBlock(0, 0);
    b->AttachToScheme(&n->inner);
    b->rom = 200;
    b->ram = 30;
    b->cycles = 7;
    b->sharedRoutine = 1;
    n2 = MakeNesting(&n->inner);
    c = new TestBlock(0, 0);
    c->AttachToScheme(&n2->inner);
    c->rom = 1000;
    c->ram = 5;
    c->cycles = 11;
  }

  NestingBlock* MakeNesting(BeScheme* in) {
    NestingBlock* block = new NestingBlock;
    block->entry = &kMacroEntry;
    block->AttachToScheme(in);
    block->inner.parent = in;
    block->inner.baseRom = 0;
    block->inner.baseRam = 0;
    return block;
  }

  static const BeCatalogueEntry kMacroEntry;
  BeScheme outer;
  TestBlock* a = nullptr;
  NestingBlock* n = nullptr;
  TestBlock* b = nullptr;
  NestingBlock* n2 = nullptr;
  TestBlock* c = nullptr;
};
const BeCatalogueEntry Totals::kMacroEntry = {kBeMacroBlockClassId, L"Макроблок", nullptr, nullptr};

TEST_F(Totals, SumTheWholeTreeWithTheSharedRoutineOnce) {
  EXPECT_EQ(50000 + 100 + 3000 + 20 + 200 + 1000, outer.GetRomTotal(true));
  EXPECT_EQ(10 + 2 + 30 + 5, outer.GetRamTotal(true));
  EXPECT_EQ(5 + 1 + 7 + 11, outer.GetCyclesTotal(true));
  // Asked from inside, the whole program is the outermost scheme's.
  EXPECT_EQ(outer.GetRomTotal(true), n2->inner.GetRomTotal(true));
  EXPECT_EQ(outer.GetRamTotal(true), n->inner.GetRamTotal(true));
  EXPECT_EQ(outer.GetCyclesTotal(true), n2->inner.GetCyclesTotal(true));
  // For a nested scheme alone, its own shared-routine ROM counts.
  EXPECT_EQ(200 + 999 + 1000, n->inner.GetRomTotal(false));
  EXPECT_EQ(30 + 5, n->inner.GetRamTotal(false));
  EXPECT_EQ(7 + 11, n->inner.GetCyclesTotal(false));
}

TEST_F(Totals, SharedRoutineMetOnlyInsideAMacroCountsOnce) {
  a->sharedRoutine = 0;
  c->sharedRoutine = 1;
  EXPECT_EQ(50000 + 100 + 3000 + 20 + 200 + 1000, outer.GetRomTotal(true));
  b->sharedRoutine = 0;
  c->sharedRoutine = 0;
  EXPECT_EQ(50000 + 100 + 20 + 200 + 1000, outer.GetRomTotal(true));
}

TEST_F(Totals, OnlyMacroBlocksAreLookedInto) {
  n->entry = nullptr;  // a nesting block that is not a macro block
  EXPECT_EQ(50000 + 100 + 3000 + 20, outer.GetRomTotal(true));
  EXPECT_EQ(10 + 2, outer.GetRamTotal(true));
}

TEST(BlockScheme, EmptySchemeTotals) {
  BeScheme scheme;
  EXPECT_EQ(50000, scheme.GetRomTotal(true));
  EXPECT_EQ(0, scheme.GetRamTotal(true));
  EXPECT_EQ(0, scheme.GetCyclesTotal(true));
}

TEST(BlockScheme, TotalsHoldWithinTheIntegerRange) {
  BeScheme scheme;
  for (int i = 0; i < 3; ++i) {
    TestBlock* block = new TestBlock(0, 0);
    block->AttachToScheme(&scheme);
    block->rom = INT_MAX;
    block->cycles = INT_MAX;
  }
  EXPECT_EQ(INT_MAX, scheme.GetRomTotal(true));
  EXPECT_EQ(INT_MAX, scheme.GetCyclesTotal(true));
}

struct StartCase {
  int romLimit, ramLimit;
  int rom, ram;  // of the one block
  bool halted;
  std::vector<std::wstring> log;
};

TEST(BlockScheme, StartChecksTheProgramAgainstTheLimits) {
  const std::wstring romText =
      L"Программа не может быть записана в вычислитель, т.к. она занимает 50100 байт ПЗУ из 50050 "
      L"возможных!";
  const std::wstring ramText =
      L"Программа не может быть записана в вычислитель, т.к. она занимает 300 байт ОЗУ из 256 "
      L"возможных!";
  const StartCase cases[] = {
      {-1, -1, 100, 300, false, {}},
      {0, 0, 100, 300, false, {}},
      {50050, -1, 100, 300, true, {romText}},
      {50050, 1024, 100, 300, true, {romText}},
      {60000, 256, 100, 300, true, {ramText}},
      {50050, 256, 100, 300, true, {romText, ramText}},
      {50100, 300, 100, 300, false, {}},  // exactly full fits
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.romLimit);
    SCOPED_TRACE(c.ramLimit);
    LogWatch log;
    BeScheme scheme;
    scheme.romLimit = c.romLimit;
    scheme.ramLimit = c.ramLimit;
    TestBlock* block = new TestBlock(0, 0);
    block->AttachToScheme(&scheme);
    block->rom = c.rom;
    block->ram = c.ram;
    block->cycles = 10;
    scheme.budget = 777;
    scheme.Start();
    EXPECT_EQ(1, block->starts);
    EXPECT_EQ(c.halted, scheme.halted != 0);
    EXPECT_EQ(1, scheme.running);
    EXPECT_EQ(0, scheme.budget);
    EXPECT_EQ(c.log, log.Added());
    scheme.Step(0.001f);
    EXPECT_EQ(c.halted ? 0 : 1, block->steps);
    scheme.Stop();
    EXPECT_EQ(0, scheme.running);
    EXPECT_EQ(1, block->stops);
  }
}

TEST(BlockScheme, NestedSchemeChecksTheWholeProgram) {
  LogWatch log;
  BeScheme outer;
  outer.romLimit = 50010;
  NestingBlock* macro = new NestingBlock;
  static const BeCatalogueEntry macroEntry = {kBeMacroBlockClassId, L"Макроблок", nullptr, nullptr};
  macro->entry = &macroEntry;
  macro->AttachToScheme(&outer);
  macro->inner.parent = &outer;
  macro->inner.baseRom = 0;
  macro->inner.romLimit = outer.romLimit;
  TestBlock* inside = new TestBlock(0, 0);
  inside->AttachToScheme(&macro->inner);
  inside->rom = 20;
  macro->inner.Start();
  outer.Start();
  const std::wstring text =
      L"Программа не может быть записана в вычислитель, т.к. она занимает 50020 байт ПЗУ из 50010 "
      L"возможных!";
  EXPECT_EQ((std::vector<std::wstring>{text, text}), log.Added());
  EXPECT_EQ(1, macro->inner.halted);
  EXPECT_EQ(1, outer.halted);
}

// Runs ticks of 1 ms at 1 MHz over one block of the given cost and answers,
// per tick, whether a pass ran and the budget after it.
void RunTicks(int cost, int ticks, std::vector<int>* ran, std::vector<long long>* budgets) {
  BeScheme scheme;
  TestBlock* block = new TestBlock(0, 0);
  block->AttachToScheme(&scheme);
  block->cycles = cost;
  scheme.Start();
  for (int t = 1; t <= ticks; ++t) {
    int before = block->steps;
    scheme.Step(0.001f);
    if (block->steps != before) ran->push_back(t);
    budgets->push_back(scheme.budget);
    EXPECT_EQ(0.001f, block->lastDt);
  }
}

TEST(BlockScheme, StepPaysForDearPassesOverSeveralTicks) {
  std::vector<int> ran;
  std::vector<long long> budgets;
  RunTicks(2500, 10, &ran, &budgets);
  EXPECT_EQ((std::vector<int>{1, 3, 5, 8, 10}), ran);
  EXPECT_EQ((std::vector<long long>{1500, 500, 2000, 1000, 2500, 1500, 500, 2000, 1000, 2500}),
            budgets);
}

TEST(BlockScheme, CheapProgramRunsOnEveryTick) {
  std::vector<int> ran;
  std::vector<long long> budgets;
  RunTicks(400, 5, &ran, &budgets);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), ran);
  EXPECT_EQ((std::vector<long long>{1000, 1000, 1000, 1000, 1000}), budgets);
}

TEST(BlockScheme, TickBelowOneCycleRunsOnlyTheFirstPass) {
  BeScheme scheme;
  TestBlock* block = new TestBlock(0, 0);
  block->AttachToScheme(&scheme);
  block->cycles = 10;
  scheme.Start();
  for (int t = 0; t < 20; ++t) scheme.Step(1e-7f);  // 0.1 cycle a tick
  EXPECT_EQ(1, block->steps);
}

TEST(BlockScheme, StepRunsNewestBlockFirstAndValuesLagAPass) {
  BeScheme scheme;
  std::vector<int> trace;
  TestBlock* first = new TestBlock(0, 1);
  first->AttachToScheme(&scheme);
  TestBlock* second = new TestBlock(1, 1);
  second->AttachToScheme(&scheme);
  TestBlock* third = new TestBlock(1, 1);
  third->AttachToScheme(&scheme);
  first->tag = 1;
  second->tag = 2;
  third->tag = 3;
  for (TestBlock* b : {first, second, third}) b->trace = &trace;
  Link(first, 0, second, 0);
  Link(second, 0, third, 0);
  first->outputs[0]->SetInt(42);
  scheme.Start();
  scheme.Step(0.001f);
  EXPECT_EQ((std::vector<int>{3, 2, 1}), trace);
  // The third block ran before the second copied 42.
  EXPECT_EQ(42, second->outputs[0]->GetInt());
  EXPECT_EQ(0, third->outputs[0]->GetInt());
  scheme.Step(0.001f);
  EXPECT_EQ(42, third->outputs[0]->GetInt());
}

TEST(BlockScheme, TickCyclesStayWithinRange) {
  BeScheme scheme;
  struct Case {
    float frequency, dt;
    int cycles;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {1000000.0f, 0.001f, 1000}, {1000000.0f, 0.0f, 0},        {1000000.0f, -0.5f, 0},
      {3.0e9f, 1.0f, INT_MAX},    {1.0e30f, 1.0e30f, INT_MAX},  {1000000.0f, nan, 0},
      {inf, 1.0f, INT_MAX},       {-1000000.0f, 0.01f, 0},      {16000000.0f, 0.25f, 4000000},
      // 0.0001f is 9.99999974738e-5: 1599.9999 cycles, truncated.
      {16000000.0f, 0.0001f, 1599},
  };
  for (const Case& c : cases) {
    scheme.frequency = c.frequency;
    EXPECT_EQ(c.cycles, scheme.TickCycles(c.dt)) << c.frequency << " x " << c.dt;
  }
}

TEST(BlockScheme, HugeTicksNeitherOverflowNorStall) {
  BeScheme scheme;
  scheme.frequency = 1.0e30f;
  TestBlock* block = new TestBlock(0, 0);
  block->AttachToScheme(&scheme);
  block->cycles = INT_MAX;
  TestBlock* second = new TestBlock(0, 0);
  second->AttachToScheme(&scheme);
  second->cycles = INT_MAX;
  scheme.Start();
  for (int t = 0; t < 6; ++t) scheme.Step(1.0f);
  // Each tick supplies INT_MAX cycles and a pass costs twice that: passes
  // on ticks 1, 2, 4 and 6 (budgets M, 2M, M, 2M, M, 2M), and the budget
  // never wraps.
  EXPECT_EQ(4, block->steps);
  EXPECT_GT(scheme.budget, 0);
  EXPECT_LE(scheme.budget, 2LL * INT_MAX);
}

TEST(BlockScheme, StartAgainRestartsTheBlocksAndTheBudget) {
  BeScheme scheme;
  TestBlock* block = new TestBlock(0, 0);
  block->AttachToScheme(&scheme);
  block->cycles = 5000;
  scheme.Start();
  scheme.Step(0.001f);
  scheme.Step(0.001f);
  EXPECT_EQ(1, block->steps);
  scheme.Start();
  scheme.Step(0.001f);
  EXPECT_EQ(2, block->starts);
  EXPECT_EQ(2, block->steps);
}

// A block that, on its next step, deletes another block or adds a new one
// at the head of its scheme.
class ChangingBlock : public TestBlock {
public:
  ChangingBlock() : TestBlock(0, 0) {}
  void Step(float dt) override {
    TestBlock::Step(dt);
    if (victim) delete victim;
    victim = nullptr;
    if (added) added->AttachToScheme(scheme);
    added = nullptr;
  }
  CBEBlock* victim = nullptr;
  TestBlock* added = nullptr;
};

TEST(BlockScheme, PassesFollowBlocksAddedAndDeletedBetweenAndDuringPasses) {
  BeScheme scheme;
  std::vector<int> trace;
  auto make = [&](int tag) {
    TestBlock* block = new TestBlock(0, 0);
    block->tag = tag;
    block->trace = &trace;
    block->AttachToScheme(&scheme);
    return block;
  };
  make(1);
  TestBlock* two = make(2);
  make(3);
  scheme.Start();
  scheme.Step(0.001f);
  EXPECT_EQ((std::vector<int>{3, 2, 1}), trace);
  // Between passes: one block goes, one comes (at the head).
  delete two;
  make(4);
  trace.clear();
  scheme.Step(0.001f);
  EXPECT_EQ((std::vector<int>{4, 3, 1}), trace);

  // During a pass: the head block deletes a later block and adds one at the
  // head. The deleted block is not stepped, the rest of the pass goes on,
  // and the new block runs from the next pass.
  ChangingBlock* changer = new ChangingBlock;
  changer->tag = 9;
  changer->trace = &trace;
  changer->AttachToScheme(&scheme);
  TestBlock* three = nullptr;
  for (CBEBlock* b = scheme.blocks; b; b = b->next) {
    if (static_cast<TestBlock*>(b)->tag == 3) three = static_cast<TestBlock*>(b);
  }
  ASSERT_NE(nullptr, three);
  changer->victim = three;
  TestBlock* late = new TestBlock(0, 0);
  late->tag = 5;
  late->trace = &trace;
  changer->added = late;
  trace.clear();
  scheme.Step(0.001f);
  EXPECT_EQ((std::vector<int>{9, 4, 1}), trace);
  trace.clear();
  scheme.Step(0.001f);
  EXPECT_EQ((std::vector<int>{5, 9, 4, 1}), trace);
  EXPECT_EQ(4, scheme.GetBlockCount());
}

TEST(BlockScheme, PassWalksTheListWhenMemoryForItsOrderRunsOut) {
  BeScheme scheme;
  std::vector<int> trace;
  for (int tag = 1; tag <= 3; ++tag) {
    TestBlock* block = new TestBlock(0, 0);
    block->tag = tag;
    block->trace = &trace;
    block->AttachToScheme(&scheme);
  }
  scheme.Start();
  {
    CBufferFailureScope refuse(0);
    scheme.Step(0.001f);
    EXPECT_GT(refuse.GetRefusals(), 0);
  }
  EXPECT_EQ((std::vector<int>{3, 2, 1}), trace);
  trace.clear();
  scheme.Step(0.001f);
  EXPECT_EQ((std::vector<int>{3, 2, 1}), trace);
}

}  // namespace
