// modelpicker.exe as the 3ds Max side starts it: four arguments, a lock file
// that the program deletes when it ends, and the script it writes when the
// user presses "Выбрать".
#include <windows.h>

#include <string>

#include "picker_fixture.h"

namespace {

using pickertest::Ansi;
using pickertest::ExeFolder;

constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kEndTimeoutMs = 30000;

BOOL CALLBACK FindChooseButton(HWND window, LPARAM param) {
  wchar_t text[32] = {};
  GetWindowTextW(window, text, 32);
  if (std::wstring(text) == L"Выбрать") {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

// modelpicker.exe beside the test, started with the given arguments.
class PickerProgram : public velktest::ChildProcess {
public:
  explicit PickerProgram(const std::wstring& arguments)
      : ChildProcess(ExeFolder() + L"modelpicker.exe", arguments) {}
  HWND WaitForForm() { return WaitForWindow(L"Выбор модели", kStartTimeoutMs); }
  int WaitForEnd() { return ChildProcess::WaitForEnd(kEndTimeoutMs); }
};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PickerProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    output = folder.File(L"модель робота.ms");
    lock = folder.File(L"модель робота.lock");
    // What the caller leaves: an old script and its lock file.
    ASSERT_TRUE(folder.WriteFile(L"модель робота.ms", "old script\r\n"));
    ASSERT_TRUE(folder.WriteFile(L"модель робота.lock", ""));
  }
  velktest::TempFolder folder;
  std::wstring output;
  std::wstring lock;
};

TEST_F(PickerProgramTest, ChooseWritesTheScriptAndTheLockFileGoes) {
  PickerProgram program(L"resisters;servo \"SG90\" \"2:1;\" \"" + output + L"\"");
  ASSERT_TRUE(program.Started());
  HWND form = program.WaitForForm();
  ASSERT_NE(nullptr, form);
  // The old script went at start-up; the lock file stays while it runs.
  EXPECT_FALSE(Exists(output));
  EXPECT_TRUE(Exists(lock));

  HWND button = nullptr;
  EnumChildWindows(form, FindChooseButton, reinterpret_cast<LPARAM>(&button));
  ASSERT_NE(nullptr, button);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, kEndTimeoutMs, &answer);
  ASSERT_EQ(0, program.WaitForEnd());

  EXPECT_FALSE(Exists(lock));
  std::string expected = Ansi(
      L"$.maker = \"TowerPro\"\r\n"
      L"$.torque = 1.800000\r\n"
      L"$.speed = 0.100000\r\n"
      L"$.Umax = 6.000000\r\n"
      L"$.gear = \"металл\"\r\n"
      L"$.mass = 0.009000\r\n"
      L"$.price = 320.000000\r\n"
      L"$.kind = \"Микро, \\\"9 г\\\"\"\r\n"
      L"$.options = \"2:1;\"\r\n"
      L"( if (findString $.name \"servo\")==undefined then $.name = uniqueName \"servo\" )\r\n");
  EXPECT_TRUE(velktest::BytesEqual(velktest::ReadWholeFile(output),
                                   std::vector<uint8_t>(expected.begin(), expected.end())));
}

TEST_F(PickerProgramTest, ClosingWithoutChoosingLeavesNoScript) {
  PickerProgram program(L"servo SG90 \"\" \"" + output + L"\"");
  ASSERT_TRUE(program.Started());
  HWND form = program.WaitForForm();
  ASSERT_NE(nullptr, form);
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_EQ(0, program.WaitForEnd());
  EXPECT_FALSE(Exists(output));
  EXPECT_FALSE(Exists(lock));
}

}  // namespace
