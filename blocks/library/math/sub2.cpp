#include "blocks/library/math/sub2.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

namespace {
const BeTypeCost kCosts[5] = {{2, 4, false}, {3, 6, false}, {5, 10, false}, {100, 10, true}, {200, 20, true}};
const CBETwoOperandBlock::Traits kTraits = {50, 0, kCosts, L"A-B", kBeSub2ClassId};
}  // namespace

CBESub2::CBESub2() : CBETwoOperandBlock(kTraits) {}

CBEBlock* CBESub2::Create() { return KeepIfPinsMade(new (std::nothrow) CBESub2, 2, 1); }

uint32_t CBESub2::CombineIntegers(int32_t a, int32_t b) const {
  return static_cast<uint32_t>(a) - static_cast<uint32_t>(b);
}

double CBESub2::Combine(double x, double y) const { return x - y; }
