// The classes of the "Генераторы" palette group: the constant, the square
// wave, the single pulse, the one-shot, the pulse extender and the event
// detector.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kGeneratorsClassRows[];
extern const int kGeneratorsClassRowCount;
