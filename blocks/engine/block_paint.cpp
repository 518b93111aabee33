// Drawing of CBEBlock: body, captions, pin marks, selection frame, links.
#include "blocks/engine/block.h"

#include <cwchar>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kHardwareRed = RGB(255, 0, 0);
const int kCaptionInset = 15;
const int kCaptionExtraBelow = 4;
const int kCaptionBelowGap = 4;
const int kPinMark = 3;          // half height of a pin triangle
const int kPinNameGap = 5;       // from the body's edge to a pin name
const int kPinNameHalfBand = 10;  // half height of the band a pin name is centred in
const int kSelectionGap = 4;
// A body whose red, green and blue add up to at most this gets white text.
const int kDarkFillSum = 384;

// A GDI object deleted when it goes (after the DC state that selected it
// has been restored: declare it before the SavedDc).
class OwnedGdiObject {
public:
  explicit OwnedGdiObject(HGDIOBJ object) : object_(object) {}
  ~OwnedGdiObject() {
    if (object_) DeleteObject(object_);
  }
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
  HGDIOBJ Get() const { return object_; }

private:
  HGDIOBJ object_;
};

// The DC's selections, colours and modes, restored when it goes.
class SavedDc {
public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

private:
  HDC dc_;
  int saved_;
};

void DrawPinMark(HDC dc, int x, int y) {
  POINT p[3] = {{x - kPinMark, y - kPinMark}, {x + kPinMark, y}, {x - kPinMark, y + kPinMark}};
  Polygon(dc, p, 3);
}
}  // namespace

void CBEBlock::DrawBody(HDC dc) {
  OwnedGdiObject brush(CreateSolidBrush(fillColor));
  SavedDc saved(dc);
  SelectObject(dc, brush.Get());
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CBEBlock::DrawCaptionCentered(HDC dc, const wchar_t* text) {
  if (!text) return;
  SavedDc saved(dc);
  RECT area = rect;
  InflateRect(&area, -kCaptionInset, -kCaptionInset);
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT measured = area;
  int length = static_cast<int>(wcslen(text));
  int height = DrawTextW(dc, text, length, &measured, format | DT_CALCRECT);
  int sum = GetRValue(fillColor) + GetGValue(fillColor) + GetBValue(fillColor);
  SetTextColor(dc, sum <= kDarkFillSum ? kWhite : kBlack);
  SetBkMode(dc, TRANSPARENT);
  RECT place = area;
  place.top = (area.top + area.bottom - height) / 2;
  place.bottom = place.top + height + kCaptionExtraBelow;
  DrawTextW(dc, text, length, &place, format);
}

void CBEBlock::DrawCaptionBelow(HDC dc) {
  if (!caption) return;
  SavedDc saved(dc);
  SetTextColor(dc, kBlack);
  SetBkMode(dc, TRANSPARENT);
  int length = static_cast<int>(wcslen(caption));
  SIZE size = {};
  GetTextExtentPoint32W(dc, caption, length, &size);
  int x = (rect.left + rect.right - size.cx) / 2;
  TextOutW(dc, x, rect.bottom + kCaptionBelowGap, caption, length);
}

void CBEBlock::Paint(HDC dc, bool force) {
  SavedDc saved(dc);
  if (force || RectVisible(dc, &rect)) {
    SetTextColor(dc, kBlack);
    Draw(dc);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBlack);

    OwnedGdiObject red(CreateSolidBrush(kHardwareRed));
    for (int i = 0; i < outputCount; ++i) {
      const BeOutputPin* output = outputs[i];
      int yo = rect.top + output->yOffset;
      HGDIOBJ old = SelectObject(dc, output->hardware ? red.Get() : GetStockObject(BLACK_BRUSH));
      DrawPinMark(dc, rect.right, yo);
      SelectObject(dc, old);
      if (output->name) {
        RECT band = {rect.left, yo - kPinNameHalfBand, rect.right - kPinNameGap, yo + kPinNameHalfBand};
        DrawTextW(dc, output->name, -1, &band, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      }
    }
    for (int i = 0; i < inputCount; ++i) {
      const BeInputPin* input = inputs[i];
      int yi = rect.top + input->yOffset;
      DrawPinMark(dc, rect.left, yi);
      if (input->name) {
        RECT band = {rect.left + kPinNameGap, yi - kPinNameHalfBand, rect.right, yi + kPinNameHalfBand};
        DrawTextW(dc, input->name, -1, &band, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      }
    }
    if (IsSelected()) {
      OwnedGdiObject dotted(CreatePen(PS_DOT, 1, kBlack));
      HGDIOBJ oldPen = SelectObject(dc, dotted.Get());
      HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
      Rectangle(dc, rect.left - kSelectionGap, rect.top - kSelectionGap,
                rect.right + kSelectionGap, rect.bottom + kSelectionGap);
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldPen);
    }
  }
  SelectObject(dc, GetStockObject(BLACK_PEN));
  for (int i = 0; i < inputCount; ++i) inputs[i]->DrawLink(dc);
}
