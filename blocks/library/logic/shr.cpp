#include "blocks/library/logic/shr.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

CBEShr::CBEShr() : CBEShiftBlock(true, kBeShrClassId) {}

CBEBlock* CBEShr::Create() { return KeepIfPinsMade(new (std::nothrow) CBEShr, 1, 1); }
