#include "app/browser/db_explorer.h"

#include <commctrl.h>

#include <string>

#include "foundation/ansi_text.h"
#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

CDBExplorer::CDBExplorer(CKestControl* owner, const wchar_t* tableNames, const char* model,
                         const char* options)
    : viewOnly_(model != nullptr) {
  SplitTableList(tableNames);
  if (!Create(owner, L"Выбор модели", KEST_POS_FLOW, kVelkExplorerWidth, kVelkExplorerHeight, nullptr,
              true, true, true, true)) {
    return;
  }
  SelectInitialRow(model, options);
}

CDBExplorer::~CDBExplorer() {
  // The window goes after this body: nothing may reach the tables then.
  SetReady(false);
  rows_.clear();
  selectedRow_ = nullptr;
  tables_.clear();
  delete previewImage_;
  previewImage_ = nullptr;
  if (headerFont_) headerFont_->Release();
  headerFont_ = nullptr;
}

void CDBExplorer::SplitTableList(const wchar_t* tableNames) {
  const wchar_t* p = tableNames ? tableNames : L"";
  while (*p) {
    while (IsBlank(*p)) ++p;
    if (!*p) break;
    const wchar_t* start = p;
    while (*p && *p != L';') ++p;
    std::wstring name(start, p);
    if (*p == L';') ++p;
    CompDbTable* table = new CompDbTable(name.c_str());
    AddTable(table);
    table->Load();  // a table that does not load keeps the caption "Ошибка таблицы"
  }
}

void CDBExplorer::AddTable(CompDbTable* table) {
  if (table) tables_.push_back(std::unique_ptr<CompDbTable>(table));
}

CompDbTable* CDBExplorer::GetTable(int index) const {
  if (index < 0 || index >= GetTableCount()) return nullptr;
  return tables_[static_cast<size_t>(index)].get();
}

// ---------------------------------------------------------------------------

CKestLabel* CDBExplorer::AddHeader(CKestContainer* panel, const wchar_t* caption) {
  return AddCompDbHeader(panel, caption, headerFont_, KEST_LABEL_MEASURE);
}

void CDBExplorer::BuildControls() {
  headerFont_ = new CKestFont(L"Verdana", -14, 700);
  headerFont_->AddRef();

  CKestPanel* left = new CKestPanel(this, -1, KEST_POS_LEFT, 490, 500, false, false);
  AddHeader(left, L"Тип");
  typeList_ = new CKestListBox(left, 0, KEST_POS_TOP, 400, 150, 0, false);
  for (const auto& table : tables_) {
    typeList_->AddItem(AnsiToWide(table->GetCaption()).c_str(), 0);
  }
  new CKestHSplitter(left, KEST_POS_TOP);
  AddHeader(left, L"Модель");
  // Hidden (no WS_VISIBLE) until a table is selected.
  modelList_ = new CKestListView(left, KEST_POS_CLIENT, 400, 500,
                                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                                 LVS_EX_FULLROWSELECT);

  new CKestVSplitter(this, KEST_POS_LEFT);

  CKestPanel* right = new CKestPanel(this, -1, KEST_POS_CLIENT, 320, 1000, false, false);
  AddHeader(right, L"Параметры");
  preview_ = new CKestPaintBox(right, 0, KEST_POS_TOP, 320, 120);
  new CKestHSplitter(right, KEST_POS_TOP);
  CKestPanel* buttons = new CKestPanel(right, 0, KEST_POS_BOTTOM, 320, 45, false, false);
  if (!viewOnly_) {
    chooseButton_ = new CKestButton(buttons, L"Выбрать", true, kVelkExplorerChooseId, KEST_POS_FLOW,
                                    100, 25, nullptr, 1);
  }
  cancelButton_ = new CKestButton(buttons, L"Отмена", false, kVelkExplorerCancelId, KEST_POS_FLOW,
                                  100, 25, nullptr, 2);
  parameterBox_ = new CKestScrollBox(right, KEST_POS_CLIENT, 420, 930, true);
}

// ---------------------------------------------------------------------------

void CDBExplorer::SelectRow(int table, int row) {
  typeList_->SetSelectedIndex(table);
  FillModelList();
  if (row >= 0 && modelList_) modelList_->FocusItem(row);
  ShowRowDetails();
}

void CDBExplorer::SelectInitialRow(const char* model, const char* options) {
  if (!typeList_) return;
  SetReady(false);
  if (model) {
    // Every match is applied in table and row order: the last one stays.
    ForEachCompDbModel(tables_, model, options,
                       [this](int table, int row) { SelectRow(table, row); });
  } else if (GetTableCount() > 0) {
    SelectRow(0, GetTable(0)->GetRecordCount() > 0 ? 0 : -1);
  }
  SetReady(true);
}

CompDbRecord* CDBExplorer::FindListRow() const {
  if (!typeList_ || !modelList_) return nullptr;
  CompDbTable* table = GetTable(typeList_->GetSelectedIndex());
  if (!table || table != GetTable(filledTable_)) return nullptr;
  return GetListedCompDbRecord(modelList_, table);
}

void CDBExplorer::FillModelList() {
  if (!modelList_) return;
  CompDbTable* table = GetTable(typeList_->GetSelectedIndex());
  filledTable_ = table ? typeList_->GetSelectedIndex() : -1;
  ShowCompDbModelList(modelList_, table, &filling_);
}

void CDBExplorer::ShowRowDetails() {
  selectedRow_ = FindListRow();
  delete previewImage_;
  previewImage_ = nullptr;
  ClearParameterRows(parameterBox_, &rows_);
  if (selectedRow_ && parameterBox_) {
    previewImage_ = LoadCompDbPicture(selectedRow_);
    BuildParameterRows(parameterBox_, selectedRow_, true, KEST_LABEL_MEASURE, &rows_);
  }
  PaintPreview();
}

void CDBExplorer::ApplyParameterChoice(COptionCombo* combo) {
  selectedRow_ = FindListRow();
  if (!selectedRow_) return;
  ApplyParameterOption(selectedRow_, combo, rows_);
}

void CDBExplorer::PaintPreview() {
  PaintCompDbPicture(preview_, previewImage_, true);
}

// ---------------------------------------------------------------------------

bool CDBExplorer::HandleNotify(const NMHDR* header) {
  if (!header || !modelList_ || header->hwndFrom != modelList_->GetHandle()) return false;
  if (header->code != LVN_ITEMCHANGED) return false;
  const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
  bool selection = (change->uChanged & LVIF_STATE) &&
                   ((change->uNewState ^ change->uOldState) & LVIS_SELECTED);
  if (selection && !filling_) ShowRowDetails();
  return true;
}

LRESULT CDBExplorer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    LRESULT result = CKestForm::WindowProc(message, wParam, lParam);
    BuildControls();
    return result;
  }
  if (message == WM_CLOSE && wParam != 1) {
    selectedRow_ = nullptr;  // only "Выбрать" leaves a result
  }
  if (IsReady()) {
    switch (message) {
      case WM_KEST_PAINT:
        if (preview_ && reinterpret_cast<HWND>(lParam) == preview_->GetHandle()) {
          PaintPreview();
          return 0;
        }
        break;
      case WM_COMMAND: {
        HWND sender = reinterpret_cast<HWND>(lParam);
        int code = HIWORD(wParam);
        if (typeList_ && sender && sender == typeList_->GetHandle()) {
          if ((code == 0 || code == 1) && !filling_) {
            FillModelList();
            ShowRowDetails();
          }
          return 0;
        }
        if (COptionCombo* combo = OptionComboOfCommand(wParam, lParam)) {
          ApplyParameterChoice(combo);
          return 0;
        }
        break;
      }
      case WM_KEST_KEYUP:
        // The arrow keys move the type list's selection without a click.
        if (typeList_ && reinterpret_cast<HWND>(lParam) == typeList_->GetHandle() && !filling_ &&
            typeList_->GetSelectedIndex() != filledTable_) {
          FillModelList();
          ShowRowDetails();
        }
        break;
      case WM_NOTIFY:
        if (HandleNotify(reinterpret_cast<const NMHDR*>(lParam))) return 0;
        break;
      default:
        break;
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------

void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options) {
  if (!tableName || !model) return;
  CDBExplorer* explorer = new CDBExplorer(MainKestForm, tableName, model, options);
  explorer->ShowModal(false);
  delete explorer;
}
