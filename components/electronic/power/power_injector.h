// What the PoE and RF injectors share: four pins (the cable in and out, the
// DC supply's minus and plus) and a step that puts the supply onto the
// "out" cable and hands the data through.
#pragma once

#include "scheme/model/block.h"

// Pins.
const int kElecInjectorIn = 0;
const int kElecInjectorOut = 1;
const int kElecInjectorMinus = 2;
const int kElecInjectorPlus = 3;

// Sets the type text, the symbol size (width x 30 px) and the four pins of
// the cable kind, and spaces them.
void BuildInjectorPins(CSCHBlock* block, const wchar_t* typeText, int width, int cableKind,
                       const wchar_t* inDescription, const wchar_t* outDescription);

// One step of an injector: the supply sees the cable's load between its
// pins, the "out" cable net's first current sum carries the delivered
// voltage, and the data source passes from the side that has one to the
// other.
void StepPowerInjector(CSCHBlock* block);

// Draws text centred horizontally on the block, its top at y.
void PaintCentredText(HDC dc, const RECT& rect, int y, const wchar_t* text);
