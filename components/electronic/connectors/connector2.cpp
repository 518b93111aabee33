#include "components/electronic/connectors/connector2.h"

#include <cmath>
#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "scheme/board/pcb_painter.h"

namespace {

const float kPitch = 5.0f;
const COLORREF kOutline = RGB(0, 0, 153);
const COLORREF kBlack = RGB(0, 0, 0);
const float kScrewX = 0.7f, kScrewR = 1.5f;

}  // namespace

CConnector2::CConnector2() { typeText = L"Клеммники"; }

void CConnector2::LayoutPins() {
  footprintWidth = 7.6f;
  footprintLength = kPitch * pinCount;
  CSCHConnector::LayoutPins();
}

void CConnector2::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const int n = pinCount;
  const float half = 2.5f * n;
  FootprintRectangle(painter, RGB(68, 102, 255), kOutline, -3.8f, -half, -2.2f, half);
  FootprintRectangle(painter, RGB(34, 68, 255), kOutline, -2.2f, -half, 2.2f, half);
  FootprintRectangle(painter, RGB(0, 34, 204), kOutline, 2.2f, -half, 3.8f, half);
  FootprintRectangle(painter, RGB(0, 34, 204), kOutline, 2.2f, -half - 0.6f, 3.2f, -half);
  for (int i = 0; i < n; i++) {
    float y = -half + 2.5f + kPitch * i;
    float a = (i + 1) * 0.13123f * (i + 0.123f);
    float sx = kScrewR * std::sin(a), sy = kScrewR * std::cos(a);
    FootprintCircle(painter, RGB(204, 204, 207), kElecFootprintNoPen, kScrewX, y, kScrewR);
    FootprintLine(painter, RGB(102, 102, 102), kScrewX - sx, y - sy, kScrewX + sx, y + sy);
    FootprintCircleOutline(painter, kBlack, kScrewX, y, kScrewR);
    FootprintCircle(painter, kBlack, kBlack, 2.9f, y, 0.5f);
    if (i > 0) FootprintLine(painter, kBlack, -0.8f, y - 2.5f, 2.2f, y - 2.5f);
  }
  FootprintName(painter, this, footprintLength);
}

CSCHBlock* CreateCConnector2() { return new (std::nothrow) CConnector2; }
