#include "scheme/board/pcb_painter.h"

#include <cmath>
#include <cwchar>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// GDI keeps coordinates within 27 bits; a point mapped further out (or not
// a number at all) is pinned to the limit instead of overflowing the int.
const float kPixelLimit = 134217727.0f;

// The argument is rounded to a float first: on the x87 unit a sum may carry
// more precision, and 300 - 6e-16 must truncate to 300, not 299.
int ToPixel(float value) {
  volatile float rounded = value;
  float v = rounded;
  if (v != v) return 0;
  if (v > kPixelLimit) return static_cast<int>(kPixelLimit);
  if (v < -kPixelLimit) return -static_cast<int>(kPixelLimit);
  return static_cast<int>(v);  // truncation toward zero
}

// Selects a pen and a brush for one drawing step and puts the previous ones
// back when it goes, deleting the ones it was given to own. A pen or brush
// that could not be made is replaced by the stock null one.
class PenAndBrush {
public:
  PenAndBrush(HDC dc, HGDIOBJ pen, bool ownPen, HGDIOBJ brush, bool ownBrush)
      : dc_(dc), pen_(pen), brush_(brush), ownPen_(ownPen), ownBrush_(ownBrush) {
    oldPen_ = SelectObject(dc_, pen_ ? pen_ : GetStockObject(NULL_PEN));
    oldBrush_ = SelectObject(dc_, brush_ ? brush_ : GetStockObject(NULL_BRUSH));
  }
  ~PenAndBrush() {
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (ownPen_ && pen_) DeleteObject(pen_);
    if (ownBrush_ && brush_) DeleteObject(brush_);
  }
  PenAndBrush(const PenAndBrush&) = delete;
  PenAndBrush& operator=(const PenAndBrush&) = delete;

private:
  HDC dc_;
  HGDIOBJ pen_, brush_;
  bool ownPen_, ownBrush_;
  HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr;
};

// The usual pairs of the package drawers.
struct SolidFill : PenAndBrush {
  SolidFill(HDC dc, COLORREF fill)  // no outline
      : PenAndBrush(dc, GetStockObject(NULL_PEN), false, CreateSolidBrush(fill), true) {}
};
struct OutlinedFill : PenAndBrush {
  OutlinedFill(HDC dc, COLORREF fill, COLORREF outline)  // 1-pixel solid outline
      : PenAndBrush(dc, CreatePen(PS_SOLID, 1, outline), true, CreateSolidBrush(fill), true) {}
};
struct BodyFill : PenAndBrush {
  explicit BodyFill(HDC dc)  // grey body with the black stock pen
      : PenAndBrush(dc, GetStockObject(BLACK_PEN), false, CreateSolidBrush(kSchPcbBodyColor), true) {}
};

int PinsOrNone(int n) { return n > 0 ? n : 0; }

}  // namespace

PcbPainter::PcbPainter(HDC windowDc, int scrollX_, int scrollY_, float scale_, int width_, int height_)
    : scale(scale_), scrollX(scrollX_), scrollY(scrollY_), width(width_), height(height_) {
  HDC screen = windowDc ? nullptr : GetDC(nullptr);
  HDC reference = windowDc ? windowDc : screen;
  ownDc_ = CreateCompatibleDC(reference);
  if (ownDc_) bitmap = CreateCompatibleBitmap(reference, width > 0 ? width : 1, height > 0 ? height : 1);
  if (screen) ReleaseDC(nullptr, screen);
  dc = ownDc_;
  if (ownDc_) {
    if (bitmap) oldBitmap_ = SelectObject(ownDc_, bitmap);
    SetStretchBltMode(ownDc_, HALFTONE);
    SetTextColor(ownDc_, RGB(0, 0, 0));
    SetBkMode(ownDc_, TRANSPARENT);
  }
  m11 = scale;
  m21 = 0;
  m12 = 0;
  m22 = scale;
}

PcbPainter::~PcbPainter() {
  if (ownDc_) {
    if (oldBitmap_) SelectObject(ownDc_, oldBitmap_);
    DeleteDC(ownDc_);
  }
  if (bitmap) DeleteObject(bitmap);
}

void PcbPainter::SetPlacement(float x, float y, int t) {
  originX = x * scale - scrollX + width / 2;
  originY = y * scale - scrollY + height / 2;
  placement = t;
  const float s = scale;
  switch (t) {
    case 0: m11 = s; m21 = 0; m12 = 0; m22 = s; break;
    case 1: m11 = 0; m21 = s; m12 = -s; m22 = 0; break;
    case 2: m11 = -s; m21 = 0; m12 = 0; m22 = -s; break;
    case 3: m11 = 0; m21 = -s; m12 = s; m22 = 0; break;
    default: break;  // the previous turn stays
  }
}

POINT PcbPainter::MapPoint(float x, float y) const {
  POINT p;
  p.x = ToPixel(x * m11 + y * m12 + originX);
  p.y = ToPixel(x * m21 + y * m22 + originY);
  return p;
}

void PcbPainter::MoveTo(float x, float y) {
  POINT p = MapPoint(x, y);
  MoveToEx(dc, p.x, p.y, nullptr);
}

void PcbPainter::LineTo(float x, float y) {
  POINT p = MapPoint(x, y);
  ::LineTo(dc, p.x, p.y);
}

void PcbPainter::DrawCircle(float x, float y, float radius) {
  POINT c = MapPoint(x, y);
  int r = ToPixel(radius * scale);
  Ellipse(dc, c.x - r, c.y - r, c.x + r, c.y + r);
}

void PcbPainter::DrawRectangle(float x1, float y1, float x2, float y2) {
  POINT p[4] = {MapPoint(x1, y1), MapPoint(x2, y1), MapPoint(x2, y2), MapPoint(x1, y2)};
  Polygon(dc, p, 4);
}

void PcbPainter::DrawPolygon(int count, const float* points) {
  if (count <= 0 || !points) return;
  std::vector<POINT> mapped(static_cast<size_t>(count));
  for (int i = 0; i < count; i++) mapped[i] = MapPoint(points[2 * i], points[2 * i + 1]);
  Polygon(dc, mapped.data(), count);
}

void PcbPainter::DrawText(float x, float y, float h, const wchar_t* text, int direction) {
  if (!text || !*text) return;
  int q = (direction + placement) & 3;
  static const int kEscapement[4] = {0, -900, 1800, 900};
  static const int kFx[4] = {-1, 1, 1, -1};
  static const int kFy[4] = {-1, -1, 1, 1};
  LOGFONTW lf = {};
  lf.lfHeight = -ToPixel(h * scale);
  lf.lfEscapement = kEscapement[q];
  lf.lfOrientation = kEscapement[q];
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"Arial");
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) return;
  HGDIOBJ old = SelectObject(dc, font);
  size_t length = wcslen(text);
  int n = length > 0x7FFFFFF ? 0x7FFFFFF : static_cast<int>(length);
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text, n, &size);
  int cx = size.cx, cy = size.cy;
  if (q & 1) {
    cx = size.cy;
    cy = size.cx;
  }
  POINT p = MapPoint(x, y);
  TextOutW(dc, p.x + kFx[q] * (cx / 2), p.y + kFy[q] * (cy / 2), text, n);
  SelectObject(dc, old);
  DeleteObject(font);
}

void PcbPainter::DrawRoundedRectangle(float x1, float y1, float x2, float y2, float r) {
  float pts[48];
  for (int k = 0; k < 6; k++) {
    float c = static_cast<float>(r * std::cos(k * 18.0 * kPi / 180.0));
    float s = static_cast<float>(r * std::sin(k * 18.0 * kPi / 180.0));
    float* tl = pts + 2 * k;
    float* tr = pts + 2 * (6 + k);
    float* br = pts + 2 * (12 + k);
    float* bl = pts + 2 * (18 + k);
    tl[0] = x1 + r - c; tl[1] = y1 + r - s;
    tr[0] = x2 - r + s; tr[1] = y1 + r - c;
    br[0] = x2 - r + c; br[1] = y2 - r + s;
    bl[0] = x1 + r - s; bl[1] = y2 - r + c;
  }
  DrawPolygon(24, pts);
}

void PcbPainter::DrawCapsuleOutline(float x1, float y1, float x2, float y2) {
  float cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  float hw = std::fabs(x2 - x1) / 2, hh = std::fabs(y2 - y1) / 2;
  float pts[52];
  for (int k = 0; k <= 12; k++) {
    float c = static_cast<float>(std::cos(k * 15.0 * kPi / 180.0));
    float s = static_cast<float>(std::sin(k * 15.0 * kPi / 180.0));
    float* first = pts + 2 * k;
    float* second = pts + 2 * (13 + k);
    if (hh > hw) {  // upright: round top and bottom
      first[0] = cx + hw * c; first[1] = cy + hh - hw + hw * s;
      second[0] = cx - hw * c; second[1] = cy - hh + hw - hw * s;
    } else {  // lying: round left and right
      first[0] = cx + hw - hh + hh * s; first[1] = cy + hh * c;
      second[0] = cx - hw + hh - hh * s; second[1] = cy - hh * c;
    }
  }
  DrawPolygon(26, pts);
}

// ------------------------------------------------------------ packages

void PcbPainter::DrawDualRowSurface(int n, float p, float e, float h, float B, float X) {
  int k = PinsOrNone(n) / 2;
  float L = ((k - 1) * p + e) / 2;
  {
    SolidFill pads(dc, kSchPcbPadColor);
    for (int i = 0; i < k; i++) {
      float y = -L + e / 2 + i * p;
      DrawRectangle(-X, y - h, -B, y + h);
      DrawRectangle(X, y - h, B, y + h);
    }
  }
  BodyFill body(dc);
  DrawRectangle(-B, -L, B, L);
  DrawCircle(-B + 1, -L + 1, 0.3f);
}

void PcbPainter::DrawWideSoPackage(int n) { DrawDualRowSurface(n, 1.27f, 1.57f, 0.2f, 3.75f, 5.1f); }
void PcbPainter::DrawSsopPackage(int n) { DrawDualRowSurface(n, 0.65f, 1.75f, 0.15f, 2.65f, 3.9f); }
void PcbPainter::DrawNarrowSoPackage(int n) { DrawDualRowSurface(n, 1.27f, 1.57f, 0.2f, 1.95f, 3.1f); }

void PcbPainter::DrawDualRowThroughHole(int n, float W, float XL, float XR) {
  int k = PinsOrNone(n) / 2;
  float L = (k - 1) * 2.54f / 2 + 0.889f;
  {
    OutlinedFill pads(dc, kSchPcbPadColor, kSchPcbPadPenColor);
    for (int i = 0; i < k; i++) {
      float y = 0.889f - L + i * 2.54f;
      DrawRectangle(-XL, y - 0.6985f, -W, y + 0.6985f);
      DrawRectangle(XR, y - 0.6985f, W, y + 0.6985f);
    }
  }
  OutlinedFill body(dc, kSchPcbBodyColor, RGB(0, 0, 0));
  DrawRectangle(-W, -L, W, L);
  float notch[26];
  for (int j = 0; j <= 12; j++) {
    notch[2 * j] = static_cast<float>(1.27 * std::cos(j * 15.0 * kPi / 180.0));
    notch[2 * j + 1] = static_cast<float>(-L + 1.27 * std::sin(j * 15.0 * kPi / 180.0));
  }
  DrawPolygon(13, notch);
}

void PcbPainter::DrawDipPackage(int n) { DrawDualRowThroughHole(n, 3.5f, 3.986f, 3.96f); }
void PcbPainter::DrawWideDipPackage(int n) { DrawDualRowThroughHole(n, 6.75f, 7.62f, 7.62f); }

void PcbPainter::DrawQuadFlatPackage(int n) {
  int k = PinsOrNone(n) / 4;
  float S = (k - 1) * 0.8f;
  float H = (S + 1.4f) / 2;
  float T = (S + 3.6f) / 2;
  {
    SolidFill pads(dc, kSchPcbPadColor);
    for (int i = 0; i < k; i++) {
      float a = -H + 0.5f + i * 0.8f;
      float b = -H + 0.9f + i * 0.8f;
      DrawRectangle(-T, a, -H, b);  // left
      DrawRectangle(a, H, b, T);    // bottom
      DrawRectangle(T, a, H, b);    // right
      DrawRectangle(a, -H, b, -T);  // top
    }
  }
  BodyFill body(dc);
  DrawRectangle(-H, -H, H, H);
  DrawCircle(-H + 1, -H + 1, 0.3f);
}

void PcbPainter::DrawStaggeredLeadPackage(int n) {
  n = PinsOrNone(n);
  float A = ((n - 1) * 1.7f + 3.2f) / 2;
  {
    SolidFill leads(dc, kSchPcbPadColor);
    for (int i = 0; i < n; i += 2) {
      float x = -A + 1.7f + i * 1.7f;
      DrawRectangle(x - 0.45f, 0, x + 0.45f, 5.08f);
    }
  }
  {
    BodyFill body(dc);
    DrawRectangle(-A, -2.95f, A, 0.45f);
  }
  OutlinedFill tab(dc, kSchPcbPadColor, kSchPcbPadPenColor);
  DrawRectangle(-A, -4.55f, A, -2.95f);
  MoveTo(-A + 2.3f, -4.55f);
  LineTo(-A + 2.3f, -2.95f);
  MoveTo(A - 2.3f, -4.55f);
  LineTo(A - 2.3f, -2.95f);
}

void PcbPainter::DrawFlatPack14Package() {
  {
    SolidFill leads(dc, kSchPcbFlatLeadColor);
    for (int i = 0; i < 7; i++) {
      float y = -3.75f + 1.25f * i;
      DrawRectangle(-7, y - 0.215f, -3.25f, y + 0.215f);
      DrawRectangle(7, y - 0.215f, 3.25f, y + 0.215f);
      if (i == 0) DrawRectangle(-4.75f, y - 0.6f, -3.25f, y);  // pin-1 mark
    }
  }
  {
    OutlinedFill outer(dc, kSchPcbFlatOuterColor, kSchPcbBodyColor);
    DrawRoundedRectangle(-3.25f, -5, 3.25f, 5, 1);
  }
  OutlinedFill inner(dc, kSchPcbFlatInnerColor, kSchPcbBodyColor);
  DrawRoundedRectangle(-3, -4.75f, 3, 4.75f, 1);
  DrawRoundedRectangle(-1.75f, -3.5f, 1.75f, 3.5f, 1);
}
