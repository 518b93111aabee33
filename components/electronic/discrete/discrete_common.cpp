#include "components/electronic/discrete/discrete_common.h"

#include <climits>
#include <cmath>

int TruncToInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(std::trunc(value));
}

int ClampIndex(int index, int count) {
  if (count <= 0 || index < 0) return 0;
  return index >= count ? count - 1 : index;
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}
