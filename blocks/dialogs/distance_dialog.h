// CBEDistanceDialog: the properties of a distance block (CBEDistance): the
// dimension of the points and the data type. A modal form of 200 x 170
// owned by the main form, centred on the screen, titled with the block's
// caption: "Размерность вектора:" with a spin edit for 2 to 127,
// "Тип данных:" with a drop-down list of char to double, and "OK" (result
// 1) and "Отмена" (result 2).
#pragma once

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

class CBEBlock;
class CBEDistance;

class CBEDistanceDialog : public CKestForm {
public:
  CBEDistanceDialog() = default;

  // Creates the (hidden) form showing the block's dimension and type; false
  // when its window could not be made.
  bool Build(CBEDistance* block);
  // Writes the shown dimension and type into the block
  // (CBEDistance::ApplyProperties); false when it refused them.
  bool Apply(CBEDistance* block) const;

  CKestSpinEdit* GetDimensionEdit() const { return dimension_; }
  CKestComboBox* GetTypeList() const { return types_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  CKestSpinEdit* dimension_ = nullptr;
  CKestComboBox* types_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};

// The dialog on a distance block; true when the user confirmed with "OK"
// and the block took the dimension and the type (pins and costs updated).
// Any other answer, or another class of block, changes nothing.
bool ShowDistanceDialog(CBEBlock* block);
