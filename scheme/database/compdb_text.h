// Small text helpers shared by the component database's columns, records and
// tables.
#pragma once

namespace compdb_text {

const int kMaxKeyDigits = 9;    // more digits do not fit an int: not a key
const int kMaxNumberChars = 63;

bool IsBlank(char c);
bool IsDigit(char c);
const char* SkipBlanks(const char* p);

// The decimal number at the start of text[0, n) (blanks skipped, the longest
// prefix that is a number), read with "." as the decimal point whatever the
// C locale says; 0 when there is none.
double ParseDecimal(const char* text, int n);
double ParseDecimal(const char* text);

// atoi without overflow: blanks, a sign and digits, clamped to the int range.
int ParseInteger(const char* text, int n);
int ParseInteger(const char* text);

}  // namespace compdb_text
