#include "blocks/library/math/div2.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

namespace {
const BeTypeCost kCosts[5] = {{64, 40, false}, {128, 56, false}, {256, 108, false}, {380, 10, true}, {490, 20, true}};
const CBETwoOperandBlock::Traits kTraits = {80, 1, kCosts, L"A / B", kBeDiv2ClassId};
}  // namespace

CBEDiv2::CBEDiv2() : CBETwoOperandBlock(kTraits) {}

CBEBlock* CBEDiv2::Create() { return KeepIfPinsMade(new (std::nothrow) CBEDiv2, 2, 1); }

uint32_t CBEDiv2::CombineIntegers(int32_t a, int32_t b) const {
  if (b == 0) return 0;
  // In 64 bits the quotient is defined for every pair; its low bits are the
  // wrapped result.
  int64_t wide = static_cast<int64_t>(a) / static_cast<int64_t>(b);
  return static_cast<uint32_t>(static_cast<uint64_t>(wide));
}

double CBEDiv2::Combine(double x, double y) const { return x / y; }
