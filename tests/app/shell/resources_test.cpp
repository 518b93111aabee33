// The program's own resources: icons, the framework's cursors beside them,
// and the version information.
#include <windows.h>

#include <vector>

#include "app/resource.h"
#include "kestui/core/kest_resources.h"
#include "support/test_support.h"

namespace {

// The colour of the icon's pixel at (x, y) when drawn on white.
COLORREF IconPixel(HICON icon, int size, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r = {0, 0, size, size};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  COLORREF pixel = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixel;
}

TEST(ProgramResources, IconsInEverySize) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  for (int id : {IDI_VELKBOARD, IDI_SCHEME_DOCUMENT}) {
    for (int size : {16, 32, 48}) {
      SCOPED_TRACE(testing::Message() << id << " at " << size);
      HICON icon = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
      ASSERT_NE(nullptr, icon);
      // Transparent corner, drawn middle.
      EXPECT_EQ(RGB(255, 255, 255), IconPixel(icon, size, 0, size - 1));
      EXPECT_NE(RGB(255, 255, 255), IconPixel(icon, size, size / 2, size / 2));
      DestroyIcon(icon);
    }
  }
  // The program's icon is a dark chip in the middle of a green board.
  HICON app = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_VELKBOARD), IMAGE_ICON, 32, 32, 0));
  COLORREF chip = IconPixel(app, 32, 16, 16);
  COLORREF board = IconPixel(app, 32, 7, 14);
  DestroyIcon(app);
  EXPECT_LT(GetRValue(chip) + GetGValue(chip) + GetBValue(chip), 200);
  EXPECT_GT(GetGValue(board), GetRValue(board) + 40);
}

TEST(ProgramResources, FrameworkCursorsAreLinkedBesideTheIcons) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  for (int id : {IDCUR_KEST_CUT_LINK, IDCUR_KEST_LINK_CUT, IDCUR_KEST_MOVE, IDCUR_KEST_HAND, IDCUR_KEST_SPLIT_NS,
                 IDCUR_KEST_SPLIT_WE}) {
    EXPECT_NE(nullptr, LoadCursorW(self, MAKEINTRESOURCEW(id))) << id;
  }
}

TEST(ProgramResources, VersionInformation) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(MAKELONG(0, 5), info->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(VELKBOARD_BUILD, 0), info->dwFileVersionLS);
}

}  // namespace
