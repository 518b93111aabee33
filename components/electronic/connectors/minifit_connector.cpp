#include "components/electronic/connectors/minifit_connector.h"

#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "scheme/board/pcb_painter.h"

namespace {

const float kPitch = 4.2f;
const float kPin = 3.0f;
const int kOneRowMax = 3;  // up to three pins in one row
const COLORREF kOutline = RGB(51, 51, 51);
const COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

CMiniFitConnector::CMiniFitConnector() { typeText = L"Разъем типа MiniFit"; }

void CMiniFitConnector::LayoutPins() {
  const int n = pinCount;
  if (n > kOneRowMax) {
    footprintWidth = 9.6f;
    footprintLength = kPitch * n / 2 + 1.2f;
  } else {
    footprintWidth = kPitch * n + 1.2f;
    footprintLength = 4.8f;
  }
  CSCHConnector::LayoutPins();
}

void CMiniFitConnector::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const int n = pinCount;
  if (n > kOneRowMax) {
    float half = kPitch * n / 4;
    FootprintRectangle(painter, RGB(224, 224, 224), kOutline, -4.8f, -half - 0.6f, 4.8f, half + 0.6f);
    for (int r = 0; r < 2; r++)
      for (int j = 0; j < n / 2; j++)
        FootprintSquare(painter, kBlack, kBlack, kPitch * r - 2, kPitch * j - half + 2.1f, kPin);
  } else {
    float half = kPitch * n / 2;
    FootprintRectangle(painter, RGB(224, 224, 224), kOutline, -half - 0.6f, -2.4f, half + 0.6f, 2.4f);
    for (int i = 0; i < n; i++) FootprintSquare(painter, kBlack, kBlack, kPitch * i - half + 2.1f, 0, kPin);
  }
  FootprintName(painter, this, footprintLength);
}

CSCHBlock* CreateCMiniFitConnector() { return new (std::nothrow) CMiniFitConnector; }
