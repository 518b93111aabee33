#include "blocks/engine/block_creator_table.h"

void BeBlockCreatorTable::Clear() { items_.Clear(); }

bool BeBlockCreatorTable::Set(unsigned int classId, BeBlockCreator creator) {
  for (Item& item : items_) {
    if (item.classId == classId) {
      item.creator = creator;
      return true;
    }
  }
  return items_.Append(Item{classId, creator});
}

BeBlockCreator BeBlockCreatorTable::Find(unsigned int classId) const {
  for (const Item& item : items_)
    if (item.classId == classId) return item.creator;
  return nullptr;
}

BeBlockCreatorTable& BeBlockCreatorTable::Program() {
  static BeBlockCreatorTable table;
  return table;
}
