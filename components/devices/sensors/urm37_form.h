// The settings dialog of the URM37 range finder: the line levels its
// jumpers set, its mode and the compare distance of the automatic mode.
#pragma once

#include <cstdint>

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

// What the dialog edits.
struct Urm37Settings {
  bool rs232Levels;
  unsigned char mode;  // 0..2
  uint16_t threshold;  // cm
};

class CUrm37Form : public CKestForm {
public:
  static constexpr int kWidth = 320, kHeight = 300;
  static constexpr int kMinThreshold = 4, kMaxThreshold = 500;

  // Owned by the main form, titled with the caption, not sizeable.
  CUrm37Form(const wchar_t* caption, const Urm37Settings& settings);

  // The chosen values; a list without a selection keeps the stored value.
  void TakeInto(Urm37Settings* settings);

  CKestComboBox* levelsBox = nullptr;
  CKestComboBox* modeBox = nullptr;
  CKestSpinEdit* thresholdEdit = nullptr;
  CKestButton* okButton = nullptr;
  CKestButton* cancelButton = nullptr;
};

// Shows the dialog modally; true, with settings changed, when "OK" closed it.
bool EditUrm37Settings(const wchar_t* caption, Urm37Settings* settings);
