// The AVR pin tables against the chip sheets, every package and variant,
// with the sheets' own misprints kept.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "units/avr/avr_pin_sheets.h"
#include "units/avr/avr_pin_tables.h"

namespace {

using avrtest::SheetRow;

// The quoted texts of a sheet cell ("\"" inside a text is a quote).
std::vector<std::wstring> QuotedTexts(const wchar_t* cell) {
  std::vector<std::wstring> texts;
  for (const wchar_t* p = cell; *p; ++p) {
    if (*p != L'"') continue;
    std::wstring text;
    for (++p; *p && *p != L'"'; ++p) {
      if (*p == L'\\' && p[1] == L'"') ++p;
      text += *p;
    }
    texts.push_back(text);
    if (!*p) break;
  }
  return texts;
}

// Name and description of a cell; same stands for the first column's cell.
std::pair<std::wstring, std::wstring> Parse(const SheetRow& row, bool second) {
  const wchar_t* cell = second && row.second ? row.second : row.first;
  if (std::wstring(cell) == L"same") cell = row.first;
  std::vector<std::wstring> texts = QuotedTexts(cell);
  EXPECT_TRUE(texts.size() == 1 || texts.size() == 2) << row.pin;
  if (texts.empty()) return {};
  return {texts[0], texts.size() > 1 ? texts[1] : texts[0]};
}

struct Package {
  int pins;
  const SheetRow* sheet;
};
const Package kPackages[] = {
    {28, avrtest::kSheet28}, {32, avrtest::kSheet32}, {40, avrtest::kSheet40},
    {44, avrtest::kSheet44}, {64, avrtest::kSheet64},
};

// The variant that selects a package's second column.
AvrPinVariant SecondColumn(int pins) {
  AvrPinVariant v = {};
  if (pins == 28 || pins == 32) v.pinChange = true;
  if (pins == 40 || pins == 44) v.eightPwm = true;
  return v;
}

std::wstring Text(const wchar_t* text) { return text ? text : L"(null)"; }

TEST(AvrPinTables, EveryPackageAndColumnIsAsTheSheetGivesIt) {
  for (const Package& package : kPackages) {
    for (bool second : {false, true}) {
      SCOPED_TRACE(testing::Message() << package.pins << " pins, column " << (second ? 2 : 1));
      AvrPinVariant variant = second ? SecondColumn(package.pins) : AvrPinVariant{};
      for (int i = 0; i < package.pins; ++i) {
        ASSERT_EQ(i + 1, package.sheet[i].pin);
        std::pair<std::wstring, std::wstring> expected = Parse(package.sheet[i], second);
        AvrPinText text;
        ASSERT_TRUE(GetAvrPinText(package.pins, variant, i, &text));
        EXPECT_EQ(expected.first, Text(text.name)) << "pin " << i + 1;
        EXPECT_EQ(expected.second, Text(text.description)) << "pin " << i + 1;
      }
    }
  }
}

TEST(AvrPinTables, ColumnsAreChosenOnlyByTheirOwnPackagesSelectors) {
  // A selector of another package changes nothing.
  const AvrPinVariant all = {true, true, true};
  AvrPinText text;
  ASSERT_TRUE(GetAvrPinText(40, AvrPinVariant{true, true, false}, 13, &text));
  EXPECT_EQ(L"PD0/RXD", Text(text.name));
  ASSERT_TRUE(GetAvrPinText(28, AvrPinVariant{false, true, true}, 0, &text));
  EXPECT_EQ(L"RESET/PC6", Text(text.description));
  ASSERT_TRUE(GetAvrPinText(28, all, 6, &text));
  EXPECT_EQ(L"VCC", Text(text.name));
  ASSERT_TRUE(GetAvrPinText(64, all, 0, &text));
  EXPECT_EQ(L"~PEN", Text(text.name));
  EXPECT_EQ(L"PEN", Text(text.description));
}

TEST(AvrPinTables, AFastClockNamesPins7And8Of32PinsOnly) {
  for (bool pinChange : {false, true}) {
    AvrPinText text;
    for (int pin : {6, 7}) {
      ASSERT_TRUE(GetAvrPinText(32, AvrPinVariant{pinChange, true, false}, pin, &text));
      EXPECT_EQ(pin == 6 ? L"XTAL1" : L"XTAL2", Text(text.name));
      // The description stays the table's.
      std::pair<std::wstring, std::wstring> sheet = Parse(avrtest::kSheet32[pin], pinChange);
      EXPECT_EQ(sheet.second, Text(text.description));
      ASSERT_TRUE(GetAvrPinText(32, AvrPinVariant{pinChange, false, false}, pin, &text));
      EXPECT_EQ(pin == 6 ? L"PB6" : L"PB7", Text(text.name));
    }
    // The pins beside them keep their names.
    ASSERT_TRUE(GetAvrPinText(32, AvrPinVariant{pinChange, true, false}, 8, &text));
    EXPECT_NE(L"XTAL2", Text(text.name));
  }
  // Other packages keep theirs.
  AvrPinText text;
  ASSERT_TRUE(GetAvrPinText(28, AvrPinVariant{false, true, false}, 8, &text));
  EXPECT_EQ(L"PB6/XTAL1/TOSC1", Text(text.name));
}

TEST(AvrPinTables, TheSheetsMisprintsAreKept) {
  struct Case {
    int pins;
    AvrPinVariant variant;
    int pin;  // 1-based
    const wchar_t* name;
    const wchar_t* description;
  };
  const Case cases[] = {
      {28, {true, false, false}, 24, L"PC1/ADC1", L"PC1/ADC1/PCINT8"},     // PCINT9
      {32, {true, false, false}, 31, L"PD1/TXD", L"PD0/TXD/PCINT17"},      // PD1
      {40, {false, false, true}, 2, L"PB1/T1/CLK0", L"PB1/T1/CLK0"},       // CLKO
      {40, {false, false, true}, 6, L"PB5/IPC3/MOSI", L"PB5/IPC3/MOSI"},   // ICP3
      {40, {false, false, true}, 12, L"XTAL2", L"XTAL2"},                  // swapped
      {40, {false, false, true}, 13, L"XTAL1", L"XTAL1"},
      {44, {false, false, true}, 1, L"PB5/MOSI", L"PB5/PCINT13/ICP3/MOSI)"},  // stray ")"
      {44, {false, false, true}, 2, L"PB6/OC3A/MOSI", L"PB6/PCINT14/OC3A/MISO"},  // MISO
      {44, {false, false, true}, 7, L"XTAL2", L"XTAL2"},  // swapped
      {44, {false, false, true}, 8, L"XTAL1", L"XTAL1"},
      {64, {}, 19, L"PG3", L"PG4/TOSC1"},  // PG4
      {64, {}, 9, L"PE7", L"PE7/IC3/INT7"},
  };
  for (const Case& c : cases) {
    AvrPinText text;
    ASSERT_TRUE(GetAvrPinText(c.pins, c.variant, c.pin - 1, &text));
    EXPECT_EQ(c.name, Text(text.name)) << c.pins << " pin " << c.pin;
    EXPECT_EQ(c.description, Text(text.description)) << c.pins << " pin " << c.pin;
  }
}

TEST(AvrPinTables, OtherPinCountsAndPinsOutsideHaveNoTexts) {
  for (int pins : {28, 32, 40, 44, 64}) EXPECT_TRUE(HasAvrPinTable(pins)) << pins;
  for (int pins : {0, -28, 8, 20, 30, 48, 100}) {
    EXPECT_FALSE(HasAvrPinTable(pins)) << pins;
    AvrPinText text = {L"x", L"y"};
    EXPECT_FALSE(GetAvrPinText(pins, AvrPinVariant{}, 0, &text)) << pins;
    EXPECT_EQ(nullptr, text.name);
    EXPECT_EQ(nullptr, text.description);
  }
  AvrPinText text = {L"x", L"y"};
  EXPECT_FALSE(GetAvrPinText(28, AvrPinVariant{}, -1, &text));
  EXPECT_EQ(nullptr, text.name);
  EXPECT_FALSE(GetAvrPinText(28, AvrPinVariant{}, 28, &text));
  EXPECT_FALSE(GetAvrPinText(64, AvrPinVariant{}, 64, &text));
  EXPECT_FALSE(GetAvrPinText(28, AvrPinVariant{}, 0, nullptr));
}

}  // namespace
