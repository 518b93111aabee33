#include "kestui/menus/kest_main_menu.h"

CKestMainMenu::CKestMainMenu(UINT resourceId) { LoadResource(resourceId); }

bool CKestMainMenu::LoadResource(UINT resourceId) {
  DestroyHandle();
  if (resourceId == 0) {
    menu_ = CreateMenu();
  } else {
    menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
  }
  return menu_ != nullptr;
}
