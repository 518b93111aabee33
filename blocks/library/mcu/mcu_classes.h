// The library's microcontroller blocks: the pulse measurement and the
// software PWM, which the microcontroller's catalogue offers in its
// "Преобразователи" tab after the common entries.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kMcuClassRows[];
extern const int kMcuClassRowCount;
