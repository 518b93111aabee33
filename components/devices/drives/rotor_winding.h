// The rotor winding of the DC motor and of the linear actuator: a back-EMF
// source behind the winding's resistance and inductance between two pins.
// The current follows its target with the circuit's electrical time
// constant; the mean of its magnitude heats the winding until it burns.
#pragma once

class CSCHBlock;

// What a winding is made of.
struct RotorWindingModel {
  float resistance;   // ohm
  float inductance;   // H
  float heatingTime;  // s, time constant of the heating current
  float burnCurrent;  // A, the heating current above which it burns
  bool flushTiny;     // a current below 1e-20 A in magnitude becomes 0
};

// What a winding keeps between steps.
struct RotorWindingState {
  float current;  // A, positive from the second pin to the first
  float heating;  // A, the smoothed magnitude of the current
};

// The rest of the two winding nets, as one step reads them.
struct RotorWindingNets {
  float U0, R0;
  float U1, R1;
};

// Reads the nets of pins 0 and 1.
RotorWindingNets ReadWindingNets(const CSCHBlock* block);

// Moves the current towards (U1 - U0 - E) / (R + R0 + R1) over dt with the
// time constant L / (R + R0 + R1), taken as dt when dt is longer than a
// third of it (the current then jumps to its target), and the heating
// current towards the current's magnitude. A dt that is not positive
// changes neither. Answers true when the heating current has passed the
// burn current (the caller reports the burn and drives nothing more).
bool AdvanceWinding(const RotorWindingModel& model, const RotorWindingNets& nets, float E, float dt,
                    RotorWindingState* state);

// Drives pin 0 as U1 - E and pin 1 as U0 + E, each behind the other side's
// rest plus the winding's effective resistance
// (|U1 - U0 - E| * 100000 + R) / (|current| * 100000 + 1).
void DriveWinding(CSCHBlock* block, const RotorWindingModel& model, const RotorWindingNets& nets, float E,
                  float current);

// a / b, or 0 when b is 0 or the quotient is no finite number: the guarded
// division of database values.
float GuardedQuotient(float a, float b);
