// The tree view widget of the Kest framework over the common control
// "SysTreeView32". It starts with the background COLOR_WINDOW and shares
// CKestImageList objects by reference count. Its notifications (selection
// changes, clicks, label edits) reach the owning form as WM_NOTIFY; forms
// recognise them by the sending window (no window ids).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "kestui/core/kest_control.h"
#include "kestui/graphics/kest_imagelist.h"

// A tree view. A right click on it comes back as WM_RBUTTONUP at the cursor,
// so it reports WM_KEST_RBUTTONUP and opens the widget's popup menu like a
// right click anywhere else.
class CKestTreeView : public CKestControl {
public:
  // style: TVS_ bits and WS_VISIBLE.
  CKestTreeView(CKestControl* parent, uint32_t position, int width, int height, DWORD style);
  ~CKestTreeView() override;

  HBRUSH SetBackColor(COLORREF color) override;
  void SetTextColor(COLORREF color) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // selectedImage -1: the same as image. A null parent is the root.
  HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text, int image,
                       int selectedImage, LPARAM data);
  // As the last child of parent.
  HTREEITEM AddItem(HTREEITEM parent, const wchar_t* text, int image, int selectedImage,
                    LPARAM data);
  LPARAM GetItemData(HTREEITEM item) const;
  int GetItemImage(HTREEITEM item) const;
  int GetItemSelectedImage(HTREEITEM item) const;
  HTREEITEM GetSelectedItem() const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  // Normal images; the view holds a reference to the list it shows.
  void SetImageList(CKestImageList* list);
  CKestImageList* GetImageList() const { return images_; }

private:
  CKestImageList* images_ = nullptr;
};
