// The simulation-block plug-ins: every DLL of the program's "Plugins\" folder
// that loads, newest first.
#pragma once

class BePluginModule;

class BePluginList {
public:
  BePluginList() {}
  ~BePluginList();
  BePluginList(const BePluginList&) = delete;
  BePluginList& operator=(const BePluginList&) = delete;

  // Keeps a copy of the folder path (null clears it).
  void SetFolder(const wchar_t* folder);
  // Unloads every module, then loads each "*.dll" of the folder, the one
  // found last at the head; modules that fail to load are dropped silently.
  // Plug-in blocks keep pointers to modules: scan only before any exists.
  void ScanFolder();
  // The first module from the head whose file name equals fileName,
  // ignoring letter case; null when none.
  BePluginModule* FindModule(const wchar_t* fileName) const;
  // Deletes every module.
  void Clear();
  int Count() const;

  // Fields, in this order.
  BePluginModule* head = nullptr;  // newest loaded first
  wchar_t* folder = nullptr;       // owned; ends with a backslash
};

// The program's one plug-in list.
BePluginList& ProgramPluginList();
