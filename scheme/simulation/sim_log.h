// The simulation message log: one program-wide list of wide texts that
// components, the script machine and the block engine append to during a run.
#pragma once

#include <cstdarg>

#include "foundation/plain_array.h"

class SimMessageLog {
public:
  // A message holds at most this many characters; longer formatted texts are
  // cut (never in the middle of a surrogate pair).
  static const int kMaxMessageChars = 511;
  static const int kCapacityStep = 16;

  SimMessageLog() {}
  ~SimMessageLog() { Clear(); }
  SimMessageLog(const SimMessageLog&) = delete;
  SimMessageLog& operator=(const SimMessageLog&) = delete;

  // The program's own log, built before first use and cleared at exit.
  static SimMessageLog& Global();

  // Formats the wide format (printf-style; "%s" and "%ls" take wide strings,
  // "%c" a wide character, "%hs" an 8-bit string) and appends the text as a
  // new message. Returns the stored text, or null when
  // memory ran out (the log is then unchanged).
  const wchar_t* AppendFormat(const wchar_t* format, ...);
  const wchar_t* AppendFormatV(const wchar_t* format, va_list args);
  // Appends text literally (a "%" in it means nothing), cut like a message.
  const wchar_t* AppendText(const wchar_t* text);

  // Frees the texts beyond n, sets the count to n (new slots are null) and
  // the capacity to n rounded up to a multiple of 16. False when memory ran
  // out; the log is then unchanged. A negative n counts as 0.
  bool Resize(int n);
  void Clear() { Resize(0); }

  int GetCount() const { return count_; }
  int GetCapacity() const { return SteppedCapacity(count_, kCapacityStep); }
  // The i-th message (oldest first), null for an index out of range or an
  // empty slot.
  const wchar_t* GetItem(int i) const;

private:
  int count_ = 0;
  wchar_t** items_ = nullptr;
};
