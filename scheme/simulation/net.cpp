#include "scheme/simulation/net.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/model/block.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

const int kNetGrowStep = 8;

// Grows an array to hold one more entry, in steps of 8. The capacity is
// always a whole number of steps.
template <class T>
bool GrowBy8(T*& items, int count, int& capacity) {
  if (count < capacity) return true;
  if (!ResizeSteppedArray(&items, capacity, count + 1, kNetGrowStep)) return false;
  capacity = SteppedCapacity(count + 1, kNetGrowStep);
  return true;
}

template <class T>
bool Reserve(T*& items, int wanted, int& capacity) {
  if (wanted <= capacity) return true;
  if (!ResizeSteppedArray(&items, capacity, wanted, kNetGrowStep)) return false;
  capacity = SteppedCapacity(wanted, kNetGrowStep);
  return true;
}

}  // namespace

SchNet::SchNet(SchScheme* owner) : scheme(owner) {
  g_schLiveCounts.nets++;
  if (scheme) {
    next = scheme->nets;
    if (next) next->prev = this;
    scheme->nets = this;
  }
}

SchNet::~SchNet() {
  if (scheme) {
    if (prev) prev->next = next;
    else if (scheme->nets == this) scheme->nets = next;
    if (next) next->prev = prev;
    if (scheme->groundNet == this) scheme->groundNet = nullptr;
  }
  FreeBuffer(pins);
  FreeBuffer(wires);
  g_schLiveCounts.nets--;
}

bool SchNet::AddPin(CSCHBlock* block, int pin) {
  if (!block || pin < 0 || pin >= block->pinCount) return false;
  if (!GrowBy8(pins, pinCount, pinCapacity_)) return false;
  pins[pinCount].block = block;
  pins[pinCount].pin = pin;
  pinCount++;
  block->pins[pin].net = this;
  return true;
}

bool SchNet::AddWire(SchWire* wire) {
  if (!wire) return false;
  if (!GrowBy8(wires, wireCount, wireCapacity_)) return false;
  wires[wireCount++] = wire;
  wire->net = this;
  return true;
}

bool SchNet::Merge(SchNet* other) {
  if (!other || other == this) return true;
  if (!Reserve(pins, pinCount + other->pinCount, pinCapacity_)) return false;
  if (!Reserve(wires, wireCount + other->wireCount, wireCapacity_)) return false;
  for (int i = 0; i < other->pinCount; i++) {
    SchNetPin ref = other->pins[i];
    pins[pinCount++] = ref;
    SchPin& p = ref.block->pins[ref.pin];
    if (p.net == other) p.net = this;
    // Nets joined through connectors hold pins of several schemes; any of
    // them may have taken the other net as its common ground.
    SchScheme* s = ref.block->scheme;
    if (s && s->groundNet == other) s->groundNet = this;
  }
  for (int i = 0; i < other->wireCount; i++) {
    SchWire* w = other->wires[i];
    wires[wireCount++] = w;
    if (w->net == other) w->net = this;
  }
  if (other->scheme && other->scheme->groundNet == other) other->scheme->groundNet = this;
  delete other;
  return true;
}

void SchNet::Recalculate() {
  double i1 = 0, g1 = 0, i2 = 0, g2 = 0;
  for (int k = 0; k < pinCount; k++) {
    const SchPin& p = pins[k].block->pins[pins[k].pin];
    i1 += p.I;
    g1 += p.G;
    i2 += p.I2;
    g2 += p.G2;
  }
  sumI = i1;
  sumG = g1;
  sumI2 = i2;
  sumG2 = g2;
}
