// Steps the program of a unit with N interface devices, 1,000 passes at a
// time, and reports the time per block step at N = 1,000 and N = 10,000:
// half of the blocks are LAN adapters in pairs on one cable each, half COM
// ports in pairs wired to each other (each TD on the other's RD, the
// grounds joined). Every block sends an int counting the passes and
// receives its partner's. A pass costs a constant per block, so the figure
// for 10,000 may exceed the one for 1,000 by at most 1.5 times: exit code
// 1 when it does, or when a block received nothing.
//
// The machine running it is usually shared, so the measurements take turns
// in rounds (each sees the same load) and the best round of each counts.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "bench_wires.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/interfaces_classes.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/library_classes.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"

namespace {

const int kPasses = 1000;
const int kRounds = 11;

// Counts the passes on an int output that every sent field reads.
class Counter : public CBEBlock {
public:
  Counter() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalInt;
  }
  void Step(float) override { outputs[0]->SetInt(++count); }
  int count = 0;
};

using velkbench::Now;

// The unit: a circuit component with every block's pins, in a circuit of
// its own; its program holds the blocks.
struct Rig {
  SchScheme circuit;
  CSCHBlock* owner = nullptr;
  BeScheme program;
  Counter* counter = nullptr;
  std::vector<CBEInterfaceDevice*> devices;
  ~Rig() {
    program.Stop();
    program.DeleteBlocks(true);
    program.owner = nullptr;
    circuit.StopSimulation();
  }
};

CBEInterfaceDevice* MakeDevice(Rig* rig, unsigned int classId, int pin, int sendChannel, int receiveChannel) {
  CBEBlock* block = rig->program.CreateBlock(classId);
  auto* device = dynamic_cast<CBEInterfaceDevice*>(block);
  if (!device) return nullptr;
  if (auto* lan = dynamic_cast<CBELAN*>(device)) lan->pinIndex = pin;
  if (auto* com = dynamic_cast<CBECOMPort*>(device)) com->pinIndex = pin;
  device->SetSendFieldCount(1);
  device->SetSendField(0, nullptr, kBeSignalInt, static_cast<unsigned char>(sendChannel));
  device->SetReceiveFieldCount(1);
  device->SetReceiveField(0, nullptr, kBeSignalInt, static_cast<unsigned char>(receiveChannel));
  rig->devices.push_back(device);
  return device;
}

Rig* BuildRig(BeCatalogue* catalogue, int n) {
  Rig* rig = new Rig;
  rig->program.Init(catalogue);
  // Enough cycles a tick for a pass of every block on every tick.
  rig->program.frequency = 1.0e12f;
  const int lanPairs = n / 4, comPairs = n / 4;
  const int lanPins = 2 * lanPairs;
  rig->owner = new CSCHBlock;
  // Each COM pair's grounds are held at 0 V by one more pin of the unit.
  const int groundPins = lanPins + 6 * comPairs;
  rig->owner->SetPinCount(groundPins + comPairs);
  rig->owner->Attach(&rig->circuit);
  rig->program.owner = rig->owner;
  CSCHBlock* owner = rig->owner;
  for (int j = 0; j < lanPairs; ++j) {
    int a = 2 * j, b = 2 * j + 1;
    velkbench::Join(&rig->circuit, owner, a, owner, b);
    if (!MakeDevice(rig, kBeLANClassId, a, 1, 2) || !MakeDevice(rig, kBeLANClassId, b, 2, 1)) return rig;
  }
  for (int j = 0; j < comPairs; ++j) {
    int a = lanPins + 6 * j, b = a + 3;
    velkbench::Join(&rig->circuit, owner, a + 1, owner, b);  // TD of a on RD of b
    velkbench::Join(&rig->circuit, owner, b + 1, owner, a);  // and back
    velkbench::Join(&rig->circuit, owner, a + 2, owner, b + 2);
    velkbench::Join(&rig->circuit, owner, a + 2, owner, groundPins + j);
    if (!MakeDevice(rig, kBeCOMPortClassId, a, 1, 1) || !MakeDevice(rig, kBeCOMPortClassId, b, 1, 1)) return rig;
  }
  rig->counter = new Counter;
  rig->counter->AttachToScheme(&rig->program);
  for (CBEInterfaceDevice* device : rig->devices) device->SendField(0)->source = rig->counter->outputs[0];
  rig->circuit.BuildNets();
  for (int j = 0; j < comPairs; ++j) owner->SetPinSource(groundPins + j, 0.0f, 1e-3f);
  rig->circuit.StartSimulation();
  rig->program.Start();
  return rig;
}

// Nanoseconds per block step over kPasses passes.
double TimeRig(Rig* rig) {
  int n = static_cast<int>(rig->devices.size());
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k) rig->program.Step(1e-3f);
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(n) * kPasses);
}

// Blocks of the class whose received field holds a count (their partner's).
template <class T>
int Receivers(const Rig* rig) {
  int got = 0;
  for (CBEInterfaceDevice* device : rig->devices)
    if (dynamic_cast<T*>(device) && device->ReceiveField(0)->GetInt() > 0) ++got;
  return got;
}

}  // namespace

int main() {
  BeBlockCreatorTable creators;
  RegisterBlockLibraryCreators(&creators);
  BeCatalogue catalogue;
  BeCatalogueGroup* hidden = catalogue.AddGroup(nullptr);
  AddDeviceEntries(hidden, kBoardComputerDeviceRows, kBoardComputerDeviceRowCount, creators);

  const int sizes[2] = {1000, 10000};
  Rig* rigs[2];
  double buildMs[2];
  double best[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    double t0 = Now();
    rigs[i] = BuildRig(&catalogue, sizes[i]);
    buildMs[i] = 1e3 * (Now() - t0);
    if (static_cast<int>(rigs[i]->devices.size()) != sizes[i]) {
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
  bool allReceived = true;
  for (int i = 0; i < 2; ++i) {
    int lans = Receivers<CBELAN>(rigs[i]), coms = Receivers<CBECOMPort>(rigs[i]);
    allReceived = allReceived && lans + coms == sizes[i];
    printf("N = %5d: build and start %7.1f ms; %d passes, best of %d rounds: %.1f ns per block step "
           "(received their partner's count: %d LAN adapters, %d COM ports of %d each)\n",
           sizes[i], buildMs[i], kPasses, kRounds, best[i], lans, coms, sizes[i] / 2);
    delete rigs[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", ratio, ratio <= 1.5 ? "ok" : "OVER");
  if (!allReceived) printf("a block received nothing\n");
  return ratio <= 1.5 && allReceived ? 0 : 1;
}
