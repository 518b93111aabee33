// The classes of the on-board computer's "Интеллект" group that map the
// robot's surroundings: the stereo scan sector and the local map.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kLocalMapClassRows[];
extern const int kLocalMapClassRowCount;
