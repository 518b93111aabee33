#include "components/electronic/discrete/capacitor.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <new>

#include "components/electronic/discrete/discrete_common.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_host.h"

const COLORREF kElecCapacitorColors[kElecCapacitorColorCount] = {
    RGB(85, 102, 255), RGB(235, 138, 41), RGB(150, 151, 119), RGB(0, 0, 0)};

namespace {

const float kCeramicWidth = 3.0f, kCeramicLength = 5.08f;  // mm
const float kChipWidth = 1.2f, kChipLength = 3.2f;         // mm
const COLORREF kCanTopColor = RGB(204, 224, 255);
const COLORREF kChipBodyColor = RGB(204, 102, 51);
const COLORREF kChipTerminalColor = RGB(204, 224, 255);
const unsigned char kVoltageIsFloat = 0x80;  // flags bit: the voltage is stored as a float
const unsigned char kOrientationMask = 0x7F;

// One row of the electrolytic can table: a capacitance, the voltage range
// the rated voltage is clamped into, and the diameters by voltage: the
// first diameter whose bound the voltage does not exceed, else the last.
struct CanRow {
  float capacitance;
  float minVoltage, maxVoltage;
  int boundCount;
  float bounds[6];
  float diameters[7];
};

// The first row also serves every capacitance below it.
const CanRow kCanRows[] = {
    {4.7e-7f, 50, 100, 0, {}, {5}},
    {1e-6f, 50, 450, 2, {100, 350}, {5, 6.3f, 8}},
    {2.2e-6f, 50, 450, 3, {100, 200, 250}, {5, 6.3f, 8, 10}},
    {3.3e-6f, 50, 450, 2, {100, 200}, {5, 8, 10}},
    {4.7e-6f, 50, 450, 2, {100, 160}, {5, 8, 10}},
    {1e-5f, 16, 450, 3, {63, 100, 350}, {5, 6.3f, 10, 13}},
    {2.2e-5f, 16, 450, 4, {63, 100, 200, 350}, {5, 6.3f, 10, 13, 16}},
    {3.3e-5f, 16, 450, 4, {35, 63, 100, 250}, {5, 6.3f, 10, 13, 16}},
    {4.7e-5f, 10, 450, 4, {35, 63, 100, 250}, {5, 6.3f, 10, 13, 16}},
    {1e-4f, 6.3f, 400, 6, {16, 35, 50, 100, 160, 350}, {5, 6.3f, 8, 10, 13, 16, 22}},
    {2.2e-4f, 6.3f, 250, 3, {16, 63, 160}, {6, 8, 16, 18}},
    {3.3e-4f, 6.3f, 160, 4, {6.3f, 16, 50, 100}, {6.3f, 8, 10, 13, 22}},
    {4.7e-4f, 6.3f, 100, 3, {10, 35, 63}, {8, 10, 13, 16}},
    {1e-3f, 6.3f, 100, 4, {6.3f, 16, 35, 63}, {8, 10, 13, 16, 18}},
    {2.2e-3f, 6.3f, 50, 2, {16, 35}, {13, 16, 18}},
    {3.3e-3f, 6.3f, 50, 2, {10, 25}, {13, 16, 18}},
    {4.7e-3f, 6.3f, 35, 1, {16}, {16, 18}},
    {6.8e-3f, 6.3f, 25, 1, {10}, {16, 18}},
    {1e-2f, 6.3f, 16, 1, {6.3f}, {16, 18}},
    {1.5e-2f, 6.3f, 10, 0, {}, {18}},
    {2.2e-2f, 6.3f, 6.3f, 0, {}, {18}},
};

const CanRow* FindCanRow(float capacitance) {
  if (capacitance <= kCanRows[0].capacitance) return &kCanRows[0];
  for (const CanRow& row : kCanRows)
    if (capacitance == row.capacitance) return &row;
  return nullptr;
}

// The unit factor of the database's "units": 0 microfarads, 1 nanofarads,
// 2 picofarads; anything else microfarads.
double UnitFactor(double units) {
  int u = TruncToInt(units);
  if (u == 1) return 1e-9;
  if (u == 2) return 1e-12;
  return 1e-6;
}

}  // namespace

void FormatCapacitorValue(float c, wchar_t* text, int chars) {
  if (!text || chars <= 0) return;
  if (c < 1e-10) swprintf(text, chars, L"%0.1fпФ", c * 1e12);
  else if (c < 1e-7) swprintf(text, chars, L"%0.1fнФ", c * 1e9);
  else swprintf(text, chars, L"%0.1fмкф", c * 1e6);
}

void FormatCapacitorLabel(float c, float voltage, int kind, wchar_t* text, int chars) {
  if (!text || chars <= 0) return;
  if (c < 1e-7 || kind != kElecCapacitorElectrolytic) {
    FormatCapacitorValue(c, text, chars);
  } else if (voltage < 10) {
    swprintf(text, chars, L"%0.1fмкф,%0.1fв", c * 1e6, static_cast<double>(voltage));
  } else {
    swprintf(text, chars, L"%0.1fмкф,%dв", c * 1e6, TruncToInt(voltage));
  }
}

bool GetElectrolyticDiameter(float capacitance, float* voltage, float* diameter) {
  const CanRow* row = FindCanRow(capacitance);
  if (!row || !voltage || !diameter) return false;
  float U = *voltage;
  // A voltage that is no number counts as below the range.
  if (!(U >= row->minVoltage)) U = row->minVoltage;
  if (U > row->maxVoltage) U = row->maxVoltage;
  *voltage = U;
  int i = 0;
  while (i < row->boundCount && U > row->bounds[i]) i++;
  *diameter = row->diameters[i];
  return true;
}

CCapacitor::CCapacitor() {
  namePrefix = L"C";
  typeText = L"Конденсатор";
  price = 10;
  rect = RECT{0, 0, 24, 24};
  SetFootprintSize(kCeramicWidth, kCeramicLength);
  SetPinCount(2);
  if (pinCount == 2) {
    pins[0].side = kSchSideTop;
    pins[0].offset = 12;
    pins[1].side = kSchSideBottom;
    pins[1].offset = 12;
  }
}

void CCapacitor::SetFootprintSize(float width, float length) {
  footprintWidth = width;
  footprintLength = length;
}

void CCapacitor::UpdateBodySize() {
  int o = symbolOrientation & 3;
  if (pinCount == 2) {
    pins[0].side = (o + 1) & 3;
    pins[1].side = (o + 3) & 3;
  }
  if (kind == kElecCapacitorCeramic) {
    SetFootprintSize(kCeramicWidth, kCeramicLength);
  } else if (kind == kElecCapacitorChip) {
    SetFootprintSize(kChipWidth, kChipLength);
  } else if (kind == kElecCapacitorElectrolytic) {
    float D = 0;
    if (GetElectrolyticDiameter(capacitance, &ratedVoltage, &D)) SetFootprintSize(D, D);
  }
}

void CCapacitor::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    capacitance = static_cast<float>(record->GetDoubleByName("C") * UnitFactor(record->GetDoubleByName("units")));
    ratedVoltage = record->GetFloatByName("U");
    kind = record->GetIntByName("type");
    int color = record->GetIntByName("color");
    if (color >= 0 && color < kElecCapacitorColorCount) bodyColor = kElecCapacitorColors[color];
  }
  CSCHBlock::ApplyDbRecord(record);
  UpdateBodySize();
}

void CCapacitor::Paint(HDC dc) {
  const int left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(BLACK_PEN));
    if ((symbolOrientation & 1) == 0) {
      DrawLine(dc, left + 12, top, left + 12, top + 9);
      DrawLine(dc, left + 12, bottom, left + 12, bottom - 9);
      DrawLine(dc, left, top + 9, right, top + 9);
      DrawLine(dc, left, bottom - 9, right, bottom - 9);
    } else {
      DrawLine(dc, left, top + 12, left + 9, top + 12);
      DrawLine(dc, right, top + 12, right - 9, top + 12);
      DrawLine(dc, left + 9, top, left + 9, bottom);
      DrawLine(dc, right - 9, top, right - 9, bottom);
    }
  }
  if (kind == kElecCapacitorElectrolytic) {
    if ((symbolOrientation & 3) < 2) TextOutW(dc, left + 16, top - 5, L"+", 1);
    else TextOutW(dc, left, bottom - 10, L"+", 1);
  }
  if (instanceName) TextOutW(dc, right + 2, top, instanceName, static_cast<int>(wcslen(instanceName)));
  wchar_t label[kElecCapacitorLabelChars];
  FormatCapacitorLabel(capacitance, ratedVoltage, kind, label, kElecCapacitorLabelChars);
  TextOutW(dc, right + 2, top + 13, label, static_cast<int>(wcslen(label)));
}

void CCapacitor::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  HDC dc = painter->dc;
  const float W = footprintWidth, L = footprintLength;
  if (kind == kElecCapacitorCeramic) {
    CKestOwnedBrush body(CreateSolidBrush(bodyColor));
    CKestDcSelection selection(dc);
    selection.Select(body.Get());
    selection.Select(GetStockObject(BLACK_PEN));
    painter->DrawCapsuleOutline(-W / 2, -L / 2, W / 2, L / 2);
  } else if (kind == kElecCapacitorElectrolytic) {
    CKestOwnedBrush body(CreateSolidBrush(bodyColor));
    CKestOwnedBrush top(CreateSolidBrush(kCanTopColor));
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(BLACK_PEN));
    selection.Select(body.Get());
    painter->DrawCircle(0, 0, W / 2);
    selection.Select(top.Get());
    painter->DrawCircle(0, 0, W / 3);
  } else if (kind == kElecCapacitorChip) {
    CKestOwnedBrush body(CreateSolidBrush(kChipBodyColor));
    CKestOwnedBrush terminal(CreateSolidBrush(kChipTerminalColor));
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(BLACK_PEN));
    selection.Select(body.Get());
    painter->DrawRectangle(-W / 2, -L / 2 + 1, W / 2, L / 2 - 1);
    selection.Select(terminal.Get());
    painter->DrawRectangle(-W / 2, -L / 2, W / 2, -L / 2 + 1);
    painter->DrawRectangle(-W / 2, L / 2 - 1, W / 2, L / 2);
  }
}

void CCapacitor::GetCardText(wchar_t* description, int chars, const wchar_t** picture) const {
  wchar_t value[kElecCapacitorCardChars];
  FormatCapacitorValue(capacitance, value, kElecCapacitorCardChars);
  const wchar_t* file = nullptr;
  if (description && chars > 0) {
    switch (kind) {
      case kElecCapacitorCeramic:
        swprintf(description, chars, L"Керамический конденсатор %ls. Цена %0.2f руб.", value, price);
        break;
      case kElecCapacitorElectrolytic:
        swprintf(description, chars, L"Электролитический конденсатор %ls, %dв. Цена %0.2f руб.", value,
                 TruncToInt(ratedVoltage), price);
        break;
      case kElecCapacitorChip:
        swprintf(description, chars, L"ЧИП-конденсатор 0805, %ls. Цена %0.2f руб.", value, price);
        break;
      default:
        // A kind without a picture of its own: the value and price only.
        swprintf(description, chars, L"Конденсатор %ls. Цена %0.2f руб.", value, price);
        break;
    }
  }
  if (kind == kElecCapacitorCeramic) file = L"sys/DOC000207936.jpg";
  else if (kind == kElecCapacitorElectrolytic) file = L"sys/electrolytic.jpg";
  else if (kind == kElecCapacitorChip) file = L"sys/cap0805.jpg";
  if (picture) *picture = file;
}

bool CCapacitor::Edit() {
  wchar_t description[kElecCapacitorCardChars];
  const wchar_t* picture = nullptr;
  GetCardText(description, kElecCapacitorCardChars, &picture);
  GetSchemeHost()->ShowComponentCard(description, picture);
  return false;
}

void CCapacitor::Save(CStream* s) {
  s->WriteByte((symbolOrientation & kOrientationMask) | kVoltageIsFloat);
  s->Write(&capacitance, 4);
  s->Write(&ratedVoltage, 4);
  s->WriteByte(kind & 0xFF);
  s->WriteInt32(static_cast<int>(bodyColor));
  CSCHBlock::Save(s);
}

void CCapacitor::Load(CStream* s) {
  int flags = s->ReadByte();
  symbolOrientation = flags & kOrientationMask;
  capacitance = s->ReadFloat();
  if (flags & kVoltageIsFloat) ratedVoltage = s->ReadFloat();
  else ratedVoltage = static_cast<float>(s->ReadInt32());
  kind = s->ReadByte();
  bodyColor = static_cast<COLORREF>(s->ReadInt32());
  UpdateBodySize();
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCCapacitor() { return new (std::nothrow) CCapacitor; }
