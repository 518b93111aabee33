#include "kestui/forms/kest_form.h"

#include <vector>

#include "kestui/core/kest_host.h"
#include "kestui/forms/kest_navigation.h"
#include "kestui/hints/kest_hint.h"

CKestForm* MainKestForm = nullptr;

namespace {

// True while form is a live form bound to window.
bool FormAlive(const CKestCustomForm* form, HWND window) {
  return window && FindLiveForm(form) >= 0 && GetControlFromHandle(window) == form;
}

// The system places a maximised popup window that has a menu bar as if the
// bar were part of its frame: the window's top goes up by the bar's height
// more than an overlapped window's, and its caption leaves the screen. The
// forms keep their popup style; the bar's height is given back, so that a
// maximised form lies where an overlapped window of its frame would.
void KeepMaximisedCaptionOnScreen(HWND window, MINMAXINFO* info) {
  if (!info) return;
  LONG style = GetWindowLongW(window, GWL_STYLE);
  if (!(style & WS_POPUP) || (style & WS_CHILD) || !GetMenu(window)) return;
  DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  // The frame the system measures: a caption counts as a dialog frame.
  DWORD measured = static_cast<DWORD>(style);
  if ((measured & WS_CAPTION) == WS_CAPTION) measured &= ~static_cast<DWORD>(WS_BORDER);
  RECT withBar = {0, 0, 0, 0};
  RECT withoutBar = {0, 0, 0, 0};
  if (!AdjustWindowRectEx(&withBar, measured, TRUE, exStyle) ||
      !AdjustWindowRectEx(&withoutBar, measured, FALSE, exStyle))
    return;
  int bar = withoutBar.top - withBar.top;
  if (bar <= 0) return;
  info->ptMaxPosition.y += bar;
  info->ptMaxSize.y -= bar;
}

}  // namespace

CKestForm::~CKestForm() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  accelerators_ = nullptr;
  if (MainKestForm == this) {
    MainKestForm = nullptr;
    PostQuitMessage(0);
  }
}

bool CKestForm::Create(CKestControl* owner, const wchar_t* caption, uint32_t position, int width,
                       int height, CKestMenu* menu, bool sizeable, bool minimizeBox,
                       bool systemMenu, bool captionBar) {
  StartHintTimer();
  DWORD style = sizeable ? 0x82050000 : 0x82000000;
  if (minimizeBox) style |= WS_MINIMIZEBOX;
  if (systemMenu) style |= WS_SYSMENU;
  if (captionBar) style |= WS_CAPTION;
  if (!MainKestForm) MainKestForm = this;
  bool made = CreateControlWindow(exStyle_, nullptr, caption, style, position, width, height,
                                  owner, menu, nullptr);
  ready_ = made;
  return made;
}

void CKestForm::Show(bool maximized) {
  if (!window_) return;
  ShowWindow(window_, maximized ? SW_MAXIMIZE : SW_SHOW);
  UpdateWindow(window_);
}

void CKestForm::PostClose(int result) {
  if (window_) PostMessageW(window_, WM_CLOSE, static_cast<WPARAM>(result), 0);
}

int CKestForm::Run() {
  Show(false);
  HWND self = window_;
  int code = 0;
  MSG msg;
  for (;;) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(msg.wParam);
      break;
    }
    if (got == -1) break;
    PreTranslateKeyMessage(&msg);
    // The main form may be gone already while the last messages drain.
    HACCEL table = FormAlive(this, self) ? accelerators_ : nullptr;
    if (table && TranslateAcceleratorW(self, table, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  StopHintTimer();
  return code;
}

int CKestForm::ShowModal(bool maximized) {
  HWND self = window_;
  if (!self) return 2;

  struct SavedState {
    HWND window;
    bool enabled;
  };
  std::vector<SavedState> saved;
  for (int i = 0; i < LiveForms.count; ++i) {
    CKestCustomForm* form = LiveForms.forms[i];
    if (!form || form == this || !form->GetHandle()) continue;
    saved.push_back({form->GetHandle(), IsWindowEnabled(form->GetHandle()) != FALSE});
  }
  for (const SavedState& state : saved) {
    if (CKestControl* form = GetControlFromHandle(state.window)) form->Enable(false);
  }
  HWND focus = GetFocus();
  HWND owner = GetParent(self);

  ShowWindow(self, maximized ? SW_MAXIMIZE : SW_SHOW);
  SetActiveWindow(self);

  int result = 2;
  MSG msg;
  for (;;) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The application is ending: the outer loop must see the quit too.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      PostMessageW(self, WM_CLOSE, 2, 0);
      continue;
    }
    if (msg.message == WM_KEST_MODALRESULT && msg.hwnd == self) {
      result = static_cast<int>(msg.wParam);
      break;
    }
    PreTranslateKeyMessage(&msg);
    if (accelerators_ && TranslateAcceleratorW(self, accelerators_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    // Destroyed without a result (for example with its owner): nothing
    // would ever end the loop.
    if (!FormAlive(this, self)) break;
  }

  for (const SavedState& state : saved) {
    if (IsWindow(state.window)) EnableWindow(state.window, state.enabled ? TRUE : FALSE);
  }
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  if (focus && IsWindow(focus)) ::SetFocus(focus);
  return result;
}

LRESULT CKestForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      PostMessageW(window_, WM_KEST_MODALRESULT, wParam, 0);
      PostMessageW(window_, WM_KEST_DESTROY, 0, 0);
      return 0;
    case WM_KEST_DESTROY:
      DestroyWindow(window_);  // deletes this object
      return 0;
    case WM_COMMAND:
      if (mdiClient_) {
        LRESULT result = 0;
        if (HandleMDICommand(wParam, &result)) return result;
      }
      break;
    case WM_GETMINMAXINFO: {
      LRESULT result = CKestCustomForm::WindowProc(message, wParam, lParam);
      KeepMaximisedCaptionOnScreen(window_, reinterpret_cast<MINMAXINFO*>(lParam));
      return result;
    }
    default:
      break;
  }
  return CKestCustomForm::WindowProc(message, wParam, lParam);
}

bool CKestForm::HandleMDICommand(WPARAM wParam, LRESULT* result) {
  UINT id = LOWORD(wParam);
  if (id == SC_RESTORE || id == SC_MINIMIZE) {
    CKestControl* child = GetActiveMDIChild();
    if (child) ShowWindow(child->GetHandle(), id == SC_RESTORE ? SW_RESTORE : SW_MINIMIZE);
    return false;
  }
  if (id == MoreWindowsId) {
    ShowWindowList();
    return false;
  }
  if ((id & 0xFF00) == 0xFF00) {
    HWND child = FindMDIChild(static_cast<int>(id));
    if (child) SendMessageW(mdiClient_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    return false;
  }
  if (id >= 0xF000) {
    // The system commands of a maximised child (its buttons in the menu
    // bar): the frame procedure passes them to the child.
    *result = DefaultProc(WM_COMMAND, wParam, 0);
    return true;
  }
  return false;
}

void CKestForm::ShowWindowList() {
  if (!mdiClient_) return;
  HWND self = window_;
  int index = -1;
  bool chosen = GetKestHost()->ChooseMDIWindow(this, &index);
  if (!chosen || !FormAlive(this, self)) return;
  CKestControl* child = GetMDIChildAt(index);
  if (child && child->GetHandle()) {
    SendMessageW(mdiClient_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->GetHandle()), 0);
  }
}

LRESULT CKestForm::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (mdiClient_) {
    if (message == WM_SIZE) return 0;  // Realign sizes the MDI client
    return DefFrameProcW(window_, mdiClient_, message, wParam, lParam);
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void CKestForm::Realign() {
  CKestContainer::Realign();
  if (mdiClient_) {
    SetWindowPos(mdiClient_, HWND_BOTTOM, freeRect_.left, freeRect_.top,
                 freeRect_.right - freeRect_.left, freeRect_.bottom - freeRect_.top,
                 SWP_NOCOPYBITS | SWP_NOACTIVATE);
  }
}

bool CKestForm::CreateMDIClient() {
  if (mdiClient_) return true;
  if (!window_) return false;
  Realign();
  SetBackColor(GetSysColor(COLOR_APPWORKSPACE));
  CLIENTCREATESTRUCT ccs;
  ccs.hWindowMenu = windowMenu_;
  ccs.idFirstChild = FirstMDIChildId;
  mdiClient_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, 0x56320001, freeRect_.left,
                               freeRect_.top, freeRect_.right - freeRect_.left,
                               freeRect_.bottom - freeRect_.top, window_, nullptr,
                               GetModuleHandleW(nullptr), &ccs);
  return mdiClient_ != nullptr;
}

void CKestForm::CascadeChildren() {
  if (mdiClient_) SendMessageW(mdiClient_, WM_MDICASCADE, MDITILE_SKIPDISABLED, 0);
}

void CKestForm::TileChildren() {
  if (mdiClient_) {
    SendMessageW(mdiClient_, WM_MDITILE, MDITILE_HORIZONTAL | MDITILE_SKIPDISABLED, 0);
  }
}

CKestControl* CKestForm::GetActiveMDIChild() const {
  if (!mdiClient_) return nullptr;
  HWND active = reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0));
  return active ? GetControlFromHandle(active) : nullptr;
}

int CKestForm::GetMDIChildCount() const {
  if (!mdiClient_) return 0;
  int count = 0;
  for (HWND w = GetWindow(mdiClient_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++count;
  return count;
}

CKestControl* CKestForm::GetMDIChildAt(int index) const {
  if (!mdiClient_ || index < 0) return nullptr;
  for (HWND w = GetWindow(mdiClient_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (index-- == 0) return GetControlFromHandle(w);
  }
  return nullptr;
}

HWND CKestForm::FindMDIChild(int id) const {
  if (!mdiClient_) return nullptr;
  for (HWND w = GetWindow(mdiClient_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindowLongPtrW(w, GWLP_ID) == id) return w;
  }
  return nullptr;
}

