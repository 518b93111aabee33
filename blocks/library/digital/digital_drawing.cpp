#include "blocks/library/digital/digital_drawing.h"

#include "blocks/library/block_text.h"

const BeSignalType kSwitchDataTypes[kSwitchDataTypeCount] = {
    kBeSignalBit, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble,
    22, 23, 24, 27, 28, 25, 26, 30, 31, 33, 32, 36};

bool IsSwitchDataType(int code) {
  for (BeSignalType type : kSwitchDataTypes)
    if (type == code) return true;
  return false;
}

void DrawDigitalLetter(HDC dc, const RECT& rect, const wchar_t* letter) {
  DrawBlockText(dc, rect.left + kDigitalSymbolX, rect.top + kDigitalSymbolY, letter);
}
