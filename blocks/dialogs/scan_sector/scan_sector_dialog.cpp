#include "blocks/dialogs/scan_sector/scan_sector_dialog.h"

#include <cwchar>
#include <new>

#include "blocks/dialogs/scan_sector/scan_slice_editor.h"
#include "foundation/numbers.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_image_box.h"
#include "kestui/graphics/kest_imagelist.h"

namespace {
const int kFormWidth = 500, kFormHeight = 400;
const int kLabelWidth = 140, kEditWidth = 150, kRowHeight = 22;
const int kButtonSize = 25;
const int kOkWidth = 100, kOkHeight = 25;
const int kOkResult = 1, kCancelResult = 2;
const int kMarkSize = 16, kMarkCount = 8;
const double kPi = 3.141592653589793;
const int kHeightChars = 31;
// A new slice on an empty list; a later one starts where the last ends.
const double kFirstYMin = -20, kFirstYMax = 40, kNewSliceHeight = 60;

const COLORREF kMarkColours[kMarkCount] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(204, 0, 204),
                                           RGB(0, 204, 255), RGB(255, 102, 0), RGB(0, 255, 102), RGB(0, 0, 0)};

bool IsCommandCode(WPARAM wParam) { return HIWORD(wParam) == 0 || HIWORD(wParam) == 1; }

void FormatHeight(double centimetres, wchar_t* text) { swprintf(text, 32, L"%0.1f", centimetres); }
}  // namespace

COLORREF ScanSliceMarkColour(int i) { return kMarkColours[((i % kMarkCount) + kMarkCount) % kMarkCount]; }

CKestImageList* CBEScanSectorDialog::MakeMarks() {
  auto* marks = new CKestImageList(kMarkSize, kMarkSize);
  CKestImage picture;
  if (!picture.Create(kMarkSize, kMarkSize, 24)) return marks;
  for (int i = 0; i < kMarkCount; ++i) {
    for (int y = 0; y < kMarkSize; ++y)
      for (int x = 0; x < kMarkSize; ++x)
        picture.SetPixel(x, y, x >= 2 && x < 14 && y >= 2 && y < 14 ? kMarkColours[i] : RGB(255, 255, 255));
    marks->AddImage(picture);
  }
  return marks;
}

bool CBEScanSectorDialog::Build() {
  if (!block_) return false;
  if (!Create(MainKestForm, L"Построитель", KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, false, false, true,
              true))
    return false;
  SetReady(false);
  const ScanSectorModel& model = block_->model;
  auto* top = new CKestPanel(this, 0, KEST_POS_TOP, kFormWidth, 140, false, false);
  top->NewFlowColumn(160);
  new CKestImageBox(top, 0, KEST_POS_FLOW, kScanSectorDrawing, false, false, 150, 120);
  top->NewFlowRow();
  top->NewFlowColumn(400);
  struct Row {
    const wchar_t* caption;
    double minimum, maximum, step, value;
  };
  const Row rows[kEditCount] = {
      {L"zMin, см:", 0.01, 10000, 1, model.zMin * 100.0},
      {L"zMax, см:", 0.01, 10000, 1, model.zMax * 100.0},
      {L"D, см:", 0.01, 10000, 0.25, model.D * 100.0},
      {L"Гориз.угол обзора,°:", 0.1, 175, 0.1, model.viewAngle * 180 / kPi},
  };
  for (int i = 0; i < kEditCount; ++i) {
    new CKestLabel(top, rows[i].caption, KEST_POS_FLOW, false, kLabelWidth, kRowHeight, 1);
    edits_[i] = new CKestSpinEdit(top, 0, false, rows[i].minimum, rows[i].maximum, rows[i].step, KEST_POS_FLOW,
                                  kEditWidth, kRowHeight);
    edits_[i]->SetValue(rows[i].value);
    top->NewFlowRow();
  }

  auto* buttons = new CKestPanel(this, 1, KEST_POS_TOP, 1000, 28, true, false);
  add_ = new CKestSpdBtn(buttons, kScanSectorCmdAdd, kScanSectorAddPicture, L"Добавить новый срез", false,
                         kButtonSize, kButtonSize, nullptr, KEST_POS_FLOW, false);
  delete_ = new CKestSpdBtn(buttons, kScanSectorCmdDelete, kScanSectorDeletePicture, L"Удалить срез", false,
                            kButtonSize, kButtonSize, nullptr, KEST_POS_FLOW, false);
  delete_->Enable(false);

  auto* bottom = new CKestPanel(this, 0, KEST_POS_BOTTOM, kFormWidth, 45, false, false);
  bottom->BeginCenteredRows();
  ok_ = new CKestButton(bottom, L"OK", true, IDOK, KEST_POS_FLOW, kOkWidth, kOkHeight, nullptr, kOkResult);
  cancel_ = new CKestButton(bottom, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kOkWidth, kOkHeight, nullptr,
                            kCancelResult);
  bottom->CenterFlowRows();

  CKestImageList* marks = MakeMarks();
  slices_ = new CKestListView(this, KEST_POS_CLIENT, 1000, 100,
                              WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, LVS_EX_FULLROWSELECT);
  slices_->AddColumn(L"Срез", 150, -1);
  slices_->AddColumn(L"yMin, см", 150, 0);
  slices_->AddColumn(L"yMax, см", 150, 0);
  menu_ = new CKestPopupMenu();
  menu_->AddItem(L"Изменить\tF2", kScanSectorCmdEdit, 0, VK_F2);
  menu_->AppendSeparator();
  menu_->AddItem(L"Добавить\tIns", kScanSectorCmdAdd, 0, VK_INSERT);
  menu_->AddItem(L"Удалить\tDel", kScanSectorCmdDelete, 0, VK_DELETE);
  menu_->AppendSeparator();
  menu_->AddItem(L"Очистить все", kScanSectorCmdClear);
  menu_->SetDefaultItem(0, true);
  slices_->SetMenu(menu_);
  slices_->SetImageList(marks);

  for (int i = 0; i < model.sliceCount; ++i) {
    wchar_t caption[24];
    swprintf(caption, 24, L"Срез %d", i + 1);
    int row = slices_->AddItem(caption, i % kMarkCount, 0);
    if (row >= 0) SetHeights(row, model.slices[i].yMin * 100.0, model.slices[i].yMax * 100.0);
  }
  SetReady(true);
  return true;
}

void CBEScanSectorDialog::SetHeights(int row, double yMin, double yMax) {
  wchar_t text[32];
  FormatHeight(yMin, text);
  slices_->SetItemText(row, kYMin, text);
  FormatHeight(yMax, text);
  slices_->SetItemText(row, kYMax, text);
}

void CBEScanSectorDialog::UpdateButtons() {
  bool selected = slices_->GetSelectedIndex() >= 0;
  delete_->Enable(selected);
  menu_->EnableItem(0, selected);
  menu_->EnableItem(3, selected);
}

void CBEScanSectorDialog::AddSlice() {
  int n = slices_->GetItemCount();
  wchar_t caption[24];
  swprintf(caption, 24, L"Срез %d", n + 1);
  double yMin = kFirstYMin, yMax = kFirstYMax;
  if (n > 0) {
    wchar_t text[kHeightChars + 1];
    slices_->GetItemText(n - 1, kYMax, text, kHeightChars + 1);
    yMin = ParseDouble(text, kFirstYMin, nullptr);
    yMax = yMin + kNewSliceHeight;
  }
  int row = slices_->AddItem(caption, n % kMarkCount, 0);
  if (row < 0) return;
  SetHeights(row, yMin, yMax);
  slices_->FocusItem(row);
  SendMessageW(GetHandle(), WM_COMMAND, kScanSectorCmdEdit, 0);
}

void CBEScanSectorDialog::EditSlice() {
  int row = slices_->GetSelectedIndex();
  if (row < 0) return;
  wchar_t caption[64], yMin[kHeightChars + 1], yMax[kHeightChars + 1];
  slices_->GetItemText(row, kCaption, caption, 64);
  slices_->GetItemText(row, kYMin, yMin, kHeightChars + 1);
  slices_->GetItemText(row, kYMax, yMax, kHeightChars + 1);
  auto* editor = new (std::nothrow) CScanSliceEditor;
  if (!editor) return;
  HWND window = nullptr;
  if (editor->Build(this, caption, ParseDouble(yMin, 0, nullptr), ParseDouble(yMax, 0, nullptr))) {
    window = editor->GetHandle();
    if (editor->Confirm() && row < slices_->GetItemCount())
      SetHeights(row, editor->GetYMin()->GetValue(), editor->GetYMax()->GetValue());
  }
  if (!window || GetControlFromHandle(window) == editor) delete editor;
}

void CBEScanSectorDialog::DeleteSlice() {
  int row = slices_->GetSelectedIndex();
  if (row < 0) return;
  slices_->DeleteItem(row);
  UpdateButtons();
}

void CBEScanSectorDialog::ClearSlices() {
  if (ShowMessageText(this, MB_YESNO | MB_ICONWARNING, L"Очистить все",
                      L"Вы уверены, что хотите очистить список срезов?") != IDYES)
    return;
  slices_->DeleteAllItems();
  UpdateButtons();
}

bool CBEScanSectorDialog::WriteBack() {
  ScanSectorModel& model = block_->model;
  model.D = RoundToFloat(edits_[kD]->GetValue() / 100);
  model.zMin = RoundToFloat(edits_[kZMin]->GetValue() / 100);
  model.zMax = RoundToFloat(edits_[kZMax]->GetValue() / 100);
  model.viewAngle = RoundToFloat(edits_[kAngle]->GetValue() * kPi / 180);
  int rows = slices_->GetItemCount();
  if (!model.SetSliceCount(rows)) return false;
  for (int i = 0; i < rows; ++i) {
    wchar_t text[kHeightChars + 1];
    slices_->GetItemText(i, kYMin, text, kHeightChars + 1);
    model.slices[i].yMin = RoundToFloat(ParseFloat(text, 0, nullptr) / 100.0);
    slices_->GetItemText(i, kYMax, text, kHeightChars + 1);
    model.slices[i].yMax = RoundToFloat(ParseFloat(text, 0, nullptr) / 100.0);
  }
  return true;
}

LRESULT CBEScanSectorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsReady()) return CKestForm::WindowProc(message, wParam, lParam);
  if (message == WM_COMMAND && IsCommandCode(wParam)) {
    switch (LOWORD(wParam)) {
      case kScanSectorCmdAdd: AddSlice(); break;
      case kScanSectorCmdDelete: DeleteSlice(); break;
      case kScanSectorCmdEdit: EditSlice(); break;
      case kScanSectorCmdClear: ClearSlices(); break;
      default: break;
    }
  }
  if (message == WM_NOTIFY && slices_) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->hwndFrom == slices_->GetHandle()) {
      if (header->code == static_cast<UINT>(LVN_ITEMCHANGED)) UpdateButtons();
      if (header->code == static_cast<UINT>(NM_DBLCLK)) {
        SendMessageW(GetHandle(), WM_COMMAND, kScanSectorCmdEdit, 0);
        return 1;
      }
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

bool ShowScanSectorDialog(CBEBlock* block) {
  auto* scanSector = dynamic_cast<CBEScanSector*>(block);
  if (!scanSector) return false;
  auto* dialog = new (std::nothrow) CBEScanSectorDialog(scanSector);
  if (!dialog) return false;
  if (!dialog->Build()) {
    delete dialog;
    return false;
  }
  HWND window = dialog->GetHandle();
  int result = dialog->ShowModal(false);
  // The form may have gone with its window (the program ending meanwhile).
  if (GetControlFromHandle(window) != dialog) return false;
  bool changed = result == kOkResult;
  if (changed) dialog->WriteBack();
  delete dialog;
  return changed;
}
