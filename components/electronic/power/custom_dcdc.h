// The isolated DC-DC converter modules. The input is a resistor that draws
// the outputs' power through the efficiency plus a no-load current; each
// output is a floating source between its plus and minus pins, scaled with
// the input when the module is not stabilised. Above its maximum input the
// converter burns out; below its minimum its outputs are off.
#pragma once

#include "scheme/model/block.h"

// Output types.
const unsigned char kElecDcdcSingle = 0;    // one output
const unsigned char kElecDcdcDual = 1;      // two outputs around a common centre pin
const unsigned char kElecDcdcSeparate = 2;  // two separate outputs
const unsigned char kElecDcdcLastType = kElecDcdcSeparate;

class CCustomDCDC : public CSCHBlock {
public:
  // A 150 x 200 px block named DCDC1, DCDC2 ...; the module family builds
  // the pins.
  CCustomDCDC();

  // "Umin", "Umax", "Unom", "Uout1", "Uout2", "Iout", "efficiency", "type",
  // "InoLoad", "stab", then the base fields; rebuilds the pins. A type
  // outside 0..2 becomes a single output.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Start() override;
  void Step(float dt) override;
  // The converter's own fields, then the base block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Makes the pins of the current type and sets the role indices.
  virtual void BuildPins() = 0;

  // Fields, in this order.
  float minimumInput = 9.0f;   // Umin
  float maximumInput = 36.0f;  // Umax
  float nominalInput = 12.0f;  // Unom
  float outputVoltage1 = 5.0f;
  float outputVoltage2 = 0;    // dual type: the "Vo-" pin against "com"
  float outputCurrent = 0.5f;  // Iout, the limit of each output
  unsigned char type = kElecDcdcSingle;
  unsigned char stabilised = 1;
  float efficiency = 67.0f;    // percent
  float noLoadCurrent = 0.01f; // amperes drawn at Unom without a load
  int inputPlus = -1, inputMinus = -1;
  int output1Plus = -1, output1Minus = -1;
  int output2Plus = -1, output2Minus = -1;

protected:
  // Whether the role indices name pins of the current pin array.
  bool PinsReady() const;
};
