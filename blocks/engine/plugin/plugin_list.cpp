#include "blocks/engine/plugin/plugin_list.h"

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
    InitPlugin(&kHostCallbacks);
    Init();
  } catch (...) {
    ok = false;
  }
  g_initialising = outer;
  return ok;
}

BePluginList::~BePluginList() {
  Clear();
  FreeBuffer(folder);
  folder = nullptr;
}

void BePluginList::SetFolder(const wchar_t* path) { ReplaceString(&folder, path); }

void BePluginList::Clear() {
  while (head) {
    BePluginModule* next = head->next;
    delete head;
    head = next;
    if (head) head->previous = nullptr;
  }
}

int BePluginList::Count() const {
  int n = 0;
  for (const BePluginModule* m = head; m; m = m->next) ++n;
  return n;
}

BePluginModule* BePluginList::FindModule(const wchar_t* fileName) const {
  if (!fileName) return nullptr;
  for (BePluginModule* m = head; m; m = m->next) {
    if (m->fileName && _wcsicmp(m->fileName, fileName) == 0) return m;
  }
  return nullptr;
}

void BePluginList::ScanFolder() {
  Clear();
  // Without a folder nothing is loaded: the working folder is no place to
  // take code from.
  if (!folder) return;
  // Paths are built without a length limit.
  std::wstring pattern = std::wstring(folder) + L"*.dll";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    BePluginModule* module = new BePluginModule(found.cFileName);
    module->next = head;
    if (head) head->previous = module;
    head = module;
    if (!module->Load(folder)) {
      head = module->next;
      if (head) head->previous = nullptr;
      delete module;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

BePluginList& ProgramPluginList() {
  static BePluginList list;
  return list;
}

BePluginModule* GetInitialisingPluginModule() { return g_initialising; }

int RegisterPluginKind(BePluginCreator creator, const wchar_t* name) {
  BePluginModule* module = g_initialising;
  if (!module || !module->AddKind(creator, name)) return 0;
  return module->kindCount;
}
