// The language-element file reader, without windows: what it gives the tree
// and the examples list for fixture files written as ANSI text.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script/editor/script_tool_file.h"
#include "support/test_support.h"

namespace {

// The bytes of a text in the ANSI code page (1251 under the tests).
std::string Ansi(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
  return bytes;
}

// Records what the reader adds, groups numbered from 1 in their order.
class Recorder : public ScriptToolTarget {
public:
  void* AddGroup(void* parent, const wchar_t* text) override {
    groups.push_back(Name(parent) + L"/" + text);
    names.push_back(text);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(names.size()));
  }
  void AddElement(void* parent, const wchar_t* label, ScriptToolItem* item) override {
    elements.push_back(Name(parent) + L"/" + label);
    items.push_back(item);
  }
  void AddExample(const wchar_t* name, ScriptExample* example) override {
    exampleNames.push_back(name);
    examples.push_back(example);
  }
  std::wstring Name(void* handle) const {
    size_t index = static_cast<size_t>(reinterpret_cast<uintptr_t>(handle));
    return index == 0 ? L"" : names[index - 1];
  }

  std::vector<std::wstring> names, groups, elements, exampleNames;
  std::vector<ScriptToolItem*> items;
  std::vector<ScriptExample*> examples;
};

class ToolFileTest : public ::testing::Test {
protected:
  ~ToolFileTest() override {
    DeleteScriptToolItems(&itemList);
    DeleteScriptExamples(&exampleList);
  }
  bool Read(const std::string& bytes) {
    folder.WriteFile(L"jstool.txt", bytes);
    return ReadScriptToolFile(folder.File(L"jstool.txt").c_str(), &itemList, &exampleList, &recorder);
  }
  static std::wstring Text(const wchar_t* text) { return text ? text : L"(none)"; }

  velktest::TempFolder folder;
  Recorder recorder;
  ScriptToolItem* itemList = nullptr;
  ScriptExample* exampleList = nullptr;
};

TEST_F(ToolFileTest, GroupsSubgroupsElementsAndExamples) {
  std::wstring file =
      L"A comment before anything\n"
      L"*Root description\n"
      L"Root\n"
      L"a|b\n"
      L"++Loose\n"
      L"+Операторы\n"
      L"*Цикл со счётчиком\n"
      L"For\n"
      L"for (var i = 0; i < |; i++) {\\n}\n"
      L"\n"
      L"++Math\n"
      L"*Or\n"
      L"Or\n"
      L"a \\2 b\n"
      L"ignored line\n"
      L"*Bar\n"
      L"Bar\n"
      L"x \\| y\n"
      L"*Tab\n"
      L"Tab\n"
      L"\\tz|\n"
      L"+Second\n"
      L"*\n"
      L"Empty\n"
      L"q\\x\\\n"
      L"--\n"
      L"skipped before the first example\n"
      L"*Ex1\n"
      L"a = 1;\n"
      L"b = 2;\n"
      L"--\n"
      L"*Ex2\n"
      L"y = 0;\n"
      L"--x;\n"
      L"z = 1;\n"
      L"*Ex3\n"
      L"last = 1;";
  ASSERT_TRUE(Read(Ansi(file)));
  EXPECT_EQ(recorder.groups,
            (std::vector<std::wstring>{L"/Loose", L"/Операторы", L"Операторы/Math", L"/Second"}));
  EXPECT_EQ(recorder.elements, (std::vector<std::wstring>{L"/Root", L"Операторы/For", L"Math/Or", L"Math/Bar",
                                                          L"Math/Tab", L"Second/Empty"}));
  struct Expected {
    const wchar_t* description;
    const wchar_t* insert;
    int caret;
  } expected[] = {
      {L"Root description", L"a b", 1},
      {L"Цикл со счётчиком", L"for (var i = 0; i <  ; i++) {\r\n}", 20},
      {L"Or", L"a || b", 0},
      {L"Bar", L"x  | y", 0},
      {L"Tab", L" \tz ", 3},
      {L"", L"q\\x\\", 0},
  };
  ASSERT_EQ(recorder.items.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Text(recorder.items[i]->description), expected[i].description);
    EXPECT_EQ(Text(recorder.items[i]->insertText), expected[i].insert);
    EXPECT_EQ(recorder.items[i]->caretOffset, expected[i].caret);
  }
  // The lists are newest first.
  EXPECT_EQ(itemList, recorder.items.back());
  EXPECT_EQ(recorder.exampleNames, (std::vector<std::wstring>{L"Ex1", L"Ex2", L"Ex3"}));
  ASSERT_EQ(recorder.examples.size(), 3u);
  EXPECT_EQ(Text(recorder.examples[0]->text), L"a = 1;\r\nb = 2;");
  EXPECT_EQ(Text(recorder.examples[1]->text), L"y = 0;");
  EXPECT_EQ(Text(recorder.examples[2]->text), L"last = 1;");
  EXPECT_EQ(exampleList, recorder.examples[2]);
}

TEST_F(ToolFileTest, WithoutTheSeparatorThereAreNoExamples) {
  ASSERT_TRUE(Read("+G\n*d\nL\nx\n*Example\ntext\n"));
  EXPECT_EQ(recorder.elements, (std::vector<std::wstring>{L"G/L"}));
  // "*Example" starts an element whose label is "text" and which has no
  // insert line: the file ends inside it, nothing more is added.
  EXPECT_TRUE(recorder.exampleNames.empty());
  EXPECT_EQ(exampleList, nullptr);
}

TEST_F(ToolFileTest, ASeparatorFirstGivesOnlyExamples) {
  ASSERT_TRUE(Read("--\n+NotAGroup\n*Only\nx = 1;\n"));
  EXPECT_TRUE(recorder.groups.empty());
  EXPECT_TRUE(recorder.elements.empty());
  EXPECT_EQ(recorder.exampleNames, (std::vector<std::wstring>{L"Only"}));
  EXPECT_EQ(Text(recorder.examples[0]->text), L"x = 1;");
}

TEST_F(ToolFileTest, AnExampleWithoutLinesHasNoText) {
  ASSERT_TRUE(Read("--\n*Empty\n--\n*Next\r\nn = 1;\r\n"));
  EXPECT_EQ(recorder.exampleNames, (std::vector<std::wstring>{L"Empty", L"Next"}));
  EXPECT_EQ(recorder.examples[0]->text, nullptr);
  EXPECT_EQ(Text(recorder.examples[1]->text), L"n = 1;");
}

TEST_F(ToolFileTest, LongLinesArriveInPiecesOf255Bytes) {
  // The label line is 300 bytes: its first 255 are the label, the other 45
  // the insert text.
  std::string label(255, 'L');
  std::string rest(45, 'r');
  ASSERT_TRUE(Read("*d\n" + label + rest + "\n+G\n"));
  ASSERT_EQ(recorder.items.size(), 1u);
  EXPECT_EQ(recorder.elements[0], L"/" + std::wstring(255, L'L'));
  EXPECT_EQ(Text(recorder.items[0]->insertText), std::wstring(45, L'r'));
  EXPECT_EQ(recorder.groups, (std::vector<std::wstring>{L"/G"}));
}

TEST_F(ToolFileTest, AMissingFileAddsNothing) {
  EXPECT_FALSE(ReadScriptToolFile(folder.File(L"missing.txt").c_str(), &itemList, &exampleList, &recorder));
  EXPECT_EQ(itemList, nullptr);
  EXPECT_TRUE(recorder.groups.empty());
}

TEST(ScriptInsertLine, RewritesKeepTheLength) {
  struct Case {
    const char* line;
    const char* rewritten;
    int caret;
  } cases[] = {
      {"", "", 0},
      {"plain", "plain", 0},
      {"a|b|c", "a b c", 3},  // the last mark wins
      {"x\\ny", "x\r\ny", 0},
      {"\\2", "||", 0},
      {"\\t", " \t", 0},
      {"a \\| b", "a  | b", 0},
      {"\\q|", "\\q ", 2},
      {"\\\\|", "\\\\ ", 2},  // a backslash pair stays, the bar after it marks
      {"end\\", "end\\", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    char line[kScriptToolLineBytes];
    strcpy(line, c.line);
    EXPECT_EQ(RewriteScriptInsertLine(line), c.caret);
    EXPECT_STREQ(line, c.rewritten);
  }
}

}  // namespace
