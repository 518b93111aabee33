#include "blocks/library/device_owner.h"

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "scheme/model/block.h"

CSCHBlock* GetOwnerComponent(const CBEBlock* block) {
  if (!block || !block->scheme) return nullptr;
  return block->scheme->owner;
}

void GetOwnerGround(const CBEBlock* block, float* U, float* R) {
  float u = 0, r = 0;
  const BeDeviceOwner* unit = dynamic_cast<const BeDeviceOwner*>(GetOwnerComponent(block));
  if (unit) unit->GetGroundReference(&u, &r);
  if (U) *U = u;
  if (R) *R = r;
}

CBEBlock* FindOrCreateDeviceBlock(BeScheme* scheme, const wchar_t* caption, unsigned int classId) {
  if (!scheme || !caption || !*caption) return nullptr;
  CBEBlock* block = scheme->FindDeviceBlock(caption);
  if (block) return block;
  block = scheme->CreateBlock(classId);
  if (!block) return nullptr;
  block->SetCaption(caption);
  block->flags |= kBeBlockDevice;
  if (!block->caption) {
    // Without its caption the unit would never find it again.
    delete block;
    return nullptr;
  }
  return block;
}
