#include "kestui/graphics/kest_paintbox.h"

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

