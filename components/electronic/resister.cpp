#include "components/electronic/resister.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <new>

#include "components/electronic/part_common.h"
#include "foundation/stream.h"
#include "foundation/vecmath.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

const COLORREF kElecResisterColors[kElecResisterColorCount] = {
    RGB(0, 0, 0),       RGB(51, 85, 204),  RGB(255, 221, 204), RGB(255, 255, 255),
    RGB(0, 204, 0),     RGB(255, 102, 102),  // bodies
    RGB(0, 0, 0),       RGB(87, 49, 39),   RGB(255, 0, 0),     RGB(240, 167, 27),
    RGB(204, 204, 0),   RGB(102, 255, 102), RGB(0, 0, 255),    RGB(255, 0, 255),
    RGB(102, 102, 102), RGB(255, 255, 255),  // digits 0-9
    RGB(255, 255, 204), RGB(204, 204, 204),  // gold, silver
};

namespace {

const wchar_t kBurntMessage[] = L"Резистор \"%s\" вышел из строя!";
const float kPowerTau = 2.0f;     // seconds
const float kLeadPitch = 2.54f;   // mm
const COLORREF kChipBodyColor = RGB(68, 68, 68);
const COLORREF kPadColor = RGB(204, 221, 255);
const COLORREF kPadPenColor = RGB(51, 102, 204);

// The tolerance bands, tested in this order.
struct ToleranceBand {
  float percent;
  int color;
};
const ToleranceBand kToleranceBands[] = {
    {1, kElecResisterDigitColor0 + 1}, {2, kElecResisterDigitColor0 + 2},    {0.5f, kElecResisterDigitColor0 + 5},
    {0.25f, kElecResisterDigitColor0 + 6}, {0.1f, kElecResisterDigitColor0 + 7}, {0.05f, kElecResisterDigitColor0 + 8},
    {5, kElecResisterGoldColor},       {10, kElecResisterSilverColor},
};

// The power I x I x R of a current through a resistance sum; a sum that is
// not positive lets an unbounded current through.
float PowerThrough(float voltage, float resistanceSum, float resistance) {
  if (!(resistanceSum != 0)) return voltage != 0 ? INFINITY : 0;
  return Square(voltage / resistanceSum) * resistance;
}

// The colour entry of a digit character, -1 for none.
int DigitColor(wchar_t c) { return c >= L'0' && c <= L'9' ? kElecResisterDigitColor0 + (c - L'0') : -1; }

}  // namespace

ResisterBands GetResisterBands(float Rn, float tolerance) {
  ResisterBands b = {{-1, -1, -1, -1}};
  // The two significant digits and the multiplier: below 10 ohms tenths and
  // gold, then one decade per multiplier digit. Values of 10 MOhm and above
  // go on through the digits (6 blue, 7 violet, ...) so that they read
  // right; beyond digit 9 the first two digits of the last decade stay.
  double value;
  int multiplier;
  if (!(Rn >= 10)) {
    value = Rn * 10.0;
    multiplier = kElecResisterGoldColor;
  } else {
    int digit = 0;
    double scale = 1;
    while (digit < 9 && Rn >= scale * 100) {
      scale *= 10;
      digit++;
    }
    value = Rn / scale;
    multiplier = kElecResisterDigitColor0 + digit;
  }
  double rounded = std::trunc(value + 0.5);
  if (!(rounded >= 0) || rounded > 2e9) rounded = 0;
  wchar_t digits[16];
  swprintf(digits, 16, L"%d", static_cast<int>(rounded));
  b.band[0] = DigitColor(digits[0]);
  b.band[1] = digits[0] ? DigitColor(digits[1]) : -1;
  b.band[2] = multiplier;
  for (const ToleranceBand& t : kToleranceBands) {
    if (std::fabs(tolerance - t.percent) < 0.001f) {
      b.band[3] = t.color;
      break;
    }
  }
  return b;
}

void FormatResisterLabel(float value, wchar_t* text, int chars) {
  if (!text || chars <= 0) return;
  if (value >= 1000000) swprintf(text, chars, L"%0.1fМОм", value / 1000000);
  else if (value >= 1000) swprintf(text, chars, L"%0.1fкОм", value / 1000);
  else if (value >= 10) swprintf(text, chars, L"%d Ом", static_cast<int>(value));
  else swprintf(text, chars, L"%0.1fОм", value);
}

CSCHResister::CSCHResister() {
  actualResistance = nominalResistance * (0.95f + 0.1f * DrawSpreadNumber() / kElecSpreadNumberMax);
  namePrefix = L"R";
  rect = RECT{0, 0, 9, 40};
  price = 0.84;
  SetPinCount(2);
  if (pinCount == 2) {
    pins[0].side = kSchSideTop;
    pins[1].side = kSchSideBottom;
    SpacePins(true);
  }
  UpdateBodySize();
}

void CSCHResister::UpdateBodySize() {
  footprintWidth = bodyWidth;
  footprintLength = bodyLength;
  if (packageClass == kElecResisterBanded || packageClass == kElecResisterLeaded) {
    float length = bodyLength + 4.4f * leadSize;
    footprintLength = std::trunc(length / kLeadPitch + 0.9f) * kLeadPitch;
  }
}

void CSCHResister::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  actualResistance = record->GetFloatByName("R");
  int units = record->GetIntByName("units");
  if (units == 1) actualResistance *= 1000;
  else if (units == 2) actualResistance *= 1000000;
  tolerance = record->GetFloatByName("percision");
  nominalResistance = actualResistance;
  double r = DrawSpreadNumber();
  actualResistance += static_cast<float>((r / kElecSpreadNumberMax - 0.5) * 2 * actualResistance * tolerance / 100);
  powerRating = record->GetFloatByName("power");
  bodyLength = record->GetFloatByName("L");
  bodyWidth = record->GetFloatByName("H");
  leadSize = record->GetFloatByName("leg");
  packageClass = static_cast<unsigned char>(record->GetIntByName("class"));
  bodyColor = static_cast<unsigned char>(record->GetIntByName("color"));
  colorCodeShown = record->GetIntByName("colorNominal") != 0 ? 1 : 0;
  UpdateBodySize();
}

void CSCHResister::Paint(HDC dc) {
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(WHITE_BRUSH));
    MoveToEx(dc, rect.left + 4, rect.top, nullptr);
    LineTo(dc, rect.left + 4, rect.bottom);
    Rectangle(dc, rect.left, rect.top + 8, rect.right, rect.bottom - 8);
  }
  wchar_t label[kElecResisterLabelChars];
  FormatResisterLabel(nominalResistance, label, kElecResisterLabelChars);
  int middle = (rect.top + rect.bottom) / 2;
  if (instanceName)
    TextOutW(dc, rect.right + 4, middle - 12, instanceName, static_cast<int>(wcslen(instanceName)));
  TextOutW(dc, rect.right + 4, middle, label, static_cast<int>(wcslen(label)));
}

void CSCHResister::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  HDC dc = painter->dc;
  const float W = footprintWidth, Lf = footprintLength;
  const float L = bodyLength, H = bodyWidth, lead = leadSize;
  if (packageClass == kElecResisterChip) {
    {
      CKestOwnedBrush body(CreateSolidBrush(kChipBodyColor));
      CKestDcSelection selection(dc);
      selection.Select(body.Get());
      selection.Select(GetStockObject(BLACK_PEN));
      painter->DrawRectangle(-W / 2, -L / 2, W / 2, L / 2);
    }
    CKestOwnedBrush pad(CreateSolidBrush(kPadColor));
    CKestOwnedPen padPen(CreatePen(PS_SOLID, 1, kPadPenColor));
    CKestDcSelection selection(dc);
    selection.Select(pad.Get());
    selection.Select(padPen.Get());
    painter->DrawRectangle(-H / 2, -Lf / 2, H / 2, -Lf / 2 + lead);
    painter->DrawRectangle(-H / 2, Lf / 2 - lead, H / 2, Lf / 2);
    return;
  }
  if (packageClass != kElecResisterBanded && packageClass != kElecResisterLeaded) return;
  {
    CKestOwnedBrush pad(CreateSolidBrush(kPadColor));
    CKestOwnedPen padPen(CreatePen(PS_SOLID, 1, kPadPenColor));
    CKestDcSelection selection(dc);
    selection.Select(pad.Get());
    selection.Select(padPen.Get());
    painter->DrawCapsuleOutline(-lead / 2, -(Lf + lead) / 2, lead / 2, (Lf + lead) / 2);
  }
  {
    // A body colour outside the table is drawn as the chip body.
    COLORREF color = bodyColor < kElecResisterBodyColors ? kElecResisterColors[bodyColor] : kChipBodyColor;
    CKestOwnedBrush body(CreateSolidBrush(color));
    CKestDcSelection selection(dc);
    selection.Select(body.Get());
    selection.Select(GetStockObject(BLACK_PEN));
    if (packageClass == kElecResisterLeaded) painter->DrawRectangle(-W / 2, -L / 2, W / 2, L / 2);
    else painter->DrawCapsuleOutline(-W / 2, -L / 2, W / 2, L / 2);
  }
  if (packageClass != kElecResisterBanded || !colorCodeShown) return;
  ResisterBands bands = GetResisterBands(nominalResistance, tolerance);
  float y = -L / 4;
  for (int i = 0; i < 4; i++) {
    if (bands.band[i] >= 0) {
      CKestOwnedBrush brush(CreateSolidBrush(kElecResisterColors[bands.band[i]]));
      CKestDcSelection selection(dc);
      selection.Select(brush.Get());
      selection.Select(GetStockObject(NULL_PEN));
      painter->DrawRectangle(-H / 2, y, H / 2, y + L / 16);
    }
    y += L / 9;
    if (i == 2) y += L / 9;  // the gap before the tolerance band
  }
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  selection.Select(GetStockObject(NULL_BRUSH));
  painter->DrawCapsuleOutline(-W / 2, -L / 2, W / 2, L / 2);
}

void CSCHResister::Start() {
  CSCHBlock::Start();
  smoothedPower = 0;
}

void CSCHResister::Step(float dt) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  SchPinState A, B;
  GetPinState(0, &A);
  GetPinState(1, &B);
  const float Ra = actualResistance;
  const float powers[4] = {
      PowerThrough(B.U - A.U, B.R + A.R + Ra, Ra),
      PowerThrough(B.U2 - A.U, B.R2 + A.R + Ra, Ra),
      PowerThrough(B.U2 - A.U2, B.R2 + A.R2 + Ra, Ra),
      PowerThrough(B.U - A.U2, B.R + A.R2 + Ra, Ra),
  };
  float P = powers[0];
  for (int i = 1; i < 4; i++)
    if (powers[i] > P || std::isnan(powers[i])) P = powers[i];
  smoothedPower = SmoothBurnValue(smoothedPower, P, dt, kPowerTau);
  if (BurnOnViolation(this, smoothedPower, powerRating, kBurntMessage)) return;
  A.R += Ra;
  A.R2 += Ra;
  B.R += Ra;
  B.R2 += Ra;
  SetPinState(0, B);
  SetPinState(1, A);
}

void CSCHResister::Save(CStream* s) {
  CSCHBlock::Save(s);
  s->Write(&actualResistance, 4);
  s->Write(&nominalResistance, 4);
  s->Write(&tolerance, 4);
  s->Write(&powerRating, 4);
  s->WriteByte(packageClass);
  s->WriteByte(bodyColor);
  s->WriteByte(colorCodeShown);
  s->Write(&bodyLength, 4);
  s->Write(&bodyWidth, 4);
  s->Write(&leadSize, 4);
}

void CSCHResister::Load(CStream* s) {
  CSCHBlock::Load(s);
  actualResistance = s->ReadFloat();
  nominalResistance = s->ReadFloat();
  tolerance = s->ReadFloat();
  powerRating = s->ReadFloat();
  packageClass = static_cast<unsigned char>(s->ReadByte());
  bodyColor = static_cast<unsigned char>(s->ReadByte());
  colorCodeShown = static_cast<unsigned char>(s->ReadByte());
  bodyLength = s->ReadFloat();
  bodyWidth = s->ReadFloat();
  leadSize = s->ReadFloat();
  UpdateBodySize();
}

CSCHBlock* CreateCSCHResister() { return new (std::nothrow) CSCHResister; }
