// CBEJoyToLR ("Пересчет координат джойстика в сигнал для левого и правого
// привода"): joystick coordinates to the commands of a left and a right
// drive.
#pragma once

#include "blocks/engine/block.h"

class CBEJoyToLR : public CBEBlock {
public:
  // 120 x 40, white; float inputs "x", "y", char outputs "L", "R"; 650
  // cycles, 80 ROM bytes, a shared routine.
  CBEJoyToLR();
  static CBEBlock* Create();

  // l = y + x and r = y - x in float (inputs unlinked read 0), each held
  // within -1..1; "L" and "R" get l·127 and r·127 truncated toward zero.
  void Step(float dt) override;
  // The body and "Joy->Лев.Пр." centred.
  void Draw(HDC dc) override;
  // The base record; false, with the block as it was, for a cut one.
  bool Load(CStream* stream) override;
};
