// CPlainArray: a growable heap array of plain items (pointers, handles,
// numbers, small structs that copy as bytes): a count beside a pointer,
// grown in steps. Every change that needs memory answers false when it
// cannot get it and leaves the array as it was.
//
// ResizeSteppedArray does the same growth for arrays kept as a count and a
// pointer of their own (fields other code reads), so no place grows an array
// by hand.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "foundation/buffers.h"

// The room for count items grown in steps of step items: count rounded up
// to a whole number of steps (0 for none; steps below 1 count as 1).
int SteppedCapacity(int count, int step);

// Resizes the heap block *items (allocated by ReallocBuffer, or null) from
// oldCount to newCount items of itemSize bytes. The block is reallocated only
// when the stepped capacity changes; a new count of 0 frees it. Items past
// oldCount are zeroed. Answers false, with the block untouched, for a
// negative count, a size that overflows, or when memory runs out.
bool ResizeSteppedBlock(void** items, size_t itemSize, int oldCount, int newCount, int step);

template <class T>
bool ResizeSteppedArray(T** items, int oldCount, int newCount, int step = 1) {
  static_assert(std::is_trivially_copyable<T>::value, "a stepped array holds plain items");
  void* block = *items;
  if (!ResizeSteppedBlock(&block, sizeof(T), oldCount, newCount, step)) return false;
  *items = static_cast<T*>(block);
  return true;
}

// Grows the heap block *items of *capacity items (allocated by
// ReallocBuffer, or null) so it holds at least newCount items, doubling the
// capacity (from first when there is none), so appends take amortised
// constant time. Never shrinks. Items between the old and the new capacity
// are zeroed. Answers false, with the block and *capacity untouched, for a
// negative count, a size that overflows, or when memory runs out.
bool ResizeGrowingBlock(void** items, size_t itemSize, int* capacity, int newCount, int first);

template <class T>
bool ResizeGrowingArray(T** items, int* capacity, int newCount, int first = 4) {
  static_assert(std::is_trivially_copyable<T>::value, "a growing array holds plain items");
  void* block = *items;
  if (!ResizeGrowingBlock(&block, sizeof(T), capacity, newCount, first)) return false;
  *items = static_cast<T*>(block);
  return true;
}

template <class T>
class CPlainArray {
  static_assert(std::is_trivially_copyable<T>::value, "CPlainArray holds plain items");

public:
  // step: the room grows and shrinks in whole steps of this many items.
  explicit CPlainArray(int step = 1) : step_(step < 1 ? 1 : step) {}
  ~CPlainArray() { FreeBuffer(items_); }
  CPlainArray(const CPlainArray&) = delete;
  CPlainArray& operator=(const CPlainArray&) = delete;

  int Count() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }
  // The items (null when there are none).
  T* Data() { return items_; }
  const T* Data() const { return items_; }
  T& operator[](int index) { return items_[index]; }
  const T& operator[](int index) const { return items_[index]; }
  T* begin() { return items_; }
  T* end() { return items_ + count_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + count_; }

  // New items are zeroed; a smaller count drops the last items.
  bool Resize(int count) {
    if (!ResizeSteppedArray(&items_, count_, count, step_)) return false;
    count_ = count;
    return true;
  }
  bool Append(const T& item) {
    T copy = item;  // item may live in the block that moves
    if (!Resize(count_ + 1)) return false;
    items_[count_ - 1] = copy;
    return true;
  }
  // Inserts before index (clamped to 0 .. Count()).
  bool Insert(int index, const T& item) {
    T copy = item;
    if (index < 0) index = 0;
    if (index > count_) index = count_;
    if (!Resize(count_ + 1)) return false;
    memmove(static_cast<void*>(items_ + index + 1), static_cast<const void*>(items_ + index),
            sizeof(T) * static_cast<size_t>(count_ - 1 - index));
    items_[index] = copy;
    return true;
  }
  // Removes the item at index, keeping the order of the others; false when
  // index is out of range.
  bool RemoveAt(int index) {
    if (index < 0 || index >= count_) return false;
    memmove(static_cast<void*>(items_ + index), static_cast<const void*>(items_ + index + 1),
            sizeof(T) * static_cast<size_t>(count_ - 1 - index));
    // Shrinking never fails: at worst the block keeps its old size.
    if (!Resize(count_ - 1)) count_--;
    return true;
  }
  // The first index of an item equal to item, or -1.
  int IndexOf(const T& item) const {
    for (int i = 0; i < count_; ++i) {
      if (items_[i] == item) return i;
    }
    return -1;
  }
  bool Contains(const T& item) const { return IndexOf(item) >= 0; }
  void Clear() {
    FreeBuffer(items_);
    items_ = nullptr;
    count_ = 0;
  }

private:
  T* items_ = nullptr;
  int count_ = 0;
  int step_;
};
