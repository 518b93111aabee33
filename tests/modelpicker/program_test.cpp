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

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindPickerWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  if (owner == search->process && IsWindowVisible(window) &&
      std::wstring(caption) == L"Выбор модели") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindChooseButton(HWND window, LPARAM param) {
  wchar_t text[32] = {};
  GetWindowTextW(window, text, 32);
  if (std::wstring(text) == L"Выбрать") {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

class PickerProgram {
public:
  // Starts modelpicker.exe beside the test with the given arguments.
  explicit PickerProgram(const std::wstring& arguments) {
    std::wstring exe = ExeFolder() + L"modelpicker.exe";
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info_) != FALSE;
  }
  ~PickerProgram() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 9);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }

  // The form once it is shown; null when it did not come in time or the
  // program ended first. Waits on the process, never blindly.
  HWND WaitForForm() {
    DWORD start = GetTickCount();
    WaitForInputIdle(info_.hProcess, kStartTimeoutMs);
    for (;;) {
      WindowSearch search = {info_.dwProcessId, nullptr};
      EnumWindows(FindPickerWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      if (GetTickCount() - start > kStartTimeoutMs) return nullptr;
      if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
  }
  // The exit code, or -1 when the program did not end in time.
  int WaitForEnd() {
    if (WaitForSingleObject(info_.hProcess, kEndTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
  }

private:
  bool started_ = false;
  PROCESS_INFORMATION info_ = {};
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
  PickerProgram program(L"resistors;servo \"SG90\" \"2:1;\" \"" + output + L"\"");
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
