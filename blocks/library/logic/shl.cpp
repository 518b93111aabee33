#include "blocks/library/logic/shl.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

CBEShl::CBEShl() : CBEShiftBlock(false, kBeShlClassId) {}

CBEBlock* CBEShl::Create() { return KeepIfPinsMade(new (std::nothrow) CBEShl, 1, 1); }
