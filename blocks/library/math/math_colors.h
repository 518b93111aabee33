// Body colours of the "Математика" blocks (GDI 0x00BBGGRR).
#pragma once

#include <windows.h>

// The arithmetic blocks: sign change, constants, adder, the two-input
// operations, the absolute value.
const COLORREF kArithmeticFill = 0x33FFFF;
// The proportional element and the divider of a constant.
const COLORREF kScalingFill = 0x99FFFF;
// The trigonometric functions and the vector blocks.
const COLORREF kTrigonometryFill = 0x33FFFF;
