#include "kestui/menus/kest_menu.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "kestui/core/kest_messages.h"

namespace {

// Shortcut tables grow in steps of 8 entries.
constexpr int kShortcutStep = 8;

}  // namespace

CKestMenu::CKestMenu() = default;

CKestMenu::~CKestMenu() {
  DestroyHandle();
  for (int i = 0; i < bitmapCount_; ++i) DeleteObject(bitmaps_[i]);
  FreeBuffer(bitmaps_);
  FreeBuffer(shortcuts_);
}

void CKestMenu::DestroyHandle() {
  if (menu_) DestroyMenu(menu_);
  menu_ = nullptr;
}

void CKestMenu::Release() {
  if (--refCount_ < 1) delete this;
}

bool CKestMenu::AddShortcut(BYTE modifiers, WORD key, WORD command) {
  if (!ResizeSteppedArray(&shortcuts_, shortcutCount_, shortcutCount_ + 1, kShortcutStep)) return false;
  shortcuts_[shortcutCount_++] = KestMenuShortcut{modifiers, key, command};
  return true;
}

int CKestMenu::AppendItem(HMENU hmenu, const wchar_t* text, UINT id, BYTE modifiers, WORD key) {
  if (!hmenu) return -1;
  int position = GetMenuItemCount(hmenu);
  if (position < 0 || !AppendMenuW(hmenu, MF_STRING, id, text ? text : L"")) return -1;
  // An item whose shortcut cannot be kept is taken out again and reported.
  if (key != 0 && !AddShortcut(modifiers, key, static_cast<WORD>(id))) {
    DeleteMenu(hmenu, static_cast<UINT>(position), MF_BYPOSITION);
    return -1;
  }
  return position;
}

int CKestMenu::AppendSeparator(HMENU hmenu) {
  if (!hmenu) hmenu = menu_;
  if (!hmenu) return -1;
  int position = GetMenuItemCount(hmenu);
  if (position < 0 || !AppendMenuW(hmenu, MF_SEPARATOR, 0, nullptr)) return -1;
  return position;
}

HMENU CKestMenu::AppendSubMenu(const wchar_t* caption) { return AppendSubMenuTo(menu_, caption); }

HMENU CKestMenu::AppendSubMenuTo(HMENU hmenu, const wchar_t* caption) {
  if (!hmenu) return nullptr;
  HMENU sub = CreatePopupMenu();
  if (!sub) return nullptr;
  if (!AppendMenuW(hmenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                   caption ? caption : L"")) {
    DestroyMenu(sub);
    return nullptr;
  }
  return sub;
}

void CKestMenu::EnableItem(int position, bool enable) { EnableMenuItemAt(menu_, position, enable); }

void CKestMenu::EnableMenuItemAt(HMENU hmenu, int position, bool enable) {
  if (!hmenu) return;
  EnableMenuItem(hmenu, static_cast<UINT>(position),
                 MF_BYPOSITION | (enable ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
}

void CKestMenu::CheckItem(int position, bool checked) { CheckMenuItemAt(menu_, position, checked); }

void CKestMenu::CheckMenuItemAt(HMENU hmenu, int position, bool checked) {
  if (!hmenu) return;
  CheckMenuItem(hmenu, static_cast<UINT>(position),
                MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CKestMenu::SetDefaultItem(int position, bool on) { SetDefaultItemAt(menu_, position, on); }

void CKestMenu::SetDefaultItemAt(HMENU hmenu, int position, bool on) {
  if (!hmenu) return;
  SetMenuDefaultItem(hmenu, on ? static_cast<UINT>(position) : static_cast<UINT>(-1), TRUE);
}

int CKestMenu::GetItemCount(HMENU hmenu) const {
  if (!hmenu) hmenu = menu_;
  return hmenu ? GetMenuItemCount(hmenu) : 0;
}

int CKestMenu::GetItemId(HMENU hmenu, int position) {
  if (!hmenu) return -1;
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID;
  if (!GetMenuItemInfoW(hmenu, static_cast<UINT>(position), TRUE, &info)) return -1;
  return static_cast<int>(info.wID);
}

HMENU CKestMenu::GetSubMenu(int position) const { return GetSubMenuAt(menu_, position); }

HMENU CKestMenu::GetSubMenuAt(HMENU hmenu, int position) {
  return hmenu ? ::GetSubMenu(hmenu, position) : nullptr;
}

int CKestMenu::FindItemIndex(UINT id) const { return FindItemIndexIn(menu_, id); }

int CKestMenu::FindItemIndexIn(HMENU hmenu, UINT id) {
  if (!hmenu) return -1;
  int count = GetMenuItemCount(hmenu);
  for (int i = 0; i < count; ++i) {
    if (GetItemId(hmenu, i) == static_cast<int>(id)) return i;
  }
  return -1;
}

void CKestMenu::SetItemBitmapAt(HMENU hmenu, int position, HBITMAP bitmap) {
  if (bitmap) {
    bool held = false;
    for (int i = 0; i < bitmapCount_; ++i) held = held || bitmaps_[i] == bitmap;
    if (!held) {
      if (!ResizeSteppedArray(&bitmaps_, bitmapCount_, bitmapCount_ + 1)) return;  // not kept, so not shown either
      bitmaps_[bitmapCount_++] = bitmap;
    }
  }
  if (hmenu) SetMenuItemBitmaps(hmenu, static_cast<UINT>(position), MF_BYPOSITION, bitmap, nullptr);
}

BYTE CKestMenu::CurrentModifiers() {
  BYTE mask = 0;
  if (GetKeyState(VK_SHIFT) & 0x8000) mask |= KEST_MOD_SHIFT;
  if (GetKeyState(VK_CONTROL) & 0x8000) mask |= KEST_MOD_CTRL;
  if (GetKeyState(VK_MENU) & 0x8000) mask |= KEST_MOD_ALT;
  return mask;
}

int CKestMenu::FindShortcut(WPARAM key, BYTE modifiers) const {
  for (int i = 0; i < shortcutCount_; ++i) {
    if (shortcuts_[i].key == key && shortcuts_[i].modifiers == modifiers) return shortcuts_[i].command;
  }
  return -1;
}

bool CKestMenu::DispatchShortcut(HWND window, WPARAM key) const {
  int command = FindShortcut(key, CurrentModifiers());
  if (command < 0) return false;
  SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
  return true;
}

