// CDiffDlg: the form of the differentiator's dialog. While it is ready the
// amplitude edit is enabled exactly when the table realisation is chosen.
#pragma once

#include "blocks/dialogs/frame/property_form.h"

class CBEDiff;

class CDiffDlg : public CBEPropertyForm {
public:
  // 260 x 265: "Коэффициент усиления:", "Амплитуда на входе:", "Тип
  // данных:", "Способ реализации:", the buttons; the gain edit takes the
  // focus. False when no window was made.
  bool Build(CBEDiff* block);
  // What "OK" writes: type, gain, amplitude (not below 0), realisation
  // (floating point for float and double), the pins' type, the costs.
  void Write(CBEDiff* block);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestEdit* GetAmplitudeEdit() const { return amplitude_; }
  CKestComboBox* GetRealisationList() const { return realisation_; }

private:
  CKestEdit* amplitude_ = nullptr;
  CKestComboBox* realisation_ = nullptr;
  CKestEdit* gain_ = nullptr;
  CKestComboBox* type_ = nullptr;
};
