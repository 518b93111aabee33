#include "script/values/vm_value_storage.h"

#include <cstdint>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

// A zeroed value is an undefined value that owns nothing, so the zeroed new
// slots need no constructor.
static_assert(VM_UNDEFINED == 0 && kVmRefValue == 0, "zero bytes make an undefined value");

bool GrowValueStorage(VmValue** items, int* capacity, int n, int first) {
  void* block = *items;
  if (!ResizeGrowingBlock(&block, sizeof(VmValue), capacity, n, first)) return false;
  *items = static_cast<VmValue*>(block);
  return true;
}

int ValueStorageIndex(const VmValue* items, int count, const VmValue* value) {
  if (!items || count <= 0) return -1;
  uintptr_t first = reinterpret_cast<uintptr_t>(items);
  uintptr_t at = reinterpret_cast<uintptr_t>(value);
  if (at < first || at >= first + static_cast<uintptr_t>(count) * sizeof(VmValue)) return -1;
  return static_cast<int>((at - first) / sizeof(VmValue));
}

void FreeValueStorage(VmValue** items, int* capacity) {
  FreeBuffer(*items);
  *items = nullptr;
  *capacity = 0;
}
