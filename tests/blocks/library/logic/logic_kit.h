// What the tests of the "Логика" blocks share: a type change as each
// block's property dialog makes it, followed by the class's update.
#pragma once

#include "block_kit.h"
#include "blocks/engine/input_pin.h"
#include "blocks/library/logic/and.h"
#include "blocks/library/logic/and2.h"
#include "blocks/library/logic/cmp.h"
#include "blocks/library/logic/cmp2.h"
#include "blocks/library/logic/get_bit.h"
#include "blocks/library/logic/not.h"
#include "blocks/library/logic/or.h"
#include "blocks/library/logic/or2.h"
#include "blocks/library/logic/shl.h"
#include "blocks/library/logic/shr.h"
#include "blocks/library/typed_block.h"

namespace logictest {

// The comparison blocks and the bit extractor change their inputs only (the
// output stays a bit); the others change every pin. Then the class's cost
// operation runs.
inline void SetType(CBEBlock* block, BeSignalType type) {
  bool inputsOnly = dynamic_cast<CBECmp*>(block) || dynamic_cast<CBECmp2*>(block) ||
                    dynamic_cast<CBEGetBit*>(block);
  if (inputsOnly) {
    for (int i = 0; i < block->inputCount; ++i) ChangeInputType(block->Input(i), type);
  } else {
    ChangeBlockType(block, type);
  }
  if (auto* b = dynamic_cast<CBENot*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEAnd*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEOr*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEAnd2*>(block)) b->UpdatePinsAndCosts();
  if (auto* b = dynamic_cast<CBEOr2*>(block)) b->UpdatePinsAndCosts();
  if (auto* b = dynamic_cast<CBEShl*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBEShr*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBECmp*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBECmp2*>(block)) b->UpdateCosts();
}

// The input count as the AND and OR elements' dialog sets it.
inline void SetInputs(CBEBlock* block, int n) {
  ASSERT_TRUE(block->SetInputCount(n));
  if (auto* b = dynamic_cast<CBEAnd2*>(block)) b->UpdatePinsAndCosts();
  if (auto* b = dynamic_cast<CBEOr2*>(block)) b->UpdatePinsAndCosts();
}

}  // namespace logictest
