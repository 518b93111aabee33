// The video-navigation block's dialogs: the navigator form (settings, map
// file, the working list of range finders: add, edit, delete, the limit of
// 127) and "Свойства дальномера" (fields, swatches), driven for real: a
// thread timer plays a script of steps, each on the form that is then on
// top, so that nested modal forms and message boxes are answered in turn.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/navigation/range_finder_info_dialog.h"
#include "blocks/dialogs/navigation/video_navigator_dialog.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/navigation/nav_map.h"
#include "blocks/library/navigation/video_navigation.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/buffers.h"
#include "kestui/containers/kest_group_box.h"
#include "kestui/forms/kest_dialogs.h"

namespace {

using blocktest::Bench;
using dialogtest::DialogTest;
using dialogtest::Text;
using dialogtest::TypeInto;

const double kPi = 3.14159265358979323846;
double Rad(double degrees) { return degrees * kPi / 180.0; }

// ---------------------------------------------------------------------------
// The script.

enum class On { kNavigator, kFinder };

struct Step {
  On on;
  std::function<void(CKestForm*)> act;
};

struct Script {
  std::deque<Step> steps;
  int done = 0;
  // The forms whose step runs now: a step that pumps messages must not let
  // the next step run on its own form, only on a form it opened.
  std::vector<CKestForm*> busy;
};
Script* g_script = nullptr;

// The newest live form that is shown and active (not the main form).
CKestForm* TopForm() {
  for (int i = LiveForms.count - 1; i >= 0; i--) {
    auto* form = dynamic_cast<CKestForm*>(LiveForms.forms[i]);
    if (!form || form == MainKestForm) continue;
    HWND window = form->GetHandle();
    if (!window || !IsWindowVisible(window)) return nullptr;
    return GetActiveWindow() == window ? form : nullptr;
  }
  return nullptr;
}

void CALLBACK PlayStep(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_script || g_script->steps.empty()) return;
  CKestForm* top = TopForm();
  if (!top) return;
  On on = g_script->steps.front().on;
  if (on == On::kFinder ? !dynamic_cast<CRangeFinderInfoDialog*>(top) : !dynamic_cast<CVideoNavigatorDialog*>(top))
    return;
  for (CKestForm* form : g_script->busy)
    if (form == top) return;
  Step step = g_script->steps.front();
  g_script->steps.pop_front();
  ++g_script->done;
  g_script->busy.push_back(top);
  step.act(top);  // may open a nested form: the timer goes on inside its loop
  g_script->busy.pop_back();
}

// Runs the block's dialog with the steps played; answers what it answered.
bool Play(CBEBlock* block, std::vector<Step> steps) {
  Script script;
  script.steps.assign(steps.begin(), steps.end());
  g_script = &script;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, PlayStep);
  EXPECT_NE(0u, timer);
  bool answer = block->ShowProperties();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  g_script = nullptr;
  EXPECT_TRUE(script.steps.empty()) << script.steps.size() << " steps not played";
  return answer;
}

CVideoNavigatorDialog* Nav(CKestForm* form) { return dynamic_cast<CVideoNavigatorDialog*>(form); }
CRangeFinderInfoDialog* Finder(CKestForm* form) { return dynamic_cast<CRangeFinderInfoDialog*>(form); }

void Click(CKestControl* button) {
  ASSERT_NE(nullptr, button);
  SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
}
Step NavOk() {
  return {On::kNavigator, [](CKestForm* f) { Click(Nav(f)->GetOkButton()); }};
}
Step NavCancel() {
  return {On::kNavigator, [](CKestForm* f) { Click(Nav(f)->GetCancelButton()); }};
}
Step FinderOk() {
  return {On::kFinder, [](CKestForm* f) { Click(Finder(f)->GetOkButton()); }};
}
Step FinderCancel() {
  return {On::kFinder, [](CKestForm* f) { Click(Finder(f)->GetCancelButton()); }};
}
// A command as the tool strip or the popup menu gives it; posted, so that
// the form it opens runs its loop outside this step.
Step Command(int command) {
  return {On::kNavigator, [command](CKestForm* f) { PostMessageW(f->GetHandle(), WM_COMMAND, command, 0); }};
}
Step SelectRow(int row) {
  return {On::kNavigator, [row](CKestForm* f) { velktest::SelectListViewRow(Nav(f)->GetList()->GetHandle(), row); }};
}
Step OnNavigator(std::function<void(CVideoNavigatorDialog*)> check) {
  return {On::kNavigator, [check](CKestForm* f) { check(Nav(f)); }};
}
Step OnFinder(std::function<void(CRangeFinderInfoDialog*)> check) {
  return {On::kFinder, [check](CKestForm* f) { check(Finder(f)); }};
}

std::wstring Cell(CVideoNavigatorDialog* form, int row, int column) {
  wchar_t text[64] = {};
  form->GetList()->GetItemText(row, column, text, 64);
  return text;
}

std::vector<std::wstring> RowTexts(CVideoNavigatorDialog* form, int row) {
  std::vector<std::wstring> texts;
  for (int c = 0; c < CVideoNavigatorDialog::kColumnCount; ++c) texts.push_back(Cell(form, row, c));
  return texts;
}

std::wstring MenuText(CKestMenu* menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu->GetHandle(), position, text, 64, MF_BYPOSITION);
  return text;
}
bool MenuEnabled(CKestMenu* menu, int position) {
  return !(GetMenuState(menu->GetHandle(), position, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED));
}

class VideoNavigatorTest : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    // The block is made from its catalogue entry.
    ASSERT_TRUE(bench.library.Offer(kBeVideoNavigationClassId, L"Видеонавигация", L"videonavigation.bmp"));
    block = bench.Create<CBEVideoNavigation>(kBeVideoNavigationClassId);
    ASSERT_NE(nullptr, block);
    map = block->Map();
    ASSERT_NE(nullptr, map);
  }
  // n range finders named f1, f2, ... with the block's pins for them.
  void UseFinders(int n) {
    ASSERT_TRUE(map->SetRangeFinderCount(n));
    for (int i = 0; i < n; ++i) {
      NavRangeFinder& f = map->rangeFinders[i];
      f = NavRangeFinder{};
      f.x = i;
      f.y = -i;
      f.maxRange = 100;
      f.colour = static_cast<unsigned char>(i % 8);
      swprintf(f.name, kNavFinderNameChars, L"f%d", i + 1);
    }
    ASSERT_TRUE(block->BuildPins(CBEVideoNavigation::kVersion));
  }

  Bench bench;
  CBEVideoNavigation* block = nullptr;
  NavMap* map = nullptr;
};

// ---------------------------------------------------------------------------

TEST_F(VideoNavigatorTest, TheFormShowsTheSettingsTheMapFileAndTheRangeFinders) {
  ASSERT_EQ(3, map->rangeFinderCount);
  map->rangeFinders[1].angle = Rad(-45);
  map->rangeFinders[1].x = 12.5;
  map->rangeFinders[1].colour = 6;
  map->drawingScale = 2.5;
  map->obstacleLifeTime = 30;
  map->obstacleRadius = 15;
  map->imageSearchRange = 200;
  map->placeNearZone = 50;
  map->positioningAccuracy = 5;
  ASSERT_TRUE(map->SetMapFileName(L"maps\\hall.txt"));
  block->SetCaption(L"Навигатор 1");
  EXPECT_FALSE(Play(block, {OnNavigator([&](CVideoNavigatorDialog* form) {
                              HWND window = form->GetHandle();
                              EXPECT_EQ(L"Навигатор 1", velktest::WindowText(window));
                              EXPECT_EQ(MainKestForm->GetHandle(), GetWindow(window, GW_OWNER));
                              RECT rect;
                              GetWindowRect(window, &rect);
                              EXPECT_EQ(600, rect.right - rect.left);
                              EXPECT_EQ(480, rect.bottom - rect.top);
                              EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 600) / 2, rect.left);
                              LONG style = GetWindowLongW(window, GWL_STYLE);
                              EXPECT_TRUE(style & WS_THICKFRAME) << "sizeable";
                              EXPECT_FALSE(style & WS_MINIMIZEBOX);
                              EXPECT_TRUE(style & WS_SYSMENU);

                              EXPECT_EQ(L"maps\\hall.txt", Text(form->GetMapFileEdit()));
                              EXPECT_EQ(L"2.5", Text(form->GetMapScaleEdit()));
                              EXPECT_EQ(L"30", Text(form->GetLifeTimeEdit()));
                              EXPECT_EQ(L"15", Text(form->GetRadiusEdit()));
                              EXPECT_EQ(L"200", Text(form->GetSearchRangeEdit()));
                              EXPECT_EQ(L"50", Text(form->GetNearZoneEdit()));
                              EXPECT_EQ(L"5", Text(form->GetAccuracyEdit()));

                              CKestListView* list = form->GetList();
                              ASSERT_EQ(7, list->GetColumnCount());
                              const wchar_t* columns[] = {L"Дальномер",        L"x [см]",      L"y [см]",
                                                          L"a [°]",            L"Dmax [см]",   L"Диап.поиска [см]",
                                                          L"Угл.диап.[°]"};
                              HWND header = ListView_GetHeader(list->GetHandle());
                              for (int c = 0; c < 7; ++c) {
                                wchar_t text[64] = {};
                                HDITEMW item = {};
                                item.mask = HDI_TEXT | HDI_WIDTH;
                                item.pszText = text;
                                item.cchTextMax = 64;
                                ASSERT_TRUE(SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&item)));
                                EXPECT_EQ(columns[c], std::wstring(text));
                                EXPECT_EQ(100, item.cxy);
                              }
                              ASSERT_EQ(3, list->GetItemCount());
                              const NavRangeFinder& f = map->rangeFinders[1];
                              std::vector<std::wstring> second = RowTexts(form, 1);
                              EXPECT_EQ(std::wstring(f.name), second[0]);
                              EXPECT_EQ(L"12.50", second[1]);
                              EXPECT_EQ(L"-45.00", second[3]);
                              wchar_t expected[32];
                              swprintf(expected, 32, L"%.1f", f.maxRange);
                              EXPECT_EQ(expected, second[4]);
                              swprintf(expected, 32, L"%.1f", f.searchDistance);
                              EXPECT_EQ(expected, second[5]);
                              swprintf(expected, 32, L"%.2f", f.searchAngle * 180 / kPi);
                              EXPECT_EQ(expected, second[6]);
                              EXPECT_EQ(6, list->GetItemImage(1));
                              EXPECT_EQ(0, list->GetItemImage(0));
                              EXPECT_EQ(8, form->GetImages()->GetCount());

                              // Nothing selected: delete, "Правка" and "Удалить" are off.
                              CKestPopupMenu* menu = form->GetListMenu();
                              ASSERT_EQ(3, menu->GetItemCount());
                              EXPECT_EQ(L"Правка\tEnter", MenuText(menu, 0));
                              EXPECT_EQ(L"Добавить\tIns", MenuText(menu, 1));
                              EXPECT_EQ(L"Удалить\tDel", MenuText(menu, 2));
                              EXPECT_EQ(0u, GetMenuDefaultItem(menu->GetHandle(), TRUE, GMDI_USEDISABLED));
                              EXPECT_FALSE(IsWindowEnabled(form->GetDeleteButton()->GetHandle()));
                              EXPECT_FALSE(MenuEnabled(menu, 0));
                              EXPECT_TRUE(MenuEnabled(menu, 1));
                              EXPECT_FALSE(MenuEnabled(menu, 2));
                              EXPECT_EQ(L"Удалить дальномер", std::wstring(form->GetDeleteButton()->GetHint()));
                              HWND add = GetWindow(GetParent(form->GetDeleteButton()->GetHandle()), GW_CHILD);
                              auto* addButton = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(add));
                              ASSERT_NE(nullptr, addButton);
                              EXPECT_EQ(L"Добавить дальномер", std::wstring(addButton->GetHint()));
                              EXPECT_EQ(CVideoNavigatorDialog::kCommandAdd, GetDlgCtrlID(add));
                              ASSERT_NE(nullptr, addButton->GetImage()) << "the plus sign is linked in";
                              EXPECT_EQ(16, addButton->GetImage()->GetWidth());
                              velktest::SelectListViewRow(list->GetHandle(), 1);
                              EXPECT_TRUE(IsWindowEnabled(form->GetDeleteButton()->GetHandle()));
                              EXPECT_TRUE(MenuEnabled(menu, 0));
                              EXPECT_TRUE(MenuEnabled(menu, 2));
                              EXPECT_TRUE(velktest::SaveScreenshot(window, L"dialogs_video_navigator.bmp"));
                            }),
                            NavCancel()}));
}

// The form follows its size: the map file edit widens, the "---" button
// keeps its distance to the right edge, "OK" and "Отмена" stay centred.
TEST_F(VideoNavigatorTest, ResizingKeepsTheEditTheChooserAndTheButtonsInPlace) {
  EXPECT_FALSE(Play(block, {OnNavigator([&](CVideoNavigatorDialog* form) {
                              HWND window = form->GetHandle();
                              HWND edit = form->GetMapFileEdit()->GetHandle();
                              HWND choose = FindWindowExW(GetParent(edit), nullptr, L"Button", L"---");
                              ASSERT_NE(nullptr, choose);
                              EXPECT_EQ(L"Выбрать имя файла",
                                        std::wstring(GetControlFromHandle(choose)->GetHint()));
                              RECT client;
                              GetClientRect(window, &client);
                              RECT editBefore = velktest::RectIn(window, edit);
                              RECT chooseBefore = velktest::RectIn(window, choose);
                              // The panel asked 590 wide takes the client width, and the edit
                              // of 520 follows it.
                              EXPECT_EQ(520 + client.right - 590, editBefore.right - editBefore.left);
                              EXPECT_EQ(30, chooseBefore.right - chooseBefore.left);
                              SetWindowPos(window, nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER);
                              velktest::FlushEvents();
                              RECT grown;
                              GetClientRect(window, &grown);
                              int dx = grown.right - client.right;
                              ASSERT_EQ(100, dx);
                              RECT editAfter = velktest::RectIn(window, edit);
                              RECT chooseAfter = velktest::RectIn(window, choose);
                              EXPECT_EQ(editBefore.right - editBefore.left + dx, editAfter.right - editAfter.left);
                              EXPECT_EQ(chooseBefore.left + dx, chooseAfter.left);
                              RECT ok = velktest::RectIn(window, form->GetOkButton()->GetHandle());
                              RECT cancel = velktest::RectIn(window, form->GetCancelButton()->GetHandle());
                              EXPECT_NEAR(grown.right / 2, (ok.left + cancel.right) / 2, 2);
                              EXPECT_GE(ok.top, grown.bottom - 45);
                            }),
                            NavCancel()}));
}

TEST_F(VideoNavigatorTest, ANewRangeFinderOpensAtOnceAndCancellingItKeepsTheRow) {
  EXPECT_TRUE(Play(block, {Command(CVideoNavigatorDialog::kCommandAdd),
                           OnFinder([&](CRangeFinderInfoDialog* info) {
                             HWND window = info->GetHandle();
                             EXPECT_EQ(L"Свойства дальномера", velktest::WindowText(window));
                             RECT rect;
                             GetWindowRect(window, &rect);
                             EXPECT_EQ(500, rect.right - rect.left);
                             EXPECT_EQ(400, rect.bottom - rect.top);
                             EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME);
                             EXPECT_EQ(L"Новый", Text(info->GetNameEdit()));
                             EXPECT_EQ(L"0", Text(info->GetXEdit()));
                             EXPECT_EQ(L"0", Text(info->GetYEdit()));
                             EXPECT_EQ(L"0", Text(info->GetAngleEdit()));
                             EXPECT_EQ(L"90", Text(info->GetMaxRangeEdit()));
                             EXPECT_EQ(L"10", Text(info->GetSearchDistanceEdit()));
                             EXPECT_EQ(L"30", Text(info->GetSearchAngleEdit()));
                             EXPECT_EQ(3, info->GetColourIndex()) << "three rows before it";
                             EXPECT_TRUE(velktest::SaveScreenshot(window, L"dialogs_range_finder.bmp"));
                           }),
                           FinderCancel(),
                           OnNavigator([&](CVideoNavigatorDialog* form) {
                             CKestListView* list = form->GetList();
                             ASSERT_EQ(4, list->GetItemCount());
                             EXPECT_EQ(3, list->GetSelectedIndex());
                             EXPECT_EQ(list->GetHandle(), GetFocus());
                             EXPECT_EQ((std::vector<std::wstring>{L"Новый", L"0.00", L"0.00", L"0.00", L"90.0",
                                                                  L"10.0", L"30.00"}),
                                       RowTexts(form, 3));
                             EXPECT_EQ(3, list->GetItemImage(3));
                           }),
                           NavOk()}));
  ASSERT_EQ(4, map->rangeFinderCount);
  const NavRangeFinder& f = map->rangeFinders[3];
  EXPECT_STREQ(L"Новый", f.name);
  EXPECT_EQ(0.0, f.x);
  EXPECT_EQ(0.0, f.angle);
  EXPECT_EQ(90.0, f.maxRange);
  EXPECT_EQ(10.0, f.searchDistance);
  EXPECT_DOUBLE_EQ(0.5235987755982988, f.searchAngle);
  EXPECT_EQ(3, f.colour);
  // The pins follow: one input and one wall flag more.
  EXPECT_EQ(12 + 4, block->inputCount);
  EXPECT_EQ(10 + 4, block->outputCount);
  EXPECT_STREQ(L"Новый", block->Input(CBEVideoNavigation::kInFirstFinder + 3)->name);
  EXPECT_EQ(block->rect.top + 220 + 30 * 4, block->rect.bottom);
}

TEST_F(VideoNavigatorTest, EditingARowPassesEveryValueThroughItsShownPrecision) {
  RECT swatch3;
  CRangeFinderInfoDialog::GetSwatchRect(3, &swatch3);
  EXPECT_TRUE(swatch3.left == 116 && swatch3.top == 5 && swatch3.right == 148 && swatch3.bottom == 37);
  EXPECT_TRUE(Play(block, {SelectRow(1), Command(CVideoNavigatorDialog::kCommandEdit),
                           OnFinder([&](CRangeFinderInfoDialog* info) {
                             EXPECT_EQ(std::wstring(map->rangeFinders[1].name), Text(info->GetNameEdit()));
                             TypeInto(info->GetNameEdit(), L"Передний_левый");
                             EXPECT_EQ(L"Передний_", Text(info->GetNameEdit())) << "9 characters at most";
                             TypeInto(info->GetXEdit(), L"12.3456");
                             TypeInto(info->GetYEdit(), L"-7,5");
                             TypeInto(info->GetAngleEdit(), L"45.123");
                             TypeInto(info->GetMaxRangeEdit(), L"150.26");
                             TypeInto(info->GetSearchDistanceEdit(), L"500000");
                             TypeInto(info->GetSearchAngleEdit(), L"22.5");
                             HWND box = info->GetSwatchBox()->GetHandle();
                             SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 20));
                             SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(130, 20));
                             EXPECT_EQ(3, info->GetColourIndex());
                             RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                             EXPECT_TRUE(velktest::SaveScreenshot(info->GetHandle(), L"dialogs_range_finder_edit.bmp"));
                           }),
                           FinderOk(),
                           OnNavigator([&](CVideoNavigatorDialog* form) {
                             EXPECT_EQ((std::vector<std::wstring>{L"Передний_", L"12.35", L"-7.50", L"45.12",
                                                                  L"150.3", L"100000.0", L"22.50"}),
                                       RowTexts(form, 1));
                             EXPECT_EQ(3, form->GetList()->GetItemImage(1));
                           }),
                           NavOk()}));
  const NavRangeFinder& f = map->rangeFinders[1];
  EXPECT_STREQ(L"Передний_", f.name);
  EXPECT_EQ(12.35, f.x);
  EXPECT_EQ(-7.5, f.y);
  EXPECT_EQ(45.12 * kPi / 180.0, f.angle) << "the direction as shown, 0.01 degree";
  EXPECT_EQ(150.3, f.maxRange);
  EXPECT_EQ(100000.0, f.searchDistance) << "clamped by the spin edit";
  EXPECT_EQ(22.5 * kPi / 180.0, f.searchAngle);
  EXPECT_EQ(3, f.colour);
  EXPECT_STREQ(L"Передний_", block->Input(CBEVideoNavigation::kInFirstFinder + 1)->name);
}

TEST_F(VideoNavigatorTest, CancellingTheNavigatorDropsEveryChangeOfTheList) {
  std::vector<NavRangeFinder> before(map->rangeFinders, map->rangeFinders + map->rangeFinderCount);
  block->rect.bottom = block->rect.top + 99;
  velktest::DialogAnswerer answerer(IDYES);
  EXPECT_FALSE(Play(block, {SelectRow(0), Command(CVideoNavigatorDialog::kCommandEdit),
                            OnFinder([](CRangeFinderInfoDialog* info) { TypeInto(info->GetXEdit(), L"77"); }),
                            FinderOk(), SelectRow(2), Command(CVideoNavigatorDialog::kCommandDelete),
                            Command(CVideoNavigatorDialog::kCommandAdd), FinderOk(),
                            OnNavigator([](CVideoNavigatorDialog* form) {
                              EXPECT_EQ(L"77.00", Cell(form, 0, 1));
                              EXPECT_EQ(3, form->GetList()->GetItemCount());
                              TypeInto(form->GetMapScaleEdit(), L"9");
                            }),
                            NavCancel()}));
  ASSERT_EQ(static_cast<int>(before.size()), map->rangeFinderCount);
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(0, memcmp(&before[i], &map->rangeFinders[i], sizeof(NavRangeFinder))) << i;
  EXPECT_EQ(block->rect.top + 99, block->rect.bottom) << "no pins rebuilt";
  EXPECT_EQ(1, answerer.Count());
}

TEST_F(VideoNavigatorTest, DeletingAsksFirstAndOnlyYesDeletes) {
  velktest::DialogAnswerer answerer({IDNO, IDYES});
  EXPECT_TRUE(Play(block, {SelectRow(1), Command(CVideoNavigatorDialog::kCommandDelete),
                           OnNavigator([](CVideoNavigatorDialog* form) {
                             EXPECT_EQ(3, form->GetList()->GetItemCount()) << "declined";
                           }),
                           Command(CVideoNavigatorDialog::kCommandDelete),
                           OnNavigator([](CVideoNavigatorDialog* form) {
                             EXPECT_EQ(2, form->GetList()->GetItemCount());
                             EXPECT_EQ(-1, form->GetList()->GetSelectedIndex());
                             EXPECT_FALSE(IsWindowEnabled(form->GetDeleteButton()->GetHandle()));
                           }),
                           // No row selected: nothing to ask about.
                           Command(CVideoNavigatorDialog::kCommandDelete), NavOk()}));
  ASSERT_EQ(2, answerer.Count());
  EXPECT_EQ(L"Удаление", answerer.Captions()[0]);
  EXPECT_EQ(L"Удалить дальномер \"dist2\"?", answerer.Texts()[0]);
  EXPECT_EQ(L"Удалить дальномер \"dist2\"?", answerer.Texts()[1]);
  ASSERT_EQ(2, map->rangeFinderCount);
  EXPECT_STREQ(L"dist1", map->rangeFinders[0].name);
  EXPECT_STREQ(L"dist3", map->rangeFinders[1].name);
  EXPECT_EQ(12 + 2, block->inputCount);
  EXPECT_STREQ(L"dist3", block->Input(CBEVideoNavigation::kInFirstFinder + 1)->name);
}

TEST_F(VideoNavigatorTest, The128thRangeFinderIsRefusedUntilOneIsDeleted) {
  UseFinders(127);
  velktest::DialogAnswerer answerer({IDOK, IDYES});
  EXPECT_TRUE(Play(block, {Command(CVideoNavigatorDialog::kCommandAdd),
                           OnNavigator([](CVideoNavigatorDialog* form) {
                             EXPECT_EQ(127, form->GetList()->GetItemCount()) << "refused";
                           }),
                           SelectRow(126), Command(CVideoNavigatorDialog::kCommandDelete),
                           Command(CVideoNavigatorDialog::kCommandAdd),
                           OnFinder([](CRangeFinderInfoDialog* info) {
                             EXPECT_EQ(126 % 8, info->GetColourIndex());
                           }),
                           FinderCancel(),
                           OnNavigator([](CVideoNavigatorDialog* form) {
                             EXPECT_EQ(127, form->GetList()->GetItemCount());
                             EXPECT_EQ(L"Новый", Cell(form, 126, 0));
                           }),
                           NavOk()}));
  ASSERT_EQ(2, answerer.Count());
  EXPECT_EQ(L"Ошибка", answerer.Captions()[0]);
  EXPECT_EQ(L"Невозможно добавить дальномер, т.к. максимальное число дальномеров достигнуто!",
            answerer.Texts()[0]);
  EXPECT_EQ(L"Удалить дальномер \"f127\"?", answerer.Texts()[1]);
  ASSERT_EQ(127, map->rangeFinderCount);
  EXPECT_STREQ(L"f126", map->rangeFinders[125].name);
  EXPECT_STREQ(L"Новый", map->rangeFinders[126].name);
  EXPECT_EQ(12 + 127, block->inputCount);
}

TEST_F(VideoNavigatorTest, ADoubleClickOpensTheRowAndTheKeysOfTheMenuWork) {
  EXPECT_FALSE(Play(block, {SelectRow(2),
                            {On::kNavigator,
                             [](CKestForm* f) {
                               // The list reports the double click; the form answers 1 once the
                               // range-finder form it opened is closed (by the next steps).
                               NMHDR header = {};
                               header.hwndFrom = Nav(f)->GetList()->GetHandle();
                               header.code = static_cast<UINT>(NM_DBLCLK);
                               EXPECT_EQ(1, SendMessageW(f->GetHandle(), WM_NOTIFY, 0,
                                                         reinterpret_cast<LPARAM>(&header)));
                             }},
                            OnFinder([&](CRangeFinderInfoDialog* info) {
                              EXPECT_EQ(std::wstring(map->rangeFinders[2].name), Text(info->GetNameEdit()));
                            }),
                            FinderCancel(), NavCancel()}));
}

// Ins, Del and Enter on the list are the popup menu's items.
TEST_F(VideoNavigatorTest, TheMenuKeysWorkOnTheList) {
  auto key = [](WPARAM vk) {
    return Step{On::kNavigator, [vk](CKestForm* f) {
                  HWND list = Nav(f)->GetList()->GetHandle();
                  SetFocus(list);
                  PostMessageW(list, WM_KEYDOWN, vk, 1);
                  PostMessageW(list, WM_KEYUP, vk, 0xC0000001);
                }};
  };
  velktest::DialogAnswerer answerer(IDNO);
  EXPECT_FALSE(Play(block, {key(VK_INSERT),
                            OnFinder([](CRangeFinderInfoDialog* info) {
                              EXPECT_EQ(L"Новый", Text(info->GetNameEdit()));
                            }),
                            FinderCancel(), SelectRow(0), key(VK_DELETE),
                            OnNavigator([](CVideoNavigatorDialog* form) {
                              EXPECT_EQ(4, form->GetList()->GetItemCount()) << "declined";
                            }),
                            SelectRow(1), key(VK_RETURN),
                            OnFinder([&](CRangeFinderInfoDialog* info) {
                              EXPECT_EQ(std::wstring(map->rangeFinders[1].name), Text(info->GetNameEdit()));
                            }),
                            FinderCancel(), NavCancel()}));
  ASSERT_EQ(1, answerer.Count());
  EXPECT_EQ(L"Удалить дальномер \"dist1\"?", answerer.Texts()[0]);
}

TEST_F(VideoNavigatorTest, SettingsAndTheMapFileAreWrittenOnOk) {
  EXPECT_TRUE(Play(block, {OnNavigator([](CVideoNavigatorDialog* form) {
                             TypeInto(form->GetMapScaleEdit(), L"0");
                             TypeInto(form->GetLifeTimeEdit(), L"12,5");
                             TypeInto(form->GetRadiusEdit(), L"20000000");
                             TypeInto(form->GetSearchRangeEdit(), L"300");
                             TypeInto(form->GetNearZoneEdit(), L"abc");
                             TypeInto(form->GetAccuracyEdit(), L"2.5");
                             TypeInto(form->GetMapFileEdit(), L"maps\\yard.txt");
                           }),
                           NavOk()}));
  EXPECT_EQ(0.001, map->drawingScale) << "clamped to the minimum";
  EXPECT_EQ(12.5, map->obstacleLifeTime);
  EXPECT_EQ(10000000.0, map->obstacleRadius);
  EXPECT_EQ(300.0, map->imageSearchRange);
  EXPECT_EQ(0.1, map->placeNearZone) << "no number: the minimum";
  EXPECT_EQ(2.5, map->positioningAccuracy);
  ASSERT_NE(nullptr, map->mapFileName);
  EXPECT_STREQ(L"maps\\yard.txt", map->mapFileName);

  EXPECT_TRUE(Play(block, {OnNavigator([](CVideoNavigatorDialog* form) {
                             EXPECT_EQ(L"maps\\yard.txt", Text(form->GetMapFileEdit()));
                             TypeInto(form->GetMapFileEdit(), L"");
                           }),
                           NavOk()}));
  EXPECT_EQ(nullptr, map->mapFileName) << "an empty edit: no map file";
}

TEST_F(VideoNavigatorTest, ConfirmingWithoutAChangeStillRebuildsThePins) {
  block->rect.bottom = block->rect.top + 99;
  EXPECT_TRUE(Play(block, {NavOk()}));
  EXPECT_EQ(block->rect.top + 220 + 30 * 3, block->rect.bottom);
  EXPECT_EQ(3, map->rangeFinderCount);
}

// Esc and the close box answer as "Отмена".
TEST_F(VideoNavigatorTest, EscapeAndTheCloseBoxChangeNothing) {
  for (bool escape : {true, false}) {
    SCOPED_TRACE(escape);
    block->rect.bottom = block->rect.top + 99;
    EXPECT_FALSE(Play(block, {OnNavigator([escape](CVideoNavigatorDialog* form) {
                                TypeInto(form->GetMapScaleEdit(), L"9");
                                velktest::SelectListViewRow(form->GetList()->GetHandle(), 0);
                                form->GetList()->DeleteItem(0);
                                HWND focus = form->GetMapScaleEdit()->GetHandle();
                                SetFocus(focus);
                                if (escape)
                                  PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
                                else
                                  PostMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                              })}));
    EXPECT_EQ(3, map->rangeFinderCount);
    EXPECT_NE(9.0, map->drawingScale);
    EXPECT_EQ(block->rect.top + 99, block->rect.bottom);
  }
}

// The save dialog, faked: what it was given and the path it answers.
struct FakeSave {
  std::wstring answer;
  std::wstring initialName, extension, filter, folder, title;
  bool hasTitle = false;
  int calls = 0;
};
FakeSave* g_save = nullptr;

BOOL FakeGetSaveFileName(OPENFILENAMEW* info) {
  FakeSave& fake = *g_save;
  ++fake.calls;
  fake.initialName = info->lpstrFile ? info->lpstrFile : L"";
  fake.extension = info->lpstrDefExt ? info->lpstrDefExt : L"";
  fake.folder = info->lpstrInitialDir ? info->lpstrInitialDir : L"";
  fake.hasTitle = info->lpstrTitle != nullptr;
  for (const wchar_t* p = info->lpstrFilter; p && *p; p += wcslen(p) + 1) fake.filter += std::wstring(p) + L"|";
  if (fake.answer.empty()) return FALSE;
  wcsncpy(info->lpstrFile, fake.answer.c_str(), info->nMaxFile - 1);
  info->lpstrFile[info->nMaxFile - 1] = 0;
  return TRUE;
}

class SaveSeamScope {
public:
  explicit SaveSeamScope(FakeSave* fake) {
    g_save = fake;
    KestCommonDialogSeam seam = {};
    seam.getSaveFileName = FakeGetSaveFileName;
    seam_ = seam;
    SetCommonDialogSeam(&seam_);
  }
  ~SaveSeamScope() {
    SetCommonDialogSeam(nullptr);
    g_save = nullptr;
  }

private:
  KestCommonDialogSeam seam_;
};

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

TEST_F(VideoNavigatorTest, AChosenMapFileUnderTheRobotsFolderIsKeptRelative) {
  wchar_t* folder = CVideoNavigatorDialog::DupRobotsFolder();
  ASSERT_NE(nullptr, folder);
  std::wstring robots = folder;
  FreeBuffer(folder);
  ASSERT_GT(robots.size(), 7u);
  EXPECT_EQ(L"Robots\\", robots.substr(robots.size() - 7));
  struct Case {
    std::wstring chosen;
    std::wstring shown;
  } cases[] = {
      {robots + L"maps\\a.txt", L"maps\\a.txt"},
      {Upper(robots) + L"b.txt", L"b.txt"},
      {L"Z:\\maps\\a.txt", L"Z:\\maps\\a.txt"},
      {L"", L"kept.txt"},  // cancelled: the edit keeps its text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.chosen.begin(), c.chosen.end()));
    FakeSave fake;
    fake.answer = c.chosen;
    SaveSeamScope seam(&fake);
    EXPECT_FALSE(Play(block, {OnNavigator([](CVideoNavigatorDialog* form) {
                                TypeInto(form->GetMapFileEdit(), L"kept.txt");
                              }),
                              Command(CVideoNavigatorDialog::kCommandChooseMap),
                              OnNavigator([&](CVideoNavigatorDialog* form) {
                                EXPECT_EQ(c.shown, Text(form->GetMapFileEdit()));
                              }),
                              NavCancel()}));
    EXPECT_EQ(1, fake.calls);
    EXPECT_EQ(L"kept.txt", fake.initialName);
    EXPECT_EQ(L"txt", fake.extension);
    EXPECT_EQ(L"Все файлы (*.*)|*.*|Текстовые файлы (*.txt)|*.txt|", fake.filter);
    EXPECT_EQ(robots, fake.folder);
    EXPECT_FALSE(fake.hasTitle);
  }
  EXPECT_EQ(nullptr, map->mapFileName) << "cancelled: nothing written";
}

TEST(VideoNavigatorMapName, ThePartAfterTheFolderWhateverItsCase) {
  const wchar_t* folder = L"C:\\Velk\\Robots\\";
  EXPECT_STREQ(L"maps\\a.txt", CVideoNavigatorDialog::MapNameOf(L"C:\\Velk\\Robots\\maps\\a.txt", folder));
  EXPECT_STREQ(L"a.txt", CVideoNavigatorDialog::MapNameOf(L"c:\\VELK\\robots\\a.txt", folder));
  EXPECT_STREQ(L"D:\\Velk\\Robots\\a.txt", CVideoNavigatorDialog::MapNameOf(L"D:\\Velk\\Robots\\a.txt", folder));
  EXPECT_STREQ(L"C:\\Velk\\a.txt", CVideoNavigatorDialog::MapNameOf(L"C:\\Velk\\a.txt", folder));
  EXPECT_STREQ(L"C:\\Velk", CVideoNavigatorDialog::MapNameOf(L"C:\\Velk", folder)) << "shorter than the folder";
  EXPECT_STREQ(L"x.txt", CVideoNavigatorDialog::MapNameOf(L"x.txt", L""));
}

// ---------------------------------------------------------------------------
// The range-finder form on its own.

class RangeFinderFormTest : public DialogTest {};

TEST_F(RangeFinderFormTest, SwatchesShowTheChosenColourAndClicksChooseAnother) {
  NavRangeFinder record = {};
  record.colour = 1;
  wcscpy(record.name, L"Левый");
  record.angle = Rad(90);
  record.searchAngle = Rad(45);
  auto* info = new CRangeFinderInfoDialog(static_cast<CKestForm*>(MainKestForm), record);
  ASSERT_TRUE(info->IsBuilt());
  HWND window = info->GetHandle();
  EXPECT_EQ(MainKestForm->GetHandle(), GetWindow(window, GW_OWNER));
  EXPECT_EQ(L"Левый", Text(info->GetNameEdit()));
  EXPECT_EQ(L"90", Text(info->GetAngleEdit()));
  EXPECT_EQ(L"45", Text(info->GetSearchAngleEdit()));
  EXPECT_EQ(9, static_cast<int>(SendMessageW(info->GetNameEdit()->GetHandle(), EM_GETLIMITTEXT, 0, 0)));
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  velktest::FlushEvents();
  HWND box = info->GetSwatchBox()->GetHandle();
  RECT boxRect;
  GetClientRect(box, &boxRect);
  EXPECT_EQ(315, boxRect.right);
  EXPECT_EQ(40, boxRect.bottom);

  auto pixel = [&](int x, int y) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return velktest::ScreenPixel(box, x, y);
  };
  auto click = [&](int x, int y) {
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  const COLORREF black = RGB(0, 0, 0);
  // Swatch 1 chosen: a 4-pixel outline; swatch 0 a 1-pixel one.
  EXPECT_EQ(black, pixel(42 + 3, 20));
  EXPECT_EQ(RGB(153, 0, 0), pixel(42 + 4, 20));
  EXPECT_EQ(black, pixel(5, 20));
  EXPECT_EQ(RGB(0, 0, 153), pixel(6, 20));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pixel(39, 20)) << "between swatches";

  click(39, 20);  // between swatches 0 and 1
  EXPECT_EQ(1, info->GetColourIndex());
  click(2, 2);  // outside every swatch
  EXPECT_EQ(1, info->GetColourIndex());
  click(5 + 37 * 3 + 10, 30);
  EXPECT_EQ(3, info->GetColourIndex());
  EXPECT_EQ(black, pixel(116 + 3, 20));
  EXPECT_EQ(RGB(153, 0, 153), pixel(116 + 4, 20));
  EXPECT_EQ(black, pixel(42, 20));
  EXPECT_EQ(RGB(153, 0, 0), pixel(43, 20)) << "swatch 1 back to a thin outline";
  for (int i = 0; i < 8; ++i) {
    RECT swatch;
    CRangeFinderInfoDialog::GetSwatchRect(i, &swatch);
    EXPECT_EQ(kBeNavWallColours[i], pixel(swatch.left + 16, swatch.top + 16)) << i;
  }

  NavRangeFinder out = {};
  out.maxRange = -1;
  info->ReadFields(&out);
  EXPECT_STREQ(L"Левый", out.name);
  EXPECT_EQ(3, out.colour);
  EXPECT_EQ(Rad(90), out.angle);
  EXPECT_EQ(Rad(45), out.searchAngle);
  EXPECT_EQ(0.0, out.maxRange);
  delete info;
}

TEST_F(RangeFinderFormTest, TheFormLaysOutItsGroupsAndRows) {
  NavRangeFinder record = {};
  auto* info = new CRangeFinderInfoDialog(static_cast<CKestForm*>(MainKestForm), record);
  ASSERT_TRUE(info->IsBuilt());
  HWND window = info->GetHandle();
  RECT client;
  GetClientRect(window, &client);
  std::vector<std::wstring> groups;
  std::vector<RECT> groupRects;
  for (HWND child : velktest::Children(window)) {
    if (dynamic_cast<CKestGroupBox*>(GetControlFromHandle(child))) {
      groups.push_back(velktest::WindowText(child));
      groupRects.push_back(velktest::RectIn(window, child));
    }
  }
  ASSERT_EQ((std::vector<std::wstring>{L"Положение на роботе", L"Цвет стен на карте"}), groups);
  for (const RECT& r : groupRects) {
    EXPECT_EQ(460, r.right - r.left);
    EXPECT_EQ(90, r.bottom - r.top);
    EXPECT_NEAR(client.right / 2, (r.left + r.right) / 2, 1) << "centred";
  }
  // X, Y and the angle inside the first group, side by side.
  HWND place = GetParent(info->GetXEdit()->GetHandle());
  EXPECT_EQ(L"Положение на роботе", velktest::WindowText(place));
  EXPECT_EQ(place, GetParent(info->GetAngleEdit()->GetHandle()));
  RECT x = velktest::RectIn(window, info->GetXEdit()->GetHandle());
  RECT a = velktest::RectIn(window, info->GetAngleEdit()->GetHandle());
  EXPECT_EQ(x.top, a.top);
  EXPECT_EQ(120, x.right - x.left);
  // The three ranges below it, the colours below them, the buttons last.
  RECT maxRange = velktest::RectIn(window, info->GetMaxRangeEdit()->GetHandle());
  RECT searchAngle = velktest::RectIn(window, info->GetSearchAngleEdit()->GetHandle());
  EXPECT_GT(maxRange.top, groupRects[0].bottom - 1);
  EXPECT_LT(searchAngle.bottom, groupRects[1].top + 1);
  RECT ok = velktest::RectIn(window, info->GetOkButton()->GetHandle());
  EXPECT_GT(ok.top, groupRects[1].bottom - 1);
  EXPECT_EQ(100, ok.right - ok.left);
  EXPECT_LE(ok.bottom, client.bottom);
  EXPECT_EQ(1, info->GetOkButton()->GetModalResult());
  EXPECT_EQ(2, info->GetCancelButton()->GetModalResult());
  delete info;
}

// ---------------------------------------------------------------------------
// Writing back when memory runs out.

TEST_F(VideoNavigatorTest, ApplyRefusedByMemoryLeavesTheBlockAsItWas) {
  std::vector<NavRangeFinder> before(map->rangeFinders, map->rangeFinders + map->rangeFinderCount);
  const int inputsBefore = block->inputCount, outputsBefore = block->outputCount;
  bool applied = false;
  for (int grant = 0; grant < 64 && !applied; ++grant) {
    SCOPED_TRACE(grant);
    auto* form = new CVideoNavigatorDialog(block);
    ASSERT_TRUE(form->IsBuilt());
    CKestListView* list = form->GetList();
    for (int i = 0; i < 9; ++i) {
      NavRangeFinder record = {};
      record.maxRange = 50 + i;
      swprintf(record.name, kNavFinderNameChars, L"n%d", i);
      form->SetRow(list->AddItem(L"", 0, 0), record);
    }
    form->GetMapFileEdit()->SetText(L"new.txt");
    form->GetMapScaleEdit()->SetValue(7);
    {
      CBufferFailureScope refuse(grant);
      applied = form->Apply();
    }
    delete form;
    if (applied) break;
    ASSERT_EQ(static_cast<int>(before.size()), map->rangeFinderCount);
    for (size_t i = 0; i < before.size(); ++i)
      EXPECT_EQ(0, memcmp(&before[i], &map->rangeFinders[i], sizeof(NavRangeFinder))) << i;
    EXPECT_EQ(inputsBefore, block->inputCount);
    EXPECT_EQ(outputsBefore, block->outputCount);
    EXPECT_STREQ(L"dist1", block->Input(CBEVideoNavigation::kInFirstFinder)->name);
    EXPECT_EQ(nullptr, map->mapFileName);
    EXPECT_NE(7.0, map->drawingScale);
  }
  ASSERT_TRUE(applied);
  EXPECT_EQ(12, map->rangeFinderCount);
  EXPECT_EQ(12 + 12, block->inputCount);
  EXPECT_STREQ(L"new.txt", map->mapFileName);
  EXPECT_EQ(7.0, map->drawingScale);
}

TEST_F(VideoNavigatorTest, OtherBlocksAreRefusedWithoutAForm) {
  CBEBlock* other = bench.Create<CBEBlock>(kBeAbsClassId);
  ASSERT_NE(nullptr, other);
  int before = LiveForms.count;
  EXPECT_FALSE(ShowVideoNavigationDialog(other));
  EXPECT_FALSE(ShowVideoNavigationDialog(nullptr));
  EXPECT_EQ(before, LiveForms.count);
}

}  // namespace
