#include "blocks/library/digital/latch_type.h"

#include "blocks/engine/block.h"
#include "blocks/engine/record_io.h"

namespace {
// bit, char, short, int, float, double.
const int kCycles[6] = {8, 8, 9, 11, 11, 15};
const int kRom[6] = {22, 22, 24, 28, 28, 36};
}  // namespace

bool IsLatchType(int code) { return code >= kBeSignalBit && code <= kBeSignalDouble; }

void ApplyLatchCosts(CBEBlock* block, BeSignalType type) {
  if (!IsLatchType(type)) return;
  block->cycles = kCycles[type - kBeSignalBit];
  block->rom = kRom[type - kBeSignalBit];
}

bool ReadLatchTypeByte(CStream* stream, BeSignalType* type) {
  unsigned char code;
  if (!ReadByteChecked(stream, &code) || !IsLatchType(code)) return false;
  *type = code;
  return true;
}
