#include "blocks/library/math/math_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/math/abs.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/math/div2.h"
#include "blocks/library/math/mul2.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/math/proportional.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/math/sub2.h"
#include "blocks/library/math/summator.h"

// The square-root entry of the common groups is made by the multiplier's
// creator, which it names through kBeMul2ClassId.
const BeLibraryClassRow kMathClassRows[] = {
    {kBeNegClassId, CBENeg::Create},
    {kBeAddClassId, CBEAdd::Create},
    {kBeSummatorClassId, CBESummator::Create},
    {kBeSubClassId, CBESub::Create},
    {kBeSub2ClassId, CBESub2::Create},
    {kBeProportionalClassId, CBEProportional::Create},
    {kBeMul2ClassId, CBEMul2::Create},
    {kBeDiv2ClassId, CBEDiv2::Create},
    {kBeConstDividerClassId, CBEConstDivider::Create},
    {kBeAbsClassId, CBEAbs::Create},
};
const int kMathClassRowCount = sizeof(kMathClassRows) / sizeof(kMathClassRows[0]);
