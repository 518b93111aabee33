#include "blocks/panel/velk_ui_property_grid.h"

#include <cwchar>
#include <cwctype>
#include <cstdlib>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "blocks/panel/velk_ui_control.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_check_group_box.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/core/kest_host.h"
#include "kestui/edits/kest_custom_edit.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/graphics/kest_window_dc.h"
#include "kestui/lists/kest_combo_box.h"

namespace {
const uint8_t kStretchAnchors = KEST_ANCHOR_LEFT | KEST_ANCHOR_TOP | KEST_ANCHOR_RIGHT;
const int kGridRightMargin = 134;
const int kHeaderWidth = 200;
const wchar_t kNameRequired[] = L"У компонента обязательно должно быть название!";
const wchar_t kNameTaken[] = L"Такое название уже существует!";

// The system's decimal conversion: an optional sign and digits; 0 when the
// text starts with neither.
int DecimalToInt(const wchar_t* text) {
  if (!text) return 0;
  return static_cast<int>(wcstol(text, nullptr, 10));
}

void ReplaceString(void* field, wchar_t* text) {
  wchar_t** slot = static_cast<wchar_t**>(field);
  FreeBuffer(*slot);
  *slot = text;
}

int CALLBACK AddFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* combo = reinterpret_cast<CKestComboBox*>(data);
  int last = combo->GetCount() - 1;
  if (last >= 0) {
    wchar_t* previous = combo->CopyItemText(last);
    bool same = previous && wcscmp(previous, font->lfFaceName) == 0;
    FreeBuffer(previous);
    if (same) return 1;
  }
  combo->AddItem(font->lfFaceName, 0);
  return 1;
}
}  // namespace

void FillFontNameList(CKestComboBox* combo) {
  if (!combo) return;
  CKestWindowDC screen(nullptr);
  if (!screen) return;
  if (LOBYTE(LOWORD(GetVersion())) < 4) {
    EnumFontFamiliesW(screen.Get(), nullptr, AddFontFamily, reinterpret_cast<LPARAM>(combo));
    return;
  }
  LOGFONTW all = {};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(screen.Get(), &all, AddFontFamily, reinterpret_cast<LPARAM>(combo), 0);
}

CVelkUIPropertyGrid::CVelkUIPropertyGrid(CKestContainer* container) : container_(container) {
  headerFont_ = new CKestFont(L"Verdana", -12, FW_BOLD);
  headerFont_->AddRef();
  editFont_ = new CKestFont(L"Arial", -12, FW_NORMAL);
  editFont_->AddRef();
}

CVelkUIPropertyGrid::~CVelkUIPropertyGrid() {
  // The controls go with their windows; the fonts live on while a control
  // still holds them.
  headerFont_->Release();
  editFont_->Release();
}

CKestControl* CVelkUIPropertyGrid::MakeControl(UiProperty* property, int y, int width) {
  uint32_t at = KestPos(kUiGridControlLeft, y);
  switch (property->type) {
    case UiPropBool: {
      auto* combo = new CKestComboBox(container_, kUiGridComboId, false, at, width, kUiGridRowHeight, 0);
      combo->AddItem(L"Нет", 0);
      combo->AddItem(L"Да", 0);
      return combo;
    }
    case UiPropInt:
    case UiPropFloat:
    case UiPropString: {
      auto* edit = new CKestEdit(container_, kUiGridEditId, at, width, kUiGridRowHeight, false, 0, true);
      edit->SetFont(editFont_);
      return edit;
    }
    case UiPropFontName: {
      auto* combo = new CKestComboBox(container_, kUiGridComboId, false, at, width, kUiGridRowHeight, 0);
      FillFontNameList(combo);
      return combo;
    }
    case UiPropFontStyle: {
      auto* group = new CKestCheckGroupBox(container_, kUiGridStyleGroupId, nullptr, at, width,
                                           kUiGridStyleGroupHeight);
      group->AddItem(L"Жирный");
      group->AddItem(L"Курсив");
      group->AddItem(L"Подчеркивание");
      return group;
    }
    case UiPropColor: {
      auto* swatch = new CKestPanel(container_, 1, at, kUiGridRowHeight, kUiGridRowHeight, false, false);
      if (swatch->GetHandle()) SetWindowLongPtrW(swatch->GetHandle(), GWLP_ID, kUiGridSwatchId);
      return swatch;
    }
    case UiPropDialog:
      return new CKestButton(container_, L"---", false, kUiGridDialogButtonId, at, kUiGridRowHeight,
                             kUiGridRowHeight, L"Открыть диалог", 0);
  }
  return nullptr;
}

void CVelkUIPropertyGrid::BuildPropertyGrid() {
  if (!container_ || !container_->GetHandle()) return;
  HWND box = container_->GetHandle();
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(box, GW_CHILD)) {
    DestroyWindow(child);
    if (GetWindow(box, GW_CHILD) == child) break;  // a window that refuses to go
  }
  if (!list_) return;
  for (int i = 0; i < list_->count; ++i) list_->properties[i]->control = nullptr;

  const wchar_t* kind = list_->owner && list_->owner->kindName ? list_->owner->kindName : L"";
  wchar_t* header = AppendString(nullptr, L"Компонент: ");
  header = AppendString(header, kind);
  SIZE measured = CKestLabel::MeasureCaption(headerFont_->GetHandle(), header);
  auto* label = new CKestLabel(container_, header, KestPos(kUiGridLabelLeft, kUiGridLabelLeft), false,
                               kHeaderWidth, measured.cy, -1);
  label->SetFont(headerFont_);
  FreeBuffer(header);

  int width = container_->GetClientWidth() - kGridRightMargin;
  int y = kUiGridFirstRowTop;
  for (int i = 0; i < list_->count; ++i) {
    UiProperty* property = list_->properties[i];
    new CKestLabel(container_, property->label, KestPos(kUiGridLabelLeft, y), false, kUiGridLabelWidth,
                   kUiGridRowHeight, 1);
    CKestControl* control = MakeControl(property, y, width);
    if (control) control->SetAnchors(property->type == UiPropColor ? KEST_ANCHOR_LEFT | KEST_ANCHOR_TOP
                                                                  : kStretchAnchors);
    property->control = control;
    y += kUiGridRowStep;
    if (property->type == UiPropFontStyle) y += kUiGridStyleGroupExtra;
  }
  RefreshPropertyValues();
}

void CVelkUIPropertyGrid::RefreshPropertyValues() {
  if (!list_) return;
  for (int i = 0; i < list_->count; ++i) {
    UiProperty* p = list_->properties[i];
    if (!p->control) continue;
    switch (p->type) {
      case UiPropBool:
        static_cast<CKestComboBox*>(p->control)
            ->SetSelectedIndex(*static_cast<unsigned char*>(p->value) ? 1 : 0);
        break;
      case UiPropInt: {
        wchar_t text[kFoundationFormatIntChars];
        p->control->SetText(FormatInt(*static_cast<int*>(p->value), text));
        break;
      }
      case UiPropFloat: {
        wchar_t text[kFoundationFormatDoubleChars];
        p->control->SetText(FormatDouble(*static_cast<float*>(p->value), text, 0));
        break;
      }
      case UiPropString:
        p->control->SetText(*static_cast<wchar_t**>(p->value));
        break;
      case UiPropFontName: {
        auto* combo = static_cast<CKestComboBox*>(p->control);
        const wchar_t* face = *static_cast<wchar_t**>(p->value);
        int found = -1;
        for (int k = 0; face && k < combo->GetCount() && found < 0; ++k) {
          wchar_t* entry = combo->CopyItemText(k);
          if (entry && wcscmp(entry, face) == 0) found = k;
          FreeBuffer(entry);
        }
        combo->SetSelectedIndex(found);
        break;
      }
      case UiPropFontStyle: {
        auto* group = static_cast<CKestCheckGroupBox*>(p->control);
        int style = *static_cast<int*>(p->value);
        group->SetItemChecked(0, (style & kUiFontStyleBold) != 0);
        group->SetItemChecked(1, (style & kUiFontStyleItalic) != 0);
        group->SetItemChecked(2, (style & kUiFontStyleUnderline) != 0);
        break;
      }
      case UiPropColor:
        p->control->SetBackColor(*static_cast<COLORREF*>(p->value));
        p->control->Invalidate(true);
        break;
      case UiPropDialog:
        break;
    }
  }
}

void CVelkUIPropertyGrid::RepaintCanvas() {
  if (list_ && list_->owner && list_->owner->panel) list_->owner->panel->InvalidateCanvas();
}

bool CVelkUIPropertyGrid::ApplyName(UiProperty* property, wchar_t* text) {
  CVelkUIControl* item = list_->owner;
  if (!item || !item->block) {
    ReplaceString(property->value, text);
    return true;
  }
  CKestHost* host = GetKestHost();
  if (!text) {
    host->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка", kNameRequired);
    return false;
  }
  bool taken = false;
  if (item->panel) {
    for (CVelkUIControl* other = item->panel->items; other && !taken; other = other->next)
      if (other != item && other->name && wcscmp(other->name, text) == 0) taken = true;
    BeScheme* scheme = item->panel->scheme;
    for (CBEBlock* b = scheme ? scheme->blocks : nullptr; b && !taken; b = b->next)
      if (b != item->block && b->IsDevice() && b->caption && wcscmp(b->caption, text) == 0)
        taken = true;
  }
  if (taken) {
    FreeBuffer(text);
    host->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка", kNameTaken);
    return false;
  }
  ReplaceString(property->value, text);
  item->block->SetCaption(text);
  return true;
}

void CVelkUIPropertyGrid::ApplyProperty(int index) {
  UiProperty* p = list_ ? list_->At(index) : nullptr;
  if (!p || !p->control) return;
  switch (p->type) {
    case UiPropBool:
      *static_cast<unsigned char*>(p->value) =
          static_cast<CKestComboBox*>(p->control)->GetSelectedIndex() != 0 ? 1 : 0;
      break;
    case UiPropInt: {
      auto* edit = static_cast<CKestCustomEdit*>(p->control);
      wchar_t* text = edit->GetText();
      int v = DecimalToInt(text);
      FreeBuffer(text);
      if (p->ranged) {
        if (v < p->min.i) v = p->min.i;
        if (v > p->max.i) v = p->max.i;
      }
      *static_cast<int*>(p->value) = v;
      wchar_t shown[kFoundationFormatIntChars];
      edit->SetText(FormatInt(v, shown));
      edit->SetModified(false);
      break;
    }
    case UiPropFloat: {
      auto* edit = static_cast<CKestCustomEdit*>(p->control);
      wchar_t* text = edit->GetText();
      float* field = static_cast<float*>(p->value);
      // Text without a number keeps the value.
      float v = ParseFloat(text, *field, nullptr);
      FreeBuffer(text);
      if (p->ranged) {
        if (v < p->min.f) v = p->min.f;
        if (v > p->max.f) v = p->max.f;
      }
      *field = v;
      wchar_t shown[kFoundationFormatDoubleChars];
      edit->SetText(FormatDouble(v, shown, 0));
      edit->SetModified(false);
      break;
    }
    case UiPropString: {
      wchar_t* text = static_cast<CKestCustomEdit*>(p->control)->GetText();
      if (index == 0) {
        if (!ApplyName(p, text)) return;
      } else {
        ReplaceString(p->value, text);
      }
      break;
    }
    case UiPropFontName:
      ReplaceString(p->value, static_cast<CKestComboBox*>(p->control)->GetText());
      break;
    case UiPropFontStyle: {
      auto* group = static_cast<CKestCheckGroupBox*>(p->control);
      int style = 0;
      if (group->IsItemChecked(0)) style += kUiFontStyleBold;
      if (group->IsItemChecked(1)) style += kUiFontStyleItalic;
      if (group->IsItemChecked(2)) style += kUiFontStyleUnderline;
      *static_cast<int*>(p->value) = style;
      break;
    }
    case UiPropColor:
      *static_cast<COLORREF*>(p->value) = p->control->GetBackColor();
      break;
    case UiPropDialog:
      if (p->callback) p->callback(list_->owner);
      break;
  }
  RepaintCanvas();
}

int CVelkUIPropertyGrid::PropertyIndexOf(HWND window) const {
  if (!list_ || !window) return -1;
  for (int i = 0; i < list_->count; ++i) {
    CKestControl* control = list_->properties[i]->control;
    if (control && control->GetHandle() == window) return i;
  }
  return -1;
}

bool CVelkUIPropertyGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!list_) return false;
  switch (message) {
    case WM_COMMAND: {
      HWND sender = reinterpret_cast<HWND>(lParam);
      int id = LOWORD(wParam);
      int code = HIWORD(wParam);
      int index = -1;
      if (id == kUiGridEditId && code == EN_KILLFOCUS) {
        index = PropertyIndexOf(sender);
        auto* edit = index >= 0 ? static_cast<CKestCustomEdit*>(list_->properties[index]->control) : nullptr;
        if (!edit || !edit->IsModified()) return index >= 0;
      } else if (id == kUiGridComboId && (code == CBN_SELENDOK || code == CBN_EDITCHANGE)) {
        index = PropertyIndexOf(sender);
      } else if (id == kUiGridStyleGroupId) {
        index = PropertyIndexOf(sender ? GetParent(sender) : nullptr);
      } else if (id == kUiGridDialogButtonId && code == BN_CLICKED) {
        index = PropertyIndexOf(sender);
      }
      if (index < 0) return false;
      ApplyProperty(index);
      return true;
    }
    case WM_KEST_KEYDOWN: {
      if (wParam != VK_RETURN) return false;
      HWND window = reinterpret_cast<HWND>(lParam);
      int index = PropertyIndexOf(window);
      if (index < 0 || GetWindowLongPtrW(window, GWLP_ID) != kUiGridEditId) return false;
      ApplyProperty(index);
      CKestControl* control = list_->properties[index]->control;
      if (control) control->SetFocus();
      return true;
    }
    case WM_KEST_LBUTTONUP: {
      HWND window = reinterpret_cast<HWND>(wParam);
      int index = PropertyIndexOf(window);
      if (index < 0 || list_->properties[index]->type != UiPropColor) return false;
      CKestControl* swatch = list_->properties[index]->control;
      COLORREF chosen = ShowColorDialog(container_, swatch->GetBackColor());
      if (chosen == KestColorCancelled) return true;
      swatch->SetBackColor(chosen);
      swatch->Invalidate(true);
      ApplyProperty(index);
      return true;
    }
    default:
      return false;
  }
}
