// A fixture for tests of Velkboard's windows: each test starts and ends with
// no forms and no pending quit, with a host that starts no outside program
// and has no help viewer unless the test says so (apptest::TestHost).
#pragma once

#include <windows.h>

#include <string>

#include "app/shell/main_form.h"
#include "app/shell/startup.h"
#include "kestui/forms/kest_form.h"
#include "kestui/hints/kest_hint.h"
#include "app/test_host.h"
#include "foundation/paths.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace apptest {

// Velkboard.exe of the build, beside the test program.
inline std::wstring VelkboardExePath() {
  wchar_t module[kFoundationMaxPathChars];
  GetModulePath(module);
  return SiblingPath(module, L"Velkboard.exe");
}

inline std::wstring WindowTextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

class WindowsTest : public ::testing::Test {
protected:
  void SetUp() override { ClearAll(); }
  void TearDown() override { ClearAll(); }

  TestHost host_;
  CKestHostScope hostScope_{&host_};

  static void ClearAll() {
    velktest::CloseAllLiveForms();
    StopHintTimer();
    MainKestForm = nullptr;
  }
  // A main window as start-up makes it (not yet shown).
  static CMainForm* MakeMainForm() {
    MainKestForm = nullptr;
    CMainForm* form = new CMainForm;
    EXPECT_NE(nullptr, form->GetHandle());
    return form;
  }
};

}  // namespace apptest
