// CBEDFlipFlop ("D-триггер"): takes its data input on a rising clock edge.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEDFlipFlop : public CBEBlock {
public:
  // 50 x 40, light green; inputs "D" and "C", output "Q", all bit; 8
  // cycles, 22 bytes of ROM.
  CBEDFlipFlop();
  static CBEBlock* Create();

  // Previous clock 0; output value eight zero bytes.
  void Start() override;
  // With "D" and "C" both linked: on a rising edge of the first byte of
  // C's source the output takes the eight bytes of D's source (its type
  // stays); the clock byte is kept for the next pass. Otherwise nothing.
  void Step(float dt) override;
  // The output type (1 byte), then the base record.
  void Save(CStream* stream) override;
  // Gives "D" the type read and runs UpdateCosts before the base record.
  // False, with the block as it was, for a cut record or a type byte
  // outside bit ... double.
  bool Load(CStream* stream) override;
  // The body and "T".
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Cycles and ROM by the output type (latch_type.h).
  void UpdateCosts();
  // What the dialog does with a new type (bit ... double): the output is
  // disconnected, "D" unlinked and both take the type, then UpdateCosts.
  // False, with nothing changed, for another type.
  bool SetDataType(BeSignalType type);
  BeSignalType GetType() const;

  // Fields, in this order.
  unsigned char previousClock = 0;
};
