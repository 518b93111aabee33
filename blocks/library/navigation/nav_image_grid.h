// A grid of square cells over the images of the navigation map, so route
// planning finds the images near a point without walking the whole map.
// Built for one planning and freed after it; the cells are at least as wide
// as the distance asked about, so the images within it lie in the 3 x 3
// cells around the point.
#pragma once

#include "blocks/library/navigation/nav_image.h"

class NavImageGrid {
public:
  NavImageGrid() {}
  ~NavImageGrid() { Free(); }
  NavImageGrid(const NavImageGrid&) = delete;
  NavImageGrid& operator=(const NavImageGrid&) = delete;

  // Sorts the images into cells at least reach wide (images whose position
  // is not a finite number go into none). False, with the grid empty, for
  // a reach that is not a positive finite number or when memory runs out.
  bool Build(const NavImage* images, int count, double reach);
  void Free();

  // The indices of the images in the 3 x 3 cells around (x, y), ascending,
  // into the grid's own scratch array (valid until the next call); their
  // count is returned. Every image within reach of (x, y) is among them.
  int Near(double x, double y, const int** indices);

private:
  int CellOf(double v, double origin, int cells) const;

  double cell_ = 0;
  double originX_ = 0, originY_ = 0;
  int columns_ = 0, rows_ = 0;
  int* cellStart_ = nullptr;  // columns_ * rows_ + 1 offsets into items_
  int* items_ = nullptr;      // image indices, cell by cell, ascending in each
  int* scratch_ = nullptr;    // room for every image
};
