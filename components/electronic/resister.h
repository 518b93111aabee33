// The resistor: two pins joined through its actual resistance, burnt out by
// the dissipated power smoothed over 2 s. Drawn as a leaded part with colour
// bands, a leaded part with a plain body or a surface-mount chip.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Package classes.
const unsigned char kElecResisterBanded = 0;  // leaded, colour bands
const unsigned char kElecResisterLeaded = 1;  // leaded, plain body
const unsigned char kElecResisterChip = 2;    // surface-mount chip

// Entries of the colour table: 0-5 body colours, 6-15 the digits 0-9, then
// gold and silver.
const int kElecResisterBodyColors = 6;
const int kElecResisterDigitColor0 = 6;
const int kElecResisterGoldColor = 16;
const int kElecResisterSilverColor = 17;
const int kElecResisterColorCount = 18;
extern const COLORREF kElecResisterColors[kElecResisterColorCount];

// Characters of the value label buffer.
const int kElecResisterLabelChars = 54;

// The four bands of a nominal value and tolerance: colour table entries,
// -1 for a band without a colour (not drawn).
struct ResisterBands {
  int band[4];
};
ResisterBands GetResisterBands(float nominal, float tolerance);

// The value label: "10.0кОм", "22 Ом", "4.7Ом", "1.0МОм".
void FormatResisterLabel(float nominal, wchar_t* text, int chars);

class CSCHResister : public CSCHBlock {
public:
  // 10 kOhm, 0.25 W, 5 %, a 3.1 x 1.6 mm chip; the actual value drawn
  // within +-5 %.
  CSCHResister();

  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  void Start() override;
  void Step(float dt) override;
  // The base block record, then the fields of the record table below
  // (actual, nominal, tolerance, power, class, colour, colour code shown,
  // L, H, lead size).
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Footprint size from the package: H wide; L long for chips, L plus the
  // leads rounded up to the 2.54 mm pitch for leaded parts.
  void UpdateBodySize();

  // Fields, in this order.
  float actualResistance = 0;   // ohms, used in simulation
  float nominalResistance = 10000;  // ohms, printed and banded
  float powerRating = 0.25f;    // watts
  unsigned char packageClass = kElecResisterChip;
  float bodyLength = 3.1f;      // L, mm
  float bodyWidth = 1.6f;       // H, mm
  float leadSize = 0.5f;        // lead thickness or pad length, mm
  unsigned char bodyColor = 0;  // 0..5 in kElecResisterColors
  unsigned char colorCodeShown = 1;
  float tolerance = 5;          // percent
  float smoothedPower = 0;      // watts, run time only
};

// Registry creator ("Resister").
CSCHBlock* CreateCSCHResister();
