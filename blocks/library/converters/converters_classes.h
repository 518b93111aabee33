// The classes of the "Преобразователи" palette group: the type converter
// and the signal converters.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kConvertersClassRows[];
extern const int kConvertersClassRowCount;
