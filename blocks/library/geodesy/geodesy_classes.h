// The classes of the "Навигация" group: the navigation receiver driver and
// the coordinate converters.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kGeodesyClassRows[];
extern const int kGeodesyClassRowCount;
