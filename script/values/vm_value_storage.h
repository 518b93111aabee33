// Heap blocks of script values: the items of an array and the with-scope
// list grow here, and only here.
//
// A VmValue is not a plain item (it cannot be copied, and its destructor
// releases the text, array or object it holds), yet a block of values may
// move as bytes when it grows. A value holds no pointer into itself, and no
// pointer into a block of values is kept across the block's growth (a
// reference names an array item by its index and looks it up on every use).
// The grown block takes every value over byte for byte and the old block is
// freed without running a destructor, so each value is moved, never copied
// and never released twice: a relocation, not a copy.
#pragma once

#include "script/values/vm_value.h"

// Grows the block *items of *capacity values (null and 0 for none) to hold at
// least n values, doubling the capacity from first. The slots past the old
// capacity hold undefined values. Never shrinks. False, with the block and
// *capacity unchanged, for a negative n or when memory ran out.
bool GrowValueStorage(VmValue** items, int* capacity, int n, int first);

// The index of value in a block of count values, or -1 when it lies
// elsewhere: a value copied into its own block must be found again by index
// after the block grows.
int ValueStorageIndex(const VmValue* items, int count, const VmValue* value);

// Frees a block whose values were all released (or never held anything).
void FreeValueStorage(VmValue** items, int* capacity);
