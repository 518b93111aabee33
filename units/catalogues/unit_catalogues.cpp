#include "units/catalogues/unit_catalogues.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/library/library_classes.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "blocks/panel/ui_blocks/be_ui_button.h"
#include "blocks/panel/ui_blocks/be_ui_indicator.h"
#include "blocks/panel/ui_blocks/be_ui_joystick.h"
#include "blocks/panel/ui_blocks/be_ui_trackbar.h"
#include "blocks/panel/ui_blocks/be_ui_video.h"
#include "script/script_block.h"

namespace {

// One entry of a kind's catalogue. group: null for the hidden group 0;
// otherwise the tab's name: the entry goes to the end of the tab of that
// name, which is appended first when the catalogue has none yet.
struct UnitEntryRow {
  const wchar_t* group;
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* bitmap;
  BeBlockCreator creator;  // classes of the engine, panel and script; null: the creator table's
};

const wchar_t kMacroTab[] = L"Макро и DLL";
const wchar_t kConvertersTab[] = L"Преобразователи";
const wchar_t kIntelligenceTab[] = L"Интеллект";
const wchar_t kDebugTab[] = L"Отладка";

const UnitEntryRow kBoardComputerRows[] = {
    {nullptr, kBeCOMPortClassId, L"COM-порт", nullptr, nullptr},
    {nullptr, kBeBoardUARTClassId, L"UART", nullptr, nullptr},
    {nullptr, kBeUSBClassId, L"USB-host", nullptr, nullptr},
    {nullptr, kBeLANClassId, L"LAN-адаптер", nullptr, nullptr},
    {nullptr, kBeWiFiClassId, L"WiFi-модуль", nullptr, nullptr},
    {nullptr, kBeGPIOClassId, L"GPIO", nullptr, nullptr},
    {nullptr, kBeLPTClassId, L"LPT", nullptr, nullptr},
    {nullptr, kBeAudioInClassId, L"AudioIn", nullptr, nullptr},
    {kMacroTab, kBePluginBlockClassId, L"Плагин", L"plugin.bmp", CBEPluginBlock::Create},
    {kIntelligenceTab, kBeScanSectorClassId, L"Построитель карты видимой области по стереозрению",
     L"scansector.bmp", nullptr},
    {kIntelligenceTab, kBeLocalMapClassId, L"Построитель локальной карты местности", L"locmap.bmp", nullptr},
    {kIntelligenceTab, kBeVideoNavigationClassId, L"Видеонавигация", L"videonavigation.bmp", nullptr},
    {kIntelligenceTab, kBeRoadDetectorClassId, L"Детектор дороги", L"roaddetector.bmp", nullptr},
    {kIntelligenceTab, kBeStripDetectorClassId, L"Блок распознавания светоотражающей полосы",
     L"stripdetector.bmp", nullptr},
    {kIntelligenceTab, kBeFuzzyClassId, L"Нечеткая логическая система", L"fuzzy.bmp", nullptr},
    {kIntelligenceTab, kScriptBlockClassId, L"Виртуальный процессор на основе JavaScript", L"js.bmp",
     CBEVirtualMachine::Create},
    {kDebugTab, kBeMonitorClassId, L"Вывод на экран", L"out.bmp", CBEMonitor::Create},
};

const UnitEntryRow kPultComputerRows[] = {
    {nullptr, kBeLANClassId, L"LAN-адаптер", nullptr, nullptr},
    {nullptr, kBeUSBClassId, L"USB-host", nullptr, nullptr},
    {nullptr, kBeWiFiClassId, L"WiFi-модуль", nullptr, nullptr},
    {nullptr, kUIBlockClassId, L"Интерфейс с пользователем", nullptr, CBEUI::Create},
    {nullptr, kUIButtonBlockClassId, L"Кнопка", nullptr, CBEUIButton::Create},
    {nullptr, kUITrackBarBlockClassId, L"Trackbar", nullptr, CBEUITrackBar::Create},
    {nullptr, kUIJoystickBlockClassId, L"Джойстик", nullptr, CBEUIJoystick::Create},
    {nullptr, kUIVideoBlockClassId, L"Видео", nullptr, CBEUIVideo::Create},
    {nullptr, kUIIndicatorBlockClassId, L"Индикатор", nullptr, CBEUIIndicator::Create},
    {nullptr, kBeDynamicsClassId, L"Аудио-система", nullptr, nullptr},
    {kMacroTab, kBePluginBlockClassId, L"Плагин", L"plugin.bmp", CBEPluginBlock::Create},
};

const UnitEntryRow kAvrRows[] = {
    {nullptr, kBePortPinBlockClassId, L"Вывод микропроцессора", nullptr, nullptr},
    {nullptr, kBeAvrUARTClassId, L"UART", nullptr, nullptr},
    {nullptr, kBeAvrTimerClassId, L"Timer/Counter", nullptr, nullptr},
    {nullptr, kBeAvrADCClassId, L"АЦП", nullptr, nullptr},
    {nullptr, kBeAvrTWIClassId, L"Двухпроводной последовательный интерфейс (TWI)", nullptr, nullptr},
    {nullptr, kBeAvrSPIClassId, L"SPI", nullptr, nullptr},
    {kConvertersTab, kBePWMDetectorClassId, L"Детектор ШИМ", L"pwmdetector.bmp", nullptr},
    {kConvertersTab, kBeIntervalDetectorClassId, L"Измеритель интервалов", L"IntervalDetector.bmp", nullptr},
    {kConvertersTab, kBeSoftwarePWMClassId, L"Программный ШИМ", L"pwm.bmp", nullptr},
    {kDebugTab, kBeAvrPlotClassId, L"Построитель графика", L"avrploticon.bmp", CBEAvrPlot::Create},
};

template <size_t N>
constexpr int CountOf(const UnitEntryRow (&)[N]) {
  return static_cast<int>(N);
}

// The tab of that name among groups 1 and up, appended when missing; null
// when memory ran out.
BeCatalogueGroup* TabNamed(BeCatalogue* catalogue, const wchar_t* name) {
  for (int i = 1; i < catalogue->groupCount; ++i) {
    BeCatalogueGroup* group = catalogue->Group(i);
    if (group && group->name && wcscmp(group->name, name) == 0) return group;
  }
  return catalogue->AddGroup(name);
}

bool AddRow(BeCatalogueGroup* group, const UnitEntryRow& row, const BeBlockCreatorTable& creators) {
  BeBlockCreator creator = row.creator ? row.creator : creators.Find(row.classId);
  if (!creator) return true;  // the class does not exist in this program (yet)
  return group->AddEntry(row.classId, creator, row.caption, row.bitmap);
}

bool FillCatalogue(BeCatalogue* catalogue, const UnitEntryRow* rows, int count,
                   const BeBlockCreatorTable& creators) {
  if (!catalogue) return false;
  catalogue->Init();
  BeCatalogueGroup* hidden = catalogue->AddGroup(nullptr);
  if (!hidden) return false;
  for (int i = 0; i < count; ++i)
    if (!rows[i].group && !AddRow(hidden, rows[i], creators)) return false;
  if (!AddCommonCatalogueGroups(catalogue, creators)) return false;
  for (int i = 0; i < count; ++i) {
    if (!rows[i].group) continue;
    BeCatalogueGroup* tab = TabNamed(catalogue, rows[i].group);
    if (!tab || !AddRow(tab, rows[i], creators)) return false;
  }
  return true;
}

BeCatalogue* g_boardComputerCatalogue = nullptr;
BeCatalogue* g_pultComputerCatalogue = nullptr;
BeCatalogue* g_avrCatalogue = nullptr;

// Builds a kind's catalogue once; it is never freed (units of the kind may
// be made until the process ends). A catalogue that memory ran out for
// keeps what could be made. The library's classes are made known to the
// program first (the program does so at start-up; it keeps what it has), so
// the catalogue never depends on who made the first unit.
void BuildOnce(BeCatalogue** slot, const UnitEntryRow* rows, int count) {
  if (*slot) return;
  RegisterBlockLibraryCreators();
  BeCatalogue* catalogue = new (std::nothrow) BeCatalogue;
  if (!catalogue) return;
  *slot = catalogue;
  FillCatalogue(catalogue, rows, count, BeBlockCreatorTable::Program());
}

}  // namespace

bool FillBoardComputerCatalogue(BeCatalogue* catalogue, const BeBlockCreatorTable& creators) {
  return FillCatalogue(catalogue, kBoardComputerRows, CountOf(kBoardComputerRows), creators);
}

bool FillPultComputerCatalogue(BeCatalogue* catalogue, const BeBlockCreatorTable& creators) {
  return FillCatalogue(catalogue, kPultComputerRows, CountOf(kPultComputerRows), creators);
}

bool FillAvrCatalogue(BeCatalogue* catalogue, const BeBlockCreatorTable& creators) {
  return FillCatalogue(catalogue, kAvrRows, CountOf(kAvrRows), creators);
}

void BuildBoardComputerPalette() {
  BuildOnce(&g_boardComputerCatalogue, kBoardComputerRows, CountOf(kBoardComputerRows));
}

void BuildPultComputerPalette() {
  BuildOnce(&g_pultComputerCatalogue, kPultComputerRows, CountOf(kPultComputerRows));
}

void BuildAvrPalette() { BuildOnce(&g_avrCatalogue, kAvrRows, CountOf(kAvrRows)); }

BeCatalogue* GetBoardComputerCatalogue() { return g_boardComputerCatalogue; }
BeCatalogue* GetPultComputerCatalogue() { return g_pultComputerCatalogue; }
BeCatalogue* GetAvrCatalogue() { return g_avrCatalogue; }
