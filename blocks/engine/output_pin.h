// An output of a simulation block: its type and its eight-byte value, which
// the inputs linked to it read directly.
#pragma once

#include <windows.h>

#include "blocks/engine/signal_type.h"

class CBEBlock;

class BeOutputPin {
public:
  explicit BeOutputPin(CBEBlock* owner) : owner(owner) {}
  // Disconnects the inputs linked to the output first.
  ~BeOutputPin();
  BeOutputPin(const BeOutputPin&) = delete;
  BeOutputPin& operator=(const BeOutputPin&) = delete;

  // Clears every input of the owner's scheme whose source is this output.
  // Nothing when the owner is in no scheme.
  void Disconnect();
  // (owner right, owner top + y offset).
  POINT GetPosition() const;

  // The value as its scalar type lays it out from byte 0.
  void SetInt(int v);
  int GetInt() const;
  void SetFloat(float v);
  float GetFloat() const;
  void SetDouble(double v);
  double GetDouble() const;

  // Fields, in this order.
  unsigned int savedId = 0;  // 0 except while a scheme stream is read or written
  CBEBlock* owner;
  unsigned char hardware = 0;  // a fixed link made by a peripheral block
  BeSignalType type = kBeSignalBit;
  unsigned char value[8] = {};
  const wchar_t* name = nullptr;         // not owned
  const wchar_t* description = nullptr;  // not owned
  int yOffset = 0;
};
