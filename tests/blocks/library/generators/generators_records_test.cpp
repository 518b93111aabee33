// The records of the "Генераторы" blocks: golden bytes written from their
// layouts, the constant in every type, what Load refuses, every truncation,
// and costs before and after a reload.
#include <cstring>
#include <vector>

#include "block_kit.h"
#include "blocks/library/generators/constant.h"
#include "blocks/library/generators/duration.h"
#include "blocks/library/generators/event.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/generators/monostable.h"
#include "blocks/library/generators/single_impuls.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::NewDetached;
using blocktest::RecordBytes;

BaseRecord Base(int width, int height, int inputs) {
  return BaseRecord::Unlinked(RECT{0, 0, width, height}, inputs, 1);
}

// A base record placed elsewhere, with a caption and flags.
BaseRecord Placed(int width, int height, int inputs, const wchar_t* caption) {
  BaseRecord r = BaseRecord::Unlinked(RECT{30, 40, 30 + width, 40 + height}, inputs, 1);
  r.caption = caption;
  r.flags = 0x02;
  r.outputs[0].id = 77;
  r.outputs[0].hardware = 1;
  // A link's source identity is written from the linked output, so a block
  // out of a scheme writes 0 there; the route is its own.
  if (inputs) r.inputs[0] = {0, 1, 2, 3};
  return r;
}

// ------------------------------------------------------------ constant

TEST(ConstantRecord, EveryType) {
  struct Row {
    BeSignalType type;
    const wchar_t* text;
    std::vector<uint8_t> fields;  // type byte and value bytes
    Costs costs;
  } rows[] = {
      {kBeSignalBit, L"1", {1, 1, 0, 0, 0}, Costs(3, 2)},
      {kBeSignalChar, L"-2", {2, 0xFE, 0xFF, 0xFF, 0xFF}, Costs(1, 2)},
      {kBeSignalShort, L"1000", {3, 0xE8, 0x03, 0, 0}, Costs(2, 4)},
      {kBeSignalInt, L"16909060", {4, 0x04, 0x03, 0x02, 0x01}, Costs(4, 8)},
      {kBeSignalFloat, L"-1.5", {5, 0, 0, 0xC0, 0xBF}, Costs(4, 8)},
      // Double: the flagged type byte and all eight bytes of 0.1.
      {kBeSignalDouble, L"0.1", {128, 0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F}, Costs(8, 16)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "type " << row.type);
    auto c = NewDetached<CBEConstant>(kBeConstantClassId);
    ASSERT_TRUE(c->SetValueFromText(row.type, row.text));
    std::vector<uint8_t> golden = Golden().Raw(row.fields.data(), row.fields.size()).Base(Base(80, 20, 0)).Bytes();
    std::vector<uint8_t> record = RecordBytes(c.get());
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
    // Read back into a new constant: the type, the value, the costs.
    auto back = NewDetached<CBEConstant>(kBeConstantClassId);
    EXPECT_EQ(Costs(0, 0), CostsOf(back.get())) << "a new constant costs nothing";
    ASSERT_TRUE(blocktest::LoadBytes(back.get(), record));
    EXPECT_EQ(row.type, back->GetType());
    EXPECT_EQ(blocktest::ValueBytes(c.get()), blocktest::ValueBytes(back.get()));
    EXPECT_EQ(row.costs, CostsOf(back.get()));
    blocktest::ExpectTruncationsRefused<CBEConstant>(kBeConstantClassId, record);
  }
}

TEST(ConstantRecord, TypeBytesAndValueWidths) {
  // Type byte 6 itself: double with four value bytes, the other four kept.
  auto c = NewDetached<CBEConstant>(kBeConstantClassId);
  memset(c->Output(0)->value, 0x55, 8);
  ASSERT_TRUE(blocktest::LoadBytes(c.get(), Golden().B(6).B(1).B(2).B(3).B(4).Base(Base(80, 20, 0)).Bytes()));
  EXPECT_EQ(kBeSignalDouble, c->GetType());
  EXPECT_EQ(std::vector<uint8_t>({1, 2, 3, 4, 0x55, 0x55, 0x55, 0x55}), blocktest::ValueBytes(c.get()));
  EXPECT_EQ(Costs(8, 16), CostsOf(c.get()));
  // Saved again it is the flagged byte with eight bytes.
  EXPECT_EQ(128, RecordBytes(c.get())[0]);
  EXPECT_EQ(9u + 24u, RecordBytes(c.get()).size());

  // Another concrete type is kept, with no cost of its own.
  auto pulse = NewDetached<CBEConstant>(kBeConstantClassId);
  std::vector<uint8_t> record = Golden().B(kBeSignalPulseA).I32(3).Base(Base(80, 20, 0)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(pulse.get(), record));
  EXPECT_EQ(kBeSignalPulseA, pulse->GetType());
  EXPECT_EQ(Costs(0, 0), CostsOf(pulse.get()));
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(pulse.get()), record));

  // Codes no output carries are refused, the block as it was.
  for (int code : {37, 38, 40, 127, 129, 255}) {
    auto refused = NewDetached<CBEConstant>(kBeConstantClassId);
    std::vector<uint8_t> before = RecordBytes(refused.get());
    EXPECT_FALSE(blocktest::LoadBytes(refused.get(), Golden().B(code).I32(1).Base(Base(80, 20, 0)).Bytes()))
        << code;
    EXPECT_TRUE(velktest::BytesEqual(before, RecordBytes(refused.get()))) << code;
  }
}

// ------------------------------------------------------------ the timed blocks

TEST(GeneratorRecords, GoldenBytes) {
  auto m = NewDetached<CBEMeander>(kBeMeanderClassId);
  m->period = 250.0f;
  m->initialPhase = 12.5f;
  m->phase = 99.0f;  // run-time: not saved
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(m.get()), Golden().F(250.0f).F(12.5f).Base(Base(80, 30, 0)).Bytes()));
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(m.get()), velktest::ParseHex(R"(
      00 00 7A 43  00 00 48 41
      00 00 00 00  00 00 00 00  50 00 00 00  1E 00 00 00
      00 00
      00
      00 00 00 00  00)")));

  auto p = NewDetached<CBESingleImpuls>(kBeSingleImpulsClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(p.get()), Golden().Base(Base(80, 30, 0)).F(-1.0f).F(0.0f).Bytes()));

  auto shot = NewDetached<CBEMonostable>(kBeMonostableClassId);
  shot->duration = 1500;
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(shot.get()), Golden().Base(Base(90, 35, 1)).I32(1500).Bytes()));

  auto ext = NewDetached<CBEDuration>(kBeDurationClassId);
  ext->extension = -7;
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(ext.get()), Golden().Base(Base(90, 35, 1)).I32(-7).Bytes()));

  auto event = NewDetached<CBEEvent>(kBeEventClassId);
  event->kind = kEventDecrease;
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(event.get()), Golden().Base(Base(70, 30, 1)).B(1).Bytes()));
}

TEST(GeneratorRecords, LoadTakesEveryField) {
  auto m = NewDetached<CBEMeander>(kBeMeanderClassId);
  std::vector<uint8_t> record = Golden().F(40.0f).F(-3.0f).Base(Placed(80, 30, 0, L"Такт")).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(m.get(), record));
  EXPECT_EQ(40.0f, m->period);
  EXPECT_EQ(-3.0f, m->initialPhase);
  EXPECT_STREQ(L"Такт", m->caption);
  EXPECT_EQ(30, m->rect.left);
  EXPECT_EQ(77u, m->Output(0)->savedId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(m.get()), record));

  auto p = NewDetached<CBESingleImpuls>(kBeSingleImpulsClassId);
  record = Golden().Base(Placed(80, 30, 0, L"Пуск")).F(20.0f).F(5.0f).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(p.get(), record));
  EXPECT_EQ(20.0f, p->period);
  EXPECT_EQ(5.0f, p->initialDelay);
  EXPECT_STREQ(L"Пуск", p->caption);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(p.get()), record));

  auto event = NewDetached<CBEEvent>(kBeEventClassId);
  record = Golden().Base(Placed(70, 30, 1, L"E")).B(0).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(event.get(), record));
  EXPECT_EQ(kEventIncrease, event->kind);
  EXPECT_EQ(1, event->Input(0)->routeX1);
  EXPECT_EQ(kBeSignalAnyScalar, event->Input(0)->type);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(event.get()), record));
}

TEST(GeneratorRecords, EveryTruncationIsRefusedAndChangesNothing) {
  auto c = NewDetached<CBEConstant>(kBeConstantClassId);
  c->SetValueFromText(kBeSignalShort, L"-3");
  blocktest::ExpectTruncationsRefused<CBEConstant>(kBeConstantClassId, RecordBytes(c.get()));

  // Records that differ from a new block in every field; those that put
  // the base record first with a caption, so that a cut in its middle is
  // seen too.
  blocktest::ExpectTruncationsRefused<CBEMeander>(kBeMeanderClassId,
                                                  Golden().F(40.0f).F(-3.0f).Base(Placed(80, 30, 0, nullptr)).Bytes());
  blocktest::ExpectTruncationsRefused<CBESingleImpuls>(
      kBeSingleImpulsClassId, Golden().Base(Placed(80, 30, 0, L"Пуск")).F(20.0f).F(5.0f).Bytes());
  blocktest::ExpectTruncationsRefused<CBEMonostable>(
      kBeMonostableClassId, Golden().Base(Placed(90, 35, 1, L"Ждущий")).I32(250).Bytes());
  blocktest::ExpectTruncationsRefused<CBEDuration>(kBeDurationClassId,
                                                   Golden().Base(Placed(90, 35, 1, L"Продл")).I32(0).Bytes());
  blocktest::ExpectTruncationsRefused<CBEEvent>(kBeEventClassId, Golden().Base(Placed(70, 30, 1, L"E")).B(0).Bytes());
}

// A scheme of generators goes through the "BE5 " stream and comes back
// with its fields and links.
TEST(GeneratorRecords, RoundTripThroughTheSchemeStream) {
  blocktest::Bench bench;
  auto* c = bench.Create<CBEConstant>(kBeConstantClassId);
  c->SetValueFromText(kBeSignalDouble, L"2.75");
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  m->period = 80.0f;
  auto* shot = bench.Create<CBEMonostable>(kBeMonostableClassId);
  shot->duration = 333;
  bench.Link(m, shot);
  auto* event = bench.Create<CBEEvent>(kBeEventClassId);
  event->kind = kEventIncrease;
  bench.Link(c, event);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto constants = blocktest::BlocksOf<CBEConstant>(copy.get());
  auto meanders = blocktest::BlocksOf<CBEMeander>(copy.get());
  auto shots = blocktest::BlocksOf<CBEMonostable>(copy.get());
  auto events = blocktest::BlocksOf<CBEEvent>(copy.get());
  ASSERT_EQ(1u, constants.size());
  ASSERT_EQ(1u, meanders.size());
  ASSERT_EQ(1u, shots.size());
  ASSERT_EQ(1u, events.size());
  EXPECT_EQ(2.75, constants[0]->Output(0)->GetDouble());
  EXPECT_EQ(Costs(8, 16), CostsOf(constants[0]));
  EXPECT_EQ(80.0f, meanders[0]->period);
  EXPECT_EQ(333, shots[0]->duration);
  EXPECT_EQ(meanders[0]->Output(0), shots[0]->Input(0)->source);
  EXPECT_EQ(kEventIncrease, events[0]->kind);
  EXPECT_EQ(constants[0]->Output(0), events[0]->Input(0)->source);
}

}  // namespace
