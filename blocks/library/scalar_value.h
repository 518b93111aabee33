// Scalar values in the eight bytes of a pin value: the layouts of the types
// char (2) to double (6), read and written byte-wise in little-endian order,
// and the conversions of computed numbers into them without undefined
// behaviour (integers wrap in unsigned arithmetic; a number that is not
// finite never reaches an integer conversion).
#pragma once

#include <cstdint>

#include "blocks/engine/signal_type.h"

// char, short, int, float or double.
bool IsScalarDataType(BeSignalType type);
// The bytes a value of the type takes from byte 0: char 1, short 2, int
// and float 4, double 8, bit 1; other concrete types their value size, at
// most 8; 0 for codes without one.
int ScalarWidth(BeSignalType type);

// char, short and int sign-extended; 0 for other types.
int32_t ReadIntegerValue(const unsigned char* value, BeSignalType type);
float ReadFloatValue(const unsigned char* value);
double ReadDoubleValue(const unsigned char* value);
// The value read in type (char to double) as a double; 0 for other types.
double ReadScalarValue(const unsigned char* value, BeSignalType type);

// The low 8, 16 or all 32 bits of bits into the leading bytes of a char,
// short or int value; the other bytes keep what they held. Nothing for
// other types.
void WriteIntegerValue(unsigned char* value, BeSignalType type, uint32_t bits);
void WriteFloatValue(unsigned char* value, float v);
void WriteDoubleValue(unsigned char* value, double v);

// y truncated toward zero to a 32-bit integer. Not a number gives 0; values
// beyond the range give its nearest end.
int32_t TruncateToInt32(double y);
// y truncated toward zero to a 32-bit integer as the processor's conversion
// gives it: not a number, and values whose truncation lies outside the
// range, give -2147483648 (the "integer indefinite").
int32_t TruncateToInt32Indefinite(double y);
// v held within lo..hi.
int32_t SaturateInt32(int32_t v, int32_t lo, int32_t hi);
