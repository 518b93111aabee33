// Stands in for the control-panel editor until it is linked in: nothing can
// be shown yet.
#include "blocks/panel/editor/open_panel_editor.h"

bool OpenPanelEditor(UiPanel* panel, CVelkUIControl* selected) {
  (void)panel;
  (void)selected;
  return false;
}
