#include "blocks/engine/catalogue_group.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

BeCatalogueGroup::~BeCatalogueGroup() { FreeBuffer(entries); }

bool BeCatalogueGroup::Init(BeCatalogue* catalogue, const wchar_t* groupName) {
  name = groupName;
  entryCount = 0;
  return catalogue && catalogue->Append(this);
}

bool BeCatalogueGroup::AddEntry(unsigned int classId, BeBlockCreator creator,
                                const wchar_t* caption, const wchar_t* bitmap) {
  if (!ResizeSteppedArray(&entries, entryCount, entryCount + 1, kEntryStep)) return false;
  capacity = SteppedCapacity(entryCount + 1, kEntryStep);
  entries[entryCount++] = BeCatalogueEntry{classId, caption, bitmap, creator};
  return true;
}
