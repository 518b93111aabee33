// Menus, fonts and image lists: items, shortcuts, reference counts and
// transparency.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "foundation/buffer_failure_scope.h"
#include "kestui/kest_test_widgets.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_imagelist.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

template <class Base>
class Watched : public Base {
public:
  template <class... Args>
  explicit Watched(int* deletions, Args... args) : Base(args...), deletions_(deletions) {}
  ~Watched() override { ++*deletions_; }

private:
  int* deletions_;
};

}  // namespace

TEST(KestMenu, ItemPositionsAndLookups) {
  CKestPopupMenu menu;
  EXPECT_EQ(0, menu.AddItem(L"Вырезать", 0x300));
  EXPECT_EQ(1, menu.AddItem(L"Копировать", 0x301));
  EXPECT_EQ(2, menu.AppendSeparator());
  HMENU sub = menu.AppendSubMenu(L"Ещё");
  ASSERT_NE(nullptr, sub);
  EXPECT_EQ(0, menu.AppendItem(sub, L"Первый", 500, 0, 0));
  EXPECT_EQ(1, menu.AppendItem(sub, L"Второй", 501, 0, 0));
  EXPECT_EQ(4, menu.GetItemCount());
  EXPECT_EQ(2, menu.GetItemCount(sub));
  EXPECT_EQ(sub, menu.GetSubMenu(3));
  EXPECT_EQ(0x301, CKestMenu::GetItemId(menu.GetHandle(), 1));
  EXPECT_EQ(1, menu.FindItemIndex(0x301));
  EXPECT_EQ(-1, menu.FindItemIndex(12345));
  EXPECT_EQ(1, CKestMenu::FindItemIndexIn(sub, 501));
  EXPECT_EQ(0, menu.GetShortcutCount());  // no key, no shortcut

  menu.EnableItem(0, false);
  EXPECT_TRUE(GetMenuState(menu.GetHandle(), 0, MF_BYPOSITION) & MF_GRAYED);
  menu.EnableItem(0, true);
  EXPECT_FALSE(GetMenuState(menu.GetHandle(), 0, MF_BYPOSITION) & MF_GRAYED);
  menu.CheckItem(1, true);
  EXPECT_TRUE(GetMenuState(menu.GetHandle(), 1, MF_BYPOSITION) & MF_CHECKED);
  menu.CheckItem(1, false);
  EXPECT_FALSE(GetMenuState(menu.GetHandle(), 1, MF_BYPOSITION) & MF_CHECKED);
  menu.SetDefaultItem(1, true);
  EXPECT_EQ(1u, GetMenuDefaultItem(menu.GetHandle(), TRUE, 0));
  menu.SetDefaultItem(1, false);
  EXPECT_EQ(static_cast<UINT>(-1), GetMenuDefaultItem(menu.GetHandle(), TRUE, 0));
}

TEST(KestMenu, ShortcutTableGrowsAndKeepsOrder) {
  CKestPopupMenu menu;
  for (int i = 0; i < 20; ++i) menu.AddItem(L"x", 100 + i, KEST_MOD_CTRL, static_cast<WORD>('A' + i));
  ASSERT_EQ(20, menu.GetShortcutCount());
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(100 + i, menu.GetShortcut(i).command);
    EXPECT_EQ('A' + i, menu.GetShortcut(i).key);
    EXPECT_EQ(KEST_MOD_CTRL, menu.GetShortcut(i).modifiers);
  }
  EXPECT_EQ(sizeof(ACCEL), sizeof(KestMenuShortcut));
}

TEST(KestMenu, ItemWhoseShortcutCannotBeKeptIsReportedAndRemoved) {
  CKestPopupMenu menu;
  // Eight shortcuts fill the first step of the table; the ninth needs room.
  for (int i = 0; i < 8; ++i) ASSERT_EQ(i, menu.AddItem(L"x", 100 + i, KEST_MOD_CTRL, static_cast<WORD>('A' + i)));
  {
    CBufferFailureScope noRoom(0);
    EXPECT_EQ(-1, menu.AddItem(L"Удалить\tDel", 771, 0, VK_DELETE));
    // An item without a shortcut needs no room.
    EXPECT_EQ(8, menu.AddItem(L"Свойства", 3001));
  }
  EXPECT_EQ(9, menu.GetItemCount());
  EXPECT_EQ(-1, menu.FindItemIndex(771));  // the item went with its shortcut
  EXPECT_EQ(8, menu.FindItemIndex(3001));
  EXPECT_EQ(8, menu.GetShortcutCount());
  EXPECT_EQ(9, menu.AddItem(L"Удалить\tDel", 771, 0, VK_DELETE));
  EXPECT_EQ(9, menu.GetShortcutCount());
  EXPECT_EQ(771, menu.GetShortcut(8).command);
}

TEST(KestMenu, ShortcutMatchesKeyAndExactModifiers) {
  CKestPopupMenu menu;
  menu.AddItem(L"first", 100, KEST_MOD_CTRL, 'A');
  menu.AddItem(L"second", 101, KEST_MOD_CTRL, 'A');  // same key and mask: never wins
  menu.AddItem(L"shifted", 102, KEST_MOD_CTRL | KEST_MOD_SHIFT, 'B');
  menu.AddItem(L"plain", 103, 0, VK_F2);
  struct Case {
    bool shift, ctrl, alt;
    WPARAM key;
    int command;  // -1: nothing sent
  };
  const Case cases[] = {
      {false, true, false, 'A', 100},  {true, true, false, 'A', -1},  {false, false, false, 'A', -1},
      {false, true, true, 'A', -1},    {true, true, false, 'B', 102}, {false, true, false, 'B', -1},
      {false, false, false, VK_F2, 103}, {true, false, false, VK_F2, -1},
  };
  auto* form = new TestForm();
  WindowGuard guard(form);
  for (const Case& c : cases) {
    form->seen.clear();
    SetModifierKeys(c.shift, c.ctrl, c.alt);
    bool sent = menu.DispatchShortcut(form->GetHandle(), c.key);
    EXPECT_EQ(c.command >= 0, sent);
    const Seen* command = form->Last(WM_COMMAND);
    if (c.command < 0) {
      EXPECT_EQ(nullptr, command) << c.key;
    } else {
      ASSERT_NE(nullptr, command);
      EXPECT_EQ(static_cast<WPARAM>(c.command), command->wParam);
      EXPECT_EQ(0, command->lParam);
      EXPECT_EQ(1, form->Count(WM_COMMAND));
    }
  }
  SetModifierKeys(false, false, false);
}

TEST(KestMenu, WidgetKeyDownRunsItsMenuShortcutThroughTheForm) {
  auto* form = new TestForm();
  WindowGuard guard(form);
  auto* widget = new TestWidget(form, 0, 20, 20);
  auto* menu = new CKestPopupMenu();
  menu->AddItem(L"Выделить всё", WM_KEST_SELECTALL, KEST_MOD_CTRL, 'A');
  widget->SetMenu(menu);
  EXPECT_EQ(1, menu->GetRefCount());
  SetModifierKeys(false, true, false);
  SendMessageW(widget->GetHandle(), WM_KEYDOWN, 'A', 0);
  SetModifierKeys(false, false, false);
  const Seen* command = form->Last(WM_COMMAND);
  ASSERT_NE(nullptr, command);
  EXPECT_EQ(static_cast<WPARAM>(WM_KEST_SELECTALL), command->wParam);
}

TEST(KestMenu, MainMenuBecomesTheMenuBarAndSurvivesItsWindow) {
  int deletions = 0;
  auto* menu = new Watched<CKestMainMenu>(&deletions, 0u);
  menu->AppendSubMenu(L"Файл");
  menu->AddRef();  // the test keeps one reference
  auto* form = new TestForm(300, 200, menu);
  HWND window = form->GetHandle();
  EXPECT_EQ(menu->GetHandle(), GetMenu(window));
  EXPECT_EQ(2, menu->GetRefCount());
  DestroyWindow(window);
  EXPECT_EQ(0, deletions);
  EXPECT_EQ(1, menu->GetRefCount());
  EXPECT_TRUE(IsMenu(menu->GetHandle()));  // not destroyed with the window
  menu->Release();
  EXPECT_EQ(1, deletions);
}

TEST(KestMenu, ReleaseDeletesBelowOne) {
  int deletions = 0;
  auto* unattached = new Watched<CKestPopupMenu>(&deletions);
  unattached->Release();  // count 0 -> deleted
  EXPECT_EQ(1, deletions);

  auto* shared = new Watched<CKestPopupMenu>(&deletions);
  shared->AddRef();
  shared->AddRef();
  shared->Release();
  EXPECT_EQ(1, deletions);
  shared->Release();
  EXPECT_EQ(2, deletions);
}

TEST(KestMenu, ItemBitmapIsOwnedOnce) {
  CKestPopupMenu menu;
  menu.AddItem(L"a", 1);
  menu.AddItem(L"b", 2);
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
  menu.SetItemBitmapAt(menu.GetHandle(), 0, bitmap);
  menu.SetItemBitmapAt(menu.GetHandle(), 1, bitmap);
  EXPECT_EQ(1, menu.GetBitmapCount());
  menu.SetItemBitmap(0, 54321);  // no such resource: nothing kept
  EXPECT_EQ(1, menu.GetBitmapCount());
}

TEST(KestFont, SharedFontLivesUntilItsLastHolderGoes) {
  int deletions = 0;
  auto* font = new Watched<CKestFont>(&deletions, L"Arial", -14);
  ASSERT_NE(nullptr, font->GetHandle());
  auto* form = new TestForm();
  WindowGuard guard(form);
  auto* a = new TestWidget(form, 0, 10, 10);
  auto* b = new StdWidget(form, L"BUTTON", L"b", WS_CHILD, 0, 10, 10);
  a->SetFont(font);
  b->SetFont(font);
  EXPECT_EQ(2, font->GetRefCount());
  EXPECT_EQ(reinterpret_cast<LRESULT>(font->GetHandle()), SendMessageW(b->GetHandle(), WM_GETFONT, 0, 0));
  DestroyWindow(a->GetHandle());
  EXPECT_EQ(0, deletions);
  EXPECT_EQ(1, font->GetRefCount());
  delete b;
  EXPECT_EQ(1, deletions);
}

TEST(KestFont, ReleaseOfAnUnattachedFontDeletesItAndClearsTheHintFont) {
  int deletions = 0;
  auto* font = new Watched<CKestFont>(&deletions, L"MS Sans Serif", -8);
  HintFont = font;
  font->Release();
  EXPECT_EQ(1, deletions);
  EXPECT_EQ(nullptr, HintFont);
}

namespace {

// A 4 x 4 24-bit picture: magenta everywhere but a red pixel at (2, 1).
HBITMAP MakePicture() {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 4;
  info.bmiHeader.biHeight = -4;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* rows = static_cast<BYTE*>(bits);
  const int stride = 12;  // 4 * 3 bytes, already a multiple of 4
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      BYTE* p = rows + y * stride + x * 3;  // blue, green, red
      bool red = x == 2 && y == 1;
      p[0] = red ? 0 : 255;
      p[1] = 0;
      p[2] = 255;
    }
  }
  GdiFlush();
  return bitmap;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

}  // namespace

TEST(KestImageList, PixelZeroZeroIsTransparent) {
  ASSERT_TRUE(KestInitCommonControls());
  CKestImageList list(4, 4);
  ASSERT_NE(nullptr, list.GetHandle());
  HBITMAP picture = MakePicture();
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(0, list.AddBitmap(picture));
  EXPECT_EQ(1, list.GetCount());
  // The caller's picture is unchanged.
  EXPECT_EQ(RGB(255, 0, 255), PixelOf(picture, 0, 0));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, target);
  RECT all = {0, 0, 4, 4};
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &all, green);
  DeleteObject(green);
  ImageList_Draw(list.GetHandle(), 0, dc, 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(RGB(0, 255, 0), GetPixel(dc, 0, 0));
  EXPECT_EQ(RGB(0, 255, 0), GetPixel(dc, 3, 3));
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 2, 1));
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  DeleteObject(picture);
}

TEST(KestImageList, AddsFrameworkPicturesAndPictureResources) {
  CKestImageList list(16, 16);
  CKestImage empty;
  EXPECT_EQ(-1, list.AddImage(empty));
  CKestImage picture;
  ASSERT_TRUE(picture.Create(16, 16, 24));
  EXPECT_EQ(0, list.AddImage(picture));
  EXPECT_EQ(1, list.GetCount());
  // A 3 x 2 bitmap resource and a 2 x 2 PNG kept among the program's data.
  CKestImageList bitmaps(3, 2);
  EXPECT_EQ(0, bitmaps.AddResourceImage(102));
  CKestImageList pngs(2, 2);
  EXPECT_EQ(0, pngs.AddResourceImage(104));
  EXPECT_EQ(1, pngs.GetCount());
}

TEST(KestImageList, MissingResourceAddsNothing) {
  CKestImageList list(16, 16);
  EXPECT_EQ(-1, list.AddResourceImage(54321));
  EXPECT_EQ(0, list.GetCount());
  EXPECT_EQ(-1, list.AddBitmap(nullptr));
}

TEST(KestImageList, ReleaseDeletesOnlyFromOneToZero) {
  int deletions = 0;
  auto* list = new Watched<CKestImageList>(&deletions, 16, 16);
  list->Release();  // never referenced: kept
  EXPECT_EQ(0, deletions);
  EXPECT_EQ(0, list->GetRefCount());
  list->AddRef();
  list->AddRef();
  list->Release();
  EXPECT_EQ(0, deletions);
  list->Release();
  EXPECT_EQ(1, deletions);
}
