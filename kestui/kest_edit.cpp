#include "kestui/kest_edit.h"

#include <commctrl.h>
#include <richedit.h>

#include <climits>
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/numbers.h"

namespace {

constexpr int kSpinTextLimit = 60;
constexpr int kSpinReadChars = 64;

void SetWindowId(HWND window, int id) {
  if (window) SetWindowLongW(window, GWL_ID, id);
}

}  // namespace

int ParseLeadingInt(const wchar_t* text) {
  if (!text) return 0;
  const wchar_t* p = text;
  while (*p == L' ' || *p == L'\t') ++p;
  bool negative = false;
  if (*p == L'-' || *p == L'+') {
    negative = *p == L'-';
    ++p;
  }
  long long value = 0;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    value = value * 10 + (*p - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<int>(value);
}

// CKestCustomEdit

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

// CKestEdit

CKestEdit::CKestEdit(CKestControl* container, int id, uint32_t position, int width, int height,
                     bool readOnly, int textLimit, bool clientEdge) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  if (readOnly) style |= ES_READONLY;
  CreateControlWindow(clientEdge ? WS_EX_CLIENTEDGE : 0, L"EDIT", L"", style, position, width,
                      height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  if (window_) SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(textLimit < 0 ? 0 : textLimit), 0);
}

LRESULT CKestEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      SelectAll();
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN) return 0;
      break;
    default:
      break;
  }
  return CKestCustomEdit::WindowProc(message, wParam, lParam);
}

// CKestCustomMemo

LRESULT CKestCustomMemo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = CKestCustomEdit::WindowProc(message, wParam, lParam);
      if (wantTab_) {
        code |= DLGC_WANTTAB;
      } else {
        code &= ~static_cast<LRESULT>(DLGC_WANTTAB);
      }
      // Wanting all keys keeps Enter from the default button: only a memo
      // that takes Enter as a new line asks for it.
      if (enterAccepted_) {
        code |= DLGC_WANTALLKEYS;
      } else {
        code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
      }
      return code;
    }
    case WM_CHAR:
      // Ctrl+Enter arrives as a line feed: no new line either way.
      if (!enterAccepted_ && (wParam == L'\r' || wParam == L'\n')) return 0;
      break;
    default:
      break;
  }
  return CKestCustomEdit::WindowProc(message, wParam, lParam);
}

int CKestCustomMemo::GetCaretLine() const {
  if (!window_) return 0;
  int start = GetSelStart();
  return static_cast<int>(SendMessageW(window_, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0));
}

int CKestCustomMemo::GetCaretColumn() const {
  if (!window_) return 0;
  int start = GetSelStart();
  int line = static_cast<int>(SendMessageW(window_, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0));
  int lineStart = static_cast<int>(SendMessageW(window_, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  if (lineStart < 0) return 0;
  return start - lineStart;
}

// CKestMemo

CKestMemo::CKestMemo(CKestContainer* container, int id, uint32_t position, int width, int height,
                     int textLimit, bool wordWrap, bool readOnly, bool enterAccepted,
                     int8_t alignment, bool wantTab, bool clientEdge) {
  enterAccepted_ = enterAccepted;
  wantTab_ = wantTab;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  if (readOnly) style |= ES_READONLY;
  if (!wordWrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (alignment == 0) {
    style |= ES_CENTER;
  } else if (alignment == 1) {
    style |= ES_RIGHT;
  }
  // The system edit ignores Enter in dialog mode unless it wants returns.
  if (enterAccepted) style |= ES_WANTRETURN;
  CreateControlWindow(clientEdge ? WS_EX_CLIENTEDGE : 0, L"EDIT", L"", style, position, width,
                      height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  if (window_) SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(textLimit < 0 ? 0 : textLimit), 0);
}

// CKestUpDown

CKestUpDown::CKestUpDown(CKestControl* parent, int id, uint32_t position, int width, int height) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&init);
  CreateControlWindow(0, UPDOWN_CLASSW, L"",
                      WS_CHILD | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                          UDS_ARROWKEYS,
                      position, width, height, parent, nullptr, nullptr);
  SetWindowId(window_, id);
}

LRESULT CKestUpDown::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    return 0;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}

// CKestSpinEdit

CKestSpinEdit::CKestSpinEdit(CKestContainer* container, int id, bool integer, double minimum,
                             double maximum, double step, uint32_t position, int width, int height)
    : integer_(integer), value_(minimum), minimum_(minimum), maximum_(maximum), step_(step) {
  CreateControlWindow(WS_EX_CLIENTEDGE, L"EDIT", L"",
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP | ES_AUTOHSCROLL,
                      position, width, height, container, nullptr, nullptr);
  if (!window_) return;
  SetWindowId(window_, id);
  SendMessageW(window_, EM_LIMITTEXT, kSpinTextLimit, 0);
  SetTextRect(upDownWidth_);
  RECT area;
  GetClientArea(&area);
  int x = area.right - (upDownWidth_ + 2);
  if (x < 0) x = 0;
  int arrowsHeight = height - 3;
  if (arrowsHeight < 1) arrowsHeight = 1;
  upDown_ = new CKestUpDown(this, 0, KestPos(x, 0), upDownWidth_, arrowsHeight);
  if (integer_) {
    SetIntValue(static_cast<int>(minimum_));
  } else {
    SetValue(minimum_);
  }
}

void CKestSpinEdit::SetTextRect(int upDownWidth) {
  if (!window_) return;
  // A single-line edit keeps its text clear of the arrows through its right
  // margin (its formatting rectangle follows the margins on every resize).
  SendMessageW(window_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, upDownWidth + 2));
}

void CKestSpinEdit::PlaceUpDown(int upDownWidth) {
  upDownWidth_ = upDownWidth;
  if (!window_) return;
  SetTextRect(upDownWidth);
  if (!upDown_ || !upDown_->GetHandle()) return;
  RECT area;
  GetClientArea(&area);
  int x = area.right - (upDownWidth + 2);
  if (x < 0) x = 0;
  int h = (area.bottom - area.top) - 3;
  if (h < 1) h = 1;
  MoveWindow(upDown_->GetHandle(), x, 0, upDownWidth, h, TRUE);
}

void CKestSpinEdit::SetRange(double minimum, double maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  if (integer_) {
    SetIntValue(GetIntValue());
  } else {
    SetValue(GetValue());
  }
}

void CKestSpinEdit::ClampValue() {
  if (minimum_ == 0 && maximum_ == 0) return;
  if (value_ > maximum_) value_ = maximum_;
  if (value_ < minimum_) value_ = minimum_;
}

void CKestSpinEdit::ShowText(const wchar_t* text) {
  if (!window_) return;
  SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  SendMessageW(window_, EM_SETMODIFY, FALSE, 0);
}

void CKestSpinEdit::ReadText(wchar_t* buffer, int capacity) const {
  buffer[0] = 0;
  if (window_) {
    SendMessageW(window_, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(buffer));
  }
}

void CKestSpinEdit::SetValue(double value) {
  value_ = value;
  ClampValue();
  wchar_t text[kFormatDoubleChars];
  FormatDouble(value_, text, 0);
  ShowText(text);
}

double CKestSpinEdit::GetValue() {
  if (IsModified()) {
    wchar_t text[kSpinReadChars + 1];
    ReadText(text, kSpinReadChars + 1);
    value_ = ParseDouble(text, minimum_, nullptr);
    SendMessageW(window_, EM_SETMODIFY, FALSE, 0);
  }
  ClampValue();
  return value_;
}

void CKestSpinEdit::SetIntValue(int value) {
  value_ = static_cast<double>(value);
  ClampValue();
  wchar_t text[kFormatIntChars];
  double shown = value_;
  if (shown > INT_MAX) shown = INT_MAX;
  if (shown < INT_MIN) shown = INT_MIN;
  FormatInt(static_cast<int>(shown), text);
  ShowText(text);
}

int CKestSpinEdit::GetIntValue() {
  if (IsModified()) {
    wchar_t text[kSpinReadChars + 1];
    ReadText(text, kSpinReadChars + 1);
    value_ = static_cast<double>(ParseLeadingInt(text));
    SendMessageW(window_, EM_SETMODIFY, FALSE, 0);
  }
  ClampValue();
  double value = value_;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<int>(value);
}

LRESULT CKestSpinEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      PlaceUpDown(upDownWidth_);
      break;
    case WM_KILLFOCUS:
      if (IsModified()) {
        // An emptied field gets its previous value back.
        if (GetTextLength() > 0) {
          if (integer_) {
            GetIntValue();
          } else {
            GetValue();
          }
        }
        ClampValue();
        if (integer_) {
          double value = value_;
          if (value > INT_MAX) value = INT_MAX;
          if (value < INT_MIN) value = INT_MIN;
          SetIntValue(static_cast<int>(value));
        } else {
          SetValue(value_);
        }
      }
      break;
    case WM_PAINT:
      initialising_ = false;
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->code == static_cast<UINT>(UDN_DELTAPOS)) {
        auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
        if (change->iDelta != 0) {
          // The upper arrow gives a negative delta with the default range.
          double sign = change->iDelta < 0 ? 1.0 : -1.0;
          if (integer_) {
            SetIntValue(static_cast<int>(GetIntValue() + sign * step_));
          } else {
            SetValue(GetValue() + sign * step_);
          }
        }
      }
      return 0;
    }
    case WM_KEST_COMMAND:
      return initialising_ ? 1 : 0;
    default:
      break;
  }
  return CKestCustomEdit::WindowProc(message, wParam, lParam);
}
