#include "components/electronic/connectors/wf_connector.h"

#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "scheme/board/pcb_painter.h"

namespace {

const float kPitch = 2.54f;
const COLORREF kOutline = RGB(51, 51, 51);

}  // namespace

CWFConnector::CWFConnector() { typeText = L"Разъем типа WF-x (на плату) и HU-x (на кабель)"; }

void CWFConnector::LayoutPins() {
  footprintWidth = 5.08f;
  footprintLength = kPitch * (pinCount + 1);
  CSCHConnector::LayoutPins();
}

void CWFConnector::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const float W = footprintWidth, L = footprintLength;
  const int n = pinCount;
  FootprintRectangle(painter, RGB(224, 224, 224), kOutline, -W / 2, -L / 2, W / 2, L / 2);
  FootprintRectangle(painter, RGB(255, 255, 255), kOutline, 1.5f, -L / 2 + 1.27f, W / 2, L / 2 - 1.27f);
  for (int i = 0; i < n; i++) {
    float y = (1 - n) * kPitch / 2 + kPitch * i;
    FootprintRectangle(painter, RGB(204, 206, 153), kOutline, -0.2f, y - 0.3f, 0.2f, y + 0.3f);
  }
  FootprintName(painter, this, L);
}

CSCHBlock* CreateCWFConnector() { return new (std::nothrow) CWFConnector; }
