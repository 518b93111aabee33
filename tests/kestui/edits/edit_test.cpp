// Edits, memos and spin edits: the character filter of the form, Enter and
// Tab, Edit-menu answers, clipboard and undo, caret line and column, and the
// spin edit's clamping, formatting, stepping and notifications.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cwchar>
#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "kestui/kest_test_widgets.h"
#include "kestui/key_input.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_memo.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/edits/kest_up_down.h"
#include "kestui/forms/kest_form.h"
#include "support/test_support.h"

namespace {

using keytest::KeyData;
using keytest::PressKey;
using keytest::RunLoopUntilIdle;
using keytest::TestPanel;

// A form that records commands and the characters offered to it, and
// refuses the characters in `blocked`.
class EditForm : public CKestForm {
public:
  EditForm() { Create(nullptr, L"Правка", KestPos(30, 30), 460, 340, nullptr, false, false, true, true); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    }
    if (message == WM_KEST_CHAR) {
      offered.push_back({static_cast<wchar_t>(wParam), reinterpret_cast<HWND>(lParam)});
      return blocked.find(static_cast<wchar_t>(wParam)) != std::wstring::npos ? 1 : 0;
    }
    return CKestForm::WindowProc(message, wParam, lParam);
  }
  int Count(HWND sender, int code) const {
    int n = 0;
    for (const auto& c : commands) n += (c.sender == sender && c.code == code) ? 1 : 0;
    return n;
  }

  struct Command {
    int id;
    int code;
    HWND sender;
  };
  struct Offer {
    wchar_t ch;
    HWND edit;
  };
  std::vector<Command> commands;
  std::vector<Offer> offered;
  std::wstring blocked;
};





void Type(HWND window, const wchar_t* text) {
  for (const wchar_t* p = text; *p; ++p) SendMessageW(window, WM_CHAR, *p, 1);
}

std::wstring TextOf(HWND window) {
  int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(window, &text[0], n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

class EditTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new EditForm();
    ASSERT_NE(nullptr, form->GetHandle());
    window = form->GetHandle();
    kesttest::ActivateWindow(window);
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    velktest::FlushEvents();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  EditForm* form = nullptr;
  HWND window = nullptr;
};

TEST_F(EditTest, FormFiltersCharactersOfEveryEdit) {
  auto* edit = new CKestEdit(form, 1, KestPos(10, 10), 200, 21, false, 0, true);
  auto* memo = new CKestMemo(form, 2, KestPos(10, 40), 200, 80, 0, true, false, true, -1, false, true);
  form->blocked = L"xЖ";
  Type(edit->GetHandle(), L"axЖb");
  Type(memo->GetHandle(), L"Жcxd");
  EXPECT_EQ(L"ab", TextOf(edit->GetHandle()));
  EXPECT_EQ(L"cd", TextOf(memo->GetHandle()));
  ASSERT_EQ(8u, form->offered.size());
  EXPECT_EQ(L'x', form->offered[1].ch);
  EXPECT_EQ(edit->GetHandle(), form->offered[1].edit);
  EXPECT_EQ(memo->GetHandle(), form->offered[4].edit);
  // The refused character is answered as handled.
  EXPECT_EQ(1, SendMessageW(edit->GetHandle(), WM_CHAR, L'x', 1));
}

TEST_F(EditTest, EnterInAnEditIsNeverOfferedNorTypedAndPressesTheDefaultButton) {
  auto* edit = new CKestEdit(form, 1, KestPos(10, 10), 200, 21, false, 0, true);
  auto* button = new CKestButton(form, L"OK", true, 9, KestPos(10, 200), 80, 25, nullptr, 0);
  edit->SetText(L"текст");
  edit->SetFocus();
  RunLoopUntilIdle();
  // Focusing selects the whole text.
  EXPECT_EQ(0, edit->GetSelStart());
  EXPECT_EQ(5, edit->GetSelEnd());
  form->offered.clear();
  PressKey(edit->GetHandle(), VK_RETURN);
  EXPECT_EQ(L"текст", TextOf(edit->GetHandle()));
  EXPECT_TRUE(form->offered.empty());
  EXPECT_EQ(1, form->Count(button->GetHandle(), 0));
}

TEST_F(EditTest, MemoTakesEnterOnlyWhenItAcceptsIt) {
  auto* accepting = new CKestMemo(form, 1, KestPos(10, 10), 200, 80, 0, true, false, true, -1, false, true);
  auto* refusing = new CKestMemo(form, 2, KestPos(220, 10), 200, 80, 0, true, false, false, -1, false, true);
  auto* button = new CKestButton(form, L"OK", true, 9, KestPos(10, 200), 80, 25, nullptr, 0);
  struct Case {
    CKestMemo* memo;
    const wchar_t* expected;
    int buttonCommands;
  };
  const Case cases[] = {{accepting, L"ab\r\nc", 0}, {refusing, L"abc", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttonCommands);
    form->commands.clear();
    HWND memo = c.memo->GetHandle();
    c.memo->SetFocus();
    Type(memo, L"ab");
    PressKey(memo, VK_RETURN);
    Type(memo, L"c");
    EXPECT_EQ(c.expected, TextOf(memo));
    EXPECT_EQ(c.buttonCommands, form->Count(button->GetHandle(), 0));
    // Ctrl+Enter gives a line feed: no new line in the refusing memo either.
    if (c.memo == refusing) {
      SendMessageW(memo, WM_CHAR, L'\n', 1);
      EXPECT_EQ(L"abc", TextOf(memo));
    }
  }
}

TEST_F(EditTest, TabInsertsInAMemoThatWantsItAndMovesTheFocusElsewhere) {
  auto* tabs = new CKestMemo(form, 1, KestPos(10, 10), 200, 80, 0, false, false, true, -1, true, true);
  auto* plain = new CKestMemo(form, 2, KestPos(220, 10), 200, 80, 0, false, false, true, -1, false, true);
  auto* edit = new CKestEdit(form, 3, KestPos(10, 120), 200, 21, false, 0, true);
  tabs->SetFocus();
  PressKey(tabs->GetHandle(), VK_TAB);
  EXPECT_EQ(L"\t", TextOf(tabs->GetHandle()));
  EXPECT_TRUE(tabs->HasFocus());
  plain->SetFocus();
  PressKey(plain->GetHandle(), VK_TAB);
  EXPECT_EQ(L"", TextOf(plain->GetHandle()));
  EXPECT_TRUE(edit->HasFocus());
}

TEST_F(EditTest, AnswersTheEditMenuQueries) {
  auto* readOnly = new CKestEdit(form, 1, KestPos(10, 10), 200, 21, true, 0, true);
  auto* edit = new CKestEdit(form, 2, KestPos(10, 40), 200, 21, false, 0, true);
  readOnly->SetText(L"только чтение");
  readOnly->SetSelection(0, 5);
  HWND ro = readOnly->GetHandle();
  EXPECT_TRUE(readOnly->IsReadOnly());
  EXPECT_EQ(0, SendMessageW(ro, WM_KEST_CANCUT, 0, 0));
  EXPECT_EQ(0, SendMessageW(ro, WM_KEST_CANDELETE, 0, 0));
  EXPECT_EQ(1, SendMessageW(ro, WM_KEST_CANCOPY, 0, 0));
  EXPECT_EQ(1, SendMessageW(ro, WM_KEST_CANSELECTALL, 0, 0));
  EXPECT_EQ(0, SendMessageW(ro, EM_CANREDO, 0, 0));

  edit->SetText(L"правка");
  edit->SetSelection(2, 2);
  HWND ed = edit->GetHandle();
  EXPECT_EQ(0, SendMessageW(ed, WM_KEST_CANCOPY, 0, 0));
  EXPECT_EQ(0, SendMessageW(ed, WM_KEST_CANCUT, 0, 0));
  SendMessageW(ed, WM_KEST_SELECTALL, 0, 0);
  EXPECT_EQ(0, edit->GetSelStart());
  EXPECT_EQ(6, edit->GetSelEnd());
  EXPECT_EQ(1, SendMessageW(ed, WM_KEST_CANCUT, 0, 0));
  EXPECT_EQ(1, SendMessageW(ed, WM_KEST_CANDELETE, 0, 0));
}

TEST_F(EditTest, ClipboardUndoAndText) {
  auto* edit = new CKestEdit(form, 1, KestPos(10, 10), 200, 21, false, 0, true);
  EXPECT_EQ(nullptr, edit->GetText());
  edit->SetText(L"Вольт");
  EXPECT_FALSE(edit->IsModified());
  edit->SelectAll();
  edit->Copy();
  EXPECT_TRUE(edit->CanPaste());
  EXPECT_EQ(1, SendMessageW(edit->GetHandle(), EM_CANPASTE, CF_UNICODETEXT, 0));
  edit->Cut();
  EXPECT_EQ(0, edit->GetTextLength());
  edit->Paste();
  edit->Paste();
  wchar_t* text = edit->GetText();
  ASSERT_NE(nullptr, text);
  EXPECT_STREQ(L"ВольтВольт", text);
  FreeBuffer(text);
  wchar_t small[4];
  EXPECT_EQ(3, edit->CopyText(small, 4));
  EXPECT_STREQ(L"Вол", small);
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(L"Вольт", TextOf(edit->GetHandle()));
  edit->SetSelection(0, 1);
  edit->ReplaceSelection(L"Ш");
  EXPECT_EQ(L"Шольт", TextOf(edit->GetHandle()));
  EXPECT_TRUE(edit->IsModified());
  edit->SetModified(false);
  EXPECT_FALSE(edit->IsModified());
  edit->ClearText();
  EXPECT_EQ(nullptr, edit->GetText());
  auto* readOnly = new CKestEdit(form, 2, KestPos(10, 40), 200, 21, true, 0, true);
  EXPECT_FALSE(readOnly->CanPaste());
  EXPECT_EQ(0, SendMessageW(readOnly->GetHandle(), EM_CANPASTE, 0, 0));
}

TEST_F(EditTest, TextLimitIsKept) {
  auto* edit = new CKestEdit(form, 1, KestPos(10, 10), 200, 21, false, 4, true);
  Type(edit->GetHandle(), L"123456");
  EXPECT_EQ(L"1234", TextOf(edit->GetHandle()));
}

TEST_F(EditTest, CaretLineAndColumnAlsoBeyondSixtyFiveThousandCharacters) {
  auto* memo = new CKestMemo(form, 1, KestPos(10, 10), 300, 200, 0, false, false, true, -1, true, true);
  memo->SetText(L"первая\r\nвторая\r\nтретья строка");
  int third = static_cast<int>(SendMessageW(memo->GetHandle(), EM_LINEINDEX, 2, 0));
  memo->SetSelection(third + 4, third + 4);
  EXPECT_EQ(2, memo->GetCaretLine());
  EXPECT_EQ(4, memo->GetCaretColumn());
  memo->SetSelection(0, 0);
  EXPECT_EQ(0, memo->GetCaretLine());
  EXPECT_EQ(0, memo->GetCaretColumn());

  // 1000 lines of 98 characters and a line break: 100,000 characters.
  std::wstring big;
  for (int i = 0; i < 1000; ++i) big += std::wstring(98, L'a' + i % 26) + L"\r\n";
  memo->SetText(big.c_str());
  ASSERT_EQ(100000, memo->GetTextLength());
  int at = 800 * 100 + 17;  // line 800, column 17
  memo->SetSelection(at, at + 3);
  EXPECT_EQ(at, memo->GetSelStart());
  EXPECT_EQ(at + 3, memo->GetSelEnd());
  EXPECT_EQ(800, memo->GetCaretLine());
  EXPECT_EQ(17, memo->GetCaretColumn());
}

TEST_F(EditTest, MemoStyles) {
  struct Case {
    bool wordWrap;
    bool readOnly;
    int8_t alignment;
    DWORD present;
    DWORD absent;
  };
  const Case cases[] = {
      {false, false, -1, WS_HSCROLL | ES_AUTOHSCROLL | ES_MULTILINE | WS_VSCROLL, ES_READONLY | ES_CENTER | ES_RIGHT},
      {true, true, 0, ES_READONLY | ES_CENTER, WS_HSCROLL | ES_RIGHT},
      {true, false, 1, ES_RIGHT, ES_CENTER},
      {true, false, 2, 0, ES_CENTER | ES_RIGHT},
  };
  for (const Case& c : cases) {
    auto* memo = new CKestMemo(form, 1, KestPos(10, 10), 200, 80, 0, c.wordWrap, c.readOnly, false,
                               c.alignment, false, false);
    DWORD style = static_cast<DWORD>(GetWindowLongW(memo->GetHandle(), GWL_STYLE));
    EXPECT_EQ(c.present, style & c.present) << static_cast<int>(c.alignment);
    EXPECT_EQ(0u, style & c.absent) << static_cast<int>(c.alignment);
    DestroyWindow(memo->GetHandle());
  }
}

// Spin edits.

class SpinTest : public EditTest {
protected:
  // Leaves the spin edit for another control, as the user would.
  void Leave(CKestSpinEdit* spin) {
    spin->SetFocus();
    other->SetFocus();
    RunLoopUntilIdle();
  }
  void TypeInto(CKestSpinEdit* spin, const wchar_t* text) {
    spin->SetFocus();
    spin->SelectAll();
    SendMessageW(spin->GetHandle(), WM_CHAR, VK_BACK, 1);
    Type(spin->GetHandle(), text);
  }
  // Clicks the upper (up true) or lower arrow once.
  void ClickArrow(CKestSpinEdit* spin, bool up) {
    HWND arrows = spin->GetUpDown()->GetHandle();
    RECT r;
    GetClientRect(arrows, &r);
    LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(arrows, WM_LBUTTONUP, 0, at);
    RunLoopUntilIdle();
  }

  void SetUp() override {
    EditTest::SetUp();
    other = new CKestEdit(form, 99, KestPos(10, 300), 100, 21, false, 0, true);
  }
  CKestEdit* other = nullptr;
};

TEST_F(SpinTest, ClampsTypedValuesWhenLeft) {
  struct Case {
    const char* name;
    bool integer;
    double minimum, maximum;
    const wchar_t* typed;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {"above maximum", true, 1, 10, L"25", L"10"},
      {"below minimum", true, 1, 10, L"-3", L"1"},
      {"within", true, 1, 10, L"7", L"7"},
      {"digits then junk", true, 1, 10, L"8кг", L"8"},
      {"no limits", true, 0, 0, L"-123456", L"-123456"},
      {"real above maximum", false, -1, 1, L"1.5", L"1"},
      {"real with comma", false, 0, 10, L"2,5", L"2.5"},
      {"real unparsable gives minimum", false, 3, 10, L"abc", L"3"},
      {"real no limits", false, 0, 0, L"-0.125", L"-0.125"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* spin = new CKestSpinEdit(form, 5, c.integer, c.minimum, c.maximum, 1, KestPos(10, 10), 100, 21);
    TypeInto(spin, c.typed);
    EXPECT_TRUE(spin->IsModified());
    Leave(spin);
    EXPECT_EQ(c.shown, TextOf(spin->GetHandle()));
    EXPECT_FALSE(spin->IsModified());
    DestroyWindow(spin->GetHandle());
  }
}

TEST_F(SpinTest, EmptiedFieldGetsItsValueBack) {
  auto* spin = new CKestSpinEdit(form, 5, true, 0, 100, 1, KestPos(10, 10), 100, 21);
  spin->SetIntValue(5);
  TypeInto(spin, L"");
  EXPECT_EQ(L"", TextOf(spin->GetHandle()));
  Leave(spin);
  EXPECT_EQ(L"5", TextOf(spin->GetHandle()));
  EXPECT_EQ(5, spin->GetIntValue());

  auto* real = new CKestSpinEdit(form, 6, false, 0, 100, 1, KestPos(10, 40), 100, 21);
  real->SetValue(2.25);
  TypeInto(real, L"");
  Leave(real);
  EXPECT_EQ(L"2.25", TextOf(real->GetHandle()));
}

TEST_F(SpinTest, FormatsAndClampsValuesSetInCode) {
  auto* spin = new CKestSpinEdit(form, 5, false, 0, 0, 1, KestPos(10, 10), 100, 21);
  EXPECT_EQ(L"0", TextOf(spin->GetHandle()));
  struct Case {
    double value;
    const wchar_t* shown;
  };
  const Case cases[] = {{1.5, L"1.5"}, {0.1 + 0.2, L"0.3"}, {-42, L"-42"}, {12345678, L"1.23457e+07"}};
  for (const Case& c : cases) {
    spin->SetValue(c.value);
    EXPECT_EQ(c.shown, TextOf(spin->GetHandle()));
    EXPECT_DOUBLE_EQ(c.value, spin->GetValue());
  }
  auto* limited = new CKestSpinEdit(form, 6, true, 2, 9, 1, KestPos(10, 40), 100, 21);
  EXPECT_EQ(L"2", TextOf(limited->GetHandle()));
  limited->SetIntValue(100);
  EXPECT_EQ(L"9", TextOf(limited->GetHandle()));
  EXPECT_EQ(9, limited->GetIntValue());
  limited->SetValue(3.7);
  EXPECT_EQ(3, limited->GetIntValue());  // truncated toward zero
  limited->SetIntValue(-5);
  EXPECT_DOUBLE_EQ(2.0, limited->GetValue());
  // Typed text is read by the getters and clamped.
  TypeInto(limited, L"12");
  EXPECT_EQ(9, limited->GetIntValue());
  EXPECT_FALSE(limited->IsModified());
}

TEST_F(SpinTest, ArrowsStepIntegersAndReals) {
  auto* real = new CKestSpinEdit(form, 5, false, 0, 10, 0.5, KestPos(10, 10), 100, 21);
  real->SetValue(1);
  ClickArrow(real, true);
  EXPECT_EQ(L"1.5", TextOf(real->GetHandle()));
  ClickArrow(real, false);
  ClickArrow(real, false);
  EXPECT_EQ(L"0.5", TextOf(real->GetHandle()));
  ClickArrow(real, false);
  ClickArrow(real, false);
  EXPECT_EQ(L"0", TextOf(real->GetHandle()));  // clamped at the minimum

  auto* integer = new CKestSpinEdit(form, 6, true, 0, 10, 3, KestPos(10, 40), 100, 21);
  ClickArrow(integer, true);
  ClickArrow(integer, true);
  EXPECT_EQ(L"6", TextOf(integer->GetHandle()));
  ClickArrow(integer, true);
  ClickArrow(integer, true);
  EXPECT_EQ(L"10", TextOf(integer->GetHandle()));
  // Typed text counts as the current value.
  TypeInto(integer, L"4");
  ClickArrow(integer, false);
  EXPECT_EQ(L"1", TextOf(integer->GetHandle()));
}

TEST_F(SpinTest, ArrowsSitInsideTheRightEdgeAndFollowResizing) {
  auto* spin = new CKestSpinEdit(form, 5, true, 0, 10, 1, KestPos(10, 10), 100, 21);
  CKestUpDown* arrows = spin->GetUpDown();
  ASSERT_NE(nullptr, arrows);
  RECT client;
  GetClientRect(spin->GetHandle(), &client);
  EXPECT_EQ(client.right - 17, arrows->GetPosition().x);
  // The system may widen the arrows by a pixel; they stay inside the edit.
  EXPECT_LE(arrows->GetPosition().x + arrows->GetWidth(), client.right);
  EXPECT_GE(arrows->GetWidth(), 15);
  spin->SetSize(160, 21);
  RunLoopUntilIdle();
  GetClientRect(spin->GetHandle(), &client);
  EXPECT_EQ(client.right - 17, arrows->GetPosition().x);
  EXPECT_EQ(client.bottom - 3, arrows->GetHeight());
  // The text stays clear of the arrows.
  LRESULT margins = SendMessageW(spin->GetHandle(), EM_GETMARGINS, 0, 0);
  EXPECT_EQ(17, HIWORD(margins));
}

TEST_F(SpinTest, NotificationsStayInsideUntilTheFirstPaint) {
  ShowWindow(window, SW_HIDE);
  RunLoopUntilIdle();
  // In a panel: the panel hands the notification to the spin edit first.
  auto* panel = new TestPanel(form, KestPos(0, 0), 300, 100);
  auto* spin = new CKestSpinEdit(panel, 5, true, 0, 100, 1, KestPos(10, 10), 100, 21);
  HWND handle = spin->GetHandle();
  spin->SetIntValue(3);
  Type(handle, L"4");
  RunLoopUntilIdle();
  EXPECT_TRUE(spin->IsInitialising());
  EXPECT_EQ(0, form->Count(handle, EN_CHANGE));

  kesttest::ActivateWindow(window);
  UpdateWindow(handle);
  RunLoopUntilIdle();
  EXPECT_FALSE(spin->IsInitialising());
  Type(handle, L"5");
  EXPECT_EQ(1, form->Count(handle, EN_CHANGE));
  spin->SetIntValue(7);
  EXPECT_EQ(2, form->Count(handle, EN_CHANGE));
}

TEST(ParseLeadingIntTest, SignDigitsAndJunk) {
  struct Case {
    const wchar_t* text;
    int value;
  };
  const Case cases[] = {{L"42", 42},     {L"-17abc", -17}, {L"+5", 5},
                        {L"  9", 9},     {L"abc", 0},      {L"", 0},
                        {nullptr, 0},    {L"99999999999", 2147483647},
                        {L"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(c.value, ParseLeadingInt(c.text));
}

}  // namespace
