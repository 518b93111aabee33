// The pulse record of the incremental encoders (on a motor shaft, on an
// actuator rod, or on their own): what an encoder output hands its net as
// the net's signal source, and the tick memory that fills it step by step.
#pragma once

#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/signal_source.h"

// Source kinds of the encoder outputs: channel A (or the single output) and
// channel B. Both point at the same record.
const int kDevPulseSourceA = kSchSourcePower7;
const int kDevPulseSourceB = kSchSourcePower8;

// The record keeps the edge count of the last step in its first word (where
// other sources keep their packet set) and the tick change of that step as
// its weight; the mixing weight of kinds 7 and 8 is fixed, so the weight
// field is free. A record with edges is never a packet set: readers look at
// the packets only for the packet kinds.
void SetPulseRecord(SchSignalSource* record, int edges, float ticks);
int GetPulseEdges(const SchSignalSource* record);
float GetPulseTicks(const SchSignalSource* record);

// The tick value of the previous step and its whole part.
struct PulseTickMemory {
  int lastCount;
  float lastValue;
};

// Clears the memory to tick value t (0 at Start), whose whole part is taken
// by truncation (Start of the actuator) or by floor (the steps).
void ResetPulseTicks(PulseTickMemory* memory, double t, bool truncate);

// One step of an encoder at tick value t: the edge count floor(t) - last
// count and the tick change t - last value, signed (A/B, the sign is the
// direction) or as magnitudes (single output), go into the record; t and
// floor(t) become the last values. Whole parts wrap in 32 bits as the
// stored int32 does. A t that is no finite number, or whose whole part is
// beyond 64 bits, counts nothing and keeps the memory.
void CountPulseTicks(PulseTickMemory* memory, double t, bool withSign, SchSignalSource* record);
