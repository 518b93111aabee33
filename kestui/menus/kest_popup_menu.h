// A widget's right-click menu in the Kest framework.
#pragma once

#include <windows.h>

#include "kestui/menus/kest_menu.h"

// A widget's right-click menu.
class CKestPopupMenu : public CKestMenu {
public:
  CKestPopupMenu();
  int AddItem(const wchar_t* text, UINT id, BYTE modifiers = 0, WORD key = 0);
  // Loads the program's bitmap resource and shows it beside the item.
  void SetItemBitmap(int position, UINT bitmapResourceId);
};

