// CVelkUIPropertyGrid: the property grid of the control-panel editor. It
// turns the property list of the item being edited into rows of a label and
// an editor control chosen by the property's type, inside the editor's
// scroll box; shows the item's values in the controls, and writes an edited
// value back into the item at once (clamped to its range; a name follows
// the naming rules and renames the item's block) and repaints the canvas.
//
// The editor form owns the grid and passes its window messages through
// HandleMessage, which applies a property on the events that confirm an
// edit.
#pragma once

#include <windows.h>

class CKestComboBox;
class CKestContainer;
class CKestFont;
class CKestControl;
class UiPropertyList;
class UiProperty;

// Window ids of the grid's editor controls.
const int kUiGridSwatchId = 5000;
const int kUiGridEditId = 5001;
const int kUiGridComboId = 5002;
const int kUiGridStyleGroupId = 5003;
const int kUiGridDialogButtonId = 5004;

// Grid geometry.
const int kUiGridFirstRowTop = 25;
const int kUiGridRowStep = 23;
const int kUiGridStyleGroupExtra = 54;
const int kUiGridLabelLeft = 2;
const int kUiGridLabelWidth = 122;
const int kUiGridControlLeft = 130;
const int kUiGridRowHeight = 21;
const int kUiGridStyleGroupHeight = 75;

class CVelkUIPropertyGrid {
public:
  // container: the scroll box the grid fills (not owned).
  explicit CVelkUIPropertyGrid(CKestContainer* container);
  ~CVelkUIPropertyGrid();
  CVelkUIPropertyGrid(const CVelkUIPropertyGrid&) = delete;
  CVelkUIPropertyGrid& operator=(const CVelkUIPropertyGrid&) = delete;

  // The list shown (not owned); BuildPropertyGrid shows it.
  void SetPropertyList(UiPropertyList* list) { list_ = list; }
  UiPropertyList* GetPropertyList() const { return list_; }

  // Rebuilds the rows for the current list (an empty grid without one).
  void BuildPropertyGrid();
  // Shows every property's value in its control.
  void RefreshPropertyValues();
  // Takes the value of property index from its control into the item.
  void ApplyProperty(int index);
  // The property whose control is window (the control's tag), or -1.
  int PropertyIndexOf(HWND window) const;
  // The editor form's messages: applies a property on the confirming events
  // of its control. True when the message was the grid's.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  CKestControl* MakeControl(UiProperty* property, int y, int width);
  void RepaintCanvas();
  bool ApplyName(UiProperty* property, wchar_t* text);

  CKestContainer* container_;
  UiPropertyList* list_ = nullptr;
  CKestFont* headerFont_ = nullptr;
  CKestFont* editFont_ = nullptr;
};

// Fills a combo box with the face names of the screen's font families, each
// once, in enumeration order.
void FillFontNameList(CKestComboBox* combo);
