#include "scheme/database/compdb.h"
#include "scheme/database/compdb_column.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

// Table files are 8-bit text in code page 1251.
std::string Cp1251(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(n, '\0');
  WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n,
                      nullptr, nullptr);
  return bytes;
}

std::unique_ptr<CompDbTable> Parse(const std::string& bytes) {
  std::unique_ptr<CompDbTable> table(new CompDbTable(L"t"));
  EXPECT_TRUE(table->LoadFromBytes(bytes.data(), bytes.size()));
  return table;
}

// A table of parts in the shape the database uses: widths, a hidden column,
// a divisor, string exports, a shared option, a price formula, a column with
// choices of its own, a quoted cell with TAB and CR LF inside, a short line.
const wchar_t kPartsTable[] =
    L"Резисторы\tэто поле не читается\r\n"
    L"Модель:120\tСопротивление, Ом: 80\tКорпус:60\tЦена:50\tОписание\tСкрыто\tВид:40\r\n"
    L"model\tR:1000\tpackage: $\tprice\tdesc:$\thidden\tkind:\r\n"
    L"\t\t\t\t\t\tвыводной;SMD;сборка\r\n"
    L"\"МЛТ-0,25\"\t?1:10k;22k\t?1:0805;1206\t!1:1.5;2.25\t"
    L"\"Текст с \"\"кавычками\"\"\tи табом\r\nи строкой\"\tx\t1\r\n"
    L"С2-33\t4700\t?2: DIP ; SOIC;SOT-23\t12.5\tкороткая\r\n";

// Puts the database and image folders back as they were when it goes.
class KeepDbFolders {
public:
  KeepDbFolders() : db_(GetComponentDbFolder()), images_(GetImagesFolder()) {}
  ~KeepDbFolders() {
    SetComponentDbFolder(db_.empty() ? nullptr : db_.c_str());
    SetImagesFolder(images_.empty() ? nullptr : images_.c_str());
  }

private:
  std::wstring db_, images_;
};

class PartsTable : public ::testing::Test {
protected:
  KeepDbFolders keepFolders_;
  void SetUp() override {
    ASSERT_TRUE(folder_.WriteFile(L"parts.txt", Cp1251(kPartsTable)));
    SetComponentDbFolder(folder_.Path().c_str());
    table_.reset(new CompDbTable(L"parts"));
    ASSERT_TRUE(table_->Load());
    ASSERT_EQ(table_->GetRecordCount(), 2);
    r0_ = table_->GetRecord(0);
    r1_ = table_->GetRecord(1);
  }

  velktest::TempFolder folder_;
  std::unique_ptr<CompDbTable> table_;
  CompDbRecord* r0_ = nullptr;
  CompDbRecord* r1_ = nullptr;
};

TEST_F(PartsTable, ReadsCaptionAndColumnHeads) {
  EXPECT_EQ(table_->GetCaption(), Cp1251(L"Резисторы"));
  EXPECT_STREQ(table_->GetName(), L"parts");
  ASSERT_EQ(table_->GetColumnCount(), 7);
  struct Head {
    const wchar_t* name;
    int width;
    const char* key;
    bool exported;
    double divisor;
    bool string;
  } heads[] = {
      {L"Модель", 120, "model", false, 0, false},
      {L"Сопротивление, Ом", 80, "R", true, 1000, false},
      {L"Корпус", 60, "package", true, 0, true},
      {L"Цена", 50, "price", false, 0, false},
      {L"Описание", -1, "desc", true, 0, true},
      {L"Скрыто", -1, "hidden", false, 0, false},
      {L"Вид", 40, "kind", true, 0, false},
  };
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    CompDbColumn* column = table_->GetColumn(i);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->GetName(), Cp1251(heads[i].name));
    EXPECT_EQ(column->GetWidth(), heads[i].width);
    EXPECT_STREQ(column->GetExportName(), heads[i].key);
    EXPECT_EQ(column->IsExported(), heads[i].exported);
    EXPECT_EQ(column->GetDivisor(), heads[i].divisor);
    EXPECT_EQ(column->IsStringExport(), heads[i].string);
    EXPECT_EQ(column->HasChoices(), i == 6);
  }
  CompDbColumn* kind = table_->GetColumn(6);
  EXPECT_EQ(kind->GetChoiceCount(), 3);
  EXPECT_EQ(kind->GetChoice(0), Cp1251(L"выводной"));
  EXPECT_STREQ(kind->GetChoice(1), "SMD");
  EXPECT_EQ(kind->GetChoice(2), Cp1251(L"сборка"));
  EXPECT_EQ(kind->GetChoice(3), nullptr);
  EXPECT_EQ(kind->GetChoice(-1), nullptr);
  EXPECT_EQ(table_->GetColumn(7), nullptr);
  EXPECT_EQ(table_->GetColumn(-1), nullptr);
}

TEST_F(PartsTable, QuotedCellKeepsTabsLineEndsAndSingleQuotes) {
  EXPECT_EQ(r0_->GetCell(0), Cp1251(L"МЛТ-0,25"));
  EXPECT_EQ(r0_->GetCell(4), Cp1251(L"Текст с \"кавычками\"\tи табом\r\nи строкой"));
  EXPECT_STREQ(r0_->GetCell(5), "x");
  EXPECT_STREQ(r0_->GetCell(6), "1");
}

TEST_F(PartsTable, ShortLineGetsEmptyCells) {
  EXPECT_EQ(r1_->GetCell(0), Cp1251(L"С2-33"));
  EXPECT_EQ(r1_->GetCell(4), Cp1251(L"короткая"));
  EXPECT_STREQ(r1_->GetCell(5), "");
  EXPECT_STREQ(r1_->GetCell(6), "");
  EXPECT_EQ(r1_->GetCell(7), nullptr);
}

TEST_F(PartsTable, SharedOptionSetsItsCellsAndFormulaTogether) {
  EXPECT_EQ(r0_->GetOptionKey(1), 1);
  EXPECT_EQ(r0_->GetOptionKey(2), 1);
  EXPECT_EQ(r0_->GetOptionKey(3), 0);
  EXPECT_STREQ(r0_->GetText(1), "10k");
  EXPECT_STREQ(r0_->GetText(2), "0805");
  EXPECT_STREQ(r0_->GetText(3), "1.50");
  EXPECT_DOUBLE_EQ(r0_->GetDouble(3), 1.5);
  EXPECT_STREQ(r0_->FormatOptions(), "1:0;");

  r0_->SetOptions("1:1;");
  EXPECT_STREQ(r0_->GetText(1), "22k");
  EXPECT_STREQ(r0_->GetText(2), "1206");
  EXPECT_STREQ(r0_->GetText(3), "2.25");
  EXPECT_DOUBLE_EQ(r0_->GetDoubleByName("price"), 2.25);
  EXPECT_DOUBLE_EQ(r0_->GetDouble(1), 22);  // "22k" reads as its number
  EXPECT_STREQ(r0_->FormatOptions(), "1:1;");
}

TEST_F(PartsTable, CellsByKey) {
  EXPECT_EQ(r1_->FindColumn("R"), 1);
  EXPECT_EQ(r1_->FindColumn("r"), -1);  // keys are case-sensitive
  EXPECT_EQ(r1_->GetIntByName("R"), 4700);
  EXPECT_FLOAT_EQ(r1_->GetFloatByName("price"), 12.5f);
  EXPECT_STREQ(r1_->GetTextByName("price"), "12.5");  // a plain cell as it is
  EXPECT_EQ(std::string(r1_->GetTextByName("desc")), Cp1251(L"короткая"));
  EXPECT_EQ(r1_->GetIntByName("nothing"), 0);
  EXPECT_DOUBLE_EQ(r1_->GetDoubleByName("nothing"), 0);
  EXPECT_STREQ(r1_->GetTextByName("nothing"), "");
  EXPECT_STREQ(r1_->GetTextByName(nullptr), "");
  EXPECT_STREQ(r1_->GetText(99), "");
  EXPECT_EQ(r1_->GetColumnCount(), 7);
  EXPECT_EQ(r1_->GetColumn(2), table_->GetColumn(2));
  EXPECT_EQ(r1_->GetTable(), table_.get());
}

TEST_F(PartsTable, OwnChoicesGiveTheDisplayText) {
  EXPECT_STREQ(r0_->GetText(6), "1");
  EXPECT_STREQ(r0_->GetDisplayText(6), "SMD");
  EXPECT_EQ(std::string(r1_->GetDisplayText(6)), Cp1251(L"выводной"));  // empty reads 0
  r1_->SetCell(6, "7");
  EXPECT_STREQ(r1_->GetDisplayText(6), "");  // no such choice
  EXPECT_STREQ(r1_->GetDisplayText(1), "4700");
}

TEST_F(PartsTable, OptionItemsSkipBlanks) {
  EXPECT_EQ(r1_->GetOptionKey(2), 2);
  EXPECT_STREQ(r1_->GetChoiceList(2), "DIP ; SOIC;SOT-23");
  ASSERT_EQ(r1_->GetChoiceItemCount(2), 3);
  int index = -5;
  EXPECT_STREQ(r1_->GetChoiceItem(2, 0, &index), "DIP ");
  EXPECT_EQ(index, 0);
  EXPECT_STREQ(r1_->GetChoiceItem(2, 1, &index), "SOIC");
  EXPECT_EQ(index, 1);
  EXPECT_STREQ(r1_->GetChoiceItem(2, 2, nullptr), "SOT-23");
  EXPECT_EQ(r1_->GetChoiceItem(2, 3, &index), nullptr);
  EXPECT_EQ(r1_->GetChoiceItem(2, -1, &index), nullptr);
  EXPECT_EQ(r1_->GetChoiceItem(1, 0, &index), nullptr);  // not an option cell
  EXPECT_EQ(r1_->GetChoiceList(1), nullptr);
}

TEST_F(PartsTable, FindRecordByFirstCellExactly) {
  EXPECT_EQ(table_->FindRecord(Cp1251(L"С2-33").c_str()), r1_);
  EXPECT_EQ(table_->FindRecord(Cp1251(L"с2-33").c_str()), nullptr);
  EXPECT_EQ(table_->FindRecord(Cp1251(L"С2-3").c_str()), nullptr);
  EXPECT_EQ(table_->FindRecord(nullptr), nullptr);
}

TEST_F(PartsTable, ReloadStartsAfresh) {
  ASSERT_TRUE(table_->Load());
  EXPECT_EQ(table_->GetColumnCount(), 7);
  EXPECT_EQ(table_->GetRecordCount(), 2);
}

TEST(CompDbTable, MissingOrEmptyFileKeepsThePresetCaption) {
  KeepDbFolders keepFolders;
  velktest::TempFolder folder;
  SetComponentDbFolder(folder.Path().c_str());
  CompDbTable missing(L"нет такой");
  EXPECT_STREQ(missing.GetCaption(), "\xCE\xF8\xE8\xE1\xEA\xE0 \xF2\xE0\xE1\xEB\xE8\xF6\xFB");
  EXPECT_EQ(std::string(missing.GetCaption()), Cp1251(L"Ошибка таблицы"));
  EXPECT_FALSE(missing.Load());
  EXPECT_EQ(std::string(missing.GetCaption()), Cp1251(L"Ошибка таблицы"));
  EXPECT_EQ(missing.GetColumnCount(), 0);
  EXPECT_EQ(missing.GetRecordCount(), 0);

  ASSERT_TRUE(folder.WriteFile(L"empty.txt", ""));
  CompDbTable empty(L"empty");
  EXPECT_FALSE(empty.Load());
  EXPECT_STREQ(empty.GetCaption(), CompDbTable::PresetCaption());

  // A table that loaded and then fails to reload is a failed table again.
  ASSERT_TRUE(folder.WriteFile(L"gone.txt", "Caption\nA\tB\na\tb\n1\t2\n"));
  CompDbTable gone(L"gone");
  ASSERT_TRUE(gone.Load());
  EXPECT_STREQ(gone.GetCaption(), "Caption");
  ASSERT_TRUE(DeleteFileW(folder.File(L"gone.txt").c_str()));
  EXPECT_FALSE(gone.Load());
  EXPECT_STREQ(gone.GetCaption(), CompDbTable::PresetCaption());
  EXPECT_EQ(gone.GetColumnCount(), 0);
}

TEST(CompDbTable, ColumnCountComesFromTheHeadLine) {
  auto table = Parse("T\nA\tB\tC\na\tb\tc\n\n1\t2\t3\t4\t5\n6\t7\n");
  ASSERT_EQ(table->GetColumnCount(), 3);
  ASSERT_EQ(table->GetRecordCount(), 2);
  CompDbRecord* five = table->GetRecord(0);
  EXPECT_STREQ(five->GetCell(2), "3");
  EXPECT_EQ(five->GetCell(3), nullptr);
  CompDbRecord* two = table->GetRecord(1);
  EXPECT_STREQ(two->GetCell(1), "7");
  EXPECT_STREQ(two->GetCell(2), "");
  EXPECT_STREQ(two->GetText(2), "");
}

TEST(CompDbTable, LineEndsAndEmptyLines) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"LF", "T\nA\tB\nka\tkb\n\nx\ty\n\nz\tw"},
      {"CR LF", "T\r\nA\tB\r\nka\tkb\r\n\r\nx\ty\r\n\r\nz\tw\r\n"},
      {"CR", "T\rA\tB\rka\tkb\r\rx\ty\r\rz\tw\r"},
      {"trailing tab", "T\t\nA\tB\nka\tkb\n\nx\ty\t\n\nz\tw\t\t\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto table = Parse(c.bytes);
    EXPECT_STREQ(table->GetCaption(), "T");
    ASSERT_EQ(table->GetColumnCount(), 2);
    EXPECT_STREQ(table->GetColumn(1)->GetName(), "B");
    EXPECT_STREQ(table->GetColumn(1)->GetExportName(), "kb");
    ASSERT_EQ(table->GetRecordCount(), 2);
    EXPECT_STREQ(table->GetRecord(0)->GetCell(0), "x");
    EXPECT_STREQ(table->GetRecord(0)->GetCell(1), "y");
    EXPECT_STREQ(table->GetRecord(1)->GetCell(0), "z");
    EXPECT_STREQ(table->GetRecord(1)->GetCell(1), "w");
  }
}

TEST(CompDbTable, ShortFilesLoadWithWhatTheyHold) {
  auto caption = Parse("Только заголовок");
  EXPECT_STREQ(caption->GetCaption(), "Только заголовок");
  EXPECT_EQ(caption->GetColumnCount(), 0);
  EXPECT_EQ(caption->GetRecordCount(), 0);

  auto heads = Parse("T\nA:10\tB");
  ASSERT_EQ(heads->GetColumnCount(), 2);
  EXPECT_EQ(heads->GetColumn(0)->GetWidth(), 10);
  EXPECT_STREQ(heads->GetColumn(1)->GetExportName(), "");
  EXPECT_FALSE(heads->GetColumn(1)->HasChoices());
  EXPECT_EQ(heads->GetRecordCount(), 0);
}

TEST(CompDbTable, FieldEdgeCases) {
  std::string longField(9000, 'L');
  std::string bytes = "T\nA\tB\na\tb\n\n";
  bytes += "\"x\"\"\"\"y\"\tafter\n";                  // two doubled quotes
  bytes += "\"\"\t\"\"\"\"\n";                          // empty, and one quote
  bytes += "\"ab\"cd\tq\"r\n";                          // text after quotes; inner quote
  bytes += longField + "\tend\n";                       // long field cut, next intact
  bytes += "u\tv\textra\t\"skipped\nstill skipped\"\tmore\n";  // extra quoted LF field
  bytes += "last\t\"unterminated\tto the end\r\n";
  auto table = Parse(bytes);
  ASSERT_EQ(table->GetRecordCount(), 6);
  EXPECT_STREQ(table->GetRecord(0)->GetCell(0), "x\"\"y");
  EXPECT_STREQ(table->GetRecord(0)->GetCell(1), "after");
  EXPECT_STREQ(table->GetRecord(1)->GetCell(0), "");
  EXPECT_STREQ(table->GetRecord(1)->GetCell(1), "\"");
  EXPECT_STREQ(table->GetRecord(2)->GetCell(0), "abcd");
  EXPECT_STREQ(table->GetRecord(2)->GetCell(1), "q\"r");
  EXPECT_EQ(std::string(table->GetRecord(3)->GetCell(0)), std::string(8191, 'L'));
  EXPECT_STREQ(table->GetRecord(3)->GetCell(1), "end");
  EXPECT_STREQ(table->GetRecord(4)->GetCell(1), "v");
  EXPECT_STREQ(table->GetRecord(5)->GetCell(0), "last");
  EXPECT_STREQ(table->GetRecord(5)->GetCell(1), "unterminated\tto the end\r\n");
}

TEST(CompDbTable, HeadAndKeyFields) {
  auto table = Parse(
      "T\n"
      "A\tB:\tC: 15 \tD:abc\tE:12345678901\n"
      "a\tb:\tc: $\td:0.001\te:$x\n"
      "1;2\t;\t\t x;;z\t\n"
      "r\n");
  ASSERT_EQ(table->GetColumnCount(), 5);
  EXPECT_EQ(table->GetColumn(0)->GetWidth(), -1);
  EXPECT_EQ(table->GetColumn(1)->GetWidth(), -1);
  EXPECT_STREQ(table->GetColumn(1)->GetName(), "B");
  EXPECT_EQ(table->GetColumn(2)->GetWidth(), 15);
  EXPECT_EQ(table->GetColumn(3)->GetWidth(), -1);
  EXPECT_EQ(table->GetColumn(4)->GetWidth(), -1);  // too many digits for a width

  EXPECT_TRUE(table->GetColumn(1)->IsExported());
  EXPECT_EQ(table->GetColumn(1)->GetDivisor(), 0);
  EXPECT_FALSE(table->GetColumn(1)->IsStringExport());
  EXPECT_TRUE(table->GetColumn(2)->IsStringExport());
  EXPECT_STREQ(table->GetColumn(2)->GetExportName(), "c");
  EXPECT_DOUBLE_EQ(table->GetColumn(3)->GetDivisor(), 0.001);
  EXPECT_TRUE(table->GetColumn(4)->IsStringExport());

  EXPECT_EQ(table->GetColumn(0)->GetChoiceCount(), 2);
  EXPECT_EQ(table->GetColumn(1)->GetChoiceCount(), 2);  // ";" is two empty items
  EXPECT_FALSE(table->GetColumn(2)->HasChoices());
  CompDbColumn* listed = table->GetColumn(3);
  ASSERT_EQ(listed->GetChoiceCount(), 3);
  EXPECT_STREQ(listed->GetChoice(0), "x");
  EXPECT_STREQ(listed->GetChoice(1), "");
  EXPECT_STREQ(listed->GetChoice(2), "z");
}

// The record of the Part's option examples: key 1 with 10k and 22k, key 3
// with three packages, a private option, and a cell with too long a key.
const char kOptionTable[] =
    "T\n"
    "M\tR\tP\tS\tL\tW\n"
    "model\tR\tpkg\tside\tlong\tnine\n"
    "\n"
    "m\t?1:10k;22k\t?3:a;b;c\t?:left; right\t?1234567890:x;y\t?123456789:p;q\n";

TEST(CompDbRecord, OptionKeys) {
  auto table = Parse(kOptionTable);
  CompDbRecord* r = table->GetRecord(0);
  EXPECT_EQ(r->GetOptionKey(0), 0);
  EXPECT_EQ(r->GetOptionKey(1), 1);
  EXPECT_EQ(r->GetOptionKey(2), 3);
  EXPECT_EQ(r->GetOptionKey(3), ~3);  // private to column 3
  EXPECT_EQ(r->GetOptionKey(4), 0);   // ten digits do not make a key
  EXPECT_EQ(r->GetOptionKey(5), 123456789);
  EXPECT_EQ(r->GetOptionKey(6), 0);
  EXPECT_EQ(r->GetOptionKey(-1), 0);
  EXPECT_EQ(r->GetOptionCount(), 4);
  EXPECT_EQ(r->FindOption(0), nullptr);
  EXPECT_EQ(r->FindOption(2), nullptr);
  EXPECT_STREQ(r->GetText(3), "left");
  EXPECT_STREQ(r->GetText(4), "");
}

TEST(CompDbRecord, OptionCellShowsItsChosenItem) {
  auto table = Parse(kOptionTable);
  CompDbRecord* r = table->GetRecord(0);
  ASSERT_NE(r->FindOption(1), nullptr);
  r->FindOption(1)->choice = 1;
  EXPECT_STREQ(r->GetText(1), "22k");
  r->SetOptions("1:0;");
  EXPECT_STREQ(r->GetText(1), "10k");
  r->FindOption(1)->choice = 2;  // past the list
  EXPECT_STREQ(r->GetText(1), "");
  r->FindOption(1)->choice = -1;
  EXPECT_STREQ(r->GetText(1), "");
}

TEST(CompDbRecord, FormatOptionsWritesKeyColonChoicePairs) {
  auto table = Parse(
      "T\nM\tA\tB\tC\nm\ta\tb\tc\n\n"
      "x\t?1:10k;22k\t?3:a;b;c\tplain\n");
  CompDbRecord* r = table->GetRecord(0);
  r->FindOption(3)->choice = 2;
  EXPECT_STREQ(r->FormatOptions(), "1:0;3:2;");

  auto none = Parse("T\nM\tA\nm\ta\n\nx\t5\n");
  EXPECT_STREQ(none->GetRecord(0)->FormatOptions(), "");
}

TEST(CompDbRecord, FormatAndSetOptionsRoundTrip) {
  auto source = Parse(kOptionTable);
  auto target = Parse(kOptionTable);
  CompDbRecord* a = source->GetRecord(0);
  a->FindOption(1)->choice = 1;
  a->FindOption(3)->choice = 2;
  a->FindOption(~3)->choice = 1;
  a->FindOption(123456789)->choice = 1;
  std::string text = a->FormatOptions();
  EXPECT_EQ(text, "1:1;3:2;-4:1;123456789:1;");
  CompDbRecord* b = target->GetRecord(0);
  b->SetOptions(text.c_str());
  EXPECT_EQ(std::string(b->FormatOptions()), text);
  EXPECT_STREQ(b->GetText(3), "right");
  EXPECT_STREQ(b->GetText(5), "q");
}

TEST(CompDbRecord, SetOptionsSkipsWhatItCannotUse) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "1:0;3:0;-4:0;123456789:0;"},
      {"1:1", "1:1;3:0;-4:0;123456789:0;"},           // last pair without ";"
      {"7:1;3:2;", "1:0;3:2;-4:0;123456789:0;"},      // unknown key skipped
      {"x:1;1:;:2;3:z;1:1;", "1:1;3:0;-4:0;123456789:0;"},
      {" 3 : 1 ;;;", "1:0;3:1;-4:0;123456789:0;"},
      {"1234567890:1;", "1:0;3:0;-4:0;123456789:0;"},  // not a key
      {"1:99999999999999999999999999999999999;", "1:0;3:0;-4:0;123456789:0;"},
      {"0:1;1:1;1:0;", "1:0;3:0;-4:0;123456789:0;"},  // the last pair of a key wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto table = Parse(kOptionTable);
    CompDbRecord* r = table->GetRecord(0);
    r->SetOptions(c.text);
    EXPECT_STREQ(r->FormatOptions(), c.expected);
  }
  auto table = Parse(kOptionTable);
  table->GetRecord(0)->SetOptions(nullptr);
  EXPECT_STREQ(table->GetRecord(0)->FormatOptions(), "1:0;3:0;-4:0;123456789:0;");
}

TEST(CompDbRecord, ChoiceItems) {
  std::string longItem(80, 'x');
  std::string bytes =
      "T\nM\tA\tB\tC\tD\nm\ta\tb\tc\td\n\tzero;one;two\n"
      "m\t?5:2;0;9\t?6:a;;b\t?7\t?8:  " +
      longItem + ";end\n";
  auto table = Parse(bytes);
  CompDbRecord* r = table->GetRecord(0);
  int index = -1;
  // A column with choices of its own: items are numbers into them.
  ASSERT_EQ(r->GetChoiceItemCount(1), 3);
  EXPECT_STREQ(r->GetChoiceItem(1, 0, &index), "two");
  EXPECT_EQ(index, 2);
  EXPECT_STREQ(r->GetChoiceItem(1, 1, &index), "zero");
  EXPECT_EQ(index, 0);
  EXPECT_STREQ(r->GetChoiceItem(1, 2, &index), "");
  EXPECT_EQ(index, 9);
  EXPECT_STREQ(r->GetText(1), "2");
  EXPECT_STREQ(r->GetDisplayText(1), "two");
  // Two semicolons in a row between two items make three.
  EXPECT_EQ(r->GetChoiceItemCount(2), 3);
  EXPECT_STREQ(r->GetChoiceItem(2, 1, &index), "");
  EXPECT_EQ(index, 1);
  // No colon: an empty list.
  EXPECT_STREQ(r->GetChoiceList(3), "");
  EXPECT_EQ(r->GetChoiceItemCount(3), 0);
  EXPECT_EQ(r->GetChoiceItem(3, 0, &index), nullptr);
  // Items are cut to 63 characters.
  EXPECT_EQ(std::string(r->GetChoiceItem(4, 0, &index)), std::string(63, 'x'));
  EXPECT_EQ(std::string(r->GetText(4)), std::string(63, 'x'));
  EXPECT_STREQ(r->GetChoiceItem(4, 1, &index), "end");
}

// key 1 at choice 1, key 2 at choice 0.
class Formula : public ::testing::Test {
protected:
  void SetUp() override {
    table_ = Parse("T\nM\tA\tB\nm\ta\tb\n\nx\t?1:a;b;c\t?2:p;q\n");
    record_ = table_->GetRecord(0);
    record_->SetOptions("1:1;");
  }
  std::unique_ptr<CompDbTable> table_;
  CompDbRecord* record_ = nullptr;
};

TEST_F(Formula, EvaluatesCases) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"2 * 3 + 4", 10},
      {"(2 + 3) * 4", 20},
      {"10 - 4 - 3", 3},  // left to right
      {"8 / 4 / 2", 1},
      {"1 - 2 + 3", 2},
      {"100 / 10 * 2", 20},
      {"10 - 2 * 3 - 1", 3},
      {"((1 + 2) * (3 + 4)) / 7", 3},
      {"2 * -3", -6},  // a sign after an operator
      {"-2 * 3", -6},
      {"3 - -2", 5},
      {"-(2 + 3)", -5},
      {"2 * (-3 + 1)", -4},
      {"10 / -2 / 5", -1},
      {"1e-3 * 1000", 1},  // a sign in an exponent
      {"2.5E+2 - 50", 200},
      {"!1:10;-5;7", -5},  // a sign in a selection list
      {"!1:10;-5;7 * 2", -10},
      {"!1:1e-3;2e-3 * 1000", 2},
      {"(!2:4;5 + 1) * 2", 10},
      {"!7:1;2", 0},        // no such option
      {"!1:3", 0},          // list shorter than the choice
      {"!1 3", 0},          // no colon
      {"!1234567890:1;2", 0},  // not a key
      {"5 / 0", 0},         // division by zero
      {"5 / (2 - 2) + 1", 1},
      {"0 / 0", 0},
      {"", 0},
      {"( )", 0},
      {"abc", 0},
      {"7 +", 7},
      {"(1 + 2", 3},
      {"1 + 2)", 3},
      {"  42  ", 42},
      {"1.5", 1.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(record_->EvaluateFormula(c.text, -1, -1), c.value);
  }
}

// Values that are not finite numbers count as 0, as a division by zero
// does, at the step where they arise.
TEST_F(Formula, ValuesThatAreNotFiniteCountAsZero) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"1e999", 0},               // too large for a double
      {"-1e999", 0},
      {"!1:5;1e999", 0},          // the selected item (option 1 at choice 1)
      {"!1:1e999;2", 2},          // an item not selected does not matter
      {"!1:5;1e999 * 0 + 4", 4},
      {"1e308*10", 0},            // an overflowing product
      {"1e308 * 10 + 5", 5},
      {"1e308 + 1e308", 0},       // an overflowing sum
      {"-1e308 - 1e308", 0},
      {"1e999-1e999", 0},         // infinity minus infinity
      {"1e999 - 1e999 + 7", 7},   // each operand counts as 0
      {"1e300 / 1e-300", 0},      // an overflowing quotient
      {"1 / 1e999", 0},           // a divisor that counts as 0
      {"(1e308 * 10) * 0 + 3", 3},
      {"1e308 * 1", 1e308},       // large but finite stays
      {"1e-320 * 1", 1e-320},     // denormal but finite stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double value = record_->EvaluateFormula(c.text, -1, -1);
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_DOUBLE_EQ(value, c.value);
  }
}

TEST(CompDbRecord, FormulaCellsThatAreNotFiniteShowZero) {
  auto table = Parse(
      "T\nM\tA\tB\tC\tD\nmodel\topt\tPrice\tmass\tsum\n\n"
      "x\t?1:a;b\t!1:1e999\t1e308*10!\t!1:1;2 + (1e999-1e999)\n");
  CompDbRecord* r = table->GetRecord(0);
  EXPECT_STREQ(r->GetText(2), "0.00");  // the price key: two decimals
  EXPECT_DOUBLE_EQ(r->GetDouble(2), 0);
  EXPECT_DOUBLE_EQ(r->GetDoubleByName("Price"), 0);
  EXPECT_STREQ(r->GetText(3), "0.000000");
  EXPECT_DOUBLE_EQ(r->GetDouble(3), 0);
  EXPECT_EQ(r->GetInt(3), 0);
  EXPECT_STREQ(r->GetText(4), "1.000000");
  r->SetOptions("1:1;");
  EXPECT_STREQ(r->GetText(4), "2.000000");
}

TEST_F(Formula, RangeLimits) {
  const char* text = "1 + 2 + 3";
  EXPECT_DOUBLE_EQ(record_->EvaluateFormula(text, 4, -1), 5);
  EXPECT_DOUBLE_EQ(record_->EvaluateFormula(text, 0, 5), 3);
  EXPECT_DOUBLE_EQ(record_->EvaluateFormula(text, 0, 1000), 6);
  EXPECT_DOUBLE_EQ(record_->EvaluateFormula(text, 6, 2), 0);
  EXPECT_DOUBLE_EQ(record_->EvaluateFormula(nullptr, -1, -1), 0);
}

TEST_F(Formula, LongAndDeepFormulasStayBounded) {
  std::string chain = "1";
  for (int i = 0; i < 4000; ++i) chain += "+1";
  EXPECT_DOUBLE_EQ(record_->EvaluateFormula(chain.c_str(), -1, -1), 4001);

  std::string deep;
  for (int i = 0; i < 3000; ++i) deep += "1+(";
  deep += "1";
  deep += std::string(3000, ')');
  double value = record_->EvaluateFormula(deep.c_str(), -1, -1);
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_GT(value, 0);
}

TEST(CompDbRecord, FormulaCellsPrintTheirValue) {
  auto table = Parse(
      "T\nM\tA\tB\tC\tD\nmodel\tPrice\tPRICE\tmass\tbig\n\n"
      "x\t?1:a;b\t!1:10;20 / 3\t!1:1.5;2\t!1:1e300;1\n");
  CompDbRecord* r = table->GetRecord(0);
  EXPECT_STREQ(r->GetText(2), "3.33");  // the price key in any case
  EXPECT_STREQ(r->GetText(3), "1.500000");
  std::string big = r->GetText(4);      // too long for "%f": still bounded
  EXPECT_LT(big.size(), 64u);
  EXPECT_DOUBLE_EQ(atof(big.c_str()), 1e300);
  EXPECT_DOUBLE_EQ(r->GetDouble(4), 1e300);
  r->SetOptions("1:1;");
  EXPECT_STREQ(r->GetText(2), "6.67");
  EXPECT_EQ(r->GetInt(3), 2);
  // A plain cell with operators is not a formula.
  r->SetCell(3, "2*3");
  EXPECT_STREQ(r->GetText(3), "2*3");
  EXPECT_DOUBLE_EQ(r->GetDouble(3), 2);
}

TEST(CompDbRecord, NumbersFromText) {
  auto table = Parse("T\nM\tA\nm\ta\n\nx\t  -12.75e1 V\n");
  CompDbRecord* r = table->GetRecord(0);
  EXPECT_DOUBLE_EQ(r->GetDouble(1), -127.5);
  r->SetCell(1, "-12.75");
  EXPECT_EQ(r->GetInt(1), -12);
  r->SetCell(1, "99999999999999");
  EXPECT_EQ(r->GetInt(1), 2147483647);
  r->SetCell(1, "none");
  EXPECT_EQ(r->GetInt(1), 0);
  EXPECT_DOUBLE_EQ(r->GetDouble(1), 0);
  r->SetCell(1, nullptr);
  EXPECT_EQ(r->GetCell(1), nullptr);
  EXPECT_STREQ(r->GetText(1), "");
}

TEST(CompDbTable, BuiltInCode) {
  CompDbTable table(L"code");
  CompDbColumn* model = new CompDbColumn(&table);
  CompDbColumn* value = new CompDbColumn(&table);
  EXPECT_EQ(value->GetWidth(), -1);
  EXPECT_FALSE(value->IsExported());
  EXPECT_EQ(value->GetDivisor(), 0);
  model->SetExportName("model");
  value->SetExportName("v");
  value->SetChoices("a;b");
  ASSERT_EQ(table.GetColumnCount(), 2);
  EXPECT_EQ(table.GetColumn(1), value);

  CompDbRecord* r = new CompDbRecord(&table);
  EXPECT_EQ(r->GetCell(0), nullptr);
  r->SetCell(0, "m1");
  r->SetCell(1, "1");
  r->SetCell(2, "ignored");
  EXPECT_EQ(table.FindRecord("m1"), r);
  EXPECT_STREQ(r->GetDisplayText(1), "b");

  ASSERT_TRUE(table.ResizeRecords(3));
  EXPECT_EQ(table.GetRecordCount(), 3);
  EXPECT_EQ(table.GetRecord(0), r);
  EXPECT_EQ(table.GetRecord(2)->GetCell(1), nullptr);
  ASSERT_TRUE(table.ResizeColumns(1));
  EXPECT_EQ(table.GetColumnCount(), 1);
  EXPECT_EQ(r->GetColumn(1), nullptr);
  EXPECT_EQ(table.FindColumn("v"), -1);
  ASSERT_TRUE(table.ResizeRecords(1));
  EXPECT_EQ(table.GetRecordCount(), 1);
  table.SetCaption("Своя");
  EXPECT_STREQ(table.GetCaption(), "Своя");
}

TEST(CompDbFolders, KeepCopies) {
  KeepDbFolders keepFolders;
  std::wstring path = L"C:\\prog\\VelkDB\\";
  SetComponentDbFolder(path.c_str());
  path[0] = L'X';
  EXPECT_STREQ(GetComponentDbFolder(), L"C:\\prog\\VelkDB\\");
  SetImagesFolder(L"C:\\prog\\VelkDB\\images\\");
  EXPECT_STREQ(GetImagesFolder(), L"C:\\prog\\VelkDB\\images\\");
  SetImagesFolder(nullptr);
  EXPECT_STREQ(GetImagesFolder(), L"");
}

// The sample database of the repository, data/VelkDB/, found from this
// source file's own path (a Unix path under Wine is reached through Z:).
std::wstring SampleDatabaseFolder() {
  std::string file = __FILE__;
  for (int up = 0; up < 4; ++up) {
    size_t cut = file.find_last_of("/\\");
    if (cut == std::string::npos) return std::wstring();
    file.resize(cut);
  }
  std::wstring root(file.begin(), file.end());
  for (wchar_t& c : root)
    if (c == L'/') c = L'\\';
  if (!root.empty() && root[0] == L'\\') root = L"Z:" + root;
  return root + L"\\data\\VelkDB\\";
}

std::vector<std::wstring> TableNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    names.push_back(name.substr(0, name.size() - 4));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(SampleDatabase, EveryTableLoadsAndReads) {
  KeepDbFolders keepFolders;
  std::wstring folder = SampleDatabaseFolder();
  SetComponentDbFolder(folder.c_str());
  std::vector<std::wstring> names = TableNames(folder);
  ASSERT_GE(names.size(), 2u) << "no tables in " << std::string(folder.begin(), folder.end());

  int hidden = 0, divisors = 0, strings = 0, ownChoices = 0, options = 0, formulas = 0;
  int pictures = 0, missingPictures = 0;
  for (const std::wstring& name : names) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    CompDbTable table(name.c_str());
    ASSERT_TRUE(table.Load());
    std::string caption = table.GetCaption();
    EXPECT_NE(caption, CompDbTable::PresetCaption());
    // A Russian caption, read as code page 1251 text ("DC-DC преобразователи").
    EXPECT_TRUE(std::any_of(caption.begin(), caption.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0xC0u; }));
    ASSERT_GE(table.GetColumnCount(), 3);
    ASSERT_GE(table.GetRecordCount(), 2);
    EXPECT_EQ(table.FindColumn("model"), 0);
    EXPECT_GE(table.FindColumn("price"), 1);
    for (int c = 0; c < table.GetColumnCount(); ++c) {
      CompDbColumn* column = table.GetColumn(c);
      EXPECT_GT(strlen(column->GetName()), 0u);
      EXPECT_GT(strlen(column->GetExportName()), 0u);
      if (c > 0 && column->GetWidth() <= 0) ++hidden;
      if (column->GetDivisor() != 0) ++divisors;
      if (column->IsStringExport()) ++strings;
      if (column->HasChoices()) ++ownChoices;
    }
    for (int r = 0; r < table.GetRecordCount(); ++r) {
      CompDbRecord* record = table.GetRecord(r);
      EXPECT_GT(strlen(record->GetDisplayText(0)), 0u);
      EXPECT_EQ(table.FindRecord(record->GetCell(0)), record);  // models are unique
      for (int c = 0; c < table.GetColumnCount(); ++c) {
        const char* cell = record->GetCell(c);
        ASSERT_NE(cell, nullptr);
        if (record->GetOptionKey(c) != 0) {
          ++options;
          EXPECT_GT(record->GetChoiceItemCount(c), 0);
          EXPECT_NE(record->FindOption(record->GetOptionKey(c)), nullptr);
          EXPECT_GT(strlen(record->GetText(c)), 0u);
        } else if (strchr(cell, '!')) {
          ++formulas;
        }
        EXPECT_TRUE(std::isfinite(record->GetDouble(c)));
      }
      // Every choice of every option gives a price.
      for (int i = 0; i < record->GetOptionCount(); ++i) {
        CompDbOption* option = record->GetOption(i);
        int count = 0;
        for (int c = 0; c < table.GetColumnCount(); ++c)
          if (record->GetOptionKey(c) == option->key)
            count = std::max(count, record->GetChoiceItemCount(c));
        for (option->choice = 0; option->choice < count; ++option->choice)
          EXPECT_GT(record->GetDoubleByName("price"), 0) << record->FormatOptions();
        option->choice = 0;
      }
      std::string image = record->GetTextByName("image");
      if (!image.empty()) {
        ++pictures;
        if (!FileExists(folder + L"images\\" + std::wstring(image.begin(), image.end())))
          ++missingPictures;
      }
    }
  }
  EXPECT_GT(hidden, 0);
  EXPECT_GT(divisors, 0);
  EXPECT_GT(strings, 0);
  EXPECT_GT(ownChoices, 0);
  EXPECT_GT(options, 0);
  EXPECT_GT(formulas, 0);
  EXPECT_GE(pictures, 4);
  EXPECT_EQ(missingPictures, 1);  // one model's picture is missing on purpose
}

TEST(SampleDatabase, OptionsDrivePrices) {
  KeepDbFolders keepFolders;
  SetComponentDbFolder(SampleDatabaseFolder().c_str());
  CompDbTable servo(L"servo");
  ASSERT_TRUE(servo.Load());
  EXPECT_EQ(servo.GetCaption(), Cp1251(L"Сервоприводы"));
  CompDbRecord* ds = servo.FindRecord("DS3218");
  ASSERT_NE(ds, nullptr);
  EXPECT_STREQ(ds->GetTextByName("price"), "1320.00");
  ds->SetOptions("2:1;");
  EXPECT_STREQ(ds->GetTextByName("price"), "1440.00");
  EXPECT_EQ(ds->GetTextByName("gear"), Cp1251(L"металл с подшипником"));
  EXPECT_EQ(ds->GetTextByName("kind"), Cp1251(L"Мощный\tвлагозащищённый"));
  EXPECT_STREQ(ds->FormatOptions(), "2:1;");

  CompDbTable batteries(L"batteries");
  ASSERT_TRUE(batteries.Load());
  CompDbRecord* lead = batteries.GetRecord(2);
  EXPECT_DOUBLE_EQ(lead->GetDoubleByName("price"), 1900);
  lead->SetOptions("1:1;");
  EXPECT_DOUBLE_EQ(lead->GetDoubleByName("price"), 2050);
  EXPECT_EQ(lead->GetDisplayText(batteries.FindColumn("chem")), Cp1251(L"свинцово-кислотный"));
}

}  // namespace
