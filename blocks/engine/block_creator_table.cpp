#include "blocks/engine/block_creator_table.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

BeBlockCreatorTable::~BeBlockCreatorTable() { Clear(); }

void BeBlockCreatorTable::Clear() {
  FreeBuffer(items_);
  items_ = nullptr;
  count_ = 0;
}

bool BeBlockCreatorTable::Set(unsigned int classId, BeBlockCreator creator) {
  for (int i = 0; i < count_; ++i) {
    if (items_[i].classId == classId) {
      items_[i].creator = creator;
      return true;
    }
  }
  if (!ResizeSteppedArray(&items_, count_, count_ + 1)) return false;
  items_[count_++] = Item{classId, creator};
  return true;
}

BeBlockCreator BeBlockCreatorTable::Find(unsigned int classId) const {
  for (int i = 0; i < count_; ++i)
    if (items_[i].classId == classId) return items_[i].creator;
  return nullptr;
}

BeBlockCreatorTable& BeBlockCreatorTable::Program() {
  static BeBlockCreatorTable table;
  return table;
}
