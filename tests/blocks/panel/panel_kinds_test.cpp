#include "blocks/panel/panel_kinds.h"

#include <gtest/gtest.h>

TEST(PanelItemKinds, EightKindsInPaletteOrderWithTheirPictures) {
  RegisterPanelItemKinds();
  RegisterPanelItemKinds();  // registering again does not duplicate
  struct Expected {
    const wchar_t* name;
    int picture;
  } expected[] = {{L"Текст", 145},    {L"Линия", 143},    {L"Картинка", 142}, {L"Кнопка", 141},
                  {L"Ползунок", 140}, {L"Джойстик", 162}, {L"Видео", 161},    {L"Индикатор", 163}};
  ASSERT_EQ(8, PanelItemKindCount());
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(nullptr, PanelItemKindAt(i));
    EXPECT_STREQ(expected[i].name, PanelItemKindAt(i)->name) << i;
    EXPECT_EQ(expected[i].picture, PanelItemKindAt(i)->pictureId) << i;
  }
  EXPECT_EQ(nullptr, PanelItemKindAt(8));
  EXPECT_EQ(nullptr, PanelItemKindAt(-1));
  EXPECT_EQ(PanelItemKindAt(6), FindPanelItemKind(L"Видео"));
  EXPECT_EQ(nullptr, FindPanelItemKind(L"видео"));
  EXPECT_EQ(nullptr, FindPanelItemKind(nullptr));
}
