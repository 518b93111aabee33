// CLocalMapZoneEditor: the form that edits one analysis zone of the
// local-map dialog: its corners in centimetres and the sensors it counts
// ("Сканируемые слои", one check item per bit of its mask).
#pragma once

#include <cstdint>

#include "blocks/library/navigation/local_map_model.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/containers/kest_check_group_box.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"

class CLocalMapZoneEditor : public CKestForm {
public:
  enum Field { kX1, kY1, kX2, kY2, kFieldCount };

  // The hidden form owned by owner, titled caption, showing the zone;
  // false when the window could not be made.
  bool Build(CKestControl* owner, const wchar_t* caption, const LocalMapZone& zone);
  // Shows it modally; true for "OK" with the form still there to read.
  bool Confirm();
  // The zone the controls describe: corners / 100, the upper ones raised
  // to 1 cm beyond the lower ones, the mask from the checked items.
  LocalMapZone Read() const;

  CKestSpinEdit* GetEdit(Field field) const { return edits_[field]; }
  CKestCheckGroupBox* GetLayers() const { return layers_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  CKestSpinEdit* AddField(const wchar_t* caption, float metres);

  CKestSpinEdit* edits_[kFieldCount] = {};
  CKestCheckGroupBox* layers_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};

// A zone's corners put in order: x max raised to x min + 0.01 m when it is
// smaller, y max likewise (compared in single precision).
void KeepZoneOpen(LocalMapZone* zone);
