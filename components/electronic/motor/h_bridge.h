// What the H-bridge motor drivers share: PWM sources on their outputs, the
// reading of a logic input as a level or a PWM signal, and the node model
// of one full bridge (two half-bridges of 0.3 ohm switches between the
// supply side and the current-sense side).
#pragma once

#include "scheme/simulation/signal_source.h"

class CSCHBlock;

// A PWM source (kind 0): the first word holds the period p in seconds as a
// float, the weight is the duty d (0 to 1).
void SetPwmSource(SchSignalSource* source, float period, float duty);
float GetPwmPeriod(const SchSignalSource* source);

// The shortest PWM period an input follows; a shorter one reads as duty 0.
const float kElecLeastPwmPeriod = 1.0f / 30000;
// The period of a steady input.
const float kElecSteadyPeriod = 0.7f;

struct PwmReading {
  float duty;
  float period;
};

// Reads a logic input against the ground voltage Ug: a level, data (duty
// 0.3 and dataPeriod), or the duty and period of a foreign PWM source (an
// inverted signal, second pair higher, reads 1 - d). False, when either
// pair lies outside [-0.8 V, 7 V] (the caller burns).
bool ReadPwmInput(const CSCHBlock* block, int pin, float Ug, float steadyHighPeriod, float dataPeriod,
                  PwmReading* out);

// One bridge.
struct BridgePins {
  int supply, ground, sense, out1, out2;
};

struct BridgeDrive {
  float Rz;            // quiescent resistance
  float high[2];       // high-side shares h1, h2
  float low[2];        // low-side shares l1, l2
  float maximum;       // chip voltage above: burn
  float working;       // chip voltage above: the outputs are driven
  // Output resistance: scale / (rest of the node) with scale > 0, or
  // 5e6 ohms (high impedance) when scale is 0.
  float resistanceScale;
  bool driveSense;     // false: the caller drives the sense pin
};

// What a bridge step leaves for the caller.
struct BridgeResult {
  float senseU, senseR;  // the sense drive (0 V behind 5e6 ohms when released)
  bool senseReleased;
};

// Steps 1 to 7 of one bridge; the PWM sources of the outputs must already
// hold their periods and duties. False, changing no output, when the chip
// voltage is above the maximum or not a number (the caller burns).
bool StepBridge(CSCHBlock* block, const BridgePins& pins, const BridgeDrive& drive, SchSignalSource* source1,
                SchSignalSource* source2, BridgeResult* result);
