#include "app/import/device_catalogue.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "foundation/plain_array.h"
#include "scheme/database/compdb.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"

namespace {

// Longest table name taken from a file name.
const size_t kTableNameChars = 260;

CPlainArray<CompDbTable*>& Catalogue() {
  static CPlainArray<CompDbTable*> tables(16);
  return tables;
}

}  // namespace

void LoadCatalogue() {
  std::wstring pattern = std::wstring(GetComponentDbFolder()) + L"*.txt";
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    name = name.substr(0, name.find(L'.'));
    if (name.size() > kTableNameChars) name.resize(kTableNameChars);
    if (!name.empty()) AddCatalogueTable(new CompDbTable(name.c_str()));
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

bool AddCatalogueTable(CompDbTable* table) {
  if (!table) return false;
  if (!Catalogue().Append(table)) {
    delete table;
    return false;
  }
  return true;
}

CompDbRecord* FindCatalogueRow(const wchar_t* tableName, const char* key, const char* options) {
  if (!tableName || !key) return nullptr;
  for (CompDbTable* table : Catalogue()) {
    if (_wcsicmp(table->GetName(), tableName) != 0) continue;
    if (table->GetColumnCount() == 0) table->Load();
    CompDbRecord* row = table->FindRecord(key);
    if (row && options) row->SetOptions(options);
    return row;
  }
  return nullptr;
}

void FreeCatalogue() {
  CPlainArray<CompDbTable*>& tables = Catalogue();
  for (CompDbTable* table : tables) delete table;
  tables.Resize(0);
}

int CatalogueTableCount() { return Catalogue().Count(); }

CompDbTable* CatalogueTable(int index) {
  if (index < 0 || index >= Catalogue().Count()) return nullptr;
  return Catalogue()[index];
}
