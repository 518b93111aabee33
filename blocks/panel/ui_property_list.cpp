#include "blocks/panel/ui_property_list.h"

#include <windows.h>

#include "blocks/panel/ui_panel.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/velk_ui_control.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace {
const int kPropertyArrayStep = 32;
}

UiPropertyList::~UiPropertyList() { Init(); }

void UiPropertyList::Init() {
  for (int i = 0; i < count; ++i) delete properties[i];
  FreeBuffer(properties);
  owner = nullptr;
  count = 0;
  properties = nullptr;
}

bool UiPropertyList::Append(UiProperty* property) {
  if (!ResizeSteppedArray(&properties, count, count + 1, kPropertyArrayStep)) return false;
  properties[count++] = property;
  return true;
}

int UiPropertyList::CanvasWidth() const {
  HWND window = owner && owner->panel ? owner->panel->CanvasWindow() : nullptr;
  if (!window) return kPanelCanvasWidth;
  RECT r;
  GetWindowRect(window, &r);
  return r.right - r.left;
}
