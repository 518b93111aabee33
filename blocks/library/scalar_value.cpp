#include "blocks/library/scalar_value.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {
uint32_t ReadBits(const unsigned char* value, int bytes) {
  uint32_t bits = 0;
  for (int i = 0; i < bytes; ++i) bits |= static_cast<uint32_t>(value[i]) << (8 * i);
  return bits;
}

void WriteBits(unsigned char* value, int bytes, uint32_t bits) {
  for (int i = 0; i < bytes; ++i) value[i] = static_cast<unsigned char>(bits >> (8 * i));
}

// Sign extension of the low `bits` bits, in unsigned arithmetic.
int32_t SignExtend(uint32_t v, int bits) {
  uint32_t sign = 1u << (bits - 1);
  uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  v &= mask;
  uint32_t extended = (v ^ sign) - sign;
  int32_t result;
  memcpy(&result, &extended, 4);
  return result;
}
}  // namespace

bool IsScalarDataType(BeSignalType type) { return type >= kBeSignalChar && type <= kBeSignalDouble; }

int ScalarWidth(BeSignalType type) {
  switch (type) {
    case kBeSignalBit:
    case kBeSignalChar: return 1;
    case kBeSignalShort: return 2;
    case kBeSignalInt:
    case kBeSignalFloat: return 4;
    case kBeSignalDouble: return 8;
    default: {
      int size = GetSignalValueSize(type);
      return size > 8 ? 8 : size < 0 ? 0 : size;
    }
  }
}

int32_t ReadIntegerValue(const unsigned char* value, BeSignalType type) {
  switch (type) {
    case kBeSignalChar: return SignExtend(ReadBits(value, 1), 8);
    case kBeSignalShort: return SignExtend(ReadBits(value, 2), 16);
    case kBeSignalInt: return SignExtend(ReadBits(value, 4), 32);
    default: return 0;
  }
}

float ReadFloatValue(const unsigned char* value) {
  float f;
  memcpy(&f, value, 4);
  return f;
}

double ReadDoubleValue(const unsigned char* value) {
  double d;
  memcpy(&d, value, 8);
  return d;
}

double ReadScalarValue(const unsigned char* value, BeSignalType type) {
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: return ReadIntegerValue(value, type);
    case kBeSignalFloat: return ReadFloatValue(value);
    case kBeSignalDouble: return ReadDoubleValue(value);
    default: return 0;
  }
}

void WriteIntegerValue(unsigned char* value, BeSignalType type, uint32_t bits) {
  switch (type) {
    case kBeSignalChar: WriteBits(value, 1, bits); break;
    case kBeSignalShort: WriteBits(value, 2, bits); break;
    case kBeSignalInt: WriteBits(value, 4, bits); break;
    default: break;
  }
}

void WriteFloatValue(unsigned char* value, float v) { memcpy(value, &v, 4); }
void WriteDoubleValue(unsigned char* value, double v) { memcpy(value, &v, 8); }

int32_t TruncateToInt32(double y) {
  if (std::isnan(y)) return 0;
  if (y >= 2147483647.0) return INT_MAX;
  if (y <= -2147483648.0) return INT_MIN;
  return static_cast<int32_t>(y);
}

int32_t TruncateToInt32Indefinite(double y) {
  if (!(y > -2147483649.0 && y < 2147483648.0)) return INT_MIN;
  return static_cast<int32_t>(y);
}

int32_t SaturateInt32(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }
