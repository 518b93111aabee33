// The library's classes of the on-board computer's "Интеллект" palette
// group: the camera detectors and the fuzzy-logic block.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kIntellectClassRows[];
extern const int kIntellectClassRowCount;
