// The classes of the "Математика" palette group: the arithmetic blocks, the
// proportional element and the divider of a constant.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kMathClassRows[];
extern const int kMathClassRowCount;
