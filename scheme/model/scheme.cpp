#include "scheme/model/scheme.h"

#include <cwchar>

#include "scheme/model/live_counts.h"
#include "scheme/model/scheme_watch.h"
#include "scheme/parts/connector.h"

namespace {

template <class T>
T* TailOf(T* head) {
  T* t = head;
  while (t && t->next) t = t->next;
  return t;
}

template <class T>
int CountOf(T* head) {
  int n = 0;
  for (T* t = head; t; t = t->next) n++;
  return n;
}

template <class T>
void NumberOldestFirst(T* head) {
  int id = 1;
  for (T* t = TailOf(head); t; t = t->prev) t->savedId = id++;
}

template <class T>
T* FindById(T* head, int id) {
  for (T* t = head; t; t = t->next)
    if (t->savedId == id) return t;
  return nullptr;
}

}  // namespace

SchScheme::SchScheme() { g_schLiveCounts.schemes++; }

SchScheme::~SchScheme() {
  // The editors let go first: nothing they show is touched while it goes.
  ReleaseWatches();
  if (running) StopSimulation();
  DeleteObjects();
  g_schLiveCounts.schemes--;
}

void SchScheme::DeleteObjects() {
  // Nets built but never run (or left by a caller) go with the objects.
  DeleteNets();
  groundNet = nullptr;
  // Junctions first: their wires' ends become free, so no wire is merged.
  while (junctions) delete junctions;
  while (wires) delete wires;
  while (buses) delete buses;
  // The families among this scheme's blocks are undone first, so every
  // block goes on its own, oldest first: the order the blocks were made,
  // and the heap gets its memory back in the order it gave it, whatever
  // shape the families have. A child outside the list stays with its
  // parent, to go with it.
  for (CSCHBlock* b = blocks; b; b = b->next) {
    if (b->flags & kSchLoaded) continue;  // its children are still read identities
    for (int i = 0; i < b->childCount; i++) {
      CSCHBlock* child = b->children[i];
      if (!child || child->scheme != this) continue;
      child->parent = nullptr;
      b->children[i] = nullptr;
    }
  }
  // The tail is looked up again after every deletion: a block's destructor
  // may have deleted any other block (parts it owns), so no pointer is kept
  // across a deletion.
  while (lastBlock) delete lastBlock;
}

void SchScheme::AddWatch(SchSchemeWatch* watch) {
  watch->watched_ = this;
  watch->nextWatch_ = watches_;
  watches_ = watch;
}

void SchScheme::RemoveWatch(SchSchemeWatch* watch) {
  for (SchSchemeWatch** link = &watches_; *link; link = &(*link)->nextWatch_) {
    if (*link != watch) continue;
    *link = watch->nextWatch_;
    break;
  }
  watch->watched_ = nullptr;
  watch->nextWatch_ = nullptr;
}

void SchScheme::ReleaseWatches() {
  // Each watch leaves before it is told, so whatever its owner does then
  // (watch another scheme, be destroyed) meets a consistent list.
  while (watches_) {
    SchSchemeWatch* watch = watches_;
    RemoveWatch(watch);
    watch->OnSchemeDeleting(this);
  }
}

void SchScheme::NotifyObjectDeleting(const void* object) {
  // The next watch is read before the call: a watch may leave (and its
  // owner watch nothing) while it is told.
  for (SchSchemeWatch* watch = watches_; watch;) {
    SchSchemeWatch* next = watch->nextWatch_;
    watch->OnObjectDeleting(this, object);
    watch = next;
  }
}

int SchScheme::WatchCount() const {
  int n = 0;
  for (SchSchemeWatch* watch = watches_; watch; watch = watch->nextWatch_) n++;
  return n;
}

CSCHBlock* SchScheme::FindBlockById(int id) const { return FindById(blocks, id); }
SchWire* SchScheme::FindWireById(int id) const { return FindById(wires, id); }
SchJunction* SchScheme::FindJunctionById(int id) const { return FindById(junctions, id); }
SchBus* SchScheme::FindBusById(int id) const { return FindById(buses, id); }

CSCHBlock* SchScheme::FindBlockByName(const wchar_t* name) const {
  if (!name) return nullptr;
  for (CSCHBlock* b = blocks; b; b = b->next)
    if (b->instanceName && wcscmp(b->instanceName, name) == 0) return b;
  return nullptr;
}

void SchScheme::NumberObjects() {
  NumberOldestFirst(blocks);
  NumberOldestFirst(wires);
  NumberOldestFirst(junctions);
  NumberOldestFirst(buses);
}

void SchScheme::ClearIdentities() {
  for (CSCHBlock* b = blocks; b; b = b->next) b->savedId = 0;
  for (SchWire* w = wires; w; w = w->next) w->savedId = 0;
  for (SchJunction* j = junctions; j; j = j->next) j->savedId = 0;
  for (SchBus* b = buses; b; b = b->next) b->savedId = 0;
}

void SchScheme::RenumberConnectors() {
  int offset = 0;
  for (CSCHConnector* c = connectors; c; c = c->nextConnector) {
    c->pinOffset = offset;
    offset += c->mirroredCount;
  }
}

int SchScheme::BlockCount() const { return CountOf(blocks); }
int SchScheme::WireCount() const { return CountOf(wires); }
int SchScheme::JunctionCount() const { return CountOf(junctions); }
int SchScheme::BusCount() const { return CountOf(buses); }
