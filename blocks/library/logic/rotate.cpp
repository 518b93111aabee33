#include "blocks/library/logic/rotate.h"

namespace {
// value holds `width` bits; 0 < count < width after the reduction, so
// neither shift reaches the width of uint32_t.
uint32_t RotateLeftBits(uint32_t value, unsigned int count, unsigned int width) {
  count %= width;
  if (count == 0) return value;
  uint32_t mask = width == 32 ? 0xFFFFFFFFu : (1u << width) - 1;
  value &= mask;
  return ((value << count) | (value >> (width - count))) & mask;
}
}  // namespace

uint8_t RotateLeft8(uint8_t value, unsigned int count) {
  return static_cast<uint8_t>(RotateLeftBits(value, count, 8));
}
uint16_t RotateLeft16(uint16_t value, unsigned int count) {
  return static_cast<uint16_t>(RotateLeftBits(value, count, 16));
}
uint32_t RotateLeft32(uint32_t value, unsigned int count) { return RotateLeftBits(value, count, 32); }

// A right rotation by c is a left one by width - c.
uint8_t RotateRight8(uint8_t value, unsigned int count) {
  return static_cast<uint8_t>(RotateLeftBits(value, 8 - count % 8, 8));
}
uint16_t RotateRight16(uint16_t value, unsigned int count) {
  return static_cast<uint16_t>(RotateLeftBits(value, 16 - count % 16, 16));
}
uint32_t RotateRight32(uint32_t value, unsigned int count) { return RotateLeftBits(value, 32 - count % 32, 32); }
