// CBEConstant ("Константа"): an output whose type and value the user sets.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

// The type byte a record stores for a double constant (8 value bytes follow).
const unsigned char kConstantDoubleTypeByte = 128;

class CBEConstant : public CBEBlock {
public:
  // 80 x 20, one bit output "Значение константы" holding 0; no costs until
  // a record is loaded or the dialog is confirmed.
  CBEConstant();
  static CBEBlock* Create();

  // The type byte (the output type, 128 for double), the first four value
  // bytes (all eight for double), then the base record.
  void Save(CStream* stream) override;
  // Type byte 128 is double with eight value bytes; another concrete type
  // code (0 to 36) is that type with four value bytes, the other four kept.
  // False, with the block as it was, for a cut record or a type byte that
  // no output can carry. Runs UpdateCosts.
  bool Load(CStream* stream) override;
  // The body and the value centred in it: bit as 0 or 1, char, short and
  // int as signed decimals in their width, float and double with "%3.3g"
  // when nonzero and above 990000 or below 0.0001 in magnitude, otherwise
  // "%0.3f"; other types an empty text.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by the output type (bit 3 / 2, char 1 / 2, short 2 / 4,
  // int and float 4 / 8, double 8 / 16); other types keep them.
  void UpdateCosts();
  // What the dialog stores: the type (1 to 6) and the value parsed from the
  // text (bit: "1" gives 1, any other text 0; char, short, int: an integer
  // into the first four bytes; float, double: a number; what does not parse
  // gives 0), then UpdateCosts. The output keeps its links. False, with
  // nothing changed, for another type.
  bool SetValueFromText(BeSignalType type, const wchar_t* text);
  BeSignalType GetType() const;
  // The text Draw shows, into a buffer of that many characters.
  void FormatValue(wchar_t* text, int chars) const;
};
