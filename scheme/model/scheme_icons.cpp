#include "scheme/model/scheme_icons.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/graphics/image.h"

namespace {

// The folder lives as long as the program; a static holder frees it at exit.
struct IconsFolder {
  wchar_t* path = nullptr;
  ~IconsFolder() { FreeBuffer(path); }
} g_iconsFolder;

}  // namespace

void SetSchemeIconsFolder(const wchar_t* folder) {
  ReplaceString(&g_iconsFolder.path, folder);
}

const wchar_t* GetSchemeIconsFolder() { return g_iconsFolder.path; }

bool MakeSchemeIconPath(wchar_t* path, const wchar_t* fileName) {
  path[0] = 0;
  if (!g_iconsFolder.path || !fileName) return false;
  size_t a = wcslen(g_iconsFolder.path), b = wcslen(fileName);
  if (a + b > 259) return false;
  wmemcpy(path, g_iconsFolder.path, a);
  wmemcpy(path + a, fileName, b + 1);
  return true;
}

bool LoadSchemeIcon(CKestImage* image, const wchar_t* fileName) {
  if (!image) return false;
  if (!image->IsNull()) return true;
  wchar_t path[260];
  if (!MakeSchemeIconPath(path, fileName)) return false;
  return SUCCEEDED(image->Load(path));
}
