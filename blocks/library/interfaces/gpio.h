// CBEGPIO ("GPIO"): the general-purpose lines of the on-board computer in
// its program, one computer pin per line. A line the program drives is an
// input of the block: 3.3 V above the computer's ground behind 250 Ohm when
// its source's value byte is not 0, else the ground. A line the program
// reads is an output of the block: the pin loads its net with 5 MOhm and
// reads 1 when the level across a 100 kOhm divider exceeds 1.5 V.
//
// The computer makes the block itself ("GPIO"), writes the index of its
// first line pin and sets the line count.
#pragma once

#include "blocks/engine/block.h"

const COLORREF kHardwareFill = 0xCCCCCC;
// Line pins are 18 pixels apart, the first 7 below the top.
const int kGpioLinePitch = 18;
const int kGpioFirstLineY = 7;
const int kGpioMinHeight = 30;
// A record holds the line count in a byte.
const int kGpioMaxLines = 255;

class CBEGPIO : public CBEBlock {
public:
  // A device block, 150 x 30, fill 0xCCCCCC, no lines.
  CBEGPIO();
  ~CBEGPIO() override;
  static CBEBlock* Create();

  void Step(float dt) override;
  // The line count (a byte), the first pin (2 bytes), one direction byte per
  // line, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or a direction byte
  // other than 0 and 1 (or when memory ran out for the pins).
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  // The lines become n (0 to 255): new lines are read by the program; then
  // BuildPins. False, with nothing changed, for a count out of range or when
  // memory ran out.
  bool SetLineCount(int n);
  // The pins of the directions: an input per driven line, an output per read
  // line, each named "GPIO<line>" and placed at 18 x line + 7; the body
  // max(30, 18 x lines) high. False when memory ran out (the pins then
  // stay as they were, the names too).
  bool BuildPins();
  // Line q is driven by the program (it has an input) or read (an output).
  bool IsDriven(int q) const { return q >= 0 && q < lineCount && directions[q] != 0; }

  // Fields, in this order.
  int firstPin = 0;
  int lineCount = 0;
  unsigned char* directions = nullptr;  // owned, one per line: 1 driven, 0 read

private:
  void FreePinNames();
};
