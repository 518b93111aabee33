#include "components/devices/sensors/encoder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "components/devices/encoder_supply.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

// The picture every encoder shows, loaded on the first paint.
CKestImage g_encoderPicture;

const wchar_t kBurntMessage[] = L"Энкодер \"%s\" сгорел";

const double kPi = 3.1415927f;
const float kOutputResistance = 50;
const float kPullUpResistance = 250;
const int kPinPitch = 15;     // px of block height a pin needs at least
const int kBarWidth = 2;      // the bar down the right edge of a tall block
const int kBounceRange = 32767;

// The absolute code, position 0 first; bit i set: channel i + 1 joined to
// the common.
const unsigned char kAbsoluteCode[CSCHEncoder::kCodePositions] = {
    0x7F, 0x3F, 0x3E, 0x3A, 0x38, 0xB8, 0x98, 0x18, 0x08, 0x48, 0x49, 0x4D, 0x4F, 0x0F, 0x2F, 0xAF,
    0xBF, 0x9F, 0x1F, 0x1D, 0x1C, 0x5C, 0x4C, 0x0C, 0x04, 0x24, 0xA4, 0xA6, 0xA7, 0x87, 0x97, 0xD7,
    0xDF, 0xCF, 0x8F, 0x8E, 0x0E, 0x2E, 0x26, 0x06, 0x02, 0x12, 0x52, 0x53, 0xD3, 0xC3, 0xCB, 0xEB,
    0xEF, 0xE7, 0xC7, 0x47, 0x07, 0x17, 0x13, 0x03, 0x01, 0x09, 0x29, 0xA9, 0xE9, 0xE1, 0xE5, 0xF5,
    0xF7, 0xF3, 0xE3, 0xA3, 0x83, 0x8B, 0x89, 0x81, 0x80, 0x84, 0x94, 0xD4, 0xF4, 0xF0, 0xF2, 0xFA,
    0xFB, 0xF9, 0xF1, 0xD1, 0xC1, 0xC5, 0xC4, 0xC0, 0x40, 0x42, 0x4A, 0x6A, 0x7A, 0x78, 0x79, 0x7D,
    0xFD, 0xFC, 0xF8, 0xE8, 0xE0, 0xE2, 0x62, 0x60, 0x20, 0x21, 0x25, 0x35, 0x3D, 0x3C, 0xBC, 0xBE,
    0xFE, 0x7E, 0x7C, 0x74, 0x70, 0x71, 0x31, 0x30, 0x10, 0x90, 0x92, 0x9A, 0x9E, 0x1E, 0x5E, 0x5F,
};

// Pin texts.
const wchar_t kGround[] = L"Земля";
const wchar_t kSupply[] = L"Питание";
const wchar_t kOutput[] = L"Выход";
const wchar_t kCommon[] = L"Общий";
const wchar_t kChannelA[] = L"Канал A";
const wchar_t kChannelB[] = L"Канал B";
const wchar_t kIndex[] = L"Индекс";
const wchar_t kOutputPlus[] = L"Выход +";
const wchar_t kOutputMinus[] = L"Выход -";
const wchar_t kChannelAPlus[] = L"Канал A+";
const wchar_t kChannelAMinus[] = L"Канал A-";
const wchar_t kChannelBPlus[] = L"Канал B+";
const wchar_t kChannelBMinus[] = L"Канал B-";
const wchar_t kIndexPlus[] = L"Индекс+";
const wchar_t kIndexMinus[] = L"Индекс-";
const wchar_t kCodeCommon[] = L"C - Общий";
const wchar_t kCodeSupply[] = L"+Eп";
const wchar_t* const kCodeLabels[CSCHEncoder::kMaxCodeChannels] = {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"};

// Pins of the powered incremental encoders: the ground first; the supply
// pin's index; the outputs.
const int kGroundPin = 0;
const int kSingleEndedSupplyPin = 2;
const int kDifferentialSupplyPin = 3;

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

float ReadFloatAt(const unsigned char* bytes) {
  float v;
  memcpy(&v, bytes, 4);
  return v;
}

// A pin state with a pulse source: the first level U behind R, the second
// U2 behind R2. The reading pin's own pair is not filled.
SchPinState PulseState(float U, float R, float U2, float R2, int kind, SchSignalSource* record) {
  SchPinState s = {};
  s.U = U;
  s.R = R;
  s.U2 = U2;
  s.R2 = R2;
  s.sourceKind = kind;
  s.source = record;
  return s;
}

// Edges of the field's single precision: sums and products rounded to float.
float Scaled(float a, double factor) { return RoundToFloat(a * factor); }
float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

// |U / R| in single precision.
float CurrentThrough(double U, double R) { return RoundToFloat(std::fabs(U / R)); }

}  // namespace

CSCHEncoder::CSCHEncoder() {
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

unsigned char CSCHEncoder::AbsoluteCode(int position) {
  return kAbsoluteCode[static_cast<unsigned>(position) % kCodePositions];
}

int CSCHEncoder::IncrementalPins() const {
  int count = Single() ? 1 : (channels == 2 ? 2 : 3);
  if (outType == kOutDifferential) return count == 1 ? 4 : (count == 2 ? 6 : 8);
  return count + 2;
}

int CSCHEncoder::ExpectedPinCount() const {
  switch (Type) {
    case kTypePassive: return PassivePins();
    case kTypeAbsolute: return 1 + CodeChannels();
    case kTypeAbsoluteSupplied: return 2 + CodeChannels();
    default: return IncrementalPins();
  }
}

bool CSCHEncoder::BuildPins() {
  const int n = ExpectedPinCount();
  if (!SetPinCount(n) || pinCount != n) return false;
  // Texts and, where the layout gives them, numbers.
  const wchar_t* texts[kMaxCodeChannels + 2] = {};
  bool numbered = true;
  switch (Type) {
    case kTypePassive:
      if (Single()) texts[0] = kOutput, texts[1] = kCommon;
      else texts[0] = kChannelA, texts[1] = kCommon, texts[2] = kChannelB;
      break;
    case kTypeAbsolute:
    case kTypeAbsoluteSupplied:
      texts[0] = kCodeCommon;
      for (int i = 0; i < CodeChannels(); i++) texts[i + 1] = kCodeLabels[i];
      if (Type == kTypeAbsoluteSupplied) texts[n - 1] = kCodeSupply;
      break;
    default:
      if (outType == kOutDifferential) {
        numbered = false;
        const wchar_t* single[4] = {kGround, kOutputPlus, kOutputMinus, kSupply};
        const wchar_t* pairs[8] = {kGround,        kChannelAPlus,  kChannelAMinus, kSupply,
                                   kChannelBPlus,  kChannelBMinus, kIndexPlus,     kIndexMinus};
        for (int i = 0; i < n; i++) texts[i] = n == 4 ? single[i] : pairs[i];
      } else {
        const wchar_t* single[3] = {kGround, kOutput, kSupply};
        const wchar_t* two[4] = {kGround, kChannelA, kSupply, kChannelB};
        const wchar_t* three[5] = {kGround, kChannelA, kSupply, kIndex, kChannelB};
        for (int i = 0; i < n; i++) texts[i] = n == 3 ? single[i] : (n == 4 ? two[i] : three[i]);
      }
      break;
  }
  for (int i = 0; i < n; i++) {
    SchPin& p = pins[i];
    p.name = nullptr;
    p.description = texts[i];
    p.kind = kSchPinElectric;
    p.side = kSchSideRight;
    if (!numbered) continue;
    if (Type == kTypeAbsolute || Type == kTypeAbsoluteSupplied) {
      // The common is unnumbered, the channels 1 up; the supply keeps its number.
      if (i == 0) p.number = -1;
      else if (i <= CodeChannels()) p.number = i;
    } else {
      p.number = i + 1;
    }
  }
  if (rect.bottom - rect.top < kPinPitch * n) rect.bottom = rect.top + kPinPitch * n;
  SpacePins(true);
  return true;
}

void CSCHEncoder::ApplyDbRecord(CompDbRecord* record) {
  CSCHDevice::ApplyDbRecord(record);
  if (record) {
    // The record keeps four bits of the type: an incremental type beyond
    // them is kept as 1, so that it reads back as an incremental encoder.
    Type = static_cast<unsigned char>(record->GetIntByName("Type"));
    if (Type > 15) Type = kTypeIncremental;
    channels = static_cast<unsigned char>(record->GetIntByName("channels"));
    outType = static_cast<unsigned char>(record->GetIntByName("outType"));
    int ticksPerTurn = record->GetIntByName("N");
    // The record keeps three bytes of it.
    N = ticksPerTurn < 0 ? 0 : (ticksPerTurn > kMaxTicks ? kMaxTicks : ticksPerTurn);
    U = record->GetFloatByName("U");
    I = record->GetFloatByName("I");
    IoutMax = record->GetFloatByName("IoutMax");
    friction = record->GetFloatByName("friction");
    if (form > 1) form = 0;
  }
  BuildPins();
}

void CSCHEncoder::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_encoderPicture, L"encoder.png"))
    g_encoderPicture.Draw(dc, rect.left, (rect.top + rect.bottom - kHeight) / 2);
  if (rect.bottom - rect.top > kHeight) {
    RECT bar = {rect.right - kBarWidth, rect.top, rect.right, rect.bottom};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

void CSCHEncoder::Start() {
  ticks = PulseTickMemory{0, 0};
  SetPulseRecord(&pulseRecord, 0, 0);
  CSCHRotSensor::Start();
}

void CSCHEncoder::Burn() {
  burnt = 1;
  ReportDevice(this, kBurntMessage);
}

void CSCHEncoder::DriveOpen(int from, int to, float U) {
  for (int i = from; i <= to && i < pinCount; i++) SetPinSource(i, U, kSchOpenResistance);
}

CSCHEncoder::TickStep CSCHEncoder::CountTicks() {
  TickStep k = {ticks.lastCount, false, 0, 0};
  // Four edges a period.
  const double t = RoundToFloat(static_cast<double>(shaftAngle) * 2 * N / kPi);
  int whole = 0;
  // A shaft angle that is no number counts nothing: the shaft stays where
  // it was.
  if (!PulseTickWhole(t, &whole)) return k;
  k.index = whole / 4 == 0;
  k.n = Single() ? whole / 2 : whole;
  AdvancePulseTicks(&ticks, t, k.n, &k.edges, &k.change);
  return k;
}

void CSCHEncoder::Step(float) {
  if (pinCount != ExpectedPinCount()) return;
  if (burnt) {
    DriveOpen(0, pinCount - 1, 0);
    return;
  }
  TickStep k = CountTicks();
  switch (Type) {
    case kTypePassive: StepPassive(k); break;
    case kTypeAbsolute: StepAbsolute(k); break;
    case kTypeAbsoluteSupplied: StepAbsoluteSupplied(k); break;
    default: StepIncremental(k); break;
  }
}

void CSCHEncoder::StepPassive(const TickStep& k) {
  if (Single()) {
    float Uo, Ro, Uc, Rc;
    GetPinInput(0, &Uo, &Ro);
    GetPinInput(1, &Uc, &Rc);
    SetPulseRecord(&pulseRecord, k.edges, k.change);
    SetPinState(0, PulseState(Uc, kSchOpenResistance, Uc, Rc, kDevPulseSourceA, &pulseRecord));
    SetPinState(1, PulseState(Uo, kSchOpenResistance, Uo, Ro, kDevPulseSourceA, &pulseRecord));
    return;
  }
  float UA, RA, Uc, Rc, UB, RB;
  GetPinInput(0, &UA, &RA);
  GetPinInput(1, &Uc, &Rc);
  GetPinInput(2, &UB, &RB);
  const float Ua = std::fabs(UA) < std::fabs(UB) ? UB : UA;
  const float Ra = RA < RB ? RA : RB;
  SetPulseRecord(&pulseRecord, k.edges, k.change);
  SetPinState(0, PulseState(Uc, kSchOpenResistance, Uc, Rc, kDevPulseSourceA, &pulseRecord));
  SetPinState(2, PulseState(Uc, kSchOpenResistance, Uc, Rc, kDevPulseSourceB, &pulseRecord));
  SetPinState(1, PulseState(Ua, kSchOpenResistance, Ua, Ra, kDevPulseSourceA, &pulseRecord));
}

void CSCHEncoder::DriveContacts(int n, bool openLoneCommon) {
  // The position among N (at most the 128 of the table), taken into 0 to
  // N - 1.
  const int64_t positions = N < 1 ? 1 : (N > kCodePositions ? kCodePositions : N);
  int64_t p = static_cast<int64_t>(n) % positions;
  if (p < 0) p += positions;
  const unsigned char code = kAbsoluteCode[p];

  const int count = CodeChannels();
  float Us[kMaxCodeChannels + 1], Rs[kMaxCodeChannels + 1];
  bool member[kMaxCodeChannels + 1];
  double G = 0, J = 0;
  int members = 0;
  for (int i = 0; i <= count; i++) {
    GetPinInput(i, &Us[i], &Rs[i]);
    member[i] = i == 0 || (code >> (i - 1)) & 1;
    if (!member[i]) continue;
    G += 1.0 / Rs[i];
    J += Us[i] / static_cast<double>(Rs[i]);
    members++;
  }
  for (int i = 0; i <= count; i++) {
    if (!member[i]) {
      SetPinSource(i, Us[0], kSchOpenResistance);
      continue;
    }
    const double g = G - 1.0 / Rs[i];
    if (g > 0) SetPinSource(i, static_cast<float>((J - Us[i] / static_cast<double>(Rs[i])) / g),
                            static_cast<float>(1.0 / g));
  }
  // A common joined to nothing keeps no drive of an earlier position.
  if (members == 1 && openLoneCommon) SetPinSource(0, 0, kSchOpenResistance);
}

void CSCHEncoder::StepAbsolute(const TickStep& k) { DriveContacts(k.n, true); }

void CSCHEncoder::StepAbsoluteSupplied(const TickStep& k) {
  const float load = EncoderLoadResistance(U, I);
  const int supplyPin = pinCount - 1;
  EncoderSupply s = ReadEncoderSupply(this, supplyPin, 0, load);
  if (s.Us < -20 || s.Us > Scaled(U, 2)) {
    Burn();
    return;
  }
  if (s.Us > Scaled(U, 0.75)) {
    DriveEncoderLoad(this, s, supplyPin, 0, load);
    DriveContacts(k.n, false);
    return;
  }
  // Unpowered: a 5-megohm load between the supply and the common, the
  // contacts open.
  SetPinSource(0, s.Up, kSchOpenResistance);
  SetPinSource(supplyPin, s.Ug, kSchOpenResistance);
  DriveOpen(1, supplyPin - 1, s.Ug);
}

void CSCHEncoder::StepIncremental(const TickStep& k) {
  const bool differential = outType == kOutDifferential;
  const int supplyPin = differential ? kDifferentialSupplyPin : kSingleEndedSupplyPin;
  const float load = EncoderLoadResistance(U, I);
  EncoderSupply s = ReadEncoderSupply(this, supplyPin, kGroundPin, load);
  if (Single()) {
    const bool over = differential ? (s.Us < -0.5f || s.Us > Scaled(U, 1.5))
                                   : (outType <= kOutPullUp && (s.Us < -20 || s.Us > Scaled(U, 2)));
    if (over) {
      Burn();
      return;
    }
  }
  const bool powered = s.Us > Scaled(U, 0.75);
  if (!powered || outType > kOutDifferential) {
    // Every output open at the ground's voltage; the encoder a load of its
    // own: 5 megohms unpowered, its load while powered.
    for (int i = 0; i < pinCount; i++)
      if (i != kGroundPin && i != supplyPin) SetPinSource(i, s.Ug, kSchOpenResistance);
    if (powered) {
      DriveEncoderLoad(this, s, supplyPin, kGroundPin, load);
    } else {
      SetPinSource(kGroundPin, s.Up, kSchOpenResistance);
      SetPinSource(supplyPin, s.Ug, kSchOpenResistance);
    }
    return;
  }
  if (differential) StepDifferential(k, s, supplyPin, load);
  else if (Single()) StepSingleOutput(k, s, supplyPin, load);
  else StepTwoChannels(k, s, supplyPin, load);
}

void CSCHEncoder::StepDifferential(const TickStep& k, const EncoderSupply& s, int supplyPin, float load) {
  DriveEncoderLoad(this, s, supplyPin, kGroundPin, load);
  // Output pairs: "Выход +" and "Выход -", or A+, A-, B+, B- (and the index pair).
  const int outputs[6] = {1, 2, 4, 5, 6, 7};
  const int outputCount = pinCount - 2;
  for (int i = 0; i < outputCount; i++) {
    float Uo, Ro;
    GetPinInput(outputs[i], &Uo, &Ro);
    const float sink = CurrentThrough(static_cast<double>(Uo) - s.Ug,
                                      static_cast<double>(Ro) + s.Rg + kOutputResistance);
    const float source = CurrentThrough(static_cast<double>(s.Up) - Uo,
                                        static_cast<double>(Ro) + s.Rp + kOutputResistance);
    if (sink > IoutMax || source > IoutMax) {
      Burn();
      return;
    }
  }
  SetPulseRecord(&pulseRecord, k.edges, k.change);
  const float high = s.Up, highR = Sum(s.Rp, kOutputResistance);
  const float low = s.Ug, lowR = Sum(s.Rg, kOutputResistance);
  SetPinState(1, PulseState(high, highR, low, lowR, kDevPulseSourceA, &pulseRecord));
  SetPinState(2, PulseState(low, lowR, high, highR, kDevPulseSourceA, &pulseRecord));
  if (Single()) return;
  SetPinState(4, PulseState(high, highR, low, lowR, kDevPulseSourceB, &pulseRecord));
  SetPinState(5, PulseState(low, lowR, high, highR, kDevPulseSourceB, &pulseRecord));
  if (pinCount < 8) return;
  SetPinSource(6, k.index ? low : high, k.index ? lowR : highR);
  SetPinSource(7, k.index ? high : low, k.index ? highR : lowR);
}

// The levels of a single-ended output stage, with Uo the open level.
SchPinState CSCHEncoder::OutputLevels(const EncoderSupply& s, float Uo, int kind) {
  const float lowR = Sum(s.Rg, kOutputResistance);
  switch (outType) {
    case kOutOpenCollector:
      return PulseState(Uo, kSchOpenResistance, s.Ug, lowR, kind, &pulseRecord);
    case kOutOpenCollectorInverted:
      return PulseState(s.Ug, lowR, Uo, kSchOpenResistance, kind, &pulseRecord);
    case kOutPushPull:
      return PulseState(s.Ug, lowR, s.Up, Sum(s.Rp, kOutputResistance), kind, &pulseRecord);
    default:
      return PulseState(s.Ug, lowR, s.Up, Sum(s.Rp, kPullUpResistance), kind, &pulseRecord);
  }
}

void CSCHEncoder::StepSingleOutput(const TickStep& k, const EncoderSupply& s, int supplyPin, float load) {
  const int output = 1;
  float Uo, Ro;
  GetPinInput(output, &Uo, &Ro);
  SetPinSource(supplyPin, s.Ug, Sum(s.Rg, load));
  // The ground pin sees the supply through the load and half the output's
  // net through the output stage.
  const double K = 0.5 / Ro + 1.0 / (static_cast<double>(s.Rp) + load);
  const double L = 0.5 * Uo / Ro + s.Up / (static_cast<double>(s.Rp) + load);
  SetPinSource(kGroundPin, static_cast<float>(L / K), static_cast<float>(1.0 / K));
  if (k.edges != 0 &&
      RoundToFloat((static_cast<double>(Uo) - s.Ug) / (static_cast<double>(Ro) + s.Rg + kOutputResistance)) >
          IoutMax) {
    Burn();
    return;
  }
  if (Uo < s.Ug) Uo = s.Ug;
  int edges = k.edges;
  if (outType == kOutOpenCollector && edges != 0) {
    // Contact bounce: up to as many edges again.
    const int64_t r = rand() % (kBounceRange + 1);
    const int64_t grown = static_cast<int64_t>(edges) + r * edges / kBounceRange;
    edges = static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(grown)));
  }
  SetPulseRecord(&pulseRecord, edges, k.change);
  SetPinState(output, OutputLevels(s, Uo, kDevPulseSourceA));
}

void CSCHEncoder::StepTwoChannels(const TickStep& k, const EncoderSupply& s, int supplyPin, float load) {
  const bool withIndex = pinCount == 5;
  const int pinA = 1, pinIndex = 3, pinB = withIndex ? 4 : 3;
  float UA, RA, UB, RB, UI = 0, RI = kSchOpenResistance;
  GetPinInput(pinA, &UA, &RA);
  GetPinInput(pinB, &UB, &RB);
  if (withIndex) GetPinInput(pinIndex, &UI, &RI);
  SetPinSource(supplyPin, s.Ug, Sum(s.Rg, load));
  // The ground pin sees the supply through the load, half of each channel's
  // net and, at the index, the index net.
  double K = 0.5 / RA + 0.5 / RB + 1.0 / (static_cast<double>(s.Rp) + load);
  double L = 0.5 * UA / RA + 0.5 * UB / RB + s.Up / (static_cast<double>(s.Rp) + load);
  if (withIndex && k.index) {
    K += 1.0 / RI;
    L += UI / static_cast<double>(RI);
  }
  SetPinSource(kGroundPin, static_cast<float>(L / K), static_cast<float>(1.0 / K));
  if (k.edges != 0) {
    const float IA = RoundToFloat((static_cast<double>(UA) - s.Ug) / (static_cast<double>(RA) + s.Rg + kOutputResistance));
    const float IB = RoundToFloat((static_cast<double>(UB) - s.Ug) / (static_cast<double>(RB) + s.Rg + kOutputResistance));
    if (IA > IoutMax || IB > IoutMax || s.Us < -20 || s.Us > Scaled(U, 2)) {
      Burn();
      return;
    }
  }
  SetPulseRecord(&pulseRecord, k.edges, k.change);
  // Both channels take channel A's voltage as their open level.
  SetPinState(pinA, OutputLevels(s, UA, kDevPulseSourceA));
  SetPinState(pinB, OutputLevels(s, UA, kDevPulseSourceB));
  if (!withIndex) return;
  const float lowR = Sum(s.Rg, kOutputResistance);
  if (k.index) {
    switch (outType) {
      case kOutOpenCollector: SetPinSource(pinIndex, s.Ug, lowR); break;
      case kOutOpenCollectorInverted: SetPinSource(pinIndex, s.Up, kSchOpenResistance); break;
      case kOutPushPull: SetPinSource(pinIndex, s.Up, Sum(s.Rp, kOutputResistance)); break;
      default: SetPinSource(pinIndex, s.Up, Sum(s.Rp, kPullUpResistance)); break;
    }
  } else if (outType == kOutOpenCollector) {
    SetPinSource(pinIndex, s.Up, kSchOpenResistance);
  } else {
    SetPinSource(pinIndex, s.Ug, lowR);
  }
}

void CSCHEncoder::Save(CStream* s) {
  s->WriteByte(Type + 128);
  s->WriteByte(channels);
  const uint32_t ticksPerTurn = static_cast<uint32_t>(N);
  s->WriteByte(ticksPerTurn & 0xFF);
  s->WriteByte((ticksPerTurn >> 8) & 0xFF);
  s->WriteByte((ticksPerTurn >> 16) & 0xFF);
  s->WriteByte(outType);
  for (float v : {U, I, IoutMax, friction}) WriteFloat(s, v);
  CSCHDevice::Save(s);
}

void CSCHEncoder::Load(CStream* s) {
  // The own fields are read whole before anything changes: a cut record
  // leaves the encoder as it was (the short read fails the scheme read).
  unsigned char b[kOwnRecordBytes];
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  const unsigned char oldType = Type, oldChannels = channels, oldOutType = outType;
  Type = b[0] == 0 ? kTypeIncremental : static_cast<unsigned char>(b[0] & 0x0F);
  channels = b[1];
  outType = b[5];
  if (!BuildPins()) {
    Type = oldType, channels = oldChannels, outType = oldOutType;
    MarkSchemeRecordBroken(s);
    return;
  }
  N = b[2] | (b[3] << 8) | (b[4] << 16);
  U = ReadFloatAt(b + 6);
  I = ReadFloatAt(b + 10);
  IoutMax = ReadFloatAt(b + 14);
  friction = ReadFloatAt(b + 18);
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHEncoder() { return new (std::nothrow) CSCHEncoder; }
