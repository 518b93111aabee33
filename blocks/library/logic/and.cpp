#include "blocks/library/logic/and.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

CBEAnd::CBEAnd() : CBEMaskGate(false, L"AND", kBeAndClassId, 0x7F) {}

CBEBlock* CBEAnd::Create() { return KeepIfPinsMade(new (std::nothrow) CBEAnd, 1, 1); }
