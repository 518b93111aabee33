#include "blocks/library/digital/d_flip_flop.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/digital/latch_type.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

CBEDFlipFlop::CBEDFlipFlop() {
  rect = RECT{0, 0, 50, 40};
  fillColor = kDigitalFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2 && outputCount == 1) {
    inputs[0]->name = L"D";
    inputs[0]->description = L"Данные";
    inputs[1]->name = L"C";
    inputs[1]->description = L"Синхроный вход";
    outputs[0]->name = L"Q";
    outputs[0]->description = L"Выходные данные";
  }
  cycles = 8;
  rom = 22;
}

CBEBlock* CBEDFlipFlop::Create() { return KeepIfPinsMade(new (std::nothrow) CBEDFlipFlop, 2, 1); }

BeSignalType CBEDFlipFlop::GetType() const { return outputs[0]->type; }

void CBEDFlipFlop::UpdateCosts() { ApplyLatchCosts(this, GetType()); }

bool CBEDFlipFlop::SetDataType(BeSignalType type) {
  if (!IsLatchType(type)) return false;
  outputs[0]->Disconnect();
  outputs[0]->type = type;
  inputs[0]->source = nullptr;
  inputs[0]->type = type;
  UpdateCosts();
  return true;
}

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

void CBEDFlipFlop::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEDFlipFlop::Load(CStream* stream) {
  BeSignalType type;
  if (!ReadLatchTypeByte(stream, &type) || !BaseRecordFollows(stream, inputCount, outputCount)) return false;
  BeSignalType wasOutput = outputs[0]->type, wasData = inputs[0]->type;
  int wasCycles = cycles, wasRom = rom;
  outputs[0]->type = type;
  inputs[0]->type = type;
  UpdateCosts();
  if (CBEBlock::Load(stream)) return true;
  outputs[0]->type = wasOutput;
  inputs[0]->type = wasData;
  cycles = wasCycles;
  rom = wasRom;
  return false;
}

void CBEDFlipFlop::Draw(HDC dc) {
  DrawBody(dc);
  DrawDigitalLetter(dc, rect, L"T");
}

bool CBEDFlipFlop::ShowProperties() { return ShowBlockDialog(this, kBeDFlipFlopClassId); }
