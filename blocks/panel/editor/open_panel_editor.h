// Opens the control-panel editor (CVelkUIEditor) modally on panel, with
// selected (an item of panel, or null) selected; returns when the user
// closed it. False when the editor could not be shown. Callers must not
// touch the block that asked after this returns: the editor may have
// deleted it.
#pragma once

class UiPanel;
class CVelkUIControl;

bool OpenPanelEditor(UiPanel* panel, CVelkUIControl* selected);
