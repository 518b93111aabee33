#include "blocks/library/converters/speed.h"

#include <cmath>
#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/block_text.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"

namespace {
const BeTypeCost kSpeedCosts[5] = {
    {8, 12, false}, {10, 14, false}, {14, 18, false}, {154, 32, true}, {234, 40, true}};

void DrawCentredText(HDC dc, int centre, int y, const wchar_t* text) {
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  DrawBlockText(dc, centre - size.cx / 2, y, text);
}
}  // namespace

CBESpeed::CBESpeed() {
  rect = RECT{0, 0, 80, 45};
  fillColor = RGB(255, 255, 255);
  if (!SetInputCount(1) || !SetOutputCount(1)) return;
  SetPinTypes(this, kBeSignalShort);
  inputs[0]->description = L"Положение";
  outputs[0]->description = L"Скорость (изменение положение за указанный период)";
  UpdateCosts();
}

CBEBlock* CBESpeed::Create() { return KeepIfPinsMade(new (std::nothrow) CBESpeed, 1, 1); }

BeSignalType CBESpeed::GetType() const { return outputCount > 0 ? outputs[0]->type : kBeSignalShort; }

void CBESpeed::UpdateCosts() {
  sharedRoutine = 0;
  ApplyTypeCost(this, kSpeedCosts, GetType(), true);
}

void CBESpeed::Start() {
  firstPass = 1;
  memset(previous, 0, sizeof previous);
  accumulated = 0;
  periodSeconds = RoundToFloat(static_cast<double>(period) / 1000.0);
}

void CBESpeed::Step(float dt) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (!source) return;
  if (firstPass) {
    firstPass = 0;
    memcpy(previous, source->value, sizeof previous);
  }
  if (!IsScalarDataType(GetType())) return;
  if (periodSeconds <= dt) {
    // The change over this pass, scaled to one period.
    const double scale = static_cast<double>(periodSeconds);
    WriteChange(source->value, &scale, dt);
    return;
  }
  accumulated = RoundToFloat(static_cast<double>(accumulated) + dt);
  if (accumulated <= periodSeconds) return;
  accumulated = RoundToFloat(static_cast<double>(accumulated) - periodSeconds);
  WriteChange(source->value, nullptr, dt);
}

void CBESpeed::WriteChange(const unsigned char* cur, const double* scale, float dt) {
  const BeSignalType type = GetType();
  unsigned char* out = outputs[0]->value;
  switch (type) {
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt: {
      uint32_t change = static_cast<uint32_t>(ReadIntegerValue(cur, type)) -
                        static_cast<uint32_t>(ReadIntegerValue(previous, type));
      if (scale) {
        double scaled = *scale * static_cast<int32_t>(change) / dt;
        change = static_cast<uint32_t>(TruncateToInt32(scaled));
      }
      WriteIntegerValue(out, type, change);
      break;
    }
    case kBeSignalFloat: {
      float change = RoundToFloat(static_cast<double>(ReadFloatValue(cur)) - ReadFloatValue(previous));
      if (scale) change = RoundToFloat(RoundToFloat(*scale * change) / static_cast<double>(dt));
      WriteFloatValue(out, change);
      break;
    }
    case kBeSignalDouble: {
      double change = ReadDoubleValue(cur) - ReadDoubleValue(previous);
      if (scale) change = *scale * change / dt;
      WriteDoubleValue(out, change);
      break;
    }
    default: return;
  }
  memcpy(previous, cur, static_cast<size_t>(ScalarWidth(type)));
}

void CBESpeed::Save(CStream* stream) {
  stream->WriteByte(static_cast<unsigned char>(GetType()));
  stream->Write(&period, 4);
  CBEBlock::Save(stream);
}

bool CBESpeed::Load(CStream* stream) {
  BeSignalType type;
  float stored;
  if (!ReadDataTypeByte(stream, &type) || !ReadExact(stream, &stored, 4)) return false;
  // The dialog stores only positive periods; another comes from a damaged
  // record and would make the block divide by nothing.
  if (!std::isfinite(stored) || stored <= 0) return false;
  if (!BaseRecordFollows(stream, inputCount, outputCount)) return false;
  if (!LoadBaseRecord(this, stream)) return false;
  SetPinTypes(this, type);
  period = stored;
  UpdateCosts();
  return true;
}

void CBESpeed::Draw(HDC dc) {
  DrawBody(dc);
  const int centre = (rect.left + rect.right) / 2;
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  DrawCentredText(dc, centre, rect.top, L"положение");
  MoveToEx(dc, centre, rect.top + 13, nullptr);
  LineTo(dc, centre, rect.top + 25);
  // The head: two lines from the tip back up to either side.
  MoveToEx(dc, centre, rect.top + 25, nullptr);
  LineTo(dc, centre - 5, rect.top + 20);
  MoveToEx(dc, centre, rect.top + 25, nullptr);
  LineTo(dc, centre + 5, rect.top + 20);
  DrawCentredText(dc, centre, rect.top + 25, L"скорость");
}

bool CBESpeed::ShowProperties() { return ShowBlockDialog(this, kBeSpeedClassId); }
