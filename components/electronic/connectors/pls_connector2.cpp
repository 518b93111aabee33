#include "components/electronic/connectors/pls_connector2.h"

#include <new>

#include "components/electronic/connectors/pin_row_footprint.h"
#include "scheme/board/pcb_painter.h"

CPLSConnector2::CPLSConnector2() { typeText = L"PLS-разъем на плату и BLS-разъем на кабель"; }

void CPLSConnector2::LayoutPins() {
  footprintWidth = 2.54f;
  footprintLength = 2.54f * pinCount;
  CSCHConnector::LayoutPins();
}

void CPLSConnector2::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  PaintPinRowFootprint(painter, this, pinCount);
}

CSCHBlock* CreateCPLSConnector2() { return new (std::nothrow) CPLSConnector2; }
