// The creators of block classes that live above the engine (the block
// library, plug-in support), by class id. The program fills its table once
// at start-up, before any catalogue is built; AddCommonCatalogueGroups offers
// a class of the common groups only when its creator is known.
#pragma once

#include "blocks/engine/catalogue_entry.h"
#include "foundation/plain_array.h"

class BeBlockCreatorTable {
public:
  BeBlockCreatorTable() = default;
  BeBlockCreatorTable(const BeBlockCreatorTable&) = delete;
  BeBlockCreatorTable& operator=(const BeBlockCreatorTable&) = delete;

  // Adds or replaces the creator of a class; false when memory ran out.
  bool Set(unsigned int classId, BeBlockCreator creator);
  // The creator of a class, or null.
  BeBlockCreator Find(unsigned int classId) const;
  int Count() const { return items_.Count(); }
  // The rows in the order they were first set (0 or null past the count).
  unsigned int ClassIdAt(int i) const { return i >= 0 && i < items_.Count() ? items_[i].classId : 0; }
  BeBlockCreator CreatorAt(int i) const { return i >= 0 && i < items_.Count() ? items_[i].creator : nullptr; }
  void Clear();

  // The program's own table.
  static BeBlockCreatorTable& Program();

private:
  struct Item {
    unsigned int classId;
    BeBlockCreator creator;
  };
  CPlainArray<Item> items_;
};
