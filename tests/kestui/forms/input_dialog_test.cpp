// ShowInputDialog: the text comes back on "OK" or Enter, nothing on an empty
// edit, "Отмена", Esc or the close box. The box is driven by messages that a
// hook posts when it becomes active, so its own modal loop handles them.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "foundation/buffers.h"
#include "kestui/kest_test_widgets.h"
#include "kestui/key_input.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/forms/kest_input_dialog.h"
#include "support/test_support.h"

namespace {

using keytest::KeyData;

enum class Finish { kOkButton, kEnter, kCancelButton, kEscape, kCloseBox };

struct Script {
  const wchar_t* typed;  // characters typed into the edit (VK_BACK erases)
  Finish finish;
};

// What the hook saw of the box.
struct Seen {
  HWND dialog = nullptr;
  std::wstring caption;
  std::wstring prompt;
  std::wstring initialText;
  bool ownerEnabled = true;
  int activations = 0;
};

const wchar_t* const kCaption = L"Новое имя";
const Script* currentScript = nullptr;
Seen seen;
HWND ownerWindow = nullptr;
HHOOK hook = nullptr;


std::wstring TextOf(HWND window) {
  if (!window) return L"";
  int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(window, &text[0], n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

BOOL CALLBACK FindPrompt(HWND child, LPARAM lParam) {
  wchar_t cls[64] = L"";
  GetClassNameW(child, cls, 64);
  if (wcscmp(cls, L"MainClass") == 0) *reinterpret_cast<std::wstring*>(lParam) = TextOf(child);
  return TRUE;
}

void Drive(HWND dialog) {
  ++seen.activations;
  if (seen.dialog) return;  // one script per box
  seen.dialog = dialog;
  seen.caption = TextOf(dialog);
  EnumChildWindows(dialog, FindPrompt, reinterpret_cast<LPARAM>(&seen.prompt));
  HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
  seen.initialText = TextOf(edit);
  if (ownerWindow) seen.ownerEnabled = IsWindowEnabled(ownerWindow) != FALSE;
  for (const wchar_t* p = currentScript->typed; *p; ++p) {
    if (*p == VK_BACK) {
      PostMessageW(edit, WM_KEYDOWN, VK_BACK, KeyData(VK_BACK, false));
      PostMessageW(edit, WM_KEYUP, VK_BACK, KeyData(VK_BACK, true));
    } else {
      PostMessageW(edit, WM_CHAR, *p, 1);
    }
  }
  switch (currentScript->finish) {
    case Finish::kOkButton:
      PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
      break;
    case Finish::kEnter:
      PostMessageW(edit, WM_KEYDOWN, VK_RETURN, KeyData(VK_RETURN, false));
      PostMessageW(edit, WM_KEYUP, VK_RETURN, KeyData(VK_RETURN, true));
      break;
    case Finish::kCancelButton:
      PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
      break;
    case Finish::kEscape:
      PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, KeyData(VK_ESCAPE, false));
      break;
    case Finish::kCloseBox:
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && currentScript) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (window != ownerWindow && TextOf(window) == kCaption) Drive(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class InputDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    seen = Seen();
    hook = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    owner = new CKestForm();
    ASSERT_TRUE(owner->Create(nullptr, L"Владелец", KestPos(20, 20), 400, 300, nullptr, false,
                              false, true, true));
    ownerWindow = owner->GetHandle();
    ownerEdit = new CKestEdit(owner, 1, KestPos(10, 10), 200, 21, false, 0, true);
    kesttest::ActivateWindow(ownerWindow);
    ownerEdit->SetFocus();
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook);
    currentScript = nullptr;
    if (IsWindow(ownerWindow)) DestroyWindow(ownerWindow);
    ownerWindow = nullptr;
    velktest::FlushEvents();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Runs the box with the script; answers its text ("<null>" for none).
  std::wstring Run(const wchar_t* initial, const Script& script) {
    currentScript = &script;
    wchar_t* text = ShowInputDialog(owner, kCaption, L"Введите имя детали:", initial);
    currentScript = nullptr;
    std::wstring result = text ? std::wstring(text) : L"<null>";
    FreeBuffer(text);
    return result;
  }

  CKestForm* owner = nullptr;
  CKestEdit* ownerEdit = nullptr;
};

TEST_F(InputDialogTest, AnswersTheTextOrNothing) {
  struct Case {
    const char* name;
    const wchar_t* initial;
    Script script;
    const wchar_t* expected;
  };
  const wchar_t erase[] = {VK_BACK, 0};
  const Case cases[] = {
      {"OK keeps the initial text", L"Резистор R1", {L"", Finish::kOkButton}, L"Резистор R1"},
      {"typing replaces the selected text", L"Резистор", {L"Ёмкость С2", Finish::kOkButton}, L"Ёмкость С2"},
      {"Enter is OK", L"", {L"Щуп", Finish::kEnter}, L"Щуп"},
      {"OK with nothing", L"", {L"", Finish::kOkButton}, L"<null>"},
      {"OK after erasing", L"Диод", {erase, Finish::kOkButton}, L"<null>"},
      {"null initial text", nullptr, {L"", Finish::kOkButton}, L"<null>"},
      {"Отмена", L"Диод", {L"Реле", Finish::kCancelButton}, L"<null>"},
      {"Esc", L"Диод", {L"Реле", Finish::kEscape}, L"<null>"},
      {"close box", L"Диод", {L"", Finish::kCloseBox}, L"<null>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen = Seen();
    std::wstring result = Run(c.initial, c.script);
    EXPECT_EQ(c.expected, result);
    ASSERT_NE(nullptr, seen.dialog) << "the box never became active";
    EXPECT_EQ(kCaption, seen.caption);
    EXPECT_EQ(L"Введите имя детали:", seen.prompt);
    EXPECT_EQ(c.initial ? c.initial : L"", seen.initialText);
    EXPECT_FALSE(seen.ownerEnabled);
    // The box is gone, the owner enabled again with its focus back.
    EXPECT_FALSE(IsWindow(seen.dialog));
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
    EXPECT_EQ(ownerEdit->GetHandle(), GetFocus());
  }
}

TEST_F(InputDialogTest, LaysTheBoxOutCentred) {
  // Look at the box while it is up, then cancel it.
  struct Layout {
    RECT dialog, edit, ok, cancel;
    HWND focus;
    HWND editWindow;
  };
  static Layout layout;
  layout = Layout();
  static const Script script = {L"", Finish::kCancelButton};
  currentScript = &script;
  wchar_t* text = nullptr;
  {
    // The hook posts the script; one more posted message, queued after the
    // activation, records the layout before the cancel click is handled.
    struct Probe {
      static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
          auto* msg = reinterpret_cast<MSG*>(lParam);
          if (msg->message == BM_CLICK && seen.dialog && IsWindow(seen.dialog) &&
              layout.focus == nullptr) {
            GetWindowRect(seen.dialog, &layout.dialog);
            GetWindowRect(FindWindowExW(seen.dialog, nullptr, L"Edit", nullptr), &layout.edit);
            GetWindowRect(GetDlgItem(seen.dialog, IDOK), &layout.ok);
            GetWindowRect(GetDlgItem(seen.dialog, IDCANCEL), &layout.cancel);
            layout.focus = GetFocus();
            layout.editWindow = FindWindowExW(seen.dialog, nullptr, L"Edit", nullptr);
          }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
      }
    };
    HHOOK probe = SetWindowsHookExW(WH_GETMESSAGE, Probe::Hook, nullptr, GetCurrentThreadId());
    text = ShowInputDialog(owner, kCaption, L"Имя:", L"x");
    UnhookWindowsHookEx(probe);
  }
  currentScript = nullptr;
  EXPECT_EQ(nullptr, text);
  FreeBuffer(text);
  ASSERT_NE(nullptr, layout.focus);
  EXPECT_EQ(400, layout.dialog.right - layout.dialog.left);
  EXPECT_EQ(130, layout.dialog.bottom - layout.dialog.top);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 400) / 2, layout.dialog.left);
  EXPECT_EQ(372, layout.edit.right - layout.edit.left);
  EXPECT_EQ(80, layout.ok.right - layout.ok.left);
  // The two buttons share a row, centred in the box.
  EXPECT_EQ(layout.ok.top, layout.cancel.top);
  EXPECT_LT(layout.ok.right, layout.cancel.left);
  int leftMargin = layout.ok.left - layout.dialog.left;
  int rightMargin = layout.dialog.right - layout.cancel.right;
  EXPECT_LE(std::abs(leftMargin - rightMargin), 8);
  EXPECT_GT(layout.ok.top, layout.edit.bottom);
  EXPECT_LE(layout.ok.bottom, layout.dialog.bottom);
  // The edit has the focus while the box is up.
  EXPECT_EQ(layout.editWindow, layout.focus);
}

}  // namespace
