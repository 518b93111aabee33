// CBETwoOperandBlock: a result of two signals A and B in the block's type,
// the common part of CBESub2, CBEMul2 and CBEDiv2.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/typed_block.h"

class CBETwoOperandBlock : public CBEBlock {
public:
  // In the block's type, the result of the operands (operand_cell.h; an
  // unlinked operand is the class's neutral value): integers through
  // CombineIntegers, float and double through Combine, float rounded to
  // float.
  void Step(float dt) override;
  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double.
  bool Load(CStream* stream) override;
  // The class's caption centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles, ROM and the shared-routine flag by type.
  void UpdateCosts();
  BeSignalType GetType() const;

  // What tells the classes apart.
  struct Traits {
    int width;                // of the body; 40 high
    int neutral;              // the value of an unlinked operand
    const BeTypeCost* costs;  // char, short, int, float, double
    const wchar_t* caption;
    unsigned int classId;
  };

protected:
  // width x 40, inputs "A" and "B", one unnamed output, char.
  explicit CBETwoOperandBlock(const Traits& traits);

  // The integer result of a and b, wrapped to 32 bits.
  virtual uint32_t CombineIntegers(int32_t a, int32_t b) const = 0;
  // The float or double result of x and y.
  virtual double Combine(double x, double y) const = 0;

private:
  const Traits& traits_;
};
