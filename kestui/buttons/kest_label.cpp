#include "kestui/buttons/kest_label.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/graphics/kest_draw.h"

SIZE CKestLabel::MeasureCaption(HFONT font, const wchar_t* caption) {
  SIZE size = {10, 20};
  if (!caption || !caption[0]) return size;
  HDC dc = GetDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE text = {0, 0};
  if (GetTextExtentPoint32W(dc, caption, static_cast<int>(wcslen(caption)), &text)) {
    size.cx = text.cx;
    size.cy = text.cy + 2;
  }
  if (old) SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

CKestLabel::CKestLabel(CKestContainer* container, const wchar_t* caption, uint32_t position,
                       bool stack, int width, int height, int8_t alignment)
    : alignment_(alignment) {
  if (width == KEST_LABEL_MEASURE || height == KEST_LABEL_MEASURE) {
    CKestFont* font = container ? container->GetFont() : nullptr;
    CKestFont* own = nullptr;
    if (!font) {
      own = CreateDefaultKestFont();
      if (own) own->AddRef();
      font = own;
    }
    SIZE size = MeasureCaption(font ? font->GetHandle() : nullptr, caption);
    if (own) own->Release();
    if (width == KEST_LABEL_MEASURE) width = size.cx;
    if (height == KEST_LABEL_MEASURE) height = size.cy;
  }
  if (stack && position == KEST_POS_FLOW && container) {
    KestFlowLayout* flow = container->GetFlowLayout();
    if (flow) flow->StackNext();
  }
  CreateControlWindow(WS_EX_TRANSPARENT, nullptr, caption, WS_CHILD | WS_VISIBLE, position, width,
                      height, container, nullptr, nullptr);
  if (container && container->HasGradient()) SetBackColor(KEST_TRANSPARENT);
}

void CKestLabel::SetAlignment(int8_t alignment) {
  alignment_ = alignment;
  Invalidate(true);
}

void CKestLabel::Paint(HDC dc) {
  if (!dc || !window_) return;
  int length = GetWindowTextLengthW(window_);
  if (length < 0) length = 0;
  wchar_t* text = AllocWideString(static_cast<size_t>(length));
  if (!text) return;
  text[0] = 0;
  ::GetWindowTextW(window_, text, length + 1);
  length = static_cast<int>(wcslen(text));

  RECT area;
  GetClientArea(&area);
  SetBkMode(dc, TRANSPARENT);
  if (backColor_ != KEST_TRANSPARENT) {
    if (gradient_) {
      TRIVERTEX vertices[2] = {};
      vertices[0].x = area.left;
      vertices[0].y = area.top;
      vertices[0].Red = static_cast<COLOR16>(GetRValue(backColor_) << 8);
      vertices[0].Green = static_cast<COLOR16>(GetGValue(backColor_) << 8);
      vertices[0].Blue = static_cast<COLOR16>(GetBValue(backColor_) << 8);
      vertices[0].Alpha = 0xFFFF;
      vertices[1].x = area.right;
      vertices[1].y = area.bottom;
      vertices[1].Red = static_cast<COLOR16>(GetRValue(gradientEnd_) << 8);
      vertices[1].Green = static_cast<COLOR16>(GetGValue(gradientEnd_) << 8);
      vertices[1].Blue = static_cast<COLOR16>(GetBValue(gradientEnd_) << 8);
      vertices[1].Alpha = 0xFFFF;
      GRADIENT_RECT mesh = {0, 1};
      GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
    } else {
      HBRUSH brush = CreateSolidBrush(backColor_);
      if (brush) {
        FillRect(dc, &area, brush);
        DeleteObject(brush);
      }
    }
  }

  HGDIOBJ oldFont = font_ ? SelectObject(dc, font_->GetHandle()) : nullptr;
  UINT flags = DT_WORDBREAK | DT_NOPREFIX;
  if (alignment_ < 0) {
    flags |= DT_LEFT;
  } else if (alignment_ == 0) {
    flags |= DT_CENTER;
  } else {
    flags |= DT_RIGHT;
  }
  ::SetTextColor(dc, textColor_);
  RECT measure = area;
  int h = DrawTextW(dc, text, length, &measure, flags | DT_CALCRECT);
  RECT target = area;
  target.top = (area.top + area.bottom - h) / 2;
  DrawTextW(dc, text, length, &target, flags);
  if (oldFont) SelectObject(dc, oldFont);
  FreeBuffer(text);
}

LRESULT CKestLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintWindow(window_, [this](HDC dc) { Paint(dc); });
      return 0;
    }
    case WM_SETTEXT: {
      HWND window = window_;
      LRESULT result = CKestTitleControl::WindowProc(message, wParam, lParam);
      if (GetControlFromHandle(window) != this) return result;
      if (backColor_ == KEST_TRANSPARENT) {
        // Nothing of our own covers the old text: what lies under it has to
        // be drawn again before the new text goes on top.
        Invalidate(true);
      } else {
        HDC dc = GetDC(window_);
        if (dc) {
          Paint(dc);
          ReleaseDC(window_, dc);
        }
      }
      return result;
    }
    case WM_MOVE:
    case WM_SIZE:
      Invalidate(true);
      break;
    default:
      break;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}
