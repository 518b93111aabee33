// CBEInertialDriver ("Драйвер инерциальной системы"): the driver between a
// data link and an inertial unit. It counts requests on "ctrl" (every
// 0.2 s and once more for every record taken) and copies the quantities of
// each new measurement record that reaches "Инер" into its 12 float
// outputs. A record is named by a payload handle in bytes 4-7 of the value
// (the unit's SchInertialData); byte 0 numbers the records and bytes 1-2
// hold the marker 0x7505.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

// Outputs: the request counter, then the quantities.
enum BeInertialOutput {
  kInertialCtrl = 0,
  kInertialWox = 1,
  kInertialWoy,
  kInertialWoz,
  kInertialAx,
  kInertialAy,
  kInertialAz,
  kInertialMagX,
  kInertialMagY,
  kInertialMagZ,
  kInertialRoll,
  kInertialPitch,
  kInertialYaw,
  kInertialOutputCount
};

class CBEInertialDriver : public CBEBlock {
public:
  // 190 x 195, white; input "Инер" (type 25) beside output 0; outputs "ctrl"
  // (type 26) and the 12 quantities (float); 2134 cycles, 2134 ROM bytes;
  // the protocol "CHR-6dm".
  CBEInertialDriver();
  // Frees the protocol name.
  ~CBEInertialDriver() override;
  static CBEBlock* Create();

  // Last record number 0, request counter 0, timer 0.
  void Start() override;
  // timer += dt; past 0.2 s the timer restarts and the counter advances
  // (wrapping at 256); "ctrl" shows the counter. Then, when "Инер" is linked
  // to a type-25 output with the marker, a live handle and a record number
  // other than the last: the number is kept, the counter advances, and
  // each group of quantities whose flag is set is copied to its outputs;
  // the others keep their values.
  void Step(float dt) override;
  // Base record, then the protocol name (UTF-16LE, zero-terminated).
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record (or refused memory).
  bool Load(CStream* stream) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Replaces the protocol name by a heap copy (null or empty: none); false,
  // with the name as it was, when memory ran out.
  bool SetProtocolName(const wchar_t* name);

  // Fields, in this order.
  wchar_t* protocolName = nullptr;  // owned; shown and stored only
  unsigned char lastRecord = 0;
  unsigned char requestCounter = 0;
  float timer = 0;  // seconds
};
