#include "kestui/buttons/kest_title_control.h"

bool CKestTitleControl::SetCaption(const wchar_t* text) {
  if (!window_) return false;
  return SetWindowTextW(window_, text ? text : L"") != FALSE;
}
