#include "blocks/panel/panel_kinds.h"

#include <gtest/gtest.h>

#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"
#include "panel_fixture.h"

using namespace paneltest;

TEST(PanelItemKinds, EightKindsInPaletteOrderWithTheirPicturesAndBlockClasses) {
  RegisterPanelItemKinds();
  RegisterPanelItemKinds();  // registering again does not duplicate
  struct Expected {
    const wchar_t* name;
    int picture;
    unsigned int blockClass;
  } expected[] = {{L"Текст", 145, 0},
                  {L"Линия", 143, 0},
                  {L"Картинка", 142, 0},
                  {L"Кнопка", 141, 0x4451FF00},
                  {L"Ползунок", 140, 0x4451FF01},
                  {L"Джойстик", 162, 0x4451FF03},
                  {L"Видео", 161, 0x4451FF02},
                  {L"Индикатор", 163, 0x4451FF04}};
  ASSERT_EQ(8, PanelItemKindCount());
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(nullptr, PanelItemKindAt(i));
    EXPECT_STREQ(expected[i].name, PanelItemKindAt(i)->name) << i;
    EXPECT_EQ(expected[i].picture, PanelItemKindAt(i)->pictureId) << i;
    EXPECT_EQ(expected[i].blockClass, PanelItemKindAt(i)->blockClassId) << i;
  }
  EXPECT_EQ(nullptr, PanelItemKindAt(8));
  EXPECT_EQ(nullptr, PanelItemKindAt(-1));
  EXPECT_EQ(PanelItemKindAt(6), FindPanelItemKind(L"Видео"));
  EXPECT_EQ(nullptr, FindPanelItemKind(L"видео"));
  EXPECT_EQ(nullptr, FindPanelItemKind(nullptr));
}

TEST_F(PanelTest, CreatingAnItemAppendsItAndGivesItTheRowsOwnKindName) {
  UiPanel panel(&probe.scheme);
  CVelkUIControl* first = CreatePanelItem(&panel, plainRow);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(PanelItemKindAt(plainRow)->name, first->kindName);  // the same string
  CVelkUIControl* second = CreatePanelItemByKind(&panel, L"Блок");
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(PanelItemKindAt(blockRow)->name, second->kindName);
  EXPECT_EQ(first, panel.items);
  EXPECT_EQ(second, first->next);
  EXPECT_EQ(first, second->previous);
  // New items: 104 x 28 at (0, 0), no name, no hint, not selected, no block.
  EXPECT_EQ(0, second->x);
  EXPECT_EQ(0, second->y);
  EXPECT_EQ(104, second->width);
  EXPECT_EQ(28, second->height);
  EXPECT_EQ(nullptr, second->name);
  EXPECT_EQ(nullptr, second->hint);
  EXPECT_EQ(0, second->selected);
  EXPECT_EQ(nullptr, second->block);
}

TEST_F(PanelTest, KindsWithoutItemClassesUnknownNamesAndBadRowsCreateNothing) {
  UiPanel panel(&probe.scheme);
  // A row whose item class is not linked in makes nothing.
  for (int row = 0; row < 8; ++row) {
    if (!PanelItemKindAt(row)->factory) {
      EXPECT_EQ(nullptr, CreatePanelItem(&panel, row)) << row;
    }
  }
  EXPECT_EQ(nullptr, CreatePanelItem(&panel, -1));
  EXPECT_EQ(nullptr, CreatePanelItem(&panel, PanelItemKindCount()));
  EXPECT_EQ(nullptr, CreatePanelItemByKind(&panel, nullptr));
  EXPECT_EQ(nullptr, CreatePanelItemByKind(&panel, L"проба"));
  EXPECT_EQ(nullptr, panel.items);
}

TEST_F(PanelTest, TheTableGrowsPastSixteenRows) {
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(AddPanelItemKind(L"Ещё", 3, nullptr));
  EXPECT_EQ(30, PanelItemKindCount());
  EXPECT_STREQ(L"Текст", PanelItemKindAt(0)->name);
  EXPECT_STREQ(L"Ещё", PanelItemKindAt(29)->name);
}
