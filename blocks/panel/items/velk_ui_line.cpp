#include "blocks/panel/items/velk_ui_line.h"

#include <cstdlib>
#include <new>

#include "blocks/panel/items/item_strings.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const int kNewLineLength = 104;
const int kEndReach = 8;
const int kMinThickness = 1;
const int kMaxThickness = 20;
const int kEndMarkRadius = 3;
const int kLineNumbers = 20;  // x1, y1, x2, y2, colour

int Min(int a, int b) { return a < b ? a : b; }
int Max(int a, int b) { return a < b ? b : a; }

// Cuts the segment (x1, y1)-(x2, y2) to the rectangle (Liang-Barsky, in
// double so that ends far outside cannot overflow); false when no part of
// it lies inside.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const RECT& box) {
  double dx = x2 - x1, dy = y2 - y1;
  double from = 0.0, to = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - box.left, box.right - x1, y1 - box.top, box.bottom - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > to) return false;
      if (t > from) from = t;
    } else {
      if (t < from) return false;
      if (t < to) to = t;
    }
  }
  double ax = x1 + from * dx, ay = y1 + from * dy;
  double bx = x1 + to * dx, by = y1 + to * dy;
  x1 = ax;
  y1 = ay;
  x2 = bx;
  y2 = by;
  return true;
}
}  // namespace

CVelkUILine::CVelkUILine(UiPanel* owner) : CVelkUIControl(owner) { UpdateBounds(); }

void CVelkUILine::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  new (std::nothrow) UiProperty(list, UiPropString, L"Название:", &name);
  new (std::nothrow) UiProperty(list, UiPropInt, L"x1:", &x1);
  new (std::nothrow) UiProperty(list, UiPropInt, L"y1:", &y1);
  new (std::nothrow) UiProperty(list, UiPropInt, L"x2:", &x2);
  new (std::nothrow) UiProperty(list, UiPropInt, L"y2:", &y2);
  new (std::nothrow) UiProperty(list, UiPropColor, L"Цвет:", &color);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Толщина:", &thickness, kMinThickness, kMaxThickness);
}

void CVelkUILine::UpdateBounds() {
  int t = thickness;
  x = Min(x1, x2) - (t + 1);
  y = Min(y1, y2) - (t + 1);
  width = Max(x1, x2) + t + 1 - x;
  height = Max(y1, y2) + t + 1 - y;
}

void CVelkUILine::SetPosition(int newX, int newY) {
  x1 = newX;
  y1 = newY;
  x2 = newX + kNewLineLength;
  y2 = newY;
  UpdateBounds();
}

int CVelkUILine::HitTest(int px, int py) {
  if (abs(px - x1) < kEndReach && abs(py - y1) < kEndReach) return CVelkUIControl::kHitLineStart;
  if (abs(px - x2) < kEndReach && abs(py - y2) < kEndReach) return CVelkUIControl::kHitLineEnd;
  int ddx = x2 - x1;
  int ddy = y2 - y1;
  int reach = thickness + kEndReach;
  if (abs(ddx) < abs(ddy)) {
    // Steep: the line's x at py (ddy is not 0 here).
    if (abs(ddx * (py - y1) / ddy + x1 - px) < reach) return CVelkUIControl::kHitBody;
  } else if (abs(ddx) > 0) {
    if (abs(ddy * (px - x1) / ddx + y1 - py) < reach) return CVelkUIControl::kHitBody;
  }
  return CVelkUIControl::kHitNone;
}

void CVelkUILine::DragHandle(int code, int dx, int dy) {
  if (code != CVelkUIControl::kHitBody && code != CVelkUIControl::kHitLineStart && code != CVelkUIControl::kHitLineEnd) return;
  Invalidate();
  if (code == CVelkUIControl::kHitBody || code == CVelkUIControl::kHitLineStart) {
    x1 += dx;
    y1 += dy;
  }
  if (code == CVelkUIControl::kHitBody || code == CVelkUIControl::kHitLineEnd) {
    x2 += dx;
    y2 += dy;
  }
  UpdateBounds();
  Invalidate();
}

void CVelkUILine::DrawBackground(HDC dc) {
  UpdateBounds();
  if (!dc) return;
  CKestOwnedPen pen(CreatePen(PS_SOLID, thickness, color));
  CKestDcSelection selection(dc);
  if (pen) selection.Select(pen.Get());
  // Only the part that can show is drawn: a stored line may reach millions
  // of pixels past the canvas, which GDI would walk through pixel by pixel.
  // The box is widened by the pen, so the cut ends' caps stay outside it.
  RECT box;
  if (GetClipBox(dc, &box) == ERROR) return;
  const int margin = thickness + 2;
  RECT wide = {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
  double ax = x1, ay = y1, bx = x2, by = y2;
  if (!ClipSegment(ax, ay, bx, by, wide)) return;
  MoveToEx(dc, static_cast<int>(ax < 0 ? ax - 0.5 : ax + 0.5), static_cast<int>(ay < 0 ? ay - 0.5 : ay + 0.5), nullptr);
  LineTo(dc, static_cast<int>(bx < 0 ? bx - 0.5 : bx + 0.5), static_cast<int>(by < 0 ? by - 0.5 : by + 0.5));
}

void CVelkUILine::DrawSelection(HDC dc) {
  if (!dc) return;
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  selection.Select(GetStockObject(WHITE_BRUSH));
  const int r = kEndMarkRadius;
  Ellipse(dc, x1 - r, y1 - r, x1 + r, y1 + r);
  Ellipse(dc, x2 - r, y2 - r, x2 + r, y2 + r);
}

void CVelkUILine::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  stream->WriteInt32(x1);
  stream->WriteInt32(y1);
  stream->WriteInt32(x2);
  stream->WriteInt32(y2);
  stream->WriteInt32(static_cast<int>(color));
  stream->WriteByte(thickness);
}

bool CVelkUILine::Load(CStream* stream) {
  if (!CVelkUIControl::Load(stream)) return false;
  if (ItemBytesLeft(stream) < kLineNumbers + 1) return false;
  x1 = stream->ReadInt32();
  y1 = stream->ReadInt32();
  x2 = stream->ReadInt32();
  y2 = stream->ReadInt32();
  color = static_cast<COLORREF>(stream->ReadInt32());
  thickness = stream->ReadByte();
  UpdateBounds();
  return true;
}

CVelkUIControl* NewVelkUILine(UiPanel* panel) { return new (std::nothrow) CVelkUILine(panel); }
