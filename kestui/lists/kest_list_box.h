// The list box widget of the Kest framework over the system "LISTBOX" class.
// It keeps a solid brush of its background colour (COLOR_WINDOW at first),
// answers the framework's Edit-menu queries and otherwise leaves the work to
// the system control. Item data are 32-bit values kept with the items. Texts
// handed out by CopyItemText are new blocks the caller frees with
// FreeBuffer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

// A plain or multi-column list, single or multiple selection. It sends no
// notifications of its own (no LBS_NOTIFY): forms learn of clicks from the
// base Click (WM_COMMAND id, window) and the mouse reports, and of double
// clicks from the NM_DBLCLK WM_NOTIFY of the base window procedure. WM_COPY
// puts the selected item's text on the clipboard.
class CKestListBox : public CKestControl {
public:
  // columnWidth above 1 makes a multi-column list with that column width.
  CKestListBox(CKestControl* parent, int id, uint32_t position, int width, int height,
               int columnWidth, bool multipleSelection);
  ~CKestListBox() override;

  HBRUSH SetBackColor(COLORREF color) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int AddItem(const wchar_t* text, LPARAM data);
  int GetCount() const;
  int GetSelectedIndex() const;  // LB_GETCURSEL; -1 for none
  void SetSelectedIndex(int index);
  void SetItemData(int index, LPARAM data);
  LPARAM GetItemData(int index) const;
  int GetItemText(int index, wchar_t* buffer) const;
  int GetItemTextLength(int index) const;
  wchar_t* CopyItemText(int index) const;
  bool IsMultiSelect() const;
  void SetItemSelected(int index, bool selected);
  bool IsItemSelected(int index) const;
  // Multiple selection only: selects every item.
  void SelectAll();
  // The item Copy takes: the selected item; in a multiple-selection list the
  // focused item when it is selected, else the first selected one. -1 when
  // no item is selected (a focused item alone is not enough).
  int GetCopyIndex() const;

private:
  HBRUSH brush_ = nullptr;
};
