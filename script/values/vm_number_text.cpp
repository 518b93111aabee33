#include "script/values/vm_number_text.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "script/values/vm_value.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || (c >= 9 && c <= 13); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

char LocaleDecimalPoint() {
  const lconv* conv = localeconv();
  if (!conv || !conv->decimal_point || !conv->decimal_point[0] || conv->decimal_point[1]) return '.';
  return conv->decimal_point[0];
}

// Copies the decimal number at the start of text (after blanks) into a
// narrow buffer with the C runtime's decimal point. Answers false when no
// digit comes before the exponent. Digits beyond the buffer are dropped from
// the fraction or counted into the exponent, so the value stays right.
bool ScanDecimal(const wchar_t* text, char* out, int size) {
  const wchar_t* p = text;
  while (IsBlank(*p)) ++p;
  int n = 0;
  const int room = size - 16;  // space kept for the exponent
  if (*p == L'+' || *p == L'-') out[n++] = static_cast<char>(*p++);
  int digits = 0;
  long dropped = 0;  // integer digits that did not fit
  while (IsDigit(*p)) {
    if (n < room) out[n++] = static_cast<char>(*p);
    else ++dropped;
    ++digits, ++p;
  }
  if (*p == L'.') {
    ++p;
    if (n < room) out[n++] = LocaleDecimalPoint();
    while (IsDigit(*p)) {
      if (n < room) out[n++] = static_cast<char>(*p);
      ++digits, ++p;
    }
  }
  if (digits == 0) return false;
  long exponent = 0;
  if (*p == L'e' || *p == L'E') {
    const wchar_t* q = p + 1;
    bool negative = false;
    if (*q == L'+' || *q == L'-') negative = *q++ == L'-';
    if (IsDigit(*q)) {
      while (IsDigit(*q)) {
        if (exponent < 100000) exponent = exponent * 10 + (*q - L'0');
        ++q;
      }
      if (negative) exponent = -exponent;
    }
  }
  exponent += dropped;
  if (exponent != 0) n += snprintf(out + n, size - n, "e%ld", exponent);
  out[n] = 0;
  return true;
}

// Removes trailing zeros of the decimals in [begin, end) and answers the new end.
char* TrimZeros(char* begin, char* end) {
  char* point = static_cast<char*>(memchr(begin, '.', end - begin));
  if (!point) return end;
  while (end > point + 1 && end[-1] == '0') --end;
  return end;
}

wchar_t* Widen(const char* text, wchar_t* buffer) {
  int i = 0;
  for (; text[i] && i < kVmTextBufferChars - 1; ++i) buffer[i] = static_cast<unsigned char>(text[i]);
  buffer[i] = 0;
  return buffer;
}

}  // namespace

wchar_t* FormatIntText(int32_t value, wchar_t* buffer) {
  wchar_t digits[12];
  int n = 0;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  int k = 0;
  if (value < 0) buffer[k++] = L'-';
  while (n) buffer[k++] = digits[--n];
  buffer[k] = 0;
  return buffer;
}

wchar_t* FormatDoubleText(double value, wchar_t* buffer) {
  if (std::isnan(value)) return Widen("NaN", buffer);
  if (std::isinf(value)) return Widen(value < 0 ? "-Infinity" : "Infinity", buffer);
  // The exponent of the first significant digit after rounding to ten.
  char scientific[48];
  snprintf(scientific, sizeof scientific, "%.9e", value);
  const char* e = strchr(scientific, 'e');
  int exponent = e ? atoi(e + 1) : 0;
  char text[64];
  if (exponent >= -1 && exponent <= 9) {
    int length = snprintf(text, sizeof text, "%.*f", 9 - exponent, value);
    for (int i = 0; i < length; ++i)
      if (text[i] == ',') text[i] = '.';
    char* end = TrimZeros(text, text + length);
    if (end > text && end[-1] == '.') --end;
    *end = 0;
  } else {
    // Mantissa digits from the scientific form, exponent written here with
    // at least three digits.
    int length = static_cast<int>(e - scientific);
    memcpy(text, scientific, length);
    for (int i = 0; i < length; ++i)
      if (text[i] == ',') text[i] = '.';
    char* end = TrimZeros(text, text + length);
    snprintf(end, sizeof text - (end - text), "e%c%03d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
  }
  return Widen(text, buffer);
}

int32_t ParseHexText(const wchar_t* text) {
  uint32_t value = 0;
  if (!text) return 0;
  for (const wchar_t* p = text;; ++p) {
    uint32_t digit;
    if (*p >= L'0' && *p <= L'9') digit = *p - L'0';
    else if (*p >= L'a' && *p <= L'f') digit = *p - L'a' + 10;
    else if (*p >= L'A' && *p <= L'F') digit = *p - L'A' + 10;
    else break;
    value = (value << 4) | digit;
  }
  return static_cast<int32_t>(value);
}

double ParseNumberText(const wchar_t* text) {
  if (!text) return 0;
  char buffer[400];
  if (!ScanDecimal(text, buffer, sizeof buffer)) return 0;
  errno = 0;
  double value = strtod(buffer, nullptr);
  if (errno == ERANGE && std::isinf(value)) return 0;
  if (std::isinf(value)) return 0;
  return value;
}

int32_t VmParseLeadingInt(const wchar_t* text) {
  if (!text) return 0;
  const wchar_t* p = text;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
  int64_t value = 0;
  while (IsDigit(*p)) {
    if (value <= 2147483648LL) value = value * 10 + (*p - L'0');
    ++p;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483647LL - 1) return -2147483647 - 1;
  return static_cast<int32_t>(value);
}

double ParseLeadingDouble(const wchar_t* text) {
  if (!text) return 0;
  char buffer[400];
  if (!ScanDecimal(text, buffer, sizeof buffer)) return 0;
  return strtod(buffer, nullptr);
}
