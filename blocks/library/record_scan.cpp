#include "blocks/library/record_scan.h"

#include "blocks/engine/record_io.h"
#include "foundation/stream.h"

namespace {
const int kRectBytes = 16;
const int kFlagsBytes = 1;
const int kInputBytes = 16;
const int kOutputBytes = 5;
}  // namespace

bool SkipStringW(CStream* stream) {
  unsigned char unit[2];
  for (;;) {
    if (!ReadExact(stream, unit, 2)) return false;
    if (unit[0] == 0 && unit[1] == 0) return true;
  }
}

bool BaseRecordReadable(CStream* stream, int inputCount, int outputCount) {
  if (inputCount < 0 || outputCount < 0) return false;
  int start = stream->GetPosition();
  bool ok = BytesLeft(stream) >= kRectBytes;
  if (ok) {
    stream->Seek(kRectBytes, 1);
    ok = SkipStringW(stream);
  }
  if (ok) {
    long long rest = kFlagsBytes + static_cast<long long>(kInputBytes) * inputCount +
                     static_cast<long long>(kOutputBytes) * outputCount;
    ok = BytesLeft(stream) >= rest;
  }
  stream->Seek(start, 0);
  return ok;
}
