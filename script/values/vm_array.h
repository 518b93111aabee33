// A script array: a vector of values shared by counted holders and kept in
// its machine's list of arrays.
#pragma once

#include "script/values/vm_value.h"

class VmEngine;

class VmArray {
public:
  // No array holds more items than this: a script that keeps growing one
  // stops with an error instead of eating the program's memory.
  static constexpr int kMaxItems = 1 << 20;

  // An empty array with count 0, linked at the head of the machine's list.
  explicit VmArray(VmEngine* engine);
  ~VmArray();  // releases the items and unlinks the array
  VmArray(const VmArray&) = delete;
  VmArray& operator=(const VmArray&) = delete;

  // Releases the items from n on and makes new items undefined. False (and
  // the array unchanged) when n is negative, above kMaxItems or memory ran
  // out.
  bool Resize(int n);
  // Appends a copy of the value; false when the array cannot grow.
  bool PushBack(const VmValue& value);
  // Appends the value, moving it (the source becomes undefined).
  bool PushBackMove(VmValue& value);
  // Moves the last item into out and shrinks by one; out becomes undefined
  // when the array is empty.
  void PopBack(VmValue* out);

  void AddRef() { ++refs; }
  // Drops one count; the array is deleted at 0 or below.
  void Release();

  VmEngine* engine;
  int count = 0;
  VmValue* items = nullptr;
  int refs = 0;
  VmArray* next = nullptr;
  VmArray* previous = nullptr;

private:
  friend class VmEngine;
  static constexpr int kFirstRoom = 8;
  bool Reserve(int n);
  void ReleaseItems();  // every item released, count 0
  int capacity_ = 0;
  bool dropped_ = false;  // queued for deletion
};
