// CDBExplorer: the editor's modal model chooser "Выбор модели". It loads its
// own copies of one or more component database tables and shows them side
// by side: the tables ("Тип"), the records of the selected table ("Модель")
// and the selected record's picture and parameters ("Параметры"), whose
// option cells can be changed in place (formula cells such as the price
// follow). "Выбрать" closes it with 1 and leaves the chosen record as its
// result; "Отмена", Esc (2) and the close box (0) leave none.
//
// Given a model, it opens on that model with the given options, only to show
// it: without "Выбрать", and option changes stay in its own copy of the
// record.
//
// The caller owns it: after CKestForm::ShowModal it reads GetSelectedRow
// (valid until the explorer is deleted) and deletes it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_scrollbox.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/graphics/kest_paintbox.h"
#include "kestui/lists/kest_list_box.h"
#include "kestui/lists/kest_list_view.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/database/compdb_widgets.h"
#include "scheme/database/option_combo.h"

// Command ids and size of the explorer.
constexpr int kVelkExplorerChooseId = 1000;
constexpr int kVelkExplorerCancelId = 1001;
constexpr int kVelkExplorerWidth = 1024;
constexpr int kVelkExplorerHeight = 500;

class CDBExplorer : public CKestForm {
public:
  // owner: the owner form or null. tableNames: table names separated by
  // ";" (blanks before a name are skipped; "a;;b" names an empty table in
  // the middle, which loads nothing; a ";" at the end adds none). model: the
  // first cell of the record to show, 8-bit, or null to choose one. options:
  // "key:choice;" pairs for that record, or null. The list is not changed.
  CDBExplorer(CKestControl* owner, const wchar_t* tableNames, const char* model,
              const char* options);
  ~CDBExplorer() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Appends a table (the explorer owns it from now on).
  void AddTable(CompDbTable* table);
  // Refills the model list from the selected table; hidden when none.
  void FillModelList();
  // Takes the selected row from the selections and rebuilds its picture
  // and parameter rows.
  void ShowRowDetails();
  // The combo's choice becomes its option's choice; the read-only values
  // are set again.
  void ApplyParameterChoice(COptionCombo* combo);
  // Draws the picture fitted into the preview on white.
  void PaintPreview();

  // The record of the selected table and model, or null; after ShowModal,
  // null unless "Выбрать" closed the explorer.
  CompDbRecord* GetSelectedRow() const { return selectedRow_; }
  bool IsViewOnly() const { return viewOnly_; }
  int GetTableCount() const { return static_cast<int>(tables_.size()); }
  CompDbTable* GetTable(int index) const;  // null outside the list

  CKestListBox* GetTypeList() const { return typeList_; }
  CKestListView* GetModelList() const { return modelList_; }
  CKestScrollBox* GetParameterBox() const { return parameterBox_; }
  CKestPaintBox* GetPreview() const { return preview_; }
  CKestButton* GetChooseButton() const { return chooseButton_; }
  CKestButton* GetCancelButton() const { return cancelButton_; }
  CKestImage* GetPreviewImage() const { return previewImage_; }
  const std::vector<CompDbParameterRow>& GetParameterRows() const { return rows_; }

private:
  void SplitTableList(const wchar_t* tableNames);
  void BuildControls();
  CKestLabel* AddHeader(CKestContainer* panel, const wchar_t* caption);
  void SelectInitialRow(const char* model, const char* options);
  void SelectRow(int table, int row);
  CompDbRecord* FindListRow() const;
  bool HandleNotify(const NMHDR* header);

  std::vector<std::unique_ptr<CompDbTable>> tables_;
  CompDbRecord* selectedRow_ = nullptr;
  bool viewOnly_ = false;
  CKestListBox* typeList_ = nullptr;
  CKestListView* modelList_ = nullptr;
  CKestScrollBox* parameterBox_ = nullptr;
  CKestPaintBox* preview_ = nullptr;
  CKestImage* previewImage_ = nullptr;

  CKestButton* chooseButton_ = nullptr;
  CKestButton* cancelButton_ = nullptr;
  CKestFont* headerFont_ = nullptr;
  int filledTable_ = -1;  // the table the model list shows
  bool filling_ = false;
  std::vector<CompDbParameterRow> rows_;
};

// Shows a component's record (its table, model and options) in a view-only
// explorer owned by the main form, modally, and deletes it. Nothing reaches
// the component. Start-up hands it to the scheme as the model viewer.
void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options);
