#include "scheme/model/block.h"

#include <cstdint>
#include <initializer_list>
#include <cstring>
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_host.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/model/wire.h"
#include "scheme/parts/connector.h"

SchLiveCounts g_schLiveCounts;

namespace {

// Replaces an owned text, keeping the live text count.
template <class T>
void ReplaceText(T*& field, T* copy) {
  if (field) g_schLiveCounts.texts--;
  FreeBuffer(field);
  field = copy;
  if (field) g_schLiveCounts.texts++;
}

}  // namespace

void InitPin(SchPin* pin) {
  memset(pin, 0, sizeof(*pin));
  pin->number = -1;
  pin->G = 2e-7f;
  pin->G2 = 2e-7f;
}

CSCHBlock::CSCHBlock() { g_schLiveCounts.blocks++; }

CSCHBlock::~CSCHBlock() {
  // The editors showing the scheme drop the block before anything of it goes.
  if (scheme) scheme->NotifyObjectDeleting(this);
  if (!(flags & kSchLoaded)) {
    // A block deleted by its parent's destructor hands its own children to
    // that destructor, which deletes them after it: deleting a family never
    // nests deeper than one block, however deep the family is.
    if (!heir_ || !heir_->TakeChildrenOf(this)) DeleteChildren();
  }
  FreeBuffer(children);
  children = nullptr;
  childCount = 0;
  if (parent) {
    parent->RemoveChild(this);
    parent = nullptr;
  }
  SetPinCount(0);
  Unlink();
  // A measuring device has left its list already: this frees the text.
  ReplaceText(instanceName, static_cast<wchar_t*>(nullptr));
  ReplaceText(model, static_cast<char*>(nullptr));
  ReplaceText(options, static_cast<char*>(nullptr));
  ReplaceText(tableName, static_cast<wchar_t*>(nullptr));
  g_schLiveCounts.blocks--;
}

void CSCHBlock::Unlink() {
  if (!scheme) return;
  if (prev) prev->next = next;
  else scheme->blocks = next;
  if (next) next->prev = prev;
  else scheme->lastBlock = prev;
  prev = next = nullptr;
  scheme = nullptr;
}

void CSCHBlock::Attach(SchScheme* target) {
  Unlink();  // leave a previous scheme first
  if (!target) return;
  if (!target->reading) {
    int y = 50;
    for (CSCHBlock* b = target->blocks; b; b = b->next)
      if (b != this && b->rect.bottom + 60 > y) y = b->rect.bottom + 60;
    MoveTo(100, y);
  }
  scheme = target;
  prev = nullptr;
  next = target->blocks;
  if (next) next->prev = this;
  else target->lastBlock = this;
  target->blocks = this;
  if (namePrefix && !target->reading) SetUniqueName(namePrefix);
}

void CSCHBlock::ApplyDbFields(const char* newModel, const char* newOptions,
                              const wchar_t* newTable, double newPrice) {
  SetModel(newModel);
  SetOptions(newOptions ? newOptions : "");
  SetTableName(newTable);
  price = newPrice;
}

void CSCHBlock::Paint(HDC dc) {
  PaintBody(dc, RGB(238, 238, 238));
  if (instanceName) PaintName(dc, instanceName, RGB(0, 0, 0));
  PaintModelText(dc, RGB(0, 0, 0));
}

void CSCHBlock::PaintFootprint(PcbPainter*) {}

bool CSCHBlock::Edit() {
  if (!model || !tableName) return false;
  GetSchemeHost()->ShowComponentModel(tableName, model, options);
  return false;
}

void CSCHBlock::Start() {}
void CSCHBlock::Step(float) {}
void CSCHBlock::Stop() {}
void CSCHBlock::JoinInternalNets() {}

void CSCHBlock::Save(CStream* s) {
  s->WriteInt32(savedId);
  s->WriteByte(flags & 0xFC);
  s->WriteStringW(instanceName);
  s->WriteStringA(model);
  s->WriteStringA(options);
  s->WriteStringW(tableName);
  s->Write(&price, 8);
  s->WriteInt32(rect.left);
  s->WriteInt32(rect.top);
  s->WriteInt32(rect.right);
  s->WriteInt32(rect.bottom);
  for (int i = 0; i < pinCount; i++) s->WriteInt32(pins[i].wire ? pins[i].wire->savedId : 0);
  s->Write(&boardX, 4);
  s->Write(&boardY, 4);
  s->WriteByte(orientation);
  int n = childCount > 255 ? 255 : childCount;
  s->WriteByte(n);
  for (int i = 0; i < n; i++) s->WriteInt32(children[i] ? children[i]->savedId : 0);
}

void CSCHBlock::Load(CStream* s) {
  savedId = s->ReadInt32();
  flags = static_cast<unsigned char>(s->ReadByte()) | kSchLoaded;
  ReplaceInstanceName(s->ReadStringW());
  ReplaceText(model, s->ReadStringA());
  ReplaceText(options, s->ReadStringA());
  ReplaceText(tableName, s->ReadStringW());
  double p = 0;
  if (s->Read(&p, 8) == 8) price = p;
  else price = 0;
  rect.left = s->ReadInt32();
  rect.top = s->ReadInt32();
  rect.right = s->ReadInt32();
  rect.bottom = s->ReadInt32();
  // While loaded, the wire fields hold the saved identities of the wires.
  for (int i = 0; i < pinCount; i++) {
    pins[i].wire = reinterpret_cast<SchWire*>(static_cast<intptr_t>(s->ReadInt32()));
    pins[i].wireEnd = 0;
  }
  boardX = s->ReadFloat();
  boardY = s->ReadFloat();
  orientation = s->ReadByte();
  int n = s->ReadByte();
  FreeBuffer(children);
  children = nullptr;
  childCount = 0;
  int capacity = 0;
  if (n > 0 && !ResizeGrowingArray(&children, &capacity, n, 1)) {
    // Out of memory: the identities are read past, so the stream stays in
    // step, and the read this record belongs to fails.
    for (int i = 0; i < n; i++) s->ReadInt32();
    MarkSchemeRecordBroken(s);
    return;
  }
  for (int i = 0; i < n; i++)
    children[i] = reinterpret_cast<CSCHBlock*>(static_cast<intptr_t>(s->ReadInt32()));
  childCount = n;
}

void CSCHBlock::SaveRunState(CStream* s) {
  s->WriteStringA(className);
  s->WriteByte(burnt);
}

bool CSCHBlock::LoadRunState(CStream* s) {
  char* name = s->ReadStringA();
  bool same = (!name && !className) || (name && className && strcmp(name, className) == 0);
  FreeBuffer(name);
  if (!same) return false;
  burnt = static_cast<unsigned char>(s->ReadByte());
  return true;
}

int CSCHBlock::ChildCapacity(int n) {
  if (n <= 0) return 0;
  int capacity = 1;
  while (capacity < n && capacity < (1 << 28)) capacity <<= 1;
  return capacity < n ? n : capacity;
}

bool CSCHBlock::ReserveChildren(int n) {
  // The array always holds at least ChildCapacity(childCount) entries; it
  // doubles from there, so the room stays a power of two.
  int capacity = ChildCapacity(childCount);
  return ResizeGrowingArray(&children, &capacity, n, 1);
}

void CSCHBlock::DeleteChildren() {
  // First to last; a child that has children of its own appends them here
  // (TakeChildrenOf), so a family goes generation by generation, in the
  // order its blocks were read, and the heap gets their memory back in the
  // order it gave it (backwards, some heaps give it to the system a page
  // at a time). The array is read afresh after every deletion; the part
  // already gone is dropped from its front once it is the larger part.
  const int kCompactFrom = 64;
  int next = 0;
  while (next < childCount) {
    CSCHBlock* child = children[next++];
    if (next >= kCompactFrom && 2 * next > childCount) {
      memmove(children, children + next, (childCount - next) * sizeof(CSCHBlock*));
      childCount -= next;
      next = 0;
    }
    if (!child) continue;
    child->parent = nullptr;
    child->heir_ = this;
    delete child;
  }
  childCount = 0;
}

bool CSCHBlock::TakeChildrenOf(CSCHBlock* block) {
  int n = block->childCount;
  if (n == 0) return true;
  if (!ReserveChildren(childCount + n)) return false;
  for (int i = 0; i < n; i++) {
    CSCHBlock* child = block->children[i];
    if (!child) continue;
    children[childCount++] = child;
    child->parent = this;
  }
  block->childCount = 0;
  return true;
}

bool CSCHBlock::AddChild(CSCHBlock* child) {
  if (!child || !ReserveChildren(childCount + 1)) return false;
  children[childCount++] = child;
  child->parent = this;
  return true;
}

void CSCHBlock::RemoveChild(CSCHBlock* child) {
  for (int i = 0; i < childCount; i++) {
    if (children[i] == child) {
      memmove(children + i, children + i + 1, (childCount - i - 1) * sizeof(CSCHBlock*));
      childCount--;
      return;
    }
  }
}

void CSCHBlock::InstanceNameChanging(const wchar_t*, const wchar_t*) {}

void CSCHBlock::ReplaceInstanceName(wchar_t* copy) {
  InstanceNameChanging(instanceName, copy);
  ReplaceText(instanceName, copy);
}

void CSCHBlock::SetName(const wchar_t* name) { ReplaceInstanceName(DupString(name)); }
void CSCHBlock::SetModel(const char* text) { ReplaceText(model, DupStringA(text)); }
void CSCHBlock::SetOptions(const char* text) { ReplaceText(options, DupStringA(text)); }
void CSCHBlock::SetTableName(const wchar_t* text) { ReplaceText(tableName, DupString(text)); }

void CSCHBlock::SetUniqueName(const wchar_t* prefix) {
  if (!prefix) return;
  wchar_t candidate[64];
  for (int n = 1;; n++) {
    // A prefix too long for the buffer is cut rather than overrun.
    snwprintf(candidate, 63, L"%ls%d", prefix, n);
    candidate[63] = 0;
    bool taken = false;
    if (scheme) {
      for (CSCHBlock* b = scheme->blocks; b && !taken; b = b->next)
        if (b != this && b->instanceName && _wcsicmp(b->instanceName, candidate) == 0) taken = true;
    }
    if (!taken) break;
  }
  SetName(candidate);
}

void CSCHBlock::MakeNameUnique() {
  if (!instanceName || !namePrefix || !scheme) return;
  for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
    if (b != this && b->instanceName && _wcsicmp(b->instanceName, instanceName) == 0) {
      SetUniqueName(namePrefix);
      return;
    }
  }
}

void CSCHBlock::MoveTo(int x, int y) {
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  rect.left = x;
  rect.top = y;
  rect.right = x + w;
  rect.bottom = y + h;
}

POINT CSCHBlock::GetPinAnchor(int pin) const {
  POINT p = {0, 0};
  if (pin < 0 || pin >= pinCount) return p;
  const SchPin& q = pins[pin];
  switch (q.side) {
    case kSchSideLeft: p.x = rect.left - 7; p.y = rect.top + q.offset; break;
    case kSchSideTop: p.x = rect.right - q.offset; p.y = rect.top - 7; break;
    case kSchSideRight: p.x = rect.right + 6; p.y = rect.bottom - q.offset; break;
    case kSchSideBottom: p.x = rect.left + q.offset; p.y = rect.bottom + 6; break;
    default: break;
  }
  return p;
}

bool CSCHBlock::NormalizeWires() {
  bool changed = false;
  for (int i = 0; i < pinCount; i++)
    if (pins[i].wire && pins[i].wire->Normalize()) changed = true;
  return changed;
}

bool CSCHBlock::ResizePinArray(int n) {
  if (n == pinCount) return true;
  if (!ResizeSteppedArray(&pins, pinCount, n)) return false;
  for (int i = pinCount; i < n; i++) InitPin(&pins[i]);
  g_schLiveCounts.pins += n - pinCount;
  pinCount = n;
  return true;
}

// The pin moved from index old to index pin: its wire's end follows.
void CSCHBlock::SetPinWireIndex(int pin, int old) {
  SchWire* w = pins[pin].wire;
  if (!w || (flags & kSchLoaded)) return;
  // The end the pin names first; the other one should that be stale.
  int first = pins[pin].wireEnd & 1;
  for (int e : {first, first ^ 1}) {
    if (w->endKind[e] == kSchWireEndPin && w->ends[e].target == this && w->ends[e].index == old) {
      w->ends[e].index = pin;
      return;
    }
  }
}

void CSCHBlock::DeletePinWire(int pin) {
  // The wire's destructor clears the pins at both of its ends.
  SchWire* w = pins[pin].wire;
  pins[pin].wire = nullptr;
  delete w;
}

bool CSCHBlock::SetPinCount(int n) {
  if (n < 0) n = 0;
  if (n < pinCount && !(flags & kSchLoaded)) {
    // Deleting a wire clears the pins at both of its ends.
    for (int i = n; i < pinCount; i++) DeletePinWire(i);
  }
  return ResizePinArray(n);
}

void CSCHBlock::InsertPins(int index, int count) {
  if (count <= 0) return;
  if (index < 0) index = 0;
  if (index > pinCount) index = pinCount;
  int old = pinCount;
  if (!ResizePinArray(old + count)) return;
  memmove(pins + index + count, pins + index, (old - index) * sizeof(SchPin));
  for (int i = index; i < index + count; i++) InitPin(&pins[i]);
  // Highest first, so that no updated index equals one still to be moved.
  for (int i = pinCount - 1; i >= index + count; i--) SetPinWireIndex(i, i - count);
  FitToPins();
}

void CSCHBlock::RemovePins(int index, int count) {
  if (index < 0) index = 0;
  if (index + count > pinCount) count = pinCount - index;
  if (count <= 0) return;
  if (!(flags & kSchLoaded)) {
    for (int i = index; i < index + count; i++) DeletePinWire(i);
  }
  memmove(pins + index, pins + index + count, (pinCount - index - count) * sizeof(SchPin));
  int kept = pinCount - count;
  for (int i = index; i < kept; i++) SetPinWireIndex(i, i + count);
  ResizePinArray(kept);
  FitToPins();
}

void CSCHBlock::SpacePins(bool widen) {
  int n[4] = {0, 0, 0, 0};
  for (int i = 0; i < pinCount; i++)
    if (pins[i].side >= 0 && pins[i].side < 4) n[pins[i].side]++;
  int m[4] = {1, 1, 1, 1};
  if (widen) {
    if (n[kSchSideLeft] || n[kSchSideRight]) m[kSchSideTop] = m[kSchSideBottom] = 3;
    if (n[kSchSideTop] || n[kSchSideBottom]) m[kSchSideLeft] = m[kSchSideRight] = 3;
  }
  int length[4];
  length[kSchSideLeft] = length[kSchSideRight] = rect.bottom - rect.top;
  length[kSchSideTop] = length[kSchSideBottom] = rect.right - rect.left;
  int k[4] = {0, 0, 0, 0};
  for (int i = 0; i < pinCount; i++) {
    int s = pins[i].side;
    if (s < 0 || s > 3) continue;
    int divisor = n[s] + 2 * m[s] - 1;  // at least 1 since n[s] >= 1 here
    pins[i].offset = (k[s] + m[s]) * length[s] / divisor;
    if (s == kSchSideTop) pins[i].offset += 1;
    k[s]++;
  }
}

void CSCHBlock::FitToPins() {
  int c[4] = {4, 4, 4, 4};
  for (int i = 0; i < pinCount; i++)
    if (pins[i].side >= 0 && pins[i].side < 4) c[pins[i].side]++;
  int height = 16 * (c[kSchSideLeft] > c[kSchSideRight] ? c[kSchSideLeft] : c[kSchSideRight]);
  int width = 16 * (c[kSchSideTop] > c[kSchSideBottom] ? c[kSchSideTop] : c[kSchSideBottom]);
  if (height < 120) height = 120;
  if (width < 120) width = 120;
  rect.bottom = rect.top + height;
  rect.right = rect.left + width;
  SpacePins(true);
  if (nestedScheme) nestedScheme->RenumberConnectors();
}

void CSCHBlock::LayoutTwoSidesBody(float width, float length) {
  int half = pinCount / 2;
  for (int i = 0; i < pinCount; i++) {
    pins[i].side = i < half ? kSchSideLeft : kSchSideRight;
    pins[i].number = i + 1;
  }
  footprintWidth = width;
  footprintLength = length;
  rect.bottom = rect.top + 20 * half;
  SpacePins(true);
}

void CSCHBlock::LayoutPinsTwoSides() { LayoutTwoSidesBody(14.0f, 10.0f); }

void CSCHBlock::LayoutPinsWideSo() {
  LayoutTwoSidesBody(10.2f, (pinCount / 2 - 1) * 1.27f + 1.57f);
}

void CSCHBlock::LayoutPinsNarrowSo() {
  LayoutTwoSidesBody(6.2f, (pinCount / 2 - 1) * 1.27f + 1.57f);
}

void CSCHBlock::LayoutPinsDip() { LayoutTwoSidesBody(7.62f, (pinCount / 2 - 1) * 2.54f + 1.778f); }

void CSCHBlock::LayoutPinsWideDip() {
  LayoutTwoSidesBody(15.24f, (pinCount / 2 - 1) * 2.54f + 1.778f);
}

void CSCHBlock::LayoutPinsQuad() {
  int q = pinCount / 4;
  for (int i = 0; i < pinCount; i++) {
    int side;
    if (i < q) side = kSchSideLeft;
    else if (i < 2 * q) side = kSchSideBottom;
    else if (i < 3 * q) side = kSchSideRight;
    else side = kSchSideTop;
    pins[i].side = side;
    pins[i].number = i + 1;
  }
  footprintWidth = footprintLength = (q - 1) * 0.8f + 3.4f;
  rect.right = rect.left + 20 * q + 40;
  rect.bottom = rect.top + 20 * q + 40;
  SpacePins(true);
}

void CSCHBlock::PaintBody(HDC dc, COLORREF fill) {
  HBRUSH brush = CreateSolidBrush(fill);
  HGDIOBJ oldBrush = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  if (brush) DeleteObject(brush);
}

void CSCHBlock::PaintName(HDC dc, const wchar_t* text, COLORREF color) {
  if (!text) return;
  RECT inset = {rect.left + 12, rect.top + 12, rect.right - 12, rect.bottom - 12};
  RECT measure = inset;
  const UINT format = DT_WORDBREAK | DT_CENTER | DT_NOPREFIX;
  DrawTextW(dc, text, -1, &measure, format | DT_CALCRECT);
  int textHeight = measure.bottom - measure.top;
  if (textHeight < inset.bottom - inset.top)
    inset.top = (inset.bottom + inset.top - textHeight) / 2;
  COLORREF oldColor = SetTextColor(dc, color);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text, -1, &inset, format);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

void CSCHBlock::PaintModelText(HDC dc, COLORREF color) {
  if (!model) return;
  RECT inset = {rect.left + 12, (rect.top + rect.bottom) / 2 + 10, rect.right - 12, rect.bottom - 12};
  COLORREF oldColor = SetTextColor(dc, color);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, model, -1, &inset, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}
