#include "blocks/dialogs/input_box_steps.h"

#include <windows.h>

#include <utility>

#include <gtest/gtest.h>

#include "blocks/engine/block.h"
#include "kestui/forms/kest_form.h"
#include "support/form_queries.h"
#include "support/test_support.h"

namespace dialogtest {
namespace {

InputBoxScript* currentBox = nullptr;

BOOL CALLBACK FindPromptLabel(HWND child, LPARAM lParam) {
  wchar_t cls[64] = L"";
  GetClassNameW(child, cls, 64);
  if (wcscmp(cls, L"MainClass") == 0) *reinterpret_cast<std::wstring*>(lParam) = velktest::WindowText(child);
  return TRUE;
}

BOOL CALLBACK FindButton(HWND child, LPARAM lParam) {
  auto* wanted = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(lParam);
  wchar_t cls[64] = L"";
  GetClassNameW(child, cls, 64);
  if (_wcsicmp(cls, L"Button") == 0 && velktest::WindowText(child) == wanted->first) {
    wanted->second = child;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK AnswerInputBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = GetActiveWindow();
  if (!box || !MainKestForm || box == MainKestForm->GetHandle() || !IsWindowVisible(box)) return;
  HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  if (!edit) return;
  KillTimer(nullptr, id);
  InputBoxScript& script = *currentBox;
  script.seen = true;
  script.caption = velktest::WindowText(box);
  EnumChildWindows(box, FindPromptLabel, reinterpret_cast<LPARAM>(&script.prompt));
  script.initial = velktest::WindowText(edit);
  SetWindowTextW(edit, script.typed.c_str());
  std::pair<const wchar_t*, HWND> button(script.ok ? L"OK" : L"Отмена", nullptr);
  EnumChildWindows(box, FindButton, reinterpret_cast<LPARAM>(&button));
  if (button.second) SendMessageW(button.second, BM_CLICK, 0, 0);
}

}  // namespace

bool RunInputBox(CBEBlock* block, InputBoxScript* script) {
  currentBox = script;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, AnswerInputBox);
  EXPECT_NE(0u, timer);
  bool answer = block->ShowProperties();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  currentBox = nullptr;
  EXPECT_TRUE(script->seen) << "the box was shown";
  return answer;
}

}  // namespace dialogtest
