#include "kestui/widgets/kest_slider.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "kestui/graphics/kest_draw.h"
#include "kestui/widgets/kest_painter.h"

namespace {

constexpr int kStartInset = 4;   // the track starts 4 pixels from the near edge
constexpr int kEndInset = 5;     // and ends 5 pixels from the far edge
constexpr int kPageSteps = 5;
constexpr int kThumbHalf = 5;    // half the thumb's width
constexpr int kThumbTop = 2;     // across: the thumb's flat side
constexpr int kThumbBody = 13;   // across: where the thumb narrows to its point
constexpr int kThumbPoint = 18;  // across: the point
constexpr int kTrackTop = 6;     // across: the sunken track
constexpr int kTrackBottom = 12;
constexpr int kTickTop = 20;
constexpr int kTickLength = 4;
constexpr int kReferenceTickLength = 7;
constexpr int kMinTickSpacing = 3;

bool ShiftHeld() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

}  // namespace

CKestSlider::CKestSlider(CKestControl* parent, int id, uint32_t position, int width, int height,
                         bool vertical, bool integer, double minimum, double maximum, double step)
    : value_(0), minimum_(0), maximum_(0), step_(step), reference_(0), vertical_(vertical),
      integer_(integer) {
  SetRange(minimum, maximum);
  reference_ = minimum_;
  value_ = minimum_;
  if (!CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, position, width,
                           height, parent, nullptr, nullptr)) {
    return;
  }
  SetWindowLongW(window_, GWL_ID, id);
}

double CKestSlider::Clamp(double value) const {
  if (std::isnan(value)) value = minimum_;
  value = std::clamp(value, minimum_, maximum_);
  if (integer_) {
    value = std::round(value);
    if (value > maximum_) value = std::floor(maximum_);
    if (value < minimum_) value = std::ceil(minimum_);
  }
  return value;
}

void CKestSlider::SetRange(double minimum, double maximum) {
  if (std::isnan(minimum)) minimum = 0;
  if (std::isnan(maximum)) maximum = minimum;
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
  value_ = Clamp(value_);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void CKestSlider::SetStep(double step) {
  step_ = std::isnan(step) ? 0 : step;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void CKestSlider::SetTickReference(double value) {
  reference_ = std::isnan(value) ? minimum_ : value;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

bool CKestSlider::MoveTo(double value, bool extend) {
  double old = value_;
  double clamped = Clamp(value);
  if (extend) {
    double low = std::min(old, clamped), high = std::max(old, clamped);
    if (hasSelection_) {
      low = std::min(low, selectionStart_);
      high = std::max(high, selectionEnd_);
    }
    SetSelection(low, high);
  }
  if (clamped == old) return false;
  value_ = clamped;
  HWND window = window_;
  if (!window) return true;
  InvalidateRect(window, nullptr, TRUE);
  PostMessageW(GetOwnerFormWindow(window), WM_COMMAND,
               static_cast<WPARAM>(GetWindowLongW(window, GWL_ID) & 0xFFFF),
               reinterpret_cast<LPARAM>(window));
  return true;
}

void CKestSlider::SetSelection(double start, double end) {
  selectionStart_ = Clamp(std::min(start, end));
  selectionEnd_ = Clamp(std::max(start, end));
  hasSelection_ = true;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void CKestSlider::ClearSelection() {
  hasSelection_ = false;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

double CKestSlider::KeyStep() const {
  if (step_ > 0) return step_;
  double tenth = (maximum_ - minimum_) / 10;
  return integer_ ? std::max(1.0, std::round(tenth)) : tenth;
}

int CKestSlider::GetTrackStart() const { return kStartInset; }

int CKestSlider::GetTrackEnd() const {
  RECT client = {0, 0, 0, 0};
  if (window_) GetClientRect(window_, &client);
  int length = vertical_ ? client.bottom : client.right;
  return std::max(kStartInset, length - kEndInset);
}

int CKestSlider::PixelOf(double value) const {
  int start = GetTrackStart(), end = GetTrackEnd();
  double range = maximum_ - minimum_;
  if (range <= 0) return start;
  double fraction = (Clamp(value) - minimum_) / range;
  return start + static_cast<int>(std::lround(fraction * (end - start)));
}

double CKestSlider::ValueAt(int pixel) const {
  int start = GetTrackStart(), end = GetTrackEnd();
  if (end <= start) return Clamp(minimum_);
  double fraction = static_cast<double>(pixel - start) / (end - start);
  return Clamp(minimum_ + fraction * (maximum_ - minimum_));
}

int CKestSlider::Along(LPARAM point) const {
  return vertical_ ? GET_Y_LPARAM(point) : GET_X_LPARAM(point);
}

void CKestSlider::DrawTicks(HDC dc) {
  double range = maximum_ - minimum_;
  int start = GetTrackStart(), end = GetTrackEnd();
  if (step_ <= 0 || range <= 0 || end <= start) return;
  // No more ticks than fit apart on the track.
  if (range / step_ > static_cast<double>(end - start) / kMinTickSpacing) return;
  auto tick = [&](double value, int size) {
    int along = PixelOf(value);
    if (vertical_) {
      MoveToEx(dc, kTickTop, along, nullptr);
      LineTo(dc, kTickTop + size, along);
    } else {
      MoveToEx(dc, along, kTickTop, nullptr);
      LineTo(dc, along, kTickTop + size);
    }
  };
  double first = std::ceil((minimum_ - reference_) / step_);
  double last = std::floor((maximum_ - reference_) / step_);
  for (double k = first; k <= last; k += 1) {
    double value = reference_ + k * step_;
    tick(value, k == 0 ? kReferenceTickLength : kTickLength);
  }
}

void CKestSlider::Paint(HDC dc) {
  if (!dc || !window_) return;
  RECT client;
  GetClientRect(window_, &client);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  auto place = [&](int along1, int across1, int along2, int across2) {
    return vertical_ ? RECT{across1, along1, across2, along2} : RECT{along1, across1, along2, across2};
  };
  CKestPainter painter(dc);

  // The sunken track, with the selection in white.
  int start = GetTrackStart(), end = GetTrackEnd();
  RECT track = place(start, kTrackTop, end + 1, kTrackBottom);
  Draw3DFrameRect(dc, &track, backColor_ == KEST_TRANSPARENT ? face : backColor_, shadow, light);
  if (hasSelection_) {
    int a = PixelOf(selectionStart_), b = PixelOf(selectionEnd_);
    RECT selected = place(a, kTrackTop + 1, b + 1, kTrackBottom - 1);
    painter.SetBrush(RGB(255, 255, 255));
    FillRect(dc, &selected, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  }

  painter.SetPen(PS_SOLID, 1, textColor_);
  DrawTicks(dc);

  // The five-cornered thumb pointing at the ticks.
  int at = PixelOf(value_);
  POINT corners[5] = {{at - kThumbHalf, kThumbTop}, {at + kThumbHalf, kThumbTop},
                      {at + kThumbHalf, kThumbBody}, {at, kThumbPoint},
                      {at - kThumbHalf, kThumbBody}};
  if (vertical_) {
    for (POINT& p : corners) std::swap(p.x, p.y);
  }
  painter.SetBrush(IsWindowEnabled(window_) ? face : shadow);
  painter.SetPen(PS_SOLID, 1, dark);
  Polygon(dc, corners, 5);

  if (GetFocus() == window_) {
    RECT focus = client;
    DrawFocusRect(dc, &focus);
  }
}

LRESULT CKestSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow(window_, [this](HDC dc) { Paint(dc); });
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window_, nullptr, TRUE);
      break;
    case WM_KEYDOWN: {
      double target;
      switch (wParam) {
        case VK_LEFT:
        case VK_UP: target = value_ - KeyStep(); break;
        case VK_RIGHT:
        case VK_DOWN: target = value_ + KeyStep(); break;
        case VK_PRIOR: target = value_ - kPageSteps * KeyStep(); break;
        case VK_NEXT: target = value_ + kPageSteps * KeyStep(); break;
        case VK_HOME: target = minimum_; break;
        case VK_END: target = maximum_; break;
        default: return CKestControl::WindowProc(message, wParam, lParam);
      }
      MoveTo(target, ShiftHeld());
      return 0;
    }
    case WM_LBUTTONDOWN: {
      HWND window = window_;
      ::SetFocus(window);
      if (GetControlFromHandle(window) != this) return 0;
      int along = Along(lParam);
      int thumb = PixelOf(value_);
      dragOffset_ = std::abs(along - thumb) <= kThumbHalf ? along - thumb : 0;
      dragging_ = true;
      if (dragOffset_ == 0) MoveTo(ValueAt(along), (wParam & MK_SHIFT) != 0);
      break;  // the base captures the mouse and reports the press
    }
    case WM_MOUSEMOVE:
      if (dragging_ && (wParam & MK_LBUTTON)) {
        MoveTo(ValueAt(Along(lParam) - dragOffset_), (wParam & MK_SHIFT) != 0);
      } else {
        dragging_ = false;
      }
      break;
    case WM_LBUTTONUP: {
      // Released without a click: the moves have told the form already.
      dragging_ = false;
      ReleaseCapture();
      HWND window = window_;
      SendMessageW(GetOwnerFormWindow(window), WM_KEST_LBUTTONUP, reinterpret_cast<WPARAM>(window),
                   lParam);
      return 0;
    }
    case WM_CAPTURECHANGED:
      dragging_ = false;
      break;
    default:
      break;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}
