// Checks that a record can be read whole before a block's Load changes
// anything: the block then either takes all of the record or none of it.
#pragma once

class CStream;

// Whether the bytes from the stream's position hold a whole base record
// (CBEBlock::Save) for that many inputs and outputs: the rectangle, a
// zero-terminated caption of any length, the flags byte and the pins'
// fields. The position is the same afterwards.
bool BaseRecordReadable(CStream* stream, int inputCount, int outputCount);

// Moves past a zero-terminated UTF-16 string; false (the position then
// somewhere after where it was) when the stream ends before the terminator.
bool SkipStringW(CStream* stream);
