// Owned GDI objects and scoped selections: every pen, brush, font and bitmap
// made for one painting is deleted, and every selection undone, on every path.
#pragma once

#include <windows.h>

// Owns one GDI object (pen, brush, font, bitmap) and deletes it.
class GdiObjectOwner {
public:
  explicit GdiObjectOwner(HGDIOBJ object) : object_(object) {}
  ~GdiObjectOwner() {
    if (object_) DeleteObject(object_);
  }
  GdiObjectOwner(const GdiObjectOwner&) = delete;
  GdiObjectOwner& operator=(const GdiObjectOwner&) = delete;
  HGDIOBJ Get() const { return object_; }

private:
  HGDIOBJ object_;
};

// Selects an object into a context and puts the previous one back.
class GdiSelection {
public:
  GdiSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~GdiSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  GdiSelection(const GdiSelection&) = delete;
  GdiSelection& operator=(const GdiSelection&) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};
