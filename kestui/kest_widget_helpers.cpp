#include "kestui/kest_widget_helpers.h"

void SetWindowId(HWND window, int id) {
  if (window) SetWindowLongW(window, GWL_ID, id);
}
