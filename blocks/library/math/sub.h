// CBESub ("Вычитание константы"): a signal minus a constant.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBESub : public CBEBlock {
public:
  // 100 x 20, one unnamed input and output, char, constant 1.
  CBESub();
  static CBEBlock* Create();

  // Without a link nothing. Otherwise, in the block's type, input - constant
  // (constant_cell.h): integers wrap, float is rounded to float, a double
  // block uses the float constant widened.
  void Step(float dt) override;
  // The type byte, the four bytes of the constant cell as held, then the
  // base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double.
  bool Load(CStream* stream) override;
  // "SUB %d" (char, short, int) or "SUB %0.2f" (float, double) with the
  // constant read in the type, centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles, ROM and the shared-routine flag by type.
  void UpdateCosts();
  BeSignalType GetType() const;
  // The constant read in the block's type.
  int32_t GetConstantInt() const;
  float GetConstantFloat() const;
  // The whole cell: an integer (all 32 bits) or a float.
  void SetConstantInt(int32_t value);
  void SetConstantFloat(float value);

  // Fields, in this order.
  uint32_t constant = 1;  // the 32-bit cell, read in the block's type
};
