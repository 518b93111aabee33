#include "blocks/dialogs/navigation/video_navigator_dialog.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/dialogs/navigation/range_finder_info_dialog.h"
#include "blocks/library/navigation/nav_map.h"
#include "blocks/library/navigation/nav_range_finder.h"
#include "blocks/library/navigation/video_navigation.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/paths.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/core/kest_messages.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

namespace {
const int kFormWidth = 600, kFormHeight = 480;
const int kTopWidth = 590, kTopHeight = 200, kTopGap = 3;
const int kMapEditWidth = 520, kMapEditHeight = 21, kChooseWidth = 30;
const int kSettingLabelWidth = 300, kSpinWidth = 120, kSpinHeight = 22;
const int kStripWidth = 1000, kStripHeight = 28, kToolButtonSize = 25;
const int kBottomHeight = 45, kButtonWidth = 100, kButtonHeight = 25;
const int kListSize = 600, kColumnWidth = 100;
const int kImageSize = 16;
const int kOkResult = 1, kCancelResult = 2;
// Positions of "Правка" and "Удалить" in the list's popup menu.
const int kEditItem = 0, kDeleteItem = 2;
const double kPi = 3.14159265358979323846;

// A new range finder.
const double kNewSearchAngle = 30.0 * kPi / 180.0;  // 0.5235987755982988 rad
const double kNewSearchDistance = 10, kNewMaxRange = 90;
const wchar_t kNewName[] = L"Новый";

const wchar_t kMapFilter[] = L"Все файлы (*.*)|*.*|Текстовые файлы (*.txt)|*.txt";
const wchar_t kRobotsFolder[] = L"Robots\\";

struct SettingRow {
  const wchar_t* caption;
  double minimum, maximum, step;
};
const SettingRow kSettings[] = {
    {L"Масштаб карты при отрисовке:", 0.001, 1000, 0.1},
    {L"Время жизни препятствий (сек):", 0, 10000000, 1.5},
    {L"Радиус препятствий (см):", 0, 10000000, 1.5},
    {L"Диапазон поиска изображений (см):", 0.1, 100000, 1},
    {L"Ближняя зона места (см):", 0.1, 100000, 1},
    {L"Точность позиционирования (см):", 0.01, 100000, 1},
};

const wchar_t* const kColumns[] = {L"Дальномер",  L"x [см]",           L"y [см]",      L"a [°]",
                                   L"Dmax [см]", L"Диап.поиска [см]", L"Угл.диап.[°]"};

double Degrees(double radians) { return radians * 180.0 / kPi; }
double Radians(double degrees) { return degrees * kPi / 180.0; }

// The number of a cell, 0 when it holds none.
double CellNumber(const CKestListView* list, int row, int column) {
  wchar_t text[kFoundationFormatDoubleChars + 1] = {};
  list->GetItemText(row, column, text, kFoundationFormatDoubleChars + 1);
  return ParseDouble(text, 0, nullptr);
}

void SetCellNumber(CKestListView* list, int row, int column, double value, int decimals) {
  wchar_t text[kFoundationFormatDoubleChars];
  list->SetItemText(row, column, FormatDouble(value, text, decimals));
}

// The list of range finders keeps Enter for itself (its popup menu's
// "Правка"), where the form would otherwise press its default button.
class EnterKeyListView : public CKestListView {
public:
  using CKestListView::CKestListView;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT answer = CKestListView::WindowProc(message, wParam, lParam);
    if (message == WM_GETDLGCODE && wParam == VK_RETURN) answer |= DLGC_WANTALLKEYS;
    return answer;
  }
};

// Image i of the list: white with a square of wall colour i outlined in
// black; false when the picture could not be made.
bool AddColourImage(CKestImageList* images, HDC screen, COLORREF colour) {
  CKestOwnedBitmap bitmap(CreateCompatibleBitmap(screen, kImageSize, kImageSize));
  CKestOwnedDC memory(CreateCompatibleDC(screen));
  if (!bitmap || !memory) return false;
  {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    CKestOwnedBrush brush(CreateSolidBrush(colour));
    CKestDcSelection selection(memory.Get());
    if (!selection.Select(bitmap.Get()) || !selection.Select(pen.Get()) || !selection.Select(brush.Get()))
      return false;
    RECT all = {0, 0, kImageSize, kImageSize};
    FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Rectangle(memory.Get(), 2, 2, 14, 14);
  }
  return images->AddBitmap(bitmap.Get()) >= 0;
}
}  // namespace

CVideoNavigatorDialog::CVideoNavigatorDialog(CBEVideoNavigation* block) : block_(block) {
  const wchar_t* caption = block && block->caption ? block->caption : L"";
  if (!Create(MainKestForm, caption, KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, true, false, true, true))
    return;
  SetReady(false);
  Build();
  UpdateButtons();
  SetReady(true);
}

CVideoNavigatorDialog::~CVideoNavigatorDialog() {
  if (menu_) menu_->Release();
  if (images_) images_->Release();
}

void CVideoNavigatorDialog::Build() {
  BuildSettings();

  auto* strip = new CKestPanel(this, 1, KEST_POS_TOP, kStripWidth, kStripHeight, true, false);
  new CKestSpdBtn(strip, kCommandAdd, kPictureAdd, L"Добавить дальномер", false, kToolButtonSize, kToolButtonSize,
                  nullptr, KEST_POS_FLOW, false);
  deleteButton_ = new CKestSpdBtn(strip, kCommandDelete, kPictureDelete, L"Удалить дальномер", false,
                                  kToolButtonSize, kToolButtonSize, nullptr, KEST_POS_FLOW, false);

  RECT client;
  GetClientRect(GetHandle(), &client);
  auto* bottom = new CKestPanel(this, 0, KEST_POS_BOTTOM, client.right - client.left, kBottomHeight, false, false);
  bottom->BeginCenteredRows();
  ok_ = new CKestButton(bottom, L"OK", true, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, kOkResult);
  cancel_ = new CKestButton(bottom, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr,
                            kCancelResult);
  bottom->CenterFlowRows();
  ok_->SetAnchors(KEST_ANCHOR_HCENTER | KEST_ANCHOR_TOP);
  cancel_->SetAnchors(KEST_ANCHOR_HCENTER | KEST_ANCHOR_TOP);

  BuildImages();

  list_ = new EnterKeyListView(this, KEST_POS_CLIENT, kListSize, kListSize,
                               WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL,
                               LVS_EX_FULLROWSELECT);
  if (images_) list_->SetImageList(images_);
  for (const wchar_t* column : kColumns) list_->AddColumn(column, kColumnWidth, -1);
  NavMap* map = block_ ? block_->Map() : nullptr;
  if (map)
    for (int i = 0; i < map->rangeFinderCount; ++i) {
      int row = list_->AddItem(L"", 0, 0);
      if (row >= 0) SetRow(row, map->rangeFinders[i]);
    }

  menu_ = new CKestPopupMenu();
  menu_->AddRef();
  menu_->AddItem(L"Правка\tEnter", kCommandEdit, 0, VK_RETURN);
  menu_->SetDefaultItem(kEditItem, true);
  menu_->AddItem(L"Добавить\tIns", kCommandAdd, 0, VK_INSERT);
  menu_->AddItem(L"Удалить\tDel", kCommandDelete, 0, VK_DELETE);
  list_->SetMenu(menu_);
}

void CVideoNavigatorDialog::BuildSettings() {
  auto* top = new CKestPanel(this, 0, KEST_POS_TOP, kTopWidth, kTopHeight, false, false);
  if (KestFlowLayout* flow = top->GetFlowLayout()) flow->gap = kTopGap;
  new CKestLabel(top, L"Файл глобальной карты:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  top->NewFlowRow();
  mapFile_ = new CKestEdit(top, 0, KEST_POS_FLOW, kMapEditWidth, kMapEditHeight, false, 0, true);
  mapFile_->SetAnchors(KEST_ANCHOR_LEFT | KEST_ANCHOR_TOP | KEST_ANCHOR_RIGHT);
  NavMap* map = block_ ? block_->Map() : nullptr;
  mapFile_->SetText(map && map->mapFileName ? map->mapFileName : L"");
  auto* choose = new CKestButton(top, L"---", false, kCommandChooseMap, KEST_POS_FLOW, kChooseWidth, kMapEditHeight,
                                 L"Выбрать имя файла", 0);
  choose->SetAnchors(KEST_ANCHOR_TOP | KEST_ANCHOR_RIGHT);
  top->NewFlowRow();

  const double values[] = {
      map ? map->drawingScale : 1,        map ? map->obstacleLifeTime : 0,   map ? map->obstacleRadius : 0,
      map ? map->imageSearchRange : 0.1,  map ? map->placeNearZone : 0.1,    map ? map->positioningAccuracy : 0.01,
  };
  CKestSpinEdit** edits[] = {&mapScale_, &lifeTime_, &radius_, &searchRange_, &nearZone_, &accuracy_};
  for (int i = 0; i < 6; ++i) {
    const SettingRow& row = kSettings[i];
    new CKestLabel(top, row.caption, KEST_POS_FLOW, false, kSettingLabelWidth, kSpinHeight, 1);
    auto* edit = new CKestSpinEdit(top, 0, false, row.minimum, row.maximum, row.step, KEST_POS_FLOW, kSpinWidth,
                                   kSpinHeight);
    edit->SetValue(values[i]);
    *edits[i] = edit;
    top->NewFlowRow();
  }
}

void CVideoNavigatorDialog::BuildImages() {
  images_ = new (std::nothrow) CKestImageList(kImageSize, kImageSize);
  if (!images_) return;
  images_->AddRef();
  HDC screen = ::GetDC(nullptr);
  if (!screen) return;
  for (int i = 0; i < kBeNavWallColourCount; ++i)
    if (!AddColourImage(images_, screen, kBeNavWallColours[i])) break;
  ::ReleaseDC(nullptr, screen);
}

void CVideoNavigatorDialog::SetRow(int row, const NavRangeFinder& record) {
  if (!list_ || row < 0 || row >= list_->GetItemCount()) return;
  list_->SetItemImage(row, record.colour);
  wchar_t name[kNavFinderNameChars + 1];
  memcpy(name, record.name, sizeof name);
  name[kNavFinderNameChars] = 0;
  list_->SetItemText(row, kColumnName, name);
  SetCellNumber(list_, row, kColumnX, record.x, 2);
  SetCellNumber(list_, row, kColumnY, record.y, 2);
  SetCellNumber(list_, row, kColumnAngle, Degrees(record.angle), 2);
  SetCellNumber(list_, row, kColumnMaxRange, record.maxRange, 1);
  SetCellNumber(list_, row, kColumnSearchDistance, record.searchDistance, 1);
  SetCellNumber(list_, row, kColumnSearchAngle, Degrees(record.searchAngle), 2);
}

void CVideoNavigatorDialog::GetRow(int row, NavRangeFinder* record) const {
  if (!record) return;
  memset(record, 0, sizeof *record);
  if (!list_ || row < 0 || row >= list_->GetItemCount()) return;
  int image = list_->GetItemImage(row);
  record->colour = static_cast<unsigned char>(image >= 0 && image < kBeNavWallColourCount ? image : 0);
  wchar_t name[kBeNavFinderNameLimit + 1] = {};
  list_->GetItemText(row, kColumnName, name, kBeNavFinderNameLimit + 1);
  name[kBeNavFinderNameLimit] = 0;
  wcscpy(record->name, name);
  record->x = CellNumber(list_, row, kColumnX);
  record->y = CellNumber(list_, row, kColumnY);
  record->angle = Radians(CellNumber(list_, row, kColumnAngle));
  record->maxRange = CellNumber(list_, row, kColumnMaxRange);
  record->searchDistance = CellNumber(list_, row, kColumnSearchDistance);
  record->searchAngle = Radians(CellNumber(list_, row, kColumnSearchAngle));
}

void CVideoNavigatorDialog::UpdateButtons() {
  bool selected = list_ && list_->GetSelectedIndex() >= 0;
  if (deleteButton_) deleteButton_->Enable(selected);
  if (menu_) {
    menu_->EnableItem(kEditItem, selected);
    menu_->EnableItem(kDeleteItem, selected);
  }
}

bool CVideoNavigatorDialog::Apply() {
  NavMap* map = block_ ? block_->Map() : nullptr;
  if (!map || !list_) return false;
  const int count = list_->GetItemCount();
  // What needs memory comes first: the map file's name and a copy of the
  // old range finders, to go back to when the pins cannot be made.
  wchar_t* mapFile = mapFile_->GetText();
  if (!mapFile && mapFile_->GetTextLength() > 0) return false;
  const int oldCount = map->rangeFinderCount;
  NavRangeFinder* old = nullptr;
  if (oldCount > 0) {
    old = static_cast<NavRangeFinder*>(AllocBuffer(sizeof(NavRangeFinder) * oldCount));
    if (!old) {
      FreeBuffer(mapFile);
      return false;
    }
    memcpy(old, map->rangeFinders, sizeof(NavRangeFinder) * oldCount);
  }
  bool ok = map->SetRangeFinderCount(count);
  if (ok) {
    for (int i = 0; i < count; ++i) GetRow(i, &map->rangeFinders[i]);
    ok = block_->BuildPins(CBEVideoNavigation::kVersion);
    // Only more pins need memory, so the list grew: its block still has
    // room for the old range finders, which go back with their pins.
    if (!ok && count >= oldCount) {
      map->rangeFinderCount = oldCount;
      if (oldCount > 0) memcpy(map->rangeFinders, old, sizeof(NavRangeFinder) * oldCount);
      block_->BuildPins(CBEVideoNavigation::kVersion);
    }
  }
  FreeBuffer(old);
  if (!ok) {
    FreeBuffer(mapFile);
    return false;
  }
  map->drawingScale = mapScale_->GetValue();
  map->obstacleLifeTime = lifeTime_->GetValue();
  map->obstacleRadius = radius_->GetValue();
  map->imageSearchRange = searchRange_->GetValue();
  map->placeNearZone = nearZone_->GetValue();
  map->positioningAccuracy = accuracy_->GetValue();
  map->TakeMapFileName(mapFile);
  return true;
}

bool CVideoNavigatorDialog::AddRow() {
  const int count = list_->GetItemCount();
  if (count >= kMaxRows) {
    ShowMessageText(this, MB_OK | MB_ICONERROR, L"Ошибка",
                    L"Невозможно добавить дальномер, т.к. максимальное число дальномеров достигнуто!");
    return false;
  }
  NavRangeFinder record = {};
  record.searchAngle = kNewSearchAngle;
  record.searchDistance = kNewSearchDistance;
  record.maxRange = kNewMaxRange;
  record.colour = static_cast<unsigned char>(count % kBeNavWallColourCount);
  wcscpy(record.name, kNewName);
  int row = list_->AddItem(L"", record.colour, 0);
  if (row < 0) return false;
  SetRow(row, record);
  list_->SelectItem(row, true);
  list_->FocusItem(row);
  list_->SetFocus();
  SendMessageW(GetHandle(), WM_COMMAND, kCommandEdit, 0);
  return true;
}

bool CVideoNavigatorDialog::DeleteRow() {
  int row = list_->GetSelectedIndex();
  if (row < 0) return false;
  wchar_t name[kBeNavFinderNameLimit + 2] = {};
  list_->GetItemText(row, kColumnName, name, kBeNavFinderNameLimit + 2);
  if (ShowMessageBox(this, MB_YESNO | MB_ICONERROR, L"Удаление", L"Удалить дальномер \"%ls\"?", name) != IDYES)
    return false;
  list_->DeleteItem(row);
  UpdateButtons();
  return true;
}

bool CVideoNavigatorDialog::EditRow() {
  int row = list_->GetSelectedIndex();
  if (row < 0) return false;
  NavRangeFinder record;
  GetRow(row, &record);
  auto* info = new (std::nothrow) CRangeFinderInfoDialog(this, record);
  if (info && info->IsBuilt()) {
    HWND window = info->GetHandle();
    int result = info->ShowModal(false);
    // The form may have gone with its window (the program ending meanwhile).
    if (GetControlFromHandle(window) == info) {
      if (result == kOkResult) {
        info->ReadFields(&record);
        SetRow(row, record);
      }
      delete info;
    }
  } else {
    delete info;
  }
  UpdateButtons();
  return true;
}

wchar_t* CVideoNavigatorDialog::DupRobotsFolder() {
  wchar_t* module = DupModulePath();
  if (!module) return nullptr;
  wchar_t* folder = DupDirectoryPart(module);
  FreeBuffer(module);
  if (!folder) return nullptr;
  // The folder is freed when there is no room for both.
  return AppendString(folder, kRobotsFolder);
}

const wchar_t* CVideoNavigatorDialog::MapNameOf(const wchar_t* path, const wchar_t* folder) {
  if (!path || !folder) return path;
  const size_t length = wcslen(folder);
  if (length == 0 || wcslen(path) < length) return path;
  const int n = static_cast<int>(length);
  if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path, n, folder, n) != CSTR_EQUAL) return path;
  return path + length;
}

void CVideoNavigatorDialog::ChooseMapFile() {
  wchar_t* folder = DupRobotsFolder();
  if (!folder) return;
  wchar_t* initial = mapFile_->GetText();
  wchar_t* path = ShowSaveFileDialog(this, initial, L"txt", kMapFilter, nullptr, folder);
  if (path) mapFile_->SetText(MapNameOf(path, folder));
  FreeBuffer(path);
  FreeBuffer(initial);
  FreeBuffer(folder);
}

LRESULT CVideoNavigatorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsReady() && list_) {
    if (message == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->hwndFrom == list_->GetHandle()) {
        if (header->code == static_cast<UINT>(LVN_ITEMCHANGED)) UpdateButtons();
        if (header->code == static_cast<UINT>(NM_DBLCLK)) {
          SendMessageW(GetHandle(), WM_COMMAND, kCommandEdit, 0);
          return 1;
        }
      }
    }
    if (message == WM_COMMAND && HIWORD(wParam) <= 1) {
      bool carriedOut = true;
      switch (LOWORD(wParam)) {
        case kCommandAdd: carriedOut = AddRow(); break;
        case kCommandDelete: carriedOut = DeleteRow(); break;
        case kCommandEdit: carriedOut = EditRow(); break;
        case kCommandChooseMap: ChooseMapFile(); break;
        default: break;
      }
      if (!carriedOut) return 0;
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

bool ShowVideoNavigationDialog(CBEBlock* block) {
  auto* navigation = dynamic_cast<CBEVideoNavigation*>(block);
  if (!navigation || !navigation->Map()) return false;
  auto* dialog = new (std::nothrow) CVideoNavigatorDialog(navigation);
  if (!dialog) return false;
  if (!dialog->IsBuilt()) {
    delete dialog;
    return false;
  }
  HWND window = dialog->GetHandle();
  int result = dialog->ShowModal(false);
  bool changed = false;
  // The form may have gone with its window (the program ending meanwhile).
  if (GetControlFromHandle(window) == dialog) {
    if (result == kOkResult) changed = dialog->Apply();
    delete dialog;
  }
  return changed;
}
