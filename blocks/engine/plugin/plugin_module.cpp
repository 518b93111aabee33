#include "blocks/engine/plugin/plugin_module.h"

#include <cwchar>
#include <string>

#include "blocks/engine/plugin/plugin_host.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace {

BePluginModule* g_initialising = nullptr;

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn* slot) {
  FARPROC found = GetProcAddress(module, name);
  *slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
  return found != nullptr;
}

}  // namespace

const char* const BePluginModule::kEntryNames[BePluginModule::kEntryCount] = {
    "InitPlugin", "Init", "DestroyBlock", "InitBlock", "TickBlock",
    "DoneBlock", "BlockPropertyDlg", "SaveBlock", "LoadBlock"};

BePluginModule::BePluginModule(const wchar_t* name) : fileName(DupString(name)) {}

BePluginModule::~BePluginModule() {
  FreeKinds();
  if (module) FreeLibrary(module);
  module = nullptr;
  FreeBuffer(fileName);
  fileName = nullptr;
}

void BePluginModule::FreeKinds() {
  for (int i = 0; i < kindCount; ++i) FreeBuffer(kinds[i].name);
  FreeBuffer(kinds);
  kinds = nullptr;
  kindCount = 0;
}

bool BePluginModule::AddKind(BePluginCreator creator, const wchar_t* name) {
  if (!creator || !name || !*name) return false;
  wchar_t* copy = DupString(name);
  if (!copy) return false;
  if (!ResizeSteppedArray(&kinds, kindCount, kindCount + 1)) {
    FreeBuffer(copy);
    return false;
  }
  kinds[kindCount].name = copy;
  kinds[kindCount].creator = creator;
  ++kindCount;
  return true;
}

int BePluginModule::FindKind(const wchar_t* name) const {
  if (!name) return -1;
  for (int i = 0; i < kindCount; ++i) {
    if (kinds[i].name && wcscmp(kinds[i].name, name) == 0) return i;
  }
  return -1;
}

bool BePluginModule::Load(const wchar_t* folder) {
  if (!fileName || module) return false;
  std::wstring path = folder ? folder : L"";
  path += fileName;
  // A file that is no module must not bring up a system box.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  module = LoadLibraryW(path.c_str());
  SetErrorMode(oldMode);
  if (!module) return false;
  if (!Bind(module, kEntryNames[0], &InitPlugin) || !Bind(module, kEntryNames[1], &Init) ||
      !Bind(module, kEntryNames[2], &DestroyBlock) || !Bind(module, kEntryNames[3], &InitBlock) ||
      !Bind(module, kEntryNames[4], &TickBlock) || !Bind(module, kEntryNames[5], &DoneBlock) ||
      !Bind(module, kEntryNames[6], &BlockPropertyDlg) ||
      !Bind(module, kEntryNames[7], &SaveBlock) || !Bind(module, kEntryNames[8], &LoadBlock))
    return false;
  BePluginModule* outer = g_initialising;
  g_initialising = this;
  // A module whose initialisation throws is dropped.
  bool ok = true;
  try {
    InitPlugin(&kBeHostCallbacks);
    Init();
  } catch (...) {
    ok = false;
  }
  g_initialising = outer;
  return ok;
}

BePluginModule* GetInitialisingPluginModule() { return g_initialising; }

int RegisterPluginKind(BePluginCreator creator, const wchar_t* name) {
  BePluginModule* module = g_initialising;
  if (!module || !module->AddKind(creator, name)) return 0;
  return module->kindCount;
}
