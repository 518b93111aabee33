#include "components/electronic/connectors/cwf_connector.h"

#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "scheme/board/pcb_painter.h"

namespace {

const float kPitch = 2.5f;
const COLORREF kOutline = RGB(51, 51, 51);
const COLORREF kLatch = RGB(224, 224, 224);

}  // namespace

CCWFConnector::CCWFConnector() { typeText = L"Разъем типа CWF-x (на плату) и CHU-x (на кабель)"; }

void CCWFConnector::LayoutPins() {
  footprintWidth = 5.7f;
  footprintLength = kPitch * (pinCount + 1);
  CSCHConnector::LayoutPins();
}

void CCWFConnector::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const float W = footprintWidth, L = footprintLength;
  const int n = pinCount;
  FootprintRectangle(painter, RGB(255, 255, 255), kOutline, -W / 2, -L / 2, W / 2, L / 2);
  FootprintRectangle(painter, RGB(208, 208, 208), kOutline, -W / 2 + 0.5f, -L / 2 + 0.5f, W / 2 - 0.5f,
                     L / 2 - 0.5f);
  FootprintRectangle(painter, kLatch, kOutline, 0.9f, -L / 2, W / 2 - 0.5f, -L / 2 + 0.5f);
  FootprintRectangle(painter, kLatch, kOutline, 0.9f, L / 2, W / 2 - 0.5f, L / 2 - 0.5f);
  FootprintRectangle(painter, kLatch, kOutline, W / 2 - 0.5f, L / 2 - 2.5f, W / 2, L / 2 - 5);
  FootprintRectangle(painter, kLatch, kOutline, W / 2 - 0.5f, -L / 2 + 2.5f, W / 2, -L / 2 + 5);
  for (int i = 0; i < n; i++) {
    float y = (1 - n) * kPitch / 2 + kPitch * i;
    FootprintRectangle(painter, RGB(204, 206, 153), kOutline, -0.2f, y - 0.3f, 0.2f, y + 0.3f);
  }
  FootprintName(painter, this, L);
}

CSCHBlock* CreateCCWFConnector() { return new (std::nothrow) CCWFConnector; }
