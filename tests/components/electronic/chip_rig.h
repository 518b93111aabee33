// What the chip tests share: database cells from wide text, a part that
// drives a data line, and a probe that reads a net.
#pragma once

#include <windows.h>

#include <string>

#include "component_kit.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"

namespace chiptest {

// Wide text as the 8-bit code page 1251 text of the database tables.
inline std::string Cp1251(const wchar_t* text) {
  char buffer[256] = {};
  int n = WideCharToMultiByte(1251, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return n > 0 ? std::string(buffer) : std::string();
}

// A packet set of one serial packet (id, sequence, format), owned.
class OwnedSet {
public:
  explicit OwnedSet(int id = 1, int sequence = 1, int format = 9600) {
    set = new SchPacketSet;
    SchPacket* p = new SchPacket;
    p->id = static_cast<unsigned char>(id);
    p->sequence = static_cast<unsigned char>(sequence);
    p->format = format;
    set->Append(p);
  }
  ~OwnedSet() { delete set; }
  OwnedSet(const OwnedSet&) = delete;
  OwnedSet& operator=(const OwnedSet&) = delete;
  SchPacketSet* set;
};

// A one-pin part that hands its net a data line every step: the first pair
// U1 behind R, the second U2 behind R, with the source kind and set given.
class DataLine : public CSCHBlock {
public:
  DataLine() {
    namePrefix = L"X";
    className = "TestDataLine";
    SetPinCount(1);
    pins[0].side = kSchSideRight;
  }
  void Start() override { Apply(); }
  void Step(float) override { Apply(); }
  void Apply() {
    if (!on) return;
    SchPinState s = {};
    s.U = U1;
    s.R = R;
    s.U2 = U2;
    s.R2 = R;
    s.sourceKind = kind;
    s.source = &source;
    SetPinState(0, s);
  }
  bool on = true;
  float U1 = 5, U2 = 0, R = 1e-3f;
  int kind = kSchSourceSerial;
  SchSignalSource source = {nullptr, 0};
};

}  // namespace chiptest
