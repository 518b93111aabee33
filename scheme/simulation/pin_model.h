// The pin model.
//
// The simulation does not solve a circuit as a whole. Every pin is a
// Thevenin source (U behind R) that its component sets; every net keeps
// running sums of its pins' currents U/R and conductances 1/R, and a pin
// reads the rest of its net as the Thevenin equivalent of the sums minus its
// own contribution. A pin may also hand its net a data source: the net then
// carries a second pair of sums and the source, and readers see a mix of the
// two states weighted by the kind of the source.
//
// The pin operations themselves are members of CSCHBlock (scheme/model/block.h,
// defined in scheme/simulation/pin_model.cpp): SetPinSource, GetPinState, GetPinInput,
// SetPinState.
#pragma once

class CSCHBlock;
struct SchPinState;
struct SchSignalSource;

// Source kinds a net can carry. Components define further kinds of their own.
const int kSchSourceOwnWeight = 0;   // weight carried by the source (also "no source")
const int kSchSourceLogic = 1;       // logic level inside the logic gates
const int kSchSourcePower7 = 7;      // weight 0.03
const int kSchSourcePower8 = 8;      // weight 0.03
const int kSchSourceSerial = 10;     // serial data with packets (weight 0.75)
const int kSchSourceUsbHost = 11;    // the USB host side of a cable
const int kSchSourceUsb = 12;        // USB data (packets merged)
const int kSchSourceData13 = 13;     // packets merged
const int kSchSourcePacket = 15;     // packet data the logic gates treat like 10
const int kSchSourceEthernet = 17;   // data on an Ethernet cable
const int kSchSourceAntenna = 18;    // an antenna
const int kSchSourceContested = 29;  // two sources met and neither won

// Limits of the pin model.
const float kSchMinResistance = 1e-5f;     // smaller resistances are raised to it
const double kSchMinRestConductance = 2e-7;  // least rest conductance GetPinInput assumes
const float kSchOpenResistance = 5e6f;     // an unconnected or undriven pin

// The mixing weight of a source: 1 without a source; kind 0 the source's own
// weight; kinds 7 and 8 0.03; kind 10 0.75; every other kind 0.5.
float GetSourceWeight(int kind, const SchSignalSource* source);

// Mixes the two states of a data line as a reader with its own drive
// (ownU behind ownR) sees them; results through outU and outR (R >= 1e-5).
void CombineSourceState(float U, float R, float U2, float R2, float ownU, float ownR, int kind,
                        const SchSignalSource* source, float* outU, float* outR);

// U and R of a state: the mix of its pairs when it has a source, else its
// first pair.
void ResolvePinState(const SchPinState& state, float* U, float* R);

// Burn-out. Values are smoothed by explicit Euler steps with the part's own
// time constant and tested strictly against their limits.
//
//   load = SmoothBurnValue(load, power, dt, 0.5f);
//   if (BurnIfOver(this, load, 0.25f, L"%ls: сгорел от перегрева")) return;
//
// x + (target - x) * dt / tau; the target itself when tau is not positive.
float SmoothBurnValue(float x, float target, float dt, float tau);
// When value > limit: sets the burnt byte, appends the message (format
// holding one %ls for the instance name) to the simulation message log and
// answers true. A value equal to the limit passes.
bool BurnIfOver(CSCHBlock* block, float value, float limit, const wchar_t* format);
// What a burnt part does with its pins: 0 V behind 5,000,000 ohms on each.
void DriveBurntPins(CSCHBlock* block);
