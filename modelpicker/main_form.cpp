#include "modelpicker/main_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/forms/kest_dialogs.h"
#include "modelpicker/script_export.h"

namespace {

constexpr int kSortedChars = 127;

}  // namespace

int CALLBACK CompareModelItems(LPARAM first, LPARAM second, LPARAM keys) {
  const ModelSortKeys* sort = reinterpret_cast<const ModelSortKeys*>(keys);
  if (!sort) return 0;
  auto text = [sort](LPARAM data) -> const wchar_t* {
    if (data < 0 || static_cast<size_t>(data) >= sort->textByRecord.size()) return L"";
    return sort->textByRecord[static_cast<size_t>(data)].c_str();
  };
  return wcsncmp(text(first), text(second), kSortedChars);
}

// ---------------------------------------------------------------------------

CMainForm::CMainForm(PickerState* state) : state_(state) {
  Create(nullptr, L"Выбор модели", KEST_POS_FLOW, kPickerMainFormWidth, kPickerMainFormHeight, nullptr, true,
         true, true, true);
  Preselect();
}

CMainForm::~CMainForm() {
  delete picture_;
  picture_ = nullptr;
  if (headerFont_) headerFont_->Release();
  headerFont_ = nullptr;
}

CKestLabel* CMainForm::AddHeader(CKestContainer* panel, const wchar_t* caption) {
  return AddCompDbHeader(panel, caption, headerFont_, 100);
}

void CMainForm::BuildWidgets() {
  headerFont_ = new CKestFont(L"Verdana", -14, 700);
  headerFont_->AddRef();

  CKestPanel* left = new CKestPanel(this, -1, KEST_POS_LEFT, 490, 100, false, false);
  AddHeader(left, L"Тип");
  typeList_ = new CKestListBox(left, 0, KEST_POS_TOP, 100, 150, 0, false);
  for (const auto& table : state_->tables) {
    typeList_->AddItem(AnsiToWide(table->GetCaption()).c_str(), 0);
  }
  new CKestHSplitter(left, KEST_POS_TOP);
  AddHeader(left, L"Модель");
  modelList_ = new CKestListView(left, KEST_POS_CLIENT, 100, 100,
                                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                 LVS_EX_FULLROWSELECT);

  new CKestVSplitter(this, KEST_POS_LEFT);

  CKestPanel* right = new CKestPanel(this, -1, KEST_POS_CLIENT, 100, 100, false, false);
  AddHeader(right, L"Параметры");
  preview_ = new CKestPaintBox(right, 0, KEST_POS_TOP, 100, 120);
  new CKestHSplitter(right, KEST_POS_TOP);
  CKestPanel* bottom = new CKestPanel(right, 0, KEST_POS_BOTTOM, 100, 45, false, false);
  chooseButton_ = new CKestButton(bottom, L"Выбрать", true, kPickerChooseButtonId, KEST_POS_FLOW, 100,
                                  25, nullptr, 0);
  parameterPanel_ = new CKestScrollBox(right, KEST_POS_CLIENT, 100, 100, true);
}

// ---------------------------------------------------------------------------

CompDbTable* CMainForm::GetSelectedTable() const {
  if (!typeList_) return nullptr;
  return state_->GetTable(typeList_->GetSelectedIndex());
}

CompDbRecord* CMainForm::GetSelectedRecord() const {
  return GetListedCompDbRecord(modelList_, GetSelectedTable());
}

void CMainForm::FillModelList() {
  if (!modelList_) return;
  CompDbTable* table = GetSelectedTable();
  filledType_ = table ? typeList_->GetSelectedIndex() : -1;
  ShowCompDbModelList(modelList_, table, &filling_);
}

void CMainForm::ClearParameterPanel() { ClearParameterRows(parameterPanel_, &rows_); }

void CMainForm::BuildParameterPanel() {
  CompDbRecord* record = GetSelectedRecord();
  delete picture_;
  picture_ = nullptr;
  ClearParameterPanel();
  if (record && parameterPanel_) {
    picture_ = LoadCompDbPicture(record);
    BuildParameterRows(parameterPanel_, record, false, kCompDbParameterValueHeight, &rows_);
  }
  PaintPreview();
}

void CMainForm::OnOptionChanged(COptionCombo* combo) {
  ApplyParameterOption(GetSelectedRecord(), combo, rows_);
}

void CMainForm::PaintPreview() {
  PaintCompDbPicture(preview_, picture_, false);
}

void CMainForm::SortModelList(int column) {
  CompDbTable* table = state_->GetTable(filledType_);
  if (!modelList_ || !table || column < 0) return;
  ModelSortKeys keys;
  keys.column = column;
  keys.textByRecord.resize(static_cast<size_t>(table->GetRecordCount()));
  int count = modelList_->GetItemCount();
  std::vector<wchar_t> buffer(kSortedChars + 1);
  for (int i = 0; i < count; ++i) {
    uint32_t data = modelList_->GetItemData(i);
    if (data >= keys.textByRecord.size()) continue;
    modelList_->GetItemText(i, column, buffer.data(), static_cast<int>(buffer.size()));
    keys.textByRecord[data] = buffer.data();
  }
  SendMessageW(modelList_->GetHandle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&keys),
               reinterpret_cast<LPARAM>(CompareModelItems));
}

bool CMainForm::ExportScript() {
  if (state_->outputPath.empty()) return false;
  CompDbTable* table = GetSelectedTable();
  CompDbRecord* record = GetSelectedRecord();
  if (!table || !record) return false;
  if (WriteScriptFile(state_->outputPath, FormatScript(table, record))) return true;
  std::wstring text = L"Невозможно создать файл экспорта \"" + state_->outputPath + L"\"";
  ShowMessageText(this, MB_OK | MB_ICONERROR, L"Ошибка экспорта", text.c_str());
  return false;
}

// ---------------------------------------------------------------------------

void CMainForm::Preselect() {
  if (!window_) return;
  SetReady(false);
  if (!state_->model.empty()) {
    const char* options = state_->options.empty() ? nullptr : state_->options.c_str();
    ForEachCompDbModel(state_->tables, state_->model.c_str(), options, [this](int table, int row) {
      typeList_->SetSelectedIndex(table);
      FillModelList();
      modelList_->FocusItem(row);
      BuildParameterPanel();
    });
  }
  SetReady(true);
}

void CMainForm::OnTypeListChanged() {
  FillModelList();
  BuildParameterPanel();
}

bool CMainForm::HandleNotify(const NMHDR* header) {
  if (!header || !modelList_ || header->hwndFrom != modelList_->GetHandle()) return false;
  if (header->code == LVN_ITEMCHANGED) {
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    bool selection = (change->uChanged & LVIF_STATE) &&
                     ((change->uNewState ^ change->uOldState) & LVIS_SELECTED);
    if (selection && !filling_) BuildParameterPanel();
    return true;
  }
  if (header->code == LVN_COLUMNCLICK) {
    SortModelList(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
    return true;
  }
  return false;
}

LRESULT CMainForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    LRESULT result = CKestForm::WindowProc(message, wParam, lParam);
    BuildWidgets();
    return result;
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
          if ((code == 0 || code == 1) && !filling_) OnTypeListChanged();
          return 0;
        }
        if (COptionCombo* combo = OptionComboOfCommand(wParam, lParam)) {
          OnOptionChanged(combo);
          return 0;
        }
        if (LOWORD(wParam) == kCompDbOptionComboId && sender &&
            (code == CBN_SELENDOK || code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
          return 0;  // a change reported by no option combo of ours
        }
        if (LOWORD(wParam) == kPickerChooseButtonId && code == 0) {
          // A press may be reported twice (the button's own notification
          // and the framework's click); one script is enough.
          if (!exporting_ && !exported_) {
            exporting_ = true;
            exported_ = ExportScript();
            exporting_ = false;
            if (exported_) PostClose(2);
          }
          return 0;
        }
        break;
      }
      case WM_KEST_KEYUP:
        // Arrow keys move the type list's selection without a click.
        if (typeList_ && reinterpret_cast<HWND>(lParam) == typeList_->GetHandle() && !filling_ &&
            typeList_->GetSelectedIndex() != filledType_) {
          OnTypeListChanged();
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
