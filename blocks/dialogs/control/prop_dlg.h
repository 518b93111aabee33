// CPropDlg: the form of the proportional link's dialog. While it is ready
// (its controls made and filled) it keeps the realisation group and the
// amplitude edit in step with the input type and the chosen realisation.
#pragma once

#include "blocks/dialogs/frame/property_form.h"

class CBEProportional;

class CPropDlg : public CBEPropertyForm {
public:
  // 250 x 330: "Коэффициент:", "Тип входных данных:", "Тип выходных
  // данных:", the realisation group, "Амплитуда вх.данных:" (1..2047), the
  // buttons; the form is ready when it returns. False when no window was
  // made.
  bool Build(CBEProportional* block);
  // What "OK" writes, in the order of the dialog: coefficient, types, the
  // table flag and amplitude, then the costs.
  void Write(CBEProportional* block);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestSpinEdit* GetAmplitudeEdit() const { return amplitude_; }
  CKestRadioGroupBox* GetRealisationGroup() const { return realisation_; }
  CKestComboBox* GetInputTypeList() const { return inputType_; }

private:
  CKestSpinEdit* amplitude_ = nullptr;
  CKestRadioGroupBox* realisation_ = nullptr;
  CKestComboBox* inputType_ = nullptr;
  CKestEdit* coefficient_ = nullptr;
  CKestComboBox* outputType_ = nullptr;
};
