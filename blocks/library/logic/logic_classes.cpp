#include "blocks/library/logic/logic_classes.h"

#include "blocks/engine/block_class_ids.h"
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

const BeLibraryClassRow kLogicClassRows[] = {
    {kBeNotClassId, CBENot::Create},   {kBeAndClassId, CBEAnd::Create},
    {kBeAnd2ClassId, CBEAnd2::Create}, {kBeOrClassId, CBEOr::Create},
    {kBeOr2ClassId, CBEOr2::Create},   {kBeCmpClassId, CBECmp::Create},
    {kBeCmp2ClassId, CBECmp2::Create}, {kBeGetBitClassId, CBEGetBit::Create},
    {kBeShlClassId, CBEShl::Create},   {kBeShrClassId, CBEShr::Create},
};
const int kLogicClassRowCount = sizeof(kLogicClassRows) / sizeof(kLogicClassRows[0]);
