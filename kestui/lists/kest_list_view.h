// The list view widget of the Kest framework over the common control
// "SysListView32". It starts with the background COLOR_WINDOW and shares
// CKestImageList objects by reference count. Its notifications (selection
// changes, clicks, column clicks, label edits) reach the owning form as
// WM_NOTIFY; forms recognise them by the sending window (no window ids).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "kestui/core/kest_control.h"
#include "kestui/graphics/kest_imagelist.h"

// A list view. When an in-place label edit ends with a new text, the item's
// text is set and the owning form receives WM_KEST_LABELEDIT (list view
// window, LVITEMW* with LVIF_TEXT and the new text; both valid only during
// the call) before the LVN_ENDLABELEDITW notification itself. An edit
// cancelled with Esc changes nothing and is not reported that way.
class CKestListView : public CKestControl {
public:
  // style: the view (LVS_REPORT, ...), WS_VISIBLE and any other LVS_ bits;
  // exStyle: LVS_EX_ bits (LVS_EX_CHECKBOXES, LVS_EX_FULLROWSELECT, ...).
  CKestListView(CKestControl* parent, uint32_t position, int width, int height, DWORD style,
                DWORD exStyle);
  ~CKestListView() override;

  HBRUSH SetBackColor(COLORREF color) override;
  void SetTextColor(COLORREF color) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // alignment: below 0 left, 0 centred, above 0 right. AddColumn inserts at
  // GetColumnCount, which counts every insert made through the wrapper and
  // is never lowered by DeleteColumn.
  int AddColumn(const wchar_t* caption, int width, int8_t alignment);
  int InsertColumn(int index, const wchar_t* caption, int width, int8_t alignment);
  void DeleteColumn(int index);
  int GetColumnCount() const { return columnCount_; }

  // AddItem inserts at GetItemCount and answers that index (also when a
  // sorted control puts the item elsewhere).
  int AddItem(const wchar_t* text, int image, LPARAM data);
  int InsertItem(int index, const wchar_t* text, int image, LPARAM data);
  void DeleteItem(int index);
  void DeleteAllItems();
  int GetItemCount() const;
  // The text of item / sub-item column into buffer (capacity characters,
  // always terminated); answers buffer.
  wchar_t* GetItemText(int index, int column, wchar_t* buffer, int capacity) const;
  void SetItemText(int index, int column, const wchar_t* text);
  LPARAM GetItemData(int index) const;
  void SetItemData(int index, LPARAM data);
  int GetItemImage(int index) const;
  void SetItemImage(int index, int image);
  int GetSelectedIndex() const;  // the first selected item, -1 for none
  void SelectItem(int index, bool selected);
  // Selects and focuses the item and scrolls it into view.
  void FocusItem(int index);
  // Check boxes (LVS_EX_CHECKBOXES): state image 2 checked, 1 unchecked. An
  // item without a state image counts as checked.
  void SetItemChecked(int index, bool checked);
  bool IsItemChecked(int index) const;
  HWND GetEditControl() const;
  // LVM_SCROLL: pixels, except vertically in report view (rounded to rows
  // by the control) and horizontally in list view (columns).
  void Scroll(int dx, int dy);
  void SuspendRedraw();
  void ResumeRedraw();
  // Small images. The view holds a reference to the list it shows.
  void SetImageList(CKestImageList* list);
  CKestImageList* GetImageList() const { return images_; }

private:
  LRESULT HandleScroll(int bar, int code);
  LRESULT EndLabelEdit(const NMLVDISPINFOW* info);

  int columnCount_ = 0;
  CKestImageList* images_ = nullptr;
};

