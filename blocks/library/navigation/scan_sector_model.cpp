#include "blocks/library/navigation/scan_sector_model.h"

#include "foundation/buffers.h"

ScanSectorModel::~ScanSectorModel() { FreeBuffer(slices); }

bool ScanSectorModel::SetSliceCount(int n) {
  if (n < 0 || n > kScanMaxSlices) return false;
  if (n == sliceCount) return true;
  if (n == 0) {
    FreeBuffer(slices);
    slices = nullptr;
    sliceCount = 0;
    return true;
  }
  auto* grown = static_cast<ScanSlice*>(ReallocBuffer(slices, sizeof(ScanSlice) * static_cast<size_t>(n)));
  if (!grown) return false;
  for (int i = sliceCount; i < n; ++i) {
    grown[i].yMin = 0;
    grown[i].yMax = 0;
    for (float& column : grown[i].columns) column = zMax;
  }
  slices = grown;
  sliceCount = n;
  return true;
}
