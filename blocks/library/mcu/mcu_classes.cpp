#include "blocks/library/mcu/mcu_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/avr_timer.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/pwm_detector.h"
#include "blocks/library/mcu/software_pwm.h"
#include "blocks/library/mcu/spi.h"
#include "blocks/library/mcu/twi.h"
#include "blocks/library/mcu/uart.h"

const BeLibraryClassRow kMcuClassRows[] = {
    {kBePWMDetectorClassId, CBEPWMDetector::Create},
    {kBeIntervalDetectorClassId, CBEIntervalDetector::Create},
    {kBeSoftwarePWMClassId, CBESoftwarePWM::Create},
    {kBePortPinBlockClassId, CBEIOPort::Create},
    {kBeAvrUARTClassId, CBEUART::Create},
    {kBeAvrSPIClassId, CBESPI::Create},
    {kBeAvrTWIClassId, CBETWI::Create},
    {kBeAvrTimerClassId, CBEAvrTimer::Create},
    {kBeAvrADCClassId, CBEAvrADC::Create},
};
const int kMcuClassRowCount = sizeof(kMcuClassRows) / sizeof(kMcuClassRows[0]);

const BeDeviceEntryRow kAvrDeviceRows[] = {
    {kBePortPinBlockClassId, L"Вывод микропроцессора"},
    {kBeAvrUARTClassId, L"UART"},
    {kBeAvrSPIClassId, L"SPI"},
    {kBeAvrTWIClassId, L"Двухпроводной последовательный интерфейс (TWI)"},
    {kBeAvrTimerClassId, L"Timer/Counter"},
    {kBeAvrADCClassId, L"АЦП"},
};
const int kAvrDeviceRowCount = sizeof(kAvrDeviceRows) / sizeof(kAvrDeviceRows[0]);
