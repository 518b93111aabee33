// How the control-theory links turn their double-precision results into
// output values, and what they share besides: the body colours and the
// realisation flag of the links that model a microcontroller's tables.
#pragma once

#include <windows.h>

#include <cstdint>

#include "blocks/engine/signal_type.h"

// Body colours (GDI 0x00BBGGRR).
const COLORREF kLinkFill = 0x99FFFF;
const COLORREF kLimiterFill = 0xFFFFCC;

// The realisation of the integrator and the differentiator: floating-point
// code, or integer tables (fast, costing ROM).
const int32_t kFloatingPointRealisation = 0;
const int32_t kTableRealisation = 1;

// y truncated toward zero to a 32-bit signed integer; a value outside the
// 32-bit range, or not a number, gives -2147483648.
int32_t TruncateLinkValue(double y);

// y held within lo..hi; a value that is not a number stays one.
double ClampLinkValue(double y, double lo, double hi);

// y into the output value by its type: the low 8, 16 or 32 bits of
// TruncateLinkValue(y) for char, short and int, the nearest float for
// float, y itself for double; nothing for other types.
void WriteLinkValue(unsigned char* value, BeSignalType type, double y);

// Whether d can divide: neither 0 nor infinite nor not a number.
bool IsUsableDivisor(double d);
