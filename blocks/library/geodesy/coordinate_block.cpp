#include "blocks/library/geodesy/coordinate_block.h"

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/base_record.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"

const BeCoordinatePin kBeGeocentricPins[3] = {
    {L"x", L"Геоцентрическая координата X [м]"},
    {L"y", L"Геоцентрическая координата Y [м]"},
    {L"z", L"Геоцентрическая координата Z [м]"},
};
const BeCoordinatePin kBeWgs84Pins[3] = {
    {L"Шир", L"Широта в WGS-84 [рад]"},
    {L"Дол", L"Долгота в WGS-84 [рад]"},
    {L"Выс", L"Высота в WGS-84 [м]"},
};
const BeCoordinatePin kBePz90Pins[3] = {
    {L"Шир", L"Широта в ПЗ-90.02 [рад]"},
    {L"Дол", L"Долгота в ПЗ-90.02 [рад]"},
    {L"Выс", L"Высота в ПЗ-90.02 [м]"},
};

CBECoordinateBlock::CBECoordinateBlock(const BeCoordinateLayout& layout) : text_(layout.text) {
  rect = RECT{0, 0, layout.width, layout.height};
  fillColor = RGB(255, 255, 255);
  cycles = layout.cycles;
  rom = layout.rom;
  sharedRoutine = layout.shared ? 1 : 0;
  if (!SetInputCount(layout.inputCount) || !SetOutputCount(3)) return;
  for (int i = 0; i < inputCount; ++i) {
    inputs[i]->type = kBeSignalDouble;
    inputs[i]->name = layout.inputs[i].name;
    inputs[i]->description = layout.inputs[i].description;
    if (layout.inputOffsets) inputs[i]->yOffset = layout.inputOffsets[i];
  }
  for (int i = 0; i < outputCount; ++i) {
    outputs[i]->type = kBeSignalDouble;
    outputs[i]->name = layout.outputs[i].name;
    outputs[i]->description = layout.outputs[i].description;
    if (layout.outputOffsets) outputs[i]->yOffset = layout.outputOffsets[i];
  }
}

double CBECoordinateBlock::ReadInput(int i) const {
  const BeInputPin* in = Input(i);
  if (!in || !in->source) return 0.0;
  return ReadScalarValue(in->source->value, in->source->type);
}

void CBECoordinateBlock::WriteOutputs(double a, double b, double c) {
  if (outputCount < 3) return;
  WriteDoubleValue(outputs[0]->value, a);
  WriteDoubleValue(outputs[1]->value, b);
  WriteDoubleValue(outputs[2]->value, c);
}

void CBECoordinateBlock::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, text_);
}

CBEBlock* KeepIfCoordinatePinsMade(CBECoordinateBlock* block, const BeCoordinateLayout& layout) {
  return KeepIfPinsMade(block, layout.inputCount, 3);
}

bool CBECoordinateBlock::Load(CStream* stream) {
  return BaseRecordFollows(stream, inputCount, outputCount) && LoadBaseRecord(this, stream);
}
