// The creators of block classes that live above the engine (the block
// library, plug-in support), by class id. The program fills its table once
// at start-up, before any catalogue is built; AddCommonCatalogueGroups offers
// a class of the common groups only when its creator is known.
#pragma once

#include "blocks/engine/catalogue_entry.h"

class BeBlockCreatorTable {
public:
  BeBlockCreatorTable() {}
  ~BeBlockCreatorTable();
  BeBlockCreatorTable(const BeBlockCreatorTable&) = delete;
  BeBlockCreatorTable& operator=(const BeBlockCreatorTable&) = delete;

  // Adds or replaces the creator of a class; false when memory ran out.
  bool Set(unsigned int classId, BeBlockCreator creator);
  // The creator of a class, or null.
  BeBlockCreator Find(unsigned int classId) const;
  int Count() const { return count_; }
  // The rows in the order they were first set (0 or null past the count).
  unsigned int ClassIdAt(int i) const { return i >= 0 && i < count_ ? items_[i].classId : 0; }
  BeBlockCreator CreatorAt(int i) const { return i >= 0 && i < count_ ? items_[i].creator : nullptr; }
  void Clear();

  // The program's own table.
  static BeBlockCreatorTable& Program();

private:
  struct Item {
    unsigned int classId;
    BeBlockCreator creator;
  };
  int count_ = 0;
  Item* items_ = nullptr;
};
