#include "components/electronic/connectors/pin_row_footprint.h"

#include "components/electronic/connectors/connector_drawing.h"

namespace {

const float kPitch = 2.54f;
const float kLead = 0.64f;

}  // namespace

void PaintPinRowFootprint(PcbPainter* painter, const CSCHBlock* block, int pins) {
  const float L = kPitch * pins;
  for (int i = 0; i < pins; i++) {
    float y0 = kPitch * i - L / 2;
    FootprintRectangle(painter, RGB(0, 0, 0), RGB(102, 102, 102), -kPitch / 2, y0, kPitch / 2, y0 + kPitch);
    FootprintSquare(painter, RGB(192, 238, 255), kElecFootprintNoPen, 0, y0 + kPitch / 2, kLead);
  }
  FootprintName(painter, block, L);
}
