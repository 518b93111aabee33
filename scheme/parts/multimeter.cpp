#include "scheme/parts/multimeter.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/pin_model.h"

namespace {

CKestImage g_multimeterPicture;  // empty until first painted

const float kInputResistance = 1e7f;  // the voltmeter's input
const float kUpdatePeriod = 0.5f;

}  // namespace

CSCHMultimeter::CSCHMultimeter() {
  rect = RECT{0, 0, 80, 100};
  SetPinCount(2);
  if (pinCount == 2) {
    pins[0].side = kSchSideLeft;
    pins[0].offset = 51;
    pins[1].side = kSchSideRight;
    pins[1].offset = 49;
  }
  wchar_t letter[2] = {GetFreeLetter(), 0};
  if (letter[0]) SetName(letter);
}

void CSCHMultimeter::Start() {
  mode = kOff;
  reading = 0;
  peak = 0;
  updateTimer = 2000;
  CSCHMeasureDevice::Start();
}

void CSCHMultimeter::Step(float dt) {
  updateTimer += dt;
  bool update = updateTimer > kUpdatePeriod;
  if (update) updateTimer = 0;
  if (mode == kOff) {
    SetPinSource(0, 0, 5e6f);
    SetPinSource(1, 0, 5e6f);
    return;
  }
  float u0, r0, u1, r1;
  GetPinInput(0, &u0, &r0);
  GetPinInput(1, &u1, &r1);
  switch (mode) {
    case kVoltmeter:
    case kPeakVoltmeter: {
      // Each probe sees the other side through the meter's input.
      SetPinSource(0, u1, r1 + kInputResistance);
      SetPinSource(1, u0, r0 + kInputResistance);
      float divider = r1 + r0 + kInputResistance;
      if (mode == kVoltmeter) {
        if (update) reading = (u0 - u1) * kInputResistance / divider;
      } else {
        if (update) {
          reading = peak;
          peak = 0;
        }
        float v = std::fabs(u0 - u1) * kInputResistance / divider;
        if (v > peak) peak = v;
      }
      break;
    }
    case kAmmeter: {
      // The probes are joined.
      SetPinSource(0, u1, r1);
      SetPinSource(1, u0, r0);
      float r = r0 + r1;
      if (update) reading = r > 0 ? (u0 - u1) / r : 0;
      break;
    }
    default:
      break;
  }
}

void CSCHMultimeter::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_multimeterPicture, L"multimeter.png"))
    g_multimeterPicture.Draw(dc, rect.left, rect.top);
  if (!instanceName) return;
  int length = static_cast<int>(wcslen(instanceName));
  SIZE text = {0, 0};
  GetTextExtentPoint32W(dc, instanceName, length, &text);
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  HGDIOBJ oldBrush = SelectObject(dc, yellow ? static_cast<HGDIOBJ>(yellow) : GetStockObject(WHITE_BRUSH));
  Rectangle(dc, rect.left + 5, rect.bottom - text.cy - 6, rect.left + text.cx + 11, rect.bottom);
  SelectObject(dc, oldBrush);
  if (yellow) DeleteObject(yellow);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 0, 0));
  TextOutW(dc, rect.left + 8, rect.bottom - text.cy - 3, instanceName, length);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, oldMode);
}

CSCHBlock* CreateCSCHMultimeter() { return new (std::nothrow) CSCHMultimeter; }
