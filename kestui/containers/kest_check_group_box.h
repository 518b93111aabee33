// A group box of check boxes of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_check_box.h"
#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_item_group_box.h"

// A group of check boxes.
class CKestCheckGroupBox : public CKestItemGroupBox {
public:
  CKestCheckGroupBox(CKestContainer* container, int id, const wchar_t* caption, uint32_t position,
                     int width, int height);
  // Appends an unchecked check box (100 x 18); answers its index or -1.
  int AddItem(const wchar_t* caption);
  // False for an index outside 0 .. count - 1.
  bool IsItemChecked(int index) const;
  // Sets the check mark without WM_COMMAND; other indices are ignored.
  void SetItemChecked(int index, bool checked);
  CKestCheckBox* GetItem(int index) const;
};

