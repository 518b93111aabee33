// CKestSlider: a horizontal or vertical slider over a range of real values.
//
// The value runs from the minimum at the left (top) end of the track to the
// maximum at the right (bottom) end; the track ends lie 4 and 5 pixels from
// the window's edges, and pixels between them convert to values linearly.
// Ticks stand every step from a reference value (the reference tick is
// longer). An integer slider rounds its values. A selection range is painted
// white in the sunken track; moves made with Shift held extend it.
//
// Keys: Left / Up one step down, Right / Down one step up, Page Up / Page
// Down five steps, Home / End the ends. The mouse drags the thumb; a press
// beside it moves the thumb there first. Every change the user makes is
// clamped to the range and posts WM_COMMAND (id, window) to the form, also
// a change made with SetValue.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

class CKestSlider : public CKestControl {
public:
  CKestSlider(CKestControl* parent, int id, uint32_t position, int width, int height,
              bool vertical, bool integer, double minimum, double maximum, double step);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  double GetValue() const { return value_; }
  // Clamped (and rounded for an integer slider); when the value changed the
  // form is told. extend: the selection grows to take in the old and new
  // values. Answers whether the value changed.
  bool MoveTo(double value, bool extend);
  bool SetValue(double value) { return MoveTo(value, false); }

  double GetMinimum() const { return minimum_; }
  double GetMaximum() const { return maximum_; }
  double GetStep() const { return step_; }
  // The bounds in either order; the value is clamped into them.
  void SetRange(double minimum, double maximum);
  // A step of 0 or less moves by a tenth of the range and draws no ticks.
  void SetStep(double step);
  void SetTickReference(double value);
  double GetTickReference() const { return reference_; }
  bool IsVertical() const { return vertical_; }
  bool IsInteger() const { return integer_; }

  void SetSelection(double start, double end);
  void ClearSelection();
  bool HasSelection() const { return hasSelection_; }
  double GetSelectionStart() const { return selectionStart_; }
  double GetSelectionEnd() const { return selectionEnd_; }

  // Track geometry along the slider (x, or y when vertical).
  int GetTrackStart() const;
  int GetTrackEnd() const;
  int PixelOf(double value) const;
  double ValueAt(int pixel) const;

  void Paint(HDC dc);

private:
  double Clamp(double value) const;
  double KeyStep() const;
  // The coordinate along the slider of a client point.
  int Along(LPARAM point) const;
  void DrawTicks(HDC dc);

  double value_;
  double minimum_;
  double maximum_;
  double step_;
  double reference_;
  bool vertical_;
  bool integer_;
  bool hasSelection_ = false;
  double selectionStart_ = 0;
  double selectionEnd_ = 0;
  bool dragging_ = false;
  int dragOffset_ = 0;
};
