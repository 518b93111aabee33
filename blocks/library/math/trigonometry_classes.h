// The classes of the "Тригонометрия" palette group: the one-argument
// functions (trig/) and the vector blocks (vectors/).
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kTrigonometryClassRows[];
extern const int kTrigonometryClassRowCount;
