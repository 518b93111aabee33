// CBEIOPort ("Вывод микропроцессора"): one port pin of the microcontroller
// in its program. The block is an exchange buffer between the program and
// the chip's electrical model: it holds a stored signal type and value.
// The microcontroller writes the level of a pin in a reading mode into the
// buffer before the program's pass and drives a pin in a driving mode from
// it afterwards; the block's own Step moves the value between its pins and
// the buffer.
//
// Every pin block of a scheme is also in the scheme's port-block list
// (BeScheme::portBlocks, newest first), where the peripheral blocks find
// the pins of their alternate functions by caption (Find).
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CBEIOPort : public CBEBlock {
public:
  // Pin modes.
  enum Mode {
    kModeInput = 0,          // PIN output
    kModePullUp = 1,         // input with pull-up resistor; PIN output
    kModeOutput = 2,         // PORT input
    kModeAltInput = 3,       // a peripheral reads the pin; PIN output
    kModeAltOutput = 4,      // a peripheral drives the pin; PORT input
    kModeAltReleased = 5,    // neither driven nor read; PORT input
    kModeAnalog = 6,         // the ADC's analog input; PIN output
    kModeBus = 7,            // two-way bus line (TWI); PIN output
    kModeSwitchable = 8,     // PORT and DDR inputs, PIN output
  };
  static const int kLastMode = kModeSwitchable;
  static const int kWidth = 28;
  static const int kHeight = 13;
  static const int kSwitchableHeight = 20;

  // Mode 0, pin id 0, a device block, 28 x 13, stored type 1 with value 1.
  CBEIOPort();
  // Leaves the port-block list of its scheme.
  ~CBEIOPort() override;
  static CBEBlock* Create();

  // The base placement, then the head of the new scheme's port-block list
  // (leaving the old scheme's list first).
  void AttachToScheme(BeScheme* newScheme) override;
  // Stored type 1, first word of the stored value 0.
  void Start() override;
  // Moves the value between the pins and the buffer by mode.
  void Step(float dt) override;
  // Mode 2: a white pentagon pointing left; other modes: a white rectangle
  // with a black bar on the left, in mode 1 with the pull-up symbol; the
  // caption above.
  void Draw(HDC dc) override;
  // Pin id (2 bytes), mode (1), the first pin's type (1), base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a mode above 8 or a
  // type that is no concrete signal type.
  bool Load(CStream* stream) override;
  // Modes 3 to 7 refuse with a message box; otherwise the dialog
  // registered for the class (false without one).
  bool ShowProperties() override;
  // A peripheral's output was disconnected from an input: the pin returns
  // to output mode (the program drives it again), its pins rebuilt when
  // the mode it had has other pins (a switchable pin).
  void OnInputDisconnected(BeInputPin* input) override;

  // The pins of the mode (PORT and DDR inputs, PIN output), keeping the
  // links of the pins that stay; height 20 in mode 8, else 13. False when
  // memory ran out (the pins may then be short of the mode's).
  bool BuildPins();
  // Sets the mode and builds the pins for it.
  bool SetMode(int newMode);

  // The pins a mode has.
  static int InputCountOf(int mode);
  static int OutputCountOf(int mode);

  // The first pin block of the scheme's port-block list, from its head,
  // whose caption holds the text as a whole word (see CaptionHoldsWord);
  // null when none does.
  static CBEIOPort* Find(const BeScheme* scheme, const wchar_t* text);
  // The pin block that owns the output, or null.
  static CBEIOPort* OwnerOf(const BeOutputPin* output);

  // Fields, in this order.
  CBEIOPort* nextPort = nullptr;  // the scheme's port-block list
  int mode = kModeInput;
  unsigned short pinId = 0;
  unsigned char ddr = 0;
  unsigned char port = 0;
  BeSignalType storedType = kBeSignalBit;
  unsigned char storedValue[8] = {1, 0, 0, 0, 0, 0, 0, 0};

private:
  void LeavePortList();
  void StoreFromPort();
  void WritePin();
};

// Whether text stands in caption as a whole word: found at a place where
// neither the character before it nor the one after it is a letter, a
// digit or an underscore. So "ADC1" stands in "PF1/ADC1" but not in
// "PK2/ADC10", and "RXD" not in "PD2/RXD1". An empty text stands nowhere.
bool CaptionHoldsWord(const wchar_t* caption, const wchar_t* text);

// The message the pin block's dialog shows in an alternate mode.
extern const wchar_t* const kBeAltModeRefusal;
