// Copy and paste of blocks through the clipboard format "BE5": a "BE5 "
// stream of the selected blocks. The block-diagram view calls these for its
// Edit commands.
#pragma once

#include <windows.h>

#include "kestui/core/kest_messages.h"  // WM_SCHEME_MODIFIED

class BeScheme;

class BeBlockClipboard {
public:
  // The registered format "BE5" (the same number the program's start-up
  // registered), 0 when it cannot be registered.
  static UINT Format();
  // Puts the selected non-device blocks on the clipboard, owned by window.
  // False, with the clipboard untouched where possible, on any failure.
  static bool Copy(BeScheme* scheme, HWND window);
  // Unselects every block, reads the clipboard's blocks into the scheme
  // selected, tells notify WM_SCHEME_MODIFIED (when given) and moves the new
  // blocks 10 pixels right and down. False when the clipboard holds no
  // blocks or they cannot be read (nothing is added then).
  static bool Paste(BeScheme* scheme, HWND window, HWND notify);
  // Does the clipboard offer "BE5".
  static bool CanPaste();
};

const int kBePasteOffset = 10;
