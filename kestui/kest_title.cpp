#include "kestui/kest_title.h"

#include <cwchar>

#include "foundation/buffers.h"

namespace {

void SetWindowId(HWND window, int id) {
  if (window) SetWindowLongW(window, GWL_ID, id);
}

void SetHintIfAny(CKestControl* control, const wchar_t* hint) {
  if (hint) control->SetHint(hint);
}

}  // namespace

// CKestTitleControl

bool CKestTitleControl::SetCaption(const wchar_t* text) {
  if (!window_) return false;
  return SetWindowTextW(window_, text ? text : L"") != FALSE;
}

// CKestButton

CKestButton::CKestButton(CKestContainer* container, const wchar_t* caption, bool defaultButton,
                         int id, uint32_t position, int width, int height, const wchar_t* hint,
                         int modalResult)
    : modalResult_(modalResult) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                static_cast<DWORD>(defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  CreateControlWindow(0, L"BUTTON", caption, style, position, width, height, container, nullptr,
                      nullptr);
  SetWindowId(window_, id);
  SetHintIfAny(this, hint);
}

LRESULT CKestButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEST_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == window_ && HIWORD(wParam) == 0 && modalResult_ != 0) {
        HWND form = GetOwnerFormWindow(window_);
        if (form && form != window_) PostMessageW(form, WM_CLOSE, static_cast<WPARAM>(modalResult_), 0);
      }
      // Not handled: the WM_COMMAND still reaches the form.
      return 0;
    case WM_CHAR:
      // Enter on a focused button presses it (the message loop leaves Enter
      // to a control that answers DLGC_BUTTON).
      if (wParam == VK_RETURN) {
        Click();
        return 0;
      }
      break;
    default:
      break;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}

// CKestCheckControl

CKestCheckControl::~CKestCheckControl() {
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

HBRUSH CKestCheckControl::SetBackColor(COLORREF color) {
  backColor_ = color;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
  // A transparent check box paints on the parent's colour.
  if (color == KEST_TRANSPARENT) {
    HWND parent = window_ ? GetParent(window_) : nullptr;
    CKestControl* owner = parent ? GetControlFromHandle(parent) : nullptr;
    COLORREF under = owner ? owner->GetBackColor() : KEST_TRANSPARENT;
    brush_ = CreateSolidBrush(under == KEST_TRANSPARENT ? GetSysColor(COLOR_BTNFACE) : under);
  } else {
    brush_ = CreateSolidBrush(color);
  }
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return brush_;
}

bool CKestCheckControl::IsChecked() const {
  return window_ && SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool CKestCheckControl::HandleColor(UINT message, WPARAM wParam, LRESULT* result) {
  if (message != WM_KEST_CTLCOLOR) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (dc) {
    ::SetTextColor(dc, textColor_);
    if (backColor_ == KEST_TRANSPARENT) {
      SetBkMode(dc, TRANSPARENT);
    } else {
      SetBkColor(dc, backColor_);
    }
  }
  *result = reinterpret_cast<LRESULT>(brush_);
  return true;
}

bool CKestCheckControl::SwallowSpaceKey(UINT message, WPARAM wParam) {
  if ((message != WM_KEYDOWN && message != WM_KEYUP) || wParam != VK_SPACE) return false;
  if (message == WM_KEYDOWN && menu_) menu_->DispatchShortcut(window_, wParam);
  return true;
}

// CKestCheckBox

CKestCheckBox::CKestCheckBox(CKestContainer* container, const wchar_t* caption, bool checked,
                             int id, uint32_t position, int width, int height,
                             const wchar_t* hint) {
  CreateControlWindow(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX,
                      position, width, height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  if (window_) SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  SetHintIfAny(this, hint);
}

void CKestCheckBox::Click() {
  if (!window_) return;
  SendMessageW(window_, BM_SETCHECK, IsChecked() ? BST_UNCHECKED : BST_CHECKED, 0);
  CKestTitleControl::Click();
}

void CKestCheckBox::SetChecked(bool checked) {
  if (window_) SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CKestCheckBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleColor(message, wParam, &result)) return result;
  if (SwallowSpaceKey(message, wParam)) return 0;
  if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_SPACE)) {
    HWND window = window_;
    Click();
    if (GetControlFromHandle(window) != this) return 0;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}

// CKestRadio

CKestRadio::CKestRadio(CKestContainer* container, const wchar_t* caption, int id,
                       uint32_t position, int width, int height, const wchar_t* hint) {
  CreateControlWindow(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON,
                      position, width, height, container, nullptr, nullptr);
  SetWindowId(window_, id);
  SetHintIfAny(this, hint);
}

void CKestRadio::SetChecked(bool checked) {
  if (window_) SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CKestRadio::Click() {
  if (!window_) return;
  SendMessageW(window_, BM_SETCHECK, BST_CHECKED, 0);
  for (HWND sibling = GetWindow(window_, GW_HWNDFIRST); sibling;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == window_) continue;
    wchar_t className[65] = L"";
    if (GetClassNameW(sibling, className, 64) <= 0) continue;
    if (_wcsicmp(className, L"Button") != 0) continue;
    LONG style = GetWindowLongW(sibling, GWL_STYLE);
    if ((style & 0xF) != BS_RADIOBUTTON) continue;
    SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    SetWindowLongW(sibling, GWL_STYLE, style | WS_TABSTOP);
  }
  CKestTitleControl::Click();
}

LRESULT CKestRadio::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleColor(message, wParam, &result)) return result;
  if (message == WM_KEYDOWN && wParam == VK_SPACE) Click();
  if (SwallowSpaceKey(message, wParam)) return 0;
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}

// CKestLabel

SIZE CKestLabel::MeasureCaption(HFONT font, const wchar_t* caption) {
  SIZE size = {10, 20};
  if (!caption || !caption[0]) return size;
  HDC dc = GetDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE text = {0, 0};
  if (GetTextExtentPoint32W(dc, caption, static_cast<int>(wcslen(caption)), &text)) {
    size.cx = text.cx;
    size.cy = text.cy + 2;
  }
  if (old) SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

CKestLabel::CKestLabel(CKestContainer* container, const wchar_t* caption, uint32_t position,
                       bool stack, int width, int height, int8_t alignment)
    : alignment_(alignment) {
  if (width == KEST_LABEL_MEASURE || height == KEST_LABEL_MEASURE) {
    CKestFont* font = container ? container->GetFont() : nullptr;
    CKestFont* own = nullptr;
    if (!font) {
      own = CreateDefaultKestFont();
      if (own) own->AddRef();
      font = own;
    }
    SIZE size = MeasureCaption(font ? font->GetHandle() : nullptr, caption);
    if (own) own->Release();
    if (width == KEST_LABEL_MEASURE) width = size.cx;
    if (height == KEST_LABEL_MEASURE) height = size.cy;
  }
  if (stack && position == KEST_POS_FLOW && container) {
    KestFlowLayout* flow = container->GetFlowLayout();
    if (flow) flow->StackNext();
  }
  CreateControlWindow(WS_EX_TRANSPARENT, nullptr, caption, WS_CHILD | WS_VISIBLE, position, width,
                      height, container, nullptr, nullptr);
  if (container && container->HasGradient()) SetBackColor(KEST_TRANSPARENT);
}

void CKestLabel::SetAlignment(int8_t alignment) {
  alignment_ = alignment;
  Invalidate(true);
}

void CKestLabel::Paint(HDC dc) {
  if (!dc || !window_) return;
  int length = GetWindowTextLengthW(window_);
  if (length < 0) length = 0;
  wchar_t* text = AllocWideString(static_cast<size_t>(length));
  if (!text) return;
  text[0] = 0;
  ::GetWindowTextW(window_, text, length + 1);
  length = static_cast<int>(wcslen(text));

  RECT area;
  GetClientArea(&area);
  SetBkMode(dc, TRANSPARENT);
  if (backColor_ != KEST_TRANSPARENT) {
    if (gradient_) {
      TRIVERTEX vertices[2] = {};
      vertices[0].x = area.left;
      vertices[0].y = area.top;
      vertices[0].Red = static_cast<COLOR16>(GetRValue(backColor_) << 8);
      vertices[0].Green = static_cast<COLOR16>(GetGValue(backColor_) << 8);
      vertices[0].Blue = static_cast<COLOR16>(GetBValue(backColor_) << 8);
      vertices[0].Alpha = 0xFFFF;
      vertices[1].x = area.right;
      vertices[1].y = area.bottom;
      vertices[1].Red = static_cast<COLOR16>(GetRValue(gradientEnd_) << 8);
      vertices[1].Green = static_cast<COLOR16>(GetGValue(gradientEnd_) << 8);
      vertices[1].Blue = static_cast<COLOR16>(GetBValue(gradientEnd_) << 8);
      vertices[1].Alpha = 0xFFFF;
      GRADIENT_RECT mesh = {0, 1};
      GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
    } else {
      HBRUSH brush = CreateSolidBrush(backColor_);
      if (brush) {
        FillRect(dc, &area, brush);
        DeleteObject(brush);
      }
    }
  }

  HGDIOBJ oldFont = font_ ? SelectObject(dc, font_->GetHandle()) : nullptr;
  UINT flags = DT_WORDBREAK | DT_NOPREFIX;
  if (alignment_ < 0) {
    flags |= DT_LEFT;
  } else if (alignment_ == 0) {
    flags |= DT_CENTER;
  } else {
    flags |= DT_RIGHT;
  }
  ::SetTextColor(dc, textColor_);
  RECT measure = area;
  int h = DrawTextW(dc, text, length, &measure, flags | DT_CALCRECT);
  RECT target = area;
  target.top = (area.top + area.bottom - h) / 2;
  DrawTextW(dc, text, length, &target, flags);
  if (oldFont) SelectObject(dc, oldFont);
  FreeBuffer(text);
}

LRESULT CKestLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      if (dc) Paint(dc);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_SETTEXT: {
      HWND window = window_;
      LRESULT result = CKestTitleControl::WindowProc(message, wParam, lParam);
      if (GetControlFromHandle(window) != this) return result;
      if (backColor_ == KEST_TRANSPARENT) {
        // Nothing of our own covers the old text: what lies under it has to
        // be drawn again before the new text goes on top.
        Invalidate(true);
      } else {
        HDC dc = GetDC(window_);
        if (dc) {
          Paint(dc);
          ReleaseDC(window_, dc);
        }
      }
      return result;
    }
    case WM_MOVE:
    case WM_SIZE:
      Invalidate(true);
      break;
    default:
      break;
  }
  return CKestTitleControl::WindowProc(message, wParam, lParam);
}
