#include "blocks/library/math/scaling_record.h"

#include <cstring>

#include "blocks/engine/record_io.h"
#include "blocks/library/math/scaling.h"
#include "foundation/stream.h"

void WriteFloatField(CStream* stream, float value) {
  uint32_t bits;
  memcpy(&bits, &value, 4);
  stream->WriteInt32(static_cast<int>(bits));
}

bool ReadInt16Field(CStream* stream, int16_t* value) {
  unsigned char b[2];
  if (!ReadExact(stream, b, 2)) return false;
  uint16_t bits = static_cast<uint16_t>(b[0] | (b[1] << 8));
  memcpy(value, &bits, 2);
  return true;
}

bool ReadModeByte(CStream* stream, unsigned char* mode) {
  unsigned char b;
  if (!ReadByteChecked(stream, &b) || (b != kFloatingPointMode && b != kTableMode)) return false;
  *mode = b;
  return true;
}
