#include "blocks/engine/block_scheme.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cwchar>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme_watch.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/payload_table.h"
#include "kestui/core/kest_host.h"
#include "scheme/simulation/sim_log.h"

namespace {
// The caption of the entry the last block was created from, program-wide;
// the message for an unknown class names it.
const wchar_t* g_lastCreatedCaption = nullptr;
const wchar_t kNoBlockYet[] = L"нет";
const int kCreateErrorChars = 512;

int ClampToInt(int64_t v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

enum class Total { Rom, Ram, Cycles };

// The total of one scheme and the nested schemes of its macro blocks. The
// shared-routine ROM is added once, at the first flagged block of the tree.
int64_t SumTree(const BeScheme* scheme, Total what, bool* sharedCounted, int sharedRom, int depth) {
  int64_t sum = what == Total::Rom ? scheme->baseRom : what == Total::Ram ? scheme->baseRam : 0;
  for (const CBEBlock* block = scheme->blocks; block; block = block->next) {
    sum += what == Total::Rom ? block->rom : what == Total::Ram ? block->ram : block->cycles;
    if (what == Total::Rom && block->sharedRoutine && !*sharedCounted) {
      *sharedCounted = true;
      sum += sharedRom;
    }
    if (block->GetClassId() != kBeMacroBlockClassId) continue;
    const BeScheme* nested = block->GetNestedScheme();
    if (nested && nested != scheme && depth < kBeMaxSchemeNesting)
      sum += SumTree(nested, what, sharedCounted, sharedRom, depth + 1);
  }
  return sum;
}

int TotalOf(const BeScheme* scheme, Total what, bool wholeProgram) {
  if (wholeProgram) scheme = scheme->Outermost();
  bool sharedCounted = false;
  return ClampToInt(SumTree(scheme, what, &sharedCounted, scheme->sharedRoutineRom, 0));
}
}  // namespace

BeScheme::~BeScheme() {
  // The editors let go first: nothing they show is touched while it goes.
  ReleaseWatches();
  DeleteBlocks(true);
}

void BeScheme::AddWatch(BeSchemeWatch* watch) {
  watch->watched_ = this;
  watch->nextWatch_ = watches_;
  watches_ = watch;
}

void BeScheme::RemoveWatch(BeSchemeWatch* watch) {
  for (BeSchemeWatch** link = &watches_; *link; link = &(*link)->nextWatch_) {
    if (*link != watch) continue;
    *link = watch->nextWatch_;
    break;
  }
  watch->watched_ = nullptr;
  watch->nextWatch_ = nullptr;
}

void BeScheme::ReleaseWatches() {
  // Each watch leaves before it is told, so whatever its owner does then
  // meets a consistent list.
  while (watches_) {
    BeSchemeWatch* watch = watches_;
    RemoveWatch(watch);
    watch->OnSchemeDeleting(this);
  }
}

void BeScheme::NotifyObjectDeleting(const void* object) {
  for (BeSchemeWatch* watch = watches_; watch;) {
    BeSchemeWatch* next = watch->nextWatch_;
    watch->OnObjectDeleting(this, object);
    watch = next;
  }
}

int BeScheme::WatchCount() const {
  int n = 0;
  for (const BeSchemeWatch* watch = watches_; watch; watch = watch->nextWatch_) ++n;
  return n;
}

void BeScheme::Init(BeCatalogue* newCatalogue) {
  catalogue = newCatalogue;
  blocks = nullptr;
  BlockListChanged();
  portBlocks = nullptr;
  frequency = kBeDefaultProcessorFrequency;
  romLimit = -1;
  ramLimit = -1;
  budget = 0;
  owner = nullptr;
  running = 0;
  halted = 0;
  sharedRoutineRom = 0;
  baseRom = kBeDefaultBaseRom;
  baseRam = 0;
  parent = nullptr;
  reading = 0;
}

CBEBlock* BeScheme::CreateBlock(unsigned int classId) {
  const BeCatalogueEntry* entry = catalogue ? catalogue->FindEntry(classId) : nullptr;
  if (!entry) {
    wchar_t text[kCreateErrorChars];
    _snwprintf(text, kCreateErrorChars - 1,
               L"Блок класса 0x%08X не зарегистрирован! Последний удачный блок \"%ls\".", classId,
               g_lastCreatedCaption ? g_lastCreatedCaption : kNoBlockYet);
    text[kCreateErrorChars - 1] = 0;
    GetKestHost()->ShowMessage(MB_OK, L"Ошибка загрузки схемы", text);
    return nullptr;
  }
  g_lastCreatedCaption = entry->caption;
  CBEBlock* block = entry->creator ? entry->creator() : nullptr;
  if (!block) return nullptr;
  block->entry = entry;
  block->AttachToScheme(this);
  return block;
}

CBEBlock* BeScheme::FindDeviceBlock(const wchar_t* name) const {
  if (!name) return nullptr;
  for (CBEBlock* block = blocks; block; block = block->next) {
    if (block->IsDevice() && block->caption && wcscmp(block->caption, name) == 0) return block;
  }
  return nullptr;
}

void BeScheme::DeleteBlocks(bool all) {
  if (all) {
    // Every link goes first: a block deleted early must not leave the
    // inputs of blocks deleted later reading its freed outputs (a plug-in's
    // destroy function reads its inputs). Then each block leaves the scheme
    // before it is deleted, which makes its deletion local. The port-block
    // list only ever holds blocks of this scheme.
    for (CBEBlock* block = blocks; block; block = block->next) {
      for (int i = 0; i < block->inputCount; ++i) block->inputs[i]->source = nullptr;
    }
    BlockListChanged();
    while (blocks) {
      CBEBlock* block = blocks;
      NotifyObjectDeleting(block);
      blocks = block->next;
      if (blocks) blocks->previous = nullptr;
      block->next = nullptr;
      block->scheme = nullptr;
      delete block;
    }
    portBlocks = nullptr;
    return;
  }
  CBEBlock* block = blocks;
  while (block) {
    CBEBlock* next = block->next;
    if (!block->IsSelected()) delete block;
    block = next;
  }
}

int BeScheme::GetBlockCount() const {
  int n = 0;
  for (const CBEBlock* block = blocks; block; block = block->next) ++n;
  return n;
}

CBEBlock* BeScheme::GetTail() const {
  CBEBlock* tail = blocks;
  while (tail && tail->next) tail = tail->next;
  return tail;
}

const BeScheme* BeScheme::Outermost() const {
  const BeScheme* scheme = this;
  for (int depth = 0; scheme->parent && depth < kBeMaxSchemeNesting; ++depth) scheme = scheme->parent;
  return scheme;
}

int BeScheme::NestingDepth() const {
  int depth = 0;
  for (const BeScheme* s = parent; s && depth <= kBeMaxSchemeNesting; s = s->parent) ++depth;
  return depth;
}

int BeScheme::GetRomTotal(bool wholeProgram) const { return TotalOf(this, Total::Rom, wholeProgram); }
int BeScheme::GetRamTotal(bool wholeProgram) const { return TotalOf(this, Total::Ram, wholeProgram); }
int BeScheme::GetCyclesTotal(bool wholeProgram) const {
  return TotalOf(this, Total::Cycles, wholeProgram);
}

void BeScheme::Start() {
  for (CBEBlock* block = blocks; block; block = block->next) block->Start();
  bool fits = true;
  if (romLimit > 0) {
    int rom = GetRomTotal(true);
    if (rom > romLimit) {
      SimMessageLog::Global().AppendFormat(
          L"Программа не может быть записана в вычислитель, т.к. она занимает %d байт ПЗУ из %d "
          L"возможных!",
          rom, romLimit);
      fits = false;
    }
  }
  if (ramLimit > 0) {
    int ram = GetRamTotal(true);
    if (ram > ramLimit) {
      SimMessageLog::Global().AppendFormat(
          L"Программа не может быть записана в вычислитель, т.к. она занимает %d байт ОЗУ из %d "
          L"возможных!",
          ram, ramLimit);
      fits = false;
    }
  }
  halted = fits ? 0 : 1;
  running = 1;
  budget = 0;
}

int BeScheme::TickCycles(float dt) const {
  double s = static_cast<double>(frequency) * static_cast<double>(dt);
  // Negative, not-a-number and huge products are held in range.
  if (!(s > 0)) return 0;
  if (s >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(s);
}

void BeScheme::Step(float dt) {
  if (halted) return;
  int s = TickCycles(dt);
  budget -= s;
  if (budget > 0) return;
  if (!BuildStepOrder()) {
    // Memory ran out for the array: this pass walks the list.
    StepFrom(blocks, dt);
  } else {
    CBEBlock* const* order = stepOrder_.Data();
    int count = stepOrder_.Count();
    for (int i = 0; i < count; ++i) {
      CBEBlock* block = order[i];
      block->Step(dt);
      budget += block->cycles;
      if (stepOrderStale_) {
        // The block added or deleted blocks: the rest of the pass follows
        // the list as it is now.
        StepFrom(block->next, dt);
        break;
      }
    }
  }
  if (budget < s) budget = s;
}

bool BeScheme::BuildStepOrder() {
  if (!stepOrderStale_) return true;
  int count = GetBlockCount();
  if (!stepOrder_.Resize(count)) return false;
  int i = 0;
  for (CBEBlock* block = blocks; block; block = block->next) stepOrder_[i++] = block;
  stepOrderStale_ = false;
  return true;
}

void BeScheme::StepFrom(CBEBlock* block, float dt) {
  for (; block; block = block->next) {
    block->Step(dt);
    budget += block->cycles;
  }
}

void BeScheme::Stop() {
  running = 0;
  for (CBEBlock* block = blocks; block; block = block->next) block->Stop();
  // What the blocks published during the run is not theirs to show after
  // it: every handle they still own goes stale.
  BePayloadTable& payloads = BePayloadTable::Program();
  for (CBEBlock* block = blocks; block && payloads.LiveCount() > 0; block = block->next)
    payloads.ReleaseOwner(block);
}
