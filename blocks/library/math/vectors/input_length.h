// The length of the vector on a block's inputs, as the length and the
// normalisation blocks compute it: each linked input squared and summed in
// the type's own precision (float rounds after every product and sum), then
// the square root; unlinked inputs count as absent.
#pragma once

class CBEBlock;

float FloatInputLength(const CBEBlock* block);
double DoubleInputLength(const CBEBlock* block);
