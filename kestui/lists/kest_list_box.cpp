#include "kestui/lists/kest_list_box.h"

#include "foundation/buffers.h"
#include "kestui/core/kest_widget_helpers.h"
#include "kestui/graphics/kest_draw.h"

CKestListBox::CKestListBox(CKestControl* parent, int id, uint32_t position, int width, int height,
                           int columnWidth, bool multipleSelection) {
  backColor_ = GetSysColor(COLOR_WINDOW);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_WANTKEYBOARDINPUT;
  if (multipleSelection) style |= LBS_MULTIPLESEL;
  if (columnWidth > 1) style |= LBS_MULTICOLUMN;
  if (!CreateControlWindow(WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, position, width, height, parent,
                           nullptr, nullptr)) {
    return;
  }
  SetWindowLongPtrW(window_, GWLP_ID, id);
  if (columnWidth > 1) SendMessageW(window_, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(columnWidth), 0);
}

CKestListBox::~CKestListBox() {
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

HBRUSH CKestListBox::SetBackColor(COLORREF color) {
  CKestControl::SetBackColor(color);
  brush_ = ReplaceBrush(brush_, color);
  return brush_;
}

LRESULT CKestListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPY: {
      int index = GetCopyIndex();
      if (index < 0) return 0;
      wchar_t* text = CopyItemText(index);
      if (OpenClipboard(window_)) {
        EmptyClipboard();
        SetClipboardText(text);
        CloseClipboard();
      }
      FreeBuffer(text);
      return 0;
    }
    case WM_KEST_CTLCOLOR: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, textColor_);
      ::SetBkColor(dc, backColor_);
      return reinterpret_cast<LRESULT>(brush_);
    }
    case WM_KEST_CANCOPY:
      return GetCopyIndex() >= 0 ? 1 : 0;
    case WM_KEST_CANSELECTALL:
      return IsMultiSelect() ? 1 : 0;
    case WM_KEST_SELECTALL:
      SelectAll();
      return 0;
    default:
      return CKestControl::WindowProc(message, wParam, lParam);
  }
}

int CKestListBox::AddItem(const wchar_t* text, LPARAM data) {
  if (!window_) return LB_ERR;
  auto index = static_cast<int>(
      SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : L"")));
  if (index >= 0 && data != 0) {
    SendMessageW(window_, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
  }
  return index;
}

int CKestListBox::GetCount() const {
  return window_ ? static_cast<int>(SendMessageW(window_, LB_GETCOUNT, 0, 0)) : 0;
}

int CKestListBox::GetSelectedIndex() const {
  return window_ ? static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0)) : -1;
}

void CKestListBox::SetSelectedIndex(int index) {
  if (window_) SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CKestListBox::SetItemData(int index, LPARAM data) {
  if (window_) {
    SendMessageW(window_, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
  }
}

LPARAM CKestListBox::GetItemData(int index) const {
  if (!window_) return 0;
  return SendMessageW(window_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

int CKestListBox::GetItemText(int index, wchar_t* buffer) const {
  if (!window_ || !buffer) return LB_ERR;
  return static_cast<int>(
      SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

int CKestListBox::GetItemTextLength(int index) const {
  if (!window_) return LB_ERR;
  return static_cast<int>(SendMessageW(window_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
}

wchar_t* CKestListBox::CopyItemText(int index) const {
  return CopyText(window_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

bool CKestListBox::IsMultiSelect() const {
  return window_ && (GetWindowLongW(window_, GWL_STYLE) & LBS_MULTIPLESEL) != 0;
}

void CKestListBox::SetItemSelected(int index, bool selected) {
  if (window_) SendMessageW(window_, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
}

bool CKestListBox::IsItemSelected(int index) const {
  return window_ && SendMessageW(window_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

int CKestListBox::GetCopyIndex() const {
  if (!window_) return -1;
  // In a multiple-selection list LB_GETCURSEL is the focused item, selected
  // or not.
  if (!IsMultiSelect()) return GetSelectedIndex();
  int focused = static_cast<int>(SendMessageW(window_, LB_GETCARETINDEX, 0, 0));
  if (focused >= 0 && IsItemSelected(focused)) return focused;
  int first = -1;
  if (SendMessageW(window_, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1) return first;
  return -1;
}

void CKestListBox::SelectAll() {
  if (!IsMultiSelect()) return;
  int count = GetCount();
  for (int i = 0; i < count; ++i) SetItemSelected(i, true);
}
