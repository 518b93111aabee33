#include "blocks/library/logic/shr.h"

#include <new>

#include "blocks/engine/block_class_ids.h"

CBEShr::CBEShr() : CBEShiftBlock(true, kBeShrClassId) {}

CBEBlock* CBEShr::Create() { return Checked(new (std::nothrow) CBEShr); }
