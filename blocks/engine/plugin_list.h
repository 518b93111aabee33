// Simulation-block plug-ins: DLLs in the program's "Plugins\" folder, each
// bound by its nine exported entry points.
#pragma once

#include <windows.h>

class BePluginModule {
public:
  explicit BePluginModule(const wchar_t* fileName);
  ~BePluginModule();
  BePluginModule(const BePluginModule&) = delete;
  BePluginModule& operator=(const BePluginModule&) = delete;

  // LoadLibraryW of folder + file name, then every entry point; false when
  // the module does not load or lacks one of them.
  bool Load(const wchar_t* folder);

  static const int kEntryCount = 9;
  static const char* const kEntryNames[kEntryCount];

  wchar_t* fileName = nullptr;
  HMODULE module = nullptr;
  FARPROC entries[kEntryCount] = {};
  BePluginModule* next = nullptr;
};

class BePluginList {
public:
  BePluginList() {}
  ~BePluginList();
  BePluginList(const BePluginList&) = delete;
  BePluginList& operator=(const BePluginList&) = delete;

  // Keeps a copy of the folder path (null clears it).
  void SetFolder(const wchar_t* folder);
  // Unloads every module, then loads each "*.dll" of the folder, newest at
  // the head of the list; modules that fail to load are dropped.
  void ScanFolder();
  void Clear();
  int Count() const;

  wchar_t* folder = nullptr;
  BePluginModule* head = nullptr;
};

// The program's one plug-in list.
BePluginList& ProgramPluginList();
