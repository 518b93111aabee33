#include "blocks/library/math/abs.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"

namespace {
const int kAbsCycles = 5;
const int kAbsRom = 4;
// How far a chain of absolute-value blocks is followed back to the output
// that decides its type (a cycle of them decides nothing).
const int kMaxChain = 1000;
}  // namespace

CBEAbs::CBEAbs() {
  rect = RECT{0, 0, 80, 20};
  fillColor = kArithmeticFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  cycles = kAbsCycles;
  rom = kAbsRom;
  sharedRoutine = 1;
}

CBEBlock* CBEAbs::Create() { return new (std::nothrow) CBEAbs; }

BeSignalType CBEAbs::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBEAbs::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  unsigned char* out = outputs[0]->value;
  switch (source->type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      int32_t x = ReadIntegerValue(source->value, source->type);
      uint32_t bits = static_cast<uint32_t>(x);
      WriteIntegerValue(out, source->type, x < 0 ? 0u - bits : bits);
      break;
    }
    case kBeSignalFloat: WriteFloatValue(out, std::fabs(ReadFloatValue(source->value))); break;
    case kBeSignalDouble: WriteDoubleValue(out, std::fabs(ReadDoubleValue(source->value))); break;
    default: break;
  }
}

void CBEAbs::OnLinksResolved() {
  if (inputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  // An absolute-value block that feeds this one has not taken its own type
  // yet when it is resolved later: look through it to what feeds it.
  for (int hops = 0; source && hops < kMaxChain; ++hops) {
    const CBEAbs* feeding = dynamic_cast<const CBEAbs*>(source->owner);
    if (!feeding || feeding->inputCount < 1 || !feeding->inputs[0]->source) break;
    source = feeding->inputs[0]->source;
  }
  if (source && IsScalarDataType(source->type)) SetPinTypes(this, source->type);
}

void CBEAbs::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"|x|");
}

bool CBEAbs::ShowProperties() { return ShowBlockDialog(this, kBeAbsClassId); }
