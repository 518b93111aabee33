#include "blocks/library/control/integral.h"

#include <climits>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
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
const int kFloatCycles = 731;
const int kFloatRom = 42;
const int kTableCycles = 20;
const int kTableRomBase = 40;
const LinkFraction kFraction = {6, 10, RGB(0, 0, 255), nullptr};
}  // namespace

CBEIntegral::CBEIntegral() {
  rect = RECT{0, 0, 50, 40};
  fillColor = kLinkFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEIntegral::Create() { return new (std::nothrow) CBEIntegral; }

BeSignalType CBEIntegral::GetOutputType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBEIntegral::UpdateCosts() {
  if (realisation) {
    long long bytes = 2LL * TruncateLinkValue(limit) * GetSignalValueSize(GetOutputType()) + kTableRomBase;
    cycles = kTableCycles;
    rom = bytes < 0 ? 0 : bytes > INT_MAX ? INT_MAX : static_cast<int>(bytes);
    sharedRoutine = 0;
  } else {
    cycles = kFloatCycles;
    rom = kFloatRom;
    sharedRoutine = 1;
  }
}

void CBEIntegral::AttachToScheme(BeScheme* newScheme) {
  CBEBlock::AttachToScheme(newScheme);
  if (newScheme && newScheme->romLimit > 0) {
    realisation = kTableRealisation;
    UpdateCosts();
  }
}

void CBEIntegral::Start() { state = initialOutput; }

void CBEIntegral::Step(float dt) {
  if (inputCount < 1 || outputCount < 1) return;
  BeSignalType type = inputs[0]->type;
  if (!IsScalarDataType(type)) return;
  const BeOutputPin* source = inputs[0]->source;
  if (source) {
    double x = ReadScalarValue(source->value, type);
    state = (x * gain) * dt + state;
    if (state > limit) {
      state = limit;
    } else if (state < -limit) {
      state = -limit;
    }
  }
  WriteLinkValue(outputs[0]->value, GetOutputType(), state);
}

void CBEIntegral::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&gain, 8);
  stream->Write(&initialOutput, 8);
  stream->Write(&limit, 8);
  stream->WriteByte(realisation & 0xFF);
  stream->WriteByte(GetOutputType());
}

bool CBEIntegral::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  double k, initial, l;
  unsigned char mode;
  BeSignalType type;
  if (!ReadDoubleChecked(stream, &k) || !ReadDoubleChecked(stream, &initial) || !ReadDoubleChecked(stream, &l) ||
      !ReadByteChecked(stream, &mode) || !ReadDataTypeByte(stream, &type))
    return false;
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  gain = k;
  initialOutput = initial;
  limit = l;
  realisation = static_cast<int32_t>((static_cast<uint32_t>(realisation) & ~0xFFu) | mode);
  SetPinTypes(this, type);
  UpdateCosts();
  return true;
}

void CBEIntegral::Draw(HDC dc) {
  wchar_t k[kLinkTextChars];
  FormatLinkNumber(gain, L"", k, kLinkTextChars);
  DrawBody(dc);
  DrawLinkFraction(dc, rect, kFraction, k, L"s");
}

bool CBEIntegral::ShowProperties() { return ShowBlockDialog(this, kBeIntegralClassId); }
