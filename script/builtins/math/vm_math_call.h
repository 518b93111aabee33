// What the functions of the global Math object share: reading one or two
// numbers, and undefined when fewer arguments were given.
#pragma once

#include <cstdint>

class VmEngine;

// The number f(x) of the first argument; undefined without one.
void CallMathUnary(int argumentCount, VmEngine* engine, double (*f)(double));
// The number f(x, y) of the first two arguments; undefined without two.
void CallMathBinary(int argumentCount, VmEngine* engine, double (*f)(double, double));
// max (wantMax) or min of the first two arguments by their arithmetic type:
// two truths by or and and, integers as an integer, numbers as a number;
// undefined for any other type and without two arguments.
void CallMathExtreme(int argumentCount, VmEngine* engine, bool wantMax);
// A double truncated toward zero; what does not fit (NaN included) is the
// smallest integer, as the number conversion of values gives.
int32_t TruncateToInt(double d);
