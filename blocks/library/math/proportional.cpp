#include "blocks/library/math/proportional.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/math/scaling.h"
#include "blocks/library/math/scaling_record.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kFloatCycles = 140;
const int kFloatRom = 12;
const int kCaptionChars = 48;
}  // namespace

CBEProportional::CBEProportional() {
  rect = RECT{0, 0, 100, 22};
  fillColor = kScalingFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEProportional::Create() { return new (std::nothrow) CBEProportional; }

BeSignalType CBEProportional::GetInputType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }
BeSignalType CBEProportional::GetOutputType() const {
  return outputCount > 0 ? outputs[0]->type : kBeSignalChar;
}

void CBEProportional::UpdateCosts() {
  if (tableMode) {
    int k = InputCostFactor(GetInputType());
    int s = OutputCostFactor(GetOutputType());
    cycles = k + 2 * s + 1 + (k == 2 ? 1 : 0);
    rom = k * s * (2 * amplitude + 1);
    sharedRoutine = 0;
  } else {
    cycles = kFloatCycles;
    rom = kFloatRom;
    sharedRoutine = 1;
  }
}

void CBEProportional::AttachToScheme(BeScheme* newScheme) {
  if (newScheme && newScheme->romLimit > 0) {
    tableMode = kTableMode;
    UpdateCosts();
  }
  CBEBlock::AttachToScheme(newScheme);
}

void CBEProportional::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  double x = ReadScalarValue(source->value, inputs[0]->type);
  if (tableMode) {
    // The table holds the inputs -r..r; one beyond reads the nearest end.
    if (x > amplitude) x = amplitude;
    if (x < -amplitude) x = -amplitude;
  }
  double y = static_cast<double>(coefficient) * x;
  WriteScaledResult(outputs[0]->value, outputs[0]->type, y, tableMode != 0);
}

void CBEProportional::Save(CStream* stream) {
  WriteFloatField(stream, coefficient);
  stream->WriteByte(static_cast<unsigned char>(GetInputType()));
  stream->WriteByte(static_cast<unsigned char>(GetOutputType()));
  stream->WriteByte(tableMode);
  stream->WriteInt16(amplitude);
  CBEBlock::Save(stream);
}

bool CBEProportional::Load(CStream* stream) {
  float c;
  BeSignalType in, out;
  unsigned char mode;
  int16_t r;
  if (!ReadFloatChecked(stream, &c) || !ReadDataTypeByte(stream, &in) ||
      !ReadDataTypeByte(stream, &out) || !ReadModeByte(stream, &mode) ||
      !ReadInt16Field(stream, &r) || r < 0 || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  float wasC = coefficient;
  BeSignalType wasIn = GetInputType(), wasOut = GetOutputType();
  unsigned char wasMode = tableMode;
  int16_t wasR = amplitude;
  coefficient = c;
  inputs[0]->type = in;
  outputs[0]->type = out;
  tableMode = mode;
  amplitude = r;
  UpdateCosts();
  if (CBEBlock::Load(stream)) return true;
  coefficient = wasC;
  inputs[0]->type = wasIn;
  outputs[0]->type = wasOut;
  tableMode = wasMode;
  amplitude = wasR;
  UpdateCosts();
  return false;
}

void CBEProportional::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatScalingConstant(coefficient, L"", text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEProportional::ShowProperties() { return ShowBlockDialog(this, kBeProportionalClassId); }
