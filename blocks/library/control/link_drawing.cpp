#include "blocks/library/control/link_drawing.h"

#include <cwchar>

#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_font.h"

namespace {
const COLORREF kBlack = RGB(0, 0, 0);
const UINT kCentred = DT_CENTER | DT_NOPREFIX;
// The font of a fraction that names a face: 13 pixels, normal weight,
// character set 1.
const int kFractionFontHeight = -13;
const BYTE kFractionCharset = DEFAULT_CHARSET;

void DrawFractionText(HDC dc, const RECT& rect, const LinkFraction& layout, const wchar_t* numerator,
                      const wchar_t* denominator) {
  RECT area = rect;
  area.top += layout.drop;
  int height = DrawTextW(dc, numerator, -1, &area, kCentred);
  int lineY = area.top + height;
  MoveToEx(dc, rect.left + layout.inset, lineY, nullptr);
  LineTo(dc, rect.right - layout.inset, lineY);
  RECT lower = rect;
  lower.top = lineY + 1;
  SetTextColor(dc, layout.lower);
  DrawTextW(dc, denominator, -1, &lower, kCentred);
  SetTextColor(dc, kBlack);
}
}  // namespace

void FormatLinkNumber(double value, const wchar_t* suffix, wchar_t* text, size_t chars) {
  if (!text || chars == 0) return;
  _snwprintf(text, chars - 1, L"%0.3f%ls", value, suffix ? suffix : L"");
  text[chars - 1] = 0;
}

void DrawLinkFraction(HDC dc, const RECT& rect, const LinkFraction& layout, const wchar_t* numerator,
                      const wchar_t* denominator) {
  if (!dc || !numerator || !denominator) return;
  CKestFont* font = nullptr;
  if (layout.font) {
    font = new CKestFont(layout.font, kFractionFontHeight, FW_NORMAL, false, false, false, kFractionCharset);
    font->AddRef();
  }
  {
    CKestDcSelection selection(dc);
    if (font && font->GetHandle()) selection.Select(font->GetHandle());
    selection.Select(GetStockObject(BLACK_PEN));
    SetTextColor(dc, kBlack);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawFractionText(dc, rect, layout, numerator, denominator);
    SetBkMode(dc, oldMode);
  }
  if (font) font->Release();
}
