#include "blocks/engine/signal_type.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

struct TypeRow {
  int code;
  const wchar_t* name;
  int transfer;
  int value;
};

// The type table as the program shows and sizes its signals.
const TypeRow kTypes[] = {
    {0, L"ШИМ", 0, 0},
    {1, L"bit", 1, 1},
    {2, L"char", 1, 1},
    {3, L"short", 2, 2},
    {4, L"int", 4, 4},
    {5, L"float", 4, 4},
    {6, L"double", 8, 8},
    {7, L"Пульс канала A", 0, 0},
    {8, L"Пульс канала B", 0, 0},
    {9, L"Аналоговый", 0, 0},
    {10, L"RS-232", 0, 0},
    {11, L"USB", 0, 0},
    {12, L"USB D+", 0, 0},
    {13, L"SDA", 0, 0},
    {14, L"SCL", 0, 0},
    {15, L"SPI", 0, 0},
    {16, L"SCK", 0, 0},
    {17, L"Ethernet", 0, 0},
    {18, L"Высокочастотный", 0, 0},
    {19, L"PAL/SECAM/NTSC", 0, 0},
    {20, L"CIF", 0, 0},
    {21, L"PCMCIA", 0, 0},
    {22, L"Видео", 35000, 8},
    {23, L"Аудио", 10000, 8},
    {24, L"Управл.камерами", 8, 3},
    {25, L"Инерциальные данные", 1200, 8},
    {26, L"Управл.инерциал.сист.", 40, 1},
    {27, L"Навигац. информация", 1200, 8},
    {28, L"Управл.нав.приемником", 32, 1},
    {29, L"Каша", 0, 0},
    {30, L"Сектор сканирования", 5120, 8},
    {31, L"Локальная карта", 8384, 8},
    {32, L"Управл.дальномером", 8, 1},
    {33, L"Ответ дальномера", 8, 4},
    {34, L"SATA", 0, 0},
    {35, L"IDE", 0, 0},
    {36, L"Глоб.карта", 1000, 8},
};

TEST(SignalType, TablesGiveNameAndSizesOfEveryConcreteType) {
  for (const TypeRow& row : kTypes) {
    SCOPED_TRACE(row.code);
    EXPECT_STREQ(row.name, BeSignalTypeName[row.code]);
    EXPECT_STREQ(row.name, GetSignalTypeName(row.code));
    EXPECT_EQ(row.transfer, BeSignalTransferSize[row.code]);
    EXPECT_EQ(row.value, BeSignalValueSize[row.code]);
    EXPECT_EQ(row.transfer, GetSignalTransferSize(row.code));
    EXPECT_EQ(row.value, GetSignalValueSize(row.code));
    EXPECT_EQ(row.code, FindSignalTypeByName(row.name));
  }
}

TEST(SignalType, UnusedAndWildcardRows) {
  EXPECT_EQ(nullptr, BeSignalTypeName[37]);
  EXPECT_EQ(66, BeSignalTransferSize[37]);
  EXPECT_EQ(67, BeSignalValueSize[37]);
  EXPECT_STREQ(L"любой логический", BeSignalTypeName[38]);
  EXPECT_STREQ(L"любой скалярный", BeSignalTypeName[39]);
  EXPECT_STREQ(L"любой целый", BeSignalTypeName[40]);
}

TEST(SignalType, CodesOutsideTheTablesAnswerAsUnknown) {
  const int codes[] = {-1, -1000, 41, 1000, 0x7FFFFFFF, static_cast<int>(0x80000000)};
  for (int code : codes) {
    SCOPED_TRACE(code);
    EXPECT_EQ(nullptr, GetSignalTypeName(code));
    EXPECT_EQ(0, GetSignalTransferSize(code));
    EXPECT_EQ(0, GetSignalValueSize(code));
    EXPECT_FALSE(IsSignalTypeCompatible(code, code));
    EXPECT_FALSE(IsSignalTypeCompatible(1, code));
    EXPECT_FALSE(IsSignalTypeCompatible(code, 39));
  }
  // Nothing may copy by the value size of 37 or of a wildcard.
  for (int code = 37; code <= 40; ++code) {
    EXPECT_EQ(0, GetSignalValueSize(code));
    EXPECT_EQ(0, GetSignalTransferSize(code));
  }
}

TEST(SignalType, FindByNameSearchesConcreteTypesExactly) {
  EXPECT_EQ(1, FindSignalTypeByName(L"bit"));
  EXPECT_EQ(2, FindSignalTypeByName(L"Bit"));
  EXPECT_EQ(2, FindSignalTypeByName(L"любой скалярный"));
  EXPECT_EQ(2, FindSignalTypeByName(L"любой целый"));
  EXPECT_EQ(2, FindSignalTypeByName(L""));
  EXPECT_EQ(2, FindSignalTypeByName(L"bits"));
  EXPECT_EQ(2, FindSignalTypeByName(nullptr));
  EXPECT_EQ(36, FindSignalTypeByName(L"Глоб.карта"));
}

// For each input type the output types it accepts; every other output type
// (0 to 40) must be refused.
struct RuleRow {
  int input;
  std::vector<int> accepted;
};

TEST(SignalType, CompatibilityIsDecidedByTheInput) {
  const RuleRow rules[] = {
      {1, {0, 1, 7, 8, 12}},
      {7, {0, 1, 7, 8, 12}},
      {8, {0, 1, 7, 8, 12}},
      {12, {0, 1, 7, 8, 12}},
      {22, {22, 30, 31, 36}},
      {39, {1, 2, 3, 4, 5, 6, 39, 40}},
      {40, {0, 1, 2, 3, 4, 40}},
      {0, {0}},
      {2, {2}},
      {5, {5}},
      {6, {6}},
      {30, {30}},
      {36, {36}},
      {38, {38}},
  };
  for (const RuleRow& rule : rules) {
    for (int output = 0; output <= 40; ++output) {
      bool expected = false;
      for (int a : rule.accepted) expected = expected || a == output;
      EXPECT_EQ(expected, IsSignalTypeCompatible(output, rule.input))
          << "output " << output << " into input " << rule.input;
    }
  }
}

TEST(SignalType, ArgumentOrderIsOutputThenInput) {
  EXPECT_TRUE(IsSignalTypeCompatible(0, 1));
  EXPECT_FALSE(IsSignalTypeCompatible(1, 0));
  EXPECT_FALSE(IsSignalTypeCompatible(5, 40));
  EXPECT_TRUE(IsSignalTypeCompatible(5, 39));
  EXPECT_TRUE(IsSignalTypeCompatible(30, 22));
  EXPECT_FALSE(IsSignalTypeCompatible(22, 30));
}

}  // namespace
