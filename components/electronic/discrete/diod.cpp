#include "components/electronic/discrete/diod.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "components/electronic/discrete/discrete_common.h"
#include "components/electronic/part_common.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

const COLORREF kElecDiodBodyColors[kElecDiodColorSchemes] = {
    RGB(51, 51, 51), RGB(204, 170, 153), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)};
const COLORREF kElecDiodBandColors[kElecDiodColorSchemes] = {
    RGB(204, 204, 204), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)};

namespace {

const wchar_t kBurntMessage[] = L"Диод \"%s\" вышел из строя!";
const float kLeadPitch = 2.54f;  // mm
const COLORREF kLeadColor = RGB(204, 221, 255);
const COLORREF kLeadPenColor = RGB(51, 102, 204);

// The forward current of one pair: the voltage left over the drop through
// both sides' resistances, 0 when the diode blocks. A resistance sum that is
// not positive lets an unbounded current through.
float ForwardCurrent(float Ua, float Uk, float Ra, float Rk, float Vf) {
  float v = Ua - Uk - Vf;
  float sum = Ra + Rk;
  float I = sum > 0 ? v / sum : (v > 0 ? INFINITY : 0);
  return I < 0 ? 0 : I;
}

// A colour scheme clamped to the tables.
int SchemeIndex(int scheme) { return ClampIndex(scheme, kElecDiodColorSchemes); }

}  // namespace

CSCHDiod::CSCHDiod() {
  namePrefix = L"VD";
  rect = RECT{0, 0, 16, 36};
  SetPinCount(2);
  if (pinCount == 2) {
    pins[kElecDiodAnode].description = L"Анод (плюс)";
    pins[kElecDiodAnode].side = kSchSideTop;
    pins[kElecDiodAnode].offset = 8;
    pins[kElecDiodCathode].description = L"Катод (минус)";
    pins[kElecDiodCathode].side = kSchSideBottom;
    pins[kElecDiodCathode].offset = 8;
  }
  UpdateBodySize();
}

void CSCHDiod::UpdateBodySize() {
  footprintWidth = bodyDiameter;
  footprintLength = static_cast<float>(TruncToInt((8 * leadThickness + bodyLength) / kLeadPitch)) * kLeadPitch;
}

void CSCHDiod::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    peakReverseVoltage = record->GetFloatByName("Vrpm");
    continuousReverseVoltage = record->GetFloatByName("Vr");
    continuousForwardCurrent = record->GetFloatByName("If");
    peakForwardCurrent = record->GetFloatByName("Ifprm");
    forwardVoltage = record->GetFloatByName("Vf");
    bodyShape = static_cast<unsigned char>(record->GetIntByName("corpType"));
    bodyLength = record->GetFloatByName("width");
    bodyDiameter = record->GetFloatByName("diam");
    leadThickness = record->GetFloatByName("legThink");
    colorScheme = static_cast<signed char>(SchemeIndex(static_cast<signed char>(record->GetIntByName("color"))));
  }
  CSCHBlock::ApplyDbRecord(record);
  UpdateBodySize();
}

void CSCHDiod::Paint(HDC dc) {
  const int left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  DrawLine(dc, left + 8, top, left + 8, bottom);
  MoveToEx(dc, left + 8, bottom - 10, nullptr);
  LineTo(dc, left, top + 10);
  LineTo(dc, right, top + 10);
  LineTo(dc, left + 8, bottom - 10);
  DrawLine(dc, left, bottom - 10, right, bottom - 10);
  int middle = (top + bottom) / 2;
  if (instanceName) TextOutW(dc, right + 4, middle - 8, instanceName, static_cast<int>(wcslen(instanceName)));
  if (model) TextOutA(dc, right + 4, middle + 8, model, static_cast<int>(strlen(model)));
}

void CSCHDiod::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  HDC dc = painter->dc;
  const float Lf = footprintLength, D = bodyDiameter, Lb = bodyLength, t = leadThickness;
  const int scheme = SchemeIndex(colorScheme);
  {
    CKestOwnedBrush lead(CreateSolidBrush(kLeadColor));
    CKestOwnedPen leadPen(CreatePen(PS_SOLID, 1, kLeadPenColor));
    CKestDcSelection selection(dc);
    selection.Select(lead.Get());
    selection.Select(leadPen.Get());
    painter->DrawCapsuleOutline(-t / 2, -(t + Lf) / 2, t / 2, (t + Lf) / 2);
  }
  auto drawBody = [&] {
    if (bodyShape == kElecDiodRectangular) painter->DrawRectangle(-D / 2, -Lb / 2, D / 2, Lb / 2);
    else if (bodyShape == kElecDiodCapsule) painter->DrawCapsuleOutline(-D / 2, -Lb / 2, D / 2, Lb / 2);
  };
  {
    CKestOwnedBrush body(CreateSolidBrush(kElecDiodBodyColors[scheme]));
    CKestDcSelection selection(dc);
    selection.Select(body.Get());
    selection.Select(GetStockObject(BLACK_PEN));
    drawBody();
  }
  {
    CKestOwnedBrush band(CreateSolidBrush(kElecDiodBandColors[scheme]));
    CKestDcSelection selection(dc);
    selection.Select(band.Get());
    selection.Select(GetStockObject(NULL_PEN));
    painter->DrawRectangle(-D / 2, -Lb / 2 + 1, D / 2, -Lb / 2 + 2);
  }
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  selection.Select(GetStockObject(NULL_BRUSH));
  drawBody();
}

void CSCHDiod::Start() {
  smoothedVoltage = 0;
  smoothedCurrent = 0;
  CSCHBlock::Start();
}

void CSCHDiod::Step(float dt) {
  if (burnt) {
    DriveBurntPins(this);
    return;
  }
  SchPinState A = {}, K = {};
  GetPinState(kElecDiodAnode, &A);
  GetPinState(kElecDiodCathode, &K);
  const float Vf = forwardVoltage;
  // Peak and smoothed reverse voltage.
  float Vrev = K.U - A.U, Vrev2 = K.U2 - A.U2;
  if (BurnOnViolation(this, Vrev, peakReverseVoltage, kBurntMessage)) return;
  if (BurnOnViolation(this, Vrev2, peakReverseVoltage, kBurntMessage)) return;
  smoothedVoltage = SmoothBurnValue(smoothedVoltage, Vrev, dt, kElecDiodSmoothingTau);
  if (BurnOnViolation(this, smoothedVoltage, continuousReverseVoltage, kBurntMessage)) return;
  // Peak and smoothed forward current.
  float I1 = ForwardCurrent(A.U, K.U, A.R, K.R, Vf);
  float I2 = ForwardCurrent(A.U2, K.U2, A.R2, K.R2, Vf);
  float I = I2 > I1 ? I2 : I1;
  if (std::isnan(I1) || std::isnan(I2)) I = NAN;
  if (BurnOnViolation(this, I, peakForwardCurrent, kBurntMessage)) return;
  smoothedCurrent = SmoothBurnValue(smoothedCurrent, I, dt, kElecDiodSmoothingTau);
  if (BurnOnViolation(this, smoothedCurrent, continuousForwardCurrent, kBurntMessage)) return;
  // Conduction: each side sees the other shifted by the drop, or an open
  // circuit while the diode blocks.
  if (A.U - K.U - Vf > 0) {
    A.U -= Vf;
    K.U += Vf;
  } else {
    A.R = K.R = kSchOpenResistance;
  }
  if (A.U2 - K.U2 - Vf > 0) {
    A.U2 -= Vf;
    K.U2 += Vf;
  } else {
    A.R2 = K.R2 = kSchOpenResistance;
  }
  SetPinState(kElecDiodAnode, K);
  SetPinState(kElecDiodCathode, A);
}

void CSCHDiod::Save(CStream* s) {
  s->Write(&peakReverseVoltage, 4);
  s->Write(&continuousReverseVoltage, 4);
  s->Write(&continuousForwardCurrent, 4);
  s->Write(&peakForwardCurrent, 4);
  s->Write(&forwardVoltage, 4);
  s->WriteByte(bodyShape);
  s->Write(&bodyLength, 4);
  s->Write(&bodyDiameter, 4);
  s->Write(&leadThickness, 4);
  s->WriteByte(static_cast<unsigned char>(colorScheme));
  CSCHBlock::Save(s);
}

void CSCHDiod::Load(CStream* s) {
  peakReverseVoltage = s->ReadFloat();
  continuousReverseVoltage = s->ReadFloat();
  continuousForwardCurrent = s->ReadFloat();
  peakForwardCurrent = s->ReadFloat();
  forwardVoltage = s->ReadFloat();
  bodyShape = static_cast<unsigned char>(s->ReadByte());
  bodyLength = s->ReadFloat();
  bodyDiameter = s->ReadFloat();
  leadThickness = s->ReadFloat();
  colorScheme = static_cast<signed char>(SchemeIndex(static_cast<signed char>(s->ReadByte())));
  CSCHBlock::Load(s);
  UpdateBodySize();
}

CSCHBlock* CreateCSCHDiod() { return new (std::nothrow) CSCHDiod; }
