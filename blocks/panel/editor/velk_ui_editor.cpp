#include "blocks/panel/editor/velk_ui_editor.h"

#include <new>

#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "blocks/panel/velk_ui_control.h"
#include "blocks/panel/velk_ui_property_grid.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_scrollbox.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/graphics/kest_canvas.h"
#include "kestui/menus/kest_popup_menu.h"

namespace {
const int kEditorHeight = 600;
const int kEditorWidthMargin = 10;
const int kPaletteWidth = 160;
const int kPaletteLabelWidth = 120;
const int kPaletteButtonWidth = 130;
const int kPaletteButtonHeight = 25;
const int kGridBoxWidth = 300;
const int kCanvasLeft = 8;
const int kCanvasTop = 8;
const COLORREF kCanvasColor = 0xCCCCCC;
}  // namespace

int SnapToGrid(int v) { return (v + 4) & ~7; }

CVelkUIEditor::CVelkUIEditor(CKestControl* owner, UiPanel* panel) : panel_(panel) {
  font_ = new CKestFont(L"Arial", -12, FW_NORMAL);
  font_->AddRef();
  paletteFont_ = new CKestFont(L"Verdana", -12, FW_BOLD);
  paletteFont_->AddRef();
  int width = GetSystemMetrics(SM_CXFULLSCREEN) - kEditorWidthMargin;
  if (!Create(owner, L"Редактор интерфейса с пользователем", KEST_POS_FLOW, width, kEditorHeight,
              nullptr, true, true, true, true))
    return;
  SetReady(false);
  BuildWindow();
  SetReady(true);
}

CVelkUIEditor::~CVelkUIEditor() {
  if (grid_) grid_->SetPropertyList(nullptr);
  delete list_;
  list_ = nullptr;
  delete grid_;
  grid_ = nullptr;
  if (panel_) panel_->ForgetCanvas(canvas_);
  font_->Release();
  paletteFont_->Release();
}

void CVelkUIEditor::BuildWindow() {
  // The palette of item kinds, in registry order.
  paletteBox_ = new CKestScrollBox(this, KEST_POS_LEFT, kPaletteWidth, kEditorHeight, true);
  const wchar_t caption[] = L"Компоненты";
  SIZE measured = CKestLabel::MeasureCaption(paletteFont_->GetHandle(), caption);
  auto* label = new CKestLabel(paletteBox_, caption, KEST_POS_FLOW, false, kPaletteLabelWidth,
                               measured.cy, 0);
  label->SetFont(paletteFont_);
  for (int i = 0; i < PanelItemKindCount(); ++i) {
    const UiItemKind* kind = PanelItemKindAt(i);
    new CKestSpdBtn(paletteBox_, kUiPaletteFirstId + i, static_cast<UINT>(kind->pictureId), nullptr,
                    true, kPaletteButtonWidth, kPaletteButtonHeight, kind->name, KEST_POS_FLOW, true);
  }

  // The property grid behind its splitter.
  gridBox_ = new CKestScrollBox(this, KEST_POS_RIGHT, kGridBoxWidth, kEditorHeight, true);
  grid_ = new CVelkUIPropertyGrid(gridBox_);
  new CKestVSplitter(this, KEST_POS_RIGHT);

  // The canvas in its own scrolling area.
  auto* area = new CKestScrollBox(this, KEST_POS_CLIENT, kPanelCanvasWidth, kEditorHeight, false);
  area->SetBackColor(GetSysColor(COLOR_APPWORKSPACE));
  canvas_ = new CKestCanvas(area, kUiEditorCanvasId, KestPos(kCanvasLeft, kCanvasTop),
                              kPanelCanvasWidth, kPanelCanvasHeight);
  canvas_->SetBackColor(kCanvasColor);
  canvas_->SetPaperColor(kCanvasColor);

  menu_ = new CKestPopupMenu;
  menu_->AddItem(L"&Копировать\tCtrl+C", ID_KEST_COPY, KEST_MOD_CTRL, 'C');
  menu_->AddItem(L"&Вырезать\tCtrl+X", ID_KEST_CUT, KEST_MOD_CTRL, 'X');
  menu_->AddItem(L"Вст&авить\tCtrl+V", ID_KEST_PASTE, KEST_MOD_CTRL, 'V');
  menu_->AddItem(L"Удалить\tDel", kUiEditorDeleteCommand, 0, VK_DELETE);
  menu_->AppendSeparator();
  menu_->AddItem(L"Выделить все\tCtrl+A", ID_KEST_SELECT_ALL, KEST_MOD_CTRL, 'A');
  menu_->AppendSeparator();
  HMENU order = menu_->AppendSubMenu(L"Порядок");
  if (order) {
    menu_->AppendItem(order, L"На уровень выше\tCtrl+PgUp", kUiEditorLevelUpCommand, KEST_MOD_CTRL, VK_PRIOR);
    menu_->AppendItem(order, L"На уровень вниз\tCtrl+PgDn", kUiEditorLevelDownCommand, KEST_MOD_CTRL, VK_NEXT);
    menu_->AppendItem(order, L"Поднять на самый верх", kUiEditorToTopCommand, 0, 0);
    menu_->AppendItem(order, L"Опустить на самый низ", kUiEditorToBottomCommand, 0, 0);
  }
  menu_->AddItem(L"Привязка к сетке", kUiEditorSnapCommand);
  menu_->CheckItem(kUiMenuSnapPosition, snap_);
  canvas_->SetMenu(menu_);
  Realign();
}

void CVelkUIEditor::BuildPropertyGrid() {
  if (grid_) grid_->BuildPropertyGrid();
}

void CVelkUIEditor::ApplyProperty(int index) {
  if (grid_) grid_->ApplyProperty(index);
}

void CVelkUIEditor::RefreshPropertyValues() {
  if (grid_) grid_->RefreshPropertyValues();
}

void CVelkUIEditor::SetPropertyList(UiPropertyList* list) {
  if (grid_) grid_->SetPropertyList(list);
  if (list_ != list) delete list_;
  list_ = list;
  BuildPropertyGrid();
}

void CVelkUIEditor::DropPropertyList() {
  if (list_) SetPropertyList(nullptr);
}

void CVelkUIEditor::SelectItem(CVelkUIControl* item) {
  if (!panel_ || !item) return;
  panel_->canvas = canvas_;
  panel_->SetAllSelected(false);
  item->selected = 1;
  item->Invalidate();
  panel_->currentItem = item;
  auto* list = new (std::nothrow) UiPropertyList;
  if (list) {
    list->Init();
    list->owner = item;
    item->BuildProperties(list);
  }
  SetPropertyList(list);
}

POINT CVelkUIEditor::CanvasPoint(LPARAM lParam) const {
  POINT at = canvas_->ClientToDocument(lParam);
  if (snap_) {
    at.x = SnapToGrid(at.x);
    at.y = SnapToGrid(at.y);
  }
  return at;
}

void CVelkUIEditor::ReleasePending() {
  if (pending_) pending_->SetDown(false);
  pending_ = nullptr;
}

void CVelkUIEditor::CanvasLeftPress(POINT at) {
  canvas_->SetFocus();
  panel_->canvas = canvas_;
  if (!pending_) {
    panel_->MouseDown(at.x, at.y);
    return;
  }
  int row = GetWindowLongW(pending_->GetHandle(), GWL_ID) - kUiPaletteFirstId;
  ReleasePending();
  CVelkUIControl* item = CreatePanelItem(panel_, row);
  if (!item) return;
  item->SetPosition(at.x, at.y);
  panel_->SetAllSelected(false);
  item->selected = 1;
  panel_->currentItem = item;
  item->MakeUniqueName();
  panel_->InvalidateCanvas();
  item->CreateBlock();
}

void CVelkUIEditor::CanvasLeftRelease(POINT at) {
  panel_->MouseUp(at.x, at.y);
  CVelkUIControl* current = panel_->currentItem;
  if (current) {
    if (list_ && list_->owner == current) {
      RefreshPropertyValues();
    } else {
      auto* list = new (std::nothrow) UiPropertyList;
      if (list) {
        list->Init();
        list->owner = current;
        current->BuildProperties(list);
      }
      SetPropertyList(list);
    }
  } else {
    DropPropertyList();
  }
}

void CVelkUIEditor::PaletteCommand(int id, HWND sender) {
  auto* button = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(sender));
  if (!button || GetWindowLongW(sender, GWL_ID) != id) return;
  if (button == pending_ && !button->IsDown()) {
    // The pending kind's own button pressed again: no kind is pending.
    pending_ = nullptr;
    return;
  }
  ReleasePending();
  pending_ = button;
  if (!pending_->IsDown()) pending_->SetDown(true);
}

void CVelkUIEditor::PrepareMenu() {
  bool any = panel_->AnySelected();
  menu_->EnableItem(kUiMenuCopyPosition, any);
  menu_->EnableItem(kUiMenuCutPosition, any);
  menu_->EnableItem(kUiMenuDeletePosition, any);
  menu_->EnableItem(kUiMenuOrderPosition, any);
  menu_->EnableItem(kUiMenuPastePosition, panel_->CanPaste());
}

bool CVelkUIEditor::Command(int id) {
  switch (id) {
    case ID_KEST_COPY:
      panel_->CopySelection();
      return true;
    case ID_KEST_CUT:
      panel_->CopySelection();
      return Command(kUiEditorDeleteCommand);
    case ID_KEST_PASTE:
      panel_->canvas = canvas_;
      panel_->Paste();
      return true;
    case kUiEditorDeleteCommand:
      DropPropertyList();
      panel_->DeleteSelected();
      panel_->InvalidateCanvas();
      return true;
    case ID_KEST_SELECT_ALL:
      panel_->SetAllSelected(true);
      return true;
    case kUiEditorLevelUpCommand:
      panel_->MoveSelectedUp();
      panel_->InvalidateCanvas();
      return true;
    case kUiEditorLevelDownCommand:
      panel_->MoveSelectedDown();
      panel_->InvalidateCanvas();
      return true;
    case kUiEditorToTopCommand:
      panel_->MoveSelectedToTop();
      panel_->InvalidateCanvas();
      return true;
    case kUiEditorToBottomCommand:
      panel_->MoveSelectedToBottom();
      panel_->InvalidateCanvas();
      return true;
    case kUiEditorSnapCommand:
      snap_ = !snap_;
      if (menu_) menu_->CheckItem(kUiMenuSnapPosition, snap_);
      return true;
    default:
      return false;
  }
}

LRESULT CVelkUIEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsReady() && panel_) {
    if (grid_ && grid_->HandleMessage(message, wParam, lParam)) return 0;
    HWND canvas = canvas_ ? canvas_->GetHandle() : nullptr;
    switch (message) {
      case WM_KEST_PAINT:
        if (canvas && reinterpret_cast<HWND>(lParam) == canvas) panel_->Paint(canvas_);
        break;
      case WM_KEST_LBUTTONDOWN:
        if (canvas && reinterpret_cast<HWND>(wParam) == canvas) CanvasLeftPress(CanvasPoint(lParam));
        break;
      case WM_KEST_MOUSEMOVE:
        if (canvas && reinterpret_cast<HWND>(wParam) == canvas) {
          panel_->canvas = canvas_;
          if (pending_) canvas_->SetCursorIndex(KestCursorCross);
          else {
            POINT at = CanvasPoint(lParam);
            panel_->MouseMove(at.x, at.y);
          }
        }
        break;
      case WM_KEST_LBUTTONUP:
        if (canvas && reinterpret_cast<HWND>(wParam) == canvas) CanvasLeftRelease(CanvasPoint(lParam));
        break;
      case WM_KEST_RBUTTONDOWN:
        if (canvas && reinterpret_cast<HWND>(wParam) == canvas) ReleasePending();
        break;
      case WM_KEST_MBUTTONDOWN:
        if (canvas && reinterpret_cast<HWND>(lParam) == canvas && wParam == kUiEditorCanvasId)
          PrepareMenu();
        break;
      case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id >= kUiPaletteFirstId && id <= kUiPaletteLastId) {
          PaletteCommand(id, reinterpret_cast<HWND>(lParam));
          return 0;
        }
        if (lParam == 0 && Command(id)) return 0;
        break;
      }
      default:
        break;
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}
