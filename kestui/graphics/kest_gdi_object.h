// CKestGdiObject: owns one GDI object (pen, brush, font, bitmap, region) and
// deletes it when it goes, on every return. Select it into a DC only through
// a CKestDcSelection that ends first, so it is never deleted while selected.
#pragma once

#include <windows.h>

template <class Handle>
class CKestGdiObject {
public:
  CKestGdiObject() = default;
  explicit CKestGdiObject(Handle handle) : handle_(handle) {}
  ~CKestGdiObject() { Reset(); }
  CKestGdiObject(const CKestGdiObject&) = delete;
  CKestGdiObject& operator=(const CKestGdiObject&) = delete;
  CKestGdiObject(CKestGdiObject&& other) noexcept : handle_(other.Release()) {}
  CKestGdiObject& operator=(CKestGdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Deletes the object held and takes handle (null: holds nothing).
  void Reset(Handle handle = nullptr) {
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }
  // Gives the object up without deleting it.
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }

private:
  Handle handle_ = nullptr;
};

using CKestOwnedPen = CKestGdiObject<HPEN>;
using CKestOwnedBrush = CKestGdiObject<HBRUSH>;
using CKestOwnedFont = CKestGdiObject<HFONT>;
using CKestOwnedBitmap = CKestGdiObject<HBITMAP>;
using CKestOwnedRegion = CKestGdiObject<HRGN>;
