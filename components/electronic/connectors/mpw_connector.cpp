#include "components/electronic/connectors/mpw_connector.h"

#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "scheme/board/pcb_painter.h"

namespace {

const float kPitch = 5.08f;
const COLORREF kOutline = RGB(51, 51, 51);

}  // namespace

CMPWConnector::CMPWConnector() { typeText = L"Разъем типа MPW (на плату) и MHU (на кабель)"; }

void CMPWConnector::LayoutPins() {
  footprintWidth = 10.2f;
  footprintLength = kPitch * (pinCount - 1) + 5.14f;
  CSCHConnector::LayoutPins();
}

void CMPWConnector::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const float W = footprintWidth, L = footprintLength;
  const int n = pinCount;
  FootprintRectangle(painter, RGB(224, 224, 224), kOutline, -W / 2, -L / 2, W / 2, L / 2);
  FootprintRectangle(painter, RGB(255, 255, 255), kOutline, 3, -2.54f * n, W / 2, 2.54f * n);
  for (int i = 0; i < n; i++) {
    float y = (1 - n) * kPitch / 2 + kPitch * i;
    FootprintRectangle(painter, RGB(204, 224, 255), kOutline, -0.08f, y - 0.57f, 1.02f, y + 0.57f);
  }
  FootprintName(painter, this, L);
}

CSCHBlock* CreateCMPWConnector() { return new (std::nothrow) CMPWConnector; }
