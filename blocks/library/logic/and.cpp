#include "blocks/library/logic/and.h"

#include <new>

#include "blocks/engine/block_class_ids.h"

CBEAnd::CBEAnd() : CBEMaskGate(false, L"AND", kBeAndClassId, 0x7F) {}

CBEBlock* CBEAnd::Create() { return Checked(new (std::nothrow) CBEAnd); }
