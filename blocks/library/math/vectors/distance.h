// CBEDistance ("Расстояние между точками"): the distance between the points
// A and B of 2 to 127 dimensions: d inputs "A", then d inputs "B".
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEDistance : public CBEBlock {
public:
  // 120 x 100, d = 2 (inputs at 10, 30 for A and 60, 80 for B, the output
  // at 50), float.
  CBEDistance();
  // Null when the block or its pins could not be made.
  static CBEBlock* Create();

  // By the block's type, over j = 0 .. d-1 with an unlinked component
  // counting 0. char, short and int: the sum of (A_j - B_j)^2 in 32 bits
  // (wrapping), its square root in double truncated toward zero (not a
  // number gives -2147483648), stored in the width of the type. float:
  // differences, squares, sum and root in float. double: in double.
  void Step(float dt) override;
  // The dimension byte, the type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a dimension outside
  // 2..127 or a type outside char..double.
  bool Load(CStream* stream) override;
  // "Расстояние" centred in the body.
  void Draw(HDC dc) override;
  // The dialog registered for the class (the dimension and the type); false
  // without one or when the user did not confirm.
  bool ShowProperties() override;

  // What the dialog's OK makes of the block: 2d inputs (surplus ones go
  // from the end, the others keep their links), the type on every input
  // (one whose type differs loses its link first) and on the output
  // (disconnected first when its type differs), then UpdatePinsAndCosts.
  // False, with nothing changed, for a dimension outside 2..127, a type
  // outside char..double or when memory ran out.
  bool ApplyProperties(int dimension, BeSignalType type);
  // Costs by type (char to float 380 cycles and 10 ROM bytes, double 490
  // and 20, with the shared-routine flag); the body becomes 20 x 2d + 20
  // high; A input j at 20 j + 10, B input j at h / 2 + 20 j + 10, the output
  // in the middle; every input takes the block's type, its name and its
  // description.
  void UpdatePinsAndCosts();
  int GetDimension() const { return inputCount / 2; }
  BeSignalType GetType() const;
};
