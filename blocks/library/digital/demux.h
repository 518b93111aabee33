// CBEDEMUX ("Демультиплексор"): passes its data input to the output a
// selector names.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEDEMUX : public CBEBlock {
public:
  // 50 x 60; inputs "n" (any integer) and the data input (char, "Вход");
  // two char outputs "Выход"; 12 cycles, 24 bytes of ROM.
  CBEDEMUX();
  static CBEBlock* Create();

  // Without a data source nothing. The selector k is the first byte of the
  // "n" source as a signed 8-bit number (0 unlinked), held within 0 ...
  // m - 1; output k takes the type and the eight bytes of the data source,
  // every other output eight zero bytes (its type stays).
  void Step(float dt) override;
  // The output count m (1 byte), the data type (1 byte), the base record.
  void Save(CStream* stream) override;
  // Resizes to m outputs and gives the pins the type before the base
  // record. False, with the block as it was, for a cut record, m outside
  // 2 ... 127 or a type the dialog does not offer (digital_drawing.h).
  bool Load(CStream* stream) override;
  // The body and a switch from the data input to the outputs, numbered.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // What the dialog does on OK: m outputs (2 ... 127) at 30 pixels each,
  // the data input unlinked when its type changes, every output
  // disconnected when its type changes, all of them the type and the
  // description "Выход". False, with nothing changed, for a count or type
  // out of range or when memory ran out.
  bool ApplyProperties(int m, BeSignalType type);
  // The type of the data input.
  BeSignalType GetType() const;

private:
  // bottom = top + 30 m and m outputs, pins spread; false (as it was) when
  // memory ran out.
  bool Resize(int m);
};
