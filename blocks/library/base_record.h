// Records that hold the common block record (CBEBlock::Save) with fields of
// the class before or after it. Load checks every field before it changes
// the block, so the class measures the base record first: whether the
// stream holds it whole, and where the fields after it begin.
#pragma once

class CBEBlock;
class CStream;

// The bytes of the base record that begins at the stream's position, for a
// block with that many inputs and outputs: rectangle, caption up to its
// terminator, flags, the inputs' links and routes, the outputs' identities.
// -1 when the stream ends inside it or a count is negative. The position
// is kept.
int MeasureBaseRecord(CStream* stream, int inputCount, int outputCount);

// Whether a whole base record begins at the stream's position.
bool BaseRecordFollows(CStream* stream, int inputCount, int outputCount);

// For a record whose base record comes first: moves the position past the
// base record (false, position kept, when the stream ends inside it), so
// the class's own fields can be read and checked before anything changes.
bool SkipBaseRecord(CStream* stream, int inputCount, int outputCount);

// Reads the base record at the position into the block (CBEBlock::Load).
// A measured record fails only when memory for the caption is refused; the
// block then keeps its rectangle and caption.
bool LoadBaseRecord(CBEBlock* block, CStream* stream);
// The same for the base record that begins at `at`; the position is put
// back where it was afterwards.
bool LoadBaseRecordAt(CBEBlock* block, CStream* stream, int at);
