// Command ids that more than one window handles, each named once: the Edit
// and picture commands of a program's main menu, which the main window
// passes to the active MDI child, and the items of the editors' popup menus.
// Shared by C++ code and the resource scripts (so: plain #defines only).
#pragma once

// Main menu: Edit (also the control-panel editor's popup menu).
#define ID_KEST_SELECT_ALL      40025
#define ID_KEST_COPY            40026
#define ID_KEST_CUT             40027
#define ID_KEST_PASTE           40028
#define ID_KEST_DELETE          40029
// Main menu: the picture of the active editor.
#define ID_KEST_EXPORT_PICTURE  40031  // File > export as a picture file
#define ID_KEST_COPY_PICTURE    40033  // Edit > copy as a picture
#define ID_KEST_PRINT_PICTURE   40035  // File > print

// Popup menus of the scheme, board and block-diagram views.
#define ID_KEST_POPUP_CUT         768
#define ID_KEST_POPUP_COPY        769
#define ID_KEST_POPUP_PASTE       770
#define ID_KEST_POPUP_DELETE      771
#define ID_KEST_POPUP_SELECT_ALL  2137
#define ID_KEST_POPUP_PROPERTIES  3001  // "Свойства"; the board's "Информация"
