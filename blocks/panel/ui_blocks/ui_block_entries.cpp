#include "blocks/panel/ui_blocks/ui_block_entries.h"

#include "blocks/engine/catalogue_group.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "blocks/panel/ui_blocks/be_ui_button.h"
#include "blocks/panel/ui_blocks/be_ui_indicator.h"
#include "blocks/panel/ui_blocks/be_ui_joystick.h"
#include "blocks/panel/ui_blocks/be_ui_trackbar.h"
#include "blocks/panel/ui_blocks/be_ui_video.h"

bool AddUserInterfaceBlockEntries(BeCatalogueGroup* group) {
  if (!group) return false;
  return group->AddEntry(kUIBlockClassId, CBEUI::Create, L"Интерфейс с пользователем", nullptr) &&
         group->AddEntry(kUIButtonBlockClassId, CBEUIButton::Create, L"Кнопка", nullptr) &&
         group->AddEntry(kUITrackBarBlockClassId, CBEUITrackBar::Create, L"Trackbar", nullptr) &&
         group->AddEntry(kUIVideoBlockClassId, CBEUIVideo::Create, L"Видео", nullptr) &&
         group->AddEntry(kUIJoystickBlockClassId, CBEUIJoystick::Create, L"Джойстик", nullptr) &&
         group->AddEntry(kUIIndicatorBlockClassId, CBEUIIndicator::Create, L"Индикатор", nullptr);
}
