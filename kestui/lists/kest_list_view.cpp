#include "kestui/lists/kest_list_view.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/core/kest_widget_helpers.h"

namespace {

int ColumnFormat(int8_t alignment) {
  if (alignment < 0) return LVCFMT_LEFT;
  if (alignment == 0) return LVCFMT_CENTER;
  return LVCFMT_RIGHT;
}

}  // namespace

CKestListView::CKestListView(CKestControl* parent, uint32_t position, int width, int height,
                             DWORD style, DWORD exStyle) {
  InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
  backColor_ = GetSysColor(COLOR_WINDOW);
  if (!CreateControlWindow(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                           style | WS_CHILD | WS_CLIPCHILDREN | LVS_SHAREIMAGELISTS, position, width,
                           height, parent, nullptr, nullptr)) {
    return;
  }
  SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(exStyle));
}

CKestListView::~CKestListView() {
  if (images_) images_->Release();
  images_ = nullptr;
}

HBRUSH CKestListView::SetBackColor(COLORREF color) {
  CKestControl::SetBackColor(color);
  if (window_) {
    SendMessageW(window_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
    SendMessageW(window_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
  }
  if (images_) images_->SetBackColor(color);
  return nullptr;
}

void CKestListView::SetTextColor(COLORREF color) {
  CKestControl::SetTextColor(color);
  if (window_) SendMessageW(window_, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color));
}

LRESULT CKestListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->code == static_cast<UINT>(HDN_ENDTRACKW)) {
        InvalidateRect(window_, nullptr, TRUE);
      }
      return CKestControl::WindowProc(message, wParam, lParam);
    }
    case WM_VSCROLL:
      return HandleScroll(SB_VERT, LOWORD(wParam));
    case WM_HSCROLL:
      return HandleScroll(SB_HORZ, LOWORD(wParam));
    case WM_KEST_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->code == static_cast<UINT>(LVN_ENDLABELEDITW)) {
        return EndLabelEdit(reinterpret_cast<const NMLVDISPINFOW*>(lParam));
      }
      return 0;
    }
    default:
      return CKestControl::WindowProc(message, wParam, lParam);
  }
}

// The view's own scrolling. The scroll bars count rows vertically in report
// view, columns horizontally in list view and pixels otherwise; LVM_SCROLL
// takes pixels except in list view, so rows are turned into pixels by the
// row height.
LRESULT CKestListView::HandleScroll(int bar, int code) {
  int current = GetScrollPos(window_, bar);
  int low = 0, high = 0;
  GetScrollRange(window_, bar, &low, &high);
  auto clamp = [&](int value) { return value < low ? low : (value > high ? high : value); };
  int target = current;
  switch (code) {
    case SB_LINEUP: target = clamp(current - 1); break;
    case SB_LINEDOWN: target = clamp(current + 1); break;
    case SB_PAGEUP: target = clamp(current - 10); break;
    case SB_PAGEDOWN: target = clamp(current + 10); break;
    case SB_TOP: target = low; break;
    case SB_BOTTOM: target = high; break;
    case SB_THUMBTRACK: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(window_, bar, &info)) target = info.nTrackPos;
      break;
    }
    default: break;
  }
  int delta = target - current;
  if (delta == 0) return 0;
  DWORD view = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)) & LVS_TYPEMASK;
  if (bar == SB_VERT) {
    if (view == LVS_REPORT) {
      int top = static_cast<int>(SendMessageW(window_, LVM_GETTOPINDEX, 0, 0));
      RECT row = {};
      row.left = LVIR_BOUNDS;
      if (!SendMessageW(window_, LVM_GETITEMRECT, static_cast<WPARAM>(top < 0 ? 0 : top),
                        reinterpret_cast<LPARAM>(&row))) {
        return 0;
      }
      Scroll(0, delta * (row.bottom - row.top));
    } else {
      Scroll(0, delta);
    }
  } else {
    Scroll(delta, 0);
  }
  return 0;
}

LRESULT CKestListView::EndLabelEdit(const NMLVDISPINFOW* info) {
  // A null text: the edit was cancelled (Esc) and the item keeps its text.
  if (!info->item.pszText) return 0;
  size_t length = wcslen(info->item.pszText);
  wchar_t* text = AllocWideString(length);
  if (!text) return 0;
  wmemcpy(text, info->item.pszText, length + 1);
  SetItemText(info->item.iItem, 0, length ? text : nullptr);
  LVITEMW copy = info->item;
  copy.mask = LVIF_TEXT;
  copy.pszText = text;
  HWND window = window_;
  SendMessageW(GetOwnerFormWindow(window), WM_KEST_LABELEDIT, reinterpret_cast<WPARAM>(window),
               reinterpret_cast<LPARAM>(&copy));
  FreeBuffer(text);
  return 0;
}

int CKestListView::AddColumn(const wchar_t* caption, int width, int8_t alignment) {
  return InsertColumn(columnCount_, caption, width, alignment);
}

int CKestListView::InsertColumn(int index, const wchar_t* caption, int width, int8_t alignment) {
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = ColumnFormat(alignment);
  column.cx = width;
  column.pszText = const_cast<wchar_t*>(caption ? caption : L"");
  if (window_) {
    SendMessageW(window_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
  }
  ++columnCount_;
  return index;
}

void CKestListView::DeleteColumn(int index) {
  if (window_) SendMessageW(window_, LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0);
}

int CKestListView::AddItem(const wchar_t* text, int image, LPARAM data) {
  return InsertItem(GetItemCount(), text, image, data);
}

int CKestListView::InsertItem(int index, const wchar_t* text, int image, LPARAM data) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(text ? text : L"");
  item.iImage = image;
  item.lParam = data;
  if (window_) SendMessageW(window_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return index;
}

void CKestListView::DeleteItem(int index) {
  if (window_) SendMessageW(window_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void CKestListView::DeleteAllItems() {
  if (window_) SendMessageW(window_, LVM_DELETEALLITEMS, 0, 0);
}

int CKestListView::GetItemCount() const {
  return window_ ? static_cast<int>(SendMessageW(window_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

wchar_t* CKestListView::GetItemText(int index, int column, wchar_t* buffer, int capacity) const {
  if (!buffer || capacity <= 0) return buffer;
  buffer[0] = 0;
  if (!window_) return buffer;
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = capacity;
  if (SendMessageW(window_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
    // The control may answer with its own text instead of filling buffer.
    if (item.pszText && item.pszText != buffer) {
      wcsncpy(buffer, item.pszText, static_cast<size_t>(capacity));
    }
  }
  buffer[capacity - 1] = 0;
  return buffer;
}

void CKestListView::SetItemText(int index, int column, const wchar_t* text) {
  if (!window_) return;
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text);
  SendMessageW(window_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM CKestListView::GetItemData(int index) const {
  if (!window_) return 0;
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageW(window_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return item.lParam;
}

void CKestListView::SetItemData(int index, LPARAM data) {
  if (!window_) return;
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = data;
  SendMessageW(window_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int CKestListView::GetItemImage(int index) const {
  if (!window_) return -1;
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  if (!SendMessageW(window_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

void CKestListView::SetItemImage(int index, int image) {
  if (!window_) return;
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = image;
  SendMessageW(window_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int CKestListView::GetSelectedIndex() const {
  if (!window_) return -1;
  return static_cast<int>(
      SendMessageW(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void CKestListView::SelectItem(int index, bool selected) {
  if (!window_) return;
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CKestListView::FocusItem(int index) {
  if (!window_) return;
  ListView_SetItemState(window_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(window_, index, FALSE);
}

void CKestListView::SetItemChecked(int index, bool checked) {
  if (!window_) return;
  LVITEMW item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = checked ? 0x2000 : 0x1000;
  SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool CKestListView::IsItemChecked(int index) const {
  if (!window_) return true;
  LRESULT state = SendMessageW(window_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
  return state != 0x1000;
}

HWND CKestListView::GetEditControl() const {
  return window_ ? reinterpret_cast<HWND>(SendMessageW(window_, LVM_GETEDITCONTROL, 0, 0)) : nullptr;
}

void CKestListView::Scroll(int dx, int dy) {
  if (window_) SendMessageW(window_, LVM_SCROLL, static_cast<WPARAM>(dx), static_cast<LPARAM>(dy));
}

void CKestListView::SuspendRedraw() {
  if (window_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

void CKestListView::ResumeRedraw() {
  if (window_) SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
}

void CKestListView::SetImageList(CKestImageList* list) {
  if (window_) {
    SendMessageW(window_, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(list ? list->GetHandle() : nullptr));
  }
  ReplaceImageList(&images_, list);
}

