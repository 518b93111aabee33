// The find dialog's search over the program text, as a table.
#include <cwchar>
#include <vector>

#include <gtest/gtest.h>

#include "script/editor/script_text_search.h"

namespace {

TEST(ScriptTextSearch, ForwardAndBackwardFromTheCaret) {
  struct Case {
    const wchar_t* text;
    int caret;
    const wchar_t* pattern;
    bool backward;
    int found;
  } cases[] = {
      // Forward: the first occurrence after the caret, never one at it.
      {L"abab", 0, L"ab", false, 2},
      {L"abab", 2, L"ab", false, -1},
      {L"abab", 1, L"ab", false, 2},
      {L"xabab", 0, L"ab", false, 1},
      {L"abab", 4, L"ab", false, -1},  // at the end: nothing, nothing read past it
      {L"abab", 3, L"b", false, -1},
      {L"", 0, L"a", false, -1},
      // Backward: the last occurrence that ends at the caret or before it.
      {L"abab", 4, L"ab", true, 2},
      {L"abab", 3, L"ab", true, 0},
      {L"abab", 2, L"ab", true, 0},
      {L"abab", 1, L"ab", true, -1},
      {L"abab", 0, L"ab", true, -1},
      // Exact comparison; an empty pattern or a caret outside finds nothing.
      {L"Abc abc", 0, L"ABC", false, -1},
      {L"Abc abc", 7, L"Abc", true, 0},
      {L"abc", 0, L"", false, -1},
      {L"abc", 9, L"a", true, -1},
      {L"abc", -1, L"a", false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "caret " << c.caret << (c.backward ? " backward" : " forward"));
    int length = static_cast<int>(wcslen(c.text));
    EXPECT_EQ(FindScriptText(c.text, length, c.caret, c.pattern, c.backward), c.found);
  }
}

TEST(ScriptTextSearch, RepeatedSearchesWalkThroughTheOccurrences) {
  const wchar_t text[] = L"x = x + x;";
  int length = static_cast<int>(wcslen(text));
  int caret = 0;
  std::vector<int> forward;
  for (int p; (p = FindScriptText(text, length, caret, L"x", false)) >= 0; caret = p) forward.push_back(p);
  EXPECT_EQ(forward, (std::vector<int>{4, 8}));
  std::vector<int> backward;
  for (int p; (p = FindScriptText(text, length, caret, L"x", true)) >= 0; caret = p) backward.push_back(p);
  EXPECT_EQ(backward, (std::vector<int>{4, 0}));
}

}  // namespace
