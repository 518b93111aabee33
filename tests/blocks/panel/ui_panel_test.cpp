// The panel: drawing order, selection, mouse editing, binding and painting.
#include "blocks/panel/ui_panel.h"

#include <gtest/gtest.h>

#include <set>

#include "kestui/containers/kest_container.h"
#include "kestui/graphics/kest_canvas.h"
#include "panel_fixture.h"
#include "support/test_support.h"

using namespace paneltest;

namespace {

typedef std::vector<std::wstring> Order;

// Holds keys down through the thread's keyboard state and puts the state
// back when it goes.
class KeysHeld {
public:
  explicit KeysHeld(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    for (int k : keys) state[k] = 0x80;
    SetKeyboardState(state);
  }
  ~KeysHeld() { SetKeyboardState(saved_); }
  KeysHeld(const KeysHeld&) = delete;
  KeysHeld& operator=(const KeysHeld&) = delete;

private:
  BYTE saved_[256];
};

// The list walked backwards from its end must mirror the forward walk.
void ExpectProperChain(const UiPanel& panel) {
  std::vector<CVelkUIControl*> forward;
  for (CVelkUIControl* item = panel.items; item; item = item->next) forward.push_back(item);
  ASSERT_FALSE(forward.empty());
  EXPECT_EQ(nullptr, forward.front()->previous);
  for (size_t i = 1; i < forward.size(); ++i) EXPECT_EQ(forward[i - 1], forward[i]->previous);
}

}  // namespace

TEST_F(PanelTest, DrawingOrderOperations) {
  enum Op { ToTop, ToBottom, Up, Down };
  struct Case {
    std::set<int> selected;
    Op op;
    Order expected;
  } cases[] = {
      {{2, 3}, ToTop, {L"1", L"4", L"2", L"3"}},
      {{2, 3}, Up, {L"1", L"4", L"2", L"3"}},
      {{2, 3}, Down, {L"2", L"3", L"1", L"4"}},
      {{2, 3}, ToBottom, {L"2", L"3", L"1", L"4"}},
      {{4}, Up, {L"1", L"2", L"3", L"4"}},
      {{4}, ToTop, {L"1", L"2", L"3", L"4"}},
      {{1}, Down, {L"1", L"2", L"3", L"4"}},
      {{1}, ToBottom, {L"1", L"2", L"3", L"4"}},
      {{1, 3}, Up, {L"2", L"1", L"4", L"3"}},
      {{1, 3}, Down, {L"1", L"3", L"2", L"4"}},
      {{1, 3}, ToTop, {L"2", L"4", L"1", L"3"}},
      {{1, 3}, ToBottom, {L"1", L"3", L"2", L"4"}},
      {{2, 4}, Up, {L"1", L"3", L"2", L"4"}},
      {{2, 4}, Down, {L"2", L"1", L"4", L"3"}},
      {{}, Up, {L"1", L"2", L"3", L"4"}},
      {{1, 2, 3, 4}, Down, {L"1", L"2", L"3", L"4"}},
  };
  for (const Case& c : cases) {
    UiPanel panel(&probe.scheme);
    const wchar_t* names[] = {L"1", L"2", L"3", L"4"};
    for (int i = 0; i < 4; ++i) {
      ProbeItem* item = AddPlain(&panel, names[i], 0, 0, 10, 10);
      item->selected = c.selected.count(i + 1) ? 1 : 0;
    }
    switch (c.op) {
      case ToTop: panel.MoveSelectedToTop(); break;
      case ToBottom: panel.MoveSelectedToBottom(); break;
      case Up: panel.MoveSelectedUp(); break;
      case Down: panel.MoveSelectedDown(); break;
    }
    EXPECT_EQ(c.expected, Names(panel)) << "case " << (&c - cases);
    ExpectProperChain(panel);
  }
}

TEST_F(PanelTest, SwapItemsRelinksNeighboursAndHead) {
  struct Case {
    int a, b;
    Order expected;
  } cases[] = {
      {0, 3, {L"4", L"2", L"3", L"1"}}, {1, 2, {L"1", L"3", L"2", L"4"}},
      {2, 1, {L"1", L"3", L"2", L"4"}}, {0, 1, {L"2", L"1", L"3", L"4"}},
      {3, 2, {L"1", L"2", L"4", L"3"}}, {1, 1, {L"1", L"2", L"3", L"4"}},
  };
  for (const Case& c : cases) {
    UiPanel panel(&probe.scheme);
    std::vector<CVelkUIControl*> items;
    const wchar_t* names[] = {L"1", L"2", L"3", L"4"};
    for (int i = 0; i < 4; ++i) items.push_back(AddPlain(&panel, names[i], 0, 0, 10, 10));
    panel.SwapItems(items[c.a], items[c.b]);
    EXPECT_EQ(c.expected, Names(panel)) << c.a << "," << c.b;
    ExpectProperChain(panel);
  }
}

TEST_F(PanelTest, FindHitSelectAndDelete) {
  UiPanel panel(&probe.scheme);
  ProbeItem* low = AddPlain(&panel, L"низ", 0, 0, 100, 100);
  ProbeItem* high = AddPlain(&panel, L"верх", 50, 50, 100, 100);
  AddPlain(&panel, nullptr, 300, 300, 10, 10);
  EXPECT_EQ(low, panel.FindItemByName(L"низ"));
  EXPECT_EQ(nullptr, panel.FindItemByName(L"Низ"));
  EXPECT_EQ(nullptr, panel.FindItemByName(nullptr));
  int code = 99;
  EXPECT_EQ(high, panel.HitTestItems(70, 70, &code));  // topmost first
  EXPECT_EQ(0, code);
  EXPECT_EQ(low, panel.HitTestItems(20, 20, &code));
  EXPECT_EQ(nullptr, panel.HitTestItems(200, 20, &code));
  EXPECT_EQ(-1, code);

  EXPECT_FALSE(panel.AnySelected());
  panel.SetAllSelected(true);
  EXPECT_TRUE(panel.AnySelected());
  low->selected = 0;
  panel.currentItem = high;
  panel.DeleteSelected();
  EXPECT_EQ(Order{L"низ"}, Names(panel));
  EXPECT_EQ(nullptr, panel.currentItem);
}

TEST_F(PanelTest, WithoutACanvasTheMouseDoesNothing) {
  UiPanel panel(&probe.scheme);
  ProbeItem* item = AddPlain(&panel, L"a", 10, 10, 50, 50);
  panel.MouseDown(30, 30);
  panel.MouseMove(40, 40);
  panel.MouseUp(40, 40);
  EXPECT_EQ(UiPanel::kDragIdle, panel.dragState);
  EXPECT_EQ(0, item->selected);
  EXPECT_EQ(nullptr, panel.currentItem);
  EXPECT_EQ(50, panel.lastPoint.x);  // a new panel's
  EXPECT_EQ(10, item->x);
}

TEST_F(PanelTest, PressesSelectMoveAndResizeAsTheEditorExpects) {
  CanvasHost host;
  UiPanel panel(&probe.scheme);
  panel.canvas = host.box;
  ProbeItem* a = AddPlain(&panel, L"a", 10, 10, 50, 50);
  ProbeItem* b = AddPlain(&panel, L"b", 100, 10, 50, 50);

  // A press on an unselected item selects it alone and starts a band.
  b->selected = 1;
  panel.MouseDown(30, 30);
  EXPECT_EQ(1, a->selected);
  EXPECT_EQ(0, b->selected);
  EXPECT_EQ(UiPanel::kDragBand, panel.dragState);
  EXPECT_EQ(a, panel.currentItem);
  EXPECT_EQ(a, panel.draggedItem);
  panel.MouseUp(30, 30);
  EXPECT_EQ(UiPanel::kDragIdle, panel.dragState);
  EXPECT_EQ(nullptr, panel.draggedItem);
  EXPECT_EQ(a, panel.currentItem);

  // With Shift held, a press on another item adds it.
  {
    KeysHeld shift({VK_SHIFT});
    panel.MouseDown(120, 30);
  }
  EXPECT_EQ(1, a->selected);
  EXPECT_EQ(1, b->selected);
  EXPECT_EQ(UiPanel::kDragBand, panel.dragState);
  panel.MouseUp(120, 30);

  // A press on the body of a selected item moves every selected item.
  panel.MouseDown(30, 30);
  EXPECT_EQ(0, panel.dragState);
  panel.MouseMove(35, 33);
  panel.MouseMove(37, 33);
  panel.MouseUp(37, 33);
  EXPECT_EQ(17, a->x);
  EXPECT_EQ(13, a->y);
  EXPECT_EQ(107, b->x);
  EXPECT_EQ(13, b->y);

  // A press on a handle of a selected item resizes it alone.
  panel.MouseDown(157, 63);  // b's bottom-right corner (157, 63)
  EXPECT_EQ(5, panel.dragState);
  EXPECT_EQ(0, a->selected);
  EXPECT_EQ(1, b->selected);
  panel.MouseMove(167, 73);
  panel.MouseUp(167, 73);
  EXPECT_EQ(60, b->width);
  EXPECT_EQ(60, b->height);
  EXPECT_EQ(50, a->width);

  // A press on nothing clears the selection and keeps the current item.
  panel.MouseDown(500, 300);
  EXPECT_FALSE(panel.AnySelected());
  EXPECT_EQ(UiPanel::kDragBand, panel.dragState);
  EXPECT_EQ(b, panel.currentItem);
  panel.MouseMove(0, 0);  // draws the band
  EXPECT_EQ(0, panel.lastPoint.x);
  panel.MouseUp(0, 0);
  EXPECT_TRUE(a->selected && b->selected);  // both lie in the band
}

TEST_F(PanelTest, ABandSelectsItemsWhoseCornersLieInsideRightAndBottomExclusive) {
  CanvasHost host;
  UiPanel panel(&probe.scheme);
  panel.canvas = host.box;
  ProbeItem* fits = AddPlain(&panel, L"in", 10, 10, 99, 29);
  ProbeItem* tooBig = AddPlain(&panel, L"out", 10, 10, 100, 30);
  ProbeItem* kept = AddPlain(&panel, L"kept", 400, 300, 10, 10);
  kept->selected = 1;
  panel.pressPoint = POINT{110, 40};
  panel.dragState = UiPanel::kDragBand;
  panel.MouseUp(10, 10);
  EXPECT_EQ(1, fits->selected);
  EXPECT_EQ(0, tooBig->selected);
  EXPECT_EQ(1, kept->selected);
  EXPECT_EQ(UiPanel::kDragIdle, panel.dragState);
}

TEST_F(PanelTest, HoverSetsTheCanvasCursorByWhatIsUnderTheMouse) {
  CanvasHost host;
  UiPanel panel(&probe.scheme);
  panel.canvas = host.box;
  ProbeItem* item = AddPlain(&panel, L"a", 100, 100, 104, 28);
  struct Case {
    int x, y;
    bool selected;
    int cursor;
  } cases[] = {
      {10, 10, false, 0},   {150, 110, false, 13}, {150, 110, true, 2},  {100, 100, false, 5},
      {204, 128, false, 5}, {152, 100, false, 4},  {152, 128, true, 4},  {204, 100, false, 3},
      {100, 128, false, 3}, {204, 114, false, 6},  {100, 114, false, 6},
  };
  for (const Case& c : cases) {
    item->selected = c.selected ? 1 : 0;
    host.box->SetCursorIndex(-5);
    panel.MouseMove(c.x, c.y);
    EXPECT_EQ(c.cursor, host.box->GetCursorIndex()) << c.x << "," << c.y;
    EXPECT_EQ(c.x, panel.lastPoint.x);
  }
}

TEST_F(PanelTest, BindBlocksTakesTheBlockOfTheKindsClassOnly) {
  UiPanel panel(&probe.scheme);
  CBEBlock* own = probe.AddBlock(kProbeBlockClassId, L"Кнопка1");
  CBEBlock* foreign = probe.AddBlock(kForeignBlockClassId, L"Кнопка1");  // the newer, at the head
  ASSERT_EQ(foreign, probe.scheme.FindDeviceBlock(L"Кнопка1"));
  CBEBlock* stray = probe.AddBlock(kProbeBlockClassId, L"Старый");

  auto* bound = static_cast<BlockItem*>(CreatePanelItem(&panel, blockRow));
  bound->SetName(L"Кнопка1");
  auto* missing = static_cast<BlockItem*>(CreatePanelItem(&panel, blockRow));
  missing->SetName(L"Нет такого");
  missing->block = stray;  // an old link that binding drops
  static_cast<CBEUIControl*>(stray)->item = missing;
  auto* unnamed = static_cast<BlockItem*>(CreatePanelItem(&panel, blockRow));
  unnamed->block = nullptr;
  ProbeItem* plain = AddPlain(&panel, L"Кнопка1", 0, 0, 5, 5);

  panel.BindBlocks();
  EXPECT_EQ(own, bound->block);
  EXPECT_EQ(bound, static_cast<CBEUIControl*>(own)->item);
  EXPECT_EQ(nullptr, missing->block);
  EXPECT_EQ(nullptr, static_cast<CBEUIControl*>(stray)->item);
  EXPECT_EQ(nullptr, unnamed->block);
  EXPECT_EQ(nullptr, plain->block);  // a kind without a block class
  EXPECT_STREQ(L"Кнопка1", foreign->GetCaption());

  // Deleting the panel deletes the bound block, not the foreign one.
  int before = probe.scheme.GetBlockCount();
  panel.DeleteAll();
  EXPECT_EQ(before - 1, probe.scheme.GetBlockCount());
  EXPECT_EQ(foreign, probe.scheme.FindDeviceBlock(L"Кнопка1"));
}

TEST_F(PanelTest, PaintDrawsEveryFaceAboveEveryBackgroundThenTheSelection) {
  UiPanel panel(&probe.scheme);
  ProbeItem* lower = AddPlain(&panel, L"низ", 10, 10, 40, 40);
  ProbeItem* upper = AddPlain(&panel, L"верх", 30, 30, 40, 40);
  upper->fill = RGB(0, 255, 0);
  upper->selected = 1;
  Dib dib(100, 100, RGB(255, 255, 255));
  panel.PaintItems(dib.dc());
  EXPECT_EQ(RGB(255, 0, 0), dib.At(20, 20));   // lower background
  EXPECT_EQ(RGB(0, 255, 0), dib.At(60, 60));   // upper background
  EXPECT_EQ(RGB(0, 0, 255), dib.At(49, 40));   // lower face over upper background
  EXPECT_EQ(RGB(0, 0, 0), dib.At(70, 70));     // upper's selection square
  EXPECT_EQ(RGB(255, 255, 255), dib.At(52, 20));
  (void)lower;
}

TEST_F(PanelTest, PaintingOnTheCanvasKeepsItAndAClosingEditorClearsIt) {
  UiPanel panel(&probe.scheme);
  AddPlain(&panel, L"a", 10, 10, 40, 40)->selected = 1;
  {
    CanvasHost host;
    panel.Paint(host.box);
    EXPECT_EQ(host.box, panel.canvas);
    EXPECT_EQ(0, host.box->GetDCUseCount());
    panel.ForgetCanvas(host.box);
  }
  EXPECT_EQ(nullptr, panel.canvas);
  EXPECT_EQ(nullptr, panel.CanvasWindow());
  panel.SetAllSelected(false);  // nothing to repaint, nothing reached
  panel.MouseDown(20, 20);
  EXPECT_EQ(UiPanel::kDragIdle, panel.dragState);
}

TEST_F(PanelTest, TheSelectionBandIsDrawnInvertedAndErasedAsTheMouseMoves) {
  CanvasHost host;
  UiPanel panel(&probe.scheme);
  panel.canvas = host.box;
  HWND window = host.box->GetHandle();
  UpdateWindow(window);
  velktest::FlushEvents();
  HDC dc = GetDC(window);
  auto inverted = [](COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); };
  COLORREF top = GetPixel(dc, 350, 200);
  COLORREF right = GetPixel(dc, 399, 230);
  COLORREF farRight = GetPixel(dc, 419, 250);
  COLORREF inside = GetPixel(dc, 350, 230);

  panel.MouseDown(300, 200);
  panel.MouseMove(400, 260);
  EXPECT_EQ(inverted(top), GetPixel(dc, 350, 200));
  EXPECT_EQ(inverted(right), GetPixel(dc, 399, 230));
  EXPECT_EQ(inside, GetPixel(dc, 350, 230));  // a hollow band

  panel.MouseMove(420, 280);
  EXPECT_EQ(inverted(top), GetPixel(dc, 350, 200));
  EXPECT_EQ(right, GetPixel(dc, 399, 230));  // the old edge is erased
  EXPECT_EQ(inverted(farRight), GetPixel(dc, 419, 250));
  ReleaseDC(window, dc);
  panel.MouseUp(420, 280);
  EXPECT_EQ(UiPanel::kDragIdle, panel.dragState);
}

TEST_F(PanelTest, PaintingOnTheCanvasShowsTheItemsAndTheSelection) {
  CanvasHost host;
  UiPanel panel(&probe.scheme);
  AddPlain(&panel, L"низ", 40, 40, 200, 120);
  ProbeItem* upper = AddPlain(&panel, L"верх", 180, 100, 200, 120);
  upper->fill = RGB(0, 200, 0);
  upper->selected = 1;
  HWND window = host.box->GetHandle();
  host.panel = &panel;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  velktest::FlushEvents();
  EXPECT_EQ(host.box, panel.canvas);
  HDC dc = GetDC(window);
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 60, 60));
  EXPECT_EQ(RGB(0, 200, 0), GetPixel(dc, 300, 200));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 239, 120));  // the lower face above the upper background
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 380, 220));    // a selection square
  ReleaseDC(window, dc);
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  EXPECT_TRUE(velktest::SaveWindowBitmap(host.frame->GetHandle(), folder + L"panel_canvas.bmp"));
  host.panel = nullptr;
  panel.ForgetCanvas(host.box);
}
