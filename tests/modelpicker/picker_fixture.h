// Helpers of the modelpicker tests: tables written into a temporary database
// folder, and a fixture that leaves no form and no quit request behind.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/buffers.h"
#include "foundation/paths.h"
#include "modelpicker/main_form.h"
#include "modelpicker/picker_state.h"
#include "support/compdb_form_checks.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace pickertest {

// UTF-16 text in the tables' ANSI code page (1251 under the test setup).
inline std::string Ansi(const wchar_t* text) { return WideToAnsi(text); }

// The program folder of the test executable (ends with a separator).
inline std::wstring ExeFolder() {
  wchar_t folder[kFoundationMaxPathChars] = {};
  GetExeDirectory(folder);
  return folder;
}

// A database folder of its own: tables are written as ANSI files named
// after them, pictures go to "images\". It becomes the component database
// folder while the object lives.
class TestDatabase {
public:
  TestDatabase() {
    CreateDirectoryW((folder_.Path() + L"VelkDB").c_str(), nullptr);
    CreateDirectoryW(ImagesFolder().c_str(), nullptr);
    InitDatabasePathsFrom(folder_.Path());
  }
  ~TestDatabase() { InitDatabasePathsFrom(ExeFolder()); }

  // lines joined with "\r\n", text given in UTF-16.
  void WriteTable(const std::wstring& name, const std::wstring& text) {
    std::wstring crlf;
    for (wchar_t c : text) {
      if (c == L'\n') crlf += L'\r';
      crlf += c;
    }
    ASSERT_TRUE(folder_.WriteFile(L"VelkDB\\" + name + L".txt", Ansi(crlf.c_str())));
  }
  std::wstring ImagesFolder() const { return folder_.Path() + L"VelkDB\\images\\"; }
  const velktest::TempFolder& Folder() const { return folder_; }

private:
  velktest::TempFolder folder_;
};

// Adds and loads tables by name.
inline void LoadNamedTables(PickerState* state, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) AddTable(state, name);
  LoadTables(state);
}

// Each test starts and ends with no forms and no pending quit.
class PickerFormTest : public ::testing::Test {
protected:
  void SetUp() override { ClearForms(); }
  void TearDown() override { ClearForms(); }

  static void ClearForms() {
    velktest::CloseAllLiveForms();
  }

  // A shown form on state, its layout settled.
  static CMainForm* OpenForm(PickerState* state) {
    CMainForm* form = new CMainForm(state);
    form->Show(false);
    velktest::FlushEvents();
    return form;
  }

  // What a click on type index does: select it, then the framework's
  // command from the list box.
  static void ClickType(CMainForm* form, int index) {
    form->GetTypeList()->SetSelectedIndex(index);
    HWND list = form->GetTypeList()->GetHandle();
    SendMessageW(form->GetHandle(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(list));
    velktest::FlushEvents();
  }

  // Selects a row of the model list as the mouse would (the list view
  // reports the change itself).
  static void SelectRow(CMainForm* form, int row) {
    velktest::SelectListViewRow(form->GetModelList()->GetHandle(), row);
  }

  static std::wstring RowText(CMainForm* form, int row, int column) {
    wchar_t buffer[512];
    form->GetModelList()->GetItemText(row, column, buffer, 512);
    return buffer;
  }

  static std::wstring WindowText(HWND window) { return velktest::WindowText(window); }

  static std::wstring ValueText(const CMainForm::ParameterRow& row) {
    return velktest::ParameterValueText(row);
  }
};

}  // namespace pickertest
