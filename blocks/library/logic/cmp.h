// CBECmp ("Сравнение с константой"): a signal compared with a constant; the
// output is a bit.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBECmp : public CBEBlock {
public:
  // 115 x 30, one unnamed input of type char, one bit output, constant all
  // zero, relation "=".
  CBECmp();
  static CBEBlock* Create();

  // Without a link nothing. Otherwise A, the linked value, and B, the
  // constant, both read in the block's type (bit unsigned, char to int
  // signed, float and double real): the output byte is 1 when A relation B
  // holds, else 0 (relation.h); a relation above 5 writes nothing.
  void Step(float dt) override;
  // The type byte, the eight bytes of the constant, the relation byte, then
  // the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // bit..double; the relation byte is taken as stored.
  bool Load(CStream* stream) override;
  // The pentagon, then "%s %d" with the relation's symbol and the constant
  // as a signed integer of the type (bit and char the first byte), or
  // "%s %0.2f" with the constant as a real number (float, double).
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles, ROM and the shared-routine flag by type (none for bit).
  void UpdateCosts();
  // The type the input pin carries.
  BeSignalType GetType() const;
  // The constant cell as the dialog fills it: an integer into the first
  // four bytes, a float into the first four, a double into all eight; the
  // other bytes are cleared.
  void SetConstantInt(int32_t value);
  void SetConstantFloat(float value);
  void SetConstantDouble(double value);

  // Fields, in this order.
  unsigned char constant[8] = {};  // read in the block's type
  unsigned char relation = 0;      // kRelationEqual ... kRelationGreaterOrEqual
};
