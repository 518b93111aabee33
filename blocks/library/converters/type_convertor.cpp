#include "blocks/library/converters/type_convertor.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {

const COLORREF kConvertorFill = 0xFFFFFF;
const int kCaptionChars = 64;

struct Cost {
  int cycles;
  int rom;
  bool shared;
};
// By declared input type (rows) and output type (columns), bit to double.
const Cost kCosts[6][6] = {
    {{0, 0, false}, {5, 12, false}, {6, 14, false}, {8, 18, false}, {8, 18, false}, {12, 24, false}},
    {{7, 20, false}, {0, 0, false}, {6, 10, false}, {8, 22, false}, {50, 8, true}, {160, 12, true}},
    {{11, 24, false}, {0, 0, false}, {0, 0, false}, {7, 14, false}, {75, 20, false}, {275, 30, false}},
    {{13, 30, false}, {0, 0, false}, {0, 0, false}, {0, 0, false}, {160, 8, true}, {210, 16, true}},
    {{11, 24, false}, {80, 8, true}, {80, 8, true}, {80, 8, true}, {0, 0, false}, {20, 16, true}},
    {{11, 24, false}, {80, 8, true}, {80, 8, true}, {80, 8, true}, {20, 16, true}, {0, 0, false}},
};
const Cost kRealToOther = {80, 8, true};

bool IsConvertibleType(BeSignalType type) { return type >= kBeSignalBit && type <= kBeSignalDouble; }
bool IsBitLike(BeSignalType type) {
  return type == kBeSignalPwm || type == kBeSignalBit || type == kBeSignalPulseA || type == kBeSignalPulseB;
}

// The source value in its type S (S at most 8).
struct SourceValue {
  bool bitLike;
  unsigned char bit;  // the first byte of a bit-like source
  bool real;          // float or double
  int32_t integer;    // char, short, int
  double number;      // float or double
};

SourceValue ReadSource(const BeOutputPin* source) {
  SourceValue v = {};
  BeSignalType type = source->type;
  if (IsBitLike(type)) {
    v.bitLike = true;
    v.bit = source->value[0];
  } else if (type == kBeSignalFloat) {
    v.real = true;
    v.number = ReadFloatValue(source->value);
  } else if (type == kBeSignalDouble) {
    v.real = true;
    v.number = ReadDoubleValue(source->value);
  } else {
    v.integer = ReadIntegerValue(source->value, type);
  }
  return v;
}

// The source as a 32-bit integer for a char, short or int output.
int32_t IntegerOf(const SourceValue& v) {
  if (v.bitLike) return v.bit & 1;
  if (v.real) return TruncateToInt32Indefinite(v.number);
  return v.integer;
}

}  // namespace

CBETypeConvertor::CBETypeConvertor() {
  rect = RECT{0, 0, 120, 22};
  fillColor = kConvertorFill;
  SetInputCount(1);
  SetOutputCount(1);
  if (inputCount == 1 && outputCount == 1) {
    inputs[0]->type = kBeSignalBit;
    outputs[0]->type = kBeSignalChar;
  }
  UpdateCosts();
}

CBEBlock* CBETypeConvertor::Create() { return KeepIfPinsMade(new (std::nothrow) CBETypeConvertor, 1, 1); }

BeSignalType CBETypeConvertor::GetInputType() const { return inputCount > 0 ? inputs[0]->type : kBeSignalBit; }
BeSignalType CBETypeConvertor::GetOutputType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalChar; }

void CBETypeConvertor::UpdateCosts() {
  sharedRoutine = 0;
  BeSignalType in = GetInputType(), out = GetOutputType();
  if (!IsConvertibleType(in)) return;
  const Cost* cost = nullptr;
  if (IsConvertibleType(out)) {
    cost = &kCosts[in - kBeSignalBit][out - kBeSignalBit];
  } else if (in == kBeSignalFloat || in == kBeSignalDouble) {
    cost = &kRealToOther;
  }
  if (!cost) return;
  cycles = cost->cycles;
  rom = cost->rom;
  sharedRoutine = cost->shared ? 1 : 0;
}

void CBETypeConvertor::Start() {
  CBEBlock::Start();
  if (outputCount < 1) return;
  for (int i = 0; i < 4; ++i) outputs[0]->value[i] = 0;
}

void CBETypeConvertor::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source || source->type < kBeSignalPwm || source->type > kBeSignalPulseB) return;
  BeSignalType out = GetOutputType();
  if (!IsConvertibleType(out)) return;
  SourceValue v = ReadSource(source);
  unsigned char* value = outputs[0]->value;
  switch (out) {
    case kBeSignalBit:
      if (v.bitLike) {
        value[0] = v.bit;
      } else if (v.real) {
        value[0] = v.number != 0 || std::isnan(v.number) ? 1 : 0;
      } else {
        value[0] = v.integer != 0 ? 1 : 0;
      }
      break;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: WriteIntegerValue(value, out, static_cast<uint32_t>(IntegerOf(v))); break;
    case kBeSignalFloat:
      if (v.bitLike) {
        WriteFloatValue(value, static_cast<float>(v.bit & 1));
      } else if (v.real) {
        WriteFloatValue(value, RoundToFloat(v.number));
      } else {
        WriteFloatValue(value, RoundToFloat(static_cast<double>(v.integer)));
      }
      break;
    case kBeSignalDouble:
      if (v.bitLike) {
        WriteDoubleValue(value, static_cast<double>(v.bit & 1));
      } else if (v.real) {
        WriteDoubleValue(value, v.number);
      } else {
        WriteDoubleValue(value, static_cast<double>(v.integer));
      }
      break;
    default: break;
  }
}

void CBETypeConvertor::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetInputType()));
  stream->WriteByte(static_cast<unsigned char>(GetOutputType()));
  CBEBlock::Save(stream);
}

bool CBETypeConvertor::Load(CStream* stream) {
  unsigned char in, out;
  if (!ReadByteChecked(stream, &in) || !GetSignalTypeName(in) || !ReadByteChecked(stream, &out) ||
      out > kBeLastConcreteSignalType || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeSignalType wasIn = GetInputType(), wasOut = GetOutputType();
  int wasCycles = cycles, wasRom = rom;
  unsigned char wasShared = sharedRoutine;
  inputs[0]->type = in;
  outputs[0]->type = out;
  UpdateCosts();
  if (CBEBlock::Load(stream)) return true;
  inputs[0]->type = wasIn;
  outputs[0]->type = wasOut;
  cycles = wasCycles;
  rom = wasRom;
  sharedRoutine = wasShared;
  return false;
}

void CBETypeConvertor::Draw(HDC dc) {
  const wchar_t* in = GetSignalTypeName(GetInputType());
  const wchar_t* out = GetSignalTypeName(GetOutputType());
  wchar_t text[kCaptionChars];
  _snwprintf(text, kCaptionChars - 1, L"%ls => %ls", in ? in : L"", out ? out : L"");
  text[kCaptionChars - 1] = 0;
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBETypeConvertor::ShowProperties() { return ShowBlockDialog(this, kBeTypeConvertorClassId); }
