// The block catalogue of one kind of programmable unit: ordered groups (the
// palette's tabs; group 0 is hidden) of entries that create blocks by class
// id. Catalogues live for the whole run; entries never move once blocks have
// been created from them.
#pragma once

class BeCatalogueGroup;
struct BeCatalogueEntry;

class BeCatalogue {
public:
  BeCatalogue() { Init(); }
  ~BeCatalogue();
  BeCatalogue(const BeCatalogue&) = delete;
  BeCatalogue& operator=(const BeCatalogue&) = delete;

  // No groups (the groups held are deleted).
  void Init();
  // A new empty group appended under that name (null for group 0); null
  // when memory ran out.
  BeCatalogueGroup* AddGroup(const wchar_t* name);
  // Takes the group into the catalogue, at the end; false when memory ran
  // out (the group is then not taken).
  bool Append(BeCatalogueGroup* group);
  // The first entry in group order with that class id, or null.
  const BeCatalogueEntry* FindEntry(unsigned int classId) const;
  BeCatalogueGroup* Group(int i) const { return i >= 0 && i < groupCount ? groups[i] : nullptr; }

  int groupCount = 0;
  BeCatalogueGroup** groups = nullptr;  // owned
};
