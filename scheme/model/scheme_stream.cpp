// The "SPH1" stream: SchScheme::Write and SchScheme::Read, the wire,
// junction and bus records, the resolve pass and the linked model path.
#include "scheme/model/scheme_host.h"
#include "scheme/model/scheme_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <windows.h>

#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

wchar_t* g_modelPath = nullptr;
unsigned char g_modelCheck = 0x99;

// Frees the path at exit.
struct ModelPathOwner {
  ~ModelPathOwner() {
    FreeBuffer(g_modelPath);
    g_modelPath = nullptr;
  }
} g_modelPathOwner;

// Keeps the old path and answers false when the copy cannot be made.
bool ReplaceModelPath(const wchar_t* path) {
  wchar_t* copy = (path && *path) ? DupString(path) : nullptr;
  if (path && *path && !copy) return false;
  FreeBuffer(g_modelPath);
  g_modelPath = copy;
  return true;
}

// Smallest records: a block is at least a one-character class name and the
// base record without pins, strings or children; wires, junctions and buses
// without coordinates or slots.
const int kMinBlockBytes = 2 + 44;
const int kMinWireBytes = 41;
const int kMinJunctionBytes = 33;
const int kMinBusBytes = 27;

// Longest class name a message shows.
const int kMessageNameChars = 32;

// Reads through another stream and notes every read that came up short, so
// that a stream ending inside an object is seen as cut off. A nested scheme
// that fails inside a block record marks the outer stream the same way.
class GuardedStream : public CStream {
public:
  explicit GuardedStream(CStream* inner) : inner_(inner) {}
  int Write(const void* data, int length) override { return inner_->Write(data, length); }
  int Read(void* data, int length) override {
    int got = inner_->Read(data, length);
    if (got < length) shortRead = true;
    return got;
  }
  int Seek(int offset, int origin) override { return inner_->Seek(offset, origin); }
  long long Remaining() { return static_cast<long long>(GetSize()) - GetPosition(); }
  bool shortRead = false;

private:
  CStream* inner_;
};

int IdOf(const void* identityField) {
  return static_cast<int>(reinterpret_cast<intptr_t>(identityField));
}

template <class T>
T* AsIdentity(int id) {
  return reinterpret_cast<T*>(static_cast<intptr_t>(id));
}

template <class T>
T* TailOf(T* head) {
  T* t = head;
  while (t && t->next) t = t->next;
  return t;
}

bool Selected(unsigned char flags, unsigned char mask) { return mask == 0 || (flags & mask) != 0; }

template <class T>
int CountSelected(T* head, unsigned char mask) {
  int n = 0;
  for (T* t = head; t; t = t->next)
    if (Selected(t->flags, mask)) n++;
  return n;
}

void WritePadding(CStream* s, int n) {
  for (int i = 0; i < n; i++) s->WriteByte(0);
}

void SkipBytes(CStream* s, int n) {
  unsigned char chunk[256];
  while (n > 0) {
    int step = n < 256 ? n : 256;
    if (s->Read(chunk, step) < step) return;
    n -= step;
  }
}

// Copies at most kMessageNameChars characters of an 8-bit name (code page
// 1251) into out, which holds kMessageNameChars + 1 characters.
void MessageName(const char* name, wchar_t* out) {
  out[0] = 0;
  if (!name) return;
  int n = static_cast<int>(strnlen(name, kMessageNameChars));
  int got = n > 0 ? MultiByteToWideChar(1251, 0, name, n, out, kMessageNameChars) : 0;
  out[got > 0 ? got : 0] = 0;
}

void ShowUnregisteredClass(const char* name, const char* lastGood) {
  wchar_t a[kMessageNameChars + 1], b[kMessageNameChars + 1];
  MessageName(name, a);
  MessageName(lastGood, b);
  wchar_t text[128];
  _snwprintf(text, 128, L"Класс блока %ls не зарегистрирован! Последний удачный класс %ls.", a, b);
  text[127] = 0;
  GetSchemeHost()->ShowReadError(text);
}

}  // namespace

// ------------------------------------------------------------ model path

unsigned char ComputeModelPathChecksum(const wchar_t* path) {
  unsigned char check = 0x99;
  if (!path) return check;
  for (const wchar_t* p = path; *p; p++) {
    unsigned unit = static_cast<unsigned>(*p) & 0xFFFF;
    check ^= static_cast<unsigned char>(unit & 0xFF);
    check ^= static_cast<unsigned char>(unit >> 8);
  }
  return check;
}

const wchar_t* GetModelPath() { return g_modelPath; }
unsigned char GetModelPathCheck() { return g_modelCheck; }

bool SetModelPath(const wchar_t* path) {
  if (!ReplaceModelPath(path)) return false;
  g_modelCheck = ComputeModelPathChecksum(g_modelPath);
  return true;
}

bool SetModelPathAndCheck(const wchar_t* path, unsigned char check) {
  if (!ReplaceModelPath(path)) return false;
  g_modelCheck = check;
  return true;
}

// ------------------------------------------------------------ SchIdTable

template <class T>
bool SchIdTable::Index::Build(T* const* objects, int count) {
  // Dense: every identity other than 0 lies in 1 .. 2 * count + 16.
  long long bound = 2LL * count + 16;
  int largest = 0;
  dense_ = true;
  for (int i = 0; i < count; i++) {
    int id = objects[i]->savedId;
    if (id < 0 || id > bound) dense_ = false;
    else if (id > largest) largest = id;
  }
  if (dense_) {
    if (count == 0) return true;
    if (!byId_.Resize(largest + 1)) return false;
    for (int i = 0; i < count; i++) byId_[objects[i]->savedId] = i + 1;  // the last read wins
    return true;
  }
  if (!sorted_.Resize(count)) return false;
  for (int i = 0; i < count; i++) sorted_[i] = Entry{objects[i]->savedId, i};
  std::sort(sorted_.begin(), sorted_.end(), [](const Entry& a, const Entry& b) {
    return a.id != b.id ? a.id < b.id : a.position < b.position;
  });
  return true;
}

int SchIdTable::Index::Find(int id) const {
  if (id == 0) return -1;
  if (dense_) return id > 0 && id < byId_.Count() ? byId_[id] - 1 : -1;
  // The last entry of that identity: the one before the first above it.
  const Entry* above = std::upper_bound(sorted_.begin(), sorted_.end(), id,
                                        [](int key, const Entry& e) { return key < e.id; });
  if (above == sorted_.begin() || (above - 1)->id != id) return -1;
  return (above - 1)->position;
}

bool SchIdTable::Build(CSCHBlock* const* blocks, int blockCount, SchWire* const* wires, int wireCount,
                       SchJunction* const* junctions, int junctionCount, SchBus* const* buses, int busCount) {
  blocks_ = blocks;
  wires_ = wires;
  junctions_ = junctions;
  buses_ = buses;
  if (!blockIds_.Build(blocks, blockCount) || !wireIds_.Build(wires, wireCount) ||
      !junctionIds_.Build(junctions, junctionCount) || !busIds_.Build(buses, busCount))
    return false;
  if (!familyUp_.Resize(blockCount) || !familySize_.Resize(blockCount)) return false;
  for (int i = 0; i < blockCount; i++) {
    familyUp_[i] = i;
    familySize_[i] = 1;
  }
  return true;
}

int SchIdTable::FamilyIndex(CSCHBlock* block) const {
  int position = blockIds_.Find(block->savedId);
  return position >= 0 && blocks_[position] == block ? position : -1;
}

int SchIdTable::FamilyRoot(int i) {
  while (familyUp_[i] != i) {
    familyUp_[i] = familyUp_[familyUp_[i]];  // halves the path as it goes
    i = familyUp_[i];
  }
  return i;
}

bool SchIdTable::SameFamily(CSCHBlock* a, CSCHBlock* b) {
  if (a == b) return true;
  int i = FamilyIndex(a), k = FamilyIndex(b);
  return i >= 0 && k >= 0 && FamilyRoot(i) == FamilyRoot(k);
}

void SchIdTable::JoinFamilies(CSCHBlock* a, CSCHBlock* b) {
  int i = FamilyIndex(a), k = FamilyIndex(b);
  if (i < 0 || k < 0) return;
  i = FamilyRoot(i);
  k = FamilyRoot(k);
  if (i == k) return;
  if (familySize_[i] < familySize_[k]) std::swap(i, k);
  familyUp_[k] = i;
  familySize_[i] += familySize_[k];
}

// ------------------------------------------------------------ records

void SchWire::Save(CStream* s) {
  s->WriteInt32(savedId);
  s->WriteByte(flags & 0xFE);
  s->WriteByte(firstDir);
  int n = coordCount < 0 ? 0 : (coordCount > 0xFFFF ? 0xFFFF : coordCount);
  s->WriteInt16(n);
  for (int i = 0; i < n; i++) s->WriteInt32(coords[i]);
  s->WriteByte(kind);
  s->WriteInt32(endKind[0]);
  s->WriteInt32(endKind[1]);
  for (int e = 0; e < 2; e++) {
    int id = 0;
    if (ends[e].target) {
      switch (endKind[e]) {
        case kSchWireEndPin: id = static_cast<CSCHBlock*>(ends[e].target)->savedId; break;
        case kSchWireEndJunction: id = static_cast<SchJunction*>(ends[e].target)->savedId; break;
        case kSchWireEndBus: id = static_cast<SchBus*>(ends[e].target)->savedId; break;
        default: break;
      }
    }
    s->WriteInt32(id);
    s->WriteInt32(ends[e].index);
    s->WriteByte(ends[e].side);
    WritePadding(s, 3);
  }
}

void SchWire::Load(CStream* s) {
  savedId = s->ReadInt32();
  flags = static_cast<unsigned char>(s->ReadByte() | kSchLoaded);
  firstDir = static_cast<unsigned char>(s->ReadByte() & 3);
  int n = s->ReadInt16();
  if (!SetCoordinateCount(n)) SetCoordinateCount(0);
  for (int i = 0; i < n; i++) {
    int v = s->ReadInt32();
    if (i < coordCount) coords[i] = v;
  }
  kind = static_cast<unsigned char>(s->ReadByte());
  endKind[0] = s->ReadInt32();
  endKind[1] = s->ReadInt32();
  for (int e = 0; e < 2; e++) {
    ends[e].target = AsIdentity<void>(s->ReadInt32());
    ends[e].index = s->ReadInt32();
    ends[e].side = static_cast<unsigned char>(s->ReadByte());
    SkipBytes(s, 3);
    memset(ends[e].spare, 0, sizeof(ends[e].spare));
  }
}

void SchJunction::Save(CStream* s) {
  s->WriteInt32(savedId);
  s->WriteByte(flags & 0xFE);
  for (int slot = 0; slot < 4; slot++) s->WriteInt32(wires[slot] ? wires[slot]->savedId : 0);
  for (int slot = 0; slot < 4; slot++) s->WriteByte(wireEnds[slot]);
  s->WriteInt32(x);
  s->WriteInt32(y);
}

void SchJunction::Load(CStream* s) {
  savedId = s->ReadInt32();
  flags = static_cast<unsigned char>(s->ReadByte() | kSchLoaded);
  for (int slot = 0; slot < 4; slot++) wires[slot] = AsIdentity<SchWire>(s->ReadInt32());
  for (int slot = 0; slot < 4; slot++) wireEnds[slot] = static_cast<unsigned char>(s->ReadByte() & 1);
  x = s->ReadInt32();
  y = s->ReadInt32();
}

void SchBus::Save(CStream* s) {
  s->WriteInt32(savedId);
  s->WriteByte((flags & 0xFE) | 0x80);
  s->WriteInt16(slotCount);
  s->WriteInt32(x0);
  s->WriteInt32(y0);
  s->WriteInt32(x1);
  s->WriteInt32(y1);
  int n = coordCount < 0 ? 0 : (coordCount > 0xFFFF ? 0xFFFF : coordCount);
  s->WriteInt16(n);
  s->WriteByte(endDir);
  s->WriteByte(0);
  for (int i = 0; i < n; i++) s->WriteInt32(coords[i]);
  for (int side = 0; side < 2; side++)
    for (int slot = 0; slot < slotCount; slot++)
      s->WriteInt32(wires[side][slot] ? wires[side][slot]->savedId : 0);
  for (int side = 0; side < 2; side++)
    for (int slot = 0; slot < slotCount; slot++) s->WriteByte(wireEnds[side][slot]);
}

void SchBus::Load(CStream* s) {
  savedId = s->ReadInt32();
  int f = s->ReadByte();
  flags = static_cast<unsigned char>(f | kSchLoaded);
  int slots = s->ReadInt16();
  if (!SetSlotCount(slots)) SetSlotCount(0);
  x0 = s->ReadInt32();
  y0 = s->ReadInt32();
  x1 = s->ReadInt32();
  y1 = s->ReadInt32();
  int n = s->ReadInt16();
  endDir = static_cast<unsigned char>(s->ReadByte());
  s->ReadByte();  // reserved
  if (!SetCoordinateCount(n)) SetCoordinateCount(0);
  for (int i = 0; i < n; i++) {
    int v = s->ReadInt32();
    if (i < coordCount) coords[i] = v;
  }
  if (!(f & 0x80)) SkipBytes(s, 4 * n);  // older streams carried a second array
  for (int side = 0; side < 2; side++)
    for (int slot = 0; slot < slots; slot++) {
      int id = s->ReadInt32();
      if (slot < slotCount) wires[side][slot] = AsIdentity<SchWire>(id);
    }
  for (int side = 0; side < 2; side++)
    for (int slot = 0; slot < slots; slot++) {
      int end = s->ReadByte() & 1;
      if (slot < slotCount) wireEnds[side][slot] = static_cast<unsigned char>(end);
    }
}

// ------------------------------------------------------------ resolve pass
//
// Both sides of every link are checked against each other, so that after
// the pass a pin, junction slot or bus slot holds a wire exactly when that
// wire's end record points back at it: a damaged or partial stream can leave
// ends free, never half-linked.

void CSCHBlock::ResolveIds(SchIdTable& ids) {
  // A block whose identity another object of the stream took answers none
  // of the references.
  bool own = savedId != 0 && ids.Block(savedId) == this;
  for (int i = 0; i < pinCount; i++) {
    int id = IdOf(pins[i].wire);
    pins[i].wire = nullptr;
    pins[i].wireEnd = 0;
    SchWire* w = own ? ids.Wire(id) : nullptr;
    if (!w || !(w->flags & kSchLoaded)) continue;
    for (int e = 0; e < 2; e++) {
      if (w->endKind[e] == kSchWireEndPin && IdOf(w->ends[e].target) == savedId && w->ends[e].index == i) {
        pins[i].wire = w;
        pins[i].wireEnd = static_cast<unsigned char>(e);
        break;
      }
    }
  }
  int kept = 0;
  for (int i = 0; i < childCount; i++) {
    CSCHBlock* child = own ? ids.Block(IdOf(children[i])) : nullptr;
    if (!child || child == this || child->parent) continue;  // unknown, itself, or taken
    // The child heads its own tree; in this block's tree it is an ancestor.
    if (ids.SameFamily(this, child)) continue;  // would close a ring of parents
    children[kept++] = child;
    child->parent = this;
    ids.JoinFamilies(this, child);
  }
  childCount = kept;
  if (kept == 0) {
    FreeBuffer(children);
    children = nullptr;
  }
  flags &= ~kSchLoaded;
}

void SchWire::ResolveIds(const SchIdTable& ids) {
  bool own = savedId != 0 && ids.Wire(savedId) == this;
  for (int e = 0; e < 2; e++) {
    int id = IdOf(ends[e].target);
    int index = ends[e].index;
    void* target = nullptr;
    if (own) {
      switch (endKind[e]) {
        case kSchWireEndPin: {
          CSCHBlock* b = ids.Block(id);
          if (b && !(b->flags & kSchLoaded) && index >= 0 && index < b->pinCount &&
              b->pins[index].wire == this && b->pins[index].wireEnd == e)
            target = b;
          break;
        }
        case kSchWireEndJunction: {
          SchJunction* j = ids.Junction(id);
          if (j && (j->flags & kSchLoaded) && index >= 0 && index < 4 && IdOf(j->wires[index]) == savedId &&
              j->wireEnds[index] == e)
            target = j;
          break;
        }
        case kSchWireEndBus: {
          SchBus* b = ids.Bus(id);
          int side = ends[e].side;
          if (b && (b->flags & kSchLoaded) && side <= 1 && index >= 0 && index < b->slotCount &&
              IdOf(b->wires[side][index]) == savedId && b->wireEnds[side][index] == e)
            target = b;
          break;
        }
        default:
          break;
      }
    }
    if (target) {
      ends[e].target = target;
    } else {
      endKind[e] = kSchWireEndFree;
      ends[e].target = nullptr;
      ends[e].index = 0;
      ends[e].side = 0;
    }
  }
  flags &= ~kSchLoaded;
}

void SchJunction::ResolveIds(const SchIdTable& ids) {
  for (int slot = 0; slot < 4; slot++) {
    SchWire* w = ids.Wire(IdOf(wires[slot]));
    int e = wireEnds[slot] & 1;
    wires[slot] = nullptr;
    if (w && !(w->flags & kSchLoaded) && w->endKind[e] == kSchWireEndJunction && w->ends[e].target == this &&
        w->ends[e].index == slot)
      wires[slot] = w;
    else
      wireEnds[slot] = 0;
  }
  flags &= ~kSchLoaded;
}

void SchBus::ResolveIds(const SchIdTable& ids) {
  for (int side = 0; side < 2; side++) {
    for (int slot = 0; slot < slotCount; slot++) {
      SchWire* w = ids.Wire(IdOf(wires[side][slot]));
      int e = wireEnds[side][slot] & 1;
      wires[side][slot] = nullptr;
      if (w && !(w->flags & kSchLoaded) && w->endKind[e] == kSchWireEndBus && w->ends[e].target == this &&
          w->ends[e].index == slot && w->ends[e].side == side)
        wires[side][slot] = w;
      else
        wireEnds[side][slot] = 0;
    }
  }
  flags &= ~kSchLoaded;
}

// ------------------------------------------------------------ the stream

void SchScheme::Write(CStream* s, unsigned char mask) {
  NumberObjects();
  s->Write(kSchStreamMagic, 4);
  s->WriteInt32(kSchStreamHeader);
  s->WriteInt32(CountSelected(blocks, mask));
  for (CSCHBlock* b = TailOf(blocks); b; b = b->prev) {
    if (!Selected(b->flags, mask)) continue;
    s->WriteStringA(b->className);
    b->Save(s);
  }
  s->WriteStringW(g_modelPath);
  s->WriteInt32(CountSelected(wires, mask));
  for (SchWire* w = TailOf(wires); w; w = w->prev)
    if (Selected(w->flags, mask)) w->Save(s);
  s->WriteByte(g_modelCheck);
  s->WriteInt32(CountSelected(junctions, mask));
  for (SchJunction* j = TailOf(junctions); j; j = j->prev)
    if (Selected(j->flags, mask)) j->Save(s);
  s->WriteInt32(CountSelected(buses, mask));
  for (SchBus* b = TailOf(buses); b; b = b->prev)
    if (Selected(b->flags, mask)) b->Save(s);
  ClearIdentities();
}

namespace {

// What one Read has added, so that a failure can take it back.
class ReadUndo {
public:
  explicit ReadUndo(SchScheme* scheme)
      : scheme_(scheme),
        blocks_(scheme->blocks),
        wires_(scheme->wires),
        junctions_(scheme->junctions),
        buses_(scheme->buses),
        path_(g_modelPath ? DupString(g_modelPath) : nullptr),
        check_(g_modelCheck) {}
  ~ReadUndo() { FreeBuffer(path_); }
  ReadUndo(const ReadUndo&) = delete;
  // False when the model path could not be kept for a rollback (memory ran
  // out): the read must not start.
  bool Ready() const { return path_ || !g_modelPath; }
  ReadUndo& operator=(const ReadUndo&) = delete;

  // Deletes everything in front of the list heads the read started with
  // (new objects are linked at the heads), newest first, and puts the model
  // path back. Objects read but not resolved carry the loaded flag, so their
  // destructors leave the other objects alone.
  void Rollback() {
    while (scheme_->junctions && scheme_->junctions != junctions_) delete scheme_->junctions;
    while (scheme_->wires && scheme_->wires != wires_) delete scheme_->wires;
    while (scheme_->buses && scheme_->buses != buses_) delete scheme_->buses;
    while (scheme_->blocks && scheme_->blocks != blocks_) delete scheme_->blocks;
    FreeBuffer(g_modelPath);
    g_modelPath = path_;
    path_ = nullptr;
    g_modelCheck = check_;
  }

private:
  SchScheme* scheme_;
  CSCHBlock* blocks_;
  SchWire* wires_;
  SchJunction* junctions_;
  SchBus* buses_;
  wchar_t* path_;
  unsigned char check_;
};

// Reads a count and checks that the bytes left can hold that many records.
bool ReadCount(GuardedStream& in, int minBytes, int* count) {
  int n = in.ReadInt32();
  if (in.shortRead || n < 0) return false;
  if (static_cast<long long>(n) * minBytes > in.Remaining()) return false;
  *count = n;
  return true;
}

}  // namespace

namespace {

bool ReadSchemeObjects(SchScheme* scheme, CStream* stream, unsigned char flagsToAdd) {
  GuardedStream in(stream);
  char magic[4] = {0, 0, 0, 0};
  if (in.Read(magic, 4) != 4 || memcmp(magic, kSchStreamMagic, 4) != 0) return false;
  in.ReadInt32();  // header value

  ReadUndo undo(scheme);
  if (!undo.Ready()) return false;
  // Any block the heap refuses from here on (a text, a pin array a
  // component's constructor could not grow, a child array) may have left a
  // record half read: the read then fails and keeps nothing.
  const unsigned failuresBefore = GetBufferFailureCount();
  auto broken = [&in, failuresBefore]() { return in.shortRead || GetBufferFailureCount() != failuresBefore; };
  std::vector<CSCHBlock*> newBlocks;
  std::vector<SchWire*> newWires;
  std::vector<SchJunction*> newJunctions;
  std::vector<SchBus*> newBuses;
  char lastGood[128] = "";

  int count = 0;
  if (!ReadCount(in, kMinBlockBytes, &count)) {
    undo.Rollback();
    return false;
  }
  newBlocks.reserve(count);
  for (int i = 0; i < count; i++) {
    char* name = in.ReadStringA();
    if (in.shortRead || in.GetPosition() >= in.GetSize()) {  // cut off inside the name
      FreeBuffer(name);
      undo.Rollback();
      return false;
    }
    unsigned char wasReading = scheme->reading;
    scheme->reading = 1;
    CSCHBlock* block = scheme->CreateBlock(name);
    scheme->reading = wasReading;
    if (!block) {
      ShowUnregisteredClass(name, lastGood);
      FreeBuffer(name);
      undo.Rollback();
      return false;
    }
    newBlocks.push_back(block);
    try {
      block->Load(&in);
    } catch (...) {
      // A record that throws (a block of a module that is missing) ends the
      // read: nothing of it stays, and the caller learns why.
      undo.Rollback();
      throw;
    }
    block->flags |= flagsToAdd;
    snprintf(lastGood, sizeof(lastGood), "%s", name ? name : "");
    FreeBuffer(name);
    if (broken()) {
      undo.Rollback();
      return false;
    }
  }

  wchar_t* path = in.ReadStringW();
  bool pathKept = !broken() && SetModelPathAndCheck(path, g_modelCheck);
  FreeBuffer(path);
  if (!pathKept) {
    undo.Rollback();
    return false;
  }

  bool ok = ReadCount(in, kMinWireBytes, &count);
  for (int i = 0; ok && i < count; i++) {
    SchWire* w = new SchWire(scheme);
    newWires.push_back(w);
    w->Load(&in);
    w->flags |= flagsToAdd;
    ok = !broken();
  }
  if (ok) {
    g_modelCheck = static_cast<unsigned char>(in.ReadByte());
    ok = ReadCount(in, kMinJunctionBytes, &count);
  }
  for (int i = 0; ok && i < count; i++) {
    SchJunction* j = new SchJunction(scheme);
    newJunctions.push_back(j);
    j->Load(&in);
    j->flags |= flagsToAdd;
    ok = !broken();
  }
  if (ok) ok = ReadCount(in, kMinBusBytes, &count);
  for (int i = 0; ok && i < count; i++) {
    SchBus* b = new SchBus(scheme);
    newBuses.push_back(b);
    b->Load(&in);
    b->flags |= flagsToAdd;
    ok = !broken();
  }
  if (!ok) {
    undo.Rollback();
    return false;
  }

  // Identities match only among the objects of this read: older objects may
  // carry the same numbers from another stream.
  SchIdTable ids;
  if (!ids.Build(newBlocks.data(), static_cast<int>(newBlocks.size()), newWires.data(),
                 static_cast<int>(newWires.size()), newJunctions.data(), static_cast<int>(newJunctions.size()),
                 newBuses.data(), static_cast<int>(newBuses.size()))) {
    undo.Rollback();  // memory ran out
    return false;
  }
  for (CSCHBlock* b : newBlocks) b->ResolveIds(ids);
  for (SchWire* w : newWires) w->ResolveIds(ids);
  for (SchJunction* j : newJunctions) j->ResolveIds(ids);
  for (SchBus* b : newBuses) b->ResolveIds(ids);
  for (CSCHBlock* b : newBlocks) b->savedId = 0;
  for (SchWire* w : newWires) w->savedId = 0;
  for (SchJunction* j : newJunctions) j->savedId = 0;
  for (SchBus* b : newBuses) b->savedId = 0;
  return true;
}

}  // namespace

void MarkSchemeRecordBroken(CStream* stream) {
  if (GuardedStream* in = dynamic_cast<GuardedStream*>(stream)) in->shortRead = true;
}

bool SchScheme::Read(CStream* stream, unsigned char flagsToAdd) {
  if (!stream) return false;
  bool ok = ReadSchemeObjects(this, stream, flagsToAdd);
  // A scheme nested in a block record of an outer read: the outer record is
  // broken too, and the outer read must not go on parsing from the middle.
  if (!ok)
    if (GuardedStream* outer = dynamic_cast<GuardedStream*>(stream)) outer->shortRead = true;
  return ok;
}
