// The state of a pin as a component reads and writes it.
#pragma once

struct SchSignalSource;

// What a component reads from a pin and writes to it.
struct SchPinState {
  float U, R;        // first pair: the idle level
  float U2, R2;      // second pair: the other level of a data line
  float ownU, ownR;  // the reading pin's own drive (filled by GetPinState)
  int sourceKind;
  SchSignalSource* source;
};
