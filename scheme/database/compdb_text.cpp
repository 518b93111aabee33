#include "scheme/database/compdb_text.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace compdb_text {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// The decimal number at the start of text[0, n) (blanks skipped, the longest
// prefix that is a number), read with "." as the decimal point whatever the
// C locale says; 0 when there is none.
double ParseDecimal(const char* text, int n) {
  if (n > kMaxNumberChars) n = kMaxNumberChars;
  int i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  char number[kMaxNumberChars + 1];
  int k = 0;
  if (i < n && (text[i] == '+' || text[i] == '-')) number[k++] = text[i++];
  int digits = 0;
  while (i < n && IsDigit(text[i])) number[k++] = text[i++], ++digits;
  if (i < n && text[i] == '.') {
    char point = '.';
    const lconv* conv = localeconv();
    if (conv && conv->decimal_point && conv->decimal_point[0]) point = conv->decimal_point[0];
    number[k++] = point;
    ++i;
    while (i < n && IsDigit(text[i])) number[k++] = text[i++], ++digits;
  }
  if (digits == 0) return 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    int j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && IsDigit(text[j])) {
      while (i < j) number[k++] = text[i++];
      while (i < n && IsDigit(text[i])) number[k++] = text[i++];
    }
  }
  number[k] = 0;
  return strtod(number, nullptr);
}

double ParseDecimal(const char* text) {
  return ParseDecimal(text, static_cast<int>(strnlen(text, kMaxNumberChars)));
}

// atoi without overflow: blanks, a sign and digits, clamped to the int range.
int ParseInteger(const char* text, int n) {
  int i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  while (i < n && IsDigit(text[i])) {
    if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int ParseInteger(const char* text) { return ParseInteger(text, static_cast<int>(strlen(text))); }

}  // namespace compdb_text
