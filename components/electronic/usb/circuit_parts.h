// Building a chip's application circuit: the parts and wires that a chip
// adds to its scheme when a database row is applied. The parts become the
// chip's children; the wires carry the board-part and auxiliary flags, so
// the scheme view keeps them.
#pragma once

#include <windows.h>

#include <initializer_list>

class CSCHBlock;
class SchJunction;
class SchScheme;
class SchWire;

// The flags of a circuit part shown on the board, and of wires, grounds and
// junctions.
const unsigned char kElecCircuitPartFlags = 0x0E;
const unsigned char kElecCircuitWireFlags = 0x0C;

// A new block of the class in the chip's scheme, made the chip's child and
// given the flags; null when the class cannot be created.
CSCHBlock* AddCircuitPart(CSCHBlock* chip, const char* className, unsigned char flags);

// A wire from pin pa of a to pin pb of b: end 0 joined first, then the
// polyline coordinates, then end 1 (where that fails with the polyline, the
// wire goes without it). Null, adding nothing, when either end cannot join.
SchWire* AddCircuitWire(SchScheme* scheme, CSCHBlock* a, int pa, CSCHBlock* b, int pb,
                        std::initializer_list<int> coords);
// A wire from pin pa of a to the junction, likewise.
SchWire* AddJunctionWire(SchScheme* scheme, CSCHBlock* a, int pa, SchJunction* j,
                         std::initializer_list<int> coords);
// A new junction of the scheme at (x, y) with the flags given.
SchJunction* AddCircuitJunction(SchScheme* scheme, int x, int y, unsigned char flags);

// Deletes a circuit added before: the circuit wires at the chip's own pins
// (junctions left with one wire go with them), then the children with the
// wires at their pins.
void DeleteCircuit(CSCHBlock* chip);

// A "Capacitor" child of the chip: the value (farads), kind (a negative
// kind keeps the class's default), symbol orientation 0, body size updated,
// board orientation 1 at (boardX, boardY) mm, symbol at (x, y) px, flags
// 0x0E. Null when the class cannot be created; a block of another class
// registered under the name gets only the place and flags.
CSCHBlock* AddCircuitCapacitor(CSCHBlock* chip, float farads, int kind, float boardX, float boardY, int x, int y);
