#include "blocks/dialogs/local_map/local_map_dlg.h"

#include <cwchar>
#include <new>

#include "blocks/dialogs/local_map/local_map_sensor_editor.h"
#include "blocks/dialogs/local_map/local_map_zone_editor.h"
#include "foundation/numbers.h"
#include "kestui/bars/kest_separator.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/kest_font.h"

namespace {
const int kFormWidth = 1000, kFormHeight = 600;
const int kSideWidth = 300;
const int kHeaderHeight = 20;
const COLORREF kHeaderBack = RGB(102, 102, 102);
const COLORREF kHeaderText = RGB(255, 255, 255);
const int kLabelWidth = 150, kEditWidth = 100, kRowHeight = 22;
const int kGroupGap = 2;
const int kButtonSize = 25;
const int kOkWidth = 100, kOkHeight = 25;
const int kOkResult = 1, kCancelResult = 2;
const double kCentimetres = 100;
const double kPi = 3.141592653589793;
const double kDegrees = 180 / kPi;
const int kSensorTextChars = 63;
const uint32_t kAllSensors = 0xFFFFFFFFu;
// A new zone: 40 cm across the robot's axis, from 50 cm to 1 m ahead.
const LocalMapZone kNewZone = {kAllSensors, -0.2f, 0.5f, 0.2f, 1.0f};

const wchar_t* const kSensorCaptions[] = {L"№", L"Тип", L"X [см]", L"Y [см]", L"A [°]", L"FOV [°]", L"Zmin [см]",
                                          L"Zmax [см]"};
const int kSensorWidths[] = {30, 80, 60, 60, 60, 60, 60, 60};
const wchar_t kSectorText[] = L"Сектор";
const wchar_t kRangeFinderText[] = L"Дальн.";

// Popup positions whose items need a selected row.
const int kRowItems[] = {0, 3, 4, 5};

void FormatNumber(double value, wchar_t* text) { FormatDouble(value, text, 0); }

bool IsCommandCode(WPARAM wParam) { return HIWORD(wParam) == 0 || HIWORD(wParam) == 1; }
}  // namespace

CLocalMapDlg::~CLocalMapDlg() {
  if (zones_ && zones_->GetHandle()) {
    for (int row = 0; row < zones_->GetItemCount(); ++row) {
      delete ZoneAt(row);
      zones_->SetItemData(row, 0);
    }
  }
  if (previewMenu_) previewMenu_->Release();
}

// ---------------------------------------------------------------- building

CKestLabel* CLocalMapDlg::AddHeader(CKestContainer* parent, const wchar_t* caption) {
  auto* label = new CKestLabel(parent, caption, KEST_POS_TOP, false, kSideWidth, kHeaderHeight, 0);
  label->SetBackColor(kHeaderBack);
  label->SetTextColor(kHeaderText);
  label->SetFont(headerFont_);
  return label;
}

CKestPanel* CLocalMapDlg::AddGroup(CKestContainer* parent, int height) {
  auto* group = new CKestPanel(parent, 1, KEST_POS_TOP, kSideWidth, height, false, false);
  if (KestFlowLayout* flow = group->GetFlowLayout()) flow->gap = kGroupGap;
  return group;
}

CKestSpinEdit* CLocalMapDlg::AddField(CKestPanel* group, const wchar_t* caption, double minimum, double maximum,
                                      double step, double value) {
  new CKestLabel(group, caption, KEST_POS_FLOW, false, kLabelWidth, kRowHeight, 1);
  auto* edit = new CKestSpinEdit(group, 0, false, minimum, maximum, step, KEST_POS_FLOW, kEditWidth, kRowHeight);
  edit->SetValue(value);
  group->NewFlowRow();
  return edit;
}

CKestPanel* CLocalMapDlg::AddButtonRow(CKestContainer* parent) {
  return new CKestPanel(parent, 1, KEST_POS_TOP, 1000, 28, true, false);
}

CKestSpdBtn* CLocalMapDlg::AddButton(CKestPanel* row, UINT command, UINT picture, const wchar_t* hint,
                                     bool enabled) {
  auto* button = new CKestSpdBtn(row, static_cast<int>(command), picture, hint, false, kButtonSize, kButtonSize,
                                 nullptr, KEST_POS_FLOW, false);
  if (!enabled) button->Enable(false);
  return button;
}

CKestListView* CLocalMapDlg::AddList(CKestContainer* parent, uint32_t position, int width, int height) {
  return new CKestListView(parent, position, width, height,
                           WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, LVS_EX_FULLROWSELECT);
}

void CLocalMapDlg::BuildLeftPanel() {
  const LocalMapModel& model = block_->model;
  auto* left = new CKestPanel(this, 1, KEST_POS_LEFT, kSideWidth, 700, false, false);
  AddHeader(left, L"Размеры карты");
  CKestPanel* size = AddGroup(left, 85);
  edits_[kHalfWidth] = AddField(size, L"Полуширина, см:", 1, 10000, 10, model.halfWidth * kCentimetres);
  edits_[kFront] = AddField(size, L"Передняя граница, см:", 1, 10000, 10, model.frontBound * kCentimetres);
  edits_[kRear] = AddField(size, L"Задняя граница, см:", -10000, -1, 10, model.rearBound * kCentimetres);
  AddHeader(left, L"Робот");
  CKestPanel* robot = AddGroup(left, 100);
  showRobot_ = new CKestCheckBox(robot, L"Отображать робота", model.showRobot == 1, 0, KEST_POS_FLOW, 250, 18,
                                 nullptr);
  robot->NewFlowRow();
  edits_[kRobotWidth] = AddField(robot, L"Ширина, cм:", 1, 1000, 5, model.robotWidth * kCentimetres);
  edits_[kRobotLength] = AddField(robot, L"Длина, см:", 1, 10000, 5, model.robotLength * kCentimetres);
  AddHeader(left, L"Виртуальные стены");
  CKestPanel* walls = AddGroup(left, 105);
  wallsOn_ = new CKestCheckBox(walls, L"Использовать виртуальные стены", model.virtualWalls == 1, 0, KEST_POS_FLOW,
                               270, 18, nullptr);
  walls->NewFlowRow();
  edits_[kWallX] = AddField(walls, L"Положение X, см:", 0.1, 10000, 1, model.wallX * kCentimetres);
  edits_[kWallStart] = AddField(walls, L"Начало по Y, см:", -10000, 10000, 1, model.wallYStart * kCentimetres);
  edits_[kWallEnd] = AddField(walls, L"Конец по Y, см:", -10000, 10000, 1, model.wallYEnd * kCentimetres);
}

void CLocalMapDlg::BuildRightPanel() {
  auto* right = new CKestPanel(this, 1, KEST_POS_RIGHT, kSideWidth, 1000, false, false);
  AddHeader(right, L"Сенсоры");
  CKestPanel* sensorButtons = AddButtonRow(right);
  addSensor_ = AddButton(sensorButtons, kLocalMapCmdAddSensor, kLocalMapAddPicture, L"Добавить сенсор", true);
  deleteSensor_ =
      AddButton(sensorButtons, kLocalMapCmdDeleteSensor, kLocalMapDeletePicture, L"Удалить сенсор", false);
  new CKestSeparator(sensorButtons, KEST_POS_FLOW);
  sensorUp_ = AddButton(sensorButtons, kLocalMapCmdSensorUp, kLocalMapUpPicture, L"Переместить вверх", false);
  sensorDown_ = AddButton(sensorButtons, kLocalMapCmdSensorDown, kLocalMapDownPicture, L"Переместить вниз", false);
  new CKestSeparator(sensorButtons, KEST_POS_FLOW);
  sensors_ = AddList(right, KEST_POS_TOP, kSideWidth, 250);
  for (int c = 0; c < kSensorColumns; ++c) sensors_->AddColumn(kSensorCaptions[c], kSensorWidths[c], -1);
  sensorMenu_ = new CKestPopupMenu();
  sensorMenu_->AddItem(L"Правка\tEnter", kLocalMapCmdEditSensor, 0, VK_RETURN);
  sensorMenu_->AppendSeparator();
  sensorMenu_->AddItem(L"Добавить сенсор\tIns", kLocalMapCmdAddSensor, 0, VK_INSERT);
  sensorMenu_->AddItem(L"Удалить сенсор\tDel", kLocalMapCmdDeleteSensor, 0, VK_DELETE);
  sensorMenu_->AddItem(L"Переместить вверх\tCtrl+Up", kLocalMapCmdSensorUp, KEST_MOD_CTRL, VK_UP);
  sensorMenu_->AddItem(L"Переместить вниз\tCtrl+Down", kLocalMapCmdSensorDown, KEST_MOD_CTRL, VK_DOWN);
  sensorMenu_->AppendSeparator();
  sensorMenu_->AddItem(L"Удалить все сенсоры", kLocalMapCmdDeleteAllSensors);
  sensorMenu_->SetDefaultItem(0, true);
  sensors_->SetMenu(sensorMenu_);
  new CKestHSplitter(right, KEST_POS_TOP);

  AddHeader(right, L"Зоны анализа");
  CKestPanel* zoneButtons = AddButtonRow(right);
  addZone_ = AddButton(zoneButtons, kLocalMapCmdAddZone, kLocalMapAddPicture, L"Добавить зону анализа", true);
  deleteZone_ =
      AddButton(zoneButtons, kLocalMapCmdDeleteZone, kLocalMapDeletePicture, L"Удалить зону анализа", false);
  new CKestSeparator(zoneButtons, KEST_POS_FLOW);
  zoneUp_ = AddButton(zoneButtons, kLocalMapCmdZoneUp, kLocalMapUpPicture, L"Переместить вверх", false);
  zoneDown_ = AddButton(zoneButtons, kLocalMapCmdZoneDown, kLocalMapDownPicture, L"Переместить вниз", false);
  new CKestSeparator(zoneButtons, KEST_POS_FLOW);
  // The bottom panel docks before the list fills what is left.
  auto* bottom = new CKestPanel(right, 0, KEST_POS_BOTTOM, kSideWidth, 40, false, false);
  bottom->BeginCenteredRows();
  ok_ = new CKestButton(bottom, L"OK", false, kLocalMapCmdOk, KEST_POS_FLOW, kOkWidth, kOkHeight, nullptr, kOkResult);
  cancel_ = new CKestButton(bottom, L"Отмена", false, 0, KEST_POS_FLOW, kOkWidth, kOkHeight, nullptr, kCancelResult);
  bottom->CenterFlowRows();
  zones_ = AddList(right, KEST_POS_CLIENT, kSideWidth, 100);
  zones_->AddColumn(L"Зона", 80, -1);
  zones_->AddColumn(L"Слои", 200, -1);
  zoneMenu_ = new CKestPopupMenu();
  zoneMenu_->AddItem(L"Правка\tEnter", kLocalMapCmdEditZone, 0, VK_RETURN);
  zoneMenu_->AppendSeparator();
  zoneMenu_->AddItem(L"Добавить зону\tIns", kLocalMapCmdAddZone, 0, VK_INSERT);
  zoneMenu_->AddItem(L"Удалить зону\tDel", kLocalMapCmdDeleteZone, 0, VK_DELETE);
  zoneMenu_->AddItem(L"Переместить вверх\tCtrl+Up", kLocalMapCmdZoneUp, KEST_MOD_CTRL, VK_UP);
  zoneMenu_->AddItem(L"Переместить вниз\tCtrl+Down", kLocalMapCmdZoneDown, KEST_MOD_CTRL, VK_DOWN);
  zoneMenu_->AppendSeparator();
  zoneMenu_->AddItem(L"Удалить все зоны", kLocalMapCmdDeleteAllZones);
  zoneMenu_->SetDefaultItem(0, true);
  zoneMenu_->SetItemBitmap(4, kLocalMapUpPicture);
  zoneMenu_->SetItemBitmap(5, kLocalMapDownPicture);
  zones_->SetMenu(zoneMenu_);
}

void CLocalMapDlg::FillLists() {
  const LocalMapModel& model = block_->model;
  for (int z = 0; z < model.zoneCount; ++z) AppendZoneRow(model.zones[z]);
  for (int s = 0; s < block_->sensorCount; ++s) {
    const LocalMapSensor& sensor = block_->sensors[s];
    wchar_t texts[kSensorColumns][kFoundationFormatDoubleChars];
    FormatInt(s + 1, texts[kSensorNumber]);
    wcscpy(texts[kSensorKind], sensor.kind == 1 ? kSectorText : kRangeFinderText);
    FormatNumber(sensor.x * kCentimetres, texts[kSensorX]);
    FormatNumber(sensor.y * kCentimetres, texts[kSensorY]);
    FormatNumber(sensor.angle * kDegrees, texts[kSensorA]);
    FormatNumber(sensor.fov * kDegrees, texts[kSensorFov]);
    FormatNumber(sensor.zMin * kCentimetres, texts[kSensorZMin]);
    FormatNumber(sensor.zMax * kCentimetres, texts[kSensorZMax]);
    const wchar_t* row[kSensorColumns];
    for (int c = 0; c < kSensorColumns; ++c) row[c] = texts[c];
    int index = sensors_->AddItem(row[0], -1, 0);
    SetSensorRow(index, row);
  }
}

bool CLocalMapDlg::Build() {
  if (!block_) return false;
  if (!Create(MainKestForm, block_->GetCaption(), KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, true, false,
              true, true))
    return false;
  SetReady(false);
  headerFont_ = new CKestFont(L"Arial", -12, 700, false, false, false, DEFAULT_CHARSET);
  headerFont_->AddRef();
  BuildLeftPanel();
  BuildRightPanel();
  FillLists();
  preview_ = new CKestPaintBox(this, 0, KEST_POS_CLIENT, 400, 400);
  previewMenu_ = new CKestPopupMenu();
  previewMenu_->AddRef();
  previewMenu_->AddItem(L"Свойства", kLocalMapCmdEditZone);
  previewMenu_->AppendSeparator();
  previewMenu_->AddItem(L"Создать копию", kLocalMapCmdCopyZone);
  previewMenu_->AddItem(L"Создать зеркальную копию", kLocalMapCmdMirrorZone);
  previewMenu_->AppendSeparator();
  previewMenu_->AddItem(L"Удалить", kLocalMapCmdDeleteZone);
  headerFont_->Release();  // the labels keep it
  headerFont_ = nullptr;
  SetReady(true);
  return true;
}

CKestSpdBtn* CLocalMapDlg::GetButton(UINT command) const {
  switch (command) {
    case kLocalMapCmdAddSensor: return addSensor_;
    case kLocalMapCmdDeleteSensor: return deleteSensor_;
    case kLocalMapCmdSensorUp: return sensorUp_;
    case kLocalMapCmdSensorDown: return sensorDown_;
    case kLocalMapCmdAddZone: return addZone_;
    case kLocalMapCmdDeleteZone: return deleteZone_;
    case kLocalMapCmdZoneUp: return zoneUp_;
    case kLocalMapCmdZoneDown: return zoneDown_;
    default: return nullptr;
  }
}

// ---------------------------------------------------------------- rows

LocalMapZone* CLocalMapDlg::ZoneAt(int row) const {
  if (!zones_ || row < 0 || row >= zones_->GetItemCount()) return nullptr;
  return reinterpret_cast<LocalMapZone*>(zones_->GetItemData(row));
}

void CLocalMapDlg::FormatLayers(uint32_t mask, wchar_t* text, int capacity) {
  if (capacity <= 0) return;
  text[0] = 0;
  int length = 0;
  for (int j = 0; j < kLocalMapMaskSensors; ++j) {
    if (!((mask >> j) & 1u)) continue;
    wchar_t number[kFoundationFormatIntChars];
    FormatInt(j + 1, number);
    int needed = static_cast<int>(wcslen(number)) + (length ? 2 : 0);
    if (length + needed >= capacity) break;
    if (length) {
      wcscpy(text + length, L", ");
      length += 2;
    }
    wcscpy(text + length, number);
    length += static_cast<int>(wcslen(number));
  }
}

uint32_t CLocalMapDlg::MaskWithoutSensor(uint32_t mask, int k) {
  if (k < 0 || k >= kLocalMapMaskSensors) return mask;
  uint32_t below = k == 0 ? 0 : mask & (0xFFFFFFFFu >> (kLocalMapMaskSensors - k));
  uint32_t above = k == kLocalMapMaskSensors - 1 ? 0 : (mask >> (k + 1)) << k;
  return below | above;
}

uint32_t CLocalMapDlg::MaskWithSensorsSwapped(uint32_t mask, int k) {
  if (k < 0 || k >= kLocalMapMaskSensors) return mask;
  // The last bit's sensor goes beyond the mask, and the one that takes its
  // place was never counted.
  if (k == kLocalMapMaskSensors - 1) return mask & ~(1u << k);
  uint32_t a = (mask >> k) & 1u, b = (mask >> (k + 1)) & 1u;
  if (a == b) return mask;
  return mask ^ ((1u << k) | (1u << (k + 1)));
}

int CLocalMapDlg::AppendZoneRow(const LocalMapZone& zone) {
  auto* copy = new (std::nothrow) LocalMapZone(zone);
  if (!copy) return -1;
  wchar_t caption[24];
  swprintf(caption, 24, L"Зона %d", zones_->GetItemCount() + 1);
  int row = zones_->AddItem(caption, -1, reinterpret_cast<LPARAM>(copy));
  if (row < 0 || zones_->GetItemData(row) != reinterpret_cast<LPARAM>(copy)) {
    delete copy;
    return -1;
  }
  SetZoneLayers(row);
  return row;
}

void CLocalMapDlg::SetZoneLayers(int row) {
  const LocalMapZone* zone = ZoneAt(row);
  wchar_t text[kLocalMapLayersChars];
  FormatLayers(zone ? zone->layerMask : 0, text, kLocalMapLayersChars);
  zones_->SetItemText(row, kZoneLayers, text);
}

void CLocalMapDlg::RenumberZoneCaptions() {
  for (int row = 0; row < zones_->GetItemCount(); ++row) {
    wchar_t caption[24];
    swprintf(caption, 24, L"Зона %d", row + 1);
    zones_->SetItemText(row, kZoneCaption, caption);
  }
}

void CLocalMapDlg::RenumberMasks(uint32_t (*change)(uint32_t, int), int k) {
  for (int row = 0; row < zones_->GetItemCount(); ++row) {
    LocalMapZone* zone = ZoneAt(row);
    if (!zone) continue;
    zone->layerMask = change(zone->layerMask, k);
    SetZoneLayers(row);
  }
}

void CLocalMapDlg::SetSensorRow(int row, const wchar_t* const* texts) {
  for (int c = 0; c < kSensorColumns; ++c) sensors_->SetItemText(row, c, texts[c]);
}

void CLocalMapDlg::ReadSensorRow(int row, wchar_t texts[kSensorColumns][64]) const {
  for (int c = 0; c < kSensorColumns; ++c) sensors_->GetItemText(row, c, texts[c], kSensorTextChars + 1);
}

// ---------------------------------------------------------------- enabling

void CLocalMapDlg::UpdateSensorButtons() {
  bool selected = sensors_->GetSelectedIndex() >= 0;
  deleteSensor_->Enable(selected);
  sensorUp_->Enable(selected);
  sensorDown_->Enable(selected);
  for (int position : kRowItems) sensorMenu_->EnableItem(position, selected);
}

void CLocalMapDlg::UpdateZoneButtons() {
  bool selected = zones_->GetSelectedIndex() >= 0;
  deleteZone_->Enable(selected);
  zoneUp_->Enable(selected);
  zoneDown_->Enable(selected);
  for (int position : kRowItems) zoneMenu_->EnableItem(position, selected);
}

void CLocalMapDlg::RedrawPreview() {
  if (preview_ && preview_->GetHandle()) InvalidateRect(preview_->GetHandle(), nullptr, FALSE);
}

// ---------------------------------------------------------------- sensors

void CLocalMapDlg::AddSensor() {
  int count = sensors_->GetItemCount();
  if (count >= kLocalMapMaskSensors) {
    ShowMessageBox(this, MB_OK | MB_ICONWARNING, L"Внимание",
                   L"Больше %d сенсоров добавить нельзя: зона анализа различает не больше %d сенсоров.",
                   kLocalMapMaskSensors, kLocalMapMaskSensors);
    return;
  }
  wchar_t number[kFoundationFormatIntChars];
  FormatInt(count + 1, number);
  const wchar_t* texts[kSensorColumns] = {number, kRangeFinderText, L"0", L"30", L"0", L"60", L"4", L"500"};
  int row = sensors_->AddItem(number, -1, 0);
  if (row < 0) return;
  SetSensorRow(row, texts);
  sensors_->FocusItem(row);
  sensors_->SetFocus();
  RedrawPreview();
  SendMessageW(GetHandle(), WM_COMMAND, kLocalMapCmdEditSensor, 0);
}

void CLocalMapDlg::EditSensor() {
  int row = sensors_->GetSelectedIndex();
  if (row < 0) return;
  wchar_t texts[kSensorColumns][64];
  ReadSensorRow(row, texts);
  double values[CLocalMapSensorEditor::kFieldCount];
  for (int f = 0; f < CLocalMapSensorEditor::kFieldCount; ++f)
    values[f] = ParseDouble(texts[kSensorX + f], 0, nullptr);
  auto* editor = new (std::nothrow) CLocalMapSensorEditor;
  if (!editor) return;
  HWND window = nullptr;
  if (editor->Build(this, row + 1, wcscmp(texts[kSensorKind], kSectorText) == 0, values)) {
    window = editor->GetHandle();
    if (editor->Confirm()) {
      wchar_t numbers[CLocalMapSensorEditor::kFieldCount][kFoundationFormatDoubleChars];
      sensors_->SetItemText(row, kSensorKind, editor->IsSector() ? kSectorText : kRangeFinderText);
      for (int f = 0; f < CLocalMapSensorEditor::kFieldCount; ++f) {
        FormatNumber(editor->GetValue(static_cast<CLocalMapSensorEditor::Field>(f)), numbers[f]);
        sensors_->SetItemText(row, kSensorX + f, numbers[f]);
      }
      RedrawPreview();
    }
  }
  if (!window || GetControlFromHandle(window) == editor) delete editor;
}

void CLocalMapDlg::DeleteSensor() {
  int row = sensors_->GetSelectedIndex();
  if (row < 0) return;
  sensors_->DeleteItem(row);
  RenumberMasks(MaskWithoutSensor, row);
  UpdateSensorButtons();
  RedrawPreview();
}

void CLocalMapDlg::DeleteAllSensors() {
  if (ShowMessageText(this, MB_YESNO | MB_ICONWARNING, L"Внимание", L"Удалить все сенсоры?") != IDYES) return;
  sensors_->DeleteAllItems();
  // No sensor is left for any zone to count.
  RenumberMasks([](uint32_t, int) { return 0u; }, 0);
  UpdateSensorButtons();
  RedrawPreview();
}

void CLocalMapDlg::MoveSensor(bool up) {
  int row = sensors_->GetSelectedIndex();
  int other = up ? row - 1 : row + 1;
  if (row < 0 || other < 0 || other >= sensors_->GetItemCount()) return;
  wchar_t mine[kSensorColumns][64], theirs[kSensorColumns][64];
  ReadSensorRow(row, mine);
  ReadSensorRow(other, theirs);
  for (int c = kSensorKind; c < kSensorColumns; ++c) {
    sensors_->SetItemText(row, c, theirs[c]);
    sensors_->SetItemText(other, c, mine[c]);
  }
  RenumberMasks(MaskWithSensorsSwapped, up ? other : row);
  sensors_->FocusItem(other);
  sensors_->SetFocus();
}

// ---------------------------------------------------------------- zones

void CLocalMapDlg::AddZone() {
  int row = AppendZoneRow(kNewZone);
  if (row < 0) return;
  zones_->FocusItem(row);
  zones_->SetFocus();
  currentZone_ = row;
  RedrawPreview();
  SendMessageW(GetHandle(), WM_COMMAND, kLocalMapCmdEditZone, 0);
}

void CLocalMapDlg::EditZone() {
  int row = zones_->GetSelectedIndex();
  LocalMapZone* zone = ZoneAt(row);
  if (!zone) return;
  wchar_t caption[64];
  zones_->GetItemText(row, kZoneCaption, caption, 64);
  auto* editor = new (std::nothrow) CLocalMapZoneEditor;
  if (!editor) return;
  HWND window = nullptr;
  if (editor->Build(this, caption, *zone)) {
    window = editor->GetHandle();
    if (editor->Confirm()) {
      // The row may have gone while the editor was open only with the
      // dialog itself; look it up again.
      if (LocalMapZone* still = ZoneAt(row)) {
        *still = editor->Read();
        SetZoneLayers(row);
      }
      RedrawPreview();
    }
  }
  if (!window || GetControlFromHandle(window) == editor) delete editor;
}

void CLocalMapDlg::DeleteZone() {
  int row = zones_->GetSelectedIndex();
  if (row < 0) return;
  LocalMapZone* zone = ZoneAt(row);
  zones_->SetItemData(row, 0);
  delete zone;
  dragHandle_ = kHandleNone;
  zones_->DeleteItem(row);
  if (currentZone_ >= zones_->GetItemCount()) currentZone_ = -1;
  RenumberZoneCaptions();
  UpdateZoneButtons();
  RedrawPreview();
}

void CLocalMapDlg::DeleteAllZones() {
  if (ShowMessageText(this, MB_YESNO | MB_ICONWARNING, L"Внимание", L"Удалить все зоны?") != IDYES) return;
  for (int row = 0; row < zones_->GetItemCount(); ++row) {
    delete ZoneAt(row);
    zones_->SetItemData(row, 0);
  }
  dragHandle_ = kHandleNone;
  zones_->DeleteAllItems();
  currentZone_ = -1;
  UpdateZoneButtons();
  RedrawPreview();
}

void CLocalMapDlg::MoveZone(bool up) {
  int row = zones_->GetSelectedIndex();
  int other = up ? row - 1 : row + 1;
  if (row < 0 || other < 0 || other >= zones_->GetItemCount()) return;
  LPARAM mine = zones_->GetItemData(row), theirs = zones_->GetItemData(other);
  zones_->SetItemData(row, theirs);
  zones_->SetItemData(other, mine);
  SetZoneLayers(row);
  SetZoneLayers(other);
  zones_->FocusItem(other);
  zones_->SetFocus();
}

void CLocalMapDlg::CopyZone(bool mirror) {
  const LocalMapZone* source = ZoneAt(currentZone_);
  if (!source) return;
  LocalMapZone copy = *source;
  if (mirror) {
    copy.xMin = -source->xMax;
    copy.xMax = -source->xMin;
  }
  int row = AppendZoneRow(copy);
  if (row < 0) return;
  zones_->FocusItem(row);
  currentZone_ = row;
  RedrawPreview();
}

// ---------------------------------------------------------------- writing back

double CLocalMapDlg::EditValue(Edit which) const { return edits_[which] ? edits_[which]->GetValue() : 0; }

void CLocalMapDlg::WriteBack() {
  LocalMapModel& model = block_->model;
  model.halfWidth = RoundToFloat(EditValue(kHalfWidth) / kCentimetres);
  model.frontBound = RoundToFloat(EditValue(kFront) / kCentimetres);
  model.rearBound = RoundToFloat(EditValue(kRear) / kCentimetres);
  model.showRobot = showRobot_->IsChecked() ? 1 : 0;
  model.robotWidth = RoundToFloat(EditValue(kRobotWidth) / kCentimetres);
  model.robotLength = RoundToFloat(EditValue(kRobotLength) / kCentimetres);
  model.virtualWalls = wallsOn_->IsChecked() ? 1 : 0;
  model.wallX = RoundToFloat(EditValue(kWallX) / kCentimetres);
  model.wallYStart = RoundToFloat(EditValue(kWallStart) / kCentimetres);
  model.wallYEnd = RoundToFloat(EditValue(kWallEnd) / kCentimetres);

  int zoneRows = zones_->GetItemCount();
  if (model.SetZoneCount(zoneRows)) {
    for (int row = 0; row < zoneRows; ++row) {
      LocalMapZone* zone = ZoneAt(row);
      if (zone) model.zones[row] = *zone;
    }
  }
  int sensorRows = sensors_->GetItemCount();
  if (block_->SetSensorCount(sensorRows)) {
    for (int row = 0; row < sensorRows; ++row) {
      wchar_t texts[kSensorColumns][64];
      ReadSensorRow(row, texts);
      LocalMapSensor& sensor = block_->sensors[row];
      sensor.kind = wcscmp(texts[kSensorKind], kSectorText) == 0 ? 1 : 0;
      sensor.x = RoundToFloat(ParseDouble(texts[kSensorX], 0, nullptr) / kCentimetres);
      sensor.y = RoundToFloat(ParseDouble(texts[kSensorY], 0, nullptr) / kCentimetres);
      sensor.angle = RoundToFloat(ParseDouble(texts[kSensorA], 0, nullptr) * kPi / 180);
      sensor.fov = RoundToFloat(ParseDouble(texts[kSensorFov], 0, nullptr) * kPi / 180);
      sensor.zMin = RoundToFloat(ParseDouble(texts[kSensorZMin], 0, nullptr) / kCentimetres);
      sensor.zMax = RoundToFloat(ParseDouble(texts[kSensorZMax], 0, nullptr) / kCentimetres);
    }
  }
  block_->BuildPins();
}

// ---------------------------------------------------------------- messages

bool CLocalMapDlg::HandleCommand(UINT id) {
  switch (id) {
    case kLocalMapCmdOk: WriteBack(); return true;
    case kLocalMapCmdAddSensor: AddSensor(); return true;
    case kLocalMapCmdDeleteSensor: DeleteSensor(); return true;
    case kLocalMapCmdEditSensor: EditSensor(); return true;
    case kLocalMapCmdDeleteAllSensors: DeleteAllSensors(); return true;
    case kLocalMapCmdSensorUp: MoveSensor(true); return true;
    case kLocalMapCmdSensorDown: MoveSensor(false); return true;
    case kLocalMapCmdAddZone: AddZone(); return true;
    case kLocalMapCmdDeleteZone: DeleteZone(); return true;
    case kLocalMapCmdEditZone: EditZone(); return true;
    case kLocalMapCmdDeleteAllZones: DeleteAllZones(); return true;
    case kLocalMapCmdZoneUp: MoveZone(true); return true;
    case kLocalMapCmdZoneDown: MoveZone(false); return true;
    case kLocalMapCmdCopyZone: CopyZone(false); return true;
    case kLocalMapCmdMirrorZone: CopyZone(true); return true;
    default: return false;
  }
}

bool CLocalMapDlg::HandleNotify(NMHDR* header, LRESULT* result) {
  if (!header) return false;
  bool fromSensors = header->hwndFrom == sensors_->GetHandle();
  bool fromZones = header->hwndFrom == zones_->GetHandle();
  if (!fromSensors && !fromZones) return false;
  if (header->code == static_cast<UINT>(LVN_ITEMCHANGED)) {
    if (fromZones) {
      currentZone_ = zones_->GetSelectedIndex();
      RedrawPreview();
      UpdateZoneButtons();
    } else {
      currentSensor_ = sensors_->GetSelectedIndex();
      RedrawPreview();
      UpdateSensorButtons();
    }
    return false;
  }
  if (header->code == static_cast<UINT>(NM_DBLCLK)) {
    auto* item = reinterpret_cast<NMITEMACTIVATE*>(header);
    CKestListView* list = fromZones ? zones_ : sensors_;
    if (item->iItem < 0 || list->GetSelectedIndex() < 0) return false;
    SendMessageW(GetHandle(), WM_COMMAND, fromZones ? kLocalMapCmdEditZone : kLocalMapCmdEditSensor, 0);
    *result = 1;
    return true;
  }
  return false;
}

void CLocalMapDlg::HandleEditChange(HWND edit) {
  for (int which = 0; which < kEditCount; ++which) {
    if (!edits_[which] || edits_[which]->GetHandle() != edit) continue;
    bool redraw = true;
    if (which == kRobotWidth || which == kRobotLength) redraw = showRobot_->IsChecked();
    if (which == kWallX || which == kWallStart || which == kWallEnd) redraw = wallsOn_->IsChecked();
    if (redraw) RedrawPreview();
    return;
  }
}

LRESULT CLocalMapDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsReady()) return CKestForm::WindowProc(message, wParam, lParam);
  HWND preview = preview_ ? preview_->GetHandle() : nullptr;
  switch (message) {
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lParam);
      if (from && HIWORD(wParam) == EN_CHANGE) {
        HandleEditChange(from);
      } else if (from && (from == showRobot_->GetHandle() || from == wallsOn_->GetHandle())) {
        RedrawPreview();
      } else if (IsCommandCode(wParam)) {
        HandleCommand(LOWORD(wParam));
      }
      break;
    }
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (HandleNotify(reinterpret_cast<NMHDR*>(lParam), &result)) return result;
      break;
    }
    case WM_KEST_PAINT:
      if (preview && reinterpret_cast<HWND>(lParam) == preview) PaintPreviewWindow();
      break;
    case WM_KEST_LBUTTONDOWN:
      if (preview && reinterpret_cast<HWND>(wParam) == preview)
        PreviewMouseDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    case WM_KEST_MOUSEMOVE:
      if (preview && reinterpret_cast<HWND>(wParam) == preview)
        PreviewMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    case WM_KEST_LBUTTONUP:
      if (preview && reinterpret_cast<HWND>(wParam) == preview) dragHandle_ = kHandleNone;
      break;
    case WM_KEST_RBUTTONUP:
      if (preview && reinterpret_cast<HWND>(wParam) == preview)
        PreviewRightUp(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      break;
    default:
      break;
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

bool ShowLocalMapDialog(CBEBlock* block) {
  auto* localMap = dynamic_cast<CBELocalMap*>(block);
  if (!localMap) return false;
  auto* dialog = new (std::nothrow) CLocalMapDlg(localMap);
  if (!dialog) return false;
  if (!dialog->Build()) {
    delete dialog;
    return false;
  }
  HWND window = dialog->GetHandle();
  int result = dialog->ShowModal(false);
  // The form may have gone with its window (the program ending meanwhile).
  if (GetControlFromHandle(window) == dialog) delete dialog;
  return result == kOkResult;
}
