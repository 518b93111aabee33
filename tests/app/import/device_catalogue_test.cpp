// The catalogue of database tables the device import searches.
#include <string>

#include "app/import/device_fixture.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"

namespace importtest {
namespace {

std::wstring CatalogueNames() {
  std::wstring names;
  for (int i = 0; i < CatalogueTableCount(); i++) names += std::wstring(CatalogueTable(i)->GetName()) + L";";
  return names;
}

TEST_F(DeviceImportTest, TheCatalogueHasATableForEveryTextFileOfTheDatabase) {
  database_.WriteFile(L".hidden.txt", "x");
  database_.WriteFile(L"gps.v2.txt", "x");
  database_.WriteFile(L"notes.doc", "x");
  FreeCatalogue();
  LoadCatalogue();
  std::wstring names = CatalogueNames();
  for (const wchar_t* name : {L"batteries;", L"buttons;", L"servo;", L"computers;", L"distance;", L"gps;"})
    EXPECT_NE(std::wstring::npos, names.find(name)) << name << " in " << names;
  EXPECT_EQ(6, CatalogueTableCount()) << names;
  // Tables load on first use.
  for (int i = 0; i < CatalogueTableCount(); i++) EXPECT_EQ(0, CatalogueTable(i)->GetColumnCount());
  FreeCatalogue();
  EXPECT_EQ(0, CatalogueTableCount());
}

TEST_F(DeviceImportTest, RowsAreFoundInTheFirstTableOfTheNameIgnoringCase) {
  FreeCatalogue();
  CompDbTable* first = new CompDbTable(L"Servo");
  ASSERT_TRUE(first->LoadFromBytes("A\nM\nmodel\n\nS-1\n", 15));
  CompDbTable* second = new CompDbTable(L"servo");
  ASSERT_TRUE(second->LoadFromBytes("A\nM\nmodel\n\nS-2\n", 15));
  ASSERT_TRUE(AddCatalogueTable(first));
  ASSERT_TRUE(AddCatalogueTable(second));
  CompDbRecord* row = FindCatalogueRow(L"SERVO", "S-1", nullptr);
  ASSERT_NE(nullptr, row);
  EXPECT_EQ(first, row->GetTable());
  // The second table of the name is never searched; keys match exactly.
  EXPECT_EQ(nullptr, FindCatalogueRow(L"servo", "S-2", nullptr));
  EXPECT_EQ(nullptr, FindCatalogueRow(L"servo", "s-1", nullptr));
  EXPECT_EQ(nullptr, FindCatalogueRow(L"motors", "S-1", nullptr));
  EXPECT_EQ(nullptr, FindCatalogueRow(L"servo", nullptr, nullptr));
  FreeCatalogue();
}

TEST_F(DeviceImportTest, AMissingTableFileFindsNothing) {
  FreeCatalogue();
  ASSERT_TRUE(AddCatalogueTable(new CompDbTable(L"cameras")));
  EXPECT_EQ(nullptr, FindCatalogueRow(L"cameras", "C-1", nullptr));
  FreeCatalogue();
}

}  // namespace
}  // namespace importtest
