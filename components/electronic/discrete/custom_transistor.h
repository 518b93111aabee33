// The base of the transistors: the package data and the board footprint,
// and the hand-over of a data source between the pins. Never created by
// itself.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

struct SchPinState;

// Package forms.
const unsigned char kElecTransistorRectangle = 0;
const unsigned char kElecTransistorTwoColour = 1;
const unsigned char kElecTransistorCan = 2;
const unsigned char kElecTransistorFlatCan = 3;  // round with a flat chord on the -y side

// The body colour tables (index = body colour).
const int kElecTransistorColorCount = 4;
extern const COLORREF kElecTransistorBodyColors[kElecTransistorColorCount];
extern const COLORREF kElecTransistorSecondColors[kElecTransistorColorCount];
extern const COLORREF kElecTransistorLeadColor;

// What a transistor's pins hold in a step: the control pin and the two
// pins a data source passes between.
struct TransistorPins {
  SchPinState* control;
  SchPinState* first;   // bipolar: emitter; field-effect: source
  SchPinState* second;  // bipolar: collector; field-effect: drain
};

class CSCHCustomTransistor : public CSCHBlock {
public:
  // "VT" parts with a 31 x 31 px symbol; the footprint is sized by
  // UpdateBodySize.
  CSCHCustomTransistor();

  // The base fields, then "form", "length", "width", "radiator",
  // "radColor", "piping", "color", "legWidth", "legStep", then
  // UpdateBodySize.
  void ApplyDbRecord(CompDbRecord* record) override;
  void PaintFootprint(PcbPainter* painter) override;
  // The base block record, then the package fields.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Footprint: body length wide (x), body width long (y).
  void UpdateBodySize();

  // Lets one foreign data source pass between the pins (see the source file)
  // and answers the share of the current that the first pair carries. A
  // bipolar transistor also folds its base when the source passes between
  // the emitter and the collector.
  float HandOverSource(const TransistorPins& pins, float threshold, bool bipolar,
                       bool secondFirstInFolding);

  // Fields, in this order.
  unsigned char form = kElecTransistorRectangle;
  float bodyLength = 5;   // mm, x
  float bodyWidth = 5;    // mm, y
  float tabSize = 0;      // mm, heat-sink tab along the +y edge
  unsigned char tabColor = 0;  // non-zero: in the lead colour
  float rim = 0;          // mm, inset of a second outline
  unsigned char bodyColor = 0;  // 0 .. kElecTransistorColorCount - 1
  float leadLength = 0;   // mm beyond the body edge
  float leadPitch = 0;    // mm; negative: two leads, positive: three
  float lastSourceWeight = 0;  // the previous step's hand-over; kept across runs
};

// The instance name of a transistor symbol: black, its right end at
// left + 20, its top 2 px below the symbol.
void PaintTransistorName(CSCHBlock* block, HDC dc);
