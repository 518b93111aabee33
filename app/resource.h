// Resource and command ids of Velkboard, shared by C++ code and by
// resources/velkboard.rc (so: plain #defines only).
#pragma once

#include "kestui/core/kest_command_ids.h"

#define IDR_MAIN_MENU        116
#define IDR_MAIN_ACCELERATORS 118
#define IDI_VELKBOARD        183  // the program's icon (windows, about box)
#define IDI_SCHEME_DOCUMENT  184  // the icon of ".vlkx" files
#define IDB_PLUGIN_KIND      167  // the plug-in chooser: a block kind
#define IDB_PLUGIN_MODULE    168  // the plug-in chooser: a plug-in module

// Main menu commands (the Edit and picture commands, which the main window
// passes to the active editor, are in kest_command_ids.h).
#define ID_FILE_EXIT         40004
#define ID_FILE_OPEN         40005
#define ID_FILE_SAVE         40006
#define ID_WINDOW_TILE       40009
#define ID_WINDOW_CASCADE    40010
#define ID_HELP_CONTENTS     40038
#define ID_HELP_ABOUT        40039

// Build number shown in the about box and in the version information.
#define VELKBOARD_BUILD      208
