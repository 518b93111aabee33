// CBEConstantOperand: a signal plus or minus a constant, the common part of
// CBEAdd and CBESub.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/typed_block.h"

class CBEConstantOperand : public CBEBlock {
public:
  // Without a link nothing. Otherwise, in the block's type, input + constant (- constant)
  // (constant_cell.h): integers wrap, float is rounded to float, a double
  // block uses the float constant widened.
  void Step(float dt) override;
  // The type byte, the four bytes of the constant cell as held, then the
  // base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double.
  bool Load(CStream* stream) override;
  // "ADD %d" (char, short, int) or "ADD %0.2f" (float, double), or SUB, with the
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

  // What tells the classes apart.
  struct Traits {
    const BeTypeCost* costs;  // char, short, int, float, double
    int sign;                 // +1 adds the constant, -1 subtracts it
    const wchar_t* word;      // of the caption
    unsigned int classId;
  };

protected:
  // 100 x 20, one unnamed input and output, char, constant 1.
  explicit CBEConstantOperand(const Traits& traits);

private:
  const Traits& traits_;
};
