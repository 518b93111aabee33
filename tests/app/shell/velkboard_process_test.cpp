// End to end: Velkboard.exe starts as a process of its own, shows its main
// window maximised, and ends with exit code 0 when that window is closed.
#include <string>

#include "app/app_fixture.h"
#include "app/shell/startup.h"
#include "foundation/paths.h"
#include "support/test_support.h"

namespace {

const wchar_t kCaption[] = L"Редактор схем и подключений";

TEST(VelkboardProcess, StartsMaximisedAndEndsWhenClosed) {
  std::wstring exe = apptest::VelkboardExePath();
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(exe.c_str())) << "Velkboard.exe is built beside the tests";
  velktest::ChildProcess program(exe, L"");
  ASSERT_TRUE(program.Started());

  HWND window = program.WaitForWindow(kCaption, 60000);
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_NE(nullptr, GetMenu(window));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, program.WaitForEnd(60000));
}

}  // namespace
