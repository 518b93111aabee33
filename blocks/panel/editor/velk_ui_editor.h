// CVelkUIEditor: "Редактор интерфейса с пользователем", the modal form in
// which the user designs a control panel: the palette of item kinds at the
// left, the panel's 768 x 434 canvas in the middle, the property grid of the
// current item at the right (behind a splitter), and the canvas's popup
// menu for the clipboard, deletion, selection, drawing order and grid
// snapping. It changes the panel directly; there is no OK or Cancel. When
// it closes, the panel forgets its canvas.
#pragma once

#include "kestui/forms/kest_form.h"

class CKestCanvas;
class CKestPopupMenu;
class CKestScrollBox;
class CKestSpdBtn;
class CVelkUIControl;
class CVelkUIPropertyGrid;
class UiPanel;
class UiPropertyList;

// Palette button ids: the first kind's, and the end of the range.
const int kUiPaletteFirstId = 10000;
const int kUiPaletteLastId = 19999;
const int kUiEditorCanvasId = 1;

// Canvas popup menu commands.
const int kUiEditorDeleteCommand = 1004;
const int kUiEditorLevelUpCommand = 1006;
const int kUiEditorLevelDownCommand = 1007;
const int kUiEditorToTopCommand = 1008;
const int kUiEditorToBottomCommand = 1009;
const int kUiEditorSnapCommand = 5006;
// Positions in the popup menu.
const int kUiMenuCopyPosition = 0;
const int kUiMenuCutPosition = 1;
const int kUiMenuPastePosition = 2;
const int kUiMenuDeletePosition = 3;
const int kUiMenuOrderPosition = 7;
const int kUiMenuSnapPosition = 8;

// A canvas coordinate on the 8-pixel grid: (v + 4) with its three lowest
// bits cleared.
int SnapToGrid(int v);

class CVelkUIEditor : public CKestForm {
public:
  // Builds the window over owner (the main form) on panel; snapping on.
  CVelkUIEditor(CKestControl* owner, UiPanel* panel);
  // Deletes the property list; the panel forgets the canvas.
  ~CVelkUIEditor() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The property grid of the current list (empty without one).
  void BuildPropertyGrid();
  void ApplyProperty(int index);
  void RefreshPropertyValues();

  // Makes item the only selected item and the panel's current item, and
  // shows its properties; the panel takes the editor's canvas.
  void SelectItem(CVelkUIControl* item);
  // Replaces the property list (owned; null: none) and rebuilds the grid.
  void SetPropertyList(UiPropertyList* list);

  UiPanel* GetPanel() const { return panel_; }
  CKestCanvas* GetCanvas() const { return canvas_; }
  CKestScrollBox* GetGridBox() const { return gridBox_; }
  CKestScrollBox* GetPaletteBox() const { return paletteBox_; }
  CKestPopupMenu* GetCanvasMenu() const { return menu_; }
  CKestSpdBtn* GetPendingKind() const { return pending_; }
  UiPropertyList* GetPropertyList() const { return list_; }
  CVelkUIPropertyGrid* GetGrid() const { return grid_; }
  bool IsSnapping() const { return snap_; }

private:
  void BuildWindow();
  // The mouse position of a canvas message, snapped when snapping is on.
  POINT CanvasPoint(LPARAM lParam) const;
  void CanvasLeftPress(POINT at);
  void CanvasLeftRelease(POINT at);
  void ReleasePending();
  void PaletteCommand(int id, HWND sender);
  void DropPropertyList();
  bool Command(int id);
  void PrepareMenu();

  UiPanel* panel_;  // not owned
  CKestCanvas* canvas_ = nullptr;
  CKestScrollBox* paletteBox_ = nullptr;
  CKestScrollBox* gridBox_ = nullptr;
  CKestSpdBtn* pending_ = nullptr;
  UiPropertyList* list_ = nullptr;  // owned
  CVelkUIPropertyGrid* grid_ = nullptr;  // owned
  CKestPopupMenu* menu_ = nullptr;
  bool snap_ = true;
  CKestFont* font_ = nullptr;
  CKestFont* paletteFont_ = nullptr;
};
