// CKestOwnedDC: owns a device context made by CreateCompatibleDC or CreateDC
// and deletes it (DeleteDC) when it goes, on every return:
//   CKestOwnedDC memory(CreateCompatibleDC(dc));
#pragma once

#include <windows.h>

class CKestOwnedDC {
public:
  CKestOwnedDC() = default;
  explicit CKestOwnedDC(HDC dc) : dc_(dc) {}
  ~CKestOwnedDC() { Reset(); }
  CKestOwnedDC(const CKestOwnedDC&) = delete;
  CKestOwnedDC& operator=(const CKestOwnedDC&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset(HDC dc = nullptr) {
    if (dc_ && dc_ != dc) DeleteDC(dc_);
    dc_ = dc;
  }
  HDC Release() {
    HDC dc = dc_;
    dc_ = nullptr;
    return dc;
  }

private:
  HDC dc_ = nullptr;
};
