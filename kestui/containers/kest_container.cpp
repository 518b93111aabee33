#include "kestui/containers/kest_container.h"

#include <algorithm>
#include <new>

#include "kestui/core/kest_widget_helpers.h"

CKestContainer::CKestContainer() {
  freeRect_.left = 0;
  freeRect_.top = 0;
  freeRect_.right = 1000;
  freeRect_.bottom = 1000;
}

CKestContainer::~CKestContainer() { FreeFlowLayout(); }

void CKestContainer::GetClientArea(RECT* rect) {
  if (!rect) return;
  if (!window_ || !GetClientRect(window_, rect)) SetRectEmpty(rect);
  InflateRect(rect, -borderWidth_, -borderWidth_);
}

LRESULT CKestContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Realign();
      break;
    case WM_KEST_ENDLAYOUT: {
      FreeFlowLayout();
      if (!window_) return 0;
      for (HWND child = GetWindow(window_, GW_CHILD); child;
           child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) {
          SendMessageW(child, WM_KEST_ENDLAYOUT, 0, 0);
        }
      }
      return 0;
    }
    default:
      break;
  }
  return CKestControl::WindowProc(message, wParam, lParam);
}

void CKestContainer::Realign() {
  RECT area;
  GetClientArea(&area);
  int w = area.right - area.left;
  int h = area.bottom - area.top;
  int dx = w - previousWidth_;
  int dy = h - previousHeight_;
  int hx = w / 2 - previousWidth_ / 2;
  int hy = h / 2 - previousHeight_ / 2;
  previousWidth_ = w;
  previousHeight_ = h;
  if (!window_) return;

  int left = area.left, top = area.top, right = area.right, bottom = area.bottom;

  // Docking: each docked child takes a strip of what the earlier ones left.
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    CKestControl* widget = GetControlFromHandle(child);
    if (!widget) continue;
    RECT r;
    GetWindowRect(child, &r);
    int cw = r.right - r.left, ch = r.bottom - r.top;
    switch (widget->GetPositionCode()) {
      case KEST_POS_TOP:
        MoveWindow(child, left, top, right - left, ch, TRUE);
        top += ch;
        break;
      case KEST_POS_LEFT:
        MoveWindow(child, left, top, cw, bottom - top, TRUE);
        left += cw;
        break;
      case KEST_POS_RIGHT:
        MoveWindow(child, right - cw, top, cw, bottom - top, TRUE);
        right -= cw;
        break;
      case KEST_POS_BOTTOM:
        MoveWindow(child, left, bottom - ch, right - left, ch, TRUE);
        bottom -= ch;
        break;
      default:
        break;
    }
  }

  // Client: the first visible client child fills the rest.
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    CKestControl* widget = GetControlFromHandle(child);
    if (!widget || widget->GetPositionCode() != KEST_POS_CLIENT) continue;
    MoveWindow(child, left, top, std::max(0, right - left), std::max(0, bottom - top), TRUE);
    break;
  }

  // Anchors: every child follows the container's edges.
  if (dx != 0 || dy != 0 || hx != 0 || hy != 0) {
    for (HWND child = GetWindow(window_, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      CKestControl* widget = GetControlFromHandle(child);
      if (!widget) continue;
      uint8_t anchors = widget->GetAnchors();
      if (anchors == 0) continue;
      RECT r = ChildRect(window_, child);
      int x = r.left, y = r.top, cw = r.right - r.left, ch = r.bottom - r.top;
      UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
      if (dx != 0) {
        if ((anchors & KEST_ANCHOR_LEFT) && (anchors & KEST_ANCHOR_RIGHT)) {
          cw += dx;
          flags &= ~SWP_NOSIZE;
        } else if (anchors & KEST_ANCHOR_RIGHT) {
          x += dx;
          flags &= ~SWP_NOMOVE;
        }
      }
      if (hx != 0 && (anchors & KEST_ANCHOR_HCENTER)) {
        x += hx;
        flags &= ~SWP_NOMOVE;
      }
      if (dy != 0) {
        if ((anchors & KEST_ANCHOR_TOP) && (anchors & KEST_ANCHOR_BOTTOM)) {
          ch += dy;
          flags &= ~SWP_NOSIZE;
        } else if (anchors & KEST_ANCHOR_BOTTOM) {
          y += dy;
          flags &= ~SWP_NOMOVE;
        }
      }
      if (hy != 0 && (anchors & KEST_ANCHOR_VCENTER)) {
        y += hy;
        flags &= ~SWP_NOMOVE;
      }
      if ((flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
        SetWindowPos(child, nullptr, x, y, std::max(0, cw), std::max(0, ch),
                     flags | SWP_NOACTIVATE);
      }
    }
  }

  freeRect_.left = left;
  freeRect_.top = top;
  freeRect_.right = right;
  freeRect_.bottom = bottom;
}

KestFlowLayout* CKestContainer::GetFlowLayout() {
  if (!flow_) {
    Realign();
    flow_ = new (std::nothrow) KestFlowLayout(this, freeRect_);
  }
  return flow_;
}

void CKestContainer::NewFlowRow() {
  if (KestFlowLayout* flow = GetFlowLayout()) flow->NewRow();
}

void CKestContainer::NewFlowColumn(int width) {
  if (KestFlowLayout* flow = GetFlowLayout()) flow->NewColumn(width);
}

void CKestContainer::AdvanceFlow(int dx) {
  if (KestFlowLayout* flow = GetFlowLayout()) flow->Advance(dx);
}

void CKestContainer::BeginCenteredRows() {
  if (KestFlowLayout* flow = GetFlowLayout()) flow->BeginCenteredRows();
}

void CKestContainer::CenterFlowRows() {
  if (KestFlowLayout* flow = GetFlowLayout()) flow->CenterRows();
}

void CKestContainer::FreeFlowLayout() {
  delete flow_;
  flow_ = nullptr;
}

void CKestContainer::SetBorderWidth(int width) {
  borderWidth_ = width;
  Realign();
}

CKestContainer* GetContainerFromHandle(HWND window) {
  return dynamic_cast<CKestContainer*>(GetControlFromHandle(window));
}
