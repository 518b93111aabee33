// The command line: the tokenizer, the four arguments, the database folders,
// and the output and lock files of the hand-shake.
#include <string>
#include <vector>

#include "picker_fixture.h"
#include "scheme/database/compdb.h"

namespace {

using pickertest::Ansi;
using pickertest::ExeFolder;

std::vector<std::wstring> Tokens(const wchar_t* line, int count) {
  std::vector<std::wstring> tokens;
  const wchar_t* position = line;
  for (int i = 0; i < count; ++i) tokens.push_back(GetNextArgument(&position));
  return tokens;
}

TEST(PickerTokenizer, SplitsArguments) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> expected;  // the next arguments, in order
  };
  const Case cases[] = {
      {L"servo SG90", {L"servo", L"SG90", L""}},
      {L"  \t servo\t\tSG90  ", {L"servo", L"SG90", L""}},
      {L"\"two words\" one", {L"two words", L"one", L""}},
      {L"\"\" \"\" x", {L"", L"", L"x"}},
      {L"\"\"\"\"", {L"", L"", L""}},
      // A quote inside an unquoted argument is an ordinary character.
      {L"ab\"cd ef", {L"ab\"cd", L"ef", L""}},
      // The closing quote ends the argument; what follows starts the next.
      {L"\"ab\"cd ef", {L"ab", L"cd", L"ef"}},
      // An unclosed quote runs to the end of the line.
      {L"\"open end", {L"open end", L"", L""}},
      {L"", {L"", L""}},
      {L"a\\b \"c:\\x y\\\"", {L"a\\b", L"c:\\x y\\", L""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line [" << Ansi(c.line) << "]");
    EXPECT_EQ(c.expected, Tokens(c.line, static_cast<int>(c.expected.size())));
  }
}

TEST(PickerTokenizer, LongArgumentsAreTakenWhole) {
  // Longer than any fixed buffer: nothing of them spills into the next
  // argument (which could name a file the caller never gave).
  std::wstring longName(600, L'a');
  std::wstring longPath = L"C:\\" + std::wstring(700, L'p') + L".ms";
  std::wstring line = longName + L" \"" + longPath + L"\" tail";
  EXPECT_EQ((std::vector<std::wstring>{longName, longPath, L"tail", L""}),
            Tokens(line.c_str(), 4));
}

struct ParsedCase {
  const char* name;
  const wchar_t* line;
  std::vector<std::wstring> tables;
  std::string model;
  std::string options;
  std::wstring output;
};

TEST(PickerCommandLine, FillsTheSettings) {
  const ParsedCase cases[] = {
      {"four arguments", L"servo;resisters \"SG90 Micro\" \"\" \"C:\\tmp\\my model.ms\"",
       {L"servo", L"resisters"}, "SG90 Micro", "", L"C:\\tmp\\my model.ms"},
      {"options", L"servo SG90 2:1;3:0; C:\\out.ms", {L"servo"}, "SG90", "2:1;3:0;", L"C:\\out.ms"},
      {"leading ;", L";servo", {L"", L"servo"}, "", "", L""},
      {"empty between", L"a;;b;", {L"a", L"", L"b"}, "", "", L""},
      {"trailing ;", L"a;", {L"a"}, "", "", L""},
      {"only ;", L";", {L""}, "", "", L""},
      {"more than four", L"a b c d e f", {L"a"}, "b", "c", L"d"},
      {"three", L"a b c", {L"a"}, "b", "c", L""},
      {"empty quotes", L"\"\" \"\" \"\" \"\"", {}, "", "", L""},
      {"nothing", L"", {}, "", "", L""},
      {"Cyrillic", L"сервоприводы \"Модель я\" 1:1; \"C:\\вывод.ms\"", {L"сервоприводы"},
       Ansi(L"Модель я"), "1:1;", L"C:\\вывод.ms"},
  };
  for (const ParsedCase& c : cases) {
    SCOPED_TRACE(c.name);
    PickerState state;
    ParseCommandLine(c.line, &state);
    std::vector<std::wstring> tables;
    for (const auto& table : state.tables) tables.push_back(table->GetName());
    EXPECT_EQ(c.tables, tables);
    EXPECT_EQ(c.model, state.model);
    EXPECT_EQ(c.options, state.options);
    EXPECT_EQ(c.output, state.outputPath);
  }
}

TEST(PickerCommandLine, LongArgumentsStayInTheirPlace) {
  std::string model(1000, 'M');
  std::wstring line = L"servo " + std::wstring(model.begin(), model.end()) + L" 1:0; out.ms";
  PickerState state;
  ParseCommandLine(line.c_str(), &state);
  EXPECT_EQ(model, state.model);
  EXPECT_EQ("1:0;", state.options);
  EXPECT_EQ(L"out.ms", state.outputPath);
}

TEST(PickerLockFile, NameRule) {
  struct Case {
    const wchar_t* output;
    const wchar_t* lock;
  };
  const Case cases[] = {
      {L"C:\\tmp\\model.ms", L"C:\\tmp\\model.lock"},
      {L"C:\\tmp\\model", L"C:\\tmp\\model.lock"},
      {L"C:\\tmp.dir\\model", L"C:\\tmp.dir\\model.lock"},
      {L"C:/tmp.dir/model", L"C:/tmp.dir/model.lock"},
      {L"C:\\tmp\\model.max.ms", L"C:\\tmp\\model.max.lock"},
      {L"model.ms", L"model.lock"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Ansi(c.output));
    EXPECT_EQ(std::wstring(c.lock), LockFilePath(c.output));
  }
  std::wstring longPath = L"C:\\" + std::wstring(400, L'x') + L".ms";
  EXPECT_EQ(L"C:\\" + std::wstring(400, L'x') + L".lock", LockFilePath(longPath));
}

TEST(PickerLockFile, OutputAndLockFilesAreDeletedOnlyWithAnOutputPath) {
  velktest::TempFolder folder;
  ASSERT_TRUE(folder.WriteFile(L"model.ms", "old script"));
  ASSERT_TRUE(folder.WriteFile(L"model.lock", ""));

  PickerState without;
  ParseCommandLine(L"servo SG90 \"\"", &without);
  EXPECT_FALSE(DeleteOutputFile(without));
  EXPECT_FALSE(DeleteLockFile(without));

  PickerState state;
  std::wstring line = L"servo SG90 \"\" \"" + folder.File(L"model.ms") + L"\"";
  ParseCommandLine(line.c_str(), &state);
  EXPECT_TRUE(DeleteOutputFile(state));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.File(L"model.ms").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.File(L"model.lock").c_str()));
  EXPECT_TRUE(DeleteLockFile(state));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.File(L"model.lock").c_str()));
  // Files that are not there: nothing to report.
  EXPECT_FALSE(DeleteOutputFile(state));
  EXPECT_FALSE(DeleteLockFile(state));
}

TEST(PickerTables, LoadedInOrderAndMissingOnesShowTheErrorCaption) {
  InitDatabasePathsFrom(ExeFolder());
  EXPECT_EQ(ExeFolder() + L"VelkDB\\", GetComponentDbFolder());
  EXPECT_EQ(ExeFolder() + L"VelkDB\\images\\", GetImagesFolder());
  PickerState state;
  ParseCommandLine(L";servo;нет_такой;batteries", &state);
  ASSERT_EQ(4, state.GetTableCount());
  EXPECT_EQ(2, LoadTables(&state));
  EXPECT_STREQ(CompDbTable::PresetCaption(), state.GetTable(0)->GetCaption());
  EXPECT_EQ(Ansi(L"Сервоприводы"), state.GetTable(1)->GetCaption());
  EXPECT_STREQ(CompDbTable::PresetCaption(), state.GetTable(2)->GetCaption());
  EXPECT_EQ(0, state.GetTable(2)->GetRecordCount());
  EXPECT_EQ(Ansi(L"Аккумуляторы"), state.GetTable(3)->GetCaption());
  EXPECT_EQ(nullptr, state.GetTable(4));
  EXPECT_EQ(nullptr, state.GetTable(-1));
}

}  // namespace

namespace {

TEST(PickerText, ConversionsKeepLongTextsWhole) {
  std::wstring wide;
  for (int i = 0; i < 1000; ++i) wide += (i % 2) ? L'я' : L'Z';
  std::string ansi = WideToAnsi(wide);
  ASSERT_EQ(1000u, ansi.size());
  EXPECT_EQ('\xFF', ansi[1]);
  EXPECT_EQ(wide, AnsiToWide(ansi.c_str()));
  EXPECT_EQ(L"", AnsiToWide(nullptr));
  EXPECT_EQ("", WideToAnsi(L""));
}

}  // namespace
