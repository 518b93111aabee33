// Resource ids of the script folder, shared by C++ code and by
// resources/script.rc (so: plain #defines only).
#pragma once

#define IDB_SCRIPT_BLOCK 188  // the script block's picture, 18 x 22 pixels
