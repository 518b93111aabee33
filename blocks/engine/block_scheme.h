// A block scheme: the program of a programmable unit or the inner program of
// a macro block. It owns its blocks (newest first), creates them from its
// catalogue, and steps them under a budget of processor cycles.
#pragma once

#include <cstdint>

#include "foundation/plain_array.h"

class BeCatalogue;
class BeSchemeWatch;
class CBEBlock;
class CSCHBlock;
class CStream;

const float kBeDefaultProcessorFrequency = 1000000.0f;
const int kBeDefaultBaseRom = 50000;

class BeScheme {
public:
  BeScheme() { Init(nullptr); }
  // Tells its watches that it goes (their editors close), then deletes every
  // block.
  ~BeScheme();
  BeScheme(const BeScheme&) = delete;
  BeScheme& operator=(const BeScheme&) = delete;

  // Sets every field to its starting value (the blocks already held are not
  // touched; call it on an empty scheme).
  void Init(BeCatalogue* catalogue);

  // A new block of the first catalogue entry (groups in order) with that
  // class id, attached at the head of the list; null, after telling the user,
  // when the catalogue has no such entry.
  CBEBlock* CreateBlock(unsigned int classId);
  // The first device block, from the head, whose own caption equals name.
  CBEBlock* FindDeviceBlock(const wchar_t* name) const;
  // all: every block; otherwise every block that is not selected. With
  // all, every link between the blocks is cut before the first block goes,
  // so no block's destructor meets an input whose source was freed.
  void DeleteBlocks(bool all);
  int GetBlockCount() const;
  CBEBlock* GetTail() const;

  // Totals over this scheme and the nested schemes of its macro blocks; with
  // wholeProgram the totals of the outermost scheme above this one.
  int GetRomTotal(bool wholeProgram) const;
  int GetRamTotal(bool wholeProgram) const;
  int GetCyclesTotal(bool wholeProgram) const;

  // The run. Start starts every block and checks the whole program against
  // the memory limits (a program that does not fit is halted, with a line in
  // the simulation log per failed check); Step runs at most one pass of all
  // blocks per call, when the cycles of the ticks so far have paid for the
  // last pass; Stop stops every block and releases the payloads its blocks
  // still own (BePayloadTable).
  void Start();
  void Step(float dt);
  void Stop();
  // The cycles one tick of dt seconds supplies: frequency x dt, truncated
  // and held within [0, INT_MAX].
  int TickCycles(float dt) const;

  // The outermost scheme above this one (this one for a unit's scheme).
  const BeScheme* Outermost() const;
  // How many schemes lie above this one.
  int NestingDepth() const;

  // The editors and views showing the scheme
  // (blocks/engine/block_scheme_watch.h). A block's destructor, and the
  // removal of surplus pins, call NotifyObjectDeleting before the object
  // goes.
  void NotifyObjectDeleting(const void* object);
  // Every watch leaves the scheme, told by OnSchemeDeleting; called by the
  // destructor, and by whoever must close the scheme's editors earlier.
  void ReleaseWatches();
  int WatchCount() const;

  // The "BE5 " stream. Save writes every block, or with onlySelected the
  // selected blocks that are not device blocks, oldest first; it warns the
  // user first when the whole program exceeds the ROM limit. Load adds the
  // stream's blocks at the head of the list and links them among
  // themselves; with select they end up selected. A stream that cannot be
  // read whole (wrong magic, unknown class, a record cut short or
  // implausible) leaves the scheme as it was and answers false. An
  // exception thrown by a block's Load (BePluginLoadError) also leaves the
  // scheme as it was and goes on to the caller.
  void Save(CStream* stream, bool onlySelected);
  bool Load(CStream* stream, bool select);

  // Fields, in this order.
  BeCatalogue* catalogue;  // not owned
  CBEBlock* blocks;        // list head, newest first
  void* portBlocks;        // microcontroller pin blocks, kept by those blocks
  float frequency;         // Hz
  int romLimit;            // bytes; 0 or less: none
  int ramLimit;            // bytes; 0 or less: none
  int64_t budget;          // cycles the program still owes
  CSCHBlock* owner;        // the circuit component that owns the scheme
  unsigned char running;
  unsigned char halted;
  int sharedRoutineRom;
  int baseRom;
  int baseRam;
  BeScheme* parent;  // the scheme holding the macro block of this nested one
  // Set while Load creates blocks: they take their rectangles from the
  // stream, so attaching them places nothing.
  unsigned char reading;

private:
  friend class BeSchemeWatch;
  friend class CBEBlock;
  // A pass steps the blocks from an array in list order, so the processor
  // can fetch the next blocks while it runs one; a walk along the list
  // cannot (each block names the next). The array is rebuilt on the first
  // pass after a block joined or left the list.
  void BlockListChanged() { stepOrderStale_ = true; }
  bool BuildStepOrder();
  // The rest of a pass from block on, along the list.
  void StepFrom(CBEBlock* block, float dt);
  CPlainArray<CBEBlock*> stepOrder_{64};
  bool stepOrderStale_ = true;
  void AddWatch(BeSchemeWatch* watch);
  void RemoveWatch(BeSchemeWatch* watch);
  // Newest first, linked through the watches; Init leaves it alone.
  BeSchemeWatch* watches_ = nullptr;
};

// The magic of a block-scheme stream.
extern const unsigned char kBeSchemeStreamMagic[4];
// Schemes nested deeper than this (far beyond what anyone builds) are
// refused when read, and totals look no deeper, so a damaged document
// cannot exhaust the stack.
const int kBeMaxSchemeNesting = 1000;
