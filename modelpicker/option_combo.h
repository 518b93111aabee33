// COptionCombo: the drop-down of an option parameter on modelpicker's form;
// it carries the option key of its column.
#pragma once

#include <cstdint>

#include "kestui/kest_combo.h"

// Command id of every option combo.
constexpr int kOptionComboId = 1000;

class COptionCombo : public CKestComboBox {
public:
  COptionCombo(CKestControl* parent, int optionKey, uint32_t position, int width, int height)
      : CKestComboBox(parent, kOptionComboId, false, position, width, height, 0),
        optionKey_(optionKey) {}
  int GetOptionKey() const { return optionKey_; }

private:
  int optionKey_;
};

