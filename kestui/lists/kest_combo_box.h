// The combo box widget of the Kest framework over the system "COMBOBOX"
// class. It keeps a solid brush of its background colour (COLOR_WINDOW at
// first), answers the framework's Edit-menu queries and otherwise leaves the
// work to the system control. Item data are 32-bit values kept with the
// items. Texts handed out by CopyItemText and GetText are new blocks the
// caller frees with FreeBuffer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

// A drop-down list (not editable) or an editable drop-down. The system
// notifications (CBN_SELCHANGE, CBN_EDITCHANGE, ...) reach the owning form as
// WM_COMMAND; clicks produce no framework mouse reports. Key downs in the
// inner edit of an editable combo are also posted to the combo box as
// WM_KEST_KEYDOWN (virtual key, key data).
class CKestComboBox : public CKestControl {
public:
  // The closed box is placed with the given height; the window is then made
  // 100 pixels high (the height with the opened list). textLimit 0: no limit.
  CKestComboBox(CKestControl* parent, int id, bool editable, uint32_t position, int width,
                int height, int textLimit);
  ~CKestComboBox() override;

  HBRUSH SetBackColor(COLORREF color) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The new item's index (negative when the add failed); data other than 0
  // is stored with it.
  int AddItem(const wchar_t* text, LPARAM data);
  int GetCount() const;
  int GetSelectedIndex() const;  // -1 for none
  void SetSelectedIndex(int index);
  LPARAM GetItemData(int index) const;
  // buffer must hold GetItemTextLength + 1 characters.
  int GetItemText(int index, wchar_t* buffer) const;
  int GetItemTextLength(int index) const;
  wchar_t* CopyItemText(int index) const;  // null for an empty or missing item
  int FindString(int start, const wchar_t* text) const;
  wchar_t* GetText() const;  // the box's text; null when empty
  void SetText(const wchar_t* text);
  bool IsEditable() const;
  int GetEditSelStart() const;
  int GetEditSelEnd() const;
  // Edit-menu answers: paste needs an editable box and text on the
  // clipboard; cut and copy in an editable box need a selection; a
  // drop-down list can always copy its text.
  bool CanPaste() const;
  bool CanCut() const;
  bool CanCopy() const;

  // The subclassed inner edit of an editable combo, else null.
  HWND GetInnerEdit() const { return innerEdit_; }

private:
  HBRUSH brush_ = nullptr;
  HWND innerEdit_ = nullptr;
};

