#include "blocks/panel/panel_kinds.h"

#include <cwchar>

#include "blocks/panel/items/velk_ui_button.h"
#include "blocks/panel/items/velk_ui_indicator.h"
#include "blocks/panel/items/velk_ui_joystick.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "blocks/panel/items/velk_ui_video.h"
#include "blocks/panel/items/velk_ui_image.h"
#include "blocks/panel/items/velk_ui_line.h"
#include "blocks/panel/items/velk_ui_text.h"
#include "blocks/panel/velk_ui_control.h"
#include "foundation/plain_array.h"

namespace {
const int kKindTableStep = 16;

CPlainArray<UiItemKind>& Kinds() {
  static CPlainArray<UiItemKind> kinds(kKindTableStep);
  return kinds;
}
}  // namespace

void RegisterPanelItemKinds() {
  Kinds().Clear();
  // The eight kinds in palette order: name, palette picture, item class and
  // the class of the user-interface block an item is bound to.
  AddPanelItemKind(L"Текст", 145, NewVelkUIText);
  AddPanelItemKind(L"Линия", 143, NewVelkUILine);
  AddPanelItemKind(L"Картинка", 142, NewVelkUIImage);
  AddPanelItemKind(L"Кнопка", 141, CVelkUIButton::Create, kUIButtonBlockClassId);
  AddPanelItemKind(L"Ползунок", 140, CVelkUITrackBar::Create, kUITrackBarBlockClassId);
  AddPanelItemKind(L"Джойстик", 162, CVelkUIJoystick::Create, kUIJoystickBlockClassId);
  AddPanelItemKind(L"Видео", 161, CVelkUIVideo::Create, kUIVideoBlockClassId);
  AddPanelItemKind(L"Индикатор", 163, CVelkUIIndicator::Create, kUIIndicatorBlockClassId);
}

bool AddPanelItemKind(const wchar_t* name, int pictureId, UiItemFactory factory,
                      unsigned int blockClassId) {
  return Kinds().Append(UiItemKind{name, pictureId, factory, blockClassId});
}

int PanelItemKindCount() { return Kinds().Count(); }

const UiItemKind* PanelItemKindAt(int index) {
  if (index < 0 || index >= PanelItemKindCount()) return nullptr;
  return &Kinds()[index];
}

const UiItemKind* FindPanelItemKind(const wchar_t* name) {
  if (!name) return nullptr;
  for (const UiItemKind& k : Kinds())
    if (k.name && wcscmp(k.name, name) == 0) return &k;
  return nullptr;
}

CVelkUIControl* CreatePanelItem(UiPanel* panel, int index) {
  const UiItemKind* kind = PanelItemKindAt(index);
  if (!kind || !kind->factory || !panel) return nullptr;
  CVelkUIControl* item = kind->factory(panel);
  if (item) item->kindName = kind->name;
  return item;
}

CVelkUIControl* CreatePanelItemByKind(UiPanel* panel, const wchar_t* name) {
  if (!name) return nullptr;
  for (int i = 0; i < PanelItemKindCount(); ++i)
    if (Kinds()[i].name && wcscmp(Kinds()[i].name, name) == 0) return CreatePanelItem(panel, i);
  return nullptr;
}
