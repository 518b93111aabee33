// Steps block schemes of N blocks of the "Интеллект" group: the camera
// detectors (road and strip, in turn; their step is empty) and chains of
// fuzzy-logic blocks of one input and one output each, run through the
// stand-in "fuzzydll.dll" that the library's tests build beside the
// programs (bin\fuzzy_stub\). Reports the time per block step at N = 1,000
// and N = 10,000 for both kinds, best of several rounds; the figure for
// 10,000 may exceed the one for 1,000 by at most 1.5 times: exit code 1
// when it does (or when the stand-in is missing).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/navigation/fuzzy.h"
#include "blocks/library/navigation/fuzzy_module.h"

namespace {

const int kPasses = 200;
const int kRounds = 5;

using velkbench::Now;

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1);
}

// A scheme of n blocks: detectors, or fuzzy blocks (1 in, 1 out) each fed
// by the one made before it. False when a block could not be made.
bool Build(BeScheme* scheme, bool fuzzy, int n, void (*setNextEdit)(int, int)) {
  CBEBlock* previous = nullptr;
  for (int i = 0; i < n; ++i) {
    unsigned int id = fuzzy ? kBeFuzzyClassId : (i % 2 ? kBeStripDetectorClassId : kBeRoadDetectorClassId);
    CBEBlock* block = scheme->CreateBlock(id);
    if (!block) return false;
    if (fuzzy) {
      setNextEdit(1, 1);
      if (!block->ShowProperties() || block->inputCount != 1) return false;
      if (previous) block->inputs[0]->source = previous->outputs[0];
    }
    previous = block;
  }
  scheme->Start();
  return true;
}

// A pass steps every block once, whatever its cycles (a road detector alone
// costs 10,000,000 cycles, more than a budgeted tick would pay for).
double TimeScheme(BeScheme* scheme, int n) {
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k)
    for (CBEBlock* block = scheme->blocks; block; block = block->next) block->Step(1e-3f);
  return 1e9 * (Now() - t0) / (static_cast<double>(n) * kPasses);
}

}  // namespace

int main() {
  BeBlockCreatorTable creators;
  RegisterBlockLibraryCreators(&creators);
  BeCatalogue catalogue;
  BeCatalogueGroup* group = catalogue.AddGroup(nullptr);
  for (unsigned int id : {kBeRoadDetectorClassId, kBeStripDetectorClassId, kBeFuzzyClassId})
    group->AddEntry(id, creators.Find(id), L"", nullptr);

  BeFuzzyModule module((ProgramFolder() + L"fuzzy_stub\\").c_str());
  BeFuzzyModule* old = BeFuzzyModule::SetProgram(&module);
  // The stand-in stays loaded while the bench runs.
  HMODULE stub = LoadLibraryW((ProgramFolder() + L"fuzzy_stub\\fuzzydll.dll").c_str());
  auto setNextEdit = stub ? reinterpret_cast<void (*)(int, int)>(
                                reinterpret_cast<void*>(GetProcAddress(stub, "StubSetNextEdit")))
                          : nullptr;
  if (!setNextEdit) {
    printf("the stand-in fuzzydll.dll is missing: build blocks_library_tests first\n");
    BeFuzzyModule::SetProgram(old);
    return 1;
  }
  const int sizes[2] = {1000, 10000};
  const char* kinds[2] = {"detectors", "fuzzy blocks"};
  bool ok = true;
  for (int kind = 0; kind < 2; ++kind) {
    double best[2] = {0, 0};
    BeScheme* schemes[2];
    for (int i = 0; i < 2; ++i) {
      schemes[i] = new BeScheme;
      schemes[i]->Init(&catalogue);
      if (!Build(schemes[i], kind == 1, sizes[i], setNextEdit)) {
        printf("cannot build %d %s\n", sizes[i], kinds[kind]);
        ok = false;
      }
    }
    for (int round = 0; round < kRounds; ++round)
      for (int i = 0; i < 2; ++i) {
        double ns = TimeScheme(schemes[i], sizes[i]);
        if (round == 0 || ns < best[i]) best[i] = ns;
      }
    for (int i = 0; i < 2; ++i) {
      printf("%s, N = %5d: %d passes, best of %d rounds: %.2f ns per block step\n", kinds[kind], sizes[i], kPasses,
             kRounds, best[i]);
      schemes[i]->Stop();
      schemes[i]->DeleteBlocks(true);
      delete schemes[i];
    }
    double ratio = best[1] / best[0];
    printf("%s: ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s\n", kinds[kind], ratio, ratio <= 1.5 ? "ok" : "OVER");
    ok = ok && ratio <= 1.5;
  }
  FreeLibrary(stub);
  BeFuzzyModule::SetProgram(old);
  return ok ? 0 : 1;
}
