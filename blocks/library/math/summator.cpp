#include "blocks/library/math/summator.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/math/sigma_font.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "blocks/library/typed_load_undo.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"

namespace {
const int kDefaultInputs = 2;
const int kSigmaFromRight = 30;
const int kSigmaFromTop = 5;
}  // namespace

CBESummator::CBESummator() {
  rect = RECT{0, 0, 50, kSummatorInputPitch * kDefaultInputs};
  fillColor = kArithmeticFill;
  SetInputCount(kDefaultInputs);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalShort);
  UpdatePinsAndCosts();
}

CBEBlock* CBESummator::Create() { return KeepIfPinsMade(new (std::nothrow) CBESummator, kDefaultInputs, 1); }

BeSignalType CBESummator::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalShort; }

void CBESummator::UpdatePinsAndCosts() {
  int n = inputCount;
  int m = n - 1;
  BeSignalType type = GetType();
  const BeTypeCost costs[5] = {{m, 2 * m, false},
                               {2 * m, 4 * m, false},
                               {4 * m, 8 * m, false},
                               {120 * m, 8 * m, true},
                               {220 * m, 16 * m, true}};
  ApplyTypeCost(this, costs, type, true);
  rect.bottom = rect.top + kSummatorInputPitch * n;
  SetInputCount(n);
  SetOutputCount(outputCount);
  for (int i = 0; i < inputCount; ++i) inputs[i]->type = type;
}

void CBESummator::Step(float) {
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
        if (source) sum += static_cast<uint32_t>(ReadIntegerValue(source->value, type));
      }
      WriteIntegerValue(out, type, sum);
      break;
    }
    case kBeSignalFloat: {
      float sum = 0;
      for (int i = 0; i < inputCount; ++i) {
        const BeOutputPin* source = inputs[i]->source;
        if (source) sum = RoundToFloat(static_cast<double>(sum) + ReadFloatValue(source->value));
      }
      WriteFloatValue(out, sum);
      break;
    }
    case kBeSignalDouble: {
      double sum = 0;
      for (int i = 0; i < inputCount; ++i) {
        const BeOutputPin* source = inputs[i]->source;
        if (source) sum += ReadDoubleValue(source->value);
      }
      WriteDoubleValue(out, sum);
      break;
    }
    default: break;
  }
}

void CBESummator::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(inputCount));
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBESummator::Load(CStream* stream) {
  unsigned char count;
  BeSignalType type;
  if (!ReadByteChecked(stream, &count) || count < kSummatorMinInputs || count > kSummatorMaxInputs ||
      !ReadDataTypeByte(stream, &type) || !BaseRecordCanFollow(stream, count, outputCount))
    return false;
  BeTypedLoadUndo was(this, GetType());
  if (!SetInputCount(count)) return false;
  SetPinTypes(this, type);
  if (CBEBlock::Load(stream)) {
    UpdatePinsAndCosts();
    return true;
  }
  was.Restore(this);
  UpdatePinsAndCosts();
  return false;
}

void CBESummator::Draw(HDC dc) {
  DrawBody(dc);
  DrawSigma(dc, rect.right - kSigmaFromRight, rect.top + kSigmaFromTop);
}

bool CBESummator::ShowProperties() { return ShowBlockDialog(this, kBeSummatorClassId); }
