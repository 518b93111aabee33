// End to end: Velkboard.exe starts as a process of its own, shows its main
// window maximised, and ends with exit code 0 when that window is closed.
#include <string>

#include "app/startup.h"
#include "foundation/paths.h"
#include "support/test_support.h"

namespace {

const wchar_t kCaption[] = L"Редактор схем и подключений";

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindowProc(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  if (std::wstring(text) != kCaption) return TRUE;
  search->found = window;
  return FALSE;
}

// Waits (at most timeoutMs) for the process's visible main window; null when
// the process ended or the time ran out.
HWND WaitForMainWindow(HANDLE process, DWORD processId, DWORD timeoutMs) {
  WaitForInputIdle(process, timeoutMs);
  DWORD start = GetTickCount();
  for (;;) {
    Search search = {processId, nullptr};
    EnumWindows(FindMainWindowProc, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return nullptr;
    // Wakes early when the process ends.
    DWORD wait = MsgWaitForMultipleObjects(1, &process, FALSE, std::min<DWORD>(100, timeoutMs - spent),
                                           QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) return nullptr;
    velktest::FlushEvents();
  }
}

TEST(VelkboardProcess, StartsMaximisedAndEndsWhenClosed) {
  wchar_t module[kMaxPathChars];
  GetModulePath(module);
  std::wstring exe = SiblingPath(module, L"Velkboard.exe");
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(exe.c_str())) << "Velkboard.exe is built beside the tests";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

  HWND window = WaitForMainWindow(pi.hProcess, pi.dwProcessId, 60000);
  EXPECT_NE(nullptr, window);
  if (window) {
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_NE(nullptr, GetMenu(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else {
    TerminateProcess(pi.hProcess, 99);
  }
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
  DWORD code = 1234;
  EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
  EXPECT_EQ(0u, code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
