// The classes of the "Цифровые" palette group: the flip-flops, the
// register, the counters, the demultiplexer, the multiplexer and the
// priority encoder.
#pragma once

#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kDigitalClassRows[];
extern const int kDigitalClassRowCount;
