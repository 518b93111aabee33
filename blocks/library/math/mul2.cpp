#include "blocks/library/math/mul2.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

namespace {
const BeTypeCost kCosts[5] = {{2, 4, false}, {10, 16, false}, {36, 34, false}, {280, 10, true}, {390, 20, true}};
const CBETwoOperandBlock::Traits kTraits = {80, 1, kCosts, L"A x B", kBeMul2ClassId};
}  // namespace

CBEMul2::CBEMul2() : CBETwoOperandBlock(kTraits) {}

CBEBlock* CBEMul2::Create() { return KeepIfPinsMade(new (std::nothrow) CBEMul2, 2, 1); }

uint32_t CBEMul2::CombineIntegers(int32_t a, int32_t b) const {
  return static_cast<uint32_t>(a) * static_cast<uint32_t>(b);
}

double CBEMul2::Combine(double x, double y) const { return x * y; }
