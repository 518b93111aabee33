#include "app/views/scheme_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "app/editor/sph_editor.h"
#include "app/shell/main_form.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/menus/kest_popup_menu.h"
#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

// Direction steps: 0 left, 1 up, 2 right, 3 down.
const int kDx[4] = {-1, 0, 1, 0};
const int kDy[4] = {0, -1, 0, 1};

// Distances of the hit test, per axis.
const int kSlotReach = 5;
const int kSegmentReach = 5;
const int kJunctionReach = 5;
const int kCornerReach = 5;
const int kPinReach = 8;

// Margin of the extent.
const int kExtentMargin = 20;

// Pin drawing.
const int kPinStub = 7;
const int kPinLabelGap = 9;
const int kRaisedLabel = 5;
// Bus drawing.
const int kBusStub = 16;
const int kBusSlotPitch = 12;
const int kBusPenWidth = 4;

bool Near(int a, int b, int reach) { return std::abs(a - b) < reach; }

// y (or x) lies in the half-open span from one end to the other, taken in
// either order.
bool InSpan(int v, int from, int to) { return (from <= v && v < to) || (to < v && v <= from); }

void ExtendTo(RECT* r, POINT p) {
  if (p.x < r->left) r->left = p.x;
  if (p.x > r->right) r->right = p.x;
  if (p.y < r->top) r->top = p.y;
  if (p.y > r->bottom) r->bottom = p.y;
}

RECT Grown(const RECT& r, int by) { return RECT{r.left - by, r.top - by, r.right + by, r.bottom + by}; }

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void DrawNumber(HDC dc, int value, int* w, int* h, int x, int y, bool measureOnly) {
  wchar_t text[16];
  swprintf(text, 16, L"%d", value);
  int n = static_cast<int>(wcslen(text));
  SIZE extent = {0, 0};
  GetTextExtentPoint32W(dc, text, n, &extent);
  *w = extent.cx;
  *h = extent.cy;
  if (!measureOnly) TextOutW(dc, x, y, text, n);
}

SIZE TextExtent(HDC dc, const wchar_t* text) {
  SIZE extent = {0, 0};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
  return extent;
}

// The vertices of a polyline into a small buffer (or a heap one when long).
class VertexList {
public:
  ~VertexList() {
    if (points_ != local_) delete[] points_;
  }
  template <class T>
  bool Load(const T* line) {
    count_ = line->GetPointCount();
    if (count_ < 0) count_ = 0;
    if (count_ > kLocal) {
      if (points_ != local_) delete[] points_;
      points_ = new (std::nothrow) POINT[count_];
      if (!points_) {
        points_ = local_;
        count_ = 0;
        return false;
      }
    }
    for (int i = 0; i < count_; i++) points_[i] = line->GetPoint(i);
    return true;
  }
  int Count() const { return count_; }
  const POINT* Points() const { return points_; }
  const POINT& operator[](int i) const { return points_[i]; }
  RECT Bounds() const {
    RECT r = {0, 0, 0, 0};
    if (count_ == 0) return r;
    r = RECT{points_[0].x, points_[0].y, points_[0].x, points_[0].y};
    for (int i = 1; i < count_; i++) ExtendTo(&r, points_[i]);
    return r;
  }

private:
  static const int kLocal = 16;
  POINT local_[kLocal];
  POINT* points_ = local_;
  int count_ = 0;
};

// Whether (x, y) may lie within reach of a wire: a box holding every vertex
// (each vertex takes its coordinates from the two end points and the
// wire's coordinates) grown by the reach. Far wires are passed over without
// computing their vertices.
bool MayReach(const SchWire* w, int x, int y, int reach) {
  POINT e0 = w->GetEndPoint(0), e1 = w->GetEndPoint(1);
  int lowX = std::min(e0.x, e1.x), highX = std::max(e0.x, e1.x);
  int lowY = std::min(e0.y, e1.y), highY = std::max(e0.y, e1.y);
  for (int i = 0; i < w->coordCount; i++) {
    int c = w->coords[i];
    lowX = std::min(lowX, c), highX = std::max(highX, c);
    lowY = std::min(lowY, c), highY = std::max(highY, c);
  }
  return x > lowX - reach && x < highX + reach && y > lowY - reach && y < highY + reach;
}

// Segment k of a polyline at (x, y): 1 vertical, 0 horizontal, -1 no match.
int SegmentHit(const POINT& a, const POINT& b, int x, int y) {
  if (a.x == b.x) return (InSpan(y, a.y, b.y) && Near(x, a.x, kSegmentReach)) ? 1 : -1;
  if (a.y == b.y) return (InSpan(x, a.x, b.x) && Near(y, a.y, kSegmentReach)) ? 0 : -1;
  return -1;
}

// Where a neighbouring vertex lies, as a direction bit: 1 left, 2 above,
// 4 right, 8 below.
int NeighbourBit(const POINT& p, const POINT& n) {
  if (n.x == p.x) return n.y < p.y ? 2 : 8;
  return n.x < p.x ? 1 : 4;
}

CSCHBlock* OldestBlock(SchScheme* scheme) {
  CSCHBlock* b = scheme->blocks;
  while (b && b->next) b = b->next;
  return b;
}

template <class T>
T* OldestOf(T* head) {
  while (head && head->next) head = head->next;
  return head;
}

}  // namespace

CSchemeView::CSchemeView(CKestContainer* container, uint32_t position, int width, int height,
                         SchScheme* shown)
    : scheme(shown) {
  Watch(shown);
  backColor_ = KEST_TRANSPARENT;
  SetBandStyle(PS_DOT, RGB(0, 0, 0), R2_NOTXORPEN);
  if (!CreateCanvasWindow(container, position, width, height, WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, true)) return;
  UpdateScrollRange();
  CKestPopupMenu* menu = new CKestPopupMenu;
  int properties = menu->AddItem(L"Свойства", ID_KEST_POPUP_PROPERTIES);
  menu->AppendSeparator();
  menu->AddItem(L"Удалить\tDel", ID_KEST_POPUP_DELETE, 0, VK_DELETE);
  menu->AddItem(L"Выделить все\tCtrl+A", ID_KEST_POPUP_SELECT_ALL, KEST_MOD_CTRL, 'A');
  menu->SetDefaultItem(properties, true);
  SetMenu(menu);
}

void CSchemeView::SetScheme(SchScheme* shown) {
  Watch(shown);
  scheme = shown;
  object = nullptr;
  selecting_ = false;
  state = kStateIdle;
  tool = kToolSelect;
  SetScrollOrigin(0, 0);
  if (window_) {
    UpdateScrollRange();
    InvalidateRect(window_, nullptr, FALSE);
  }
}

void CSchemeView::OnSchemeDeleting(SchScheme* gone) {
  if (scheme == gone) SetScheme(nullptr);
}

void CSchemeView::OnObjectDeleting(SchScheme*, const void* gone) {
  if (gone && object == gone) DropToolObject();
}

void CSchemeView::DropToolObject() {
  object = nullptr;
  selecting_ = false;
  state = kStateIdle;
  if (tool != kToolSelect) {
    tool = kToolSelect;
    SendToEditor(WM_EDITOR_TOOL_FINISHED, 0, CSphEditor::kPalCursor);
  }
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CSchemeView::SendToEditor(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND owner = window_ ? GetOwnerFormWindow(window_) : nullptr;
  if (owner && owner != window_) SendMessageW(owner, message, wParam, lParam);
}

void CSchemeView::NotifyModified() {
  if (MainKestForm && MainKestForm->GetHandle()) SendMessageW(MainKestForm->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
}

// ---------------------------------------------------------------- painting

namespace {

// The fonts and pens of one painting, and which objects it draws. Every
// step selects what it draws with through a CKestDcSelection of its own, so
// the context leaves each step as it entered it.
struct PaintKit {
  PaintKit(HDC target, bool everything, bool marks) : dc(target), drawAll(everything), selection(marks) {}
  HDC dc;
  bool drawAll;
  bool selection;  // selected objects are marked (not in a picture)
  CKestOwnedFont numberFont{CreateFontW(-7, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Small Fonts")};
  CKestOwnedFont nameFont{CreateFontW(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial")};
  CKestOwnedFont downFont{CreateFontW(-10, 0, -900, -900, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial")};
  CKestOwnedPen dotPen{CreatePen(PS_DOT, 1, RGB(0, 0, 0))};
  CKestOwnedPen thinSelected{CreatePen(PS_SOLID, 1, CSchemeView::kSelectedWireColor)};
  CKestOwnedPen hydraulic{CreatePen(PS_SOLID, 6, CSchemeView::kHydraulicColor)};
  CKestOwnedPen hydraulicSelected{CreatePen(PS_SOLID, 6, CSchemeView::kSelectedHydraulicColor)};
  CKestOwnedPen thick{CreatePen(PS_SOLID, kBusPenWidth, RGB(0, 0, 0))};
  CKestOwnedPen thickSelected{CreatePen(PS_SOLID, kBusPenWidth, CSchemeView::kSelectedWireColor)};
  HGDIOBJ blackPen = GetStockObject(BLACK_PEN);
  HGDIOBJ noBrush = GetStockObject(NULL_BRUSH);

  // Whether an object with that test rectangle is drawn.
  bool Visible(const RECT& r) const { return drawAll || RectVisible(dc, &r); }
  // Whether an object with those flags is drawn as selected.
  bool Selected(unsigned char flags) const { return selection && (flags & kSchSelected) != 0; }
};

// The stubs, numbers and names of a component's pins.
void PaintPins(const PaintKit& kit, const CSCHBlock* b) {
  HDC dc = kit.dc;
  CKestDcSelection lines(dc);
  lines.Select(kit.blackPen);
  lines.Select(kit.noBrush);
  for (int i = 0; i < b->pinCount; i++) {
    const SchPin& pin = b->pins[i];
    int side = pin.side & 3;
    POINT a = b->GetPinAnchor(i);
    int x = a.x, y = a.y;
    DrawLine(dc, x, y, x - kPinStub * kDx[side], y - kPinStub * kDy[side]);
    if (pin.number >= 0) {
      CKestDcSelection font(dc);
      font.Select(kit.numberFont.Get());
      int w = 0, h = 0;
      DrawNumber(dc, pin.number, &w, &h, 0, 0, true);
      int tx = x, ty = y;
      switch (side) {
        case kSchSideLeft: tx = x + 3 - w; ty = y - h - 4; break;
        case kSchSideTop: tx = x + 4; ty = y - h + 3; break;
        case kSchSideRight: tx = x - 3; ty = y - h - 4; break;
        default: tx = x + 4; ty = y - 3; break;
      }
      DrawNumber(dc, pin.number, &w, &h, tx, ty, false);
    }
    if (pin.name && pin.name[0]) {
      const wchar_t* name = pin.name;
      bool inverted = name[0] == L'~';
      if (inverted) name++;
      bool vertical = side == kSchSideTop || side == kSchSideBottom;
      // The downward font goes when this name is drawn: the next part's
      // own texts stay upright.
      CKestDcSelection font(dc);
      font.Select(vertical ? kit.downFont.Get() : kit.nameFont.Get());
      SIZE extent = TextExtent(dc, name);
      int w = extent.cx, h = extent.cy;
      int tx = x, ty = y;
      switch (side) {
        case kSchSideLeft: tx = x + kPinLabelGap; ty = y - h / 2; break;
        case kSchSideTop: tx = x + h / 2; ty = y + kPinLabelGap; break;
        case kSchSideRight: tx = x - w - kPinLabelGap; ty = y - h / 2; break;
        default: tx = x + kPinLabelGap; ty = y - w - kPinLabelGap; break;
      }
      if (!vertical && b->raisePinLabels) ty -= kRaisedLabel;
      TextOutW(dc, tx, ty, name, static_cast<int>(wcslen(name)));
      if (inverted) {
        if (vertical) DrawLine(dc, tx + 1, ty, tx + 1, ty + w);
        else DrawLine(dc, tx, ty - 1, tx + w, ty - 1);
      }
    }
  }
}

// Components with their pins, oldest first.
void PaintComponents(const PaintKit& kit, SchScheme* scheme) {
  for (CSCHBlock* b = OldestBlock(scheme); b; b = b->prev) {
    if (!kit.Visible(Grown(b->rect, 11))) continue;
    {
      // Every component starts from the same objects: the black pen, no
      // brush and the horizontal name font for its own texts. What it
      // leaves selected goes back.
      CKestDcSelection start(kit.dc);
      start.Select(kit.blackPen);
      start.Select(kit.noBrush);
      start.Select(kit.nameFont.Get());
      int saved = SaveDC(kit.dc);
      b->Paint(kit.dc);
      RestoreDC(kit.dc, saved);
    }
    PaintPins(kit, b);
  }
}

// Junction dots.
void PaintJunctions(const PaintKit& kit, SchScheme* scheme) {
  CKestDcSelection dots(kit.dc);
  dots.Select(kit.blackPen);
  dots.Select(GetStockObject(BLACK_BRUSH));
  for (SchJunction* j = OldestOf(scheme->junctions); j; j = j->prev) {
    RECT dot = {j->x - 2, j->y - 2, j->x + 3, j->y + 3};
    if (!kit.Visible(dot)) continue;
    Ellipse(kit.dc, dot.left, dot.top, dot.right, dot.bottom);
  }
}

// Dotted frames around the selected components and junctions.
void PaintMarks(const PaintKit& kit, SchScheme* scheme) {
  if (!kit.selection) return;
  HDC dc = kit.dc;
  CKestDcSelection marks(dc);
  marks.Select(kit.dotPen.Get());
  marks.Select(kit.noBrush);
  for (CSCHBlock* b = OldestBlock(scheme); b; b = b->prev) {
    if (!(b->flags & kSchSelected)) continue;
    RECT mark = Grown(b->rect, 2);
    if (kit.Visible(mark)) Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom);
  }
  for (SchJunction* j = OldestOf(scheme->junctions); j; j = j->prev) {
    if (!(j->flags & kSchSelected)) continue;
    RECT mark = {j->x - 5, j->y - 5, j->x + 6, j->y + 6};
    if (kit.Visible(mark)) Rectangle(dc, mark.left, mark.top, mark.right, mark.bottom);
  }
}

// Wires, in the pen of their kind.
void PaintWires(const PaintKit& kit, SchScheme* scheme) {
  VertexList v;
  for (SchWire* w = OldestOf(scheme->wires); w; w = w->prev) {
    if (!v.Load(w) || v.Count() == 0) continue;
    RECT box = v.Bounds();
    box.right++;
    box.bottom++;
    if (!kit.Visible(box)) continue;
    bool selected = kit.Selected(w->flags);
    HGDIOBJ pen;
    if (w->kind == kSchPinElectric) pen = selected ? kit.thinSelected.Get() : kit.blackPen;
    else if (w->kind == kSchPinHydraulic) pen = selected ? kit.hydraulicSelected.Get() : kit.hydraulic.Get();
    else pen = selected ? kit.thickSelected.Get() : kit.thick.Get();
    CKestDcSelection line(kit.dc);
    line.Select(pen);
    Polyline(kit.dc, v.Points(), v.Count());
  }
}

// Buses: the numbered slot stubs at both ends, the thick line and the bars
// across its ends.
void PaintBuses(const PaintKit& kit, SchScheme* scheme) {
  HDC dc = kit.dc;
  CKestDcSelection numbers(dc);
  numbers.Select(kit.numberFont.Get());
  numbers.Select(kit.noBrush);
  VertexList v;
  for (SchBus* bus = OldestOf(scheme->buses); bus; bus = bus->prev) {
    if (!v.Load(bus) || v.Count() == 0) continue;
    RECT box = v.Bounds();
    for (int e = 0; e < 2; e++)
      for (int k = 0; k < bus->slotCount; k++) ExtendTo(&box, bus->GetSlotPoint(e, k));
    if (!kit.Visible(Grown(box, 5))) continue;
    CKestDcSelection stubs(dc);
    stubs.Select(kit.blackPen);
    for (int e = 0; e < 2; e++) {
      int d = bus->GetEndSide(e) & 3;
      for (int k = 0; k < bus->slotCount; k++) {
        POINT p = bus->GetSlotPoint(e, k);
        DrawLine(dc, p.x, p.y, p.x - kBusStub * kDx[d], p.y - kBusStub * kDy[d]);
        int w = 0, h = 0;
        DrawNumber(dc, k + 1, &w, &h, 0, 0, true);
        int tx, ty;
        switch (d) {
          case 0: tx = p.x + 6; ty = p.y - h - 2; break;
          case 1: tx = p.x + 2; ty = p.y + 6; break;
          case 2: tx = p.x - w - 6; ty = p.y - h - 2; break;
          default: tx = p.x + 2; ty = p.y - h - 6; break;
        }
        DrawNumber(dc, k + 1, &w, &h, tx, ty, false);
      }
    }
    CKestDcSelection line(dc);
    line.Select(kit.Selected(bus->flags) ? kit.thickSelected.Get() : kit.thick.Get());
    Polyline(dc, v.Points(), v.Count());
    int half = (kBusSlotPitch * bus->slotCount - kBusSlotPitch) / 2;
    for (int e = 0; e < 2; e++) {
      int d = bus->GetEndSide(e) & 3;
      int q = (d + 1) & 3;
      POINT p = v[e == 0 ? 0 : v.Count() - 1];
      DrawLine(dc, p.x - half * kDx[q], p.y - half * kDy[q], p.x + half * kDx[q], p.y + half * kDy[q]);
    }
  }
}

}  // namespace

void CSchemeView::PaintScheme(HDC dc, bool drawAll) { PaintSchemeWith(dc, drawAll, true); }

void CSchemeView::PaintSchemeWith(HDC dc, bool drawAll, bool selection) {
  if (!dc || !scheme) return;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
  {
    PaintKit kit(dc, drawAll, selection);
    PaintComponents(kit, scheme);
    PaintJunctions(kit, scheme);
    PaintMarks(kit, scheme);
    PaintWires(kit, scheme);
    PaintBuses(kit, scheme);
  }
  ::SetTextColor(dc, oldText);
  SetBkMode(dc, oldMode);
}

void CSchemeView::PaintContent(HDC dc) {
  SetStretchBltMode(dc, HALFTONE);
  PaintScheme(dc, false);
}

// ---------------------------------------------------------------- hit test

int CSchemeView::HitTest(int x, int y, int* side, int* index, void** found, bool blocksOnly) {
  int sideOut = 0, indexOut = 0;
  void* objectOut = nullptr;
  auto answer = [&](int kind) {
    if (side) *side = sideOut;
    if (index) *index = indexOut;
    if (found) *found = objectOut;
    return kind;
  };
  if (!scheme) return answer(kHitNothing);

  if (!blocksOnly) {
    // 1. Bus slot ends.
    for (SchBus* bus = scheme->buses; bus; bus = bus->next) {
      for (int e = 0; e < 2; e++) {
        for (int k = 0; k < bus->slotCount; k++) {
          POINT p = bus->GetSlotPoint(e, k);
          if (Near(x, p.x, kSlotReach) && Near(y, p.y, kSlotReach)) {
            objectOut = bus;
            indexOut = k;
            sideOut = e;
            return answer(kHitBusSlot);
          }
        }
      }
    }
    VertexList v;
    // 2. Bus segments, except the bus being drawn.
    for (SchBus* bus = scheme->buses; bus; bus = bus->next) {
      if (state != kStateIdle && tool == kToolBus && object == bus) continue;
      if (!v.Load(bus)) continue;
      for (int k = 0; k + 1 < v.Count(); k++) {
        int vertical = SegmentHit(v[k], v[k + 1], x, y);
        if (vertical < 0) continue;
        objectOut = bus;
        indexOut = k;
        sideOut = vertical;
        return answer(kHitBusSegment);
      }
    }
    // 3. Junctions.
    for (SchJunction* j = scheme->junctions; j; j = j->next) {
      RECT box = {j->x - kJunctionReach, j->y - kJunctionReach, j->x + kJunctionReach, j->y + kJunctionReach};
      POINT p = {x, y};
      if (PtInRect(&box, p)) {
        objectOut = j;
        return answer(kHitJunction);
      }
    }
    // 4. Wire corners, except the wire being drawn.
    for (SchWire* w = scheme->wires; w; w = w->next) {
      if (state != kStateIdle && tool == kToolWire && object == w) continue;
      if (!MayReach(w, x, y, kCornerReach) || !v.Load(w)) continue;
      for (int k = 1; k + 1 < v.Count(); k++) {
        if (!Near(x, v[k].x, kCornerReach) || !Near(y, v[k].y, kCornerReach)) continue;
        objectOut = w;
        indexOut = k;
        sideOut = NeighbourBit(v[k], v[k - 1]) | NeighbourBit(v[k], v[k + 1]);
        return answer(kHitWireCorner);
      }
    }
    // 5. Wire segments.
    for (SchWire* w = scheme->wires; w; w = w->next) {
      if (state != kStateIdle && tool == kToolWire && object == w) continue;
      if (!MayReach(w, x, y, kSegmentReach) || !v.Load(w)) continue;
      for (int k = 0; k + 1 < v.Count(); k++) {
        int vertical = SegmentHit(v[k], v[k + 1], x, y);
        if (vertical < 0) continue;
        objectOut = w;
        indexOut = k;
        sideOut = vertical;
        segmentHit = vertical ? POINT{v[k].x, y} : POINT{x, v[k].y};
        return answer(kHitWireSegment);
      }
    }
  }

  // Components, newest first: a pin, else the body.
  for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
    for (int i = 0; i < b->pinCount; i++) {
      if (!blocksOnly && b->pins[i].wire) continue;
      POINT a = b->GetPinAnchor(i);
      if (Near(x, a.x, kPinReach) && Near(y, a.y, kPinReach)) {
        objectOut = b;
        indexOut = i;
        sideOut = b->pins[i].side;
        return answer(kHitPin);
      }
    }
    POINT p = {x, y};
    if (PtInRect(&b->rect, p)) {
      objectOut = b;
      return answer(kHitBlock);
    }
  }
  return answer(kHitNothing);
}

// ---------------------------------------------------------------- extent and picture

RECT CSchemeView::ComputeExtent() const {
  RECT extent = {0, 0, 10, 10};
  if (scheme) {
    for (CSCHBlock* b = scheme->blocks; b; b = b->next) UnionRect(&extent, &extent, &b->rect);
    for (SchJunction* j = scheme->junctions; j; j = j->next) {
      RECT box = {j->x - 4, j->y - 4, j->x + 4, j->y + 4};
      UnionRect(&extent, &extent, &box);
    }
    for (SchWire* w = scheme->wires; w; w = w->next)
      for (int i = 0; i < w->GetPointCount(); i++) ExtendTo(&extent, w->GetPoint(i));
    for (SchBus* bus = scheme->buses; bus; bus = bus->next) {
      for (int i = 0; i < bus->GetPointCount(); i++) ExtendTo(&extent, bus->GetPoint(i));
      for (int e = 0; e < 2; e++)
        for (int k = 0; k < bus->slotCount; k++) ExtendTo(&extent, bus->GetSlotPoint(e, k));
    }
  }
  extent = Grown(extent, kExtentMargin);
  // The margin covers the pins on a body's sides; a pin placed beyond its
  // side (an offset outside the side's length) is reached by its anchor,
  // where its stub ends.
  if (scheme)
    for (CSCHBlock* b = scheme->blocks; b; b = b->next)
      for (int i = 0; i < b->pinCount; i++) {
        POINT a = b->GetPinAnchor(i);
        RECT pin = {a.x - 1, a.y - 1, a.x + 2, a.y + 2};
        UnionRect(&extent, &extent, &pin);
      }
  return extent;
}

void CSchemeView::SetPictureExporter(CPictureExporter* exporter) {
  exporter_ = exporter ? exporter : &defaultExporter_;
}

void CSchemeView::ExportPicture(int kind) {
  if (!window_) return;
  RECT picture;
  int low = 0, high = 0;
  GetScrollRange(window_, SB_HORZ, &low, &high);
  picture.left = low;
  picture.right = high;
  GetScrollRange(window_, SB_VERT, &low, &high);
  picture.top = low;
  picture.bottom = high;
  HDC dc = exporter_->Begin(kind, picture);
  if (!dc) return;
  // A picture shows the scheme, not what the user has selected in it.
  PaintSchemeWith(dc, true, false);
  exporter_->End(kind, dc);
}

// ---------------------------------------------------------------- selection

void CSchemeView::SelectAll(bool select) {
  if (scheme) {
    auto apply = [select](unsigned char& flags) {
      if (select) flags |= kSchSelected;
      else flags &= static_cast<unsigned char>(~kSchSelected);
    };
    for (CSCHBlock* b = scheme->blocks; b; b = b->next) apply(b->flags);
    for (SchWire* w = scheme->wires; w; w = w->next) apply(w->flags);
    for (SchJunction* j = scheme->junctions; j; j = j->next) apply(j->flags);
    for (SchBus* bus = scheme->buses; bus; bus = bus->next) apply(bus->flags);
  }
  SendToEditor(WM_EDITOR_SELECTION_CHANGED, 0, 0);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

bool CSchemeView::HasSelection(bool all) const {
  if (!scheme) return false;
  auto counts = [all](unsigned char flags) {
    return (flags & kSchSelected) && (all || !(flags & kSchBoardPart));
  };
  for (CSCHBlock* b = scheme->blocks; b; b = b->next)
    if (counts(b->flags)) return true;
  for (SchWire* w = scheme->wires; w; w = w->next)
    if (counts(w->flags)) return true;
  for (SchBus* bus = scheme->buses; bus; bus = bus->next)
    if (counts(bus->flags)) return true;
  return false;
}

void CSchemeView::DeleteSelection() {
  // A tool object that goes (a wire being drawn goes with its component)
  // is dropped through the scheme's watch, which ends the tool.
  if (scheme) {
    auto deletable = [](unsigned char flags) { return (flags & kSchSelected) && !(flags & kSchBoardPart); };
    for (;;) {
      CSCHBlock* b = scheme->blocks;
      while (b && !deletable(b->flags)) b = b->next;
      if (!b) break;
      NotifyModified();
      delete b;
    }
    for (;;) {
      SchWire* w = scheme->wires;
      while (w && !deletable(w->flags)) w = w->next;
      if (!w) break;
      NotifyModified();
      delete w;
    }
    for (;;) {
      SchBus* bus = scheme->buses;
      while (bus && !deletable(bus->flags)) bus = bus->next;
      if (!bus) break;
      NotifyModified();
      delete bus;
    }
  }
  UpdateScrollRange();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  SendToEditor(WM_EDITOR_SELECTION_CHANGED, 0, 0);
}

void CSchemeView::CancelTool() {
  // In the wire tool a press that started no wire works as a select press:
  // its object is whatever it found, not a wire to take away.
  if (selecting_) {
    selecting_ = false;
    object = nullptr;
  } else if (tool == kToolWire && state != kStateIdle && object) {
    SchWire* wire = static_cast<SchWire*>(object);
    object = nullptr;  // the view's own deletion: the tool ends here
    delete wire;
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    tool = kToolSelect;
  } else if (tool == kToolBus && state != kStateIdle) {
    tool = kToolSelect;
    SendToEditor(WM_EDITOR_TOOL_FINISHED, 0, CSphEditor::kPalCursor);
  }
  state = kStateIdle;
}

void CSchemeView::OpenItem() {
  void* found = nullptr;
  if (HitTest(currentPoint.x, currentPoint.y, nullptr, nullptr, &found, false) != kHitBlock) return;
  CSCHBlock* block = static_cast<CSCHBlock*>(found);
  if (block->className && strcmp(block->className, "PCB") == 0) {
    if (!block->nestedScheme || !MainKestForm) return;
    CSphEditor* editor = new CSphEditor(MainKestForm, block->nestedScheme, CSphEditor::kEditorBoard, block->footprintWidth,
                                        block->footprintLength);
    if (editor->GetHandle() && block->instanceName) editor->SetCaption(block->instanceName);
    return;
  }
  if (block->Edit()) NotifyModified();
}


// ---------------------------------------------------------------- editing

namespace {

// Cursors of the framework's table: over a pin or slot, and over a
// horizontal or vertical segment that can be dragged.
const int kCursorConnect = KestCursorCross;
const int kCursorSizeHorizontal = KestCursorSplitNs;
const int kCursorSizeVertical = KestCursorSplitWe;
// Half the junction box the rubber band must hold.
const int kJunctionBandHalf = 3;
// Margin of the area repainted around a component being placed.
const int kPlaceMargin = 8;

bool AddingToSelection() { return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0; }

bool StrictlyInside(const RECT& r, const RECT& band) {
  return r.left > band.left && r.top > band.top && r.right < band.right && r.bottom < band.bottom;
}

// Coordinate i of a polyline whose first segment leaves in direction dir
// holds an x when i and dir have the same parity.
bool CoordinateIsX(int i, int dir) { return (i & 1) == (dir & 1); }

void SetFlag(unsigned char* flags) { *flags |= kSchSelected; }

}  // namespace

void CSchemeView::Select(unsigned char* flags) {
  SetFlag(flags);
  SendToEditor(WM_EDITOR_SELECTION_CHANGED, 0, 0);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CSchemeView::ClearSelectionUnlessAdding() {
  if (!AddingToSelection()) SelectAll(false);
}

void CSchemeView::MoveSelection(int dx, int dy) {
  if ((dx == 0 && dy == 0) || !scheme) return;
  for (CSCHBlock* b = scheme->blocks; b; b = b->next)
    if (b->flags & kSchSelected) OffsetRect(&b->rect, dx, dy);
  for (SchJunction* j = scheme->junctions; j; j = j->next) {
    if (!(j->flags & kSchSelected)) continue;
    j->x += dx;
    j->y += dy;
  }
  for (SchWire* w = scheme->wires; w; w = w->next) {
    if (!(w->flags & kSchSelected)) continue;
    for (int i = 0; i < w->coordCount; i++) w->coords[i] += CoordinateIsX(i, w->firstDir) ? dx : dy;
  }
  for (SchBus* bus = scheme->buses; bus; bus = bus->next) {
    if (!(bus->flags & kSchSelected)) continue;
    bus->x0 += dx;
    bus->y0 += dy;
    bus->x1 += dx;
    bus->y1 += dy;
    for (int i = 0; i < bus->coordCount; i++) bus->coords[i] += CoordinateIsX(i, bus->endDir) ? dx : dy;
  }
  NotifyModified();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CSchemeView::RefreshSelected() {
  if (!scheme) return;
  bool changed = false;
  for (CSCHBlock* b = scheme->blocks; b; b = b->next)
    if ((b->flags & kSchSelected) && b->NormalizeWires()) changed = true;
  for (SchJunction* j = scheme->junctions; j; j = j->next)
    if ((j->flags & kSchSelected) && j->NormalizeWires()) changed = true;
  for (SchWire* w = scheme->wires; w; w = w->next)
    if ((w->flags & kSchSelected) && w->Normalize()) changed = true;
  if (changed && window_) InvalidateRect(window_, nullptr, FALSE);
}

void CSchemeView::OnLeftDown(int x, int y) {
  buttonDown = 1;
  ::SetFocus(window_);
  pressPoint = currentPoint = POINT{x, y};
  selecting_ = false;
  if (!scheme) return;
  if (tool == kToolSelect || (tool == kToolWire && state == kStateIdle)) {
    PressSelect(x, y);
  } else if (tool == kToolBus && state == kStateIdle) {
    SchBus* bus = new (std::nothrow) SchBus(scheme);
    if (!bus) return;
    bus->SetSlotCount(cores);
    bus->x0 = bus->x1 = x;
    bus->y0 = bus->y1 = y;
    object = bus;
    state = kStateStarted;
    InvalidateRect(window_, nullptr, FALSE);
    NotifyModified();
  } else if (tool == kToolPlaceClass) {
    SelectAll(false);
    CSCHBlock* made = className ? scheme->CreateBlock(className) : nullptr;
    if (!made) return;
    made->MoveTo(x - (made->rect.right - made->rect.left) / 2, y - (made->rect.bottom - made->rect.top) / 2);
    InvalidateRect(window_, nullptr, FALSE);
    NotifyModified();
  }
}

void CSchemeView::PressSelect(int x, int y) {
  int side = 0, index = 0;
  void* found = nullptr;
  int kind = HitTest(x, y, &side, &index, &found, false);
  hitKind = kind;
  hitIndex = index;
  hitSide = side;
  object = found;
  selecting_ = true;
  switch (kind) {
    case kHitNothing:
      ClearSelectionUnlessAdding();
      state = kStateBand;
      break;
    case kHitBlock:
    case kHitJunction: {
      unsigned char* flags = kind == kHitBlock ? &static_cast<CSCHBlock*>(found)->flags
                                               : &static_cast<SchJunction*>(found)->flags;
      if (*flags & kSchSelected) {
        state = kStateMoveSelection;
      } else {
        ClearSelectionUnlessAdding();
        Select(flags);
      }
      break;
    }
    case kHitWireSegment: {
      SchWire* wire = static_cast<SchWire*>(found);
      ClearSelectionUnlessAdding();
      SetFlag(&wire->flags);
      if (index >= 1 && index <= wire->coordCount) state = kStateWireSegment;
      SendToEditor(WM_EDITOR_SELECTION_CHANGED, 0, 0);
      InvalidateRect(window_, nullptr, FALSE);
      break;
    }
    case kHitBusSegment:
      ClearSelectionUnlessAdding();
      SetFlag(&static_cast<SchBus*>(found)->flags);
      state = kStateBusPart;
      SendToEditor(WM_EDITOR_SELECTION_CHANGED, 0, 0);
      InvalidateRect(window_, nullptr, FALSE);
      break;
    case kHitPin:
      tool = kToolWire;
      wireKind = static_cast<CSCHBlock*>(found)->pins[index].kind;
      StartWire(x, y);
      break;
    case kHitBusSlot:
      tool = kToolWire;
      wireKind = 0;
      SendToEditor(WM_EDITOR_TOOL_FINISHED, 0, CSphEditor::kPalCursor);
      StartWire(x, y);
      break;
    default:  // a wire corner
      break;
  }
}

void CSchemeView::StartWire(int x, int y) {
  selecting_ = false;
  object = nullptr;
  SelectAll(false);
  int side = 0, index = 0;
  void* found = nullptr;
  int kind = HitTest(x, y, &side, &index, &found, false);
  auto backToSelect = [this]() {
    tool = kToolSelect;
    SendToEditor(WM_EDITOR_TOOL_FINISHED, 0, CSphEditor::kPalCursor);
  };
  if (kind == kHitPin || (kind == kHitBusSlot && wireKind == 0)) {
    NotifyModified();
    SchWire* wire = new (std::nothrow) SchWire(scheme);
    if (!wire) return;
    wire->kind = static_cast<unsigned char>(wireKind);
    bool attached;
    if (kind == kHitPin) {
      wire->firstDir = static_cast<unsigned char>(side & 3);
      attached = wire->AttachToPin(0, static_cast<CSCHBlock*>(found), index);
    } else {
      SchBus* bus = static_cast<SchBus*>(found);
      wire->firstDir = static_cast<unsigned char>(bus->GetEndSide(side) & 3);
      attached = wire->AttachToBus(0, bus, side, index);
    }
    if (!attached) {
      delete wire;
      return;
    }
    state = kStateStarted;
    SetFreeEndPoint(currentPoint);
    object = wire;
  } else if (kind == kHitBlock) {
    backToSelect();
    Select(&static_cast<CSCHBlock*>(found)->flags);
  } else if (kind == kHitWireSegment || kind == kHitWireCorner) {
    Select(&static_cast<SchWire*>(found)->flags);
    backToSelect();
  } else if (kind == kHitJunction) {
    Select(&static_cast<SchJunction*>(found)->flags);
    backToSelect();
  } else {
    backToSelect();
    PressSelect(x, y);
  }
}

void CSchemeView::OnMouseMove(int clientX, int clientY) {
  if (buttonDown) AutoScrollAtEdge(clientX, clientY);
  POINT at = ClientToDocument(clientX, clientY);
  int x = at.x, y = at.y;
  if (!scheme) return;
  int side = 0, index = 0;
  void* found = nullptr;
  int kind = HitTest(x, y, &side, &index, &found, true);
  if (kind == kHitBlock) SetHint(static_cast<CSCHBlock*>(found)->typeText);
  else if (kind == kHitPin) SetHint(static_cast<CSCHBlock*>(found)->pins[index].description);
  else SetHint(nullptr);
  kind = HitTest(x, y, &side, &index, &found, false);

  if (tool == kToolSelect || selecting_) {
    MoveSelectTool(x, y, kind, index, side, found);
  } else if (tool == kToolWire) {
    MoveWireTool(x, y, kind, index, side, found);
  } else if (tool == kToolBus) {
    SetCursorIndex(kCursorConnect);
    SchBus* bus = static_cast<SchBus*>(object);
    if (state != kStateIdle && bus) {
      bus->x1 = x;
      bus->y1 = y;
      if (bus->coordCount == 0) {
        int dx = std::abs(x - bus->x0), dy = std::abs(y - bus->y0);
        if (dx > dy) bus->endDir = bus->x0 < x ? 0 : 2;
        else bus->endDir = bus->y0 < y ? 1 : 3;
      }
      InvalidateRect(window_, nullptr, FALSE);
    }
  } else if (tool == kToolPlaceClass) {
    SetCursorIndex(kCursorConnect);
  } else if (tool == kToolPlaceBlock) {
    SetCursorIndex(KestCursorMove);
    CSCHBlock* block = static_cast<CSCHBlock*>(object);
    if (!block) return;
    RECT area = DocumentToClient(Grown(block->rect, kPlaceMargin));
    InvalidateRect(window_, &area, FALSE);
    block->MoveTo(x - (block->rect.right - block->rect.left) / 2, y - (block->rect.bottom - block->rect.top) / 2);
    area = DocumentToClient(Grown(block->rect, kPlaceMargin));
    InvalidateRect(window_, &area, FALSE);
    AutoScrollAtEdge(clientX, clientY);
    UpdateScrollRange();
  }
}

void CSchemeView::MoveSelectTool(int x, int y, int kind, int index, int side, void* found) {
  switch (state) {
    case kStateIdle: {
      int cursor = KestCursorArrow;
      if (kind == kHitBlock && (static_cast<CSCHBlock*>(found)->flags & kSchSelected)) cursor = KestCursorMove;
      else if (kind == kHitJunction && (static_cast<SchJunction*>(found)->flags & kSchSelected)) cursor = KestCursorMove;
      else if (kind == kHitPin || kind == kHitBusSlot) cursor = kCursorConnect;
      else if (kind == kHitWireSegment && index >= 1 && index <= static_cast<SchWire*>(found)->coordCount)
        cursor = side ? kCursorSizeVertical : kCursorSizeHorizontal;
      else if (kind == kHitBusSegment) {
        SchBus* bus = static_cast<SchBus*>(found);
        if (index == 0 || index > bus->coordCount) cursor = KestCursorMove;
        else cursor = side ? kCursorSizeVertical : kCursorSizeHorizontal;
      }
      SetCursorIndex(cursor);
      break;
    }
    case kStateBand:
      DrawBand(pressPoint, currentPoint);
      currentPoint = POINT{x, y};
      DrawBand(pressPoint, currentPoint);
      break;
    case kStateMoveSelection:
      MoveSelection(x - currentPoint.x, y - currentPoint.y);
      currentPoint = POINT{x, y};
      break;
    case kStateWireSegment: {
      SchWire* wire = static_cast<SchWire*>(object);
      int s = hitIndex;
      if (!wire || s < 1 || s > wire->coordCount) break;
      wire->coords[s - 1] = ((s & 1) == (wire->firstDir & 1)) ? y : x;
      NotifyModified();
      InvalidateRect(window_, nullptr, FALSE);
      break;
    }
    case kStateBusPart: {
      SchBus* bus = static_cast<SchBus*>(object);
      if (!bus) break;
      int s = hitIndex, dx = x - currentPoint.x, dy = y - currentPoint.y;
      if (s == 0) {
        bus->x0 += dx;
        bus->y0 += dy;
      } else if (s > bus->coordCount) {
        bus->x1 += dx;
        bus->y1 += dy;
      } else {
        bus->coords[s - 1] = ((s & 1) == (bus->endDir & 1)) ? y : x;
      }
      InvalidateRect(window_, nullptr, FALSE);
      currentPoint = POINT{x, y};
      NotifyModified();
      break;
    }
    default:
      break;
  }
}

void CSchemeView::MoveWireTool(int x, int y, int kind, int index, int side, void* found) {
  SchWire* wire = static_cast<SchWire*>(object);
  if (state == kStateIdle || !wire) {
    bool fits = (kind == kHitPin && static_cast<CSCHBlock*>(found)->pins[index].kind == wireKind) ||
                (kind == kHitBusSlot && wireKind == 0);
    SetCursorIndex(fits ? kCursorConnect : KestCursorArrow);
    return;
  }
  SetFreeEndPoint(POINT{x, y});
  InvalidateRect(window_, nullptr, FALSE);
  int d = wire->GetEndDirection(1) & 3;
  bool fits = false;
  switch (kind) {
    case kHitPin: {
      const SchPin& pin = static_cast<CSCHBlock*>(found)->pins[index];
      fits = pin.kind == wire->kind && ((d - pin.side) & 3) != 2;
      if (fits) SetHint(pin.description);
      break;
    }
    case kHitWireSegment:
      fits = wire->kind == 0 && static_cast<SchWire*>(found)->kind == 0 && (d & 1) != side;
      break;
    case kHitJunction:
      fits = wire->kind == 0 && !static_cast<SchJunction*>(found)->wires[d];
      break;
    case kHitBusSlot:
      fits = wire->kind == 0 && static_cast<SchBus*>(found)->GetEndSide(side) == d;
      break;
    case kHitWireCorner:
      fits = wire->kind == 0 && static_cast<SchWire*>(found)->kind == 0 && !(side & (1 << d));
      break;
    default:
      break;
  }
  SetCursorIndex(fits ? kCursorConnect : KestCursorArrow);
}

void CSchemeView::FinishBand() {
  RECT band = {std::min(pressPoint.x, currentPoint.x), std::min(pressPoint.y, currentPoint.y),
               std::max(pressPoint.x, currentPoint.x), std::max(pressPoint.y, currentPoint.y)};
  for (CSCHBlock* b = scheme->blocks; b; b = b->next)
    if (StrictlyInside(b->rect, band)) SetFlag(&b->flags);
  VertexList v;
  for (SchWire* w = scheme->wires; w; w = w->next)
    if (v.Load(w) && v.Count() > 0 && StrictlyInside(v.Bounds(), band)) SetFlag(&w->flags);
  for (SchBus* bus = scheme->buses; bus; bus = bus->next)
    if (v.Load(bus) && v.Count() > 0 && StrictlyInside(v.Bounds(), band)) SetFlag(&bus->flags);
  for (SchJunction* j = scheme->junctions; j; j = j->next) {
    RECT box = {j->x - kJunctionBandHalf, j->y - kJunctionBandHalf, j->x + kJunctionBandHalf,
                j->y + kJunctionBandHalf};
    if (StrictlyInside(box, band)) SetFlag(&j->flags);
  }
  InvalidateRect(window_, nullptr, FALSE);
  // Like every other change of the selection, so that the editor's Delete
  // follows at once.
  SendToEditor(WM_EDITOR_SELECTION_CHANGED, 0, 0);
}

void CSchemeView::ReleaseSelectTool() {
  if (state == kStateMoveSelection) {
    RefreshSelected();
    UpdateScrollRange();
  } else if (state == kStateWireSegment) {
    SchWire* wire = static_cast<SchWire*>(object);
    if (wire && wire->Normalize()) InvalidateRect(window_, nullptr, FALSE);
    UpdateScrollRange();
  } else if (state == kStateBand) {
    FinishBand();
  }
  state = kStateIdle;
  selecting_ = false;
  // What the press found is not kept beyond the gesture.
  if (tool == kToolWire || tool == kToolSelect) object = nullptr;
}

void CSchemeView::ReleaseWireTool(int x, int y) {
  SchWire* wire = static_cast<SchWire*>(object);
  if (state == kStateStarted) {
    state = kStateDrawing;
    return;
  }
  if (state != kStateDrawing || !wire) return;
  int side = 0, index = 0;
  void* found = nullptr;
  int kind = HitTest(x, y, &side, &index, &found, false);
  bool attached = false;
  switch (kind) {
    case kHitPin:
      attached = wire->AttachToPin(1, static_cast<CSCHBlock*>(found), index);
      break;
    case kHitWireSegment:
      attached = wire->AttachToWireSegment(1, static_cast<SchWire*>(found), index, segmentHit);
      break;
    case kHitJunction:
      attached = wire->AttachToJunction(1, static_cast<SchJunction*>(found));
      break;
    case kHitBusSlot:
      attached = wire->AttachToBus(1, static_cast<SchBus*>(found), side, index);
      break;
    case kHitWireCorner:
      attached = wire->AttachToWireCorner(1, static_cast<SchWire*>(found), index);
      break;
    default: {
      // Anything else adds a corner at the pointer.
      int n = wire->coordCount + 1;
      if (!wire->SetCoordinateCount(n)) return;
      wire->coords[n - 1] = ((n & 1) == (wire->firstDir & 1)) ? y : x;
      InvalidateRect(window_, nullptr, FALSE);
      return;
    }
  }
  if (!attached) return;
  wire->Normalize();
  InvalidateRect(window_, nullptr, FALSE);
  object = nullptr;
  state = kStateIdle;
  tool = kToolSelect;
}

void CSchemeView::OnLeftUp(int x, int y) {
  buttonDown = 0;
  if (!scheme) return;
  if (tool == kToolSelect || selecting_) {
    ReleaseSelectTool();
  } else if (tool == kToolWire) {
    ReleaseWireTool(x, y);
  } else if (tool == kToolBus) {
    SchBus* bus = static_cast<SchBus*>(object);
    if (state == kStateStarted) {
      state = kStateDrawing;
    } else if (state == kStateDrawing && bus) {
      int n = bus->coordCount + 1;
      if (!bus->SetCoordinateCount(n)) return;
      bus->coords[n - 1] = (bus->GetEndSide(1) & 1) == 0 ? x : y;
      InvalidateRect(window_, nullptr, FALSE);
    }
  } else if (tool == kToolPlaceClass || tool == kToolPlaceBlock) {
    // A component placed from the database is new to the document.
    if (tool == kToolPlaceBlock && object) NotifyModified();
    tool = kToolSelect;
    state = kStateIdle;
    object = nullptr;
    SendToEditor(WM_EDITOR_TOOL_FINISHED, 0, 0);
  }
}

bool CSchemeView::OnKey(WPARAM key) {
  switch (key) {
    case VK_ESCAPE:
      CancelTool();
      return true;
    case VK_LEFT:
      MoveSelection(-1, 0);
      return true;
    case VK_UP:
      MoveSelection(0, -1);
      return true;
    case VK_RIGHT:
      MoveSelection(1, 0);
      return true;
    case VK_DOWN:
      MoveSelection(0, 1);
      return true;
    case 'A':
      if (GetKeyState(VK_CONTROL) < 0) SelectAll(true);
      return false;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- messages

LRESULT CSchemeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      POINT at = ClientToDocument(lParam);
      OnLeftDown(at.x, at.y);
      break;
    }
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_LBUTTONUP: {
      POINT at = ClientToDocument(lParam);
      OnLeftUp(at.x, at.y);
      break;
    }
    case WM_LBUTTONDBLCLK:
      ReleaseCapture();
      OpenItem();
      return 0;
    case WM_RBUTTONDOWN:
      ::SetFocus(window_);
      currentPoint = ClientToDocument(lParam);
      if (state > kStateIdle) {
        CancelTool();
        SuppressMenuOnRelease();
        return 0;
      }
      if (GetMenu()) GetMenu()->EnableItem(2, HasSelection(false));
      break;
    case WM_KEYDOWN:
      if (OnKey(wParam)) return 0;
      break;
    default:
      break;
  }
  return CKestCanvas::WindowProc(message, wParam, lParam);
}
