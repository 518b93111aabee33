// The address dialog of the URM04 range finder.
#pragma once

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"

class CUrm04Form : public CKestForm {
public:
  static constexpr int kWidth = 300, kHeight = 250;

  // Owned by the main form, titled with the caption, not sizeable.
  CUrm04Form(const wchar_t* caption, int address);

  CKestSpinEdit* addressEdit = nullptr;
  CKestButton* okButton = nullptr;
  CKestButton* cancelButton = nullptr;
};

// Shows the dialog modally; true, with *address set (17..128), when "OK"
// closed it.
bool EditUrm04Address(const wchar_t* caption, int* address);
