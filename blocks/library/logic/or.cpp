#include "blocks/library/logic/or.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/logic/logic_colors.h"
#include "blocks/library/logic/logic_costs.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
// bit has no row, nor have float and double.
const BeLogicCost kCosts[6] = {{false, 0, 0, false}, {true, 1, 2, false}, {true, 2, 4, false},
                               {true, 4, 8, false},  {false, 0, 0, false}, {false, 0, 0, false}};
const int kCaptionChars = 32;
}  // namespace

CBEOr::CBEOr() {
  rect = RECT{0, 0, 120, 20};
  fillColor = kLogicFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEOr::Create() {
  CBEOr* block = new (std::nothrow) CBEOr;
  if (block && (block->inputCount != 1 || block->outputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEOr::GetType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }

void CBEOr::UpdateCosts() { ApplyLogicCost(this, kCosts, GetType()); }

void CBEOr::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  ApplyMask(source->value, outputs[0]->value, GetType(), mask, true);
}

void CBEOr::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  unsigned char cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = static_cast<unsigned char>(mask >> (8 * i));
  stream->Write(cell, 4);
  CBEBlock::Save(stream);
}

bool CBEOr::Load(CStream* stream) {
  unsigned char type;
  unsigned int cell;
  if (!ReadByteChecked(stream, &type) || !IsIntegerDataType(type) || !ReadUInt32Checked(stream, &cell) ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasType = GetType();
  uint32_t wasMask = mask;
  SetPinTypes(this, type);
  mask = cell;
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  SetPinTypes(this, wasType);
  mask = wasMask;
  return false;
}

void CBEOr::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatMaskCaption(L"OR", mask, GetType(), text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEOr::ShowProperties() { return ShowBlockDialog(this, kBeOrClassId); }
