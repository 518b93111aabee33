#include "kestui/kest_panel.h"

#include <algorithm>
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "kestui/kest_draw.h"

namespace {

// Background of a parent widget, for colours derived from it.
COLORREF ParentBackColor(CKestControl* parent) {
  if (parent && parent->GetBackColor() != KEST_TRANSPARENT) return parent->GetBackColor();
  return GetSysColor(COLOR_BTNFACE);
}

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

}  // namespace

// ---------------------------------------------------------------------------
// CKestPanel

CKestPanel::CKestPanel(CKestContainer* container, int8_t bevel, uint32_t position, int width,
                       int height, bool header, bool flat)
    : bevel_(bevel), flat_(flat) {
  bool toolBar = header && height < ToolBarHeightLimit;
  borderWidth_ = toolBar ? 1 : 4;
  if (!CreateControlWindow(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, position,
                           width, height, container, nullptr, nullptr)) {
    return;
  }
  if (header) {
    COLORREF base = ParentBackColor(container);
    SetGradient(true, BlendColors(base, Black, 64));
    SetBackColor(BlendColors(base, White, 128));
    Invalidate(true);
  }
  if (toolBar) {
    if (KestFlowLayout* flow = GetFlowLayout()) {
      flow->gap = 0;
      flow->cursorX += 8;
    }
  }
}

void CKestPanel::DrawFrame(HDC dc) {
  if (!window_ || !dc) return;
  COLORREF first, second;
  if (flat_) {
    first = second = BlendColors(backColor_, White, 192);
  } else if (bevel_ > 0) {
    first = BlendColors(backColor_, White, 192);
    second = BlendColors(backColor_, Black, 192);
  } else if (bevel_ < 0) {
    first = BlendColors(backColor_, Black, 192);
    second = BlendColors(backColor_, White, 192);
  } else {
    return;
  }
  RECT rect;
  GetClientRect(window_, &rect);
  InflateRect(&rect, -1, -1);
  HPEN firstPen = CreatePen(PS_SOLID, 1, first);
  HPEN secondPen = CreatePen(PS_SOLID, 1, second);
  if (firstPen && secondPen) {
    HGDIOBJ old = SelectObject(dc, firstPen);
    MoveToEx(dc, 0, rect.bottom, nullptr);
    LineTo(dc, 0, 0);
    LineTo(dc, rect.right, 0);
    SelectObject(dc, secondPen);
    LineTo(dc, rect.right, rect.bottom);
    LineTo(dc, 0, rect.bottom);
    SelectObject(dc, old);
  }
  if (firstPen) DeleteObject(firstPen);
  if (secondPen) DeleteObject(secondPen);
}

LRESULT CKestPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    CKestContainer::WindowProc(message, wParam, lParam);
    DrawFrame(reinterpret_cast<HDC>(wParam));
    return 1;
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// CKestGroupBox

CKestGroupBox::CKestGroupBox(CKestContainer* container, const wchar_t* caption,
                             uint32_t position, int width, int height) {
  CreateGroupWindow(container, caption, position, width, height);
}

bool CKestGroupBox::CreateGroupWindow(CKestContainer* container, const wchar_t* caption,
                                      uint32_t position, int width, int height) {
  return CreateControlWindow(0, nullptr, caption, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                             position, width, height, container, nullptr, nullptr);
}

int CKestGroupBox::CaptionHeight() {
  int cy = 0;
  if (HDC dc = GetDC(nullptr)) {
    HGDIOBJ old = font_ && font_->GetHandle() ? SelectObject(dc, font_->GetHandle()) : nullptr;
    SIZE size = {};
    if (GetTextExtentPoint32W(dc, L"A", 1, &size)) cy = size.cy;
    if (old) SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  return std::max(cy, 4);
}

void CKestGroupBox::GetClientArea(RECT* rect) {
  if (!rect) return;
  if (!window_ || !GetClientRect(window_, rect)) {
    SetRectEmpty(rect);
    return;
  }
  int cy = CaptionHeight();
  rect->top += cy + 8;
  rect->left += 8;
  rect->right -= 8;
  rect->bottom -= 8;
}

void CKestGroupBox::Paint(HDC dc) {
  RECT rect;
  GetClientRect(window_, &rect);
  wchar_t* caption = GetTextCopy();
  HGDIOBJ oldFont = font_ && font_->GetHandle() ? SelectObject(dc, font_->GetHandle()) : nullptr;
  int length = caption ? static_cast<int>(wcslen(caption)) : 0;
  SIZE size = {};
  GetTextExtentPoint32W(dc, length ? caption : L"A", length ? length : 1, &size);
  int cy = std::max(static_cast<int>(size.cy), 4);
  COLORREF light = BlendColors(backColor_, White, 128);
  COLORREF dark = BlendColors(backColor_, Black, 90);
  Draw3DFrame(dc, rect.left + 2, cy / 2 - 1, rect.right - 2, rect.bottom - 2, KEST_TRANSPARENT,
              dark, light);
  Draw3DFrame(dc, rect.left + 3, cy / 2, rect.right - 3, rect.bottom - 3, KEST_TRANSPARENT, light,
              dark);
  if (length) {
    ::SetTextColor(dc, textColor_);
    SetBkColor(dc, backColor_);
    TextOutW(dc, rect.left + 16, rect.top, caption, length);
  }
  if (oldFont) SelectObject(dc, oldFont);
  FreeBuffer(caption);
}

LRESULT CKestGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && window_) {
    PaintWindow(window_, [this](HDC dc) { Paint(dc); });
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}

bool GetGroupItemCell(const RECT& area, int count, int columns, int index, RECT* cell) {
  if (!cell || count <= 0 || index < 0 || index >= count) return false;
  columns = std::max(columns, 1);
  int rows = (count + columns - 1) / columns;
  int w = area.right - area.left;
  int h = area.bottom - area.top;
  int row = index / columns;
  int column = index % columns;
  cell->left = area.left + w * column / columns;
  cell->top = area.top + h * row / rows;
  cell->right = cell->left + w / columns;
  cell->bottom = cell->top + h / rows;
  return true;
}

// ---------------------------------------------------------------------------
// Item groups

CKestItemGroupBox::CKestItemGroupBox(CKestContainer* container, int id, const wchar_t* caption,
                                     uint32_t position, int width, int height,
                                     bool moveWithRepaint)
    : id_(id), moveWithRepaint_(moveWithRepaint) {
  if (CreateGroupWindow(container, caption, position, width, height)) {
    SetWindowLongW(window_, GWL_ID, id);
  }
}

CKestItemGroupBox::~CKestItemGroupBox() { FreeBuffer(items_); }

CKestTitleControl* CKestItemGroupBox::GetItemControl(int index) const {
  return index >= 0 && index < count_ ? items_[index] : nullptr;
}

int CKestItemGroupBox::AppendItem(CKestTitleControl* item) {
  if (!item) return -1;
  if (!item->GetHandle()) {
    delete item;
    return -1;
  }
  if (!ResizeSteppedArray(&items_, count_, count_ + 1)) {
    delete item;
    return -1;
  }
  items_[count_++] = item;
  if (hold_ <= 0) {
    hold_ = 0;
    LayoutItems();
  }
  return count_ - 1;
}

void CKestItemGroupBox::EndUpdate() {
  --hold_;
  if (hold_ >= 1) return;
  hold_ = 0;
  LayoutItems();
}

void CKestItemGroupBox::LayoutItems() {
  columns = std::max(columns, 1);
  if (!window_) return;
  RECT area;
  GetClientArea(&area);
  for (int i = 0; i < count_; ++i) {
    RECT cell;
    HWND item = items_[i] ? items_[i]->GetHandle() : nullptr;
    if (!item || !GetGroupItemCell(area, count_, columns, i, &cell)) continue;
    int w = cell.right - cell.left, h = cell.bottom - cell.top;
    if (moveWithRepaint_) {
      MoveWindow(item, cell.left, cell.top, w, h, TRUE);
    } else {
      SetWindowPos(item, nullptr, cell.left, cell.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

LRESULT CKestItemGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A resize lays the items out again, but does not end a pending update.
  if (message == WM_SIZE && hold_ <= 0) LayoutItems();
  return CKestGroupBox::WindowProc(message, wParam, lParam);
}

CKestCheckGroupBox::CKestCheckGroupBox(CKestContainer* container, int id, const wchar_t* caption,
                                       uint32_t position, int width, int height)
    : CKestItemGroupBox(container, id, caption, position, width, height, false) {}

int CKestCheckGroupBox::AddItem(const wchar_t* caption) {
  if (!window_) return -1;
  return AppendItem(new CKestCheckBox(this, caption, false, id_, 0, 100, 18, nullptr));
}

CKestCheckBox* CKestCheckGroupBox::GetItem(int index) const {
  return static_cast<CKestCheckBox*>(GetItemControl(index));
}

bool CKestCheckGroupBox::IsItemChecked(int index) const {
  CKestCheckBox* item = GetItem(index);
  return item && item->IsChecked();
}

void CKestCheckGroupBox::SetItemChecked(int index, bool checked) {
  if (CKestCheckBox* item = GetItem(index)) item->SetChecked(checked);
}

CKestRadioGroupBox::CKestRadioGroupBox(CKestContainer* container, int id, const wchar_t* caption,
                                       uint32_t position, int width, int height)
    : CKestItemGroupBox(container, id, caption, position, width, height, true) {}

int CKestRadioGroupBox::AddItem(const wchar_t* caption) {
  if (!window_) return -1;
  return AppendItem(new CKestRadio(this, caption, id_, 0, 100, 18, nullptr));
}

CKestRadio* CKestRadioGroupBox::GetItem(int index) const {
  return static_cast<CKestRadio*>(GetItemControl(index));
}

int CKestRadioGroupBox::GetItemIndex() const {
  for (int i = 0; i < count_; ++i) {
    if (items_[i] && GetItem(i)->IsChecked()) return i;
  }
  return -1;
}

void CKestRadioGroupBox::SetItemIndex(int index) {
  if (CKestRadio* item = GetItem(index)) item->Click();
}
