#include "blocks/library/generators/event.h"

#include <cmath>
#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/block_text.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const COLORREF kEventFill = 0xCCFFFF;
const int kRadius = 15;
const int kArcPoints = 17;
const double kPi = 3.14159265358979323846;
const int kTextX = 8;
const int kTextY = 9;

// Whether the kind's condition holds from prev to cur (-1 less, 0 equal,
// 1 greater; unordered for a NaN).
bool Fires(unsigned char kind, int order, bool unordered) {
  switch (kind) {
    case kEventIncrease: return !unordered && order > 0;
    case kEventDecrease: return !unordered && order < 0;
    case kEventChange: return unordered || order != 0;
    default: return false;
  }
}

template <typename T>
int Order(T prev, T cur) {
  return cur > prev ? 1 : cur < prev ? -1 : 0;
}
}  // namespace

CBEEvent::CBEEvent() {
  rect = RECT{0, 0, 70, 30};
  SetInputCount(1);
  SetOutputCount(1);
  if (inputCount == 1 && outputCount == 1) {
    inputs[0]->type = kBeSignalAnyScalar;
    inputs[0]->description = L"Входная величина";
    outputs[0]->description = L"Логическая единица, если входной сигнал изменился";
  }
  cycles = 10;
  rom = 20;
}

CBEBlock* CBEEvent::Create() { return KeepIfPinsMade(new (std::nothrow) CBEEvent, 1, 1); }

void CBEEvent::Start() { firstPass = 1; }

void CBEEvent::Step(float) {
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  unsigned char* out = outputs[0]->value;
  const unsigned char* cur = source->value;
  if (firstPass) {
    firstPass = 0;
    out[0] = 0;
  } else {
    BeSignalType type = source->type;
    switch (type) {
      case kBeSignalBit: {
        bool fires = false;
        if (kind == kEventIncrease) fires = previous[0] == 0 && cur[0] != 0;
        if (kind == kEventDecrease) fires = previous[0] != 0 && cur[0] == 0;
        if (kind == kEventChange) fires = previous[0] != cur[0];
        out[0] = fires ? 1 : 0;
        break;
      }
      case kBeSignalChar:
      case kBeSignalShort:
      case kBeSignalInt:
        out[0] = Fires(kind, Order(ReadIntegerValue(previous, type), ReadIntegerValue(cur, type)), false) ? 1 : 0;
        break;
      case kBeSignalFloat: {
        float a = ReadFloatValue(previous), b = ReadFloatValue(cur);
        out[0] = Fires(kind, Order(a, b), std::isnan(a) || std::isnan(b)) ? 1 : 0;
        break;
      }
      case kBeSignalDouble: {
        double a = ReadDoubleValue(previous), b = ReadDoubleValue(cur);
        out[0] = Fires(kind, Order(a, b), std::isnan(a) || std::isnan(b)) ? 1 : 0;
        break;
      }
      default: break;
    }
  }
  memcpy(previous, cur, 8);
}

void CBEEvent::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteByte(kind);
}

bool CBEEvent::Load(CStream* stream) {
  int base = stream->GetPosition();
  unsigned char value;
  if (!SkipBaseRecord(stream, inputCount, outputCount) || !ReadByteChecked(stream, &value) ||
      !LoadBaseRecordAt(this, stream, base))
    return false;
  kind = value;
  return true;
}

void CBEEvent::Draw(HDC dc) {
  POINT shape[kArcPoints + 2];
  int cx = rect.right - kRadius;
  int cy = rect.top + kRadius;
  for (int k = 0; k < kArcPoints; ++k) {
    double a = k * kPi / 16;
    shape[k] = POINT{static_cast<int>(cx + kRadius * std::sin(a)), static_cast<int>(cy - kRadius * std::cos(a))};
  }
  shape[kArcPoints] = POINT{rect.left, rect.bottom};
  shape[kArcPoints + 1] = POINT{rect.left, rect.top};
  {
    CKestOwnedBrush brush(CreateSolidBrush(kEventFill));
    CKestDcSelection selection(dc);
    selection.Select(brush.Get());
    Polygon(dc, shape, kArcPoints + 2);
  }
  const wchar_t* text = kind == kEventIncrease   ? L"Событие +"
                        : kind == kEventDecrease ? L"Событие -"
                        : kind == kEventChange   ? L"Событие"
                                                 : nullptr;
  DrawBlockText(dc, rect.left + kTextX, rect.top + kTextY, text);
}

bool CBEEvent::ShowProperties() { return ShowBlockDialog(this, kBeEventClassId); }
