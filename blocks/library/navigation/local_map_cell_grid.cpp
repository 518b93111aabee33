#include "blocks/library/navigation/local_map_cell_grid.h"

#include <cmath>

#include "blocks/library/navigation/local_map_model.h"
#include "foundation/buffers.h"

namespace {
// Cells per metre: a cell is as wide as the neighbour distance.
const double kCellsPerMetre = 50.0;
// A point looks at the cells of the points within this of it. It is wider
// than the neighbour distance, so that rounding in the cell arithmetic can
// never leave a neighbour's cell out.
const double kSearchReach = 0.021;
// Cell numbers are held within this, so far points share the edge cells
// (still compared exactly) instead of overflowing.
const double kCellLimit = 1099511627776.0;  // 2^40

uint32_t HashCell(int64_t cx, int64_t cy) {
  uint64_t h = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 31;
  return static_cast<uint32_t>(h ^ (h >> 32));
}
}  // namespace

const float LocalMapCellGrid::kNeighbourDistance = 0.02f;

LocalMapCellGrid::~LocalMapCellGrid() {
  FreeBuffer(buckets_);
  FreeBuffer(next_);
}

int64_t LocalMapCellGrid::CellOf(double v) {
  double c = std::floor(v * kCellsPerMetre);
  if (c < -kCellLimit) c = -kCellLimit;
  if (c > kCellLimit) c = kCellLimit;
  return static_cast<int64_t>(c);
}

bool LocalMapCellGrid::Begin(int points) {
  if (points < 0) return false;
  if (points > capacity_) {
    // Twice as many buckets as points keeps the probe chains short.
    int buckets = 16;
    while (buckets < 2 * points) {
      if (buckets > (1 << 28)) return false;
      buckets *= 2;
    }
    auto* moreNext = static_cast<int*>(ReallocBuffer(next_, sizeof(int) * static_cast<size_t>(points)));
    if (!moreNext) return false;
    next_ = moreNext;
    auto* moreBuckets = static_cast<Bucket*>(ReallocBuffer(buckets_, sizeof(Bucket) * static_cast<size_t>(buckets)));
    if (!moreBuckets) {
      capacity_ = 0;
      return false;
    }
    buckets_ = moreBuckets;
    bucketCount_ = buckets;
    capacity_ = points;
  }
  if (!buckets_) {
    // Nothing to file yet: a first table of the smallest size.
    buckets_ = static_cast<Bucket*>(AllocBuffer(sizeof(Bucket) * 16));
    if (!buckets_) return false;
    bucketCount_ = 16;
  }
  for (int i = 0; i < bucketCount_; ++i) buckets_[i].head = -1;
  return true;
}

int LocalMapCellGrid::Find(int64_t cx, int64_t cy) const {
  uint32_t mask = static_cast<uint32_t>(bucketCount_ - 1);
  for (uint32_t i = HashCell(cx, cy) & mask;; i = (i + 1) & mask) {
    const Bucket& b = buckets_[i];
    if (b.head < 0 || (b.cx == cx && b.cy == cy)) return static_cast<int>(i);
  }
}

bool LocalMapCellGrid::HasNeighbour(float x, float y, const LocalMapPoint* kept) const {
  const double near = kNeighbourDistance;
  const double px = x, py = y;
  int64_t x0 = CellOf(px - kSearchReach), x1 = CellOf(px + kSearchReach);
  int64_t y0 = CellOf(py - kSearchReach), y1 = CellOf(py + kSearchReach);
  for (int64_t cx = x0; cx <= x1; ++cx) {
    for (int64_t cy = y0; cy <= y1; ++cy) {
      const Bucket& b = buckets_[Find(cx, cy)];
      for (int j = b.head; j >= 0; j = next_[j]) {
        if (std::fabs(static_cast<double>(kept[j].x) - px) < near && std::fabs(static_cast<double>(kept[j].y) - py) < near)
          return true;
      }
    }
  }
  return false;
}

void LocalMapCellGrid::Add(const LocalMapPoint* kept, int index) {
  Bucket& b = buckets_[Find(CellOf(kept[index].x), CellOf(kept[index].y))];
  if (b.head < 0) {
    b.cx = CellOf(kept[index].x);
    b.cy = CellOf(kept[index].y);
  }
  next_[index] = b.head;
  b.head = index;
}
