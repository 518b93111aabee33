// A drawing surface of the Kest framework.
//
// CKestPaintBox is a plain child window whose owning form draws it: each
// time it paints it sends WM_KEST_PAINT (0, box window) to the form, which
// draws with GetDC / ReleaseDC of the box (the paint DC while the paint
// runs).
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

class CKestPaintBox : public CKestControl {
public:
  CKestPaintBox(CKestControl* parent, int id, uint32_t position, int width, int height);
  ~CKestPaintBox() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Draws the box: sends WM_KEST_PAINT to the owning form.
  virtual void Paint();

  // The kept DC: during a paint the paint DC, otherwise a window DC taken by
  // the first GetDC and released by the matching last ReleaseDC. Calls nest.
  HDC GetDC();
  void ReleaseDC();
  int GetDCUseCount() const { return dcUses_; }

protected:
  // For subclasses that make their window themselves.
  CKestPaintBox() = default;

  HDC dc_ = nullptr;
  int dcUses_ = 0;
  bool windowDC_ = false;  // dc_ came from GetDC (not BeginPaint)
};

