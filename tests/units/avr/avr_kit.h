// The AVR tests' kit: a bench with the units' classes registered and a
// chip made from a database row of model keys.
#pragma once

#include <memory>

#include "components/devices/device_kit.h"
#include "units/avr/avr.h"
#include "units/unit_classes.h"

namespace avrtest {

class UnitBench : public devtest::DeviceBench {
public:
  UnitBench() { RegisterUnitComponentCreators(); }
};

// The model of a test chip; every key as a text cell.
struct Model {
  const char* n = "28";
  const char* corps = "0";
  const char* Umin = "2.7";
  const char* Umax = "5.5";
  const char* freq = "16";
  const char* I = "15";
  const char* ADC = "6";
  const char* UART = "1";
  const char* Timers = "3";
  const char* ROM = "8";
  const char* RAM = "1024";
  const char* PWM = "3";
  const char* PCINTx = "0";
  const char* program = "0";
  const char* model = "ATmega8A-PU";
};

inline std::unique_ptr<comptest::DbRow> Row(const Model& m) {
  return std::unique_ptr<comptest::DbRow>(new comptest::DbRow(
      L"avr", {{"model", m.model}, {"n", m.n}, {"corps", m.corps}, {"Umin", m.Umin}, {"Umax", m.Umax},
               {"freq", m.freq}, {"I", m.I}, {"ADC", m.ADC}, {"UART", m.UART}, {"Timers", m.Timers},
               {"ROM", m.ROM}, {"RAM", m.RAM}, {"PWM", m.PWM}, {"PCINTx", m.PCINTx}, {"program", m.program}}));
}

// A chip of the bench with the model applied.
inline CAVR* Make(UnitBench& bench, const Model& m) {
  CAVR* chip = bench.Create<CAVR>("AVR");
  if (!chip) return nullptr;
  std::unique_ptr<comptest::DbRow> row = Row(m);
  chip->ApplyDbRecord(row->Record());
  return chip;
}

inline Model Package(const char* n, const char* corps) {
  Model m;
  m.n = n;
  m.corps = corps;
  return m;
}

}  // namespace avrtest
