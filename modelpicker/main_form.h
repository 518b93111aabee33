// CMainForm: modelpicker's only window, "Выбор модели". The left panel lists
// the tables ("Тип") and the models of the selected table ("Модель"); the
// right panel shows the selected model's picture and its parameters
// ("Параметры"), option parameters as combos that change the record's
// options in place, and the button "Выбрать", which writes the script
// (ExportScript) and closes the form.
//
// The form reacts to its widgets only while IsReady(): CKestForm::Create
// sets it, the preselection clears it while it runs, and the filling flag
// keeps the lists' own notifications out while the model list is refilled.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_scrollbox.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_paintbox.h"
#include "kestui/lists/kest_list_box.h"
#include "kestui/lists/kest_list_view.h"
#include "modelpicker/picker_state.h"
#include "scheme/database/compdb_widgets.h"
#include "scheme/database/option_combo.h"

// Command id of the button "Выбрать" (the option combos have
// kCompDbOptionComboId).
constexpr int kPickerChooseButtonId = 1001;

// Size of the form.
constexpr int kPickerMainFormWidth = 1020;
constexpr int kPickerMainFormHeight = 500;

// The texts of the clicked column of the model list, by item data (record
// index), and the column; the sort context of CompareModelItems.
struct ModelSortKeys {
  int column = 0;
  std::vector<std::wstring> textByRecord;
};

// The comparison of the model list's sort (LVM_SORTITEMS): first and second
// are the rows' item data, keys a ModelSortKeys*. Ascending by the rows'
// texts in the sorted column, code unit by code unit on their first 127
// characters.
int CALLBACK CompareModelItems(LPARAM first, LPARAM second, LPARAM keys);

class CMainForm : public CKestForm {
public:
  // Creates the window with its widgets and applies the preselection of the
  // state's model and options. state must outlive the form.
  explicit CMainForm(PickerState* state);
  ~CMainForm() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Refills the model list from the selected table (hidden when none).
  void FillModelList();
  // Rebuilds the parameter rows and the picture of the selected record.
  void BuildParameterPanel();
  // Takes the combo's selected position as the choice of its option and
  // refreshes the read-only values.
  void OnOptionChanged(COptionCombo* combo);
  // Draws the picture fitted into the preview on white.
  void PaintPreview();
  // Sorts the model list by one of its columns, ascending.
  void SortModelList(int column);
  // Writes the script of the selected record to the output path; false
  // without an output path, a selected record, or when the file could not be
  // written (reported in a message box).
  bool ExportScript();

  // The selected table and record (null when none).
  CompDbTable* GetSelectedTable() const;
  CompDbRecord* GetSelectedRecord() const;

  CKestListBox* GetTypeList() const { return typeList_; }
  CKestListView* GetModelList() const { return modelList_; }
  CKestScrollBox* GetParameterPanel() const { return parameterPanel_; }
  CKestPaintBox* GetPreview() const { return preview_; }
  CKestButton* GetChooseButton() const { return chooseButton_; }
  CKestImage* GetPicture() const { return picture_; }
  bool IsFilling() const { return filling_; }

  // One row of the parameter panel.
  using ParameterRow = CompDbParameterRow;
  const std::vector<ParameterRow>& GetParameterRows() const { return rows_; }

private:
  void BuildWidgets();
  CKestLabel* AddHeader(CKestContainer* panel, const wchar_t* caption);
  void Preselect();
  void ClearParameterPanel();
  void OnTypeListChanged();
  bool HandleNotify(const NMHDR* header);

  PickerState* state_;
  CKestListBox* typeList_ = nullptr;
  CKestListView* modelList_ = nullptr;
  CKestScrollBox* parameterPanel_ = nullptr;
  CKestPaintBox* preview_ = nullptr;
  CKestImage* picture_ = nullptr;
  bool filling_ = false;

  CKestButton* chooseButton_ = nullptr;
  CKestFont* headerFont_ = nullptr;
  int filledType_ = -1;  // the table the model list shows
  bool exported_ = false;
  bool exporting_ = false;
  std::vector<ParameterRow> rows_;
};
