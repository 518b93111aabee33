// The block test kit itself: its sources, its passes, its owner, its record
// and drawing helpers, so the library's tests can rely on them.
#include <gtest/gtest-spi.h>

#include "block_kit.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/div2.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;

TEST(BlockKit, SourcesOfEveryLayout) {
  Bench bench;
  auto* s = bench.Source(kBeSignalChar);
  s->SetInt(-2);
  EXPECT_EQ(std::vector<uint8_t>({0xFE, 0, 0, 0, 0, 0, 0, 0}), blocktest::ValueBytes(s));
  EXPECT_EQ(-2, blocktest::ReadInt(s));
  s->SetInt(300);  // wraps in 8 bits
  EXPECT_EQ(44, blocktest::ReadInt(s));
  s->SetType(kBeSignalShort);
  s->SetInt(-32769);
  EXPECT_EQ(32767, blocktest::ReadInt(s));
  s->SetType(kBeSignalInt);
  s->Set(-7.9);  // toward zero
  EXPECT_EQ(-7, blocktest::ReadInt(s));
  s->SetType(kBeSignalFloat);
  s->Set(0.1);
  EXPECT_EQ(0.1f, blocktest::ReadFloat(s));
  EXPECT_EQ(static_cast<double>(0.1f), blocktest::ReadValue(s));
  s->SetType(kBeSignalDouble);
  s->Set(0.1);
  EXPECT_EQ(0.1, blocktest::ReadDouble(s));
  s->SetType(kBeSignalBit);
  s->Set(5);
  EXPECT_EQ(1, blocktest::ReadInt(s));
  // PWM: period, then the duty ratio.
  s->SetType(kBeSignalPwm);
  s->SetPwm(0.02f, 0.25f);
  EXPECT_EQ(std::vector<uint8_t>({0x0A, 0xD7, 0xA3, 0x3C, 0x00, 0x00, 0x80, 0x3E}), blocktest::ValueBytes(s));
  // Messages: counter, tag, byte 3 and the handle in bytes 4-7.
  s->SetType(kBeSignalVideo);
  s->SetMessage(0x1F5, 0x33EE, 0x00070002u);
  EXPECT_EQ(std::vector<uint8_t>({0xF5, 0xEE, 0x33, 0x00, 0x02, 0x00, 0x07, 0x00}), blocktest::ValueBytes(s));
  s->SetMessage(0x1F5, 0x332E, 0x00070002u, true);
  EXPECT_EQ(std::vector<uint8_t>({0xF5, 0x01, 0x2E, 0x33, 0x02, 0x00, 0x07, 0x00}), blocktest::ValueBytes(s));
  s->SetMessage(9, 0x31A0, 0x12345678u, false, 3);
  EXPECT_EQ(std::vector<uint8_t>({0x09, 0xA0, 0x31, 0x03, 0x78, 0x56, 0x34, 0x12}), blocktest::ValueBytes(s));
  EXPECT_EQ(0x12345678u, BeGetPayloadHandle(s->Output(0)->value));
  s->SetBytes({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(std::vector<uint8_t>({1, 2, 3, 4, 5, 6, 7, 8}), blocktest::ValueBytes(s));
  // Every concrete type can be a source's.
  for (BeSignalType t = 0; t <= kBeLastConcreteSignalType; ++t) {
    s->SetType(t);
    EXPECT_EQ(t, s->Output(0)->type);
  }
}

TEST(BlockKit, SourcesGoThroughStreamsWithTheirValues) {
  Bench bench;
  auto* s = bench.Source(kBeSignalVideo);
  s->SetMessage(4, 0x33EE, 0x00010001u);
  auto* neg = bench.Create<CBENeg>(kBeNegClassId);
  auto* c = bench.Source(kBeSignalChar);
  c->SetInt(9);
  bench.Link(c, neg);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto sources = blocktest::BlocksOf<blocktest::Source>(copy.get());
  ASSERT_EQ(2u, sources.size());  // head first: c, s
  EXPECT_EQ(kBeSignalChar, sources[0]->Type());
  EXPECT_EQ(9, blocktest::ReadInt(sources[0]));
  EXPECT_EQ(kBeSignalVideo, sources[1]->Type());
  EXPECT_EQ(blocktest::ValueBytes(s), blocktest::ValueBytes(sources[1]));
  auto negs = blocktest::BlocksOf<CBENeg>(copy.get());
  ASSERT_EQ(1u, negs.size());
  EXPECT_EQ(sources[0]->Output(0), negs[0]->Input(0)->source);
}

TEST(BlockKit, LinkChecksTypesAsTheEditorDoes) {
  Bench bench;
  auto* f = bench.Source(kBeSignalFloat);
  auto* neg = bench.Create<CBENeg>(kBeNegClassId);  // char
  EXPECT_NONFATAL_FAILURE(bench.Link(f, neg), "into input type");
  bench.LinkAnyway(f, 0, neg, 0);
  EXPECT_EQ(f->Output(0), neg->Input(0)->source);
  bench.Unlink(neg);
  EXPECT_EQ(nullptr, neg->Input(0)->source);
}

// Pass steps every block once whatever it costs; Tick runs the scheme's
// budget.
TEST(BlockKit, PassesAndBudgetedTicks) {
  Bench bench;
  auto* div = bench.Create<CBEDiv2>(kBeDiv2ClassId);  // 64 cycles
  auto* counter = bench.Source(kBeSignalChar);
  auto* add = bench.Create<CBEAdd>(kBeAddClassId);  // 1 cycle: out = in + 1
  bench.Link(counter, add);
  bench.Link(add, div, 0);
  bench.scheme.frequency = 20000.0f;  // 20 cycles a tick of 1 ms
  EXPECT_FALSE(bench.scheme.running);
  bench.Pass();
  EXPECT_TRUE(bench.scheme.running);
  EXPECT_EQ(1, blocktest::ReadInt(add));
  bench.Passes(3);
  EXPECT_EQ(1, blocktest::ReadInt(div));
  // Budgeted: a pass costs 65 cycles (64 + 1 + the source's 0) and a tick
  // brings 20.
  bench.Stop();
  int passes = 0;
  memset(div->Output(0)->value, 0, 8);
  for (int t = 0; t < 10; ++t) {
    div->Output(0)->value[0] = 0;
    bench.Tick();
    passes += div->Output(0)->value[0] != 0;
  }
  // Budget after each tick: 45 (pass), 25, 5, 50 (pass), 30, 10, 55 (pass),
  // 35, 15, 60 (pass).
  EXPECT_EQ(4, passes);
}

// A device block of the test: reads pin 0 of the scheme's owner and drives
// pin 1 with twice that voltage behind 10 ohms.
class Doubler : public CBEBlock {
public:
  Doubler() { SetOutputCount(0); }
  void Step(float) override {
    CSCHBlock* owner = scheme ? scheme->owner : nullptr;
    if (!owner) return;
    SchPinState in = {};
    owner->GetPinState(0, &in);
    SchPinState out = {};
    out.U = 2 * in.U;
    out.R = 10;
    owner->SetPinState(1, out);
  }
};

TEST(BlockKit, FakeOwnerFeedsPinsAndRecordsWhatTheBlockDrives) {
  Bench bench;
  blocktest::FakeOwner& owner = bench.UseFakeOwner(2);
  EXPECT_EQ(&owner, bench.scheme.owner);
  EXPECT_EQ(2, owner.pinCount);
  auto* doubler = new Doubler;
  doubler->AttachToScheme(&bench.scheme);
  owner.Feed(0, 1.5f, 1e-5f);
  bench.Pass();
  EXPECT_NEAR(1.5f, owner.Reads(0).U, 1e-4f);
  blocktest::PinDrive d = owner.Drive(1);
  EXPECT_NEAR(3.0f, d.U, 1e-4f);
  EXPECT_NEAR(10.0f, d.R, 1e-3f);
  EXPECT_EQ(0, d.sourceKind);
  bench.Passes(3);  // the same drive: recorded once
  ASSERT_EQ(1u, owner.Drives(1).size());
  owner.Feed(0, 2.0f, 1e-5f);
  bench.Pass();
  ASSERT_EQ(2u, owner.Drives(1).size());
  EXPECT_NEAR(4.0f, owner.Drives(1)[1].U, 1e-4f);
  // Pin 0 is never driven by the block: its own 5 megohms to 0 V.
  ASSERT_EQ(1u, owner.Drives(0).size());
  EXPECT_NEAR(5e6f, owner.Drives(0)[0].R, 1.0f);
  owner.ClearDrives();
  EXPECT_TRUE(owner.Drives(1).empty());
}

TEST(BlockKit, TruncationsVisitEveryPrefix) {
  auto add = blocktest::NewDetached<CBEAdd>(kBeAddClassId);
  std::vector<uint8_t> record = blocktest::RecordBytes(add.get());
  EXPECT_EQ(5u + 40u, record.size());
  std::vector<size_t> seen;
  blocktest::ForEachTruncation<CBEAdd>(kBeAddClassId, record, [&](CBEAdd* block, size_t n, bool loaded) {
    seen.push_back(n);
    EXPECT_EQ(n == record.size(), loaded);
    EXPECT_EQ(kBeAddClassId, block->GetClassId());
  });
  ASSERT_EQ(record.size() + 1, seen.size());
  EXPECT_EQ(0u, seen.front());
  // The golden builder lays out a base record by hand.
  EXPECT_EQ(blocktest::BaseRecordBytes(add.get()),
            blocktest::Golden().Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 100, 20}, 1, 1)).Bytes());
  EXPECT_EQ(std::vector<uint8_t>({0x41, 0x00, 0x00, 0x00}), blocktest::Golden().WStr(L"A").Bytes());
  EXPECT_EQ(std::vector<uint8_t>({0xFE, 0xFF}), blocktest::Golden().I16(-2).Bytes());
}

bool g_dialogRan = false;
bool MarkDialog(CBEBlock*) {
  g_dialogRan = true;
  return true;
}

TEST(BlockKit, ScopesPutTheProgramsTablesBack) {
  int before = BeBlockDialogTable::Program().Count();
  {
    blocktest::DialogScope dialogs;
    dialogs.Set(0x7E5B0099, MarkDialog);
    g_dialogRan = false;
    CBEBlock block;
    EXPECT_TRUE(ShowBlockDialog(&block, 0x7E5B0099));
    EXPECT_TRUE(g_dialogRan);
  }
  EXPECT_EQ(before, BeBlockDialogTable::Program().Count());
  EXPECT_EQ(nullptr, BeBlockDialogTable::Program().Find(0x7E5B0099));

  int creators = BeBlockCreatorTable::Program().Count();
  {
    blocktest::CreatorScope scope;
    BeBlockCreatorTable::Program().Set(0x7E5B0098, blocktest::Source::Create);
  }
  EXPECT_EQ(creators, BeBlockCreatorTable::Program().Count());
  EXPECT_EQ(nullptr, BeBlockCreatorTable::Program().Find(0x7E5B0098));

  int x = 0;
  BePayloadHandle h;
  {
    blocktest::PayloadScope payloads;
    h = payloads.Table().Add(&x, &x);
    EXPECT_EQ(&x, BePayloadTable::Program().Resolve(h));
  }
  EXPECT_EQ(nullptr, BePayloadTable::Program().Resolve(h));
  EXPECT_EQ(0, BePayloadTable::Program().LiveCount());
}

TEST(BlockKit, CanvasDrawsAndProbes) {
  Bench bench;
  auto* add = bench.Create<CBEAdd>(kBeAddClassId);
  blocktest::Canvas canvas(140, 60);
  EXPECT_EQ(0, canvas.Ink(0, 0, 139, 59));
  EXPECT_TRUE(canvas.Draw(add, 20, 20));
  EXPECT_EQ(20, add->rect.left);
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(20, 20));
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(119, 39));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(120, 40));
  EXPECT_EQ(100 * 20, canvas.Ink(20, 20, 119, 39));
  EXPECT_GT(canvas.Count(21, 21, 118, 38, RGB(0, 0, 0)), 0) << "the caption";
  // The painted block has its pin marks outside the body.
  blocktest::Canvas painted(140, 60);
  painted.Paint(add, 20, 20);
  EXPECT_EQ(RGB(0, 0, 0), painted.At(121, 30));
  EXPECT_FALSE(blocktest::SamePixels(canvas, painted));
  EXPECT_TRUE(blocktest::SamePixels(canvas, canvas));
}

TEST(BlockKit, CostsCompareAndPrint) {
  EXPECT_EQ(blocktest::Costs(1, 2, 0, true), blocktest::Costs(1, 2, 0, true));
  EXPECT_NE(blocktest::Costs(1, 2, 0, true), blocktest::Costs(1, 2, 0, false));
  EXPECT_EQ("5 cycles, 4 ROM, 0 RAM, shared", testing::PrintToString(blocktest::Costs(5, 4, 0, true)));
}

}  // namespace
