#include "blocks/library/logic/or.h"

#include <new>

#include "blocks/engine/block_class_ids.h"

CBEOr::CBEOr() : CBEMaskGate(true, L"OR", kBeOrClassId, 0x0F) {}

CBEBlock* CBEOr::Create() { return Checked(new (std::nothrow) CBEOr); }
