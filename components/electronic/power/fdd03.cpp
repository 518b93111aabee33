#include "components/electronic/power/fdd03.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "scheme/board/pcb_painter.h"
#include "scheme/simulation/net.h"

namespace {

const wchar_t kInPlus[] = L"Плюс входного напряжения";
const wchar_t kInMinus[] = L"Минус входного напряжения";
const wchar_t kShutdown[] = L"Специальный выход. Оставить в воздухе";
const wchar_t kCentre[] = L"Общий (центральный) выход выходного напряжения";

// One pin of a module table; the offset is h minus offsetFromBottom when
// fromBottom is set.
struct PinRow {
  const wchar_t* name;
  const wchar_t* description;
  int number;
  int side;
  int offset;
  bool fromBottom;
};

const PinRow kSinglePins[] = {
    {L"Vi+", kInPlus, 1, kSchSideLeft, 10, false},
    {L"Vi+", kInPlus, 2, kSchSideLeft, 25, false},
    {L"com", L"Минус (общий) выходного напряжения", 12, kSchSideLeft, 10, true},
    {L"Vo+", L"Плюс выходного напряжения", 13, kSchSideRight, 10, false},
    {L"SD", kShutdown, 20, kSchSideRight, 60, true},
    {L"Vi-", kInMinus, 23, kSchSideRight, 25, true},
    {L"Vi-", kInMinus, 24, kSchSideRight, 10, true},
};

const PinRow kDualPins[] = {
    {L"Vi+", kInPlus, 1, kSchSideLeft, 10, false},
    {L"Vi+", kInPlus, 2, kSchSideLeft, 25, false},
    {L"com", kCentre, 10, kSchSideLeft, 35, true},
    {L"com", kCentre, 11, kSchSideLeft, 20, true},
    {L"Vo-", L"Минус выходного напряжения 2", 13, kSchSideRight, 10, false},
    {L"Vo+", L"Плюс выходного напряжения 1", 15, kSchSideRight, 35, false},
    {L"SD", kShutdown, 20, kSchSideRight, 60, true},
    {L"Vi-", kInMinus, 23, kSchSideRight, 25, true},
    {L"Vi-", kInMinus, 24, kSchSideRight, 10, true},
};

const PinRow kSeparatePins[] = {
    {L"Vi+", kInPlus, 1, kSchSideLeft, 10, false},
    {L"Vi+", kInPlus, 2, kSchSideLeft, 25, false},
    {L"Vo1-", L"Минус выходного напряжения 1", 9, kSchSideLeft, 45, true},
    {L"Vo1+", L"Плюс выходного напряжения 1", 12, kSchSideLeft, 10, true},
    {L"Vo2+", L"Плюс выходного напряжения 2", 13, kSchSideRight, 10, false},
    {L"Vo-", L"Минус выходного напряжения 2", 16, kSchSideRight, 45, false},
    {L"SD", kShutdown, 20, kSchSideRight, 60, true},
    {L"Vi-", kInMinus, 23, kSchSideRight, 25, true},
    {L"Vi-", kInMinus, 24, kSchSideRight, 10, true},
};

void JoinPair(CSCHBlock* b, int a, int c) {
  if (a >= b->pinCount || c >= b->pinCount) return;
  SchNet* first = b->pins[a].net;
  SchNet* second = b->pins[c].net;
  if (first && second && first != second) first->Merge(second);
}

}  // namespace

CFDD03::CFDD03() {
  footprintWidth = 20.32f;
  footprintLength = 31.75f;
}

void CFDD03::BuildPins() {
  const PinRow* rows;
  int n;
  switch (type) {
    case kElecDcdcSingle:
      rows = kSinglePins;
      n = 7;
      break;
    case kElecDcdcDual:
      rows = kDualPins;
      n = 9;
      break;
    case kElecDcdcSeparate:
      rows = kSeparatePins;
      n = 9;
      break;
    default:
      return;
  }
  SetPinCount(n);
  if (pinCount != n) return;
  int h = rect.bottom - rect.top;
  for (int i = 0; i < n; i++) {
    pins[i].name = rows[i].name;
    pins[i].description = rows[i].description;
    pins[i].number = rows[i].number;
    pins[i].side = rows[i].side;
    pins[i].kind = kSchPinElectric;
    pins[i].offset = rows[i].fromBottom ? h - rows[i].offset : rows[i].offset;
  }
  switch (type) {
    case kElecDcdcSingle:
      inputPlus = 0, inputMinus = 5, output1Plus = 3, output1Minus = 2;
      output2Plus = output2Minus = -1;
      break;
    case kElecDcdcDual:
      inputPlus = 0, inputMinus = 7, output1Plus = 5, output1Minus = 2;
      output2Plus = 2, output2Minus = 4;
      break;
    default:
      inputPlus = 0, inputMinus = 7, output1Plus = 3, output1Minus = 2;
      output2Plus = 4, output2Minus = 5;
      break;
  }
}

void CFDD03::JoinInternalNets() {
  CCustomDCDC::JoinInternalNets();
  if (type == kElecDcdcSingle) {
    JoinPair(this, 0, 1);
    JoinPair(this, 5, 6);
  } else if (type == kElecDcdcDual || type == kElecDcdcSeparate) {
    JoinPair(this, 0, 1);
    JoinPair(this, 7, 8);
  }
}

void CFDD03::PaintFootprint(PcbPainter* painter) {
  if (!painter || !painter->dc) return;
  HDC dc = painter->dc;
  painter->SetPlacement(boardX, boardY, orientation);
  const float W = footprintWidth, L = footprintLength;
  HBRUSH dark = CreateSolidBrush(RGB(102, 102, 102));
  HBRUSH light = CreateSolidBrush(RGB(221, 221, 221));
  HPEN textPen = CreatePen(PS_SOLID, 1, RGB(51, 51, 51));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, dark ? static_cast<HGDIOBJ>(dark) : GetStockObject(GRAY_BRUSH));
  painter->DrawRectangle(-W / 2, -L / 2, W / 2, L / 2);
  SelectObject(dc, light ? static_cast<HGDIOBJ>(light) : GetStockObject(LTGRAY_BRUSH));
  painter->DrawRectangle(-W / 2 + 2, -L / 2 + 2, W / 2 - 2, L / 2 - 2);
  COLORREF oldColor = SetTextColor(dc, RGB(51, 51, 51));
  SelectObject(dc, textPen ? static_cast<HGDIOBJ>(textPen) : GetStockObject(BLACK_PEN));

  wchar_t text[64];
  text[0] = 0;
  if (model) {
    // Code page 1251 has one character a byte: at most 32 of them.
    int length = static_cast<int>(strnlen(model, 32));
    int n = MultiByteToWideChar(1251, 0, model, length, text, 32);
    text[n > 0 ? n : 0] = 0;
  }
  painter->DrawText(6, 0, 3, text, 1);
  painter->MoveTo(4, -L / 2 + 4);
  painter->LineTo(4, L / 2 - 4);
  auto whole = [](float v) { return std::fabs(v) < 2147483520.0f ? static_cast<int>(v) : 0; };
  swprintf(text, 64, L"Input:     DC %d..%d V", whole(minimumInput), whole(maximumInput));
  painter->DrawText(3, 0, 2, text, 1);
  swprintf(text, 64, L"Output:  DC +%d V, %0.1f A", whole(outputVoltage1),
           static_cast<double>(outputCurrent));
  painter->DrawText(0.5f, 0, 2, text, 1);
  painter->MoveTo(-1.5f, -L / 2 + 4);
  painter->LineTo(-1.5f, L / 2 - 4);
  painter->DrawText(-3, 0, 2, L"CHINFA Electronics Ind. Co", 1);

  SetTextColor(dc, oldColor);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  if (textPen) DeleteObject(textPen);
  if (light) DeleteObject(light);
  if (dark) DeleteObject(dark);
}

CSCHBlock* CreateCFDD03() { return new (std::nothrow) CFDD03; }
