#include "blocks/library/logic/not.h"

#include <cstdint>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/logic/logic_costs.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
// bit, char, short, int; float and double have no row.
const BeLogicCost kCosts[6] = {{true, 1, 2, false}, {true, 1, 2, false}, {true, 4, 8, false},
                               {true, 8, 16, false}, {false, 0, 0, false}, {false, 0, 0, false}};
}  // namespace

CBENot::CBENot() {
  rect = RECT{0, 0, 80, 20};
  fillColor = kLogicFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalBit);
  UpdateCosts();
}

CBEBlock* CBENot::Create() { return KeepIfPinsMade(new (std::nothrow) CBENot, 1, 1); }

BeSignalType CBENot::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalBit; }

void CBENot::UpdateCosts() { ApplyLogicCost(this, kCosts, GetType()); }

void CBENot::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  BeSignalType type = GetType();
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalBit: out[0] = source->value[0] == 0 ? 1 : 0; break;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t x = static_cast<uint32_t>(ReadIntegerValue(source->value, type));
      WriteIntegerValue(out, type, ~x);
      break;
    }
    default: break;
  }
}

void CBENot::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBENot::Load(CStream* stream) {
  unsigned char type;
  if (!ReadByteChecked(stream, &type) || type < kBeSignalBit || type > kBeSignalDouble ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  if (!LoadBaseWithType(this, stream, type, GetType())) return false;
  UpdateCosts();
  return true;
}

void CBENot::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"NOT");
}

bool CBENot::ShowProperties() { return ShowBlockDialog(this, kBeNotClassId); }
