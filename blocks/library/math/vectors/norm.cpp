#include "blocks/library/math/vectors/norm.h"

#include <cmath>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/math/vectors/input_length.h"
#include "blocks/library/math/vectors/vector_dimension.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "blocks/library/typed_load_undo.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
// char, short and int have no row: ApplyTypeCost is given only float and
// double.
const BeTypeCost kCosts[5] = {{0, 0, true}, {0, 0, true}, {0, 0, true}, {380, 10, true}, {490, 20, true}};
const int kDefaultComponents = 2;

bool IsRealType(BeSignalType type) { return type == kBeSignalFloat || type == kBeSignalDouble; }
}  // namespace

CBENorm::CBENorm() {
  rect = RECT{0, 0, 80, kVectorPinPitch * kDefaultComponents};
  fillColor = kTrigonometryFill;
  SetInputCount(kDefaultComponents);
  SetOutputCount(kDefaultComponents);
  SetPinTypes(this, kBeSignalFloat);
  UpdatePinsAndCosts();
}

CBEBlock* CBENorm::Create() { return KeepIfPinsMade(new (std::nothrow) CBENorm, kDefaultComponents, kDefaultComponents); }

BeSignalType CBENorm::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBENorm::UpdatePinsAndCosts() {
  BeSignalType type = GetType();
  if (IsRealType(type)) ApplyTypeCost(this, kCosts, type, true);
  rect.bottom = rect.top + kVectorPinPitch * inputCount;
  SetInputCount(inputCount);
  SetOutputCount(outputCount);
  SetPinTypes(this, type);
}

void CBENorm::Step(float) {
  int n = inputCount < outputCount ? inputCount : outputCount;
  switch (GetType()) {
    case kBeSignalFloat: {
      float length = FloatInputLength(this);
      double divisor = length < static_cast<float>(kNormSmallestLength) ? 1.0 : length;
      for (int i = 0; i < n; ++i) {
        const BeOutputPin* source = inputs[i]->source;
        double v = source ? ReadFloatValue(source->value) : 0.0;
        WriteFloatValue(outputs[i]->value, RoundToFloat(v / divisor));
      }
      break;
    }
    case kBeSignalDouble: {
      double length = DoubleInputLength(this);
      double divisor = length < kNormSmallestLength ? 1.0 : length;
      for (int i = 0; i < n; ++i) {
        const BeOutputPin* source = inputs[i]->source;
        double v = source ? ReadDoubleValue(source->value) : 0.0;
        WriteDoubleValue(outputs[i]->value, v / divisor);
      }
      break;
    }
    default: break;
  }
}

void CBENorm::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(inputCount));
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBENorm::Load(CStream* stream) {
  unsigned char count;
  BeSignalType type;
  if (!ReadByteChecked(stream, &count) || count < kMinVectorComponents || count > kMaxVectorComponents ||
      !ReadDataTypeByte(stream, &type) || !IsRealType(type) || !BaseRecordCanFollow(stream, count, count))
    return false;
  BeTypedLoadUndo was(this, GetType());
  if (!SetInputCount(count)) return false;
  if (!SetOutputCount(count)) {
    was.Restore(this);
    return false;
  }
  SetPinTypes(this, type);
  UpdatePinsAndCosts();
  if (CBEBlock::Load(stream)) {
    UpdatePinsAndCosts();
    return true;
  }
  was.Restore(this);
  UpdatePinsAndCosts();
  return false;
}

void CBENorm::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"||x||");
}

bool CBENorm::ShowProperties() { return ShowBlockDialog(this, kBeNormClassId); }
