// What the "Цифровые" blocks share: their body colour, the place of their
// symbol letter, and the data types of the multiplexer and demultiplexer.
#pragma once

#include <windows.h>

#include "blocks/engine/signal_type.h"

const COLORREF kDigitalFill = 0xCCFFCC;
// The symbol letter's top-left corner from the block's top-left corner.
const int kDigitalSymbolX = 30;
const int kDigitalSymbolY = 4;

// The data types the multiplexer and demultiplexer offer, in the order of
// their dialogs: bit ... double by name, then the message types.
const int kSwitchDataTypeCount = 18;
extern const BeSignalType kSwitchDataTypes[kSwitchDataTypeCount];
bool IsSwitchDataType(int code);
// Their channel counts, and the height per channel.
const int kSwitchMinChannels = 2;
const int kSwitchMaxChannels = 127;
const int kSwitchChannelPitch = 30;

// The letter at the symbol's place of a block's rectangle, in black, in
// the DC's font.
void DrawDigitalLetter(HDC dc, const RECT& rect, const wchar_t* letter);
