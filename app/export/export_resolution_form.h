// CExportResolutionForm: the modal question "Экспорт" that asks for the
// resolution of a bitmap export (dots per inch) before the picture is
// drawn. "OK" closes it with 1, "Отмена" with 2.
#pragma once

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"

constexpr double kVelkExportMinResolution = 72;
constexpr double kVelkExportMaxResolution = 1200;
constexpr double kVelkExportResolutionStep = 50;

class CExportResolutionForm : public CKestForm {
public:
  // Owned by owner (may be null), centred on the screen, showing resolution.
  CExportResolutionForm(CKestControl* owner, double resolution);

  CKestSpinEdit* GetResolutionEdit() const { return edit_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  CKestSpinEdit* edit_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};
