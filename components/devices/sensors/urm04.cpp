#include "components/devices/sensors/urm04.h"

#include <cmath>
#include <new>

#include "components/devices/sensors/urm04_form.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

const RangeFinderModel CURM04::kModel = {250, kPlusPin, kMinusPin, 6.2f, 3.7f};

namespace {

// The answer's line drive: the supply rails behind 25 ohm.
const float kLineResistance = 25;
const int kPinOffsets[CURM04::kPinCount] = {2, 13, 24, 35, 51, 62, 73, 84};

float Sum(float a, float b) { return RoundToFloat(static_cast<double>(a) + b); }

// A state read from one line, driven onto the other through the termination.
SchPinState Terminated(const SchPinState& read) {
  SchPinState s = read;
  s.R = Sum(read.R, CURM04::kTermination);
  s.R2 = Sum(read.R2, CURM04::kTermination);
  return s;
}

// The differential level between the lines as the termination sees it.
float Differential(float Ua, float Ra, float Ub, float Rb) {
  return RoundToFloat((static_cast<double>(Ua) - Ub) * CURM04::kTermination /
                      (static_cast<double>(Ra) + CURM04::kTermination + Rb));
}

// Counts a timer down; true when it ran out in this step.
bool CountDown(float* timer, float dt) {
  *timer = RoundToFloat(static_cast<double>(*timer) - dt);
  return !(*timer > 0);
}

}  // namespace

CURM04::CURM04() {
  rect = RECT{0, 0, kWidth, kHeight};
  raisePinLabels = 1;
  pose = nullptr;
  if (!SetPinCount(kPinCount) || pinCount != kPinCount) return;
  const wchar_t* const names[kConnectorPins] = {L"+", L"-", L"A", L"B"};
  const wchar_t* const texts[kConnectorPins] = {L"Питание +5V", L"\"Земля\"", L"RS485 A(+)", L"RS485 B(-)"};
  for (int i = 0; i < kPinCount; i++) {
    pins[i].name = names[i % kConnectorPins];
    pins[i].description = texts[i % kConnectorPins];
    pins[i].kind = kSchPinElectric;
    pins[i].side = kSchSideLeft;
    pins[i].offset = kPinOffsets[i];
  }
}

CURM04::~CURM04() { DeleteSets(); }

void CURM04::DeleteSets() {
  delete setA;
  delete setB;
  setA = setB = nullptr;
  sourceA_.packets = sourceB_.packets = nullptr;
}

void CURM04::Paint(HDC dc) { PaintRangeFinder(dc, this); }

bool CURM04::Edit() {
  int chosen = address;
  if (!EditUrm04Address(instanceName, &chosen)) return false;
  address = static_cast<unsigned char>(chosen);
  return true;
}

void CURM04::JoinInternalNets() {
  if (pinCount < kPinCount) return;
  for (int k = 0; k < kConnectorPins; k++) {
    SchNet* twin = pins[kConnectorPins + k].net;
    if (!twin) continue;
    SchNet* own = pins[k].net;
    if (!own) twin->AddPin(this, k);
    else if (own != twin) twin->Merge(own);
  }
}

void CURM04::Start() {
  distance = kNoDistance;
  measureTimer = answerTimer = turnaroundTimer = 0;
  answerCounter = 0;
  DeleteSets();
  setA = new (std::nothrow) SchPacketSet;
  setB = new (std::nothrow) SchPacketSet;
  sourceA_.packets = setA;
  sourceB_.packets = setB;
  CSCHOutSensor::Start();
}

void CURM04::Stop() {
  DeleteSets();
  CSCHOutSensor::Stop();
}

void CURM04::SendAnswer(const RangeFinderSupply& s) {
  if (setA && setB)
    PutRangeFinderAnswer(setA, setB, address, answerCounter, kDevUrm04Format, answerCommand, answerValue);
  answerCounter = static_cast<unsigned char>(answerCounter + 1);
  SchPinState a = {};
  a.U = s.Uv;
  a.R = Sum(s.Rv, kLineResistance);
  a.U2 = s.Ug;
  a.R2 = Sum(s.Rg, kLineResistance);
  a.sourceKind = kSchSourceSerial;
  a.source = &sourceA_;
  SetPinState(kAPin, a);
  SchPinState b = {};
  b.U = s.Ug;
  b.R = Sum(s.Rg, kLineResistance);
  b.U2 = s.Uv;
  b.R2 = Sum(s.Rv, kLineResistance);
  b.sourceKind = kSchSourceSerial;
  b.source = &sourceB_;
  SetPinState(kBPin, b);
}

void CURM04::Receive(const RangeFinderSupply&) {
  SchPinState sa = {}, sb = {};
  GetPinState(kAPin, &sa);
  GetPinState(kBPin, &sb);
  // The termination: each line sees the other through 12 kohm.
  SetPinState(kAPin, Terminated(sb));
  SetPinState(kBPin, Terminated(sa));
  if (sa.sourceKind != kSchSourceSerial || sb.sourceKind != kSchSourceSerial || !sa.source || !sb.source) return;
  const SchPacketSet* set = sa.source->packets;
  if (!set || !set->Equals(sb.source->packets)) return;
  const float Vd = Differential(sa.U, sa.R, sb.U, sb.R);
  if (!(std::fabs(Vd) <= kBurnDifference)) {
    BurnRangeFinder(this);
    return;
  }
  if (!(Vd > kReceiveThreshold)) return;
  const float Vd2 = Differential(sa.U2, sa.R2, sb.U2, sb.R2);
  if (!(Vd2 < -kReceiveThreshold)) return;
  const int i = FindRangeFinderRequest(set, kDevUrm04Format, address, lastRequest);
  if (i < 0) return;
  const SchPacket* request = set->packets[i];
  lastRequest = request->sequence;
  switch (RangeFinderRequestCommand(request)) {
    case kCommandMeasure:
      measureTimer = kMeasureTime;
      break;
    case kCommandRead:
      answerTimer = kAnswerDelay;
      answerCommand = kCommandRead;
      answerValue = distance;
      break;
    case kCommandShortAnswer:
      answerTimer = kAnswerDelay;
      answerCommand = kCommandShortAnswer;
      answerValue = 0;
      break;
    default:
      break;
  }
}

void CURM04::Step(float dt) {
  if (pinCount < kPinCount) return;
  RangeFinderSupply s = {};
  if (StepRangeFinderSupply(this, kModel, &s) != RangeFinderPower::kOn) return;
  // Only a finder placed in the robot's world completes a measurement.
  if (measureTimer > 0 && CountDown(&measureTimer, dt) && pose) {
    const float d = RangeFinderDistance(this, axisDistance);
    distance = d > kFullRange ? kNoDistance : static_cast<uint16_t>(RoundToFloat(static_cast<double>(d) * 100));
  }
  if (answerTimer > 0) {
    if (CountDown(&answerTimer, dt)) {
      SendAnswer(s);
      turnaroundTimer = kTurnaround;
    }
    return;
  }
  if (turnaroundTimer > 0) {
    CountDown(&turnaroundTimer, dt);
    return;
  }
  Receive(s);
}

void CURM04::Save(CStream* s) {
  s->WriteByte(address);
  CSCHBlock::Save(s);
}

void CURM04::Load(CStream* s) {
  unsigned char b = 0;
  // A cut record leaves the finder as it was (the short read fails the
  // scheme read).
  if (s->Read(&b, 1) != 1) return;
  if (b < kMinAddress || b > kMaxAddress) {
    MarkSchemeRecordBroken(s);
    return;
  }
  address = b;
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCURM04() { return new (std::nothrow) CURM04; }
