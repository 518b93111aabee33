// The application circuit an AVR microcontroller adds around itself when a
// database model is applied: the crystal with its load capacitors (clock
// above 1 MHz), a ground symbol on every ground pin and the programming
// header wired to its pins. The parts become the chip's children.
#pragma once

class CAVR;

// The load capacitors of the crystal, farads.
const float kUnitAvrLoadCapacitance = 1.5e-11f;
// The flags of the crystal's grounds and junctions.
const unsigned char kUnitAvrCrystalGroundFlags = 0x04;
// How far right the chip's symbol moves to make room for the crystal, and
// the highest top it keeps then.
const int kUnitAvrCrystalShift = 120;
const int kUnitAvrCrystalTop = 100;

// The crystal pins X1 and X2 of the package (0-based); false for a pin
// count without a table.
bool GetAvrCrystalPins(int pinCount, int* x1, int* x2);

// Deletes what an earlier call added (the children and the circuit wires
// at the chip's pins), then adds the circuit for the chip's model.
void AddAvrApplicationCircuit(CAVR* chip);
