#include "blocks/library/navigation/map_path.h"

#include <cstring>
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/paths.h"

namespace {
bool IsAbsoluteMapName(const wchar_t* name) {
  if (name[1] == L':' || name[1] == L'|') return true;
  return name[0] == L'\\' && name[1] == L'\\';
}
}  // namespace

wchar_t* ResolveMapPath(const wchar_t* name, const wchar_t* programFolder) {
  if (!name || !name[0]) return nullptr;
  if (IsAbsoluteMapName(name)) return DupString(name);
  static const wchar_t kRobots[] = L"Robots\\";
  const size_t folder = programFolder ? wcslen(programFolder) : 0;
  const size_t robots = wcslen(kRobots);
  const size_t tail = wcslen(name);
  wchar_t* path = AllocWideString(folder + robots + tail);
  if (!path) return nullptr;
  if (folder) memcpy(path, programFolder, 2 * folder);
  memcpy(path + folder, kRobots, 2 * robots);
  memcpy(path + folder + robots, name, 2 * (tail + 1));
  return path;
}

wchar_t* ResolveMapPath(const wchar_t* name) {
  if (!name || !name[0]) return nullptr;
  if (IsAbsoluteMapName(name)) return DupString(name);
  wchar_t* module = DupModulePath();
  if (!module) return nullptr;
  wchar_t* folder = DupDirectoryPart(module);
  FreeBuffer(module);
  if (!folder) return nullptr;
  wchar_t* path = ResolveMapPath(name, folder);
  FreeBuffer(folder);
  return path;
}
