// The main window's device-list import: from the command line after the
// document, into a document without a file name, and from a list that
// cannot be read.
#include <string>

#include "app/import/device_fixture.h"
#include "app/views/scheme_view.h"
#include "kestui/core/kest_messages.h"

namespace importtest {
namespace {

const wchar_t kCaption[] = L"Редактор схем и подключений";

std::string ButtonAndBatteryList() {
  DeviceListWriter list;
  list.Record(L"K1", "btn ", DeviceListWriter::Model(WideToAnsi(L"КМ1-1")));
  list.Record(L"B1", "dev ", DeviceListWriter::Model("LP-1"));
  list.Record(L"P1", "PCB ", DeviceListWriter::Board(0.1f, 0.08f));
  return list.Bytes();
}

TEST_F(DeviceImportTest, TheSecondTokenOfTheCommandLineIsImportedIntoTheDocument) {
  velktest::TempFolder folder;
  ASSERT_TRUE(folder.WriteFile(L"devices.lst", ButtonAndBatteryList()));
  std::wstring document = folder.File(L"robot.vlkx");
  CMainForm* form = MakeMainForm();
  ShowWindow(form->GetHandle(), SW_SHOW);
  velktest::DialogAnswerer answers(IDOK);
  std::wstring line = L"\"" + document + L"\" \"" + folder.File(L"devices.lst") + L"\" ignored";
  form->OpenCommandLineFiles(line.c_str());
  EXPECT_EQ(0, answers.Count());

  CSphEditor* editor = apptest::OnlyEditor();
  ASSERT_NE(nullptr, editor);
  SchScheme* scheme = form->GetScheme();
  ASSERT_NE(nullptr, scheme);
  EXPECT_EQ(3, scheme->BlockCount());
  EXPECT_NE(nullptr, scheme->FindBlockByName(L"K1"));
  EXPECT_NE(nullptr, scheme->FindBlockByName(L"B1"));
  EXPECT_NE(nullptr, scheme->FindBlockByName(L"P1"));
  EXPECT_TRUE(form->IsModified());
  EXPECT_EQ(std::wstring(kCaption) + L" - robot.vlkx *", apptest::WindowTextOf(form->GetHandle()));
  // The new components lie inside the view's scroll range.
  RECT extent = editor->GetSchemeView()->ComputeExtent();
  for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
    EXPECT_LE(extent.left, b->rect.left);
    EXPECT_GE(extent.right, b->rect.right);
    EXPECT_LE(extent.top, b->rect.top);
    EXPECT_GE(extent.bottom, b->rect.bottom);
  }
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"device_import.bmp"));

  // Saved and opened again, the same list changes nothing.
  form->SaveScheme();
  EXPECT_FALSE(form->IsModified());
  ClearAll();
  form = MakeMainForm();
  form->OpenCommandLineFiles(line.c_str());
  ASSERT_NE(nullptr, form->GetScheme());
  EXPECT_EQ(3, form->GetScheme()->BlockCount());
  EXPECT_EQ(0, answers.Count());
}

TEST_F(DeviceImportTest, ADocumentWithoutAFileNameIsNotImportedInto) {
  velktest::TempFolder folder;
  ASSERT_TRUE(folder.WriteFile(L"devices.lst", ButtonAndBatteryList()));
  CMainForm* form = MakeMainForm();
  CSCHBlock* managed = form->GetScheme()->CreateBlock("Battery");
  managed->flags = kSchBoardPart;
  velktest::DialogAnswerer answers(IDOK);
  // A first token that opens nothing leaves the form without a document.
  std::wstring line = L"robot.txt \"" + folder.File(L"devices.lst") + L"\"";
  form->OpenCommandLineFiles(line.c_str());
  ASSERT_EQ(1, answers.Count());
  EXPECT_EQ(kVelkNoDocumentForDevicesMessage, answers.Texts()[0]);
  EXPECT_EQ(1, form->GetScheme()->BlockCount());
  EXPECT_EQ(managed, form->GetScheme()->blocks);
  EXPECT_FALSE(form->IsModified());
}

TEST_F(DeviceImportTest, AListThatCannotBeReadChangesNothing) {
  velktest::TempFolder folder;
  CMainForm* form = MakeMainForm();
  form->OpenScheme(folder.File(L"robot.vlkx").c_str());
  CSCHBlock* managed = form->GetScheme()->CreateBlock("Battery");
  managed->flags = kSchBoardPart;
  velktest::DialogAnswerer answers(IDOK);
  form->ImportModelDevices(folder.File(L"missing.lst").c_str());
  ASSERT_EQ(1, answers.Count());
  EXPECT_EQ(std::wstring(kVelkUnreadableDeviceListMessage) + L"\n" + folder.File(L"missing.lst"), answers.Texts()[0]);
  EXPECT_EQ(managed, form->GetScheme()->blocks);
  EXPECT_FALSE(form->IsModified());
}

TEST_F(DeviceImportTest, AnEmptyListDeletesTheMarkedComponentsOfTheDocument) {
  velktest::TempFolder folder;
  ASSERT_TRUE(folder.WriteFile(L"empty.lst", std::string()));
  CMainForm* form = MakeMainForm();
  form->OpenScheme(folder.File(L"robot.vlkx").c_str());
  form->GetScheme()->CreateBlock("Battery")->flags = kSchBoardPart;
  CSCHBlock* own = form->GetScheme()->CreateBlock("Button");
  form->ImportModelDevices(folder.File(L"empty.lst").c_str());
  EXPECT_EQ(own, form->GetScheme()->blocks);
  EXPECT_EQ(1, form->GetScheme()->BlockCount());
  EXPECT_TRUE(form->IsModified());
}

}  // namespace
}  // namespace importtest
