// Resource ids of the pictures the block property dialogs load themselves,
// shared by C++ code and by resources/dialogs.rc (so: plain #defines only).
// The pictures are drawn by tools/make_dialog_bitmaps.py; 110, the delete
// cross, is the program's palette picture (resources/velkboard.rc).
#pragma once

#define IDB_DIALOG_ADD 136     // 16 x 16, the add buttons' plus sign
#define IDB_DIALOG_DELETE 110  // the delete buttons' cross
