#include "app/editor/command_line.h"

#include "foundation/paths.h"

std::wstring NextCommandLineToken(const wchar_t** cursor) {
  std::wstring token;
  if (!cursor || !*cursor) return token;
  const wchar_t* p = *cursor;
  while (*p == L' ' || *p == L'\t') p++;
  if (*p == L'"') {
    p++;
    const wchar_t* start = p;
    while (*p && *p != L'"') p++;
    token.assign(start, p);
    if (*p) p++;  // the closing quote
  } else {
    const wchar_t* start = p;
    while (*p && *p != L' ' && *p != L'\t') p++;
    token.assign(start, p);
  }
  *cursor = p;
  return token;
}

std::wstring BuildRobotSchemePath(const std::wstring& robotsFolder, const wchar_t* modelPath) {
  std::wstring name = modelPath ? modelPath : L"";
  for (size_t i = name.size(); i > 0; --i) {
    if (IsPathSeparator(name[i - 1])) {
      name.erase(0, i);
      break;
    }
  }
  size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return robotsFolder + name + L".vlkx";
}
