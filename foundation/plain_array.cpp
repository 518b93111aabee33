#include "foundation/plain_array.h"

#include <climits>
#include <cstdint>

int SteppedCapacity(int count, int step) {
  if (count <= 0) return 0;
  if (step < 1) step = 1;
  long long rounded = (static_cast<long long>(count) + step - 1) / step * step;
  return rounded > INT_MAX ? INT_MAX : static_cast<int>(rounded);
}

bool ResizeSteppedBlock(void** items, size_t itemSize, int oldCount, int newCount, int step) {
  if (!items || itemSize == 0 || oldCount < 0 || newCount < 0) return false;
  int oldCapacity = SteppedCapacity(oldCount, step);
  int newCapacity = SteppedCapacity(newCount, step);
  if (newCapacity < newCount) return false;  // the rounding overflowed
  if (newCapacity != oldCapacity || (newCapacity > 0 && !*items)) {
    if (newCapacity == 0) {
      FreeBuffer(*items);
      *items = nullptr;
    } else {
      if (static_cast<size_t>(newCapacity) > kFoundationMaxBlock / itemSize) return false;
      void* block = ReallocBuffer(*items, static_cast<size_t>(newCapacity) * itemSize);
      if (!block) {
        // A shrink that cannot move keeps the larger block.
        if (newCapacity < oldCapacity && *items) return true;
        return false;
      }
      *items = block;
    }
  }
  if (newCount > oldCount) {
    memset(static_cast<char*>(*items) + static_cast<size_t>(oldCount) * itemSize, 0,
           static_cast<size_t>(newCount - oldCount) * itemSize);
  }
  return true;
}

bool ResizeGrowingBlock(void** items, size_t itemSize, int* capacity, int newCount, int first) {
  if (!items || !capacity || itemSize == 0 || *capacity < 0 || newCount < 0) return false;
  int oldCapacity = *capacity;
  if (newCount <= oldCapacity) return true;
  long long grown = oldCapacity > 0 ? oldCapacity : (first < 1 ? 1 : first);
  while (grown < newCount) grown *= 2;
  if (grown > INT_MAX) grown = newCount;
  if (static_cast<unsigned long long>(grown) > kFoundationMaxBlock / itemSize) return false;
  void* block = ReallocBuffer(*items, static_cast<size_t>(grown) * itemSize);
  if (!block) return false;
  memset(static_cast<char*>(block) + static_cast<size_t>(oldCapacity) * itemSize, 0,
         static_cast<size_t>(grown - oldCapacity) * itemSize);
  *items = block;
  *capacity = static_cast<int>(grown);
  return true;
}
