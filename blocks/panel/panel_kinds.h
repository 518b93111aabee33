// The kinds of control-panel items, registered once at start-up: a name, the
// palette picture id and the creator of each kind, in palette order.
#pragma once

class CVelkUIControl;
typedef CVelkUIControl* (*UiItemCreator)();

struct UiItemKind {
  const wchar_t* name;
  int pictureId;
  UiItemCreator creator;  // null until the item classes are linked in
};

void RegisterPanelItemKinds();
int PanelItemKindCount();
const UiItemKind* PanelItemKindAt(int index);
// First kind of that exact name, or null.
const UiItemKind* FindPanelItemKind(const wchar_t* name);
