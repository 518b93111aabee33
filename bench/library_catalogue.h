// The block catalogue the library's benchmarks build their schemes from: the
// library's creators, a hidden group and the common palette groups, as the
// program has them.
#pragma once

#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/common_groups.h"
#include "blocks/library/library_classes.h"

namespace velkbench {

class LibraryCatalogue {
public:
  LibraryCatalogue() {
    RegisterBlockLibraryCreators(&creators);
    catalogue.AddGroup(nullptr);
    AddCommonCatalogueGroups(&catalogue, creators);
  }
  LibraryCatalogue(const LibraryCatalogue&) = delete;
  LibraryCatalogue& operator=(const LibraryCatalogue&) = delete;

  BeBlockCreatorTable creators;
  BeCatalogue catalogue;
};

}  // namespace velkbench
