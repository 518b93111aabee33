#include "blocks/library/digital/register.h"

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

CBERegister::CBERegister() {
  rect = RECT{0, 0, 50, 40};
  fillColor = kDigitalFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2 && outputCount == 1) {
    inputs[0]->name = L"D";
    inputs[0]->description = L"Данные";
    inputs[1]->name = L"W";
    inputs[1]->description = L"Разрешение записи";
    outputs[0]->name = L"Q";
    outputs[0]->description = L"Выходные данные";
  }
  cycles = 4;
  rom = 0;
}

CBEBlock* CBERegister::Create() { return KeepIfPinsMade(new (std::nothrow) CBERegister, 2, 1); }

BeSignalType CBERegister::GetType() const { return outputs[0]->type; }

void CBERegister::UpdateCosts() { ApplyLatchCosts(this, GetType()); }

bool CBERegister::SetDataType(BeSignalType type) {
  if (!IsLatchType(type)) return false;
  outputs[0]->Disconnect();
  outputs[0]->type = type;
  inputs[0]->source = nullptr;
  inputs[0]->type = type;
  UpdateCosts();
  return true;
}

void CBERegister::Start() { memset(outputs[0]->value, 0, 8); }

void CBERegister::Step(float) {
  const BeOutputPin* data = inputs[0]->source;
  const unsigned char* write = SourceValue(inputs[1]);
  if (!data || !write || !AnyOfFirstFourBytes(write)) return;
  outputs[0]->type = data->type;
  memcpy(outputs[0]->value, data->value, 8);
}

void CBERegister::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBERegister::Load(CStream* stream) {
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

void CBERegister::Draw(HDC dc) {
  DrawBody(dc);
  DrawDigitalLetter(dc, rect, L"reg");
}

bool CBERegister::ShowProperties() { return ShowBlockDialog(this, kBeRegisterClassId); }
