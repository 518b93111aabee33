// A host for Velkboard's tests: outside programs and the help viewer go to
// the test's own functions (each null: the base host's answer; for help,
// "no viewer").
#pragma once

#include <windows.h>

#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"

namespace apptest {

class TestHost : public CKestHost {
public:
  using StartFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  using HelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

  HINSTANCE StartProgram(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                         const wchar_t* folder, int show) override {
    if (!start) return CKestHost::StartProgram(owner, verb, file, parameters, folder, show);
    return start(owner, verb, file, parameters, folder, show);
  }
  bool OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) override {
    if (!help) return false;
    help(owner, file, command, data);
    return true;
  }

  StartFn start = nullptr;
  HelpFn help = nullptr;
};

}  // namespace apptest
