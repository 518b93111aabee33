// Small circuits for the simulation tests, built in a few lines:
//
//   circuit::Circuit c;
//   auto* s = c.Part(1);                  // P1: one pin
//   auto* r = c.Add<circuit::Load>(900.f); // a two-terminal 900-ohm load
//   auto* g = c.Part(1);
//   s->Drive(0, 5, 100);                  // 5 V behind 100 ohm, every step
//   g->Drive(0, 0, 1e-5f);
//   c.Wire(s, 0, r, 0);
//   c.Wire(r, 1, g, 0);
//   c.Run(3);                             // BuildNets, Start, 3 steps
//   float u = c.Read(r, 0);               // what pin 0 sees of its net
//   c.Stop();
//
// Wires are joined by their end records only (no geometry), so any topology
// can be drawn: pin to pin, junction stars, bus slots, loops.
#pragma once

#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/net.h"

namespace circuit {

// A part with n pins of one kind (the first half on the left, the rest on
// the right) that drives the pins it was told to, in Start and every Step.
class Part : public CSCHBlock {
public:
  explicit Part(int n, int kind = kSchPinElectric) {
    namePrefix = L"P";
    className = "TestPart";
    SetPinCount(n);
    for (int i = 0; i < pinCount; i++) {
      pins[i].kind = kind;
      pins[i].side = i < (n + 1) / 2 ? kSchSideLeft : kSchSideRight;
      pins[i].number = i + 1;
    }
    drives.resize(n);
  }
  // Drives the pin from now on (and at once when it is on a net).
  void Drive(int pin, float U, float R) {
    drives[pin] = {true, U, R};
    SetPinSource(pin, U, R);
  }
  void Undrive(int pin) { drives[pin].on = false; }
  void Start() override { Apply(); }
  void Step(float) override {
    steps++;
    Apply();
  }
  void Apply() {
    for (int i = 0; i < pinCount; i++)
      if (drives[i].on) SetPinSource(i, drives[i].U, drives[i].R);
  }

  struct DriveValue {
    bool on;
    float U, R;
  };
  std::vector<DriveValue> drives;
  int steps = 0;
};

// A two-terminal load: each terminal is driven at the other terminal's net
// voltage behind the other side's resistance plus its own.
class Load : public CSCHBlock {
public:
  explicit Load(float ohms) : R(ohms) {
    namePrefix = L"R";
    SetPinCount(2);
    pins[0].side = kSchSideLeft;
    pins[1].side = kSchSideRight;
  }
  void Step(float) override {
    float u0, r0, u1, r1;
    GetPinInput(0, &u0, &r0);
    GetPinInput(1, &u1, &r1);
    SetPinSource(0, u1, r1 + R);
    SetPinSource(1, u0, r0 + R);
  }
  float R;
};

// A board-like part owning a nested scheme whose connectors mirror their
// pins onto it; drives the nested scheme from its own slots.
class Nesting : public CSCHBlock {
public:
  Nesting() {
    namePrefix = L"B";
    nested = new SchScheme;
    nested->ownerBlock = this;
    nestedScheme = nested;
  }
  ~Nesting() override {
    nested->ownerBlock = nullptr;  // its connectors need not unmirror
    delete nested;
  }
  void JoinInternalNets() override { nested->BuildNets(); }
  void Start() override { nested->StartSimulation(); }
  void Step(float dt) override { nested->StepSimulation(dt); }
  void Stop() override { nested->StopSimulation(); }
  SchScheme* nested;
};

// Wire ends set by their records, both sides at once.
inline void EndAtPin(SchWire* w, int end, CSCHBlock* b, int pin) {
  w->endKind[end] = kSchWireEndPin;
  w->ends[end].target = b;
  w->ends[end].index = pin;
  b->pins[pin].wire = w;
  b->pins[pin].wireEnd = static_cast<unsigned char>(end);
}

inline void EndAtJunction(SchWire* w, int end, SchJunction* j, int slot) {
  w->endKind[end] = kSchWireEndJunction;
  w->ends[end].target = j;
  w->ends[end].index = slot;
  j->wires[slot] = w;
  j->wireEnds[slot] = static_cast<unsigned char>(end);
}

inline void EndAtBus(SchWire* w, int end, SchBus* bus, int side, int slot) {
  w->endKind[end] = kSchWireEndBus;
  w->ends[end].target = bus;
  w->ends[end].index = slot;
  w->ends[end].side = static_cast<unsigned char>(side);
  bus->wires[side][slot] = w;
  bus->wireEnds[side][slot] = static_cast<unsigned char>(end);
}

class Circuit {
public:
  // A scheme of its own, or (for a nested scheme) one owned elsewhere.
  Circuit() : scheme(new SchScheme), owned_(true) {}
  explicit Circuit(SchScheme* other) : scheme(other), owned_(false) {}
  ~Circuit() {
    if (owned_) delete scheme;
  }
  Circuit(const Circuit&) = delete;
  Circuit& operator=(const Circuit&) = delete;

  // Any block, constructed with the arguments and attached.
  template <class T, class... A>
  T* Add(A&&... args) {
    T* b = new T(std::forward<A>(args)...);
    b->Attach(scheme);
    return b;
  }
  circuit::Part* Part(int n = 2, int kind = kSchPinElectric) { return Add<circuit::Part>(n, kind); }

  // A wire with both ends free (of the kind given).
  SchWire* FreeWire(int kind = kSchPinElectric) {
    SchWire* w = new SchWire(scheme);
    w->kind = static_cast<unsigned char>(kind);
    return w;
  }
  SchWire* Wire(CSCHBlock* a, int pa, CSCHBlock* b, int pb) {
    SchWire* w = FreeWire(a->pins[pa].kind);
    EndAtPin(w, 0, a, pa);
    EndAtPin(w, 1, b, pb);
    return w;
  }
  SchJunction* Junction() { return new SchJunction(scheme); }
  // A wire from the pin to slot of the junction.
  SchWire* Wire(CSCHBlock* a, int pa, SchJunction* j, int slot) {
    SchWire* w = FreeWire();
    EndAtPin(w, 0, a, pa);
    EndAtJunction(w, 1, j, slot);
    return w;
  }
  SchWire* Wire(SchJunction* a, int sa, SchJunction* b, int sb) {
    SchWire* w = FreeWire();
    EndAtJunction(w, 0, a, sa);
    EndAtJunction(w, 1, b, sb);
    return w;
  }
  // A junction with one wire to each pin (at most four), slots 0, 1, ...
  SchJunction* Star(std::initializer_list<std::pair<CSCHBlock*, int>> pins) {
    SchJunction* j = Junction();
    int slot = 0;
    for (const auto& p : pins) Wire(p.first, p.second, j, slot++);
    return j;
  }
  SchBus* Bus(int slots) {
    SchBus* b = new SchBus(scheme);
    b->SetSlotCount(slots);
    return b;
  }
  SchWire* Wire(CSCHBlock* a, int pa, SchBus* bus, int side, int slot) {
    SchWire* w = FreeWire();
    EndAtPin(w, 0, a, pa);
    EndAtBus(w, 1, bus, side, slot);
    return w;
  }

  // The run cycle.
  void Build() { scheme->BuildNets(); }
  void Start() { scheme->StartSimulation(); }
  void Step(int n = 1, float dt = 1e-3f) {
    for (int i = 0; i < n; i++) scheme->StepSimulation(dt);
  }
  void Run(int steps, float dt = 1e-3f) {
    Build();
    Start();
    Step(steps, dt);
  }
  void Stop() { scheme->StopSimulation(); }

  // What the pin reads of the rest of its net.
  static float Read(CSCHBlock* b, int pin, float* R = nullptr) {
    float u, r;
    b->GetPinInput(pin, &u, &r);
    if (R) *R = r;
    return u;
  }
  static SchNet* NetOf(CSCHBlock* b, int pin) { return b->pins[pin].net; }
  int NetCount() const {
    int n = 0;
    for (SchNet* net = scheme->nets; net; net = net->next) n++;
    return n;
  }

  SchScheme* scheme;

private:
  bool owned_;
};

// Every net pointer held by the schemes' pins, wires and ground fields
// points at a net of one of their net lists, and every net's pins and wires
// point back at it.
inline ::testing::AssertionResult NetPointersLive(std::initializer_list<SchScheme*> schemes) {
  std::set<SchNet*> live;
  for (SchScheme* s : schemes)
    for (SchNet* n = s->nets; n; n = n->next) live.insert(n);
  auto ok = [&](SchNet* n) { return !n || live.count(n) > 0; };
  for (SchScheme* s : schemes) {
    if (!ok(s->groundNet)) return ::testing::AssertionFailure() << "ground net deleted";
    for (CSCHBlock* b = s->blocks; b; b = b->next)
      for (int i = 0; i < b->pinCount; i++)
        if (!ok(b->pins[i].net)) return ::testing::AssertionFailure() << "pin on a deleted net";
    for (SchWire* w = s->wires; w; w = w->next)
      if (!ok(w->net)) return ::testing::AssertionFailure() << "wire on a deleted net";
  }
  for (SchNet* n : live) {
    for (int i = 0; i < n->pinCount; i++)
      if (n->pins[i].block->pins[n->pins[i].pin].net != n)
        return ::testing::AssertionFailure() << "net lists a pin of another net";
    for (int i = 0; i < n->wireCount; i++)
      if (n->wires[i]->net != n) return ::testing::AssertionFailure() << "net lists a wire of another net";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace circuit
