// Runs circuits of 1 and of 10 AVR microcontrollers for 10,000 steps of
// 1 ms and reports the time per chip-step. Each chip (28 pins, 16 MHz)
// has its own 5 V battery, ten output pins behind 10 kOhm loads to ground
// and a 50-block program: its device blocks (20 pin blocks, a UART, three
// timers, the ADC, TWI and SPI) and 23 square-wave generators, ten of them
// driving the output pins. A chip-step costs a constant, so the figure for
// 10 chips may exceed the one for 1 by at most 1.5 times: exit code 1 when
// it does, or when a chip burnt out or stopped running (the circuit would
// not be the one measured). The machine is usually shared, so the sizes
// take turns in rounds and the best round of each counts.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_wires.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/mcu/io_port.h"
#include "components/electronic/battery.h"
#include "components/electronic/resister.h"
#include "scheme/model/scheme.h"
#include "scheme/parts/ground.h"
#include "units/avr/avr.h"
#include "units/avr/avr_program_blocks.h"

namespace {

using velkbench::Join;
using velkbench::Now;

const int kSteps = 10000;
const int kRounds = 5;
const float kDt = 0.001f;
const int kProgramBlocks = 50;
const int kOutputs = 10;
// 28 pins: supply pin 7, grounds 8 and 22 (0-based).
const int kSupplyPin = 6, kGroundPin = 7, kSecondGround = 21;

template <class T>
T* Place(SchScheme* s, T* block) {
  block->Attach(s);
  return block;
}

// A chip with its battery, loads and program; false when a block could
// not be made.
bool AddChip(SchScheme* s, std::vector<CAVR*>* chips) {
  CAVR* chip = Place(s, new CAVR);
  chips->push_back(chip);
  if (!chip->SetPinCount(28)) return false;
  chip->corps = kUnitAvrDip;
  chip->freq = 16;
  chip->Imax = 0.015f;
  chip->Umin = 2.7f;
  chip->Umax = 5.5f;
  chip->BuildPins();
  AddAvrProgramBlocks(chip);
  BeScheme* program = chip->GetProgram();

  CSCHBattery* battery = Place(s, new CSCHBattery);
  battery->nominalVoltage = 5;
  battery->dischargeType = 6;  // a steady voltage
  battery->capacity = 1e6f;
  Join(s, battery, kElecBatteryPlus, chip, kSupplyPin);
  Join(s, battery, kElecBatteryMinus, chip, kGroundPin);
  Join(s, Place(s, new CSCHGnd), 0, chip, kSecondGround);

  int outputs = 0;
  std::vector<CBEIOPort*> ports;
  for (CBEIOPort* p = static_cast<CBEIOPort*>(program->portBlocks); p; p = p->nextPort) ports.push_back(p);
  while (program->GetBlockCount() < kProgramBlocks) {
    CBEMeander* meander = dynamic_cast<CBEMeander*>(program->CreateBlock(kBeMeanderClassId));
    if (!meander) return false;
    meander->period = 4.0f + outputs;
    if (outputs >= kOutputs || outputs >= static_cast<int>(ports.size())) continue;
    CBEIOPort* port = ports[outputs++];
    if (!port->SetMode(CBEIOPort::kModeOutput)) return false;
    port->inputs[0]->source = meander->outputs[0];
    CSCHResister* load = Place(s, new CSCHResister);
    load->powerRating = 1e30f;
    Join(s, chip, port->pinId, load, 0);
    Join(s, load, 1, Place(s, new CSCHGnd), 0);
  }
  return outputs == kOutputs;
}

struct Run {
  SchScheme scheme;
  std::vector<CAVR*> chips;
  bool built = true;
};

Run* Build(int chips) {
  Run* run = new Run;
  for (int i = 0; i < chips; ++i) run->built = AddChip(&run->scheme, &run->chips) && run->built;
  return run;
}

// Nanoseconds per chip-step of a whole run; false in *healthy when a chip
// burnt out or is not running at the end.
double TimeRun(int chips, bool* healthy) {
  Run* run = Build(chips);
  *healthy = run->built;
  run->scheme.BuildNets();
  run->scheme.StartSimulation();
  const double t0 = Now();
  for (int k = 0; k < kSteps; ++k) run->scheme.StepSimulation(kDt);
  const double t1 = Now();
  for (CAVR* chip : run->chips) *healthy = *healthy && !chip->burnt && chip->IsRunning();
  run->scheme.StopSimulation();
  delete run;
  return 1e9 * (t1 - t0) / (static_cast<double>(chips) * kSteps);
}

}  // namespace

int main() {
  RegisterBlockLibraryCreators();
  const int sizes[2] = {1, 10};
  double best[2] = {0, 0};
  bool healthy = true;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      bool ok = false;
      const double ns = TimeRun(sizes[i], &ok);
      healthy = healthy && ok;
      if (round == 0 || ns < best[i]) best[i] = ns;
    }
  }
  for (int i = 0; i < 2; ++i)
    printf("%2d chips, %d-block programs, %d steps, best of %d rounds: %.0f ns per chip-step\n", sizes[i],
           kProgramBlocks, kSteps, kRounds, best[i]);
  const double ratio = best[1] / best[0];
  printf("ratio 10 chips / 1 chip: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!healthy) printf("a chip burnt out, stopped running or could not be built\n");
  return ratio <= 1.5 && healthy ? 0 : 1;
}
