// The record fields of the proportional element and the divider that the
// engine's checked reads do not cover.
#pragma once

#include <cstdint>

class CStream;

// A 32-bit float, little-endian.
void WriteFloatField(CStream* stream, float value);
// A signed 16-bit field, little-endian; false when the stream ends first.
bool ReadInt16Field(CStream* stream, int16_t* value);
// The realisation byte: 0 (floating point) or 1 (table); false otherwise.
bool ReadModeByte(CStream* stream, unsigned char* mode);
