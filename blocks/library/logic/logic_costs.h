// Costs of the "Логика" blocks by their type, bit to double. Unlike the
// arithmetic tables, a logic table may have no row for a type: such a type
// leaves cycles and ROM as they were.
#pragma once

#include "blocks/engine/signal_type.h"

class CBEBlock;

// One row of a cost table.
struct BeLogicCost {
  bool present;  // false: the type has no row
  int cycles;
  int rom;
  bool shared;  // the shared-routine flag
};

// Clears the block's shared-routine flag, then takes cycles, ROM and the flag
// from the row of the type. costs holds six rows, bit first; a type outside
// bit..double or one whose row is absent changes nothing more.
void ApplyLogicCost(CBEBlock* block, const BeLogicCost* costs, BeSignalType type);
