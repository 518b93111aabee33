// How the block engine tells the user something in a message box. The
// program's shell may replace the object (and tests do, to answer and record
// the boxes); the default shows a Kest message box without owner.
#pragma once

#include <windows.h>

class BeUserMessages {
public:
  virtual ~BeUserMessages() {}
  // Shows text under caption with MB_ flags; answers the button pressed.
  virtual int Show(UINT flags, const wchar_t* caption, const wchar_t* text);

  // The object in use (never null).
  static BeUserMessages* Current();
  // Installs messages (null restores the default) and answers the one that
  // was in use.
  static BeUserMessages* Install(BeUserMessages* messages);
};
