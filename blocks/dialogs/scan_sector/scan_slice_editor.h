// CScanSliceEditor: the form that edits the heights of one slice of the
// scan-sector dialog, in centimetres.
#pragma once

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"

class CScanSliceEditor : public CKestForm {
public:
  // The hidden form owned by owner, titled caption; false when the window
  // could not be made.
  bool Build(CKestControl* owner, const wchar_t* caption, double yMin, double yMax);
  // Shows it modally; true for "OK" with the form still there to read.
  bool Confirm();

  CKestSpinEdit* GetYMin() const { return yMin_; }
  CKestSpinEdit* GetYMax() const { return yMax_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  CKestSpinEdit* AddField(const wchar_t* caption, double value);

  CKestSpinEdit* yMin_ = nullptr;
  CKestSpinEdit* yMax_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};
