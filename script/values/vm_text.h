// The text of a string value. A text never changes once made, so values that
// hold the same text share one buffer and count their holders; a copy of a
// string value therefore costs no copy of its characters.
#pragma once

#include <cstddef>

class VmText {
public:
  // No text of the machine grows beyond this many UTF-16 units, so a script
  // that doubles a string in a loop stops with an error instead of eating
  // the program's memory.
  static constexpr int kMaxLength = 1 << 22;

  // A new text (holder count 1) of the n units at a followed by the m units
  // at b; null when n + m is 0, above kMaxLength or memory ran out.
  static VmText* Create(const wchar_t* a, int n, const wchar_t* b = nullptr, int m = 0);
  // A text of n units read from little-endian byte pairs.
  static VmText* CreateFromBytes(const unsigned char* bytes, int n);

  // Appends m units to the text held at *slot, in place, when the caller
  // knows every holder of the text and points all of them at the answer
  // (the buffer may move). Grows the room by half again each time, so a
  // loop that appends to one text costs time in proportion to its length.
  // False when the text would pass kMaxLength or memory ran out (the text
  // is then unchanged).
  static bool AppendInPlace(VmText** slot, const wchar_t* b, int m);

  void AddRef() { ++refs_; }
  int Refs() const { return refs_; }
  void Release();

  int Length() const { return length_; }
  const wchar_t* Chars() const { return chars_; }  // zero-terminated

private:
  VmText() {}
  ~VmText() {}
  static VmText* Allocate(int length);

  int refs_;
  int length_;
  int capacity_;  // units of room before the terminator
  wchar_t chars_[1];
};
