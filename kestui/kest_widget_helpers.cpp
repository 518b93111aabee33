#include "kestui/kest_widget_helpers.h"

#include "kestui/kest_control.h"

void SetWindowId(HWND window, int id) {
  if (window) SetWindowLongW(window, GWL_ID, id);
}

void SetHintIfAny(CKestControl* control, const wchar_t* hint) {
  if (hint) control->SetHint(hint);
}
