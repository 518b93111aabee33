#include "components/electronic/connectors/miniusb_connector.h"

#include <new>

#include "components/electronic/connectors/connector_drawing.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/model/scheme.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"

namespace {

const float kBusVolts = 5.0f;
const float kSupplyResistance = 5.0f;
const float kIdleHigh = 3.3f;
const float kLineResistance = 1000.0f;
const COLORREF kLugFill = RGB(185, 211, 232);
const COLORREF kLugPen = RGB(107, 146, 176);
const COLORREF kPadFill = RGB(214, 218, 187);
const COLORREF kShellFill = RGB(200, 224, 242);
const int kMaxOutline = 32;

SchPacketSet* PacketsOf(SchSignalSource* source) { return source ? source->packets : nullptr; }

// One mounting lug: two small corner arcs joined by a larger arc, closed at
// the shell edge (y = edge).
void DrawLug(PcbPainter* painter, float cx, float tipY, float edge) {
  float points[2 * kMaxOutline];
  int count = 0;
  float sign = tipY < 0 ? -1.0f : 1.0f;
  float r = 0.5f, c = 0.125f;
  AppendArcPoints(points, &count, kMaxOutline, cx - r - c, edge, 0, 0, 0, 1, 0);
  if (sign < 0) {
    AppendArcPoints(points, &count, kMaxOutline, cx - r - c, tipY + r + c, c, 90, 0, 6, 0);
    AppendArcPoints(points, &count, kMaxOutline, cx, tipY + r, r, -90, 90, 6, 1);
    AppendArcPoints(points, &count, kMaxOutline, cx + r + c, tipY + r + c, c, 0, -90, 6, 1);
  } else {
    AppendArcPoints(points, &count, kMaxOutline, cx - r - c, tipY - r - c, c, 90, 180, 6, 0);
    AppendArcPoints(points, &count, kMaxOutline, cx, tipY - r, r, 270, 90, 6, 1);
    AppendArcPoints(points, &count, kMaxOutline, cx + r + c, tipY - r - c, c, 180, 270, 6, 1);
  }
  AppendArcPoints(points, &count, kMaxOutline, cx + r + c, edge, 0, 0, 0, 1, 0);
  painter->DrawPolygon(count, points);
}

}  // namespace

CMiniUSBConnector::CMiniUSBConnector() {
  typeText = L"Mini-USB 5P";
  footprintWidth = 9.2f;
  footprintLength = 9.9f;
  SetPinCount(4);
  static const wchar_t* const kDescriptions[4] = {L"VCC", L"D-", L"D+", L"GND"};
  for (int i = 0; i < pinCount && i < 4; i++) pins[i].description = kDescriptions[i];
}

CMiniUSBConnector::~CMiniUSBConnector() {
  if (scheme && scheme->ownerBlock && !(flags & kSchLoaded)) {
    SetPinCount(0);
    LayoutPins();
  }
}

void CMiniUSBConnector::LayoutPins() {
  LayOutPinRow(this, side);
  CSCHBlock* owner = scheme ? scheme->ownerBlock : nullptr;
  if (!owner) return;
  scheme->RenumberConnectors();
  ResizeMirror(owner, pinCount > 0 ? 1 : 0);  // one USB pin on the owner
  if (mirroredCount > 0 && pinOffset < owner->pinCount) {
    SchPin& p = owner->pins[pinOffset];
    p.side = side;
    p.number = -1;
    p.name = instanceName;  // renamed with the connector
    p.description = L"MiniUSB";
    p.kind = kSchPinUsb;
  }
  owner->FitToPins();
}

void CMiniUSBConnector::JoinInternalNets() {}

void CMiniUSBConnector::Step(float) {
  CSCHBlock* owner = scheme ? scheme->ownerBlock : nullptr;
  if (!owner || mirroredCount < 1 || pinOffset >= owner->pinCount || pinCount < 4) return;
  SchNet* outer = owner->pins[pinOffset].net;
  if (!outer) return;
  SetPinSource(kElecMiniUsbVcc, kBusVolts, kSupplyResistance);
  SetPinSource(kElecMiniUsbGnd, 0, kSupplyResistance);
  SchPinState a = {}, b = {};
  GetPinState(kElecMiniUsbDataMinus, &a);
  GetPinState(kElecMiniUsbDataPlus, &b);
  if (a.sourceKind == kSchSourceUsb && b.sourceKind == kSchSourceUsb && a.source && a.source == b.source &&
      a.U < 3.0f && a.U2 > 3.0f && b.U > 3.0f && b.U2 < kIdleHigh && outer->source) {
    SchPacketSet* inner = PacketsOf(a.source);
    SchPacketSet* cable = PacketsOf(outer->source);
    if (inner && cable && inner != cable) inner->Merge(cable);
  }
  if (!outer->source) return;
  SchPinState minus = a;
  minus.U = 0;
  minus.R = kLineResistance;
  minus.U2 = kIdleHigh;
  minus.R2 = kLineResistance;
  minus.sourceKind = kSchSourceUsb;
  minus.source = outer->source;
  SchPinState plus = b;
  plus.U = kIdleHigh;
  plus.R = kLineResistance;
  plus.U2 = 0;
  plus.R2 = kLineResistance;
  plus.sourceKind = kSchSourceUsb;
  plus.source = outer->source;
  SetPinState(kElecMiniUsbDataMinus, minus);
  SetPinState(kElecMiniUsbDataPlus, plus);
}

void CMiniUSBConnector::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  const float W = footprintWidth, L = footprintLength;
  const float left = -W / 2;
  // The shell.
  {
    static const float kShell[24] = {-4.6f, -3.85f, 2.5f,  -3.85f, 2.5f,  -3.45f, 4.6f,  -3.45f,
                                     4.6f,  3.45f,  2.5f,  3.45f,  2.5f,  3.85f,  -4.6f, 3.85f,
                                     -4.6f, 2.0f,   -3.6f, 2.0f,   -3.6f, -2.0f,  -4.6f, -2.0f};
    CKestOwnedBrush fill(CreateSolidBrush(kShellFill));
    CKestDcSelection selection(painter->dc);
    selection.Select(fill.Get());
    selection.Select(GetStockObject(BLACK_PEN));
    painter->DrawPolygon(12, kShell);
  }
  // Mounting lugs.
  {
    CKestOwnedBrush fill(CreateSolidBrush(kLugFill));
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, kLugPen));
    CKestDcSelection selection(painter->dc);
    selection.Select(fill.Get());
    selection.Select(pen.Get());
    DrawLug(painter, left + 2.95f, -4.825f, -3.45f);
    DrawLug(painter, left + 8.45f, -4.95f, -3.45f);
    DrawLug(painter, left + 2.95f, 4.825f, 3.45f);
    DrawLug(painter, left + 8.45f, 4.95f, 3.45f);
    painter->DrawRectangle(W / 2 - 1, -3.85f, W / 2, -3.45f);
    painter->DrawRectangle(W / 2 - 1, 3.85f, W / 2, 3.45f);
  }
  for (int i = 0; i < 5; i++) {
    float y = 0.8f * i - 1.6f;
    FootprintRectangle(painter, kPadFill, kElecFootprintNoPen, W / 2 - 2.5f, y - 0.25f, W / 2, y + 0.25f);
  }
  // The inner details: the plug opening.
  FootprintLine(painter, RGB(0, 0, 0), -3.6f, -L / 4, 1.5f, -L / 4);
  FootprintLine(painter, RGB(0, 0, 0), -3.6f, L / 4, 1.5f, L / 4);
}

CSCHBlock* CreateCMiniUSBConnector() { return new (std::nothrow) CMiniUSBConnector; }
