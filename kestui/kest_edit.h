// Text-entry widgets of the Kest framework over the system "EDIT" class:
// single-line edits, memos and numeric spin edits.
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

#include <cstdint>

#include "kestui/kest_container.h"
#include "kestui/kest_control.h"

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

class CKestEdit : public CKestCustomEdit {
public:
  // textLimit 0: the system maximum.
  CKestEdit(CKestControl* container, int id, uint32_t position, int width, int height,
            bool readOnly, int textLimit, bool clientEdge);

  // Focusing selects the whole text; Enter is dropped.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CKestCustomMemo : public CKestCustomEdit {
public:
  // WM_GETDLGCODE by the two flags; Enter dropped when not accepted.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Zero-based line of the caret (selection start) and its column in it.
  int GetCaretLine() const;
  int GetCaretColumn() const;

  bool AcceptsEnter() const { return enterAccepted_; }
  bool WantsTab() const { return wantTab_; }

protected:
  bool enterAccepted_ = false;
  bool wantTab_ = false;
};

class CKestMemo : public CKestCustomMemo {
public:
  // alignment 0 centred, 1 right, anything else left. Without word wrap the
  // memo scrolls horizontally. enterAccepted: Enter starts a new line;
  // otherwise it presses the form's default button. wantTab: Tab inserts a
  // tab instead of moving the focus.
  CKestMemo(CKestContainer* container, int id, uint32_t position, int width, int height,
            int textLimit, bool wordWrap, bool readOnly, bool enterAccepted, int8_t alignment,
            bool wantTab, bool clientEdge);
};

// The arrow control inside a spin edit.
class CKestUpDown : public CKestControl {
public:
  // "msctls_updown32" with wrapping, arrow keys and right alignment. parent
  // is the window it lives in (the spin edit).
  CKestUpDown(CKestControl* parent, int id, uint32_t position, int width, int height);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CKestSpinEdit : public CKestCustomEdit {
public:
  // Integer or real; minimum and maximum both 0 mean no limits. The value
  // starts at the minimum. Its own notifications stay inside until it is
  // first painted.
  CKestSpinEdit(CKestContainer* container, int id, bool integer, double minimum, double maximum,
                double step, uint32_t position, int width, int height);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Clamps and shows the value ("%g" form); clears the modified flag.
  void SetValue(double value);
  // Parses typed text first (unparsable: the minimum), then clamps.
  double GetValue();
  // Clamps and shows the value as an integer; clears the modified flag.
  void SetIntValue(int value);
  // Parses typed text first (leading sign and digits; nothing: 0), then
  // clamps; truncated toward zero.
  int GetIntValue();
  void ClampValue();
  // Keeps width for the arrows and lays the text and the arrows out.
  void PlaceUpDown(int upDownWidth);

  bool IsInteger() const { return integer_; }
  double GetMinimum() const { return minimum_; }
  double GetMaximum() const { return maximum_; }
  double GetStep() const { return step_; }
  void SetRange(double minimum, double maximum);
  void SetStep(double step) { step_ = step; }
  CKestUpDown* GetUpDown() const { return upDown_; }
  bool IsInitialising() const { return initialising_; }

private:
  // Up to 64 characters of the text.
  void ReadText(wchar_t* buffer, int capacity) const;
  void ShowText(const wchar_t* text);
  void SetTextRect(int upDownWidth);

  bool integer_ = false;
  double value_ = 0;
  double minimum_ = 0;
  double maximum_ = 0;
  double step_ = 1;
  int upDownWidth_ = 15;
  CKestUpDown* upDown_ = nullptr;
  bool initialising_ = true;
};

// Leading blanks, an optional sign and decimal digits; 0 when none follow.
// Values beyond the int range stop at its ends.
int ParseLeadingInt(const wchar_t* text);
