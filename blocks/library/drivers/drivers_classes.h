// The library's device drivers of the "Преобразователи" group: the
// range-finder driver and the inertial driver.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kDriversClassRows[];
extern const int kDriversClassRowCount;
