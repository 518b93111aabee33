// The property grid: its rows and controls for each property type, the
// values shown, and applying edits (clamping, the naming rules, the colour
// dialog, the events that confirm an edit).
#include "blocks/panel/velk_ui_property_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/buffers.h"
#include "kestui/containers/kest_check_group_box.h"
#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_scrollbox.h"
#include "kestui/edits/kest_custom_edit.h"
#include "kestui/graphics/kest_canvas.h"
#include "kestui/lists/kest_combo_box.h"
#include "panel_fixture.h"
#include "support/test_support.h"

using namespace paneltest;

namespace {

int dialogRuns = 0;
CVelkUIControl* dialogItem = nullptr;
int RunDialog(CVelkUIControl* item) {
  ++dialogRuns;
  dialogItem = item;
  return 1;
}

// An item with a field of every property type after the six base ones.
class GridItem : public BlockItem {
public:
  explicit GridItem(UiPanel* panel) : BlockItem(panel) {}
  ~GridItem() override { FreeBuffer(fontName); }
  void BuildProperties(UiPropertyList* list) override {
    CVelkUIControl::BuildProperties(list);
    new UiProperty(list, UiPropBool, L"Видимый:", &visible);
    UiProperty::UiPropertyFloat(list, UiPropFloat, L"Масштаб:", &scale, 0.5f, 4.0f);
    new UiProperty(list, UiPropFontName, L"Шрифт:", &fontName);
    new UiProperty(list, UiPropFontStyle, L"Стиль шрифта:", &fontStyle);
    UiProperty::UiPropertyInt(list, UiPropInt, L"Размер шрифта:", &fontSize, 5, 100);
    new UiProperty(list, UiPropColor, L"Цвет текста:", &color);
    UiProperty::UiPropertyDialog(list, L"Изображение", RunDialog);
  }
  unsigned char visible = 1;
  float scale = 1.5f;
  wchar_t* fontName = nullptr;
  int fontStyle = kUiFontStyleBold | kUiFontStyleUnderline;
  int fontSize = 10;
  COLORREF color = RGB(0, 128, 255);
};

CVelkUIControl* NewGridItem(UiPanel* panel) { return new GridItem(panel); }

enum Row { kName, kHint, kX, kY, kWidth, kHeight, kVisible, kScale, kFont, kStyle, kSize, kColor, kDialog };

// The editor stand-in: a top-level container with the grid's scroll box,
// passing its messages to the grid.
class GridFrame : public CKestContainer {
public:
  GridFrame() {
    CreateControlWindow(0, nullptr, L"Свойства", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE,
                        KestPos(780, 0), 420, 560, nullptr, nullptr, nullptr);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (grid && grid->HandleMessage(message, wParam, lParam)) return 0;
    return CKestContainer::WindowProc(message, wParam, lParam);
  }
  CVelkUIPropertyGrid* grid = nullptr;
};

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

RECT RectIn(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring ScreenshotPath(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + name;
}

}  // namespace

class PropertyGridTest : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    gridRow = PanelItemKindCount();
    AddPanelItemKind(L"Сетка", 4, NewGridItem, kProbeBlockClassId);
    dialogRuns = 0;
    dialogItem = nullptr;
    panel = new UiPanel(&probe.scheme);
    panel->canvas = canvas.box;
    item = static_cast<GridItem*>(CreatePanelItem(panel, gridRow));
    item->SetName(L"Кнопка1");
    item->CreateBlock();
    item->x = 10;
    frame = new GridFrame;
    box = new CKestScrollBox(frame, KestPos(0, 0), 400, 540, false);
    grid = new CVelkUIPropertyGrid(box);
    frame->grid = grid;
    list.owner = item;
    item->BuildProperties(&list);
    grid->SetPropertyList(&list);
  }
  void TearDown() override {
    frame->grid = nullptr;
    delete grid;
    DestroyWindow(frame->GetHandle());
    velktest::FlushEvents();
    list.Init();
    delete panel;
    PanelTest::TearDown();
  }
  CKestControl* Control(int row) { return list.At(row)->control; }
  HWND Window(int row) { return Control(row)->GetHandle(); }
  void Type(int row, const wchar_t* text) {
    Control(row)->SetText(text);
    static_cast<CKestCustomEdit*>(Control(row))->SetModified(true);
  }

  CanvasHost canvas;
  UiPanel* panel = nullptr;
  GridItem* item = nullptr;
  GridFrame* frame = nullptr;
  CKestScrollBox* box = nullptr;
  CVelkUIPropertyGrid* grid = nullptr;
  UiPropertyList list;
  int gridRow = -1;
};

TEST_F(PropertyGridTest, EachPropertyGetsALabelAndTheControlOfItsType) {
  grid->BuildPropertyGrid();
  HWND container = box->GetHandle();
  int controlWidth = box->GetClientWidth() - 134;

  // The header, then a label and a control per row.
  HWND header = GetWindow(container, GW_CHILD);
  EXPECT_EQ(L"Компонент: Сетка", TextOf(header));
  RECT h = RectIn(header, container);
  EXPECT_EQ(2, h.left);
  EXPECT_EQ(2, h.top);
  EXPECT_EQ(200, h.right - h.left);

  struct Expected {
    const wchar_t* label;
    int id;
    int width;  // 0: the stretched width
    int height;
    const wchar_t* className;
  } expected[] = {
      {L"Название:", 5001, 0, 21, L"Edit"},       {L"Подсказка:", 5001, 0, 21, L"Edit"},
      {L"X:", 5001, 0, 21, L"Edit"},              {L"Y:", 5001, 0, 21, L"Edit"},
      {L"Ширина:", 5001, 0, 21, L"Edit"},         {L"Высота:", 5001, 0, 21, L"Edit"},
      {L"Видимый:", 5002, 0, 21, L"ComboBox"},    {L"Масштаб:", 5001, 0, 21, L"Edit"},
      {L"Шрифт:", 5002, 0, 21, L"ComboBox"},      {L"Стиль шрифта:", 5003, 0, 75, nullptr},
      {L"Размер шрифта:", 5001, 0, 21, L"Edit"},  {L"Цвет текста:", 5000, 21, 21, nullptr},
      {L"Изображение", 5004, 21, 21, L"Button"},
  };
  ASSERT_EQ(13, list.count);
  int y = 25;
  HWND child = GetWindow(header, GW_HWNDNEXT);
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(expected[i].label, TextOf(child));
    RECT l = RectIn(child, container);
    EXPECT_EQ(2, l.left);
    EXPECT_EQ(y, l.top);
    EXPECT_EQ(122, l.right - l.left);
    EXPECT_EQ(21, l.bottom - l.top);
    HWND control = GetWindow(child, GW_HWNDNEXT);
    EXPECT_EQ(control, Window(i));
    EXPECT_EQ(expected[i].id, GetWindowLongW(control, GWL_ID));
    RECT c = RectIn(control, container);
    EXPECT_EQ(130, c.left);
    EXPECT_EQ(y, c.top);
    EXPECT_EQ(expected[i].width ? expected[i].width : controlWidth, c.right - c.left);
    if (expected[i].className) {
      wchar_t name[64] = {};
      GetClassNameW(control, name, 64);
      EXPECT_STREQ(expected[i].className, name);
      if (wcscmp(name, L"ComboBox") != 0) {
        EXPECT_EQ(expected[i].height, c.bottom - c.top);
      }
    } else {
      EXPECT_EQ(expected[i].height, c.bottom - c.top);
    }
    uint8_t anchors = KEST_ANCHOR_LEFT | KEST_ANCHOR_TOP;
    if (expected[i].id != 5000) anchors |= KEST_ANCHOR_RIGHT;
    EXPECT_EQ(anchors, Control(i)->GetAnchors());
    EXPECT_EQ(i, grid->PropertyIndexOf(control));
    y += 23 + (expected[i].id == 5003 ? 54 : 0);
    child = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(nullptr, child);
  EXPECT_EQ(-1, grid->PropertyIndexOf(header));
  EXPECT_EQ(L"Открыть диалог", std::wstring(Control(kDialog)->GetHint()));
  EXPECT_EQ(L"---", TextOf(Window(kDialog)));

  // Rebuilding replaces the rows; without a list the grid is empty.
  grid->BuildPropertyGrid();
  int children = 0;
  for (HWND w = GetWindow(container, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(1 + 2 * 13, children);
  grid->SetPropertyList(nullptr);
  grid->BuildPropertyGrid();
  EXPECT_EQ(nullptr, GetWindow(container, GW_CHILD));
}

TEST_F(PropertyGridTest, TheControlsShowTheItemsValues) {
  auto* probeCombo = new CKestComboBox(frame, 1, false, KestPos(0, 540), 100, 21, 0);
  FillFontNameList(probeCombo);
  ASSERT_GT(probeCombo->GetCount(), 0);
  item->fontName = probeCombo->CopyItemText(probeCombo->GetCount() - 1);
  // Each family once: no entry repeats the one before it.
  for (int i = 1; i < probeCombo->GetCount(); ++i) {
    wchar_t* a = probeCombo->CopyItemText(i - 1);
    wchar_t* b = probeCombo->CopyItemText(i);
    EXPECT_STRNE(a, b);
    FreeBuffer(a);
    FreeBuffer(b);
  }
  item->hint = AppendString(nullptr, L"подсказка");
  grid->BuildPropertyGrid();

  EXPECT_EQ(L"Кнопка1", TextOf(Window(kName)));
  EXPECT_EQ(L"подсказка", TextOf(Window(kHint)));
  EXPECT_EQ(L"10", TextOf(Window(kX)));
  EXPECT_EQ(L"104", TextOf(Window(kWidth)));
  EXPECT_EQ(1, static_cast<CKestComboBox*>(Control(kVisible))->GetSelectedIndex());
  EXPECT_EQ(L"Да", TextOf(Window(kVisible)));
  EXPECT_EQ(L"1.5", TextOf(Window(kScale)));
  auto* font = static_cast<CKestComboBox*>(Control(kFont));
  EXPECT_EQ(probeCombo->GetCount(), font->GetCount());
  EXPECT_EQ(font->GetCount() - 1, font->GetSelectedIndex());
  auto* style = static_cast<CKestCheckGroupBox*>(Control(kStyle));
  EXPECT_EQ(L"Жирный", TextOf(style->GetItem(0)->GetHandle()));
  EXPECT_EQ(L"Подчеркивание", TextOf(style->GetItem(2)->GetHandle()));
  EXPECT_TRUE(style->IsItemChecked(0));
  EXPECT_FALSE(style->IsItemChecked(1));
  EXPECT_TRUE(style->IsItemChecked(2));
  EXPECT_EQ(L"10", TextOf(Window(kSize)));
  EXPECT_EQ(RGB(0, 128, 255), Control(kColor)->GetBackColor());

  // The swatch shows the colour on screen.
  UpdateWindow(frame->GetHandle());
  velktest::FlushEvents();
  HDC dc = GetDC(Window(kColor));
  EXPECT_EQ(RGB(0, 128, 255), GetPixel(dc, 10, 10));
  ReleaseDC(Window(kColor), dc);
  EXPECT_TRUE(velktest::SaveWindowBitmap(frame->GetHandle(), ScreenshotPath(L"panel_property_grid.bmp")));
}

TEST_F(PropertyGridTest, IntegersAreClampedToTheirRangeAndShownAsStored) {
  grid->BuildPropertyGrid();
  struct Case {
    int row;
    const wchar_t* text;
    int stored;
  } cases[] = {
      {kSize, L"200", 100}, {kSize, L"-3", 5},   {kSize, L"abc", 5},  {kSize, L"42", 42},
      {kSize, L"+7px", 7},  {kX, L"900", 768},   {kY, L"600", 600},   {kWidth, L"0", 1},
      {kHeight, L"-9", 1},  {kX, L"-20", 0},
  };
  for (const Case& c : cases) {
    Type(c.row, c.text);
    grid->ApplyProperty(c.row);
    EXPECT_EQ(c.stored, *static_cast<int*>(list.At(c.row)->value)) << c.text;
    wchar_t shown[16];
    swprintf(shown, 16, L"%d", c.stored);
    EXPECT_EQ(std::wstring(shown), TextOf(Window(c.row))) << c.text;
    EXPECT_FALSE(static_cast<CKestCustomEdit*>(Control(c.row))->IsModified());
  }
}

TEST_F(PropertyGridTest, FloatsParseCommasKeepTheValueOnNonsenseAndClamp) {
  grid->BuildPropertyGrid();
  struct Case {
    const wchar_t* text;
    float stored;
    const wchar_t* shown;
  } cases[] = {{L"2,5", 2.5f, L"2.5"}, {L"abc", 2.5f, L"2.5"}, {L"10", 4.0f, L"4"}, {L"0.1", 0.5f, L"0.5"}};
  for (const Case& c : cases) {
    Type(kScale, c.text);
    grid->ApplyProperty(kScale);
    EXPECT_FLOAT_EQ(c.stored, item->scale) << c.text;
    EXPECT_EQ(std::wstring(c.shown), TextOf(Window(kScale))) << c.text;
  }
}

TEST_F(PropertyGridTest, NamesFollowTheRulesOfItemsWithBlocks) {
  ProbeItem* text = AddPlain(panel, L"Текст1", 0, 0, 10, 10);  // no block
  probe.AddBlock(kForeignBlockClassId, L"USB");
  grid->BuildPropertyGrid();
  CBEBlock* block = item->block;
  ASSERT_NE(nullptr, block);

  Type(kName, L"Текст1");
  grid->ApplyProperty(kName);
  EXPECT_STREQ(L"Кнопка1", item->name);
  EXPECT_EQ(L"Текст1", TextOf(Window(kName)));  // the refused text stays
  Type(kName, L"USB");
  grid->ApplyProperty(kName);
  EXPECT_STREQ(L"Кнопка1", item->name);
  Type(kName, L"");
  grid->ApplyProperty(kName);
  EXPECT_STREQ(L"Кнопка1", item->name);
  ASSERT_EQ(3u, host.texts.size());
  EXPECT_EQ(L"Такое название уже существует!", host.texts[0]);
  EXPECT_EQ(L"Такое название уже существует!", host.texts[1]);
  EXPECT_EQ(L"У компонента обязательно должно быть название!", host.texts[2]);
  for (size_t i = 0; i < host.texts.size(); ++i) {
    EXPECT_EQ(L"Ошибка", host.captions[i]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), host.flags[i] & MB_ICONMASK);
  }
  EXPECT_STREQ(L"Кнопка1", block->GetCaption());

  // Its own name again, and a new one, are taken; the block follows.
  Type(kName, L"Кнопка1");
  grid->ApplyProperty(kName);
  Type(kName, L"Старт");
  grid->ApplyProperty(kName);
  EXPECT_STREQ(L"Старт", item->name);
  EXPECT_STREQ(L"Старт", block->GetCaption());
  EXPECT_EQ(3u, host.texts.size());

  // An item without a block takes any name, a repeated or an empty one.
  UiPropertyList textList;
  textList.owner = text;
  text->BuildProperties(&textList);
  grid->SetPropertyList(&textList);
  grid->BuildPropertyGrid();
  textList.At(0)->control->SetText(L"Старт");
  grid->ApplyProperty(0);
  EXPECT_STREQ(L"Старт", text->name);
  textList.At(0)->control->SetText(L"");
  grid->ApplyProperty(0);
  EXPECT_EQ(nullptr, text->name);
  textList.At(1)->control->SetText(L"");
  grid->ApplyProperty(1);
  EXPECT_EQ(nullptr, text->hint);
  EXPECT_EQ(3u, host.texts.size());
  grid->SetPropertyList(&list);
  grid->BuildPropertyGrid();
}

TEST_F(PropertyGridTest, AFontThatIsNotInstalledShowsNoSelectionAndAppliesAsNone) {
  item->fontName = AppendString(nullptr, L"Нет такого шрифта");
  grid->BuildPropertyGrid();
  auto* font = static_cast<CKestComboBox*>(Control(kFont));
  EXPECT_EQ(-1, font->GetSelectedIndex());
  grid->ApplyProperty(kFont);
  EXPECT_EQ(nullptr, item->fontName);
  font->SetSelectedIndex(0);
  grid->ApplyProperty(kFont);
  wchar_t* first = font->CopyItemText(0);
  EXPECT_STREQ(first, item->fontName);
  FreeBuffer(first);
}

TEST_F(PropertyGridTest, ConfirmingEventsApplyTheirProperty) {
  grid->BuildPropertyGrid();
  HWND form = frame->GetHandle();

  // Losing the focus applies a modified edit only.
  Control(kSize)->SetText(L"30");
  static_cast<CKestCustomEdit*>(Control(kSize))->SetModified(false);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(5001, EN_KILLFOCUS), reinterpret_cast<LPARAM>(Window(kSize)));
  EXPECT_EQ(10, item->fontSize);
  Type(kSize, L"30");
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(5001, EN_KILLFOCUS), reinterpret_cast<LPARAM>(Window(kSize)));
  EXPECT_EQ(30, item->fontSize);

  // Enter applies and keeps the focus in the edit.
  Type(kY, L"77");
  SendMessageW(form, WM_KEST_KEYDOWN, VK_RETURN, reinterpret_cast<LPARAM>(Window(kY)));
  EXPECT_EQ(77, item->y);
  EXPECT_EQ(Window(kY), GetFocus());

  // A confirmed combo selection.
  static_cast<CKestComboBox*>(Control(kVisible))->SetSelectedIndex(0);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(5002, CBN_SELENDOK), reinterpret_cast<LPARAM>(Window(kVisible)));
  EXPECT_EQ(0, item->visible);

  // A click on a style box, through the window system.
  auto* style = static_cast<CKestCheckGroupBox*>(Control(kStyle));
  SendMessageW(style->GetItem(1)->GetHandle(), BM_CLICK, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(kUiFontStyleBold | kUiFontStyleItalic | kUiFontStyleUnderline, item->fontStyle);

  // The dialog button runs the callback with the item.
  SendMessageW(Window(kDialog), BM_CLICK, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(1, dialogRuns);
  EXPECT_EQ(item, dialogItem);

  // Messages of other windows are not the grid's.
  EXPECT_FALSE(grid->HandleMessage(WM_COMMAND, MAKEWPARAM(5001, EN_KILLFOCUS), 0));
  EXPECT_FALSE(grid->HandleMessage(WM_KEST_KEYDOWN, VK_RETURN, reinterpret_cast<LPARAM>(Window(kVisible))));
}

TEST_F(PropertyGridTest, TheSwatchOpensTheColourDialogAndCancelChangesNothing) {
  grid->BuildPropertyGrid();
  {
    velktest::DialogAnswerer cancel(IDCANCEL);
    EXPECT_TRUE(grid->HandleMessage(WM_KEST_LBUTTONUP, reinterpret_cast<WPARAM>(Window(kColor)), 0));
    EXPECT_EQ(1, cancel.Count());
  }
  EXPECT_EQ(RGB(0, 128, 255), item->color);
  EXPECT_EQ(RGB(0, 128, 255), Control(kColor)->GetBackColor());

  // A colour set on the swatch is what applying takes.
  Control(kColor)->SetBackColor(RGB(1, 2, 3));
  grid->ApplyProperty(kColor);
  EXPECT_EQ(RGB(1, 2, 3), item->color);
  {
    velktest::DialogAnswerer ok(IDOK);
    item->color = 0;
    EXPECT_TRUE(grid->HandleMessage(WM_KEST_LBUTTONUP, reinterpret_cast<WPARAM>(Window(kColor)), 0));
    EXPECT_EQ(1, ok.Count());
  }
  EXPECT_EQ(RGB(1, 2, 3), item->color);  // the dialog's colour, confirmed
}

TEST_F(PropertyGridTest, ApplyingRepaintsTheCanvas) {
  grid->BuildPropertyGrid();
  HWND window = canvas.box->GetHandle();
  ValidateRect(window, nullptr);
  Type(kX, L"40");
  grid->ApplyProperty(kX);
  RECT dirty;
  EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  // A refused name repaints nothing.
  ValidateRect(window, nullptr);
  Type(kName, L"");
  grid->ApplyProperty(kName);
  EXPECT_FALSE(GetUpdateRect(window, &dirty, FALSE));
}
