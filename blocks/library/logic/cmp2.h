// CBECmp2 ("Сравнение двух сигналов"): two signals compared; the output is
// a bit.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBECmp2 : public CBEBlock {
public:
  // 100 x 40, inputs "A" and "B" of type char, one bit output, relation "=".
  CBECmp2();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // Each operand is an eight-byte cell of zeros that a linked input
  // replaces with its source's value copied in that source's width (bit and
  // char 1 byte, short 2, int and float 4, double 8): an unlinked operand is
  // 0. Both are read in the block's type and compared (relation.h); for bit
  // only "=" and "≠" are evaluated, the other relations write nothing, as a
  // relation above 5 does.
  void Step(float dt) override;
  // The type byte, the relation byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // bit..double; the relation byte is taken as stored.
  bool Load(CStream* stream) override;
  // The pentagon, then "A %s B" with the relation's symbol.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles, ROM and the shared-routine flag by type.
  void UpdateCosts();
  // The type the input pins carry.
  BeSignalType GetType() const;

  // Fields, in this order.
  unsigned char relation = 0;  // kRelationEqual ... kRelationGreaterOrEqual
};
