// Number parsing and formatting.
#include "foundation/numbers.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>

#include "support/test_support.h"

namespace {
const double kDefault = -77.5;
}

struct DoubleCase {
  const wchar_t* text;
  double expected;
  int error;
};

TEST(ParseDouble, Cases) {
  const DoubleCase cases[] = {
      {L"3,5", 3.5, 0},
      {L"3.5", 3.5, 0},
      {L"12,5", 12.5, 0},
      {L"7 V", 7, 0},
      {L"1 Ом", 1, 0},
      {L"-2.25", -2.25, 0},
      {L"+4", 4, 0},
      {L"1e3", 1000, 0},
      {L"2E-2", 0.02, 0},
      {L"=4", 0.4, 0},          // "=" is a decimal point too
      {L"1.5.2", 1.5, 0},       // conversion stops at what does not fit
      {L"0", 0, 0},
      {L"  -0,0  ", 0, 0},
      {L"1 000", 1000, 0},      // the space is dropped
      {L"1e999", kDefault, 1},  // out of range
      {L"-1e999", kDefault, 1},
      {L"abc", kDefault, 1},    // nothing converts
      {L"", kDefault, 1},
      {L"   ", kDefault, 1},
      {L"-", kDefault, 1},
      {L"e5", kDefault, 1},
      {L".", kDefault, 1},
      {L"В", kDefault, 1},
      {L"inf", kDefault, 1},
      {nullptr, kDefault, 1},
  };
  for (const DoubleCase& c : cases) {
    int error = -1;
    double value = ParseDouble(c.text, kDefault, &error);
    EXPECT_DOUBLE_EQ(c.expected, value) << (c.text ? c.text : L"(null)");
    EXPECT_EQ(c.error, error) << (c.text ? c.text : L"(null)");
    EXPECT_DOUBLE_EQ(c.expected, ParseDouble(c.text, kDefault, nullptr));  // the flag is optional
  }
}

TEST(ParseDouble, KeepsAt127CharactersOfTheNumber) {
  std::wstring text = L"1" + std::wstring(200, L'0');
  int error = -1;
  double value = ParseDouble(text.c_str(), kDefault, &error);
  EXPECT_EQ(0, error);
  EXPECT_NEAR(1.0, value / 1e126, 1e-12);
  // filtered characters do not count against the limit
  std::wstring spaced;
  for (int i = 0; i < 100; ++i) spaced += L" ";
  spaced += L"42";
  EXPECT_DOUBLE_EQ(42, ParseDouble(spaced.c_str(), kDefault, &error));
  EXPECT_EQ(0, error);
}

TEST(ParseFloat, IsParseDoubleNarrowed) {
  int error = -1;
  EXPECT_FLOAT_EQ(2.5f, ParseFloat(L"2,5", 9.0f, &error));
  EXPECT_EQ(0, error);
  EXPECT_FLOAT_EQ(0.1f, ParseFloat(L"0.1", 9.0f, &error));
  EXPECT_FLOAT_EQ(9.0f, ParseFloat(L"abc", 9.0f, &error));
  EXPECT_EQ(1, error);
  EXPECT_FLOAT_EQ(9.0f, ParseFloat(nullptr, 9.0f, &error));
  EXPECT_EQ(1, error);
}

struct IntCase {
  const wchar_t* text;
  int expected;
  int error;
};

TEST(ParseInt, Cases) {
  const int def = -9;
  const IntCase cases[] = {
      {L"42", 42, 0},
      {L" -17", -17, 0},
      {L"+5", 5, 0},
      {L"0", 0, 0},
      {L"007", 7, 0},
      {L"12abc", 12, 0},
      {L"12.7", 12, 0},
      {L"2147483647", INT_MAX, 0},
      {L"-2147483648", INT_MIN, 0},
      {L"2147483648", def, 1},
      {L"-2147483649", def, 1},
      {L"99999999999", def, 1},
      {L"abc", def, 1},  // nothing converts
      {L"", def, 1},
      {L"  ", def, 1},
      {L"-", def, 1},
      {L"+ 5", def, 1},
      {nullptr, def, 1},
  };
  for (const IntCase& c : cases) {
    int error = -1;
    EXPECT_EQ(c.expected, ParseInt(c.text, def, &error)) << (c.text ? c.text : L"(null)");
    EXPECT_EQ(c.error, error) << (c.text ? c.text : L"(null)");
    EXPECT_EQ(c.expected, ParseInt(c.text, def, nullptr));
  }
}

TEST(ParseHex, Cases) {
  const int def = 0x5A5A;
  const IntCase cases[] = {
      {L"1aF", 0x1AF, 0},
      {L"0", 0, 0},
      {L"ff00ff", 0xFF00FF, 0},
      {L"FFFFFFFF", -1, 0},
      {L"123456789", 0x23456789, 0},  // digits beyond eight shift out
      {L"12G", def, 0},
      {L"0x10", def, 0},
      {L" 1", def, 0},
      {L"1 ", def, 0},
      {L"-1", def, 0},
      {L"", def, 0},  // nothing converts
      {nullptr, def, 0},
  };
  for (const IntCase& c : cases) EXPECT_EQ(c.expected, ParseHex(c.text, def)) << (c.text ? c.text : L"(null)");
}

TEST(FormatInt, Cases) {
  struct Case {
    int value;
    const wchar_t* text;
  };
  const Case cases[] = {{0, L"0"}, {7, L"7"}, {-5, L"-5"}, {1000000, L"1000000"},
                        {INT_MAX, L"2147483647"}, {INT_MIN, L"-2147483648"}};
  for (const Case& c : cases) {
    wchar_t buffer[kFoundationFormatIntChars];
    EXPECT_EQ(buffer, FormatInt(c.value, buffer));
    EXPECT_STREQ(c.text, buffer);
  }
}

struct FormatCase {
  double value;
  int decimals;
  const wchar_t* text;
};

TEST(FormatDouble, Cases) {
  const FormatCase cases[] = {
      {2.5, 3, L"2.500"},
      {2.5, 0, L"2.5"},
      {100, 0, L"100"},
      {0, 0, L"0"},
      {-1.25, 2, L"-1.25"},
      {1.0 / 3, 4, L"0.3333"},
      {12345.678, 1, L"12345.7"},
      {0.5, -3, L"0.5"},          // decimals <= 0 is "%g"
      {1234.5678, 0, L"1234.57"}, // six significant digits
      {123456, 0, L"123456"},
      {1234567, 0, L"1.23457e+06"},
      {0.0001, 0, L"0.0001"},
      // "%g" exponents have at least two digits, whatever the C runtime does
      {1e40, 0, L"1e+40"},
      {1e-5, 0, L"1e-05"},
      {-2.5e-7, 0, L"-2.5e-07"},
      {1e100, 0, L"1e+100"},
      // a fixed-point text that would not fit falls back to an exponent form
      {1e40, 3, L"1.000e+40"},
      {-1e300, 10, L"-1.0000000000e+300"},
      {1237940039285380274899124224.0, 2, L"1237940039285380274899124224.00"},  // 2^90: 31 fit
      {1237940039285380274899124224.0, 3, L"1.238e+27"},                        // 32 do not
  };
  for (const FormatCase& c : cases) {
    wchar_t buffer[kFoundationFormatDoubleChars];
    EXPECT_EQ(buffer, FormatDouble(c.value, buffer, c.decimals));
    EXPECT_STREQ(c.text, buffer) << c.value << " with " << c.decimals << " decimals";
  }
}

// Whatever the value and the decimals, the text fits the 32 characters and
// still reads back as the value.
TEST(FormatDouble, NeverOverflowsItsBuffer) {
  const double values[] = {1e40,   -1e40,   DBL_MAX, -DBL_MAX, 1e308, DBL_MIN, 5e-324, -123456789.123456789,
                           2.5,    0.0,     -0.0,    std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  const int decimalCounts[] = {INT_MIN, -1, 0, 1, 3, 6, 15, 25, 30, 31, 100, 1000, INT_MAX};
  for (double value : values) {
    for (int decimals : decimalCounts) {
      wchar_t buffer[kFoundationFormatDoubleChars + 16];
      wmemset(buffer, 0xCCCC, kFoundationFormatDoubleChars + 16);
      FormatDouble(value, buffer, decimals);
      const size_t length = wcsnlen(buffer, kFoundationFormatDoubleChars + 16);
      EXPECT_LT(length, static_cast<size_t>(kFoundationFormatDoubleChars)) << value << " / " << decimals;
      for (int i = kFoundationFormatDoubleChars; i < kFoundationFormatDoubleChars + 16; ++i)
        ASSERT_EQ(0xCCCC, buffer[i]) << value << " / " << decimals << ": written past the buffer";
      EXPECT_EQ(nullptr, wcschr(buffer, L',')) << buffer;
      if (std::isfinite(value)) {
        int error = -1;
        double back = ParseDouble(buffer, 12345, &error);
        // the extremes may print rounded past the range and read back as out of range
        if (value != 0 && (std::fabs(value) < 1e-300 || std::fabs(value) > 1e300)) continue;
        EXPECT_EQ(0, error) << buffer;
        if (decimals > 0 && std::fabs(value) < 1e15 && std::fabs(value) > 1e-3) {
          EXPECT_NEAR(value, back, std::fabs(value) * 1e-6 + std::pow(10.0, -std::min(decimals, 15)))
              << buffer;
        }
      }
    }
  }
}

TEST(FormatDouble, HugeDecimalCountsStillGiveTheValue) {
  wchar_t buffer[kFoundationFormatDoubleChars];
  FormatDouble(2.5, buffer, 1000);
  EXPECT_LT(wcslen(buffer), static_cast<size_t>(kFoundationFormatDoubleChars));
  EXPECT_DOUBLE_EQ(2.5, ParseDouble(buffer, 0, nullptr)) << buffer;
  FormatDouble(1.0 / 3, buffer, 29);  // "0." and 29 digits just fit
  EXPECT_EQ(31u, wcslen(buffer));
  EXPECT_EQ(0, wcsncmp(buffer, L"0.3333333333333333", 18)) << buffer;
}

// The decimal point stays "." even when the C runtime's locale would use a
// comma, and parsing still reads both.
TEST(Numbers, IndependentOfTheCLocale) {
  const char* previous = setlocale(LC_ALL, nullptr);
  std::string saved = previous ? previous : "C";
  if (!setlocale(LC_ALL, "Russian_Russia.1251") && !setlocale(LC_ALL, "ru-RU") && !setlocale(LC_ALL, "Russian")) {
    GTEST_SKIP() << "no Russian C locale";
  }
  wchar_t buffer[kFoundationFormatDoubleChars];
  FormatDouble(2.5, buffer, 3);
  std::wstring fixed = buffer;
  FormatDouble(0.25, buffer, 0);
  std::wstring general = buffer;
  int error = -1;
  double parsedComma = ParseDouble(L"3,5", 0, &error);
  double parsedDot = ParseDouble(L"3.5", 0, nullptr);
  setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(L"2.500", fixed);
  EXPECT_EQ(L"0.25", general);
  EXPECT_DOUBLE_EQ(3.5, parsedComma);
  EXPECT_EQ(0, error);
  EXPECT_DOUBLE_EQ(3.5, parsedDot);
}
