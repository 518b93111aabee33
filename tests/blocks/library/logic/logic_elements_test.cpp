// The logic elements of the "Логика" group: the NOT element, AND and OR
// with a mask, the multi-input AND and OR elements (with the PWM signal
// they pass through in bit mode) and the bit extractor: what each is made
// as, its truth tables by type, unlinked inputs, costs and records.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "logic_kit.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "support/test_support.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using logictest::SetInputs;
using logictest::SetType;

std::vector<uint8_t> Bytes8(std::initializer_list<uint8_t> head) {
  std::vector<uint8_t> v(head);
  v.resize(8, 0);
  return v;
}

// The eight bytes of a PWM value.
std::vector<uint8_t> PwmBytes(float period, float duty) {
  std::vector<uint8_t> v(8);
  memcpy(v.data(), &period, 4);
  memcpy(v.data() + 4, &duty, 4);
  return v;
}

// ------------------------------------------------------------ construction

TEST(LogicElements, EachIsMadeWithItsSizePinsTypeAndCosts) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height;
    int inputs;
    BeSignalType inputType, outputType;
    Costs costs;
  } rows[] = {
      {kBeNotClassId, L"Элемент НЕ", 80, 20, 1, kBeSignalBit, kBeSignalBit, Costs(1, 2)},
      {kBeAndClassId, L"Побитовая операция \"И\" с константой", 120, 20, 1, kBeSignalChar, kBeSignalChar, Costs(1, 2)},
      {kBeOrClassId, L"Побитовая операция ИЛИ с константой", 120, 20, 1, kBeSignalChar, kBeSignalChar, Costs(1, 2)},
      {kBeAnd2ClassId, L"Элемент И", 80, 40, 2, kBeSignalBit, kBeSignalBit, Costs(1, 2)},
      {kBeOr2ClassId, L"Элемент ИЛИ", 80, 40, 2, kBeSignalBit, kBeSignalBit, Costs(1, 2)},
      {kBeGetBitClassId, L"Получить бит числа", 100, 20, 1, kBeSignalChar, kBeSignalBit, Costs(6, 4)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(row.classId, block->GetClassId());
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(static_cast<COLORREF>(0x33FFFF), block->fillColor);
    EXPECT_EQ(0, block->ram);
    ASSERT_EQ(row.inputs, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    for (int i = 0; i < block->inputCount; ++i) {
      EXPECT_EQ(row.inputType, block->Input(i)->type) << i;
      EXPECT_EQ(nullptr, block->Input(i)->name) << i;
      EXPECT_EQ(10 + 20 * i, block->Input(i)->yOffset) << i;
    }
    EXPECT_EQ(row.outputType, block->Output(0)->type);
    EXPECT_EQ(nullptr, block->Output(0)->name);
    EXPECT_EQ(row.costs, CostsOf(block));
  }
  EXPECT_EQ(0x7Fu, bench.Create<CBEAnd>(kBeAndClassId)->mask);
  EXPECT_EQ(0x0Fu, bench.Create<CBEOr>(kBeOrClassId)->mask);
  EXPECT_EQ(7, bench.Create<CBEGetBit>(kBeGetBitClassId)->bitNumber);
}

// ------------------------------------------------------------ costs

TEST(LogicElements, CostsByType) {
  Bench bench;
  const Costs kNone(-1, -1);  // no row: the costs before stay
  // bit, char, short, int, float, double.
  struct Row {
    unsigned int classId;
    Costs costs[6];
  } rows[] = {
      {kBeNotClassId, {Costs(1, 2), Costs(1, 2), Costs(4, 8), Costs(8, 16), kNone, kNone}},
      {kBeAndClassId, {kNone, Costs(1, 2), Costs(2, 4), Costs(4, 8), kNone, kNone}},
      {kBeOrClassId, {kNone, Costs(1, 2), Costs(2, 4), Costs(4, 8), kNone, kNone}},
      {kBeAnd2ClassId, {Costs(1, 2), Costs(1, 2), Costs(2, 4), Costs(4, 8), kNone, kNone}},
      {kBeOr2ClassId, {Costs(1, 2), Costs(1, 2), Costs(2, 4), Costs(4, 8), kNone, kNone}},
  };
  for (const Row& row : rows) {
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    Costs before = CostsOf(block);
    for (BeSignalType type : {kBeSignalInt, kBeSignalBit, kBeSignalShort, kBeSignalFloat, kBeSignalChar,
                              kBeSignalDouble, kBeSignalShort, kBeSignalInt}) {
      // A flag left set is cleared by every cost operation.
      block->sharedRoutine = 1;
      SetType(block, type);
      Costs expected = row.costs[type - kBeSignalBit];
      if (expected == kNone) expected = Costs(before.cycles, before.rom);
      EXPECT_EQ(expected, CostsOf(block)) << std::hex << row.classId << std::dec << " type " << type;
      before = CostsOf(block);
    }
  }
  // The bit extractor's costs are fixed.
  auto* bit = bench.Create<CBEGetBit>(kBeGetBitClassId);
  for (BeSignalType type : {kBeSignalShort, kBeSignalInt}) {
    SetType(bit, type);
    EXPECT_EQ(Costs(6, 4), CostsOf(bit));
  }
}

TEST(LogicElements, TheOrElementCostsGrowWithItsInputsAndTheAndElementsDoNot) {
  Bench bench;
  auto* or2 = bench.Create<CBEOr2>(kBeOr2ClassId);
  auto* and2 = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  SetInputs(or2, 5);
  SetInputs(and2, 5);
  // n - 1 = 4 operations.
  struct Row {
    BeSignalType type;
    Costs or2, and2;
  } rows[] = {{kBeSignalBit, Costs(4, 8), Costs(1, 2)},
              {kBeSignalChar, Costs(4, 8), Costs(1, 2)},
              {kBeSignalShort, Costs(8, 16), Costs(2, 4)},
              {kBeSignalInt, Costs(16, 32), Costs(4, 8)}};
  for (const Row& row : rows) {
    SetType(or2, row.type);
    SetType(and2, row.type);
    EXPECT_EQ(row.or2, CostsOf(or2)) << row.type;
    EXPECT_EQ(row.and2, CostsOf(and2)) << row.type;
  }
  // 127 inputs of int: 4 x 126 cycles, 8 x 126 bytes; 100 pixels per five.
  SetInputs(or2, 127);
  EXPECT_EQ(Costs(504, 1008), CostsOf(or2));
  EXPECT_EQ(2540, or2->Height());
  EXPECT_EQ(100, and2->Height());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(kBeSignalInt, and2->Input(i)->type) << i;
    EXPECT_EQ(10 + 20 * i, and2->Input(i)->yOffset) << i;
  }
  EXPECT_EQ(50, and2->Output(0)->yOffset);
}

// ------------------------------------------------------------ one-input elements

// A block of a type, one source of that type (or of sourceType), one pass;
// the output bytes.
struct OneInput {
  unsigned int classId;
  BeSignalType type;
  uint32_t field;  // the mask (AND, OR) or the bit number (GetBit)
  BeSignalType sourceType;
  std::vector<uint8_t> input;  // the source's bytes; empty: unlinked
  std::vector<uint8_t> expected;
};

void RunOneInput(const OneInput* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const OneInput& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": class " << std::hex << c.classId << std::dec
                                    << ", type " << c.type);
    Bench bench;
    CBEBlock* block = bench.Create<CBEBlock>(c.classId);
    ASSERT_NE(nullptr, block);
    SetType(block, c.type);
    if (auto* b = dynamic_cast<CBEAnd*>(block)) b->mask = c.field;
    if (auto* b = dynamic_cast<CBEOr*>(block)) b->mask = c.field;
    if (auto* b = dynamic_cast<CBEGetBit*>(block)) b->bitNumber = static_cast<unsigned char>(c.field);
    memset(block->Output(0)->value, 0xAA, 8);
    if (!c.input.empty()) {
      auto* source = bench.Source(c.sourceType);
      source->SetBytes(c.input);
      bench.LinkAnyway(source, 0, block, 0);
    }
    bench.Pass();
    EXPECT_TRUE(velktest::BytesEqual(blocktest::ValueBytes(block), c.expected));
  }
}

const std::vector<uint8_t> kUntouched(8, 0xAA);
std::vector<uint8_t> Over(std::initializer_list<uint8_t> head) {
  std::vector<uint8_t> v(head);
  v.resize(8, 0xAA);
  return v;
}

TEST(LogicElements, NotTruthTable) {
  const OneInput cases[] = {
      {kBeNotClassId, kBeSignalBit, 0, kBeSignalBit, {0}, Over({1})},
      {kBeNotClassId, kBeSignalBit, 0, kBeSignalBit, {1}, Over({0})},
      {kBeNotClassId, kBeSignalBit, 0, kBeSignalBit, {5}, Over({0})},  // any byte but 0 is true
      {kBeNotClassId, kBeSignalBit, 0, kBeSignalBit, {}, kUntouched},  // unlinked
      {kBeNotClassId, kBeSignalChar, 0, kBeSignalChar, {0x00}, Over({0xFF})},  // 0 -> -1
      {kBeNotClassId, kBeSignalChar, 0, kBeSignalChar, {0x80}, Over({0x7F})},  // -128 -> 127
      {kBeNotClassId, kBeSignalChar, 0, kBeSignalChar, {0x55}, Over({0xAA})},
      {kBeNotClassId, kBeSignalShort, 0, kBeSignalShort, {0x34, 0x12}, Over({0xCB, 0xED})},
      {kBeNotClassId, kBeSignalShort, 0, kBeSignalShort, {0xFF, 0xFF}, Over({0, 0})},
      {kBeNotClassId, kBeSignalInt, 0, kBeSignalInt, {0, 0, 0, 0x80}, Over({0xFF, 0xFF, 0xFF, 0x7F})},
      {kBeNotClassId, kBeSignalInt, 0, kBeSignalInt, {0x78, 0x56, 0x34, 0x12}, Over({0x87, 0xA9, 0xCB, 0xED})},
      {kBeNotClassId, kBeSignalInt, 0, kBeSignalInt, {}, kUntouched},
      // No rule for float and double: nothing is written.
      {kBeNotClassId, kBeSignalFloat, 0, kBeSignalFloat, {0, 0, 0x80, 0x3F}, kUntouched},
      {kBeNotClassId, kBeSignalDouble, 0, kBeSignalDouble, {1, 2, 3, 4, 5, 6, 7, 8}, kUntouched},
  };
  RunOneInput(cases, sizeof cases / sizeof cases[0]);
}

TEST(LogicElements, MaskOperationsInTheWidthOfTheType) {
  const OneInput cases[] = {
      // AND: the default mask 0x7F.
      {kBeAndClassId, kBeSignalChar, 0x7F, kBeSignalChar, {0xFF}, Over({0x7F})},
      {kBeAndClassId, kBeSignalChar, 0x7F, kBeSignalChar, {0x80}, Over({0x00})},
      // Only the low byte of the cell counts in char.
      {kBeAndClassId, kBeSignalChar, 0x1F0, kBeSignalChar, {0xFF}, Over({0xF0})},
      {kBeAndClassId, kBeSignalShort, 0x00FF, kBeSignalShort, {0x34, 0x12}, Over({0x34, 0x00})},
      {kBeAndClassId, kBeSignalShort, 0xFFFF8001, kBeSignalShort, {0xFF, 0xFF}, Over({0x01, 0x80})},
      {kBeAndClassId, kBeSignalInt, 0xF0F0F0F0, kBeSignalInt, {0x78, 0x56, 0x34, 0x12}, Over({0x70, 0x50, 0x30, 0x10})},
      {kBeAndClassId, kBeSignalInt, 0xFFFFFFFF, kBeSignalInt, {}, kUntouched},
      // OR: the default mask 0x0F.
      {kBeOrClassId, kBeSignalChar, 0x0F, kBeSignalChar, {0x30}, Over({0x3F})},
      {kBeOrClassId, kBeSignalChar, 0x0F, kBeSignalChar, {0x80}, Over({0x8F})},
      {kBeOrClassId, kBeSignalChar, 0xF00, kBeSignalChar, {0x01}, Over({0x01})},
      {kBeOrClassId, kBeSignalShort, 0x8000, kBeSignalShort, {0x01, 0x00}, Over({0x01, 0x80})},
      {kBeOrClassId, kBeSignalInt, 0x80000000, kBeSignalInt, {0, 0, 0, 0}, Over({0, 0, 0, 0x80})},
      {kBeOrClassId, kBeSignalChar, 0x0F, kBeSignalChar, {}, kUntouched},
  };
  RunOneInput(cases, sizeof cases / sizeof cases[0]);
}

TEST(LogicElements, GetBitReadsTheFirst32BitsWhateverTheLinkedType) {
  const OneInput cases[] = {
      {kBeGetBitClassId, kBeSignalChar, 3, kBeSignalChar, {8}, Over({1})},
      {kBeGetBitClassId, kBeSignalChar, 3, kBeSignalChar, {7}, Over({0})},
      {kBeGetBitClassId, kBeSignalChar, 7, kBeSignalChar, {0x80}, Over({1})},
      {kBeGetBitClassId, kBeSignalShort, 15, kBeSignalShort, {0x00, 0x80}, Over({1})},
      {kBeGetBitClassId, kBeSignalInt, 31, kBeSignalInt, {0, 0, 0, 0x80}, Over({1})},
      {kBeGetBitClassId, kBeSignalInt, 30, kBeSignalInt, {0, 0, 0, 0x80}, Over({0})},
      // Bits above a char's width are read from the value's bytes as they
      // are, and the number is taken mod 32.
      {kBeGetBitClassId, kBeSignalChar, 9, kBeSignalChar, {0x00, 0x02}, Over({1})},
      {kBeGetBitClassId, kBeSignalChar, 35, kBeSignalChar, {0x08}, Over({1})},
      // A float's bits: 1.0f is 0x3F800000, bit 23 set, bit 22 clear.
      {kBeGetBitClassId, kBeSignalInt, 23, kBeSignalFloat, {0x00, 0x00, 0x80, 0x3F}, Over({1})},
      {kBeGetBitClassId, kBeSignalInt, 22, kBeSignalFloat, {0x00, 0x00, 0x80, 0x3F}, Over({0})},
      {kBeGetBitClassId, kBeSignalChar, 0, kBeSignalChar, {}, kUntouched},
  };
  RunOneInput(cases, sizeof cases / sizeof cases[0]);
}

// ------------------------------------------------------------ AND and OR elements

// What an input of the multi-input elements is fed with.
enum Feed { kOpen, kBit0, kBit1, kBit5, kPwmA, kPwmB };
const float kPeriodA = 0.01f, kDutyA = 0.25f;
const float kPeriodB = 0.02f, kDutyB = 0.5f;

blocktest::Source* Feeding(Bench& bench, Feed feed) {
  if (feed == kOpen) return nullptr;
  auto* s = bench.Source(feed == kPwmA || feed == kPwmB ? kBeSignalPwm : kBeSignalBit);
  switch (feed) {
    case kBit0: s->SetBit(false); break;
    case kBit1: s->SetBit(true); break;
    case kBit5: s->SetBytes({5}); break;
    case kPwmA: s->SetPwm(kPeriodA, kDutyA); break;
    default: s->SetPwm(kPeriodB, kDutyB); break;
  }
  return s;
}

struct GateCase {
  unsigned int classId;
  std::vector<Feed> inputs;
  BeSignalType type;  // of the output after the pass
  std::vector<uint8_t> value;
};

TEST(LogicElements, BitModeTruthTablesWithPassedPwm) {
  const std::vector<uint8_t> bit0 = Bytes8({0}), bit1 = Bytes8({1});
  const std::vector<uint8_t> pwmA = PwmBytes(kPeriodA, kDutyA), pwmB = PwmBytes(kPeriodB, kDutyB);
  const GateCase cases[] = {
      {kBeAnd2ClassId, {kBit1, kBit1}, kBeSignalBit, bit1},
      {kBeAnd2ClassId, {kBit1, kBit0}, kBeSignalBit, bit0},
      {kBeAnd2ClassId, {kBit0, kBit1}, kBeSignalBit, bit0},
      {kBeAnd2ClassId, {kBit0, kBit0}, kBeSignalBit, bit0},
      {kBeAnd2ClassId, {kOpen, kOpen}, kBeSignalBit, bit1},  // nothing linked: 1
      {kBeAnd2ClassId, {kOpen, kBit0}, kBeSignalBit, bit0},
      {kBeAnd2ClassId, {kBit5, kBit1}, kBeSignalBit, bit1},  // a nonzero byte is 1
      {kBeAnd2ClassId, {kBit1, kBit1, kBit1, kOpen, kBit1}, kBeSignalBit, bit1},
      {kBeAnd2ClassId, {kBit1, kBit1, kBit1, kBit1, kBit0}, kBeSignalBit, bit0},
      // One PWM input passes while every bit is 1.
      {kBeAnd2ClassId, {kPwmA, kBit1}, kBeSignalPwm, pwmA},
      {kBeAnd2ClassId, {kBit1, kPwmA}, kBeSignalPwm, pwmA},
      {kBeAnd2ClassId, {kPwmA, kOpen}, kBeSignalPwm, pwmA},
      {kBeAnd2ClassId, {kPwmA, kBit0}, kBeSignalBit, bit0},
      {kBeAnd2ClassId, {kBit0, kPwmA}, kBeSignalBit, bit0},
      // A second PWM input ends the step with 0.
      {kBeAnd2ClassId, {kPwmA, kPwmB}, kBeSignalBit, bit0},
      {kBeAnd2ClassId, {kPwmA, kBit1, kPwmB}, kBeSignalBit, bit0},
      {kBeOr2ClassId, {kBit0, kBit0}, kBeSignalBit, bit0},
      {kBeOr2ClassId, {kBit1, kBit0}, kBeSignalBit, bit1},
      {kBeOr2ClassId, {kBit0, kBit1}, kBeSignalBit, bit1},
      {kBeOr2ClassId, {kBit1, kBit1}, kBeSignalBit, bit1},
      {kBeOr2ClassId, {kOpen, kOpen}, kBeSignalBit, bit0},  // nothing linked: 0
      {kBeOr2ClassId, {kOpen, kBit5}, kBeSignalBit, bit1},
      {kBeOr2ClassId, {kBit0, kBit0, kOpen, kBit0}, kBeSignalBit, bit0},
      // One PWM input passes while every bit is 0; a 1 or a second PWM
      // input gives 1.
      {kBeOr2ClassId, {kPwmB, kBit0}, kBeSignalPwm, pwmB},
      {kBeOr2ClassId, {kOpen, kPwmB}, kBeSignalPwm, pwmB},
      {kBeOr2ClassId, {kPwmA, kBit1}, kBeSignalBit, bit1},
      {kBeOr2ClassId, {kPwmA, kPwmB}, kBeSignalBit, bit1},
      {kBeOr2ClassId, {kPwmA, kBit0, kPwmB}, kBeSignalBit, bit1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const GateCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ", class " << std::hex << c.classId);
    Bench bench;
    CBEBlock* gate = bench.Create<CBEBlock>(c.classId);
    ASSERT_NE(nullptr, gate);
    SetInputs(gate, static_cast<int>(c.inputs.size()));
    memset(gate->Output(0)->value, 0xAA, 8);
    for (size_t k = 0; k < c.inputs.size(); ++k)
      if (auto* s = Feeding(bench, c.inputs[k])) bench.Link(s, gate, static_cast<int>(k));
    bench.Pass();
    EXPECT_EQ(c.type, gate->Output(0)->type);
    EXPECT_TRUE(velktest::BytesEqual(blocktest::ValueBytes(gate), c.value));
    // The mode stays bit: the inputs keep their type.
    EXPECT_EQ(kBeSignalBit, dynamic_cast<CBEAnd2*>(gate) ? dynamic_cast<CBEAnd2*>(gate)->GetType()
                                                        : dynamic_cast<CBEOr2*>(gate)->GetType());
  }
}

// The PWM signal is gated by a bit, pass by pass, and the readers of the
// output keep their links whatever it carries.
TEST(LogicElements, ABitGatesAPwmSignalPassByPass) {
  Bench bench;
  auto* reader = bench.Create<CBEAnd2>(kBeAnd2ClassId);  // stepped after the gate
  auto* gate = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  auto* pwm = bench.Source(kBeSignalPwm);
  auto* enable = bench.Source(kBeSignalBit);
  pwm->SetPwm(kPeriodA, kDutyA);
  enable->SetBit(true);
  bench.Link(pwm, gate, 0);
  bench.Link(enable, gate, 1);
  bench.Link(gate, reader, 0);  // a bit output into a bit input

  bench.Pass();
  EXPECT_EQ(kBeSignalPwm, gate->Output(0)->type);
  EXPECT_EQ(PwmBytes(kPeriodA, kDutyA), blocktest::ValueBytes(gate));
  // The reader is an AND element too: the one PWM input passes on.
  EXPECT_EQ(kBeSignalPwm, reader->Output(0)->type);
  EXPECT_EQ(PwmBytes(kPeriodA, kDutyA), blocktest::ValueBytes(reader));

  enable->SetBit(false);
  bench.Pass();
  EXPECT_EQ(kBeSignalBit, gate->Output(0)->type);
  EXPECT_EQ(Bytes8({0}), blocktest::ValueBytes(gate)) << "no byte of the PWM value is left";
  EXPECT_EQ(kBeSignalBit, reader->Output(0)->type);
  EXPECT_EQ(Bytes8({0}), blocktest::ValueBytes(reader));

  enable->SetBit(true);
  pwm->SetPwm(kPeriodB, kDutyB);  // a new period and duty pass at once
  bench.Pass();
  EXPECT_EQ(kBeSignalPwm, gate->Output(0)->type);
  EXPECT_EQ(PwmBytes(kPeriodB, kDutyB), blocktest::ValueBytes(gate));
  EXPECT_EQ(gate->Output(0), reader->Input(0)->source);

  // A run that ends returns the output to the block's type, with a value
  // of zeros, so the editor links it as a bit output and the next run's
  // first readers see no PWM bytes; the links stay.
  bench.Stop();
  EXPECT_EQ(kBeSignalBit, gate->Output(0)->type);
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(gate));
  EXPECT_EQ(gate->Output(0), reader->Input(0)->source);
  EXPECT_EQ(pwm->Output(0), gate->Input(0)->source);
  // A restart without a stop does the same.
  bench.Pass();
  ASSERT_EQ(kBeSignalPwm, gate->Output(0)->type);
  bench.Start();
  EXPECT_EQ(kBeSignalBit, gate->Output(0)->type);
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(gate));
}

// A reader whose input does not take PWM (a monitor's any-scalar input)
// stays linked and reads the output by the type it carries on each pass:
// the monitor logs the PWM value as its duty and the bit as a bit.
TEST(LogicElements, AReaderSeesThePassedSignalByItsType) {
  velktest::TempFolder folder;
  Bench bench;
  auto* monitor = new CBEMonitor;
  monitor->AttachToScheme(&bench.scheme);  // stepped last
  monitor->SetLogFileName(folder.File(L"gate.txt").c_str());
  auto* gate = bench.Create<CBEOr2>(kBeOr2ClassId);
  auto* pwm = bench.Source(kBeSignalPwm);
  auto* other = bench.Source(kBeSignalBit);
  pwm->SetPwm(kPeriodA, kDutyA);
  other->SetBit(false);
  bench.Link(pwm, gate, 0);
  bench.Link(other, gate, 1);
  bench.Link(gate, monitor, 0);
  bench.Pass();  // PWM passes
  other->SetBit(true);
  bench.Pass();  // 1
  other->SetBit(false);
  bench.Pass();  // PWM again
  EXPECT_EQ(gate->Output(0), monitor->Input(0)->source);
  bench.Stop();
  std::vector<uint8_t> bytes = folder.ReadFile(L"gate.txt");
  std::string text;
  for (uint8_t b : bytes)
    if (b != '\r') text += static_cast<char>(b);
  EXPECT_EQ("0.000\t0.25000000\n0.001\t1\n0.002\t0.25000000\n", text);
}

// A graph builder on the gate's output records only the values its input
// takes (bits): a passed PWM value is left out, never stored as a record of
// another size, and its file reads back every bit sample.
TEST(LogicElements, AGraphBuilderRecordsOnlyTheBitsOfAGatedOutput) {
  velktest::TempFolder folder;
  for (bool plotStopsFirst : {false, true}) {
    SCOPED_TRACE(plotStopsFirst ? "the graph builder stops before the gate" : "the gate stops first");
    Bench bench;
    auto* plot = new CBEAvrPlot;
    if (!plotStopsFirst) plot->AttachToScheme(&bench.scheme);  // oldest: stepped and stopped last
    auto* gate = bench.Create<CBEAnd2>(kBeAnd2ClassId);
    if (plotStopsFirst) plot->AttachToScheme(&bench.scheme);
    plot->interval = 1;  // a sample on every 1 ms pass
    std::wstring file = folder.File(plotStopsFirst ? L"plot2.txt" : L"plot1.txt");
    plot->SetLogFileName(file.c_str());
    auto* pwm = bench.Source(kBeSignalPwm);
    auto* enable = bench.Source(kBeSignalBit);
    pwm->SetPwm(kPeriodA, kDutyA);
    bench.Link(pwm, gate, 0);
    bench.Link(enable, gate, 1);
    bench.Link(gate, plot, 0);
    // PWM, 0, PWM, 0, PWM: the gate's output of this pass or the last.
    for (int pass = 0; pass < 5; ++pass) {
      enable->SetBit(pass % 2 == 0);
      bench.Pass();
    }
    bench.Stop();
    std::vector<uint8_t> bytes = velktest::ReadWholeFile(file);
    std::string text;
    for (uint8_t b : bytes)
      if (b != '\r') text += static_cast<char>(b);
    // Stepped after the gate the plot sees the bits of the second and
    // fourth passes; stepped before it, it sees each pass's output one pass
    // late: the gate's first bit 0, then the bits of those passes.
    EXPECT_EQ(plotStopsFirst ? "0.000\t0\n0.002\t0\n0.004\t0\n" : "0.001\t0\n0.003\t0\n", text);
  }
}

TEST(LogicElements, IntegerModeCombinesTheLinkedIntegers) {
  struct Row {
    unsigned int classId;
    BeSignalType type;
    std::vector<int> inputs;  // INT_MIN + 1: unlinked
    std::vector<uint8_t> expected;
  };
  const int open = INT_MIN + 1;
  const Row rows[] = {
      {kBeAnd2ClassId, kBeSignalChar, {0x0F, 0x3C}, Over({0x0C, 0x00, 0x00, 0x00})},
      {kBeOr2ClassId, kBeSignalChar, {0x0F, 0x3C}, Over({0x3F, 0x00, 0x00, 0x00})},
      // The first 32 bits are written: sign-extended inputs give sign bits.
      {kBeAnd2ClassId, kBeSignalChar, {-1, -128}, Over({0x80, 0xFF, 0xFF, 0xFF})},
      {kBeOr2ClassId, kBeSignalChar, {-128, 1, 2}, Over({0x83, 0xFF, 0xFF, 0xFF})},
      {kBeAnd2ClassId, kBeSignalShort, {0x1234, 0x00FF}, Over({0x34, 0x00, 0x00, 0x00})},
      {kBeOr2ClassId, kBeSignalShort, {0x1200, 0x0034, open}, Over({0x34, 0x12, 0x00, 0x00})},
      {kBeAnd2ClassId, kBeSignalInt, {0x12345678, static_cast<int>(0xF0F0F0F0), -1},
       Over({0x70, 0x50, 0x30, 0x10})},
      {kBeOr2ClassId, kBeSignalInt, {INT_MIN, 1}, Over({0x01, 0x00, 0x00, 0x80})},
      // Unlinked inputs are skipped; none linked: all ones and 0.
      {kBeAnd2ClassId, kBeSignalInt, {open, 0x70, open}, Over({0x70, 0x00, 0x00, 0x00})},
      {kBeAnd2ClassId, kBeSignalChar, {open, open}, Over({0xFF, 0xFF, 0xFF, 0xFF})},
      {kBeOr2ClassId, kBeSignalShort, {open, open}, Over({0x00, 0x00, 0x00, 0x00})},
      // The OR element of float or double: no input contributes.
      {kBeOr2ClassId, kBeSignalFloat, {open, open}, Over({0x00, 0x00, 0x00, 0x00})},
      {kBeOr2ClassId, kBeSignalDouble, {open, open}, Over({0x00, 0x00, 0x00, 0x00})},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    Bench bench;
    CBEBlock* gate = bench.Create<CBEBlock>(row.classId);
    SetInputs(gate, static_cast<int>(row.inputs.size()));
    SetType(gate, row.type);
    memset(gate->Output(0)->value, 0xAA, 8);
    for (size_t k = 0; k < row.inputs.size(); ++k) {
      if (row.inputs[k] == open) continue;
      auto* s = bench.Source(row.type);
      s->SetInt(row.inputs[k]);
      bench.Link(s, gate, static_cast<int>(k));
    }
    bench.Pass();
    EXPECT_EQ(row.type, gate->Output(0)->type);
    EXPECT_TRUE(velktest::BytesEqual(blocktest::ValueBytes(gate), row.expected));
  }
}

TEST(LogicElements, IntegerModeSkipsInputsOfOtherTypesAndReadsEachInItsWidth) {
  Bench bench;
  auto* and2 = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  SetInputs(and2, 4);
  SetType(and2, kBeSignalShort);
  auto* s = bench.Source(kBeSignalShort);
  auto* c = bench.Source(kBeSignalChar);
  auto* f = bench.Source(kBeSignalFloat);
  auto* p = bench.Source(kBeSignalPwm);
  s->SetInt(0x7FF0);
  c->SetBytes({0x8F, 0x00, 0x12});  // -113, the other bytes not its own
  f->SetFloat(0.0f);
  p->SetPwm(0, 0);
  bench.LinkAnyway(s, 0, and2, 0);
  bench.LinkAnyway(c, 0, and2, 1);
  bench.LinkAnyway(f, 0, and2, 2);  // skipped: a zero would clear everything
  bench.LinkAnyway(p, 0, and2, 3);
  bench.Pass();
  // 0x00007FF0 & 0xFFFFFF8F = 0x00007F80.
  EXPECT_EQ(Bytes8({0x80, 0x7F, 0x00, 0x00}), blocktest::ValueBytes(and2));
  EXPECT_EQ(kBeSignalShort, and2->Output(0)->type);
}

// The mode follows the input pins' type on each step.
TEST(LogicElements, TheModeFollowsTheInputPinsType) {
  Bench bench;
  auto* or2 = bench.Create<CBEOr2>(kBeOr2ClassId);
  auto* a = bench.Source(kBeSignalBit);
  a->SetBit(true);
  bench.Link(a, or2, 0);
  bench.Pass();
  EXPECT_EQ(Bytes8({1}), blocktest::ValueBytes(or2));
  SetType(or2, kBeSignalChar);  // the bit input loses its link
  EXPECT_EQ(nullptr, or2->Input(0)->source);
  EXPECT_EQ(kBeSignalChar, or2->Output(0)->type);
  auto* c = bench.Source(kBeSignalChar);
  c->SetInt(0x40);
  bench.Link(c, or2, 1);
  bench.Pass();
  EXPECT_EQ(Bytes8({0x40}), blocktest::ValueBytes(or2));
}

// A gate may read its own output (a loop drawn by the user).
TEST(LogicElements, AGateThatReadsItsOwnOutputIsSafe) {
  Bench bench;
  auto* and2 = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  auto* pwm = bench.Source(kBeSignalPwm);
  pwm->SetPwm(kPeriodA, kDutyA);
  bench.Link(pwm, and2, 0);
  bench.Pass();
  bench.LinkAnyway(and2, 0, and2, 1);  // its own PWM output: a second PWM
  bench.Pass();
  EXPECT_EQ(kBeSignalBit, and2->Output(0)->type);
  EXPECT_EQ(Bytes8({0}), blocktest::ValueBytes(and2));
  bench.Unlink(and2, 0);
  bench.Pass();  // its own bit 0
  EXPECT_EQ(Bytes8({0}), blocktest::ValueBytes(and2));
}

// ------------------------------------------------------------ records

TEST(LogicRecords, GoldenBytes) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  auto not1 = blocktest::NewDetached<CBENot>(kBeNotClassId);
  SetType(not1.get(), kBeSignalShort);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(not1.get()), velktest::ParseHex(R"(
      03
      00 00 00 00  00 00 00 00  50 00 00 00  14 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));

  auto and1 = blocktest::NewDetached<CBEAnd>(kBeAndClassId);
  SetType(and1.get(), kBeSignalShort);
  and1->mask = 0x00FF;
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(and1.get()),
      Golden().B(3).B(0xFF).B(0x00).B(0x00).B(0x00).Base(BaseRecord::Unlinked(RECT{0, 0, 120, 20}, 1, 1)).Bytes()));
  auto or1 = blocktest::NewDetached<CBEOr>(kBeOrClassId);
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(or1.get()),
      Golden().B(2).B(0x0F).B(0).B(0).B(0).Base(BaseRecord::Unlinked(RECT{0, 0, 120, 20}, 1, 1)).Bytes()));

  // The AND element: 0x80 + type, then the count.
  auto and2 = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(and2.get()),
                                   Golden().B(0x81).B(2).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes()));
  SetInputs(and2.get(), 3);
  SetType(and2.get(), kBeSignalInt);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(and2.get()),
                                   Golden().B(0x84).B(3).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 60}, 3, 1)).Bytes()));
  // The OR element: the count, then the type.
  auto or2 = blocktest::NewDetached<CBEOr2>(kBeOr2ClassId);
  SetInputs(or2.get(), 4);
  SetType(or2.get(), kBeSignalDouble);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(or2.get()),
                                   Golden().B(4).B(6).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 80}, 4, 1)).Bytes()));

  auto bit = blocktest::NewDetached<CBEGetBit>(kBeGetBitClassId);
  SetType(bit.get(), kBeSignalInt);
  bit->bitNumber = 31;
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(bit.get()),
                                   Golden().B(4).B(31).Base(BaseRecord::Unlinked(RECT{0, 0, 100, 20}, 1, 1)).Bytes()));
}

TEST(LogicRecords, TheAndElementReadsItsFlaggedCountByteBothWays) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  // Bit 7 set: the count follows.
  auto five = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
  std::vector<uint8_t> record = Golden().B(0x83).B(5).Base(BaseRecord::Unlinked(RECT{10, 20, 90, 120}, 5, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(five.get(), record));
  EXPECT_EQ(5, five->inputCount);
  EXPECT_EQ(kBeSignalShort, five->GetType());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(kBeSignalShort, five->Input(i)->type) << i;
  EXPECT_EQ(kBeSignalShort, five->Output(0)->type);
  EXPECT_EQ(Costs(2, 4), CostsOf(five.get()));
  EXPECT_EQ(100, five->Height());
  EXPECT_EQ(90, five->Input(4)->yOffset);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(five.get()), record));

  // Bit 7 clear: no count byte; a two-input element of the type in the low
  // seven bits, even when the block had more inputs before.
  auto old = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
  SetInputs(old.get(), 6);
  record = Golden().B(0x04).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(old.get(), record));
  EXPECT_EQ(2, old->inputCount);
  EXPECT_EQ(kBeSignalInt, old->GetType());
  EXPECT_EQ(kBeSignalInt, old->Input(1)->type);
  EXPECT_EQ(Costs(4, 8), CostsOf(old.get()));
  EXPECT_EQ(40, old->Height());
  // It is written back in the flagged form.
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(old.get()),
                                   Golden().B(0x84).B(2).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes()));
  // The old form of a bit element.
  auto bitOld = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
  ASSERT_TRUE(blocktest::LoadBytes(bitOld.get(), Golden().B(0x01).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes()));
  EXPECT_EQ(kBeSignalBit, bitOld->GetType());
}

TEST(LogicRecords, LoadTakesTheFieldsAndRunsTheCostOperation) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  auto not1 = blocktest::NewDetached<CBENot>(kBeNotClassId);
  std::vector<uint8_t> record = Golden().B(4).Base(BaseRecord::Unlinked(RECT{5, 6, 85, 26}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(not1.get(), record));
  EXPECT_EQ(kBeSignalInt, not1->Input(0)->type);
  EXPECT_EQ(kBeSignalInt, not1->Output(0)->type);
  EXPECT_EQ(Costs(8, 16), CostsOf(not1.get()));
  EXPECT_EQ(5, not1->rect.left);

  auto or1 = blocktest::NewDetached<CBEOr>(kBeOrClassId);
  record = Golden().B(4).U32(0x80000001).Base(BaseRecord::Unlinked(RECT{0, 0, 120, 20}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(or1.get(), record));
  EXPECT_EQ(0x80000001u, or1->mask);
  EXPECT_EQ(kBeSignalInt, or1->Output(0)->type);
  EXPECT_EQ(Costs(4, 8), CostsOf(or1.get()));

  auto or2 = blocktest::NewDetached<CBEOr2>(kBeOr2ClassId);
  record = Golden().B(5).B(4).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 100}, 5, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(or2.get(), record));
  EXPECT_EQ(5, or2->inputCount);
  EXPECT_EQ(Costs(16, 32), CostsOf(or2.get()));
  EXPECT_EQ(kBeSignalInt, or2->Input(4)->type);

  // The bit extractor: the type to the input only; the output stays a bit.
  auto bit = blocktest::NewDetached<CBEGetBit>(kBeGetBitClassId);
  record = Golden().B(3).B(12).Base(BaseRecord::Unlinked(RECT{0, 0, 100, 20}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(bit.get(), record));
  EXPECT_EQ(kBeSignalShort, bit->Input(0)->type);
  EXPECT_EQ(kBeSignalBit, bit->Output(0)->type);
  EXPECT_EQ(12, bit->bitNumber);
  EXPECT_EQ(Costs(6, 4), CostsOf(bit.get()));
}

TEST(LogicRecords, EveryTruncationIsRefusedAndChangesNothing) {
  auto not1 = blocktest::NewDetached<CBENot>(kBeNotClassId);
  SetType(not1.get(), kBeSignalInt);
  blocktest::ExpectTruncationsRefused<CBENot>(kBeNotClassId, blocktest::RecordBytes(not1.get()));
  auto and1 = blocktest::NewDetached<CBEAnd>(kBeAndClassId);
  SetType(and1.get(), kBeSignalInt);
  and1->mask = 0x12345678;
  blocktest::ExpectTruncationsRefused<CBEAnd>(kBeAndClassId, blocktest::RecordBytes(and1.get()));
  auto or1 = blocktest::NewDetached<CBEOr>(kBeOrClassId);
  SetType(or1.get(), kBeSignalShort);
  or1->mask = 0xFFFF;
  blocktest::ExpectTruncationsRefused<CBEOr>(kBeOrClassId, blocktest::RecordBytes(or1.get()));
  auto and2 = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
  SetInputs(and2.get(), 4);
  SetType(and2.get(), kBeSignalShort);
  blocktest::ExpectTruncationsRefused<CBEAnd2>(kBeAnd2ClassId, blocktest::RecordBytes(and2.get()));
  auto or2 = blocktest::NewDetached<CBEOr2>(kBeOr2ClassId);
  SetInputs(or2.get(), 3);
  SetType(or2.get(), kBeSignalInt);
  blocktest::ExpectTruncationsRefused<CBEOr2>(kBeOr2ClassId, blocktest::RecordBytes(or2.get()));
  auto bit = blocktest::NewDetached<CBEGetBit>(kBeGetBitClassId);
  SetType(bit.get(), kBeSignalInt);
  bit->bitNumber = 20;
  blocktest::ExpectTruncationsRefused<CBEGetBit>(kBeGetBitClassId, blocktest::RecordBytes(bit.get()));
}

TEST(LogicRecords, ImplausibleFieldsAreRefused) {
  using blocktest::BaseRecord;
  using blocktest::Golden;
  auto base1 = BaseRecord::Unlinked(RECT{0, 0, 80, 20}, 1, 1);
  // Types each record may hold.
  for (int type = 0; type < 256; ++type) {
    SCOPED_TRACE(type);
    auto not1 = blocktest::NewDetached<CBENot>(kBeNotClassId);
    EXPECT_EQ(type >= 1 && type <= 6, blocktest::LoadBytes(not1.get(), Golden().B(type).Base(base1).Bytes()));
    auto and1 = blocktest::NewDetached<CBEAnd>(kBeAndClassId);
    bool integer = type >= 2 && type <= 4;
    EXPECT_EQ(integer, blocktest::LoadBytes(and1.get(), Golden().B(type).U32(9).Base(base1).Bytes()));
    if (!integer) {
      EXPECT_EQ(0x7Fu, and1->mask);
    }
    auto bit = blocktest::NewDetached<CBEGetBit>(kBeGetBitClassId);
    EXPECT_EQ(integer, blocktest::LoadBytes(bit.get(), Golden().B(type).B(3).Base(base1).Bytes()));
    if (!integer) {
      EXPECT_EQ(7, bit->bitNumber);
    }
    auto or2 = blocktest::NewDetached<CBEOr2>(kBeOr2ClassId);
    EXPECT_EQ(type >= 1 && type <= 6,
              blocktest::LoadBytes(or2.get(), Golden().B(2).B(type).Base(BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes()));
  }
  // Bit numbers: 0 to 31.
  for (int number : {0, 31, 32, 255}) {
    auto bit = blocktest::NewDetached<CBEGetBit>(kBeGetBitClassId);
    EXPECT_EQ(number <= 31, blocktest::LoadBytes(bit.get(), Golden().B(4).B(number).Base(base1).Bytes())) << number;
    EXPECT_EQ(number <= 31 ? number : 7, bit->bitNumber);
  }
  // The AND element's type (low seven bits): bit to int, with or without
  // the count byte.
  for (int first : {0x00, 0x05, 0x06, 0x7F, 0x80, 0x85, 0xFF}) {
    SCOPED_TRACE(first);
    auto and2 = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
    std::vector<uint8_t> record = Golden().B(first).Bytes();
    if (first & 0x80) record.push_back(2);
    auto base = Golden().Base(BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes();
    record.insert(record.end(), base.begin(), base.end());
    EXPECT_FALSE(blocktest::LoadBytes(and2.get(), record));
    EXPECT_EQ(kBeSignalBit, and2->GetType());
  }
  // Input counts: 2 to 127.
  struct Row {
    int count;
    bool loads;
  } rows[] = {{0, false}, {1, false}, {2, true}, {127, true}, {128, false}, {255, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.count);
    auto base = BaseRecord::Unlinked(RECT{0, 0, 80, 20 * row.count}, row.count, 1);
    auto and2 = blocktest::NewDetached<CBEAnd2>(kBeAnd2ClassId);
    EXPECT_EQ(row.loads, blocktest::LoadBytes(and2.get(), Golden().B(0x82).B(row.count).Base(base).Bytes()));
    EXPECT_EQ(row.loads ? row.count : 2, and2->inputCount);
    auto or2 = blocktest::NewDetached<CBEOr2>(kBeOr2ClassId);
    EXPECT_EQ(row.loads, blocktest::LoadBytes(or2.get(), Golden().B(row.count).B(3).Base(base).Bytes()));
    EXPECT_EQ(row.loads ? row.count : 2, or2->inputCount);
    EXPECT_EQ(row.loads ? kBeSignalShort : kBeSignalBit, or2->GetType());
  }
}

// The stream round trip keeps types, masks, counts and links; the copy
// computes the same.
TEST(LogicRecords, SchemeRoundTrip) {
  Bench bench;
  auto* s = bench.Source(kBeSignalShort);
  auto* and1 = bench.Create<CBEAnd>(kBeAndClassId);
  SetType(and1, kBeSignalShort);
  and1->mask = 0x00FF;
  auto* not1 = bench.Create<CBENot>(kBeNotClassId);
  SetType(not1, kBeSignalShort);
  auto* bit = bench.Create<CBEGetBit>(kBeGetBitClassId);
  SetType(bit, kBeSignalShort);
  bit->bitNumber = 7;
  auto* and2 = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  SetInputs(and2, 3);
  bench.Link(s, and1);
  bench.Link(and1, not1);
  bench.Link(not1, bit);
  bench.Link(bit, and2, 2);
  s->SetInt(0x1234);
  bench.Passes(4);
  // 0x1234 & 0xFF = 0x0034; ~ = 0xFFCB: bit 7 set; the AND of one 1.
  ASSERT_EQ(1, blocktest::ReadInt(and2));

  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto ands = blocktest::BlocksOf<CBEAnd>(copy.get());
  ASSERT_EQ(1u, ands.size());
  EXPECT_EQ(0x00FFu, ands[0]->mask);
  EXPECT_EQ(kBeSignalShort, ands[0]->GetType());
  auto bits = blocktest::BlocksOf<CBEGetBit>(copy.get());
  ASSERT_EQ(1u, bits.size());
  EXPECT_EQ(7, bits[0]->bitNumber);
  auto gates = blocktest::BlocksOf<CBEAnd2>(copy.get());
  ASSERT_EQ(1u, gates.size());
  EXPECT_EQ(3, gates[0]->inputCount);
  EXPECT_EQ(bits[0]->Output(0), gates[0]->Input(2)->source);
  auto sources = blocktest::BlocksOf<blocktest::Source>(copy.get());
  ASSERT_EQ(1u, sources.size());
  sources[0]->SetInt(0x0180);  // & 0xFF = 0x80, ~ = 0xFF7F: bit 7 clear
  for (int pass = 0; pass < 4; ++pass)
    for (CBEBlock* b = copy->blocks; b; b = b->next) b->Step(0.001f);
  EXPECT_EQ(0, blocktest::ReadInt(gates[0]));
  sources[0]->SetInt(0x0101);  // & 0xFF = 0x01, ~ = 0xFFFE: bit 7 set
  for (int pass = 0; pass < 4; ++pass)
    for (CBEBlock* b = copy->blocks; b; b = b->next) b->Step(0.001f);
  EXPECT_EQ(1, blocktest::ReadInt(gates[0]));
}

}  // namespace
