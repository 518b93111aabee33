#include "blocks/library/navigation/nav_image_grid.h"

#include <algorithm>
#include <cmath>

#include "foundation/buffers.h"

namespace {
// Cells at most this many times the images (and at least this many).
const int kCellsPerImage = 4;
const int kFewestCells = 64;

bool IsPlaced(const NavImage& image) { return std::isfinite(image.x) && std::isfinite(image.y); }

int* AllocInts(long long n) {
  if (n <= 0 || n > 0x1FFFFFFF) return nullptr;
  return static_cast<int*>(AllocBuffer(static_cast<size_t>(n) * sizeof(int)));
}
}  // namespace

void NavImageGrid::Free() {
  FreeBuffer(cellStart_);
  FreeBuffer(items_);
  FreeBuffer(scratch_);
  cellStart_ = items_ = scratch_ = nullptr;
  columns_ = rows_ = 0;
  cell_ = 0;
}

int NavImageGrid::CellOf(double v, double origin, int cells) const {
  const double k = std::floor((v - origin) / cell_);
  if (!(k > 0)) return 0;
  if (k >= cells - 1) return cells - 1;
  return static_cast<int>(k);
}

bool NavImageGrid::Build(const NavImage* images, int count, double reach) {
  Free();
  if (!(reach > 0) || !std::isfinite(reach) || count < 0 || (count > 0 && !images)) return false;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool any = false;
  for (int i = 0; i < count; ++i) {
    if (!IsPlaced(images[i])) continue;
    if (!any) {
      minX = maxX = images[i].x;
      minY = maxY = images[i].y;
      any = true;
    }
    minX = std::min<double>(minX, images[i].x);
    maxX = std::max<double>(maxX, images[i].x);
    minY = std::min<double>(minY, images[i].y);
    maxY = std::max<double>(maxY, images[i].y);
  }
  // Cells wide enough that the grid stays within its budget of cells.
  const double budget = std::max(kFewestCells, count * kCellsPerImage);
  double cell = reach;
  double columns = std::floor((maxX - minX) / cell) + 1;
  double rows = std::floor((maxY - minY) / cell) + 1;
  while (columns * rows > budget) {
    cell *= 2;
    columns = std::floor((maxX - minX) / cell) + 1;
    rows = std::floor((maxY - minY) / cell) + 1;
  }
  cell_ = cell;
  originX_ = minX;
  originY_ = minY;
  columns_ = static_cast<int>(columns);
  rows_ = static_cast<int>(rows);
  const int cells = columns_ * rows_;
  cellStart_ = AllocInts(static_cast<long long>(cells) + 1);
  items_ = AllocInts(std::max(count, 1));
  scratch_ = AllocInts(std::max(count, 1));
  if (!cellStart_ || !items_ || !scratch_) {
    Free();
    return false;
  }
  // Counting sort: sizes, offsets, then the indices in ascending order.
  for (int c = 0; c <= cells; ++c) cellStart_[c] = 0;
  for (int i = 0; i < count; ++i) {
    if (!IsPlaced(images[i])) continue;
    cellStart_[CellOf(images[i].y, originY_, rows_) * columns_ + CellOf(images[i].x, originX_, columns_) + 1]++;
  }
  for (int c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
  for (int i = 0; i < count; ++i) {
    if (!IsPlaced(images[i])) continue;
    const int c = CellOf(images[i].y, originY_, rows_) * columns_ + CellOf(images[i].x, originX_, columns_);
    items_[cellStart_[c]++] = i;
  }
  // The fill moved every start to the next cell's: put them back.
  for (int c = cells; c > 0; --c) cellStart_[c] = cellStart_[c - 1];
  cellStart_[0] = 0;
  return true;
}

int NavImageGrid::Near(double x, double y, const int** indices) {
  *indices = scratch_;
  if (!cellStart_ || !std::isfinite(x) || !std::isfinite(y)) return 0;
  // A point far outside the images' box is within reach of none of them.
  const double kx = std::floor((x - originX_) / cell_), ky = std::floor((y - originY_) / cell_);
  if (kx < -1 || ky < -1 || kx > columns_ || ky > rows_) return 0;
  const int cx = static_cast<int>(kx), cy = static_cast<int>(ky);
  int n = 0;
  for (int row = std::max(cy - 1, 0); row <= std::min(cy + 1, rows_ - 1); ++row) {
    for (int column = std::max(cx - 1, 0); column <= std::min(cx + 1, columns_ - 1); ++column) {
      const int c = row * columns_ + column;
      for (int k = cellStart_[c]; k < cellStart_[c + 1]; ++k) scratch_[n++] = items_[k];
    }
  }
  std::sort(scratch_, scratch_ + n);
  return n;
}
