#include "blocks/panel/be_ui_control.h"

#include "blocks/panel/editor/open_panel_editor.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"

CBEUIControl::CBEUIControl() { flags |= kBeBlockDevice; }

CBEUIControl::~CBEUIControl() {
  if (item) item->block = nullptr;
  item = nullptr;
}

bool CBEUIControl::ShowProperties() {
  // Only the panel of this block's own computer: the program-wide current
  // panel may belong to another one.
  UiPanel* panel = FindSchemePanel(scheme);
  if (!panel) return false;
  panel->BindBlocks();
  return OpenEditor(panel, item);
}

bool CBEUIControl::OpenEditor(UiPanel* target, CVelkUIControl* selected) {
  return OpenPanelEditor(target, selected);
}

void CBEUIControl::SetSize(int width, int height) {
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
}

void CBEUIControl::DrawPicture(HDC dc, CKestImage* picture, const wchar_t* fileName) {
  if (LoadSchemeIcon(picture, fileName)) picture->Draw(dc, rect);
  DrawCaptionBelow(dc);
}
