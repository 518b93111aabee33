// CBEByteBuilder ("Формирователь байта"): a byte from eight bits.
#pragma once

#include "blocks/engine/block.h"

class CBEByteBuilder : public CBEBlock {
public:
  // 15 x 120, white; bit inputs "0" to "7", one unnamed char output;
  // 24 cycles, 32 ROM bytes.
  CBEByteBuilder();
  static CBEBlock* Create();

  // Renews the cost estimate (EstimateCosts), then the base Start.
  void Start() override;
  // The output's first byte: bit i set for every input i whose source's
  // first byte is nonzero.
  void Step(float dt) override;
  // The base record; false, with the block as it was, for a cut one.
  bool Load(CStream* stream) override;

  // What the microcontroller code costs: 2 cycles and 2 bytes when, for
  // one port letter L from A to H, every linked input j reads the only
  // output of a pin block of the scheme's port-block list whose caption
  // holds "P<L><j>" (2 more of each when an input is unlinked; no linked
  // input at all passes at A); else 24 cycles and 32 bytes.
  void EstimateCosts();

private:
  // Whether every linked input comes straight from the pin of port letter.
  bool ReadsPort(wchar_t letter) const;
};
