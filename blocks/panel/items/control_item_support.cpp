#include "blocks/panel/items/control_item_support.h"

#include <GL/gl.h>

#include <cwchar>

#include "blocks/engine/block_scheme.h"
#include "blocks/panel/be_ui_control.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"

namespace {
const COLORREF kNoFill = 0xFFFFFFFF;
}

void DrawCenteredText(HDC dc, const wchar_t* text, HFONT font, COLORREF colour, int x, int y,
                      int width, int height) {
  if (!dc || !text || !*text) return;
  CKestDcSelection selection(dc);
  if (font) selection.Select(font);
  int length = static_cast<int>(wcslen(text));
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, length, &size);
  long long left = (static_cast<long long>(width) - size.cx) / 2 + x;
  long long top = (static_cast<long long>(height) - size.cy) / 2 + y;
  RECT box;
  if (!GetItemDrawBox(dc, &box) || left > box.right || left + size.cx < box.left || top > box.bottom ||
      top + size.cy < box.top)
    return;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, colour);
  TextOutW(dc, static_cast<int>(left), static_cast<int>(top), text, length);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

bool GetItemDrawBox(HDC dc, RECT* box) {
  const int kMargin = 8;  // wider than the items' pens and insets
  if (!dc || !box) return false;
  int kind = GetClipBox(dc, box);
  if (kind == ERROR || kind == NULLREGION) return false;
  box->left -= kMargin;
  box->top -= kMargin;
  box->right += kMargin;
  box->bottom += kMargin;
  return true;
}

int ClampToDrawBox(long long v, int low, int high) {
  if (v < low) return low;
  if (v > high) return high;
  return static_cast<int>(v);
}

bool ReadField(CStream* stream, void* field, int size) {
  if (stream->GetSize() - stream->GetPosition() < size) return false;
  return stream->Read(field, size) == size;
}

bool ReadStringField(CStream* stream, wchar_t** slot) {
  if (stream->GetSize() - stream->GetPosition() < 2) return false;
  wchar_t* text = stream->ReadStringW();
  FreeBuffer(*slot);
  *slot = text;
  return true;
}

void CreateControlBlock(CVelkUIControl* item, unsigned int classId) {
  if (!item || item->block || !item->panel || !item->panel->scheme) return;
  CBEBlock* made = item->panel->scheme->CreateBlock(classId);
  if (!made) return;
  item->block = made;
  if (CBEUIControl* control = dynamic_cast<CBEUIControl*>(made)) control->item = item;
  made->SetCaption(item->name);
}

bool ControlKeyHeld() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

void GlColor(COLORREF colour, float alpha) {
  glColor4f(GetRValue(colour) / 255.0f, GetGValue(colour) / 255.0f, GetBValue(colour) / 255.0f, alpha);
}

void DrawGLFrame(int x1, int y1, int x2, int y2, COLORREF fill, COLORREF light, COLORREF dark) {
  if (fill != kNoFill) {
    GlColor(fill, 1.0f);
    glBegin(GL_QUADS);
    glVertex2i(x1, y1);
    glVertex2i(x2, y1);
    glVertex2i(x2, y2);
    glVertex2i(x1, y2);
    glEnd();
  }
  GlColor(light, 1.0f);
  glBegin(GL_LINE_STRIP);
  glVertex2i(x1, y2);
  glVertex2i(x1, y1);
  glVertex2i(x2, y1);
  glEnd();
  GlColor(dark, 1.0f);
  glBegin(GL_LINE_STRIP);
  glVertex2i(x2, y1);
  glVertex2i(x2, y2);
  glVertex2i(x1, y2);
  glEnd();
}
