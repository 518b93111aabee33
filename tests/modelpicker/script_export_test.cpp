// The script written for the chosen model: its exact text, and ExportScript
// through the form (output path, selection, files that cannot be written).
#include <cstdio>
#include <string>

#include "modelpicker/script_export.h"
#include "picker_fixture.h"

namespace {

using pickertest::Ansi;
using pickertest::LoadNamedTables;
using pickertest::PickerFormTest;
using pickertest::TestDatabase;

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// A table read from UTF-16 text (lines joined by "\n").
struct LoadedTable {
  explicit LoadedTable(const wchar_t* name, const wchar_t* text) : table(name) {
    std::string bytes = Ansi(text);
    loaded = table.LoadFromBytes(bytes.data(), bytes.size());
  }
  CompDbTable table;
  bool loaded;
};

// The example: table "servo", mass exported with divisor 1000 and the cell
// 250, kind as a string holding one double quote, one option cell (key 3)
// set to its second item; golden bytes with CR LF written out by hand.
const wchar_t* const kExampleTable =
    L"Servo\n"
    L"Model:100\tMass:60\tKind:100\tGear:80\n"
    L"model\tmass:1000\tkind:$\tgear\n"
    L"\t\t\t\n"
    L"X1\t250\tMicro 9\"\t?3:plastic;metal\n";

TEST(PickerScript, ExampleByteForByte) {
  LoadedTable t(L"servo", kExampleTable);
  ASSERT_TRUE(t.loaded);
  CompDbRecord* record = t.table.GetRecord(0);
  record->SetOptions("3:1;");
  std::string script = FormatScript(&t.table, record);
  EXPECT_EQ(
      "$.mass = 0.250000\n"
      "$.kind = \"Micro 9\\\"\"\n"
      "$.options = \"3:1;\"\n"
      "( if (findString $.name \"servo\")==undefined then $.name = uniqueName \"servo\" )\n",
      script);
}

TEST(PickerScript, ValueKinds) {
  LoadedTable t(L"мотор-редукторы",
                L"Моторы\n"
                L"Модель\tМасса\tЦена\tОписание\tПуть\tЗаметка\tКорпус\tСкрыто\tДоля\n"
                L"model\tmass:1000\tprice:1\tkind:$\tpath:$\tnote:\thousing:$\thidden\tpart:4\n"
                L"\t\t\t\t\t\t\t\t\n"
                L"Моя модель\t-250\t!1:180;320\tМоя \"лучший\"\tC:\\dir\\я.png\tкак есть \"x\"\t?1:пластик;металл\tскрыто\t1\n");
  ASSERT_TRUE(t.loaded);
  CompDbRecord* record = t.table.GetRecord(0);
  record->SetOptions("1:1;");
  // я (0xFF) is written as \xFF, quotes get a backslash, backslashes stay.
  std::string expected =
      "$.mass = -0.250000\n"
      "$.price = 320.000000\n" +
      Ansi(L"$.kind = \"Мо") + "\\xFF " + Ansi(L"\\\"лучший\\\"\"\n") +
      "$.path = \"C:\\dir\\\\xFF.png\"\n" +
      Ansi(L"$.note = как есть \"x\"\n") +
      Ansi(L"$.housing = \"металл\"\n") +
      "$.part = 0.250000\n"
      "$.options = \"1:1;\"\n" +
      Ansi(L"( if (findString $.name \"мотор-редукторы\")==undefined then $.name = uniqueName "
           L"\"мотор-редукторы\" )\n");
  EXPECT_EQ(expected, FormatScript(&t.table, record));
}

TEST(PickerScript, NoOptionsAndNoExportedColumns) {
  LoadedTable t(L"plain", L"Plain\nModel\tValue\nmodel\tvalue\n\t\nA\t1\n");
  ASSERT_TRUE(t.loaded);
  EXPECT_EQ(
      "$.options = \"\"\n"
      "( if (findString $.name \"plain\")==undefined then $.name = uniqueName \"plain\" )\n",
      FormatScript(&t.table, t.table.GetRecord(0)));
}

TEST(PickerScript, LongTextsAndNamesAreWrittenInFull) {
  std::wstring name(600, L'т');
  std::wstring text(700, L'я');
  std::wstring table = L"T\nModel\tKind\nmodel\tkind:$\n\t\nA\t" + text + L"\n";
  LoadedTable t(name.c_str(), table.c_str());
  ASSERT_TRUE(t.loaded);
  std::string escaped;
  for (int i = 0; i < 700; ++i) escaped += "\\xFF";
  std::string ansiName = Ansi(name.c_str());
  EXPECT_EQ("$.kind = \"" + escaped + "\"\n$.options = \"\"\n( if (findString $.name \"" +
                ansiName + "\")==undefined then $.name = uniqueName \"" + ansiName + "\" )\n",
            FormatScript(&t.table, t.table.GetRecord(0)));
}

TEST(PickerScript, EscapeKeepsEveryOtherByte) {
  EXPECT_EQ("", EscapeScriptText(nullptr));
  EXPECT_EQ("a\\\"b\\c\\xFF\xFE\x01", EscapeScriptText("a\"b\\c\xFF\xFE\x01"));
}

TEST(PickerScript, FileIsWrittenInTextModeWithCrLf) {
  velktest::TempFolder folder;
  ASSERT_TRUE(WriteScriptFile(folder.File(L"a.ms"), "one\ntwo\n"));
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"a.ms"),
                                   velktest::ParseHex("6F 6E 65 0D 0A 74 77 6F 0D 0A")));
  // An existing file is truncated.
  ASSERT_TRUE(WriteScriptFile(folder.File(L"a.ms"), "x\n"));
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"a.ms"), velktest::ParseHex("78 0D 0A")));
  EXPECT_FALSE(WriteScriptFile(folder.File(L"missing\\a.ms"), "x\n"));
  EXPECT_FALSE(WriteScriptFile(L"", "x\n"));
}

TEST(PickerScript, AFailedWriteIsReported) {
  // A device that is always full: the write or the close fails.
  FILE* full = _wfopen(L"Z:\\dev\\full", L"wt");
  ASSERT_NE(nullptr, full) << "the full device is needed for this test";
  EXPECT_FALSE(WriteScriptStream(full, std::string(100000, 'x')));
  EXPECT_FALSE(WriteScriptStream(nullptr, "x"));
}

// ---------------------------------------------------------------------------
// ExportScript through the form

class PickerExportTest : public PickerFormTest {
protected:
  void SetUp() override {
    PickerFormTest::SetUp();
    db.WriteTable(L"servo", kExampleTable);
    LoadNamedTables(&state, {L"servo"});
    state.outputPath = db.Folder().File(L"out.ms");
  }
  std::vector<uint8_t> Output() const { return velktest::ReadWholeFile(state.outputPath); }
  bool OutputExists() const {
    return GetFileAttributesW(state.outputPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  TestDatabase db;
  PickerState state;
};

TEST_F(PickerExportTest, ChooseWritesTheExampleAndClosesTheForm) {
  state.model = "X1";
  state.options = "3:1;";
  CMainForm* form = OpenForm(&state);
  HWND window = form->GetHandle();
  velktest::DialogAnswerer answer(IDOK);
  form->GetChooseButton()->Click();  // what the mouse does
  ASSERT_TRUE(velktest::PumpUntil([window] { return !IsWindow(window); }));
  EXPECT_EQ(0, answer.Count());
  EXPECT_TRUE(velktest::BytesEqual(
      Output(), Bytes("$.mass = 0.250000\r\n"
                      "$.kind = \"Micro 9\\\"\"\r\n"
                      "$.options = \"3:1;\"\r\n"
                      "( if (findString $.name \"servo\")==undefined then $.name = uniqueName "
                      "\"servo\" )\r\n")));
}

TEST_F(PickerExportTest, NothingSelectedWritesNothingAndStaysOpen) {
  CMainForm* form = OpenForm(&state);
  velktest::DialogAnswerer answer(IDOK);
  EXPECT_FALSE(form->ExportScript());
  SendMessageW(form->GetHandle(), WM_COMMAND, kPickerChooseButtonId,
               reinterpret_cast<LPARAM>(form->GetChooseButton()->GetHandle()));
  velktest::FlushEvents();
  EXPECT_EQ(1, LiveForms.count);
  EXPECT_FALSE(OutputExists());
  EXPECT_EQ(0, answer.Count());

  // A type without a model is not enough either.
  ClickType(form, 0);
  EXPECT_FALSE(form->ExportScript());
  EXPECT_FALSE(OutputExists());
}

TEST_F(PickerExportTest, WithoutAnOutputPathNothingIsWritten) {
  state.outputPath.clear();
  state.model = "X1";
  CMainForm* form = OpenForm(&state);
  ASSERT_NE(nullptr, form->GetSelectedRecord());
  velktest::DialogAnswerer answer(IDOK);
  EXPECT_FALSE(form->ExportScript());
  EXPECT_EQ(0, answer.Count());
}

TEST_F(PickerExportTest, AnUnwritablePathIsReportedAndTheFormStaysOpen) {
  state.outputPath = db.Folder().File(L"нет папки\\out.ms");
  state.model = "X1";
  CMainForm* form = OpenForm(&state);
  velktest::DialogAnswerer answer(IDOK);
  SendMessageW(form->GetHandle(), WM_COMMAND, kPickerChooseButtonId,
               reinterpret_cast<LPARAM>(form->GetChooseButton()->GetHandle()));
  velktest::FlushEvents();
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Ошибка экспорта", answer.Captions()[0]);
  EXPECT_EQ(L"Невозможно создать файл экспорта \"" + state.outputPath + L"\"", answer.Texts()[0]);
  EXPECT_EQ(1, LiveForms.count);
  EXPECT_TRUE(IsWindow(form->GetHandle()));
  EXPECT_FALSE(OutputExists());

  // The user may choose again once the path can be written.
  state.outputPath = db.Folder().File(L"out.ms");
  EXPECT_TRUE(form->ExportScript());
  EXPECT_TRUE(OutputExists());
  EXPECT_EQ(1, answer.Count());
}

}  // namespace
