// The library's microcontroller blocks: the pulse measurement and the
// software PWM, which the microcontroller's catalogue offers in its
// "Преобразователи" tab after the common entries; the pin blocks and the
// peripherals (UART, SPI, TWI, timers, ADC), which stand in the hidden
// group 0 of its catalogue and which the microcontroller makes itself.
#pragma once

#include "blocks/library/interfaces/interfaces_classes.h"
#include "blocks/library/library_classes.h"

extern const BeLibraryClassRow kMcuClassRows[];
extern const int kMcuClassRowCount;

// The device entries of the microcontroller's catalogue (AddDeviceEntries).
extern const BeDeviceEntryRow kAvrDeviceRows[];
extern const int kAvrDeviceRowCount;
