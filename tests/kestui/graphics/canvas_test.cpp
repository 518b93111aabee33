// The canvas base of the editors: scroll ranges over a document extent,
// client and document coordinates, scrolling by bar, wheel and edge, the
// buffered painting (by the view, or by the owning form through GetDC) and
// the inverting rubber band.
#include <windows.h>

#include <memory>

#include "kestui/kest_test_widgets.h"
#include "kestui/core/kest_messages.h"
#include "kestui/graphics/kest_canvas.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

// A view on the canvas: a document of a settable extent with one black
// square at (100, 100) to (110, 110).
class SquareView : public CKestCanvas {
public:
  SquareView(CKestControl* parent, int width, int height, DWORD styles) {
    CreateCanvasWindow(parent, KestPos(0, 0), width, height, styles, true);
  }
  RECT extent = {0, 0, 1000, 800};
  int fittingOrigin = 0;

protected:
  RECT GetDocumentExtent() override { return extent; }
  int OriginWhenFitting(int) const override { return fittingOrigin; }
  void PaintContent(HDC dc) override {
    RECT square = {100, 100, 110, 110};
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
};

// A form that draws its plain canvas on WM_KEST_PAINT through GetDC.
class DrawingForm : public TestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEST_PAINT && canvas && lParam == reinterpret_cast<LPARAM>(canvas->GetHandle())) {
      ++paints;
      HDC dc = canvas->GetDC();
      RECT mark = {5, 5, 15, 15};
      FillRect(dc, &mark, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      canvas->ReleaseDC();
      return 0;
    }
    return TestForm::WindowProc(message, wParam, lParam);
  }
  CKestCanvas* canvas = nullptr;
  int paints = 0;
};

class CanvasTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new DrawingForm;
    guard = std::make_unique<WindowGuard>(form);
    ShowWindow(form->GetHandle(), SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }
  static SCROLLINFO Bar(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
  }
  static RECT Client(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client;
  }

  DrawingForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
};

}  // namespace

TEST_F(CanvasTest, ScrollBarsCoverTheExtentAndKeepTheOriginInside) {
  auto* view = new SquareView(form, 300, 200, WS_HSCROLL | WS_VSCROLL);
  HWND window = view->GetHandle();
  ASSERT_NE(nullptr, window);
  view->UpdateScrollRange();
  RECT client = Client(window);
  SCROLLINFO h = Bar(window, SB_HORZ);
  EXPECT_EQ(0, h.nMin);
  EXPECT_EQ(1000, h.nMax);
  EXPECT_EQ(static_cast<UINT>(client.right), h.nPage);
  SCROLLINFO v = Bar(window, SB_VERT);
  EXPECT_EQ(800, v.nMax);
  EXPECT_EQ(static_cast<UINT>(client.bottom), v.nPage);

  // Past the end: the origin follows the bar to the last page.
  view->SetScrollOrigin(5000, 5000);
  view->UpdateScrollRange();
  EXPECT_EQ(1000 - client.right + 1, view->GetScrollX());
  EXPECT_EQ(800 - client.bottom + 1, view->GetScrollY());

  // A document that fits shows from where the view says.
  view->extent = RECT{-50, -40, 100, 60};
  view->fittingOrigin = -7;
  view->UpdateScrollRange();
  EXPECT_EQ(-7, view->GetScrollX());
  EXPECT_EQ(-7, view->GetScrollY());
  EXPECT_EQ(-50, Bar(window, SB_HORZ).nMin);
}

TEST_F(CanvasTest, ClientAndDocumentPointsDifferByTheOrigin) {
  auto* view = new SquareView(form, 300, 200, WS_HSCROLL | WS_VSCROLL);
  view->SetScrollOrigin(30, -20);
  POINT d = view->ClientToDocument(5, 6);
  EXPECT_EQ(35, d.x);
  EXPECT_EQ(-14, d.y);
  POINT fromMessage = view->ClientToDocument(MAKELPARAM(-3, 4));  // signed 16-bit coordinates
  EXPECT_EQ(27, fromMessage.x);
  EXPECT_EQ(-16, fromMessage.y);
  POINT c = view->DocumentToClient(35, -14);
  EXPECT_EQ(5, c.x);
  EXPECT_EQ(6, c.y);
  RECT r = view->DocumentToClient(RECT{30, -20, 40, 0});
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(10, r.right);
  EXPECT_EQ(20, r.bottom);
}

TEST_F(CanvasTest, BarsWheelAndEdgesScroll) {
  auto* view = new SquareView(form, 300, 200, WS_HSCROLL | WS_VSCROLL);
  HWND window = view->GetHandle();
  view->UpdateScrollRange();
  RECT client = Client(window);

  SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(800 - client.bottom + 1, view->GetScrollY());
  SendMessageW(window, WM_HSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(client.right, view->GetScrollX());
  EXPECT_EQ(view->GetScrollX(), Bar(window, SB_HORZ).nPos);

  // The wheel scrolls its delta up to the range's start.
  view->SetScrollOrigin(0, 300);
  view->UpdateScrollRange();
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(300 - WHEEL_DELTA, view->GetScrollY());
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
  EXPECT_EQ(0, view->GetScrollY());

  // Near an edge a line that way; in the middle nothing.
  view->SetScrollOrigin(100, 100);
  view->UpdateScrollRange();
  view->AutoScrollAtEdge(client.right / 2, client.bottom / 2);
  EXPECT_EQ(100, view->GetScrollX());
  EXPECT_EQ(100, view->GetScrollY());
  view->AutoScrollAtEdge(client.right - 5, 5);
  EXPECT_GT(view->GetScrollX(), 100);
  EXPECT_LT(view->GetScrollY(), 100);
  view->AutoScrollAtEdge(CKestCanvas::kEdgeZone, client.bottom - CKestCanvas::kEdgeZone);  // just outside the zone
  EXPECT_EQ(view->GetScrollX(), Bar(window, SB_HORZ).nPos);
  EXPECT_EQ(view->GetScrollY(), Bar(window, SB_VERT).nPos);
}

TEST_F(CanvasTest, BufferedPaintingDrawsTheContentAtTheOriginOnThePaper) {
  auto* view = new SquareView(form, 300, 200, WS_HSCROLL | WS_VSCROLL);
  view->SetPaperColor(RGB(0, 0, 255));
  view->UpdateScrollRange();
  view->SetScrollOrigin(95, 90);
  velktest::MemoryCanvas picture(300, 200);
  view->PaintBuffered(picture.dc());
  // The square at document (100, 100) lands at client (5, 10).
  EXPECT_EQ(RGB(0, 0, 0), picture.At(5, 10));
  EXPECT_EQ(RGB(0, 0, 0), picture.At(14, 19));
  EXPECT_EQ(RGB(0, 0, 255), picture.At(15, 20));
  EXPECT_EQ(RGB(0, 0, 255), picture.At(4, 9));
  picture.Save(L"kest_canvas.bmp");
}

TEST_F(CanvasTest, APlainCanvasIsDrawnByItsFormThroughTheBuffer) {
  auto* canvas = new CKestCanvas(form, 7, KestPos(10, 10), 60, 40);
  HWND window = canvas->GetHandle();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(7, GetDlgCtrlID(window));
  EXPECT_EQ(form->GetBackColor(), canvas->GetPaperColor());  // made on the form's colour
  canvas->SetPaperColor(RGB(204, 204, 204));
  form->canvas = canvas;

  velktest::MemoryCanvas picture(60, 40);
  int before = form->paints;
  canvas->PaintBuffered(picture.dc());
  EXPECT_EQ(before + 1, form->paints);
  EXPECT_EQ(RGB(0, 0, 0), picture.At(5, 5));
  EXPECT_EQ(RGB(204, 204, 204), picture.At(20, 20));
  EXPECT_EQ(0, canvas->GetDCUseCount());

  // Without scrolling of its own it never gains scroll bars.
  canvas->UpdateScrollRange();
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(0, style & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(0, canvas->GetScrollX());
}

TEST_F(CanvasTest, TheBandInvertsAtItsDocumentPlaceAndADrawingAgainTakesItAway) {
  auto* view = new SquareView(form, 300, 200, WS_HSCROLL | WS_VSCROLL);
  HWND window = view->GetHandle();
  view->UpdateScrollRange();
  view->SetScrollOrigin(50, 50);
  view->SetPaperColor(RGB(255, 255, 255));
  view->SetBandStyle(PS_SOLID, RGB(0, 0, 0), R2_NOT);
  view->PaintNow();
  auto pixel = [&](int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
  };
  ASSERT_EQ(RGB(255, 255, 255), pixel(10, 20));
  // Document (60, 70) to (90, 80) is client (10, 20) to (40, 30).
  view->DrawBand(POINT{60, 70}, POINT{90, 80});
  EXPECT_EQ(RGB(0, 0, 0), pixel(10, 20));
  EXPECT_EQ(RGB(0, 0, 0), pixel(39, 29));
  EXPECT_EQ(RGB(255, 255, 255), pixel(20, 25));  // no fill
  view->DrawBand(POINT{60, 70}, POINT{90, 80});
  EXPECT_EQ(RGB(255, 255, 255), pixel(10, 20));
  EXPECT_EQ(RGB(255, 255, 255), pixel(39, 29));
  view->DrawRubberLine(POINT{60, 100}, POINT{90, 100});
  EXPECT_EQ(RGB(0, 0, 0), pixel(20, 50));
  view->DrawRubberLine(POINT{60, 100}, POINT{90, 100});
  EXPECT_EQ(RGB(255, 255, 255), pixel(20, 50));
}
