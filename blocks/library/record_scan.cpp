#include "blocks/library/record_scan.h"

#include "blocks/engine/record_io.h"
#include "foundation/stream.h"

bool SkipStringW(CStream* stream) {
  unsigned char unit[2];
  for (;;) {
    if (!ReadExact(stream, unit, 2)) return false;
    if (unit[0] == 0 && unit[1] == 0) return true;
  }
}
