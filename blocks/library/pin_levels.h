// How the generators and the digital blocks read their inputs: the value of
// the linked output, and the level a bit input shows.
#pragma once

#include <cstdint>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/scalar_value.h"

// The eight bytes of the input's source; null for an unconnected input.
inline const unsigned char* SourceValue(const BeInputPin* input) {
  return input && input->source ? input->source->value : nullptr;
}
// The type of the input's source; -1 for an unconnected input.
inline BeSignalType SourceType(const BeInputPin* input) {
  return input && input->source ? input->source->type : -1;
}
// Active: linked, and the first byte of the source's value is not zero.
inline bool IsInputActive(const BeInputPin* input) {
  const unsigned char* v = SourceValue(input);
  return v && v[0] != 0;
}
// Whether any of the first four bytes of a value is set.
inline bool AnyOfFirstFourBytes(const unsigned char* value) {
  return value[0] != 0 || value[1] != 0 || value[2] != 0 || value[3] != 0;
}
// The first four bytes as a signed 32-bit number, and back.
inline int32_t ReadInt32Value(const unsigned char* value) { return ReadIntegerValue(value, kBeSignalInt); }
inline void WriteInt32Value(unsigned char* value, uint32_t bits) { WriteIntegerValue(value, kBeSignalInt, bits); }
