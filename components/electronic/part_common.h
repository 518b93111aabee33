// What the electronic components share: the manufacturing spread of their
// values and the burn-out test of their smoothed loads.
#pragma once

class CSCHBlock;

// The largest number DrawSpreadNumber answers.
const int kElecSpreadNumberMax = 32767;

// A pseudo-random integer from 0 to 32767 for the manufacturing spread of a
// part's value. One sequence for the program, started at a fixed seed.
int DrawSpreadNumber();

// Whether a smoothed value breaks its limit: above it (a value equal to the
// limit passes), or not a finite number, or the limit itself is not a
// number (a part whose database row gave nonsense never passes quietly).
bool LimitViolated(float value, float limit);

// When LimitViolated: sets the burnt byte, appends the message (format with
// one %s for the instance name, "" for a part without a name) to the
// simulation message log and answers true.
bool BurnOnViolation(CSCHBlock* block, float value, float limit, const wchar_t* format);
