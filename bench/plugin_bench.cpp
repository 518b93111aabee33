// The cost of a plug-in block's step: a chain of 1,000 adder blocks of the
// test plug-in (tests/blocks/engine/plugins/test_plugin.c, built beside this
// program) is stepped by its scheme, 1,000 ticks at a time, and compared
// with calling the DLL's "TickBlock" for the same handles directly. The
// difference is what the host adds per call: the scheme's pass and the
// block's virtual step.
//
// The machine running it is usually shared, so both ways run in alternating
// rounds and the best round of each is its figure.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/engine/plugin/plugin_module.h"

namespace {

const int kBlocks = 1000;
const int kTicks = 1000;
const int kRounds = 7;

using velkbench::Now;

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace

int main() {
  // A folder holding the test plug-in alone.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"velk_plugin_bench\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring dll = folder + L"test_plugin.dll";
  if (!CopyFileW((ExeFolder() + L"test_plugin.dll").c_str(), dll.c_str(), FALSE)) {
    printf("test_plugin.dll is missing beside the benchmark\n");
    return 1;
  }
  BePluginList& list = ProgramPluginList();
  list.SetFolder(folder.c_str());
  list.ScanFolder();
  BePluginModule* module = list.FindModule(L"test_plugin.dll");
  if (!module) {
    printf("test_plugin.dll did not load\n");
    return 1;
  }

  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  BeBlockCreatorTable none;
  AddCommonCatalogueGroups(&catalogue, none);
  AddPluginCatalogueEntry(&catalogue);
  BeScheme* scheme = new BeScheme;
  scheme->Init(&catalogue);
  scheme->frequency = 1.0e9f;  // a pass of every block on every tick
  CBEPluginBlock* previous = nullptr;
  BePluginHandle* handles = new BePluginHandle[kBlocks];
  double t0 = Now();
  for (int i = 0; i < kBlocks; ++i) {
    SetPluginChoice(module, 0);
    auto* block = static_cast<CBEPluginBlock*>(scheme->CreateBlock(kBePluginBlockClassId));
    if (!block || !block->handle) {
      printf("block %d was not made\n", i);
      return 1;
    }
    block->cycles = 1;
    if (previous) block->inputs[0]->source = previous->outputs[0];
    handles[i] = block->handle;
    previous = block;
  }
  double buildMs = 1e3 * (Now() - t0);
  scheme->Start();

  double bestHost = 0, bestDirect = 0;
  for (int round = 0; round < kRounds; ++round) {
    double a = Now();
    for (int k = 0; k < kTicks; ++k) scheme->Step(1e-3f);
    double b = Now();
    for (int k = 0; k < kTicks; ++k)
      for (int i = 0; i < kBlocks; ++i) module->TickBlock(handles[i], 1e-3f);
    double c = Now();
    double host = 1e9 * (b - a) / (static_cast<double>(kBlocks) * kTicks);
    double direct = 1e9 * (c - b) / (static_cast<double>(kBlocks) * kTicks);
    if (round == 0 || host < bestHost) bestHost = host;
    if (round == 0 || direct < bestDirect) bestDirect = direct;
  }
  scheme->Stop();
  printf("%d plug-in blocks: made in %.1f ms; %d ticks, best of %d rounds:\n", kBlocks, buildMs, kTicks,
         kRounds);
  printf("  through the scheme:           %.1f ns per block step\n", bestHost);
  printf("  the DLL called directly:      %.1f ns per block step\n", bestDirect);
  printf("  the host adds:                %.1f ns per call\n", bestHost - bestDirect);
  delete scheme;
  delete[] handles;
  list.Clear();
  list.SetFolder(nullptr);
  DeleteFileW(dll.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
