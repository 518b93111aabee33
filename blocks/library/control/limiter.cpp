#include "blocks/library/control/limiter.h"

#include <cmath>
#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/control/link_value.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const BeTypeCost kCosts[5] = {
    {9, 20, false}, {11, 24, false}, {15, 32, false}, {220, 20, true}, {420, 40, true},
};
const COLORREF kAxisGrey = 0x999999;
const COLORREF kCharacteristic = 0xCC0000;
const int kMargin = 10;
const double kDrawingReach = 1.2;  // the scale leaves a fifth beyond the larger limit

// v held within lower..upper in one type.
template <class T>
T Limit(T v, T upperLimit, T lowerLimit) {
  if (v > upperLimit) return upperLimit;
  if (v < lowerLimit) return lowerLimit;
  return v;
}

// The limit as the drawing scales it: the 32-bit integer for the integer
// types.
double DrawingLimit(const unsigned char* limit, BeSignalType type) {
  switch (type) {
    case kBeSignalFloat: return ReadFloatValue(limit);
    case kBeSignalDouble: return ReadDoubleValue(limit);
    default: return ReadIntegerValue(limit, kBeSignalInt);
  }
}

// A pixel offset held where GDI draws it; not a number draws on the axis.
int PixelOffset(double v) {
  const int reach = 1 << 26;
  if (std::isnan(v)) return 0;
  if (v < -reach) return -reach;
  if (v > reach) return reach;
  return static_cast<int>(v);
}
}  // namespace

CBELimiter::CBELimiter() {
  rect = RECT{0, 0, 60, 60};
  fillColor = kLimiterFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalShort);
  SetLimitsInt(127, -127);
  UpdateCosts();
}

CBEBlock* CBELimiter::Create() { return new (std::nothrow) CBELimiter; }

BeSignalType CBELimiter::GetOutputType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalShort; }

void CBELimiter::UpdateCosts() {
  sharedRoutine = 0;
  ApplyTypeCost(this, kCosts, GetOutputType(), true);
}

void CBELimiter::SetLimitsInt(int32_t upperLimit, int32_t lowerLimit) {
  memset(upper, 0, 8);
  memset(lower, 0, 8);
  WriteIntegerValue(upper, kBeSignalInt, static_cast<uint32_t>(upperLimit));
  WriteIntegerValue(lower, kBeSignalInt, static_cast<uint32_t>(lowerLimit));
}

void CBELimiter::SetLimitsFloat(float upperLimit, float lowerLimit) {
  memset(upper, 0, 8);
  memset(lower, 0, 8);
  WriteFloatValue(upper, upperLimit);
  WriteFloatValue(lower, lowerLimit);
}

void CBELimiter::SetLimitsDouble(double upperLimit, double lowerLimit) {
  WriteDoubleValue(upper, upperLimit);
  WriteDoubleValue(lower, lowerLimit);
}

double CBELimiter::UpperLimit() const { return ReadScalarValue(upper, GetOutputType()); }
double CBELimiter::LowerLimit() const { return ReadScalarValue(lower, GetOutputType()); }

void CBELimiter::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  BeSignalType type = GetOutputType();
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      int32_t v = Limit(ReadIntegerValue(source->value, type), ReadIntegerValue(upper, type),
                        ReadIntegerValue(lower, type));
      WriteIntegerValue(out, type, static_cast<uint32_t>(v));
      break;
    }
    case kBeSignalFloat:
      WriteFloatValue(out, Limit(ReadFloatValue(source->value), ReadFloatValue(upper), ReadFloatValue(lower)));
      break;
    case kBeSignalDouble:
      WriteDoubleValue(out, Limit(ReadDoubleValue(source->value), ReadDoubleValue(upper), ReadDoubleValue(lower)));
      break;
    default: break;
  }
}

void CBELimiter::Save(CStream* stream) {
  stream->Write(upper, 8);
  stream->Write(lower, 8);
  stream->WriteByte(GetOutputType());
  CBEBlock::Save(stream);
}

bool CBELimiter::Load(CStream* stream) {
  unsigned char up[8], low[8];
  BeSignalType type;
  if (!ReadExact(stream, up, 8) || !ReadExact(stream, low, 8) || !ReadDataTypeByte(stream, &type) ||
      !BaseRecordFollows(stream, inputCount, outputCount))
    return false;
  if (!LoadBaseRecord(this, stream)) return false;
  memcpy(upper, up, 8);
  memcpy(lower, low, 8);
  SetPinTypes(this, type);
  UpdateCosts();
  return true;
}

void CBELimiter::Draw(HDC dc) {
  DrawBody(dc);
  int cx = (rect.left + rect.right) / 2;
  int cy = (rect.top + rect.bottom) / 2;
  int h = (rect.right - rect.left) / 2 - kMargin;
  BeSignalType type = GetOutputType();
  double up = DrawingLimit(upper, type);
  double low = DrawingLimit(lower, type);
  double f, g;
  if (type == kBeSignalFloat || type == kBeSignalDouble) {
    double s = std::fmax(std::fabs(up) * kDrawingReach, std::fabs(low) * kDrawingReach);
    if (!(s >= 0.001)) s = 0.001;
    f = std::trunc(h * up / s);
    g = std::trunc(h * low / s);
  } else {
    // Whole numbers; the scale is truncated as a 64-bit number, so a limit
    // beyond the 32-bit range after the fifth is added still scales.
    int64_t s = static_cast<int64_t>(std::fmax(std::fabs(up) * kDrawingReach, std::fabs(low) * kDrawingReach));
    if (s < 1) s = 1;
    f = static_cast<double>(static_cast<int64_t>(h) * static_cast<int64_t>(up) / s);
    g = static_cast<double>(static_cast<int64_t>(h) * static_cast<int64_t>(low) / s);
  }
  int fi = PixelOffset(f), gi = PixelOffset(g);
  CKestOwnedPen grey(CreatePen(PS_SOLID, 1, kAxisGrey));
  CKestOwnedPen red(CreatePen(PS_SOLID, 2, kCharacteristic));
  CKestDcSelection selection(dc);
  if (grey) selection.Select(grey.Get());
  MoveToEx(dc, cx, rect.top + kMargin, nullptr);
  LineTo(dc, cx, rect.bottom - kMargin);
  MoveToEx(dc, rect.left + kMargin, cy, nullptr);
  LineTo(dc, rect.right - kMargin, cy);
  if (red) selection.Select(red.Get());
  POINT points[4] = {{cx + h, cy - fi}, {cx + fi, cy - fi}, {cx + gi, cy - gi}, {cx - h, cy - gi}};
  Polyline(dc, points, 4);
}

bool CBELimiter::ShowProperties() { return ShowBlockDialog(this, kBeLimiterClassId); }
