// Net building, the run cycle and the pin model.
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <vector>

#include "scheme/model/live_counts.h"
#include "scheme/parts/ground.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/sim_log.h"
#include "tests/scheme/circuit_fixture.h"

using circuit::Circuit;
using circuit::Part;

namespace {

bool SameNet(CSCHBlock* a, int pa, CSCHBlock* b, int pb) {
  return a->pins[pa].net && a->pins[pa].net == b->pins[pb].net;
}

// ---- Net building ----

TEST(NetBuilding, ChainGivesOneNetPerWire) {
  Circuit c;
  Part* a = c.Part(2);
  Part* b = c.Part(2);
  Part* d = c.Part(2);
  SchWire* w1 = c.Wire(a, 1, b, 0);
  SchWire* w2 = c.Wire(b, 1, d, 0);
  c.Build();
  EXPECT_EQ(c.NetCount(), 2);
  EXPECT_TRUE(SameNet(a, 1, b, 0));
  EXPECT_TRUE(SameNet(b, 1, d, 0));
  EXPECT_NE(b->pins[0].net, b->pins[1].net);
  EXPECT_EQ(a->pins[0].net, nullptr);  // no wire, no net
  EXPECT_EQ(d->pins[1].net, nullptr);
  EXPECT_EQ(w1->net, a->pins[1].net);
  EXPECT_EQ(w2->net, d->pins[0].net);
  EXPECT_EQ(w1->net->pinCount, 2);
  EXPECT_TRUE(circuit::NetPointersLive({c.scheme}));
}

TEST(NetBuilding, JunctionStarsJoinEveryArm) {
  Circuit c;
  Part* p[6];
  for (auto& x : p) x = c.Part(1);
  // Two stars joined by a wire between them: one net of five pins.
  SchJunction* j1 = c.Star({{p[0], 0}, {p[1], 0}, {p[2], 0}});
  SchJunction* j2 = c.Star({{p[3], 0}, {p[4], 0}});
  c.Wire(j1, 3, j2, 2);
  c.Build();
  EXPECT_EQ(c.NetCount(), 1);
  SchNet* net = p[0]->pins[0].net;
  ASSERT_NE(net, nullptr);
  EXPECT_EQ(net->pinCount, 5);
  EXPECT_EQ(net->wireCount, 6);
  for (int i = 0; i < 5; i++) EXPECT_EQ(p[i]->pins[0].net, net);
  EXPECT_EQ(p[5]->pins[0].net, nullptr);
  for (SchWire* w = c.scheme->wires; w; w = w->next) EXPECT_EQ(w->net, net);
}

TEST(NetBuilding, BusJoinsEqualSlotsOnly) {
  Circuit c;
  SchBus* bus = c.Bus(3);
  Part* left[3];
  Part* right[3];
  for (int k = 0; k < 3; k++) {
    left[k] = c.Part(1);
    right[k] = c.Part(1);
  }
  // Slot 0 joined across, slot 1 only on side 0, slot 2 across.
  c.Wire(left[0], 0, bus, 0, 0);
  c.Wire(right[0], 0, bus, 1, 0);
  c.Wire(left[1], 0, bus, 0, 1);
  c.Wire(left[2], 0, bus, 0, 2);
  c.Wire(right[2], 0, bus, 1, 2);
  c.Build();
  EXPECT_EQ(c.NetCount(), 3);
  EXPECT_TRUE(SameNet(left[0], 0, right[0], 0));
  EXPECT_TRUE(SameNet(left[2], 0, right[2], 0));
  ASSERT_NE(left[1]->pins[0].net, nullptr);
  EXPECT_EQ(left[1]->pins[0].net->pinCount, 1);
  EXPECT_NE(left[0]->pins[0].net, left[2]->pins[0].net);
  EXPECT_EQ(right[1]->pins[0].net, nullptr);
}

TEST(NetBuilding, WireLoopsEndAndShareOneNet) {
  Circuit c;
  // A ring of four junctions without pins: the build ends, no net.
  SchJunction* j[4];
  for (auto& x : j) x = c.Junction();
  for (int i = 0; i < 4; i++) c.Wire(j[i], 2, j[(i + 1) % 4], 0);
  c.Build();
  EXPECT_EQ(c.NetCount(), 0);
  for (SchWire* w = c.scheme->wires; w; w = w->next) EXPECT_EQ(w->net, nullptr);
  // A pin on the ring and a second ring wire: one net for the whole ring.
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  c.Wire(a, 0, j[0], 1);
  c.Wire(j[1], 1, j[3], 3);
  c.Wire(b, 0, j[2], 3);
  c.Build();
  EXPECT_EQ(c.NetCount(), 1);
  EXPECT_TRUE(SameNet(a, 0, b, 0));
  for (SchWire* w = c.scheme->wires; w; w = w->next) EXPECT_EQ(w->net, a->pins[0].net);
  EXPECT_EQ(a->pins[0].net->pinCount, 2);
  EXPECT_EQ(a->pins[0].net->wireCount, 7);
}

TEST(NetBuilding, WiresWithoutPinsGetNoNet) {
  Circuit c;
  c.FreeWire();
  SchJunction* j1 = c.Junction();
  SchJunction* j2 = c.Junction();
  c.Wire(j1, 2, j2, 0);
  SchBus* bus = c.Bus(2);
  SchWire* w = c.FreeWire();
  circuit::EndAtBus(w, 1, bus, 0, 1);
  c.Build();
  EXPECT_EQ(c.NetCount(), 0);
  for (SchWire* x = c.scheme->wires; x; x = x->next) EXPECT_EQ(x->net, nullptr);
}

// Random wiring, loops included, against a union-find of the same graph:
// every connected set of pins shares exactly one net.
TEST(NetBuilding, EveryConnectedSetOfPinsGetsExactlyOneNet) {
  unsigned seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  for (int round = 0; round < 20; round++) {
    Circuit c;
    const int kJunctions = 25, kPins = 40;
    std::vector<SchJunction*> js;
    std::vector<Part*> ps;
    for (int i = 0; i < kJunctions; i++) js.push_back(c.Junction());
    for (int i = 0; i < kPins; i++) ps.push_back(c.Part(1));
    // Nodes: junctions 0..J-1, pins J..J+P-1.
    std::vector<int> parent(kJunctions + kPins);
    std::iota(parent.begin(), parent.end(), 0);
    std::function<int(int)> find = [&](int x) { return parent[x] == x ? x : parent[x] = find(parent[x]); };
    auto pick = [&](SchWire* w, int end) -> int {
      for (int tries = 0; tries < 10; tries++) {
        int node = next(kJunctions + kPins);
        if (node < kJunctions) {
          for (int s = 0; s < 4; s++)
            if (!js[node]->wires[s]) {
              circuit::EndAtJunction(w, end, js[node], s);
              return node;
            }
        } else if (!ps[node - kJunctions]->pins[0].wire) {
          circuit::EndAtPin(w, end, ps[node - kJunctions], 0);
          return node;
        }
      }
      return -1;  // a free end
    };
    for (int i = 0; i < 45; i++) {
      SchWire* w = c.FreeWire();
      int a = pick(w, 0), b = pick(w, 1);
      if (a >= 0 && b >= 0) parent[find(a)] = find(b);
    }
    c.Build();
    std::map<int, SchNet*> netOfSet;
    std::map<SchNet*, int> setOfNet;
    for (int i = 0; i < kPins; i++) {
      SchNet* n = ps[i]->pins[0].net;
      if (!ps[i]->pins[0].wire) {
        EXPECT_EQ(n, nullptr);
        continue;
      }
      ASSERT_NE(n, nullptr) << "round " << round << " pin " << i;
      int set = find(kJunctions + i);
      if (!netOfSet.count(set)) netOfSet[set] = n;
      EXPECT_EQ(netOfSet[set], n) << "a connected set split over two nets";
      if (!setOfNet.count(n)) setOfNet[n] = set;
      EXPECT_EQ(setOfNet[n], set) << "two sets share a net";
    }
    EXPECT_EQ(c.NetCount(), static_cast<int>(netOfSet.size()));
    EXPECT_TRUE(circuit::NetPointersLive({c.scheme}));
  }
}

TEST(NetBuilding, MergingGroundsLeavesNoPointerToADeletedNet) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  CSCHGnd* g1 = c.Add<CSCHGnd>();
  CSCHGnd* g2 = c.Add<CSCHGnd>();
  CSCHGnd* g3 = c.Add<CSCHGnd>();  // unconnected: joins nothing
  SchWire* w1 = c.Wire(a, 0, g1, 0);
  SchWire* w2 = c.Wire(b, 0, g2, 0);
  c.Build();
  EXPECT_EQ(c.NetCount(), 1);
  EXPECT_TRUE(SameNet(a, 0, b, 0));
  EXPECT_EQ(c.scheme->groundNet, a->pins[0].net);
  EXPECT_EQ(w1->net, w2->net);
  EXPECT_EQ(g3->pins[0].net, nullptr);
  EXPECT_TRUE(circuit::NetPointersLive({c.scheme}));
  c.Stop();
  EXPECT_EQ(c.scheme->groundNet, nullptr);
}

TEST(NetBuilding, SingleUnconnectedGroundSetsNoGroundNet) {
  Circuit c;
  c.Add<CSCHGnd>();
  c.Build();
  EXPECT_EQ(c.scheme->groundNet, nullptr);
  EXPECT_EQ(c.NetCount(), 0);
}

TEST(NetBuilding, BuildingAgainReplacesTheNets) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  c.Wire(a, 0, b, 0);
  c.Build();
  c.Build();
  EXPECT_EQ(c.NetCount(), 1);
  EXPECT_EQ(a->pins[0].net->pinCount, 2);
  EXPECT_TRUE(circuit::NetPointersLive({c.scheme}));
}

TEST(RunCycle, StartSumsStepsInOrderStopClearsEverything) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  SchWire* w = c.Wire(a, 0, b, 0);
  a->Drive(0, 5, 100);
  c.Build();
  SchNet* net = a->pins[0].net;
  EXPECT_DOUBLE_EQ(net->sumG, 1.0);  // a new net, not yet summed
  c.Start();
  EXPECT_EQ(c.scheme->running, 1);
  EXPECT_EQ(c.scheme->startedToken, 1);
  EXPECT_NEAR(net->sumI, 0.05, 1e-9);
  EXPECT_NEAR(net->sumG, 0.01 + 2e-7, 1e-9);
  c.Step(3);
  EXPECT_EQ(a->steps, 3);
  EXPECT_EQ(b->steps, 3);
  c.Stop();
  EXPECT_EQ(c.scheme->running, 0);
  EXPECT_EQ(c.scheme->nets, nullptr);
  EXPECT_EQ(a->pins[0].net, nullptr);
  EXPECT_EQ(w->net, nullptr);
  // Contributions stay and count again at the next run.
  EXPECT_FLOAT_EQ(a->pins[0].I, 0.05f);
  c.Build();
  a->Undrive(0);
  c.Start();
  EXPECT_NEAR(a->pins[0].net->sumI, 0.05, 1e-9);
  c.Stop();
}

TEST(RunCycle, DestroyingABuiltSchemeFreesItsNets) {
  const int netsBefore = g_schLiveCounts.nets;
  const int blocksBefore = g_schLiveCounts.blocks;
  Circuit* c = new Circuit;
  Part* a = c->Part(1);
  Part* b = c->Part(1);
  Part* lone = c->Part(1);  // no wire: no net
  c->Wire(a, 0, b, 0);
  c->Build();
  EXPECT_EQ(netsBefore + 1, g_schLiveCounts.nets);
  EXPECT_EQ(nullptr, lone->pins[0].net);
  delete c;  // built but never run: the nets go with the scheme
  EXPECT_EQ(netsBefore, g_schLiveCounts.nets);
  EXPECT_EQ(blocksBefore, g_schLiveCounts.blocks);
}

// ---- Pin model: sums and Thevenin readings ----

TEST(PinModel, UnconnectedPinReadsOpenCircuit) {
  Circuit c;
  Part* a = c.Part(1);
  c.Run(1);
  float r = 0;
  EXPECT_EQ(Circuit::Read(a, 0, &r), 0.0f);
  EXPECT_EQ(r, 5e6f);
  SchPinState s = {};
  s.source = reinterpret_cast<SchSignalSource*>(1);
  a->GetPinState(0, &s);
  EXPECT_EQ(s.U, 0.0f);
  EXPECT_EQ(s.R, 5e6f);
  EXPECT_EQ(s.U2, 0.0f);
  EXPECT_EQ(s.R2, 5e6f);
  EXPECT_EQ(s.source, nullptr);
  a->SetPinSource(0, 5, 100);  // no net: nothing
  EXPECT_EQ(a->pins[0].G, 2e-7f);
}

TEST(PinModel, SourceAndUndrivenPin) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  c.Wire(a, 0, b, 0);
  a->Drive(0, 5, 100);
  c.Run(1);
  float r;
  // The undriven pin sees 0.05 A / 0.01 S: 5 V behind 100 ohm.
  EXPECT_NEAR(Circuit::Read(b, 0, &r), 5.0f, 1e-4f);
  EXPECT_NEAR(r, 100.0f, 1e-3f);
  // The driven pin sees only the undriven one: 0 V behind 5e6 ohm.
  EXPECT_EQ(Circuit::Read(a, 0, &r), 0.0f);
  EXPECT_NEAR(r, 5e6f, 1.0f);
  SchPinState s;
  b->GetPinState(0, &s);
  EXPECT_NEAR(s.U, 5.0f, 1e-4f);
  EXPECT_NEAR(s.R, 100.0f, 1e-3f);
  EXPECT_EQ(s.U2, s.U);
  EXPECT_EQ(s.R2, s.R);
  EXPECT_EQ(s.sourceKind, 0);
}

TEST(PinModel, TwoSourcesAndAReaderOnOneNet) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  Part* probe = c.Part(1);
  c.Star({{a, 0}, {b, 0}, {probe, 0}});
  a->Drive(0, 10, 100);
  b->Drive(0, 2, 400);
  c.Run(2);
  float r;
  // Rest of the probe: I = 0.1 + 0.005, G = 0.01 + 0.0025.
  EXPECT_NEAR(Circuit::Read(probe, 0, &r), 0.105 / 0.0125, 1e-4);
  EXPECT_NEAR(r, 80.0f, 1e-3f);
  // Rest of a: b and the probe's 5-megohm leak.
  EXPECT_NEAR(Circuit::Read(a, 0, &r), 0.005 / (0.0025 + 2e-7), 1e-4);
  EXPECT_NEAR(r, 1.0 / (0.0025 + 2e-7), 1e-2);
}

TEST(PinModel, SourceThroughALoad) {
  Circuit c;
  Part* s = c.Part(1);
  Part* g = c.Part(1);
  Part* probe = c.Part(1);
  circuit::Load* load = c.Add<circuit::Load>(900.0f);
  c.Star({{s, 0}, {load, 0}, {probe, 0}});
  c.Wire(load, 1, g, 0);
  s->Drive(0, 5, 100);
  g->Drive(0, 0, 0);  // raised to 1e-5 ohm: a hard 0 V
  c.Run(3);
  float r;
  // 5 V divided by 100 and 900 ohm; seen behind 100 || 900 = 90 ohm.
  EXPECT_NEAR(Circuit::Read(probe, 0, &r), 4.5f, 1e-3f);
  EXPECT_NEAR(r, 90.0f, 1e-2f);
  // The load's far terminal sits at 0 V behind 1e-5 ohm.
  EXPECT_NEAR(Circuit::Read(load, 1, &r), 0.0f, 1e-6f);
  EXPECT_NEAR(r, 1e-5f, 1e-7f);
}

TEST(PinModel, PinAloneOnItsNetReadsOpenCircuitFromBothReaders) {
  Circuit c;
  Part* a = c.Part(1);
  c.Wire(a, 0, c.Bus(1), 0, 0);  // nothing on the bus's other side
  c.Run(0);
  ASSERT_NE(a->pins[0].net, nullptr);
  EXPECT_EQ(a->pins[0].net->pinCount, 1);
  a->SetPinSource(0, 5, 100);
  float r;
  EXPECT_EQ(Circuit::Read(a, 0, &r), 0.0f);
  EXPECT_NEAR(r, 5e6f, 1.0f);
  SchPinState s;
  a->GetPinState(0, &s);
  EXPECT_FALSE(std::isnan(s.U));
  EXPECT_EQ(s.U, 0.0f);
  EXPECT_NEAR(s.R, 5e6f, 1.0f);
}

// A net driven only through a high resistance (a voltmeter's 10 megohm
// input, 1e-7 S): GetPinState divides by the rest's own conductance, while
// GetPinInput raises it to 2e-7 S first. Worked by hand from the rest of
// the undriven pin: I = 5 / R, G = 1 / R.
TEST(PinModel, WeaklyDrivenNetReadsTheRestAsItIs) {
  struct Case {
    float driveR;
    float stateU, stateR;  // GetPinState: 5 V behind the drive
    float inputU, inputR;  // GetPinInput: 5 V * G / 2e-7 behind 5e6 when G < 2e-7
  } cases[] = {
      {100, 5, 100, 5, 100},
      {1e6f, 5, 1e6f, 5, 1e6f},
      {5e6f, 5, 5e6f, 5, 5e6f},      // exactly at the floor
      {1e7f, 5, 1e7f, 2.5f, 5e6f},   // 5e-7 A / 2e-7 S
      {1e8f, 5, 1e8f, 0.25f, 5e6f},  // 5e-8 A / 2e-7 S
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.driveR);
    Circuit c;
    Part* a = c.Part(1);
    Part* b = c.Part(1);
    c.Wire(a, 0, b, 0);
    a->Drive(0, 5, k.driveR);
    c.Run(1);
    SchPinState s;
    b->GetPinState(0, &s);
    EXPECT_NEAR(s.U, k.stateU, k.stateU * 1e-5f);
    EXPECT_NEAR(s.R, k.stateR, k.stateR * 1e-5f);
    EXPECT_EQ(s.U2, s.U);
    EXPECT_EQ(s.R2, s.R);
    float r;
    EXPECT_NEAR(Circuit::Read(b, 0, &r), k.inputU, k.inputU * 1e-5f);
    EXPECT_NEAR(r, k.inputR, k.inputR * 1e-5f);
    // The driven pin sees only the other pin's leak, from both readers.
    a->GetPinState(0, &s);
    EXPECT_EQ(s.U, 0.0f);
    EXPECT_NEAR(s.R, 5e6f, 5.0f);
    EXPECT_EQ(Circuit::Read(a, 0, &r), 0.0f);
    EXPECT_NEAR(r, 5e6f, 5.0f);
  }
}

// The second pair of a weakly driven data line is read unbounded too.
TEST(PinModel, WeakDataLineReadsBothLevelsAsTheyAre) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  c.Wire(a, 0, b, 0);
  c.Run(0);
  SchSignalSource src = {nullptr, 0.5f};
  // Idle 5 V behind 1e7, other level 1 V behind 1e8.
  a->SetPinState(0, SchPinState{5, 1e7f, 1, 1e8f, 5, 1e7f, kSchSourceUsb, &src});
  ASSERT_EQ(a->pins[0].net->source, &src);
  SchPinState s;
  b->GetPinState(0, &s);
  EXPECT_NEAR(s.U, 5.0f, 5e-5f);
  EXPECT_NEAR(s.R, 1e7f, 1e2f);
  EXPECT_NEAR(s.U2, 1.0f, 1e-5f);  // 1e-8 A / 1e-8 S
  EXPECT_NEAR(s.R2, 1e8f, 1e3f);
  EXPECT_EQ(s.ownU, 0.0f);
  EXPECT_NEAR(s.ownR, 5e6f, 5.0f);
  EXPECT_EQ(s.source, &src);
}

// A rest without conductance has no Thevenin equivalent: the pin reads 0 V
// behind 5e6 ohm, as an unconnected pin does, on both pairs and from both
// readers, never a division by zero.
TEST(PinModel, RestWithoutConductanceReadsAsAnUnconnectedPin) {
  struct Case {
    const char* what;
    double restG;   // sum G minus the pin's own G
    double restG2;  // the same for the second pair
  } cases[] = {
      {"nothing left", 0, 0},
      {"rounding below zero", -1e-12, -1e-12},
      {"second pair only", 0.01, 0},
      {"second pair below zero", 0.01, -3e-9},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Circuit c;
    Part* a = c.Part(1);
    c.Wire(a, 0, c.Bus(1), 0, 0);  // alone on its net
    c.Run(0);
    a->SetPinSource(0, 5, 100);
    SchNet* net = a->pins[0].net;
    ASSERT_NE(net, nullptr);
    net->sumG = a->pins[0].G + k.restG;
    net->sumI = a->pins[0].I + 0.05 * (k.restG > 0);  // 5 V behind 100 ohm when any
    net->sumG2 = a->pins[0].G2 + k.restG2;
    net->sumI2 = a->pins[0].I2 + 0.01;  // a current with no conductance to flow through
    SchSignalSource foreign = {nullptr, 0.5f};
    net->source = &foreign;  // another pin's data, so the second pair is read
    net->sourceKind = kSchSourceUsb;
    SchPinState s;
    a->GetPinState(0, &s);
    if (k.restG > 0) {
      EXPECT_NEAR(s.U, 5.0f, 1e-5f);
      EXPECT_NEAR(s.R, 100.0f, 1e-3f);
    } else {
      EXPECT_EQ(s.U, 0.0f);
      EXPECT_EQ(s.R, 5e6f);
    }
    EXPECT_EQ(s.U2, 0.0f);
    EXPECT_EQ(s.R2, 5e6f);
    float r;
    float u = Circuit::Read(a, 0, &r);
    EXPECT_TRUE(std::isfinite(u));
    EXPECT_TRUE(std::isfinite(r));
    EXPECT_GT(r, 0.0f);
  }
}

TEST(PinModel, DrivingTwiceAlikeLeavesTheSums) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  c.Wire(a, 0, b, 0);
  c.Run(0);
  a->SetPinSource(0, 3.3f, 47);
  SchNet* net = a->pins[0].net;
  double i = net->sumI, g = net->sumG, i2 = net->sumI2, g2 = net->sumG2;
  a->SetPinSource(0, 3.3f, 47);
  EXPECT_EQ(net->sumI, i);
  EXPECT_EQ(net->sumG, g);
  EXPECT_EQ(net->sumI2, i2);
  EXPECT_EQ(net->sumG2, g2);
  // Many changes and back: the sums change by differences and return.
  for (int k = 0; k < 1000; k++) a->SetPinSource(0, static_cast<float>(k % 7), 10.0f + k);
  a->SetPinSource(0, 3.3f, 47);
  EXPECT_NEAR(net->sumI, i, 1e-9);
  EXPECT_NEAR(net->sumG, g, 1e-9);
}

TEST(PinModel, ZeroResistanceIsRaisedBeforeDividing) {
  Circuit c;
  Part* a = c.Part(1);
  Part* b = c.Part(1);
  c.Wire(a, 0, b, 0);
  c.Run(0);
  a->SetPinSource(0, 1, 0);
  EXPECT_TRUE(std::isfinite(a->pins[0].net->sumI));
  EXPECT_FLOAT_EQ(a->pins[0].G, 1e5f);
  float r;
  EXPECT_NEAR(Circuit::Read(b, 0, &r), 1.0f, 1e-5f);
  EXPECT_NEAR(r, 1e-5f, 1e-9f);
  SchPinState s = {2, 0, 2, 0, 0, 0, 0, nullptr};
  a->SetPinState(0, s);
  EXPECT_TRUE(std::isfinite(a->pins[0].net->sumI2));
  EXPECT_NEAR(Circuit::Read(b, 0), 2.0f, 1e-5f);
}

// ---- Mixing ----

TEST(Mixing, WeightsBySourceKind) {
  SchSignalSource src = {nullptr, 0.2f};
  struct Case {
    int kind;
    const SchSignalSource* source;
    float weight;
  } cases[] = {
      {0, nullptr, 1.0f},  {10, nullptr, 1.0f}, {0, &src, 0.2f},   {7, &src, 0.03f},
      {8, &src, 0.03f},    {10, &src, 0.75f},   {12, &src, 0.5f},  {13, &src, 0.5f},
      {1, &src, 0.5f},     {18, &src, 0.5f},    {29, &src, 0.5f},
  };
  for (const Case& k : cases)
    EXPECT_FLOAT_EQ(GetSourceWeight(k.kind, k.source), k.weight) << "kind " << k.kind;
}

TEST(Mixing, CombineSourceState) {
  SchSignalSource src = {nullptr, 1.0f};
  float u, r;
  // Weight 1: the first pair.
  CombineSourceState(5, 100, 0, 300, 0, 5e6f, 0, &src, &u, &r);
  EXPECT_FLOAT_EQ(u, 5.0f);
  // A high-impedance reader, w = 0.5: 2R || 2R2.
  CombineSourceState(5, 100, 1, 300, 0, 5e6f, 12, &src, &u, &r);
  EXPECT_FLOAT_EQ(u, 3.0f);
  EXPECT_NEAR(r, 150.0f, 1e-3f);  // 200 || 600
  // A low-impedance reader, serial (w = 0.75): U' = 3.75; the mixed
  // current 0.75 * 5 / 200 = 0.01875 A through 100 + R' gives R' = 100.
  CombineSourceState(5, 100, 0, 100, 0, 100, 10, &src, &u, &r);
  EXPECT_FLOAT_EQ(u, 3.75f);
  EXPECT_NEAR(r, 100.0f, 1e-3f);
  // No current either way: 1e6.
  CombineSourceState(2, 100, 2, 100, 2, 100, 10, &src, &u, &r);
  EXPECT_EQ(r, 1e6f);
  // Never below 1e-5.
  CombineSourceState(5, 1e-5f, 5, 1e-5f, 0, 0.01f, 10, &src, &u, &r);
  EXPECT_GE(r, 1e-5f);
  // Zero resistances do not divide by zero.
  CombineSourceState(5, 0, 0, 0, 0, 5e6f, 10, &src, &u, &r);
  EXPECT_TRUE(std::isfinite(r));
}

TEST(Mixing, ResolvePinState) {
  SchSignalSource src = {nullptr, 0};
  SchPinState plain = {5, 100, 0, 300, 0, 5e6f, 10, nullptr};
  float u, r;
  ResolvePinState(plain, &u, &r);
  EXPECT_EQ(u, 5.0f);
  EXPECT_EQ(r, 100.0f);
  SchPinState mixed = plain;
  mixed.source = &src;  // kind 10: w = 0.75
  ResolvePinState(mixed, &u, &r);
  EXPECT_FLOAT_EQ(u, 3.75f);
  EXPECT_NEAR(r, 1.0f / (0.25f / 300 + 0.75f / 100), 1e-3f);
}

// ---- Data sources on a net ----

class DataLine : public ::testing::Test {
protected:
  void SetUp() override {
    a = c.Part(1);
    b = c.Part(1);
    reader = c.Part(1);
    c.Star({{a, 0}, {b, 0}, {reader, 0}});
    c.Run(0);
    net = a->pins[0].net;
    setA.Append(Packet(1, 0));
    setB.Append(Packet(2, 0));
  }
  static SchPacket* Packet(int id, int seq) {
    SchPacket* p = new SchPacket;
    p->id = static_cast<unsigned char>(id);
    p->sequence = static_cast<unsigned char>(seq);
    return p;
  }
  // Idle at u1, other level u2, both behind r.
  static SchPinState State(float u1, float u2, float r, int kind, SchSignalSource* s) {
    return SchPinState{u1, r, u2, r, u1, r, kind, s};
  }

  Circuit c;
  Part* a;
  Part* b;
  Part* reader;
  SchNet* net;
  SchPacketSet setA, setB;
  SchSignalSource srcA = {&setA, 0};
  SchSignalSource srcB = {&setB, 0};
};

TEST_F(DataLine, SourceTakesAFreeNetAndReadersSeeTheMix) {
  a->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcA));
  EXPECT_EQ(net->source, &srcA);
  EXPECT_EQ(net->sourceKind, kSchSourceSerial);
  EXPECT_EQ(a->pins[0].source, &srcA);
  SchPinState s;
  reader->GetPinState(0, &s);
  EXPECT_NEAR(s.U, 5.0f, 1e-3f);
  EXPECT_NEAR(s.U2, 0.0f, 1e-3f);
  EXPECT_EQ(s.source, &srcA);
  EXPECT_EQ(s.sourceKind, kSchSourceSerial);
  // The reader's 5-megohm leak is a high-impedance reader: weighted mix.
  float r;
  EXPECT_NEAR(Circuit::Read(reader, 0, &r), 3.75f, 1e-3f);
  EXPECT_NEAR(r, 100.0f, 1e-2f);
  // The source's own pin does not see itself as data.
  a->GetPinState(0, &s);
  EXPECT_EQ(s.source, nullptr);
}

TEST_F(DataLine, SameSerialKindMergesPacketsAndKeepsTheFirstSource) {
  a->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcA));
  b->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcB));
  EXPECT_EQ(net->source, &srcA);
  EXPECT_EQ(b->pins[0].source, nullptr);
  EXPECT_EQ(setA.count, 2);
  EXPECT_GE(setA.FindId(2), 0);
  EXPECT_GE(setB.FindId(1), 0);
}

TEST_F(DataLine, StrongerOtherKindTakesTheNet) {
  a->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcA));
  // b's second level drives 0.05 A; the rest of the second sums carries
  // (almost) none, so b's conductance wins.
  b->SetPinState(0, State(0, 5, 100, kSchSourceUsb, &srcB));
  EXPECT_EQ(net->source, &srcB);
  EXPECT_EQ(net->sourceKind, kSchSourceUsb);
  EXPECT_EQ(b->pins[0].source, &srcB);
}

TEST_F(DataLine, WeakContenderLeavesTheNetContested) {
  a->SetPinState(0, State(0, 5, 100, kSchSourceSerial, &srcA));  // 0.05 A on the second pair
  b->SetPinState(0, State(5, 0, 1e6f, kSchSourceUsb, &srcB));    // G2 1e-6 < rest / 4
  EXPECT_EQ(net->sourceKind, kSchSourceContested);
  EXPECT_EQ(net->source, nullptr);
  // Neither clearly stronger: nothing changes.
  a->SetPinState(0, State(0, 5, 100, kSchSourceSerial, &srcA));
  EXPECT_EQ(net->source, &srcA);
  b->SetPinState(0, State(5, 0.1f, 10.0f, kSchSourceUsb, &srcB));  // G2 0.1, rest 0.05
  EXPECT_EQ(net->source, &srcA);
}

TEST_F(DataLine, SourcesLeaveTheNet) {
  a->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcA));
  a->SetPinSource(0, 5, 100);  // a plain level releases it
  EXPECT_EQ(net->source, nullptr);
  EXPECT_EQ(net->sourceKind, 0);
  EXPECT_EQ(a->pins[0].source, nullptr);
  // Two levels alike: the line carries no data.
  a->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcA));
  b->SetPinState(0, State(3, 3.05f, 100, kSchSourceUsb, &srcB));
  EXPECT_EQ(net->source, nullptr);
  // A state without a source releases the net but keeps the pin's fields.
  a->SetPinState(0, State(5, 0, 100, kSchSourceSerial, &srcA));
  a->SetPinState(0, State(5, 0, 100, 0, nullptr));
  EXPECT_EQ(net->source, nullptr);
  EXPECT_EQ(a->pins[0].source, &srcA);
  SchPinState s;
  reader->GetPinState(0, &s);
  EXPECT_EQ(s.source, nullptr);
}

TEST_F(DataLine, NetSourceWithoutPacketsIsTakenOver) {
  SchSignalSource bare = {nullptr, 0.3f};
  a->SetPinState(0, State(5, 0, 100, 0, &bare));
  EXPECT_EQ(net->source, &bare);
  b->SetPinState(0, State(5, 0, 1e6f, kSchSourceSerial, &srcB));
  EXPECT_EQ(net->source, &srcB);
}

// ---- Burn-out ----

// A part that burns when its smoothed current passes a limit.
class Fuse : public circuit::Load {
public:
  Fuse() : circuit::Load(10.0f) {}
  void Step(float dt) override {
    if (burnt) {
      DriveBurntPins(this);
      return;
    }
    float u0, u1;
    GetPinInput(0, &u0, nullptr);
    GetPinInput(1, &u1, nullptr);
    current = SmoothBurnValue(current, std::fabs(u0 - u1) / R, dt, 0.1f);
    if (BurnIfOver(this, current, 0.2f, L"%ls: предохранитель сгорел")) return;
    circuit::Load::Step(dt);
  }
  float current = 0;
};

TEST(BurnOut, SmoothingIsExplicitEuler) {
  EXPECT_FLOAT_EQ(SmoothBurnValue(0, 10, 0.01f, 0.1f), 1.0f);
  EXPECT_FLOAT_EQ(SmoothBurnValue(1, 10, 0.01f, 0.1f), 1.9f);
  EXPECT_FLOAT_EQ(SmoothBurnValue(3, 10, 0.01f, 0), 10.0f);  // no time constant
}

TEST(BurnOut, LimitIsStrictAndBurnsOnce) {
  SimMessageLog::Global().Clear();
  Circuit c;
  Fuse* f = c.Add<Fuse>();
  EXPECT_FALSE(BurnIfOver(f, 0.2f, 0.2f, L"%ls"));  // equal passes
  EXPECT_EQ(f->burnt, 0);
  Part* s = c.Part(1);
  Part* g = c.Part(1);
  c.Wire(s, 0, f, 0);
  c.Wire(f, 1, g, 0);
  s->Drive(0, 3, 1e-5f);
  g->Drive(0, 0, 1e-5f);
  c.Build();
  c.Start();
  // 0.3 A through the fuse: the smoothed current climbs 0.3 * (1 - 0.9^n)
  // and passes 0.2 at the eleventh step of 10 ms.
  int steps = 0;
  while (!f->burnt && steps < 100) {
    c.Step(1, 0.01f);
    steps++;
  }
  EXPECT_EQ(steps, 11);
  EXPECT_GT(f->current, 0.2f);
  ASSERT_EQ(SimMessageLog::Global().GetCount(), 1);
  EXPECT_STREQ(SimMessageLog::Global().GetItem(0), L"R1: предохранитель сгорел");
  c.Step(5, 0.01f);
  EXPECT_EQ(SimMessageLog::Global().GetCount(), 1);
  // A burnt part drives its pins with 0 V behind 5 megohms.
  EXPECT_EQ(f->pins[0].I, 0.0f);
  EXPECT_FLOAT_EQ(f->pins[0].G, 2e-7f);
  c.Stop();
  SimMessageLog::Global().Clear();
}

}  // namespace
