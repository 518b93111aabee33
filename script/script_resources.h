// Resource ids of the script folder, shared by C++ code and by
// resources/script.rc (so: plain #defines only).
#pragma once

#define IDB_SCRIPT_BLOCK 188  // the script block's picture, 18 x 22 pixels

// The script editor's menu bar and its accelerators.
#define IDR_SCRIPT_EDITOR_MENU 189
#define IDR_SCRIPT_EDITOR_ACCELERATORS 190

// The script editor's 16 x 16 pictures.
#define IDB_SCRIPT_PIN_ADD 136
#define IDB_SCRIPT_PIN_UP 137
#define IDB_SCRIPT_PIN_DOWN 138
#define IDB_SCRIPT_GROUP 191
#define IDB_SCRIPT_GROUP_OPEN 192
#define IDB_SCRIPT_EXAMPLE 193
#define IDB_SCRIPT_ELEMENT 194
// Velkboard's palette already has a picture 110 and its blocks a picture
// 195: the delete picture of the pin lists has an id of its own.
#define IDB_SCRIPT_PIN_DELETE 201

// Commands of the script editor's menu bar.
#define ID_SCRIPT_NEW 40044
#define ID_SCRIPT_OPEN 40045
#define ID_SCRIPT_SAVE 40046
#define ID_SCRIPT_CLOSE 40047
#define ID_SCRIPT_UNDO 40058
#define ID_SCRIPT_COPY 40059
#define ID_SCRIPT_CUT 40060
#define ID_SCRIPT_PASTE 40061
#define ID_SCRIPT_DELETE 40062
#define ID_SCRIPT_SELECT_ALL 40063
#define ID_SCRIPT_COMPILE 40064
#define ID_SCRIPT_EXAMPLES 40066
#define ID_SCRIPT_FIND 40076
#define ID_SCRIPT_HELP 57670
