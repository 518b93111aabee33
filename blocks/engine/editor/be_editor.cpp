#include "blocks/engine/editor/be_editor.h"

#include <richedit.h>

#include <cwchar>
#include <string>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "blocks/engine/plugin/plugin_chooser.h"
#include "foundation/numbers.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/bars/kest_status_bar.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/containers/kest_tabs.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/core/kest_host.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_font.h"
#include "scheme/model/scheme_icons.h"

namespace {

const int kDefaultSize = static_cast<int>(0x80000000);
const int kViewWidth = 1000;
const int kViewHeight = 500;
const int kTabsWidth = 1000;
const int kStatusChars = 64;

struct StatusPanel {
  int width;
  int8_t alignment;
  const wchar_t* text;
};
const StatusPanel kStatusPanels[] = {
    {110, 1, L"Объем [байты]:"}, {150, 0, nullptr}, {80, 1, L"Циклы:"},
    {100, 0, nullptr},           {110, 1, L"Частота [МГц]:"}, {100, 0, nullptr},
    {10, 0, nullptr},
};

}  // namespace

CBEEditor::CBEEditor(CKestForm* owner, BeScheme* scheme) : scheme_(scheme) {
  ++BeOpenEditorCount;
  Create(owner, nullptr, true, true, KEST_POS_FLOW, kDefaultSize, kDefaultSize);
}

CBEEditor::~CBEEditor() { --BeOpenEditorCount; }

void CBEEditor::BuildContent() {
  tabs_ = new CKestTabControl(this, false, 0, kTabsWidth, kBePaletteTabsHeight, KEST_POS_TOP);
  tabs_->SetFont(new CKestFont(L"MS Sans Serif", -10, FW_NORMAL));
  status_ = new CKestStatusBar(this, true, kBeEditorStatusHeight);
  for (const StatusPanel& panel : kStatusPanels) status_->AddPanel(panel.width, panel.alignment, panel.text);
  view_ = new CBEView(this, scheme_, KEST_POS_CLIENT, kViewWidth, kViewHeight);
  const BeCatalogue* catalogue = scheme_ ? scheme_->catalogue : nullptr;
  if (catalogue) {
    for (int i = 1; i < catalogue->groupCount; ++i) tabs_->AddTab(catalogue->Group(i)->name);
  }
  built_ = true;
  FillPalette();
  RefreshStatus();
}

LRESULT CBEEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    LRESULT result = CKestMDIChildForm::WindowProc(message, wParam, lParam);
    if (result != -1) BuildContent();
    return result;
  }
  if (!built_) return CKestMDIChildForm::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      if (HandleCommand(wParam, lParam)) return 0;
      break;
    case EM_CANPASTE:
      return view_ && view_->CanPaste() ? 1 : 0;
    case WM_KEST_CANCOPY:
    case WM_KEST_CANCUT:
    case WM_KEST_CANDELETE:
      return view_ && view_->HasSelection() ? 1 : 0;
    case WM_KEST_CANSELECTALL:
    case WM_CAN_COPY_PICTURE:
      return 1;
    case WM_BLOCK_TOOL_FINISHED:
      PressPaletteButton(nullptr);
      RefreshStatus();
      return 0;
    case WM_DESTROY:
      built_ = false;  // the children go before this object
      break;
    default:
      break;
  }
  return CKestMDIChildForm::WindowProc(message, wParam, lParam);
}

bool CBEEditor::HandleCommand(WPARAM wParam, LPARAM lParam) {
  HWND sender = reinterpret_cast<HWND>(lParam);
  if (sender && tabs_ && sender == tabs_->GetHandle()) {
    if (HIWORD(wParam) <= 1) FillPalette();
    return true;
  }
  UINT id = LOWORD(wParam);
  switch (id) {
    case ID_KEST_POPUP_CUT:
      if (view_) {
        view_->Copy();
        view_->DeleteSelection();
      }
      RefreshStatus();
      return true;
    case ID_KEST_POPUP_COPY:
      if (view_) view_->Copy();
      return true;
    case ID_KEST_POPUP_PASTE:
      if (view_) view_->Paste();
      RefreshStatus();
      return true;
    case ID_KEST_POPUP_DELETE:
      if (view_) view_->DeleteSelection();
      RefreshStatus();
      return true;
    case ID_KEST_POPUP_SELECT_ALL:
      if (view_) view_->SelectAll(true);
      return true;
    case ID_KEST_POPUP_PROPERTIES:
      if (view_) view_->ShowBlockProperties();
      RefreshStatus();
      return true;
    case ID_KEST_EXPORT_PICTURE:
      ExportPicture(KestPictureFile);
      return true;
    case ID_KEST_COPY_PICTURE:
      ExportPicture(KestPictureClipboard);
      return true;
    case ID_KEST_PRINT_PICTURE:
      ExportPicture(KestPicturePrinter);
      return true;
    default:
      break;
  }
  if (id >= kBeFirstPaletteCommand && id < 0x8000) {
    PaletteClick(static_cast<int>(id));
    return true;
  }
  return false;
}

void CBEEditor::PaletteClick(int id) {
  HWND button = tabs_ ? GetDlgItem(tabs_->GetHandle(), id) : nullptr;
  PressPaletteButton(button ? dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(button)) : nullptr);
  const BeCatalogue* catalogue = scheme_ ? scheme_->catalogue : nullptr;
  const BeCatalogueGroup* group = catalogue && tabs_ ? catalogue->Group(tabs_->GetSelectedTab() + 1) : nullptr;
  const BeCatalogueEntry* entry = group ? group->Entry(id - static_cast<int>(kBeFirstPaletteCommand)) : nullptr;
  if (!entry) {
    PressPaletteButton(nullptr);
    return;
  }
  if (entry->classId == kBePluginBlockClassId && !ChoosePlugin()) {
    PressPaletteButton(nullptr);
    return;
  }
  if (view_) view_->SetPendingClass(entry->classId);
}

bool CBEEditor::ChoosePlugin() { return ChoosePluginBlock(); }

void CBEEditor::FillPalette() {
  if (!tabs_) return;
  HWND tabsWindow = tabs_->GetHandle();
  for (HWND child = GetWindow(tabsWindow, GW_CHILD); child; child = GetWindow(tabsWindow, GW_CHILD)) {
    if (!DestroyWindow(child)) break;
  }
  const BeCatalogue* catalogue = scheme_ ? scheme_->catalogue : nullptr;
  const BeCatalogueGroup* group = catalogue ? catalogue->Group(tabs_->GetSelectedTab() + 1) : nullptr;
  KestFlowLayout* flow = tabs_->GetFlowLayout();
  if (flow) {
    flow->cursorX = kBePaletteFirstX;
    flow->cursorY = kBePaletteFirstY;
    flow->rowHeight = 0;
    flow->gap = 0;
  }
  const wchar_t* folder = GetSchemeIconsFolder();
  for (int i = 0; group && i < group->entryCount; ++i) {
    const BeCatalogueEntry* entry = group->Entry(i);
    if (!entry->bitmap) continue;
    std::wstring path = folder ? folder : L"";
    path += entry->bitmap;
    CKestImage* image = new CKestImage;
    if (FAILED(image->Load(path.c_str()))) {
      delete image;
      continue;
    }
    CKestSpdBtn* button = new CKestSpdBtn(tabs_, static_cast<int>(kBeFirstPaletteCommand) + i, 0, entry->caption,
                                          true, kBePaletteButtonSize, kBePaletteButtonSize, nullptr, KEST_POS_FLOW,
                                          false);
    button->SetImage(image);
  }
  tabs_->Invalidate(true);
}

void CBEEditor::PressPaletteButton(CKestSpdBtn* button) {
  if (!tabs_) return;
  HWND tabsWindow = tabs_->GetHandle();
  for (HWND child = GetWindow(tabsWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    auto* other = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(child));
    if (other) other->SetDown(other == button);
  }
}

void CBEEditor::RefreshStatus() {
  if (!status_ || !scheme_) return;
  wchar_t text[kStatusChars];
  int rom = scheme_->GetRomTotal(true);
  const BeScheme* outer = scheme_->Outermost();
  int limit = outer ? outer->romLimit : scheme_->romLimit;
  if (limit > 0) {
    _snwprintf(text, kStatusChars - 1, L"%d из %d", rom, limit);
  } else {
    _snwprintf(text, kStatusChars - 1, L"%d", rom);
  }
  text[kStatusChars - 1] = 0;
  status_->SetPanelText(kBeStatusRomPanel, text);
  _snwprintf(text, kStatusChars - 1, L"%d", scheme_->GetCyclesTotal(true));
  text[kStatusChars - 1] = 0;
  status_->SetPanelText(kBeStatusCyclesPanel, text);
  float frequency = outer ? outer->frequency : scheme_->frequency;
  wchar_t number[kFoundationFormatDoubleChars];
  status_->SetPanelText(kBeStatusFrequencyPanel, FormatDouble(frequency / 1000000.0, number, 0));
}

void CBEEditor::ExportPicture(int kind) {
  if (!view_) return;
  HWND window = view_->GetHandle();
  SCROLLINFO horizontal = {}, vertical = {};
  horizontal.cbSize = vertical.cbSize = sizeof(SCROLLINFO);
  horizontal.fMask = vertical.fMask = SIF_RANGE;
  RECT area = view_->GetSchemeBounds();
  if (GetScrollInfo(window, SB_HORZ, &horizontal) && GetScrollInfo(window, SB_VERT, &vertical)) {
    area = RECT{horizontal.nMin, vertical.nMin, horizontal.nMax, vertical.nMax};
  }
  CKestHost* host = GetKestHost();
  HDC dc = host->BeginPictureExport(kind, area);
  if (!dc) return;
  view_->PaintScheme(dc, true);
  host->EndPictureExport(kind, dc);
}
