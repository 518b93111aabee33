// Whole-text conversions between the ANSI code page (the 8-bit texts of the
// component database and of command lines) and UTF-16, without length
// limits.
#pragma once

#include <string>

// Empty for null or empty text, or when the conversion fails.
std::wstring AnsiToWide(const char* text);
std::string WideToAnsi(const std::wstring& text);
