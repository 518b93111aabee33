// CConstDividerDlg: the form of the constant divider's dialog. While it is
// ready it keeps the realisation group and both range edits in step with
// the input type and the chosen realisation.
#pragma once

#include "blocks/dialogs/frame/property_form.h"

class CBEConstDivider;

class CConstDividerDlg : public CBEPropertyForm {
public:
  // 300 x 380: the four rows of the proportional dialog, "Диапазон
  // вх.данных:" alone, then "От:", its spin edit, "до:" and its spin edit
  // side by side (1..2047, 90 x 22), the buttons; the form is ready when it
  // returns. False when no window was made.
  bool Build(CBEConstDivider* block);
  // What "OK" writes: dividend, types, the table flag and the range (held
  // within char for a char output, the end above the start), the costs.
  void Write(CBEConstDivider* block);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestSpinEdit* GetStartEdit() const { return start_; }
  CKestSpinEdit* GetEndEdit() const { return end_; }
  CKestRadioGroupBox* GetRealisationGroup() const { return realisation_; }
  CKestComboBox* GetInputTypeList() const { return inputType_; }
  CKestLabel* GetRangeLabel() const { return rangeLabel_; }

private:
  void EnableRange(bool enable);

  CKestSpinEdit* start_ = nullptr;
  CKestSpinEdit* end_ = nullptr;
  CKestRadioGroupBox* realisation_ = nullptr;
  CKestComboBox* inputType_ = nullptr;
  CKestEdit* dividend_ = nullptr;
  CKestComboBox* outputType_ = nullptr;
  CKestLabel* rangeLabel_ = nullptr;
};
