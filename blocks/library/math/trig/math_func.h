// CBEMathFunc: the base of the ten blocks of the "Тригонометрия" group that
// apply one real function to one real signal (degrees and radians, the
// reduction to -pi..pi, sine, cosine, tangent, cotangent and the three arc
// functions). It holds all but the function and the drawn text.
#pragma once

#include <new>

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

// The float nearest to pi, and twice it, as doubles: the constants of a
// float block.
const double kFloatPi = 3.1415927410125732;
const double kFloatTwoPi = 6.2831854820251465;
// Those of a double block.
const double kDoublePi = 3.141592653589793;
const double kDoubleTwoPi = 6.283185307179586;

class CBEMathFunc : public CBEBlock {
public:
  // 80 x 30, one unnamed input and output, float; 560 cycles, 20 ROM bytes
  // and the shared-routine flag, whatever the type. classId is the id of
  // the subclass, under which its property dialog is registered.
  explicit CBEMathFunc(unsigned int classId);

  // The type byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a type other than
  // float and double. The type goes on both pins.
  bool Load(CStream* stream) override;
  // The dialog registered for the subclass; false without one. The costs
  // do not depend on the type.
  bool ShowProperties() override;

  // float or double, held by the output.
  BeSignalType GetType() const;

protected:
  // One function in the two precisions: a float block evaluates evalFloat
  // on its input widened to double and stores the result rounded to float;
  // a double block stores evalDouble of its input.
  typedef double (*Function)(double x);
  // Without a link nothing; by the input pin's type (float, double) the
  // function's value into the output; any other type writes nothing.
  void StepFunction(Function evalFloat, Function evalDouble);

private:
  unsigned int classId_;
};

// A new block of a subclass; null when it or its pins could not be made.
template <class T>
CBEBlock* CreateMathFunc() {
  T* block = new (std::nothrow) T;
  if (block && (block->inputCount != 1 || block->outputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}
