#include "blocks/library/logic/shift_rule.h"

#include <cstdint>
#include <cstdio>

#include "blocks/engine/block.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/logic/rotate.h"
#include "blocks/library/scalar_value.h"

namespace {
const uint32_t kSignBit = 0x80000000u;

int CostWidth(BeSignalType type) {
  switch (type) {
    case kBeSignalShort: return 2;
    case kBeSignalInt: return 4;
    default: return 1;
  }
}

uint32_t Rotate(uint32_t x, BeSignalType type, unsigned int s, bool right) {
  switch (type) {
    case kBeSignalChar: {
      uint8_t v = static_cast<uint8_t>(x);
      return right ? RotateRight8(v, s) : RotateLeft8(v, s);
    }
    case kBeSignalShort: {
      uint16_t v = static_cast<uint16_t>(x);
      return right ? RotateRight16(v, s) : RotateLeft16(v, s);
    }
    default: return right ? RotateRight32(x, s) : RotateLeft32(x, s);
  }
}
}  // namespace

void ShiftValue(const unsigned char* input, unsigned char* output, BeSignalType type, unsigned char kind,
                unsigned int count, bool right) {
  if (!IsIntegerDataType(type) || kind > kLastShiftKind) return;
  // Sign-extended to 32 bits: the bits above the width are copies of its
  // sign bit.
  uint32_t x = static_cast<uint32_t>(ReadIntegerValue(input, type));
  uint32_t unsignedOfWidth = MaskInType(x, type);
  unsigned int s = count % 32;
  uint32_t result;
  if (kind == kShiftCyclic) {
    result = Rotate(x, type, s, right);
  } else if (!right) {
    result = x << s;
  } else if (kind == kShiftLogical) {
    result = unsignedOfWidth >> s;
  } else {
    // The complement of a negative value is not negative: shifting it in
    // zeros and complementing back brings in ones.
    result = (x & kSignBit) ? ~(~x >> s) : x >> s;
  }
  WriteIntegerValue(output, type, result);
}

void ApplyShiftCosts(CBEBlock* block, BeSignalType type, unsigned int count, unsigned char kind) {
  int w = CostWidth(type);
  int n = static_cast<int>(count);
  block->sharedRoutine = 0;
  if (kind == kShiftCyclic) {
    block->cycles = 2 * n * w;
    block->rom = 2 * n * w;
    return;
  }
  int bits = n % 8;
  int bytesMoved = w - n / 8;
  block->cycles = bits * (bytesMoved > 0 ? bytesMoved : 0);
  block->rom = 2 * bits;
}

void FormatShiftCaption(bool right, unsigned int count, wchar_t* text, size_t chars) {
  if (!text || chars == 0) return;
  _snwprintf(text, chars - 1, right ? L">> %u" : L"<< %u", count);
  text[chars - 1] = 0;
}
