// The classes of the "ТАУ" palette group: the control-theory links and the
// limiter (the group's proportional link is the one of "Математика").
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kControlClassRows[];
extern const int kControlClassRowCount;
