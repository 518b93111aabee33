#include "components/electronic/connectors/pls_connector.h"

#include <cwchar>
#include <initializer_list>
#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "components/electronic/connectors/pin_row_footprint.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/parts/connector.h"

namespace {

// The stream keeps the pin count in 16 bits.
const int kMaxPins = 0xFFFF;
const int kDx[4] = {-1, 0, 1, 0};
const int kDy[4] = {0, -1, 0, 1};

}  // namespace

CPLSConnector::CPLSConnector() {
  namePrefix = L"X";
  typeText = L"Разъем типа PLS (на плату) и BLS на кабель";
}

void CPLSConnector::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  int n = record->GetIntByName("n");
  SetPinCount(n < 0 ? 0 : n > kMaxPins ? kMaxPins : n);
  LayoutPins();
}

void CPLSConnector::LayoutPins() {
  int s = side & 3;
  int n = pinCount;
  footprintWidth = 2.54f;
  footprintLength = 2.54f * n;
  CSCHConnector::LayOutPinRow(this, s);
}

void CPLSConnector::Paint(HDC dc) {
  int s = side & 3;
  int dx = kDx[s], dy = kDy[s];
  int ax = kDx[(s + 3) & 3], ay = kDy[(s + 3) & 3];
  int bx = kDx[(s + 1) & 3], by = kDy[(s + 1) & 3];
  {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(BLACK_PEN));
    for (int i = 0; i < pinCount; i++) {
      POINT a = GetPinAnchor(i);
      int x0 = a.x + 7 * dx, y0 = a.y + 7 * dy;
      int x1 = x0 + 15 * dx, y1 = y0 + 15 * dy;
      MoveToEx(dc, x0, y0, nullptr);
      LineTo(dc, x1, y1);
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x1 - 5 * dx + 3 * ax, y1 - 5 * dy + 3 * ay);
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x1 - 5 * dx + 3 * bx, y1 - 5 * dy + 3 * by);
    }
    if (pinCount > 0) {
      POINT first = GetPinAnchor(0), last = GetPinAnchor(pinCount - 1);
      for (int out : {12, 15}) {
        MoveToEx(dc, first.x + out * dx, first.y + out * dy, nullptr);
        LineTo(dc, last.x + out * dx, last.y + out * dy);
      }
    }
  }
  if (!instanceName) return;
  int length = static_cast<int>(wcslen(instanceName));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  if (s & 1) TextOutW(dc, rect.right, rect.top, instanceName, length);
  else TextOutW(dc, rect.left, rect.bottom, instanceName, length);
  SetBkMode(dc, oldMode);
}

void CPLSConnector::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  PaintPinRowFootprint(painter, this, pinCount);
}

void CPLSConnector::Save(CStream* s) {
  s->WriteByte(side & 0xFF);
  s->WriteInt16(pinCount);
  CSCHBlock::Save(s);
}

void CPLSConnector::Load(CStream* s) {
  side = s->ReadByte() & 3;
  SetPinCount(s->ReadInt16() & 0xFFFF);
  LayoutPins();
  CSCHBlock::Load(s);
}

CSCHBlock* CreateCPLSConnector() { return new (std::nothrow) CPLSConnector; }
