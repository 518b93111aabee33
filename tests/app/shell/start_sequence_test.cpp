// The start-up sequence before the main window: what each kind of start
// does and leaves alone, and the component class registry's order.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/startup.h"
#include "app/test_host.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/dialogs/dialog_classes.h"
#include "blocks/dialogs/distance_dialog.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/proportional.h"
#include "blocks/panel/panel_kinds.h"
#include "components/devices/drives/actuator.h"
#include "components/devices/drives/dc_motor.h"
#include "components/devices/drives/ice.h"
#include "components/devices/drives/servo.h"
#include "components/devices/sensors/encoder.h"
#include "components/devices/sensors/inertial_system.h"
#include "components/devices/sensors/limit_switcher.h"
#include "components/devices/sensors/nav_receiver.h"
#include "components/devices/sensors/potentiometric.h"
#include "components/devices/sensors/sen136b5b.h"
#include "components/devices/sensors/srf05.h"
#include "components/devices/sensors/urm04.h"
#include "components/devices/sensors/urm37.h"
#include "components/electronic/battery.h"
#include "components/electronic/electronic_classes.h"
#include "components/electronic/resister.h"
#include "foundation/paths.h"
#include "kestui/core/kest_control.h"
#include "scheme/database/compdb.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme_icons.h"
#include "support/test_support.h"

namespace {

std::vector<std::wstring> g_started;
INT_PTR g_result = 42;

HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  g_started.push_back(file ? file : L"");
  return reinterpret_cast<HINSTANCE>(g_result);
}

std::wstring ReadVlkxAssociation() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L".vlkx", 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<missing>";
  wchar_t value[64] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return value;
}

// Every start begins from nothing: no registry rows, no folders, no icon.
class StartSequenceTest : public ::testing::Test {
protected:
  void SetUp() override {
    // What start-up changes goes back after the test.
    savedFolders_ = AppFolders();
    savedInstance_ = AppInstance();
    savedIcon_ = ApplicationIcon;
    savedIconsFolder_ = Text(GetSchemeIconsFolder());
    savedPluginFolder_ = Text(ProgramPluginList().folder);
    savedDbFolder_ = GetComponentDbFolder();
    savedImagesFolder_ = GetImagesFolder();
    g_started.clear();
    g_result = 42;
    host_.start = FakeShellExecute;
    g_schClassRegistry.Clear();
    BeBlockCreatorTable& creators = BeBlockCreatorTable::Program();
    for (int i = 0; i < creators.Count(); ++i) savedCreators_.push_back({creators.ClassIdAt(i), creators.CreatorAt(i)});
    creators.Clear();
    BeBlockDialogTable& dialogs = BeBlockDialogTable::Program();
    for (int i = 0; i < dialogs.Count(); ++i) savedDialogs_.push_back({dialogs.ClassIdAt(i), dialogs.DialogAt(i)});
    dialogs.Clear();
    SetAppFolders(ProgramFolders());
    SetSchemeIconsFolder(nullptr);
    ProgramPluginList().SetFolder(nullptr);
    ApplicationIcon = nullptr;
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vlkx");
    wchar_t path[kFoundationMaxPathChars];
    GetModulePath(path);
    module_ = path;
    marker_ = UpdateMarkerPath(path);
    expected_ = ComputeProgramFolders(path);
  }
  void TearDown() override {
    DeleteFileW(marker_.c_str());
    // Leave the registry as start-up leaves it for the other tests.
    g_schClassRegistry.Clear();
    RegisterComponentClasses();
    RegisterElectronicComponentCreators();
    BeBlockCreatorTable::Program().Clear();
    for (const auto& row : savedCreators_) BeBlockCreatorTable::Program().Set(row.first, row.second);
    BeBlockDialogTable::Program().Clear();
    for (const auto& row : savedDialogs_) BeBlockDialogTable::Program().Set(row.first, row.second);
    SetAppFolders(savedFolders_);
    SetAppInstance(savedInstance_);
    ApplicationIcon = savedIcon_;
    SetSchemeIconsFolder(OrNull(savedIconsFolder_));
    ProgramPluginList().SetFolder(OrNull(savedPluginFolder_));
    SetComponentDbFolder(OrNull(savedDbFolder_));
    SetImagesFolder(OrNull(savedImagesFolder_));
  }
  static std::wstring Text(const wchar_t* text) { return text ? text : L""; }
  static const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }
  void MakeMarker() {
    HANDLE f = CreateFileW(marker_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    CloseHandle(f);
  }
  apptest::TestHost host_;
  CKestHostScope hostScope_{&host_};
  ProgramFolders savedFolders_;
  HINSTANCE savedInstance_ = nullptr;
  HICON savedIcon_ = nullptr;
  std::wstring savedIconsFolder_, savedPluginFolder_, savedDbFolder_, savedImagesFolder_;
  std::wstring module_, marker_;
  ProgramFolders expected_;
  std::vector<std::pair<unsigned int, BeBlockCreator>> savedCreators_;
  std::vector<std::pair<unsigned int, BeBlockDialog>> savedDialogs_;
};

TEST_F(StartSequenceTest, PendingUpdateHandsOverBeforeAnythingElse) {
  MakeMarker();
  EXPECT_EQ(StartDecision::kExit, PrepareStart(GetModuleHandleW(nullptr), L"\"Робот.vlkx\""));
  ASSERT_EQ(1u, g_started.size());
  EXPECT_EQ(SiblingPath(module_.c_str(), L"update.exe"), g_started[0]);
  // No folder, registry entry, icon or class was touched.
  EXPECT_EQ(L"", AppFolders().program);
  EXPECT_EQ(nullptr, GetSchemeIconsFolder());
  EXPECT_EQ(nullptr, ProgramPluginList().folder);
  EXPECT_EQ(nullptr, ApplicationIcon);
  EXPECT_EQ(L"<missing>", ReadVlkxAssociation());
  EXPECT_EQ(0, g_schClassRegistry.Count());
}

TEST_F(StartSequenceTest, UpdaterThatCannotStartLetsTheProgramStart) {
  MakeMarker();
  g_result = 2;
  velktest::DialogAnswerer answer(IDOK);
  EXPECT_EQ(StartDecision::kMainWindow, PrepareStart(GetModuleHandleW(nullptr), L""));
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Невозможно запустить update.exe для обновления EXE-файла приложения", answer.Texts()[0]);
  EXPECT_EQ(kSchComponentClassCount, g_schClassRegistry.Count());
}

TEST_F(StartSequenceTest, RegisterStartsOnlyTheInstallerAfterTheAssociation) {
  for (const wchar_t* line : {L"-register", L"-register /silent"}) {
    SCOPED_TRACE(testing::Message() << line);
    g_started.clear();
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vlkx");
    EXPECT_EQ(StartDecision::kExit, PrepareStart(GetModuleHandleW(nullptr), line));
    ASSERT_EQ(1u, g_started.size());
    EXPECT_EQ(SiblingPath(module_.c_str(), L"3dsplugin\\install.exe"), g_started[0]);
    // Folders, icon and association came first; classes never.
    EXPECT_EQ(expected_.plugins, AppFolders().plugins);
    EXPECT_NE(nullptr, ApplicationIcon);
    EXPECT_EQ(L"Torvalk5.Electric", ReadVlkxAssociation());
    EXPECT_EQ(0, g_schClassRegistry.Count());
  }
}

TEST_F(StartSequenceTest, OrdinaryStartFillsFoldersAndRegistries) {
  for (const wchar_t* line : {L"", L"a.vlkx -register", L" -register"}) {
    SCOPED_TRACE(testing::Message() << line);
    g_schClassRegistry.Clear();
    EXPECT_EQ(StartDecision::kMainWindow, PrepareStart(GetModuleHandleW(nullptr), line));
    EXPECT_TRUE(g_started.empty());
    EXPECT_EQ(GetModuleHandleW(nullptr), AppInstance());
    EXPECT_NE(nullptr, ApplicationIcon);
    EXPECT_EQ(L"Torvalk5.Electric", ReadVlkxAssociation());

    EXPECT_EQ(expected_.program, AppFolders().program);
    EXPECT_EQ(expected_.helpFile, AppFolders().helpFile);
    EXPECT_EQ(expected_.robots, AppFolders().robots);
    ASSERT_NE(nullptr, GetSchemeIconsFolder());
    EXPECT_EQ(expected_.schemeIcons, GetSchemeIconsFolder());
    EXPECT_EQ(expected_.componentDb, GetComponentDbFolder());
    EXPECT_EQ(expected_.images, GetImagesFolder());
    ASSERT_NE(nullptr, ProgramPluginList().folder);
    EXPECT_EQ(expected_.plugins, ProgramPluginList().folder);

    EXPECT_NE(0u, ClipboardFormatVelkUi());
    EXPECT_NE(0u, ClipboardFormatBe5());
    EXPECT_NE(0u, ClipboardFormatVelkPcb());
    EXPECT_EQ(8, PanelItemKindCount());
    EXPECT_EQ(kSchComponentClassCount, g_schClassRegistry.Count());
    EXPECT_EQ(BlockLibraryClassCount(), BeBlockCreatorTable::Program().Count());
  }
}

// The block library's creators are registered at start-up, so a catalogue
// built afterwards (a programmable unit's) makes the real classes from its
// "Математика" group.
TEST_F(StartSequenceTest, BlockLibraryClassesAreRegistered) {
  ASSERT_EQ(StartDecision::kMainWindow, PrepareStart(GetModuleHandleW(nullptr), L""));
  EXPECT_EQ(CBEAdd::Create, BeBlockCreatorTable::Program().Find(kBeAddClassId));
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue));
  BeScheme scheme;
  scheme.Init(&catalogue);
  EXPECT_NE(nullptr, dynamic_cast<CBEAdd*>(scheme.CreateBlock(kBeAddClassId)));
  EXPECT_NE(nullptr, dynamic_cast<CBEProportional*>(scheme.CreateBlock(kBeProportionalClassId)));
}

// The block dialogs are registered at start-up: a block's ShowProperties
// finds its class's dialog.
TEST_F(StartSequenceTest, BlockDialogsAreRegistered) {
  EXPECT_EQ(0, BeBlockDialogTable::Program().Count());
  ASSERT_EQ(StartDecision::kMainWindow, PrepareStart(GetModuleHandleW(nullptr), L""));
  EXPECT_EQ(BlockDialogCount(), BeBlockDialogTable::Program().Count());
  EXPECT_EQ(ShowDistanceDialog, BeBlockDialogTable::Program().Find(kBeDistanceClassId));
}

TEST_F(StartSequenceTest, ComponentClassesInRegistrationOrder) {
  const char* const names[] = {
      "DCMotor",        "T_GIDRO",      "5_GIDRO",   "GND",           "PCB",
      "USB-COM",        "PULT",         "PultComputer", "MPW",        "MiniFit",
      "PLS",            "PLS2",         "Battery",   "Button",        "AVR",
      "L6203",          "L6205",        "FDD03",     "Multimeter",    "MAX232",
      "BOARD_COMPUTER", "POWER_SUPPLY", "Router",    "PoE",           "Injector",
      "Quartz",         "Capacitor",    "WF",        "CWF",           "Connector2",
      "Camera",         "Encoder",      "potentiometric", "LimitSwitcher", "StdLogic",
      "NavReceiver",    "Resister",     "InertialSystem", "Relay",    "BiTransistor",
      "Antenna",        "CMOSTransistor", "servo",   "URM04",         "URM37",
      "SRF-05",         "SEN136B5B",    "MiniUSB",   "HardDrive",     "diod",
      "MAX485",         "FT232RL",      "Mic",       "ICE",           "ACTUATOR",
  };
  static_assert(sizeof names / sizeof names[0] == 55, "55 classes");
  ASSERT_EQ(StartDecision::kMainWindow, PrepareStart(GetModuleHandleW(nullptr), L""));
  ASSERT_EQ(55, g_schClassRegistry.Count());
  for (int i = 0; i < 55; ++i) EXPECT_STREQ(names[i], g_schClassRegistry.Row(i).name) << i;
  // The electronic components' rows have their creators.
  EXPECT_EQ(CreateCSCHResister, g_schClassRegistry.Find("Resister")->creator);
  EXPECT_EQ(CreateCSCHBattery, g_schClassRegistry.Find("Battery")->creator);
  // And so have the drives'.
  EXPECT_EQ(CreateCSCHDCMotor, g_schClassRegistry.Find("DCMotor")->creator);
  EXPECT_EQ(CreateCSCHServo, g_schClassRegistry.Find("servo")->creator);
  EXPECT_EQ(CreateCSCHActuator, g_schClassRegistry.Find("ACTUATOR")->creator);
  EXPECT_EQ(CreateCSCHICE, g_schClassRegistry.Find("ICE")->creator);
  // And the shaft sensors'.
  EXPECT_EQ(CreateCSCHEncoder, g_schClassRegistry.Find("Encoder")->creator);
  EXPECT_EQ(CreateCSCHPotentiometric, g_schClassRegistry.Find("potentiometric")->creator);
  EXPECT_EQ(CreateCSCHLimitSwitcher, g_schClassRegistry.Find("LimitSwitcher")->creator);
  // And the range finders'.
  EXPECT_EQ(CreateCURM37, g_schClassRegistry.Find("URM37")->creator);
  EXPECT_EQ(CreateCURM04, g_schClassRegistry.Find("URM04")->creator);
  EXPECT_EQ(CreateCIE_SRF_05, g_schClassRegistry.Find("SRF-05")->creator);
  EXPECT_EQ(CreateCSEN136B5B, g_schClassRegistry.Find("SEN136B5B")->creator);
  // And the navigation receiver's and the inertial unit's.
  EXPECT_EQ(CreateCSCHNavReceiver, g_schClassRegistry.Find("NavReceiver")->creator);
  EXPECT_EQ(CreateCSCHInertialSystem, g_schClassRegistry.Find("InertialSystem")->creator);
}

}  // namespace
