#include "kestui/containers/kest_tabs.h"

#include <windowsx.h>

#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_window_dc.h"

CKestTabControl::CKestTabControl(CKestContainer* container, bool ownsPages, int id, int width,
                                 int height, uint32_t position)
    : ownsPages_(ownsPages) {
  faceColor = GetSysColor(COLOR_BTNFACE);
  selectedColor = BlendColors(faceColor, RGB(255, 255, 255), 200);
  otherColor = BlendColors(faceColor, RGB(255, 255, 255), 80);
  lineColor = BlendColors(faceColor, RGB(0, 0, 0), 128);
  backColor_ = selectedColor;
  borderWidth_ = 1;
  if (CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, position,
                          width, height, container, nullptr, nullptr)) {
    SetWindowLongW(window_, GWL_ID, id);
  }
}

CKestTabControl::~CKestTabControl() {
  // A page whose window went first has deleted itself already; only pages
  // still bound to a child window are deleted here.
  if (ownsPages_ && pages_ && window_) {
    for (int i = 0; i < count_; ++i) {
      for (HWND child = GetWindow(window_, GW_CHILD); child;
           child = GetWindow(child, GW_HWNDNEXT)) {
        if (pages_[i] && GetControlFromHandle(child) == pages_[i]) {
          delete pages_[i];
          break;
        }
      }
    }
  }
  for (int i = 0; i < count_ && captions_; ++i) FreeBuffer(captions_[i]);
  FreeBuffer(captions_);
  FreeBuffer(pages_);
  FreeBuffer(edges_);
}

void CKestTabControl::GetClientArea(RECT* rect) {
  if (!rect) return;
  CKestContainer::GetClientArea(rect);
  rect->top += tabHeight_ + 3;
  rect->bottom -= 1;
}

const wchar_t* CKestTabControl::GetCaption(int index) const {
  return index >= 0 && index < count_ ? captions_[index] : nullptr;
}

int CKestTabControl::GetTabRightEdge(int index) const {
  return index >= 0 && index < count_ ? edges_[index] : -1;
}

CKestContainer* CKestTabControl::GetPage(int index) const {
  return ownsPages_ && index >= 0 && index < count_ ? pages_[index] : nullptr;
}

int CKestTabControl::AddTab(const wchar_t* caption) {
  int n = count_ + 1;
  // The new slots come zeroed (no caption, edge 0, no page).
  if (!ResizeSteppedArray(&captions_, count_, n)) return -1;
  if (!ResizeSteppedArray(&edges_, count_, n)) return -1;
  if (ownsPages_ && !ResizeSteppedArray(&pages_, count_, n)) return -1;
  count_ = n;
  int index = n - 1;

  if (ownsPages_ && window_) {
    RECT area;
    GetClientArea(&area);
    auto* page = new CKestContainer();
    page->SetBackColor(backColor_);
    page->CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_CLIPCHILDREN, KEST_POS_CLIENT,
                              area.right - area.left, area.bottom - area.top, this, nullptr,
                              nullptr);
    if (page->GetHandle()) {
      pages_[index] = page;
    } else {
      delete page;
    }
  }
  if (caption) captions_[index] = DupString(caption);
  // The hit test must never meet an edge that was not measured.
  ComputeEdges(nullptr);

  if (count_ > 0 && selected_ < 0) {
    SelectTab(0);
  } else {
    Invalidate(true);
  }
  return index;
}

void CKestTabControl::SelectTab(int index) {
  if (index < -1 || index >= count_) return;
  if (ownsPages_ && selected_ >= 0 && selected_ < count_ && pages_[selected_]) {
    ShowWindow(pages_[selected_]->GetHandle(), SW_HIDE);
  }
  selected_ = index;
  if (ownsPages_ && selected_ >= 0 && pages_[selected_]) {
    ShowWindow(pages_[selected_]->GetHandle(), SW_SHOW);
    Realign();
  }
  Invalidate(true);
}

int CKestTabControl::HitTest(int x, int y) const {
  if (y <= 2 || y > tabHeight_ + 3 || x < 0) return -1;
  for (int i = 0; i < count_; ++i) {
    if (edges_[i] > x) return i;
  }
  return -1;
}

int CKestTabControl::TabWidth(HDC dc, int index) const {
  SIZE size = {};
  const wchar_t* caption = captions_[index];
  if (caption && *caption) {
    GetTextExtentPoint32W(dc, caption, static_cast<int>(wcslen(caption)), &size);
  }
  // Slant, caption and right margin: the step from one tab's x to the next.
  int ht = tabHeight_;
  int c = ht / 3 + size.cx;
  return ht + c - ht / 2 + 8;
}

void CKestTabControl::ComputeEdges(HDC dc) {
  if (count_ == 0) return;
  if (!dc) {
    // Measured on the screen; without one the widths are estimated.
    CKestWindowDC screen(nullptr);
    if (screen) {
      ComputeEdges(screen.Get());
      return;
    }
  }
  CKestDcSelection selection(dc);
  if (font_ && font_->GetHandle()) selection.Select(font_->GetHandle());
  RECT client = {};
  if (window_) GetClientRect(window_, &client);
  int x = client.left + tabHeight_ / 2;
  for (int i = 0; i < count_; ++i) {
    x += dc ? TabWidth(dc, i) : tabHeight_ - tabHeight_ / 2 + tabHeight_ / 3 + 8;
    edges_[i] = x;
  }
}

void CKestTabControl::Paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  const int ht = tabHeight_;
  const int t = client.top;
  const int b = t + ht + 3;
  // The owned objects outlive the selection, which puts the DC's own back
  // first.
  CKestOwnedBrush face(CreateSolidBrush(faceColor));
  CKestOwnedBrush selectedBrushObject(CreateSolidBrush(selectedColor));
  CKestOwnedBrush otherBrushObject(CreateSolidBrush(otherColor));
  CKestOwnedPen lineObject(CreatePen(PS_SOLID, 1, lineColor));
  CKestDcSelection selection(dc);
  if (font_ && font_->GetHandle()) selection.Select(font_->GetHandle());
  if (face) FillRectWithBrush(dc, client.left, t, client.right, b, face.Get());
  if (!selectedBrushObject || !otherBrushObject || !lineObject) return;
  HBRUSH selectedBrush = selectedBrushObject.Get();
  HBRUSH otherBrush = otherBrushObject.Get();
  HPEN line = lineObject.Get();
  int oldMode = SetBkMode(dc, TRANSPARENT);
  selection.Select(line);
  selection.Select(otherBrush);

  int x = client.left + ht / 2;
  for (int i = 0; i < count_; ++i) {
    const wchar_t* caption = captions_[i];
    int length = caption ? static_cast<int>(wcslen(caption)) : 0;
    SIZE text = {};
    GetTextExtentPoint32W(dc, length ? caption : L"A", length ? length : 1, &text);
    int w = length ? text.cx : 0;
    int c = ht / 3 + w;
    int right = x + ht + c - ht / 2 + 8;
    POINT points[7];
    int n = 0;
    if (i == 0 || i == selected_) {
      points[n++] = {x - ht / 2, b};
    } else {
      points[n++] = {x, b};
      points[n++] = {x, t + ht / 2 + 3};
    }
    points[n++] = {x + ht - ht / 2 - 2, t + 5};
    points[n++] = {x + ht - ht / 2 + 1, t + 3};
    points[n++] = {right - 2, t + 3};
    points[n++] = {right, t + 5};
    points[n++] = {right, b};
    if (i == selected_) {
      SelectObject(dc, GetStockObject(NULL_PEN));
      SelectObject(dc, selectedBrush);
      Polygon(dc, points, n);
      SelectObject(dc, line);
      Polyline(dc, points, n);
      FillRectWithBrush(dc, points[0].x + 1, b, points[n - 1].x, b + 1, selectedBrush);
      SelectObject(dc, otherBrush);
      ::SetTextColor(dc, selectedTextColor);
    } else {
      Polygon(dc, points, n);
      ::SetTextColor(dc, otherTextColor);
    }
    if (length) TextOutW(dc, x + ht / 2 + 4, t + (ht - text.cy) / 2 + 3, caption, length);
    x = right;
    edges_[i] = right;
  }
  MoveToEx(dc, x, ht + 3, nullptr);
  LineTo(dc, client.right, ht + 3);
  MoveToEx(dc, 0, client.bottom - 1, nullptr);
  LineTo(dc, client.right, client.bottom - 1);

  SetBkMode(dc, oldMode);
}

LRESULT CKestTabControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      HWND window = window_;
      int i = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (i >= 0 && i != selected_) {
        SelectTab(i);
        SendMessageW(GetOwnerFormWindow(window), WM_COMMAND,
                     static_cast<WPARAM>(GetWindowLongW(window, GWL_ID) & 0xFFFF),
                     reinterpret_cast<LPARAM>(window));
        if (GetControlFromHandle(window) != this) return 0;
      }
      break;
    }
    case WM_LBUTTONUP: {
      // The base Click only counts releases over the page area; a release
      // over the tab strip is inside the control too.
      HWND window = window_;
      LRESULT result = CKestContainer::WindowProc(message, wParam, lParam);
      if (GetControlFromHandle(window) == this) {
        RECT client, area;
        GetClientRect(window, &client);
        GetClientArea(&area);
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (PtInRect(&client, at) && !PtInRect(&area, at)) Click();
      }
      return result;
    }
    case WM_PAINT: {
      PaintWindow(window_, [this](HDC dc) { Paint(dc); });
      return 0;
    }
    default:
      break;
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}
