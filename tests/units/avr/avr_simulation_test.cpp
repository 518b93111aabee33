// The AVR microcontroller in a run: the supply window (burnt above the
// maximum or below -1 V, held in reset at or below the minimum), the chip's
// own load, pins read by mode at the thresholds, outputs loading the supply
// node and driving their nets, the analog references, and a program that
// toggles an output through a generator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/line_value.h"
#include "components/devices/pulse_record.h"
#include "components/electronic/usb/circuit_parts.h"
#include "foundation/memory_stream.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"
#include "units/avr/avr.h"
#include "units/avr/avr_kit.h"

namespace {

using avrtest::Model;
using avrtest::UnitBench;

// 28-pin chip: supply pin 7, ground pin 8, AVCC 20, AREF 21; PB0 and PB1
// (pins 14 and 15), PC0/ADC0 (pin 23).
const int kSupply = 6, kGround = 7, kAvcc = 19, kAref = 20;
const int kPb0 = 13, kPb1 = 14, kAdc0 = 22;

// Restores the analog references the chips publish.
class ReferenceScope {
public:
  ReferenceScope() : saved_(AvrAnalogReference::Program()) {}
  ~ReferenceScope() { AvrAnalogReference::Program() = saved_; }

private:
  AvrAnalogReference saved_;
};

// A 28-pin chip at 1 MHz on a bench without its application circuit: a
// source on its supply pin and an ideal ground on its ground pin.
class Rig {
public:
  explicit Rig(const char* current, float supplyVolts, float supplyOhms = kSchMinResistance) {
    Model m = avrtest::Package("28", "1");
    m.freq = "1";
    m.I = current;
    chip = avrtest::Make(bench, m);
    if (!chip) return;
    DeleteCircuit(chip);
    supply = bench.Source(supplyVolts, supplyOhms);
    ground = bench.Ground();
    bench.Wire(supply, 0, chip, kSupply);
    bench.Wire(ground, 0, chip, kGround);
  }
  // The pin block of a chip pin.
  CBEIOPort* Port(int pin) const {
    for (CBEIOPort* p = static_cast<CBEIOPort*>(chip->GetProgram()->portBlocks); p; p = p->nextPort)
      if (p->pinId == pin) return p;
    return nullptr;
  }
  // A part on the pin driving U behind R (an idle pin without a drive).
  circuit::Part* On(int pin, float U, float R, bool drive = true) {
    circuit::Part* p = bench.Part(1);
    if (drive) p->Drive(0, U, R);
    bench.Wire(p, 0, chip, pin);
    return p;
  }

  ReferenceScope references;
  comptest::LogCapture log;
  UnitBench bench;
  CAVR* chip = nullptr;
  circuit::Part* supply = nullptr;
  circuit::Part* ground = nullptr;
};

TEST(AvrSimulation, TheSupplyWindowBurnsTheChipOrHoldsItInReset) {
  struct Case {
    float volts;
    bool burnt;
    bool running;
  };
  const Case cases[] = {
      {5.5f, false, true},   // exactly the maximum
      {5.6f, true, false},   // above it
      {2.7f, false, false},  // exactly the minimum: reset
      {2.8f, false, true},
      {-1.0f, false, false},  // exactly the reverse limit
      {-1.5f, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    Rig rig("0", c.volts);  // no consumption: the supply node is the source
    ASSERT_NE(nullptr, rig.chip);
    rig.bench.Build();
    rig.bench.Start();
    EXPECT_FALSE(rig.chip->IsRunning());
    rig.bench.Step(1);
    EXPECT_EQ(c.burnt ? 1 : 0, rig.chip->burnt);
    EXPECT_EQ(c.running, rig.chip->IsRunning());
    std::vector<std::wstring> messages = rig.log.Messages();
    if (c.burnt) {
      ASSERT_EQ(1u, messages.size());
      EXPECT_EQ(L"Процессор \"DD1\" сгорел", messages[0]);
      // From the next step on every pin is open at 0 V.
      rig.bench.Step(1);
      float R = 0;
      EXPECT_EQ(0.0f, comptest::Bench::Read(rig.supply, 0, &R));
      EXPECT_NEAR(kUnitAvrFloatingResistance, R, 100);
      EXPECT_EQ(1u, rig.log.Messages().size());
    } else {
      EXPECT_TRUE(messages.empty());
      EXPECT_FLOAT_EQ(c.volts, AvrAnalogReference::Program().supply);
    }
    rig.bench.Stop();
  }
}

TEST(AvrSimulation, TheChipDrawsItsMaximumCurrentAtFiveVolts) {
  // 15 mA: 5 / 0.015 = 333.33 ohm between the nodes. Supply 5 V behind
  // 100 ohm: Usup = 0.05 / (0.01 + 0.003) = 3.84615 V.
  Rig rig("15", 5.0f, 100.0f);
  ASSERT_NE(nullptr, rig.chip);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(1);
  float R = 0;
  float U = comptest::Bench::Read(rig.supply, 0, &R);
  EXPECT_NEAR(0.0f, U, 1e-5);
  EXPECT_NEAR(333.3333f, R, 1e-2);
  EXPECT_NEAR(3.84615f, AvrAnalogReference::Program().supply, 1e-4);
  EXPECT_TRUE(rig.chip->IsRunning());
  rig.bench.Stop();

  // No maximum current: no consumption, the supply pin stays open.
  Rig open("0", 5.0f, 100.0f);
  open.bench.Build();
  open.bench.Start();
  open.bench.Step(1);
  comptest::Bench::Read(open.supply, 0, &R);
  EXPECT_EQ(kUnitAvrFloatingResistance, R);
  EXPECT_FLOAT_EQ(5.0f, AvrAnalogReference::Program().supply);
  open.bench.Stop();
}

TEST(AvrSimulation, DigitalInputsReadAboveTheMiddleAndBurnOutsideTheWindow) {
  // Supply 5 V, ground 0 V: middle 2.5 V, window -1 V to 5.5 V.
  struct Case {
    float volts;
    int bit;  // -1: burnt
  };
  const Case cases[] = {{2.5f, 0}, {2.6f, 1}, {-1.0f, 0}, {-1.1f, -1}, {5.5f, 1}, {5.6f, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    Rig rig("0", 5.0f);
    ASSERT_NE(nullptr, rig.chip);
    CBEIOPort* port = rig.Port(kPb0);
    ASSERT_NE(nullptr, port);
    ASSERT_EQ(CBEIOPort::kModeInput, port->mode);
    rig.On(kPb0, c.volts, kSchMinResistance);
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(1);
    if (c.bit < 0) {
      EXPECT_EQ(1, rig.chip->burnt);
      ASSERT_EQ(1u, rig.log.Messages().size());
      EXPECT_EQ(L"Микропроцессор \"DD1\" вышел из строя.", rig.log.Messages()[0]);
      EXPECT_FALSE(rig.chip->IsRunning());
    } else {
      EXPECT_EQ(0, rig.chip->burnt);
      EXPECT_EQ(kBeSignalBit, port->storedType);
      EXPECT_EQ(c.bit, port->storedValue[0]);
      // The program's pass published it.
      EXPECT_EQ(c.bit, port->outputs[0]->value[0]);
    }
    rig.bench.Stop();
  }
}

TEST(AvrSimulation, APullUpPinAloneOnItsNetReadsOneAndPullsItsNetUp) {
  Rig rig("0", 5.0f);
  ASSERT_NE(nullptr, rig.chip);
  CBEIOPort* port = rig.Port(kPb0);
  ASSERT_TRUE(port->SetMode(CBEIOPort::kModePullUp));
  circuit::Part* idle = rig.On(kPb0, 0, 0, false);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(1);
  EXPECT_EQ(kBeSignalBit, port->storedType);
  EXPECT_EQ(1, port->storedValue[0]);
  // The net sees the supply node (5 V) behind the 4000-ohm pull-up.
  float R = 0;
  EXPECT_NEAR(5.0f, comptest::Bench::Read(idle, 0, &R), 1e-4);
  EXPECT_NEAR(4000.0f, R, 1e-2);
  rig.bench.Stop();
}

TEST(AvrSimulation, AnOutputAtOneLoadsTheSupplyNodeAndDrivesItsNet) {
  // Supply 5 V behind 10 ohm; the output's net 0 V behind 100 ohm. Bit 1:
  // GB = 0.1 + 1/350, Usup = 0.5 / GB = 4.86111 V; the net is driven at
  // 0.5 / 0.1 = 5 V behind 10 + 250 ohm. Bit 0: 0 V behind 250 ohm.
  for (int bit : {1, 0}) {
    SCOPED_TRACE(bit);
    Rig rig("0", 5.0f, 10.0f);
    ASSERT_NE(nullptr, rig.chip);
    CBEIOPort* port = rig.Port(kPb1);
    ASSERT_TRUE(port->SetMode(CBEIOPort::kModeOutput));
    circuit::Part* load = rig.On(kPb1, 0, 100.0f);
    rig.bench.Build();
    rig.bench.Start();
    // Unlinked, the pin block keeps the value it holds.
    port->storedType = kBeSignalBit;
    port->storedValue[0] = static_cast<unsigned char>(bit);
    rig.bench.Step(1);
    float R = 0;
    const float U = comptest::Bench::Read(load, 0, &R);
    if (bit) {
      EXPECT_NEAR(4.86111f, AvrAnalogReference::Program().supply, 1e-4);
      EXPECT_NEAR(5.0f, U, 1e-4);
      EXPECT_NEAR(260.0f, R, 1e-2);
    } else {
      EXPECT_NEAR(5.0f, AvrAnalogReference::Program().supply, 1e-4);
      EXPECT_NEAR(0.0f, U, 1e-4);
      EXPECT_NEAR(250.0f, R, 1e-2);
    }
    rig.bench.Stop();
  }
}

TEST(AvrSimulation, APwmOutputSharesItsLoadAndDrivesBothLevelsWithItsValue) {
  // Duty 0.25 on a net of 0 V behind 100 ohm (R' = 350): GB = 0.1 +
  // 0.25/350, Usup = 4.96454 V; first level 0.5 / (GB - 1/350) = 5.10949 V
  // behind 10.21898 ohm, second 0 V.
  Rig rig("0", 5.0f, 10.0f);
  ASSERT_NE(nullptr, rig.chip);
  CBEIOPort* port = rig.Port(kPb1);
  ASSERT_TRUE(port->SetMode(CBEIOPort::kModeAltOutput));
  circuit::Part* load = rig.On(kPb1, 0, 100.0f);
  rig.bench.Build();
  rig.bench.Start();
  const float period = 0.001f, duty = 0.25f;
  port->storedType = kBeSignalPwm;
  memcpy(port->storedValue, &period, 4);
  memcpy(port->storedValue + 4, &duty, 4);
  rig.bench.Step(1);
  EXPECT_NEAR(4.96454f, AvrAnalogReference::Program().supply, 1e-4);
  SchPinState state = comptest::Bench::State(load, 0);
  EXPECT_NEAR(5.10949f, state.U, 1e-4);
  EXPECT_NEAR(10.21898f, state.R, 1e-3);
  EXPECT_NEAR(0.0f, state.U2, 1e-4);
  EXPECT_EQ(kBeSignalPwm, state.sourceKind);
  ASSERT_NE(nullptr, state.source);
  EXPECT_EQ(0.25f, state.source->weight);
  EXPECT_EQ(nullptr, state.source->packets);
  rig.bench.Stop();
}

TEST(AvrSimulation, AnalogInputsAndReferencesAreReadAgainstTheGroundNode) {
  Rig rig("0", 5.0f);
  ASSERT_NE(nullptr, rig.chip);
  CBEIOPort* port = rig.Port(kAdc0);
  ASSERT_TRUE(port->SetMode(CBEIOPort::kModeAnalog));
  rig.On(kAdc0, 1.25f, kSchMinResistance);
  rig.On(kAref, 2.56f, kSchMinResistance);
  rig.On(kAvcc, 4.5f, kSchMinResistance);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(1);
  EXPECT_EQ(kBeSignalAnalog, port->storedType);
  float volts = 0;
  memcpy(&volts, port->storedValue, 4);
  EXPECT_NEAR(1.25f, volts, 1e-5);
  EXPECT_NEAR(2.56f, AvrAnalogReference::Program().aref, 1e-5);
  EXPECT_NEAR(4.5f, AvrAnalogReference::Program().avcc, 1e-5);
  rig.bench.Stop();
}

TEST(AvrSimulation, DataOnAnInputNetIsReadWithItsKindAndSource) {
  struct Case {
    float U, U2;
    int kind;
    int type;  // what the pin block stores
  };
  const Case cases[] = {
      {5, 0, kBeSignalPulseA, kBeSignalPulseA},  // first level high: the source's kind
      {0, 5, kBeSignalPulseA, kBeSignalPulseB},  // only the second: the channels swap
      {0, 5, kBeSignalPulseB, kBeSignalPulseA},
      {5, 5, kBeSignalPulseA, kBeSignalBit},     // both high: 1
      {0, 5, 10, kBeSignalBit},                  // a serial line seen low: 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.U << " " << c.U2 << " kind " << c.kind);
    Rig rig("0", 5.0f);
    ASSERT_NE(nullptr, rig.chip);
    devtest::StateDriver* driver = rig.bench.Add<devtest::StateDriver>();
    driver->SetLevels(c.U, kSchMinResistance, c.U2, kSchMinResistance, c.kind);
    SetPulseRecord(&driver->source, 3, 2.5f);
    rig.bench.Wire(driver, 0, rig.chip, kPb0);
    rig.bench.Build();
    rig.bench.Start();
    rig.bench.Step(1);
    CBEIOPort* port = rig.Port(kPb0);
    EXPECT_EQ(c.type, port->storedType);
    if (c.type == kBeSignalBit) {
      EXPECT_EQ(c.U > 2.5f ? 1 : 0, port->storedValue[0]);
    } else {
      // Edges in bytes 0-3, ticks in 4-7.
      int edges = 0;
      float ticks = 0;
      memcpy(&edges, port->storedValue, 4);
      memcpy(&ticks, port->storedValue + 4, 4);
      EXPECT_EQ(3, edges);
      EXPECT_EQ(2.5f, ticks);
    }
    rig.bench.Stop();
  }
}

TEST(AvrSimulation, ASerialLineIsPublishedAsALineValue) {
  Rig rig("0", 5.0f);
  ASSERT_NE(nullptr, rig.chip);
  SchPacketSet packets;
  devtest::StateDriver* driver = rig.bench.Add<devtest::StateDriver>();
  driver->SetLevels(5, 10, 0, 10, kMcuLineRs232);
  driver->source.packets = &packets;
  rig.bench.Wire(driver, 0, rig.chip, kPb0);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(1);
  CBEIOPort* port = rig.Port(kPb0);
  EXPECT_EQ(kMcuLineRs232, port->storedType);
  EXPECT_EQ(&driver->source, LineSourceOf(port->storedValue));
  EXPECT_EQ(&packets, LinePacketsOf(port->outputs[0]->value));
  rig.bench.Stop();
  // The run's end released the handle: the value names nothing now.
  EXPECT_EQ(nullptr, LineSourceOf(port->storedValue));
}

TEST(AvrSimulation, TwoChipsPublishTheReferencesOfTheChipSteppedLast) {
  Rig rig("0", 5.0f);
  ASSERT_NE(nullptr, rig.chip);
  // A second chip on 4 V, made later: the scheme steps it first.
  Model m = avrtest::Package("28", "1");
  m.freq = "1";
  m.I = "0";
  CAVR* second = avrtest::Make(rig.bench, m);
  ASSERT_NE(nullptr, second);
  DeleteCircuit(second);
  rig.bench.Wire(rig.bench.Source(4.0f), 0, second, kSupply);
  rig.bench.Wire(rig.bench.Ground(), 0, second, kGround);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(1);
  ASSERT_EQ(rig.bench.scheme->LastBlock(), rig.chip);
  EXPECT_FLOAT_EQ(5.0f, AvrAnalogReference::Program().supply);
  rig.bench.Stop();
}

// A program whose generator toggles an output pin: a meander of 2 ms into
// its pin block.
CBEMeander* ToggleProgram(CAVR* chip, CBEIOPort* port) {
  CBEMeander* meander = dynamic_cast<CBEMeander*>(chip->GetProgram()->CreateBlock(kBeMeanderClassId));
  if (!meander || !port->SetMode(CBEIOPort::kModeOutput)) return nullptr;
  meander->period = 2.0f;
  port->inputs[0]->source = meander->outputs[0];
  return meander;
}

TEST(AvrSimulation, AProgramTogglesAnOutputThroughTheCircuit) {
  Rig rig("15", 5.0f);
  ASSERT_NE(nullptr, rig.chip);
  CBEIOPort* port = rig.Port(kPb1);
  CBEMeander* meander = ToggleProgram(rig.chip, port);
  ASSERT_NE(nullptr, meander);
  circuit::Part* load = rig.On(kPb1, 0, 1e6f);
  rig.bench.Build();
  rig.bench.Start();
  int highs = 0, lows = 0;
  for (int step = 0; step < 8; ++step) {
    rig.bench.Step(1);
    const bool high = meander->outputs[0]->value[0] != 0;
    const float U = comptest::Bench::Read(load, 0);
    SCOPED_TRACE(step);
    if (high) {
      highs++;
      EXPECT_NEAR(5.0f, U, 1e-3);
    } else {
      lows++;
      EXPECT_NEAR(0.0f, U, 1e-3);
    }
  }
  EXPECT_GT(highs, 0);
  EXPECT_GT(lows, 0);
  EXPECT_TRUE(rig.chip->IsRunning());
  rig.bench.Stop();
  EXPECT_TRUE(rig.log.Messages().empty());
}

TEST(AvrSimulation, UnderVoltageReleasesTheOutputsAndRestartsTheProgram) {
  Rig rig("0", 5.0f);
  ASSERT_NE(nullptr, rig.chip);
  CBEIOPort* port = rig.Port(kPb1);
  CBEMeander* meander = ToggleProgram(rig.chip, port);
  ASSERT_NE(nullptr, meander);
  meander->initialPhase = 1.5f;
  circuit::Part* load = rig.On(kPb1, 0, 1e6f);
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(3);
  ASSERT_TRUE(rig.chip->IsRunning());
  EXPECT_NE(1.5f, meander->phase);

  rig.supply->Drive(0, 2.0f, kSchMinResistance);
  rig.bench.Step(1);  // the supply's new level reaches the net
  rig.bench.Step(1);
  EXPECT_FALSE(rig.chip->IsRunning());
  // Restarted: the generator is back at its initial phase, and the output
  // is released (the ground node's voltage behind 5 megohms).
  EXPECT_EQ(1.5f, meander->phase);
  float R = 0;
  EXPECT_NEAR(0.0f, comptest::Bench::Read(load, 0, &R), 1e-5);
  EXPECT_EQ(kUnitAvrFloatingResistance, R);

  rig.supply->Drive(0, 5.0f, kSchMinResistance);
  rig.bench.Step(2);
  EXPECT_TRUE(rig.chip->IsRunning());
  rig.bench.Stop();
  EXPECT_TRUE(rig.log.Messages().empty());
}

TEST(AvrSimulation, AProgramTooLargeIsLoggedAndTheChipStillLoadsItsSupply) {
  Rig rig("15", 5.0f, 100.0f);
  ASSERT_NE(nullptr, rig.chip);
  rig.chip->GetProgram()->romLimit = 100;  // less than the base ROM
  rig.bench.Build();
  rig.bench.Start();
  rig.bench.Step(1);
  std::vector<std::wstring> messages = rig.log.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(L"Программа в микропроцессор \"DD1\" не может быть прошита", messages.back());
  EXPECT_TRUE(rig.chip->GetProgram()->halted);
  EXPECT_NEAR(3.84615f, AvrAnalogReference::Program().supply, 1e-4);
  rig.bench.Stop();
}

TEST(AvrSimulation, AChipWithItsProgramRoundTripsThroughTheScheme) {
  UnitBench bench;
  Model m = avrtest::Package("28", "1");
  m.freq = "1";
  CAVR* chip = avrtest::Make(bench, m);
  ASSERT_NE(nullptr, chip);
  CBEIOPort* source = nullptr;
  for (CBEIOPort* p = static_cast<CBEIOPort*>(chip->GetProgram()->portBlocks); p; p = p->nextPort)
    if (p->pinId == kPb1) source = p;
  ASSERT_NE(nullptr, source);
  ASSERT_NE(nullptr, ToggleProgram(chip, source));
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_NE(nullptr, copy);
  CAVR* read = dynamic_cast<CAVR*>(copy->FindBlockByName(L"DD1"));
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(chip->GetProgram()->GetBlockCount(), read->GetProgram()->GetBlockCount());
  EXPECT_EQ(chip->childCount, read->childCount);
  EXPECT_EQ(bench.scheme->BlockCount(), copy->BlockCount());
  // The pin block still reads the generator.
  CBEIOPort* port = nullptr;
  for (CBEIOPort* p = static_cast<CBEIOPort*>(read->GetProgram()->portBlocks); p; p = p->nextPort)
    if (p->pinId == kPb1) port = p;
  ASSERT_NE(nullptr, port);
  ASSERT_EQ(CBEIOPort::kModeOutput, port->mode);
  ASSERT_NE(nullptr, port->inputs[0]->source);
  EXPECT_EQ(kBeMeanderClassId, port->inputs[0]->source->owner->GetClassId());
  EXPECT_EQ(comptest::SaveBytes(chip), devtest::ResavedBytes(read));
}

}  // namespace
