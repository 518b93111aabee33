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
// creator, which it names through kMul2ClassId.
const BeLibraryClassRow kMathClassRows[] = {
    {kNegClassId, CBENeg::Create},
    {kAddClassId, CBEAdd::Create},
    {kSummatorClassId, CBESummator::Create},
    {kSubClassId, CBESub::Create},
    {kSub2ClassId, CBESub2::Create},
    {kProportionalClassId, CBEProportional::Create},
    {kMul2ClassId, CBEMul2::Create},
    {kDiv2ClassId, CBEDiv2::Create},
    {kConstDividerClassId, CBEConstDivider::Create},
    {kAbsClassId, CBEAbs::Create},
};
const int kMathClassRowCount = sizeof(kMathClassRows) / sizeof(kMathClassRows[0]);
