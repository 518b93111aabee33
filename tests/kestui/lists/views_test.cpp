// List view and tree view: column counting, items, check states, label
// edits (kept and cancelled), scrolling in the view's own units, image list
// references, tree items and right clicks.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "kestui/kest_test_widgets.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/lists/kest_tree_view.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

// A form that keeps the texts reported by WM_KEST_LABELEDIT.
class LabelForm : public TestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEST_LABELEDIT) {
      auto* item = reinterpret_cast<LVITEMW*>(lParam);
      labels.push_back(item && item->pszText ? item->pszText : L"<null>");
      labelItems.push_back(item ? item->iItem : -1);
      labelMasks.push_back(item ? item->mask : 0);
      return 0;
    }
    return TestForm::WindowProc(message, wParam, lParam);
  }
  std::vector<std::wstring> labels;
  std::vector<int> labelItems;
  std::vector<UINT> labelMasks;
};

class ViewsTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new LabelForm;
    guard = std::make_unique<WindowGuard>(form);
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }
  CKestListView* MakeList(DWORD style, DWORD exStyle = 0, int height = 200) {
    auto* list = new CKestListView(form, KestPos(10, 10), 300, height, WS_VISIBLE | style, exStyle);
    EXPECT_NE(nullptr, list->GetHandle());
    return list;
  }
  std::wstring Text(CKestListView* list, int index, int column = 0) {
    wchar_t buffer[64];
    return list->GetItemText(index, column, buffer, 64);
  }

  LabelForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
};

}  // namespace

TEST_F(ViewsTest, ColumnCountIsNeverLoweredByDeleting) {
  CKestListView* list = MakeList(LVS_REPORT);
  EXPECT_EQ(0, list->AddColumn(L"Имя", 100, -1));
  EXPECT_EQ(1, list->AddColumn(L"Значение", 80, 0));
  EXPECT_EQ(2, list->AddColumn(L"Ед.", 40, 1));
  list->DeleteColumn(1);
  EXPECT_EQ(3, list->GetColumnCount());
  EXPECT_EQ(3, list->AddColumn(L"Ещё", 50, -1));
  EXPECT_EQ(4, list->GetColumnCount());
  HWND header = ListView_GetHeader(list->GetHandle());
  EXPECT_EQ(3, Header_GetItemCount(header));

  LVCOLUMNW column = {};
  column.mask = LVCF_FMT;
  ASSERT_TRUE(ListView_GetColumn(list->GetHandle(), 1, &column));
  EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);
}

TEST_F(ViewsTest, ItemsKeepTextsDataAndImages) {
  CKestListView* list = MakeList(LVS_REPORT | LVS_SORTASCENDING);
  list->AddColumn(L"Имя", 100, -1);
  list->AddColumn(L"Значение", 100, -1);
  EXPECT_EQ(0, list->AddItem(L"R2", 1, 22));
  // Sorted: the new item goes first, AddItem still answers the count before.
  EXPECT_EQ(1, list->AddItem(L"R1", 3, 11));
  EXPECT_EQ(2, list->GetItemCount());
  EXPECT_EQ(L"R1", Text(list, 0));
  EXPECT_EQ(11, list->GetItemData(0));
  EXPECT_EQ(3, list->GetItemImage(0));
  list->SetItemText(0, 1, L"10 кОм");
  EXPECT_EQ(L"10 кОм", Text(list, 0, 1));
  list->SetItemData(1, 0x7BCDEF01);
  EXPECT_EQ(0x7BCDEF01, list->GetItemData(1));
  // Item data is pointer-sized: a pointer kept as data comes back whole,
  // also one above 4 GB in the 64-bit build.
  const LPARAM pointerData = static_cast<LPARAM>(sizeof(LPARAM) > 4 ? (0x1234ABCDLL << 20) | 0x8A : 0x4321ABCD);
  list->SetItemData(1, pointerData);
  EXPECT_EQ(pointerData, list->GetItemData(1));
  EXPECT_EQ(list->GetItemData(1), reinterpret_cast<LPARAM>(reinterpret_cast<void*>(pointerData)));
  list->SetItemImage(1, 7);
  EXPECT_EQ(7, list->GetItemImage(1));

  wchar_t small[3];
  list->GetItemText(0, 1, small, 3);
  EXPECT_EQ(std::wstring(L"10"), small);

  EXPECT_EQ(-1, list->GetSelectedIndex());
  list->SelectItem(1, true);
  EXPECT_EQ(1, list->GetSelectedIndex());
  list->SelectItem(1, false);
  EXPECT_EQ(-1, list->GetSelectedIndex());
  list->DeleteItem(0);
  EXPECT_EQ(1, list->GetItemCount());
  list->DeleteAllItems();
  EXPECT_EQ(0, list->GetItemCount());
}

TEST_F(ViewsTest, CheckStates) {
  CKestListView* checks = MakeList(LVS_REPORT, LVS_EX_CHECKBOXES);
  checks->AddColumn(L"Имя", 100, -1);
  checks->AddItem(L"a", 0, 0);
  checks->AddItem(L"b", 0, 0);
  checks->SetItemChecked(0, true);
  checks->SetItemChecked(1, false);
  EXPECT_TRUE(checks->IsItemChecked(0));
  EXPECT_FALSE(checks->IsItemChecked(1));
  checks->SetItemChecked(0, false);
  EXPECT_FALSE(checks->IsItemChecked(0));
  EXPECT_EQ(0x1000u, ListView_GetItemState(checks->GetHandle(), 0, LVIS_STATEIMAGEMASK));

  // Without check boxes an item has no state image and counts as checked.
  CKestListView* plain = MakeList(LVS_REPORT);
  plain->AddColumn(L"Имя", 100, -1);
  plain->AddItem(L"a", 0, 0);
  EXPECT_TRUE(plain->IsItemChecked(0));
}

TEST_F(ViewsTest, LabelEditSetsTheTextAndTellsTheForm) {
  CKestListView* list = MakeList(LVS_REPORT | LVS_EDITLABELS);
  list->AddColumn(L"Имя", 100, -1);
  list->AddItem(L"R1", 0, 0);
  list->AddItem(L"R2", 0, 0);
  ActivateWindow(form->GetHandle());
  list->SetFocus();
  HWND edit = ListView_EditLabel(list->GetHandle(), 1);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(edit, list->GetEditControl());
  SetWindowTextW(edit, L"Датчик");
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(L"Датчик", Text(list, 1));
  EXPECT_EQ(L"R1", Text(list, 0));
  ASSERT_EQ(1u, form->labels.size());
  EXPECT_EQ(L"Датчик", form->labels[0]);
  EXPECT_EQ(1, form->labelItems[0]);
  EXPECT_EQ(static_cast<UINT>(LVIF_TEXT), form->labelMasks[0]);
  // The notification itself still reaches the form.
  int ends = 0;
  for (const Seen& s : form->seen) {
    ends += s.message == WM_NOTIFY && s.notifyCode == static_cast<UINT>(LVN_ENDLABELEDITW);
  }
  EXPECT_EQ(1, ends);
}

TEST_F(ViewsTest, LabelEditCancelledWithEscapeKeepsTheText) {
  CKestListView* list = MakeList(LVS_REPORT | LVS_EDITLABELS);
  list->AddColumn(L"Имя", 100, -1);
  list->AddItem(L"R1", 0, 0);
  ActivateWindow(form->GetHandle());
  list->SetFocus();
  HWND edit = ListView_EditLabel(list->GetHandle(), 0);
  ASSERT_NE(nullptr, edit);
  SetWindowTextW(edit, L"Датчик");
  SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(L"R1", Text(list, 0));
  EXPECT_TRUE(form->labels.empty());
}

TEST_F(ViewsTest, VerticalScrollingMovesByRowsInReportView) {
  CKestListView* list = MakeList(LVS_REPORT, 0, 150);
  list->AddColumn(L"Имя", 100, -1);
  list->SuspendRedraw();
  for (int i = 0; i < 100; ++i) list->AddItem(std::to_wstring(i).c_str(), 0, 0);
  list->ResumeRedraw();
  HWND lv = list->GetHandle();
  auto scroll = [&](int code) { SendMessageW(lv, WM_VSCROLL, MAKEWPARAM(code, 0), 0); };
  auto top = [&]() { return ListView_GetTopIndex(lv); };
  ASSERT_EQ(0, top());
  scroll(SB_LINEDOWN);
  EXPECT_EQ(1, top());
  EXPECT_EQ(1, GetScrollPos(lv, SB_VERT));
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(11, top());
  scroll(SB_LINEUP);
  EXPECT_EQ(10, top());
  scroll(SB_TOP);
  EXPECT_EQ(0, top());
  scroll(SB_LINEUP);
  EXPECT_EQ(0, top());
  scroll(SB_BOTTOM);
  int perPage = ListView_GetCountPerPage(lv);
  EXPECT_EQ(100 - perPage, top());
}

TEST_F(ViewsTest, HorizontalScrollingMovesByPixelsInReportView) {
  CKestListView* list = MakeList(LVS_REPORT, 0, 150);
  for (int i = 0; i < 3; ++i) list->AddColumn(L"Колонка", 300, -1);
  list->AddItem(L"a", 0, 0);
  HWND lv = list->GetHandle();
  auto scroll = [&](int code) { SendMessageW(lv, WM_HSCROLL, MAKEWPARAM(code, 0), 0); };
  ASSERT_EQ(0, GetScrollPos(lv, SB_HORZ));
  scroll(SB_LINEDOWN);
  EXPECT_EQ(1, GetScrollPos(lv, SB_HORZ));
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(11, GetScrollPos(lv, SB_HORZ));
  RECT item;
  ASSERT_TRUE(ListView_GetItemRect(lv, 0, &item, LVIR_BOUNDS));
  EXPECT_EQ(-11, item.left);
}

TEST_F(ViewsTest, ImageListsAreHeldByReference) {
  auto* first = new CKestImageList(16, 16);
  auto* second = new CKestImageList(16, 16);
  first->AddRef();
  second->AddRef();
  CKestListView* list = MakeList(LVS_REPORT);
  list->SetImageList(first);
  EXPECT_EQ(2, first->GetRefCount());
  EXPECT_EQ(first->GetHandle(), ListView_GetImageList(list->GetHandle(), LVSIL_SMALL));
  list->SetImageList(first);
  EXPECT_EQ(2, first->GetRefCount());
  list->SetImageList(second);
  EXPECT_EQ(1, first->GetRefCount());
  EXPECT_EQ(2, second->GetRefCount());
  DestroyWindow(list->GetHandle());
  EXPECT_EQ(1, second->GetRefCount());
  first->Release();
  second->Release();
}

TEST_F(ViewsTest, TreeItemsImagesAndParents) {
  auto* tree = new CKestTreeView(form, KestPos(10, 10), 200, 200, WS_VISIBLE | TVS_HASLINES);
  ASSERT_NE(nullptr, tree->GetHandle());
  HTREEITEM root = tree->AddItem(nullptr, L"Схема", 2, -1, 100);
  HTREEITEM child = tree->AddItem(root, L"R1", 4, 5, 200);
  ASSERT_NE(nullptr, root);
  ASSERT_NE(nullptr, child);
  EXPECT_EQ(2, tree->GetItemImage(root));
  EXPECT_EQ(2, tree->GetItemSelectedImage(root));
  EXPECT_EQ(5, tree->GetItemSelectedImage(child));
  EXPECT_EQ(100, tree->GetItemData(root));
  EXPECT_EQ(200, tree->GetItemData(child));
  // A pointer as item data, whole at both widths (above 4 GB at 64 bits).
  const LPARAM pointerData = static_cast<LPARAM>(sizeof(LPARAM) > 4 ? (0x1234ABCDLL << 20) | 0x8A : 0x4321ABCD);
  HTREEITEM pointed = tree->AddItem(root, L"R2", 4, 5, pointerData);
  EXPECT_EQ(pointerData, tree->GetItemData(pointed));
  EXPECT_EQ(root, tree->GetParentItem(child));
  EXPECT_EQ(nullptr, tree->GetParentItem(root));
  TreeView_SelectItem(tree->GetHandle(), child);
  EXPECT_EQ(child, tree->GetSelectedItem());

  auto* images = new CKestImageList(16, 16);
  images->AddRef();
  tree->SetImageList(images);
  EXPECT_EQ(2, images->GetRefCount());
  DestroyWindow(tree->GetHandle());
  EXPECT_EQ(1, images->GetRefCount());
  images->Release();
}

TEST_F(ViewsTest, RightClickOnATreeComesBackAsButtonUp) {
  auto* tree = new CKestTreeView(form, KestPos(10, 10), 200, 200, WS_VISIBLE);
  tree->AddItem(nullptr, L"Схема", 0, -1, 0);
  form->seen.clear();
  NMHDR header = {tree->GetHandle(), 0, static_cast<UINT>(NM_RCLICK)};
  SendMessageW(form->GetHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  velktest::FlushEvents();
  const Seen* up = form->Last(WM_KEST_RBUTTONUP);
  ASSERT_NE(nullptr, up);
  EXPECT_EQ(reinterpret_cast<WPARAM>(tree->GetHandle()), up->wParam);
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(tree->GetHandle(), &cursor);
  EXPECT_EQ(MAKELPARAM(cursor.x, cursor.y), up->lParam);
}
