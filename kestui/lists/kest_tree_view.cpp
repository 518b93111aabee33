#include "kestui/lists/kest_tree_view.h"

#include "kestui/core/kest_widget_helpers.h"

CKestTreeView::CKestTreeView(CKestControl* parent, uint32_t position, int width, int height,
                             DWORD style) {
  InitCommonControlClasses(ICC_TREEVIEW_CLASSES);
  backColor_ = GetSysColor(COLOR_WINDOW);
  CreateControlWindow(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style | WS_CHILD, position, width, height,
                      parent, nullptr, nullptr);
}

CKestTreeView::~CKestTreeView() {
  if (images_) images_->Release();
  images_ = nullptr;
}

HBRUSH CKestTreeView::SetBackColor(COLORREF color) {
  CKestControl::SetBackColor(color);
  if (window_) SendMessageW(window_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
  if (images_) images_->SetBackColor(color);
  return nullptr;
}

void CKestTreeView::SetTextColor(COLORREF color) {
  CKestControl::SetTextColor(color);
  if (window_) SendMessageW(window_, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color));
}

LRESULT CKestTreeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEST_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->code == static_cast<UINT>(NM_RCLICK)) {
        POINT at = {};
        GetCursorPos(&at);
        ScreenToClient(window_, &at);
        PostMessageW(window_, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      }
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      return CallDefault(message, wParam, lParam);
    default:
      return CKestControl::WindowProc(message, wParam, lParam);
  }
}

HTREEITEM CKestTreeView::InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text,
                                    int image, int selectedImage, LPARAM data) {
  if (!window_) return nullptr;
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t*>(text ? text : L"");
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage == -1 ? image : selectedImage;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(window_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM CKestTreeView::AddItem(HTREEITEM parent, const wchar_t* text, int image,
                                 int selectedImage, LPARAM data) {
  return InsertItem(parent, TVI_LAST, text, image, selectedImage, data);
}

LPARAM CKestTreeView::GetItemData(HTREEITEM item) const {
  if (!window_ || !item) return 0;
  TVITEMW info = {};
  info.mask = TVIF_PARAM;
  info.hItem = item;
  if (!SendMessageW(window_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) return 0;
  return info.lParam;
}

int CKestTreeView::GetItemImage(HTREEITEM item) const {
  if (!window_ || !item) return -1;
  TVITEMW info = {};
  info.mask = TVIF_IMAGE;
  info.hItem = item;
  if (!SendMessageW(window_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) return -1;
  return info.iImage;
}

int CKestTreeView::GetItemSelectedImage(HTREEITEM item) const {
  if (!window_ || !item) return -1;
  TVITEMW info = {};
  info.mask = TVIF_SELECTEDIMAGE;
  info.hItem = item;
  if (!SendMessageW(window_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) return -1;
  return info.iSelectedImage;
}

HTREEITEM CKestTreeView::GetSelectedItem() const {
  if (!window_) return nullptr;
  return reinterpret_cast<HTREEITEM>(SendMessageW(window_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

HTREEITEM CKestTreeView::GetParentItem(HTREEITEM item) const {
  if (!window_ || !item) return nullptr;
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(window_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

void CKestTreeView::SetImageList(CKestImageList* list) {
  if (window_) {
    SendMessageW(window_, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(list ? list->GetHandle() : nullptr));
  }
  ReplaceImageList(&images_, list);
}
