// Resource and command ids of Velkboard, shared by C++ code and by
// resources/velkboard.rc (so: plain #defines only).
#pragma once

#define IDR_MAIN_MENU        116
#define IDR_MAIN_ACCELERATORS 118
#define IDI_VELKBOARD        183  // the program's icon (windows, about box)
#define IDI_SCHEME_DOCUMENT  184  // the icon of ".vlkx" files
#define IDB_PLUGIN_KIND      167  // the plug-in chooser: a block kind
#define IDB_PLUGIN_MODULE    168  // the plug-in chooser: a plug-in module

// Main menu commands.
#define ID_FILE_EXIT         40004
#define ID_FILE_OPEN         40005
#define ID_FILE_SAVE         40006
#define ID_WINDOW_TILE       40009
#define ID_WINDOW_CASCADE    40010
#define ID_KEST_SELECT_ALL   40025
#define ID_KEST_COPY         40026
#define ID_KEST_CUT          40027
#define ID_KEST_PASTE        40028
#define ID_KEST_DELETE       40029
#define ID_KEST_EXPORT_PICTURE       40031
#define ID_KEST_COPY_PICTURE 40033
#define ID_KEST_PRINT_PICTURE        40035
#define ID_HELP_CONTENTS     40038
#define ID_HELP_ABOUT        40039

// Build number shown in the about box and in the version information.
#define VELKBOARD_BUILD      208
