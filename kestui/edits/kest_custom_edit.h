// The common base of the Kest framework's text-entry widgets over the system
// "EDIT" class: single-line edits, memos and numeric spin edits.
//
// Every WM_CHAR that reaches an edit is first offered to the owning form as
// WM_KEST_CHAR (character, edit window); a non-zero answer keeps the
// character out of the edit. Enter in a single-line edit, and in a memo that
// does not accept it, is never offered: the message loop hands it to the
// form's default button instead. Edit notifications (EN_CHANGE, ...) reach
// the form as WM_COMMAND. The Edit-menu queries (WM_KEST_CANCOPY, ...) and
// EM_CANPASTE / EM_CANREDO are answered.
//
// Selections and caret positions are full 32-bit character indices: memos
// may hold far more than 65,535 characters.
#pragma once

#include <windows.h>

#include "kestui/core/kest_control.h"

class CKestCustomEdit : public CKestControl {
public:
  CKestCustomEdit();
  ~CKestCustomEdit() override;

  // Stores the colour and replaces the brush; answers the new brush.
  HBRUSH SetBackColor(COLORREF color) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool IsReadOnly() const;
  void SetModified(bool modified);
  bool IsModified() const;
  // Replaces the selection, undoable.
  void ReplaceSelection(const wchar_t* text);
  int GetSelStart() const;
  int GetSelEnd() const;
  // Selects and scrolls the caret into view; end -1 selects to the end.
  void SetSelection(int start, int end);
  void SelectAll();
  bool HasSelection() const;
  bool CanCut() const;
  bool CanPaste() const;
  bool CanUndo() const;
  void Undo();
  void Cut();
  void Copy();
  void Paste();
  void ClearText();
  // WM_GETTEXT into buffer (capacity in characters, terminator included);
  // answers the characters copied.
  int CopyText(wchar_t* buffer, int capacity) const;
  int GetTextLength() const;
  // The text in a new block (FreeBuffer); null when empty.
  wchar_t* GetText() const;

protected:
  HBRUSH brush_ = nullptr;
};

