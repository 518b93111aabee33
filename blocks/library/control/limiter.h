// CBELimiter ("Нелинейный элемент типа "Ограничение""): its input held
// between an upper and a lower limit, in the block's data type.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBELimiter : public CBEBlock {
public:
  // 60 x 60, one unnamed short input and output, limits 127 and -127.
  CBELimiter();
  static CBEBlock* Create();

  // Without a source, or for a type outside char..double, nothing. v = the
  // source value read in the output's type: the upper limit when v is above
  // it, else the lower limit when v is below it, else v (not a number
  // passes), stored in the type. The output keeps its value between runs.
  void Step(float dt) override;
  // Upper limit, lower limit (8 bytes each), output type, base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type outside
  // char..double; the input takes the output's type, and the costs follow
  // once the base record is read.
  bool Load(CStream* stream) override;
  // Grey axes and the characteristic through the two limits.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // By the output type: char 9 cycles / 20 ROM bytes, short 11 / 24, int
  // 15 / 32, float 220 / 20 and double 420 / 40 with the shared routine;
  // the shared-routine flag is cleared first, and other types keep cycles
  // and ROM.
  void UpdateCosts();
  BeSignalType GetOutputType() const;

  // The limits in the type's representation: a 32-bit integer (compared
  // through its low 8 or 16 bits for char and short), a float or a double.
  void SetLimitsInt(int32_t upperLimit, int32_t lowerLimit);
  void SetLimitsFloat(float upperLimit, float lowerLimit);
  void SetLimitsDouble(double upperLimit, double lowerLimit);
  // A limit read in the output's type, as a double (0 for other types).
  double UpperLimit() const;
  double LowerLimit() const;

  // Fields, in this order.
  unsigned char upper[8] = {};
  unsigned char lower[8] = {};
};
