#include "kestui/core/kest_control.h"

#include "kestui/core/kest_resources.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwchar>

#include "foundation/buffers.h"

const wchar_t* const KestMainClassName = L"MainClass";
const wchar_t* const KestMDIChildClassName = L"MDIChild";

HICON ApplicationIcon = nullptr;
HCURSOR CursorTable[KestCursorCount] = {};
CKestControl* HoverControl = nullptr;

namespace {

bool mainClassRegistered = false;
bool mdiChildClassRegistered = false;
wchar_t windowPropertyName[32] = L"";

// The program's own cursors. Until the resources carry them, each falls back
// to the system cursor beside it.
constexpr WORD kCursorMove = IDCUR_KEST_MOVE;
constexpr WORD kCursorSplitHorizontal = IDCUR_KEST_SPLIT_NS;
constexpr WORD kCursorSplitVertical = IDCUR_KEST_SPLIT_WE;
constexpr WORD kCursorHand = IDCUR_KEST_HAND;
constexpr WORD kCursorProgram14 = IDCUR_KEST_CUT_LINK;
constexpr WORD kCursorProgram15 = IDCUR_KEST_LINK_CUT;

struct CursorSource {
  WORD resourceId;        // program cursor resource, 0 for a system cursor
  const wchar_t* system;  // the system cursor (or the fall-back)
};

const CursorSource kCursorSources[KestCursorCount] = {
    {0, IDC_ARROW},
    {0, IDC_CROSS},
    {kCursorMove, IDC_SIZEALL},
    {0, IDC_SIZENESW},
    {0, IDC_SIZENS},
    {0, IDC_SIZENWSE},
    {0, IDC_SIZEWE},
    {0, IDC_UPARROW},
    {0, IDC_WAIT},
    {kCursorSplitHorizontal, IDC_SIZENS},
    {kCursorSplitVertical, IDC_SIZEWE},
    {0, IDC_APPSTARTING},
    {0, IDC_NO},
    {kCursorHand, IDC_HAND},
    {kCursorProgram14, IDC_ARROW},
    {kCursorProgram15, IDC_ARROW},
};

void LoadCursorTable() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (int i = 0; i < KestCursorCount; ++i) {
    HCURSOR cursor = nullptr;
    if (kCursorSources[i].resourceId != 0) {
      cursor = LoadCursorW(instance, MAKEINTRESOURCEW(kCursorSources[i].resourceId));
    }
    if (!cursor) cursor = LoadCursorW(nullptr, kCursorSources[i].system);
    if (!cursor) cursor = LoadCursorW(nullptr, IDC_ARROW);
    CursorTable[i] = cursor;
  }
}

HICON ClassIcon() { return ApplicationIcon ? ApplicationIcon : LoadIconW(nullptr, IDI_APPLICATION); }

bool IsChildStyle(HWND window) {
  return window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
}

LRESULT RouteToControl(CKestControl* control, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam, bool mdiChild) {
  // The previous procedure is read first: the object may delete itself
  // while it handles the message.
  WNDPROC previous = control->GetPreviousProc();
  try {
    return control->WindowProc(message, wParam, lParam);
  } catch (...) {
    // A C++ exception left the widget: the message gets the default
    // handling of the window.
  }
  if (previous && IsWindow(window)) return CallWindowProcW(previous, window, message, wParam, lParam);
  return mdiChild ? DefMDIChildProcW(window, message, wParam, lParam)
                  : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// Binds a window that is being created to its object.
bool BindControlWindow(CKestControl* control, HWND window) {
  if (!control || !window) return false;
  control->window_ = window;
  return SetPropW(window, GetWindowPropertyName(), control) != FALSE;
}

const wchar_t* GetWindowPropertyName() {
  if (!windowPropertyName[0]) {
    swprintf(windowPropertyName, sizeof(windowPropertyName) / sizeof(wchar_t), L"KestUI%08X",
             static_cast<unsigned>(GetCurrentProcessId()));
  }
  return windowPropertyName;
}

CKestControl* GetControlFromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<CKestControl*>(GetPropW(window, GetWindowPropertyName()));
}

HWND GetOwnerFormWindow(HWND window) {
  HWND last = nullptr;
  for (HWND w = window; w; w = GetParent(w)) {
    CKestControl* control = GetControlFromHandle(w);
    if (control && control->IsTopLevel()) return w;
    last = w;
  }
  return last;
}

HCURSOR GetKestCursor(int index) {
  if (index < 0 || index >= KestCursorCount) index = 0;
  return CursorTable[index];
}

bool KestInitCommonControls() {
  INITCOMMONCONTROLSEX init = {};
  init.dwSize = sizeof(init);
  init.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
               ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
               ICC_WIN95_CLASSES;
  return InitCommonControlsEx(&init) != FALSE;
}

namespace {
// The framework's window classes differ only in name and procedure; a class
// that exists already counts as registered.
bool RegisterFrameworkClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = ClassIcon();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = name;
  return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
}  // namespace

bool RegisterMainWindowClass() {
  if (mainClassRegistered) return true;
  if (!RegisterFrameworkClass(KestMainClassName, MainClassWindowProc)) return false;
  LoadCursorTable();
  KestInitCommonControls();
  GetWindowPropertyName();
  mainClassRegistered = true;
  return true;
}

bool RegisterMDIChildWindowClass() {
  if (mdiChildClassRegistered) return true;
  if (!RegisterMainWindowClass()) return false;
  if (!RegisterFrameworkClass(KestMDIChildClassName, MDIChildWindowProc)) return false;
  mdiChildClassRegistered = true;
  return true;
}

namespace {
// The widget of a window: on its first messages the one handed over at
// creation (bound to the window then), afterwards the bound one.
CKestControl* ControlForMessage(HWND window, UINT message, CKestControl* created) {
  if ((message == WM_NCCREATE || message == WM_CREATE) && created) {
    BindControlWindow(created, window);
    return created;
  }
  return GetControlFromHandle(window);
}

CKestControl* CreatedControl(UINT message, LPARAM lParam, bool mdiChild) {
  if (message != WM_NCCREATE && message != WM_CREATE) return nullptr;
  auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
  if (!create) return nullptr;
  if (!mdiChild) return static_cast<CKestControl*>(create->lpCreateParams);
  auto* mdi = static_cast<MDICREATESTRUCTW*>(create->lpCreateParams);
  return mdi ? reinterpret_cast<CKestControl*>(mdi->lParam) : nullptr;
}
}  // namespace

LRESULT CALLBACK MainClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CKestControl* control = ControlForMessage(window, message, CreatedControl(message, lParam, false));
  if (control) return RouteToControl(control, window, message, wParam, lParam, false);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MDIChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CKestControl* control = ControlForMessage(window, message, CreatedControl(message, lParam, true));
  if (control) return RouteToControl(control, window, message, wParam, lParam, true);
  return DefMDIChildProcW(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------

CKestControl::CKestControl()
    : backColor_(GetSysColor(COLOR_BTNFACE)), textColor_(GetSysColor(COLOR_WINDOWTEXT)) {}

CKestControl::~CKestControl() {
  FreeBuffer(hint_);
  hint_ = nullptr;
  if (HoverControl == this) HoverControl = nullptr;
  HWND window = window_;
  if (window) {
    // Unbound first, so the WM_DESTROY that follows no longer finds this
    // object and does not delete it again.
    Unbind();
    window_ = nullptr;
    DestroyWindow(window);
  }
  if (menu_) menu_->Release();
  menu_ = nullptr;
  if (font_) font_->Release();
  font_ = nullptr;
}

void CKestControl::Unbind() {
  HWND window = window_;
  if (!window) return;
  // A menu bar is destroyed with its window; the menu object owns it.
  if (topLevel_ && menu_ && ::GetMenu(window) == menu_->GetHandle()) ::SetMenu(window, nullptr);
  if (previousProc_ &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == MainClassWindowProc) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
  }
  if (GetControlFromHandle(window) == this) RemovePropW(window, GetWindowPropertyName());
}

bool CKestControl::StillBound(HWND window) const {
  return IsWindow(window) && GetControlFromHandle(window) == this;
}

bool CKestControl::CreateControlWindow(DWORD exStyle, const wchar_t* className,
                                       const wchar_t* caption, DWORD style, uint32_t positionCode,
                                       int width, int height, CKestControl* parent,
                                       CKestMenu* menu, void* param) {
  if (window_) return false;  // already bound
  positionCode_ = positionCode;
  topLevel_ = (style & WS_CHILD) == 0;
  int x = 0, y = 0;

  if (menu) menu->AddRef();
  if (menu_) menu_->Release();
  menu_ = menu;
  HMENU hmenu = (topLevel_ && menu_) ? menu_->GetHandle() : nullptr;

  if (!font_) {
    CKestFont* font = parent ? parent->GetFont() : nullptr;
    if (!font) font = CreateDefaultKestFont();
    font->AddRef();
    font_ = font;
  }

  HWND parentWindow = parent ? parent->GetHandle() : nullptr;
  if (!topLevel_) {
    if (parentWindow) exStyle |= GetWindowLongW(parentWindow, GWL_EXSTYLE) & WS_EX_COMPOSITED;
    if (positionCode == KEST_POS_FLOW) {
      POINT at = {0, 0};
      if (parent && KestPlaceInFlow(parent, width, height, &at)) {
        x = at.x;
        y = at.y;
      }
    } else if (!IsKestSpecialPosition(positionCode)) {
      x = static_cast<int>(positionCode & 0xFFFF);
      y = static_cast<int>((positionCode >> 16) & 0xFFFF);
    }
  } else {
    if (positionCode == KEST_POS_FLOW) {
      x = CW_USEDEFAULT;
      y = CW_USEDEFAULT;
    } else if (positionCode == KEST_POS_CENTER) {
      x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
      y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    } else if (!IsKestSpecialPosition(positionCode)) {
      x = static_cast<int>(positionCode & 0xFFFF);
      y = static_cast<int>((positionCode >> 16) & 0xFFFF);
    }
  }

  if (!topLevel_ && parent && parent->GetBackColor() != KEST_TRANSPARENT &&
      backColor_ == GetSysColor(COLOR_BTNFACE)) {
    backColor_ = parent->GetBackColor();
  }

  if (!RegisterMainWindowClass()) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  creating_ = true;
  HWND window = nullptr;
  if (className) {
    window = CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parentWindow,
                             hmenu, instance, param);
    if (window) {
      BindControlWindow(this, window);
      previousProc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainClassWindowProc)));
    }
  } else {
    window = CreateWindowExW(exStyle, KestMainClassName, caption, style, x, y, width, height,
                             parentWindow, hmenu, instance, this);
  }
  creating_ = false;
  if (!window || !StillBound(window)) {
    // Creation failed (or the window went away while it was made): no
    // window is left bound to this object.
    if (window_ && GetControlFromHandle(window_) == this) Unbind();
    window_ = nullptr;
    previousProc_ = nullptr;
    return false;
  }
  window_ = window;
  if (font_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->GetHandle()), FALSE);
  SetBackColor(backColor_);
  return true;
}

void CKestControl::SetFont(CKestFont* font) {
  if (font) font->AddRef();
  if (font_) font_->Release();
  font_ = font;
  if (window_ && font_) {
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->GetHandle()), TRUE);
  }
}

HBRUSH CKestControl::SetBackColor(COLORREF color) {
  backColor_ = color;
  return nullptr;
}

void CKestControl::SetTextColor(COLORREF color) { textColor_ = color; }

void CKestControl::GetClientArea(RECT* rect) {
  if (!rect) return;
  if (!window_ || !GetClientRect(window_, rect)) SetRectEmpty(rect);
}

void CKestControl::Click() {
  if (!window_) return;
  HWND owner = GetOwnerFormWindow(window_);
  // A form's own background is no widget: its id would be the low word of
  // its menu handle (or 0, the id of many widgets), so it posts nothing.
  if (!owner || owner == window_) return;
  PostMessageW(owner, WM_COMMAND, static_cast<WPARAM>(GetWindowLongW(window_, GWL_ID) & 0xFFFF),
               reinterpret_cast<LPARAM>(window_));
}

void CKestControl::Enable(bool enable) {
  if (!window_) return;
  EnableWindow(window_, enable);
  Invalidate(true);
}

LRESULT CKestControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CKestControl::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  if (previousProc_) return CallWindowProcW(previousProc_, window_, message, wParam, lParam);
  return DefaultProc(message, wParam, lParam);
}

LRESULT CKestControl::HandleDestroy(WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  if (previousProc_) {
    CallWindowProcW(previousProc_, window, WM_DESTROY, wParam, lParam);
  } else {
    DefWindowProcW(window, WM_DESTROY, wParam, lParam);
  }
  // The original procedure gets back the window, so WM_NCDESTROY still
  // reaches it (list and tree views free their data there).
  Unbind();
  window_ = nullptr;
  if (!creating_) delete this;
  return 0;
}

void CKestControl::TrackMenu() {
  HWND window = window_;
  HWND owner = GetOwnerFormWindow(window);
  SendMessageW(owner, WM_KEST_MBUTTONDOWN, static_cast<WPARAM>(GetWindowLongW(window, GWL_ID)),
               reinterpret_cast<LPARAM>(window));
  if (!StillBound(window) || !menu_ || !menu_->GetHandle()) return;
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(menu_->GetHandle(), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

LRESULT CKestControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  WNDPROC previous = previousProc_;
  // After a message sent to another window this object may be gone; the
  // rest of the handling then falls back to the system's defaults.
  auto defaults = [&]() -> LRESULT {
    if (StillBound(window)) return CallDefault(message, wParam, lParam);
    if (previous && IsWindow(window)) return CallWindowProcW(previous, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  };
  auto owner = [&]() { return GetOwnerFormWindow(window); };
  auto widgetParam = reinterpret_cast<WPARAM>(window);

  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child) {
        LRESULT brush = SendMessageW(child, WM_KEST_CTLCOLOR, wParam, 0);
        if (brush) return brush;
      }
      return defaults();
    }
    case WM_MOUSEMOVE:
      SetCursor(GetKestCursor(cursorIndex_));
      SendMessageW(owner(), WM_KEST_MOUSEMOVE, widgetParam, lParam);
      return defaults();
    case WM_LBUTTONDOWN:
      SetCapture(window);
      SendMessageW(owner(), WM_KEST_LBUTTONDOWN, widgetParam, lParam);
      return defaults();
    case WM_LBUTTONUP: {
      ReleaseCapture();
      SendMessageW(owner(), WM_KEST_LBUTTONUP, widgetParam, lParam);
      if (StillBound(window)) {
        RECT area;
        GetClientArea(&area);
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (PtInRect(&area, at)) Click();
      }
      return defaults();
    }
    case WM_LBUTTONDBLCLK: {
      ReleaseCapture();
      NMHDR header = {};
      header.hwndFrom = window;
      header.idFrom = static_cast<UINT_PTR>(GetWindowLongW(window, GWL_ID));
      header.code = static_cast<UINT>(NM_DBLCLK);
      if (SendMessageW(owner(), WM_NOTIFY, widgetParam, reinterpret_cast<LPARAM>(&header))) return 0;
      return defaults();
    }
    case WM_RBUTTONDOWN:
      SendMessageW(owner(), WM_KEST_RBUTTONDOWN, widgetParam, lParam);
      return defaults();
    case WM_RBUTTONUP:
      SendMessageW(owner(), WM_KEST_RBUTTONUP, widgetParam, lParam);
      if (StillBound(window) && !topLevel_ && menu_) {
        TrackMenu();
        return 0;
      }
      return defaults();
    case WM_CONTEXTMENU:
      if (!topLevel_ && menu_) {
        TrackMenu();
        return 0;
      }
      return defaults();
    case WM_MBUTTONDOWN:
      SendMessageW(owner(), WM_KEST_MBUTTONDOWN, widgetParam, lParam);
      return defaults();
    case WM_MBUTTONUP:
      SendMessageW(owner(), WM_KEST_MBUTTONUP, widgetParam, lParam);
      return defaults();
    case WM_MOUSEWHEEL:
      if (SendMessageW(owner(), WM_KEST_MOUSEWHEEL, wParam, reinterpret_cast<LPARAM>(window))) return 1;
      return defaults();
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (menu_) menu_->DispatchShortcut(window, wParam);
      return defaults();
    case WM_COMMAND: {
      HWND sender = reinterpret_cast<HWND>(lParam);
      if (sender) {
        // A standard control's own children (an edit inside a list view, a
        // combo box's edit) talk to the control itself.
        if (previous && !GetControlFromHandle(sender)) return defaults();
        if (SendMessageW(sender, WM_KEST_COMMAND, wParam, lParam)) return 0;
      }
      if (StillBound(window)) {
        HWND form = owner();
        if (form && form != window) SendMessageW(form, WM_COMMAND, wParam, lParam);
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header) return defaults();
      if (header->hwndFrom) {
        if (previous && !GetControlFromHandle(header->hwndFrom)) return defaults();
        if (SendMessageW(header->hwndFrom, WM_KEST_NOTIFY, wParam, lParam)) return 0;
      }
      if (StillBound(window)) {
        HWND form = owner();
        if (form && form != window) SendMessageW(form, WM_NOTIFY, wParam, lParam);
      }
      return 0;
    }
    case WM_DESTROY:
      return HandleDestroy(wParam, lParam);
    case WM_SIZE:
      SendMessageW(owner(), WM_KEST_SIZE, 0, reinterpret_cast<LPARAM>(window));
      return defaults();
    case WM_ERASEBKGND: {
      if (backColor_ == KEST_TRANSPARENT) return 1;
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT rect;
      GetClientRect(window, &rect);
      if (gradient_) {
        TRIVERTEX vertices[2] = {};
        vertices[0].x = rect.left;
        vertices[0].y = rect.top;
        vertices[0].Red = static_cast<COLOR16>(GetRValue(backColor_) << 8);
        vertices[0].Green = static_cast<COLOR16>(GetGValue(backColor_) << 8);
        vertices[0].Blue = static_cast<COLOR16>(GetBValue(backColor_) << 8);
        vertices[1].x = rect.right;
        vertices[1].y = rect.bottom;
        vertices[1].Red = static_cast<COLOR16>(GetRValue(gradientEnd_) << 8);
        vertices[1].Green = static_cast<COLOR16>(GetGValue(gradientEnd_) << 8);
        vertices[1].Blue = static_cast<COLOR16>(GetBValue(gradientEnd_) << 8);
        GRADIENT_RECT mesh = {0, 1};
        GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
      } else {
        HBRUSH brush = CreateSolidBrush(backColor_);
        if (brush) {
          FillRect(dc, &rect, brush);
          DeleteObject(brush);
        }
      }
      return 1;
    }
    default:
      return defaults();
  }
}

void CKestControl::SetText(const wchar_t* text) {
  if (window_) SendMessageW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L""));
}

int CKestControl::GetWindowText(wchar_t* buffer, int max) const {
  if (!window_) {
    if (buffer && max > 0) buffer[0] = 0;
    return 0;
  }
  if (!buffer) return GetWindowTextLengthW(window_);
  return ::GetWindowTextW(window_, buffer, max);
}

wchar_t* CKestControl::GetTextCopy() const {
  if (!window_) return nullptr;
  int length = GetWindowTextLengthW(window_);
  if (length < 0) length = 0;
  wchar_t* text = AllocWideString(static_cast<size_t>(length));
  if (!text) return nullptr;
  text[0] = 0;
  ::GetWindowTextW(window_, text, length + 1);
  return text;
}

void CKestControl::SetHint(const wchar_t* text) {
  ReplaceString(&hint_, text);
}

void CKestControl::SetMenu(CKestMenu* menu) {
  if (menu) menu->AddRef();
  CKestMenu* old = menu_;
  menu_ = menu;
  if (window_ && topLevel_) ::SetMenu(window_, menu_ ? menu_->GetHandle() : nullptr);
  if (old) old->Release();
}

void CKestControl::SetFocus() {
  if (window_) ::SetFocus(window_);
}

bool CKestControl::HasFocus() const { return window_ && GetFocus() == window_; }

bool CKestControl::IsEnabled() const { return window_ && IsWindowEnabled(window_); }

void CKestControl::SetVisible(bool visible) {
  if (!window_) return;
  ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
  if (IsChildStyle(window_)) {
    CKestControl* parent = GetControlFromHandle(GetParent(window_));
    if (parent) KestRealignIfContainer(parent);
  }
}

void CKestControl::Invalidate(bool erase) {
  if (!window_) return;
  if (backColor_ == KEST_TRANSPARENT && IsChildStyle(window_)) {
    HWND parent = GetParent(window_);
    if (parent) {
      RECT rect;
      GetWindowRect(window_, &rect);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
      InvalidateRect(parent, &rect, TRUE);
    }
  }
  InvalidateRect(window_, nullptr, erase);
}

RECT CKestControl::GetBounds() const {
  RECT rect = {0, 0, 0, 0};
  if (window_) GetWindowRect(window_, &rect);
  return rect;
}

POINT CKestControl::GetPosition() const {
  RECT rect = GetBounds();
  POINT at = {rect.left, rect.top};
  if (window_ && IsChildStyle(window_)) {
    HWND parent = GetParent(window_);
    if (parent) ScreenToClient(parent, &at);
  }
  return at;
}

SIZE CKestControl::GetSize() const {
  RECT rect = GetBounds();
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int CKestControl::GetWidth() const { return GetSize().cx; }
int CKestControl::GetHeight() const { return GetSize().cy; }

SIZE CKestControl::GetClientSize() {
  RECT rect;
  GetClientArea(&rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int CKestControl::GetClientWidth() { return GetClientSize().cx; }
int CKestControl::GetClientHeight() { return GetClientSize().cy; }

void CKestControl::SetSize(int width, int height) {
  if (window_) SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void CKestControl::SetClientSize(int width, int height) {
  SIZE outer = GetSize();
  SIZE inner = GetClientSize();
  SetSize(outer.cx - inner.cx + width, outer.cy - inner.cy + height);
}
