#include "kestui/graphics/kest_canvas.h"

#include <windowsx.h>

#include "kestui/core/kest_messages.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

CKestCanvas::CKestCanvas() = default;

CKestCanvas::CKestCanvas(CKestControl* parent, int id, uint32_t position, int width, int height) {
  if (!CreateCanvasWindow(parent, position, width, height, 0, false)) return;
  SetWindowLongPtrW(window_, GWLP_ID, id);
  if (backColor_ != KEST_TRANSPARENT) paperColor_ = backColor_;
}

bool CKestCanvas::CreateCanvasWindow(CKestControl* parent, uint32_t position, int width, int height, DWORD styles,
                                     bool scrolls) {
  scrolls_ = scrolls;
  return CreateControlWindow(0, nullptr, L"", WS_CHILD | WS_VISIBLE | styles, position, width, height, parent,
                             nullptr, nullptr);
}

// ---------------------------------------------------------------- coordinates

void CKestCanvas::SetScrollOrigin(int x, int y) {
  scrollX_ = x;
  scrollY_ = y;
}

POINT CKestCanvas::ClientToDocument(LPARAM mousePoint) const {
  return ClientToDocument(GET_X_LPARAM(mousePoint), GET_Y_LPARAM(mousePoint));
}

RECT CKestCanvas::DocumentToClient(const RECT& r) const {
  return RECT{r.left - scrollX_, r.top - scrollY_, r.right - scrollX_, r.bottom - scrollY_};
}

// ---------------------------------------------------------------- scrolling

RECT CKestCanvas::GetDocumentExtent() {
  RECT client = {0, 0, 0, 0};
  if (window_) GetClientRect(window_, &client);
  return client;
}

int CKestCanvas::OriginWhenFitting(int) const { return 0; }

void CKestCanvas::UpdateScrollRange() {
  if (!window_ || !scrolls_) return;
  RECT extent = GetDocumentExtent();
  RECT client;
  GetClientRect(window_, &client);
  struct Bar {
    int bar;
    int low, high, page;
    int* position;
  } bars[2] = {
      {SB_HORZ, extent.left, extent.right, client.right - client.left, &scrollX_},
      {SB_VERT, extent.top, extent.bottom, client.bottom - client.top, &scrollY_},
  };
  for (Bar& b : bars) {
    bool fits = b.high - b.low < b.page;
    if (fits) *b.position = OriginWhenFitting(b.low);
    SetScrollBarRange(window_, b.bar, b.low, b.high, b.page, *b.position);
    // A document that shrank leaves the old position past the new range:
    // the canvas follows the bar, which keeps it inside.
    if (!fits) *b.position = GetScrollPos(window_, b.bar);
  }
}

void CKestCanvas::ScrollTo(int bar, int position) {
  ScrollContentTo(window_, bar, bar == SB_HORZ ? &scrollX_ : &scrollY_, position);
}

void CKestCanvas::AutoScrollAtEdge(int clientX, int clientY) {
  if (!window_ || !scrolls_) return;
  RECT client;
  GetClientRect(window_, &client);
  if (clientX < kEdgeZone) SendMessageW(window_, WM_HSCROLL, SB_LINELEFT, 0);
  if (clientX > client.right - kEdgeZone) SendMessageW(window_, WM_HSCROLL, SB_LINERIGHT, 0);
  if (clientY < kEdgeZone) SendMessageW(window_, WM_VSCROLL, SB_LINEUP, 0);
  if (clientY > client.bottom - kEdgeZone) SendMessageW(window_, WM_VSCROLL, SB_LINEDOWN, 0);
}

void CKestCanvas::ScrollByWheel(int delta) {
  if (delta == 0 || !window_) return;
  scrollY_ = WheelScrollPosition(window_, scrollY_, delta);
  UpdateScrollRange();
  InvalidateRect(window_, nullptr, FALSE);
}

void CKestCanvas::OnWheel(int delta) { ScrollByWheel(delta); }

// ---------------------------------------------------------------- painting

void CKestCanvas::Paint() { PaintBuffered(dc_); }

void CKestCanvas::PaintContent(HDC) { CKestPaintBox::Paint(); }

void CKestCanvas::PaintBuffered(HDC dc) {
  if (!window_ || !dc) return;
  RECT client;
  GetClientRect(window_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  CKestOwnedDC memory(CreateCompatibleDC(dc));
  if (!memory) return;
  CKestOwnedBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  CKestOwnedBrush background(CreateSolidBrush(paperColor_));
  if (!bitmap || !background) return;
  CKestDcSelection selection(memory.Get());
  if (!selection.Select(bitmap.Get())) return;
  FillRect(memory.Get(), &client, background.Get());
  SetWindowOrgEx(memory.Get(), scrollX_, scrollY_, nullptr);
  {
    // While the content is drawn, GetDC answers the off-screen bitmap; a DC
    // held across the painting is given back afterwards.
    HDC heldDC = dc_;
    int heldUses = dcUses_;
    bool heldWindowDC = windowDC_;
    dc_ = memory.Get();
    dcUses_ = 1;
    windowDC_ = false;
    HWND window = window_;
    PaintContent(memory.Get());
    if (GetControlFromHandle(window) != this) return;  // the form closed the canvas
    dc_ = heldDC;
    dcUses_ = heldUses;
    windowDC_ = heldWindowDC;
  }
  SetWindowOrgEx(memory.Get(), 0, 0, nullptr);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void CKestCanvas::PaintNow() {
  if (!window_) return;
  {
    CKestWindowDC dc(window_);
    if (dc) PaintBuffered(dc.Get());
  }
  ValidateRect(window_, nullptr);
}

// ---------------------------------------------------------------- rubber band

void CKestCanvas::SetBandStyle(int penStyle, COLORREF color, int rop2) {
  bandPenStyle_ = penStyle;
  bandColor_ = color;
  bandRop_ = rop2;
}

void CKestCanvas::DrawBand(POINT from, POINT to) {
  DrawOnWindow([&](HDC dc) {
    CKestOwnedPen pen(CreatePen(bandPenStyle_, 1, bandColor_));
    CKestDcSelection select(dc);
    select.Select(pen.Get());
    select.Select(GetStockObject(NULL_BRUSH));
    int oldRop = SetROP2(dc, bandRop_);
    int oldBk = SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, from.x, from.y, to.x, to.y);
    SetBkMode(dc, oldBk);
    SetROP2(dc, oldRop);
  });
}

void CKestCanvas::DrawRubberLine(POINT from, POINT to) {
  DrawOnWindow([&](HDC dc) {
    CKestOwnedPen pen(CreatePen(bandPenStyle_, 1, bandColor_));
    CKestDcSelection select(dc);
    select.Select(pen.Get());
    int oldRop = SetROP2(dc, bandRop_);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    SetROP2(dc, oldRop);
  });
}

// ---------------------------------------------------------------- messages

LRESULT CKestCanvas::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      // The buffered painting fills the whole client area.
      return 1;
    case WM_SIZE:
      if (scrolls_) {
        UpdateScrollRange();
        InvalidateRect(window_, nullptr, FALSE);
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (scrolls_) {
        int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
        ScrollTo(bar, HandleScrollCommand(bar, LOWORD(wParam), window_));
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      if (scrolls_) {
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
      }
      break;
    case WM_RBUTTONUP:
      if (suppressMenu_) {
        suppressMenu_ = false;
        return 0;
      }
      break;
    default:
      break;
  }
  return CKestPaintBox::WindowProc(message, wParam, lParam);
}
