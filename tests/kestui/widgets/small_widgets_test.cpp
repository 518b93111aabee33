// The scroll-bar window procedure and the GDI selection painter.
#include <windows.h>

#include "kestui/widgets/kest_painter.h"
#include "kestui/widgets/kest_scrollbar_proc.h"
#include "kestui/panels_fixture.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

using ScrollBarProcTest = WidgetFormTest<400, 300>;

const kesttest::Seen* Last(WidgetForm* form, UINT message) {
  for (auto it = form->seen.rbegin(); it != form->seen.rend(); ++it) {
    if (it->message == message) return &*it;
  }
  return nullptr;
}

TEST_F(ScrollBarProcTest, ScrollBarControlsScrollAndTellTheForm) {
  auto* widget = new kesttest::TestWidget(form, KestPos(10, 10), 200, 150, 3,
                                          WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL);
  HWND w = widget->GetHandle();
  ASSERT_TRUE(InstallKestScrollBarProc(w));
  HWND bar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 150,
                             16, w, reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, bar);
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
  SetScrollInfo(bar, SB_CTL, &info, FALSE);

  // Page 10: a line is 1, a page 10, the end 100 - 10 + 1.
  struct Step {
    int code;
    int position;
  };
  for (Step s : {Step{SB_LINEDOWN, 1}, Step{SB_PAGEDOWN, 11}, Step{SB_BOTTOM, 91},
                 Step{SB_LINEUP, 90}, Step{SB_TOP, 0}, Step{SB_THUMBTRACK, 0}}) {
    form->seen.clear();
    SendMessageW(w, WM_HSCROLL, static_cast<WPARAM>(s.code), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(s.position, GetScrollPos(bar, SB_CTL)) << s.code;
    const kesttest::Seen* told = Last(form, WM_KEST_SCROLL);
    ASSERT_NE(nullptr, told);
    EXPECT_EQ(77u, told->wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(bar), told->lParam);
  }

  // The window's own bars: the request and the window, as mouse reports.
  info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 50, 0, 0, 0};
  SetScrollInfo(w, SB_VERT, &info, FALSE);
  SetScrollInfo(w, SB_HORZ, &info, FALSE);
  form->seen.clear();
  SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(5, GetScrollPos(w, SB_VERT));  // no page: a tenth of the range
  const kesttest::Seen* told = Last(form, WM_KEST_RBUTTONDOWN);
  ASSERT_NE(nullptr, told);
  EXPECT_EQ(static_cast<WPARAM>(SB_PAGEDOWN), told->wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(w), told->lParam);
  SendMessageW(w, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(1, GetScrollPos(w, SB_HORZ));
  told = Last(form, WM_KEST_MOUSEMOVE);
  ASSERT_NE(nullptr, told);
  EXPECT_EQ(static_cast<WPARAM>(SB_LINEDOWN), told->wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(w), told->lParam);

  // Everything else still reaches the widget.
  SendMessageW(w, WM_KEST_MOUSEENTER, 0, 0);
  EXPECT_EQ(1, widget->Count(WM_KEST_MOUSEENTER));

  // Only framework windows of their own class take the procedure.
  auto* edit = new kesttest::StdWidget(form, L"EDIT", L"", 0, KestPos(10, 200), 100, 20);
  EXPECT_FALSE(InstallKestScrollBarProc(edit->GetHandle()));
  EXPECT_FALSE(InstallKestScrollBarProc(bar));
  EXPECT_TRUE(InstallKestScrollBarProc(w));  // again: nothing changes
}

TEST(PainterTest, PutsBackWhatItSelectedAndFreesWhatItMade) {
  kesttest::Canvas canvas(20, 20, RGB(255, 255, 255));
  HDC dc = canvas.dc();
  HGDIOBJ pen0 = GetCurrentObject(dc, OBJ_PEN);
  HGDIOBJ brush0 = GetCurrentObject(dc, OBJ_BRUSH);
  HGDIOBJ font0 = GetCurrentObject(dc, OBJ_FONT);
  HBRUSH kept = CreateSolidBrush(RGB(1, 2, 3));
  CKestFont* font = new CKestFont(L"Verdana", -12);
  font->AddRef();
  HPEN firstPen = nullptr, secondPen = nullptr;
  {
    CKestPainter painter(dc);
    ASSERT_TRUE(painter.SetPen(PS_SOLID, 1, RGB(255, 0, 0)));
    firstPen = static_cast<HPEN>(GetCurrentObject(dc, OBJ_PEN));
    ASSERT_TRUE(painter.SetPen(PS_SOLID, 1, RGB(0, 255, 0)));
    secondPen = static_cast<HPEN>(GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(0u, GetObjectType(firstPen));  // replaced and deleted at once
    ASSERT_TRUE(painter.Select(kept));
    ASSERT_TRUE(painter.SetFont(font));
    EXPECT_EQ(2, font->GetRefCount());
    EXPECT_EQ(font->GetHandle(), GetCurrentObject(dc, OBJ_FONT));
    EXPECT_FALSE(painter.Select(nullptr));
    EXPECT_FALSE(painter.SelectOwned(reinterpret_cast<HGDIOBJ>(0x1234)));
    MoveToEx(dc, 0, 5, nullptr);
    LineTo(dc, 20, 5);
  }
  EXPECT_EQ(RGB(0, 255, 0), canvas.At(10, 5));
  EXPECT_EQ(pen0, GetCurrentObject(dc, OBJ_PEN));
  EXPECT_EQ(brush0, GetCurrentObject(dc, OBJ_BRUSH));
  EXPECT_EQ(font0, GetCurrentObject(dc, OBJ_FONT));
  EXPECT_EQ(0u, GetObjectType(secondPen));
  EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(kept));  // the caller's own stays
  EXPECT_EQ(1, font->GetRefCount());
  DeleteObject(kept);
  font->Release();

  // Restore early, then use it again.
  CKestPainter painter(dc);
  painter.SetBrush(RGB(9, 9, 9));
  painter.Restore();
  EXPECT_EQ(brush0, GetCurrentObject(dc, OBJ_BRUSH));
  EXPECT_TRUE(painter.SetBrush(RGB(8, 8, 8)));
}

}  // namespace
