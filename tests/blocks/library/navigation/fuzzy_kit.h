// Helpers of the fuzzy block's tests: a module of the test's own (its
// folder, the F key and the cursor under the test's control), installed as
// the program's while it lives, and the steering exports of the stand-in
// "fuzzydll.dll" (tests/blocks/library/fuzzy_stub).
#pragma once

#include <windows.h>

#include <string>

#include "blocks/library/navigation/fuzzy_module.h"

namespace fuzzytest {

// The test program's folder, with its last separator.
inline std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1);
}
// The folders of the whole stand-in, of the one without "FuzzyLoad", and
// one where no module lies.
inline std::wstring StubFolder() { return ProgramFolder() + L"fuzzy_stub\\"; }
inline std::wstring PartialStubFolder() { return ProgramFolder() + L"fuzzy_stub_partial\\"; }
inline std::wstring NoModuleFolder() { return ProgramFolder() + L"no_fuzzy_module\\"; }

// A module in that folder whose F key the test holds and whose cursor calls
// it counts; the program's module while it lives. Declared before the
// blocks that use it.
class ModuleScope : public BeFuzzyModule {
public:
  explicit ModuleScope(const std::wstring& folder) : BeFuzzyModule(folder.c_str()) { old_ = SetProgram(this); }
  ~ModuleScope() override { SetProgram(old_); }
  bool IsEditorKeyDown() override { return keyDown; }
  void ShowMouseCursor(bool show) override {
    shown += show ? 1 : -1;
    ++cursorCalls;
  }
  bool keyDown = false;
  int shown = 0;        // the display count the calls leave
  int cursorCalls = 0;  // ShowCursor calls made

private:
  BeFuzzyModule* old_;
};

// The stand-in loaded from a folder now; null when it is not loaded.
inline HMODULE LoadedStub(const std::wstring& folder) {
  return GetModuleHandleW((folder + L"fuzzydll.dll").c_str());
}

// The stand-in's steering exports, from the copy loaded now.
class Stub {
public:
  explicit Stub(const std::wstring& folder = StubFolder()) : module_(LoadedStub(folder)) {}
  bool Loaded() const { return module_ != nullptr; }
  void SetNextEdit(int in, int out) { Call<void (*)(int, int)>("StubSetNextEdit")(in, out); }
  void CloseEditor() { Call<void (*)()>("StubCloseEditor")(); }
  int EditorOpens() { return Call<int (*)()>("StubEditorOpens")(); }
  std::string LastTitle() { return Call<const char* (*)()>("StubLastTitle")(); }
  int LastFlag() { return Call<int (*)()>("StubLastFlag")(); }
  int Executes() { return Call<int (*)()>("StubExecutes")(); }
  int LiveModels() { return Call<int (*)()>("StubLiveModels")(); }
  void SetExecuteHook(void (*hook)(void*), void* data) {
    Call<void (*)(void (*)(void*), void*)>("StubSetExecuteHook")(hook, data);
  }
  void Reset() { Call<void (*)()>("StubReset")(); }

private:
  template <class Fn>
  Fn Call(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }
  HMODULE module_;
};

// The editor's titles as the block hands them over (code page 1251).
const char kDebugTitle1251[] = "\xCE\xF2\xEB\xE0\xE4\xEA\xE0";  // "Отладка"
const char kDialogTitle1251[] =
    "\xCD\xE5\xF7\xE5\xF2\xEA\xE0\xFF\x20\xEB\xEE\xE3\xE8\xF7\xE5\xF1\xEA\xE0\xFF\x20\xF1\xE8\xF1\xF2\xE5\xEC\xE0";

}  // namespace fuzzytest
