#include "blocks/library/digital/counter_type.h"

#include "blocks/engine/record_io.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/math/sigma_font.h"

namespace {
const int kCounterSigmaHeight = -14;
}  // namespace

bool IsCounterType(int code) { return code >= kBeSignalChar && code <= kBeSignalInt; }

bool ReadCounterTypeByte(CStream* stream, BeSignalType* type) {
  unsigned char code;
  if (!ReadByteChecked(stream, &code) || !IsCounterType(code)) return false;
  *type = code;
  return true;
}

void DrawCounterSigma(HDC dc, const RECT& rect) {
  DrawSigma(dc, rect.left + kDigitalSymbolX, rect.top + kDigitalSymbolY, kCounterSigmaHeight);
}
