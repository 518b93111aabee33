// CKestWindowDC: the client-area DC of a window (GetDC; null window: the
// screen), released (ReleaseDC) when it goes, on every return.
#pragma once

#include <windows.h>

class CKestWindowDC {
public:
  explicit CKestWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~CKestWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  CKestWindowDC(const CKestWindowDC&) = delete;
  CKestWindowDC& operator=(const CKestWindowDC&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

private:
  HWND window_;
  HDC dc_;
};
