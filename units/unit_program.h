// What the programmable units share: the program (a block scheme) that a
// unit owns, sets up on its kind's catalogue, edits in a block-diagram
// editor, stores inside its own record and runs from its own steps.
#pragma once

class BeCatalogue;
class BeScheme;
class CSCHBlock;
class CStream;

// The processor frequency of the computers' programs.
const float kUnitComputerFrequency = 1.3e9f;

// Sets up an empty program on catalogue (BeScheme::Init) and makes unit its
// owner component, through which the device blocks reach the unit's pins.
void InitUnitProgram(BeScheme* program, BeCatalogue* catalogue, CSCHBlock* unit);

// Opens one more block-diagram editor on the program (the program's block
// host), titled with the unit's instance name. Always false: the circuit
// does not change.
bool EditUnitProgram(CSCHBlock* unit, BeScheme* program);

// The program's "BE5 " stream, every block.
void WriteUnitProgram(BeScheme* program, CStream* stream);
// Reads the program's "BE5 " stream into it. The stream carries no length,
// so a program that cannot be read whole leaves nothing to read the rest of
// the unit's record from: the program stays as it was and the read of the
// scheme that holds the unit is marked broken (it then fails and keeps
// nothing). False in that case.
bool ReadUnitProgram(BeScheme* program, CStream* stream);
