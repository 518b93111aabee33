#include "script/builtins/array/vm_array_sort.h"

#include <cstring>

#include "foundation/plain_array.h"
#include "script/builtins/vm_builtin_call.h"
#include "script/compiler/vm_messages.h"
#include "script/values/vm_array.h"

namespace {

// Sorts the index list order[0 .. n) by the items it names, merging runs
// through the scratch list; equal items keep their order.
void MergeSort(const VmValue* items, int* order, int* scratch, int n) {
  for (int width = 1; width < n; width *= 2) {
    for (int lo = 0; lo < n; lo += 2 * width) {
      int mid = lo + width < n ? lo + width : n;
      int hi = lo + 2 * width < n ? lo + 2 * width : n;
      int i = lo, j = mid, k = lo;
      while (i < mid && j < hi) scratch[k++] = CompareValues(items[order[j]], items[order[i]]) < 0 ? order[j++] : order[i++];
      while (i < mid) scratch[k++] = order[i++];
      while (j < hi) scratch[k++] = order[j++];
    }
    memcpy(order, scratch, n * sizeof(int));
  }
}

}  // namespace

void CVMArraySort::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  int count = a->count;
  if (count > 1) {
    CPlainArray<int> order, scratch;
    CPlainArray<unsigned char> sorted;  // the items in their new order, as bytes
    if (!order.Resize(count) || !scratch.Resize(count) || !sorted.Resize(count * static_cast<int>(sizeof(VmValue))))
      return call.Fail(kVmErrorNoMemory);
    for (int k = 0; k < count; ++k) order[k] = k;
    MergeSort(a->items, order.Data(), scratch.Data(), count);
    VmValue* target = reinterpret_cast<VmValue*>(sorted.Data());
    for (int k = 0; k < count; ++k) memcpy(static_cast<void*>(target + k), static_cast<const void*>(a->items + order[k]), sizeof(VmValue));
    memcpy(static_cast<void*>(a->items), static_cast<const void*>(target), count * sizeof(VmValue));
  }
  VmValue result;
  result.SetArray(a);
  call.Finish(result);
}
