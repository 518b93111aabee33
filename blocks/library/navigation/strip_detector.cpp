#include "blocks/library/navigation/strip_detector.h"

#include <cstring>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/base_record.h"
#include "blocks/library/navigation/detector_drawing.h"
#include "blocks/library/navigation/detector_resources.h"
#include "blocks/library/typed_block.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"

namespace {
const int kStripCycles = 100000;
const int kStripRom = 2000;
const int kPictureSize = 32;
const wchar_t kStripCaption[] = L"Блок распознавания светоотражающей полосы";

struct PinRow {
  const wchar_t* name;
  BeSignalType type;
  const wchar_t* description;
};
const PinRow kOutputs[] = {
    {L"ok", kBeSignalBit, L"Полоса распознана"},
    {L"D", kBeSignalFloat,
     L"Линенейное отклонения полосы от центра изображения (от -1 до +1). Полож.направление направо"},
    {L"A", kBeSignalFloat, L"Угол поворота полосы (рад). Полож.направление направо"},
    {L"left", kBeSignalBit, L"Есть ли левое разветвеление полосы"},
    {L"Aleft", kBeSignalFloat, L"Угол поворота левого разветвеления полосы (рад)"},
    {L"right", kBeSignalBit, L"Есть ли правое разветвеление полосы"},
    {L"Aright", kBeSignalFloat, L"Угол поворота правого разветвеления полосы (рад)"},
};
const int kOutputCount = sizeof(kOutputs) / sizeof(kOutputs[0]);
}  // namespace

CBEStripDetector::CBEStripDetector() {
  rect = RECT{0, 0, 120, 150};
  cycles = kStripCycles;
  rom = kStripRom;
  ram = 0;
  SetCaption(kStripCaption);
  if (SetInputCount(1)) {
    inputs[0]->type = kBeSignalVideo;
    inputs[0]->name = L"cam";
    inputs[0]->description = L"Вход с камеры";
  }
  if (SetOutputCount(kOutputCount)) {
    for (int j = 0; j < kOutputCount; ++j) {
      outputs[j]->type = kOutputs[j].type;
      outputs[j]->name = kOutputs[j].name;
      outputs[j]->description = kOutputs[j].description;
    }
  }
}

CBEStripDetector::~CBEStripDetector() { FreeBuffer(subName); }

CBEBlock* CBEStripDetector::Create() {
  return KeepIfPinsMade(new (std::nothrow) CBEStripDetector, 1, kOutputCount);
}

bool CBEStripDetector::SetSubName(const wchar_t* text) {
  if (!text || !*text) {
    FreeBuffer(subName);
    subName = nullptr;
    return true;
  }
  wchar_t* copy = DupString(text);
  if (!copy) return false;
  FreeBuffer(subName);
  subName = copy;
  return true;
}

void CBEStripDetector::Start() {
  CBEBlock::Start();
  frameHandle = 0;
  for (int j = 0; j < outputCount; ++j) {
    memset(outputs[j]->value, 0, sizeof outputs[j]->value);
    if (outputs[j]->type == kBeSignalFloat) {
      const float zero = 0.0f;
      memcpy(outputs[j]->value, &zero, sizeof zero);
    }
  }
}

void CBEStripDetector::Step(float) {}

void CBEStripDetector::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteStringW(subName);
}

bool CBEStripDetector::Load(CStream* stream) {
  int start = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  wchar_t* text = nullptr;
  if (!ReadStringWChecked(stream, &text)) {
    FreeBuffer(text);
    stream->Seek(start, 0);
    return false;
  }
  if (!LoadBaseRecordAt(this, stream, start)) {
    FreeBuffer(text);
    stream->Seek(start, 0);
    return false;
  }
  FreeBuffer(subName);
  subName = text;
  return true;
}

void CBEStripDetector::Draw(HDC dc) { DrawDetectorBody(dc, rect, IDB_STRIP_DETECTOR, kPictureSize, kPictureSize); }

bool CBEStripDetector::ShowProperties() { return ShowBlockDialog(this, kBeStripDetectorClassId); }
