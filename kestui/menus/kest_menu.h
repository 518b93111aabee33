// Menus of the Kest framework: a Win32 menu with its keyboard shortcuts and
// the item bitmaps it owns. Reference counted: widgets AddRef when a menu is
// attached and Release it when it is replaced or when they are destroyed.
// Items are addressed by position; command ids only travel in WM_COMMAND.
#pragma once

#include <windows.h>

#include <cstdint>

// One shortcut; field order and widths of the Win32 ACCEL record.
struct KestMenuShortcut {
  BYTE modifiers;  // KEST_MOD_SHIFT 4 | KEST_MOD_CTRL 8 | KEST_MOD_ALT 16; 0 = none
  WORD key;        // virtual-key code
  WORD command;    // command id
};

class CKestMenu {
public:
  CKestMenu();
  virtual ~CKestMenu();
  CKestMenu(const CKestMenu&) = delete;
  CKestMenu& operator=(const CKestMenu&) = delete;

  void AddRef() { ++refCount_; }
  // Deletes the menu when the count falls below 1 (also from 0).
  void Release();
  int GetRefCount() const { return refCount_; }

  HMENU GetHandle() const { return menu_; }

  // Appends a string item to hmenu; a non-zero key also adds a shortcut
  // (mask, key, id) to this menu's table. Answers the new item's position, or
  // -1 when the item could not be appended.
  int AppendItem(HMENU hmenu, const wchar_t* text, UINT id, BYTE modifiers, WORD key);
  // Appends a separator to hmenu (own menu when null); its position or -1.
  int AppendSeparator(HMENU hmenu = nullptr);
  // A new popup appended under caption; null on failure.
  HMENU AppendSubMenu(const wchar_t* caption);
  HMENU AppendSubMenuTo(HMENU hmenu, const wchar_t* caption);

  void EnableItem(int position, bool enable);
  static void EnableMenuItemAt(HMENU hmenu, int position, bool enable);
  void CheckItem(int position, bool checked);
  static void CheckMenuItemAt(HMENU hmenu, int position, bool checked);
  void SetDefaultItem(int position, bool on);
  static void SetDefaultItemAt(HMENU hmenu, int position, bool on);

  int GetItemCount(HMENU hmenu = nullptr) const;
  // The command id at position, -1 when there is no such item.
  static int GetItemId(HMENU hmenu, int position);
  HMENU GetSubMenu(int position) const;
  static HMENU GetSubMenuAt(HMENU hmenu, int position);
  // First position whose id equals id in the own menu / in hmenu; -1 if none.
  int FindItemIndex(UINT id) const;
  static int FindItemIndexIn(HMENU hmenu, UINT id);

  // The menu keeps (and later deletes) a non-null bitmap.
  void SetItemBitmapAt(HMENU hmenu, int position, HBITMAP bitmap);

  // Sends WM_COMMAND (command, 0) to window for the first shortcut whose key
  // and modifier mask equal key and the current Shift/Ctrl/Alt state.
  // Answers whether one matched.
  bool DispatchShortcut(HWND window, WPARAM key) const;
  // Same search with a given mask; the command id or -1.
  int FindShortcut(WPARAM key, BYTE modifiers) const;

  int GetShortcutCount() const { return shortcutCount_; }
  const KestMenuShortcut& GetShortcut(int index) const { return shortcuts_[index]; }
  int GetBitmapCount() const { return bitmapCount_; }

  // Current modifier mask from GetKeyState: 4 Shift, 8 Ctrl, 16 Alt.
  static BYTE CurrentModifiers();

protected:
  bool AddShortcut(BYTE modifiers, WORD key, WORD command);
  void DestroyHandle();

  int bitmapCount_ = 0;
  HBITMAP* bitmaps_ = nullptr;
  int shortcutCount_ = 0;
  KestMenuShortcut* shortcuts_ = nullptr;
  HMENU menu_ = nullptr;
  int refCount_ = 0;
};

