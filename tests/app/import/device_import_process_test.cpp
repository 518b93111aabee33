// End to end: Velkboard.exe started with a 3ds Max model path and the
// model's device list opens the robot scheme, imports the devices from the
// program's own database, and saves them into the document.
#include <string>

#include "app/editor/scheme_file.h"
#include "app/import/device_fixture.h"
#include "app/resource.h"
#include "app/shell/startup.h"
#include "components/electronic/battery.h"
#include "foundation/paths.h"
#include "scheme/model/scheme_stream.h"
#include "support/test_support.h"

namespace importtest {
namespace {

const wchar_t kCaption[] = L"Редактор схем и подключений";

TEST_F(DeviceImportTest, VelkboardStartedWithAModelAndADeviceListSavesTheImportedDevices) {
  std::wstring exe = apptest::VelkboardExePath();
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(exe.c_str()));
  // The program's robots folder beside it; made for the test when missing.
  std::wstring robots = ComputeProgramFolders(exe.c_str()).robots;
  bool madeRobots = CreateDirectoryW(robots.c_str(), nullptr) != 0;
  std::wstring name = L"device_import_" + std::to_wstring(GetCurrentProcessId());
  std::wstring document = robots + name + L".vlkx";
  DeleteFileW(document.c_str());

  velktest::TempFolder folder;
  DeviceListWriter list;
  // Rows of the sample database shipped with the program.
  list.Record(L"K1", "btn ", DeviceListWriter::Model(WideToAnsi(L"КМ1-1")));
  list.Record(L"B1", "dev ", DeviceListWriter::Model("LP-103450", "1:1;"));
  list.Record(L"PS1", "dev ", DeviceListWriter::Model(WideToAnsi(L"БП-12-5")));
  list.Record(L"P1", "PCB ", DeviceListWriter::Board(0.1f, 0.08f));
  ASSERT_TRUE(folder.WriteFile(L"devices.lst", list.Bytes()));
  std::wstring arguments = L"\"" + folder.File(name + L".MAX") + L"\" \"" + folder.File(L"devices.lst") + L"\"";

  {
    velktest::ChildProcess program(exe, arguments);
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow(std::wstring(kCaption) + L" - " + name + L".vlkx *", 60000);
    ASSERT_NE(nullptr, window);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(ID_FILE_SAVE, 0), 0);
    EXPECT_NE(nullptr, program.WaitForWindow(std::wstring(kCaption) + L" - " + name + L".vlkx", 60000));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program.WaitForEnd(60000));
  }

  SchScheme scheme;
  bool read = ReadSchemeFile(document.c_str(), &scheme);
  DeleteFileW(document.c_str());
  DeleteFileW((robots + name + L".~vlkx").c_str());
  if (madeRobots) RemoveDirectoryW(robots.c_str());
  ASSERT_TRUE(read);
  ASSERT_EQ(4, scheme.BlockCount());
  CSCHBlock* button = scheme.FindBlockByName(L"K1");
  ASSERT_NE(nullptr, button);
  EXPECT_STREQ("Button", button->className);
  EXPECT_EQ(WideToAnsi(L"КМ1-1"), button->model);
  auto* battery = dynamic_cast<CSCHBattery*>(scheme.FindBlockByName(L"B1"));
  ASSERT_NE(nullptr, battery);
  EXPECT_STREQ("LP-103450", battery->model);
  EXPECT_STREQ("1:1;", battery->options);
  EXPECT_FLOAT_EQ(3.7f, battery->nominalVoltage);
  CSCHBlock* supply = scheme.FindBlockByName(L"PS1");
  ASSERT_NE(nullptr, supply);
  EXPECT_STREQ("POWER_SUPPLY", supply->className);
  CSCHBlock* board = scheme.FindBlockByName(L"P1");
  ASSERT_NE(nullptr, board);
  EXPECT_STREQ("PCB", board->className);
  EXPECT_FLOAT_EQ(100.0f, board->footprintWidth);
  EXPECT_FLOAT_EQ(80.0f, board->footprintLength);
  for (CSCHBlock* b = scheme.blocks; b; b = b->next) EXPECT_EQ(kSchBoardPart, b->flags & (kSchBoardPart | kSchUnseen));
}

}  // namespace
}  // namespace importtest
