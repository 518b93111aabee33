// Steps block schemes of N logic blocks of the library, 1,000 passes at a
// time, and reports the time per block step at N = 1,000 and N = 10,000. The
// scheme is a row of segments of 13 blocks, every class of the group among
// them (as many whole segments as N holds):
//   - a spine of int blocks, fed by a counter or by the segment before:
//     NOT, AND and OR with a mask, a left rotation by 3, an arithmetic right
//     shift by 1, and the AND and OR elements with one input linked;
//   - a branch on the spine's end: bit 3 of it (GetBit), its NOT, an AND
//     element gating a PWM signal with that bit, an OR element passing the
//     gated signal on beside a bit 0, the spine's end compared with 0 (">")
//     and with the spine's first value ("≠").
// A pass costs a constant per block, so the figure for 10,000 may exceed the
// one for 1,000 by at most 1.5 times: exit code 1 when it does.
//
// As the floor, the same scheme is computed by a plain loop over arrays, and
// the ratio of the two times is printed. Both give the same last values,
// which are checked.
//
// A chain of AND elements that only pass a PWM signal on is timed as well,
// for information: of all blocks it does the least work against the most
// memory (five heap records a gate), so its figure at 10,000 shows the
// cache more than the blocks.
//
// The machine running it is usually shared, so the measurements take turns
// in rounds (each sees the same load) and the best round of each counts.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/library_catalogue.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/library_classes.h"
#include "blocks/library/logic/and.h"
#include "blocks/library/logic/cmp.h"
#include "blocks/library/logic/cmp2.h"
#include "blocks/library/logic/get_bit.h"
#include "blocks/library/logic/or.h"
#include "blocks/library/logic/relation.h"
#include "blocks/library/logic/rotate.h"
#include "blocks/library/logic/shift_rule.h"
#include "blocks/library/logic/shl.h"
#include "blocks/library/logic/shr.h"
#include "blocks/library/typed_block.h"

namespace {

const int kPasses = 1000;
const int kRounds = 9;
const int kSpineBlocks = 7;
const int kSegmentBlocks = 13;
const uint32_t kAndMask = 0x7FFFFFF7u;
const uint32_t kOrMask = 0x00000100u;
const unsigned char kRotation = 3;
const unsigned char kBit = 3;
const float kPeriod = 0.01f, kDuty = 0.25f;

const unsigned int kSpineClass[kSpineBlocks] = {kBeNotClassId, kBeAndClassId,  kBeOrClassId, kBeShlClassId,
                                                kBeShrClassId, kBeAnd2ClassId, kBeOr2ClassId};

// The head of the scheme: an int output that counts the passes.
class Counter : public CBEBlock {
public:
  Counter() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalInt;
  }
  void Step(float) override { outputs[0]->SetInt(++count); }
  int count = 0;
};

// An output that keeps the value it was given.
class Fixed : public CBEBlock {
public:
  explicit Fixed(BeSignalType type) {
    SetOutputCount(1);
    outputs[0]->type = type;
  }
};

using velkbench::Now;

CBEBlock* Make(BeScheme* scheme, unsigned int classId, BeSignalType type) {
  CBEBlock* block = scheme->CreateBlock(classId);
  if (!block) {
    printf("cannot create class 0x%08X\n", classId);
    return nullptr;
  }
  if (type != kBeSignalBit) {
    bool inputsOnly = classId == kBeCmpClassId || classId == kBeCmp2ClassId || classId == kBeGetBitClassId;
    if (inputsOnly) {
      for (int i = 0; i < block->inputCount; ++i) ChangeInputType(block->inputs[i], type);
    } else {
      ChangeBlockType(block, type);
    }
  }
  return block;
}

void Link(CBEBlock* from, CBEBlock* to, int input) { to->inputs[input]->source = from->outputs[0]; }

// The blocks of one segment whose outputs the check reads.
struct Segment {
  CBEBlock* spine[kSpineBlocks] = {};
  CBEBlock* getBit = nullptr;
  CBEBlock* notBit = nullptr;
  CBEBlock* gate = nullptr;
  CBEBlock* pass = nullptr;
  CBEBlock* positive = nullptr;
  CBEBlock* changed = nullptr;
};

struct Scheme {
  BeScheme scheme;
  std::vector<Segment> segments;
  bool complete = false;
};

// The scheme steps its newest block first, so every reader is made before
// the block it reads: segments from the last one back, in a segment the
// branch before the spine, and the spine from its end. One pass then
// carries the counter through the whole scheme, as the loop does.
Scheme* BuildScheme(BeCatalogue* catalogue, int n) {
  Scheme* s = new Scheme;
  s->scheme.Init(catalogue);
  s->scheme.frequency = 1.0e12f;  // a pass of every block on every tick
  int count = n / kSegmentBlocks;
  s->segments.resize(count);
  BeScheme* scheme = &s->scheme;
  for (int k = count - 1; k >= 0; --k) {
    Segment& seg = s->segments[k];
    auto* changed = static_cast<CBECmp2*>(Make(scheme, kBeCmp2ClassId, kBeSignalInt));
    auto* positive = static_cast<CBECmp*>(Make(scheme, kBeCmpClassId, kBeSignalInt));
    seg.pass = Make(scheme, kBeOr2ClassId, kBeSignalBit);
    seg.gate = Make(scheme, kBeAnd2ClassId, kBeSignalBit);
    seg.notBit = Make(scheme, kBeNotClassId, kBeSignalBit);
    auto* getBit = static_cast<CBEGetBit*>(Make(scheme, kBeGetBitClassId, kBeSignalInt));
    if (!changed || !positive || !seg.pass || !seg.gate || !seg.notBit || !getBit) return s;
    changed->relation = kRelationNotEqual;
    positive->relation = kRelationGreater;
    getBit->bitNumber = kBit;
    seg.changed = changed;
    seg.positive = positive;
    seg.getBit = getBit;
    for (int i = kSpineBlocks - 1; i >= 0; --i) {
      CBEBlock* block = Make(scheme, kSpineClass[i], kBeSignalInt);
      if (!block) return s;
      if (auto* b = dynamic_cast<CBEAnd*>(block)) b->mask = kAndMask;
      if (auto* b = dynamic_cast<CBEOr*>(block)) b->mask = kOrMask;
      if (auto* b = dynamic_cast<CBEShl*>(block)) {
        b->count = kRotation;
        b->kind = kShiftCyclic;
      }
      if (auto* b = dynamic_cast<CBEShr*>(block)) b->kind = kShiftArithmetic;
      seg.spine[i] = block;
    }
  }
  Counter* counter = new Counter;
  counter->AttachToScheme(scheme);
  Fixed* pwm = new Fixed(kBeSignalPwm);
  memcpy(pwm->outputs[0]->value, &kPeriod, 4);
  memcpy(pwm->outputs[0]->value + 4, &kDuty, 4);
  pwm->AttachToScheme(scheme);
  Fixed* zero = new Fixed(kBeSignalBit);
  zero->AttachToScheme(scheme);
  for (int k = 0; k < count; ++k) {
    Segment& seg = s->segments[k];
    if (k == 0) {
      seg.spine[0]->inputs[0]->source = counter->outputs[0];
    } else {
      Link(s->segments[k - 1].spine[kSpineBlocks - 1], seg.spine[0], 0);
    }
    for (int i = 1; i < kSpineBlocks; ++i) Link(seg.spine[i - 1], seg.spine[i], 0);
    CBEBlock* end = seg.spine[kSpineBlocks - 1];
    Link(end, seg.getBit, 0);
    Link(seg.getBit, seg.notBit, 0);
    Link(pwm, seg.gate, 0);
    Link(seg.notBit, seg.gate, 1);
    Link(seg.gate, seg.pass, 0);
    Link(zero, seg.pass, 1);
    Link(end, seg.positive, 0);
    Link(end, seg.changed, 0);
    Link(seg.spine[0], seg.changed, 1);
  }
  s->complete = true;
  s->scheme.Start();
  return s;
}

// A chain of n AND elements passing a PWM signal while a shared bit is 1.
Scheme* BuildGateChain(BeCatalogue* catalogue, int n) {
  Scheme* s = new Scheme;
  s->scheme.Init(catalogue);
  s->scheme.frequency = 1.0e12f;
  s->segments.resize(1);
  std::vector<CBEBlock*> gates(n);
  for (int i = n - 1; i >= 0; --i) {
    gates[i] = s->scheme.CreateBlock(kBeAnd2ClassId);
    if (!gates[i]) return s;
  }
  Fixed* pwm = new Fixed(kBeSignalPwm);
  memcpy(pwm->outputs[0]->value, &kPeriod, 4);
  memcpy(pwm->outputs[0]->value + 4, &kDuty, 4);
  pwm->AttachToScheme(&s->scheme);
  Fixed* enable = new Fixed(kBeSignalBit);
  enable->outputs[0]->value[0] = 1;
  enable->AttachToScheme(&s->scheme);
  Link(pwm, gates[0], 0);
  for (int i = 0; i < n; ++i) {
    if (i > 0) Link(gates[i - 1], gates[i], 0);
    Link(enable, gates[i], 1);
  }
  s->segments[0].gate = gates[n - 1];
  s->complete = true;
  s->scheme.Start();
  return s;
}

// Nanoseconds per block step over kPasses passes.
double TimeScheme(Scheme* s, int blocks) {
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k) s->scheme.Step(1e-3f);
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(blocks) * kPasses);
}

// The floor: the same segments in a loop over arrays.
struct FloorSegment {
  int32_t spine[kSpineBlocks];
  uint8_t bit, notBit;
  uint8_t gateType, passType;
  uint8_t gate[8], pass[8];
  uint8_t positive, changed;
};
struct Floor {
  std::vector<FloorSegment> segments;
  int count = 0;
};

double TimeFloor(Floor* f, int blocks) {
  uint8_t pwm[8];
  memcpy(pwm, &kPeriod, 4);
  memcpy(pwm + 4, &kDuty, 4);
  double t0 = Now();
  for (int k = 0; k < kPasses; ++k) {
    uint32_t v = static_cast<uint32_t>(++f->count);
    for (FloorSegment& seg : f->segments) {
      v = ~v;
      memcpy(&seg.spine[0], &v, 4);
      uint32_t first = v;
      v &= kAndMask;
      memcpy(&seg.spine[1], &v, 4);
      v |= kOrMask;
      memcpy(&seg.spine[2], &v, 4);
      v = RotateLeft32(v, kRotation);
      memcpy(&seg.spine[3], &v, 4);
      v = (v & 0x80000000u) ? ~(~v >> 1) : v >> 1;
      memcpy(&seg.spine[4], &v, 4);
      memcpy(&seg.spine[5], &v, 4);  // AND with all ones
      memcpy(&seg.spine[6], &v, 4);  // OR with 0
      seg.bit = static_cast<uint8_t>((v >> kBit) & 1u);
      seg.notBit = seg.bit == 0 ? 1 : 0;
      if (seg.notBit) {
        seg.gateType = kBeSignalPwm;
        memcpy(seg.gate, pwm, 8);
      } else {
        seg.gateType = kBeSignalBit;
        memset(seg.gate, 0, 8);
      }
      seg.passType = seg.gateType;
      memcpy(seg.pass, seg.gate, 8);
      int32_t end, start;
      memcpy(&end, &v, 4);
      memcpy(&start, &first, 4);
      seg.positive = end > 0;
      seg.changed = end != start;
    }
  }
  double t1 = Now();
  return 1e9 * (t1 - t0) / (static_cast<double>(blocks) * kPasses);
}

// Whether the last segment of the scheme holds what the loop computed.
bool SameAsFloor(const Scheme* s, const Floor& f) {
  const Segment& seg = s->segments.back();
  const FloorSegment& fs = f.segments.back();
  for (int i = 0; i < kSpineBlocks; ++i)
    if (seg.spine[i]->outputs[0]->GetInt() != fs.spine[i]) return false;
  const BeOutputPin* gate = seg.gate->outputs[0];
  const BeOutputPin* pass = seg.pass->outputs[0];
  return seg.getBit->outputs[0]->value[0] == fs.bit && seg.notBit->outputs[0]->value[0] == fs.notBit &&
         gate->type == fs.gateType && memcmp(gate->value, fs.gate, 8) == 0 && pass->type == fs.passType &&
         memcmp(pass->value, fs.pass, 8) == 0 && seg.positive->outputs[0]->value[0] == fs.positive &&
         seg.changed->outputs[0]->value[0] == fs.changed;
}

}  // namespace

int main() {
  velkbench::LibraryCatalogue library;
  BeCatalogue& catalogue = library.catalogue;

  const int sizes[2] = {1000, 10000};
  Scheme* schemes[2];
  Scheme* gates[2];
  Floor floors[2];
  int blocks[2];
  for (int i = 0; i < 2; ++i) {
    schemes[i] = BuildScheme(&catalogue, sizes[i]);
    gates[i] = BuildGateChain(&catalogue, sizes[i]);
    if (!schemes[i]->complete || !gates[i]->complete) return 1;
    blocks[i] = static_cast<int>(schemes[i]->segments.size()) * kSegmentBlocks;
    floors[i].segments.resize(schemes[i]->segments.size());
  }
  double best[2] = {0, 0}, bestFloor[2] = {0, 0}, bestGates[2] = {0, 0};
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < 2; ++i) {
      double ns = TimeScheme(schemes[i], blocks[i]);
      if (round == 0 || ns < best[i]) best[i] = ns;
      ns = TimeFloor(&floors[i], blocks[i]);
      if (round == 0 || ns < bestFloor[i]) bestFloor[i] = ns;
      ns = TimeScheme(gates[i], sizes[i]);
      if (round == 0 || ns < bestGates[i]) bestGates[i] = ns;
    }
  }
  bool same = true;
  for (int i = 0; i < 2; ++i) {
    bool agree = SameAsFloor(schemes[i], floors[i]);
    const BeOutputPin* lastGate = gates[i]->segments[0].gate->outputs[0];
    bool passed = lastGate->type == kBeSignalPwm && memcmp(lastGate->value, &kPeriod, 4) == 0;
    same = same && agree && passed;
    printf("N = %5d (%d segments of %d blocks): %d passes, best of %d rounds: %.2f ns per block step; "
           "plain loop %.2f ns; ours / loop %.1f; %s\n",
           blocks[i], blocks[i] / kSegmentBlocks, kSegmentBlocks, kPasses, kRounds, best[i], bestFloor[i],
           best[i] / bestFloor[i], agree ? "the last segment agrees with the loop" : "THE LAST SEGMENT DIFFERS");
    printf("          PWM-passing AND chain of %d: %.2f ns per block step%s\n", sizes[i], bestGates[i],
           passed ? "" : " (THE SIGNAL DID NOT PASS)");
    schemes[i]->scheme.Stop();
    gates[i]->scheme.Stop();
    delete schemes[i];
    delete gates[i];
  }
  double ratio = best[1] / best[0];
  printf("ratio N = 10000 / N = 1000: %.2f (limit 1.50) %s; the AND chain alone %.2f (no limit)\n", ratio,
         ratio <= 1.5 ? "ok" : "OVER", bestGates[1] / bestGates[0]);
  if (!same) printf("a scheme and its loop disagree\n");
  return ratio <= 1.5 && same ? 0 : 1;
}
