#include "kestui/forms/kest_navigation.h"

#include "kestui/core/kest_control.h"
#include "kestui/core/kest_messages.h"

namespace {

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// The dialog code of a window. lParam stays 0: with a MSG pointer an edit
// control switches to dialog behaviour and closes its parent on Esc.
LRESULT DialogCode(HWND window, WPARAM key) {
  return window ? SendMessageW(window, WM_GETDLGCODE, key, 0) : 0;
}

bool IsKeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// A form inside another window (an MDI child): the searches of its parent's
// form do not enter it.
bool IsNestedForm(HWND window) {
  CKestControl* control = GetControlFromHandle(window);
  return control && control->IsTopLevel() && IsChildWindow(window);
}

}  // namespace

HWND GetNavigationForm(HWND window) {
  HWND form = window ? GetOwnerFormWindow(window) : nullptr;
  return form ? form : GetActiveWindow();
}

bool IsChildWindow(HWND window) { return window && (StyleOf(window) & WS_CHILD) != 0; }

bool IsTabStopWindow(HWND window) {
  if (!window) return false;
  LONG style = StyleOf(window);
  const LONG wanted = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  if ((style & wanted) != wanted) return false;
  if (style & (WS_BORDER | WS_DLGFRAME)) return false;
  return (style & WS_DISABLED) == 0;
}

HWND FindTabStop(HWND window, bool forward, bool skip) {
  if (!window) return nullptr;
  // Hidden or disabled windows take their children with them.
  const LONG style = StyleOf(window);
  if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) return nullptr;
  if (!skip && IsTabStopWindow(window)) return window;
  HWND child = GetWindow(window, GW_CHILD);
  if (child && !forward) child = GetWindow(child, GW_HWNDLAST);
  const UINT step = forward ? GW_HWNDNEXT : GW_HWNDPREV;
  for (; child; child = GetWindow(child, step)) {
    if (!skip && !IsNestedForm(child)) {
      HWND found = FindTabStop(child, forward, false);
      if (found) return found;
    }
    skip = false;
  }
  return nullptr;
}

HWND FindTabStopFrom(HWND start, bool forward, bool skip) {
  if (!start) return nullptr;
  // The search stays inside the form it starts in: never the form's own
  // siblings (other MDI children) nor the windows around it.
  HWND form = GetOwnerFormWindow(start);
  if (start == form) return FindTabStop(start, forward, skip);
  const UINT step = forward ? GW_HWNDNEXT : GW_HWNDPREV;
  HWND level = start;
  HWND window = start;
  for (;;) {
    for (; window; window = GetWindow(window, step)) {
      HWND found = IsNestedForm(window) ? nullptr : FindTabStop(window, forward, skip);
      skip = false;
      if (found) return found;
      // The siblings of a top-level window are other programs' windows.
      if (!IsChildWindow(window)) return nullptr;
    }
    HWND parent = GetParent(level);
    if (!parent || parent == form || !IsChildWindow(parent)) return nullptr;
    level = parent;
    window = GetWindow(parent, step);
  }
}

HWND GetNextTabStop(HWND focused) {
  HWND found = focused ? FindTabStopFrom(focused, true, true) : nullptr;
  if (found) return found;
  // Wraps around inside the form that holds the focus.
  HWND form = GetNavigationForm(focused);
  HWND first = form ? GetWindow(form, GW_CHILD) : nullptr;
  return first ? FindTabStopFrom(first, true, false) : nullptr;
}

HWND GetPrevTabStop(HWND focused) {
  HWND found = focused ? FindTabStopFrom(focused, false, true) : nullptr;
  if (found) return found;
  HWND form = GetNavigationForm(focused);
  HWND first = form ? GetWindow(form, GW_CHILD) : nullptr;
  HWND last = first ? GetWindow(first, GW_HWNDLAST) : nullptr;
  return last ? FindTabStopFrom(last, false, false) : nullptr;
}

HWND FindDefaultButton(HWND window) {
  if (!window || !IsWindowVisible(window) || !IsWindowEnabled(window)) return nullptr;
  if (DialogCode(window, VK_RETURN) & DLGC_DEFPUSHBUTTON) return window;
  HWND child = GetWindow(window, GW_CHILD);
  if (!IsChildWindow(child)) return nullptr;
  for (; child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsNestedForm(child)) continue;  // another form's buttons
    HWND found = FindDefaultButton(child);
    if (found) return found;
  }
  return nullptr;
}

void PreTranslateKeyMessage(MSG* message) {
  if (!message) return;
  const UINT code = message->message;
  const bool down = code == WM_KEYDOWN || code == WM_SYSKEYDOWN;
  const bool up = code == WM_KEYUP || code == WM_SYSKEYUP;
  if (!down && !up) return;
  const WPARAM key = message->wParam;

  if (up) {
    if (key == VK_TAB) return;
    HWND owner = GetOwnerFormWindow(message->hwnd);
    if (owner && owner != message->hwnd) {
      SendMessageW(owner, WM_KEST_KEYUP, key, reinterpret_cast<LPARAM>(message->hwnd));
    }
    return;
  }

  if (key == VK_TAB) {
    HWND focused = GetFocus();
    if (DialogCode(focused, VK_TAB) & DLGC_WANTTAB) return;
    message->message = WM_NULL;
    HWND next = IsKeyDown(VK_SHIFT) ? GetPrevTabStop(focused) : GetNextTabStop(focused);
    if (next) SetFocus(next);
    return;
  }

  HWND owner = GetOwnerFormWindow(message->hwnd);
  if (owner && owner != message->hwnd) {
    SendMessageW(owner, WM_KEST_KEYDOWN, key, reinterpret_cast<LPARAM>(message->hwnd));
  }
  if (key != VK_RETURN) return;
  HWND focused = GetFocus();
  if (DialogCode(focused, VK_RETURN) & (DLGC_WANTALLKEYS | DLGC_BUTTON)) return;
  // The default button of the form that holds the focus (an MDI child's own,
  // never another child's or the frame's).
  HWND button = FindDefaultButton(GetNavigationForm(focused));
  if (!button) return;
  SendMessageW(GetOwnerFormWindow(button), WM_COMMAND,
               static_cast<WPARAM>(GetWindowLongW(button, GWL_ID) & 0xFFFF),
               reinterpret_cast<LPARAM>(button));
  message->message = WM_NULL;
}
