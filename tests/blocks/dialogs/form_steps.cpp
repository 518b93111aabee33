#include "blocks/dialogs/form_steps.h"

#include <gtest/gtest.h>

#include <set>

#include "kestui/forms/kest_custom_form.h"
#include "support/form_queries.h"
#include "support/test_support.h"

namespace dialogtest {
namespace {

struct StepState {
  std::vector<Step> steps;
  size_t next = 0;
  std::set<HWND> handled;
};

StepState& State() {
  static StepState state;
  return state;
}

// The newest shown modal form that got no step yet (MDI children and the
// main form are no dialogs).
CKestForm* NewForm() {
  StepState& state = State();
  for (int i = LiveForms.count - 1; i >= 0; --i) {
    auto* form = dynamic_cast<CKestForm*>(LiveForms.forms[i]);
    if (!form || form == MainKestForm) continue;
    HWND window = form->GetHandle();
    if (!window || !IsWindowVisible(window) || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) continue;
    if (state.handled.count(window)) continue;
    return form;
  }
  return nullptr;
}

void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
  StepState& state = State();
  if (state.next >= state.steps.size()) return;
  CKestForm* form = NewForm();
  if (!form) return;
  state.handled.insert(form->GetHandle());
  Step step = state.steps[state.next++];
  step(form);
}

}  // namespace

bool RunSteps(const std::function<bool()>& call, const std::vector<Step>& steps) {
  StepState& state = State();
  state.steps = steps;
  state.next = 0;
  state.handled.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 10, Answer);
  EXPECT_NE(0u, timer);
  bool answer = call();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  EXPECT_EQ(steps.size(), state.next) << "every step ran";
  state.steps.clear();
  return answer;
}

namespace {
BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> Descendants(CKestControl* form) {
  std::vector<HWND> windows;
  if (form && form->GetHandle()) EnumChildWindows(form->GetHandle(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindButton(CKestControl* form, const wchar_t* caption) {
  for (HWND window : Descendants(form)) {
    wchar_t name[32];
    GetClassNameW(window, name, 32);
    if (lstrcmpiW(name, L"Button") == 0 && velktest::WindowText(window) == caption) return window;
  }
  return nullptr;
}

void Press(CKestControl* form, const wchar_t* caption) {
  HWND button = FindButton(form, caption);
  ASSERT_NE(nullptr, button) << "no button";
  SendMessageW(button, BM_CLICK, 0, 0);
}

void Command(CKestControl* form, UINT command) { SendMessageW(form->GetHandle(), WM_COMMAND, command, 0); }

std::vector<std::wstring> Rows(CKestListView* list) {
  std::vector<std::wstring> rows;
  if (!list) return rows;
  for (int i = 0; i < list->GetItemCount(); ++i) {
    std::wstring row;
    for (int c = 0; c < list->GetColumnCount(); ++c) {
      wchar_t text[128] = L"";
      list->GetItemText(i, c, text, 128);
      if (c) row += L"|";
      row += text;
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace dialogtest
