// A form's menu bar in the Kest framework.
#pragma once

#include <windows.h>

#include "kestui/menus/kest_menu.h"

// A form's menu bar, from a menu resource or empty (resource id 0).
class CKestMainMenu : public CKestMenu {
public:
  explicit CKestMainMenu(UINT resourceId = 0);
  // Replaces the menu by the resource (an empty bar for 0); false on failure.
  bool LoadResource(UINT resourceId);
};
