// CBEMUX ("Мультиплексор"): passes the data input a selector names to its
// output.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEMUX : public CBEBlock {
public:
  // 50 x 90; inputs "n" (any integer) and two data inputs (char, "Вход");
  // a char output "Выход"; 12 cycles, 24 bytes of ROM.
  CBEMUX();
  static CBEBlock* Create();

  // The selector k is the first byte of the "n" source as a signed 8-bit
  // number (0 unlinked), held within 0 ... n - 1. A linked data input k
  // gives the output its source's type and eight bytes; an unlinked one
  // eight zero bytes (the type stays).
  void Step(float dt) override;
  // The data input count n (1 byte), the data type (1 byte), the base
  // record.
  void Save(CStream* stream) override;
  // Resizes to n data inputs and gives the pins the type before the base
  // record. False, with the block as it was, for a cut record, n outside
  // 2 ... 127 or a type the dialog does not offer (digital_drawing.h).
  bool Load(CStream* stream) override;
  // The body and a switch from the inputs to the output, numbered.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // What the dialog does on OK: n data inputs (2 ... 127), 30 pixels each
  // and 30 for the selector, the output disconnected when its type
  // changes, every data input unlinked when its type changes, all of them
  // the type and the data inputs the description "Вход". False, with
  // nothing changed, for a count or type out of range or when memory ran
  // out.
  bool ApplyProperties(int n, BeSignalType type);
  // The number of data inputs.
  int DataInputCount() const { return inputCount - 1; }
  // The output's type.
  BeSignalType GetType() const;

private:
  // bottom = top + 30 n + 30 and n + 1 inputs, pins spread; false (as it
  // was) when memory ran out.
  bool Resize(int n);
};
