// What the typed blocks of the library share: their data type on their
// pins, its change as the property dialogs make it, the type byte and the
// room of the base record in their records, and costs by type.
#pragma once

#include "blocks/engine/block.h"  // KeepIfPinsMade
#include "blocks/engine/signal_type.h"
#include "blocks/library/base_record.h"

class CBEBlock;
class BeInputPin;
class BeOutputPin;
class CStream;

// Gives every input and every output of the block the type, keeping the
// links (a record being read; a type taken from a linked source).
void SetPinTypes(CBEBlock* block, BeSignalType type);

// A type change as a property dialog makes it: an input whose type differs
// loses its link, an output whose type differs is disconnected
// (BeOutputPin::Disconnect), then the pin takes the type.
void ChangeInputType(BeInputPin* input, BeSignalType type);
void ChangeOutputType(BeOutputPin* output, BeSignalType type);
// Both, for every input and output of the block.
void ChangeBlockType(CBEBlock* block, BeSignalType type);

// Reads a type byte that must name char to double; false (the stream
// position is then past what was read) for a cut record or another code.
bool ReadDataTypeByte(CStream* stream, BeSignalType* type);
// Whether the bytes left can hold a base record (CBEBlock::Save) with an
// empty caption for that many inputs and outputs: a record that cannot is
// refused before the block changes.
bool BaseRecordCanFollow(CStream* stream, int inputCount, int outputCount);
// Measuring, skipping and reading the base record: base_record.h.

// The rest of the Load of a block whose pins all carry its type, once the
// type is read and checked: every pin takes the type, then the base record
// is read; when it is refused, every pin takes back the type was. The
// block's costs are the caller's.
bool LoadBaseWithType(CBEBlock* block, CStream* stream, BeSignalType type, BeSignalType was);

// One row of a cost table by type (char, short, int, float, double).
struct BeTypeCost {
  int cycles;
  int rom;
  bool shared;  // the shared-routine flag
};
// Sets the block's cycles, ROM and, with setsShared, its shared-routine flag
// from the row of the type; codes outside char..double leave all three as
// they were. costs holds five rows, char first.
void ApplyTypeCost(CBEBlock* block, const BeTypeCost* costs, BeSignalType type, bool setsShared);
