#include "blocks/engine/catalogue_group.h"

#include "foundation/buffers.h"

BeCatalogueGroup::~BeCatalogueGroup() { FreeBuffer(entries); }

bool BeCatalogueGroup::Init(BeCatalogue* catalogue, const wchar_t* groupName) {
  name = groupName;
  entryCount = 0;
  return catalogue && catalogue->Append(this);
}

bool BeCatalogueGroup::AddEntry(unsigned int classId, BeBlockCreator creator,
                                const wchar_t* caption, const wchar_t* bitmap) {
  if (entryCount % kEntryStep == 0 && entryCount + kEntryStep > capacity) {
    void* grown = ReallocBuffer(entries, sizeof(BeCatalogueEntry) * (entryCount + kEntryStep));
    if (!grown) return false;
    entries = static_cast<BeCatalogueEntry*>(grown);
    capacity = entryCount + kEntryStep;
  }
  entries[entryCount++] = BeCatalogueEntry{classId, caption, bitmap, creator};
  return true;
}
