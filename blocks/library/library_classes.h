// The block library's classes and their creators. The program hands them to
// the engine once at start-up (RegisterBlockLibraryCreators), before any
// catalogue is built: the common palette groups then offer these classes and
// a block placed from them is the real class.
//
// Each area of the library keeps its own table of rows (math/math_classes.h
// ...); this file lists the areas.
#pragma once

#include "blocks/engine/catalogue_entry.h"

class BeBlockCreatorTable;

// One class of the library: the class id its blocks are saved under and the
// function that makes one.
struct BeLibraryClassRow {
  unsigned int classId;
  BeBlockCreator creator;
};

// The rows of every area, in area order, into table (which keeps rows it
// already has). False when memory ran out on the way.
bool RegisterBlockLibraryCreators(BeBlockCreatorTable* table);
// The same into the program's table (BeBlockCreatorTable::Program()).
bool RegisterBlockLibraryCreators();

// How many classes the library registers.
int BlockLibraryClassCount();
