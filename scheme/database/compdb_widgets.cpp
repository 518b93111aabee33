#include "scheme/database/compdb_widgets.h"
#include "scheme/database/option_combo.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/ansi_text.h"
#include "scheme/database/compdb.h"
#include "scheme/database/compdb_column.h"

void FillCompDbListView(CKestListView* list, CompDbTable* table) {
  if (!list || !table) return;
  list->SuspendRedraw();
  list->DeleteAllItems();
  HWND window = list->GetHandle();
  int columns = Header_GetItemCount(ListView_GetHeader(window));
  for (int i = columns - 1; i >= 0; --i) list->DeleteColumn(i);

  std::vector<int> shown;
  for (int i = 0; i < table->GetColumnCount(); ++i) {
    CompDbColumn* column = table->GetColumn(i);
    if (i != 0 && column->GetWidth() <= 0) continue;
    list->InsertColumn(static_cast<int>(shown.size()), AnsiToWide(column->GetName()).c_str(),
                       std::max(0, column->GetWidth()), -1);
    shown.push_back(i);
  }
  for (int r = 0; r < table->GetRecordCount(); ++r) {
    CompDbRecord* record = table->GetRecord(r);
    for (size_t c = 0; c < shown.size(); ++c) {
      std::wstring text = AnsiToWide(record->GetDisplayText(shown[c]));
      if (c == 0) {
        list->InsertItem(r, text.c_str(), -1, static_cast<uint32_t>(r));
      } else {
        list->SetItemText(r, static_cast<int>(c), text.c_str());
      }
    }
  }
  list->ResumeRedraw();
  InvalidateRect(window, nullptr, TRUE);
}

CKestImage* LoadCompDbPicture(CompDbRecord* record) {
  if (!record) return nullptr;
  const char* image = record->GetTextByName("image");
  if (!image || !*image) return nullptr;
  std::wstring path = std::wstring(GetImagesFolder()) + AnsiToWide(image);
  CKestImage* picture = new CKestImage;
  if (SUCCEEDED(picture->Load(path.c_str())) && !picture->IsNull()) return picture;
  delete picture;
  return nullptr;
}

void ClearParameterRows(CKestScrollBox* box, std::vector<CompDbParameterRow>* rows) {
  if (rows) rows->clear();
  if (!box || !box->GetHandle()) return;
  HWND window = box->GetHandle();
  // Rows are laid out from the top of an unscrolled box.
  box->SetScrollPosition(0, 0);
  while (HWND child = GetWindow(window, GW_CHILD)) {
    if (!DestroyWindow(child)) break;  // destroys the widget object too
  }
}

void BuildParameterRows(CKestScrollBox* box, CompDbRecord* record, bool namedOnly,
                        int labelHeight, std::vector<CompDbParameterRow>* rows) {
  if (!box || !record || !rows) return;
  CompDbTable* table = record->GetTable();
  int y = kCompDbParameterFirstY;
  for (int i = 0; i < table->GetColumnCount(); ++i) {
    const char* name = table->GetColumn(i)->GetName();
    if (namedOnly && !*name) continue;
    CompDbParameterRow row = {i, nullptr, nullptr, nullptr};
    std::wstring caption = AnsiToWide(name) + L":";
    row.label = new CKestLabel(box, caption.c_str(), KestPos(kCompDbParameterLabelX, y), false,
                               kCompDbParameterLabelWidth, labelHeight, -1);
    int key = record->GetOptionKey(i);
    if (key != 0) {
      COptionCombo* combo = new COptionCombo(box, key, KestPos(kCompDbParameterValueX, y),
                                             kCompDbParameterValueWidth, kCompDbParameterValueHeight);
      int count = record->GetChoiceItemCount(i);
      for (int n = 0; n < count; ++n) {
        int data = n;
        const char* item = record->GetChoiceItem(i, n, &data);
        combo->AddItem(AnsiToWide(item).c_str(), static_cast<uint32_t>(data));
      }
      CompDbOption* option = record->FindOption(key);
      if (option && option->choice >= 0 && option->choice < count) {
        combo->SetSelectedIndex(option->choice);
      }
      row.combo = combo;
    } else {
      CKestEdit* edit = new CKestEdit(box, 0, KestPos(kCompDbParameterValueX, y), kCompDbParameterValueWidth,
                                      kCompDbParameterValueHeight, true, 0, true);
      edit->SetBackColor(GetSysColor(COLOR_BTNFACE));
      edit->SetText(AnsiToWide(record->GetDisplayText(i)).c_str());
      row.edit = edit;
    }
    rows->push_back(row);
    y += kCompDbParameterRowStep;
  }
  box->FitToChildren();
}

bool ApplyParameterOption(CompDbRecord* record, COptionCombo* combo,
                          const std::vector<CompDbParameterRow>& rows) {
  if (!record || !combo) return false;
  int position = combo->GetSelectedIndex();
  CompDbOption* option = record->FindOption(combo->GetOptionKey());
  if (!option || position < 0) return false;
  option->choice = position;
  for (const CompDbParameterRow& row : rows) {
    if (row.edit) row.edit->SetText(AnsiToWide(record->GetDisplayText(row.column)).c_str());
  }
  return true;
}

CKestLabel* AddCompDbHeader(CKestContainer* panel, const wchar_t* caption, CKestFont* font,
                            int width) {
  constexpr COLORREF kHeaderText = RGB(255, 255, 255);
  constexpr COLORREF kHeaderBack = RGB(102, 102, 102);
  constexpr int kHeaderHeight = 20;
  CKestLabel* label = new CKestLabel(panel, caption, KEST_POS_TOP, false, width, kHeaderHeight, 0);
  label->SetFont(font);
  label->SetTextColor(kHeaderText);
  label->SetBackColor(kHeaderBack);
  return label;
}

void ShowCompDbModelList(CKestListView* list, CompDbTable* table, bool* filling) {
  if (!list) return;
  if (!table) {
    list->SetVisible(false);
    return;
  }
  list->SetVisible(true);
  *filling = true;
  FillCompDbListView(list, table);
  *filling = false;
}

CompDbRecord* GetListedCompDbRecord(const CKestListView* list, CompDbTable* table) {
  if (!list || !table) return nullptr;
  int item = list->GetSelectedIndex();
  if (item < 0) return nullptr;
  uint32_t index = list->GetItemData(item);
  if (index >= static_cast<uint32_t>(table->GetRecordCount())) return nullptr;
  return table->GetRecord(static_cast<int>(index));
}

void ForEachCompDbModel(const std::vector<std::unique_ptr<CompDbTable>>& tables,
                        const char* model, const char* options,
                        const std::function<void(int table, int row)>& select) {
  if (!model) return;
  for (size_t t = 0; t < tables.size(); ++t) {
    CompDbTable* table = tables[t].get();
    for (int r = 0; r < table->GetRecordCount(); ++r) {
      CompDbRecord* record = table->GetRecord(r);
      if (strcmp(model, record->GetDisplayText(0)) != 0) continue;
      if (options) record->SetOptions(options);
      select(static_cast<int>(t), r);
    }
  }
}

void PaintCompDbPicture(CKestPaintBox* preview, CKestImage* picture, bool halftone) {
  if (!preview || !preview->GetHandle()) return;
  HDC dc = preview->GetDC();
  if (!dc) return;
  int oldMode = halftone ? SetStretchBltMode(dc, HALFTONE) : 0;
  RECT area;
  GetClientRect(preview->GetHandle(), &area);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (picture && !picture->IsNull()) {
    RECT target = FitPreviewRect(area.right - area.left, area.bottom - area.top,
                                 picture->GetWidth(), picture->GetHeight());
    if (!IsRectEmpty(&target)) picture->Draw(dc, target);
  }
  if (oldMode) SetStretchBltMode(dc, oldMode);
  preview->ReleaseDC();
}

COptionCombo* OptionComboOfCommand(WPARAM wParam, LPARAM lParam) {
  HWND sender = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  if (LOWORD(wParam) != kCompDbOptionComboId || !sender) return nullptr;
  if (code != CBN_EDITCHANGE && code != CBN_SELENDOK && code != CBN_SELCHANGE) return nullptr;
  return dynamic_cast<COptionCombo*>(GetControlFromHandle(sender));
}
