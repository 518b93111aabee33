// Wiring helper shared by the benchmarks that build large schemes without the editor.
#pragma once

#include "scheme/model/block.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace velkbench {

// Joins pin pa of a to pin pb of b with a new wire owned by s.
inline void Join(SchScheme* s, CSCHBlock* a, int pa, CSCHBlock* b, int pb) {
  SchWire* w = new SchWire(s);
  CSCHBlock* blocks[2] = {a, b};
  int pins[2] = {pa, pb};
  for (int e = 0; e < 2; e++) {
    w->endKind[e] = kSchWireEndPin;
    w->ends[e].target = blocks[e];
    w->ends[e].index = pins[e];
    blocks[e]->pins[pins[e]].wire = w;
    blocks[e]->pins[pins[e]].wireEnd = static_cast<unsigned char>(e);
  }
}

}  // namespace velkbench
