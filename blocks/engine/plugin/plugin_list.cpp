#include "blocks/engine/plugin/plugin_list.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "blocks/engine/plugin/plugin_module.h"
#include "foundation/buffers.h"

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
