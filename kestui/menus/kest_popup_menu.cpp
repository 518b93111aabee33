#include "kestui/menus/kest_popup_menu.h"

CKestPopupMenu::CKestPopupMenu() { menu_ = CreatePopupMenu(); }

int CKestPopupMenu::AddItem(const wchar_t* text, UINT id, BYTE modifiers, WORD key) {
  return AppendItem(menu_, text, id, modifiers, key);
}

void CKestPopupMenu::SetItemBitmap(int position, UINT bitmapResourceId) {
  HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapResourceId));
  if (bitmap) SetItemBitmapAt(menu_, position, bitmap);
}

