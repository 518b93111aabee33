// The selector of the multiplexer and demultiplexer.
#pragma once

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"

// The first byte of the selector's source as a signed 8-bit number (0 for
// an unlinked selector), held within 0 ... count - 1.
inline int SwitchSelector(const BeInputPin* selector, int count) {
  int k = 0;
  if (selector && selector->source) {
    unsigned char b = selector->source->value[0];
    k = b >= 128 ? static_cast<int>(b) - 256 : b;
  }
  if (k >= count) k = count - 1;
  if (k < 0) k = 0;
  return k;
}
