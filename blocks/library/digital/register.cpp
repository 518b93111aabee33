#include "blocks/library/digital/register.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"

CBERegister::CBERegister() : CBELatchBlock(L"W", L"Разрешение записи") {
  cycles = 4;
  rom = 0;
}

CBEBlock* CBERegister::Create() { return KeepIfPinsMade(new (std::nothrow) CBERegister, 2, 1); }

void CBERegister::Start() { memset(outputs[0]->value, 0, 8); }

void CBERegister::Step(float) {
  const BeOutputPin* data = inputs[0]->source;
  const unsigned char* write = SourceValue(inputs[1]);
  if (!data || !write || !AnyOfFirstFourBytes(write)) return;
  outputs[0]->type = data->type;
  memcpy(outputs[0]->value, data->value, 8);
}

void CBERegister::Draw(HDC dc) {
  DrawBody(dc);
  DrawDigitalLetter(dc, rect, L"reg");
}

bool CBERegister::ShowProperties() { return ShowBlockDialog(this, kBeRegisterClassId); }
