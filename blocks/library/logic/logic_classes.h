// The classes of the "Логика" palette group: the logic elements, the shift
// blocks and the comparison blocks.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kLogicClassRows[];
extern const int kLogicClassRowCount;
