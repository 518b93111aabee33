// The microcontroller's pulse blocks: the PWM detector on PWM and logic
// inputs of known duty and period, the interval detector on counted encoder
// pulses both ways and on a logic input, the software PWM's set points and
// costs, their records and the interval detector's picture.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "block_kit.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/mcu/pwm_detector.h"
#include "blocks/library/mcu/software_pwm.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::ReadFloat;
using blocktest::ReadInt;

// A bench whose catalogue offers the pulse blocks as the microcontroller's
// catalogue does.
struct McuBench : blocktest::Bench {
  McuBench() {
    EXPECT_TRUE(library.Offer(kBePWMDetectorClassId, L"Детектор ШИМ", L"pwmdetector.bmp"));
    EXPECT_TRUE(library.Offer(kBeIntervalDetectorClassId, L"Измеритель интервалов", L"IntervalDetector.bmp"));
    EXPECT_TRUE(library.Offer(kBeSoftwarePWMClassId, L"Программный ШИМ", L"pwm.bmp"));
  }
};

// The value of an encoder channel: the edges of the pass as a float in
// bytes 4-7.
void SetEdges(blocktest::Source* source, float edges) {
  std::vector<uint8_t> bytes(8, 0);
  memcpy(&bytes[4], &edges, 4);
  source->SetBytes(bytes);
}

// The scheme icons folder while alive (the previous one comes back).
class IconsScope {
public:
  explicit IconsScope(const std::wstring& folder)
      : had_(GetSchemeIconsFolder() != nullptr), saved_(had_ ? GetSchemeIconsFolder() : L"") {
    SetSchemeIconsFolder(folder.c_str());
  }
  ~IconsScope() { SetSchemeIconsFolder(had_ ? saved_.c_str() : nullptr); }

private:
  bool had_;
  std::wstring saved_;
};

// ------------------------------------------------------------ PWM detector

TEST(PwmDetector, IsMadeWithItsPinsAndCosts) {
  McuBench bench;
  auto* d = bench.Create<CBEPWMDetector>(kBePWMDetectorClassId);
  ASSERT_NE(nullptr, d);
  EXPECT_STREQ(L"Детектор ШИМ", d->GetCaption());
  EXPECT_EQ(90, d->Width());
  EXPECT_EQ(40, d->Height());
  EXPECT_EQ(RGB(255, 255, 255), d->fillColor);
  EXPECT_EQ(Costs(400, 60), CostsOf(d));
  ASSERT_EQ(1, d->inputCount);
  EXPECT_EQ(kBeSignalBit, d->Input(0)->type);
  EXPECT_EQ(nullptr, d->Input(0)->name);
  EXPECT_STREQ(L"Вход ШИМ", d->Input(0)->description);
  ASSERT_EQ(2, d->outputCount);
  EXPECT_STREQ(L"t1", d->Output(0)->name);
  EXPECT_STREQ(L"Продолжительность единичного сигнала в усл.ед.", d->Output(0)->description);
  EXPECT_STREQ(L"T", d->Output(1)->name);
  EXPECT_STREQ(L"Период ШИМ в усл.ед.", d->Output(1)->description);
  EXPECT_EQ(kBeSignalShort, d->Output(0)->type);
  EXPECT_EQ(kBeSignalShort, d->Output(1)->type);
  // Its record is the base record alone.
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(d), blocktest::BaseRecordBytes(d)));
}

TEST(PwmDetector, MeasuresAPwmSourceInUnitsOf256Clocks) {
  struct Case {
    float frequency, period, duty;
    int t1, T;
  } cases[] = {
      {1000000, 0.01f, 0.25f, 9, 39},    // 3906.25 / s: 39.06 and 9.77
      {1000000, 0.01f, 1.0f, 39, 39},
      {8000000, 0.5f, 0.5f, 7812, 15625},      // 31250 / s
      {16000000, 1.0f, 0.75f, -18661, -3036},  // 46875 and 62500, low 16 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frequency << " Hz, " << c.period << " s, " << c.duty);
    McuBench bench;
    bench.scheme.frequency = c.frequency;
    auto* d = bench.Create<CBEPWMDetector>(kBePWMDetectorClassId);
    auto* pwm = bench.Source(kBeSignalPwm);
    pwm->SetPwm(c.period, c.duty);
    bench.Link(pwm, d);
    bench.Pass();
    EXPECT_EQ(c.t1, ReadInt(d, 0));
    EXPECT_EQ(c.T, ReadInt(d, 1));
  }
}

TEST(PwmDetector, CountsTheHighTimeAndPeriodOfALogicInput) {
  // High 5 passes, low 15, dt 1 ms at 1 MHz: k = 3 a pass.
  McuBench bench;
  auto* d = bench.Create<CBEPWMDetector>(kBePWMDetectorClassId);
  auto* in = bench.Source(kBeSignalBit);
  bench.Link(in, d);
  int edges = 0;
  for (int cycle = 0; cycle < 4; ++cycle) {
    for (int i = 0; i < 20; ++i) {
      in->SetBit(i < 5);
      bench.Pass(0.001f);
      if (i == 0 && cycle > 0) {
        ++edges;
        EXPECT_EQ(15, ReadInt(d, 0)) << cycle;
        EXPECT_EQ(60, ReadInt(d, 1)) << cycle;
      }
      if (cycle == 0) {
        // Before the first rising edge after a low, nothing is written.
        EXPECT_EQ(0, ReadInt(d, 0));
        EXPECT_EQ(0, ReadInt(d, 1));
      }
    }
  }
  EXPECT_EQ(3, edges);
  // At 2 MHz, k = 7: 35 and 140.
  McuBench fast;
  fast.scheme.frequency = 2000000;
  auto* d2 = fast.Create<CBEPWMDetector>(kBePWMDetectorClassId);
  auto* in2 = fast.Source(kBeSignalBit);
  fast.Link(in2, d2);
  for (int i = 0; i < 41; ++i) {
    in2->SetBit(i % 20 < 5);
    fast.Pass(0.001f);
  }
  EXPECT_EQ(35, ReadInt(d2, 0));
  EXPECT_EQ(140, ReadInt(d2, 1));
}

TEST(PwmDetector, CountsWrapAt16Bits) {
  // k = 3906 a second at 1 MHz: 17 high seconds are 66402, 866 in 16 bits.
  McuBench bench;
  auto* d = bench.Create<CBEPWMDetector>(kBePWMDetectorClassId);
  auto* in = bench.Source(kBeSignalBit);
  bench.Link(in, d);
  in->SetBit(false);
  bench.Pass(1.0f);
  in->SetBit(true);
  bench.Passes(17, 1.0f);
  in->SetBit(false);
  bench.Pass(1.0f);
  in->SetBit(true);
  bench.Pass(1.0f);
  EXPECT_EQ(866, ReadInt(d, 0));
  EXPECT_EQ(4772, ReadInt(d, 1));  // 18 passes since the first rising one: 70308
}

TEST(PwmDetector, OtherSourcesGiveRandomReadingsAndNoSourceNothing) {
  McuBench bench;
  auto* d = bench.Create<CBEPWMDetector>(kBePWMDetectorClassId);
  d->Output(0)->SetInt(-7);
  bench.Pass();
  EXPECT_EQ(-7, ReadInt(d, 0));
  auto* c = bench.Source(kBeSignalChar);
  bench.LinkAnyway(c, 0, d, 0);
  bool differed = false;
  int first = -1;
  for (int i = 0; i < 20; ++i) {
    bench.Pass();
    int t1 = ReadInt(d, 0), T = ReadInt(d, 1);
    EXPECT_GE(t1, 0);
    EXPECT_LE(t1, 16383);
    EXPECT_GE(T, t1);
    EXPECT_LE(T, t1 + 16383);
    if (first >= 0 && t1 != first) differed = true;
    first = t1;
  }
  EXPECT_TRUE(differed);
}

TEST(PwmDetector, PropertiesTellTheUnitInAMessageBox) {
  McuBench bench;
  auto* d = bench.Create<CBEPWMDetector>(kBePWMDetectorClassId);
  EXPECT_FALSE(d->ShowProperties());
  ASSERT_EQ(1u, bench.host.texts.size());
  EXPECT_EQ(L"Детектор ШИМ", bench.host.captions[0]);
  EXPECT_EQ(L"Измеряет ШИМ в у.е. 1 у.е. = 256/fпроц.\r\nГде: fпроц - частота процессора в Гц.",
            bench.host.texts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OK), bench.host.styles[0]);
  d->SetCaption(L"Детектор 2");
  d->ShowProperties();
  EXPECT_EQ(L"Детектор 2", bench.host.captions[1]);
}

// ------------------------------------------------------------ interval detector

TEST(IntervalDetector, IsMadeWithItsPinsAndCostsByInterval) {
  McuBench bench;
  auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(120, d->Width());
  EXPECT_EQ(60, d->Height());
  ASSERT_EQ(2, d->inputCount);
  EXPECT_STREQ(L"A", d->Input(0)->name);
  EXPECT_STREQ(L"Вход канала A энкодера (пульс)", d->Input(0)->description);
  EXPECT_STREQ(L"B", d->Input(1)->name);
  EXPECT_STREQ(L"Вход канала B энкодера (направление)", d->Input(1)->description);
  ASSERT_EQ(1, d->outputCount);
  EXPECT_EQ(nullptr, d->Output(0)->name);
  EXPECT_STREQ(L"Количество импульсов за интервал с учетом знака", d->Output(0)->description);
  EXPECT_EQ(kBeSignalShort, d->Output(0)->type);
  EXPECT_EQ(200, d->interval);
  EXPECT_EQ(1, d->periods);
  EXPECT_EQ(1, d->filter);
  EXPECT_EQ(Costs(570, 95), CostsOf(d));
  struct Row {
    int interval;
    unsigned char filter;
    int cycles;
  } rows[] = {{5000, 1, 0}, {200, 0, 450}, {100, 1, 1140}, {2000, 1, 57}, {0, 1, 57}, {2001, 0, 0}};
  for (const Row& row : rows) {
    d->interval = row.interval;
    d->filter = row.filter;
    d->UpdateCosts();
    EXPECT_EQ(row.cycles, d->cycles) << row.interval;
  }
}

TEST(IntervalDetector, CountsMeasuringPulsesPerEncoderPeriod) {
  // 8 edges in 1 ms: f = 2 periods a pass, y = 200 x 2 / 1000 = 0.4
  // periods a measuring pulse; n = periods / y.
  struct Case {
    int periods;
    float edges;
    int expected;
  } cases[] = {
      {1, 8, 2},          // 2.5
      {5, 8, 12},         // 12.5
      {5, -8, 12},        // B unlinked: the magnitude
      {1, 0, 32767},      // the shaft stands
      {1, 0.001f, 32767}, // y below 1/3600
      {5000, 0.006f, 32767},  // 5000 / 0.0003: held at 32767
      {1, 4000, 0},       // y = 200: less than one pulse
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.periods << " periods, " << c.edges << " edges");
    McuBench bench;
    auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
    d->periods = c.periods;
    auto* a = bench.Source(kBeSignalPulseA);
    SetEdges(a, c.edges);
    bench.Link(a, d, 0);
    bench.Pass(0.001f);
    EXPECT_EQ(c.expected, ReadInt(d));
  }
}

TEST(IntervalDetector, TheSignFollowsTheDirection) {
  struct Case {
    BeSignalType aType;
    int bKind;  // -1 unlinked, 0 a bit low, 1 a bit high, else a channel type
    float edges;
    int expected;
  } cases[] = {
      {kBeSignalPulseA, -1, 8, 2},
      {kBeSignalPulseA, 0, -8, 2},
      {kBeSignalPulseA, 1, 8, -2},
      {kBeSignalPulseA, kBeSignalPulseB, 8, 2},   // A on channel A: as counted
      {kBeSignalPulseB, kBeSignalPulseA, 8, -2},  // the channels swapped: the other way
      {kBeSignalPulseA, kBeSignalPulseA, -8, 2},  // both the same channel: by B's level (low)
      {kBeSignalPulseB, kBeSignalPulseB, 8, 2},
      {kBeSignalPulseA, 1, 0, -32767},          // even standing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "A " << c.aType << ", B " << c.bKind << ", " << c.edges);
    McuBench bench;
    auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
    auto* a = bench.Source(c.aType);
    SetEdges(a, c.edges);
    bench.Link(a, d, 0);
    if (c.bKind == 0 || c.bKind == 1) {
      auto* b = bench.Source(kBeSignalBit);
      b->SetBit(c.bKind == 1);
      bench.Link(b, d, 1);
    } else if (c.bKind > 1) {
      auto* b = bench.Source(c.bKind);
      SetEdges(b, 3);  // its first byte 0
      bench.Link(b, d, 1);
    }
    bench.Pass(0.001f);
    EXPECT_EQ(c.expected, ReadInt(d));
  }
}

TEST(IntervalDetector, MeasuresTheTimeBetweenRisingPassesOfALogicInput) {
  McuBench bench;
  auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  auto* a = bench.Source(kBeSignalBit);
  auto* b = bench.Source(kBeSignalBit);
  bench.Link(a, d, 0);
  bench.Link(b, d, 1);
  bench.Start();
  EXPECT_EQ(32767, ReadInt(d));
  // High every tenth pass of 1 ms: 10000 µs, 50 pulses of 200 µs.
  for (int i = 0; i < 21; ++i) {
    a->SetBit(i % 10 == 0);
    bench.Pass(0.001f);
    if (i == 0) {
      EXPECT_EQ(0, ReadInt(d));
    }
    if (i == 10 || i == 20) {
      EXPECT_EQ(50, ReadInt(d)) << i;
    }
  }
  b->SetBit(true);
  for (int i = 1; i <= 10; ++i) {
    a->SetBit(i == 10);
    bench.Pass(0.001f);
  }
  EXPECT_EQ(-50, ReadInt(d));
  // 10 s without a rising pass at 100 µs is 100000 pulses: held at 32767.
  d->interval = 100;
  b->SetBit(false);
  a->SetBit(false);
  bench.Passes(10, 1.0f);
  a->SetBit(true);
  bench.Pass(1.0f);
  EXPECT_EQ(32767, ReadInt(d));
}

TEST(IntervalDetector, NothingWithoutASourceOrWithoutTime) {
  McuBench bench;
  auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  bench.Pass(0.001f);
  EXPECT_EQ(32767, ReadInt(d));
  auto* a = bench.Source(kBeSignalPulseA);
  SetEdges(a, 8);
  bench.Link(a, d, 0);
  bench.Pass(0.001f);
  EXPECT_EQ(2, ReadInt(d));
  SetEdges(a, 80);
  bench.Pass(0.0f);
  EXPECT_EQ(2, ReadInt(d));
  SetEdges(a, std::numeric_limits<float>::quiet_NaN());
  bench.Pass(0.001f);
  EXPECT_EQ(2, ReadInt(d));
  // An interval of 0 (no record gives one) measures nothing.
  d->interval = 0;
  SetEdges(a, 80);
  bench.Pass(0.001f);
  EXPECT_EQ(2, ReadInt(d));
}

TEST(IntervalDetector, Record) {
  McuBench bench;
  auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  d->interval = 1500;
  d->periods = 20;
  d->filter = 0;
  auto golden = Golden().I32(1500).I32(20).B(0).Base(BaseRecord::Unlinked(d->rect, 2, 1)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(d), golden));
  blocktest::ExpectTruncationsRefused<CBEIntervalDetector>(kBeIntervalDetectorClassId, golden);
  auto read = blocktest::NewDetached<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), golden));
  EXPECT_EQ(1500, read->interval);
  EXPECT_EQ(20, read->periods);
  EXPECT_EQ(0, read->filter);
  EXPECT_EQ(Costs(45, 95), CostsOf(read.get()));  // 2000 / 1500 = 1
  // An interval of 0 or less is refused.
  for (int bad : {0, -200}) {
    auto bytes = Golden().I32(bad).I32(1).B(1).Base(BaseRecord::Unlinked(d->rect, 2, 1)).Bytes();
    auto fresh = blocktest::NewDetached<CBEIntervalDetector>(kBeIntervalDetectorClassId);
    EXPECT_FALSE(blocktest::LoadBytes(fresh.get(), bytes)) << bad;
    EXPECT_EQ(200, fresh->interval);
    EXPECT_EQ(Costs(570, 95), CostsOf(fresh.get()));
  }
}

TEST(IntervalDetector, DrawsItsPictureTheIntervalAndTheCaptionBelow) {
  IconsScope icons(blocktest::ShippedIconsFolder());
  CKestImage picture;
  ASSERT_TRUE(SUCCEEDED(picture.Load((blocktest::ShippedIconsFolder() + kIntervalDetectorPicture).c_str())));
  EXPECT_EQ(80, picture.GetWidth());
  EXPECT_EQ(38, picture.GetHeight());
  McuBench bench;
  auto* d = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  d->SetCaption(L"Скорость");
  blocktest::Canvas canvas(200, 120);
  EXPECT_TRUE(canvas.Draw(d, 20, 20));
  // The picture at (left + 20, top + 4), unscaled.
  int same = 0;
  for (int y = 0; y < picture.GetHeight(); ++y)
    for (int x = 0; x < picture.GetWidth(); ++x) same += canvas.At(40 + x, 24 + y) == picture.GetPixel(x, y);
  EXPECT_GE(same, picture.GetWidth() * picture.GetHeight() * 95 / 100);
  // "200 мкс" from (left + 35, top + 45), the caption under the block.
  EXPECT_GT(canvas.Ink(55, 65, 110, 78), 20);
  EXPECT_EQ(0, canvas.Ink(21, 66, 50, 78));
  EXPECT_GT(canvas.Ink(20, 84, 140, 100), 20);
  blocktest::Canvas other(200, 120);
  d->interval = 5000;
  other.Draw(d, 20, 20);
  EXPECT_FALSE(blocktest::SamePixels(canvas, other));
  canvas.Save(L"library_interval_detector.bmp");
}

// ------------------------------------------------------------ software PWM

TEST(SoftwarePwm, IsMadeWithItsPinsAndCostsAtTheSchemesFrequency) {
  McuBench bench;
  auto* p = bench.Create<CBESoftwarePWM>(kBeSoftwarePWMClassId);
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(150, p->Width());
  EXPECT_EQ(40, p->Height());
  EXPECT_EQ(kBeSignalChar, p->Input(0)->type);
  EXPECT_STREQ(L"Уставка на ШИМ", p->Input(0)->description);
  EXPECT_EQ(nullptr, p->Output(0)->name);
  EXPECT_STREQ(L"ШИМ", p->Output(0)->description);
  EXPECT_EQ(kBeSignalPwm, p->Output(0)->type);
  // 1 MHz, 0.005 s, 16 steps: step 0.0003125 s, 230 cycles.
  EXPECT_EQ(Costs(230, 84), CostsOf(p));
  EXPECT_EQ(0.005f, p->period);
  // 126 steps: the 100-clock minimum, 0.0001 s; the period grows.
  p->steps = 126;
  p->UpdateCosts();
  EXPECT_EQ(720, p->cycles);
  EXPECT_FLOAT_EQ(0.0126f, p->period);
  // At 2 MHz the minimum is 0.00005 s.
  McuBench fast;
  fast.scheme.frequency = 2000000;
  auto* q = fast.Create<CBESoftwarePWM>(kBeSoftwarePWMClassId);
  q->steps = 126;
  q->UpdateCosts();
  EXPECT_EQ(1440, q->cycles);
  EXPECT_FLOAT_EQ(0.0063f, q->period);
  // Outside a scheme the costs wait for the attachment.
  auto detached = blocktest::NewDetached<CBESoftwarePWM>(kBeSoftwarePWMClassId);
  EXPECT_EQ(Costs(0, 0), CostsOf(detached.get()));
}

TEST(SoftwarePwm, SetPointsGiveTheDuty) {
  McuBench bench;
  auto* p = bench.Create<CBESoftwarePWM>(kBeSoftwarePWMClassId);
  auto* s = bench.Source(kBeSignalChar);
  bench.Link(s, p);
  struct Row {
    int setPoint;
    float duty;
  } rows[] = {{4, 0.25f}, {20, 1.0f}, {-5, 0.0f}, {16, 1.0f}, {0, 0.0f}, {-128, 0.0f}, {127, 1.0f}, {1, 0.0625f}};
  for (const Row& row : rows) {
    s->SetInt(row.setPoint);
    bench.Pass();
    EXPECT_EQ(kBeSignalPwm, p->Output(0)->type);
    EXPECT_EQ(0.005f, ReadFloat(p));
    float duty;
    memcpy(&duty, p->Output(0)->value + 4, 4);
    EXPECT_EQ(row.duty, duty) << row.setPoint;
  }
  // Without a source the output stays.
  bench.Unlink(p);
  s->SetInt(8);
  bench.Pass();
  float duty;
  memcpy(&duty, p->Output(0)->value + 4, 4);
  EXPECT_EQ(0.0625f, duty);
}

TEST(SoftwarePwm, RecordHoldsTheStepsWithin2To126) {
  McuBench bench;
  auto* p = bench.Create<CBESoftwarePWM>(kBeSoftwarePWMClassId);
  p->period = 0.02f;
  p->steps = 50;
  auto golden = Golden().Base(BaseRecord::Unlinked(p->rect, 1, 1)).F(0.02f).B(50).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(p), golden));
  blocktest::ExpectTruncationsRefused<CBESoftwarePWM>(kBeSoftwarePWMClassId, golden);
  // Cycles 0.072 / (0.02 / steps) truncated: 180, 7 and 453.
  struct Row {
    uint8_t stored;
    int steps, cycles;
  } rows[] = {{50, 50, 180}, {1, 2, 7}, {0, 2, 7}, {127, 126, 453}, {0xFD, 2, 7}, {126, 126, 453}, {2, 2, 7}};
  for (const Row& row : rows) {
    auto bytes = Golden().Base(BaseRecord::Unlinked(p->rect, 1, 1)).F(0.02f).B(row.stored).Bytes();
    auto* read = bench.Create<CBESoftwarePWM>(kBeSoftwarePWMClassId);
    ASSERT_TRUE(blocktest::LoadBytes(read, bytes));
    EXPECT_EQ(row.steps, read->steps) << static_cast<int>(row.stored);
    // 0.02 / steps is above 100 clocks for every count: the period stays.
    EXPECT_FLOAT_EQ(0.02f, read->period);
    EXPECT_EQ(row.cycles, read->cycles) << static_cast<int>(row.stored);
  }
}

TEST(PulseBlocks, ThePropertiesOfTheDetectorAndThePwmGoToTheirDialogs) {
  McuBench bench;
  blocktest::DialogScope dialogs;
  auto* interval = bench.Create<CBEIntervalDetector>(kBeIntervalDetectorClassId);
  auto* pwm = bench.Create<CBESoftwarePWM>(kBeSoftwarePWMClassId);
  EXPECT_FALSE(interval->ShowProperties());
  EXPECT_FALSE(pwm->ShowProperties());
  dialogs.Set(kBeIntervalDetectorClassId, [](CBEBlock*) { return true; });
  dialogs.Set(kBeSoftwarePWMClassId, [](CBEBlock*) { return true; });
  EXPECT_TRUE(interval->ShowProperties());
  EXPECT_TRUE(pwm->ShowProperties());
  EXPECT_TRUE(bench.host.texts.empty());
}

}  // namespace
