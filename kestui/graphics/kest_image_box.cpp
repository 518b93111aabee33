#include "kestui/graphics/kest_image_box.h"

#include <new>

CKestImageBox::CKestImageBox(CKestControl* parent, int id, uint32_t position, UINT resourceId,
                             bool sizeToImage, bool fit, int width, int height)
    : CKestPaintBox(parent, id, position, width, height), sizeToImage_(sizeToImage), fit_(fit) {
  if (resourceId == 0) return;
  auto* image = new (std::nothrow) CKestImage;
  if (!image) return;
  if (FAILED(image->LoadFromResource(GetModuleHandleW(nullptr), resourceId))) {
    delete image;
    return;
  }
  SetImage(image);
}

CKestImageBox::~CKestImageBox() {
  delete image_;
  image_ = nullptr;
}

RECT CKestImageBox::PlaceImage(const RECT& area, int imageWidth, int imageHeight, bool fit) {
  RECT place = {area.left, area.top, area.left + imageWidth, area.top + imageHeight};
  if (!fit || imageWidth <= 0 || imageHeight <= 0) return place;
  int areaWidth = area.right - area.left;
  int areaHeight = area.bottom - area.top;
  int w = areaWidth;
  int h = MulDiv(w, imageHeight, imageWidth);
  if (h > areaHeight) {
    h = areaHeight;
    w = MulDiv(h, imageWidth, imageHeight);
  }
  place.left = area.left + (areaWidth - w) / 2;
  place.top = area.top + (areaHeight - h) / 2;
  place.right = place.left + w;
  place.bottom = place.top + h;
  return place;
}

void CKestImageBox::Paint() {
  HDC dc = GetDC();
  if (!dc) return;
  if (!image_ || image_->IsNull()) {
    ReleaseDC();
    return;
  }
  SetStretchBltMode(dc, HALFTONE);
  RECT area;
  GetClientArea(&area);
  RECT place = PlaceImage(area, image_->GetWidth(), image_->GetHeight(), fit_);
  HBRUSH brush = CreateSolidBrush(backColor_);
  try {
    if (brush) {
      RECT strip;
      if (place.left > area.left) {
        SetRect(&strip, area.left, area.top, place.left, area.bottom);
        FillRect(dc, &strip, brush);
      }
      if (place.top > area.top) {
        SetRect(&strip, place.left, area.top, place.right, place.top);
        FillRect(dc, &strip, brush);
      }
      if (place.bottom < area.bottom) {
        SetRect(&strip, place.left, place.bottom, place.right, area.bottom);
        FillRect(dc, &strip, brush);
      }
      if (place.right < area.right) {
        SetRect(&strip, place.right, area.top, area.right, area.bottom);
        FillRect(dc, &strip, brush);
      }
    }
    image_->Draw(dc, place.left, place.top, place.right - place.left, place.bottom - place.top);
  } catch (...) {
  }
  if (brush) DeleteObject(brush);
  HWND window = window_;
  CKestPaintBox::Paint();
  if (GetControlFromHandle(window) == this) ReleaseDC();
}

void CKestImageBox::SetImage(CKestImage* image) {
  if (image == image_) return;
  delete image_;
  image_ = image;
  if (!window_) return;
  if (image_ && !image_->IsNull() && sizeToImage_) {
    SetWindowPos(window_, nullptr, 0, 0, image_->GetWidth(), image_->GetHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

