// The capacitor: a two-pin part without an electrical model (its pins are
// not driven). It carries its value, a symbol with a value label, a board
// footprint (an electrolytic can sized from the standard capacitance and
// voltage table) and a card with a picture and a one-line description.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Capacitor kinds.
const int kElecCapacitorCeramic = 0;
const int kElecCapacitorElectrolytic = 1;
const int kElecCapacitorChip = 2;  // surface-mount 0805

// The body colours that the database's "color" 0..3 selects.
const int kElecCapacitorColorCount = 4;
extern const COLORREF kElecCapacitorColors[kElecCapacitorColorCount];

// Characters of the symbol's value label and of the card's texts.
const int kElecCapacitorLabelChars = 64;
const int kElecCapacitorCardChars = 128;

// The symbol's value label: "47.0пФ", "15.0нФ", "100.0мкф,6.3в" (an
// electrolytic below 10 V), "100.0мкф,16в", "1.0мкф".
void FormatCapacitorLabel(float capacitance, float voltage, int kind, wchar_t* text, int chars);
// The value alone, as the card shows it: "15.0нФ", "100.0мкф".
void FormatCapacitorValue(float capacitance, wchar_t* text, int chars);

// The diameter (mm) of an electrolytic can of that capacitance (farads) and
// rated voltage. Answers false, changing nothing, for a capacitance without
// a row in the table; otherwise the voltage is clamped into the row's range
// and the diameter set.
bool GetElectrolyticDiameter(float capacitance, float* voltage, float* diameter);

class CCapacitor : public CSCHBlock {
public:
  // 15 nF, 6.3 V, ceramic, blue; a 24 x 24 px symbol, a 3 x 5.08 mm
  // footprint, pin 1 on top and pin 2 at the bottom, both at offset 12.
  CCapacitor();

  // "C" with "units" (0 uF, 1 nF, 2 pF), "U", "type", "color", then the base
  // fields, then UpdateBodySize.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  // The card "Свойства" with the picture and description of its kind;
  // nothing is changed (false).
  bool Edit() override;
  // Its own fields first (flags with the orientation, capacitance, voltage,
  // kind, colour), then the base block record.
  void Save(CStream* stream) override;
  // Reads the voltage as a float when bit 7 of the flags is set, else as a
  // 32-bit integer (the older layout).
  void Load(CStream* stream) override;

  // Pin sides from the symbol orientation and the footprint from the kind;
  // an electrolytic capacitor's rated voltage is clamped to its row. Parts
  // that set the fields directly call it afterwards.
  void UpdateBodySize();
  void SetFootprintSize(float width, float length);

  // The card's description and picture file (null for a kind without one).
  void GetCardText(wchar_t* description, int chars, const wchar_t** picture) const;

  // Fields, in this order.
  float capacitance = 1.5e-8f;  // farads
  float ratedVoltage = 6.3f;    // volts
  int symbolOrientation = 0;    // quarter turns; odd values draw vertical plates
  int kind = kElecCapacitorCeramic;
  COLORREF bodyColor = RGB(85, 102, 255);
};

// Registry creator ("Capacitor").
CSCHBlock* CreateCCapacitor();
