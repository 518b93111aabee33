// How the array methods move items around inside an array. Items are plain
// bytes to move (the array's own growth moves them the same way); a slot
// whose value moved elsewhere is made undefined without releasing it.
#pragma once

#include <cstdint>

class VmArray;
class VmEngine;

// Opens n undefined slots at position at (0 .. count); false when the array
// cannot grow (it is then unchanged).
bool OpenArrayGap(VmArray* a, int at, int n);
// Removes the n items at position at, releasing them.
void CloseArrayGap(VmArray* a, int at, int n);
// A position argument of slice and splice: negative counts from the end,
// then held inside 0 .. count.
int ClampArrayPosition(int32_t value, int count);
// A new array to return; null (after the error) when memory ran out.
VmArray* NewResultArray(VmEngine* engine);
