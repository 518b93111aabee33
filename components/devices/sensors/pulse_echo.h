// The measurement cycle of the pulse-echo range finders (SEN136B5B and
// SRF-05): a falling trigger edge (or a trigger pulse source) starts a
// 0.04 s cycle, 0.01 s of low level followed by 0.03 s of the echo, a
// pulse-width signal whose duty is the distance over the full range.
#pragma once

#include "components/devices/sensors/range_finder.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"

class CSCHBlock;

// The length of one cycle and of its echo phase, seconds.
const float kPulseEchoCycle = 0.04f;
const float kPulseEchoPhase = 0.03f;
// The echo's period and the distance of a full duty.
const float kPulseEchoPeriod = 0.0232f;
const float kPulseEchoFullRange = 4.0f;
// The echo source of a new finder.
const float kPulseEchoInitialPeriod = 0.06f;
// Output levels sit 0.1 V inside the rails, behind the rail's resistance
// and 250 ohm.
const float kPulseEchoOutputOffset = 0.1f;
const float kPulseEchoOutputResistance = 250;
// The pulse-echo finders' supply: 5 V at 1.5 mA (SEN136B5B) or 4 mA (SRF-05).
const float kPulseEchoBurnAbove = 6.1f;
const float kPulseEchoWorksAbove = 3.7f;

// The fields of the cycle, in this order.
struct PulseEchoCycle {
  SchSignalSource echo;       // kind 0: the echo period (s) and duty (0..1)
  float cycleTimer;           // s left of the running cycle; > 0 while it runs
  unsigned char triggerArmed; // a plain high level was seen on the trigger
  float pulseTime;            // s counted against a trigger source's period
  unsigned char measured;     // the echo of the running cycle was filled
};

// A new finder's cycle: echo 0.06 s at duty 0, nothing measured.
void InitPulseEchoCycle(PulseEchoCycle* cycle);
// What Start clears: the timer, the armed trigger and the pulse time.
void ResetPulseEchoCycle(PulseEchoCycle* cycle);
float PulseEchoPeriod(const PulseEchoCycle& cycle);
float PulseEchoDuty(const PulseEchoCycle& cycle);

// Reads the trigger input (a level outside the rails by more than 0.5 V
// burns the finder: false) and, while no cycle runs, starts one on a
// falling edge after a high level, on every period of a trigger pulse
// source with a duty, or on a data source whose levels straddle the
// threshold.
bool DetectPulseEchoTrigger(CSCHBlock* finder, int pin, const RangeFinderSupply& supply, float dt,
                            PulseEchoCycle* cycle);

// Fills the echo once in the echo phase of a cycle: period 0.0232 s, duty
// d / 4 with d clamped to 4 m.
void FillPulseEcho(PulseEchoCycle* cycle, float distance);

// The echo line: released before any cycle and after it, low in the first
// 0.01 s, the echo signal in the last 0.03 s.
void DrivePulseEchoLine(CSCHBlock* finder, int pin, const RangeFinderSupply& supply, PulseEchoCycle* cycle);
// The same line held low instead of released outside the echo phase.
void DrivePulseEchoOutput(CSCHBlock* finder, int pin, const RangeFinderSupply& supply, PulseEchoCycle* cycle);
// The low level: Ug + 0.1 V behind Rg + 250 ohm.
void DrivePulseEchoLow(CSCHBlock* finder, int pin, const RangeFinderSupply& supply);

// Counts the running cycle down by dt.
void CountPulseEchoCycle(PulseEchoCycle* cycle, float dt);
