// The block catalogues of the programmable units: one per kind of unit (the
// on-board computer, the control-panel computer, the microcontroller),
// built when the first unit of the kind is made and kept until the process
// ends. Group 0 is hidden and holds the device blocks that only the unit
// makes; groups 1 to 9 are the common palette groups; each kind adds its
// own entries and tabs after them.
#pragma once

class BeCatalogue;
class BeBlockCreatorTable;

// Fill catalogue (emptied first) with the entries of the kind: group 0's
// device entries, the common groups, then the kind's own entries and tabs.
// An entry whose class has no creator (neither the units' layers nor
// creators know it) is left out; a tab of the kind is appended even when
// none of its classes exists yet, so the tabs keep their places. False when
// memory ran out.
bool FillBoardComputerCatalogue(BeCatalogue* catalogue, const BeBlockCreatorTable& creators);
bool FillPultComputerCatalogue(BeCatalogue* catalogue, const BeBlockCreatorTable& creators);
bool FillAvrCatalogue(BeCatalogue* catalogue, const BeBlockCreatorTable& creators);

// Build the kind's program-wide catalogue from the program's creator table
// (BeBlockCreatorTable::Program()) unless it is built already.
void BuildBoardComputerPalette();
void BuildPultComputerPalette();
void BuildAvrPalette();

// The kind's program-wide catalogue; null before its builder ran (or when
// memory ran out for it).
BeCatalogue* GetBoardComputerCatalogue();
BeCatalogue* GetPultComputerCatalogue();
BeCatalogue* GetAvrCatalogue();
