#include "blocks/panel/items/velk_ui_button.h"

#include <GL/gl.h>

#include <new>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const COLORREF kWhite = 0xFFFFFF;
const COLORREF kBlack = 0x000000;
const COLORREF kWhiteBlend = 0xFFFFFFFF;  // BlendColors reads -1 as white
const int kFaceShadeWeight = 204;
const int kPressedBlend = 128;
const int kKeyEnter = 13;
const int kKeySpace = 32;

void LineInColour(HDC dc, COLORREF colour, int x, int y) {
  CKestOwnedPen pen(CreatePen(PS_SOLID, 1, colour));
  CKestDcSelection selection(dc);
  selection.Select(pen.Get());
  LineTo(dc, x, y);
}
}  // namespace

CVelkUIButton::CVelkUIButton(UiPanel* owner) : CVelkUIControl(owner) {
  width = kUiButtonWidth;
  height = kUiButtonHeight;
  text = DupString(L"Кнопка");
  fontName = DupString(L"Arial");
}

CVelkUIButton::~CVelkUIButton() {
  FreeBuffer(text);
  FreeBuffer(fontName);
}

CVelkUIControl* CVelkUIButton::Create(UiPanel* panel) { return new (std::nothrow) CVelkUIButton(panel); }

void CVelkUIButton::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  CVelkUIControl::BuildProperties(list);
  new UiProperty(list, UiPropString, L"Текст:", &text);
  new UiProperty(list, UiPropBool, L"Фиксируемая:", &latching);
  new UiProperty(list, UiPropBool, L"Нажата:", &pressed);
  new UiProperty(list, UiPropInt, L"Группа:", &group);
  new UiProperty(list, UiPropFontName, L"Шрифт:", &fontName);
  new UiProperty(list, UiPropFontStyle, L"Стиль шрифта:", &fontStyle);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Размер шрифта:", &fontSize, 5, 100);
  new UiProperty(list, UiPropColor, L"Цвет текста:", &textColor);
  new UiProperty(list, UiPropColor, L"Цвет кнопки:", &buttonColor);
  new UiProperty(list, UiPropColor, L"Цвет в наж.сост.:", &pressedColor);
}

void CVelkUIButton::CreateBlock() { CreateControlBlock(this, kUIButtonBlockClassId); }

void CVelkUIButton::PaintFaceRows(HDC dc, bool pressedLook) {
  // One row per pixel of the face, lighter toward the top; only the rows
  // that the DC shows are painted (a button may be millions of pixels high).
  long long shades = static_cast<long long>(height) - 4;
  RECT box;
  if (shades <= 0 || !GetItemDrawBox(dc, &box)) return;
  long long faceTop = static_cast<long long>(y) + 2;
  long long first = box.top - faceTop;
  long long last = box.bottom - faceTop;
  if (first < 0) first = 0;
  if (last > shades - 1) last = shades - 1;
  int left = ClampToDrawBox(static_cast<long long>(x) + 2, box.left, box.right);
  int right = ClampToDrawBox(static_cast<long long>(x) + width - 2, box.left, box.right);
  for (long long i = first; i <= last; ++i) {
    int weight = static_cast<int>((shades - i) * kFaceShadeWeight / shades);
    COLORREF colour = BlendColors(buttonColor, kWhiteBlend, weight);
    if (pressedLook) colour = BlendColors(colour, pressedColor, kPressedBlend);
    CKestOwnedBrush brush(CreateSolidBrush(colour));
    int rowTop = static_cast<int>(faceTop + i);
    RECT row = {left, rowTop, right, rowTop + 1};
    FillRect(dc, &row, brush.Get());
  }
}

void CVelkUIButton::DrawBackground(HDC dc) {
  RECT box;
  if (!dc || !GetItemDrawBox(dc, &box)) return;
  // The edges, kept within reach of what the DC shows.
  auto edgeX = [&](long long inset) { return ClampToDrawBox(static_cast<long long>(x) + inset, box.left, box.right); };
  auto edgeY = [&](long long inset) { return ClampToDrawBox(static_cast<long long>(y) + inset, box.top, box.bottom); };
  {
    CKestOwnedPen outline(CreatePen(PS_SOLID, 2, kBlack));
    CKestDcSelection selection(dc);
    selection.Select(outline.Get());
    selection.Select(GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, edgeX(1), edgeY(1), edgeX(width), edgeY(height));
  }
  PaintFaceRows(dc, false);
  const struct {
    int weight, inset, farInset;
  } bevels[] = {{153, 2, 3}, {102, 3, 4}};
  for (const auto& b : bevels) {
    long long farX = static_cast<long long>(width) - b.farInset;
    long long farY = static_cast<long long>(height) - b.farInset;
    MoveToEx(dc, edgeX(b.inset), edgeY(farY), nullptr);
    LineInColour(dc, BlendColors(buttonColor, kWhiteBlend, b.weight), edgeX(b.inset), edgeY(b.inset));
    LineInColour(dc, kWhite, edgeX(farX), edgeY(b.inset));
    COLORREF shadow = BlendColors(buttonColor, kBlack, b.weight);
    LineInColour(dc, shadow, edgeX(farX), edgeY(farY));
    LineInColour(dc, shadow, edgeX(b.inset), edgeY(farY));
  }
  if (text && *text) {
    CKestOwnedFont font(CreateItemFont(fontName, fontStyle, fontSize));
    DrawCenteredText(dc, text, font.Get(), textColor, x, y, width, height);
  }
}

void CVelkUIButton::DrawFace(HDC dc) {
  RECT box;
  if (!dc || !pressed || !GetItemDrawBox(dc, &box)) return;
  PaintFaceRows(dc, true);
  {
    CKestOwnedPen outline(CreatePen(PS_SOLID, 2, BlendColors(pressedColor, kBlack, kPressedBlend)));
    CKestDcSelection selection(dc);
    selection.Select(outline.Get());
    int left = ClampToDrawBox(static_cast<long long>(x) + 2, box.left, box.right);
    int top = ClampToDrawBox(static_cast<long long>(y) + 2, box.top, box.bottom);
    int right = ClampToDrawBox(static_cast<long long>(x) + width - 3, box.left, box.right);
    int bottom = ClampToDrawBox(static_cast<long long>(y) + height - 3, box.top, box.bottom);
    POINT points[] = {{left, bottom}, {left, top}, {right, top}, {right, bottom}, {left, bottom}};
    Polyline(dc, points, 5);
  }
  if (text && *text) {
    CKestOwnedFont font(CreateItemFont(fontName, fontStyle, fontSize));
    DrawCenteredText(dc, text, font.Get(), BlendColors(textColor, pressedColor, kPressedBlend), x, y,
                     width, height);
  }
}

void CVelkUIButton::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  stream->WriteByte(latching);
  stream->WriteInt32(group);
  stream->WriteStringW(text);
  stream->WriteByte(pressed);
  stream->WriteStringW(fontName);
  stream->WriteByte(fontStyle);
  stream->WriteInt16(fontSize);
  stream->WriteInt32(static_cast<int>(textColor));
  stream->WriteInt32(static_cast<int>(buttonColor));
  stream->WriteInt32(static_cast<int>(pressedColor));
}

bool CVelkUIButton::Load(CStream* stream) {
  if (!CVelkUIControl::Load(stream)) return false;
  unsigned char style = 0;
  unsigned short size = 0;
  if (!ReadField(stream, &latching, 1) || !ReadField(stream, &group, 4) ||
      !ReadStringField(stream, &text) || !ReadField(stream, &pressed, 1) ||
      !ReadStringField(stream, &fontName) || !ReadField(stream, &style, 1))
    return false;
  fontStyle = style;
  if (!ReadField(stream, &size, 2)) return false;
  fontSize = size;
  return ReadField(stream, &textColor, 4) && ReadField(stream, &buttonColor, 4) &&
         ReadField(stream, &pressedColor, 4);
}

bool CVelkUIButton::Inside(int px, int py) const {
  return x <= px && px < x + width && y <= py && py < y + height;
}

void CVelkUIButton::Press() {
  latchedState = (latching && !pressed) ? 1 : 0;
  pressed = 1;
  ReleaseGroup();
}

void CVelkUIButton::OnMouseDown(int, int) {
  Press();
  captured = 1;
}

void CVelkUIButton::OnMouseMove(int px, int py) {
  if (!captured) return;
  pressed = Inside(px, py) ? 1 : latchedState;
}

void CVelkUIButton::OnMouseUp(int px, int py) {
  if (captured && Inside(px, py) && !ControlKeyHeld()) pressed = latchedState;
  captured = 0;
}

void CVelkUIButton::OnKeyDown(int key) {
  if (key == kKeyEnter || key == kKeySpace) Press();
}

void CVelkUIButton::OnKeyUp(int key) {
  if ((key == kKeyEnter || key == kKeySpace) && !ControlKeyHeld()) pressed = latchedState;
}

void CVelkUIButton::ReleaseGroup() {
  if (group == 0 || !panel) return;
  for (CVelkUIControl* other = panel->items; other; other = other->next) {
    if (other == this || other->kindName != kindName) continue;
    CVelkUIButton* button = dynamic_cast<CVelkUIButton*>(other);
    if (button && button->group == group) button->pressed = 0;
  }
}

void CVelkUIButton::DrawGL() {
  if (!pressed) return;
  GlColor(pressedColor, 0.5f);
  glBegin(GL_QUADS);
  glVertex2i(x, y);
  glVertex2i(x + width, y);
  glVertex2i(x + width, y + height);
  glVertex2i(x, y + height);
  glEnd();
  GlColor(BlendColors(pressedColor, kBlack, kPressedBlend), 1.0f);
  glBegin(GL_LINE_LOOP);
  glVertex2i(x, y);
  glVertex2i(x + width, y);
  glVertex2i(x + width, y + height);
  glVertex2i(x, y + height);
  glEnd();
}
