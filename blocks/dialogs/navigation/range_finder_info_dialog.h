// CRangeFinderInfoDialog ("Свойства дальномера"): one range finder of the
// video-navigation block: its name, where it sits on the robot, its ranges
// and the colour its walls take on the map. It edits a record held by its
// caller (the navigator form's working copy); ReadFields writes the
// controls back into a record after "OK".
//
// Lengths are shown in the centimetres the record stores, angles in
// degrees (the record holds radians).
#pragma once

#include <windows.h>

#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_paintbox.h"

struct NavRangeFinder;
class CKestButton;

// The colours of the walls on the map drawing, by a range finder's colour
// index.
const int kBeNavWallColourCount = 8;
extern const COLORREF kBeNavWallColours[kBeNavWallColourCount];
// The longest name a range finder takes in the dialogs.
const int kBeNavFinderNameLimit = 9;

class CRangeFinderInfoDialog : public CKestForm {
public:
  // The swatches in the paint box: (5 + 37 i, 5) to (37 + 37 i, 37).
  static constexpr int kSwatchLeft = 5, kSwatchTop = 5, kSwatchPitch = 37, kSwatchSize = 32;

  // Builds the hidden form, owned by owner, showing the record (see
  // IsBuilt for whether its window was made).
  CRangeFinderInfoDialog(CKestForm* owner, const NavRangeFinder& record);

  bool IsBuilt() const { return GetHandle() != nullptr; }
  // The name (at most 9 characters), X, Y, the direction, the maximum
  // range, the wall-search distance and angle ranges and the chosen colour
  // into the record; the other fields stay.
  void ReadFields(NavRangeFinder* record);
  // The rectangle of swatch index (0 to 7) in the paint box.
  static void GetSwatchRect(int index, RECT* rect);
  // Fills the paint box with the button face and draws the swatches, the
  // chosen one outlined 4 pixels wide, the others 1.
  void PaintSwatches();
  // The first swatch containing the point of the paint box; -1 for none.
  static int SwatchAt(int x, int y);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int GetColourIndex() const { return colour_; }
  CKestPaintBox* GetSwatchBox() const { return swatches_; }
  CKestEdit* GetNameEdit() const { return name_; }
  CKestSpinEdit* GetXEdit() const { return x_; }
  CKestSpinEdit* GetYEdit() const { return y_; }
  CKestSpinEdit* GetAngleEdit() const { return angle_; }
  CKestSpinEdit* GetSearchAngleEdit() const { return searchAngle_; }
  CKestSpinEdit* GetSearchDistanceEdit() const { return searchDistance_; }
  CKestSpinEdit* GetMaxRangeEdit() const { return maxRange_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  void Build(const NavRangeFinder& record);

  int colour_ = 0;
  CKestPaintBox* swatches_ = nullptr;
  CKestEdit* name_ = nullptr;
  CKestSpinEdit* x_ = nullptr;
  CKestSpinEdit* y_ = nullptr;
  CKestSpinEdit* angle_ = nullptr;
  CKestSpinEdit* searchAngle_ = nullptr;
  CKestSpinEdit* searchDistance_ = nullptr;
  CKestSpinEdit* maxRange_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};
