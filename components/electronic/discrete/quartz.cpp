#include "components/electronic/discrete/quartz.h"

#include <cstdio>
#include <cwchar>
#include <new>

#include "components/electronic/discrete/discrete_common.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/model/scheme_host.h"

namespace {

const COLORREF kQuartzBodyColor = RGB(224, 224, 224);
const COLORREF kQuartzRimColor = RGB(153, 153, 153);
const float kRimInset = 0.5f;         // mm
const float kLowFrequencyCan = 2.0f;  // MHz: below it the tall HC-49U can

}  // namespace

CQuartz::CQuartz() {
  namePrefix = L"Q";
  typeText = L"Кварцевый резонатор";
  price = 59;
  rect = RECT{0, 0, 24, 32};
  footprintWidth = 4.65f;
  footprintLength = 11;
  SetPinCount(2);
  if (pinCount == 2) {
    pins[0].side = kSchSideTop;
    pins[0].offset = 12;
    pins[1].side = kSchSideBottom;
    pins[1].offset = 12;
  }
}

void CQuartz::Paint(HDC dc) {
  const int left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(BLACK_PEN));
    selection.Select(GetStockObject(NULL_BRUSH));
    DrawLine(dc, left + 12, top, left + 12, top + 5);
    DrawLine(dc, left, top + 5, right, top + 5);
    Rectangle(dc, left, top + 10, right, bottom - 10);
    DrawLine(dc, left, bottom - 5, right, bottom - 5);
    DrawLine(dc, left + 12, bottom, left + 12, bottom - 5);
  }
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  if (instanceName) TextOutW(dc, right + 3, top, instanceName, static_cast<int>(wcslen(instanceName)));
  wchar_t label[kElecQuartzLabelChars];
  swprintf(label, kElecQuartzLabelChars, L"%0.3fМГц", static_cast<double>(frequency));
  TextOutW(dc, right + 3, top + 16, label, static_cast<int>(wcslen(label)));
  SetTextColor(dc, oldColor);
}

void CQuartz::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const float W = footprintWidth, L = footprintLength;
  CKestOwnedBrush body(CreateSolidBrush(kQuartzBodyColor));
  CKestOwnedPen rim(CreatePen(PS_SOLID, 1, kQuartzRimColor));
  CKestDcSelection selection(painter->dc);
  selection.Select(body.Get());
  selection.Select(GetStockObject(BLACK_PEN));
  painter->DrawCapsuleOutline(-W / 2, -L / 2, W / 2, L / 2);
  selection.Select(rim.Get());
  painter->DrawCapsuleOutline(-W / 2 + kRimInset, -L / 2 + kRimInset, W / 2 - kRimInset, L / 2 - kRimInset);
}

void CQuartz::GetCardText(wchar_t* description, int chars) const {
  if (!description || chars <= 0) return;
  const wchar_t* can = frequency < kLowFrequencyCan ? L"HC-49U" : L"HC-49S";
  swprintf(description, chars, L"Кварцевый резонатор %ls на %0.3fМГц. Цена %0.2f руб.", can,
           static_cast<double>(frequency), price);
}

bool CQuartz::Edit() {
  wchar_t description[kElecQuartzCardChars];
  GetCardText(description, kElecQuartzCardChars);
  GetSchemeHost()->ShowComponentCard(description, L"quartz.jpg");
  return false;
}

void CQuartz::Save(CStream* s) {
  CSCHBlock::Save(s);
  s->Write(&frequency, 4);
}

void CQuartz::Load(CStream* s) {
  CSCHBlock::Load(s);
  frequency = s->ReadFloat();
}

CSCHBlock* CreateCQuartz() { return new (std::nothrow) CQuartz; }
