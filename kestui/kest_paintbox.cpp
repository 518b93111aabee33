// Paint box, image box and status bar.
#include "kestui/kest_paintbox.h"

#include <commctrl.h>

#include <cwchar>
#include <new>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

// ---------------------------------------------------------------------------
// CKestPaintBox

CKestPaintBox::CKestPaintBox(CKestControl* parent, int id, uint32_t position, int width,
                             int height) {
  if (CreateControlWindow(0, nullptr, L"", WS_CHILD | WS_VISIBLE, position, width, height, parent,
                          nullptr, nullptr)) {
    SetWindowLongPtrW(window_, GWLP_ID, id);
  }
}

CKestPaintBox::~CKestPaintBox() {
  // A form that forgot its ReleaseDC: the window DC goes back with the box.
  if (dc_ && windowDC_ && window_) ::ReleaseDC(window_, dc_);
  dc_ = nullptr;
}

LRESULT CKestPaintBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return CKestControl::WindowProc(message, wParam, lParam);
  PAINTSTRUCT paint;
  HWND window = window_;
  HDC dc = BeginPaint(window, &paint);
  // A DC a form holds across the paint is kept aside and given back after.
  HDC heldDC = dc_;
  int heldUses = dcUses_;
  bool heldWindowDC = windowDC_;
  dc_ = dc;
  dcUses_ = 1;
  windowDC_ = false;
  try {
    Paint();
  } catch (...) {
  }
  EndPaint(window, &paint);
  if (GetControlFromHandle(window) == this) {
    dc_ = heldDC;
    dcUses_ = heldUses;
    windowDC_ = heldWindowDC;
  }
  return 0;
}

void CKestPaintBox::Paint() {
  SendMessageW(GetOwnerFormWindow(window_), WM_KEST_PAINT, 0, reinterpret_cast<LPARAM>(window_));
}

HDC CKestPaintBox::GetDC() {
  if (dcUses_ == 0) {
    dc_ = window_ ? ::GetDC(window_) : nullptr;
    if (!dc_) return nullptr;
    windowDC_ = true;
  }
  ++dcUses_;
  return dc_;
}

void CKestPaintBox::ReleaseDC() {
  if (dcUses_ <= 0) return;
  if (--dcUses_ == 0) {
    if (windowDC_ && dc_) ::ReleaseDC(window_, dc_);
    dc_ = nullptr;
    windowDC_ = false;
  }
}

// ---------------------------------------------------------------------------
// CKestImageBox

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

// ---------------------------------------------------------------------------
// CKestStatusBar

CKestStatusBar::CKestStatusBar(CKestControl* form, bool sizeGrip, int height) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  DWORD style = WS_CHILD | WS_VISIBLE | (sizeGrip ? SBARS_SIZEGRIP : CCS_TOP);
  CreateControlWindow(0, STATUSCLASSNAMEW, L"", style, KEST_POS_BOTTOM, 2000, height, form, nullptr,
                      nullptr);
}

CKestStatusBar::~CKestStatusBar() {
  FreeBuffer(edges_);
  FreeBuffer(alignments_);
  edges_ = nullptr;
  alignments_ = nullptr;
}

int CKestStatusBar::AddPanel(int width, int8_t alignment, const wchar_t* text) {
  int pos = count_;
  if (!ResizeSteppedArray(&edges_, pos, pos + 1)) return -1;
  if (!ResizeSteppedArray(&alignments_, pos, pos + 1)) return -1;
  count_ = pos + 1;
  edges_[pos] = -1;
  if (window_) {
    SendMessageW(window_, SB_SETPARTS, static_cast<WPARAM>(count_), reinterpret_cast<LPARAM>(edges_));
  }
  edges_[pos] = pos == 0 ? width : width + edges_[pos - 1];
  alignments_[pos] = alignment;
  SetPanelText(pos, text);
  return pos;
}

void CKestStatusBar::SetPanelText(int index, const wchar_t* text) {
  if (index < 0 || index >= count_ || !window_) return;
  int8_t alignment = alignments_[index];
  if (alignment < 0) {
    SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return;
  }
  const wchar_t* prefix = alignment == 0 ? L"\t" : L"\t\t";
  size_t prefixLength = wcslen(prefix);
  size_t length = text ? wcslen(text) : 0;
  wchar_t* shown = AllocWideString(prefixLength + length);
  if (!shown) return;
  wmemcpy(shown, prefix, prefixLength);
  if (length) wmemcpy(shown + prefixLength, text, length);
  shown[prefixLength + length] = 0;
  SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown));
  FreeBuffer(shown);
}
