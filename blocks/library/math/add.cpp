#include "blocks/library/math/add.h"

#include <new>

#include "blocks/engine/block_class_ids.h"

namespace {
const BeTypeCost kCosts[5] = {{1, 2, false}, {2, 4, false}, {4, 8, false}, {100, 10, true}, {200, 20, true}};
const CBEConstantOperand::Traits kTraits = {kCosts, 1, L"ADD", kBeAddClassId};
}  // namespace

CBEAdd::CBEAdd() : CBEConstantOperand(kTraits) {}

CBEBlock* CBEAdd::Create() { return new (std::nothrow) CBEAdd; }
