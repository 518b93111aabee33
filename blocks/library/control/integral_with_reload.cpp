#include "blocks/library/control/integral_with_reload.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/control/link_drawing.h"
#include "blocks/library/control/link_value.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"

namespace {
const int kInputX = 0;
const int kInputD = 1;
const int kInputW = 2;
const LinkFraction kFraction = {6, 20, RGB(0, 0, 255), nullptr};
}  // namespace

CBEIntegralWithReload::CBEIntegralWithReload() {
  rect = RECT{0, 0, 70, 40};
  fillColor = kLinkFill;
  SetOutputCount(1);
  if (SetInputCount(3)) {
    inputs[kInputX]->name = L"x";
    inputs[kInputX]->description = L"Вход интегрирующего звена";
    inputs[kInputD]->name = L"D";
    inputs[kInputD]->description = L"Данные для перезагрузки";
    inputs[kInputW]->name = L"W";
    inputs[kInputW]->description = L"Разрешение записи данных для перезагрузки";
    inputs[kInputW]->type = kBeSignalBit;
    SetDataType(kBeSignalFloat);
  }
  cycles = 731;
  rom = 42;
  sharedRoutine = 1;
}

CBEBlock* CBEIntegralWithReload::Create() {
  auto* block = new (std::nothrow) CBEIntegralWithReload;
  // A block whose pins could not be made is of no use.
  if (block && block->inputCount != 3) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEIntegralWithReload::GetOutputType() const {
  return outputCount > 0 ? outputs[0]->type : kBeSignalFloat;
}

void CBEIntegralWithReload::SetDataType(BeSignalType type) {
  if (inputCount < 3 || outputCount < 1) return;
  inputs[kInputX]->type = type;
  inputs[kInputD]->type = type;
  outputs[0]->type = type;
}

void CBEIntegralWithReload::Start() { state = initialOutput; }

void CBEIntegralWithReload::Step(float dt) {
  if (inputCount < 3 || outputCount < 1) return;
  const BeInputPin* x = inputs[kInputX];
  const BeInputPin* d = inputs[kInputD];
  const BeInputPin* w = inputs[kInputW];
  if (d->source && w->source && w->source->value[0] != 0) {
    if (IsScalarDataType(d->type)) state = ReadScalarValue(d->source->value, d->type);
  } else if (x->source && IsScalarDataType(x->type)) {
    state = state + ReadScalarValue(x->source->value, x->type) * gain * dt;
  }
  WriteLinkValue(outputs[0]->value, GetOutputType(), state);
}

void CBEIntegralWithReload::Save(CStream* stream) {
  stream->Write(&gain, 8);
  stream->Write(&initialOutput, 8);
  stream->WriteByte(GetOutputType());
  CBEBlock::Save(stream);
}

bool CBEIntegralWithReload::Load(CStream* stream) {
  double k, initial;
  BeSignalType type;
  if (!ReadDoubleChecked(stream, &k) || !ReadDoubleChecked(stream, &initial) || !ReadDataTypeByte(stream, &type) ||
      !BaseRecordFollows(stream, inputCount, outputCount))
    return false;
  if (!LoadBaseRecord(this, stream)) return false;
  gain = k;
  initialOutput = initial;
  SetDataType(type);
  return true;
}

void CBEIntegralWithReload::Draw(HDC dc) {
  wchar_t k[kLinkTextChars];
  FormatLinkNumber(gain, L"", k, kLinkTextChars);
  DrawBody(dc);
  DrawLinkFraction(dc, rect, kFraction, k, L"s");
}

bool CBEIntegralWithReload::ShowProperties() { return ShowBlockDialog(this, kBeIntegralWithReloadClassId); }
