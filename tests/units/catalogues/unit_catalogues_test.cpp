// The catalogues of the three kinds of programmable unit: the hidden device
// entries, the common tabs, each kind's own entries and tabs in order, and
// what each kind lacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/library/interfaces/board_uart.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/dynamics.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/library_classes.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "blocks/panel/ui_blocks/be_ui_joystick.h"
#include "script/script_block.h"
#include "units/catalogues/unit_catalogues.h"

namespace {

struct Row {
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* bitmap;
};

const wchar_t* const kCommonTabs[] = {L"Генераторы", L"Преобразователи", L"Макро и DLL",
                                      L"Математика", L"Тригонометрия",   L"Логика",
                                      L"Цифровые",   L"ТАУ",             L"Навигация"};

// The library's classes, plus stand-ins for the classes of the units'
// catalogues that no library area makes yet, so that every row shows.
class Creators {
public:
  explicit Creators(bool withStandIns) {
    EXPECT_TRUE(RegisterBlockLibraryCreators(&table));
    if (!withStandIns) return;
    BeBlockCreator standIn = table.Find(kBeConstantClassId);
    for (unsigned int id : {kBeScanSectorClassId, kBeLocalMapClassId, kBeVideoNavigationClassId,
                            kBeRoadDetectorClassId, kBeStripDetectorClassId, kBeFuzzyClassId,
                            kBePortPinBlockClassId, kBeAvrUARTClassId, kBeAvrTimerClassId, kBeAvrADCClassId,
                            kBeAvrTWIClassId, kBeAvrSPIClassId})
      if (!table.Find(id)) table.Set(id, standIn);
  }
  BeBlockCreatorTable table;
};

std::vector<std::wstring> TabNames(const BeCatalogue& c) {
  std::vector<std::wstring> names;
  for (int i = 1; i < c.groupCount; ++i) names.push_back(c.Group(i)->name ? c.Group(i)->name : L"(null)");
  return names;
}

std::vector<std::wstring> Tabs(std::initializer_list<const wchar_t*> extra) {
  std::vector<std::wstring> names(std::begin(kCommonTabs), std::end(kCommonTabs));
  for (const wchar_t* e : extra) names.push_back(e);
  return names;
}

// The group's entries from index first on are exactly rows.
void ExpectRows(const BeCatalogueGroup* group, int first, const std::vector<Row>& rows) {
  ASSERT_NE(nullptr, group);
  ASSERT_EQ(first + static_cast<int>(rows.size()), group->entryCount);
  for (size_t i = 0; i < rows.size(); ++i) {
    const BeCatalogueEntry* e = group->Entry(first + static_cast<int>(i));
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].classId, e->classId);
    EXPECT_STREQ(rows[i].caption, e->caption);
    if (rows[i].bitmap)
      EXPECT_STREQ(rows[i].bitmap, e->bitmap);
    else
      EXPECT_EQ(nullptr, e->bitmap);
    ASSERT_NE(nullptr, e->creator);
  }
}

// How many entries the common groups alone put into a group.
int CommonEntries(const BeBlockCreatorTable& creators, int group) {
  BeCatalogue plain;
  plain.AddGroup(nullptr);
  EXPECT_TRUE(AddCommonCatalogueGroups(&plain, creators));
  return plain.Group(group)->entryCount;
}

// The macro port entries the common groups add to group 0.
const std::vector<Row> kMacroPorts = {{kBeMacroInputClassId, L"Вход макроблока", nullptr},
                                      {kBeMacroOutputClassId, L"Выход макроблока", nullptr}};

std::vector<Row> Join(std::vector<Row> a, const std::vector<Row>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(UnitCatalogues, BoardComputerOffersItsDevicesCommonTabsIntelligenceAndDebug) {
  Creators creators(true);
  BeCatalogue c;
  ASSERT_TRUE(FillBoardComputerCatalogue(&c, creators.table));
  EXPECT_EQ(nullptr, c.Group(0)->name);
  ExpectRows(c.Group(0), 0,
             Join({{kBeCOMPortClassId, L"COM-порт", nullptr},
                   {kBeBoardUARTClassId, L"UART", nullptr},
                   {kBeUSBClassId, L"USB-host", nullptr},
                   {kBeLANClassId, L"LAN-адаптер", nullptr},
                   {kBeWiFiClassId, L"WiFi-модуль", nullptr},
                   {kBeGPIOClassId, L"GPIO", nullptr},
                   {kBeLPTClassId, L"LPT", nullptr},
                   {kBeAudioInClassId, L"AudioIn", nullptr}},
                  kMacroPorts));
  EXPECT_EQ(Tabs({L"Интеллект", L"Отладка"}), TabNames(c));
  ExpectRows(c.Group(3), CommonEntries(creators.table, 3), {{kBePluginBlockClassId, L"Плагин", L"plugin.bmp"}});
  ExpectRows(c.Group(10), 0,
             {{kBeScanSectorClassId, L"Построитель карты видимой области по стереозрению", L"scansector.bmp"},
              {kBeLocalMapClassId, L"Построитель локальной карты местности", L"locmap.bmp"},
              {kBeVideoNavigationClassId, L"Видеонавигация", L"videonavigation.bmp"},
              {kBeRoadDetectorClassId, L"Детектор дороги", L"roaddetector.bmp"},
              {kBeStripDetectorClassId, L"Блок распознавания светоотражающей полосы", L"stripdetector.bmp"},
              {kBeFuzzyClassId, L"Нечеткая логическая система", L"fuzzy.bmp"},
              {kScriptBlockClassId, L"Виртуальный процессор на основе JavaScript", L"js.bmp"}});
  ExpectRows(c.Group(11), 0, {{kBeMonitorClassId, L"Вывод на экран", L"out.bmp"}});
  // None of the user-interface blocks.
  for (unsigned int id : {kUIBlockClassId, kUIButtonBlockClassId, kUIVideoBlockClassId, kBeDynamicsClassId})
    EXPECT_EQ(nullptr, c.FindEntry(id)) << std::hex << id;
}

TEST(UnitCatalogues, PultComputerOffersTheUserInterfaceHiddenAndNoOwnTabs) {
  Creators creators(true);
  BeCatalogue c;
  ASSERT_TRUE(FillPultComputerCatalogue(&c, creators.table));
  ExpectRows(c.Group(0), 0,
             Join({{kBeLANClassId, L"LAN-адаптер", nullptr},
                   {kBeUSBClassId, L"USB-host", nullptr},
                   {kBeWiFiClassId, L"WiFi-модуль", nullptr},
                   {kUIBlockClassId, L"Интерфейс с пользователем", nullptr},
                   {kUIButtonBlockClassId, L"Кнопка", nullptr},
                   {kUITrackBarBlockClassId, L"Trackbar", nullptr},
                   {kUIJoystickBlockClassId, L"Джойстик", nullptr},
                   {kUIVideoBlockClassId, L"Видео", nullptr},
                   {kUIIndicatorBlockClassId, L"Индикатор", nullptr},
                   {kBeDynamicsClassId, L"Аудио-система", nullptr}},
                  kMacroPorts));
  EXPECT_EQ(Tabs({}), TabNames(c));
  ExpectRows(c.Group(3), CommonEntries(creators.table, 3), {{kBePluginBlockClassId, L"Плагин", L"plugin.bmp"}});
  for (unsigned int id : {kScriptBlockClassId, kBeMonitorClassId, kBeCOMPortClassId, kBeGPIOClassId})
    EXPECT_EQ(nullptr, c.FindEntry(id)) << std::hex << id;
  // The entries make their real classes.
  CBEBlock* ui = c.FindEntry(kUIBlockClassId)->creator();
  EXPECT_NE(nullptr, dynamic_cast<CBEUI*>(ui));
  delete ui;
  CBEBlock* joystick = c.FindEntry(kUIJoystickBlockClassId)->creator();
  EXPECT_NE(nullptr, dynamic_cast<CBEUIJoystick*>(joystick));
  delete joystick;
  CBEBlock* audio = c.FindEntry(kBeDynamicsClassId)->creator();
  EXPECT_NE(nullptr, dynamic_cast<CBEDynamics*>(audio));
  delete audio;
}

TEST(UnitCatalogues, MicrocontrollerOffersPeripheralsPulseBlocksAndThePlot) {
  Creators creators(true);
  BeCatalogue c;
  ASSERT_TRUE(FillAvrCatalogue(&c, creators.table));
  ExpectRows(c.Group(0), 0,
             Join({{kBePortPinBlockClassId, L"Вывод микропроцессора", nullptr},
                   {kBeAvrUARTClassId, L"UART", nullptr},
                   {kBeAvrTimerClassId, L"Timer/Counter", nullptr},
                   {kBeAvrADCClassId, L"АЦП", nullptr},
                   {kBeAvrTWIClassId, L"Двухпроводной последовательный интерфейс (TWI)", nullptr},
                   {kBeAvrSPIClassId, L"SPI", nullptr}},
                  kMacroPorts));
  EXPECT_EQ(Tabs({L"Отладка"}), TabNames(c));
  ExpectRows(c.Group(2), CommonEntries(creators.table, 2),
             {{kBePWMDetectorClassId, L"Детектор ШИМ", L"pwmdetector.bmp"},
              {kBeIntervalDetectorClassId, L"Измеритель интервалов", L"IntervalDetector.bmp"},
              {kBeSoftwarePWMClassId, L"Программный ШИМ", L"pwm.bmp"}});
  ExpectRows(c.Group(3), CommonEntries(creators.table, 3), {});
  ExpectRows(c.Group(10), 0, {{kBeAvrPlotClassId, L"Построитель графика", L"avrploticon.bmp"}});
  // No plug-in, no script block, no intelligence, no computer ports.
  for (unsigned int id : {kBePluginBlockClassId, kScriptBlockClassId, kBeScanSectorClassId, kBeBoardUARTClassId,
                          kBeCOMPortClassId, kBeMonitorClassId})
    EXPECT_EQ(nullptr, c.FindEntry(id)) << std::hex << id;
}

TEST(UnitCatalogues, TheTwoUartsAreDifferentClasses) {
  Creators creators(true);
  BeCatalogue board, avr;
  ASSERT_TRUE(FillBoardComputerCatalogue(&board, creators.table));
  ASSERT_TRUE(FillAvrCatalogue(&avr, creators.table));
  EXPECT_EQ(nullptr, board.FindEntry(kBeAvrUARTClassId));
  EXPECT_EQ(nullptr, avr.FindEntry(kBeBoardUARTClassId));
  CBEBlock* uart = board.FindEntry(kBeBoardUARTClassId)->creator();
  EXPECT_NE(nullptr, dynamic_cast<CBEBoardUART*>(uart));
  delete uart;
}

TEST(UnitCatalogues, ClassesNotYetMadeAreLeftOutButTheirTabsKeepTheirPlaces) {
  Creators creators(false);
  BeCatalogue board, avr;
  ASSERT_TRUE(FillBoardComputerCatalogue(&board, creators.table));
  ASSERT_TRUE(FillAvrCatalogue(&avr, creators.table));
  EXPECT_EQ(Tabs({L"Интеллект", L"Отладка"}), TabNames(board));
  for (int i = 0; i < board.Group(10)->entryCount; ++i) {
    unsigned int id = board.Group(10)->Entry(i)->classId;
    EXPECT_TRUE(id == kScriptBlockClassId || creators.table.Find(id)) << std::hex << id;
  }
  EXPECT_EQ(Tabs({L"Отладка"}), TabNames(avr));
  for (unsigned int id : {kBeAvrUARTClassId, kBeAvrTimerClassId, kBeAvrTWIClassId})
    if (!creators.table.Find(id)) {
      EXPECT_EQ(nullptr, avr.FindEntry(id)) << std::hex << id;
    }
}

TEST(UnitCatalogues, EachKindIsBuiltOnceAndKindsAreSeparate) {
  BuildBoardComputerPalette();
  BuildPultComputerPalette();
  BuildAvrPalette();
  BeCatalogue* board = GetBoardComputerCatalogue();
  BeCatalogue* pult = GetPultComputerCatalogue();
  BeCatalogue* avr = GetAvrCatalogue();
  ASSERT_NE(nullptr, board);
  ASSERT_NE(nullptr, pult);
  ASSERT_NE(nullptr, avr);
  EXPECT_NE(board, pult);
  EXPECT_NE(board, avr);
  BeCatalogueGroup* firstGroup = board->Group(0);
  int groups = board->groupCount;
  BuildBoardComputerPalette();
  EXPECT_EQ(board, GetBoardComputerCatalogue());
  EXPECT_EQ(groups, board->groupCount);
  EXPECT_EQ(firstGroup, board->Group(0));
  // The program's own catalogues hold the library's device classes.
  EXPECT_NE(nullptr, board->FindEntry(kBeCOMPortClassId));
  EXPECT_NE(nullptr, pult->FindEntry(kBeDynamicsClassId));
}

TEST(UnitCatalogues, NoCatalogueToFillIsRefused) {
  Creators creators(false);
  EXPECT_FALSE(FillBoardComputerCatalogue(nullptr, creators.table));
  EXPECT_FALSE(FillPultComputerCatalogue(nullptr, creators.table));
  EXPECT_FALSE(FillAvrCatalogue(nullptr, creators.table));
}

}  // namespace
