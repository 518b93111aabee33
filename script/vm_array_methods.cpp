#include "script/vm_array_methods.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "foundation/plain_array.h"
#include "script/vm_array.h"
#include "script/vm_builtin_call.h"
#include "script/vm_messages.h"
#include "script/vm_text.h"

namespace {

const wchar_t* const kNegativeDeleteCount = L"Число удаляемых элементов массива не может быть отрицательной";

// Items are plain bytes to move around (the array's own growth moves them
// the same way); a slot whose value moved elsewhere is made undefined
// without releasing anything.
void MoveItems(VmArray* a, int to, int from, int n) {
  if (n > 0) memmove(static_cast<void*>(a->items + to), static_cast<const void*>(a->items + from), n * sizeof(VmValue));
}
void ClearItems(VmArray* a, int from, int n) {
  if (n > 0) memset(static_cast<void*>(a->items + from), 0, n * sizeof(VmValue));
}

// Opens n undefined slots at position at (0 .. count); false when the array
// cannot grow.
bool OpenGap(VmArray* a, int at, int n) {
  if (n <= 0) return true;
  int tail = a->count - at;
  if (n > VmArray::kMaxItems - a->count || !a->Resize(a->count + n)) return false;
  MoveItems(a, at + n, at, tail);
  ClearItems(a, at, n);
  return true;
}

// Removes the n items at position at, releasing them.
void CloseGap(VmArray* a, int at, int n) {
  if (n <= 0) return;
  for (int k = at; k < at + n; ++k) a->items[k].Release();
  MoveItems(a, at, at + n, a->count - at - n);
  ClearItems(a, a->count - n, n);
  a->Resize(a->count - n);  // only undefined slots go
}

// A position argument of slice and splice: negative counts from the end,
// then held inside 0 .. count.
int ClampPosition(int32_t value, int count) {
  if (value < 0) value = count + value;  // no overflow: count >= 0 > value
  if (value < 0) return 0;
  return value > count ? count : value;
}

// A new array to return; null (after the error) when memory ran out.
VmArray* NewResultArray(VmEngine* engine) {
  VmArray* a = new (std::nothrow) VmArray(engine);
  if (!a) engine->RaiseError(kVmErrorNoMemory);
  return a;
}

}  // namespace

void CVMArrayPush::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  for (int k = 0; k < n; ++k) {
    if (!a->PushBack(*call.Arg(k))) return call.Fail(kVmErrorArrayTooLarge);
  }
  VmValue result;
  result.SetInt(a->count);
  call.Finish(result);
}

void CVMArrayPop::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  if (VmArray* a = engine->ReceiverArray()) a->PopBack(&result);
  call.Finish(result);
}

void CVMArrayShift::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmValue result;
  VmArray* a = engine->ReceiverArray();
  if (a && a->count > 0) {
    result.MoveFrom(a->items[0]);
    CloseGap(a, 0, 1);
  }
  call.Finish(result);
}

void CVMArrayUnshift::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  if (!OpenGap(a, 0, n)) return call.Fail(kVmErrorArrayTooLarge);
  for (int k = 0; k < n; ++k) a->items[k].Assign(*call.Arg(k));
  VmValue result;
  result.SetInt(a->count);
  call.Finish(result);
}

void CVMArrayJoin::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  wchar_t separatorBuffer[kVmTextBufferChars];
  const wchar_t* separator = n > 0 ? call.Arg(n - 1)->ToText(separatorBuffer) : L",";
  int separatorLength = separator ? static_cast<int>(wcslen(separator)) : 0;
  CPlainArray<wchar_t> text(256);
  for (int k = 0; k < a->count; ++k) {
    wchar_t buffer[kVmTextBufferChars];
    const VmValue& item = a->items[k];
    const wchar_t* t = item.ToText(buffer);
    int length = item.type == VM_STRING ? item.StringLength() : t ? static_cast<int>(wcslen(t)) : 0;
    int at = text.Count();
    int more = length + (k > 0 ? separatorLength : 0);
    if (more > VmText::kMaxLength - at || !text.Resize(at + more)) return call.Fail(kVmErrorTextTooLong);
    if (k > 0 && separatorLength) {
      memcpy(text.Data() + at, separator, separatorLength * sizeof(wchar_t));
      at += separatorLength;
    }
    if (length) memcpy(text.Data() + at, t, length * sizeof(wchar_t));
  }
  VmValue result;
  result.SetString(text.Data(), text.Count());
  call.Finish(result);
}

void CVMArrayConcat::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  VmArray* joined = NewResultArray(engine);
  if (!joined) return call.FinishUndefined();
  VmValue result;
  result.SetArray(joined);  // held from here on, so a failure below frees it
  bool ok = true;
  for (int k = 0; ok && k < a->count; ++k) ok = joined->PushBack(a->items[k]);
  for (int k = 0; ok && k < n; ++k) {
    const VmValue& v = *call.Arg(k);
    if (v.type == VM_ARRAY) {
      // The argument may be the new array's own source: count taken first.
      int items = v.array->count;
      for (int i = 0; ok && i < items; ++i) ok = joined->PushBack(v.array->items[i]);
    } else {
      ok = joined->PushBack(v);
    }
  }
  if (!ok) return call.Fail(kVmErrorArrayTooLarge);
  call.Finish(result);
}

void CVMArraySplice::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  int32_t deleteCount = call.IntArg(1, 0);
  if (deleteCount < 0) return call.Fail(kNegativeDeleteCount);
  int start = ClampPosition(call.IntArg(0, 0), a->count);
  if (deleteCount > a->count - start) deleteCount = a->count - start;
  int inserted = n > 2 ? n - 2 : 0;
  VmArray* removed = NewResultArray(engine);
  if (!removed) return call.FinishUndefined();
  VmValue result;
  result.SetArray(removed);
  if (!removed->Resize(deleteCount)) return call.Fail(kVmErrorNoMemory);
  if (inserted > deleteCount && !OpenGap(a, start + deleteCount, inserted - deleteCount))
    return call.Fail(kVmErrorArrayTooLarge);
  for (int k = 0; k < deleteCount; ++k) removed->items[k].MoveFrom(a->items[start + k]);
  if (inserted < deleteCount) CloseGap(a, start + inserted, deleteCount - inserted);
  for (int k = 0; k < inserted; ++k) a->items[start + k].MoveFrom(*call.Arg(2 + k));
  call.Finish(result);
}

void CVMArraySlice::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  int begin = ClampPosition(call.IntArg(0, 0), a->count);
  int end = ClampPosition(call.IntArg(1, a->count), a->count);
  VmArray* copy = NewResultArray(engine);
  if (!copy) return call.FinishUndefined();
  VmValue result;
  result.SetArray(copy);
  for (int k = begin; k < end; ++k) {
    if (!copy->PushBack(a->items[k])) return call.Fail(kVmErrorNoMemory);
  }
  call.Finish(result);
}

void CVMArrayReverse::Call(int n, VmEngine* engine) {
  VmBuiltinCall call(engine, n);
  VmArray* a = engine->ReceiverArray();
  if (!a) return call.FinishUndefined();
  for (int i = 0, j = a->count - 1; i < j; ++i, --j) {
    VmValue t;
    t.MoveFrom(a->items[i]);
    a->items[i].MoveFrom(a->items[j]);
    a->items[j].MoveFrom(t);
  }
  VmValue result;
  result.SetArray(a);
  call.Finish(result);
}

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
