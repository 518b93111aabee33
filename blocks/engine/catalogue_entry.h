// An entry of a block catalogue: the class id, default caption and palette
// picture of a kind of block, and the function that creates one.
#pragma once

class CBEBlock;

// Allocates and constructs one block of its class.
typedef CBEBlock* (*BeBlockCreator)();

struct BeCatalogueEntry {
  unsigned int classId;
  const wchar_t* caption;  // default caption, palette hint; constant text
  const wchar_t* bitmap;   // a file of "schemeIcons\"; null: no palette button
  BeBlockCreator creator;
};
