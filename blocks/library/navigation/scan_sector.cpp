#include "blocks/library/navigation/scan_sector.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/navigation/resource_picture.h"
#include "blocks/library/typed_block.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_draw.h"

namespace {
const float kFirstSliceMin = -0.3f;
const float kFirstSliceMax = 0.6f;
const int kSliceRecordBytes = 8;
}  // namespace

CBEScanSector::CBEScanSector() {
  rect = RECT{0, 0, 180, 60};
  cycles = 10000000;
  rom = 304114;
  ram = 545444;
  sharedRoutine = 1;
  if (model.SetSliceCount(1)) {
    model.slices[0].yMin = kFirstSliceMin;
    model.slices[0].yMax = kFirstSliceMax;
  }
  if (SetInputCount(2)) {
    inputs[0]->type = kBeSignalVideo;
    inputs[0]->name = L"video 1";
    inputs[0]->description = L"Видео с левой камеры стерео видеосистемы";
    inputs[1]->type = kBeSignalVideo;
    inputs[1]->name = L"video 2";
    inputs[1]->description = L"Видео с правой камеры стерео видеосистемы";
  }
  if (SetOutputCount(1)) {
    outputs[0]->type = kBeSignalScanSector;
    outputs[0]->name = L"scan sector";
    outputs[0]->description = L"Результат сканирования видимой с камер зоны";
  }
}

CBEScanSector::~CBEScanSector() {
  // No value may name the model once its slices are gone.
  BePayloadTable::Program().Release(handle);
}

CBEBlock* CBEScanSector::Create() {
  auto* block = new (std::nothrow) CBEScanSector;
  // A block without its first slice is of no use either.
  if (block && block->model.sliceCount != 1) {
    delete block;
    return nullptr;
  }
  return KeepIfPinsMade(block, 2, 1);
}

void CBEScanSector::Start() {
  if (outputCount >= 1) {
    BePayloadTable& table = BePayloadTable::Program();
    // The handle of an earlier run went stale when its scheme stopped.
    if (!table.Resolve(handle)) handle = table.Add(&model, this);
    unsigned char* value = outputs[0]->value;
    value[0] = 0;
    value[1] = kBeScanSectorTag & 0xFF;
    value[2] = kBeScanSectorTag >> 8;
    value[3] = 0;
    BePutPayloadHandle(value, handle);
  }
  CBEBlock::Start();
}

void CBEScanSector::Step(float dt) { (void)dt; }

void CBEScanSector::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->Write(&model.D, 4);
  stream->Write(&model.zMin, 4);
  stream->Write(&model.zMax, 4);
  stream->Write(&model.viewAngle, 4);
  stream->WriteInt16(model.sliceCount);
  for (int i = 0; i < model.sliceCount; ++i) {
    stream->Write(&model.slices[i].yMin, 4);
    stream->Write(&model.slices[i].yMax, 4);
  }
}

bool CBEScanSector::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  float D, zMin, zMax, viewAngle;
  unsigned char count[2];
  if (!ReadFloatChecked(stream, &D) || !ReadFloatChecked(stream, &zMin) || !ReadFloatChecked(stream, &zMax) ||
      !ReadFloatChecked(stream, &viewAngle) || !ReadExact(stream, count, 2))
    return false;
  int n = count[0] | (count[1] << 8);
  if (BytesLeft(stream) < n * kSliceRecordBytes) return false;
  // The new slices are made beside the old ones, so a failure leaves the
  // block as it was.
  ScanSectorModel staged;
  staged.zMax = zMax;
  if (!staged.SetSliceCount(n)) return false;
  for (int i = 0; i < n; ++i) {
    if (i < model.sliceCount) {
      for (int l = 0; l < kScanColumnCount; ++l) staged.slices[i].columns[l] = model.slices[i].columns[l];
    }
    if (!ReadFloatChecked(stream, &staged.slices[i].yMin) || !ReadFloatChecked(stream, &staged.slices[i].yMax))
      return false;
  }
  if (!LoadBaseRecordAt(this, stream, base)) return false;
  model.D = D;
  model.zMin = zMin;
  model.zMax = zMax;
  model.viewAngle = viewAngle;
  ScanSlice* old = model.slices;
  model.slices = staged.slices;
  model.sliceCount = staged.sliceCount;
  staged.slices = old;
  staged.sliceCount = 0;
  return true;
}

void CBEScanSector::Draw(HDC dc) {
  Draw3DFrameRect(dc, &rect, 0xCCCCCC, 0xFFFFFF, 0x999999);
  DrawResourcePictureCentred(dc, rect, kBeScanSectorPicture);
}

bool CBEScanSector::ShowProperties() { return ShowBlockDialog(this, kBeScanSectorClassId); }
