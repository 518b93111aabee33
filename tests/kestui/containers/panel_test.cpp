// Panels (frames, header gradient, tool-bar strips) and group boxes.
#include <windows.h>

#include <memory>

#include "kestui/containers/kest_check_group_box.h"
#include "kestui/containers/kest_group_box.h"
#include "kestui/containers/kest_item_group_box.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_radio_group_box.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/panels_fixture.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

class PanelTest : public RecordingFormTest<400, 300> {
protected:
  POINT At(CKestControl* w) { return w->GetPosition(); }

};

}  // namespace

TEST_F(PanelTest, HeaderStripTakesGradientFromParentAndPacksFlowChildren) {
  COLORREF parent = form->GetBackColor();
  auto* strip = new CKestPanel(form, 0, KestPos(0, 0), 300, 28, true, false);
  EXPECT_EQ(1, strip->GetBorderWidth());
  EXPECT_TRUE(strip->HasGradient());
  EXPECT_EQ(BlendColors(parent, RGB(255, 255, 255), 128), strip->GetBackColor());
  EXPECT_EQ(BlendColors(parent, RGB(0, 0, 0), 64), strip->GetGradientEnd());
  auto* a = new TestWidget(strip, KEST_POS_FLOW, 24, 24);
  auto* b = new TestWidget(strip, KEST_POS_FLOW, 24, 24);
  EXPECT_EQ(1 + 8, At(a).x);  // border, then 8 pixels in, no gap
  EXPECT_EQ(1, At(a).y);
  EXPECT_EQ(1 + 8 + 24, At(b).x);

  auto* plain = new CKestPanel(form, 0, KestPos(0, 40), 300, 28, false, false);
  EXPECT_EQ(4, plain->GetBorderWidth());
  EXPECT_FALSE(plain->HasGradient());
  auto* c = new TestWidget(plain, KEST_POS_FLOW, 24, 24);
  EXPECT_EQ(4 + 8, At(c).x);  // border, then the usual gap
}

TEST_F(PanelTest, TallHeaderKeepsOrdinaryBorderAndGap) {
  auto* header = new CKestPanel(form, 1, KestPos(0, 0), 300, 60, true, false);
  EXPECT_EQ(4, header->GetBorderWidth());
  EXPECT_TRUE(header->HasGradient());
  auto* a = new TestWidget(header, KEST_POS_FLOW, 24, 24);
  EXPECT_EQ(4 + 8, At(a).x);
}

TEST_F(PanelTest, FrameLinesFollowBevelAndFlatFlag) {
  struct Case {
    int8_t bevel;
    bool flat;
    int lightSide;  // 1 top-left light, -1 bottom-right light, 0 both light, 2 no frame
  } cases[] = {{1, false, 1}, {-1, false, -1}, {0, true, 0}, {-1, true, 0}, {0, false, 2}};
  for (const Case& k : cases) {
    auto* panel = new CKestPanel(form, k.bevel, KestPos(0, 0), 60, 40, false, k.flat);
    panel->SetBackColor(RGB(100, 100, 100));
    COLORREF light = BlendColors(RGB(100, 100, 100), RGB(255, 255, 255), 192);
    COLORREF dark = BlendColors(RGB(100, 100, 100), RGB(0, 0, 0), 192);
    Canvas canvas(60, 40, RGB(1, 2, 3));
    panel->DrawFrame(canvas.dc());
    COLORREF topLeft = k.lightSide == 2 ? RGB(1, 2, 3) : (k.lightSide >= 0 ? light : dark);
    COLORREF bottomRight =
        k.lightSide == 2 ? RGB(1, 2, 3) : (k.lightSide <= 0 ? light : dark);
    SCOPED_TRACE(testing::Message() << "bevel " << int(k.bevel) << " flat " << k.flat);
    EXPECT_EQ(topLeft, canvas.At(0, 20));
    EXPECT_EQ(topLeft, canvas.At(30, 0));
    EXPECT_EQ(bottomRight, canvas.At(59, 20));
    EXPECT_EQ(bottomRight, canvas.At(30, 39));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(30, 20));
    DestroyWindow(panel->GetHandle());
  }
}

TEST_F(PanelTest, GroupBoxAreaLiesBelowCaptionInsideFrame) {
  auto* group = new CKestGroupBox(form, L"  Параметры", KestPos(10, 10), 230, 150);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, group->GetFont()->GetHandle());
  SIZE a = {};
  GetTextExtentPoint32W(screen, L"A", 1, &a);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  RECT area;
  group->GetClientArea(&area);
  EXPECT_EQ(8, area.left);
  EXPECT_EQ(a.cy + 8, area.top);
  EXPECT_EQ(230 - 8, area.right);
  EXPECT_EQ(150 - 8, area.bottom);
  auto* child = new TestWidget(group, KEST_POS_FLOW, 50, 20);
  EXPECT_EQ(8 + 8, At(child).x);
  EXPECT_EQ(a.cy + 8 + 8, At(child).y);

  Canvas canvas(230, 150, RGB(1, 2, 3));
  group->Paint(canvas.dc());
  COLORREF back = group->GetBackColor();
  EXPECT_EQ(BlendColors(back, RGB(0, 0, 0), 90), canvas.At(2, 100));   // outer line, dark
  EXPECT_EQ(BlendColors(back, RGB(255, 255, 255), 128), canvas.At(3, 100));  // inner, light
  EXPECT_EQ(back, canvas.At(17, a.cy / 2));  // caption cuts the frame line (opaque text)
}

TEST(GroupItemCell, OneColumnStacksEqualRows) {
  RECT area = {8, 30, 222, 142};
  int h = 142 - 30;
  for (int i = 0; i < 6; ++i) {
    RECT cell;
    ASSERT_TRUE(GetGroupItemCell(area, 6, 1, i, &cell));
    EXPECT_EQ(8, cell.left);
    EXPECT_EQ(30 + h * i / 6, cell.top);
    EXPECT_EQ(8 + 214, cell.right);
    EXPECT_EQ(h / 6, cell.bottom - cell.top);
  }
  RECT cell;
  EXPECT_FALSE(GetGroupItemCell(area, 6, 1, 6, &cell));
  EXPECT_FALSE(GetGroupItemCell(area, 6, 1, -1, &cell));
}

TEST(GroupItemCell, FourColumnsOfThirtyTwoMakeEightRows) {
  RECT area = {0, 0, 400, 160};
  RECT cell;
  ASSERT_TRUE(GetGroupItemCell(area, 32, 4, 31, &cell));
  EXPECT_EQ(300, cell.left);
  EXPECT_EQ(140, cell.top);
  EXPECT_EQ(100, cell.right - cell.left);
  EXPECT_EQ(20, cell.bottom - cell.top);
  ASSERT_TRUE(GetGroupItemCell(area, 32, 4, 5, &cell));
  EXPECT_EQ(100, cell.left);
  EXPECT_EQ(20, cell.top);
  // A last partial row is placed too; zero columns count as one.
  ASSERT_TRUE(GetGroupItemCell(area, 5, 4, 4, &cell));
  EXPECT_EQ(0, cell.left);
  EXPECT_EQ(80, cell.top);
  ASSERT_TRUE(GetGroupItemCell(area, 2, 0, 1, &cell));
  EXPECT_EQ(80, cell.top);
}

namespace {

RECT ItemRect(CKestItemGroupBox* group, int i) {
  HWND item = group->GetItemControl(i)->GetHandle();
  RECT r;
  GetWindowRect(item, &r);
  MapWindowPoints(nullptr, group->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

TEST_F(PanelTest, RadioGroupStacksSixItemsInEqualRows) {
  auto* group = new CKestRadioGroupBox(form, 42, L"Режим", KestPos(10, 10), 230, 150);
  const wchar_t* captions[] = {L"1", L"2", L"3", L"4", L"5", L"6"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(i, group->AddItem(captions[i]));
  RECT area;
  group->GetClientArea(&area);
  int h = area.bottom - area.top;
  for (int i = 0; i < 6; ++i) {
    RECT r = ItemRect(group, i);
    EXPECT_EQ(8, r.left) << i;
    EXPECT_EQ(area.top + h * i / 6, r.top) << i;
    EXPECT_EQ(230 - 16, r.right - r.left) << i;
    EXPECT_EQ(h / 6, r.bottom - r.top) << i;
    EXPECT_EQ(42, GetWindowLongW(group->GetItemControl(i)->GetHandle(), GWL_ID));
  }
  // A resize lays them out again.
  group->SetSize(230, 270);
  group->GetClientArea(&area);
  EXPECT_EQ(area.top + (area.bottom - area.top) * 5 / 6, ItemRect(group, 5).top);
}

TEST_F(PanelTest, RadioGroupSelectionReportsOnce) {
  auto* group = new CKestRadioGroupBox(form, 42, L"Режим", KestPos(10, 10), 230, 150);
  group->BeginUpdate();
  group->AddItem(L"Первый");
  group->AddItem(L"Второй");
  group->AddItem(L"Третий");
  group->EndUpdate();
  velktest::FlushEvents();
  form->seen.clear();
  EXPECT_EQ(-1, group->GetItemIndex());
  group->SetItemIndex(1);
  EXPECT_EQ(1, group->GetItemIndex());
  velktest::FlushEvents();
  EXPECT_EQ(1, form->Count(WM_COMMAND, 42));
  group->SetItemIndex(2);
  EXPECT_EQ(2, group->GetItemIndex());
  EXPECT_FALSE(group->GetItem(1)->IsChecked());
  group->SetItemIndex(3);
  group->SetItemIndex(-1);
  EXPECT_EQ(2, group->GetItemIndex());
  velktest::FlushEvents();
  EXPECT_EQ(2, form->Count(WM_COMMAND, 42));
}

TEST_F(PanelTest, CheckGroupFourColumnsAndHeldUpdates) {
  auto* group = new CKestCheckGroupBox(form, 43, L"Флаги", KestPos(0, 0), 400, 250);
  group->columns = 4;
  group->BeginUpdate();
  group->BeginUpdate();
  for (int i = 0; i < 32; ++i) group->AddItem(L"x");
  // Still held: every item waits in the top left corner.
  EXPECT_EQ(0, ItemRect(group, 31).left);
  group->EndUpdate();
  EXPECT_EQ(0, ItemRect(group, 31).left);
  group->SetSize(400, 260);  // a resize does not end the update
  EXPECT_EQ(1, group->GetUpdateHold());
  group->EndUpdate();
  RECT area;
  group->GetClientArea(&area);
  int w = area.right - area.left, h = area.bottom - area.top;
  RECT last = ItemRect(group, 31);
  EXPECT_EQ(area.left + w * 3 / 4, last.left);
  EXPECT_EQ(area.top + h * 7 / 8, last.top);
  EXPECT_EQ(h / 8, last.bottom - last.top);
  RECT sixth = ItemRect(group, 5);
  EXPECT_EQ(area.left + w / 4, sixth.left);
  EXPECT_EQ(area.top + h / 8, sixth.top);
}

TEST_F(PanelTest, CheckGroupItemsOutsideTheRange) {
  auto* group = new CKestCheckGroupBox(form, 43, L"Флаги", KestPos(0, 0), 200, 100);
  group->AddItem(L"a");
  group->AddItem(L"b");
  velktest::FlushEvents();
  form->seen.clear();
  EXPECT_FALSE(group->IsItemChecked(-1));
  EXPECT_FALSE(group->IsItemChecked(2));
  group->SetItemChecked(2, true);
  group->SetItemChecked(-1, true);
  group->SetItemChecked(1, true);
  EXPECT_FALSE(group->IsItemChecked(0));
  EXPECT_TRUE(group->IsItemChecked(1));
  velktest::FlushEvents();
  EXPECT_EQ(0, form->Count(WM_COMMAND, 43));  // setting reports nothing
  // A click on an item reaches the form with the group's id.
  HWND item = group->GetItem(0)->GetHandle();
  SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  velktest::FlushEvents();
  EXPECT_TRUE(group->IsItemChecked(0));
  ASSERT_EQ(1, form->Count(WM_COMMAND, 43));
  LPARAM sender = 0;
  for (const Seen& s : form->seen) {
    if (s.message == WM_COMMAND) sender = s.lParam;
  }
  EXPECT_EQ(reinterpret_cast<LPARAM>(item), sender);
}
