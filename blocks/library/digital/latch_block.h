// What the D flip-flop and the register share: one data type, bit ...
// double, held by their output and their "D" input (input 0), with the
// cycles and ROM it costs, and the record that starts with it.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CStream;

class CBELatchBlock : public CBEBlock {
public:
  // 50 x 40, light green; inputs "D" ("Данные") and the gate, output "Q"
  // ("Выходные данные"), all bit.
  CBELatchBlock(const wchar_t* gateName, const wchar_t* gateDescription);

  // bit ... double.
  static bool IsLatchType(int code);

  // The output type (1 byte), then the base record.
  void Save(CStream* stream) override;
  // Gives the output and "D" the type read and runs UpdateCosts before the
  // base record. False, with the block as it was, for a cut record or a
  // type byte outside bit ... double.
  bool Load(CStream* stream) override;

  // Cycles and ROM by the output type: bit and char 8 / 22, short 9 / 24,
  // int and float 11 / 28, double 15 / 36.
  void UpdateCosts();
  // What the dialog does with a new type (bit ... double): the output is
  // disconnected, "D" unlinked and both take the type, then UpdateCosts.
  // False, with nothing changed, for another type.
  bool SetDataType(BeSignalType type);
  BeSignalType GetType() const;
};
