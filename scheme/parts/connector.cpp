#include "scheme/parts/connector.h"

#include <cwchar>
#include <initializer_list>

#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"

namespace {

// The stream keeps a connector's pin count in 16 bits.
const int kMaxConnectorPins = 0xFFFF;

}  // namespace

CSCHConnector::CSCHConnector() { namePrefix = L"X"; }

CSCHConnector::~CSCHConnector() {
  if (scheme && scheme->ownerBlock && !(flags & kSchLoaded)) {
    SetPinCount(0);
    CSCHConnector::LayoutPins();
  }
  SchScheme* s = scheme;
  LeaveConnectorList();
  if (s && s->ownerBlock) s->RenumberConnectors();
}

void CSCHConnector::LeaveConnectorList() {
  if (!scheme) return;
  bool listed = prevConnector || scheme->connectors == this;
  if (!listed) return;
  if (prevConnector) prevConnector->nextConnector = nextConnector;
  else scheme->connectors = nextConnector;
  if (nextConnector) nextConnector->prevConnector = prevConnector;
  nextConnector = prevConnector = nullptr;
}

void CSCHConnector::Attach(SchScheme* target) {
  LeaveConnectorList();
  CSCHBlock::Attach(target);
  if (!target) return;
  int count = 0, pinsBefore = 0;
  CSCHConnector* tail = nullptr;
  for (CSCHConnector* c = target->connectors; c; c = c->nextConnector) {
    count++;
    pinsBefore += c->pinCount;
    tail = c;
  }
  side = static_cast<unsigned char>(count % 4);
  pinOffset = pinsBefore;
  prevConnector = tail;
  nextConnector = nullptr;
  if (tail) tail->nextConnector = this;
  else target->connectors = this;
}

void CSCHConnector::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  int n = record->GetIntByName("n");
  if (n < 0) n = 0;
  if (n > kMaxConnectorPins) n = kMaxConnectorPins;
  SetPinCount(n);
  LayoutPins();
}

void CSCHConnector::Save(CStream* s) {
  s->WriteByte(side);
  s->WriteInt16(pinCount);
  CSCHBlock::Save(s);
}

void CSCHConnector::Load(CStream* s) {
  side = static_cast<unsigned char>(s->ReadByte() & 3);
  SetPinCount(s->ReadInt16() & 0xFFFF);
  CSCHBlock::Load(s);
  LayoutPins();
}

void CSCHConnector::LayOutPinRow(CSCHBlock* block, int s) {
  int n = block->pinCount;
  for (int i = 0; i < n; i++) {
    block->pins[i].side = s ^ 2;
    block->pins[i].offset = 16 * i + 8;
    block->pins[i].number = i + 1;
  }
  RECT& r = block->rect;
  if (s & 1) {
    r.right = r.left + 16 * n;
    r.bottom = r.top + 16;
  } else {
    r.right = r.left + 16;
    r.bottom = r.top + 16 * n;
  }
}

void CSCHConnector::ResizeMirror(CSCHBlock* owner, int wanted) {
  int m = mirroredCount;
  int before = owner->pinCount;
  if (m < wanted) {
    owner->InsertPins(pinOffset + m, wanted - m);
    mirroredCount = m + (owner->pinCount - before);
  } else if (wanted < m) {
    owner->RemovePins(pinOffset + wanted, m - wanted);
    mirroredCount = m - (before - owner->pinCount);
  }
}

void CSCHConnector::LayoutPins() {
  int n = pinCount;
  LayOutPinRow(this, side);
  CSCHBlock* owner = scheme ? scheme->ownerBlock : nullptr;
  if (!owner) return;
  scheme->RenumberConnectors();
  ResizeMirror(owner, n);
  for (int i = 0; i < mirroredCount && i < n; i++) {
    int k = pinOffset + i;
    if (k >= owner->pinCount) break;
    SchPin& p = owner->pins[k];
    p.side = side;
    p.number = i + 1;
    p.name = instanceName;  // laid out again when the connector is renamed
    p.kind = pins[i].kind;  // an outside wire of the connector's own kind fits
  }
  scheme->RenumberConnectors();
  owner->FitToPins();
}

void CSCHConnector::InstanceNameChanging(const wchar_t* from, const wchar_t* to) {
  CSCHBlock::InstanceNameChanging(from, to);
  CSCHBlock* owner = scheme ? scheme->ownerBlock : nullptr;
  if (!owner) return;
  scheme->RenumberConnectors();
  for (int i = 0; i < mirroredCount; i++) {
    int k = pinOffset + i;
    if (k < 0 || k >= owner->pinCount) break;
    if (owner->pins[k].name == from) owner->pins[k].name = to;
  }
}

void CSCHConnector::JoinInternalNets() {
  CSCHBlock* owner = scheme ? scheme->ownerBlock : nullptr;
  if (!owner) return;
  for (int i = 0; i < pinCount && i < mirroredCount; i++) {
    int k = pinOffset + i;
    if (!pins[i].net || k >= owner->pinCount) continue;
    pins[i].net->Merge(owner->pins[k].net);
  }
}

void CSCHConnector::Paint(HDC dc) { PaintPins(dc); }

void CSCHConnector::PaintPins(HDC dc) {
  int d = side & 3;
  int dx = kSchDirDx[d], dy = kSchDirDy[d];
  int px = kSchDirDx[(d + 1) & 3], py = kSchDirDy[(d + 1) & 3];
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  for (int i = 0; i < pinCount; i++) {
    POINT a = GetPinAnchor(i);
    int x0 = a.x + 7 * dx, y0 = a.y + 7 * dy;
    int x1 = x0 + 15 * dx, y1 = y0 + 15 * dy;
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    // Arrowhead: two strokes 5 px back and 3 px to either side.
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x1 - 5 * dx + 3 * px, y1 - 5 * dy + 3 * py);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x1 - 5 * dx - 3 * px, y1 - 5 * dy - 3 * py);
  }
  if (pinCount > 0) {
    POINT first = GetPinAnchor(0), last = GetPinAnchor(pinCount - 1);
    for (int out : {12, 15}) {
      MoveToEx(dc, first.x + out * dx, first.y + out * dy, nullptr);
      LineTo(dc, last.x + out * dx, last.y + out * dy);
    }
  }
  SelectObject(dc, oldPen);
  if (instanceName) {
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (d & 1) TextOutW(dc, rect.right, rect.top, instanceName, static_cast<int>(wcslen(instanceName)));
    else TextOutW(dc, rect.left, rect.bottom, instanceName, static_cast<int>(wcslen(instanceName)));
    SetBkMode(dc, oldMode);
  }
}
