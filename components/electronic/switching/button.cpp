#include "components/electronic/switching/button.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "components/electronic/part_common.h"
#include "components/electronic/switching/switch_smoothing.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/sim_log.h"

namespace {

const wchar_t kMeltedMessage[] = L"Кнопка \"%s\" оплавилась и вышла из строя!";
const wchar_t kCharredMessage[] = L"В кнопке \"%s\" обуглились контакты!";
const wchar_t kCommonText[] = L"Общий";
const wchar_t kNormallyClosedText[] = L"Нормальнозамкнутый";
const wchar_t kNormallyOpenText[] = L"Нормальноразомкнутый";
const wchar_t kLegText[] = L"Ножка";
const float kHeatTau = 10.0f;  // seconds
const int kGroupPitch = 32;    // px

int ClampGroupCount(int n) { return n < 1 ? 1 : n > kElecButtonMaxGroups ? kElecButtonMaxGroups : n; }

void PlacePin(CSCHBlock* b, int pin, int side, int offset, const wchar_t* description) {
  if (pin < 0 || pin >= b->pinCount) return;
  b->pins[pin].side = side;
  b->pins[pin].offset = offset;
  b->pins[pin].name = nullptr;
  b->pins[pin].description = description;
}

void Isolate(CSCHBlock* b, int pin) { b->SetPinSource(pin, 0, kSchOpenResistance); }

// The current a voltage drives through a resistance sum; a sum that is not
// positive lets an unbounded current through.
float CurrentThrough(float dU, float sum) {
  if (!(sum > 0)) return dU != 0 ? INFINITY : 0;
  return dU / sum;
}

// The larger of two values, not a number when either is not.
float Larger(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return NAN;
  return a > b ? a : b;
}

void Burn(CSCHBlock* b, const wchar_t* format) {
  b->burnt = 1;
  SimMessageLog::Global().AppendFormat(format, b->instanceName ? b->instanceName : L"");
}

}  // namespace

CSCHButton::CSCHButton() {
  form = 0;
  burnt = 0;
  rect.right = rect.left + 48;
  BuildPins();
}

void CSCHButton::BuildPins() {
  groupCount = ClampGroupCount(groupCount);
  const int N = groupCount;
  rect.bottom = rect.top + kGroupPitch * N;
  SetPinCount(GroupPins() * N);
  for (int g = 0; g < N; g++) {
    if (buttonKind == kElecButtonChangeover) {
      const int k = 3 * g;
      PlacePin(this, k + kElecButtonCommon, kSchSideLeft, 32 * g + 25, kCommonText);
      PlacePin(this, k + kElecButtonNormallyClosed, kSchSideRight, 32 * N - 32 * g - 9, kNormallyClosedText);
      PlacePin(this, k + kElecButtonNormallyOpen, kSchSideRight, 32 * N - 32 * g - 25, kNormallyOpenText);
    } else {
      const int k = 2 * g;
      PlacePin(this, k, kSchSideLeft, 32 * g + 20, kLegText);
      PlacePin(this, k + 1, kSchSideRight, 32 * N - 32 * g - 20, kLegText);
    }
  }
}

void CSCHButton::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    // The record keeps the kind in one byte; so does the button.
    buttonKind = record->GetIntByName("type") & 0xFF;
    latching = record->GetIntByName("fix") != 0 ? 1 : 0;
    groupCount = ClampGroupCount(record->GetIntByName("N"));
    voltageLimit = record->GetFloatByName("Umax");
    currentLimit = record->GetFloatByName("Imax");
    length = record->GetFloatByName("Length") / 1000;
    width = record->GetFloatByName("Width") / 1000;
    height = record->GetFloatByName("Height") / 1000;
    mass = record->GetFloatByName("mass");
  }
  CSCHBlock::ApplyDbRecord(record);
  BuildPins();
}

void CSCHButton::Paint(HDC dc) {
  const int left = rect.left, right = rect.right;
  const int first = buttonKind == kElecButtonChangeover ? 25 : 20;
  for (int g = 0; g < groupCount; g++) {
    const int y = rect.top + kGroupPitch * g + first;
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, left + 16, y);
    if (buttonKind == kElecButtonMakeAlt) {
      LineTo(dc, left + 16, y - 8);
      LineTo(dc, left + 35, y + 3);
    } else {
      LineTo(dc, left + 32, y - 10);
    }
    MoveToEx(dc, left + 32, y, nullptr);
    LineTo(dc, right, y);
    if (buttonKind == kElecButtonChangeover) {
      MoveToEx(dc, left + 32, y - 8, nullptr);
      LineTo(dc, left + 32, y - 16);
      LineTo(dc, right, y - 16);
    }
  }
  if (groupCount > 1) {
    const int lift = buttonKind == kElecButtonMakeAlt ? 2 : 5;
    CKestOwnedPen dotted(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    CKestDcSelection selection(dc);
    selection.Select(dotted.Get());
    MoveToEx(dc, left + 24, rect.top + first - lift, nullptr);
    LineTo(dc, left + 24, rect.top + kGroupPitch * (groupCount - 1) + first - lift);
  }
  if (instanceName) {
    int length = static_cast<int>(wcslen(instanceName));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, instanceName, length, &size);
    COLORREF old = SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, left + (right - left - size.cx) / 2, rect.bottom, instanceName, length);
    SetTextColor(dc, old);
  }
}

void CSCHButton::Start() {
  burnt = 0;
  switching = 0;
  lastPressed = 2;
  for (float& current : groupCurrent) current = 0;
  CSCHDevice::Start();
}

bool CSCHButton::CheckHeat(int g, const SchPinState& A, const SchPinState& B, float dt) {
  const float I1 = CurrentThrough(std::fabs(B.U - A.U), A.R + B.R);
  const float I2 = CurrentThrough(std::fabs(B.U2 - A.U2), A.R2 + B.R2);
  groupCurrent[g] = SmoothSwitchValue(groupCurrent[g], Larger(I1, I2), dt, kHeatTau);
  if (!LimitViolated(groupCurrent[g], currentLimit)) return false;
  Burn(this, kMeltedMessage);
  return true;
}

bool CSCHButton::CheckArc(const SchPinState& A, const SchPinState& B) {
  if (!LimitViolated(std::fabs(B.U - A.U), voltageLimit) && !LimitViolated(std::fabs(B.U2 - A.U2), voltageLimit))
    return false;
  Burn(this, kCharredMessage);
  return true;
}

void CSCHButton::Step(float dt) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  const unsigned char now = pressed ? 1 : 0;
  switching = lastPressed <= 1 && now != lastPressed ? 1 : 0;
  lastPressed = now;
  const int N = groupCount;
  if (GroupPins() * N > pinCount) return;  // the pins could not be made
  if (buttonKind == kElecButtonChangeover) {
    for (int g = 0; g < N; g++) {
      const int k = 3 * g;
      const int made = k + (pressed ? kElecButtonNormallyOpen : kElecButtonNormallyClosed);
      const int other = k + (pressed ? kElecButtonNormallyClosed : kElecButtonNormallyOpen);
      SchPinState A = {}, B = {};
      GetPinState(k, &A);
      GetPinState(made, &B);
      if (switching) {
        SchPinState C = {};
        GetPinState(other, &C);
        if (CheckArc(A, B) || CheckArc(A, C)) return;
      }
      SetPinState(made, A);
      SetPinState(k, B);
      Isolate(this, other);
      if (CheckHeat(g, A, B, dt)) return;
    }
    return;
  }
  if (switching) {
    for (int g = 0; g < N; g++) {
      SchPinState A = {}, B = {};
      GetPinState(2 * g, &A);
      GetPinState(2 * g + 1, &B);
      if (CheckArc(A, B)) return;
    }
  }
  if (!pressed) {
    for (int i = 0; i < pinCount; i++) Isolate(this, i);
    return;
  }
  for (int g = 0; g < N; g++) {
    const int k = 2 * g;
    SchPinState A = {}, B = {};
    GetPinState(k, &A);
    GetPinState(k + 1, &B);
    SetPinState(k, B);
    SetPinState(k + 1, A);
    if (CheckHeat(g, A, B, dt)) return;
  }
}

void CSCHButton::Save(CStream* s) {
  s->WriteByte(buttonKind);
  s->WriteByte(groupCount);
  s->Write(&voltageLimit, 4);
  s->Write(&currentLimit, 4);
  s->WriteByte(latching);
  CSCHDevice::Save(s);
}

void CSCHButton::Load(CStream* s) {
  buttonKind = s->ReadByte();
  groupCount = ClampGroupCount(s->ReadByte());
  voltageLimit = s->ReadFloat();
  currentLimit = s->ReadFloat();
  latching = static_cast<unsigned char>(s->ReadByte());
  BuildPins();
  CSCHDevice::Load(s);
}

void CSCHButton::SaveRunState(CStream* s) {
  CSCHDevice::SaveRunState(s);
  s->WriteByte(pressed);
}

bool CSCHButton::LoadRunState(CStream* s) {
  if (!CSCHDevice::LoadRunState(s)) return false;
  pressed = static_cast<unsigned char>(s->ReadByte());
  return true;
}

CSCHBlock* CreateCSCHButton() { return new (std::nothrow) CSCHButton; }
