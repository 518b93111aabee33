// Text forms of numbers and the number parsers of the script language.
#pragma once

#include <cstdint>

// Decimal text of an integer ("-" for negatives). buffer holds 32 units.
wchar_t* FormatIntText(int32_t value, wchar_t* buffer);
// Text of a number with 10 significant digits: plain decimals for decimal
// exponents -1 to 9, otherwise "d.ddddddddde+XXX"; trailing zeros of the
// decimals removed (and a point left at the end of plain decimals). An
// infinity is "Infinity" or "-Infinity", not a number "NaN". buffer holds
// 32 units.
wchar_t* FormatDoubleText(double value, wchar_t* buffer);
// The hexadecimal digits at the start of the text, accumulated in 32 bits.
int32_t ParseHexText(const wchar_t* text);
// The decimal number at the start of the text (after blanks), 0 when there
// is none or when it is out of the range of doubles.
double ParseNumberText(const wchar_t* text);

// The leading decimal integer of a text (blanks and a sign allowed), 0 when
// there is none; clamped to the 32-bit range.
int32_t VmParseLeadingInt(const wchar_t* text);
// The leading decimal number of a text (sign, digits, fraction, exponent),
// 0 when there is none; infinite when it is too large.
double ParseLeadingDouble(const wchar_t* text);
