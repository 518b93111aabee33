#include "components/electronic/chips/std_logic.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <cwchar>
#include <new>

#include "components/electronic/chips/chip_text.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kSupplyBurnt[] = L"Микросхема \"%s\" вышла из строя";
const wchar_t kPinBurnt[] = L"Микросхема \"%s\" вышла из строя.";

const float kPullUp = 4000.0f;       // ohms, every input to the supply
const float kOutputResistance = 100.0f;
const float kOutputCurrentMin = -0.005f;
const float kOutputCurrentMax = 0.02f;
const float kUndeterminedPeriod = 0.001f;  // seconds
const float kAndUndeterminedDuty = 0.33f;
const float kOrUndeterminedDuty = 0.66f;
const unsigned int kRequestProtocol = 0x40000000u;  // bit 30 of a serial format word

const StdLogicGateSet kGateSets[kElecStdLogicGateSets] = {
    {L"1x6И-НЕ", 1, 8, kElecStdLogicNand, false, 'A'},
    {L"4x2И-НЕ", 4, 2, kElecStdLogicNand, false, 'B'},
    {L"3x3И-НЕ", 3, 3, kElecStdLogicNand, false, 'C'},
    {L"2x4И-НЕ", 2, 4, kElecStdLogicNand, false, 'D'},
    {L"2x4И-НЕ ОК", 2, 4, kElecStdLogicNand, true, 'D'},
    {L"4x2И-НЕ ОК (ЛА8)", 4, 2, kElecStdLogicNand, true, 'E'},
    {L"3x3И-НЕ ОК", 3, 3, kElecStdLogicNand, true, 'C'},
    {L"4x2И-НЕ ОК", 4, 2, kElecStdLogicNand, true, 'B'},
    {L"6xНЕ", 6, 1, kElecStdLogicInverter, false, 'F'},
    {L"6xНЕ ОК", 6, 1, kElecStdLogicInverter, true, 'F'},
    {L"4x2И", 4, 2, kElecStdLogicAnd, false, 'B'},
    {L"3x3И", 3, 3, kElecStdLogicAnd, true, 'C'},
    {nullptr, 0, 0, kElecStdLogicNand, false, 0},
    {L"4x2ИЛИ", 4, 2, kElecStdLogicNor, false, 'E'},  // OR: the output is not inverted
    {L"3x3ИЛИ-НЕ", 3, 3, kElecStdLogicNor, true, 'C'},
    {L"ТЛ2", 6, 1, kElecStdLogicSchmitt, false, 'F'},
};

// Gate pins of the layouts, in evaluation order: package number, side and
// offset (left: from the top edge; right: from the bottom edge).
struct GatePin {
  int number, side, offset;
};
const int L = kSchSideLeft, R = kSchSideRight;
const GatePin kLayoutB[] = {{1, L, 10},  {2, L, 30},  {3, R, 140},  {4, L, 50},  {5, L, 70},
                            {6, R, 100}, {9, L, 90},  {10, L, 110}, {8, R, 60},  {12, L, 130},
                            {13, L, 150}, {11, R, 20}};
const GatePin kLayoutC[] = {{1, L, 10},  {2, L, 30},  {13, L, 50}, {12, R, 150}, {9, L, 70},
                            {10, L, 90}, {11, L, 110}, {6, R, 90}, {3, L, 130},  {4, L, 150},
                            {5, L, 170}, {8, R, 30}};
const GatePin kLayoutD[] = {{1, L, 10},  {2, L, 30},   {4, L, 50},   {5, L, 70}, {6, R, 120},
                            {9, L, 90},  {10, L, 110}, {12, L, 130}, {13, L, 150}, {8, R, 40}};
const GatePin kLayoutE[] = {{2, L, 10},  {3, L, 30},  {1, R, 150},  {5, L, 50},  {6, L, 70},
                            {4, R, 110}, {8, L, 90},  {9, L, 110},  {10, R, 70}, {11, L, 130},
                            {12, L, 150}, {13, R, 30}};
const GatePin kLayoutF[] = {{1, L, 15},   {2, R, 165}, {3, L, 45},  {4, R, 135}, {5, L, 75},
                            {6, R, 105},  {9, L, 105}, {8, R, 75},  {11, L, 135}, {10, R, 45},
                            {13, L, 165}, {12, R, 15}};
const int kLayoutAInputs[] = {1, 2, 3, 4, 5, 6, 11, 12};

bool IsOwnedDataKind(int kind) { return kind == kSchSourceSerial || kind == kSchSourcePacket; }

// Whether a set may be merged with another: null, empty, or its first packet
// in the request-based protocol.
bool Mergeable(const SchPacketSet* set) {
  if (!set || set->count <= 0 || !set->packets[0]) return true;
  return (static_cast<unsigned int>(set->packets[0]->format) & kRequestProtocol) != 0;
}

// Whether the input carries the same data as the gate's state at the given
// idle polarity and was absorbed into it: equal sets, or two sets that merge.
bool AbsorbSameData(const StdLogicSignal& g, const StdLogicSignal& input, unsigned char idle) {
  if (g.kind != input.kind || !IsOwnedDataKind(g.kind) || g.flag != idle || input.flag != idle) return false;
  SchPacketSet* mine = g.source.packets;
  SchPacketSet* theirs = input.source.packets;
  if (mine && mine->Equals(theirs)) return true;
  if (!Mergeable(mine) || !Mergeable(theirs)) return false;
  if (mine) mine->Merge(theirs);
  return true;
}

// The undetermined value: the period in the first word, the duty as weight.
void MakeUndetermined(StdLogicSignal* s, float duty) {
  s->kind = kSchSourceOwnWeight;
  s->level = 0;
  s->source.packets = nullptr;
  float period = kUndeterminedPeriod;
  std::memcpy(&s->source.packets, &period, sizeof period);
  s->source.weight = duty;
}

bool Finite(float v) { return std::isfinite(v); }

}  // namespace

const StdLogicGateSet* GetStdLogicGateSet(int number) {
  if (number < 0 || number >= kElecStdLogicGateSets || !kGateSets[number].func) return nullptr;
  return &kGateSets[number];
}

int FindStdLogicGateSet(const wchar_t* func) {
  if (!func) return -1;
  for (int i = 0; i < kElecStdLogicGateSets; i++)
    if (kGateSets[i].func && wcscmp(kGateSets[i].func, func) == 0) return i;
  return -1;
}

CSCHStdLogic::CSCHStdLogic() {
  namePrefix = L"DD";
  rect.right = rect.left + 40;
  BuildPins();
}

CSCHStdLogic::~CSCHStdLogic() {
  for (StdLogicGate& g : gates) {
    ReleaseStateSet(&g);
    if (g.ownsOutputSet) delete g.output.packets;
  }
}

void CSCHStdLogic::BuildPins() {
  SetPinCount(14);
  if (pinCount != 14) return;
  switch (package) {
    case kElecStdLogicDip: LayoutPinsDip(); break;
    case kElecStdLogicNarrowSo: LayoutPinsNarrowSo(); break;
    case kElecStdLogicWideSo: LayoutPinsWideSo(); break;
    case kElecStdLogicFlatPack: LayoutPinsTwoSides(); break;
    default: break;
  }
  pins[kElecStdLogicGround].side = kSchSideBottom;
  pins[kElecStdLogicGround].number = 7;
  pins[kElecStdLogicGround].description = L"Земля";
  pins[kElecStdLogicSupply].side = kSchSideTop;
  pins[kElecStdLogicSupply].number = 14;
  pins[kElecStdLogicSupply].description = L"+5В";
  const StdLogicGateSet* set = GetStdLogicGateSet(gateSet);
  if (!set) return;
  if (set->layout == 'A') {
    rect.bottom = rect.top + 160;
    SetPinCount(11);
    if (pinCount != 11) return;
    for (int i = 0; i < 8; i++) {
      pins[2 + i].side = kSchSideLeft;
      pins[2 + i].number = kLayoutAInputs[i];
    }
    pins[10].side = kSchSideRight;
    pins[10].number = 8;
    SpacePins(false);
    return;
  }
  const GatePin* layout = nullptr;
  int count = 0, height = 0;
  switch (set->layout) {
    case 'B': layout = kLayoutB; count = 12; height = 160; break;
    case 'C': layout = kLayoutC; count = 12; height = 180; break;
    case 'D': layout = kLayoutD; count = 10; height = 160; break;
    case 'E': layout = kLayoutE; count = 12; height = 170; break;
    case 'F': layout = kLayoutF; count = 12; height = 180; break;
    default: return;
  }
  SetPinCount(2 + count);
  if (pinCount != 2 + count) return;
  rect.bottom = rect.top + height;
  SpacePins(false);
  for (int i = 0; i < count; i++) {
    SchPin& p = pins[2 + i];
    p.number = layout[i].number;
    p.side = layout[i].side;
    p.offset = layout[i].offset;
  }
}

void CSCHStdLogic::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    const char* func = record->GetTextByName("Func");
    if (func) {
      wchar_t wide[64];
      ChipTextToWide(func, wide, 64);
      int n = FindStdLogicGateSet(wide);
      if (n >= 0) gateSet = n;
    }
    nominalVoltage = record->GetFloatByName("U");
    nominalCurrent = record->GetFloatByName("I");
    package = static_cast<unsigned char>(record->GetIntByName("corps"));
  }
  CSCHBlock::ApplyDbRecord(record);
  BuildPins();
}

// ------------------------------------------------------------ simulation

void CSCHStdLogic::Start() {
  for (StdLogicGate& g : gates) {
    ReleaseStateSet(&g);
    g.state = StdLogicSignal();
  }
  for (unsigned char& m : schmittMemory) m = 0;
  CSCHBlock::Start();
}

void CSCHStdLogic::Stop() {
  for (StdLogicGate& g : gates) {
    ResetOutput(&g);
    // The nets go with the run; nothing reads the output source after it.
    if (g.ownsOutputSet) delete g.output.packets;
    g.ownsOutputSet = false;
    g.output = SchSignalSource{nullptr, 0};
  }
  CSCHBlock::Stop();
}

void CSCHStdLogic::ReleaseStateSet(StdLogicGate* gate) {
  if (gate->ownsStateSet) delete gate->state.source.packets;
  gate->ownsStateSet = false;
  gate->state.source = SchSignalSource{nullptr, 0};
}

void CSCHStdLogic::ResetOutput(StdLogicGate* gate) {
  ReleaseStateSet(gate);
  gate->state = StdLogicSignal();
}

void CSCHStdLogic::ReleaseOutputSource(StdLogicGate* gate) {
  SchPacketSet* old = gate->ownsOutputSet ? gate->output.packets : nullptr;
  gate->output = SchSignalSource{nullptr, 0};
  gate->ownsOutputSet = false;
  delete old;
}

void CSCHStdLogic::ReleaseOutputPin(int pin, StdLogicGate* gate) {
  SetPinSource(pin, 0, kSchOpenResistance);
  if (gate) ReleaseOutputSource(gate);
}

int CSCHStdLogic::GatePinBase(int gate) const {
  const StdLogicGateSet* set = GetStdLogicGateSet(gateSet);
  if (!set || gate >= set->gates) return -1;
  return 2 + gate * (set->inputs + 1);
}

void CSCHStdLogic::Step(float) {
  for (StdLogicGate& g : gates) ResetOutput(&g);
  const StdLogicGateSet* set = GetStdLogicGateSet(gateSet);
  if (burnt) {
    DriveBurntPins(this);
    for (StdLogicGate& g : gates) ReleaseOutputSource(&g);
    return;
  }
  GetPinInput(kElecStdLogicGround, &Ug_, &Rg_);
  GetPinInput(kElecStdLogicSupply, &Uv_, &Rv_);
  const float Rs = nominalVoltage / nominalCurrent;
  const float Vc = (Uv_ - Ug_) * Rs / (Rg_ + Rv_ + Rs);
  if (!(Rs > 0) || !Finite(Rs) || !Finite(Vc) || !(Vc >= -1.0f) || !(Vc <= 1.25f * nominalVoltage)) {
    burnt = 1;
    SimMessageLog::Global().AppendFormat(kSupplyBurnt, instanceName ? instanceName : L"");
    return;
  }
  SetPinSource(kElecStdLogicGround, Uv_, Rv_ + Rs);
  SetPinSource(kElecStdLogicSupply, Ug_, Rg_ + Rs);
  if (Vc <= 0.75f * nominalVoltage || !set) {
    for (int i = 2; i < pinCount; i++) SetPinSource(i, 0, kSchOpenResistance);
    for (StdLogicGate& g : gates) ReleaseOutputSource(&g);
    return;
  }
  for (int k = 0; k < set->gates && k < kElecStdLogicGateCount; k++) {
    StdLogicGate* gate = &gates[k];
    const int base = GatePinBase(k);
    const int output = base + set->inputs;
    if (base < 0 || output >= pinCount) break;
    const bool orType = set->function == kElecStdLogicNor;
    if (set->inputs > 1) {
      gate->state = StdLogicSignal();
      gate->state.level = orType ? 0 : 1;
    }
    for (int i = 0; i < set->inputs; i++) {
      StdLogicSignal in = set->function == kElecStdLogicSchmitt ? ReadSchmittInputPin(base + i, &schmittMemory[k])
                                                             : ReadInputPin(base + i);
      if (burnt) return;
      if (set->inputs == 1) TakeSignal(gate, in);
      else if (orType) MergeInputOr(gate, in);
      else MergeInputAnd(gate, in);
    }
    // Every gate set inverts but AND and OR.
    if (set->function != kElecStdLogicAnd && gateSet != 13) InvertLevel(gate);
    if (set->openCollector) DriveOpenCollectorOutput(output, gate);
    else DrivePushPullOutput(output, gate);
  }
}

StdLogicSignal CSCHStdLogic::ReadSchmittInputPin(int pin, unsigned char* memory) {
  StdLogicSignal r;
  SchPinState s = {};
  GetPinState(pin, &s);
  const float Ua = s.U + (Uv_ - s.U) * s.R / (Rv_ + s.R + kPullUp);
  const float Ub = s.U2 + (Uv_ - s.U2) * s.R2 / (Rv_ + s.R2 + kPullUp);
  const float low = Ug_ - 0.5f, high = 1.2f * Uv_;
  if (!(Ua >= low && Ua <= high && Ub >= low && Ub <= high)) {
    burnt = 1;
    SimMessageLog::Global().AppendFormat(kPinBurnt, instanceName ? instanceName : L"");
    return r;
  }
  SetPinSource(pin, Uv_, Rv_ + kPullUp);
  const float m = Ug_ + (Uv_ - Ug_) / 2;
  const float hi = Ua > Ub ? Ua : Ub, lo = Ua > Ub ? Ub : Ua;
  const unsigned char flag = Ub > Ua ? 1 : 0;
  if (!memory) {
    if (hi <= m) return r;
    if (s.source && lo < m) {
      r.kind = s.sourceKind;
      r.source = *s.source;
      r.flag = flag;
      return r;
    }
    r.level = 1;
    return r;
  }
  const float h = 0.3f * (Uv_ - Ug_) / 5;
  if (s.source && hi > m + h && lo < m - h) {
    r.kind = s.sourceKind;
    r.source = *s.source;
    r.flag = flag;
    return r;
  }
  if (hi > m + h) *memory = 1;
  else if (hi < m - h) *memory = 0;
  r.level = *memory;
  return r;
}

StdLogicSignal CSCHStdLogic::ReadInputPin(int pin) { return ReadSchmittInputPin(pin, nullptr); }

void CSCHStdLogic::TakeSignal(StdLogicGate* gate, const StdLogicSignal& input) {
  ReleaseStateSet(gate);
  gate->state = input;
  if (input.kind != kSchSourceLogic && IsOwnedDataKind(input.kind)) {
    gate->state.source.packets = SchPacketSet::Clone(input.source.packets);
    gate->ownsStateSet = gate->state.source.packets != nullptr;
  }
}

void CSCHStdLogic::MergeInputAnd(StdLogicGate* gate, const StdLogicSignal& input) {
  StdLogicSignal& g = gate->state;
  if (input.kind == kSchSourceLogic) {
    // A low input forces the gate low, whatever it held; a high one is neutral.
    if (input.level == 0) {
      ReleaseStateSet(gate);
      g = StdLogicSignal();
    }
    return;
  }
  if (g.kind == kSchSourceLogic) {
    if (g.level == 0) return;
    TakeSignal(gate, input);
    return;
  }
  if (AbsorbSameData(g, input, 0)) return;
  ReleaseStateSet(gate);
  g.flag = 0;
  MakeUndetermined(&g, kAndUndeterminedDuty);
}

void CSCHStdLogic::MergeInputOr(StdLogicGate* gate, const StdLogicSignal& input) {
  StdLogicSignal& g = gate->state;
  if (input.kind == kSchSourceLogic) {
    if (input.level == 1) {
      ReleaseStateSet(gate);
      g = StdLogicSignal();
      g.level = 1;
    }
    return;
  }
  if (g.kind == kSchSourceLogic) {
    if (g.level == 1) return;
    TakeSignal(gate, input);
    return;
  }
  if (AbsorbSameData(g, input, 1)) return;
  ReleaseStateSet(gate);
  MakeUndetermined(&g, kOrUndeterminedDuty);
}

void CSCHStdLogic::InvertLevel(StdLogicGate* gate) {
  if (gate->state.kind == kSchSourceLogic) gate->state.level = gate->state.level ? 0 : 1;
  else gate->state.flag = gate->state.flag ? 0 : 1;
}

bool CSCHStdLogic::OutputCurrentOk(float I) {
  if (I >= kOutputCurrentMin && I <= kOutputCurrentMax) return true;
  burnt = 1;
  SimMessageLog::Global().AppendFormat(kPinBurnt, instanceName ? instanceName : L"");
  return false;
}

namespace {

// Hands the gate's state to its output source and writes the pin.
void WriteDataPin(CSCHBlock* block, int pin, StdLogicGate* gate, float U1, float R1, float U2, float R2) {
  if (gate->state.flag) {
    std::swap(U1, U2);
    std::swap(R1, R2);
  }
  gate->output = gate->state.source;
  gate->ownsOutputSet = gate->ownsStateSet;
  gate->ownsStateSet = false;  // the clone now belongs to the output
  SchPinState s = {};
  s.U = U1;
  s.R = R1;
  s.U2 = U2;
  s.R2 = R2;
  s.ownU = U1;
  s.ownR = R1;
  s.sourceKind = gate->state.kind;
  s.source = &gate->output;
  block->SetPinState(pin, s);
}

}  // namespace

void CSCHStdLogic::DrivePushPullOutput(int pin, StdLogicGate* gate) {
  float Un = 0, Rn = kSchOpenResistance;
  GetPinInput(pin, &Un, &Rn);
  const float Ihigh = (Uv_ - Un) / (kOutputResistance + Rv_ + Rn);
  const float Ilow = (Un - Ug_) / (kOutputResistance + Rg_ + Rn);
  if (gate->state.kind == kSchSourceLogic) {
    if (gate->state.level) {
      if (!OutputCurrentOk(Ihigh)) return;
      SetPinSource(pin, Uv_, Rv_ + kOutputResistance);
    } else {
      if (!OutputCurrentOk(Ilow)) return;
      SetPinSource(pin, Ug_, Rg_ + kOutputResistance);
    }
    ReleaseOutputSource(gate);
    return;
  }
  if (!OutputCurrentOk(Ihigh) || !OutputCurrentOk(Ilow)) return;
  SchPacketSet* old = gate->ownsOutputSet ? gate->output.packets : nullptr;
  WriteDataPin(this, pin, gate, Uv_, Rv_ + kOutputResistance, Ug_, Rg_ + kOutputResistance);
  if (old != gate->output.packets) delete old;
}

void CSCHStdLogic::DriveOpenCollectorOutput(int pin, StdLogicGate* gate) {
  if (gate->state.kind == kSchSourceLogic && gate->state.level) {
    ReleaseOutputPin(pin, gate);
    return;
  }
  float Un = 0, Rn = kSchOpenResistance;
  GetPinInput(pin, &Un, &Rn);
  const float Ilow = (Un - Ug_) / (kOutputResistance + Rg_ + Rn);
  if (!OutputCurrentOk(Ilow)) return;
  if (gate->state.kind == kSchSourceLogic) {
    SetPinSource(pin, Ug_, Rg_ + kOutputResistance);
    ReleaseOutputSource(gate);
    return;
  }
  SchPacketSet* old = gate->ownsOutputSet ? gate->output.packets : nullptr;
  WriteDataPin(this, pin, gate, Ug_, kSchOpenResistance, Ug_, Rg_ + kOutputResistance);
  if (old != gate->output.packets) delete old;
}

// ------------------------------------------------------------ record

namespace {

// The footprint of the 14-lead packages, millimetres.
void PackageFootprint(unsigned char package, float* width, float* length) {
  switch (package) {
    case kElecStdLogicDip: *width = 7.62f; *length = 6 * 2.54f + 1.778f; break;
    case kElecStdLogicNarrowSo: *width = 6.2f; *length = 6 * 1.27f + 1.57f; break;
    case kElecStdLogicWideSo: *width = 10.2f; *length = 6 * 1.27f + 1.57f; break;
    case kElecStdLogicFlatPack: *width = 14.0f; *length = 10.0f; break;
    default: break;
  }
}

}  // namespace

void CSCHStdLogic::Save(CStream* s) {
  s->Write(&gateSet, 4);
  s->Write(&nominalVoltage, 4);
  s->Write(&nominalCurrent, 4);
  CSCHBlock::Save(s);
}

void CSCHStdLogic::Load(CStream* s) {
  gateSet = s->ReadInt32();
  nominalVoltage = s->ReadFloat();
  nominalCurrent = s->ReadFloat();
  BuildPins();
  CSCHBlock::Load(s);
  // The record holds no package: the chip's database row knows it.
  if (!tableName || !model) return;
  CompDbTable table(tableName);
  if (!table.Load()) return;
  CompDbRecord* row = table.FindRecord(model);
  if (!row || row->FindColumn("corps") < 0) return;
  unsigned char p = static_cast<unsigned char>(row->GetIntByName("corps"));
  if (p > kElecStdLogicFlatPack) return;
  package = p;
  PackageFootprint(package, &footprintWidth, &footprintLength);
}

// ------------------------------------------------------------ drawing

namespace {

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Bubble(HDC dc, int x, int y) { Ellipse(dc, x - 4, y - 4, x + 5, y + 5); }

}  // namespace

void CSCHStdLogic::Paint(HDC dc) {
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  selection.Select(GetStockObject(WHITE_BRUSH));
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  const int left = rect.left, top = rect.top, right = rect.right;
  // Boxes: count, pitch, box height, inputs per box, text, bubbles.
  int boxes = 0, pitch = 0, boxHeight = 0, inputs = 0;
  const wchar_t* text = L"&";
  bool bubbles = true;
  switch (gateSet) {
    case 0:
      PaintBody(dc, RGB(238, 238, 238));
      Bubble(dc, right, rect.bottom - (pinCount > 10 ? pins[10].offset : 80));
      TextOutW(dc, right - 12, top + 4, L"&", 1);
      break;
    case 1: case 5: case 7: boxes = 4; pitch = 40; boxHeight = 30; inputs = 2; break;
    case 10: boxes = 4; pitch = 40; boxHeight = 30; inputs = 2; bubbles = false; break;
    case 13: boxes = 4; pitch = 40; boxHeight = 30; inputs = 2; bubbles = false; text = L"1"; break;
    case 2: case 6: boxes = 3; pitch = 60; boxHeight = 50; inputs = 3; break;
    case 11: boxes = 3; pitch = 60; boxHeight = 50; inputs = 3; bubbles = false; break;
    case 14: boxes = 3; pitch = 60; boxHeight = 50; inputs = 3; text = L"1"; break;
    case 3: case 4: boxes = 2; pitch = 80; boxHeight = 70; inputs = 4; break;
    case 8: case 9: case 15: boxes = 6; pitch = 30; boxHeight = 20; inputs = 1; text = nullptr; break;
    default: break;
  }
  for (int j = 0; j < boxes; j++) {
    const int boxTop = top + pitch * j + 5;
    Rectangle(dc, left + 5, boxTop, right - 5, boxTop + boxHeight);
    const int base = GatePinBase(j);
    if (base < 0 || base + inputs >= pinCount) continue;
    for (int i = 0; i < inputs; i++) {
      int y = top + pins[base + i].offset;
      Line(dc, left, y, left + 5, y);
    }
    const int y = rect.bottom - pins[base + inputs].offset;
    Line(dc, right, y, right - 5, y);
    if (bubbles) Bubble(dc, right - 5, y);
    if (text) TextOutW(dc, right - 22, top + pitch * j + 10, text, 1);
    if (gateSet == 15) {
      const int cx = (left + right) / 2, cy = top + 30 * j + 15;
      POINT mark[6] = {{cx - 6, cy + 5}, {cx + 2, cy + 5}, {cx + 2, cy - 5},
                       {cx + 6, cy - 5}, {cx - 2, cy - 5}, {cx - 2, cy + 5}};
      Polyline(dc, mark, 6);
    }
  }
  if (instanceName) TextOutW(dc, rect.right, rect.bottom, instanceName, static_cast<int>(wcslen(instanceName)));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

void CSCHStdLogic::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  wchar_t text[kElecChipFootprintTextChars + 1];
  ChipTextToWide(model, text, kElecChipFootprintTextChars + 1);
  const COLORREF grey = RGB(0x99, 0x99, 0x99);
  switch (package) {
    case kElecStdLogicDip:
      painter->DrawDipPackage(14);
      DrawFootprintText(painter, 0.2f, 0, 2, text, 1, grey);
      break;
    case kElecStdLogicNarrowSo:
      painter->DrawNarrowSoPackage(14);
      DrawFootprintText(painter, 0.2f, 0, 1, text, 1, grey);
      break;
    case kElecStdLogicWideSo:
      painter->DrawWideSoPackage(14);
      DrawFootprintText(painter, 0.2f, 0, 1, text, 1, grey);
      break;
    case kElecStdLogicFlatPack:
      painter->DrawFlatPack14Package();
      DrawFootprintText(painter, 0.2f, 0, 1.5f, text, 1, RGB(0x44, 0x44, 0x44));
      break;
    default: break;
  }
  DrawFootprintName(painter, this);
}

CSCHBlock* CreateCSCHStdLogic() { return new (std::nothrow) CSCHStdLogic; }
