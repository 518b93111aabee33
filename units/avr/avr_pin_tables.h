// The pin names of the AVR microcontroller by package: for every pin a short
// name (the label drawn beside the pin in the symbol; a leading "~" is drawn
// as an overline, an active-low pin) and a description (the pin's long
// text, the caption of its pin block in the program). The texts are static:
// pins point at them and never own them. They are kept exactly as the
// chip's documentation sheets of this system give them.
#pragma once

struct AvrPinText {
  const wchar_t* name;
  const wchar_t* description;
};

// What selects a package's second column of names.
struct AvrPinVariant {
  bool pinChange;  // 28 and 32 pins: the model has pin-change interrupts ("PCINTx")
  bool fastClock;  // 32 pins: the clock is above 1 MHz (pins 7 and 8 named "XTAL1", "XTAL2")
  bool eightPwm;   // 40 and 44 pins: 8 PWM channels with 4 timers
};

// Whether the pin count has a table: 28, 32, 40, 44 or 64.
bool HasAvrPinTable(int pinCount);

// The texts of pin index pin (0-based) of a package of pinCount pins in the
// variant; false, with *text cleared, for a pin count without a table or a
// pin outside it.
bool GetAvrPinText(int pinCount, const AvrPinVariant& variant, int pin, AvrPinText* text);
