#include "blocks/library/navigation/fuzzy_module.h"

#include <cwchar>

#include "kestui/core/kest_host.h"

const wchar_t kBeFuzzyModuleFile[] = L"fuzzydll.dll";
const wchar_t kBeFuzzyLoadError[] = L"Не удалось приинициализировать fuzzydll.dll";
const wchar_t kBeFuzzyLoadErrorCaption[] = L"Ошибка";

const char* const BeFuzzyModule::kEntryNames[kEntryCount] = {
    "CreateFuzzy",        "DestroyFuzzy",       "FuzzyExecute",        "FuzzyGetInputCount", "GetFuzzyInputName",
    "FuzzyGetOutputCount", "FuzzySetInput",     "FuzzyGetOutput",      "GetFuzzyOutputName", "FuzzyOpenEditor",
    "FuzzyIsEditor",      "FuzzySave",          "FuzzyLoad",
};

namespace {
BeFuzzyModule* g_installed = nullptr;

template <class Fn>
bool Bind(HMODULE module, const char* name, Fn* slot) {
  *slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *slot != nullptr;
}
}  // namespace

BeFuzzyModule::BeFuzzyModule(const wchar_t* folder) {
  if (folder) {
    ownFolder_ = true;
    wcsncpy(folder_, folder, kFoundationMaxPathChars - 1);
    folder_[kFoundationMaxPathChars - 1] = 0;
  }
}

BeFuzzyModule::~BeFuzzyModule() { Unload(); }

BeFuzzyModule* BeFuzzyModule::Program() {
  static BeFuzzyModule own;
  return g_installed ? g_installed : &own;
}

BeFuzzyModule* BeFuzzyModule::SetProgram(BeFuzzyModule* module) {
  BeFuzzyModule* old = g_installed;
  g_installed = module;
  return old;
}

bool BeFuzzyModule::IsEditorKeyDown() { return (GetAsyncKeyState('F') & 0x8000) != 0; }

void BeFuzzyModule::ShowMouseCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

bool BeFuzzyModule::Acquire() {
  if (!module_ && !Load()) {
    if (!reported_) {
      reported_ = true;
      GetKestHost()->ShowMessage(MB_OK | MB_ICONERROR, kBeFuzzyLoadErrorCaption, kBeFuzzyLoadError);
    }
    return false;
  }
  ++users_;
  return true;
}

void BeFuzzyModule::Release() {
  if (users_ <= 0) return;
  if (--users_ == 0) Unload();
}

bool BeFuzzyModule::Load() {
  wchar_t path[kFoundationMaxPathChars];
  if (ownFolder_)
    wcscpy(path, folder_);
  else
    GetExeDirectory(path);
  size_t used = wcslen(path);
  size_t name = wcslen(kBeFuzzyModuleFile);
  if (used + name >= kFoundationMaxPathChars) return false;
  wcscpy(path + used, kBeFuzzyModuleFile);
  // A file that is no module must not bring up a system box.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  module_ = LoadLibraryW(path);
  SetErrorMode(oldMode);
  if (!module_) return false;
  if (Bind(module_, kEntryNames[0], &CreateFuzzy) && Bind(module_, kEntryNames[1], &DestroyFuzzy) &&
      Bind(module_, kEntryNames[2], &FuzzyExecute) && Bind(module_, kEntryNames[3], &FuzzyGetInputCount) &&
      Bind(module_, kEntryNames[4], &GetFuzzyInputName) && Bind(module_, kEntryNames[5], &FuzzyGetOutputCount) &&
      Bind(module_, kEntryNames[6], &FuzzySetInput) && Bind(module_, kEntryNames[7], &FuzzyGetOutput) &&
      Bind(module_, kEntryNames[8], &GetFuzzyOutputName) && Bind(module_, kEntryNames[9], &FuzzyOpenEditor) &&
      Bind(module_, kEntryNames[10], &FuzzyIsEditor) && Bind(module_, kEntryNames[11], &FuzzySave) &&
      Bind(module_, kEntryNames[12], &FuzzyLoad))
    return true;
  Unload();
  return false;
}

void BeFuzzyModule::Unload() {
  if (editorFromRun) {
    ShowMouseCursor(false);
    editorFromRun = false;
  }
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  users_ = 0;
  CreateFuzzy = nullptr;
  DestroyFuzzy = nullptr;
  FuzzyExecute = nullptr;
  FuzzyGetInputCount = nullptr;
  GetFuzzyInputName = nullptr;
  FuzzyGetOutputCount = nullptr;
  FuzzySetInput = nullptr;
  FuzzyGetOutput = nullptr;
  GetFuzzyOutputName = nullptr;
  FuzzyOpenEditor = nullptr;
  FuzzyIsEditor = nullptr;
  FuzzySave = nullptr;
  FuzzyLoad = nullptr;
}
