#include "blocks/library/control/inertial.h"

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
const LinkFraction kFraction = {6, 10, RGB(0, 0, 0), nullptr};
}  // namespace

CBEInertial::CBEInertial() {
  rect = RECT{0, 0, 100, 40};
  fillColor = kLinkFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalFloat);
  cycles = 430;
  rom = 40;
  sharedRoutine = 1;
}

CBEBlock* CBEInertial::Create() { return new (std::nothrow) CBEInertial; }

BeSignalType CBEInertial::GetOutputType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBEInertial::Start() { y = 0; }

void CBEInertial::Step(float dt) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  BeSignalType type = inputs[0]->type;
  if (!source || !IsScalarDataType(type)) return;
  double u = gain * ReadScalarValue(source->value, type);
  if (dt / 4.0 > timeConstant) {
    y = u;
  } else if (IsUsableDivisor(timeConstant)) {
    y = y + dt * (u - y) / timeConstant;
  } else {
    return;
  }
  WriteLinkValue(outputs[0]->value, GetOutputType(), y);
}

void CBEInertial::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&gain, 8);
  stream->Write(&timeConstant, 8);
  stream->WriteByte(GetOutputType());
}

bool CBEInertial::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  double k, t;
  BeSignalType type;
  if (!ReadDoubleChecked(stream, &k) || !ReadDoubleChecked(stream, &t) || !ReadDataTypeByte(stream, &type))
    return false;
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  gain = k;
  timeConstant = t;
  SetPinTypes(this, type);
  return true;
}

void CBEInertial::Draw(HDC dc) {
  wchar_t k[kLinkTextChars], lower[kLinkTextChars];
  FormatLinkNumber(gain, L"", k, kLinkTextChars);
  FormatLinkNumber(timeConstant, L"\x00B7s+1", lower, kLinkTextChars);
  DrawBody(dc);
  DrawLinkFraction(dc, rect, kFraction, k, lower);
}

bool CBEInertial::ShowProperties() { return ShowBlockDialog(this, kBeInertialClassId); }
