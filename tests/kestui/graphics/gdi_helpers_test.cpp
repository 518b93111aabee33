// Scoped selection of GDI objects, owned GDI objects and owned DCs.
#include <windows.h>

#include <utility>

#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"
#include "kestui/graphics/kest_window_dc.h"
#include "support/test_support.h"

namespace {

// Selects a pen and a brush, leaving early when asked; the selection is put
// back on both returns.
bool DrawWithEarlyReturn(HDC dc, HPEN pen, HBRUSH brush, bool early) {
  CKestDcSelection selection(dc);
  if (!selection.Select(pen)) return false;
  if (early) return true;
  selection.Select(brush);
  Rectangle(dc, 0, 0, 4, 4);
  return true;
}

}  // namespace

TEST(KestDcSelection, PutsBackWhatWasSelectedOnEveryReturn) {
  CKestOwnedDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  HGDIOBJ pen0 = GetCurrentObject(dc.Get(), OBJ_PEN);
  HGDIOBJ brush0 = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  CKestOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  CKestOwnedBrush brush(CreateSolidBrush(RGB(0, 255, 0)));
  for (bool early : {true, false}) {
    EXPECT_TRUE(DrawWithEarlyReturn(dc.Get(), pen.Get(), brush.Get(), early));
    EXPECT_EQ(pen0, GetCurrentObject(dc.Get(), OBJ_PEN)) << early;
    EXPECT_EQ(brush0, GetCurrentObject(dc.Get(), OBJ_BRUSH)) << early;
  }
}

TEST(KestDcSelection, SameKindTwiceRestoresTheFirst) {
  CKestOwnedDC dc(CreateCompatibleDC(nullptr));
  HGDIOBJ font0 = GetCurrentObject(dc.Get(), OBJ_FONT);
  CKestOwnedFont a(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
  CKestOwnedFont b(CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
  {
    CKestDcSelection selection(dc.Get());
    ASSERT_TRUE(selection.Select(a.Get()));
    ASSERT_TRUE(selection.Select(b.Get()));
    EXPECT_EQ(b.Get(), GetCurrentObject(dc.Get(), OBJ_FONT));
    selection.Restore();
    EXPECT_EQ(font0, GetCurrentObject(dc.Get(), OBJ_FONT));
    ASSERT_TRUE(selection.Select(a.Get()));  // usable again after Restore
  }
  EXPECT_EQ(font0, GetCurrentObject(dc.Get(), OBJ_FONT));
}

TEST(KestDcSelection, RefusesNullsAndTooManySelections) {
  CKestOwnedDC dc(CreateCompatibleDC(nullptr));
  CKestDcSelection none(nullptr);
  EXPECT_FALSE(none.Select(GetStockObject(BLACK_PEN)));
  CKestDcSelection selection(dc.Get());
  EXPECT_FALSE(selection.Select(nullptr));
  for (int i = 0; i < CKestDcSelection::kMaxSelections; ++i) {
    EXPECT_TRUE(selection.Select(GetStockObject(i % 2 ? BLACK_PEN : WHITE_PEN))) << i;
  }
  EXPECT_FALSE(selection.Select(GetStockObject(BLACK_PEN)));
}

TEST(KestDcSelection, BitmapDrawnThroughTheSelectionKeepsItsPixels) {
  CKestOwnedDC dc(CreateCompatibleDC(nullptr));
  CKestWindowDC screen(nullptr);
  ASSERT_TRUE(screen);
  CKestOwnedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 8, 8));
  CKestOwnedBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  HGDIOBJ bitmap0 = GetCurrentObject(dc.Get(), OBJ_BITMAP);
  {
    CKestDcSelection selection(dc.Get());
    ASSERT_TRUE(selection.Select(bitmap.Get()));
    RECT all = {0, 0, 8, 8};
    FillRect(dc.Get(), &all, blue.Get());
  }
  EXPECT_EQ(bitmap0, GetCurrentObject(dc.Get(), OBJ_BITMAP));
  // The bitmap is free again: it can be selected into another DC and read.
  CKestOwnedDC other(CreateCompatibleDC(nullptr));
  CKestDcSelection selection(other.Get());
  ASSERT_TRUE(selection.Select(bitmap.Get()));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(other.Get(), 3, 3));
}

TEST(KestGdiObject, DeletesOnResetAndScopeEndButNotAfterRelease) {
  HPEN kept = nullptr;
  HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
  HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
  {
    CKestOwnedBrush brush(first);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(first));
    brush.Reset(second);
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(second));
    CKestOwnedBrush moved(std::move(brush));
    EXPECT_FALSE(brush);
    EXPECT_EQ(second, moved.Get());
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, 0));
    kept = pen.Release();
    EXPECT_FALSE(pen);
  }
  EXPECT_EQ(0u, GetObjectType(second));
  EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(kept));
  DeleteObject(kept);
}

TEST(KestOwnedDC, DeletesTheDC) {
  HDC raw = CreateCompatibleDC(nullptr);
  {
    CKestOwnedDC dc(raw);
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(raw));
  }
  EXPECT_EQ(0u, GetObjectType(raw));
}
