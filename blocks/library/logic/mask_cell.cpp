#include "blocks/library/logic/mask_cell.h"

#include <cstdio>

#include "blocks/library/scalar_value.h"

bool IsIntegerDataType(BeSignalType type) { return type >= kBeSignalChar && type <= kBeSignalInt; }

uint32_t MaskInType(uint32_t cell, BeSignalType type) {
  switch (type) {
    case kBeSignalChar: return cell & 0xFFu;
    case kBeSignalShort: return cell & 0xFFFFu;
    default: return cell;
  }
}

void ApplyMask(const unsigned char* input, unsigned char* output, BeSignalType type, uint32_t cell,
               bool orMask) {
  if (!IsIntegerDataType(type)) return;
  uint32_t x = static_cast<uint32_t>(ReadIntegerValue(input, type));
  WriteIntegerValue(output, type, orMask ? x | cell : x & cell);
}

void FormatMaskCaption(const wchar_t* prefix, uint32_t cell, BeSignalType type, wchar_t* text,
                       size_t chars) {
  if (!text || chars == 0) return;
  unsigned int mask = MaskInType(cell, type);
  switch (type) {
    case kBeSignalChar: _snwprintf(text, chars - 1, L"%ls 0x%02X", prefix, mask); break;
    case kBeSignalShort: _snwprintf(text, chars - 1, L"%ls 0x%04X", prefix, mask); break;
    default: _snwprintf(text, chars - 1, L"%ls 0x%08X", prefix, mask); break;
  }
  text[chars - 1] = 0;
}
