#include "blocks/library/navigation/map_file.h"

#include <windows.h>

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "blocks/library/navigation/nav_map.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace {

const double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
// A row holds at most nine numbers of at most 39 digits before the point.
const int kLineChars = 1024;
// Paths from this length on are handed to the system in their long form
// (the temporary name adds its suffix to them).
const size_t kLongPathFrom = MAX_PATH - 12 - 6;
const wchar_t kTempSuffix[] = L".~tmp";

struct TextBuffer {
  char* data = nullptr;
  int size = 0;
  int capacity = 0;
  bool failed = false;
};

void AppendBytes(TextBuffer* text, const char* bytes, int n) {
  if (text->failed) return;
  if (n > INT_MAX - text->size || !ResizeGrowingArray(&text->data, &text->capacity, text->size + n, 4096)) {
    text->failed = true;
    return;
  }
  memcpy(text->data + text->size, bytes, static_cast<size_t>(n));
  text->size += n;
}

// One line formatted with printf's rules, "\n" written as CR LF. Numbers
// always have "." as their point, whatever the C runtime's locale.
void AppendLine(TextBuffer* text, const char* format, ...) {
  char line[kLineChars + 1];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
  if (n < 0 || n >= kLineChars) {
    text->failed = true;
    return;
  }
  for (int i = 0; i < n; ++i)
    if (line[i] == ',') line[i] = '.';
  if (n > 0 && line[n - 1] == '\n') {
    line[n - 1] = '\r';
    line[n++] = '\n';
  }
  AppendBytes(text, line, n);
}

double Degrees(float angle) { return static_cast<double>(angle) * kDegreesPerRadian; }

// The path as the system takes it at any length: a long path becomes its
// full form behind "\\?\" ("\\?\UNC\" for a share). A heap text.
wchar_t* LongPathForm(const wchar_t* path) {
  if (wcslen(path) < kLongPathFrom || wcsncmp(path, L"\\\\?\\", 4) == 0) return DupString(path);
  DWORD n = GetFullPathNameW(path, 0, nullptr, nullptr);
  if (n == 0) return DupString(path);
  wchar_t* full = AllocWideString(n);
  if (!full) return nullptr;
  DWORD m = GetFullPathNameW(path, n + 1, full, nullptr);
  if (m == 0 || m > n) {
    FreeBuffer(full);
    return DupString(path);
  }
  const bool share = full[0] == L'\\' && full[1] == L'\\';
  const wchar_t* prefix = share ? L"\\\\?\\UNC\\" : L"\\\\?\\";
  const wchar_t* rest = share ? full + 2 : full;
  wchar_t* result = AllocWideString(wcslen(prefix) + wcslen(rest));
  if (result) {
    wcscpy(result, prefix);
    wcscat(result, rest);
  }
  FreeBuffer(full);
  return result;
}

bool WriteAll(HANDLE file, const char* data, int size) {
  int done = 0;
  while (done < size) {
    DWORD part = static_cast<DWORD>(size - done > (1 << 20) ? (1 << 20) : size - done);
    DWORD written = 0;
    if (!WriteFile(file, data + done, part, &written, nullptr) || written != part) return false;
    done += static_cast<int>(part);
  }
  return true;
}

}  // namespace

char* FormatMapText(const NavMap* map, int* size) {
  TextBuffer text;
  AppendLine(&text, "*IMAGES\t%d\n", map->imageCount);
  AppendLine(&text, "x\ty\tangle\tpxl1\tpxl2\tpxl3\tpxl4\tpxl5\tpxl6\n");
  for (int i = 0; i < map->imageCount && !text.failed; ++i) {
    const NavImage& m = map->images[i];
    AppendLine(&text, "%0.4f\t%0.4f\t%0.3f\t%0.4f\t%0.4f\t%0.4f\t%0.8f\t%0.8f\t%0.8f\n", m.x, m.y,
               Degrees(m.angle), m.pxl1, m.pxl2, m.pxl3, m.pxl4, m.pxl5, m.pxl6);
  }
  AppendLine(&text, "*WALLS\t%d\n", map->wallCount);
  AppendLine(&text, "sensor\tx\ty\tangle\n");
  for (int i = 0; i < map->wallCount && !text.failed; ++i) {
    const NavWall& w = map->walls[i];
    AppendLine(&text, "%d\t%0.4f\t%0.4f\t%0.3f\n", w.finder, w.x, w.y, Degrees(w.angle));
  }
  AppendLine(&text, "*PLACES\t%d\n", map->placeCount);
  AppendLine(&text, "id\tx\ty\tangle\n");
  for (int i = 0; i < map->placeCount && !text.failed; ++i) {
    const NavPlace& p = map->places[i];
    AppendLine(&text, "%d\t%0.4f\t%0.4f\t%0.3f\n", p.id, p.x, p.y, Degrees(p.angle));
  }
  if (text.failed) {
    FreeBuffer(text.data);
    return nullptr;
  }
  *size = text.size;
  return text.data;
}

bool ReplaceFileContents(const wchar_t* path, const char* data, int size) {
  wchar_t* target = LongPathForm(path);
  if (!target) return false;
  wchar_t* temp = AllocWideString(wcslen(target) + wcslen(kTempSuffix));
  if (!temp) {
    FreeBuffer(target);
    return false;
  }
  wcscpy(temp, target);
  wcscat(temp, kTempSuffix);
  bool ok = false;
  HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    ok = WriteAll(file, data, size);
    if (!CloseHandle(file)) ok = false;
    if (ok) ok = MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileW(temp);
  }
  FreeBuffer(temp);
  FreeBuffer(target);
  return ok;
}
