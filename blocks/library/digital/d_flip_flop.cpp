#include "blocks/library/digital/d_flip_flop.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"

CBEDFlipFlop::CBEDFlipFlop() : CBELatchBlock(L"C", L"Синхроный вход") {
  cycles = 8;
  rom = 22;
}

CBEBlock* CBEDFlipFlop::Create() { return KeepIfPinsMade(new (std::nothrow) CBEDFlipFlop, 2, 1); }

void CBEDFlipFlop::Start() {
  previousClock = 0;
  memset(outputs[0]->value, 0, 8);
}

void CBEDFlipFlop::Step(float) {
  const unsigned char* data = SourceValue(inputs[0]);
  const unsigned char* clock = SourceValue(inputs[1]);
  if (!data || !clock) return;
  if (clock[0] != 0 && previousClock == 0) memcpy(outputs[0]->value, data, 8);
  previousClock = clock[0];
}

void CBEDFlipFlop::Draw(HDC dc) {
  DrawBody(dc);
  DrawDigitalLetter(dc, rect, L"T");
}

bool CBEDFlipFlop::ShowProperties() { return ShowBlockDialog(this, kBeDFlipFlopClassId); }
