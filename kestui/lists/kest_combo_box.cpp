#include "kestui/lists/kest_combo_box.h"

#include <richedit.h>

#include "foundation/buffers.h"
#include "kestui/core/kest_widget_helpers.h"

namespace {

// Window procedure of an editable combo's inner edit: key downs are also
// posted to the combo box; the edit's own procedure, kept in its user data,
// does the rest.
LRESULT CALLBACK InnerEditKeyForwarder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_KEYDOWN) PostMessageW(GetParent(window), WM_KEST_KEYDOWN, wParam, lParam);
  if (!previous) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Put the edit's own procedure back before it goes.
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace

CKestComboBox::CKestComboBox(CKestControl* parent, int id, bool editable, uint32_t position,
                             int width, int height, int textLimit) {
  backColor_ = GetSysColor(COLOR_WINDOW);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL |
                CBS_HASSTRINGS | (editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
  if (!CreateControlWindow(WS_EX_CLIENTEDGE, L"COMBOBOX", L"", style, position, width, height,
                           parent, nullptr, nullptr)) {
    return;
  }
  SetWindowLongPtrW(window_, GWLP_ID, id);
  if (textLimit != 0) SendMessageW(window_, CB_LIMITTEXT, static_cast<WPARAM>(textLimit), 0);
  HWND child = GetWindow(window_, GW_CHILD);
  wchar_t className[16] = {};
  if (child && GetClassNameW(child, className, 16) && lstrcmpiW(className, L"Edit") == 0) {
    SetWindowLongPtrW(child, GWLP_USERDATA, GetWindowLongPtrW(child, GWLP_WNDPROC));
    SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InnerEditKeyForwarder));
    innerEdit_ = child;
  }
  SetWindowPos(window_, nullptr, 0, 0, width, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CKestComboBox::~CKestComboBox() {
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

HBRUSH CKestComboBox::SetBackColor(COLORREF color) {
  CKestControl::SetBackColor(color);
  brush_ = ReplaceBrush(brush_, color);
  return brush_;
}

LRESULT CKestComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return CallDefault(message, wParam, lParam);
    case WM_GETDLGCODE:
      return CKestControl::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_KEST_CTLCOLOR: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, textColor_);
      ::SetBkColor(dc, backColor_);
      return reinterpret_cast<LRESULT>(brush_);
    }
    case EM_CANPASTE:
      return CanPaste() ? 1 : 0;
    case WM_KEST_CANCOPY:
      return CanCopy() ? 1 : 0;
    case WM_KEST_CANCUT:
    case WM_KEST_CANDELETE:
      return CanCut() ? 1 : 0;
    case WM_KEST_COMMAND:
      if (HIWORD(wParam) == CBN_SELENDOK) {
        // The chosen item's text is in the box before the form hears of it.
        wchar_t* text = CopyItemText(GetSelectedIndex());
        SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L""));
        FreeBuffer(text);
      }
      return 0;
    default:
      return CKestControl::WindowProc(message, wParam, lParam);
  }
}

int CKestComboBox::AddItem(const wchar_t* text, LPARAM data) {
  if (!window_) return CB_ERR;
  auto index = static_cast<int>(
      SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : L"")));
  if (index >= 0 && data != 0) {
    SendMessageW(window_, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
  }
  return index;
}

int CKestComboBox::GetCount() const {
  return window_ ? static_cast<int>(SendMessageW(window_, CB_GETCOUNT, 0, 0)) : 0;
}

int CKestComboBox::GetSelectedIndex() const {
  return window_ ? static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0)) : -1;
}

void CKestComboBox::SetSelectedIndex(int index) {
  if (window_) SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

LPARAM CKestComboBox::GetItemData(int index) const {
  if (!window_) return 0;
  return SendMessageW(window_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

int CKestComboBox::GetItemText(int index, wchar_t* buffer) const {
  if (!window_ || !buffer) return CB_ERR;
  return static_cast<int>(
      SendMessageW(window_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

int CKestComboBox::GetItemTextLength(int index) const {
  if (!window_) return CB_ERR;
  return static_cast<int>(SendMessageW(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
}

wchar_t* CKestComboBox::CopyItemText(int index) const {
  return CopyText(window_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int CKestComboBox::FindString(int start, const wchar_t* text) const {
  if (!window_) return CB_ERR;
  return static_cast<int>(SendMessageW(window_, CB_FINDSTRING, static_cast<WPARAM>(start),
                                       reinterpret_cast<LPARAM>(text ? text : L"")));
}

wchar_t* CKestComboBox::GetText() const {
  if (!window_) return nullptr;
  LRESULT length = SendMessageW(window_, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return nullptr;
  wchar_t* text = AllocWideString(static_cast<size_t>(length));
  if (!text) return nullptr;
  LRESULT got = SendMessageW(window_, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                             reinterpret_cast<LPARAM>(text));
  text[got >= 0 && got <= length ? got : 0] = 0;
  return text;
}

void CKestComboBox::SetText(const wchar_t* text) {
  if (window_) SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L""));
}

bool CKestComboBox::IsEditable() const {
  if (!window_) return false;
  return (GetWindowLongW(window_, GWL_STYLE) & 0xF) == CBS_DROPDOWN;
}

int CKestComboBox::GetEditSelStart() const {
  DWORD start = 0;
  if (window_) SendMessageW(window_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int CKestComboBox::GetEditSelEnd() const {
  DWORD end = 0;
  if (window_) SendMessageW(window_, CB_GETEDITSEL, 0, reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end);
}

bool CKestComboBox::CanPaste() const {
  return IsEditable() && IsClipboardFormatAvailable(CF_TEXT);
}

bool CKestComboBox::CanCut() const {
  return IsEditable() && GetEditSelStart() < GetEditSelEnd();
}

bool CKestComboBox::CanCopy() const {
  if (!IsEditable()) return true;
  return GetEditSelStart() < GetEditSelEnd();
}

