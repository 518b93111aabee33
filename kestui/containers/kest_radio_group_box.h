// A group box of radio buttons of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_radio.h"
#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_item_group_box.h"

// A group of radio buttons: one of them checked at a time.
class CKestRadioGroupBox : public CKestItemGroupBox {
public:
  CKestRadioGroupBox(CKestContainer* container, int id, const wchar_t* caption, uint32_t position,
                     int width, int height);
  // Appends a radio (100 x 18); answers its index or -1.
  int AddItem(const wchar_t* caption);
  // The first checked item, or -1.
  int GetItemIndex() const;
  // Clicks the item: it is checked, the others unchecked, and WM_COMMAND
  // (group id, item window) is posted to the form. Other indices are
  // ignored.
  void SetItemIndex(int index);
  CKestRadio* GetItem(int index) const;
};
