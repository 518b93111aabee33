#include "blocks/library/generators/constant.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const int kCaptionChars = 48;
// Cycles and ROM for bit, char, short, int, float, double.
const int kCycles[6] = {3, 1, 2, 4, 4, 8};
const int kRom[6] = {2, 2, 4, 8, 8, 16};
// Magnitudes outside which a number is drawn with an exponent.
const double kLargeValue = 990000.0;
const double kSmallValue = 0.0001;
}  // namespace

CBEConstant::CBEConstant() {
  rect = RECT{0, 0, 80, 20};
  SetOutputCount(1);
  if (outputCount == 1) outputs[0]->description = L"Значение константы";
}

CBEBlock* CBEConstant::Create() {
  CBEConstant* block = new (std::nothrow) CBEConstant;
  if (block && block->outputCount != 1) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEConstant::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalBit; }

void CBEConstant::UpdateCosts() {
  BeSignalType type = GetType();
  if (type < kBeSignalBit || type > kBeSignalDouble) return;
  cycles = kCycles[type - kBeSignalBit];
  rom = kRom[type - kBeSignalBit];
}

void CBEConstant::Save(CStream* stream) {
  const unsigned char* value = outputs[0]->value;
  if (GetType() == kBeSignalDouble) {
    stream->WriteByte(kConstantDoubleTypeByte);
    stream->Write(value, 8);
  } else {
    stream->WriteByte(static_cast<unsigned char>(GetType()));
    stream->Write(value, 4);
  }
  CBEBlock::Save(stream);
}

bool CBEConstant::Load(CStream* stream) {
  unsigned char code;
  if (!ReadByteChecked(stream, &code)) return false;
  bool isDouble = code == kConstantDoubleTypeByte;
  // Codes 37 to 40 and the rest up to 255 name nothing an output carries.
  if (!isDouble && code > kBeLastConcreteSignalType) return false;
  unsigned char value[8];
  int width = isDouble ? 8 : 4;
  if (!ReadExact(stream, value, width) || !BaseRecordCanFollow(stream, inputCount, outputCount))
    return false;
  BeOutputPin* out = outputs[0];
  BeSignalType wasType = out->type;
  unsigned char wasValue[8];
  memcpy(wasValue, out->value, 8);
  out->type = isDouble ? kBeSignalDouble : code;
  memcpy(out->value, value, width);
  if (CBEBlock::Load(stream)) {
    UpdateCosts();
    return true;
  }
  out->type = wasType;
  memcpy(out->value, wasValue, 8);
  return false;
}

bool CBEConstant::SetValueFromText(BeSignalType type, const wchar_t* text) {
  if (type < kBeSignalBit || type > kBeSignalDouble) return false;
  if (!text) text = L"";
  BeOutputPin* out = outputs[0];
  out->type = type;
  memset(out->value, 0, 8);
  switch (type) {
    case kBeSignalBit: out->value[0] = wcscmp(text, L"1") == 0 ? 1 : 0; break;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: out->SetInt(ParseInt(text, 0, nullptr)); break;
    case kBeSignalFloat: out->SetFloat(ParseFloat(text, 0.0f, nullptr)); break;
    default: out->SetDouble(ParseDouble(text, 0.0, nullptr)); break;
  }
  UpdateCosts();
  return true;
}

void CBEConstant::FormatValue(wchar_t* text, int chars) const {
  if (!text || chars <= 0) return;
  text[0] = 0;
  const unsigned char* value = outputs[0]->value;
  BeSignalType type = GetType();
  switch (type) {
    case kBeSignalBit: _snwprintf(text, chars - 1, L"%d", value[0] & 1); break;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: _snwprintf(text, chars - 1, L"%d", ReadIntegerValue(value, type)); break;
    case kBeSignalFloat:
    case kBeSignalDouble: {
      double v = type == kBeSignalFloat ? ReadFloatValue(value) : ReadDoubleValue(value);
      double magnitude = std::fabs(v);
      bool exponent = v != 0 && (magnitude > kLargeValue || magnitude < kSmallValue);
      _snwprintf(text, chars - 1, exponent ? L"%3.3g" : L"%0.3f", v);
      break;
    }
    default: break;
  }
  text[chars - 1] = 0;
}

void CBEConstant::Draw(HDC dc) {
  wchar_t text[kCaptionChars];
  FormatValue(text, kCaptionChars);
  DrawBody(dc);
  DrawCaptionCentered(dc, text);
}

bool CBEConstant::ShowProperties() { return ShowBlockDialog(this, kBeConstantClassId); }
