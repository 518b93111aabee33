// CKestCanvas: the scrolled drawing surface the editors are built on (the
// scheme view, the board view, the block-diagram view and the control
// panel's canvas). It owns what they share: the scroll origin and the scroll
// bars over the document's extent, the scroll messages and the wheel,
// scrolling at the edge while a button is held, painting through one
// off-screen bitmap, the rubber band, and the conversion between client and
// document coordinates. A view says how large its document is
// (GetDocumentExtent) and draws it (PaintContent); its own editing - tools,
// drag states, hit tests - stays in the view.
//
// Document coordinates are client coordinates plus the scroll origin.
//
// A canvas is a paint box: without a view of its own (the control panel's
// canvas) its content is drawn by its owning form on WM_KEST_PAINT, through
// GetDC, which answers the off-screen bitmap while the canvas paints.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/graphics/kest_paintbox.h"
#include "kestui/graphics/kest_window_dc.h"

class CKestCanvas : public CKestPaintBox {
public:
  // A canvas without scroll bars of its own, drawn by its owning form: a
  // visible child with the control id, at the position code, of that size.
  CKestCanvas(CKestControl* parent, int id, uint32_t position, int width, int height);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // WM_PAINT: the buffered painting into the paint DC.
  void Paint() override;
  // The colour the buffered painting starts from (white at first; a plain
  // canvas starts with the background colour it was made with).
  COLORREF GetPaperColor() const { return paperColor_; }
  void SetPaperColor(COLORREF color) { paperColor_ = color; }

  // The scroll origin: the document point at the client's top left corner.
  int GetScrollX() const { return scrollX_; }
  int GetScrollY() const { return scrollY_; }
  // Moves the origin without scrolling the window; the next painting shows
  // it (UpdateScrollRange keeps it inside the range).
  void SetScrollOrigin(int x, int y);

  POINT ClientToDocument(int x, int y) const { return POINT{x + scrollX_, y + scrollY_}; }
  // The point of a mouse message (signed client coordinates).
  POINT ClientToDocument(LPARAM mousePoint) const;
  POINT DocumentToClient(int x, int y) const { return POINT{x - scrollX_, y - scrollY_}; }
  RECT DocumentToClient(const RECT& r) const;

  // Both scroll bars over the document's extent (GetDocumentExtent), page =
  // the client size. A document that fits the client shows from
  // OriginWhenFitting; otherwise the origin stays inside the range, as the
  // bar keeps it. The bars stay visible, disabled, when not needed. Nothing
  // for a canvas without scrolling.
  void UpdateScrollRange();
  // A client point within 20 pixels of an edge scrolls a line that way
  // (while dragging).
  void AutoScrollAtEdge(int clientX, int clientY);
  // A wheel turn of delta scrolls vertically by delta pixels within the
  // range; then the range is updated and the canvas repainted.
  void ScrollByWheel(int delta);

  // Paints the client area into dc through one off-screen bitmap: filled
  // with the paper colour, PaintContent at the scroll origin, copied to
  // dc in one piece.
  virtual void PaintBuffered(HDC dc);
  // Paints the window at once (no waiting for WM_PAINT) and validates it.
  void PaintNow();

  // The rubber band: its pen and the raster operation it is drawn with (an
  // inverting one, so that drawing it again takes it away).
  void SetBandStyle(int penStyle, COLORREF color, int rop2);
  // A band rectangle between two document points, on the window.
  void DrawBand(POINT from, POINT to);
  // A rubber line between two document points, on the window.
  void DrawRubberLine(POINT from, POINT to);

  // Edge zone of AutoScrollAtEdge.
  static constexpr int kEdgeZone = 20;

protected:
  // For views: the window comes from CreateCanvasWindow.
  CKestCanvas();

  // Makes the canvas window: a visible child with the extra styles given
  // (WS_TABSTOP, WS_HSCROLL, WS_VSCROLL). scrolls: the canvas keeps scroll
  // bars over its document (the window may start without them). False when
  // the window could not be made.
  bool CreateCanvasWindow(CKestControl* parent, uint32_t position, int width, int height, DWORD styles,
                          bool scrolls);

  // The document's extent, margin included, in document coordinates. Base:
  // the client rectangle.
  virtual RECT GetDocumentExtent();
  // Where a document that fits the client shows from, on one axis whose
  // extent starts at low. Base: 0.
  virtual int OriginWhenFitting(int low) const;
  // Draws the document into dc, whose origin is the scroll origin. Base: the
  // owning form draws it (WM_KEST_PAINT; GetDC answers dc meanwhile).
  virtual void PaintContent(HDC dc);
  // A wheel turn over the canvas. Base: ScrollByWheel.
  virtual void OnWheel(int delta);

  // The right press being handled was the view's own (it ended a tool):
  // its release opens no popup menu.
  void SuppressMenuOnRelease() { suppressMenu_ = true; }

  // Runs draw(dc) on a DC of the window whose origin is the scroll origin.
  template <class Draw>
  void DrawOnWindow(Draw&& draw);

private:
  void ScrollTo(int bar, int position);

  int scrollX_ = 0;
  int scrollY_ = 0;
  bool scrolls_ = false;
  bool suppressMenu_ = false;
  COLORREF paperColor_ = RGB(255, 255, 255);
  int bandPenStyle_ = PS_SOLID;
  COLORREF bandColor_ = RGB(0, 0, 0);
  int bandRop_ = R2_NOT;
};

template <class Draw>
void CKestCanvas::DrawOnWindow(Draw&& draw) {
  if (!window_) return;
  CKestWindowDC dc(window_);
  if (!dc) return;
  POINT old = {0, 0};
  SetWindowOrgEx(dc.Get(), scrollX_, scrollY_, &old);
  draw(dc.Get());
  SetWindowOrgEx(dc.Get(), old.x, old.y, nullptr);
}
