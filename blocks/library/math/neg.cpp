#include "blocks/library/math/neg.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const BeTypeCost kNegCosts[5] = {
    {1, 2, false}, {4, 8, false}, {8, 16, false}, {6, 8, false}, {6, 8, false}};
}  // namespace

CBENeg::CBENeg() {
  rect = RECT{0, 0, 50, 22};
  fillColor = kArithmeticFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBENeg::Create() { return new (std::nothrow) CBENeg; }

BeSignalType CBENeg::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBENeg::UpdateCosts() { ApplyTypeCost(this, kNegCosts, GetType(), false); }

void CBENeg::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  unsigned char* out = outputs[0]->value;
  switch (source->type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t x = static_cast<uint32_t>(ReadIntegerValue(source->value, source->type));
      WriteIntegerValue(out, kBeSignalInt, 0u - x);
      break;
    }
    case kBeSignalFloat: WriteFloatValue(out, -ReadFloatValue(source->value)); break;
    case kBeSignalDouble: WriteDoubleValue(out, -ReadDoubleValue(source->value)); break;
    default: break;
  }
}

void CBENeg::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBENeg::Load(CStream* stream) {
  BeSignalType type;
  if (!ReadDataTypeByte(stream, &type) || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType was = GetType();
  SetPinTypes(this, type);
  UpdateCosts();
  if (CBEBlock::Load(stream)) return true;
  SetPinTypes(this, was);
  UpdateCosts();
  return false;
}

void CBENeg::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"-1");
}

bool CBENeg::ShowProperties() { return ShowBlockDialog(this, kBeNegClassId); }
