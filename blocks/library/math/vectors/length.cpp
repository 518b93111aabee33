#include "blocks/library/math/vectors/length.h"

#include <cmath>
#include <cstdint>
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
const BeTypeCost kCosts[5] = {{380, 10, true}, {380, 10, true}, {380, 10, true}, {380, 10, true}, {490, 20, true}};
const int kDefaultComponents = 2;
}  // namespace

CBELength::CBELength() {
  rect = RECT{0, 0, 80, kVectorPinPitch * kDefaultComponents};
  fillColor = kTrigonometryFill;
  SetInputCount(kDefaultComponents);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalFloat);
  UpdatePinsAndCosts();
}

CBEBlock* CBELength::Create() { return KeepIfPinsMade(new (std::nothrow) CBELength, kDefaultComponents, 1); }

BeSignalType CBELength::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBELength::UpdatePinsAndCosts() {
  BeSignalType type = GetType();
  ApplyTypeCost(this, kCosts, type, true);
  rect.bottom = rect.top + kVectorPinPitch * inputCount;
  SetInputCount(inputCount);
  SetOutputCount(outputCount);
  for (int i = 0; i < inputCount; ++i) inputs[i]->type = type;
}

void CBELength::Step(float) {
  if (outputCount < 1) return;
  BeSignalType type = GetType();
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t sum = 0;
      for (int i = 0; i < inputCount; ++i) {
        const BeOutputPin* source = inputs[i]->source;
        if (!source) continue;
        uint32_t v = static_cast<uint32_t>(ReadIntegerValue(source->value, type));
        sum += v * v;
      }
      int32_t signedSum = static_cast<int32_t>(sum);
      float root = RoundToFloat(std::sqrt(static_cast<double>(RoundToFloat(signedSum))));
      WriteIntegerValue(out, type, static_cast<uint32_t>(TruncateToInt32Indefinite(root)));
      break;
    }
    case kBeSignalFloat: WriteFloatValue(out, FloatInputLength(this)); break;
    case kBeSignalDouble: WriteDoubleValue(out, DoubleInputLength(this)); break;
    default: break;
  }
}

void CBELength::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(inputCount));
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBELength::Load(CStream* stream) {
  unsigned char count;
  BeSignalType type;
  if (!ReadByteChecked(stream, &count) || count < kMinVectorComponents || count > kMaxVectorComponents ||
      !ReadDataTypeByte(stream, &type) || !BaseRecordCanFollow(stream, count, outputCount))
    return false;
  BeTypedLoadUndo was(this, GetType());
  if (!SetInputCount(count)) return false;
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

void CBELength::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"длина");
}

bool CBELength::ShowProperties() { return ShowBlockDialog(this, kBeLengthClassId); }
