#include "kestui/edits/kest_spin_edit.h"

#include <commctrl.h>

#include <climits>

#include "foundation/numbers.h"
#include "kestui/core/kest_widget_helpers.h"

namespace {

constexpr int kSpinTextLimit = 60;
constexpr int kSpinReadChars = 64;

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
  wchar_t text[kFoundationFormatDoubleChars];
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
  wchar_t text[kFoundationFormatIntChars];
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
