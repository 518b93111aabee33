// Combo box and list box: Edit-menu answers, items and data, copying the
// selected item, the chosen item's text in an editable combo.
#include <windows.h>
#include <richedit.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "kestui/kest_test_widgets.h"
#include "kestui/lists/kest_combo_box.h"
#include "kestui/lists/kest_list_box.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return L"<no clipboard>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PutClipboardText(HWND owner, const wchar_t* text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  SetClipboardText(text);
  CloseClipboard();
}

std::wstring Owned(wchar_t* text) {
  std::wstring result = text ? text : L"<null>";
  FreeBuffer(text);
  return result;
}

class ComboTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new TestForm(400, 300);
    guard = std::make_unique<WindowGuard>(form);
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }
  LRESULT Ask(CKestControl* control, UINT message) {
    return SendMessageW(control->GetHandle(), message, 0, 0);
  }

  TestForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
};

}  // namespace

TEST_F(ComboTest, EditableComboAnswersCutAndCopyByItsSelection) {
  auto* combo = new CKestComboBox(form, 7, true, KestPos(10, 10), 150, 22, 0);
  ASSERT_NE(nullptr, combo->GetHandle());
  ASSERT_NE(nullptr, combo->GetInnerEdit());
  EXPECT_TRUE(combo->IsEditable());
  combo->SetText(L"abc");
  struct Case {
    int start, end;
    LRESULT answer;
  } cases[] = {{1, 1, 0}, {1, 2, 1}, {1, 3, 1}, {0, 3, 1}, {3, 3, 0}};
  for (const Case& c : cases) {
    SendMessageW(combo->GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(c.start, c.end));
    EXPECT_EQ(c.start, combo->GetEditSelStart());
    EXPECT_EQ(c.end, combo->GetEditSelEnd());
    EXPECT_EQ(c.answer, Ask(combo, WM_KEST_CANCUT)) << c.start << ".." << c.end;
    EXPECT_EQ(c.answer, Ask(combo, WM_KEST_CANCOPY)) << c.start << ".." << c.end;
    EXPECT_EQ(c.answer, Ask(combo, WM_KEST_CANDELETE)) << c.start << ".." << c.end;
  }
}

TEST_F(ComboTest, DropDownListCopiesButNeverCutsOrPastes) {
  auto* list = new CKestComboBox(form, 8, false, KestPos(10, 10), 150, 22, 0);
  auto* edit = new CKestComboBox(form, 9, true, KestPos(10, 40), 150, 22, 0);
  EXPECT_FALSE(list->IsEditable());
  EXPECT_EQ(nullptr, list->GetInnerEdit());
  EXPECT_EQ(1, Ask(list, WM_KEST_CANCOPY));
  EXPECT_EQ(0, Ask(list, WM_KEST_CANCUT));
  EXPECT_EQ(0, Ask(list, WM_KEST_CANDELETE));

  PutClipboardText(form->GetHandle(), L"вставка");
  EXPECT_EQ(0, Ask(list, EM_CANPASTE));
  EXPECT_EQ(1, Ask(edit, EM_CANPASTE));
  ASSERT_TRUE(OpenClipboard(form->GetHandle()));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(0, Ask(edit, EM_CANPASTE));
}

TEST_F(ComboTest, ItemsKeepTheirDataAndTexts) {
  auto* combo = new CKestComboBox(form, 7, false, KestPos(10, 10), 150, 22, 0);
  EXPECT_EQ(150, combo->GetWidth());
  EXPECT_EQ(0, combo->AddItem(L"Резистор", 0));
  EXPECT_EQ(1, combo->AddItem(L"Диод", 0x12345678));
  EXPECT_EQ(2, combo->GetCount());
  EXPECT_EQ(0, combo->GetItemData(0));
  EXPECT_EQ(0x12345678, combo->GetItemData(1));
  EXPECT_EQ(4, combo->GetItemTextLength(1));
  EXPECT_EQ(L"Диод", Owned(combo->CopyItemText(1)));
  EXPECT_EQ(L"<null>", Owned(combo->CopyItemText(5)));
  EXPECT_EQ(1, combo->FindString(-1, L"Ди"));
  EXPECT_EQ(-1, combo->GetSelectedIndex());
  combo->SetSelectedIndex(0);
  EXPECT_EQ(0, combo->GetSelectedIndex());
  EXPECT_EQ(L"Резистор", Owned(combo->GetText()));
}

TEST_F(ComboTest, ChoosingAnItemPutsItsTextIntoTheEditAndTheFormHearsOfIt) {
  auto* combo = new CKestComboBox(form, 7, true, KestPos(10, 10), 150, 22, 0);
  combo->AddItem(L"первый", 0);
  combo->AddItem(L"второй", 0);
  combo->SetText(L"набрано");
  SendMessageW(combo->GetHandle(), CB_SETCURSEL, 1, 0);
  combo->SetText(L"набрано");
  form->seen.clear();
  // What the combo box sends its parent when the user picks an item.
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(7, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(combo->GetHandle()));
  EXPECT_EQ(L"второй", Owned(combo->GetText()));
  const Seen* asked = form->Last(WM_COMMAND);
  ASSERT_NE(nullptr, asked);
  EXPECT_EQ(CBN_SELENDOK, HIWORD(asked->wParam));
}

TEST_F(ComboTest, ListBoxCopiesTheSelectedItem) {
  auto* list = new CKestListBox(form, 3, KestPos(10, 10), 200, 150, 0, false);
  ASSERT_NE(nullptr, list->GetHandle());
  list->AddItem(L"Конденсатор", 0);
  list->AddItem(L"Реле", 5);
  EXPECT_EQ(5, list->GetItemData(1));

  PutClipboardText(form->GetHandle(), L"прежний текст");
  EXPECT_EQ(0, Ask(list, WM_KEST_CANCOPY));
  SendMessageW(list->GetHandle(), WM_COPY, 0, 0);
  EXPECT_EQ(L"прежний текст", ClipboardText(form->GetHandle()));

  list->SetSelectedIndex(0);
  EXPECT_EQ(1, Ask(list, WM_KEST_CANCOPY));
  SendMessageW(list->GetHandle(), WM_COPY, 0, 0);
  EXPECT_EQ(L"Конденсатор", ClipboardText(form->GetHandle()));
}

TEST_F(ComboTest, MultipleSelectionListCopiesOnlyASelectedItem) {
  auto* list = new CKestListBox(form, 4, KestPos(10, 10), 200, 150, 0, true);
  for (const wchar_t* text : {L"Диод", L"Реле", L"Кнопка"}) list->AddItem(text, 0);
  // The focus rests on "Реле", but nothing is selected.
  SendMessageW(list->GetHandle(), LB_SETCARETINDEX, 1, FALSE);
  ASSERT_EQ(1, SendMessageW(list->GetHandle(), LB_GETCARETINDEX, 0, 0));
  ASSERT_FALSE(list->IsItemSelected(1));
  PutClipboardText(form->GetHandle(), L"прежний текст");
  EXPECT_EQ(0, Ask(list, WM_KEST_CANCOPY));
  SendMessageW(list->GetHandle(), WM_COPY, 0, 0);
  EXPECT_EQ(L"прежний текст", ClipboardText(form->GetHandle()));

  struct Case {
    std::vector<int> selected;
    const wchar_t* copied;
  } cases[] = {
      {{2}, L"Кнопка"},     // the focused item is not selected: the first selected one
      {{0, 2}, L"Диод"},
      {{1, 2}, L"Реле"},    // the focused item is selected: that one
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 3; ++i) list->SetItemSelected(i, false);
    for (int i : c.selected) list->SetItemSelected(i, true);
    SendMessageW(list->GetHandle(), LB_SETCARETINDEX, 1, FALSE);
    EXPECT_EQ(1, Ask(list, WM_KEST_CANCOPY)) << c.copied;
    SendMessageW(list->GetHandle(), WM_COPY, 0, 0);
    EXPECT_EQ(c.copied, ClipboardText(form->GetHandle()));
  }
}

TEST_F(ComboTest, SelectAllOnlyInAMultipleSelectionList) {
  auto* single = new CKestListBox(form, 3, KestPos(10, 10), 150, 100, 0, false);
  auto* multi = new CKestListBox(form, 4, KestPos(170, 10), 150, 100, 0, true);
  for (const wchar_t* text : {L"a", L"b", L"c"}) {
    single->AddItem(text, 0);
    multi->AddItem(text, 0);
  }
  EXPECT_FALSE(single->IsMultiSelect());
  EXPECT_TRUE(multi->IsMultiSelect());
  EXPECT_EQ(0, Ask(single, WM_KEST_CANSELECTALL));
  EXPECT_EQ(1, Ask(multi, WM_KEST_CANSELECTALL));

  single->SetSelectedIndex(1);
  Ask(single, WM_KEST_SELECTALL);
  EXPECT_EQ(1, single->GetSelectedIndex());
  EXPECT_FALSE(single->IsItemSelected(0));

  Ask(multi, WM_KEST_SELECTALL);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(multi->IsItemSelected(i)) << i;
  multi->SetItemSelected(1, false);
  EXPECT_FALSE(multi->IsItemSelected(1));
}

TEST_F(ComboTest, DoubleClickInAListBoxReachesTheFormAsNotification) {
  auto* list = new CKestListBox(form, 3, KestPos(10, 10), 200, 150, 0, false);
  list->AddItem(L"x", 0);
  form->seen.clear();
  SendMessageW(list->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  const Seen* notify = form->Last(WM_NOTIFY);
  ASSERT_NE(nullptr, notify);
  EXPECT_EQ(static_cast<UINT>(NM_DBLCLK), notify->notifyCode);
  EXPECT_EQ(reinterpret_cast<WPARAM>(list->GetHandle()), notify->wParam);
}
