#include "blocks/library/math/trig/math_func.h"

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const int kCycles = 560;
const int kRom = 20;

bool IsRealType(BeSignalType type) { return type == kBeSignalFloat || type == kBeSignalDouble; }
}  // namespace

CBEMathFunc::CBEMathFunc(unsigned int classId) : classId_(classId) {
  rect = RECT{0, 0, 80, 30};
  fillColor = kTrigonometryFill;
  cycles = kCycles;
  rom = kRom;
  sharedRoutine = 1;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalFloat);
}

BeSignalType CBEMathFunc::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBEMathFunc::StepFunction(Function evalFloat, Function evalDouble) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  unsigned char* out = outputs[0]->value;
  switch (inputs[0]->type) {
    case kBeSignalFloat:
      WriteFloatValue(out, RoundToFloat(evalFloat(ReadFloatValue(source->value))));
      break;
    case kBeSignalDouble: WriteDoubleValue(out, evalDouble(ReadDoubleValue(source->value))); break;
    default: break;
  }
}

void CBEMathFunc::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEMathFunc::Load(CStream* stream) {
  BeSignalType type;
  if (!ReadDataTypeByte(stream, &type) || !IsRealType(type) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  return LoadBaseWithType(this, stream, type, GetType());
}

bool CBEMathFunc::ShowProperties() { return ShowBlockDialog(this, classId_); }
