// A simulation-block plug-in: one DLL of the program's "Plugins\" folder,
// bound by its nine exports and handed the table of host functions, and the
// block kinds it registers.
#pragma once

#include <windows.h>

#include "blocks/engine/plugin/plugin_api.h"

// One block kind of a DLL: its name (owned copy) and its creator.
struct BePluginKind {
  wchar_t* name;
  BePluginCreator creator;
};

class BePluginModule {
public:
  explicit BePluginModule(const wchar_t* fileName);
  // Frees the kinds, unloads the DLL and frees the file name.
  ~BePluginModule();
  BePluginModule(const BePluginModule&) = delete;
  BePluginModule& operator=(const BePluginModule&) = delete;

  // Loads folder + file name, binds the nine exports, then calls
  // "InitPlugin" with the host table and "Init", with this module as the
  // module being initialised. False when the DLL does not load, lacks an
  // export, or throws from either call.
  bool Load(const wchar_t* folder);

  // Appends a kind (a copy of name); false for a null creator, an empty
  // name, or when memory ran out.
  bool AddKind(BePluginCreator creator, const wchar_t* name);
  // The index of the kind whose name equals name exactly; -1 when none.
  int FindKind(const wchar_t* name) const;
  const BePluginKind* Kind(int i) const { return i >= 0 && i < kindCount ? &kinds[i] : nullptr; }

  static const int kEntryCount = 9;
  static const char* const kEntryNames[kEntryCount];

  // Fields, in this order.
  BePluginModule* next = nullptr;
  BePluginModule* previous = nullptr;
  int kindCount = 0;
  BePluginKind* kinds = nullptr;  // owned, with the names
  wchar_t* fileName = nullptr;    // owned, without folder
  HMODULE module = nullptr;
  BePluginInitPluginFn InitPlugin = nullptr;
  BePluginInitFn Init = nullptr;
  BePluginDestroyBlockFn DestroyBlock = nullptr;
  BePluginInitBlockFn InitBlock = nullptr;
  BePluginTickBlockFn TickBlock = nullptr;
  BePluginDoneBlockFn DoneBlock = nullptr;
  BePluginBlockPropertyDlgFn BlockPropertyDlg = nullptr;
  BePluginSaveBlockFn SaveBlock = nullptr;
  BePluginLoadBlockFn LoadBlock = nullptr;

private:
  void FreeKinds();
};

// The module whose "InitPlugin" or "Init" runs now; null at any other time.
BePluginModule* GetInitialisingPluginModule();
// The host function RegisterBlock: adds a kind to the module being
// initialised and answers its new kind count; 0 (nothing added) when no
// module is being initialised or the kind is refused.
int RegisterPluginKind(BePluginCreator creator, const wchar_t* name);
