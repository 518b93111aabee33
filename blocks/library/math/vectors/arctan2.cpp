#include "blocks/library/math/vectors/arctan2.h"

#include <cmath>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
// char, short and int have no row: ApplyTypeCost is given only float and
// double.
const BeTypeCost kCosts[5] = {{0, 0, true}, {0, 0, true}, {0, 0, true}, {380, 10, true}, {490, 20, true}};

bool IsRealType(BeSignalType type) { return type == kBeSignalFloat || type == kBeSignalDouble; }

// A float widened, a double as it is; 0 for another type or no link.
double ReadReal(const BeInputPin* input) {
  const BeOutputPin* source = input->source;
  if (!source) return 0;
  if (source->type == kBeSignalFloat) return ReadFloatValue(source->value);
  if (source->type == kBeSignalDouble) return ReadDoubleValue(source->value);
  return 0;
}
}  // namespace

CBEArctan2::CBEArctan2() {
  rect = RECT{0, 0, 80, 40};
  fillColor = kTrigonometryFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2) {
    inputs[0]->name = L"y";
    inputs[1]->name = L"x";
  }
  SetPinTypes(this, kBeSignalFloat);
  UpdateCosts();
}

CBEBlock* CBEArctan2::Create() { return KeepIfPinsMade(new (std::nothrow) CBEArctan2, 2, 1); }

BeSignalType CBEArctan2::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBEArctan2::UpdateCosts() {
  BeSignalType type = GetType();
  if (IsRealType(type)) ApplyTypeCost(this, kCosts, type, true);
}

void CBEArctan2::Step(float) {
  if (inputCount < 2 || outputCount < 1) return;
  double angle = std::atan2(ReadReal(inputs[0]), ReadReal(inputs[1]));
  unsigned char* out = outputs[0]->value;
  switch (GetType()) {
    case kBeSignalFloat: WriteFloatValue(out, RoundToFloat(angle)); break;
    case kBeSignalDouble: WriteDoubleValue(out, angle); break;
    default: break;
  }
}

void CBEArctan2::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEArctan2::Load(CStream* stream) {
  BeSignalType type;
  if (!ReadDataTypeByte(stream, &type) || !IsRealType(type) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  if (!LoadBaseWithType(this, stream, type, GetType())) return false;
  UpdateCosts();
  return true;
}

void CBEArctan2::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"atan2");
}

bool CBEArctan2::ShowProperties() { return ShowBlockDialog(this, kBeArctan2ClassId); }
