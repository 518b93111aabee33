#include "kestui/containers/kest_item_group_box.h"

#include <algorithm>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

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
