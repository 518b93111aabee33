// Setting the fields of a capacitor that a chip adds to its application
// circuit. The chip creates the capacitor by its registry name "Capacitor"
// and knows it only as a block: the fields go in through the capacitor's
// own record (flags byte with the symbol orientation, capacitance, rated
// voltage, kind byte, body colour, then the block record), which its Load
// reads and follows with its body-size update.
#pragma once

class CSCHBlock;

// Capacitor kinds.
const int kCapacitorCeramic = 0;
const int kCapacitorElectrolytic = 1;
const int kCapacitorChip = 2;

// Sets capacitance (farads), rated voltage (volts), symbol orientation
// (quarter turns, 0-3) and kind of a capacitor that has no wires yet,
// keeping its colour, name and place. False, changing nothing, when the
// block's record does not have the capacitor's layout.
bool SetCapacitorFields(CSCHBlock* capacitor, float farads, float volts, int orientation, int kind);
