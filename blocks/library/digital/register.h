// CBERegister ("Регистр"): transparent while writing is enabled, holding
// its value otherwise.
#pragma once

#include "blocks/library/digital/latch_block.h"

class CBERegister : public CBELatchBlock {
public:
  // 50 x 40, light green; inputs "D" and "W", output "Q", all bit; 4
  // cycles, no ROM (the cost table applies from the first load or dialog).
  CBERegister();
  static CBEBlock* Create();

  // Output value eight zero bytes.
  void Start() override;
  // With "D" and "W" linked and any of the first four bytes of W's source
  // set, the output takes the type and the eight bytes of D's source.
  void Step(float dt) override;
  // The body and "reg".
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;
};
