// CKestDcSelection: selects GDI objects into a DC and puts back what was
// selected before when it goes, on every return. Declare it after the owned
// objects it selects (CKestGdiObject), so it ends first and no object is
// deleted while still selected.
#pragma once

#include <windows.h>

class CKestDcSelection {
public:
  explicit CKestDcSelection(HDC dc) : dc_(dc) {}
  ~CKestDcSelection() { Restore(); }
  CKestDcSelection(const CKestDcSelection&) = delete;
  CKestDcSelection& operator=(const CKestDcSelection&) = delete;

  // Selects object (pen, brush, font, bitmap); answers false, selecting
  // nothing, for a null DC or object, when the system refuses, or when all
  // kMaxSelections are in use.
  bool Select(HGDIOBJ object);
  // Puts back, newest first, what each Select replaced.
  void Restore();
  HDC GetDC() const { return dc_; }

  static constexpr int kMaxSelections = 8;

private:
  HDC dc_;
  HGDIOBJ previous_[kMaxSelections] = {};
  int count_ = 0;
};
