#include "modelpicker/picker_state.h"

#include <windows.h>

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "foundation/paths.h"
#include "scheme/database/compdb.h"

CompDbTable* PickerState::GetTable(int index) const {
  if (index < 0 || index >= GetTableCount()) return nullptr;
  return tables[static_cast<size_t>(index)].get();
}

namespace {
bool IsArgumentBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

std::wstring GetNextArgument(const wchar_t** position) {
  const wchar_t* p = *position;
  if (!p) return std::wstring();
  while (IsArgumentBlank(*p)) ++p;
  const wchar_t* start;
  const wchar_t* end;
  if (*p == L'"') {
    start = ++p;
    while (*p && *p != L'"') ++p;
    end = p;
    if (*p) ++p;  // the closing quote
  } else {
    start = p;
    while (*p && !IsArgumentBlank(*p)) ++p;
    end = p;
  }
  *position = p;
  return std::wstring(start, end);
}

void AddTable(PickerState* state, const std::wstring& name) {
  state->tables.push_back(std::unique_ptr<CompDbTable>(new CompDbTable(name.c_str())));
}

void ParseCommandLine(const wchar_t* commandLine, PickerState* state) {
  const wchar_t* position = commandLine ? commandLine : L"";

  std::wstring names = GetNextArgument(&position);
  size_t start = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == L';') {
      AddTable(state, names.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < names.size()) AddTable(state, names.substr(start));

  state->model = WideToAnsi(GetNextArgument(&position));
  state->options = WideToAnsi(GetNextArgument(&position));
  state->outputPath = GetNextArgument(&position);
}

void InitDatabasePathsFrom(const std::wstring& programFolder) {
  std::wstring database = programFolder + L"VelkDB\\";
  SetComponentDbFolder(database.c_str());
  std::wstring images = database + L"images\\";
  SetImagesFolder(images.c_str());
}

void InitDatabasePaths() {
  wchar_t folder[kFoundationMaxPathChars];
  folder[0] = 0;
  GetExeDirectory(folder);
  InitDatabasePathsFrom(folder);
}

int LoadTables(PickerState* state) {
  int loaded = 0;
  for (auto& table : state->tables) {
    if (table->Load()) ++loaded;
  }
  return loaded;
}

std::wstring LockFilePath(const std::wstring& outputPath) {
  if (outputPath.empty()) return std::wstring();
  int length = ChangeFileExtension(nullptr, outputPath.c_str(), L".lock");
  std::wstring result(static_cast<size_t>(length), L'\0');
  ChangeFileExtension(&result[0], outputPath.c_str(), L".lock");
  return result;
}

bool DeleteOutputFile(const PickerState& state) {
  if (state.outputPath.empty()) return false;
  return DeleteFileW(state.outputPath.c_str()) != FALSE;
}

bool DeleteLockFile(const PickerState& state) {
  if (state.outputPath.empty()) return false;
  return DeleteFileW(LockFilePath(state.outputPath).c_str()) != FALSE;
}
