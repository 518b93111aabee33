#include "foundation/numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <clocale>

namespace {
// The decimal point of the C runtime's current locale ("," once a program
// has called setlocale for Russian).
wchar_t LocaleDecimalPoint() {
  const lconv* conv = localeconv();
  if (!conv || !conv->decimal_point || !conv->decimal_point[0] || conv->decimal_point[1]) return L'.';
  return static_cast<unsigned char>(conv->decimal_point[0]);
}
}  // namespace

// Filters the text to the characters of a number (digits, signs, exponent
// letters; ".", "," and "=" become the decimal point) and converts it. "12,5"
// reads as 12.5 and "7 V" as 7. Nothing convertible is a failure.
double ParseDouble(const wchar_t* text, double defaultValue, int* error) {
  if (!text) {
    if (error) *error = 1;
    return defaultValue;
  }
  wchar_t buffer[128];
  int n = 0;
  for (const wchar_t* p = text; *p && n < 127; ++p) {
    wchar_t c = *p;
    if ((c >= L'0' && c <= L'9') || c == L'-' || c == L'+' || c == L'E' || c == L'e')
      buffer[n++] = c;
    else if (c == L'.' || c == L',' || c == L'=')
      buffer[n++] = L'.';
  }
  buffer[n] = 0;
  // The conversion reads the C locale's decimal point, which need not be ".".
  const wchar_t point = LocaleDecimalPoint();
  if (point != L'.')
    for (int i = 0; i < n; ++i)
      if (buffer[i] == L'.') buffer[i] = point;
  errno = 0;
  wchar_t* end = nullptr;
  double value = wcstod(buffer, &end);
  if (errno != 0 || end == buffer) {
    if (error) *error = 1;
    return defaultValue;
  }
  if (error) *error = 0;
  return value;
}

float ParseFloat(const wchar_t* text, float defaultValue, int* error) {
  return static_cast<float>(ParseDouble(text, defaultValue, error));
}

int ParseInt(const wchar_t* text, int defaultValue, int* error) {
  if (!text) {
    if (error) *error = 1;
    return defaultValue;
  }
  errno = 0;
  wchar_t* end = nullptr;
  long value = wcstol(text, &end, 10);
  const wchar_t* digits = text;
  while (iswspace(*digits)) ++digits;
  if (*digits == L'+' || *digits == L'-') ++digits;
  bool converted = end != text && end > digits;
  if (errno != 0 || !converted) {
    if (error) *error = 1;
    return defaultValue;
  }
  if (error) *error = 0;
  return static_cast<int>(value);
}

// Nothing to convert (null or empty text) gives the default, like any
// character that is not a hexadecimal digit.
int ParseHex(const wchar_t* text, int defaultValue) {
  if (!text || !*text) return defaultValue;
  unsigned result = 0;
  for (const wchar_t* p = text; *p; ++p) {
    wchar_t c = *p;
    unsigned d;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else return defaultValue;
    result = (result << 4) | d;
  }
  return static_cast<int>(result);
}

wchar_t* FormatInt(int value, wchar_t* buffer) {
  return _itow(value, buffer, 10);
}

namespace {
// Number formatting goes through mingw's own C99 printf so that exponents
// always have at least two digits ("1e+40"), whatever the C runtime does.
int Print(char* out, size_t size, const char* format, int precision, double value) {
  return __mingw_snprintf(out, size, format, precision, value);
}
}  // namespace

// decimals > 0: fixed point with that many decimals; otherwise "%g". The
// result always fits the 32-character buffer: a fixed-point text that would
// not is given in exponent form instead.
wchar_t* FormatDouble(double value, wchar_t* buffer, int decimals) {
  char text[512];
  int len;
  if (decimals > 0) {
    if (decimals > 100) decimals = 100;
    len = Print(text, sizeof text, "%.*f", decimals, value);
    for (int p = decimals > 20 ? 20 : decimals; (len < 0 || len >= kFoundationFormatDoubleChars) && p >= 0; --p)
      len = Print(text, sizeof text, "%.*e", p, value);
  } else {
    len = Print(text, sizeof text, "%.*g", 6, value);
  }
  if (len < 0) len = 0;
  if (len >= kFoundationFormatDoubleChars) len = kFoundationFormatDoubleChars - 1;
  // The point is "." whatever the C locale says.
  const wchar_t point = LocaleDecimalPoint();
  for (int i = 0; i < len; ++i) {
    buffer[i] = static_cast<unsigned char>(text[i]);
    if (point != L'.' && buffer[i] == point) buffer[i] = L'.';
  }
  buffer[len] = 0;
  return buffer;
}

float RoundToFloat(double value) {
  volatile float rounded = static_cast<float>(value);
  return rounded;
}
