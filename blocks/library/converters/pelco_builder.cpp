#include "blocks/library/converters/pelco_builder.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/base_record.h"
#include "blocks/library/typed_block.h"

namespace {
struct InputRow {
  const wchar_t* name;
  const wchar_t* description;
};
const InputRow kInputs[3] = {
    {L"zoom", L"Скорость увеличения камеры"},
    {L"x", L"Скорость поворота камеры по X"},
    {L"y", L"Скорость поворота камеры по Y"},
};
}  // namespace

CBEPelcoBuilder::CBEPelcoBuilder() {
  rect = RECT{0, 0, 100, 50};
  fillColor = RGB(255, 255, 255);
  if (!SetInputCount(3) || !SetOutputCount(1)) return;
  for (int i = 0; i < 3; ++i) {
    inputs[i]->type = kBeSignalChar;
    inputs[i]->name = kInputs[i].name;
    inputs[i]->description = kInputs[i].description;
  }
  outputs[0]->type = kBeSignalCameraControl;
  outputs[0]->name = L"data";
  outputs[0]->description = L"На устройство связи";
}

CBEBlock* CBEPelcoBuilder::Create() { return KeepIfPinsMade(new (std::nothrow) CBEPelcoBuilder, 3, 1); }

void CBEPelcoBuilder::Step(float) {
  if (inputCount < 3 || outputCount < 1) return;
  for (int i = 0; i < 3; ++i) {
    const BeOutputPin* source = inputs[i]->source;
    outputs[0]->value[i] = source ? source->value[0] : 0;
  }
}

void CBEPelcoBuilder::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"PELCO-D");
}

bool CBEPelcoBuilder::Load(CStream* stream) {
  return BaseRecordFollows(stream, inputCount, outputCount) && LoadBaseRecord(this, stream);
}
