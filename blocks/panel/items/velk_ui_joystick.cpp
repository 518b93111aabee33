#include "blocks/panel/items/velk_ui_joystick.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <new>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const int kGrabReach = 25;
const int kKnobRadius = 16;
const int kKnobCapRadius = 10;
const int kCircleSegments = 64;
const float kLeastMaximum = 0.00001f;
const float kLargestMaximum = 1e10f;
const COLORREF kLit = 0xEEEEEE;
const COLORREF kShaded = 0x666666;

// The cross outline, relative to the centre; segment i runs from point
// i - 1 to point i, the last one back to the first.
const POINT kCross[] = {{-3, -3}, {-3, -40}, {-6, -40}, {0, -52},  {6, -40},  {3, -40},
                        {3, -3},  {40, -3},  {40, -6},  {52, 0},   {40, 6},   {40, 3},
                        {3, 3},   {3, 40},   {6, 40},   {0, 52},   {-6, 40},  {-3, 40},
                        {-3, 3},  {-40, 3},  {-40, 6},  {-52, 0},  {-40, -6}, {-40, -3}};
const int kCrossPoints = 24;
// Segments drawn lit (numbered from 1).
bool SegmentLit(int segment) {
  switch (segment) {
    case 1: case 3: case 7: case 8: case 11: case 14: case 16: case 17: case 18: case 22: case 24:
      return true;
    default:
      return false;
  }
}

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

int DeflectionPixels(float value, float maximum) {
  if (maximum == 0.0f || !std::isfinite(maximum)) return 0;
  float pixels = value * kUiJoystickTravel / maximum;
  if (!std::isfinite(pixels)) return 0;
  if (pixels > 1e6f) pixels = 1e6f;
  if (pixels < -1e6f) pixels = -1e6f;
  return static_cast<int>(pixels);
}

void GlDisc(float cx, float cy, float radius) {
  glBegin(GL_TRIANGLE_FAN);
  glVertex2f(cx, cy);
  for (int i = 0; i <= kCircleSegments; ++i) {
    float a = 2.0f * 3.14159265f * i / kCircleSegments;
    glVertex2f(cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
  glEnd();
}

// Half a rim: the segments from first to last (inclusive) of the circle.
void GlArc(float cx, float cy, float radius, int first, int last) {
  glBegin(GL_LINE_STRIP);
  for (int i = first; i <= last; ++i) {
    float a = 2.0f * 3.14159265f * i / kCircleSegments;
    glVertex2f(cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
  glEnd();
}
}  // namespace

CVelkUIJoystick::CVelkUIJoystick(UiPanel* owner) : CVelkUIControl(owner) {
  width = kUiJoystickSize;
  height = kUiJoystickSize;
}

CVelkUIControl* CVelkUIJoystick::Create(UiPanel* panel) {
  return new (std::nothrow) CVelkUIJoystick(panel);
}

void CVelkUIJoystick::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  int w = list->CanvasWidth();
  new UiProperty(list, UiPropString, L"Название:", &name);
  new UiProperty(list, UiPropString, L"Подсказка:", &hint);
  UiProperty::UiPropertyInt(list, UiPropInt, L"X:", &x, 0, w);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Y:", &y, 0, w);
  UiProperty::UiPropertyFloat(list, UiPropFloat, L"Макс. знач. X:", &maxX, kLeastMaximum, kLargestMaximum);
  UiProperty::UiPropertyFloat(list, UiPropFloat, L"Макс. знач. Y:", &maxY, kLeastMaximum, kLargestMaximum);
  new UiProperty(list, UiPropBool, L"Привязка к осям:", &axisLock);
  new UiProperty(list, UiPropBool, L"Автовозврат:", &autoReturn);
}

void CVelkUIJoystick::CreateBlock() { CreateControlBlock(this, kUIJoystickBlockClassId); }

POINT CVelkUIJoystick::KnobOffset() const {
  return POINT{DeflectionPixels(xValue, maxX), -DeflectionPixels(yValue, maxY)};
}

void CVelkUIJoystick::DrawBackground(HDC dc) {
  if (!dc) return;
  int cx = x + width / 2;
  int cy = y + height / 2;
  CKestOwnedPen lit(CreatePen(PS_SOLID, 1, kLit));
  CKestOwnedPen shaded(CreatePen(PS_SOLID, 1, kShaded));
  CKestDcSelection selection(dc);
  selection.Select(lit.Get());  // keeps the DC's own pen to put back
  for (int segment = 1; segment <= kCrossPoints; ++segment) {
    const POINT& from = kCross[segment - 1];
    const POINT& to = kCross[segment % kCrossPoints];
    SelectObject(dc, SegmentLit(segment) ? lit.Get() : shaded.Get());
    MoveToEx(dc, cx + from.x, cy + from.y, nullptr);
    LineTo(dc, cx + to.x, cy + to.y);
  }
}

void CVelkUIJoystick::DrawFace(HDC dc) {
  if (!dc) return;
  int cx = x + width / 2;
  int cy = y + height / 2;
  CKestOwnedBrush knob(CreateSolidBrush(0x666666));
  CKestOwnedBrush cap(CreateSolidBrush(0x999999));
  CKestOwnedPen white(CreatePen(PS_SOLID, 1, 0xFFFFFF));
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  selection.Select(knob.Get());
  Ellipse(dc, cx - kKnobRadius, cy - kKnobRadius, cx + kKnobRadius, cy + kKnobRadius);
  SelectObject(dc, white.Get());
  int oldDirection = SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  Arc(dc, cx - kKnobRadius, cy - kKnobRadius, cx + kKnobRadius, cy + kKnobRadius, cx + 50, cy - 50,
      cx - 50, cy + 50);
  SetArcDirection(dc, oldDirection);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, cap.Get());
  Ellipse(dc, cx - kKnobCapRadius, cy - kKnobCapRadius, cx + kKnobCapRadius + 1, cy + kKnobCapRadius + 1);
}

void CVelkUIJoystick::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  stream->Write(&maxX, 4);
  stream->Write(&maxY, 4);
  stream->WriteByte(axisLock);
  stream->WriteByte(autoReturn);
}

bool CVelkUIJoystick::Load(CStream* stream) {
  return CVelkUIControl::Load(stream) && ReadField(stream, &maxX, 4) && ReadField(stream, &maxY, 4) &&
         ReadField(stream, &axisLock, 1) && ReadField(stream, &autoReturn, 1);
}

void CVelkUIJoystick::OnMouseDown(int px, int py) {
  POINT k = KnobOffset();
  grabX = px - (x + width / 2 + k.x);
  grabY = py - (y + height / 2 + k.y);
  if (abs(grabX) < kGrabReach && abs(grabY) < kGrabReach) dragging = 1;
}

void CVelkUIJoystick::OnMouseMove(int px, int py) {
  if (!dragging) return;
  int dx = Clamp(px - grabX - width / 2 - x, -kUiJoystickTravel, kUiJoystickTravel);
  int dy = Clamp(py - grabY - height / 2 - y, -kUiJoystickTravel, kUiJoystickTravel);
  if (axisLock) {
    if (abs(dy) < abs(dx)) dy = 0;
    else dx = 0;
  }
  xValue = dx * maxX / kUiJoystickTravel;
  yValue = -dy * maxY / kUiJoystickTravel;
}

void CVelkUIJoystick::OnMouseUp(int, int) {
  dragging = 0;
  if (autoReturn && !ControlKeyHeld()) {
    xValue = 0.0f;
    yValue = 0.0f;
  }
}

void CVelkUIJoystick::DrawGL() {
  float cx = x + width / 2.0f;
  float cy = y + height / 2.0f;
  float kx = x + width / 2 + (maxX != 0.0f ? xValue * kUiJoystickTravel / maxX : 0.0f);
  float ky = y + height / 2 - (maxY != 0.0f ? yValue * kUiJoystickTravel / maxY : 0.0f);
  glDisable(GL_TEXTURE_2D);
  for (int i = 0; i <= 11; ++i) {
    if (i == 7) continue;
    float radius = i <= 6 ? 10.0f : 16.0f;
    float shade = 0.25f + 0.02f * i;
    glColor3f(shade, shade, shade);
    GlDisc(cx + (kx - cx) * i / 12.0f, cy + (ky - cy) * i / 12.0f, radius);
  }
  glColor3f(0.4f, 0.4f, 0.4f);
  GlDisc(kx, ky, kKnobRadius);
  // Canvas y runs down: the upper half is the half of negative sines.
  glColor3f(0.0f, 0.0f, 0.0f);
  GlArc(kx, ky, kKnobRadius, kCircleSegments / 2, kCircleSegments);
  glColor3f(1.0f, 1.0f, 1.0f);
  GlArc(kx, ky, kKnobRadius, 0, kCircleSegments / 2);
  glColor3f(0.6f, 0.6f, 0.6f);
  GlDisc(kx, ky, kKnobCapRadius);
}
