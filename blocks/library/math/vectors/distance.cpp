#include "blocks/library/math/vectors/distance.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/math/math_colors.h"
#include "blocks/library/math/vectors/vector_dimension.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "blocks/library/typed_load_undo.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"

namespace {
const BeTypeCost kCosts[5] = {{380, 10, true}, {380, 10, true}, {380, 10, true}, {380, 10, true}, {490, 20, true}};
const int kDefaultDimension = 2;
const int kWidth = 120;
const wchar_t kDescriptionA[] = L"Компоненты вектора точка A";
const wchar_t kDescriptionB[] = L"Компоненты вектора точка B";

int HeightFor(int dimension) { return kVectorPinPitch * 2 * dimension + kVectorPinPitch; }
}  // namespace

CBEDistance::CBEDistance() {
  rect = RECT{0, 0, kWidth, HeightFor(kDefaultDimension)};
  fillColor = kTrigonometryFill;
  SetInputCount(2 * kDefaultDimension);
  SetOutputCount(1);
  SetPinTypes(this, kBeSignalFloat);
  UpdatePinsAndCosts();
}

CBEBlock* CBEDistance::Create() {
  CBEDistance* block = new (std::nothrow) CBEDistance;
  if (block && (block->inputCount != 2 * kDefaultDimension || block->outputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}

BeSignalType CBEDistance::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalFloat; }

void CBEDistance::UpdatePinsAndCosts() {
  BeSignalType type = GetType();
  ApplyTypeCost(this, kCosts, type, true);
  int d = GetDimension();
  rect.bottom = rect.top + HeightFor(d);
  SetInputCount(inputCount);
  SetOutputCount(outputCount);
  int h = Height();
  for (int j = 0; j < d; ++j) {
    BeInputPin* a = inputs[j];
    BeInputPin* b = inputs[d + j];
    a->yOffset = kVectorPinPitch * j + kVectorPinPitch / 2;
    b->yOffset = h / 2 + kVectorPinPitch * j + kVectorPinPitch / 2;
    a->name = L"A";
    b->name = L"B";
    a->description = kDescriptionA;
    b->description = kDescriptionB;
  }
  for (int i = 0; i < inputCount; ++i) inputs[i]->type = type;
}

bool CBEDistance::ApplyProperties(int dimension, BeSignalType type) {
  if (dimension < kMinVectorComponents || dimension > kMaxVectorComponents || !IsScalarDataType(type))
    return false;
  if (!SetInputCount(2 * dimension)) return false;
  for (int i = 0; i < inputCount; ++i) ChangeInputType(inputs[i], type);
  for (int i = 0; i < outputCount; ++i) ChangeOutputType(outputs[i], type);
  UpdatePinsAndCosts();
  return true;
}

void CBEDistance::Step(float) {
  if (outputCount < 1) return;
  BeSignalType type = GetType();
  int d = GetDimension();
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t sum = 0;
      for (int j = 0; j < d; ++j) {
        const BeOutputPin* a = inputs[j]->source;
        const BeOutputPin* b = inputs[d + j]->source;
        uint32_t va = a ? static_cast<uint32_t>(ReadIntegerValue(a->value, type)) : 0;
        uint32_t vb = b ? static_cast<uint32_t>(ReadIntegerValue(b->value, type)) : 0;
        uint32_t difference = va - vb;
        sum += difference * difference;
      }
      double root = std::sqrt(static_cast<double>(static_cast<int32_t>(sum)));
      WriteIntegerValue(out, type, static_cast<uint32_t>(TruncateToInt32Indefinite(root)));
      break;
    }
    case kBeSignalFloat: {
      float sum = 0;
      for (int j = 0; j < d; ++j) {
        const BeOutputPin* a = inputs[j]->source;
        const BeOutputPin* b = inputs[d + j]->source;
        double va = a ? ReadFloatValue(a->value) : 0.0;
        double vb = b ? ReadFloatValue(b->value) : 0.0;
        double difference = RoundToFloat(va - vb);
        sum = RoundToFloat(static_cast<double>(sum) + RoundToFloat(difference * difference));
      }
      WriteFloatValue(out, RoundToFloat(std::sqrt(static_cast<double>(sum))));
      break;
    }
    case kBeSignalDouble: {
      double sum = 0;
      for (int j = 0; j < d; ++j) {
        const BeOutputPin* a = inputs[j]->source;
        const BeOutputPin* b = inputs[d + j]->source;
        double difference = (a ? ReadDoubleValue(a->value) : 0.0) - (b ? ReadDoubleValue(b->value) : 0.0);
        sum += difference * difference;
      }
      WriteDoubleValue(out, std::sqrt(sum));
      break;
    }
    default: break;
  }
}

void CBEDistance::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetDimension()));
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  CBEBlock::Save(stream);
}

bool CBEDistance::Load(CStream* stream) {
  unsigned char dimension;
  BeSignalType type;
  if (!ReadByteChecked(stream, &dimension) || dimension < kMinVectorComponents ||
      dimension > kMaxVectorComponents || !ReadDataTypeByte(stream, &type) ||
      !BaseRecordCanFollow(stream, 2 * dimension, outputCount))
    return false;
  BeTypedLoadUndo was(this, GetType());
  if (!SetInputCount(2 * dimension)) return false;
  SetPinTypes(this, type);
  UpdatePinsAndCosts();
  if (CBEBlock::Load(stream)) {
    UpdatePinsAndCosts();
    return true;
  }
  was.Restore(this);
  UpdatePinsAndCosts();
  return false;
}

void CBEDistance::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"Расстояние");
}

bool CBEDistance::ShowProperties() { return ShowBlockDialog(this, kBeDistanceClassId); }
