// The device blocks an AVR microcontroller puts into its program when a
// database model is applied: a pin block per port or analog pin and the
// peripherals (UARTs, timers, ADC, TWI, SPI) beside them.
#pragma once

class BeScheme;
class CAVR;

// The column of the peripheral blocks: x, the first y and the step.
const int kUnitAvrPeripheralX = 400;
const int kUnitAvrPeripheralTop = 20;
const int kUnitAvrPeripheralStep = 100;
// The most timers a model has.
const int kUnitAvrMaxTimers = 4;

// The compare channels of each timer for a model's "Timers" and "PWM"
// counts (-1 for a timer the model has not); the number of timers, or 0
// for a pair that makes no timer block.
int GetAvrTimerChannels(int timers, int pwm, int channels[kUnitAvrMaxTimers]);

// Whether the chip gives pin index pin a pin block: a port pin ("P...") or
// an analog-only pin ("ADC..."), but not RESET, nor XTAL with a clock
// above 1 MHz, nor a JTAG pin with the JTAG programming interface.
bool AvrPinHasBlock(const CAVR* chip, int pin);

// Deletes every device block of the program (what an earlier model made);
// the blocks the user made stay.
void DeleteAvrDeviceBlocks(BeScheme* program);

// The pin blocks, in pin order, then the peripherals in a column. A block
// the catalogue cannot make is left out.
void AddAvrProgramBlocks(CAVR* chip);
