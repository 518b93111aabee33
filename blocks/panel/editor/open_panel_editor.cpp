#include "blocks/panel/editor/open_panel_editor.h"

#include "blocks/panel/editor/velk_ui_editor.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"

bool OpenPanelEditor(UiPanel* panel, CVelkUIControl* selected) {
  if (!panel) return false;
  panel->BindBlocks();
  auto* editor = new CVelkUIEditor(MainKestForm, panel);
  HWND window = editor->GetHandle();
  if (!window) {
    delete editor;
    return false;
  }
  // Only an item of this panel is selected.
  CVelkUIControl* item = panel->items;
  while (item && item != selected) item = item->next;
  if (item) editor->SelectItem(item);
  editor->ShowModal(false);
  // The editor's destructor lets the panel forget the canvas.
  if (IsWindow(window) && GetControlFromHandle(window) == editor) delete editor;
  return true;
}
