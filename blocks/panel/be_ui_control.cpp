#include "blocks/panel/be_ui_control.h"

#include "blocks/panel/velk_ui_control.h"

CBEUIControl::CBEUIControl() { flags |= kBlockDevice; }

CBEUIControl::~CBEUIControl() {
  if (item) item->block = nullptr;
  item = nullptr;
}
