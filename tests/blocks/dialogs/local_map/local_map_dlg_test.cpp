// The local-map block's dialog on a real form: its lists as working copies
// of the sensors and zones, their editors, the masks that follow their
// sensors, the preview's scale, drawing and mouse, and "OK" writing it all
// back while "Отмена" changes nothing.
#include <windows.h>

#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/local_map/local_map_dlg.h"
#include "blocks/dialogs/local_map/local_map_sensor_editor.h"
#include "blocks/dialogs/local_map/local_map_zone_editor.h"
#include "blocks/dialogs/local_map/paint_alpha_rect.h"
#include "blocks/dialogs/modal_steps.h"
#include "blocks/engine/output_pin.h"
#include "foundation/numbers.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

namespace {

using dialogtest::DialogTest;
using dialogtest::ModalSteps;
using dialogtest::On;
using dialogtest::Press;

const wchar_t kAllLayers[] =
    L"1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, "
    L"30, 31, 32";

class LocalMapDialogTest : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(bench.library.Offer(kBeLocalMapClassId, L"Построитель локальной карты местности"));
    map = bench.Create<CBELocalMap>(kBeLocalMapClassId);
    ASSERT_NE(nullptr, map);
  }
  // The dialog shown without its modal loop, for driving it directly.
  CLocalMapDlg* Open() {
    auto* dialog = new CLocalMapDlg(map);
    EXPECT_TRUE(dialog->Build());
    dialog->Show(false);
    velktest::FlushEvents();
    return dialog;
  }
  void Command(CLocalMapDlg* dialog, UINT id) { SendMessageW(dialog->GetHandle(), WM_COMMAND, id, 0); }
  // A command that opens an editor, answered by the steps.
  void CommandWith(CLocalMapDlg* dialog, UINT id, std::vector<dialogtest::ModalStep> steps) {
    ModalSteps::Run(
        [&] {
          Command(dialog, id);
          return true;
        },
        std::move(steps));
  }
  void SetZones(const std::vector<LocalMapZone>& zones) {
    ASSERT_TRUE(map->model.SetZoneCount(static_cast<int>(zones.size())));
    for (size_t i = 0; i < zones.size(); ++i) map->model.zones[i] = zones[i];
  }
  // n sensors, sensor k a range finder at x = k + 1 cm.
  void SetSensors(int n) {
    ASSERT_TRUE(map->SetSensorCount(n));
    for (int k = 0; k < n; ++k) map->sensors[k] = {0, (k + 1) / 100.0f, 0.1f, 0.0f, 1.0f, 0.1f, 2.0f};
    ASSERT_TRUE(map->BuildPins());
  }
  // The preview exactly width x height pixels, the scale updated.
  void SizePreview(CLocalMapDlg* dialog, int width, int height) {
    HWND preview = dialog->GetPreview()->GetHandle();
    SetWindowPos(preview, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(preview, &client);
    ASSERT_EQ(width, client.right);
    ASSERT_EQ(height, client.bottom);
    dialog->UpdatePreviewScale();
  }

  blocktest::Bench bench;
  CBELocalMap* map = nullptr;
};

std::wstring Cell(CKestListView* list, int row, int column) {
  wchar_t text[128];
  return list->GetItemText(row, column, text, 128);
}

std::vector<std::wstring> Column(CKestListView* list, int column) {
  std::vector<std::wstring> cells;
  for (int row = 0; row < list->GetItemCount(); ++row) cells.push_back(Cell(list, row, column));
  return cells;
}

std::vector<std::wstring> Row(CKestListView* list, int row) {
  std::vector<std::wstring> cells;
  for (int c = 0; c < CLocalMapDlg::kSensorColumns; ++c) cells.push_back(Cell(list, row, c));
  return cells;
}

// Every window under parent, depth first in creation order.
std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    all.push_back(child);
    for (HWND below : Descendants(child)) all.push_back(below);
  }
  return all;
}

bool MenuItemEnabled(CKestPopupMenu* menu, int position) {
  return !(GetMenuState(menu->GetHandle(), position, MF_BYPOSITION) & MF_GRAYED);
}

void Select(CKestListView* list, int row) {
  list->FocusItem(row);
  velktest::FlushEvents();
}

// ---------------------------------------------------------------- the form

TEST_F(LocalMapDialogTest, OpensWithTheBlocksValuesInItsSizeableForm) {
  map->SetCaption(L"Карта");
  SetZones({{0x5u, -0.2f, 0.5f, 0.2f, 1.0f}, {0u, 0.0f, 0.0f, 0.1f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  HWND window = dialog->GetHandle();
  EXPECT_EQ(L"Карта", velktest::WindowText(window));
  EXPECT_EQ(MainKestForm->GetHandle(), GetWindow(window, GW_OWNER));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(1000, rect.right - rect.left);
  EXPECT_EQ(600, rect.bottom - rect.top);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME) << "sizeable";
  EXPECT_FALSE(style & WS_MINIMIZEBOX);

  // The new block's fields in centimetres.
  const double expected[] = {100, 200, -100, 50, 60, 40, 40, -40};
  for (int i = 0; i < CLocalMapDlg::kEditCount; ++i)
    EXPECT_NEAR(expected[i], dialog->GetEdit(static_cast<CLocalMapDlg::Edit>(i))->GetValue(), 1e-4) << i;
  EXPECT_TRUE(dialog->GetShowRobot()->IsChecked());
  EXPECT_TRUE(dialog->GetWallsOn()->IsChecked());

  // Its one sensor: a scan sector 30 cm ahead, 60° wide, 4 to 500 cm.
  CKestListView* sensors = dialog->GetSensorList();
  ASSERT_EQ(1, sensors->GetItemCount());
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"Сектор", L"0", L"30", L"0", L"60", L"4", L"500"}),
            Row(sensors, 0));
  CKestListView* zones = dialog->GetZoneList();
  EXPECT_EQ((std::vector<std::wstring>{L"Зона 1", L"Зона 2"}), Column(zones, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"1, 3", L""}), Column(zones, 1));
  ASSERT_NE(nullptr, dialog->ZoneAt(0));
  EXPECT_NE(&map->model.zones[0], dialog->ZoneAt(0)) << "a copy";
  EXPECT_EQ(0.5f, dialog->ZoneAt(0)->yMin);

  // Nothing selected: only the add buttons work; OK is not the default.
  EXPECT_TRUE(dialog->GetButton(kLocalMapCmdAddSensor)->IsEnabled());
  EXPECT_TRUE(dialog->GetButton(kLocalMapCmdAddZone)->IsEnabled());
  for (UINT id : {kLocalMapCmdDeleteSensor, kLocalMapCmdSensorUp, kLocalMapCmdSensorDown, kLocalMapCmdDeleteZone,
                  kLocalMapCmdZoneUp, kLocalMapCmdZoneDown})
    EXPECT_FALSE(dialog->GetButton(id)->IsEnabled()) << id;
  EXPECT_FALSE(GetWindowLongW(dialog->GetOkButton()->GetHandle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(1, dialog->GetOkButton()->GetModalResult());
  EXPECT_EQ(2, dialog->GetCancelButton()->GetModalResult());
  EXPECT_EQ(-1, dialog->GetCurrentZone());

  // The preview lies between the side panels.
  RECT preview = velktest::RectIn(window, dialog->GetPreview()->GetHandle());
  RECT sensorRect = velktest::RectIn(window, sensors->GetHandle());
  EXPECT_GE(preview.left, 300);
  EXPECT_LE(preview.right, sensorRect.left);
  EXPECT_GT(preview.bottom - preview.top, 400);
  EXPECT_TRUE(velktest::SaveScreenshot(window, L"dialogs_local_map.bmp"));
}

TEST_F(LocalMapDialogTest, ItsFieldsListsAndHeadersAreLaidOutAsTheUserKnowsThem) {
  CLocalMapDlg* dialog = Open();
  struct Range {
    CLocalMapDlg::Edit edit;
    double minimum, maximum, step;
  };
  const Range ranges[] = {
      {CLocalMapDlg::kHalfWidth, 1, 10000, 10},      {CLocalMapDlg::kFront, 1, 10000, 10},
      {CLocalMapDlg::kRear, -10000, -1, 10},         {CLocalMapDlg::kRobotWidth, 1, 1000, 5},
      {CLocalMapDlg::kRobotLength, 1, 10000, 5},     {CLocalMapDlg::kWallX, 0.1, 10000, 1},
      {CLocalMapDlg::kWallStart, -10000, 10000, 1},  {CLocalMapDlg::kWallEnd, -10000, 10000, 1},
  };
  for (const Range& r : ranges) {
    CKestSpinEdit* edit = dialog->GetEdit(r.edit);
    EXPECT_FALSE(edit->IsInteger()) << r.edit;
    EXPECT_EQ(r.minimum, edit->GetMinimum()) << r.edit;
    EXPECT_EQ(r.maximum, edit->GetMaximum()) << r.edit;
    EXPECT_EQ(r.step, edit->GetStep()) << r.edit;
    EXPECT_EQ(100, edit->GetWidth()) << r.edit;
  }
  // The headers: white bold Arial on dark grey, and every field's label.
  std::vector<std::wstring> headers, labels;
  for (HWND child : Descendants(dialog->GetHandle())) {
    auto* label = dynamic_cast<CKestLabel*>(GetControlFromHandle(child));
    if (!label) continue;
    if (label->GetBackColor() != RGB(102, 102, 102)) {
      labels.push_back(velktest::WindowText(child));
      continue;
    }
    headers.push_back(velktest::WindowText(child));
    EXPECT_EQ(RGB(255, 255, 255), label->GetTextColor());
    LOGFONTW font = {};
    ASSERT_NE(nullptr, label->GetFont());
    GetObjectW(label->GetFont()->GetHandle(), sizeof font, &font);
    EXPECT_EQ(-12, font.lfHeight);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_STREQ(L"Arial", font.lfFaceName);
  }
  EXPECT_EQ((std::vector<std::wstring>{L"Размеры карты", L"Робот", L"Виртуальные стены", L"Сенсоры",
                                       L"Зоны анализа"}),
            headers);
  EXPECT_EQ((std::vector<std::wstring>{L"Полуширина, см:", L"Передняя граница, см:", L"Задняя граница, см:",
                                       L"Ширина, cм:", L"Длина, см:", L"Положение X, см:", L"Начало по Y, см:",
                                       L"Конец по Y, см:"}),
            labels);
  EXPECT_EQ(L"Отображать робота", velktest::WindowText(dialog->GetShowRobot()->GetHandle()));
  EXPECT_EQ(L"Использовать виртуальные стены", velktest::WindowText(dialog->GetWallsOn()->GetHandle()));

  const wchar_t* sensorColumns[] = {L"№", L"Тип", L"X [см]", L"Y [см]", L"A [°]", L"FOV [°]", L"Zmin [см]",
                                    L"Zmax [см]"};
  const int sensorWidths[] = {30, 80, 60, 60, 60, 60, 60, 60};
  HWND sensors = dialog->GetSensorList()->GetHandle();
  for (int c = 0; c < 8; ++c) {
    wchar_t text[32] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = 32;
    ASSERT_TRUE(ListView_GetColumn(sensors, c, &column)) << c;
    EXPECT_STREQ(sensorColumns[c], text);
    EXPECT_EQ(sensorWidths[c], column.cx) << c;
  }
  EXPECT_EQ(80, ListView_GetColumnWidth(dialog->GetZoneList()->GetHandle(), 0));
  EXPECT_EQ(200, ListView_GetColumnWidth(dialog->GetZoneList()->GetHandle(), 1));
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(sensors) & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(GetWindowLongW(sensors, GWL_STYLE) & LVS_SINGLESEL);

  // The lists' menus: the sensor menu's items and shortcuts, both defaults.
  CKestPopupMenu* menu = dialog->GetSensorMenu();
  ASSERT_EQ(8, menu->GetItemCount());
  const UINT ids[] = {kLocalMapCmdEditSensor, 0, kLocalMapCmdAddSensor, kLocalMapCmdDeleteSensor,
                      kLocalMapCmdSensorUp, kLocalMapCmdSensorDown, 0, kLocalMapCmdDeleteAllSensors};
  for (int i = 0; i < 8; ++i)
    if (ids[i]) {
      EXPECT_EQ(static_cast<int>(ids[i]), CKestMenu::GetItemId(menu->GetHandle(), i)) << i;
    }
  EXPECT_EQ(static_cast<int>(kLocalMapCmdSensorUp), menu->FindShortcut(VK_UP, KEST_MOD_CTRL));
  EXPECT_EQ(static_cast<int>(kLocalMapCmdEditSensor), menu->FindShortcut(VK_RETURN, 0));
  EXPECT_EQ(0, static_cast<int>(GetMenuDefaultItem(menu->GetHandle(), TRUE, 0)));
  EXPECT_EQ(static_cast<int>(kLocalMapCmdDeleteZone), dialog->GetZoneMenu()->FindShortcut(VK_DELETE, 0));
  EXPECT_EQ(static_cast<int>(kLocalMapCmdZoneDown), dialog->GetZoneMenu()->FindShortcut(VK_DOWN, KEST_MOD_CTRL));
}

TEST_F(LocalMapDialogTest, SelectingARowEnablesItsButtonsAndPopupItems) {
  SetZones({{1u, 0, 0, 0.1f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  CKestPopupMenu* menu = dialog->GetZoneMenu();
  Select(dialog->GetZoneList(), 0);
  EXPECT_EQ(0, dialog->GetCurrentZone());
  for (UINT id : {kLocalMapCmdDeleteZone, kLocalMapCmdZoneUp, kLocalMapCmdZoneDown})
    EXPECT_TRUE(dialog->GetButton(id)->IsEnabled()) << id;
  for (int position : {0, 3, 4, 5}) EXPECT_TRUE(MenuItemEnabled(menu, position)) << position;
  dialog->GetZoneList()->SelectItem(0, false);
  velktest::FlushEvents();
  EXPECT_EQ(-1, dialog->GetCurrentZone());
  EXPECT_FALSE(dialog->GetButton(kLocalMapCmdDeleteZone)->IsEnabled());
  for (int position : {0, 3, 4, 5}) EXPECT_FALSE(MenuItemEnabled(menu, position)) << position;
  EXPECT_TRUE(MenuItemEnabled(menu, 2)) << "add";
  EXPECT_TRUE(MenuItemEnabled(menu, 7)) << "delete all";

  Select(dialog->GetSensorList(), 0);
  EXPECT_EQ(0, dialog->GetCurrentSensor());
  EXPECT_TRUE(dialog->GetButton(kLocalMapCmdDeleteSensor)->IsEnabled());
  EXPECT_TRUE(MenuItemEnabled(dialog->GetSensorMenu(), 0));
}

TEST_F(LocalMapDialogTest, LayerTextsListTheSensorsOfTheMask) {
  struct Case {
    uint32_t mask;
    const wchar_t* text;
  };
  const Case cases[] = {{0u, L""}, {0x5u, L"1, 3"}, {0x80000000u, L"32"}, {0xFFFFFFFFu, kAllLayers},
                        {0x80000201u, L"1, 10, 32"}};
  for (const Case& c : cases) {
    wchar_t text[kLocalMapLayersChars];
    CLocalMapDlg::FormatLayers(c.mask, text, kLocalMapLayersChars);
    EXPECT_EQ(std::wstring(c.text), text) << std::hex << c.mask;
  }
}

TEST_F(LocalMapDialogTest, MasksFollowTheirSensorsWhenOneGoesOrMoves) {
  struct Case {
    uint32_t mask;
    int k;
    uint32_t without, swapped;  // sensor k removed; k and k + 1 exchanged
  };
  const Case cases[] = {
      {0x7u, 1, 0x3u, 0x7u},  {0x6u, 1, 0x2u, 0x6u},  {0x2u, 0, 0x1u, 0x1u},
      {0x1u, 0, 0x0u, 0x2u},  {0x80000000u, 31, 0x0u, 0x0u}, {0xFFFFFFFFu, 0, 0x7FFFFFFFu, 0xFFFFFFFFu},
      {0x80000001u, 30, 0x40000001u, 0x40000001u}, {0xC0000000u, 31, 0x40000000u, 0x40000000u},
      {0x5u, 32, 0x5u, 0x5u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.without, CLocalMapDlg::MaskWithoutSensor(c.mask, c.k)) << std::hex << c.mask << " " << c.k;
    EXPECT_EQ(c.swapped, CLocalMapDlg::MaskWithSensorsSwapped(c.mask, c.k)) << std::hex << c.mask << " " << c.k;
  }
}

// ---------------------------------------------------------------- sensors

TEST_F(LocalMapDialogTest, AddingASensorOpensItsEditorAndCancellingKeepsTheDefaults) {
  CLocalMapDlg* dialog = Open();
  bool seen = false;
  CommandWith(dialog, kLocalMapCmdAddSensor, {On<CLocalMapSensorEditor>([&](CLocalMapSensorEditor* editor) {
                seen = true;
                EXPECT_EQ(L"Сенсор 2", velktest::WindowText(editor->GetHandle()));
                EXPECT_EQ(GetWindow(editor->GetHandle(), GW_OWNER), dialog->GetHandle());
                EXPECT_FALSE(editor->IsSector());
                EXPECT_DOUBLE_EQ(30, editor->GetValue(CLocalMapSensorEditor::kY));
                EXPECT_DOUBLE_EQ(500, editor->GetValue(CLocalMapSensorEditor::kZMax));
                EXPECT_TRUE(velktest::SaveScreenshot(editor->GetHandle(), L"dialogs_local_map_sensor.bmp"));
                Press(editor->GetCancelButton());
              })});
  EXPECT_TRUE(seen);
  CKestListView* sensors = dialog->GetSensorList();
  ASSERT_EQ(2, sensors->GetItemCount());
  EXPECT_EQ((std::vector<std::wstring>{L"2", L"Дальн.", L"0", L"30", L"0", L"60", L"4", L"500"}), Row(sensors, 1));
  EXPECT_EQ(1, sensors->GetSelectedIndex());
}

TEST_F(LocalMapDialogTest, TheSensorEditorClampsWhatTheRowHoldsAndWritesItBack) {
  CLocalMapDlg* dialog = Open();
  CKestListView* sensors = dialog->GetSensorList();
  sensors->SetItemText(0, CLocalMapDlg::kSensorA, L"250");
  sensors->SetItemText(0, CLocalMapDlg::kSensorX, L"abc");
  Select(sensors, 0);
  CommandWith(dialog, kLocalMapCmdEditSensor, {On<CLocalMapSensorEditor>([&](CLocalMapSensorEditor* editor) {
                EXPECT_EQ(L"Сенсор 1", velktest::WindowText(editor->GetHandle()));
                EXPECT_TRUE(editor->IsSector());
                EXPECT_DOUBLE_EQ(180, editor->GetValue(CLocalMapSensorEditor::kAngle));
                EXPECT_DOUBLE_EQ(0, editor->GetValue(CLocalMapSensorEditor::kX)) << "no number reads as 0";
                editor->GetKind()->SetSelectedIndex(0);
                editor->GetEdit(CLocalMapSensorEditor::kZMin)->SetValue(700);  // beyond Zmax: kept
                Press(editor->GetOkButton());
              })});
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"Дальн.", L"0", L"30", L"180", L"60", L"700", L"500"}),
            Row(sensors, 0));
}

TEST_F(LocalMapDialogTest, DeletingASensorKeepsTheNumbersAndRenumbersTheMasks) {
  SetSensors(3);
  SetZones({{0x7u, 0, 0, 0.1f, 0.1f}, {0x6u, 0, 0, 0.1f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  CKestListView* sensors = dialog->GetSensorList();
  Select(sensors, 1);
  Command(dialog, kLocalMapCmdDeleteSensor);
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"3"}), Column(sensors, 0));
  EXPECT_EQ(L"3", Cell(sensors, 1, CLocalMapDlg::kSensorX)) << "the third sensor's row";
  EXPECT_FALSE(dialog->GetButton(kLocalMapCmdDeleteSensor)->IsEnabled());
  // Both zones still count the sensors they counted: 1 and 3 (now 1 and
  // 2), and 3 (now 2).
  EXPECT_EQ(0x3u, dialog->ZoneAt(0)->layerMask);
  EXPECT_EQ(0x2u, dialog->ZoneAt(1)->layerMask);
  EXPECT_EQ((std::vector<std::wstring>{L"1, 2", L"2"}), Column(dialog->GetZoneList(), 1));
  // The next sensor is numbered by the row count.
  CommandWith(dialog, kLocalMapCmdAddSensor,
              {On<CLocalMapSensorEditor>([](CLocalMapSensorEditor* e) { Press(e->GetCancelButton()); })});
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"3", L"3"}), Column(sensors, 0));
  Command(dialog, kLocalMapCmdDeleteSensor);  // the new row, selected
  EXPECT_EQ(2, sensors->GetItemCount());
  // Without a selection nothing goes.
  sensors->SelectItem(0, false);
  velktest::FlushEvents();
  Command(dialog, kLocalMapCmdDeleteSensor);
  EXPECT_EQ(2, sensors->GetItemCount());
}

TEST_F(LocalMapDialogTest, MovingASensorExchangesItsValuesAndItsMaskBits) {
  SetSensors(2);
  SetZones({{0x1u, 0, 0, 0.1f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  CKestListView* sensors = dialog->GetSensorList();
  Select(sensors, 1);
  Command(dialog, kLocalMapCmdSensorUp);
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"2"}), Column(sensors, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"2", L"1"}), Column(sensors, CLocalMapDlg::kSensorX));
  EXPECT_EQ(0, sensors->GetSelectedIndex());
  EXPECT_EQ(L"2", Cell(dialog->GetZoneList(), 0, 1)) << "the zone still counts the first sensor, now second";
  Command(dialog, kLocalMapCmdSensorUp);  // at the top: nothing
  EXPECT_EQ((std::vector<std::wstring>{L"2", L"1"}), Column(sensors, CLocalMapDlg::kSensorX));
  Command(dialog, kLocalMapCmdSensorDown);
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"2"}), Column(sensors, CLocalMapDlg::kSensorX));
  EXPECT_EQ(L"1", Cell(dialog->GetZoneList(), 0, 1));
  EXPECT_EQ(1, sensors->GetSelectedIndex());
}

TEST_F(LocalMapDialogTest, NoMoreSensorsThanAMaskCanAddressAreTaken) {
  SetSensors(kLocalMapMaskSensors);
  CLocalMapDlg* dialog = Open();
  velktest::DialogAnswerer answerer(IDOK);
  Command(dialog, kLocalMapCmdAddSensor);
  EXPECT_EQ(kLocalMapMaskSensors, dialog->GetSensorList()->GetItemCount());
  ASSERT_EQ(1, answerer.Count());
  EXPECT_EQ(L"Внимание", answerer.Captions()[0]);
  EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(L"32"));
}

TEST_F(LocalMapDialogTest, DeletingAllSensorsAsksFirst) {
  SetSensors(2);
  SetZones({{0x3u, 0, 0, 0.1f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  {
    velktest::DialogAnswerer answerer(IDNO);
    Command(dialog, kLocalMapCmdDeleteAllSensors);
    ASSERT_EQ(1, answerer.Count());
    EXPECT_EQ(L"Внимание", answerer.Captions()[0]);
    EXPECT_EQ(L"Удалить все сенсоры?", answerer.Texts()[0]);
    EXPECT_EQ(2, dialog->GetSensorList()->GetItemCount());
  }
  velktest::DialogAnswerer answerer(IDYES);
  Command(dialog, kLocalMapCmdDeleteAllSensors);
  EXPECT_EQ(0, dialog->GetSensorList()->GetItemCount());
  EXPECT_EQ(0u, dialog->ZoneAt(0)->layerMask) << "no sensor is left to count";
  EXPECT_EQ(L"", Cell(dialog->GetZoneList(), 0, 1));
}

// ---------------------------------------------------------------- zones

TEST_F(LocalMapDialogTest, AddingAZoneAndCancellingItsEditorKeepsTheDefaultZone) {
  CLocalMapDlg* dialog = Open();
  CommandWith(dialog, kLocalMapCmdAddZone, {On<CLocalMapZoneEditor>([&](CLocalMapZoneEditor* editor) {
                EXPECT_EQ(L"Зона 1", velktest::WindowText(editor->GetHandle()));
                EXPECT_NEAR(-20, editor->GetEdit(CLocalMapZoneEditor::kX1)->GetValue(), 1e-4);
                EXPECT_NEAR(50, editor->GetEdit(CLocalMapZoneEditor::kY1)->GetValue(), 1e-4);
                EXPECT_NEAR(20, editor->GetEdit(CLocalMapZoneEditor::kX2)->GetValue(), 1e-4);
                EXPECT_NEAR(100, editor->GetEdit(CLocalMapZoneEditor::kY2)->GetValue(), 1e-4);
                ASSERT_EQ(32, editor->GetLayers()->GetItemCount());
                EXPECT_EQ(L"Слой 0", velktest::WindowText(editor->GetLayers()->GetItem(0)->GetHandle()));
                EXPECT_EQ(L"Слой 31", velktest::WindowText(editor->GetLayers()->GetItem(31)->GetHandle()));
                for (int j = 0; j < 32; ++j) EXPECT_TRUE(editor->GetLayers()->IsItemChecked(j)) << j;
                EXPECT_TRUE(velktest::SaveScreenshot(editor->GetHandle(), L"dialogs_local_map_zone.bmp"));
                Press(editor->GetCancelButton());
              })});
  CKestListView* zones = dialog->GetZoneList();
  ASSERT_EQ(1, zones->GetItemCount());
  EXPECT_EQ(L"Зона 1", Cell(zones, 0, 0));
  EXPECT_EQ(kAllLayers, Cell(zones, 0, 1));
  const LocalMapZone* zone = dialog->ZoneAt(0);
  ASSERT_NE(nullptr, zone);
  EXPECT_EQ(0xFFFFFFFFu, zone->layerMask);
  EXPECT_EQ(-0.2f, zone->xMin);
  EXPECT_EQ(0.2f, zone->xMax);
  EXPECT_EQ(0.5f, zone->yMin);
  EXPECT_EQ(1.0f, zone->yMax);
  EXPECT_EQ(0, dialog->GetCurrentZone());
  EXPECT_EQ(0, zones->GetSelectedIndex());
}

TEST_F(LocalMapDialogTest, TheZoneEditorKeepsTheZoneOpenAndRebuildsTheMask) {
  SetZones({{0xFFFFFFFFu, -0.2f, 0.5f, 0.2f, 1.0f}});
  CLocalMapDlg* dialog = Open();
  Select(dialog->GetZoneList(), 0);
  CommandWith(dialog, kLocalMapCmdEditZone, {On<CLocalMapZoneEditor>([&](CLocalMapZoneEditor* editor) {
                editor->GetEdit(CLocalMapZoneEditor::kX2)->SetValue(-50);  // below X1
                editor->GetEdit(CLocalMapZoneEditor::kY2)->SetValue(80);
                for (int j = 0; j < 32; ++j) editor->GetLayers()->SetItemChecked(j, j == 0 || j == 2);
                Press(editor->GetOkButton());
              })});
  const LocalMapZone* zone = dialog->ZoneAt(0);
  EXPECT_EQ(-0.2f, zone->xMin);
  EXPECT_EQ(RoundToFloat(-0.2f + 0.01), zone->xMax);
  EXPECT_EQ(0.5f, zone->yMin);
  EXPECT_EQ(0.8f, zone->yMax);
  EXPECT_EQ(0x5u, zone->layerMask);
  EXPECT_EQ(L"1, 3", Cell(dialog->GetZoneList(), 0, 1));
}

TEST_F(LocalMapDialogTest, DeletingAZoneRenumbersTheCaptions) {
  SetZones({{1u, 0.1f, 0, 0.2f, 0.1f}, {2u, 0.2f, 0, 0.3f, 0.1f}, {4u, 0.3f, 0, 0.4f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  CKestListView* zones = dialog->GetZoneList();
  Select(zones, 1);
  Command(dialog, kLocalMapCmdDeleteZone);
  EXPECT_EQ((std::vector<std::wstring>{L"Зона 1", L"Зона 2"}), Column(zones, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"3"}), Column(zones, 1));
  EXPECT_EQ(0.3f, dialog->ZoneAt(1)->xMin);
  EXPECT_FALSE(dialog->GetButton(kLocalMapCmdDeleteZone)->IsEnabled());
  // Del in the list is the popup's shortcut.
  Select(zones, 0);
  SendMessageW(zones->GetHandle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ((std::vector<std::wstring>{L"Зона 1"}), Column(zones, 0));
  EXPECT_EQ(L"3", Cell(zones, 0, 1));
}

TEST_F(LocalMapDialogTest, MovingAZoneExchangesItsRecordAndLayersButNotItsCaption) {
  SetZones({{1u, 0.1f, 0, 0.2f, 0.1f}, {2u, 0.2f, 0, 0.3f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  CKestListView* zones = dialog->GetZoneList();
  Select(zones, 1);
  Command(dialog, kLocalMapCmdZoneUp);
  EXPECT_EQ((std::vector<std::wstring>{L"Зона 1", L"Зона 2"}), Column(zones, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"2", L"1"}), Column(zones, 1));
  EXPECT_EQ(0.2f, dialog->ZoneAt(0)->xMin);
  EXPECT_EQ(0, zones->GetSelectedIndex());
  EXPECT_EQ(0, dialog->GetCurrentZone());
  Command(dialog, kLocalMapCmdZoneDown);
  EXPECT_EQ(0.1f, dialog->ZoneAt(0)->xMin);
  EXPECT_EQ(1, zones->GetSelectedIndex());
}

TEST_F(LocalMapDialogTest, DeletingAllZonesAsksFirst) {
  SetZones({{1u, 0.1f, 0, 0.2f, 0.1f}, {2u, 0.2f, 0, 0.3f, 0.1f}});
  CLocalMapDlg* dialog = Open();
  {
    velktest::DialogAnswerer answerer(IDNO);
    Command(dialog, kLocalMapCmdDeleteAllZones);
    ASSERT_EQ(1, answerer.Count());
    EXPECT_EQ(L"Внимание", answerer.Captions()[0]);
    EXPECT_EQ(L"Удалить все зоны?", answerer.Texts()[0]);
    EXPECT_EQ(2, dialog->GetZoneList()->GetItemCount());
  }
  velktest::DialogAnswerer answerer(IDYES);
  Command(dialog, kLocalMapCmdDeleteAllZones);
  EXPECT_EQ(0, dialog->GetZoneList()->GetItemCount());
  EXPECT_EQ(-1, dialog->GetCurrentZone());
}

// ---------------------------------------------------------------- writing back

TEST_F(LocalMapDialogTest, OkWritesEveryFieldTheListsAndThePins) {
  SetZones({{0x5u, -0.1f, 0.2f, 0.3f, 0.4f}});
  bool answer = ModalSteps::Run([&] { return map->ShowProperties(); },
                                {On<CLocalMapDlg>([](CLocalMapDlg* dialog) {
                                   const double values[] = {150, 300, -50, 40, 80, 25, 30, -30};
                                   for (int i = 0; i < CLocalMapDlg::kEditCount; ++i)
                                     dialog->GetEdit(static_cast<CLocalMapDlg::Edit>(i))->SetValue(values[i]);
                                   dialog->GetShowRobot()->SetChecked(false);
                                   dialog->GetWallsOn()->SetChecked(false);
                                   PostMessageW(dialog->GetHandle(), WM_COMMAND, kLocalMapCmdAddSensor, 0);
                                 }),
                                 On<CLocalMapSensorEditor>([](CLocalMapSensorEditor* editor) {
                                   editor->GetEdit(CLocalMapSensorEditor::kX)->SetValue(-12.5);
                                   Press(editor->GetOkButton());
                                 }),
                                 On<CLocalMapDlg>([](CLocalMapDlg* dialog) { Press(dialog->GetOkButton()); })});
  EXPECT_TRUE(answer);
  const LocalMapModel& model = map->model;
  EXPECT_EQ(1.5f, model.halfWidth);
  EXPECT_EQ(3.0f, model.frontBound);
  EXPECT_EQ(-0.5f, model.rearBound);
  EXPECT_EQ(0, model.showRobot);
  EXPECT_EQ(0.4f, model.robotWidth);
  EXPECT_EQ(0.8f, model.robotLength);
  EXPECT_EQ(0, model.virtualWalls);
  EXPECT_EQ(0.25f, model.wallX);
  EXPECT_EQ(0.3f, model.wallYStart);
  EXPECT_EQ(-0.3f, model.wallYEnd);
  ASSERT_EQ(1, model.zoneCount);
  EXPECT_EQ(0x5u, model.zones[0].layerMask);
  EXPECT_EQ(-0.1f, model.zones[0].xMin);
  EXPECT_EQ(0.4f, model.zones[0].yMax);
  ASSERT_EQ(2, map->sensorCount);
  const LocalMapSensor& sector = map->sensors[0];
  EXPECT_EQ(1, sector.kind);
  EXPECT_EQ(0.0f, sector.x);
  EXPECT_EQ(0.3f, sector.y);
  EXPECT_EQ(0.0f, sector.angle);
  EXPECT_EQ(static_cast<float>(60 * 3.141592653589793 / 180), sector.fov);
  EXPECT_EQ(0.04f, sector.zMin);
  EXPECT_EQ(5.0f, sector.zMax);
  const LocalMapSensor& finder = map->sensors[1];
  EXPECT_EQ(0, finder.kind) << "\"Дальн.\"";
  EXPECT_EQ(-0.125f, finder.x);
  // Three fixed inputs and five per sensor; "locmap" and one per zone.
  EXPECT_EQ(3 + 2 * 5, map->inputCount);
  ASSERT_EQ(2, map->outputCount);
  EXPECT_STREQ(L"locmap", map->Output(0)->name);
}

TEST_F(LocalMapDialogTest, OkOnAnEmptyBlockWritesZeroCounts) {
  ASSERT_TRUE(map->SetSensorCount(0));
  ASSERT_TRUE(map->BuildPins());
  bool answer = ModalSteps::Run([&] { return map->ShowProperties(); },
                                {On<CLocalMapDlg>([](CLocalMapDlg* dialog) {
                                  EXPECT_EQ(0, dialog->GetSensorList()->GetItemCount());
                                  EXPECT_EQ(0, dialog->GetZoneList()->GetItemCount());
                                  Press(dialog->GetOkButton());
                                })});
  EXPECT_TRUE(answer);
  EXPECT_EQ(0, map->sensorCount);
  EXPECT_EQ(0, map->model.zoneCount);
  EXPECT_EQ(3, map->inputCount);
  ASSERT_EQ(1, map->outputCount);
  EXPECT_STREQ(L"locmap", map->Output(0)->name);
}

TEST_F(LocalMapDialogTest, CancelEscapeAndTheCloseBoxWriteNothing) {
  SetZones({{0x5u, -0.1f, 0.2f, 0.3f, 0.4f}});
  std::vector<uint8_t> before = blocktest::RecordBytes(map);
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    bool answer = ModalSteps::Run([&] { return map->ShowProperties(); },
                                  {On<CLocalMapDlg>([way](CLocalMapDlg* dialog) {
                                    dialog->GetEdit(CLocalMapDlg::kHalfWidth)->SetValue(500);
                                    Select(dialog->GetZoneList(), 0);
                                    SendMessageW(dialog->GetHandle(), WM_COMMAND, kLocalMapCmdDeleteZone, 0);
                                    Select(dialog->GetSensorList(), 0);
                                    SendMessageW(dialog->GetHandle(), WM_COMMAND, kLocalMapCmdDeleteSensor, 0);
                                    if (way == 0) Press(dialog->GetCancelButton());
                                    if (way == 1) PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                                    if (way == 2) PostMessageW(dialog->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                  })});
    EXPECT_FALSE(answer);
    EXPECT_EQ(before, blocktest::RecordBytes(map));
  }
}

// ---------------------------------------------------------------- preview

TEST_F(LocalMapDialogTest, ScaleAndConversionsFollowThePreviewAndTheMap) {
  CLocalMapDlg* dialog = Open();
  // 100 cm half width, 200 front, -100 rear in 400 x 300: the height
  // limits (1 m is not above 200 x 3 / 300 = 2 m).
  SizePreview(dialog, 400, 300);
  EXPECT_EQ(200, dialog->GetPreviewCentreX());
  EXPECT_EQ(300, dialog->GetPreviewHeight());
  EXPECT_EQ(100.0f, dialog->GetPreviewScale());
  EXPECT_EQ(200, dialog->GetPreviewOriginY());
  EXPECT_EQ(200, dialog->MetresToPixelX(0));
  EXPECT_EQ(100, dialog->MetresToPixelX(-1));
  EXPECT_EQ(300, dialog->MetresToPixelX(1));
  EXPECT_EQ(0, dialog->MetresToPixelY(2));
  EXPECT_EQ(300, dialog->MetresToPixelY(-1));
  EXPECT_EQ(200, dialog->MetresToPixelY(0));
  EXPECT_EQ(-0.5f, dialog->PixelToMetresX(150));
  EXPECT_EQ(1.5f, dialog->PixelToMetresY(50));
  // Truncation is towards zero on both sides.
  EXPECT_EQ(200 - 1, dialog->MetresToPixelX(-0.019f));
  EXPECT_EQ(200 + 1, dialog->MetresToPixelX(0.019f));

  // A half width of 5 m does not fit across: the width limits,
  // 200 / 5 = 40 pixels per metre, origin 300 + 300 x -1 / 3 = 200.
  dialog->GetEdit(CLocalMapDlg::kHalfWidth)->SetValue(500);
  dialog->UpdatePreviewScale();
  EXPECT_EQ(40.0f, dialog->GetPreviewScale());
  EXPECT_EQ(200, dialog->GetPreviewOriginY());
  EXPECT_EQ(0, dialog->MetresToPixelX(-5));
}

TEST_F(LocalMapDialogTest, TheGridStepFollowsTheHeightInView) {
  struct Case {
    double metres;
    int step;
  };
  const Case cases[] = {{0.25, 5}, {0.3, 5}, {0.31, 10}, {0.6, 10}, {1, 20},    {2, 50},
                        {3, 50},   {6, 50},  {6.5, 100}, {10, 100}, {12, 200}, {100, 200}};
  for (const Case& c : cases) EXPECT_EQ(c.step, CLocalMapDlg::GridStep(c.metres)) << c.metres;
}

TEST(PaintAlphaRectTest, BlendsTheColourOverThePixelsAndFramesThem) {
  CKestOwnedDC dc(CreateCompatibleDC(nullptr));
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  CKestOwnedBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bitmap);
  SelectObject(dc.Get(), bitmap.Get());
  RECT all = {0, 0, 20, 20};
  FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  CKestOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
  HGDIOBJ oldPen = SelectObject(dc.Get(), pen.Get());
  // Corners in any order; (255 x 204 + 102 x 52) >> 8 = 223.
  PaintAlphaRect(dc.Get(), 15, 15, 5, 5, RGB(255, 102, 102), 204);
  EXPECT_EQ(RGB(255, 223, 223), GetPixel(dc.Get(), 10, 10));
  EXPECT_EQ(RGB(255, 223, 223), GetPixel(dc.Get(), 6, 13));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc.Get(), 5, 5)) << "the frame, with the current pen";
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc.Get(), 14, 14));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc.Get(), 15, 15)) << "outside";
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc.Get(), 4, 10));
  // The current zone's colour, weight 153 over the first blend:
  // (255 x 153 + 204 x 103) >> 8 = 234, (223 x 153) >> 8 = 133.
  PaintAlphaRect(dc.Get(), 5, 5, 15, 15, RGB(204, 0, 0), 153);
  EXPECT_EQ(RGB(234, 133, 133), GetPixel(dc.Get(), 10, 10));
  // An empty rectangle only gets its frame call; nothing breaks.
  PaintAlphaRect(dc.Get(), 3, 3, 3, 3, RGB(0, 0, 0), 128);
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc.Get(), 2, 2));
  SelectObject(dc.Get(), oldPen);
}

TEST_F(LocalMapDialogTest, HitTestFindsCornersEdgesAndInsidesLastRowFirst) {
  SetZones({{1u, -0.5f, 0.5f, 0.5f, 1.5f}});
  CLocalMapDlg* dialog = Open();
  SizePreview(dialog, 400, 300);
  // The zone spans x 150..250 and y 50 (top, 1.5 m) .. 150 (bottom, 0.5 m).
  struct Case {
    int x, y, code;
  };
  const Case cases[] = {
      {143, 43, 1},  {157, 57, 1},  {142, 50, -1}, {150, 42, -1}, {250, 50, 3},  {250, 150, 5}, {150, 150, 7},
      {200, 50, 2},  {250, 100, 4}, {200, 150, 6}, {150, 100, 8}, {200, 100, 0}, {300, 100, -1}, {200, 160, -1},
  };
  for (const Case& c : cases) {
    int zone = 42;
    EXPECT_EQ(c.code, dialog->HitTestZone(c.x, c.y, &zone)) << c.x << "," << c.y;
    EXPECT_EQ(c.code < 0 ? 42 : 0, zone) << c.x << "," << c.y;
    EXPECT_EQ(c.code, dialog->HitTestZone(c.x, c.y, nullptr));
  }
  // A second zone over the first: the later row wins.
  CommandWith(dialog, kLocalMapCmdAddZone,
              {On<CLocalMapZoneEditor>([](CLocalMapZoneEditor* e) {
                e->GetEdit(CLocalMapZoneEditor::kX1)->SetValue(-10);
                e->GetEdit(CLocalMapZoneEditor::kY1)->SetValue(60);
                e->GetEdit(CLocalMapZoneEditor::kX2)->SetValue(10);
                e->GetEdit(CLocalMapZoneEditor::kY2)->SetValue(140);
                Press(e->GetOkButton());
              })});
  ASSERT_EQ(2, dialog->GetZoneList()->GetItemCount());
  EXPECT_EQ(-0.1f, dialog->ZoneAt(1)->xMin);
  SizePreview(dialog, 400, 300);  // the form laid itself out again meanwhile
  int zone = -1;
  EXPECT_EQ(0, dialog->HitTestZone(200, 100, &zone));
  EXPECT_EQ(1, zone);
  EXPECT_EQ(0, dialog->HitTestZone(170, 100, &zone));
  EXPECT_EQ(0, zone);
}

TEST_F(LocalMapDialogTest, DraggingMovesAndResizesTheZoneCopy) {
  SetZones({{1u, -0.5f, 0.5f, 0.5f, 1.5f}});
  CLocalMapDlg* dialog = Open();
  SizePreview(dialog, 400, 300);
  HWND window = dialog->GetHandle(), preview = dialog->GetPreview()->GetHandle();
  auto mouse = [&](UINT message, int x, int y) {
    SendMessageW(window, message, reinterpret_cast<WPARAM>(preview), MAKELPARAM(x, y));
  };
  // Hovering sets the cursor of the handle.
  mouse(WM_KEST_MOUSEMOVE, 200, 100);
  EXPECT_EQ(KestCursorMove, dialog->GetPreview()->GetCursorIndex());
  mouse(WM_KEST_MOUSEMOVE, 150, 50);
  EXPECT_EQ(KestCursorSizeNwSe, dialog->GetPreview()->GetCursorIndex());
  mouse(WM_KEST_MOUSEMOVE, 250, 50);
  EXPECT_EQ(KestCursorSizeNeSw, dialog->GetPreview()->GetCursorIndex());
  mouse(WM_KEST_MOUSEMOVE, 200, 150);
  EXPECT_EQ(KestCursorSizeNs, dialog->GetPreview()->GetCursorIndex());
  mouse(WM_KEST_MOUSEMOVE, 250, 100);
  EXPECT_EQ(KestCursorSizeWe, dialog->GetPreview()->GetCursorIndex());
  mouse(WM_KEST_MOUSEMOVE, 350, 100);
  EXPECT_EQ(KestCursorArrow, dialog->GetPreview()->GetCursorIndex());

  // The inside moves the whole zone: 10 pixels right and up.
  mouse(WM_KEST_LBUTTONDOWN, 200, 100);
  velktest::FlushEvents();
  EXPECT_EQ(CLocalMapDlg::kHandleInside, dialog->GetDragHandle());
  EXPECT_EQ(0, dialog->GetCurrentZone());
  EXPECT_EQ(0, dialog->GetZoneList()->GetSelectedIndex());
  mouse(WM_KEST_MOUSEMOVE, 210, 90);
  const LocalMapZone* zone = dialog->ZoneAt(0);
  EXPECT_FLOAT_EQ(-0.4f, zone->xMin);
  EXPECT_FLOAT_EQ(0.6f, zone->xMax);
  EXPECT_FLOAT_EQ(0.6f, zone->yMin);
  EXPECT_FLOAT_EQ(1.6f, zone->yMax);
  mouse(WM_KEST_LBUTTONUP, 210, 90);
  EXPECT_EQ(CLocalMapDlg::kHandleNone, dialog->GetDragHandle());
  EXPECT_EQ(L"Зона 1", Cell(dialog->GetZoneList(), 0, 0)) << "the row's texts stay";

  // The left edge to a pixel.
  mouse(WM_KEST_LBUTTONDOWN, dialog->MetresToPixelX(zone->xMin), 100);
  EXPECT_EQ(CLocalMapDlg::kHandleLeft, dialog->GetDragHandle());
  mouse(WM_KEST_MOUSEMOVE, 120, 100);
  EXPECT_EQ(-0.8f, zone->xMin);
  mouse(WM_KEST_LBUTTONUP, 120, 100);

  // The bottom edge dragged above the top stops 1 cm under it.
  int bottom = dialog->MetresToPixelY(zone->yMin);
  mouse(WM_KEST_LBUTTONDOWN, 200, bottom);
  EXPECT_EQ(CLocalMapDlg::kHandleBottom, dialog->GetDragHandle());
  mouse(WM_KEST_MOUSEMOVE, 200, 10);
  EXPECT_EQ(1.9f, zone->yMin);
  EXPECT_EQ(RoundToFloat(1.9f + 0.01), zone->yMax);
  mouse(WM_KEST_LBUTTONUP, 200, 10);

  // A press outside every zone drops the current zone, not the selection.
  mouse(WM_KEST_LBUTTONDOWN, 390, 290);
  EXPECT_EQ(-1, dialog->GetCurrentZone());
  EXPECT_EQ(0, dialog->GetZoneList()->GetSelectedIndex());
  mouse(WM_KEST_MOUSEMOVE, 300, 100);
  EXPECT_EQ(-0.8f, zone->xMin) << "no drag";
  mouse(WM_KEST_LBUTTONUP, 300, 100);
}

TEST_F(LocalMapDialogTest, CopyAndMirroredCopyAppendTheCurrentZone) {
  SetZones({{0x5u, -0.1f, 0.2f, 0.3f, 0.6f}});
  CLocalMapDlg* dialog = Open();
  Command(dialog, kLocalMapCmdMirrorZone);  // no current zone: nothing
  EXPECT_EQ(1, dialog->GetZoneList()->GetItemCount());
  Select(dialog->GetZoneList(), 0);
  Command(dialog, kLocalMapCmdMirrorZone);
  CKestListView* zones = dialog->GetZoneList();
  ASSERT_EQ(2, zones->GetItemCount());
  EXPECT_EQ(L"Зона 2", Cell(zones, 1, 0));
  EXPECT_EQ(L"1, 3", Cell(zones, 1, 1));
  const LocalMapZone* mirrored = dialog->ZoneAt(1);
  EXPECT_EQ(-0.3f, mirrored->xMin);
  EXPECT_EQ(0.1f, mirrored->xMax);
  EXPECT_EQ(0.2f, mirrored->yMin);
  EXPECT_EQ(0.6f, mirrored->yMax);
  EXPECT_EQ(0x5u, mirrored->layerMask);
  EXPECT_EQ(1, dialog->GetCurrentZone());
  EXPECT_EQ(1, zones->GetSelectedIndex());
  Command(dialog, kLocalMapCmdCopyZone);
  ASSERT_EQ(3, zones->GetItemCount());
  EXPECT_EQ(L"Зона 3", Cell(zones, 2, 0));
  EXPECT_EQ(-0.3f, dialog->ZoneAt(2)->xMin);
  EXPECT_NE(dialog->ZoneAt(1), dialog->ZoneAt(2));
  EXPECT_EQ(2, dialog->GetCurrentZone());
}

// Ends the popup menu the dialog tracks.
void CALLBACK EndTrackedMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

TEST_F(LocalMapDialogTest, ARightClickOnAZoneSelectsItAndOpensThePreviewMenu) {
  SetZones({{1u, -0.5f, 0.5f, 0.5f, 1.5f}});
  CLocalMapDlg* dialog = Open();
  SizePreview(dialog, 400, 300);
  CKestPopupMenu* menu = dialog->GetPreviewMenu();
  ASSERT_EQ(6, menu->GetItemCount());
  EXPECT_EQ(static_cast<int>(kLocalMapCmdEditZone), CKestMenu::GetItemId(menu->GetHandle(), 0));
  EXPECT_EQ(static_cast<int>(kLocalMapCmdCopyZone), CKestMenu::GetItemId(menu->GetHandle(), 2));
  EXPECT_EQ(static_cast<int>(kLocalMapCmdMirrorZone), CKestMenu::GetItemId(menu->GetHandle(), 3));
  EXPECT_EQ(static_cast<int>(kLocalMapCmdDeleteZone), CKestMenu::GetItemId(menu->GetHandle(), 5));
  HWND preview = dialog->GetPreview()->GetHandle();
  // Outside every zone: no menu, nothing selected.
  SendMessageW(dialog->GetHandle(), WM_KEST_RBUTTONUP, reinterpret_cast<WPARAM>(preview), MAKELPARAM(350, 100));
  EXPECT_EQ(-1, dialog->GetZoneList()->GetSelectedIndex());
  SetTimer(nullptr, 0, 50, EndTrackedMenu);
  SendMessageW(dialog->GetHandle(), WM_KEST_RBUTTONUP, reinterpret_cast<WPARAM>(preview), MAKELPARAM(200, 100));
  EXPECT_EQ(0, dialog->GetZoneList()->GetSelectedIndex());
  EXPECT_EQ(0, dialog->GetCurrentZone());
}

// The preview painted into a bitmap of its own size.
struct Picture {
  explicit Picture(CLocalMapDlg* dialog, int width, int height) : w(width), h(height) {
    HDC screen = GetDC(nullptr);
    dc.Reset(CreateCompatibleDC(screen));
    bitmap.Reset(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc.Get(), bitmap.Get());
    dialog->PaintPreview(dc.Get());
  }
  ~Picture() { SelectObject(dc.Get(), old); }
  COLORREF At(int x, int y) const { return GetPixel(dc.Get(), x, y); }
  int w, h;
  CKestOwnedDC dc;
  CKestOwnedBitmap bitmap;
  HGDIOBJ old = nullptr;
};

TEST_F(LocalMapDialogTest, ThePreviewShowsTheMapRobotGridZonesSensorsAndWalls) {
  SetZones({{1u, -0.9f, 1.2f, -0.6f, 1.8f}});
  CLocalMapDlg* dialog = Open();
  SizePreview(dialog, 400, 300);
  // The window paints the same picture through its off-screen copy.
  HWND preview = dialog->GetPreview()->GetHandle();
  InvalidateRect(preview, nullptr, FALSE);
  UpdateWindow(preview);
  EXPECT_EQ(RGB(153, 153, 204), velktest::ScreenPixel(preview, 210, 210));
  EXPECT_EQ(RGB(255, 223, 223), velktest::ScreenPixel(preview, 135, 70));
  EXPECT_EQ(0, dialog->GetPreview()->GetDCUseCount()) << "the DC went back";
  {
    Picture picture(dialog, 400, 300);
    EXPECT_EQ(RGB(224, 224, 224), picture.At(60, 110)) << "outside the map";
    EXPECT_EQ(RGB(255, 255, 255), picture.At(120, 280)) << "the map";
    EXPECT_EQ(RGB(153, 153, 204), picture.At(210, 210)) << "the robot, 50 x 60 cm";
    EXPECT_EQ(RGB(255, 255, 255), picture.At(230, 210)) << "beside the robot";
    EXPECT_EQ(RGB(192, 192, 192), picture.At(250, 280)) << "the grid every 50 cm";
    EXPECT_EQ(RGB(192, 192, 192), picture.At(120, 250));
    EXPECT_EQ(RGB(0, 0, 204), picture.At(200, 170)) << "the sensor, 30 cm ahead";
    EXPECT_EQ(RGB(0, 204, 0), picture.At(240, 160)) << "a wall mark at 40 cm";
    EXPECT_EQ(RGB(0, 204, 0), picture.At(160, 160)) << "and its mirror";
    // The zone from x 110 to 140 and y 20 to 80, blended over white.
    EXPECT_EQ(RGB(255, 223, 223), picture.At(135, 70));
    EXPECT_EQ(RGB(255, 102, 102), picture.At(125, 79)) << "its frame";
  }
  // The current zone is darker; without the robot, neither it nor the
  // sensors show; without walls, no marks.
  Select(dialog->GetZoneList(), 0);
  dialog->GetShowRobot()->SetChecked(false);
  dialog->GetWallsOn()->SetChecked(false);
  Picture picture(dialog, 400, 300);
  EXPECT_EQ(RGB(234, 152, 152), picture.At(135, 70)) << "(255 x 153 + 204 x 103) >> 8, 255 x 153 >> 8";
  EXPECT_EQ(RGB(255, 255, 255), picture.At(210, 210));
  EXPECT_EQ(RGB(255, 255, 255), picture.At(203, 172));
  EXPECT_EQ(RGB(255, 255, 255), picture.At(241, 161));
  EXPECT_TRUE(velktest::SaveScreenshot(dialog->GetHandle(), L"dialogs_local_map_preview.bmp"));
}

TEST_F(LocalMapDialogTest, EditsRedrawThePreviewOnlyWhenTheyShowInIt) {
  CLocalMapDlg* dialog = Open();
  HWND preview = dialog->GetPreview()->GetHandle();
  auto redrawn = [&](CKestSpinEdit* edit, const wchar_t* text) {
    velktest::FlushEvents();
    ValidateRect(preview, nullptr);
    dialogtest::TypeInto(edit, text);
    return GetUpdateRect(preview, nullptr, FALSE) != FALSE;
  };
  EXPECT_TRUE(redrawn(dialog->GetEdit(CLocalMapDlg::kFront), L"250"));
  EXPECT_TRUE(redrawn(dialog->GetEdit(CLocalMapDlg::kRobotWidth), L"30"));
  EXPECT_TRUE(redrawn(dialog->GetEdit(CLocalMapDlg::kWallX), L"30"));
  dialog->GetShowRobot()->SetChecked(false);
  dialog->GetWallsOn()->SetChecked(false);
  EXPECT_FALSE(redrawn(dialog->GetEdit(CLocalMapDlg::kRobotLength), L"30"));
  EXPECT_FALSE(redrawn(dialog->GetEdit(CLocalMapDlg::kWallEnd), L"30"));
  EXPECT_TRUE(redrawn(dialog->GetEdit(CLocalMapDlg::kRear), L"-30"));
}

TEST_F(LocalMapDialogTest, AZeroSizeOrDegeneratePreviewPaintsWithoutHanging) {
  SetZones({{1u, -0.5f, 0.5f, 0.5f, 1.5f}});
  CLocalMapDlg* dialog = Open();
  const SIZE sizes[] = {{0, 0}, {1, 300}, {400, 0}, {2, 300}, {3, 1}};
  for (const SIZE& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
    SizePreview(dialog, size.cx, size.cy);
    if (size.cx < 2 || size.cy == 0) {
      EXPECT_EQ(0.0f, dialog->GetPreviewScale());
      EXPECT_EQ(0.0f, dialog->PixelToMetresX(5)) << "no length without a scale";
    }
    Picture picture(dialog, size.cx > 0 ? size.cx : 1, size.cy > 0 ? size.cy : 1);
    InvalidateRect(dialog->GetPreview()->GetHandle(), nullptr, FALSE);
    UpdateWindow(dialog->GetPreview()->GetHandle());
  }
  // A map of 100 m across in a preview of a few pixels: a step too small
  // for a pixel ends its grid loop too.
  dialog->GetEdit(CLocalMapDlg::kHalfWidth)->SetValue(10000);
  SizePreview(dialog, 3, 2);
  Picture picture(dialog, 3, 2);
  SUCCEED();
}

}  // namespace
