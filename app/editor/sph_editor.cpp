#include "app/editor/sph_editor.h"

#include <richedit.h>

#include <cstring>
#include <cwchar>

#include "app/board/pcb_view.h"
#include "app/shell/main_form.h"
#include "app/views/scheme_view.h"
#include "foundation/buffers.h"
#include "kestui/bars/kest_separator.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_tabs.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/core/kest_messages.h"
#include "kestui/forms/kest_input_dialog.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"
#include "units/computers/control_panel.h"

const wchar_t* const kVelkControlPanelName = kUnitControlPanelName;

namespace {

// The number of bus cores last entered, for the whole run.
int g_busCoresPreset = 8;

const int kButtonSize = 42;

const int kMinBusCores = 2;
const int kMaxBusCores = 64;

// Rows of the scheme palette: which modes have them (bit per mode).
const unsigned kInMain = 1, kInBoard = 2, kInPanel = 4, kInAll = 7;

struct PaletteItem {
  int id;  // 0: a separator
  const wchar_t* hint;
  unsigned modes;
  bool toggle;
};

const PaletteItem kSchemePalette[] = {
    {CSphEditor::kPalCursor, L"Курсор", kInAll, true},
    {0, nullptr, kInAll, false},
    {CSphEditor::kPalTwoCoreCable, L"Двухжильный провод", kInMain | kInPanel, true},
    {CSphEditor::kPalThreeCoreCable, L"Трехжильный провод", kInMain | kInPanel, true},
    {CSphEditor::kPalBus, L"Шина", kInAll, true},
    {CSphEditor::kPalGround, L"\"Земля\"", kInBoard, true},
    {0, nullptr, kInMain, false},
    {CSphEditor::kPalControlPanel, L"Пульт управления", kInMain, true},
    {0, nullptr, kInAll, false},
    {CSphEditor::kPalUsbCom, L"Преобразователь USB-COM", kInMain | kInPanel, true},
    {CSphEditor::kPalPoeInjector, L"Инжектор питания Ethernet (PoE)", kInMain | kInPanel, true},
    {CSphEditor::kPalRfInjector, L"Инжектор питания для ВЧ-кабеля", kInMain | kInPanel, true},
    {CSphEditor::kPalResistors, L"Резисторы (терминаторы)", kInMain | kInPanel, true},
    {0, nullptr, kInMain | kInPanel, false},
    {CSphEditor::kPalBatteries, L"Аккумуляторные батареи", kInPanel, true},
    {CSphEditor::kPalPowerSupplies, L"Блоки питания", kInPanel, true},
    {CSphEditor::kPalNetwork, L"Сетевое оборудование", kInPanel, true},
    {CSphEditor::kPalTeeFitting, L"T-образное соединение шлангов", kInMain, true},
    {CSphEditor::kPalFiveWayFitting, L"Разветвитель на 5 шлангов", kInMain, true},
    {0, nullptr, kInMain, false},
    {CSphEditor::kPalDelete, L"Удалить", kInAll, false},
    {0, nullptr, kInAll, false},
    {CSphEditor::kPalMultimeter, L"Мультиметр", kInAll, true},
};

struct BoardItem {
  int id;  // 0: a separator
  UINT bitmap;
  const wchar_t* hint;
};

const BoardItem kBoardPalette[] = {
    {CSphEditor::kPalZoomIn, CSphEditor::kPalZoomIn, L"Увеличить масштаб"},
    {CSphEditor::kPalZoomOut, CSphEditor::kPalZoomOut, L"Уменьшить масштаб"},
    {0, 0, nullptr},
    {CSphEditor::kPalConnectors, CSphEditor::kPalConnectors, L"Разъемы"},
    {CSphEditor::kPalDcDc, CSphEditor::kPalDcDc, L"DC-DC преобразователи"},
    {CSphEditor::kPalMicrocontrollers, CSphEditor::kPalMicrocontrollers, L"Микроконтроллеры"},
    {CSphEditor::kPalDrivers, CSphEditor::kPalDrivers, L"Силовые ключи (drivers)"},
    {CSphEditor::kPalRs232Drivers, CSphEditor::kPalRs232Drivers, L"Драйверы RS-232"},
    {CSphEditor::kPalStdLogic, CSphEditor::kPalStdLogic, L"Микросхемы стандартной логики"},
    {CSphEditor::kPalDiscretes, CSphEditor::kPalDiscretes, L"Отдельные электронные компоненты"},
    {0, 0, nullptr},
    {CSphEditor::kPalBoardDelete, CSphEditor::kPalDelete, L"Удалить"},
};

// Buttons that pick a class to place (tool 3).
struct PlaceItem {
  int id;
  const char* className;
};
const PlaceItem kPlaceClasses[] = {
    {CSphEditor::kPalTeeFitting, "T_GIDRO"}, {CSphEditor::kPalFiveWayFitting, "5_GIDRO"}, {CSphEditor::kPalGround, "GND"},
    {CSphEditor::kPalUsbCom, "USB-COM"},     {CSphEditor::kPalMultimeter, "Multimeter"},  {CSphEditor::kPalRfInjector, "Injector"},
    {CSphEditor::kPalPoeInjector, "PoE"},
};

// Scheme categories: the browser's tables and the class created.
struct CategoryItem {
  int id;
  const wchar_t* tables;
  const char* className;
};
const CategoryItem kSchemeCategories[] = {
    {CSphEditor::kPalBatteries, L"batteries", "Battery"},
    {CSphEditor::kPalPowerSupplies, L"powersupply", "POWER_SUPPLY"},
    {CSphEditor::kPalNetwork, L"routers", "Router"},
    {CSphEditor::kPalResistors, L"resisters", "Resister"},
};

// Board categories; a null class name means the record's "class" column.
const CategoryItem kBoardCategories[] = {
    {CSphEditor::kPalConnectors, L"connectors", nullptr},
    {CSphEditor::kPalDcDc, L"DC-DC", nullptr},
    {CSphEditor::kPalMicrocontrollers, L"avr", nullptr},
    {CSphEditor::kPalDrivers, L"drivers", nullptr},
    {CSphEditor::kPalRs232Drivers, L"max232;max485;FT232", nullptr},
    {CSphEditor::kPalStdLogic, L"stdlogic", "StdLogic"},
    {CSphEditor::kPalDiscretes, L"resisters;relays;bitransistor;cmostransistor;diod;capacitors", nullptr},
};

// The class of a discrete part by the name of its record's table.
struct TableClass {
  const wchar_t* table;
  const char* className;
};
const TableClass kDiscreteClasses[] = {
    {L"resisters", "Resister"},     {L"relays", "Relay"}, {L"bitransistor", "BiTransistor"},
    {L"cmostransistor", "CMOSTransistor"}, {L"diod", "diod"}, {L"capacitors", "Capacitor"},
};

// The leading digits after an optional sign, as an integer; no digits give 0.
// Values beyond the int range stop growing.
int ParseLeadingInt(const wchar_t* text) {
  if (!text) return 0;
  while (*text == L' ' || *text == L'\t') text++;
  bool negative = false;
  if (*text == L'-' || *text == L'+') negative = *text++ == L'-';
  long long value = 0;
  while (*text >= L'0' && *text <= L'9') {
    value = value * 10 + (*text++ - L'0');
    if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

CSphEditor::CSphEditor(CKestForm* parent, SchScheme* scheme, int mode, float boardWidth, float boardHeight)
    : mode_(mode), boardWidth_(boardWidth), boardHeight_(boardHeight), scheme_(scheme) {
  Watch(scheme);
  const wchar_t* caption = mode == kEditorPanel ? L"Схема пульта управления" : L"Основная схема";
  if (!Create(parent, caption, true, true, KEST_POS_FLOW, CW_USEDEFAULT, CW_USEDEFAULT)) return;
  SetReady(true);
}

CSphEditor::~CSphEditor() {}

int CSphEditor::GetBusCoresPreset() { return g_busCoresPreset; }
void CSphEditor::SetBusCoresPreset(int cores) { g_busCoresPreset = cores; }

CKestSpdBtn* CSphEditor::GetPaletteButton(int i) const {
  return (i >= 0 && i < paletteCount_) ? palette_[i] : nullptr;
}

void CSphEditor::SetComponentChooser(CComponentChooser* chooser) {
  chooser_ = chooser ? chooser : &defaultChooser_;
}

bool CSphEditor::IsBoardPageShown() const { return tabs_ && tabs_->GetSelectedTab() != kVelkSchemeTab; }

void CSphEditor::CloseEditorsOfScheme(SchScheme* scheme) {
  if (scheme) scheme->ReleaseWatches();
}

void CSphEditor::OnSchemeDeleting(SchScheme* gone) {
  if (scheme_ != gone) return;
  // The editor lets go of the scheme at once and closes as soon as messages
  // flow again (the scheme may be deleted while windows are being destroyed,
  // or from a command of this very editor).
  scheme_ = nullptr;
  mainScheme_ = 0;
  if (schemeView_) schemeView_->SetScheme(nullptr);
  if (boardView_) boardView_->SetScheme(nullptr);
  if (GetHandle()) PostMessageW(GetHandle(), WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------- building

CKestPanel* CSphEditor::MakePaletteRow(CKestContainer* host) {
  CKestPanel* row = new CKestPanel(host, 1, KEST_POS_TOP, 1000, 50, true, false);
  if (KestFlowLayout* flow = row->GetFlowLayout()) flow->gap = 0;
  return row;
}

CKestSpdBtn* CSphEditor::AddButton(CKestPanel* row, int id, UINT bitmap, const wchar_t* hint, bool toggle) {
  CKestSpdBtn* button =
      new CKestSpdBtn(row, id, bitmap, hint, toggle, kButtonSize, kButtonSize, nullptr, KEST_POS_FLOW, false);
  if (toggle && paletteCount_ < kPaletteCapacity) palette_[paletteCount_++] = button;
  return button;
}

void CSphEditor::BuildBoardPalette(CKestContainer* page) {
  CKestPanel* row = MakePaletteRow(page);
  for (const BoardItem& item : kBoardPalette) {
    if (item.id == 0) {
      new CKestSeparator(row, KEST_POS_FLOW);
      continue;
    }
    CKestSpdBtn* button = AddButton(row, item.id, item.bitmap, item.hint, false);
    if (item.id == kPalBoardDelete) boardDelete_ = button;
  }
  boardView_ = new CPCBView(page, KEST_POS_CLIENT, 1000, 100, scheme_, boardWidth_, boardHeight_);
  if (boardDelete_) boardDelete_->Enable(false);
}

void CSphEditor::BuildSchemePalette(CKestContainer* host) {
  CKestPanel* row = MakePaletteRow(host);
  paletteCount_ = 0;
  unsigned bit = 1u << mode_;
  for (const PaletteItem& item : kSchemePalette) {
    if (!(item.modes & bit)) continue;
    if (item.id == 0) {
      new CKestSeparator(row, KEST_POS_FLOW);
      continue;
    }
    CKestSpdBtn* button = AddButton(row, item.id, static_cast<UINT>(item.id), item.hint, item.toggle);
    if (item.id == kPalDelete) schemeDelete_ = button;
  }
  schemeView_ = new CSchemeView(host, KEST_POS_CLIENT, 1000, 100, scheme_);
  CheckToolButton(kPalCursor);
  if (schemeDelete_) schemeDelete_->Enable(false);
}

void CSphEditor::BuildInterface() {
  CKestContainer* schemeHost = this;
  if (mode_ == kEditorBoard) {
    tabs_ = new CKestTabControl(this, true, kVelkEditorTabsId, 1000, 1000, KEST_POS_CLIENT);
    tabs_->AddTab(L"Макет печатной платы");
    tabs_->AddTab(L"Электронная схема");
    tabs_->SelectTab(kVelkBoardTab);
    if (CKestContainer* page = tabs_->GetPage(kVelkBoardTab)) BuildBoardPalette(page);
    if (CKestContainer* page = tabs_->GetPage(kVelkSchemeTab)) schemeHost = page;
  }
  BuildSchemePalette(schemeHost);
}

// ---------------------------------------------------------------- commands

void CSphEditor::CheckToolButton(int command) {
  for (int i = 0; i < paletteCount_; i++) {
    CKestSpdBtn* button = palette_[i];
    if (button && button->GetHandle()) button->SetDown(GetDlgCtrlID(button->GetHandle()) == command);
  }
}

void CSphEditor::SetTool(int tool) {
  if (!schemeView_) return;
  schemeView_->tool = tool;
  schemeView_->state = 0;
}

void CSphEditor::AskBusCores() {
  wchar_t preset[16];
  swprintf(preset, 16, L"%d", g_busCoresPreset);
  wchar_t* text = ShowInputDialog(MainKestForm, L"Шина", L"Введите число жил:", preset);
  if (!text) {
    SetTool(CSchemeView::kToolSelect);
    CheckToolButton(kPalCursor);
    return;
  }
  int cores = ParseLeadingInt(text);
  FreeBuffer(text);
  g_busCoresPreset = cores;
  if (cores >= kMinBusCores && cores <= kMaxBusCores) {
    if (schemeView_) schemeView_->cores = cores;
    CheckToolButton(kPalBus);
    return;
  }
  MessageBoxW(window_, L"Число жил должно быть от 2 до 64!", L"Ошибка", MB_OK | MB_ICONERROR);
  SetTool(CSchemeView::kToolSelect);
  CheckToolButton(0);
}

void CSphEditor::ChooseSchemeComponent(int id, const wchar_t* tables, const char* className) {
  if (!scheme_ || !schemeView_) return;
  CSCHBlock* made = nullptr;
  SchScheme* scheme = scheme_;
  chooser_->Choose(this, tables, [&](CompDbRecord* record) {
    made = scheme->CreateBlock(className);
    if (made && record) made->ApplyDbRecord(record);
  });
  if (!made) return;
  schemeView_->object = made;
  SetTool(CSchemeView::kToolPlaceBlock);
  CheckToolButton(id);
}

void CSphEditor::ChooseBoardComponent(int id) {
  const CategoryItem* category = nullptr;
  for (const CategoryItem& c : kBoardCategories)
    if (c.id == id) category = &c;
  if (!category || !scheme_) return;
  if (boardView_) boardView_->CancelTool();
  CSCHBlock* made = nullptr;
  SchScheme* scheme = scheme_;
  chooser_->Choose(this, category->tables, [&](CompDbRecord* record) {
    if (!record) return;
    const char* className = category->className;
    if (id == kPalDiscretes) {
      className = nullptr;
      const wchar_t* table = record->GetTable() ? record->GetTable()->GetName() : L"";
      for (const TableClass& t : kDiscreteClasses)
        if (wcscmp(t.table, table) == 0) className = t.className;
    } else if (!className) {
      className = record->GetTextByName("class");
    }
    made = className ? scheme->CreateBlock(className) : nullptr;
    if (!made) return;
    made->flags |= kSchBoardPart;
    made->ApplyDbRecord(record);
  });
  if (made && schemeView_) schemeView_->UpdateScrollRange();
  // The new part follows the mouse on the board until it is put down.
  if (made && boardView_) {
    boardView_->SetFocus();
    boardView_->SelectAll(false);
    boardView_->currentPart = made;
    boardView_->tool = CPCBView::kToolPlace;
  }
}

void CSphEditor::OnCommand(int id) {
  for (const PlaceItem& item : kPlaceClasses) {
    if (item.id != id) continue;
    SetTool(CSchemeView::kToolPlaceClass);
    if (schemeView_) schemeView_->className = item.className;
    CheckToolButton(id);
    return;
  }
  for (const CategoryItem& item : kSchemeCategories) {
    if (item.id == id) {
      ChooseSchemeComponent(id, item.tables, item.className);
      return;
    }
  }
  for (const CategoryItem& item : kBoardCategories) {
    if (item.id == id) {
      ChooseBoardComponent(id);
      return;
    }
  }
  switch (id) {
    case kPalCursor:
      SetTool(CSchemeView::kToolSelect);
      CheckToolButton(kPalCursor);
      break;
    case kPalTwoCoreCable:
    case kPalThreeCoreCable:
      SetTool(CSchemeView::kToolBus);
      if (schemeView_) schemeView_->cores = id == kPalTwoCoreCable ? 2 : 3;
      CheckToolButton(id);
      break;
    case kPalBus:
      SetTool(CSchemeView::kToolBus);
      AskBusCores();
      break;
    case kPalControlPanel:
      if (scheme_ && scheme_->FindBlockByName(kVelkControlPanelName)) {
        MessageBoxW(window_, L"Пульт управления уже установлен", L"Ошибка", MB_OK);
        SetTool(CSchemeView::kToolSelect);
        CheckToolButton(kPalCursor);
      } else {
        SetTool(CSchemeView::kToolPlaceClass);
        if (schemeView_) schemeView_->className = "PULT";
        CheckToolButton(kPalControlPanel);
      }
      break;
    case kPalDelete:
      if (schemeView_) schemeView_->DeleteSelection();
      break;
    case ID_KEST_POPUP_PROPERTIES:
      if (IsBoardPageShown()) {
        if (boardView_) boardView_->ShowPartInfo();
      } else if (schemeView_) {
        schemeView_->OpenItem();
      }
      break;
    case ID_KEST_POPUP_SELECT_ALL:
      if (IsBoardPageShown()) {
        if (boardView_) boardView_->SelectAll(true);
      } else if (schemeView_) {
        schemeView_->SelectAll(true);
      }
      break;
    case ID_KEST_POPUP_DELETE:
      if (SchemeViewHasFocus()) schemeView_->DeleteSelection();
      else if (BoardViewHasFocus()) boardView_->DeleteSelection();
      break;
    case ID_KEST_EXPORT_PICTURE:
    case ID_KEST_COPY_PICTURE:
    case ID_KEST_PRINT_PICTURE: {
      int kind = id == ID_KEST_EXPORT_PICTURE ? KestPictureFile : id == ID_KEST_COPY_PICTURE ? KestPictureClipboard : KestPicturePrinter;
      if (IsBoardPageShown()) {
        if (boardView_) boardView_->ExportPicture(kind);
      } else if (schemeView_) {
        schemeView_->ExportPicture(kind);
      }
      break;
    }
    case kPalZoomIn:
    case kPalZoomOut:
      if (boardView_) boardView_->Zoom(id == kPalZoomIn);
      break;
    case kPalBoardDelete:
      if (boardView_) boardView_->DeleteSelection();
      break;
    case CPCBView::kCmdRotateLeft:
    case CPCBView::kCmdRotateRight:
      if (BoardViewHasFocus()) boardView_->RotateSelection(id == CPCBView::kCmdRotateLeft ? -1 : 1);
      break;
    case CPCBView::kCmdCopy:
      if (boardView_) boardView_->CopySelection();
      break;
    case CPCBView::kCmdCut:
      if (boardView_) boardView_->Cut();
      break;
    case CPCBView::kCmdPaste:
      PasteOnBoard();
      break;
    case WM_COPY:
    case WM_CUT:
    case WM_PASTE:
      // The main window's Edit menu: only the board view has a clipboard.
      if (!BoardViewHasFocus()) break;
      if (id == WM_COPY) boardView_->CopySelection();
      else if (id == WM_CUT) boardView_->Cut();
      else boardView_->Paste();
      break;
    default:
      break;
  }
}

bool CSphEditor::SchemeViewHasFocus() const { return schemeView_ && schemeView_->HasFocus(); }

void CSphEditor::PasteOnBoard() {
  if (!boardView_) return;
  if (schemeView_) schemeView_->SelectAll(false);
  boardView_->Paste();
  // The pasted components, selected in both views, stand beside the copied
  // ones on the scheme.
  if (schemeView_) schemeView_->MoveSelection(20, 20);
}

bool CSphEditor::BoardViewHasFocus() const { return boardView_ && boardView_->HasFocus(); }

LRESULT CSphEditor::AnswerQuery(UINT message) {
  switch (message) {
    case WM_KEST_CANSELECTALL:
    case WM_CAN_COPY_PICTURE:
      return 1;
    case WM_KEST_CANDELETE:
      if (BoardViewHasFocus()) return boardView_->CountSelectedParts(false) != 0 ? 1 : 0;
      return (SchemeViewHasFocus() && schemeView_->HasSelection(false)) ? 1 : 0;
    case WM_KEST_CANCOPY:
    case WM_KEST_CANCUT:
      // Copy, cut and paste are the board view's.
      return (BoardViewHasFocus() && boardView_->CountSelectedParts(false) != 0) ? 1 : 0;
    case EM_CANPASTE:
      return (BoardViewHasFocus() && IsPcbClipboardAvailable()) ? 1 : 0;
    default:
      return 0;
  }
}

void CSphEditor::OnClose() {
  if (schemeView_) schemeView_->CancelTool();
  if (boardView_) boardView_->CancelTool();
  if (mainScheme_ && MainKestForm && MainKestForm->GetHandle())
    SendMessageW(MainKestForm->GetHandle(), WM_CLOSE, 0, 0);
}

LRESULT CSphEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    LRESULT result = CKestMDIChildForm::WindowProc(message, wParam, lParam);
    BuildInterface();
    return result;
  }
  if (!IsReady()) return CKestMDIChildForm::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_EDITOR_TOOL_FINISHED:
      if (wParam == 0) CheckToolButton(static_cast<int>(lParam));
      break;
    case WM_EDITOR_SELECTION_CHANGED:
      if (wParam == 0 && schemeDelete_ && schemeView_) schemeDelete_->Enable(schemeView_->HasSelection(false));
      if (wParam == 1 && boardDelete_ && boardView_) boardDelete_->Enable(boardView_->CountSelectedParts(false) != 0);
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) <= 1) OnCommand(LOWORD(wParam));
      break;
    case WM_KEST_CANSELECTALL:
    case WM_KEST_CANDELETE:
    case WM_KEST_CANCOPY:
    case WM_KEST_CANCUT:
    case EM_CANPASTE:
    case WM_CAN_COPY_PICTURE:
      return AnswerQuery(message);
    case WM_CLOSE:
      OnClose();
      break;
    default:
      break;
  }
  return CKestMDIChildForm::WindowProc(message, wParam, lParam);
}
