#include "blocks/library/logic/or.h"

#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/typed_block.h"

CBEOr::CBEOr() : CBEMaskGate(true, L"OR", kBeOrClassId, 0x0F) {}

CBEBlock* CBEOr::Create() { return KeepIfPinsMade(new (std::nothrow) CBEOr, 1, 1); }
