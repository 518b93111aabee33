// What the range-finder tests share: a finder with a probe on each pin (or
// on the pins chosen), its supply, a world pose, request packet sets and
// data lines that carry them, and the bytes of the answers.
//
//   rangetest::Finder<CURM37> f("URM37");     // named "D1", every pin probed
//   f.Supply(5);                              // + at 5 V, - at 0 V (1e-5 ohm)
//   f.Place(1.5f);                            // a world pose, 1.5 m to the target
//   f.Start();
//   f.bench.Step(3, 1e-3f);
//
// Every helper puts back what it changes, so tests pass in any order.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/vecmath.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "tests/components/devices/device_kit.h"
#include "tests/components/electronic/chip_rig.h"

namespace rangetest {

const float kOpen = kSchOpenResistance;
const float kStrong = 1e-5f;

// A finder of the class with a probe part wired to each pin listed (every
// pin when none is listed); the probe's index is the finder's pin.
template <class T>
struct Finder {
  explicit Finder(const char* className, std::vector<int> wired = {}) {
    finder = bench.Create<T>(className);
    if (!finder) return;
    finder->SetName(L"D1");
    if (wired.empty())
      for (int i = 0; i < finder->pinCount; i++) wired.push_back(i);
    probes.assign(finder->pinCount, nullptr);
    for (int pin : wired) {
      probes[pin] = bench.Part(1);
      bench.Wire(finder, pin, probes[pin], 0);
    }
  }
  // The supply pins driven at V and 0 V behind 1e-5 ohm.
  void Supply(float V, int plus, int minus) {
    probes[plus]->Drive(0, V, kStrong);
    probes[minus]->Drive(0, 0, kStrong);
  }
  // A world pose with the target at distance metres along the axis.
  void Place(float distance, float* axisDistance) {
    MakeIdentityMatrix(&pose);
    finder->pose = &pose;
    *axisDistance = distance;
  }
  void Start() {
    bench.Build();
    bench.Start();
  }
  // What the probe sees of the finder's pin: the full state, or U and R.
  SchPinState State(int pin) { return devtest::StateAt(probes[pin], 0); }
  float Read(int pin, float* R = nullptr) { return comptest::Bench::Read(probes[pin], 0, R); }
  // Whether the pin is left to its net: 0 V behind 5 megohm.
  bool Released(int pin) {
    float R = 0;
    float U = Read(pin, &R);
    return std::fabs(U) < 1e-3f && std::fabs(R - kOpen) < 1e-4f * kOpen;
  }

  devtest::DeviceBench bench;
  T* finder = nullptr;
  std::vector<circuit::Part*> probes;
  Mat4f pose = {};
};

// A packet set of requests, owned: each packet with its id, sequence,
// format and payload.
class RequestSet {
public:
  RequestSet() : set(new SchPacketSet) {}
  ~RequestSet() { delete set; }
  RequestSet(const RequestSet&) = delete;
  RequestSet& operator=(const RequestSet&) = delete;
  // Puts the packet (replacing the one of the same id).
  void Put(int id, int sequence, int format, std::initializer_list<uint8_t> payload) {
    SchPacket* p = new SchPacket;
    p->useCount = 1;
    p->id = static_cast<unsigned char>(id);
    p->sequence = static_cast<unsigned char>(sequence);
    p->format = format;
    for (uint8_t b : payload) p->payload.Write(&b, 1);
    set->Put(p);
    p->Release();
  }
  SchPacketSet* set;
};

// A one-pin data line: the first level U1 behind R1, the second U2 behind
// R2, kind 10 with the set as source (no source while the set is null).
class Line : public CSCHBlock {
public:
  Line() {
    className = "TestLine";
    SetPinCount(1);
    pins[0].side = kSchSideRight;
  }
  void Set(float U1_, float R1_, float U2_, float R2_, SchPacketSet* set) {
    U1 = U1_, R1 = R1_, U2 = U2_, R2 = R2_;
    source.packets = set;
  }
  void Start() override { Apply(); }
  void Step(float) override { Apply(); }
  void Apply() {
    SchPinState s = {};
    s.U = U1;
    s.R = R1;
    s.U2 = U2;
    s.R2 = R2;
    s.ownR = kSchOpenResistance;
    s.sourceKind = kSchSourceSerial;
    s.source = source.packets ? &source : nullptr;
    SetPinState(0, s);
  }
  float U1 = 0, R1 = kSchOpenResistance, U2 = 0, R2 = kSchOpenResistance;
  SchSignalSource source = {nullptr, 0};
};

// A USB host part: hands its net the request set as source kind 11 every
// step, as the controlling computer's USB port does.
class UsbHost : public CSCHBlock {
public:
  UsbHost() {
    className = "TestUsbHost";
    SetPinCount(1);
    pins[0].kind = kSchPinUsb;
    pins[0].side = kSchSideRight;
  }
  void Start() override { Apply(); }
  void Step(float) override { Apply(); }
  void Apply() {
    SchNet* net = pins[0].net;
    if (!net || !source.packets) return;
    net->sourceKind = kSchSourceUsbHost;
    net->source = &source;
  }
  SchSignalSource source = {nullptr, 0};
};

// The packets of a set as id, sequence, format and payload bytes.
struct PacketView {
  int id, sequence, format;
  std::vector<uint8_t> payload;
};
inline bool operator==(const PacketView& a, const PacketView& b) {
  return a.id == b.id && a.sequence == b.sequence && a.format == b.format && a.payload == b.payload;
}
inline std::ostream& operator<<(std::ostream& out, const PacketView& p) {
  out << "{id " << p.id << ", sequence " << p.sequence << ", format 0x" << std::hex << p.format << std::dec << ", [";
  for (uint8_t b : p.payload) out << " " << static_cast<int>(b);
  return out << " ]}";
}
inline std::vector<PacketView> Packets(const SchPacketSet* set) {
  std::vector<PacketView> v;
  if (!set) return v;
  for (int i = 0; i < set->count; i++) {
    const SchPacket* p = set->packets[i];
    v.push_back({p->id, p->sequence, p->format,
                 std::vector<uint8_t>(p->payload.data, p->payload.data + p->payload.size)});
  }
  return v;
}

}  // namespace rangetest
