// Steps block schemes of the microcontroller's pin blocks and peripherals
// 1,000 passes at a time and reports the time per block step at about
// N = 1,000 and N = 10,000 blocks. Each unit of five blocks is an analog
// pin block read by a one-channel ADC, and a reading pin block that
// controls a one-channel timer whose PWM output drives a pin block in
// alternate-output mode. A pass costs a constant per block, so the figure
// for 10,000 may exceed the one for 1,000 by at most 1.5 times: exit code 1
// when it does, or when a timer or converter produced nothing.
//
// The machine running it is usually shared, so the measurements take turns
// in rounds (each sees the same load) and the best round of each counts.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/bench_clock.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/avr_timer.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/mcu_classes.h"

namespace {

const int kPasses = 1000;
const int kRounds = 7;
const float kDt = 0.001f;
const int kUnitBlocks = 5;

using velkbench::Now;

struct Rig {
  BeScheme scheme;
  std::vector<CBEAvrTimer*> timers;
  std::vector<CBEAvrADC*> converters;
  int blocks = 0;
};

template <class T>
T* Make(Rig* rig, unsigned int classId) {
  CBEBlock* block = rig->scheme.CreateBlock(classId);
  if (block) ++rig->blocks;
  return dynamic_cast<T*>(block);
}

Rig* BuildRig(BeCatalogue* catalogue, int n) {
  Rig* rig = new Rig;
  rig->scheme.Init(catalogue);
  rig->scheme.frequency = 1.0e12f;  // enough cycles a tick for a pass every tick
  for (int u = 0; u < n / kUnitBlocks; ++u) {
    auto* analog = Make<CBEIOPort>(rig, kBePortPinBlockClassId);
    auto* adc = Make<CBEAvrADC>(rig, kBeAvrADCClassId);
    auto* control = Make<CBEIOPort>(rig, kBePortPinBlockClassId);
    auto* timer = Make<CBEAvrTimer>(rig, kBeAvrTimerClassId);
    auto* out = Make<CBEIOPort>(rig, kBePortPinBlockClassId);
    if (!analog || !adc || !control || !timer || !out) return rig;
    analog->SetMode(CBEIOPort::kModeAnalog);
    adc->channelMask = 1;
    adc->prescaler = 7;
    adc->BuildPins();
    adc->inputs[0]->source = analog->outputs[0];
    timer->channelCount = 1;
    timer->prescaler = 1;
    timer->compareModes[0] = CBEAvrTimer::kDirectPwm;
    timer->BuildPins(false);
    timer->inputs[0]->source = control->outputs[0];
    out->SetMode(CBEIOPort::kModeAltOutput);
    out->inputs[0]->source = timer->outputs[0];
    rig->timers.push_back(timer);
    rig->converters.push_back(adc);
  }
  rig->scheme.Start();
  // What the microcontroller read from the pins: half the reference on the
  // analog pins, a control value of 64 on the others.
  for (CBEIOPort* p = static_cast<CBEIOPort*>(rig->scheme.portBlocks); p; p = p->nextPort) {
    if (p->mode == CBEIOPort::kModeAnalog) {
      float volts = 2.5f;
      p->storedType = kBeSignalAnalog;
      memcpy(p->storedValue, &volts, 4);
    } else {
      p->storedType = kBeSignalChar;
      p->storedValue[0] = 64;
    }
  }
  return rig;
}

double TimeRig(Rig* rig) {
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k) rig->scheme.Step(kDt);
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(rig->blocks) * kPasses);
}

// Units whose timer and converter both produced a value.
int Working(const Rig* rig) {
  int n = 0;
  for (size_t i = 0; i < rig->timers.size(); ++i) {
    float duty;
    memcpy(&duty, rig->timers[i]->outputs[0]->value + 4, 4);
    if (duty > 0 && rig->converters[i]->outputs[0]->value[0] + rig->converters[i]->outputs[0]->value[1] > 0) ++n;
  }
  return n;
}

}  // namespace

int main() {
  BeBlockCreatorTable creators;
  RegisterBlockLibraryCreators(&creators);
  BeCatalogue catalogue;
  BeCatalogueGroup* hidden = catalogue.AddGroup(nullptr);
  AddDeviceEntries(hidden, kAvrDeviceRows, kAvrDeviceRowCount, creators);
  AvrAnalogReference::Program().aref = 5.0f;
  AvrAnalogReference::Program().avcc = 5.0f;
  AvrAnalogReference::Program().supply = 5.0f;

  const int sizes[2] = {1000, 10000};
  Rig* rigs[2];
  double best[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    rigs[i] = BuildRig(&catalogue, sizes[i]);
    if (rigs[i]->blocks != sizes[i]) {
      printf("cannot build %d blocks\n", sizes[i]);
      return 1;
    }
  }
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      double ns = TimeRig(rigs[i]);
      if (round == 0 || ns < best[i]) best[i] = ns;
    }
  }
  bool allWorking = true;
  for (int i = 0; i < 2; ++i) {
    int working = Working(rigs[i]);
    allWorking = allWorking && working == sizes[i] / kUnitBlocks;
    printf("N = %5d: %d passes, best of %d rounds: %.1f ns per block step (%d of %d units converted and "
           "modulated)\n",
           sizes[i], kPasses, kRounds, best[i], working, sizes[i] / kUnitBlocks);
    delete rigs[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!allWorking) printf("a timer or converter produced nothing\n");
  return ratio <= 1.5 && allWorking ? 0 : 1;
}
