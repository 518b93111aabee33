// The drop-down of an option parameter in the parameter rows of a component
// database record.
#pragma once

#include <cstdint>

#include "kestui/lists/kest_combo_box.h"

// Command id of every option combo of the parameter rows.
constexpr int kCompDbOptionComboId = 1000;

// The drop-down of an option parameter: it carries the option key of its
// column.
class COptionCombo : public CKestComboBox {
public:
  COptionCombo(CKestControl* parent, int optionKey, uint32_t position, int width, int height)
      : CKestComboBox(parent, kCompDbOptionComboId, false, position, width, height, 0),
        optionKey_(optionKey) {}
  int GetOptionKey() const { return optionKey_; }

private:
  int optionKey_;
};
