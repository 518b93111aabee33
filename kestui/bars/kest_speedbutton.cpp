#include "kestui/bars/kest_speedbutton.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/buffers.h"
#include "kestui/graphics/kest_draw.h"

CKestSpdBtn::CKestSpdBtn(CKestContainer* container, int id, UINT imageId, const wchar_t* hint,
                         bool toggle, int width, int height, const wchar_t* caption,
                         uint32_t position, bool imageBesideCaption)
    : toggle_(toggle), beside_(imageBesideCaption) {
  backColor_ = KEST_TRANSPARENT;
  if (imageId != 0) {
    auto* image = new (std::nothrow) CKestImage();
    if (image && FAILED(image->LoadFromResource(GetModuleHandleW(nullptr), imageId))) {
      delete image;
      image = nullptr;
    }
    SetImage(image);
  }
  if (hint) SetHint(hint);
  if (CreateControlWindow(WS_EX_TRANSPARENT, nullptr, caption, WS_CHILD | WS_VISIBLE, position,
                          width, height, container, nullptr, nullptr)) {
    SetWindowLongW(window_, GWL_ID, id);
  }
}

CKestSpdBtn::~CKestSpdBtn() { delete image_; }

void CKestSpdBtn::SetImage(CKestImage* image) {
  if (image != image_) delete image_;
  image_ = image;
  frameCount_ = 1;
  if (!image_ || image_->IsNull()) return;
  int w = image_->GetWidth(), h = image_->GetHeight();
  if (h > 0 && w >= 2 * h) frameCount_ = w / h;
  if (image_->IsIndexed()) {
    COLORREF corner = image_->GetPixel(0, 0);
    RGBQUAD table[256];
    int entries = std::min(image_->GetMaxColorTableEntries(), 256);
    if (image_->GetColorTable(0, static_cast<UINT>(entries), table)) {
      for (int i = 0; i < entries; ++i) {
        if (RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue) == corner) {
          image_->SetTransparentColor(i);
          break;
        }
      }
    }
  }
  // 32-bit pictures with alpha are kept premultiplied by CKestImage already,
  // which is what AlphaBlend needs.
  if (window_) Invalidate(true);
}

int CKestSpdBtn::GetFrameIndex() const {
  bool enabled = window_ ? IsWindowEnabled(window_) != FALSE : true;
  if (frameCount_ > 2) {
    if (!enabled) return 1;
    if (state_ == StateHot) return 2;
  } else if (frameCount_ == 2 && !enabled) {
    return 1;
  }
  return 0;
}

void CKestSpdBtn::SetState(int state) {
  if (state == state_) return;
  state_ = state;
  down_ = state == StatePressed;
  Invalidate(true);
}

CKestImage* CKestSpdBtn::MakeDisabledCopy(const CKestImage& image) {
  if (!image.IsIndexed()) return nullptr;
  int w = image.GetWidth(), h = image.GetHeight(), bpp = image.GetBPP();
  auto* copy = new (std::nothrow) CKestImage();
  if (!copy || !copy->Create(w, h, bpp)) {
    delete copy;
    return nullptr;
  }
  // Whole rows as the system lays them out, so the last pixels of 1- and
  // 4-bit rows come along.
  size_t stride = static_cast<size_t>((w * bpp + 31) / 32) * 4;
  const auto* source = static_cast<const BYTE*>(image.GetBits());
  auto* target = static_cast<BYTE*>(copy->GetBits());
  for (int y = 0; y < h; ++y) {
    std::memcpy(target + static_cast<ptrdiff_t>(y) * copy->GetPitch(),
                source + static_cast<ptrdiff_t>(y) * image.GetPitch(), stride);
  }
  RGBQUAD table[256];
  int entries = std::min(image.GetMaxColorTableEntries(), 256);
  if (image.GetColorTable(0, static_cast<UINT>(entries), table)) {
    for (int i = 0; i < entries; ++i) {
      table[i].rgbRed = static_cast<BYTE>(DisabledComponent(table[i].rgbRed));
      table[i].rgbGreen = static_cast<BYTE>(DisabledComponent(table[i].rgbGreen));
      table[i].rgbBlue = static_cast<BYTE>(DisabledComponent(table[i].rgbBlue));
    }
    copy->SetColorTable(0, static_cast<UINT>(entries), table);
    COLORREF corner = copy->GetPixel(0, 0);
    for (int i = 0; i < entries; ++i) {
      if (RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue) == corner) {
        copy->SetTransparentColor(i);
        break;
      }
    }
  }
  return copy;
}

void CKestSpdBtn::DrawImage(HDC dc, const RECT& area, int y0, bool enabled) {
  int frameWidth = image_->GetWidth() / frameCount_;
  int height = image_->GetHeight();
  int x, y;
  if (beside_) {
    x = 8;
    y = (area.top + area.bottom - height) / 2;
  } else {
    x = (area.left + area.right - frameWidth) / 2;
    y = y0;
  }
  if (frameCount_ == 1) {
    if (image_->GetBPP() > 8) {
      image_->AlphaBlend(dc, x, y, enabled ? 255 : 64);
    } else if (enabled) {
      image_->Draw(dc, x, y);
    } else if (CKestImage* copy = MakeDisabledCopy(*image_)) {
      copy->Draw(dc, x, y);
      delete copy;
    }
  } else {
    int index = GetFrameIndex();
    image_->Draw(dc, x, y, frameWidth, height, index * frameWidth, 0, frameWidth, height);
  }
}

void CKestSpdBtn::Paint(HDC dc) {
  RECT area;
  GetClientArea(&area);
  bool enabled = IsWindowEnabled(window_) != FALSE;

  int amount = 0;
  if (state_ == StatePressed) {
    amount = 128;
  } else if (state_ == StateHot) {
    amount = down_ ? 64 : 32;
  }
  if (amount) {
    CKestControl* parent = GetControlFromHandle(GetParent(window_));
    COLORREF base = parent && parent->GetBackColor() != KEST_TRANSPARENT
                        ? parent->GetBackColor()
                        : GetSysColor(COLOR_BTNFACE);
    HBRUSH brush = CreateSolidBrush(BlendColors(base, HighlightColor, amount));
    HPEN pen = CreatePen(PS_SOLID, 1, HighlightColor);
    if (brush && pen) {
      HGDIOBJ oldBrush = SelectObject(dc, brush);
      HGDIOBJ oldPen = SelectObject(dc, pen);
      Rectangle(dc, area.left, area.top, area.right, area.bottom);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
    }
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
  }

  wchar_t* caption = nullptr;
  int length = GetWindowTextLengthW(window_);
  SIZE text = {};
  HGDIOBJ oldFont = nullptr;
  if (length > 0) {
    caption = GetTextCopy();
    if (!caption) return;
    length = static_cast<int>(wcslen(caption));
    if (font_ && font_->GetHandle()) oldFont = SelectObject(dc, font_->GetHandle());
    GetTextExtentPoint32W(dc, caption, length, &text);
  }
  int content = beside_ ? text.cy : text.cy + 2;
  int frameWidth = 0;
  if (image_ && !image_->IsNull()) {
    content = beside_ ? std::max(content, image_->GetHeight()) : content + image_->GetHeight();
  }
  int y0 = (area.top + area.bottom - content) / 2;
  int captionX = 0;
  if (image_ && !image_->IsNull()) {
    DrawImage(dc, area, y0, enabled);
    frameWidth = image_->GetWidth() / frameCount_;
    y0 += image_->GetHeight() + 2;
    captionX += frameWidth + 16;
  }
  if (caption) {
    ::SetTextColor(dc, enabled ? textColor_ : BlendColors(backColor_, RGB(0, 0, 0), 64));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (beside_) {
      TextOutW(dc, captionX, (area.top + area.bottom - text.cy) / 2, caption, length);
    } else {
      TextOutW(dc, (area.left + area.right - text.cx) / 2, y0, caption, length);
    }
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);
    FreeBuffer(caption);
  }
}

LRESULT CKestSpdBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEST_MOUSEENTER:
      if (state_ != StateHot) {
        state_ = StateHot;
        Invalidate(true);
      }
      break;
    case WM_KEST_MOUSELEAVE:
      SetState(down_ ? StatePressed : StateNormal);
      break;
    case WM_LBUTTONDOWN:
      tracking_ = true;
      if (state_ != StatePressed) {
        state_ = StatePressed;
        Invalidate(true);
      }
      break;
    case WM_LBUTTONUP: {
      if (!tracking_) return 0;
      RECT client;
      GetClientRect(window_, &client);
      POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      bool inside = PtInRect(&client, at) != FALSE;
      if (!toggle_) {
        SetState(inside ? StateHot : StateNormal);
      } else if (inside) {
        down_ = !down_;
        SetState(down_ ? StatePressed : StateHot);
      } else {
        SetState(down_ ? StatePressed : StateNormal);
      }
      tracking_ = false;
      break;
    }
    case WM_PAINT: {
      PaintWindow(window_, [this](HDC dc) { Paint(dc); });
      return 0;
    }
    default:
      break;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}
