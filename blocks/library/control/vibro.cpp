#include "blocks/library/control/vibro.h"

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
const LinkFraction kFraction = {3, 10, RGB(0, 0, 0), L"Arial"};
const wchar_t kDenominator[] = L"T\x00B2s\x00B2+2\x03BETs+1";
}  // namespace

CBEVibro::CBEVibro() {
  rect = RECT{0, 0, 100, 40};
  fillColor = kLinkFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalFloat);
  cycles = 930;
  rom = 112;
  sharedRoutine = 1;
}

CBEBlock* CBEVibro::Create() { return new (std::nothrow) CBEVibro; }

BeSignalType CBEVibro::GetOutputType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBEVibro::Start() {
  y = 0;
  v = 0;
  double twice = damping * 2 * timeConstant;
  if (IsUsableDivisor(twice)) {
    b = 1 / twice;
    tau = timeConstant * timeConstant * b;
  } else {
    b = 0;
    tau = 0;
  }
}

void CBEVibro::Step(float dt) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  BeSignalType type = inputs[0]->type;
  if (!source || !IsScalarDataType(type) || !IsUsableDivisor(tau)) return;
  double x = ReadScalarValue(source->value, type);
  double d = (x - y) * b;
  if (dt / 4.0 > tau) {
    v = d;
  } else {
    v = v + dt * (d - v) / tau;
  }
  y = y + dt * v;
  double out = gain * y;
  BeSignalType outType = GetOutputType();
  switch (outType) {
    case kBeSignalChar: out = ClampLinkValue(out, -127, 127); break;
    case kBeSignalShort: out = ClampLinkValue(out, -32767, 32767); break;
    case kBeSignalInt: out = ClampLinkValue(out, -2147483647.0, 2147483647.0); break;
    default: break;
  }
  WriteLinkValue(outputs[0]->value, outType, out);
}

void CBEVibro::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&gain, 8);
  stream->Write(&timeConstant, 8);
  stream->Write(&damping, 8);
  stream->WriteByte(GetOutputType());
}

bool CBEVibro::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  double k, t, xi;
  BeSignalType type;
  if (!ReadDoubleChecked(stream, &k) || !ReadDoubleChecked(stream, &t) || !ReadDoubleChecked(stream, &xi) ||
      !ReadDataTypeByte(stream, &type))
    return false;
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  gain = k;
  timeConstant = t;
  damping = xi;
  SetPinTypes(this, type);
  return true;
}

void CBEVibro::Draw(HDC dc) {
  wchar_t k[kLinkTextChars];
  FormatLinkNumber(gain, L"", k, kLinkTextChars);
  DrawBody(dc);
  DrawLinkFraction(dc, rect, kFraction, k, kDenominator);
}

bool CBEVibro::ShowProperties() { return ShowBlockDialog(this, kBeVibroClassId); }
