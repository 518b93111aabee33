#include "blocks/engine/plugin_list.h"

#include <string>

#include "foundation/buffers.h"

const char* const BePluginModule::kEntryNames[BePluginModule::kEntryCount] = {
    "InitPlugin", "Init", "DestroyBlock", "InitBlock", "TickBlock",
    "DoneBlock", "BlockPropertyDlg", "SaveBlock", "LoadBlock"};

BePluginModule::BePluginModule(const wchar_t* name) : fileName(DupString(name)) {}

BePluginModule::~BePluginModule() {
  if (module) FreeLibrary(module);
  FreeBuffer(fileName);
}

bool BePluginModule::Load(const wchar_t* folder) {
  if (!fileName) return false;
  std::wstring path = folder ? folder : L"";
  path += fileName;
  module = LoadLibraryW(path.c_str());
  if (!module) return false;
  for (int i = 0; i < kEntryCount; ++i) {
    entries[i] = GetProcAddress(module, kEntryNames[i]);
    if (!entries[i]) return false;
  }
  return true;
}

BePluginList::~BePluginList() {
  Clear();
  FreeBuffer(folder);
}

void BePluginList::SetFolder(const wchar_t* path) {
  ReplaceString(&folder, path);
}

void BePluginList::Clear() {
  while (head) {
    BePluginModule* next = head->next;
    delete head;
    head = next;
  }
}

int BePluginList::Count() const {
  int n = 0;
  for (const BePluginModule* m = head; m; m = m->next) ++n;
  return n;
}

void BePluginList::ScanFolder() {
  Clear();
  if (!folder) return;
  // Paths are built without a fixed length limit.
  std::wstring pattern = std::wstring(folder) + L"*.dll";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    BePluginModule* module = new BePluginModule(found.cFileName);
    if (module->Load(folder)) {
      module->next = head;
      head = module;
    } else {
      delete module;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

BePluginList& ProgramPluginList() {
  static BePluginList list;
  return list;
}
