// Time in the generators: parameters and run-time fields are float
// milliseconds, computed so that both widths round them alike.
#pragma once

#include <windows.h>

// A pass of dt seconds in milliseconds (dt x 1000, rounded to float).
float StepMilliseconds(float dt);
// a + b and a - b rounded to float.
float AddMilliseconds(float a, float b);
float SubtractMilliseconds(float a, float b);
// A phase above the period brought back into (0, period], where repeated
// subtraction of the period would end, in one step (fmod); a phase at or
// below the period, a period of 0 or less and values that are not finite
// are returned as they are.
float WrapPhase(float phase, float period);
// A period as the generators' dialogs store it: at least 10 divided by
// the processor frequency in Hz (a frequency of 0 or less: no floor).
float RaisePeriodToPassFloor(float period, float frequency);

// The blue pen of the generators' wave pictures.
const COLORREF kGeneratorWaveColor = 0xFF0000;
// The body colour of the one-shot and the pulse extender.
const COLORREF kPulseBlockFill = 0xCCFFCC;
