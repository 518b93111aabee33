// Checks that a record can be read whole before a block's Load changes
// anything: the block then either takes all of the record or none of it.
#pragma once

class CStream;

// Whether a whole base record follows: BaseRecordFollows (base_record.h).

// Moves past a zero-terminated UTF-16 string; false (the position then
// somewhere after where it was) when the stream ends before the terminator.
bool SkipStringW(CStream* stream);
