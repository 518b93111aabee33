// The control-panel editor: its window, palette, canvas and popup menu,
// placing items with grid snapping, the property grid following the current
// item, the commands, forgetting the canvas on closing, and the modal entry
// point used by the user-interface blocks.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "blocks/panel/editor/open_panel_editor.h"
#include "blocks/panel/editor/ui_img_dlg.h"
#include "blocks/panel/editor/velk_ui_editor.h"
#include "blocks/panel/items/velk_ui_image.h"
#include "blocks/panel/items/velk_ui_line.h"
#include "blocks/panel/items/velk_ui_text.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "blocks/panel/velk_ui_property_grid.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_scrollbox.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/graphics/kest_canvas.h"
#include "kestui/menus/kest_menu.h"
#include "kestui/menus/kest_popup_menu.h"
#include "modal_driver.h"
#include "panel_fixture.h"
#include "support/live_forms.h"
#include "support/test_support.h"

using namespace paneltest;

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring MenuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

bool MenuEnabled(HMENU menu, int position) {
  return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool MenuChecked(HMENU menu, int position) {
  return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

class EditorTest : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    EmptyTheClipboard();
    editor = new CVelkUIEditor(nullptr, &panel);
    ASSERT_NE(nullptr, editor->GetHandle());
    canvas = editor->GetCanvas()->GetHandle();
  }
  void TearDown() override {
    velktest::CloseAllLiveForms();
    EmptyTheClipboard();
    PanelTest::TearDown();
  }
  HWND PaletteButton(int row) const {
    return GetDlgItem(editor->GetPaletteBox()->GetHandle(), kUiPaletteFirstId + row);
  }
  void ChooseKind(int row) {
    HWND button = PaletteButton(row);
    ASSERT_NE(nullptr, button);
    // The button toggles down as the user clicks it, then tells the form.
    static_cast<CKestSpdBtn*>(GetControlFromHandle(button))->SetDown(true);
    SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(kUiPaletteFirstId + row, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }
  void Press(int x, int y) { SendMessageW(editor->GetHandle(), WM_KEST_LBUTTONDOWN, reinterpret_cast<WPARAM>(canvas), MAKELPARAM(x, y)); }
  void Move(int x, int y) { SendMessageW(editor->GetHandle(), WM_KEST_MOUSEMOVE, reinterpret_cast<WPARAM>(canvas), MAKELPARAM(x, y)); }
  void Release(int x, int y) { SendMessageW(editor->GetHandle(), WM_KEST_LBUTTONUP, reinterpret_cast<WPARAM>(canvas), MAKELPARAM(x, y)); }
  void RightPress(int x, int y) { SendMessageW(editor->GetHandle(), WM_KEST_RBUTTONDOWN, reinterpret_cast<WPARAM>(canvas), MAKELPARAM(x, y)); }
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  void Command(int id) { SendMessageW(editor->GetHandle(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  HMENU Menu() const { return editor->GetCanvasMenu()->GetHandle(); }
  void PrepareMenu() { SendMessageW(editor->GetHandle(), WM_KEST_MBUTTONDOWN, kUiEditorCanvasId, reinterpret_cast<LPARAM>(canvas)); }

  UiPanel panel{&probe.scheme};
  CVelkUIEditor* editor = nullptr;
  HWND canvas = nullptr;
};

const int kImageRow = 2;

}  // namespace

TEST(PanelEditorSnapTest, PointsGoToTheNearestMultipleOfEightHalfwayUp) {
  const int cases[][2] = {{13, 16}, {20, 24}, {11, 8}, {19, 16}, {12, 16}, {3, 0}, {4, 8},
                          {0, 0}, {-4, 0}, {-5, -8}, {767, 768}};
  for (const auto& c : cases) EXPECT_EQ(c[1], SnapToGrid(c[0])) << c[0];
}

TEST_F(EditorTest, TheWindowHasThePaletteTheCanvasAndTheGrid) {
  EXPECT_EQ(L"Редактор интерфейса с пользователем", TextOf(editor->GetHandle()));
  RECT r;
  GetWindowRect(editor->GetHandle(), &r);
  EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN) - 10, r.right - r.left);
  EXPECT_EQ(600, r.bottom - r.top);
  EXPECT_EQ(160, editor->GetPaletteBox()->GetWidth());
  EXPECT_EQ(300, editor->GetGridBox()->GetWidth());
  // One toggling button per kind, in registry order.
  int lastTop = -1;
  for (int row = 0; row < PanelItemKindCount(); ++row) {
    SCOPED_TRACE(row);
    HWND button = PaletteButton(row);
    ASSERT_NE(nullptr, button);
    auto* spd = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(button));
    ASSERT_NE(nullptr, spd);
    EXPECT_TRUE(spd->IsToggle());
    EXPECT_EQ(std::wstring(PanelItemKindAt(row)->name), TextOf(button));
    EXPECT_EQ(130, spd->GetWidth());
    EXPECT_EQ(25, spd->GetHeight());
    EXPECT_GT(spd->GetPosition().y, lastTop);
    lastTop = spd->GetPosition().y;
  }
  EXPECT_EQ(L"Текст", TextOf(PaletteButton(0)));
  EXPECT_EQ(L"Картинка", TextOf(PaletteButton(2)));
  CKestPaintBox* box = editor->GetCanvas();
  EXPECT_EQ(kUiEditorCanvasId, GetWindowLongW(canvas, GWL_ID));
  EXPECT_EQ(768, box->GetWidth());
  EXPECT_EQ(434, box->GetHeight());
  EXPECT_EQ(8, box->GetPosition().x);
  EXPECT_EQ(8, box->GetPosition().y);
  EXPECT_EQ(0xCCCCCCu, box->GetBackColor());
  EXPECT_EQ(editor->GetCanvasMenu(), box->GetMenu());
}

TEST_F(EditorTest, ThePopupMenuHasItsItemsAndShowsSnappingChecked) {
  HMENU menu = Menu();
  const wchar_t* texts[] = {L"&Копировать\tCtrl+C", L"&Вырезать\tCtrl+X", L"Вст&авить\tCtrl+V",
                            L"Удалить\tDel", L"", L"Выделить все\tCtrl+A", L"", L"Порядок",
                            L"Привязка к сетке"};
  const int ids[] = {40026, 40027, 40028, 1004, 0, 40025, 0, -1, 5006};
  ASSERT_EQ(9, GetMenuItemCount(menu));
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::wstring(texts[i]), MenuText(menu, i));
    EXPECT_EQ(ids[i], static_cast<int>(GetMenuItemID(menu, i)));
  }
  HMENU order = GetSubMenu(menu, kUiMenuOrderPosition);
  ASSERT_NE(nullptr, order);
  EXPECT_EQ(L"На уровень выше\tCtrl+PgUp", MenuText(order, 0));
  EXPECT_EQ(1006u, GetMenuItemID(order, 0));
  EXPECT_EQ(1007u, GetMenuItemID(order, 1));
  EXPECT_EQ(L"Поднять на самый верх", MenuText(order, 2));
  EXPECT_EQ(1009u, GetMenuItemID(order, 3));
  CKestMenu* owned = editor->GetCanvasMenu();
  EXPECT_EQ(40026, owned->FindShortcut('C', KEST_MOD_CTRL));
  EXPECT_EQ(40027, owned->FindShortcut('X', KEST_MOD_CTRL));
  EXPECT_EQ(40028, owned->FindShortcut('V', KEST_MOD_CTRL));
  EXPECT_EQ(1004, owned->FindShortcut(VK_DELETE, 0));
  EXPECT_EQ(40025, owned->FindShortcut('A', KEST_MOD_CTRL));
  EXPECT_EQ(1006, owned->FindShortcut(VK_PRIOR, KEST_MOD_CTRL));
  EXPECT_EQ(1007, owned->FindShortcut(VK_NEXT, KEST_MOD_CTRL));
  EXPECT_TRUE(MenuChecked(menu, kUiMenuSnapPosition));
  EXPECT_TRUE(editor->IsSnapping());
  Command(kUiEditorSnapCommand);
  EXPECT_FALSE(MenuChecked(menu, kUiMenuSnapPosition));
  EXPECT_FALSE(editor->IsSnapping());
  Command(kUiEditorSnapCommand);
  EXPECT_TRUE(MenuChecked(menu, kUiMenuSnapPosition));
}

TEST_F(EditorTest, PlacingAnItemSnapsItsPointAndNamesIt) {
  ChooseKind(kImageRow);
  EXPECT_NE(nullptr, editor->GetPendingKind());
  Press(13, 20);
  ASSERT_EQ(1, panel.ItemCount());
  auto* first = dynamic_cast<CVelkUIImage*>(panel.items);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(16, first->x);
  EXPECT_EQ(24, first->y);
  EXPECT_STREQ(L"Картинка1", first->name);
  EXPECT_TRUE(first->selected);
  EXPECT_EQ(first, panel.currentItem);
  EXPECT_EQ(nullptr, editor->GetPendingKind());
  EXPECT_FALSE(static_cast<CKestSpdBtn*>(GetControlFromHandle(PaletteButton(kImageRow)))->IsDown());
  EXPECT_EQ(canvas, GetFocus());
  Release(13, 20);

  ChooseKind(kImageRow);
  Press(11, 19);
  CVelkUIControl* second = panel.Tail();
  EXPECT_EQ(8, second->x);
  EXPECT_EQ(16, second->y);
  EXPECT_STREQ(L"Картинка2", second->name);
  EXPECT_FALSE(first->selected);
  Release(11, 19);

  Command(kUiEditorSnapCommand);
  ChooseKind(1);  // a line
  Press(13, 301);
  auto* line = dynamic_cast<CVelkUILine*>(panel.Tail());
  ASSERT_NE(nullptr, line);
  EXPECT_EQ(13, line->x1);
  EXPECT_EQ(301, line->y1);
  EXPECT_EQ(117, line->x2);
  EXPECT_STREQ(L"Линия1", line->name);
}

TEST_F(EditorTest, PlacingTwoBlockItemsCreatesTheirBlocks) {
  ChooseKind(blockRow);
  Click(100, 100);
  ChooseKind(blockRow);
  Click(100, 200);
  ASSERT_EQ(2, panel.ItemCount());
  std::vector<std::wstring> names = Names(panel);
  EXPECT_EQ(L"Блок1", names[0]);
  EXPECT_EQ(L"Блок2", names[1]);
  ASSERT_NE(nullptr, panel.items->block);
  EXPECT_STREQ(L"Блок1", panel.items->block->caption);
  EXPECT_STREQ(L"Блок2", panel.Tail()->block->caption);
  EXPECT_EQ(2, probe.scheme.GetBlockCount());
}

TEST_F(EditorTest, ARightPressCancelsTheChosenKind) {
  ProbeItem* item = AddPlain(&panel, L"a", 100, 100, 50, 50);
  ChooseKind(kImageRow);
  RightPress(120, 120);
  EXPECT_EQ(nullptr, editor->GetPendingKind());
  EXPECT_FALSE(static_cast<CKestSpdBtn*>(GetControlFromHandle(PaletteButton(kImageRow)))->IsDown());
  Click(120, 120);
  EXPECT_EQ(1, panel.ItemCount());
  EXPECT_TRUE(item->selected);
  EXPECT_EQ(item, panel.currentItem);
}

TEST_F(EditorTest, ThePropertyGridFollowsTheCurrentItem) {
  ProbeItem* a = AddPlain(&panel, L"a", 100, 100, 50, 50);
  ProbeItem* b = AddPlain(&panel, L"b", 300, 100, 50, 50);
  Click(120, 120);
  ASSERT_NE(nullptr, editor->GetPropertyList());
  EXPECT_EQ(a, editor->GetPropertyList()->owner);
  EXPECT_EQ(6, editor->GetPropertyList()->count);
  EXPECT_NE(nullptr, editor->GetPropertyList()->At(0)->control);
  EXPECT_EQ(L"a", TextOf(editor->GetPropertyList()->At(0)->control->GetHandle()));
  // A drag of the same item refreshes the values in the same list.
  UiPropertyList* list = editor->GetPropertyList();
  Press(120, 120);
  Move(160, 120);
  Release(160, 120);
  EXPECT_EQ(list, editor->GetPropertyList());
  EXPECT_EQ(140, a->x);  // moved by 40 (both points lie on the grid)
  EXPECT_EQ(L"140", TextOf(list->At(2)->control->GetHandle()));
  Click(320, 120);
  EXPECT_EQ(b, editor->GetPropertyList()->owner);
  // A press on nothing keeps the current item; deleting it empties the grid.
  Click(700, 400);
  EXPECT_EQ(b, editor->GetPropertyList()->owner);
  Click(320, 120);
  Command(kUiEditorDeleteCommand);
  EXPECT_EQ(nullptr, editor->GetPropertyList());
  EXPECT_EQ(1, panel.ItemCount());
  EXPECT_EQ(nullptr, GetWindow(editor->GetGridBox()->GetHandle(), GW_CHILD));
  Click(700, 400);
  EXPECT_EQ(nullptr, editor->GetPropertyList());
}

TEST_F(EditorTest, CutEmptiesTheGridFirstAndPasteBringsTheItemBack) {
  auto* text = static_cast<CVelkUIText*>(CreatePanelItemByKind(&panel, L"Текст"));
  text->SetName(L"Заголовок");
  text->x = 40;
  text->y = 40;
  text->width = 80;
  text->height = 20;
  Click(48, 48);
  ASSERT_NE(nullptr, editor->GetPropertyList());
  PrepareMenu();
  EXPECT_TRUE(MenuEnabled(Menu(), kUiMenuCutPosition));
  EXPECT_FALSE(MenuEnabled(Menu(), kUiMenuPastePosition));
  Command(ID_KEST_CUT);
  EXPECT_EQ(nullptr, editor->GetPropertyList());
  EXPECT_EQ(0, panel.ItemCount());
  EXPECT_EQ(nullptr, panel.currentItem);
  PrepareMenu();
  EXPECT_FALSE(MenuEnabled(Menu(), kUiMenuCopyPosition));
  EXPECT_FALSE(MenuEnabled(Menu(), kUiMenuCutPosition));
  EXPECT_FALSE(MenuEnabled(Menu(), kUiMenuDeletePosition));
  EXPECT_FALSE(MenuEnabled(Menu(), kUiMenuOrderPosition));
  EXPECT_TRUE(MenuEnabled(Menu(), kUiMenuPastePosition));
  EXPECT_TRUE(MenuEnabled(Menu(), kUiMenuSnapPosition));
  Command(ID_KEST_PASTE);
  ASSERT_EQ(1, panel.ItemCount());
  auto* back = dynamic_cast<CVelkUIText*>(panel.items);
  ASSERT_NE(nullptr, back);
  EXPECT_STREQ(L"Заголовок", back->name);
  EXPECT_TRUE(back->selected);
  Command(ID_KEST_COPY);
  Command(ID_KEST_PASTE);
  EXPECT_EQ(2, panel.ItemCount());
  Command(ID_KEST_SELECT_ALL);
  EXPECT_TRUE(panel.items->selected);
  EXPECT_TRUE(panel.Tail()->selected);
}

// How many device blocks of the scheme carry caption as their own.
int DevicesCaptioned(const BeScheme& scheme, const wchar_t* caption) {
  int n = 0;
  for (CBEBlock* b = scheme.blocks; b; b = b->next)
    if (b->IsDevice() && b->caption && wcscmp(b->caption, caption) == 0) n++;
  return n;
}

TEST_F(EditorTest, NewAndPastedItemsTakeNoNameOfTheComputersDevices) {
  // The computer's own devices: "Блок1" and "USB".
  probe.AddBlock(kForeignBlockClassId, L"Блок1");
  probe.AddBlock(kForeignBlockClassId, L"USB");
  ShowWindow(editor->GetHandle(), SW_SHOW);

  // A placed item skips the device's caption.
  ChooseKind(blockRow);
  Click(100, 100);
  ASSERT_EQ(1, panel.ItemCount());
  EXPECT_STREQ(L"Блок2", panel.items->name);
  ASSERT_NE(nullptr, panel.items->block);
  EXPECT_STREQ(L"Блок2", panel.items->block->caption);
  EXPECT_EQ(1, DevicesCaptioned(probe.scheme, L"Блок1"));

  // Items copied from another computer's panel: one named after a device
  // of this one, one with a free name.
  {
    ProbeScheme other;
    UiPanel source(&other.scheme);
    const wchar_t* names[] = {L"USB", L"Пуск"};
    for (int i = 0; i < 2; i++) {
      BlockItem* item = AddBlockItem(&source, names[i]);
      item->x = 200 + 200 * i;
      item->y = 200;
      item->selected = 1;
    }
    source.CopySelection();
  }
  Command(ID_KEST_PASTE);
  ASSERT_EQ(3, panel.ItemCount());
  EXPECT_EQ((std::vector<std::wstring>{L"Блок2", L"Блок3", L"Пуск"}), Names(panel));
  for (CVelkUIControl* item = panel.items; item; item = item->next) {
    ASSERT_NE(nullptr, item->block) << item->name;
    EXPECT_STREQ(item->name, item->block->caption);
    EXPECT_EQ(1, DevicesCaptioned(probe.scheme, item->name)) << item->name;
  }
  EXPECT_EQ(1, DevicesCaptioned(probe.scheme, L"USB"));
  EXPECT_EQ(1, DevicesCaptioned(probe.scheme, L"Блок1"));

  // The property grid shows the name the pasted item was given.
  Click(210, 210);
  ASSERT_NE(nullptr, editor->GetPropertyList());
  EXPECT_EQ(L"Блок3", TextOf(editor->GetPropertyList()->At(0)->control->GetHandle()));
  RedrawWindow(editor->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(editor->GetHandle(), L"panel_items_named_apart_from_devices.bmp"));
}

TEST_F(EditorTest, DrawingOrderCommandsShowAtOnce) {
  ShowWindow(editor->GetHandle(), SW_SHOW);
  ProbeItem* lower = AddPlain(&panel, L"lower", 100, 100, 100, 60);
  ProbeItem* upper = AddPlain(&panel, L"upper", 150, 120, 100, 60);
  lower->fill = RGB(255, 0, 0);
  upper->fill = RGB(0, 255, 0);
  lower->face = upper->face = RGB(0, 0, 0);
  auto canvasAt = [&](int x, int y) {
    RedrawWindow(canvas, nullptr, nullptr, RDW_UPDATENOW);
    velktest::FlushEvents();
    HDC dc = GetDC(canvas);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(canvas, dc);
    return c;
  };
  InvalidateRect(canvas, nullptr, TRUE);
  EXPECT_EQ(RGB(0, 255, 0), canvasAt(175, 140));
  panel.canvas = editor->GetCanvas();
  lower->selected = 1;
  Command(kUiEditorToTopCommand);
  EXPECT_EQ(upper, panel.items);
  EXPECT_EQ(RGB(255, 0, 0), canvasAt(175, 140));
  Command(kUiEditorToBottomCommand);
  EXPECT_EQ(lower, panel.items);
  EXPECT_EQ(RGB(0, 255, 0), canvasAt(175, 140));
  Command(kUiEditorLevelUpCommand);
  EXPECT_EQ(upper, panel.items);
  Command(kUiEditorLevelDownCommand);
  EXPECT_EQ(lower, panel.items);
  EXPECT_EQ(RGB(0, 255, 0), canvasAt(175, 140));
}

TEST_F(EditorTest, ClosingTheEditorClearsThePanelsCanvas) {
  AddPlain(&panel, L"a", 100, 100, 50, 50);
  Click(120, 120);
  EXPECT_EQ(editor->GetCanvas(), panel.canvas);
  DestroyWindow(editor->GetHandle());
  velktest::FlushEvents();
  EXPECT_EQ(nullptr, panel.canvas);
  EXPECT_EQ(nullptr, panel.CanvasWindow());
}

class OpenEditorTest : public PanelTest {
protected:
  void TearDown() override {
    velktest::CloseAllLiveForms();
    PanelTest::TearDown();
  }
  UiPanel panel{&probe.scheme};
};

TEST_F(OpenEditorTest, OpensModallyWithTheItemSelectedAndForgetsTheCanvasAfter) {
  auto* text = static_cast<CVelkUIText*>(CreatePanelItemByKind(&panel, L"Текст"));
  text->SetName(L"Заголовок");
  text->SetTextCopy(L"Пульт управления");
  text->x = 24;
  text->y = 16;
  text->fontStyle = 1;
  auto* line = static_cast<CVelkUILine*>(CreatePanelItemByKind(&panel, L"Линия"));
  line->SetPosition(24, 56);
  line->x2 = 400;
  line->UpdateBounds();
  auto* image = static_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
  image->SetPosition(24, 80);
  auto* picture = static_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
  picture->SetPosition(160, 80);
  ASSERT_TRUE(picture->picture.Create(4, 4, 24));
  for (int i = 0; i < 16; ++i) picture->picture.SetPixel(i % 4, i / 4, (i + i / 4) % 2 ? RGB(40, 90, 200) : RGB(250, 210, 60));
  // A block item whose block exists but is not linked yet, as after loading.
  BlockItem* bound = AddBlockItem(&panel, L"Блок1");
  CBEBlock* block = bound->block;
  bound->block = nullptr;
  static_cast<CBEUIControl*>(block)->item = nullptr;
  bound->SetPosition(300, 90);

  bool checked = false;
  bool saved = false;
  ModalDriver<CVelkUIEditor> driver([&](CVelkUIEditor* form, int step) {
    if (step == 0) return true;  // let it paint first
    checked = form->GetPanel() == &panel && panel.canvas == form->GetCanvas() &&
              panel.currentItem == text && text->selected && !line->selected &&
              form->GetPropertyList() && form->GetPropertyList()->owner == text &&
              IsWindowVisible(form->GetHandle()) && bound->block == block;
    RedrawWindow(form->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    saved = velktest::SaveWindowBitmap(form->GetHandle(), PanelScreenshotPath(L"panel_editor.bmp"));
    form->PostClose(2);
    return false;
  });
  ASSERT_TRUE(driver.Ready());
  EXPECT_TRUE(OpenPanelEditor(&panel, text));
  EXPECT_EQ(2, driver.Steps());
  EXPECT_TRUE(checked);
  EXPECT_TRUE(saved);
  EXPECT_EQ(nullptr, panel.canvas);
  EXPECT_EQ(0, LiveForms.count);
  EXPECT_EQ(5, panel.ItemCount());
}

TEST_F(OpenEditorTest, WithoutPanelNothingOpensAndAForeignItemIsNotSelected) {
  EXPECT_FALSE(OpenPanelEditor(nullptr, nullptr));
  UiPanel other(&probe.scheme);
  ProbeItem* foreign = AddPlain(&other, L"x", 0, 0, 10, 10);
  bool clean = false;
  ModalDriver<CVelkUIEditor> driver([&](CVelkUIEditor* form, int) {
    clean = !foreign->selected && panel.currentItem == nullptr && form->GetPropertyList() == nullptr;
    form->PostClose(2);
    return false;
  });
  EXPECT_TRUE(OpenPanelEditor(&panel, foreign));
  EXPECT_TRUE(clean);
  EXPECT_EQ(nullptr, other.canvas);
}

TEST_F(EditorTest, TheMenuShortcutsWorkOnTheCanvas) {
  AddPlain(&panel, L"a", 100, 100, 50, 50);
  AddPlain(&panel, L"b", 300, 100, 50, 50);
  Click(120, 120);
  // Delete without modifiers goes through the canvas's own menu.
  SendMessageW(canvas, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(1, panel.ItemCount());
  EXPECT_EQ(nullptr, editor->GetPropertyList());
  EXPECT_STREQ(L"b", panel.items->name);
  // A key that no item has does nothing.
  SendMessageW(canvas, WM_KEYDOWN, 'Q', 0);
  EXPECT_EQ(1, panel.ItemCount());
}

TEST_F(EditorTest, ThePictureItemsDialogButtonOpensThePictureDialogOnIt) {
  auto* image = static_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
  image->SetPosition(40, 40);
  Click(48, 56);
  UiPropertyList* list = editor->GetPropertyList();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(7, list->count);
  CKestControl* button = list->At(6)->control;
  ASSERT_NE(nullptr, button);
  EXPECT_EQ(kUiGridDialogButtonId, GetWindowLongW(button->GetHandle(), GWL_ID));
  CVelkUIImage* shownOn = nullptr;
  ModalDriver<CUIImgDlg> driver([&](CUIImgDlg* form, int) {
    shownOn = form->GetItem();
    form->PostClose(2);
    return false;
  });
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(kUiGridDialogButtonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(button->GetHandle()));
  EXPECT_EQ(1, driver.Steps());
  EXPECT_EQ(image, shownOn);
  EXPECT_TRUE(IsWindow(editor->GetHandle()));
}
