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
    {kNotClassId, CBENot::Create},   {kAndClassId, CBEAnd::Create},
    {kAnd2ClassId, CBEAnd2::Create}, {kOrClassId, CBEOr::Create},
    {kOr2ClassId, CBEOr2::Create},   {kCmpClassId, CBECmp::Create},
    {kCmp2ClassId, CBECmp2::Create}, {kGetBitClassId, CBEGetBit::Create},
    {kShlClassId, CBEShl::Create},   {kShrClassId, CBEShr::Create},
};
const int kLogicClassRowCount = sizeof(kLogicClassRows) / sizeof(kLogicClassRows[0]);
