#include "blocks/library/logic/shl.h"

#include <new>

#include "blocks/engine/block_class_ids.h"

CBEShl::CBEShl() : CBEShiftBlock(false, kBeShlClassId) {}

CBEBlock* CBEShl::Create() { return Checked(new (std::nothrow) CBEShl); }
