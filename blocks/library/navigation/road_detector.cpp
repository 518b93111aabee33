#include "blocks/library/navigation/road_detector.h"

#include <cstring>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/base_record.h"
#include "blocks/library/navigation/detector_drawing.h"
#include "blocks/library/navigation/detector_resources.h"
#include "blocks/library/typed_block.h"

namespace {
const int kRoadCycles = 10000000;
const int kRoadRom = 304114;
const int kPictureSize = 48;

struct PinText {
  const wchar_t* name;
  const wchar_t* description;
};
const PinText kOutputs[] = {
    {L"Лев.", L"Уровень опасности слева (от 0 до 1)"},
    {L"Прям.", L"Уровень опасности прямо (от 0 до 1)"},
    {L"Прав.", L"Уровень опасности справа (от 0 до 1)"},
};
const int kOutputCount = sizeof(kOutputs) / sizeof(kOutputs[0]);
}  // namespace

CBERoadDetector::CBERoadDetector() {
  rect = RECT{0, 0, 180, 60};
  cycles = kRoadCycles;
  rom = kRoadRom;
  ram = 0;
  if (SetInputCount(1)) {
    inputs[0]->type = kBeSignalVideo;
    inputs[0]->name = L"video";
    inputs[0]->description = L"Анализируемый видеосигнал";
  }
  if (SetOutputCount(kOutputCount)) {
    for (int j = 0; j < kOutputCount; ++j) {
      outputs[j]->type = kBeSignalFloat;
      outputs[j]->name = kOutputs[j].name;
      outputs[j]->description = kOutputs[j].description;
    }
  }
}

CBEBlock* CBERoadDetector::Create() {
  return KeepIfPinsMade(new (std::nothrow) CBERoadDetector, 1, kOutputCount);
}

void CBERoadDetector::Start() {
  frameSeen = 0;
  frameBusy = 0;
  frameHandle = 0;
  const float zero = 0.0f;
  for (int j = 0; j < outputCount; ++j) memcpy(outputs[j]->value, &zero, sizeof zero);
  CBEBlock::Start();
}

void CBERoadDetector::Step(float) {}

bool CBERoadDetector::Load(CStream* stream) {
  return BaseRecordFollows(stream, inputCount, outputCount) && LoadBaseRecord(this, stream);
}

void CBERoadDetector::Draw(HDC dc) { DrawDetectorBody(dc, rect, IDB_ROAD_DETECTOR, kPictureSize, kPictureSize); }
