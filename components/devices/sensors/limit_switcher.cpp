#include "components/devices/sensors/limit_switcher.h"

#include <cmath>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

namespace {

void SetPin(CSCHBlock* b, int i, int offset) {
  SchPin& p = b->pins[i];
  p.name = nullptr;
  p.description = nullptr;
  p.kind = kSchPinElectric;
  p.side = kSchSideRight;
  p.offset = offset;
}

void DrawPolyline(HDC dc, std::initializer_list<POINT> points) {
  const POINT* p = points.begin();
  MoveToEx(dc, p->x, p->y, nullptr);
  for (++p; p != points.end(); ++p) LineTo(dc, p->x, p->y);
}

}  // namespace

CSCHLimitSwitcher::CSCHLimitSwitcher() {
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

bool CSCHLimitSwitcher::BuildPins() {
  if (tech > kChangeover) return true;
  const int n = tech == kChangeover ? 3 : 2;
  if (!SetPinCount(n) || pinCount != n) return false;
  if (tech == kChangeover) {
    SetPin(this, kCommonPin, 55);
    SetPin(this, kPressedPin, 20);
    SetPin(this, kReleasedPin, 5);
  } else {
    SetPin(this, 0, 55);
    SetPin(this, 1, 5);
  }
  return true;
}

void CSCHLimitSwitcher::ApplyDbRecord(CompDbRecord* record) {
  if (record) tech = static_cast<unsigned char>(record->GetIntByName("tech"));
  CSCHDevice::ApplyDbRecord(record);
  BuildPins();
}

void CSCHLimitSwitcher::Paint(HDC dc) {
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    // The fixed contact from the first pin and the moving contact.
    switch (tech) {
      case kNormallyOpen:
        DrawPolyline(dc, {{r, t + 5}, {l + 30, t + 5}, {l + 30, t + 25}, {l + 20, t + 35}});
        DrawPolyline(dc, {{l + 30, t + 35}, {l + 30, b - 5}, {r, b - 5}});
        break;
      case kNormallyClosed:
        DrawPolyline(dc, {{r, t + 5}, {l + 30, t + 5}, {l + 30, t + 25}, {l + 20, t + 25}, {l + 33, t + 38}});
        DrawPolyline(dc, {{l + 30, t + 35}, {l + 30, b - 5}, {r, b - 5}});
        break;
      case kChangeover:
        DrawPolyline(dc, {{r, t + 5}, {l + 30, t + 5}, {l + 30, t + 25}, {l + 20, t + 38}});
        DrawPolyline(dc, {{l + 30, t + 35}, {l + 30, b - 20}, {r, b - 20}});
        DrawPolyline(dc, {{l + 22, t + 35}, {l + 18, t + 35}, {l + 18, b - 5}, {r, b - 5}});
        break;
      default:
        DrawPolyline(dc, {{r, t + 5}, {l + 30, t + 5}, {l + 30, t + 25}});
        break;
    }
    // The operating arrow, its tip on the left edge.
    DrawPolyline(dc, {{l + 8, t + 26}, {l, t + 30}, {l + 8, t + 34}});
    SetPixel(dc, l + 8, t + 34, RGB(0, 0, 0));
  }
  {
    // The dotted push rod, its gaps left as they were.
    CKestOwnedPen dotted(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    CKestDcSelection selection(dc);
    selection.Select(dotted.Get());
    int mode = SetBkMode(dc, TRANSPARENT);
    DrawPolyline(dc, {{l, t + 30}, {l + 25, t + 30}});
    SetBkMode(dc, mode);
  }
  PaintDeviceName(dc, this, (l + r - DeviceNameWidth(dc, this)) / 2, b);
}

bool CSCHLimitSwitcher::Pressed() const { return std::fabs(shaftAngle) < kPressedAngle; }

void CSCHLimitSwitcher::Join(int a, int b) {
  SchPinState sa = {}, sb = {};
  GetPinState(a, &sa);
  GetPinState(b, &sb);
  SetPinState(a, sb);
  SetPinState(b, sa);
}

void CSCHLimitSwitcher::Open(int pin) { SetPinSource(pin, 0, kSchOpenResistance); }

void CSCHLimitSwitcher::Step(float) {
  const bool pressed = Pressed();
  switch (tech) {
    case kNormallyOpen:
    case kNormallyClosed:
      if (pinCount < 2) return;
      if (pressed == (tech == kNormallyOpen)) {
        Join(0, 1);
      } else {
        Open(0);
        Open(1);
      }
      break;
    case kChangeover:
      if (pinCount < 3) return;
      Join(kCommonPin, pressed ? kPressedPin : kReleasedPin);
      Open(pressed ? kReleasedPin : kPressedPin);
      break;
    default:
      break;
  }
}

void CSCHLimitSwitcher::Save(CStream* s) {
  s->WriteByte(tech);
  CSCHDevice::Save(s);
}

void CSCHLimitSwitcher::Load(CStream* s) {
  unsigned char b = 0;
  // A record cut before its first byte leaves the switch as it was.
  if (s->Read(&b, 1) != 1) return;
  const unsigned char old = tech;
  tech = b;
  if (!BuildPins()) {
    tech = old;
    MarkSchemeRecordBroken(s);
    return;
  }
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHLimitSwitcher() { return new (std::nothrow) CSCHLimitSwitcher; }
