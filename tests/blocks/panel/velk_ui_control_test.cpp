// The item base: hit tests, handle drags, unique names, deletion with the
// block, the base record and the selection squares.
#include "blocks/panel/velk_ui_control.h"

#include <gtest/gtest.h>

#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/memory_stream.h"
#include "kestui/graphics/kest_canvas.h"
#include "panel_fixture.h"
#include "support/test_support.h"

using namespace paneltest;
using velktest::BytesEqual;
using velktest::ParseHex;

TEST_F(PanelTest, HitTestFindsHandlesFirstThenTheStrictBody) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, L"a", 100, 100, 104, 28);
  struct Case {
    int x, y, code;
  } cases[] = {
      // The eight handle points.
      {100, 100, 1}, {152, 100, 2}, {204, 100, 3}, {204, 114, 4},
      {204, 128, 5}, {152, 128, 6}, {100, 128, 7}, {100, 114, 8},
      // 7 pixels from a corner in both directions is the corner, 8 is not.
      {107, 107, 1}, {93, 93, 1}, {92, 92, -1}, {108, 108, 0},
      {197, 107, 3}, {211, 135, 5}, {212, 136, -1},
      // Body strictly inside; edges away from handles are outside.
      {150, 110, 0}, {50, 50, -1}, {300, 110, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.code, item->HitTest(c.x, c.y)) << c.x << "," << c.y;
  // A taller item has right-edge points away from every handle.
  ProbeItem* tall = AddPlain(&panel, L"b", 100, 300, 104, 60);
  EXPECT_EQ(-1, tall->HitTest(204, 315));
  EXPECT_EQ(0, tall->HitTest(203, 315));
  EXPECT_EQ(-1, tall->HitTest(150, 360 + 8));
}

TEST_F(PanelTest, DragHandleMovesOrResizesByEachCode) {
  UiPanel panel(&probe.scheme);
  struct Case {
    int code, x, y, w, h;
  } cases[] = {
      {0, 105, 103, 104, 28}, {1, 105, 103, 99, 25},  {2, 100, 103, 104, 25},
      {3, 100, 103, 109, 25}, {4, 100, 100, 109, 28}, {5, 100, 100, 109, 31},
      {6, 100, 100, 104, 31}, {7, 105, 100, 99, 31},  {8, 105, 100, 99, 28},
      {9, 100, 100, 104, 28}, {-1, 100, 100, 104, 28}, {11, 100, 100, 104, 28},
  };
  for (const Case& c : cases) {
    ProbeItem* item = AddPlain(&panel, nullptr, 100, 100, 104, 28);
    item->DragHandle(c.code, 5, 3);
    EXPECT_EQ(c.x, item->x) << c.code;
    EXPECT_EQ(c.y, item->y) << c.code;
    EXPECT_EQ(c.w, item->width) << c.code;
    EXPECT_EQ(c.h, item->height) << c.code;
  }
}

TEST_F(PanelTest, ASizeDraggedBelowOneStaysOneWhileTheEdgeMovesFully) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, nullptr, 10, 20, 104, 28);
  item->DragHandle(1, 200, 10);
  EXPECT_EQ(210, item->x);
  EXPECT_EQ(1, item->width);
  EXPECT_EQ(30, item->y);
  EXPECT_EQ(18, item->height);
  item->DragHandle(6, 0, -50);
  EXPECT_EQ(1, item->height);
}

TEST_F(PanelTest, MakeUniqueNameTakesTheLeastFreeNumberAndRenamesTheBlock) {
  UiPanel panel(&probe.scheme);
  AddBlockItem(&panel, L"Блок1");
  AddBlockItem(&panel, L"Блок3");
  BlockItem* fresh = AddBlockItem(&panel, L"x");
  fresh->MakeUniqueName();
  EXPECT_STREQ(L"Блок2", fresh->name);
  ASSERT_NE(nullptr, fresh->block);
  EXPECT_STREQ(L"Блок2", fresh->block->GetCaption());

  // The item's own name counts as taken (a panel of another computer, so
  // that the first panel's blocks take no name).
  ProbeScheme elsewhere;
  UiPanel alone(&elsewhere.scheme);
  BlockItem* single = AddBlockItem(&alone, L"Блок1");
  single->MakeUniqueName();
  EXPECT_STREQ(L"Блок2", single->name);

  // The captions of the computer's device blocks are taken too.
  // "Блок1" is a device's, "Блок2" the item's own.
  elsewhere.AddBlock(kForeignBlockClassId, L"Блок1");
  single->MakeUniqueName();
  EXPECT_STREQ(L"Блок3", single->name);
  EXPECT_STREQ(L"Блок3", single->block->GetCaption());
}

TEST_F(PanelTest, DeletingAnItemDeletesItsBlockAndDeletingTheBlockUnlinksTheItem) {
  UiPanel panel(&probe.scheme);
  BlockItem* item = AddBlockItem(&panel, L"Блок1");
  ASSERT_NE(nullptr, item->block);
  EXPECT_EQ(1, probe.scheme.GetBlockCount());
  panel.currentItem = item;
  panel.draggedItem = item;
  delete item;
  EXPECT_EQ(0, probe.scheme.GetBlockCount());
  EXPECT_EQ(nullptr, panel.items);
  EXPECT_EQ(nullptr, panel.currentItem);
  EXPECT_EQ(nullptr, panel.draggedItem);

  BlockItem* other = AddBlockItem(&panel, L"Блок2");
  delete other->block;  // the block goes first (its scheme deletes it)
  EXPECT_EQ(nullptr, other->block);
  delete other;  // and the item has nothing left to delete
  EXPECT_EQ(0, probe.scheme.GetBlockCount());
}

TEST_F(PanelTest, DeletingTheHeadMakesTheNextItemTheHead) {
  UiPanel panel(&probe.scheme);
  ProbeItem* a = AddPlain(&panel, L"a", 0, 0, 10, 10);
  ProbeItem* b = AddPlain(&panel, L"b", 0, 0, 10, 10);
  AddPlain(&panel, L"c", 0, 0, 10, 10);
  delete a;
  EXPECT_EQ(b, panel.items);
  EXPECT_EQ(nullptr, b->previous);
  EXPECT_EQ((std::vector<std::wstring>{L"b", L"c"}), Names(panel));
}

TEST_F(PanelTest, BaseRecordIsNameHintAndFourNumbers) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, L"Ab", -2, 300, 104, 28);
  item->hint = static_cast<wchar_t*>(nullptr);
  CMemoryStream stream;
  item->Save(&stream);
  EXPECT_TRUE(BytesEqual(stream.data, stream.size, ParseHex(
      "41 00 62 00 00 00  // name \"Ab\"\n"
      "00 00              // no hint\n"
      "FE FF FF FF 2C 01 00 00 68 00 00 00 1C 00 00 00")));
}

TEST_F(PanelTest, LoadingABaseRecordReplacesNameAndHintAndEmptyNamesReadAsNull) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, L"old", 0, 0, 1, 1);
  std::vector<uint8_t> bytes = ParseHex("00 00  48 00 00 00  05 00 00 00 06 00 00 00 07 00 00 00 08 00 00 00");
  CMemoryStream stream;
  stream.Write(bytes.data(), static_cast<int>(bytes.size()));
  stream.Seek(0, 0);
  ASSERT_TRUE(item->Load(&stream));
  EXPECT_EQ(nullptr, item->name);
  EXPECT_STREQ(L"H", item->hint);
  EXPECT_EQ(5, item->x);
  EXPECT_EQ(6, item->y);
  EXPECT_EQ(7, item->width);
  EXPECT_EQ(8, item->height);
  EXPECT_EQ(static_cast<int>(bytes.size()), stream.GetPosition());

  // Every shorter record fails.
  for (size_t n = 0; n < bytes.size(); ++n) {
    CMemoryStream cut;
    cut.Write(bytes.data(), static_cast<int>(n));
    cut.Seek(0, 0);
    EXPECT_FALSE(item->Load(&cut)) << n;
  }
}

TEST_F(PanelTest, BaseItemsBuildTheSixBasePropertiesBoundedByTheCanvasWidth) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, L"a", 0, 0, 1, 1);
  UiPropertyList list;
  list.owner = item;
  item->BuildProperties(&list);
  ASSERT_EQ(6, list.count);
  struct Expected {
    const wchar_t* label;
    UiPropertyType type;
    void* value;
    bool ranged;
    int min, max;
  } expected[] = {
      {L"Название:", UiPropString, &item->name, false, 0, 0},
      {L"Подсказка:", UiPropString, &item->hint, false, 0, 0},
      {L"X:", UiPropInt, &item->x, true, 0, 768},
      {L"Y:", UiPropInt, &item->y, true, 0, 768},
      {L"Ширина:", UiPropInt, &item->width, true, 1, 768},
      {L"Высота:", UiPropInt, &item->height, true, 1, 768},
  };
  for (int i = 0; i < 6; ++i) {
    UiProperty* p = list.At(i);
    EXPECT_STREQ(expected[i].label, p->label);
    EXPECT_EQ(expected[i].type, p->type);
    EXPECT_EQ(expected[i].value, p->value);
    EXPECT_EQ(expected[i].ranged, p->ranged);
    EXPECT_EQ(&list, p->list);
    EXPECT_EQ(nullptr, p->control);
    if (p->ranged) {
      EXPECT_EQ(expected[i].min, p->min.i) << i;
      EXPECT_EQ(expected[i].max, p->max.i) << i;
    }
  }
}

TEST_F(PanelTest, PropertyListsGrowPastThirtyTwoAndDeleteTheirProperties) {
  UiPropertyList list;
  int field = 0;
  for (int i = 0; i < 40; ++i) new UiProperty(&list, UiPropInt, L"n", &field);
  UiProperty::UiPropertyFloat(&list, UiPropFloat, L"f", nullptr, -1.5f, 2.5f);
  UiProperty* dialog = UiProperty::UiPropertyDialog(&list, L"d", nullptr);
  EXPECT_EQ(42, list.count);
  EXPECT_FLOAT_EQ(-1.5f, list.At(40)->min.f);
  EXPECT_FLOAT_EQ(2.5f, list.At(40)->max.f);
  EXPECT_EQ(UiPropDialog, dialog->type);
  EXPECT_EQ(nullptr, dialog->value);
  EXPECT_EQ(nullptr, list.At(42));
  list.Init();
  EXPECT_EQ(0, list.count);
  EXPECT_EQ(nullptr, list.properties);
}

TEST_F(PanelTest, SelectionIsEightSevenPixelSquaresAtTheHandles) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, nullptr, 20, 20, 40, 20);
  Dib dib(100, 100, RGB(255, 255, 255));
  item->DrawSelection(dib.dc());
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  POINT handles[] = {{20, 20}, {40, 20}, {60, 20}, {60, 30}, {60, 40}, {40, 40}, {20, 40}, {20, 30}};
  for (POINT h : handles) {
    EXPECT_EQ(black, dib.At(h.x - 3, h.y - 3)) << h.x << "," << h.y;
    EXPECT_EQ(black, dib.At(h.x + 3, h.y + 3)) << h.x << "," << h.y;
    EXPECT_EQ(white, dib.At(h.x + 4, h.y + 4)) << h.x << "," << h.y;
    EXPECT_EQ(white, dib.At(h.x - 4, h.y - 4)) << h.x << "," << h.y;
  }
  EXPECT_EQ(white, dib.At(30, 30));
}

TEST_F(PanelTest, InvalidateMarksTheAreaWithItsMarginOnTheCanvasOnly) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, nullptr, 100, 50, 40, 20);
  item->Invalidate();  // no canvas: nothing to reach
  CanvasHost host;
  panel.canvas = host.box;
  HWND window = host.box->GetHandle();
  ValidateRect(window, nullptr);
  item->Invalidate();
  RECT dirty;
  ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  EXPECT_EQ(96, dirty.left);
  EXPECT_EQ(46, dirty.top);
  EXPECT_EQ(145, dirty.right);
  EXPECT_EQ(75, dirty.bottom);
  // A drag repaints the old and the new area.
  ValidateRect(window, nullptr);
  item->DragHandle(0, 100, 0);
  ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  EXPECT_EQ(96, dirty.left);
  EXPECT_EQ(245, dirty.right);
  panel.canvas = nullptr;
}
