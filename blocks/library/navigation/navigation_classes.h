// The classes of the navigation area, in the on-board computer's "Интеллект"
// group: the stereo scan sector, the local map and the visual-navigation
// block.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kNavigationClassRows[];
extern const int kNavigationClassRowCount;
