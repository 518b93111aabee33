// CBECoder ("Приоритетный шифратор"): the number of the first active
// input.
#pragma once

#include "blocks/engine/block.h"

const int kCoderMinInputs = 2;
const int kCoderMaxInputs = 127;
const int kCoderInputPitch = 20;

class CBECoder : public CBEBlock {
public:
  // 50 x 40, light green; inputs "1" and "2" (bit), a char output
  // "Выходной код"; 6 cycles, 8 bytes of ROM.
  CBECoder();
  // The inputs go before the block.
  ~CBECoder() override;
  static CBEBlock* Create();

  // The first four output bytes 0.
  void Start() override;
  // The first four output bytes (signed 32-bit) become i + 1 for the first
  // input i, in pin order, that is linked with any of the first four bytes
  // of its source set; 0 when there is none.
  void Step(float dt) override;
  // The input count n (1 byte), then the base record.
  void Save(CStream* stream) override;
  // SetInputCount (n) before the base record. False, with the block as it
  // was, for a cut record or n outside 2 ... 127.
  bool Load(CStream* stream) override;
  // The body and "Ш".
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // n inputs (0 ... 127): bottom = top + 20 n, input j named "j + 1" with
  // the description "Вход j + 1", one output, 3 n cycles and 4 n bytes of
  // ROM. False, with the block as it was, for n out of range or when
  // memory ran out.
  bool SetInputCount(int n);
};
