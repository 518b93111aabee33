#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"

#include "blocks/engine/catalogue_group.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"

BeCatalogue::~BeCatalogue() { Init(); }

void BeCatalogue::Init() {
  for (int i = 0; i < groupCount; ++i) delete groups[i];
  FreeBuffer(groups);
  groups = nullptr;
  groupCount = 0;
}

bool BeCatalogue::Append(BeCatalogueGroup* group) {
  if (!group) return false;
  if (!ResizeSteppedArray(&groups, groupCount, groupCount + 1)) return false;
  groups[groupCount++] = group;
  return true;
}

BeCatalogueGroup* BeCatalogue::AddGroup(const wchar_t* name) {
  BeCatalogueGroup* group = new BeCatalogueGroup;
  if (!group->Init(this, name)) {
    delete group;
    return nullptr;
  }
  return group;
}

const BeCatalogueEntry* BeCatalogue::FindEntry(unsigned int classId) const {
  for (int g = 0; g < groupCount; ++g) {
    const BeCatalogueGroup* group = groups[g];
    for (int e = 0; e < group->entryCount; ++e) {
      if (group->entries[e].classId == classId) return &group->entries[e];
    }
  }
  return nullptr;
}
