// The rectifier diode: conducts from anode to cathode with a fixed voltage
// drop and is open otherwise; burns out past its peak or smoothed reverse
// voltage or forward current.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Pins.
const int kElecDiodAnode = 0;
const int kElecDiodCathode = 1;

// Body shapes.
const unsigned char kElecDiodRectangular = 0;
const unsigned char kElecDiodCapsule = 1;

// The colour schemes: body and cathode band colours.
const int kElecDiodColorSchemes = 6;
extern const COLORREF kElecDiodBodyColors[kElecDiodColorSchemes];
extern const COLORREF kElecDiodBandColors[kElecDiodColorSchemes];

// The time constant (s) of the smoothed reverse voltage and forward current.
const float kElecDiodSmoothingTau = 0.3f;

class CSCHDiod : public CSCHBlock {
public:
  // 100 V, 0.2 A (0.45 A peak), 0.65 V; a capsule body 4.25 x 1.85 mm; a
  // 16 x 36 px symbol, the anode on top and the cathode at the bottom.
  CSCHDiod();

  // "Vrpm", "Vr", "If", "Ifprm", "Vf", "corpType", "width", "diam",
  // "legThink", "color", then the base fields, then UpdateBodySize.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  void Start() override;
  void Step(float dt) override;
  // Its own fields first (without the run-time ones), then the base block
  // record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Footprint: the body diameter wide, the body and eight lead thicknesses
  // long rounded down to the 2.54 mm pitch.
  void UpdateBodySize();

  // Fields, in this order.
  float peakReverseVoltage = 100;        // "Vrpm", V
  float continuousReverseVoltage = 100;  // "Vr", V, limit of the smoothed voltage
  float continuousForwardCurrent = 0.2f; // "If", A, limit of the smoothed current
  float peakForwardCurrent = 0.45f;      // "Ifprm", A
  float forwardVoltage = 0.65f;          // "Vf", V
  float smoothedCurrent = 0;             // run time
  float smoothedVoltage = 0;             // run time
  unsigned char bodyShape = kElecDiodCapsule;
  float bodyLength = 4.25f;     // mm
  float bodyDiameter = 1.85f;   // mm
  float leadThickness = 0.56f;  // mm
  signed char colorScheme = 1;  // 0 .. kElecDiodColorSchemes - 1
};

// Registry creator ("diod").
CSCHBlock* CreateCSCHDiod();
