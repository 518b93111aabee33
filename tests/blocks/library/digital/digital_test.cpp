// The "Цифровые" blocks at run time: what each is made as, flip-flop and
// register truth tables, the counter with levels, pulses and PWM, the
// quadrature counter, the multiplexer and demultiplexer in several of their
// types, and the priority encoder.
#include <climits>
#include <cstring>
#include <vector>

#include "block_kit.h"
#include "blocks/library/digital/coder.h"
#include "blocks/library/digital/counter.h"
#include "blocks/library/digital/d_flip_flop.h"
#include "blocks/library/digital/demux.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/digital/mux.h"
#include "blocks/library/digital/puls_counter.h"
#include "blocks/library/digital/register.h"
#include "blocks/library/digital/rs_flip_flop.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Source;

const int kOpen = -1;  // an unlinked input in the tables below

// ------------------------------------------------------------ construction

TEST(DigitalBlocks, EachIsMadeWithItsSizePinsAndCosts) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height;
    std::vector<const wchar_t*> inputNames;
    std::vector<const wchar_t*> inputDescriptions;
    int outputs;
    BeSignalType outputType;
    const wchar_t* outputName;
    const wchar_t* outputDescription;
    Costs costs;
    COLORREF fill;
  } rows[] = {
      {kBeRSFlipFlopClassId, L"RS-триггер", 50, 40, {L"R", L"S"}, {L"Сброс", L"Установка"}, 1, kBeSignalBit, L"Q",
       L"Состояние", Costs(8, 20), 0xCCFFCC},
      {kBeDFlipFlopClassId, L"D-триггер", 50, 40, {L"D", L"C"}, {L"Данные", L"Синхроный вход"}, 1, kBeSignalBit, L"Q",
       L"Выходные данные", Costs(8, 22), 0xCCFFCC},
      {kBeRegisterClassId, L"Регистр", 50, 40, {L"D", L"W"}, {L"Данные", L"Разрешение записи"}, 1, kBeSignalBit, L"Q",
       L"Выходные данные", Costs(4, 0), 0xCCFFCC},
      {kBeCounterClassId, L"Счетчик", 50, 50, {L"+", L"-", L"R"},
       {L"Импульс, увеличивающий сумму на 1", L"Импульс, уменьшающий сумму на 1", L"Сигнал сброса"}, 1,
       kBeSignalShort, nullptr, L"Выходная сумма", Costs(8, 20), 0xCCFFCC},
      {kBePulsCounterClassId, L"Счетчик для инкрементного датчика", 50, 50, {L"A", L"B", L"R"},
       {L"Канал A инкрементного датчика", L"Канал B инкрементного датчика", L"Сигнал сброса"}, 1, kBeSignalShort,
       nullptr, L"Выходная сумма", Costs(1000, 60), 0xCCFFCC},
      {kBeDEMUXClassId, L"Демультиплексор", 50, 60, {L"n", nullptr},
       {L"Номер выхода, на который следует передавать входной сигнал", L"Вход"}, 2, kBeSignalChar, nullptr,
       L"Выход", Costs(12, 24), 0xFFFFFF},
      {kBeMUXClassId, L"Мультиплексор", 50, 90, {L"n", nullptr, nullptr},
       {L"Номер выхода, с которого следует снимать входной сигнал", L"Вход", L"Вход"}, 1, kBeSignalChar, nullptr,
       L"Выход", Costs(12, 24), 0xFFFFFF},
      {kBeCoderClassId, L"Приоритетный шифратор", 50, 40, {L"1", L"2"}, {L"Вход 1", L"Вход 2"}, 1, kBeSignalChar,
       nullptr, L"Выходной код", Costs(6, 8), 0xCCFFCC},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(row.fill, block->fillColor);
    ASSERT_EQ(static_cast<int>(row.inputNames.size()), block->inputCount);
    for (int i = 0; i < block->inputCount; ++i) {
      if (row.inputNames[i]) {
        EXPECT_STREQ(row.inputNames[i], block->Input(i)->name) << i;
      } else {
        EXPECT_EQ(nullptr, block->Input(i)->name) << i;
      }
      EXPECT_STREQ(row.inputDescriptions[i], block->Input(i)->description) << i;
    }
    ASSERT_EQ(row.outputs, block->outputCount);
    for (int i = 0; i < row.outputs; ++i) {
      EXPECT_EQ(row.outputType, block->Output(i)->type);
      if (row.outputName) {
        EXPECT_STREQ(row.outputName, block->Output(i)->name);
      } else {
        EXPECT_EQ(nullptr, block->Output(i)->name);
      }
      EXPECT_STREQ(row.outputDescription, block->Output(i)->description);
    }
    EXPECT_EQ(row.costs, CostsOf(block));
  }
  // Pin types beyond bit.
  auto* demux = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  EXPECT_EQ(kBeSignalAnyInteger, demux->Input(0)->type);
  EXPECT_EQ(kBeSignalChar, demux->Input(1)->type);
  EXPECT_EQ(15, demux->Output(0)->yOffset);
  EXPECT_EQ(45, demux->Output(1)->yOffset);
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  EXPECT_EQ(kBeSignalAnyInteger, mux->Input(0)->type);
  EXPECT_EQ(kBeSignalChar, mux->Input(2)->type);
  EXPECT_EQ(75, mux->Input(2)->yOffset);
  auto* d = bench.Create<CBEDFlipFlop>(kBeDFlipFlopClassId);
  EXPECT_EQ(kBeSignalBit, d->Input(1)->type);
  EXPECT_EQ(93, bench.Create<CBEPulsCounter>(kBePulsCounterClassId)->maximumStep) << "1 MHz";
  EXPECT_EQ(kPulsCounterReservedByte, bench.Create<CBEPulsCounter>(kBePulsCounterClassId)->reserved);
}

// ------------------------------------------------------------ flip-flops

TEST(RSFlipFlop, TruthTable) {
  // R and S: kOpen unlinked, otherwise the first byte; the state before;
  // the state after.
  struct Row {
    int r, s, before, after;
  } rows[] = {
      {0, 0, 0, 0},         {0, 0, 1, 1},         {0, 1, 0, 1},     {0, 1, 1, 1},
      {1, 0, 1, 0},         {1, 0, 0, 0},         {1, 1, 1, 0},     {1, 1, 0, 0},  // reset wins
      {kOpen, 1, 0, 1},     {1, kOpen, 1, 0},     {kOpen, kOpen, 1, 1},
      {0x80, 0, 1, 0},  // any nonzero first byte is active
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "R " << row.r << ", S " << row.s << ", before " << row.before);
    Bench bench;
    auto* rs = bench.Create<CBERSFlipFlop>(kBeRSFlipFlopClassId);
    Source* r = bench.Source(kBeSignalBit);
    Source* s = bench.Source(kBeSignalBit);
    bench.Start();
    rs->Output(0)->SetInt(row.before);
    if (row.r != kOpen) {
      r->SetBytes({static_cast<uint8_t>(row.r)});
      bench.Link(r, rs, 0);
    }
    if (row.s != kOpen) {
      s->SetBytes({static_cast<uint8_t>(row.s)});
      bench.Link(s, rs, 1);
    }
    bench.Pass();
    EXPECT_EQ(row.after, rs->Output(0)->GetInt());
  }
}

TEST(RSFlipFlop, StartClearsTheFirstFourBytes) {
  Bench bench;
  auto* rs = bench.Create<CBERSFlipFlop>(kBeRSFlipFlopClassId);
  memset(rs->Output(0)->value, 0xAA, 8);
  bench.Start();
  EXPECT_EQ(std::vector<uint8_t>({0, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(rs));
}

TEST(DFlipFlop, TakesDataOnARisingClockEdge) {
  Bench bench;
  auto* d = bench.Create<CBEDFlipFlop>(kBeDFlipFlopClassId);
  ASSERT_TRUE(d->SetDataType(kBeSignalChar));
  Source* data = bench.Source(kBeSignalChar);
  Source* clock = bench.Source(kBeSignalBit);
  bench.Link(data, d, 0);
  bench.Link(clock, d, 1);
  // (D, C) per pass and the output after it.
  struct Step {
    int data, clock, out;
  } steps[] = {
      {5, 0, 0}, {5, 1, 5},  // the edge takes 5
      {9, 1, 5}, {-3, 1, 5},  // D changes while C stays high: kept
      {-3, 0, 5}, {-3, 1, -3},  // the next edge
      {7, 2, -3},             // 1 to 2 is no edge
  };
  for (const Step& step : steps) {
    data->SetInt(step.data);
    clock->SetBytes({static_cast<uint8_t>(step.clock)});
    bench.Pass();
    EXPECT_EQ(step.out, blocktest::ReadInt(d)) << step.data << "," << step.clock;
  }
  EXPECT_EQ(kBeSignalChar, d->Output(0)->type);
  EXPECT_EQ(2, d->previousClock);
}

TEST(DFlipFlop, NothingWithoutBothInputsAndAllEightBytesOtherwise) {
  Bench bench;
  auto* d = bench.Create<CBEDFlipFlop>(kBeDFlipFlopClassId);
  ASSERT_TRUE(d->SetDataType(kBeSignalDouble));
  Source* data = bench.Source(kBeSignalDouble);
  Source* clock = bench.Source(kBeSignalBit);
  bench.Start();
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(d));
  bench.Link(data, d, 0);
  data->SetDouble(-2.5);
  clock->SetBit(true);
  memset(d->Output(0)->value, 0x11, 8);
  bench.Pass();  // C unlinked
  EXPECT_EQ(std::vector<uint8_t>(8, 0x11), blocktest::ValueBytes(d));
  EXPECT_EQ(0, d->previousClock) << "the clock is not even read";
  bench.Unlink(d, 0);
  bench.Link(clock, d, 1);
  bench.Pass();  // D unlinked
  EXPECT_EQ(std::vector<uint8_t>(8, 0x11), blocktest::ValueBytes(d));
  bench.Stop();
  bench.Link(data, d, 0);
  bench.Pass();
  EXPECT_EQ(-2.5, blocktest::ReadDouble(d));
}

TEST(Register, TransparentWhileWriteIsEnabled) {
  Bench bench;
  auto* reg = bench.Create<CBERegister>(kBeRegisterClassId);
  ASSERT_TRUE(reg->SetDataType(kBeSignalInt));
  Source* data = bench.Source(kBeSignalInt);
  Source* write = bench.Source(kBeSignalBit);
  bench.Link(data, reg, 0);
  bench.Link(write, reg, 1);
  // (D, the four bytes of W) per pass and the output after it.
  struct Step {
    int data;
    std::vector<uint8_t> write;
    int out;
  } steps[] = {
      {7, {0, 0, 0, 0}, 0},  {7, {1, 0, 0, 0}, 7},   {8, {1, 0, 0, 0}, 8},
      {9, {0, 0, 0, 0}, 8},  {10, {0, 0, 1, 0}, 10},  // any of the four bytes enables
      {11, {0, 0, 0, 0, 1}, 10},                      // the fifth does not
  };
  for (const Step& step : steps) {
    data->SetInt(step.data);
    write->SetBytes(step.write);
    bench.Pass();
    EXPECT_EQ(step.out, blocktest::ReadInt(reg)) << step.data;
  }
}

TEST(Register, TakesTheTypeOfItsDataSource) {
  Bench bench;
  auto* reg = bench.Create<CBERegister>(kBeRegisterClassId);  // bit
  Source* data = bench.Source(kBeSignalPwm);
  Source* write = bench.Source(kBeSignalBit);
  bench.Link(data, reg, 0);  // PWM into a bit input
  bench.Link(write, reg, 1);
  data->SetPwm(0.02f, 0.75f);
  write->SetBit(false);
  bench.Pass();
  EXPECT_EQ(kBeSignalBit, reg->Output(0)->type);
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(reg));
  write->SetBit(true);
  bench.Pass();
  EXPECT_EQ(kBeSignalPwm, reg->Output(0)->type);
  EXPECT_EQ(blocktest::ValueBytes(data), blocktest::ValueBytes(reg));
  // Without W nothing.
  bench.Unlink(reg, 1);
  data->SetPwm(1.0f, 0.0f);
  bench.Pass();
  EXPECT_EQ(0.02f, reg->Output(0)->GetFloat());
}

// A type change as the dialog makes it.
TEST(DFlipFlop, TheDialogsTypeChange) {
  Bench bench;
  for (unsigned int id : {kBeDFlipFlopClassId, kBeRegisterClassId}) {
    SCOPED_TRACE(testing::Message() << std::hex << id);
    CBEBlock* block = bench.Create<CBEBlock>(id);
    Source* data = bench.Source(kBeSignalBit);
    Source* clock = bench.Source(kBeSignalBit);
    auto* after = bench.Create<CBERSFlipFlop>(kBeRSFlipFlopClassId);
    bench.Link(data, block, 0);
    bench.Link(clock, block, 1);
    bench.Link(block, after, 0);
    auto setType = [&](BeSignalType type) {
      if (auto* d = dynamic_cast<CBEDFlipFlop*>(block)) return d->SetDataType(type);
      return dynamic_cast<CBERegister*>(block)->SetDataType(type);
    };
    ASSERT_TRUE(setType(kBeSignalShort));
    EXPECT_EQ(nullptr, block->Input(0)->source);
    EXPECT_EQ(clock->Output(0), block->Input(1)->source) << "the clock keeps its link";
    EXPECT_EQ(nullptr, after->Input(0)->source) << "the output is disconnected";
    EXPECT_EQ(kBeSignalShort, block->Input(0)->type);
    EXPECT_EQ(kBeSignalBit, block->Input(1)->type);
    EXPECT_EQ(kBeSignalShort, block->Output(0)->type);
    EXPECT_EQ(Costs(9, 24), CostsOf(block));
    EXPECT_FALSE(setType(kBeSignalPwm));
    EXPECT_FALSE(setType(kBeSignalPulseA));
    EXPECT_EQ(kBeSignalShort, block->Output(0)->type);
  }
}

TEST(DFlipFlop, CostsByType) {
  Bench bench;
  auto* d = bench.Create<CBEDFlipFlop>(kBeDFlipFlopClassId);
  auto* reg = bench.Create<CBERegister>(kBeRegisterClassId);
  const Costs expected[6] = {Costs(8, 22), Costs(8, 22), Costs(9, 24), Costs(11, 28), Costs(11, 28), Costs(15, 36)};
  for (BeSignalType type = kBeSignalBit; type <= kBeSignalDouble; ++type) {
    d->SetDataType(type);
    reg->SetDataType(type);
    EXPECT_EQ(expected[type - 1], CostsOf(d)) << type;
    EXPECT_EQ(expected[type - 1], CostsOf(reg)) << type;
  }
}

// ------------------------------------------------------------ counter

TEST(Counter, CountsRisingEdgesOfBitSources) {
  Bench bench;
  auto* counter = bench.Create<CBECounter>(kBeCounterClassId);
  Source* up = bench.Source(kBeSignalBit);
  bench.Link(up, counter, 0);
  for (int v : {0, 1, 1, 0, 1}) {
    up->SetBit(v);
    bench.Pass();
  }
  EXPECT_EQ(2, blocktest::ReadInt(counter));
  // "-" subtracts its own edges.
  Source* down = bench.Source(kBeSignalBit);
  bench.Link(down, counter, 1);
  for (int v : {1, 0, 1, 1, 0}) {
    down->SetBit(v);
    bench.Pass();
  }
  EXPECT_EQ(0, blocktest::ReadInt(counter));
  // R resets, after counting.
  Source* reset = bench.Source(kBeSignalBit);
  bench.Link(reset, counter, 2);
  up->SetBit(false);
  bench.Pass();
  up->SetBit(true);
  reset->SetBit(true);
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(counter));
  reset->SetBit(false);
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(counter)) << "the level held is no new edge";
  EXPECT_EQ(1, counter->previousUp);
}

TEST(Counter, PulseChannelSourcesAddTheirCountEveryPass) {
  Bench bench;
  auto* counter = bench.Create<CBECounter>(kBeCounterClassId);
  Source* up = bench.Source(kBeSignalPulseA);
  up->SetBytes({3, 0, 0, 0});
  bench.Link(up, counter, 0);
  bench.Passes(4);
  EXPECT_EQ(12, blocktest::ReadInt(counter));
  // "-" fed by a channel of 2 and "+" unlinked: -2 a pass.
  bench.Stop();
  bench.Unlink(counter, 0);
  Source* down = bench.Source(kBeSignalPulseB);
  down->SetBytes({2, 0, 0, 0});
  bench.Link(down, counter, 1);
  bench.Passes(3);
  EXPECT_EQ(-6, blocktest::ReadInt(counter));
  // A negative report counts the other way.
  down->SetBytes({0xFE, 0xFF, 0xFF, 0xFF});
  bench.Pass();
  EXPECT_EQ(-4, blocktest::ReadInt(counter));
}

// The sum is 32 bits wide, wrapping; a short or char output shows its low
// bits.
TEST(Counter, WrapsIn32BitsAndShowsTheLowBitsOfItsType) {
  Bench bench;
  auto* counter = bench.Create<CBECounter>(kBeCounterClassId);
  Source* up = bench.Source(kBeSignalPulseA);
  bench.Link(up, counter, 0);
  up->SetBytes({0x70, 0x11, 0x01, 0x00});  // 70000
  bench.Pass();
  EXPECT_EQ(70000, counter->Output(0)->GetInt());
  EXPECT_EQ(4464, blocktest::ReadInt(counter)) << "70000 - 65536 in short";
  bench.Stop();
  up->SetBytes({0xFF, 0xFF, 0xFF, 0x7F});  // INT_MAX
  bench.Passes(2);
  EXPECT_EQ(-2, counter->Output(0)->GetInt());
}

// A bit input fed a PWM value counts it as a level (its first byte), never
// by adding the bytes of its period.
TEST(Counter, APwmSourceCountsAsALevel) {
  Bench bench;
  auto* counter = bench.Create<CBECounter>(kBeCounterClassId);
  Source* up = bench.Source(kBeSignalPwm);
  bench.Link(up, counter, 0);
  up->SetPwm(0.001f, 0.5f);  // 6F 12 83 3A: the first byte is set
  bench.Passes(3);
  EXPECT_EQ(1, counter->Output(0)->GetInt());
  up->SetPwm(0.5f, 0.5f);  // 00 00 00 3F: low
  bench.Pass();
  up->SetPwm(0.001f, 0.5f);
  bench.Passes(2);
  EXPECT_EQ(2, counter->Output(0)->GetInt());
  // So does a source of another type from a stream.
  Source* odd = bench.Source(kBeSignalInt);
  bench.LinkAnyway(odd, 0, counter, 1);
  odd->SetInt(1000);  // E8 03: the first byte set
  bench.Passes(3);
  EXPECT_EQ(1, counter->Output(0)->GetInt());
}

TEST(Counter, CostsByTypeAfterAReload) {
  auto counter = blocktest::NewDetached<CBECounter>(kBeCounterClassId);
  EXPECT_EQ(Costs(8, 20), CostsOf(counter.get())) << "the char row, although the output is short";
  std::vector<uint8_t> record = blocktest::RecordBytes(counter.get());
  ASSERT_TRUE(blocktest::LoadBytes(counter.get(), record));
  EXPECT_EQ(Costs(9, 22), CostsOf(counter.get()));
  counter->Output(0)->type = kBeSignalInt;
  counter->UpdateCosts();
  EXPECT_EQ(Costs(11, 24), CostsOf(counter.get()));
  counter->Output(0)->type = kBeSignalChar;
  counter->UpdateCosts();
  EXPECT_EQ(Costs(8, 20), CostsOf(counter.get()));
  counter->Output(0)->type = kBeSignalFloat;
  counter->UpdateCosts();
  EXPECT_EQ(Costs(8, 20), CostsOf(counter.get())) << "other types leave them";
}

// ------------------------------------------------------------ quadrature

// Passes of bit channels (A, B) and the count after the last.
int Quadrature(const std::vector<std::pair<int, int>>& states) {
  Bench bench;
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  if (!q) return INT_MIN;
  Source* a = bench.Source(kBeSignalBit);
  Source* b = bench.Source(kBeSignalBit);
  bench.Link(a, q, 0);
  bench.Link(b, q, 1);
  for (auto s : states) {
    a->SetBit(s.first);
    b->SetBit(s.second);
    bench.Pass();
  }
  return q->Output(0)->GetInt();
}

TEST(PulsCounter, BitChannelsForwardsBackwardsAndSkipped) {
  EXPECT_EQ(4, Quadrature({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}));
  EXPECT_EQ(-4, Quadrature({{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}));
  EXPECT_EQ(0, Quadrature({{0, 0}, {1, 1}}));
  EXPECT_EQ(1, Quadrature({{0, 0}, {1, 0}, {0, 1}})) << "+1, then a skipped state";
  EXPECT_EQ(8, Quadrature({{1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}));
  EXPECT_EQ(0, Quadrature({{1, 0}, {0, 0}, {1, 0}, {0, 0}})) << "+1 -1 +1 -1";
}

TEST(PulsCounter, ThePreviousStateOutlivesStartAndAStateOutOfRangeCountsNothing) {
  Bench bench;
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  Source* a = bench.Source(kBeSignalBit);
  Source* b = bench.Source(kBeSignalBit);
  bench.Link(a, q, 0);
  bench.Link(b, q, 1);
  a->SetBit(true);
  bench.Pass();  // 0 -> 1: +1
  EXPECT_EQ(1, q->Output(0)->GetInt());
  bench.Stop();
  b->SetBit(true);
  bench.Pass();  // Start clears the count, not the state: 1 -> 3 is +1
  EXPECT_EQ(1, q->Output(0)->GetInt());
  // A first byte of 2 on A makes state 2 | 2 = 2: 3 -> 2, +1; then a
  // state of 6 (2 | 4) is out of the table and so is the step from it.
  a->SetBytes({2});
  bench.Pass();
  EXPECT_EQ(2, q->Output(0)->GetInt());
  b->SetBytes({2});
  bench.Pass();
  EXPECT_EQ(6, q->previousState);
  a->SetBit(false);
  b->SetBit(false);
  bench.Pass();
  EXPECT_EQ(2, q->Output(0)->GetInt());
}

TEST(PulsCounter, PulseChannelsWithTheMaximumStep) {
  struct Row {
    BeSignalType typeA, typeB;
    int32_t a, b;
    int perPass;
  } rows[] = {
      {kBeSignalPulseA, kBeSignalPulseB, 200, 200, 93},  // held at 1 MHz
      {kBeSignalPulseA, kBeSignalPulseB, 50, 50, 50},
      {kBeSignalPulseA, kBeSignalPulseB, 93, 93, 93},
      {kBeSignalPulseA, kBeSignalPulseB, -200, -200, -93},  // the sign kept
      {kBeSignalPulseA, kBeSignalPulseB, -50, -50, -50},
      {kBeSignalPulseA, kBeSignalPulseB, INT_MIN, INT_MIN, -93},
      {kBeSignalPulseB, kBeSignalPulseA, 200, 200, -93},  // swapped: backwards
      {kBeSignalPulseB, kBeSignalPulseA, 50, 50, -50},
      {kBeSignalPulseB, kBeSignalPulseA, -200, -200, 93},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.typeA << "/" << row.typeB << ": " << row.a);
    Bench bench;
    auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
    Source* a = bench.Source(row.typeA);
    Source* b = bench.Source(row.typeB);
    bench.Link(a, q, 0);
    bench.Link(b, q, 1);
    a->SetBytes({static_cast<uint8_t>(row.a), static_cast<uint8_t>(row.a >> 8), static_cast<uint8_t>(row.a >> 16),
                 static_cast<uint8_t>(row.a >> 24)});
    b->SetBytes(blocktest::ValueBytes(a));
    bench.Passes(3);
    EXPECT_EQ(3 * row.perPass, q->Output(0)->GetInt());
  }
}

TEST(PulsCounter, TheMaximumStepFollowsTheProcessorAtStart) {
  EXPECT_EQ(93, CBEPulsCounter::MaximumStepFor(1e6));
  EXPECT_EQ(1493, CBEPulsCounter::MaximumStepFor(16e6));
  EXPECT_EQ(0, CBEPulsCounter::MaximumStepFor(0));
  EXPECT_EQ(0, CBEPulsCounter::MaximumStepFor(-5));
  EXPECT_EQ(INT_MAX, CBEPulsCounter::MaximumStepFor(1e300));
  Bench bench;
  bench.scheme.frequency = 16e6f;
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  Source* a = bench.Source(kBeSignalPulseA);
  Source* b = bench.Source(kBeSignalPulseB);
  bench.Link(a, q, 0);
  bench.Link(b, q, 1);
  a->SetBytes({0xD0, 0x07});  // 2000
  b->SetBytes({0xD0, 0x07});
  bench.Pass();  // no record, no dialog: Start has set it
  EXPECT_EQ(1493, q->maximumStep);
  EXPECT_EQ(1493, q->Output(0)->GetInt());
  // A slower processor: 140 x 2 x 300 kHz / 3 MHz = 28.
  bench.Stop();
  bench.scheme.frequency = 300000.0f;
  bench.Pass();
  EXPECT_EQ(28, q->maximumStep);
  EXPECT_EQ(28, q->Output(0)->GetInt()) << "the count cleared, then one held step";
}

TEST(PulsCounter, MismatchedChannelsCountTheirLevels) {
  struct Row {
    BeSignalType typeA, typeB;
    int32_t a, b;
    int count;
  } rows[] = {
      {kBeSignalBit, kBeSignalChar, 1, 3, 2},       // high channels
      {kBeSignalBit, kBeSignalChar, 0, 2, 0},
      {kBeSignalPulseA, kBeSignalPulseB, 3, 4, 1},  // unequal reports
      {kBeSignalPulseA, kBeSignalPulseA, 5, 5, 2},  // B of the wrong channel
      {kBeSignalPulseB, kBeSignalPulseB, 5, 5, 0},  // low channels
      {kBeSignalPulseB, kBeSignalBit, 2, 0, 2},
      {kBeSignalPulseB, kBeSignalPulseA, 3, 2, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.typeA << "/" << row.typeB << ": " << row.a << ", " << row.b);
    Bench bench;
    auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
    Source* a = bench.Source(row.typeA);
    Source* b = bench.Source(row.typeB);
    bench.LinkAnyway(a, 0, q, 0);
    bench.LinkAnyway(b, 0, q, 1);
    a->SetBytes({static_cast<uint8_t>(row.a)});
    b->SetBytes({static_cast<uint8_t>(row.b)});
    bench.Passes(2);
    EXPECT_EQ(row.count, q->Output(0)->GetInt());
  }
  // A of another type: no change.
  Bench bench;
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  Source* a = bench.Source(kBeSignalInt);
  Source* b = bench.Source(kBeSignalBit);
  bench.LinkAnyway(a, 0, q, 0);
  bench.Link(b, q, 1);
  bench.Start();
  q->Output(0)->SetInt(17);
  bench.Pass();
  EXPECT_EQ(17, q->Output(0)->GetInt());
}

TEST(PulsCounter, ResetAndUnlinkedChannels) {
  Bench bench;
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  Source* a = bench.Source(kBeSignalPulseA);
  Source* b = bench.Source(kBeSignalPulseB);
  Source* r = bench.Source(kBeSignalBit);
  bench.Link(a, q, 0);
  bench.Link(r, q, 2);
  a->SetBytes({5});
  b->SetBytes({5});
  r->SetBit(true);
  bench.Start();
  q->Output(0)->SetInt(11);
  bench.Pass();
  EXPECT_EQ(11, q->Output(0)->GetInt()) << "without B nothing, not even the reset";
  bench.Link(b, q, 1);
  bench.Pass();
  EXPECT_EQ(0, q->Output(0)->GetInt());
  r->SetBit(false);
  bench.Pass();
  EXPECT_EQ(5, q->Output(0)->GetInt());
}

TEST(PulsCounter, TheDialogsTypeAndTheCostsAfterAReload) {
  Bench bench;
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  auto* after = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  bench.LinkAnyway(q, 0, after, 0);
  EXPECT_EQ(Costs(1000, 60), CostsOf(q));
  ASSERT_TRUE(q->SetDataType(kBeSignalShort));  // the same type: the link stays
  EXPECT_EQ(q->Output(0), after->Input(0)->source);
  EXPECT_EQ(Costs(600, 60), CostsOf(q));
  ASSERT_TRUE(q->SetDataType(kBeSignalInt));
  EXPECT_EQ(nullptr, after->Input(0)->source);
  EXPECT_EQ(kBeSignalInt, q->Output(0)->type);
  EXPECT_FALSE(q->SetDataType(kBeSignalFloat));
  EXPECT_FALSE(q->SetDataType(kBeSignalBit));
  EXPECT_EQ(kBeSignalInt, q->Output(0)->type);
}

// ------------------------------------------------------------ switches

TEST(MUX, SelectorsOutOfRangeAreHeldAndUnlinkedInputsGiveZero) {
  Bench bench;
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  ASSERT_TRUE(mux->ApplyProperties(3, kBeSignalShort));
  Source* n = bench.Source(kBeSignalChar);
  Source* in0 = bench.Source(kBeSignalShort);
  Source* in2 = bench.Source(kBeSignalShort);
  in0->SetInt(1000);
  in2->SetInt(-2000);
  bench.Link(in0, mux, 1);
  bench.Link(in2, mux, 3);
  // The selector unlinked: input 0.
  bench.Pass();
  EXPECT_EQ(1000, blocktest::ReadInt(mux));
  bench.Link(n, mux, 0);
  struct Row {
    int selector;
    int expected;
  } rows[] = {{-1, 1000}, {0, 1000}, {2, -2000}, {7, -2000}, {127, -2000}, {-128, 1000}};
  for (const Row& row : rows) {
    n->SetInt(row.selector);
    bench.Pass();
    EXPECT_EQ(row.expected, blocktest::ReadInt(mux)) << row.selector;
  }
  // Input 1 is unlinked: eight zero bytes, the type stays.
  n->SetInt(1);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(mux));
  EXPECT_EQ(kBeSignalShort, mux->Output(0)->type);
  // An int selector is read by its first byte: 0x102 selects 2.
  Source* wide = bench.Source(kBeSignalInt);
  wide->SetInt(0x102);
  bench.Link(wide, mux, 0);
  bench.Pass();
  EXPECT_EQ(-2000, blocktest::ReadInt(mux));
}

TEST(MUX, PassesTheSourcesTypeAndAllEightBytesInSeveralTypes) {
  struct Row {
    BeSignalType dataType;
    BeSignalType sourceType;
  } rows[] = {
      {kBeSignalBit, kBeSignalPwm},       {kBeSignalDouble, kBeSignalDouble},   {kBeSignalVideo, kBeSignalScanSector},
      {27, 27},                       {33, 33},                         {kBeSignalGlobalMap, kBeSignalGlobalMap},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "type " << row.dataType << " fed " << row.sourceType);
    Bench bench;
    auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
    ASSERT_TRUE(mux->ApplyProperties(2, row.dataType));
    Source* x = bench.Source(row.sourceType);
    x->SetBytes({1, 2, 3, 4, 5, 6, 7, 8});
    bench.Link(x, mux, 2);
    Source* n = bench.Source(kBeSignalBit);
    n->SetBit(true);
    bench.Link(n, mux, 0);
    bench.Pass();
    EXPECT_EQ(row.sourceType, mux->Output(0)->type);
    EXPECT_EQ(std::vector<uint8_t>({1, 2, 3, 4, 5, 6, 7, 8}), blocktest::ValueBytes(mux));
  }
}

TEST(MUX, TheDialogsCountAndType) {
  Bench bench;
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  Source* c0 = bench.Source(kBeSignalChar);
  Source* c1 = bench.Source(kBeSignalChar);
  Source* n = bench.Source(kBeSignalChar);
  auto* after = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  bench.Link(n, mux, 0);
  bench.Link(c0, mux, 1);
  bench.Link(c1, mux, 2);
  bench.Link(mux, after, 1);
  // More inputs of the same type: the links stay.
  ASSERT_TRUE(mux->ApplyProperties(4, kBeSignalChar));
  EXPECT_EQ(5, mux->inputCount);
  EXPECT_EQ(150, mux->Height());
  EXPECT_EQ(c1->Output(0), mux->Input(2)->source);
  EXPECT_EQ(mux->Output(0), after->Input(1)->source);
  for (int i = 1; i < 5; ++i) {
    EXPECT_EQ(kBeSignalChar, mux->Input(i)->type) << i;
    EXPECT_STREQ(L"Вход", mux->Input(i)->description) << i;
    EXPECT_EQ(15 + 30 * i, mux->Input(i)->yOffset) << i;
  }
  EXPECT_EQ(75, mux->Output(0)->yOffset);
  // Another type: data inputs unlinked, the output disconnected, the
  // selector kept.
  ASSERT_TRUE(mux->ApplyProperties(2, kBeSignalFloat));
  EXPECT_EQ(3, mux->inputCount);
  EXPECT_EQ(90, mux->Height());
  EXPECT_EQ(n->Output(0), mux->Input(0)->source);
  EXPECT_EQ(kBeSignalAnyInteger, mux->Input(0)->type);
  EXPECT_EQ(nullptr, mux->Input(1)->source);
  EXPECT_EQ(nullptr, after->Input(1)->source);
  EXPECT_EQ(kBeSignalFloat, mux->Output(0)->type);
  EXPECT_EQ(Costs(12, 24), CostsOf(mux));
  // Out of the dialog's range: refused, nothing changed.
  EXPECT_FALSE(mux->ApplyProperties(1, kBeSignalFloat));
  EXPECT_FALSE(mux->ApplyProperties(128, kBeSignalFloat));
  EXPECT_FALSE(mux->ApplyProperties(3, kBeSignalPwm));
  EXPECT_FALSE(mux->ApplyProperties(3, kBeSignalPulseA));
  EXPECT_FALSE(mux->ApplyProperties(3, 29));
  EXPECT_EQ(3, mux->inputCount);
  EXPECT_EQ(kBeSignalFloat, mux->Output(0)->type);
  ASSERT_TRUE(mux->ApplyProperties(127, kBeSignalGlobalMap));
  EXPECT_EQ(127 * 30 + 30, mux->Height());
}

TEST(DEMUX, TheSelectedOutputTakesTheValueAndTheOthersAreCleared) {
  Bench bench;
  auto* demux = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  ASSERT_TRUE(demux->ApplyProperties(3, kBeSignalInt));
  Source* x = bench.Source(kBeSignalInt);
  Source* n = bench.Source(kBeSignalChar);
  // Without data nothing, the selector neither.
  for (int i = 0; i < 3; ++i) memset(demux->Output(i)->value, 0x77, 8);
  bench.Link(n, demux, 0);
  bench.Pass();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::vector<uint8_t>(8, 0x77), blocktest::ValueBytes(demux, i)) << i;
  bench.Link(x, demux, 1);
  x->SetInt(123456);
  struct Row {
    int selector;
    int output;
  } rows[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {-5, 0}, {100, 2}};
  for (const Row& row : rows) {
    n->SetInt(row.selector);
    bench.Pass();
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(i == row.output ? 123456 : 0, demux->Output(i)->GetInt()) << row.selector << ", output " << i;
  }
  // The unselected outputs keep their types; the selected takes the
  // source's.
  x->SetType(kBeSignalShort);
  n->SetInt(1);
  bench.Pass();
  EXPECT_EQ(kBeSignalInt, demux->Output(0)->type);
  EXPECT_EQ(kBeSignalShort, demux->Output(1)->type);
  EXPECT_EQ(kBeSignalInt, demux->Output(2)->type);
  // Unlinked selector: output 0.
  bench.Unlink(demux, 0);
  bench.Pass();
  EXPECT_EQ(123456, demux->Output(0)->GetInt());
  EXPECT_EQ(0, demux->Output(1)->GetInt());
}

TEST(DEMUX, TheDialogsCountAndType) {
  Bench bench;
  auto* demux = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  Source* x = bench.Source(kBeSignalChar);
  auto* a = bench.Create<CBEMUX>(kBeMUXClassId);
  bench.Link(x, demux, 1);
  bench.Link(demux, 0, a, 1);
  bench.Link(demux, 1, a, 2);
  ASSERT_TRUE(demux->ApplyProperties(5, kBeSignalChar));
  EXPECT_EQ(5, demux->outputCount);
  EXPECT_EQ(150, demux->Height());
  EXPECT_EQ(x->Output(0), demux->Input(1)->source);
  EXPECT_EQ(demux->Output(1), a->Input(2)->source);
  for (int i = 0; i < 5; ++i) {
    EXPECT_STREQ(L"Выход", demux->Output(i)->description);
    EXPECT_EQ(kBeSignalChar, demux->Output(i)->type);
  }
  EXPECT_EQ(37, demux->Input(0)->yOffset);
  EXPECT_EQ(112, demux->Input(1)->yOffset);
  // Down to two of another type: the removed and retyped outputs lose
  // their links, the data input is unlinked.
  ASSERT_TRUE(demux->ApplyProperties(2, kBeSignalVideo));
  EXPECT_EQ(nullptr, demux->Input(1)->source);
  EXPECT_EQ(nullptr, a->Input(1)->source);
  EXPECT_EQ(nullptr, a->Input(2)->source);
  EXPECT_EQ(kBeSignalVideo, demux->GetType());
  EXPECT_EQ(60, demux->Height());
  EXPECT_FALSE(demux->ApplyProperties(0, kBeSignalVideo));
  EXPECT_FALSE(demux->ApplyProperties(2, 37));
  EXPECT_EQ(2, demux->outputCount);
  for (BeSignalType type : kSwitchDataTypes) EXPECT_TRUE(demux->ApplyProperties(2, type)) << type;
}

// ------------------------------------------------------------ coder

TEST(Coder, TheFirstActiveInputWins) {
  struct Row {
    std::vector<int> inputs;  // the first byte, or the second with 0x100; kOpen unlinked
    int code;
  } rows[] = {
      {{0, 1, 1}, 2},   {{0, 0, 0}, 0},           {{1, 1, 1}, 1},
      {{kOpen, 0, 5}, 3}, {{kOpen, kOpen, kOpen}, 0}, {{0, 0x100, 1}, 2},  // any of the first four bytes
  };
  for (const Row& row : rows) {
    Bench bench;
    auto* coder = bench.Create<CBECoder>(kBeCoderClassId);
    ASSERT_TRUE(coder->SetInputCount(static_cast<int>(row.inputs.size())));
    for (size_t i = 0; i < row.inputs.size(); ++i) {
      if (row.inputs[i] == kOpen) continue;
      Source* x = bench.Source(kBeSignalBit);
      x->SetBytes({static_cast<uint8_t>(row.inputs[i]), static_cast<uint8_t>(row.inputs[i] >> 8)});
      bench.Link(x, coder, static_cast<int>(i));
    }
    bench.Pass();
    EXPECT_EQ(row.code, coder->Output(0)->GetInt()) << row.code;
  }
}

TEST(Coder, ItsInputCountSetsHeightNamesAndCosts) {
  Bench bench;
  auto* coder = bench.Create<CBECoder>(kBeCoderClassId);
  Source* x = bench.Source(kBeSignalBit);
  bench.Link(x, coder, 1);
  ASSERT_TRUE(coder->SetInputCount(5));
  EXPECT_EQ(100, coder->Height());
  EXPECT_EQ(Costs(15, 20), CostsOf(coder));
  EXPECT_EQ(x->Output(0), coder->Input(1)->source) << "kept inputs keep their links";
  EXPECT_STREQ(L"5", coder->Input(4)->name);
  EXPECT_STREQ(L"Вход 5", coder->Input(4)->description);
  EXPECT_EQ(90, coder->Input(4)->yOffset);
  EXPECT_EQ(50, coder->Output(0)->yOffset);
  ASSERT_TRUE(coder->SetInputCount(127));
  EXPECT_STREQ(L"127", coder->Input(126)->name);
  EXPECT_STREQ(L"Вход 127", coder->Input(126)->description);
  EXPECT_EQ(Costs(381, 508), CostsOf(coder));
  EXPECT_FALSE(coder->SetInputCount(128));
  EXPECT_FALSE(coder->SetInputCount(-1));
  EXPECT_EQ(127, coder->inputCount);
  // Start clears the first four bytes.
  memset(coder->Output(0)->value, 0x44, 8);
  bench.Start();
  EXPECT_EQ(std::vector<uint8_t>({0, 0, 0, 0, 0x44, 0x44, 0x44, 0x44}), blocktest::ValueBytes(coder));
}

// ------------------------------------------------------------ dialogs

CBEBlock* shown = nullptr;
bool Accept(CBEBlock* block) {
  shown = block;
  return true;
}

// Until its dialog is registered a block's properties answer false and
// change nothing; a registered dialog is shown on the block itself.
TEST(DigitalBlocks, PropertiesOpenTheDialogRegisteredForTheClass) {
  Bench bench;
  const unsigned int ids[] = {kBeDFlipFlopClassId, kBeRegisterClassId, kBeCounterClassId, kBePulsCounterClassId, kBeDEMUXClassId, kBeMUXClassId, kBeCoderClassId};
  for (unsigned int id : ids) {
    SCOPED_TRACE(testing::Message() << std::hex << id);
    CBEBlock* block = bench.Create<CBEBlock>(id);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    {
      blocktest::DialogScope dialogs;
      shown = nullptr;
      EXPECT_FALSE(block->ShowProperties());
      EXPECT_EQ(nullptr, shown);
      EXPECT_TRUE(velktest::BytesEqual(before, blocktest::RecordBytes(block)));
      dialogs.Set(id, Accept);
      EXPECT_TRUE(block->ShowProperties());
      EXPECT_EQ(block, shown);
    }
  }
  // The RS flip-flop has no dialog of its own.
  {
    blocktest::DialogScope dialogs;
    dialogs.Set(kBeRSFlipFlopClassId, Accept);
    CBEBlock* rs = bench.Create<CBEBlock>(kBeRSFlipFlopClassId);
    shown = nullptr;
    EXPECT_FALSE(rs->ShowProperties());
    EXPECT_EQ(nullptr, shown);
  }
}

}  // namespace
