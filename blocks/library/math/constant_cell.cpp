#include "blocks/library/math/constant_cell.h"

#include <cstdio>
#include <cstring>

#include "blocks/library/scalar_value.h"
#include "foundation/numbers.h"

int32_t ConstantCellInt(uint32_t cell, BeSignalType type) {
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(cell >> (8 * i));
  return ReadIntegerValue(bytes, type);
}

float ConstantCellFloat(uint32_t cell) {
  float f;
  memcpy(&f, &cell, 4);
  return f;
}

uint32_t FloatConstantCell(float value) {
  uint32_t cell;
  memcpy(&cell, &value, 4);
  return cell;
}

void ApplyConstantCell(const unsigned char* input, unsigned char* output, BeSignalType type,
                       uint32_t cell, int op) {
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t a = static_cast<uint32_t>(ReadIntegerValue(input, type));
      uint32_t c = static_cast<uint32_t>(ConstantCellInt(cell, type));
      WriteIntegerValue(output, type, op > 0 ? a + c : a - c);
      break;
    }
    case kBeSignalFloat: {
      double a = ReadFloatValue(input);
      double c = ConstantCellFloat(cell);
      WriteFloatValue(output, RoundToFloat(op > 0 ? a + c : a - c));
      break;
    }
    case kBeSignalDouble: {
      double a = ReadDoubleValue(input);
      double c = ConstantCellFloat(cell);
      WriteDoubleValue(output, op > 0 ? a + c : a - c);
      break;
    }
    default: break;
  }
}

void FormatConstantCaption(const wchar_t* prefix, uint32_t cell, BeSignalType type,
                           wchar_t* text, size_t chars) {
  if (!text || chars == 0) return;
  if (type == kBeSignalFloat || type == kBeSignalDouble) {
    _snwprintf(text, chars - 1, L"%ls %0.2f", prefix, static_cast<double>(ConstantCellFloat(cell)));
  } else {
    _snwprintf(text, chars - 1, L"%ls %d", prefix, ConstantCellInt(cell, type));
  }
  text[chars - 1] = 0;
}
