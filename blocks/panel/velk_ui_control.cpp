#include "blocks/panel/velk_ui_control.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "blocks/engine/block.h"
#include "blocks/panel/be_ui_control.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"

namespace {
const int kBaseRecordNumbers = 16;  // x, y, width, height

wchar_t* CopyOrNull(const wchar_t* text) {
  if (!text || !*text) return nullptr;
  size_t n = wcslen(text) + 1;
  wchar_t* copy = static_cast<wchar_t*>(AllocBuffer(static_cast<int>(2 * n)));
  if (copy) wmemcpy(copy, text, n);
  return copy;
}
}  // namespace

CVelkUIControl::CVelkUIControl(UiPanel* owner) : panel(owner) {
  if (panel) panel->LinkAtEnd(this);
}

CVelkUIControl::~CVelkUIControl() {
  if (panel) {
    if (panel->currentItem == this) panel->currentItem = nullptr;
    if (panel->draggedItem == this) panel->draggedItem = nullptr;
    Invalidate();
    panel->Unlink(this);
  }
  FreeBuffer(name);
  FreeBuffer(hint);
  name = hint = nullptr;
  if (block) {
    CBEBlock* linked = block;
    block = nullptr;
    if (CBEUIControl* control = dynamic_cast<CBEUIControl*>(linked)) control->item = nullptr;
    delete linked;  // leaves its scheme
  }
}

void CVelkUIControl::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  int w = list->CanvasWidth();
  new UiProperty(list, UiPropString, L"Название:", &name);
  new UiProperty(list, UiPropString, L"Подсказка:", &hint);
  UiProperty::UiPropertyInt(list, UiPropInt, L"X:", &x, 0, w);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Y:", &y, 0, w);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Ширина:", &width, 1, w);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Высота:", &height, 1, w);
}

void CVelkUIControl::SetPosition(int newX, int newY) {
  x = newX;
  y = newY;
}

void CVelkUIControl::CreateBlock() {}

POINT CVelkUIControl::HandlePoint(int code) const {
  switch (code) {
    case 1: return POINT{x, y};
    case 2: return POINT{x + width / 2, y};
    case 3: return POINT{x + width, y};
    case 4: return POINT{x + width, y + height / 2};
    case 5: return POINT{x + width, y + height};
    case 6: return POINT{x + width / 2, y + height};
    case 7: return POINT{x, y + height};
    case 8: return POINT{x, y + height / 2};
    default: return POINT{x, y};
  }
}

int CVelkUIControl::HitTest(int px, int py) {
  for (int code = 1; code <= 8; ++code) {
    POINT h = HandlePoint(code);
    if (abs(px - h.x) < kUiHandleReach && abs(py - h.y) < kUiHandleReach) return code;
  }
  if (x < px && px < x + width && y < py && py < y + height) return CVelkUIControl::kHitBody;
  return CVelkUIControl::kHitNone;
}

void CVelkUIControl::DragHandle(int code, int dx, int dy) {
  if (code < 0 || code > 8) return;
  Invalidate();
  switch (code) {
    case 0: x += dx; y += dy; break;
    case 1: x += dx; width -= dx; y += dy; height -= dy; break;
    case 2: y += dy; height -= dy; break;
    case 3: width += dx; y += dy; height -= dy; break;
    case 4: width += dx; break;
    case 5: width += dx; height += dy; break;
    case 6: height += dy; break;
    case 7: x += dx; width -= dx; height += dy; break;
    case 8: x += dx; width -= dx; break;
  }
  if (width <= 0) width = 1;
  if (height <= 0) height = 1;
  Invalidate();
}

void CVelkUIControl::DrawBackground(HDC dc) { (void)dc; }
void CVelkUIControl::DrawFace(HDC dc) { (void)dc; }

void CVelkUIControl::DrawSelection(HDC dc) {
  if (!dc) return;
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (int code = 1; code <= 8; ++code) {
    POINT h = HandlePoint(code);
    RECT r = {h.x - 3, h.y - 3, h.x + 4, h.y + 4};
    FillRect(dc, &r, black);
  }
}

void CVelkUIControl::Save(CStream* stream) {
  stream->WriteStringW(name);
  stream->WriteStringW(hint);
  stream->WriteInt32(x);
  stream->WriteInt32(y);
  stream->WriteInt32(width);
  stream->WriteInt32(height);
}

bool CVelkUIControl::Load(CStream* stream) {
  FreeBuffer(name);
  FreeBuffer(hint);
  name = hint = nullptr;
  // A string needs at least its terminator.
  if (stream->GetSize() - stream->GetPosition() < 2) return false;
  name = stream->ReadStringW();
  if (stream->GetSize() - stream->GetPosition() < 2) return false;
  hint = stream->ReadStringW();
  if (stream->GetSize() - stream->GetPosition() < kBaseRecordNumbers) return false;
  x = stream->ReadInt32();
  y = stream->ReadInt32();
  width = stream->ReadInt32();
  height = stream->ReadInt32();
  return true;
}

void CVelkUIControl::OnMouseDown(int, int) {}
void CVelkUIControl::OnMouseMove(int, int) {}
void CVelkUIControl::OnMouseUp(int, int) {}
void CVelkUIControl::ReservedHookA(int, int, int) {}
void CVelkUIControl::OnKeyDown(int) {}
void CVelkUIControl::OnKeyUp(int) {}
void CVelkUIControl::ReservedHookB(int) {}
void CVelkUIControl::ReservedHookC(int) {}
void CVelkUIControl::ReservedHookD(int, int) {}
void CVelkUIControl::DrawGL() {}

void CVelkUIControl::Invalidate() {
  HWND window = panel ? panel->CanvasWindow() : nullptr;
  if (!window) return;
  RECT r = {x - 4, y - 4, x + width + 5, y + height + 5};
  InvalidateRect(window, &r, TRUE);
}

bool CVelkUIControl::SetName(const wchar_t* text) {
  wchar_t* copy = CopyOrNull(text);
  if (text && *text && !copy) return false;
  FreeBuffer(name);
  name = copy;
  if (block) block->SetCaption(name);
  return true;
}

void CVelkUIControl::MakeUniqueName() {
  if (!panel) return;
  const wchar_t* kind = kindName ? kindName : L"";
  wchar_t candidate[128];
  for (int n = 1; n > 0; ++n) {
    swprintf(candidate, 128, L"%ls%d", kind, n);
    if (!panel->FindItemByName(candidate) && !panel->IsDeviceCaption(candidate)) {
      SetName(candidate);
      return;
    }
  }
}
