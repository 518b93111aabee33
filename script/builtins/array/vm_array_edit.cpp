#include "script/builtins/array/vm_array_edit.h"

#include <cstring>
#include <new>

#include "script/compiler/vm_messages.h"
#include "script/machine/vm_engine.h"
#include "script/values/vm_array.h"

namespace {

void MoveItems(VmArray* a, int to, int from, int n) {
  if (n > 0) memmove(static_cast<void*>(a->items + to), static_cast<const void*>(a->items + from), n * sizeof(VmValue));
}

void ClearItems(VmArray* a, int from, int n) {
  if (n > 0) memset(static_cast<void*>(a->items + from), 0, n * sizeof(VmValue));
}

}  // namespace

bool OpenArrayGap(VmArray* a, int at, int n) {
  if (n <= 0) return true;
  int tail = a->count - at;
  if (n > VmArray::kMaxItems - a->count || !a->Resize(a->count + n)) return false;
  MoveItems(a, at + n, at, tail);
  ClearItems(a, at, n);
  return true;
}

void CloseArrayGap(VmArray* a, int at, int n) {
  if (n <= 0) return;
  for (int k = at; k < at + n; ++k) a->items[k].Release();
  MoveItems(a, at, at + n, a->count - at - n);
  ClearItems(a, a->count - n, n);
  a->Resize(a->count - n);  // only undefined slots go
}

int ClampArrayPosition(int32_t value, int count) {
  if (value < 0) value = count + value;  // no overflow: count >= 0 > value
  if (value < 0) return 0;
  return value > count ? count : value;
}

VmArray* NewResultArray(VmEngine* engine) {
  VmArray* a = new (std::nothrow) VmArray(engine);
  if (!a) engine->RaiseError(kVmErrorNoMemory);
  return a;
}
