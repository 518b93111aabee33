// The classes of the "Преобразователи" palette group.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kConvertersClassRows[];
extern const int kConvertersClassRowCount;
