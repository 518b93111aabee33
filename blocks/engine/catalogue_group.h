// One group of a block catalogue: a palette tab's name and its entries.
#pragma once

#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"

class BeCatalogueGroup {
public:
  static const int kEntryStep = 16;

  BeCatalogueGroup() {}
  ~BeCatalogueGroup();
  BeCatalogueGroup(const BeCatalogueGroup&) = delete;
  BeCatalogueGroup& operator=(const BeCatalogueGroup&) = delete;

  // An empty group with that name, appended to the catalogue (which then
  // owns it); false when it could not be appended.
  bool Init(BeCatalogue* catalogue, const wchar_t* groupName);
  // Appends an entry; the capacity grows by 16 when the count reaches a
  // multiple of 16. False when memory ran out.
  bool AddEntry(unsigned int classId, BeBlockCreator creator, const wchar_t* caption,
                const wchar_t* bitmap);
  const BeCatalogueEntry* Entry(int i) const {
    return i >= 0 && i < entryCount ? &entries[i] : nullptr;
  }

  const wchar_t* name = nullptr;  // constant text; null for group 0
  int entryCount = 0;
  int capacity = 0;
  BeCatalogueEntry* entries = nullptr;  // owned
};
