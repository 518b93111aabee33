// CBEShiftBlock: an integer signal shifted left or right by a fixed count,
// logically, arithmetically or cyclically (shift_rule.h); the common part
// of CBEShl and CBEShr.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEShiftBlock : public CBEBlock {
public:
  // Without a link nothing. Otherwise the linked value, read in the width
  // of the block's type, shifted left (right) by the count in the block's kind
  // (ShiftValue) and stored in that width.
  void Step(float dt) override;
  // The type byte, the count byte, the kind byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a type outside
  // char..int, a count outside 1..31 or an unknown kind.
  bool Load(CStream* stream) override;
  // "<< %d" (">> %d") with the count, centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by type, count and kind (ApplyShiftCosts).
  void UpdateCosts();
  // The type the input pin carries.
  BeSignalType GetType() const;

  // Fields, in this order.
  unsigned char count = 1;  // 1 to 31
  unsigned char kind = 0;   // kShiftLogical, kShiftArithmetic, kShiftCyclic

protected:
  // 80 x 20, one unnamed input and output, char, count 1, logical.
  CBEShiftBlock(bool right, unsigned int classId);

private:
  bool right_;
  unsigned int classId_;
};
