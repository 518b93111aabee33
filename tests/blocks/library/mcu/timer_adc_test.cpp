// The microcontroller's timer/counter and ADC: the timer's pins, caption
// and "OC" binding, its PWM periods and duties; the ADC's channels and
// "ADC" binding, its conversions at every reference, with ADLAR and noise;
// their records.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "avr_bench.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/avr_timer.h"

namespace {

using avrtest::At;
using avrtest::AvrBench;
using blocktest::BaseRecord;
using blocktest::Golden;

// ------------------------------------------------------------ timer

TEST(AvrTimer, IsMadeAsA16BitTimerWithoutChannels) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  ASSERT_NE(nullptr, t);
  EXPECT_STREQ(L"Timer/Counter", t->GetCaption());
  EXPECT_EQ(1, t->wide);
  EXPECT_EQ(0, t->channelCount);
  EXPECT_EQ(127, t->top);
  EXPECT_EQ(0, t->prescaler);
  EXPECT_EQ(200, t->Width());
  EXPECT_EQ(60, t->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xCCCCCC), t->fillColor);
  EXPECT_TRUE(t->IsDevice());
  EXPECT_EQ(0, t->inputCount);
  const int dividers[8] = {0, 1, 8, 32, 64, 128, 256, 1024};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(dividers[i], BeTimerPrescalerTable[i]);
}

TEST(AvrTimer, An8BitTimerWithTwoChannelsBindsItsEnabledOutput) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  CBEIOPort* ocA = bench.Pin(L"PB3/MOSI/OC2A/PCINT3", 3);
  CBEIOPort* ocB = bench.Pin(L"PD3/INT1/OC2B", 19);
  bench.Pin(L"PB4/OC2", 4);  // not a whole-word match for a two-channel timer
  t->MoveTo(400, 100);
  t->wide = 0;
  t->number = 2;
  t->channelCount = 2;
  t->compareModes[0] = CBEAvrTimer::kDirectPwm;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(t->BuildPins(true));
    EXPECT_STREQ(L"Timer/Counter2", t->GetCaption());
    EXPECT_EQ(255, t->top);
    ASSERT_EQ(2, t->inputCount);
    EXPECT_STREQ(L"A", t->inputs[0]->name);
    EXPECT_STREQ(L"B", t->inputs[1]->name);
    EXPECT_STREQ(L"Вход управления ШИМ", t->inputs[0]->description);
    EXPECT_EQ(kBeSignalChar, t->inputs[0]->type);
    EXPECT_EQ(kBeSignalChar, t->inputs[1]->type);
    ASSERT_EQ(1, t->outputCount);
    EXPECT_STREQ(L"A", t->outputs[0]->name);
    EXPECT_STREQ(L"Выход ШИМ", t->outputs[0]->description);
    EXPECT_EQ(kBeSignalPwm, t->outputs[0]->type);
    EXPECT_EQ(1, t->outputs[0]->hardware);
    // The output at (600, 130): the pin block at (720, 124).
    EXPECT_TRUE(At(ocA, 720, 124));
    EXPECT_EQ(CBEIOPort::kModeAltOutput, ocA->mode);
    ASSERT_EQ(1, ocA->inputCount);
    EXPECT_EQ(t->outputs[0], ocA->inputs[0]->source);
    EXPECT_EQ(690, ocA->inputs[0]->routeX1);
    EXPECT_EQ(CBEIOPort::kModeInput, ocB->mode);
  }
  wchar_t name[16];
  t->PinName(1, name, 16);
  EXPECT_STREQ(L"OC2B", name);
}

TEST(AvrTimer, OneChannelUsesThePlainOcName) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  CBEIOPort* ocA = bench.Pin(L"PB1/OC1A", 1);
  CBEIOPort* oc = bench.Pin(L"PB1/OC1", 9);
  t->number = 1;
  t->channelCount = 1;
  t->compareModes[0] = CBEAvrTimer::kInvertedPwm;
  ASSERT_TRUE(t->BuildPins(true));
  wchar_t name[16];
  t->PinName(0, name, 16);
  EXPECT_STREQ(L"OC1", name);
  EXPECT_EQ(t->outputs[0], oc->inputs[0]->source);
  EXPECT_EQ(CBEIOPort::kModeInput, ocA->mode);
}

TEST(AvrTimer, ControlInputsAreShortAboveTop127) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  blocktest::Source* control = bench.Source(kBeSignalChar);
  t->channelCount = 1;
  t->top = 100;
  ASSERT_TRUE(t->BuildPins(false));
  EXPECT_EQ(kBeSignalChar, t->inputs[0]->type);
  bench.Link(control, t);
  ASSERT_TRUE(t->BuildPins(false));
  EXPECT_EQ(control->outputs[0], t->inputs[0]->source);  // the type stays, so does the link
  t->top = 1000;
  ASSERT_TRUE(t->BuildPins(false));
  EXPECT_EQ(kBeSignalShort, t->inputs[0]->type);
  EXPECT_EQ(nullptr, t->inputs[0]->source);
  EXPECT_EQ(0, t->outputCount);
}

TEST(AvrTimer, PeriodAndDutyFollowTopPrescalerAndControl) {
  struct Case {
    float frequency;
    int top, prescaler, mode, control;
    double period, duty;
  };
  const Case cases[] = {
      {1000000.0f, 255, 3, 1, 64, 255.0 * 32 / 1000000, 64.0 / 255},
      {1000000.0f, 255, 3, 2, 64, 255.0 * 32 / 1000000, 1 - 64.0 / 255},
      {1000000.0f, 255, 3, 1, 300, 255.0 * 32 / 1000000, 0},
      {1000000.0f, 255, 3, 2, 300, 255.0 * 32 / 1000000, 1},
      {1000000.0f, 255, 3, 1, 255, 255.0 * 32 / 1000000, 1},
      {8000000.0f, 1000, 7, 1, 250, 1000.0 * 1024 / 8000000, 0.25},
      {8000000.0f, 1000, 1, 2, 0, 1000.0 / 8000000, 1},
      {16000000.0f, 40000, 2, 1, 50000, 40000.0 * 8 / 16000000, 0},  // above top, read unsigned
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.top << " " << c.prescaler << " " << c.mode << " " << c.control);
    AvrBench bench;
    bench.scheme.frequency = c.frequency;
    auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
    blocktest::Source* control = bench.Source(kBeSignalShort);
    t->channelCount = 1;
    t->top = static_cast<unsigned short>(c.top);
    t->prescaler = static_cast<unsigned char>(c.prescaler);
    t->compareModes[0] = static_cast<unsigned char>(c.mode);
    ASSERT_TRUE(t->BuildPins(false));
    bench.Link(control, t);
    control->SetInt(c.control);
    bench.Pass();
    float period, duty;
    memcpy(&period, t->outputs[0]->value, 4);
    memcpy(&duty, t->outputs[0]->value + 4, 4);
    EXPECT_EQ(kBeSignalPwm, t->outputs[0]->type);
    EXPECT_FLOAT_EQ(static_cast<float>(c.period), period);
    EXPECT_FLOAT_EQ(static_cast<float>(c.duty), duty);
  }
}

TEST(AvrTimer, An8BitControlReadsItsByteUnsigned) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  blocktest::Source* control = bench.Source(kBeSignalChar);
  t->wide = 0;
  t->channelCount = 1;
  t->prescaler = 1;
  t->compareModes[0] = CBEAvrTimer::kDirectPwm;
  ASSERT_TRUE(t->BuildPins(false));
  bench.Link(control, t);
  control->SetInt(-56);  // byte 200
  bench.Pass();
  float duty;
  memcpy(&duty, t->outputs[0]->value + 4, 4);
  EXPECT_FLOAT_EQ(200.0f / 255, duty);
}

TEST(AvrTimer, AStoppedTimerOrAnUnlinkedControlLeavesItsOutputs) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  blocktest::Source* control = bench.Source(kBeSignalChar);
  t->channelCount = 2;
  t->compareModes[0] = t->compareModes[1] = CBEAvrTimer::kDirectPwm;
  ASSERT_TRUE(t->BuildPins(false));
  bench.Link(control, t, 0);
  control->SetInt(50);
  const uint8_t marker[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  memcpy(t->outputs[0]->value, marker, 8);
  memcpy(t->outputs[1]->value, marker, 8);
  bench.Pass();  // prescaler 0: stopped
  EXPECT_EQ(std::vector<uint8_t>(marker, marker + 8), blocktest::ValueBytes(t, 0));
  t->prescaler = 1;
  t->top = 0;
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>(marker, marker + 8), blocktest::ValueBytes(t, 0));
  t->top = 100;
  bench.Pass();
  EXPECT_NE(std::vector<uint8_t>(marker, marker + 8), blocktest::ValueBytes(t, 0));
  EXPECT_EQ(std::vector<uint8_t>(marker, marker + 8), blocktest::ValueBytes(t, 1));  // B unlinked
}

TEST(AvrTimer, TheRecordWritesTheCompareModesTwice) {
  std::unique_ptr<CBEAvrTimer> t = blocktest::NewDetached<CBEAvrTimer>(kBeAvrTimerClassId);
  t->number = 2;
  t->wide = 0;
  t->channelCount = 2;
  t->compareModes[0] = 1;
  t->prescaler = 3;
  ASSERT_TRUE(t->BuildPins(false));
  BaseRecord base = BaseRecord::Unlinked(t->rect, 2, 1);
  base.caption = L"Timer/Counter2";
  base.flags = kBeBlockDevice;
  base.outputs[0].hardware = 1;
  auto golden = Golden().B(2).B(0).B(2).B(1).B(0).B(0).I16(255).B(1).B(0).B(0).B(3).Base(base).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(t.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEAvrTimer>(kBeAvrTimerClassId, golden);

  // The second copy is what remains.
  std::vector<uint8_t> copies = golden;
  copies[3] = 2;  // first copy: A inverted
  copies[8] = 0;  // second copy: A off ...
  copies[9] = 1;  // ... B direct
  std::unique_ptr<CBEAvrTimer> back = blocktest::NewDetached<CBEAvrTimer>(kBeAvrTimerClassId);
  ASSERT_TRUE(blocktest::LoadBytes(back.get(), copies));
  EXPECT_EQ(0, back->compareModes[0]);
  EXPECT_EQ(1, back->compareModes[1]);
  ASSERT_EQ(1, back->outputCount);
  EXPECT_STREQ(L"B", back->outputs[0]->name);

  std::vector<uint8_t> channels = golden, prescaler = golden;
  channels[2] = 4;
  prescaler[11] = 8;
  for (const auto& bad : {channels, prescaler}) {
    std::unique_ptr<CBEAvrTimer> r = blocktest::NewDetached<CBEAvrTimer>(kBeAvrTimerClassId);
    std::vector<uint8_t> before = blocktest::RecordBytes(r.get());
    EXPECT_FALSE(blocktest::LoadBytes(r.get(), bad));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(r.get()), before));
  }
}

TEST(AvrTimer, DrawsItsCaptionCentred) {
  AvrBench bench;
  auto* t = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  t->number = 1;
  ASSERT_TRUE(t->BuildPins(false));
  EXPECT_TRUE(blocktest::DrawsCaption(t, L"Timer/Counter1"));
}

// ------------------------------------------------------------ ADC

// The program's converter voltages while alive; put back at the end.
class ReferenceScope {
public:
  ReferenceScope(float aref, float avcc, float supply) : saved_(AvrAnalogReference::Program()) {
    AvrAnalogReference::Program().aref = aref;
    AvrAnalogReference::Program().avcc = avcc;
    AvrAnalogReference::Program().supply = supply;
  }
  ~ReferenceScope() { AvrAnalogReference::Program() = saved_; }

private:
  AvrAnalogReference saved_;
};

TEST(AvrAdc, ChannelsGiveNamedInputsAndShortResults) {
  AvrBench bench;
  auto* a = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  ASSERT_NE(nullptr, a);
  EXPECT_STREQ(L"АЦП", a->GetCaption());
  EXPECT_EQ(120, a->Width());
  EXPECT_EQ(30, a->Height());
  EXPECT_EQ(0, a->inputCount);
  EXPECT_EQ(0, a->outputCount);
  EXPECT_EQ(static_cast<COLORREF>(0xCCCCCC), a->fillColor);
  a->channelMask = 0x09;
  ASSERT_TRUE(a->BuildPins());
  EXPECT_EQ(80, a->Height());
  ASSERT_EQ(2, a->inputCount);
  ASSERT_EQ(2, a->outputCount);
  EXPECT_STREQ(L"0", a->inputs[0]->name);
  EXPECT_STREQ(L"3", a->inputs[1]->name);
  EXPECT_STREQ(L"0", a->outputs[0]->name);
  EXPECT_STREQ(L"3", a->outputs[1]->name);
  EXPECT_EQ(kBeSignalAnalog, a->inputs[1]->type);
  EXPECT_EQ(kBeSignalShort, a->outputs[1]->type);
  EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(a, 1));
  a->channelMask = 0;
  ASSERT_TRUE(a->BuildPins());
  EXPECT_EQ(30, a->Height());
  EXPECT_EQ(0, a->inputCount);
  EXPECT_TRUE(blocktest::DrawsCaption(a, L"АЦП"));
}

TEST(AvrAdc, BindsEachChannelToItsOwnAdcPinOnly) {
  AvrBench bench;
  auto* a = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  CBEIOPort* adc0 = bench.Pin(L"PF0/ADC0", 0);
  CBEIOPort* adc1 = bench.Pin(L"PF1/ADC1", 1);
  CBEIOPort* adc3 = bench.Pin(L"PF3/ADC3/TDO", 3);
  CBEIOPort* adc10 = bench.Pin(L"PK2/ADC10/PCINT18", 10);  // the head of the list
  CBEIOPort* adc13 = bench.Pin(L"PK5/ADC13", 13);
  a->MoveTo(400, 100);
  a->channelMask = 0x0B;  // 0, 1 and 3: inputs at y 100 + 20, 60, 100
  ASSERT_TRUE(a->BuildPins());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    a->BindPins();
    const CBEIOPort* expected[3] = {adc0, adc1, adc3};
    const int ys[3] = {114, 154, 194};
    for (int j = 0; j < 3; ++j) {
      EXPECT_TRUE(At(expected[j], 310, ys[j]));
      EXPECT_EQ(CBEIOPort::kModeAnalog, expected[j]->mode);
      EXPECT_EQ(expected[j]->outputs[0], a->inputs[j]->source);
      EXPECT_EQ(360, a->inputs[j]->routeX1);
      EXPECT_EQ(kBeSignalAnalog, expected[j]->outputs[0]->type);
      EXPECT_EQ(1, expected[j]->outputs[0]->hardware);
    }
    EXPECT_EQ(CBEIOPort::kModeInput, adc10->mode);
    EXPECT_EQ(CBEIOPort::kModeInput, adc13->mode);
  }

  // Channel 0 alone: the pins bound before are given back, moved 25 left
  // and 5 down, and channel 0 is bound again where its input now is.
  a->channelMask = 0x01;
  ASSERT_TRUE(a->BuildPins());
  a->BindPins();
  EXPECT_TRUE(At(adc0, 310, 114));  // the input at y 100 + 20 of 40
  EXPECT_EQ(adc0->outputs[0], a->inputs[0]->source);
  EXPECT_EQ(CBEIOPort::kModeAnalog, adc0->mode);
  // The other inputs went with BuildPins, before the release could reach
  // their pins: those stay as they were.
  EXPECT_EQ(CBEIOPort::kModeAnalog, adc3->mode);

  a->channelMask = 0;
  ASSERT_TRUE(a->BuildPins());
  a->BindPins();
  EXPECT_TRUE(At(adc0, 310, 114));
  EXPECT_EQ(0, a->inputCount);
}

TEST(AvrAdc, ReleasingABoundChannelMovesItsPin) {
  AvrBench bench;
  auto* a = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  CBEIOPort* adc2 = bench.Pin(L"PF2/ADC2", 2);
  a->MoveTo(400, 100);
  a->channelMask = 0x04;
  ASSERT_TRUE(a->BuildPins());
  a->BindPins();
  EXPECT_TRUE(At(adc2, 310, 114));
  // Another pin takes the channel's caption first: the old one is given back.
  CBEIOPort* other = bench.Pin(L"PA2/ADC2", 40);
  a->BindPins();
  EXPECT_TRUE(At(adc2, 285, 119));
  EXPECT_EQ(CBEIOPort::kModeInput, adc2->mode);
  EXPECT_EQ(0, adc2->outputs[0]->hardware);
  EXPECT_EQ(other->outputs[0], a->inputs[0]->source);
}

TEST(AvrAdc, ConvertsAgainstEachReference) {
  struct Case {
    int reference;
    bool left;
    float aref, avcc, supply, input;
    int code;
  };
  const Case cases[] = {
      {0, false, 2.5f, 5.0f, 5.0f, 1.25f, 511},   // 1.25 x 1023 / 2.5 = 511.5
      {0, false, 2.5f, 5.0f, 5.0f, 2.5f, 1023},
      {0, false, 2.5f, 5.0f, 5.0f, 3.0f, 1023},   // held at full scale
      {0, false, 2.5f, 5.0f, 5.0f, -1.0f, 0},
      {1, false, 2.5f, 5.0f, 5.0f, 1.25f, 255},   // 255.75
      {2, false, 2.5f, 5.0f, 5.0f, 0.5f, 511},    // 1 V reserved
      {3, false, 2.5f, 5.0f, 5.0f, 1.325f, 511},  // 2.65 V
      {3, false, 2.5f, 5.0f, 5.0f, 2.65f, 1023},
      {3, true, 2.5f, 5.0f, 5.0f, 1.325f, 511 * 64},
      {1, true, 2.5f, 5.0f, 5.0f, 5.0f, 1023 * 64},
      {1, false, 2.5f, 2.0f, 5.0f, 0.5f, 1023},   // unpowered: full scale 0.01 V
      {1, false, 2.5f, 2.0f, 5.0f, 0.0f, 0},
      {0, false, 0.0f, 5.0f, 5.0f, 1.0f, 0},      // no reference: 0
      {0, false, -1.0f, 5.0f, 5.0f, 1.0f, 0},
      {0, false, NAN, 5.0f, 5.0f, 1.0f, 0},
      {0, false, INFINITY, 5.0f, 5.0f, 1.0f, 0},
      {1, false, 2.5f, 5.0f, 5.0f, NAN, 0},
      {1, false, 2.5f, 5.0f, 5.0f, INFINITY, 1023},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "reference " << c.reference << ", input " << c.input << ", aref " << c.aref);
    ReferenceScope voltages(c.aref, c.avcc, c.supply);
    AvrBench bench;
    auto* a = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
    blocktest::Source* in = bench.Source(kBeSignalAnalog);
    a->reference = static_cast<unsigned char>(c.reference);
    a->leftAdjust = c.left ? 1 : 0;
    a->prescaler = 7;  // no noise
    a->channelMask = 0x01;
    ASSERT_TRUE(a->BuildPins());
    bench.Link(in, a);
    in->SetFloat(c.input);
    bench.Pass();
    uint16_t code;
    memcpy(&code, a->outputs[0]->value, 2);
    EXPECT_EQ(c.code, code);
  }
}

TEST(AvrAdc, NoiseStaysWithinItsBoundAndPrescaler7DrawsNone) {
  ReferenceScope voltages(2.5f, 5.0f, 5.0f);
  AvrBench bench;
  auto* a = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  blocktest::Source* full = bench.Source(kBeSignalAnalog);
  blocktest::Source* half = bench.Source(kBeSignalAnalog);
  a->reference = CBEAvrADC::kRefInternal;
  a->channelMask = 0x03;
  ASSERT_TRUE(a->BuildPins());
  bench.Link(full, a, 0);
  bench.Link(half, a, 1);
  full->SetFloat(2.65f);
  half->SetFloat(1.325f);
  // Noise at most 0.01 x 127 / 128 V: 2.65 V reads at least
  // 1023 x 2.65 / 2.6599 = 1019.2.
  for (int pass = 0; pass < 20; ++pass) {
    bench.Pass();
    int f = blocktest::ReadInt(a, 0), h = blocktest::ReadInt(a, 1);
    EXPECT_GE(f, 1019);
    EXPECT_LE(f, 1023);
    EXPECT_GE(h, 509);
    EXPECT_LE(h, 511);
  }
  EXPECT_NEAR(2.65, a->FullScale(AvrAnalogReference::Program(), 0), 1e-12);
  EXPECT_NEAR(2.65 + 0.01 * 127 / 128 * 32767 / 32768, a->FullScale(AvrAnalogReference::Program(), 32767), 1e-12);
  a->prescaler = 6;
  EXPECT_NEAR(2.65 + 0.01 * 64 / 128 * 32767 / 32768, a->FullScale(AvrAnalogReference::Program(), 32767), 1e-12);

  // Prescaler 7: the same result every pass, and no pseudo-random number
  // is drawn.
  a->prescaler = 7;
  srand(12345);
  int next = rand();
  srand(12345);
  bench.Pass();
  EXPECT_EQ(next, rand());
  EXPECT_EQ(1023, blocktest::ReadInt(a, 0));
  EXPECT_EQ(511, blocktest::ReadInt(a, 1));
  srand(1);
}

TEST(AvrAdc, AnUnlinkedInputLeavesItsResult) {
  ReferenceScope voltages(2.5f, 5.0f, 5.0f);
  AvrBench bench;
  auto* a = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  a->channelMask = 0x01;
  ASSERT_TRUE(a->BuildPins());
  a->outputs[0]->value[0] = 77;
  bench.Pass();
  EXPECT_EQ(77, a->outputs[0]->value[0]);
}

TEST(AvrAdc, TheRecordKeepsMaskReferenceAdjustAndPrescaler) {
  std::unique_ptr<CBEAvrADC> a = blocktest::NewDetached<CBEAvrADC>(kBeAvrADCClassId);
  a->channelMask = 0x81;
  a->reference = 3;
  a->leftAdjust = 1;
  a->prescaler = 5;
  ASSERT_TRUE(a->BuildPins());
  BaseRecord base = BaseRecord::Unlinked(a->rect, 2, 2);
  base.flags = kBeBlockDevice;
  auto golden = Golden().B(0x81).B(3).B(1).B(5).Base(base).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(a.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEAvrADC>(kBeAvrADCClassId, golden);
  std::unique_ptr<CBEAvrADC> back = blocktest::NewDetached<CBEAvrADC>(kBeAvrADCClassId);
  ASSERT_TRUE(blocktest::LoadBytes(back.get(), golden));
  ASSERT_EQ(2, back->inputCount);
  EXPECT_STREQ(L"7", back->inputs[1]->name);
  EXPECT_EQ(80, back->Height());
  std::vector<uint8_t> reference = golden, prescaler = golden;
  reference[1] = 4;
  prescaler[3] = 8;
  for (const auto& bad : {reference, prescaler}) {
    std::unique_ptr<CBEAvrADC> r = blocktest::NewDetached<CBEAvrADC>(kBeAvrADCClassId);
    EXPECT_FALSE(blocktest::LoadBytes(r.get(), bad));
    EXPECT_EQ(0, r->inputCount);
    EXPECT_EQ(0, r->channelMask);
  }
}

// ------------------------------------------------------------ catalogue

TEST(AvrCatalogue, TheDeviceRowsGiveTheHiddenEntriesTheirCaptions) {
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* hidden = library.catalogue.Group(0);
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
  };
  const Row rows[] = {{0x44111AAA, L"Вывод микропроцессора"}, {0x63331133, L"UART"}, {0xEEEFF11B, L"SPI"},
                      {0xEEEFF11A, L"Двухпроводной последовательный интерфейс (TWI)"},
                      {0x1E1E1E00, L"Timer/Counter"}, {0x52100ADC, L"АЦП"}};
  for (const Row& r : rows) {
    const BeCatalogueEntry* entry = library.catalogue.FindEntry(r.classId);
    ASSERT_NE(nullptr, entry) << std::hex << r.classId;
    EXPECT_STREQ(r.caption, entry->caption);
    EXPECT_EQ(nullptr, entry->bitmap);
    bool inHidden = false;
    for (int i = 0; i < hidden->entryCount; ++i) inHidden = inHidden || hidden->Entry(i) == entry;
    EXPECT_TRUE(inHidden);
  }
  EXPECT_EQ(6, kAvrDeviceRowCount);
}

}  // namespace
