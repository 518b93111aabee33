// Resource ids of the block property dialogs, shared by C++ code and by
// resources/dialogs.rc (so: plain #defines only).
#pragma once

// The TWI's bit-rate formula, 210 x 38 pixels.
#define IDB_TWI_FORMULA 165
// The scan-sector dialog's drawing of the stereo pair and its slices,
// 150 x 120 pixels.
#define IDB_SCAN_SECTOR_DRAWING 185

// The tool buttons show the program's own pictures, so each id keeps one
// picture: the add sign and the arrows are the script editor's 136, 137 and
// 138 (resources/script.rc, linked with the script library), the delete
// cross the palette's 110 (resources/velkboard.rc).
#define IDB_DIALOG_ADD 136     // 16 x 16, the add buttons' plus sign
#define IDB_DIALOG_UP 137      // 16 x 16, up
#define IDB_DIALOG_DOWN 138    // 16 x 16, down
#define IDB_DIALOG_DELETE 110  // the delete buttons' cross
