#include "blocks/library/math/sub.h"

#include <new>

#include "blocks/engine/block_class_ids.h"

namespace {
const BeTypeCost kCosts[5] = {{2, 4, false}, {3, 6, false}, {5, 10, false}, {100, 10, true}, {200, 20, true}};
const CBEConstantOperand::Traits kTraits = {kCosts, -1, L"SUB", kBeSubClassId};
}  // namespace

CBESub::CBESub() : CBEConstantOperand(kTraits) {}

CBEBlock* CBESub::Create() { return new (std::nothrow) CBESub; }
