// CLocalMapSensorEditor: the form that edits one row of the local-map
// dialog's sensor list ("Сенсор %d"): its kind, position, direction, field
// of view and range, in centimetres and degrees.
#pragma once

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

class CLocalMapSensorEditor : public CKestForm {
public:
  enum Field { kX, kY, kAngle, kFov, kZMin, kZMax, kFieldCount };

  // The hidden form owned by owner, captioned "Сенсор <number>", its
  // controls showing the values (spin edits clamp them); false when the
  // window could not be made.
  bool Build(CKestControl* owner, int number, bool sector, const double values[kFieldCount]);
  // Shows it modally; true for "OK" with the form still there to read.
  bool Confirm();

  // Item 1 ("Сектор сканирования") of the kind list is selected.
  bool IsSector() const { return kind_ && kind_->GetSelectedIndex() == 1; }
  double GetValue(Field field) const { return edits_[field] ? edits_[field]->GetValue() : 0; }
  CKestComboBox* GetKind() const { return kind_; }
  CKestSpinEdit* GetEdit(Field field) const { return edits_[field]; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  CKestSpinEdit* AddField(const wchar_t* caption, int labelWidth, double minimum, double maximum, int editWidth,
                          double value);

  CKestComboBox* kind_ = nullptr;
  CKestSpinEdit* edits_[kFieldCount] = {};
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};
