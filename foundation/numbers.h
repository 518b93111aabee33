// Numbers to and from wide text.
#pragma once

const int kFoundationFormatDoubleChars = 32;  // FormatDouble's buffer, terminator included
const int kFoundationFormatIntChars = 12;     // FormatInt's buffer, terminator included

// The error flag (optional) is set to 1 and the default returned when nothing
// converts or the value is out of range; otherwise it is set to 0.
double ParseDouble(const wchar_t* text, double defaultValue, int* error);
float ParseFloat(const wchar_t* text, float defaultValue, int* error);
int ParseInt(const wchar_t* text, int defaultValue, int* error);
int ParseHex(const wchar_t* text, int defaultValue);
wchar_t* FormatInt(int value, wchar_t* buffer);
wchar_t* FormatDouble(double value, wchar_t* buffer, int decimals);

// value rounded to float through memory. The x87 unit of the 32-bit build
// may keep an expression in a register with more precision than its type
// (whatever the source says); SSE, in the 64-bit build, never does. A result
// that is compared at an edge goes through here, so both widths decide it in
// single precision alike.
float RoundToFloat(double value);
