#include "blocks/library/control/diff.h"

#include <climits>
#include <cstring>
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
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const int kFloatCycles = 530;
const int kFloatRom = 34;
const int kTableCycles = 10;
const int kTableEntries = 256;
const int kTableRomBase = 20;
const int32_t kTableReach = 127;  // the quantised change lies within -127..127
const int32_t kLargestShift = 24;  // 2^31 - 1 needs no more

// v >> s with the sign kept (rounding toward minus infinity), without
// shifting a negative value.
int32_t ShiftRightArithmetic(int32_t v, int32_t s) {
  if (v >= 0) return v >> s;
  return -1 - ((-1 - v) >> s);
}

// The change of an integer input as a table of 256 entries holds it: its
// top 8 bits, from the shift on, held within -127..127, scaled back.
int64_t Quantise(int32_t d, int32_t s) {
  int32_t q = SaturateInt32(ShiftRightArithmetic(d, s), -kTableReach, kTableReach);
  return static_cast<int64_t>(q) * (static_cast<int64_t>(1) << s);
}

// a - b wrapped in 32 bits.
int32_t WrappingDifference(int32_t a, int32_t b) {
  uint32_t d = static_cast<uint32_t>(a) - static_cast<uint32_t>(b);
  int32_t result;
  memcpy(&result, &d, 4);
  return result;
}
}  // namespace

CBEDiff::CBEDiff() {
  rect = RECT{0, 0, 70, 20};
  fillColor = kLinkFill;
  SetInputCount(1);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalChar);
  UpdateCosts();
}

CBEBlock* CBEDiff::Create() { return new (std::nothrow) CBEDiff; }

BeSignalType CBEDiff::GetOutputType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

int32_t CBEDiff::ShiftFor(int32_t a) {
  int32_t k = 0;
  while (k < kLargestShift && (static_cast<int64_t>(1) << (k + 7)) - 1 < a) ++k;
  return k;
}

void CBEDiff::UpdateCosts() {
  if (realisation) {
    cycles = kTableCycles;
    rom = kTableEntries * GetSignalValueSize(GetOutputType()) + kTableRomBase;
    sharedRoutine = 0;
  } else {
    cycles = kFloatCycles;
    rom = kFloatRom;
    sharedRoutine = 1;
  }
}

void CBEDiff::AttachToScheme(BeScheme* newScheme) {
  CBEBlock::AttachToScheme(newScheme);
  if (newScheme && newScheme->romLimit > 0) {
    realisation = kTableRealisation;
    UpdateCosts();
  }
}

void CBEDiff::Start() {
  memset(previous, 0, sizeof previous);
  shift = ShiftFor(amplitude);
}

void CBEDiff::Step(float dt) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  // A pass without time has no derivative: the output stays, and the next
  // pass differentiates against the value before this one.
  if (!IsUsableDivisor(dt)) return;
  BeSignalType type = inputs[0]->type;
  unsigned char* out = outputs[0]->value;
  bool table = realisation != 0;
  switch (type) {
    case kBeSignalChar: {
      double d = ReadIntegerValue(source->value, type) - ReadIntegerValue(previous, type);
      if (table) d = ClampLinkValue(d, -kTableReach, kTableReach);
      double y = ClampLinkValue(d * gain / dt, -127, 127);
      WriteIntegerValue(out, kBeSignalChar, static_cast<uint32_t>(TruncateLinkValue(y)));
      break;
    }
    case kBeSignalShort:
    case kBeSignalInt: {
      int32_t d32 = WrappingDifference(ReadIntegerValue(source->value, type), ReadIntegerValue(previous, type));
      double d = table ? static_cast<double>(Quantise(d32, shift)) : d32;
      double y = d * gain / dt;
      y = type == kBeSignalShort ? ClampLinkValue(y, -32767, 32767) : ClampLinkValue(y, INT_MIN, INT_MAX);
      WriteIntegerValue(out, type, static_cast<uint32_t>(TruncateLinkValue(y)));
      break;
    }
    case kBeSignalFloat: {
      double d = static_cast<double>(ReadFloatValue(source->value)) - ReadFloatValue(previous);
      WriteFloatValue(out, RoundToFloat(RoundToFloat(d) * gain / dt));
      break;
    }
    case kBeSignalDouble: {
      double d = ReadDoubleValue(source->value) - ReadDoubleValue(previous);
      WriteDoubleValue(out, d * gain / dt);
      break;
    }
    default: break;
  }
  memcpy(previous, source->value, sizeof previous);
}

void CBEDiff::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&gain, 8);
  stream->WriteInt32(amplitude);
  stream->WriteByte(realisation & 0xFF);
  stream->WriteByte(GetOutputType());
}

bool CBEDiff::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  double k;
  int a;
  unsigned char mode;
  BeSignalType type;
  if (!ReadDoubleChecked(stream, &k) || !ReadInt32Checked(stream, &a) || !ReadByteChecked(stream, &mode) ||
      !ReadDataTypeByte(stream, &type))
    return false;
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  gain = k;
  amplitude = a;
  realisation = static_cast<int32_t>((static_cast<uint32_t>(realisation) & ~0xFFu) | mode);
  SetPinTypes(this, type);
  UpdateCosts();
  return true;
}

void CBEDiff::Draw(HDC dc) {
  wchar_t text[kLinkTextChars];
  FormatLinkNumber(gain, L"\x00B7s", text, kLinkTextChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEDiff::ShowProperties() { return ShowBlockDialog(this, kBeDiffClassId); }
