// Resource ids of the block property dialogs, shared by C++ code and by
// resources/dialogs.rc (so: plain #defines only).
#pragma once

// The TWI's bit-rate formula, 210 x 38 pixels.
#define IDB_TWI_FORMULA 165
