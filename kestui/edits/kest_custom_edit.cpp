#include "kestui/edits/kest_custom_edit.h"

#include <richedit.h>

#include "foundation/buffers.h"

CKestCustomEdit::CKestCustomEdit() { backColor_ = GetSysColor(COLOR_WINDOW); }

CKestCustomEdit::~CKestCustomEdit() {
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

HBRUSH CKestCustomEdit::SetBackColor(COLORREF color) {
  backColor_ = color;
  if (brush_) DeleteObject(brush_);
  brush_ = CreateSolidBrush(color == KEST_TRANSPARENT ? GetSysColor(COLOR_WINDOW) : color);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return brush_;
}

bool CKestCustomEdit::IsReadOnly() const {
  return window_ && (GetWindowLongW(window_, GWL_STYLE) & ES_READONLY) != 0;
}

void CKestCustomEdit::SetModified(bool modified) {
  if (window_) SendMessageW(window_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

bool CKestCustomEdit::IsModified() const {
  return window_ && SendMessageW(window_, EM_GETMODIFY, 0, 0) != 0;
}

void CKestCustomEdit::ReplaceSelection(const wchar_t* text) {
  if (window_) SendMessageW(window_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text ? text : L""));
}

int CKestCustomEdit::GetSelStart() const {
  DWORD start = 0, end = 0;
  if (window_) {
    SendMessageW(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  }
  return static_cast<int>(start);
}

int CKestCustomEdit::GetSelEnd() const {
  DWORD start = 0, end = 0;
  if (window_) {
    SendMessageW(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  }
  return static_cast<int>(end);
}

void CKestCustomEdit::SetSelection(int start, int end) {
  if (!window_) return;
  SendMessageW(window_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  SendMessageW(window_, EM_SCROLLCARET, 0, 0);
}

void CKestCustomEdit::SelectAll() { SetSelection(0, -1); }

bool CKestCustomEdit::HasSelection() const {
  if (!window_) return false;
  DWORD start = 0, end = 0;
  SendMessageW(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start != end;
}

bool CKestCustomEdit::CanCut() const { return !IsReadOnly() && HasSelection(); }

bool CKestCustomEdit::CanPaste() const {
  if (!window_ || IsReadOnly()) return false;
  return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
}

bool CKestCustomEdit::CanUndo() const {
  return window_ && SendMessageW(window_, EM_CANUNDO, 0, 0) != 0;
}

void CKestCustomEdit::Undo() {
  if (window_) SendMessageW(window_, EM_UNDO, 0, 0);
}

void CKestCustomEdit::Cut() {
  if (window_) SendMessageW(window_, WM_CUT, 0, 0);
}

void CKestCustomEdit::Copy() {
  if (window_) SendMessageW(window_, WM_COPY, 0, 0);
}

void CKestCustomEdit::Paste() {
  if (window_) SendMessageW(window_, WM_PASTE, 0, 0);
}

void CKestCustomEdit::ClearText() {
  if (window_) SendMessageW(window_, WM_SETTEXT, 0, 0);
}

int CKestCustomEdit::CopyText(wchar_t* buffer, int capacity) const {
  if (!buffer || capacity <= 0) return 0;
  buffer[0] = 0;
  if (!window_) return 0;
  return static_cast<int>(
      SendMessageW(window_, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(buffer)));
}

int CKestCustomEdit::GetTextLength() const {
  return window_ ? static_cast<int>(SendMessageW(window_, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

wchar_t* CKestCustomEdit::GetText() const {
  int length = GetTextLength();
  if (length <= 0) return nullptr;
  wchar_t* text = AllocWideString(static_cast<size_t>(length));
  if (!text) return nullptr;
  text[0] = 0;
  SendMessageW(window_, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text));
  if (!text[0]) {
    FreeBuffer(text);
    return nullptr;
  }
  return text;
}

LRESULT CKestCustomEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR: {
      HWND window = window_;
      HWND owner = GetOwnerFormWindow(window);
      if (owner && SendMessageW(owner, WM_KEST_CHAR, wParam, reinterpret_cast<LPARAM>(window))) {
        return 1;
      }
      // The form may have destroyed the edit while it looked at the key.
      if (GetControlFromHandle(window) != this) return 0;
      break;
    }
    case EM_CANPASTE:
      return CanPaste() ? 1 : 0;
    case EM_CANREDO:
      return 0;
    case WM_KEST_CTLCOLOR: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (dc) {
        ::SetTextColor(dc, textColor_);
        SetBkColor(dc, backColor_ == KEST_TRANSPARENT ? GetSysColor(COLOR_WINDOW) : backColor_);
      }
      return reinterpret_cast<LRESULT>(brush_);
    }
    case WM_KEST_CANCOPY:
      return HasSelection() ? 1 : 0;
    case WM_KEST_CANCUT:
    case WM_KEST_CANDELETE:
      return CanCut() ? 1 : 0;
    case WM_KEST_CANSELECTALL:
      return 1;
    case WM_KEST_SELECTALL:
      // The Edit menu's Select all, sent to the focused control.
      SelectAll();
      return 1;
    default:
      break;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
