// The drawing context of the board view: an off-screen bitmap on which board
// millimetres are mapped to pixels. A part draws its footprint in its own
// millimetre frame (x right, y down, origin at its reference point) after
// the view has placed it with SetPlacement; the placement turns and moves
// everything drawn. The package drawers are the common chip outlines, so
// that every chip draws its package by one call.
#pragma once

#include <windows.h>

// Colours of the package drawers (COLORREF, 0x00BBGGRR).
const COLORREF kSchPcbPadColor = 0xFFE0CC;       // pale blue: pads, leads, the tab
const COLORREF kSchPcbBodyColor = 0x666666;      // grey: bodies; flat-pack outline pen
const COLORREF kSchPcbPadPenColor = 0x993300;    // dark blue: outline of DIP pads and the tab
const COLORREF kSchPcbFlatLeadColor = 0x99FFFF;  // pale yellow: flat-pack leads
const COLORREF kSchPcbFlatOuterColor = 0xAACCBB; // grey green: flat-pack outer body
const COLORREF kSchPcbFlatInnerColor = 0x999999; // light grey: flat-pack inner bodies

class PcbPainter {
public:
  // A memory DC compatible with windowDc (the screen when null) holding a
  // compatible bitmap of width x height pixels; halftone stretching, black
  // transparent text; placement 0 at origin (0, 0).
  PcbPainter(HDC windowDc, int scrollX, int scrollY, float scale, int width, int height);
  // Deletes the bitmap and the memory DC it made (also when a caller has put
  // another context into dc for a while).
  ~PcbPainter();
  PcbPainter(const PcbPainter&) = delete;
  PcbPainter& operator=(const PcbPainter&) = delete;

  // False when the memory DC or the bitmap could not be made.
  bool IsReady() const { return ownDc_ && bitmap; }

  // Places the current part: its reference point at board millimetres
  // (x, y), turned by placement quarter turns clockwise (0-3). Another
  // placement value moves the origin and keeps the previous turn.
  void SetPlacement(float x, float y, int placement);
  // Part frame millimetres to bitmap pixels (truncated toward zero).
  POINT MapPoint(float x, float y) const;

  // Primitives, in the part frame, with the pen and brush selected into dc.
  void MoveTo(float x, float y);
  void LineTo(float x, float y);
  void DrawCircle(float x, float y, float radius);
  // One polygon through the four corners, so that it turns with the part.
  void DrawRectangle(float x1, float y1, float x2, float y2);
  // points: count pairs of x, y.
  void DrawPolygon(int count, const float* points);
  // Black Arial text of the height (mm) centred on the point, turned by
  // direction quarter turns on top of the placement.
  void DrawText(float x, float y, float height, const wchar_t* text, int direction);
  // 24 points, six on each corner arc of radius r.
  void DrawRoundedRectangle(float x1, float y1, float x2, float y2, float r);
  // The rectangle with its two short ends rounded into half circles.
  void DrawCapsuleOutline(float x1, float y1, float x2, float y2);

  // Package drawers (pin count n); each selects its own pens and brushes and
  // restores the previous ones. Pads first, then the body.
  void DrawWideSoPackage(int n);
  void DrawSsopPackage(int n);
  void DrawNarrowSoPackage(int n);
  void DrawDipPackage(int n);
  void DrawWideDipPackage(int n);
  void DrawQuadFlatPackage(int n);
  void DrawStaggeredLeadPackage(int n);
  void DrawFlatPack14Package();

  // Fields, in this order.
  HDC dc = nullptr;           // what everything is drawn on; components may use it directly
  HBITMAP bitmap = nullptr;   // owned, selected into the memory DC
  float scale = 1;            // pixels per millimetre
  int scrollX = 0, scrollY = 0;
  int width = 0, height = 0;  // of the bitmap
  int placement = 0;          // quarter turns of the current part
  float originX = 0, originY = 0;  // pixel position of the current part's reference point
  float m11 = 1, m21 = 0, m12 = 0, m22 = 1;

private:
  void DrawDualRowSurface(int n, float pitch, float endAllowance, float padHalf, float bodyHalf,
                          float leadEnd);
  void DrawDualRowThroughHole(int n, float bodyHalf, float leftEnd, float rightEnd);

  HDC ownDc_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};
