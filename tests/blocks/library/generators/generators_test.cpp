// The "Генераторы" blocks at run time: what each is made as, the square
// wave and the pulses stepped with passes that divide and do not divide
// their periods, the switch to PWM, the one-shot and the extender, and the
// event detector on every source type.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "block_kit.h"
#include "blocks/library/generators/constant.h"
#include "blocks/library/generators/duration.h"
#include "blocks/library/generators/event.h"
#include "blocks/library/generators/generator_time.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/generators/monostable.h"
#include "blocks/library/generators/single_impuls.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

// The output's first byte after each of n passes of dt.
std::vector<int> Bits(Bench* bench, CBEBlock* block, int n, float dt) {
  std::vector<int> seen;
  for (int i = 0; i < n; ++i) {
    bench->Pass(dt);
    seen.push_back(block->Output(0)->value[0]);
  }
  return seen;
}

// ------------------------------------------------------------ construction

TEST(Generators, EachIsMadeWithItsSizePinsAndCosts) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height;
    int inputs;
    BeSignalType inputType;
    const wchar_t* inputName;
    const wchar_t* inputDescription;
    const wchar_t* outputDescription;
    Costs costs;
    COLORREF fill;
  } rows[] = {
      {kBeConstantClassId, L"Константа", 80, 20, 0, 0, nullptr, nullptr, L"Значение константы", Costs(0, 0),
       0xFFFFFF},
      {kBeMeanderClassId, L"Генератор меандра", 80, 30, 0, 0, nullptr, nullptr, nullptr, Costs(7, 20), 0xFFFFFF},
      {kBeSingleImpulsClassId, L"Одиночный импульс", 80, 30, 0, 0, nullptr, nullptr, nullptr, Costs(7, 20),
       0xFFFFFF},
      {kBeMonostableClassId, L"Ждущий мультивибратор", 90, 35, 1, kBeSignalBit, L"c",
       L"Импульс, передний фронт которого запускает одновибратор", L"1, если запущен, иначе 0", Costs(10, 14),
       0xCCFFCC},
      {kBeDurationClassId, L"Продлеватель импульсов", 90, 35, 1, kBeSignalBit, nullptr, L"Продлеваемый импульс",
       L"Продленный импульс", Costs(10, 14), 0xCCFFCC},
      {kBeEventClassId, L"Детектор событий", 70, 30, 1, kBeSignalAnyScalar, nullptr, L"Входная величина",
       L"Логическая единица, если входной сигнал изменился", Costs(10, 20), 0xFFFFFF},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(row.fill, block->fillColor);
    ASSERT_EQ(row.inputs, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    if (row.inputs) {
      EXPECT_EQ(row.inputType, block->Input(0)->type);
      if (row.inputName) {
        EXPECT_STREQ(row.inputName, block->Input(0)->name);
      } else {
        EXPECT_EQ(nullptr, block->Input(0)->name);
      }
      EXPECT_STREQ(row.inputDescription, block->Input(0)->description);
    }
    EXPECT_EQ(kBeSignalBit, block->Output(0)->type);
    EXPECT_EQ(nullptr, block->Output(0)->name);
    if (row.outputDescription) {
      EXPECT_STREQ(row.outputDescription, block->Output(0)->description);
    } else {
      EXPECT_EQ(nullptr, block->Output(0)->description);
    }
    EXPECT_EQ(row.costs, CostsOf(block));
  }
  auto* meander = bench.Create<CBEMeander>(kBeMeanderClassId);
  EXPECT_EQ(1000.0f, meander->period);
  EXPECT_EQ(0.0f, meander->initialPhase);
  auto* single = bench.Create<CBESingleImpuls>(kBeSingleImpulsClassId);
  EXPECT_EQ(-1.0f, single->period);
  EXPECT_EQ(0.0f, single->initialDelay);
  EXPECT_EQ(1000, bench.Create<CBEMonostable>(kBeMonostableClassId)->duration);
  EXPECT_EQ(1000, bench.Create<CBEDuration>(kBeDurationClassId)->extension);
  auto* event = bench.Create<CBEEvent>(kBeEventClassId);
  EXPECT_EQ(kEventChange, event->kind);
  EXPECT_EQ(1, event->firstPass);
}

// ------------------------------------------------------------ constant

TEST(Constant, KeepsItsValueThroughARunAndCostsByType) {
  Bench bench;
  auto* c = bench.Create<CBEConstant>(kBeConstantClassId);
  struct Row {
    BeSignalType type;
    const wchar_t* text;
    std::vector<uint8_t> bytes;
    Costs costs;
  } rows[] = {
      {kBeSignalBit, L"1", {1, 0, 0, 0, 0, 0, 0, 0}, Costs(3, 2)},
      {kBeSignalBit, L"2", {0, 0, 0, 0, 0, 0, 0, 0}, Costs(3, 2)},  // only "1" is 1
      {kBeSignalChar, L"-1", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, Costs(1, 2)},
      {kBeSignalShort, L"300", {0x2C, 0x01, 0, 0, 0, 0, 0, 0}, Costs(2, 4)},
      {kBeSignalInt, L"-100000", {0x60, 0x79, 0xFE, 0xFF, 0, 0, 0, 0}, Costs(4, 8)},
      {kBeSignalInt, L"abc", {0, 0, 0, 0, 0, 0, 0, 0}, Costs(4, 8)},
      {kBeSignalFloat, L"2.5", {0, 0, 0x20, 0x40, 0, 0, 0, 0}, Costs(4, 8)},
      {kBeSignalDouble, L"-2", {0, 0, 0, 0, 0, 0, 0, 0xC0}, Costs(8, 16)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "type " << row.type);
    ASSERT_TRUE(c->SetValueFromText(row.type, row.text));
    EXPECT_EQ(row.type, c->GetType());
    EXPECT_EQ(row.costs, CostsOf(c));
    bench.Passes(3);
    EXPECT_EQ(row.bytes, blocktest::ValueBytes(c));
    bench.Stop();
  }
  // Types the dialog does not offer are refused, nothing changed.
  EXPECT_FALSE(c->SetValueFromText(kBeSignalPwm, L"1"));
  EXPECT_FALSE(c->SetValueFromText(kBeSignalPulseA, L"1"));
  EXPECT_EQ(kBeSignalDouble, c->GetType());
  EXPECT_EQ(Costs(8, 16), CostsOf(c));
  // A type outside the table keeps the costs.
  c->Output(0)->type = kBeSignalPulseA;
  c->UpdateCosts();
  EXPECT_EQ(Costs(8, 16), CostsOf(c));
}

// ------------------------------------------------------------ square wave

TEST(Meander, APassThatDividesThePeriod) {
  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  // Phases 0, 125, ..., 1000 (the half period high, the full period not
  // wrapped), then 125 ... 1000 over and over.
  std::vector<int> expected = {1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_EQ(expected, Bits(&bench, m, 25, 0.125f));
  EXPECT_EQ(kBeSignalBit, m->Output(0)->type);
  EXPECT_EQ(125.0f, m->phase);
  // The whole first four bytes hold the integer.
  bench.Pass(0.125f);
  EXPECT_EQ(1, m->Output(0)->GetInt());
}

TEST(Meander, APassThatDoesNotDivideThePeriod) {
  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  m->period = 100.0f;
  // Phases 0, 30, 60, 90, 120 -> 20, 50, 80, 110 -> 10, 40, 70, 100 (kept),
  // 130 -> 30.
  std::vector<int> expected = {1, 1, 0, 0, 1, 1, 0, 1, 1, 0, 0, 1};
  EXPECT_EQ(expected, Bits(&bench, m, 12, 0.03f));
  EXPECT_EQ(60.0f, m->phase);
}

TEST(Meander, TheInitialPhaseShiftsTheWaveAndStartResetsIt) {
  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  m->initialPhase = 600.0f;
  // 600, 725, 850, 975, 1100 -> 100, 225, 350, 475, 600.
  std::vector<int> expected = {0, 0, 0, 0, 1, 1, 1, 1, 0};
  EXPECT_EQ(expected, Bits(&bench, m, 9, 0.125f));
  bench.Stop();
  EXPECT_EQ(725.0f, m->phase) << "Stop keeps the run's fields";
  EXPECT_EQ(expected, Bits(&bench, m, 9, 0.125f));
}

// A phase far beyond the period comes back in one step, where the
// subtraction would have ended: a multiple of the period ends at the period.
TEST(Meander, AHugePhaseIsReducedAtOnce) {
  struct Row {
    float initial;
    float expected;
  } rows[] = {
      {3000.0f, 1000.0f},
      {2500.0f, 500.0f},
      {1000.5f, 0.5f},
      // The float nearest 1e30 is 1000000015047466219876688855040.
      {1e30f, 40.0f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.initial);
    Bench bench;
    auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
    m->initialPhase = row.initial;
    bench.Pass(0.0f);
    EXPECT_EQ(0, m->Output(0)->value[0]);
    EXPECT_EQ(row.expected, m->phase);
  }
  EXPECT_EQ(40.0f, WrapPhase(1e30f, 1000.0f));
  EXPECT_EQ(1e30f / 4, WrapPhase(1e30f, 1e30f / 4));  // an exact multiple: the period
}

TEST(Meander, ValuesThatAreNotFiniteAndEmptyPeriodsNeverHang) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(inf, WrapPhase(inf, 1000.0f));
  EXPECT_TRUE(std::isnan(WrapPhase(nan, 1000.0f)));
  EXPECT_EQ(5.0f, WrapPhase(5.0f, 0.0f));
  EXPECT_EQ(5.0f, WrapPhase(5.0f, -1.0f));
  EXPECT_EQ(5.0f, WrapPhase(5.0f, nan));
  EXPECT_EQ(-1e30f, WrapPhase(-1e30f, 10.0f));

  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  // A period of 0 stepped with dt 0: the bit branch, and the phase stays.
  m->period = 0.0f;
  m->initialPhase = 10.0f;
  EXPECT_EQ(std::vector<int>({0, 0, 0}), Bits(&bench, m, 3, 0.0f));
  EXPECT_EQ(10.0f, m->phase);
  EXPECT_EQ(kBeSignalBit, m->Output(0)->type);
  // With dt > 0 it is PWM of period 0.
  bench.Pass(0.001f);
  EXPECT_EQ(kBeSignalPwm, m->Output(0)->type);
  EXPECT_EQ(0.0f, m->Output(0)->GetFloat());
  bench.Stop();
  // An infinite phase stays infinite: low.
  m->period = 1000.0f;
  m->initialPhase = inf;
  EXPECT_EQ(std::vector<int>({0, 0}), Bits(&bench, m, 2, 0.001f));
  EXPECT_EQ(inf, m->phase);
}

TEST(Meander, APassLongerThanThePeriodGivesPwm) {
  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  m->period = 5.0f;
  bench.Pass(0.01f);
  EXPECT_EQ(kBeSignalPwm, m->Output(0)->type);
  // 0.005f and 0.5f.
  EXPECT_EQ(std::vector<uint8_t>({0x0A, 0xD7, 0xA3, 0x3B, 0x00, 0x00, 0x00, 0x3F}), blocktest::ValueBytes(m));
  EXPECT_EQ(0.0f, m->phase) << "the phase does not advance";
  bench.Pass(0.01f);
  EXPECT_EQ(0.0f, m->phase);
  // Shorter passes: bit again, the first four bytes the integer (the duty
  // stays in the other four).
  bench.Pass(0.001f);
  EXPECT_EQ(kBeSignalBit, m->Output(0)->type);
  EXPECT_EQ(std::vector<uint8_t>({1, 0, 0, 0, 0x00, 0x00, 0x00, 0x3F}), blocktest::ValueBytes(m));
  EXPECT_EQ(1.0f, m->phase);
  // A pass exactly as long as the period is not longer.
  bench.Pass(0.005f);
  EXPECT_EQ(kBeSignalBit, m->Output(0)->type);
  // The PWM output feeds a bit input as the editor allows.
  auto* extender = bench.Create<CBEDuration>(kBeDurationClassId);
  bench.Link(m, extender);
}

TEST(Meander, TheDialogsPeriodIsAtLeastTenPassesOfTheProcessor) {
  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  bench.scheme.frequency = 1000.0f;  // 10 / 1000 Hz = 0.01 ms
  m->SetTiming(0.001f, 7.0f);
  EXPECT_EQ(0.01f, m->period);
  EXPECT_EQ(7.0f, m->initialPhase);
  m->SetTiming(250.0f, 0.0f);
  EXPECT_EQ(250.0f, m->period);
  auto* single = bench.Create<CBESingleImpuls>(kBeSingleImpulsClassId);
  single->SetTiming(-5.0f, 3.0f);
  EXPECT_EQ(-1.0f, single->period);
  EXPECT_EQ(3.0f, single->initialDelay);
  single->SetTiming(0.0f, 0.0f);
  EXPECT_EQ(0.01f, single->period);
  // Outside a scheme the default frequency (1 MHz) sets the floor.
  auto detached = blocktest::NewDetached<CBEMeander>(kBeMeanderClassId);
  detached->SetTiming(0.0f, 0.0f);
  EXPECT_EQ(1e-5f, detached->period);
}

// ------------------------------------------------------------ single pulse

TEST(SingleImpuls, OnePulseAfterTheDelay) {
  Bench bench;
  auto* p = bench.Create<CBESingleImpuls>(kBeSingleImpulsClassId);
  p->initialDelay = 100.0f;
  // 100 - 30 = 70, 40, 10, -20: the fourth pass; then never again.
  std::vector<int> expected = {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(expected, Bits(&bench, p, 12, 0.03f));
  EXPECT_EQ(1, p->finished);
  EXPECT_EQ(-21.0f, p->remaining);
  // Stop keeps it finished; Start begins again.
  bench.Stop();
  EXPECT_EQ(1, p->finished);
  EXPECT_EQ(expected, Bits(&bench, p, 12, 0.03f));
}

TEST(SingleImpuls, RepeatedPulses) {
  Bench bench;
  auto* p = bench.Create<CBESingleImpuls>(kBeSingleImpulsClassId);
  // Period 50 and passes of 20: -20 (+50) 30, 10, -10 (+50) 40, 20, 0 (not
  // below 0), -20 ...
  p->period = 50.0f;
  EXPECT_EQ(std::vector<int>({1, 0, 1, 0, 0, 1, 0, 1, 0, 0}), Bits(&bench, p, 10, 0.02f));
  EXPECT_EQ(0, p->finished);
  bench.Stop();
  // A period shorter than the pass: a pulse on every pass while the
  // remaining time catches up.
  p->period = 5.0f;
  EXPECT_EQ(std::vector<int>({1, 1, 1, 1}), Bits(&bench, p, 4, 0.02f));
  EXPECT_EQ(-60.0f, p->remaining);
}

// ------------------------------------------------------------ one-shot

TEST(Monostable, RetriggeredByANewEdgeNotByAHeldLevel) {
  Bench bench;
  auto* shot = bench.Create<CBEMonostable>(kBeMonostableClassId);
  auto* c = bench.Source(kBeSignalBit);
  bench.Link(c, shot);
  // Passes of 100 ms: the input is 1 in passes 1-3 and from pass 7 on. The
  // edge of pass 1 runs to 1100 ms (pass 11), but the edge of pass 7 (600
  // ms later) restarts it: 0 at pass 17; the level held does not restart.
  std::vector<int> seen;
  for (int pass = 1; pass <= 22; ++pass) {
    c->SetBit(pass <= 3 || pass >= 7);
    bench.Pass(0.1f);
    seen.push_back(shot->Output(0)->value[0]);
  }
  std::vector<int> expected(22, 1);
  for (int pass = 17; pass <= 22; ++pass) expected[pass - 1] = 0;
  EXPECT_EQ(expected, seen);
  EXPECT_EQ(-1.0f, shot->elapsed);
}

TEST(Monostable, OneEdgeGivesTheDurationAndAnUnlinkedInputNothing) {
  Bench bench;
  auto* shot = bench.Create<CBEMonostable>(kBeMonostableClassId);
  auto* c = bench.Source(kBeSignalBit);
  bench.Link(c, shot);
  c->SetBit(true);
  bench.Pass(0.1f);
  c->SetBit(false);
  // 100 ... 1000 ms: still 1 (not above); 1100: 0.
  std::vector<int> expected = {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
  EXPECT_EQ(expected, Bits(&bench, shot, 11, 0.1f));

  auto* idle = bench.Create<CBEMonostable>(kBeMonostableClassId);
  idle->Output(0)->value[0] = 1;
  bench.Stop();
  EXPECT_EQ(std::vector<int>({0, 0, 0}), Bits(&bench, idle, 3, 0.1f)) << "Start clears, no edge without a link";
  // A duration below 0 ends the pulse in the pass that began it.
  shot->duration = -1;
  bench.Stop();
  c->SetBit(true);
  EXPECT_EQ(std::vector<int>({0, 0}), Bits(&bench, shot, 2, 0.0f));
}

// ------------------------------------------------------------ extender

TEST(Duration, ExtendsThePulseByItsTime) {
  Bench bench;
  auto* ext = bench.Create<CBEDuration>(kBeDurationClassId);
  auto* x = bench.Source(kBeSignalBit);
  bench.Link(x, ext);
  // 1 in passes 1-3; afterwards 100 + 100 k ms after the last: above 1000
  // at pass 13.
  std::vector<int> seen;
  for (int pass = 1; pass <= 14; ++pass) {
    x->SetBit(pass <= 3);
    bench.Pass(0.1f);
    seen.push_back(ext->Output(0)->value[0]);
  }
  std::vector<int> expected(14, 1);
  expected[12] = expected[13] = 0;
  EXPECT_EQ(expected, seen);
}

TEST(Duration, AnExtensionShorterThanThePassNeverShowsOne) {
  Bench bench;
  auto* ext = bench.Create<CBEDuration>(kBeDurationClassId);
  ext->extension = 1;
  auto* x = bench.Source(kBeSignalBit);
  bench.Link(x, ext);
  x->SetBit(true);
  EXPECT_EQ(std::vector<int>({0, 0, 0, 0}), Bits(&bench, ext, 4, 0.01f));
  // Unlinked: level 0.
  bench.Unlink(ext);
  ext->extension = 1000;
  EXPECT_EQ(std::vector<int>({0, 0}), Bits(&bench, ext, 2, 0.01f));
}

// ------------------------------------------------------------ events

// Values a source goes through, one per pass, and what each kind outputs.
struct EventCase {
  BeSignalType type;
  std::vector<double> values;
  std::vector<int> increase, decrease, change;
};

void RunEventCase(const EventCase& c) {
  const std::vector<int>* expected[3] = {&c.increase, &c.decrease, &c.change};
  for (unsigned char kind = 0; kind < 3; ++kind) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", kind " << static_cast<int>(kind));
    Bench bench;
    auto* event = bench.Create<CBEEvent>(kBeEventClassId);
    event->kind = kind;
    auto* x = bench.Source(c.type);
    bench.LinkAnyway(x, 0, event, 0);
    std::vector<int> seen;
    for (double v : c.values) {
      x->Set(v);
      bench.Pass();
      seen.push_back(event->Output(0)->value[0]);
    }
    EXPECT_EQ(*expected[kind], seen);
  }
}

TEST(Event, RisingFallingAndAnyChangeOnEveryScalarType) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const EventCase cases[] = {
      {kBeSignalInt, {5, 7, 7, 3}, {0, 1, 0, 0}, {0, 0, 0, 1}, {0, 1, 0, 1}},
      // Signed: -1 is below 1, -32768 below 32767, INT_MIN below INT_MAX.
      {kBeSignalChar, {-1, 1, 1, -128}, {0, 1, 0, 0}, {0, 0, 0, 1}, {0, 1, 0, 1}},
      {kBeSignalShort, {-32768, 32767, -1}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}},
      {kBeSignalInt, {INT_MIN, INT_MAX, INT_MAX}, {0, 1, 0}, {0, 0, 0}, {0, 1, 0}},
      {kBeSignalFloat, {1.5, 1.25, 1.25, 2}, {0, 0, 0, 1}, {0, 1, 0, 0}, {0, 1, 0, 1}},
      {kBeSignalDouble, {0, 1e-300, -1e-300}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}},
      // A NaN is a change and neither rise nor fall.
      {kBeSignalFloat, {1, nan, nan, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 1, 1, 1}},
      {kBeSignalDouble, {1, nan, 2}, {0, 0, 0}, {0, 0, 0}, {0, 1, 1}},
      // The first pass is 0 whatever the value did before.
      {kBeSignalInt, {9, 9}, {0, 0}, {0, 0}, {0, 0}},
  };
  for (const EventCase& c : cases) RunEventCase(c);
}

TEST(Event, ABitSourceComparesItsFirstByte) {
  const EventCase bits = {kBeSignalBit, {0, 1, 1, 0, 0, 1}, {0, 1, 0, 0, 0, 1}, {0, 0, 0, 1, 0, 0},
                          {0, 1, 0, 1, 0, 1}};
  RunEventCase(bits);
  // Two nonzero bytes that differ are a change but no rise.
  Bench bench;
  auto* rise = bench.Create<CBEEvent>(kBeEventClassId);
  auto* change = bench.Create<CBEEvent>(kBeEventClassId);
  rise->kind = kEventIncrease;
  auto* x = bench.Source(kBeSignalBit);
  bench.Link(x, rise);
  bench.Link(x, change);
  x->SetBytes({1});
  bench.Pass();
  x->SetBytes({2});
  bench.Pass();
  EXPECT_EQ(0, rise->Output(0)->value[0]);
  EXPECT_EQ(1, change->Output(0)->value[0]);
}

TEST(Event, FollowsTheSourcesTypeAndKeepsItsOutputOtherwise) {
  Bench bench;
  auto* event = bench.Create<CBEEvent>(kBeEventClassId);
  auto* x = bench.Source(kBeSignalChar);
  bench.Link(x, event);
  // Unlinked: nothing at all, the output keeps its value.
  bench.Unlink(event);
  event->Output(0)->value[0] = 7;
  bench.Passes(2);
  EXPECT_EQ(7, event->Output(0)->value[0]);
  EXPECT_EQ(1, event->firstPass) << "the first linked pass is still to come";
  bench.Link(x, event);
  x->SetInt(-1);  // FF
  bench.Pass();
  EXPECT_EQ(0, event->Output(0)->value[0]);
  EXPECT_EQ(0xFF, event->previous[0]);
  // The source becomes short: the previous FF 00 is read as 255 against
  // FF FF, -1.
  x->SetType(kBeSignalShort);
  x->SetInt(-1);
  bench.Pass();
  EXPECT_EQ(1, event->Output(0)->value[0]);
  // A PWM source: the output stays, the previous value is still copied.
  x->SetType(kBeSignalPwm);
  x->SetPwm(0.5f, 0.25f);
  bench.Pass();
  EXPECT_EQ(1, event->Output(0)->value[0]);
  EXPECT_EQ(blocktest::ValueBytes(x), std::vector<uint8_t>(event->previous, event->previous + 8));
  // After Stop and Start the first pass is 0 again.
  bench.Stop();
  x->SetType(kBeSignalInt);
  x->SetInt(100);
  bench.Pass();
  EXPECT_EQ(0, event->Output(0)->value[0]);
  // Kinds past the dialog's never fire.
  event->kind = 3;
  x->SetInt(5);
  bench.Pass();
  EXPECT_EQ(0, event->Output(0)->value[0]);
}

TEST(Event, TakesEveryScalarOutputButNotPwm) {
  for (BeSignalType type : {kBeSignalBit, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble})
    EXPECT_TRUE(IsSignalTypeCompatible(type, kBeSignalAnyScalar)) << type;
  EXPECT_FALSE(IsSignalTypeCompatible(kBeSignalPwm, kBeSignalAnyScalar));
}

// ------------------------------------------------------------ dialogs

CBEBlock* shown = nullptr;
bool Accept(CBEBlock* block) {
  shown = block;
  return true;
}

// Until its dialog is registered a block's properties answer false and
// change nothing; a registered dialog is shown on the block itself.
TEST(Generators, PropertiesOpenTheDialogRegisteredForTheClass) {
  Bench bench;
  const unsigned int ids[] = {kBeConstantClassId, kBeMeanderClassId, kBeSingleImpulsClassId, kBeMonostableClassId, kBeDurationClassId, kBeEventClassId};
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
}

}  // namespace
