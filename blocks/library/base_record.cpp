#include "blocks/library/base_record.h"

#include "blocks/engine/block.h"
#include "blocks/engine/record_io.h"
#include "foundation/stream.h"

namespace {
const int kRectBytes = 16;
const int kFlagsBytes = 1;
const int kInputBytes = 16;
const int kOutputBytes = 5;
}  // namespace

int MeasureBaseRecord(CStream* stream, int inputCount, int outputCount) {
  if (inputCount < 0 || outputCount < 0) return -1;
  int start = stream->GetPosition();
  int left = BytesLeft(stream);
  long long length = -1;
  if (left >= kRectBytes) {
    stream->Seek(start + kRectBytes, 0);
    // The caption: UTF-16 units up to and with the terminator.
    long long caption = -1;
    for (long long at = kRectBytes; at + 2 <= left; at += 2) {
      unsigned char unit[2];
      if (!ReadExact(stream, unit, 2)) break;
      if (unit[0] == 0 && unit[1] == 0) {
        caption = at + 2 - kRectBytes;
        break;
      }
    }
    if (caption >= 0) {
      long long need = kRectBytes + caption + kFlagsBytes + static_cast<long long>(kInputBytes) * inputCount +
                       static_cast<long long>(kOutputBytes) * outputCount;
      if (need <= left) length = need;
    }
  }
  stream->Seek(start, 0);
  return static_cast<int>(length);
}

bool BaseRecordFollows(CStream* stream, int inputCount, int outputCount) {
  return MeasureBaseRecord(stream, inputCount, outputCount) >= 0;
}

bool SkipBaseRecord(CStream* stream, int inputCount, int outputCount) {
  int length = MeasureBaseRecord(stream, inputCount, outputCount);
  if (length < 0) return false;
  stream->Seek(stream->GetPosition() + length, 0);
  return true;
}

bool LoadBaseRecord(CBEBlock* block, CStream* stream) {
  RECT rect = block->rect;
  bool loaded = block->CBEBlock::Load(stream);
  if (!loaded) block->rect = rect;
  return loaded;
}

bool LoadBaseRecordAt(CBEBlock* block, CStream* stream, int at) {
  int back = stream->GetPosition();
  stream->Seek(at, 0);
  bool loaded = LoadBaseRecord(block, stream);
  stream->Seek(back, 0);
  return loaded;
}
