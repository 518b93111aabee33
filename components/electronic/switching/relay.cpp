#include "components/electronic/switching/relay.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "components/electronic/part_common.h"
#include "components/electronic/switching/switch_smoothing.h"
#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/sim_log.h"

const COLORREF kElecRelayBodyColors[kElecRelayColorCount] = {
    RGB(170, 170, 187), RGB(255, 204, 170), RGB(85, 85, 85),
    RGB(255, 102, 51),  RGB(204, 170, 153), RGB(204, 204, 204),
};
const COLORREF kElecRelayMarkingColors[kElecRelayColorCount] = {
    RGB(102, 102, 102), RGB(255, 238, 238), RGB(204, 204, 204),
    RGB(255, 153, 85),  RGB(204, 238, 204), RGB(102, 102, 102),
};

namespace {

const wchar_t kCoilMessage[] = L"В реле \"%s\" перегорела обмотка";
const wchar_t kResetCoilMessage[] = L"В реле \"%s\" перегорела обмотка 2";
const wchar_t kContactMessage[] = L"В реле \"%s\" перегорели контакты!";
const float kFastCoilTau = 0.01f;  // seconds
const float kSlowCoilTau = 0.1f;
const float kContactTau = 1.0f;
const float kMarkingHeight = 2.0f;  // mm
const float kMarkingStep = 1.25f;
const COLORREF kHoleColor = RGB(0, 102, 0);

// The pins of a group by its kind: 3 for a changeover, 2 otherwise.
int GroupPins(unsigned char kind) { return kind == kElecRelayChangeover ? 3 : 2; }

// Drives a pin open: 0 V behind 5 megohms.
void Isolate(CSCHBlock* b, int pin) { b->SetPinSource(pin, 0, kSchOpenResistance); }

void Report(CSCHBlock* b, const wchar_t* format) {
  SimMessageLog::Global().AppendFormat(format, b->instanceName ? b->instanceName : L"");
}

// Sets side and offset of a pin that exists (a pin array that could not
// grow leaves the last pins out).
void PlacePin(CSCHBlock* b, int pin, int side, int offset) {
  if (pin < 0 || pin >= b->pinCount) return;
  b->pins[pin].side = side;
  b->pins[pin].offset = offset;
  b->pins[pin].name = nullptr;
  b->pins[pin].description = nullptr;
}

// A database text as an owned wide copy; null for an empty text.
wchar_t* DecodeMarking(const char* text) {
  if (!text || !*text) return nullptr;
  size_t n = strlen(text);
  if (n > 0x7FFFFFF) n = 0x7FFFFFF;
  return DecodeText(reinterpret_cast<unsigned char*>(const_cast<char*>(text)), static_cast<int>(n),
                    false, kFoundationEncodingAnsi);
}

}  // namespace

const wchar_t* ParseRelayMarking(const wchar_t* text, float* height) {
  float h = kMarkingHeight;
  while (text && text[0] == L'\\') {
    if (text[1] == L'B') {
      h *= kMarkingStep;
      text += 2;
    } else if (text[1] == L's') {
      h /= kMarkingStep;
      text += 2;
    } else {
      text += 1;
    }
  }
  if (height) *height = h;
  return text;
}

CSCHRelay::CSCHRelay() {
  namePrefix = L"Р";
  rect.right = rect.left + 40;
  BuildPins();
}

CSCHRelay::~CSCHRelay() {
  for (wchar_t*& text : marking) {
    FreeBuffer(text);
    text = nullptr;
  }
}

void CSCHRelay::BuildPins() {
  if (groupCount > kElecRelayMaxGroups) groupCount = kElecRelayMaxGroups;
  const int k = relayKind, n = groupCount;
  const int h = 40 * k + 30 * n + 50;
  rect.bottom = rect.top + h;
  footprintWidth = earLength != 0 ? bodyLength + 2 * earLength : bodyLength;
  footprintLength = bodyWidth;
  int count = 2;
  for (int g = 0; g < n; g++) count += GroupPins(groupKinds[g]);
  if (relayKind == kElecRelayWithResetCoil) count += 2;
  SetPinCount(count);
  PlacePin(this, 0, kSchSideLeft, h - 20);
  PlacePin(this, 1, kSchSideRight, 20);
  int pin = 2;
  for (int j = 0; j < n; j++) {
    PlacePin(this, pin, kSchSideLeft, h - 50 - 30 * j);
    PlacePin(this, pin + 1, kSchSideRight, 50 + 30 * j);
    if (groupKinds[j] == kElecRelayChangeover) PlacePin(this, pin + 2, kSchSideRight, 65 + 30 * j);
    pin += GroupPins(groupKinds[j]);
  }
  if (relayKind == kElecRelayWithResetCoil) {
    PlacePin(this, pin, kSchSideLeft, 20);
    PlacePin(this, pin + 1, kSchSideRight, h - 20);
  }
}

float CSCHRelay::CoilResistance() const { return ratedVoltage / coilCurrent; }

bool CSCHRelay::CoilSound() const {
  const float R = CoilResistance();
  return std::isfinite(R) && R > 0;
}

float CSCHRelay::PullInCurrent() const {
  return CoilSound() ? pullInVoltage / CoilResistance() : INFINITY;
}

int CSCHRelay::GroupFirstPin(int group) const {
  if (group < 0 || group >= groupCount || group >= kElecRelayMaxGroups) return -1;
  int pin = 2;
  for (int g = 0; g < group; g++) pin += GroupPins(groupKinds[g]);
  return pin;
}

void CSCHRelay::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  ratedVoltage = record->GetFloatByName("U");
  polarityMode = static_cast<unsigned char>(record->GetIntByName("polar"));
  pullInVoltage = record->GetFloatByName("Umin");
  coilVoltageLimit = record->GetFloatByName("Umax");
  coilCurrent = static_cast<float>(record->GetDoubleByName("I") / 1000);
  releaseCurrent = static_cast<float>(record->GetDoubleByName("Ioff") / 1000);
  dcSwitchingPower =
      static_cast<float>(record->GetDoubleByName("Ucommutation") * record->GetDoubleByName("Icommutation"));
  acSwitchingVoltage = record->GetFloatByName("UcommutationAC");
  acSwitchingPower = static_cast<float>(record->GetDoubleByName("IcommutationAC") * acSwitchingVoltage);
  relayKind = static_cast<unsigned char>(record->GetIntByName("type"));
  int n = record->GetIntByName("n");
  groupCount = static_cast<unsigned char>(n < 0 ? 0 : n > kElecRelayMaxGroups ? kElecRelayMaxGroups : n);
  static const char* const kPairKeys[kElecRelayMaxGroups] = {"pair1", "pair2", "pair3", "pair4"};
  for (int g = 0; g < kElecRelayMaxGroups; g++)
    groupKinds[g] = static_cast<unsigned char>(record->GetIntByName(kPairKeys[g]));
  packageShape = static_cast<unsigned char>(record->GetIntByName("form"));
  colorScheme = static_cast<unsigned char>(record->GetIntByName("color"));
  bodyLength = record->GetFloatByName("length");
  bodyWidth = record->GetFloatByName("width");
  cornerRadius = record->GetFloatByName("radius");
  rim = record->GetFloatByName("kant");
  earLength = record->GetFloatByName("ears");
  static const char* const kMarkingKeys[3] = {"str1", "str2", "str3"};
  for (int i = 0; i < 3; i++) {
    wchar_t* text = DecodeMarking(record->GetTextByName(kMarkingKeys[i]));
    FreeBuffer(marking[i]);
    marking[i] = text;
  }
  BuildPins();
}

void CSCHRelay::Paint(HDC dc) {
  const int left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  const int cx = (left + right) / 2;
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(WHITE_BRUSH));
    Rectangle(dc, cx - 10, bottom - 40, cx + 10, bottom);
    MoveToEx(dc, cx - 10, bottom - 20, nullptr);
    LineTo(dc, left - 1, bottom - 20);
    MoveToEx(dc, cx + 10, bottom - 20, nullptr);
    LineTo(dc, right + 1, bottom - 20);
    if (polarityMode == kElecRelayPolarised) TextOutW(dc, left, bottom - 19, L"+", 1);
    bool linked = false;
    int link = 0;
    for (int g = 0; g < groupCount && g < kElecRelayMaxGroups; g++) {
      const int y = bottom - 50 - 30 * g;
      MoveToEx(dc, left, y, nullptr);
      LineTo(dc, cx - 10, y);
      switch (groupKinds[g]) {
        case kElecRelayNormallyOpen:
          LineTo(dc, cx + 10, y - 12);
          MoveToEx(dc, right, y, nullptr);
          LineTo(dc, cx + 10, y);
          link = y - 6;
          linked = true;
          break;
        case kElecRelayNormallyClosed:
          LineTo(dc, cx - 10, y - 4);
          LineTo(dc, cx + 12, y + 4);
          MoveToEx(dc, right, y, nullptr);
          LineTo(dc, cx + 10, y);
          link = y;
          linked = true;
          break;
        case kElecRelayChangeover:
          LineTo(dc, cx + 10, y - 12);
          MoveToEx(dc, right, y, nullptr);
          LineTo(dc, cx + 10, y);
          MoveToEx(dc, right, y - 15, nullptr);
          LineTo(dc, cx + 10, y - 15);
          LineTo(dc, cx + 10, y - 10);
          link = y - 6;
          linked = true;
          break;
        default:  // a kind without contacts: its lead only
          break;
      }
    }
    if (relayKind == kElecRelayWithResetCoil) {
      Rectangle(dc, cx - 10, top, cx + 10, top + 40);
      MoveToEx(dc, cx - 10, top + 20, nullptr);
      LineTo(dc, left - 1, top + 20);
      MoveToEx(dc, cx + 10, top + 20, nullptr);
      LineTo(dc, right + 1, top + 20);
      if (polarityMode == kElecRelayPolarised) TextOutW(dc, left, top + 8, L"+", 1);
      link = top + 40;
      linked = true;
    }
    // Without a group or a reset coil there is nothing to link.
    if (linked) {
      CKestOwnedPen dotted(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
      CKestDcSelection pen(dc);
      pen.Select(dotted.Get());
      MoveToEx(dc, cx, bottom - 40, nullptr);
      LineTo(dc, cx, link);
    }
  }
  if (instanceName) {
    int length = static_cast<int>(wcslen(instanceName));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, instanceName, length, &size);
    COLORREF old = SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, left + (right - left - size.cx) / 2, bottom, instanceName, length);
    SetTextColor(dc, old);
  }
}

void CSCHRelay::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  HDC dc = painter->dc;
  const float L = bodyLength, W = bodyWidth, e = earLength;
  const int color = colorScheme < kElecRelayColorCount ? colorScheme : kElecRelayColorCount - 1;
  CKestOwnedBrush body(CreateSolidBrush(kElecRelayBodyColors[color]));
  CKestDcSelection selection(dc);
  selection.Select(body.Get());
  selection.Select(GetStockObject(BLACK_PEN));
  if (e > 0) {
    painter->DrawRoundedRectangle(-L / 2 - e, -W / 2 + 1, L / 2 + e, W / 2 - 1, W / 4 - 0.5f);
    CKestOwnedBrush hole(CreateSolidBrush(kHoleColor));
    CKestDcSelection holes(dc);
    holes.Select(hole.Get());
    painter->DrawCircle(-L / 2 - e + W / 2 - 1, 0, 1.5f);
    painter->DrawCircle(L / 2 + e - W / 2 + 1, 0, 1.5f);
  }
  if (packageShape == kElecRelayBox) {
    if (cornerRadius > 0) {
      painter->DrawRoundedRectangle(-L / 2, -W / 2, L / 2, W / 2, cornerRadius);
      if (rim > 0)
        painter->DrawRoundedRectangle(-L / 2 + rim, -W / 2 + rim, L / 2 - rim, W / 2 - rim, cornerRadius);
    } else {
      painter->DrawRectangle(-L / 2, -W / 2, L / 2, W / 2);
      if (rim > 0) painter->DrawRectangle(-L / 2 + rim, -W / 2 + rim, L / 2 - rim, W / 2 - rim);
    }
  } else if (packageShape == kElecRelayCylinder) {
    painter->DrawCircle(0, 0, L / 2);
    painter->DrawCircle(0, 0, L / 2 - rim);
  }
  COLORREF oldColor = SetTextColor(dc, kElecRelayMarkingColors[color]);
  for (int i = 0; i < 3; i++) {
    if (!marking[i]) continue;
    float height = 0;
    const wchar_t* text = ParseRelayMarking(marking[i], &height);
    painter->DrawText(0, -W / 4 + i * W / 4, height, text, 0);
  }
  SetTextColor(dc, oldColor);
}

void CSCHRelay::Start() {
  armature = 0;
  smoothedCoilCurrent = 0;
  smoothedResetCurrent = 0;
  coilBurnt = 0;
  resetCoilBurnt = 0;
  for (int g = 0; g < kElecRelayMaxGroups; g++) {
    smoothedContactPower[g] = 0;
    groupBurnt[g] = 0;
  }
  CSCHBlock::Start();
}

float CSCHRelay::StepCoil(int a, int b, float dt, float* smoothed, unsigned char* burntCoil,
                          const wchar_t* message) {
  const float Rcoil = CoilResistance();
  float U1, R1, U2, R2;
  GetPinInput(a, &U1, &R1);
  GetPinInput(b, &U2, &R2);
  // A row whose rated voltage and current give no finite positive coil
  // resistance leaves the coil nothing to drive with: it counts as a broken
  // voltage limit below.
  const bool sound = CoilSound();
  float I = 0;
  if (sound) {
    SetPinSource(a, U2, R2 + Rcoil);
    SetPinSource(b, U1, R1 + Rcoil);
    I = (U1 - U2) / (Rcoil + R1 + R2);
  }
  switch (polarityMode) {
    case kElecRelayUnpolarised:
      *smoothed = SmoothSwitchValue(*smoothed, std::fabs(I), dt, kFastCoilTau);
      I = *smoothed;
      break;
    case kElecRelaySlowUnpolarised:
      *smoothed = SmoothSwitchValue(*smoothed, std::fabs(I), dt, kSlowCoilTau);
      I = *smoothed;
      break;
    case kElecRelayPolarised:
      *smoothed = SmoothSwitchValue(*smoothed, I, dt, kFastCoilTau);
      I = *smoothed;
      break;
    default:
      break;
  }
  if (!sound || LimitViolated(std::fabs(I) * Rcoil, coilVoltageLimit)) {
    *burntCoil = 1;
    burnt = 1;
    Report(this, message);
    I = 0;
    if (!sound) {
      Isolate(this, a);
      Isolate(this, b);
    }
  }
  return I;
}

void CSCHRelay::CheckContact(int g, const SchPinState& A, const SchPinState& B, float dt) {
  float Ua, Ra, Ub, Rb;
  ResolvePinState(A, &Ua, &Ra);
  ResolvePinState(B, &Ub, &Rb);
  const float dU = std::fabs(Ub - Ua);
  bool broken = LimitViolated(dU, acSwitchingVoltage);
  if (!broken) {
    const float sum = Ra + Rb;
    const float P = sum > 0 ? dU * dU / sum : (dU != 0 ? INFINITY : 0);
    broken = LimitViolated(P, acSwitchingPower);
    if (!broken) {
      smoothedContactPower[g] = SmoothSwitchValue(smoothedContactPower[g], P, dt, kContactTau);
      broken = LimitViolated(smoothedContactPower[g], dcSwitchingPower);
    }
  }
  if (broken) {
    groupBurnt[g] = 1;
    burnt = 1;
    Report(this, kContactMessage);
  }
}

void CSCHRelay::Step(float dt) {
  // The coil.
  if (coilBurnt) {
    Isolate(this, 0);
    Isolate(this, 1);
  } else {
    float I = StepCoil(0, 1, dt, &smoothedCoilCurrent, &coilBurnt, kCoilMessage);
    const float pullIn = PullInCurrent();
    if (I > pullIn) armature = 1;
    else if (relayKind == kElecRelayStandard) {
      if (I < releaseCurrent) armature = 0;
    } else if (polarityMode == kElecRelayPolarised && I < -pullIn) {
      armature = 0;
    }
  }
  // The reset coil: the last two pins.
  if (relayKind == kElecRelayWithResetCoil && pinCount >= 4) {
    const int a = pinCount - 2, b = pinCount - 1;
    if (resetCoilBurnt) {
      Isolate(this, a);
      Isolate(this, b);
    } else {
      float I = StepCoil(a, b, dt, &smoothedResetCurrent, &resetCoilBurnt, kResetCoilMessage);
      const float pullIn = PullInCurrent();
      if (I > pullIn) armature = 0;
      else if (polarityMode == kElecRelayPolarised && I < -pullIn) armature = 1;
    }
  }
  // The contact groups.
  int k = 2;
  for (int g = 0; g < groupCount && g < kElecRelayMaxGroups; g++) {
    const unsigned char kind = groupKinds[g];
    if (k + GroupPins(kind) > pinCount) break;
    SchPinState A = {};
    GetPinState(k, &A);
    if (kind == kElecRelayNormallyOpen || kind == kElecRelayNormallyClosed) {
      const bool closed = kind == kElecRelayNormallyOpen ? armature == 1 : armature == 0;
      if (!closed || groupBurnt[g]) {
        Isolate(this, k);
        Isolate(this, k + 1);
      } else {
        SchPinState B = {};
        GetPinState(k + 1, &B);
        SetPinState(k, B);
        SetPinState(k + 1, A);
        CheckContact(g, A, B, dt);
      }
      k += 2;
    } else if (kind == kElecRelayChangeover) {
      if (groupBurnt[g]) {
        Isolate(this, k);
        Isolate(this, k + 1);
        Isolate(this, k + 2);
      } else {
        const int made = armature == 1 ? k + 1 : k + 2;
        const int other = armature == 1 ? k + 2 : k + 1;
        SchPinState B = {};
        GetPinState(made, &B);
        SetPinState(k, B);
        SetPinState(made, A);
        Isolate(this, other);
        CheckContact(g, A, B, dt);
      }
      k += 3;
    } else {
      k += 2;
    }
  }
}

void CSCHRelay::Save(CStream* s) {
  s->Write(&ratedVoltage, 4);
  s->WriteByte(polarityMode);
  s->Write(&pullInVoltage, 4);
  s->Write(&coilVoltageLimit, 4);
  s->Write(&coilCurrent, 4);
  s->Write(&releaseCurrent, 4);
  s->Write(&dcSwitchingPower, 4);
  s->Write(&acSwitchingVoltage, 4);
  s->Write(&acSwitchingPower, 4);
  s->WriteByte(relayKind);
  s->WriteByte(groupCount);
  for (int g = 0; g < kElecRelayMaxGroups; g++) s->WriteByte(groupKinds[g]);
  s->WriteByte(packageShape);
  s->WriteByte(colorScheme);
  s->Write(&bodyLength, 4);
  s->Write(&bodyWidth, 4);
  s->Write(&cornerRadius, 4);
  s->Write(&rim, 4);
  s->Write(&earLength, 4);
  for (int i = 0; i < 3; i++) s->WriteStringW(marking[i]);
  CSCHBlock::Save(s);
}

void CSCHRelay::Load(CStream* s) {
  ratedVoltage = s->ReadFloat();
  polarityMode = static_cast<unsigned char>(s->ReadByte());
  pullInVoltage = s->ReadFloat();
  coilVoltageLimit = s->ReadFloat();
  coilCurrent = s->ReadFloat();
  releaseCurrent = s->ReadFloat();
  dcSwitchingPower = s->ReadFloat();
  acSwitchingVoltage = s->ReadFloat();
  acSwitchingPower = s->ReadFloat();
  relayKind = static_cast<unsigned char>(s->ReadByte());
  groupCount = static_cast<unsigned char>(s->ReadByte());
  for (int g = 0; g < kElecRelayMaxGroups; g++) groupKinds[g] = static_cast<unsigned char>(s->ReadByte());
  packageShape = static_cast<unsigned char>(s->ReadByte());
  colorScheme = static_cast<unsigned char>(s->ReadByte());
  bodyLength = s->ReadFloat();
  bodyWidth = s->ReadFloat();
  cornerRadius = s->ReadFloat();
  rim = s->ReadFloat();
  earLength = s->ReadFloat();
  for (int i = 0; i < 3; i++) {
    FreeBuffer(marking[i]);
    marking[i] = s->ReadStringW();
  }
  BuildPins();
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCSCHRelay() { return new (std::nothrow) CSCHRelay; }
