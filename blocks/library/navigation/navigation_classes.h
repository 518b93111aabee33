// The classes of the navigation area: the visual-navigation block of the
// on-board computer's "Интеллект" group.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kNavigationClassRows[];
extern const int kNavigationClassRowCount;
