// What the hydraulic fittings (a T and a five-way block joining hydraulic
// lines) have in common: their pins, their class pictures and their nets.
#pragma once

#include <windows.h>

class CKestImage;
class CSCHBlock;

// Where a fitting's pin sits: the side and the offset along it.
struct HydraulicPinPlace {
  int side, offset;
};

// Gives the block n hydraulic pins at the places listed.
void MakeHydraulicPins(CSCHBlock* b, const HydraulicPinPlace* places, int n);

// Draws the class picture (loaded from the scheme icons on first use) at the
// block's left-top corner.
void PaintFittingPicture(CSCHBlock* b, HDC dc, CKestImage* picture, const wchar_t* file);

// Merges the nets of all the block's pins into the net of the first pin
// that has one; pins without a net are skipped.
void JoinAllPinNets(CSCHBlock* block);
