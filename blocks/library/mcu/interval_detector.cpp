#include "blocks/library/mcu/interval_detector.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/mcu/pulse_clock.h"
#include "blocks/library/scalar_value.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"

const wchar_t kIntervalDetectorPicture[] = L"IntervalDetectorBMP.bmp";

namespace {
const int kInputA = 0;
const int kInputB = 1;
const int kNoSpeed = 32767;
const double kSlowest = 1.0 / 3600;  // measuring pulses per input period below which the input stands
const double kMicroseconds = 1000000.0;
const int kCostWindow = 2000;  // µs
const int kFilteredCycles = 57;
const int kPlainCycles = 45;
const int kPictureX = 20, kPictureY = 4;
const int kTextX = 35, kTextY = 45;

// The class picture, loaded once for the whole program.
CKestImage& DetectorPicture() {
  static CKestImage image;
  return image;
}

bool IsEncoderChannel(BeSignalType type) { return type == kBeSignalPulseA || type == kBeSignalPulseB; }

int32_t HeldCount(double n) {
  if (n > kNoSpeed) return kNoSpeed;
  if (n < -kNoSpeed) return -kNoSpeed;
  return static_cast<int32_t>(n);
}
}  // namespace

CBEIntervalDetector::CBEIntervalDetector() {
  rect = RECT{0, 0, 120, 60};
  fillColor = RGB(255, 255, 255);
  if (SetInputCount(2)) {
    inputs[kInputA]->name = L"A";
    inputs[kInputA]->description = L"Вход канала A энкодера (пульс)";
    inputs[kInputB]->name = L"B";
    inputs[kInputB]->description = L"Вход канала B энкодера (направление)";
  }
  SetOutputCount(1);
  outputs[0]->type = kBeSignalShort;
  outputs[0]->description = L"Количество импульсов за интервал с учетом знака";
  rom = 95;
  UpdateCosts();
}

CBEBlock* CBEIntervalDetector::Create() {
  auto* block = new (std::nothrow) CBEIntervalDetector;
  // A block whose pins could not be made is of no use.
  if (block && block->inputCount != 2) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBEIntervalDetector::UpdateCosts() {
  if (interval <= 0) return;
  cycles = (kCostWindow / interval) * (filter ? kFilteredCycles : kPlainCycles);
}

void CBEIntervalDetector::Start() {
  accumulator = 0;
  WriteIntegerValue(outputs[0]->value, kBeSignalShort, kNoSpeed);
}

void CBEIntervalDetector::Step(float dt) {
  if (inputCount < 2 || outputCount < 1) return;
  const BeOutputPin* a = inputs[kInputA]->source;
  const BeOutputPin* b = inputs[kInputB]->source;
  if (!a || interval <= 0) return;
  bool bOn = b && b->value[0] != 0;
  int32_t n;
  if (IsEncoderChannel(a->type)) {
    double micro = dt * kMicroseconds;
    if (!(micro > 0) || !std::isfinite(micro)) return;
    float edges;
    memcpy(&edges, a->value + 4, 4);
    double y = interval * (edges / 4.0) / micro;
    if (std::isnan(y)) return;
    if (std::fabs(y) < kSlowest) {
      n = kNoSpeed;
    } else {
      n = HeldCount(std::trunc(periods / y));
    }
    if (!b || !IsEncoderChannel(b->type) || b->type == a->type) {
      n = n < 0 ? -n : n;
      if (bOn) n = -n;
    } else if (a->type == kBeSignalPulseB) {
      n = -n;
    }
  } else {
    if (a->value[0] != 0) {
      n = HeldCount(std::trunc(accumulator / static_cast<double>(interval)));
      if (bOn) n = -n;
      WriteIntegerValue(outputs[0]->value, kBeSignalShort, static_cast<uint32_t>(n));
      accumulator = 0;
    }
    accumulator = RoundToFloat(accumulator + dt * kMicroseconds);
    return;
  }
  WriteIntegerValue(outputs[0]->value, kBeSignalShort, static_cast<uint32_t>(n));
}

void CBEIntervalDetector::Draw(HDC dc) {
  DrawBody(dc);
  CKestImage& picture = DetectorPicture();
  if (LoadSchemeIcon(&picture, kIntervalDetectorPicture)) picture.Draw(dc, rect.left + kPictureX, rect.top + kPictureY);
  wchar_t text[32];
  _snwprintf(text, 31, L"%d мкс", interval);
  text[31] = 0;
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, rect.left + kTextX, rect.top + kTextY, text, static_cast<int>(wcslen(text)));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  DrawCaptionBelow(dc);
}

void CBEIntervalDetector::Save(CStream* stream) {
  stream->WriteInt32(interval);
  stream->WriteInt32(periods);
  stream->WriteByte(filter);
  CBEBlock::Save(stream);
}

bool CBEIntervalDetector::Load(CStream* stream) {
  int i, p;
  unsigned char f;
  if (!ReadInt32Checked(stream, &i) || !ReadInt32Checked(stream, &p) || !ReadByteChecked(stream, &f) || i <= 0 ||
      !BaseRecordFollows(stream, inputCount, outputCount))
    return false;
  if (!LoadBaseRecord(this, stream)) return false;
  interval = i;
  periods = p;
  filter = f;
  UpdateCosts();
  return true;
}

bool CBEIntervalDetector::ShowProperties() { return ShowBlockDialog(this, kBeIntervalDetectorClassId); }
