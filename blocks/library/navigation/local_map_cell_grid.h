// The neighbour search of the local map's thinning: the points kept so far
// in a layer, filed by square cells of 0.02 m, so that "is a kept point
// within 0.02 m in both x and y" looks at a few cells instead of at every
// kept point.
#pragma once

#include <cstdint>

struct LocalMapPoint;

class LocalMapCellGrid {
public:
  // Both coordinates of two points differ by less than this for the later
  // one to be dropped (metres, the points' precision).
  static const float kNeighbourDistance;

  LocalMapCellGrid() {}
  ~LocalMapCellGrid();
  LocalMapCellGrid(const LocalMapCellGrid&) = delete;
  LocalMapCellGrid& operator=(const LocalMapCellGrid&) = delete;

  // Empties the grid and makes room for up to `points` kept points. False
  // when memory was refused (the grid is then unusable until a Begin
  // succeeds).
  bool Begin(int points);
  // Whether a point of `kept` filed so far lies within the neighbour
  // distance of (x, y) in both axes. x and y are finite.
  bool HasNeighbour(float x, float y, const LocalMapPoint* kept) const;
  // Files kept[index] (finite coordinates); at most `points` of Begin.
  void Add(const LocalMapPoint* kept, int index);

private:
  struct Bucket {
    int64_t cx, cy;
    int head;  // first point of the cell, -1 for an empty bucket
  };
  static int64_t CellOf(double v);
  int Find(int64_t cx, int64_t cy) const;

  Bucket* buckets_ = nullptr;  // owned; a power of two of them
  int bucketCount_ = 0;
  int* next_ = nullptr;  // owned; the next point of the same cell, -1 at the end
  int capacity_ = 0;
};
