// The classes of the navigation area, in the on-board computer's "Интеллект"
// group: the stereo scan sector, the local map, the visual-navigation
// block, the road and strip detectors and the fuzzy-logic block.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kNavigationClassRows[];
extern const int kNavigationClassRowCount;
