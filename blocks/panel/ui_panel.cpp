#include "blocks/panel/ui_panel.h"

#include <cwchar>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/panel/be_ui_control.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/velk_ui_control.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_canvas.h"

namespace {

bool ModifierHeld() {
  return (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

int CursorForHit(const CVelkUIControl* item, int code) {
  if (!item) return KestCursorArrow;
  switch (code) {
    case CVelkUIControl::kHitBody: return item->selected ? KestCursorMove : KestCursorHand;
    case CVelkUIControl::kHitTopLeft: case CVelkUIControl::kHitBottomRight: return KestCursorSizeNwSe;
    case CVelkUIControl::kHitTop: case CVelkUIControl::kHitBottom: return KestCursorSizeNs;
    case CVelkUIControl::kHitTopRight: case CVelkUIControl::kHitBottomLeft: return KestCursorSizeNeSw;
    case CVelkUIControl::kHitRight: case CVelkUIControl::kHitLeft: return KestCursorSizeWe;
    case CVelkUIControl::kHitLineStart: case CVelkUIControl::kHitLineEnd: return KestCursorCross;
    default: return KestCursorArrow;
  }
}

// The class id of the user-interface block that belongs to an item's kind;
// 0 when the kind has none.
unsigned int BlockClassOfKind(const wchar_t* kindName) {
  const UiItemKind* kind = FindPanelItemKind(kindName);
  return kind ? kind->blockClassId : 0;
}

// The first device block, from the head, of that class with that caption.
CBEBlock* FindItemBlock(BeScheme* scheme, const wchar_t* name, unsigned int classId) {
  if (!scheme || !name || classId == 0) return nullptr;
  for (CBEBlock* b = scheme->blocks; b; b = b->next) {
    if (b->IsDevice() && b->caption && wcscmp(b->caption, name) == 0 && b->GetClassId() == classId &&
        dynamic_cast<CBEUIControl*>(b))
      return b;
  }
  return nullptr;
}
}  // namespace

UiPanel::UiPanel(BeScheme* owner) : scheme(owner) {}

UiPanel::~UiPanel() { DeleteAll(); }

void UiPanel::DeleteAll() {
  while (items) delete items;  // each item unlinks itself
}

void UiPanel::Unlink(CVelkUIControl* item) {
  if (item->previous) item->previous->next = item->next;
  if (item->next) item->next->previous = item->previous;
  if (items == item) items = item->next;
  item->previous = item->next = nullptr;
}

void UiPanel::LinkAtEnd(CVelkUIControl* item) {
  CVelkUIControl* tail = Tail();
  item->next = nullptr;
  item->previous = tail;
  if (tail) tail->next = item;
  else items = item;
}

void UiPanel::LinkAtHead(CVelkUIControl* item) {
  item->previous = nullptr;
  item->next = items;
  if (items) items->previous = item;
  items = item;
}

CVelkUIControl* UiPanel::Tail() const {
  CVelkUIControl* item = items;
  while (item && item->next) item = item->next;
  return item;
}

int UiPanel::ItemCount() const {
  int n = 0;
  for (CVelkUIControl* item = items; item; item = item->next) ++n;
  return n;
}

HWND UiPanel::CanvasWindow() const { return canvas ? canvas->GetHandle() : nullptr; }

void UiPanel::InvalidateCanvas() {
  HWND window = CanvasWindow();
  if (window) InvalidateRect(window, nullptr, TRUE);
}

void UiPanel::ForgetCanvas(CKestCanvas* closing) {
  if (canvas == closing) canvas = nullptr;
}

CVelkUIControl* UiPanel::FindItemByName(const wchar_t* text) const {
  if (!text) return nullptr;
  for (CVelkUIControl* item = items; item; item = item->next)
    if (item->name && wcscmp(item->name, text) == 0) return item;
  return nullptr;
}

bool UiPanel::IsDeviceCaption(const wchar_t* text) const {
  return text && scheme && scheme->FindDeviceBlock(text);
}

CVelkUIControl* UiPanel::HitTestItems(int px, int py, int* code) const {
  for (CVelkUIControl* item = Tail(); item; item = item->previous) {
    int hit = item->HitTest(px, py);
    if (hit != CVelkUIControl::kHitNone) {
      if (code) *code = hit;
      return item;
    }
  }
  if (code) *code = CVelkUIControl::kHitNone;
  return nullptr;
}

bool UiPanel::AnySelected() const {
  for (CVelkUIControl* item = items; item; item = item->next)
    if (item->selected) return true;
  return false;
}

void UiPanel::SetAllSelected(bool flag) {
  bool changed = false;
  for (CVelkUIControl* item = items; item; item = item->next) {
    if ((item->selected != 0) != flag) changed = true;
    item->selected = flag ? 1 : 0;
  }
  if (changed) InvalidateCanvas();
}

void UiPanel::DeleteSelected() {
  CVelkUIControl* item = items;
  while (item) {
    CVelkUIControl* following = item->next;
    if (item->selected) delete item;
    item = following;
  }
}

void UiPanel::MoveSelectedToTop() {
  // Walk the original order once; every selected item goes to the end.
  int n = ItemCount();
  CVelkUIControl* item = items;
  for (int i = 0; i < n && item; ++i) {
    CVelkUIControl* following = item->next;
    if (item->selected) {
      Unlink(item);
      LinkAtEnd(item);
    }
    item = following;
  }
}

void UiPanel::MoveSelectedToBottom() {
  // Walk from the end; every selected item goes to the head, so the
  // selected keep their order among themselves.
  int n = ItemCount();
  CVelkUIControl* item = Tail();
  for (int i = 0; i < n && item; ++i) {
    CVelkUIControl* before = item->previous;
    if (item->selected) {
      Unlink(item);
      LinkAtHead(item);
    }
    item = before;
  }
}

void UiPanel::MoveSelectedUp() {
  // From the end toward the head: an unselected item with a selected run
  // before it changes places with the whole run.
  CVelkUIControl* item = Tail();
  while (item) {
    if (!item->selected && item->previous && item->previous->selected) {
      CVelkUIControl* unselected = item;
      CVelkUIControl* runStart = item->previous;
      while (runStart->previous && runStart->previous->selected) runStart = runStart->previous;
      CVelkUIControl* before = runStart->previous;
      Unlink(unselected);
      if (before) {
        unselected->previous = before;
        unselected->next = before->next;
        before->next->previous = unselected;
        before->next = unselected;
      } else {
        LinkAtHead(unselected);
      }
      item = before;
    } else {
      item = item->previous;
    }
  }
}

void UiPanel::MoveSelectedDown() {
  // From the head toward the end: an unselected item with a selected run
  // after it changes places with the whole run.
  CVelkUIControl* item = items;
  while (item) {
    if (!item->selected && item->next && item->next->selected) {
      CVelkUIControl* unselected = item;
      CVelkUIControl* runEnd = item->next;
      while (runEnd->next && runEnd->next->selected) runEnd = runEnd->next;
      CVelkUIControl* after = runEnd->next;
      Unlink(unselected);
      unselected->previous = runEnd;
      unselected->next = after;
      if (after) after->previous = unselected;
      runEnd->next = unselected;
      item = after;
    } else {
      item = item->next;
    }
  }
}

void UiPanel::SwapItems(CVelkUIControl* a, CVelkUIControl* b) {
  if (!a || !b || a == b) return;
  if (b->next == a) {
    CVelkUIControl* t = a;
    a = b;
    b = t;
  }
  if (a->next == b) {
    // Adjacent: a, b becomes b, a.
    CVelkUIControl* before = a->previous;
    CVelkUIControl* after = b->next;
    b->previous = before;
    b->next = a;
    a->previous = b;
    a->next = after;
    if (before) before->next = b;
    else items = b;
    if (after) after->previous = a;
    return;
  }
  CVelkUIControl* aPrev = a->previous;
  CVelkUIControl* aNext = a->next;
  CVelkUIControl* bPrev = b->previous;
  CVelkUIControl* bNext = b->next;
  a->previous = bPrev;
  a->next = bNext;
  b->previous = aPrev;
  b->next = aNext;
  if (aPrev) aPrev->next = b;
  else items = b;
  if (aNext) aNext->previous = b;
  if (bPrev) bPrev->next = a;
  else items = a;
  if (bNext) bNext->previous = a;
}

void UiPanel::BindBlocks() {
  for (CVelkUIControl* item = items; item; item = item->next) {
    if (!item->name) continue;
    CBEBlock* found = FindItemBlock(scheme, item->name, BlockClassOfKind(item->kindName));
    if (item->block != found) {
      // The block it leaves no longer reaches it.
      if (CBEUIControl* old = dynamic_cast<CBEUIControl*>(item->block))
        if (old->item == item) old->item = nullptr;
    }
    item->block = found;
    if (CBEUIControl* control = dynamic_cast<CBEUIControl*>(found)) {
      // Another item bound to this block before lets it go.
      if (control->item && control->item != item && control->item->block == found)
        control->item->block = nullptr;
      control->item = item;
    }
  }
}

void UiPanel::PaintItems(HDC dc) {
  if (!dc) return;
  for (CVelkUIControl* item = items; item; item = item->next) item->DrawBackground(dc);
  for (CVelkUIControl* item = items; item; item = item->next) item->DrawFace(dc);
  for (CVelkUIControl* item = items; item; item = item->next)
    if (item->selected) item->DrawSelection(dc);
}

void UiPanel::Paint(CKestCanvas* newCanvas) {
  canvas = newCanvas;
  if (!canvas) return;
  HDC dc = canvas->GetDC();
  PaintItems(dc);
  canvas->ReleaseDC();
}

void UiPanel::MouseDown(int px, int py) {
  if (!canvas) return;
  pressPoint = POINT{px, py};
  lastPoint = pressPoint;
  int code = CVelkUIControl::kHitNone;
  CVelkUIControl* item = HitTestItems(px, py, &code);
  if (!item) {
    SetAllSelected(false);
    dragState = kDragBand;
    return;
  }
  if (!item->selected) {
    if (!ModifierHeld()) SetAllSelected(false);
    item->selected = 1;
    item->Invalidate();
    dragState = kDragBand;
  } else {
    if (code != CVelkUIControl::kHitBody && !ModifierHeld()) {
      SetAllSelected(false);
      item->selected = 1;
      item->Invalidate();
    }
    dragState = code;
  }
  draggedItem = item;
  currentItem = item;
}

void UiPanel::MouseMove(int px, int py) {
  if (!canvas) return;
  int dx = px - lastPoint.x;
  int dy = py - lastPoint.y;
  if (dragState == kDragIdle) {
    int code = CVelkUIControl::kHitNone;
    CVelkUIControl* item = HitTestItems(px, py, &code);
    canvas->SetCursorIndex(CursorForHit(item, code));
  } else if (dragState == kDragBand) {
    // The canvas's band is drawn inverting: the old one goes, the new one comes.
    canvas->DrawBand(pressPoint, lastPoint);
    canvas->DrawBand(pressPoint, POINT{px, py});
  } else if (dragState == CVelkUIControl::kHitBody) {
    if (dx != 0 || dy != 0) {
      for (CVelkUIControl* item = items; item; item = item->next)
        if (item->selected) item->DragHandle(0, dx, dy);
    }
  } else if (dragState >= CVelkUIControl::kHitTopLeft && dragState <= CVelkUIControl::kHitLineEnd) {
    if (draggedItem) draggedItem->DragHandle(dragState, dx, dy);
  }
  lastPoint = POINT{px, py};
}

void UiPanel::MouseUp(int px, int py) {
  if (!canvas) return;
  if (dragState == kDragBand) {
    int left = pressPoint.x < px ? pressPoint.x : px;
    int right = pressPoint.x < px ? px : pressPoint.x;
    int top = pressPoint.y < py ? pressPoint.y : py;
    int bottom = pressPoint.y < py ? py : pressPoint.y;
    for (CVelkUIControl* item = items; item; item = item->next) {
      int x2 = item->x + item->width;
      int y2 = item->y + item->height;
      if (item->x >= left && item->x < right && item->y >= top && item->y < bottom && x2 >= left &&
          x2 < right && y2 >= top && y2 < bottom)
        item->selected = 1;
    }
    InvalidateCanvas();
  }
  dragState = kDragIdle;
  draggedItem = nullptr;
}
