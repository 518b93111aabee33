#include "app/editor/scheme_file.h"

#include <windows.h>

#include <cwchar>

#include "foundation/memory_stream.h"
#include "foundation/paths.h"
#include "scheme/model/scheme.h"

namespace {
const wchar_t* const kBackupExtension = L".~vlkx";
}

SchemeFileAccess ProbeSchemeFile(const wchar_t* path) {
  if (!path || !*path) return SchemeFileAccess::kMissing;
  // A read-only file is refused as such, whatever rights the user has.
  DWORD attributes = GetFileAttributesW(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return SchemeFileAccess::kUnusable;
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return SchemeFileAccess::kReadWrite;
  }
  DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return SchemeFileAccess::kMissing;
  return SchemeFileAccess::kUnusable;
}

bool ReadSchemeFile(const wchar_t* path, SchScheme* scheme) {
  if (!path || !scheme) return false;
  try {
    CMemoryStream stream;
    if (!stream.LoadFromFile(path)) return false;
    stream.Seek(0, 0);
    return scheme->Read(&stream, 0);
  } catch (...) {
    return false;
  }
}

bool WriteSchemeFile(SchScheme* scheme, const wchar_t* path) {
  if (!path || !scheme) return false;
  try {
    CMemoryStream stream;
    scheme->Write(&stream, 0);
    stream.Seek(0, 0);
    if (!stream.SaveToFile(path)) return false;
  } catch (...) {
    return false;
  }
  SchScheme check;
  return ReadSchemeFile(path, &check);
}

std::wstring SchemeBackupPath(const wchar_t* path) {
  if (!path) return L"";
  int length = ChangeFileExtension(nullptr, path, kBackupExtension);
  if (length <= 0) return L"";
  std::wstring backup(static_cast<size_t>(length) + 1, L'\0');
  ChangeFileExtension(&backup[0], path, kBackupExtension);
  backup.resize(wcslen(backup.c_str()));
  return backup;
}
