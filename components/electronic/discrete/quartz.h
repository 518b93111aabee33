// The quartz crystal: a two-pin part without an electrical model, with its
// frequency on the symbol and on its card.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Characters of the frequency label and of the card's description.
const int kElecQuartzLabelChars = 32;
const int kElecQuartzCardChars = 128;

class CQuartz : public CSCHBlock {
public:
  // 16 MHz; a 24 x 32 px symbol, a 4.65 x 11 mm footprint, pin 1 on top and
  // pin 2 at the bottom, both at offset 12.
  CQuartz();

  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  // The card "Свойства" with the package, frequency and price; nothing is
  // changed (false).
  bool Edit() override;
  // The base block record, then the frequency.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The card's description: "HC-49U" below 2 MHz, else "HC-49S".
  void GetCardText(wchar_t* description, int chars) const;

  float frequency = 16;  // MHz
};

// Registry creator ("Quartz").
CSCHBlock* CreateCQuartz();
