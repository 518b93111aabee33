#include "foundation/paths.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "foundation/buffers.h"

namespace {
// Index of the extension's dot in the file name, or -1. The scan goes from
// the last character down to index 1 and stops at a separator.
int FindExtensionDot(const wchar_t* path, int len) {
  for (int i = len - 1; i >= 1; --i) {
    if (IsPathSeparator(path[i])) return -1;
    if (path[i] == L'.') return i;
  }
  return -1;
}

int FindLastSeparator(const wchar_t* path, int len) {
  for (int i = len - 1; i >= 1; --i)
    if (IsPathSeparator(path[i])) return i;
  return -1;
}
}  // namespace

int ChangeFileExtension(wchar_t* dst, const wchar_t* src, const wchar_t* ext) {
  int len = static_cast<int>(wcslen(src));
  int dot = FindExtensionDot(src, len);
  int keep = dot >= 0 ? dot : len;
  int extLen = ext ? static_cast<int>(wcslen(ext)) : 0;
  if (dst) {
    memmove(dst, src, 2 * keep);
    if (extLen) memcpy(dst + keep, ext, 2 * extLen);
    dst[keep + extLen] = 0;
  }
  return keep + extLen;
}

int GetFileExtension(wchar_t* out, const wchar_t* path) {
  int len = static_cast<int>(wcslen(path));
  int dot = FindExtensionDot(path, len);
  if (dot < 0) {
    if (out) out[0] = 0;
    return 0;
  }
  int n = len - dot - 1;
  if (out) memmove(out, path + dot + 1, 2 * (n + 1));
  return n;
}

int GetFileName(wchar_t* out, const wchar_t* path) {
  int len = static_cast<int>(wcslen(path));
  int sep = FindLastSeparator(path, len);
  if (sep < 0) {
    if (out) memmove(out, path, 2 * (len + 1));
    return 0;
  }
  int n = len - sep - 1;
  if (out) memmove(out, path + sep + 1, 2 * (n + 1));
  return n;
}

int GetDirectoryPart(wchar_t* dst, const wchar_t* src) {
  int len = static_cast<int>(wcslen(src));
  int sep = FindLastSeparator(src, len);
  int n = sep < 0 ? 0 : sep + 1;
  if (dst) {
    memmove(dst, src, 2 * n);
    dst[n] = 0;
  }
  return n;
}

wchar_t* DupDirectoryPart(const wchar_t* path) {
  wchar_t* out = AllocWideString(GetDirectoryPart(nullptr, path));
  if (out) GetDirectoryPart(out, path);
  return out;
}

int GetModulePath(wchar_t* buffer) {
  wchar_t scratch[kFoundationMaxPathChars];
  wchar_t* target = buffer ? buffer : scratch;
  DWORD n = GetModuleFileNameW(nullptr, target, kFoundationMaxPathChars);
  if (n >= static_cast<DWORD>(kFoundationMaxPathChars)) n = kFoundationMaxPathChars - 1;  // cut, still terminated
  target[n] = 0;
  return static_cast<int>(n);
}

wchar_t* DupModulePath() {
  wchar_t path[kFoundationMaxPathChars];
  GetModulePath(path);
  return DupString(path);
}

wchar_t* GetExeDirectory(wchar_t* buffer) {
  GetModulePath(buffer);
  int n = GetDirectoryPart(buffer, buffer);
  return buffer + n;
}
