#include "blocks/engine/block.h"

#include <cstdint>
#include <new>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/engine/record_io.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"

// Pins are made in runs: one heap block holds every pin a resize of more
// than one pin adds (this header, then the pins side by side), so the pins
// a block steps through lie together in memory instead of scattered among
// other allocations. A pin added alone has a heap block of its own, without
// the header. A pin keeps its address while it lives; its run's block is
// freed when the run's last pin goes. A block may reorder its pin pointers,
// so the run of a pin is found by its address.
struct BePinRun {
  BePinRun* previous;  // the run made before this one
  int pinCount;        // pins the run was made with
  int live;            // of those, pins not destroyed yet
};

namespace {
// Where a block attached to a scheme goes: this column, this far under the
// lowest block (and at least this far down).
const int kPlacementX = 150;
const int kPlacementGap = 40;

// Offset of pin i of n on a body of height h.
int PinOffset(int i, int n, int h) { return i * h / n + h / (2 * n); }

using PinRun = BePinRun;
// The pins start this far into the run's block (a multiple of any pin's
// alignment, at both widths).
const size_t kPinRunHeader = 16;
static_assert(sizeof(PinRun) <= kPinRunHeader, "the run header fits before the pins");

template <typename Pin>
Pin* FirstPinOf(PinRun* run) {
  static_assert(kPinRunHeader % alignof(Pin) == 0, "pins are aligned in their run");
  return reinterpret_cast<Pin*>(reinterpret_cast<char*>(run) + kPinRunHeader);
}

// The memory of a run of k pins (nothing made in it yet); null when memory
// ran out or the size is beyond any block.
template <typename Pin>
PinRun* AllocPinRun(int k) {
  if (k <= 0 || static_cast<size_t>(k) > (kFoundationMaxBlock - kPinRunHeader) / sizeof(Pin)) return nullptr;
  auto* run = static_cast<PinRun*>(AllocBuffer(kPinRunHeader + sizeof(Pin) * static_cast<size_t>(k)));
  if (!run) return nullptr;
  run->previous = nullptr;
  run->pinCount = k;
  run->live = k;
  return run;
}

// Destroys a pin made alone or in one of the runs listed from *runs; the
// run goes with its last pin.
template <typename Pin>
void DestroyPin(PinRun** runs, Pin* pin) {
  pin->~Pin();
  const uintptr_t at = reinterpret_cast<uintptr_t>(pin);
  for (PinRun** link = runs; *link; link = &(*link)->previous) {
    PinRun* run = *link;
    const uintptr_t first = reinterpret_cast<uintptr_t>(FirstPinOf<Pin>(run));
    if (at < first || at >= first + sizeof(Pin) * static_cast<size_t>(run->pinCount)) continue;
    if (--run->live == 0) {
      *link = run->previous;
      FreeBuffer(run);
    }
    return;
  }
  FreeBuffer(pin);
}

// The memory of the pins a resize adds: k pins side by side, in a run for
// more than one; null when memory ran out.
template <typename Pin>
Pin* AllocPins(int k, PinRun** run) {
  *run = nullptr;
  if (k == 1) return static_cast<Pin*>(AllocBuffer(sizeof(Pin)));
  *run = AllocPinRun<Pin>(k);
  return *run ? FirstPinOf<Pin>(*run) : nullptr;
}

// Resizes an array of pins: surplus pins are destroyed from the end, new
// ones are made for owner, those of one resize side by side (runs listed
// from *runs). A single pin's pointer lives in the block itself (single), larger
// arrays on the heap. False when memory ran out (nothing changed).
template <typename Pin>
bool ResizePins(CBEBlock* owner, int* count, Pin*** pins, Pin** single, PinRun** runs, int n) {
  if (n < 0) n = 0;
  if (n > *count) {
    PinRun* run;
    Pin* made = AllocPins<Pin>(n - *count, &run);
    if (!made) return false;
    if (n > 1) {
      bool inline1 = *pins == single;
      Pin** heap = inline1 ? nullptr : *pins;
      if (!ResizeSteppedArray(&heap, inline1 ? 0 : *count, n)) {
        FreeBuffer(run ? static_cast<void*>(run) : made);
        return false;
      }
      if (inline1 && *count == 1) heap[0] = *single;
      *pins = heap;
    } else {
      *pins = single;
    }
    if (run) {
      run->previous = *runs;
      *runs = run;
    }
    while (*count < n) {
      (*pins)[*count] = new (made++) Pin(owner);
      ++*count;
    }
    return true;
  }
  int before = *count;
  while (*count > n) {
    --*count;
    Pin* pin = (*pins)[*count];
    (*pins)[*count] = nullptr;
    if (owner->scheme) owner->scheme->NotifyObjectDeleting(pin);
    DestroyPin(runs, pin);
  }
  if (*pins != single && *pins) {
    if (n <= 1) {
      if (n == 1) *single = (*pins)[0];
      FreeBuffer(*pins);
      *pins = n == 1 ? single : nullptr;
    } else {
      // A shrink never fails: a block that cannot move keeps its size.
      ResizeSteppedArray(pins, before, n);
    }
  } else if (n == 0) {
    *pins = nullptr;
  }
  return true;
}
}  // namespace

CBEBlock::CBEBlock() {}

CBEBlock::~CBEBlock() {
  // The editors showing the scheme drop the block before anything of it goes.
  if (scheme) scheme->NotifyObjectDeleting(this);
  // Handles to what the block published go stale before its data goes.
  BePayloadTable::Program().ReleaseOwner(this);
  Unlink();
  SetInputCount(0);
  SetOutputCount(0);
  FreeBuffer(caption);
  caption = nullptr;
}

void CBEBlock::Unlink() {
  if (scheme) {
    scheme->BlockListChanged();
    if (previous) {
      previous->next = next;
    } else if (scheme->blocks == this) {
      scheme->blocks = next;
    }
    if (next) next->previous = previous;
  }
  next = nullptr;
  previous = nullptr;
}

void CBEBlock::AttachToScheme(BeScheme* newScheme) {
  Unlink();
  scheme = newScheme;
  if (!scheme) return;
  if (!scheme->reading) {
    int y = kPlacementGap;
    for (CBEBlock* block = scheme->blocks; block; block = block->next) {
      if (block->rect.bottom + kPlacementGap > y) y = block->rect.bottom + kPlacementGap;
    }
    MoveTo(kPlacementX, y);
  }
  next = scheme->blocks;
  if (next) next->previous = this;
  scheme->blocks = this;
  scheme->BlockListChanged();
}

void CBEBlock::Start() {}
void CBEBlock::Step(float) {}
void CBEBlock::Stop() {}

void CBEBlock::Save(CStream* stream) {
  stream->WriteInt32(rect.left);
  stream->WriteInt32(rect.top);
  stream->WriteInt32(rect.right);
  stream->WriteInt32(rect.bottom);
  stream->WriteStringW(caption);
  stream->WriteByte(flags & ~kBeBlockSelected);
  for (int i = 0; i < inputCount; ++i) {
    const BeInputPin* input = inputs[i];
    stream->WriteInt32(static_cast<int>(input->source ? input->source->savedId : 0));
    stream->WriteInt32(input->routeX1);
    stream->WriteInt32(input->routeY);
    stream->WriteInt32(input->routeX2);
  }
  for (int i = 0; i < outputCount; ++i) {
    stream->WriteInt32(static_cast<int>(outputs[i]->savedId));
    stream->WriteByte(outputs[i]->hardware);
  }
}

bool CBEBlock::Load(CStream* stream) {
  RECT r;
  if (!ReadInt32Checked(stream, reinterpret_cast<int*>(&r.left)) ||
      !ReadInt32Checked(stream, reinterpret_cast<int*>(&r.top)) ||
      !ReadInt32Checked(stream, reinterpret_cast<int*>(&r.right)) ||
      !ReadInt32Checked(stream, reinterpret_cast<int*>(&r.bottom)))
    return false;
  rect = r;
  wchar_t* text = nullptr;
  if (!ReadStringWChecked(stream, &text)) return false;
  FreeBuffer(caption);
  caption = text;
  unsigned char stored;
  if (!ReadByteChecked(stream, &stored)) return false;
  flags = static_cast<unsigned char>(stored | (flags & kBeBlockDevice));
  for (int i = 0; i < inputCount; ++i) {
    BeInputPin* input = inputs[i];
    unsigned int id;
    int x1, y, x2;
    if (!ReadUInt32Checked(stream, &id) || !ReadInt32Checked(stream, &x1) ||
        !ReadInt32Checked(stream, &y) || !ReadInt32Checked(stream, &x2))
      return false;
    input->source = nullptr;
    input->savedSource = id;
    input->routeX1 = x1;
    input->routeY = y;
    input->routeX2 = x2;
  }
  for (int i = 0; i < outputCount; ++i) {
    unsigned int id;
    unsigned char hardware;
    if (!ReadUInt32Checked(stream, &id) || !ReadByteChecked(stream, &hardware)) return false;
    outputs[i]->savedId = id;
    outputs[i]->hardware = hardware;
  }
  return true;
}

void CBEBlock::ResolveLinks() {
  for (int i = 0; i < inputCount; ++i) inputs[i]->ResolveSource();
  OnLinksResolved();
}

void CBEBlock::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, GetCaption());
}

bool CBEBlock::ShowProperties() { return false; }

unsigned int CBEBlock::GetClassId() const { return entry ? entry->classId : 0; }

const wchar_t* CBEBlock::GetCaption() const {
  if (caption) return caption;
  return entry ? entry->caption : nullptr;
}

void CBEBlock::SetCaption(const wchar_t* text) { ReplaceString(&caption, text); }

void CBEBlock::MoveTo(int x, int y) {
  int w = Width();
  int h = Height();
  rect = RECT{x, y, x + w, y + h};
}

void CBEBlock::MoveBy(int dx, int dy) {
  OffsetRect(&rect, dx, dy);
  for (int i = 0; i < inputCount; ++i) {
    BeInputPin* input = inputs[i];
    if (!input->source || !input->source->owner->IsSelected()) continue;
    input->routeX1 += dx;
    input->routeX2 += dx;
    input->routeY += dy;
  }
}

bool CBEBlock::SetInputCount(int n) {
  if (!ResizePins(this, &inputCount, &inputs, &singleInput_, &inputRuns_, n)) return false;
  SpreadInputs();
  return true;
}

bool CBEBlock::SetOutputCount(int n) {
  if (!ResizePins(this, &outputCount, &outputs, &singleOutput_, &outputRuns_, n)) return false;
  SpreadOutputs();
  return true;
}

void CBEBlock::SpreadInputs() {
  int h = Height();
  for (int i = 0; i < inputCount; ++i) inputs[i]->yOffset = PinOffset(i, inputCount, h);
}

void CBEBlock::SpreadOutputs() {
  int h = Height();
  for (int i = 0; i < outputCount; ++i) outputs[i]->yOffset = PinOffset(i, outputCount, h);
}

CBEBlock* KeepIfPinsMade(CBEBlock* block, int inputCount, int outputCount) {
  if (block && (block->inputCount != inputCount || block->outputCount != outputCount)) {
    delete block;
    return nullptr;
  }
  return block;
}
