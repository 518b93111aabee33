#include "units/avr/avr_program_blocks.h"

#include <cwchar>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/mcu/avr_timer.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/uart.h"
#include "units/avr/avr.h"

namespace {

// Compare channels of timers 0 to 3 by the model's timer and PWM counts.
struct TimerRow {
  int timers;
  int pwm;
  int channels[kUnitAvrMaxTimers];
};
const TimerRow kTimerRows[] = {
    {3, 3, {0, 2, 1, -1}}, {3, 4, {1, 2, 1, -1}}, {3, 6, {2, 2, 2, -1}},
    {4, 7, {1, 3, 1, 3}},  {4, 8, {2, 2, 2, 2}},
};

bool Begins(const wchar_t* text, const wchar_t* prefix) {
  return text && wcsncmp(text, prefix, wcslen(prefix)) == 0;
}
bool Holds(const wchar_t* text, const wchar_t* part) { return text && wcsstr(text, part) != nullptr; }

CBEIOPort* AddPinBlock(BeScheme* program, int pin, const wchar_t* caption) {
  CBEBlock* block = program->CreateBlock(kBePortPinBlockClassId);
  CBEIOPort* port = dynamic_cast<CBEIOPort*>(block);
  if (!port) {
    delete block;
    return nullptr;
  }
  port->pinId = static_cast<unsigned short>(pin);
  port->flags = kBeBlockDevice;
  port->SetCaption(caption);
  return port;
}

// A new peripheral block of the class at the column's next place.
CBEBlock* AddPeripheral(BeScheme* program, unsigned int classId, int* y) {
  CBEBlock* block = program->CreateBlock(classId);
  if (!block) return nullptr;
  block->MoveTo(kUnitAvrPeripheralX, *y);
  *y += kUnitAvrPeripheralStep;
  return block;
}

}  // namespace

int GetAvrTimerChannels(int timers, int pwm, int channels[kUnitAvrMaxTimers]) {
  for (int k = 0; k < kUnitAvrMaxTimers; ++k) channels[k] = -1;
  for (const TimerRow& row : kTimerRows) {
    if (row.timers != timers || row.pwm != pwm) continue;
    for (int k = 0; k < kUnitAvrMaxTimers; ++k) channels[k] = row.channels[k];
    return row.timers;
  }
  return 0;
}

bool AvrPinHasBlock(const CAVR* chip, int pin) {
  if (!chip || pin < 0 || pin >= chip->pinCount) return false;
  const wchar_t* name = chip->pins[pin].name;
  if (!Begins(name, L"P") && !Begins(name, L"ADC")) return false;
  if (Holds(name, L"RESET")) return false;
  if (chip->freq > 1.0f && Holds(name, L"XTAL")) return false;
  if (chip->programmer == 1 &&
      (Holds(name, L"/TDI") || Holds(name, L"/TDO") || Holds(name, L"/TCK") || Holds(name, L"/TMS")))
    return false;
  return true;
}

void DeleteAvrDeviceBlocks(BeScheme* program) {
  if (!program) return;
  CBEBlock* block = program->blocks;
  while (block) {
    CBEBlock* next = block->next;
    if (block->IsDevice()) {
      delete block;
      // A block's deletion may take others with it: start over.
      block = program->blocks;
      continue;
    }
    block = next;
  }
}

void AddAvrProgramBlocks(CAVR* chip) {
  BeScheme* program = chip ? chip->GetProgram() : nullptr;
  if (!program) return;
  for (int i = 0; i < chip->pinCount; ++i) {
    if (!AvrPinHasBlock(chip, i)) continue;
    const bool analogOnly = Begins(chip->pins[i].name, L"ADC");
    CBEIOPort* port = AddPinBlock(program, i, chip->pins[i].description);
    if (!port || !analogOnly) continue;
    port->SetMode(CBEIOPort::kModeAltInput);
    if (port->outputCount > 0) port->outputs[0]->hardware = 1;
  }

  int y = kUnitAvrPeripheralTop;
  for (int j = 0; j < chip->UART; ++j) {
    CBEUART* uart = dynamic_cast<CBEUART*>(AddPeripheral(program, kBeAvrUARTClassId, &y));
    if (!uart || chip->UART < 2) continue;
    uart->number = static_cast<unsigned char>(j);
    uart->UpdateCaption();
  }
  int channels[kUnitAvrMaxTimers];
  const int timers = GetAvrTimerChannels(chip->Timers, chip->PWM, channels);
  for (int k = 0; k < timers; ++k) {
    CBEAvrTimer* timer = dynamic_cast<CBEAvrTimer*>(AddPeripheral(program, kBeAvrTimerClassId, &y));
    if (!timer) continue;
    timer->number = k;
    timer->wide = k == 1 || k == 3 ? 1 : 0;
    if (!timer->wide) timer->top = 255;
    timer->channelCount = static_cast<unsigned char>(channels[k]);
    timer->BuildPins(true);
  }
  AddPeripheral(program, kBeAvrADCClassId, &y);
  AddPeripheral(program, kBeAvrTWIClassId, &y);
  AddPeripheral(program, kBeAvrSPIClassId, &y);
}
