// The kinds of control-panel items (UiItemKind), registered once at start-up:
// a name, the palette picture id, the factory of each kind and the class id
// of the user-interface block its items are bound to, in palette order.
#pragma once

class CVelkUIControl;
class UiPanel;

// A new item of the kind, appended to the panel; null when the kind makes
// no items (yet) or memory ran out.
typedef CVelkUIControl* (*UiItemFactory)(UiPanel* panel);

struct UiItemKind {
  const wchar_t* name;  // constant text; every item of the kind keeps this pointer
  int pictureId;        // palette bitmap resource
  UiItemFactory factory;
  unsigned int blockClassId;  // class of the kind's user-interface block; 0: none
};

// Class ids of the user-interface blocks bound to the control items.
const unsigned int kUIButtonBlockClassId = 0x4451FF00;
const unsigned int kUITrackBarBlockClassId = 0x4451FF01;
const unsigned int kUIVideoBlockClassId = 0x4451FF02;
const unsigned int kUIJoystickBlockClassId = 0x4451FF03;
const unsigned int kUIIndicatorBlockClassId = 0x4451FF04;

// Empties the table and fills it with the eight kinds.
void RegisterPanelItemKinds();
// Appends a row; false when memory ran out.
bool AddPanelItemKind(const wchar_t* name, int pictureId, UiItemFactory factory,
                      unsigned int blockClassId = 0);
int PanelItemKindCount();
const UiItemKind* PanelItemKindAt(int index);
// First kind of that exact name, or null.
const UiItemKind* FindPanelItemKind(const wchar_t* name);
// The row's factory on the panel; the new item takes the row's name as its
// kind name. Null for a row that does not exist or makes no item.
CVelkUIControl* CreatePanelItem(UiPanel* panel, int index);
// CreatePanelItem with the first row of that exact name; null for a null
// name or a name no row has.
CVelkUIControl* CreatePanelItemByKind(UiPanel* panel, const wchar_t* name);
