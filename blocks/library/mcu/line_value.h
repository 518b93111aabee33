// The data lines of the microcontroller's peripherals in pin values. A
// peripheral's line output carries its signal source (its outgoing packet
// set and a 0 weight); a pin block stores it and the microcontroller puts it
// on the chip's pin; a receiving line reads the source that the
// microcontroller read from a pin. In the eight value bytes the source is
// named by a payload handle in bytes 4-7 (BePayloadTable), bytes 0-3 hold 0,
// so the value has the same bytes at both widths and a source that has gone
// reads as no data.
#pragma once

#include "blocks/engine/payload_table.h"
#include "blocks/engine/signal_type.h"
#include "scheme/simulation/signal_source.h"

class CBEBlock;

// The line types the peripherals' pins carry.
const BeSignalType kMcuLineRs232 = 10;
const BeSignalType kMcuLineSda = 13;
const BeSignalType kMcuLineScl = 14;
const BeSignalType kMcuLineSpi = 15;
const BeSignalType kMcuLineSck = 16;

// Writes the source into the value: *handle is registered for the owner
// (again when a run's end released it, or when it names another source),
// then bytes 0-3 become 0 and bytes 4-7 the handle. A source that cannot be
// registered (the table is full) gives an empty value.
void PutLineSource(unsigned char* value, SchSignalSource* source, const CBEBlock* owner, BePayloadHandle* handle);
// The source a line value names; null for none or a stale handle.
SchSignalSource* LineSourceOf(const unsigned char* value);
// The packet set a line value names; null for none.
SchPacketSet* LinePacketsOf(const unsigned char* value);
