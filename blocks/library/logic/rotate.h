// Rotations of 8-, 16- and 32-bit values: the bits shifted out at one end
// come back in at the other. The count is taken modulo the width, so a
// rotation by 0 or by a multiple of the width returns the value unchanged.
#pragma once

#include <windows.h>

#include <cstdint>

// winnt.h names its compiler intrinsics with these same words as macros;
// here they are our functions, whatever was included before or after.
#undef RotateLeft8
#undef RotateLeft16
#undef RotateLeft32
#undef RotateRight8
#undef RotateRight16
#undef RotateRight32

uint8_t RotateLeft8(uint8_t value, unsigned int count);
uint16_t RotateLeft16(uint16_t value, unsigned int count);
uint32_t RotateLeft32(uint32_t value, unsigned int count);
uint8_t RotateRight8(uint8_t value, unsigned int count);
uint16_t RotateRight16(uint16_t value, unsigned int count);
uint32_t RotateRight32(uint32_t value, unsigned int count);
