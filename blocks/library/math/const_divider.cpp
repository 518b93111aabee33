#include "blocks/library/math/const_divider.h"

#include <cmath>
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
const int kFloatCycles = 940;
const int kFloatRom = 12;
const int kCaptionChars = 48;
}  // namespace

CBEConstDivider::CBEConstDivider() {
  rect = RECT{0, 0, 120, 22};
  fillColor = kScalingFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEConstDivider::Create() { return new (std::nothrow) CBEConstDivider; }

BeSignalType CBEConstDivider::GetInputType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalChar; }
BeSignalType CBEConstDivider::GetOutputType() const {
  return outputCount > 0 ? outputs[0]->type : kBeSignalChar;
}

void CBEConstDivider::UpdateCosts() {
  if (tableMode) {
    int k = InputCostFactor(GetInputType());
    int s = OutputCostFactor(GetOutputType());
    cycles = 2 * s + 8 * k + 1 + (k == 2 ? 1 : 0);
    rom = k * s * (to - from);
    sharedRoutine = 0;
  } else {
    cycles = kFloatCycles;
    rom = kFloatRom;
    sharedRoutine = 1;
  }
}

void CBEConstDivider::AttachToScheme(BeScheme* newScheme) {
  if (newScheme && newScheme->romLimit > 0) {
    tableMode = kTableMode;
    UpdateCosts();
  }
  CBEBlock::AttachToScheme(newScheme);
}

void CBEConstDivider::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  double x = ReadScalarValue(source->value, inputs[0]->type);
  if (tableMode) {
    x = std::isnan(x) ? 0 : std::trunc(x);
    if (x < from) x = from;
    if (x > to) x = to;
  }
  if (x == 0) x = 1;
  double y = static_cast<double>(dividend) / x;
  WriteScaledResult(outputs[0]->value, outputs[0]->type, y, tableMode != 0);
}

void CBEConstDivider::Save(CStream* stream) {
  WriteFloatField(stream, dividend);
  stream->WriteByte(static_cast<unsigned char>(GetInputType()));
  stream->WriteByte(static_cast<unsigned char>(GetOutputType()));
  stream->WriteByte(tableMode);
  stream->WriteInt16(from);
  stream->WriteInt16(to);
  CBEBlock::Save(stream);
}

bool CBEConstDivider::Load(CStream* stream) {
  float d;
  BeSignalType in, out;
  unsigned char mode;
  int16_t lo, hi;
  if (!ReadFloatChecked(stream, &d) || !ReadDataTypeByte(stream, &in) ||
      !ReadDataTypeByte(stream, &out) || !ReadModeByte(stream, &mode) ||
      !ReadInt16Field(stream, &lo) || !ReadInt16Field(stream, &hi) || lo > hi ||
      !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  float wasD = dividend;
  BeSignalType wasIn = GetInputType(), wasOut = GetOutputType();
  unsigned char wasMode = tableMode;
  int16_t wasFrom = from, wasTo = to;
  dividend = d;
  inputs[0]->type = in;
  outputs[0]->type = out;
  tableMode = mode;
  from = lo;
  to = hi;
  UpdateCosts();
  if (CBEBlock::Load(stream)) return true;
  dividend = wasD;
  inputs[0]->type = wasIn;
  outputs[0]->type = wasOut;
  tableMode = wasMode;
  from = wasFrom;
  to = wasTo;
  UpdateCosts();
  return false;
}

void CBEConstDivider::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatScalingConstant(dividend, L" / x", text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEConstDivider::ShowProperties() { return ShowBlockDialog(this, kBeConstDividerClassId); }
