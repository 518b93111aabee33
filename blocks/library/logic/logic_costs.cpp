#include "blocks/library/logic/logic_costs.h"

#include "blocks/engine/block.h"

void ApplyLogicCost(CBEBlock* block, const BeLogicCost* costs, BeSignalType type) {
  block->sharedRoutine = 0;
  if (type < kBeSignalBit || type > kBeSignalDouble) return;
  const BeLogicCost& row = costs[type - kBeSignalBit];
  if (!row.present) return;
  block->cycles = row.cycles;
  block->rom = row.rom;
  block->sharedRoutine = row.shared ? 1 : 0;
}
