// A subclassed list view keeps working: its header reports column clicks and
// in-place label edits end.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "kestui/kest_test_widgets.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

class ListViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(KestInitCommonControls());
    form = new TestForm(400, 300);
    guard = std::make_unique<WindowGuard>(form);
    list = new StdWidget(form, WC_LISTVIEWW, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_EDITLABELS,
                         KestPos(10, 10), 300, 200, 40);
    ASSERT_NE(nullptr, list->GetHandle());
    HWND lv = list->GetHandle();
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<wchar_t*>(L"Имя");
    ListView_InsertColumn(lv, 0, &column);
    column.pszText = const_cast<wchar_t*>(L"Значение");
    ListView_InsertColumn(lv, 1, &column);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"R1");
    ListView_InsertItem(lv, &item);
    ActivateWindow(form->GetHandle());
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }

  int CountNotify(UINT code) const {
    int n = 0;
    for (const Seen& s : form->seen) n += s.message == WM_NOTIFY && s.notifyCode == code;
    return n;
  }

  TestForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
  StdWidget* list = nullptr;
};

}  // namespace

TEST_F(ListViewTest, HeaderClickReachesTheFormAsColumnClick) {
  HWND header = ListView_GetHeader(list->GetHandle());
  ASSERT_NE(nullptr, header);
  RECT rect;
  ASSERT_TRUE(Header_GetItemRect(header, 1, &rect));
  LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(header, WM_LBUTTONUP, 0, at);
  velktest::FlushEvents();
  EXPECT_EQ(1, CountNotify(LVN_COLUMNCLICK));
}

TEST_F(ListViewTest, LabelEditEndsWhenTheEditLosesFocus) {
  HWND lv = list->GetHandle();
  SetFocus(lv);
  HWND edit = ListView_EditLabel(lv, 0);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(1, CountNotify(LVN_BEGINLABELEDITW) + CountNotify(LVN_BEGINLABELEDITA));
  SetWindowTextW(edit, L"R2");
  SetFocus(form->GetHandle());
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(1, CountNotify(LVN_ENDLABELEDITW) + CountNotify(LVN_ENDLABELEDITA));
}

TEST_F(ListViewTest, LabelEditEndsOnEnter) {
  HWND lv = list->GetHandle();
  SetFocus(lv);
  HWND edit = ListView_EditLabel(lv, 0);
  ASSERT_NE(nullptr, edit);
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(1, CountNotify(LVN_ENDLABELEDITW) + CountNotify(LVN_ENDLABELEDITA));
}

TEST_F(ListViewTest, DestroyingTheListViewDeletesItsWidget) {
  int deletions = 0;
  list->deletions = &deletions;
  HWND lv = list->GetHandle();
  DestroyWindow(lv);
  EXPECT_FALSE(IsWindow(lv));
  EXPECT_EQ(1, deletions);
}
