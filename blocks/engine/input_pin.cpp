#include "blocks/engine/input_pin.h"

#include <cstdlib>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/output_pin.h"

namespace {
// Half the width of the band around a segment that a click hits.
const int kHitSlack = 5;
// A link goes round when its source's right edge lies right of this far
// before the input.
const int kDetourGap = 20;

bool StrictlyBetween(int v, int a, int b) {
  return a < b ? (a < v && v < b) : (b < v && v < a);
}

bool HitsVertical(int x, int y, int xs, int ya, int yb) {
  return StrictlyBetween(y, ya, yb) && std::abs(x - xs) < kHitSlack;
}

bool HitsHorizontal(int x, int y, int ys, int xa, int xb) {
  return StrictlyBetween(x, xa, xb) && std::abs(y - ys) < kHitSlack;
}
}  // namespace

POINT BeInputPin::GetPosition() const {
  return POINT{owner->rect.left, owner->rect.top + yOffset};
}

bool BeInputPin::LinkDetours() const {
  if (!source) return false;
  return GetPosition().x - kDetourGap < source->GetPosition().x;
}

int BeInputPin::LinkPoints(POINT* p) const {
  if (!source) return 0;
  POINT in = GetPosition();
  POINT out = source->GetPosition();
  if (!LinkDetours()) {
    p[0] = in;
    p[1] = POINT{routeX1, in.y};
    p[2] = POINT{routeX1, out.y};
    p[3] = out;
    return 4;
  }
  p[0] = in;
  p[1] = POINT{routeX2, in.y};
  p[2] = POINT{routeX2, routeY};
  p[3] = POINT{routeX1, routeY};
  p[4] = POINT{routeX1, out.y};
  p[5] = out;
  return 6;
}

void BeInputPin::DrawLink(HDC dc) const {
  POINT points[6];
  int n = LinkPoints(points);
  if (n > 0) Polyline(dc, points, n);
}

int BeInputPin::HitTestLink(int x, int y) const {
  if (!source) return -1;
  POINT in = GetPosition();
  POINT out = source->GetPosition();
  if (LinkDetours()) {
    if (HitsVertical(x, y, routeX2, in.y, routeY)) return 3;
    if (HitsHorizontal(x, y, routeY, routeX1, routeX2)) return 2;
    if (HitsVertical(x, y, routeX1, routeY, out.y)) return 1;
    if (HitsHorizontal(x, y, out.y, routeX1, out.x)) return 4;
    if (HitsHorizontal(x, y, in.y, in.x, routeX2)) return 0;
    return -1;
  }
  if (HitsVertical(x, y, routeX1, in.y, out.y)) return 1;
  if (HitsHorizontal(x, y, out.y, routeX1, out.x)) return 4;
  if (HitsHorizontal(x, y, in.y, in.x, routeX1)) return 0;
  return -1;
}

bool BeInputPin::GetLinkBounds(RECT* rect) const {
  if (!source || !rect) return false;
  POINT in = GetPosition();
  POINT out = source->GetPosition();
  int left = in.x < routeX1 ? in.x : routeX1;
  int right = in.x < routeX1 ? routeX1 : in.x;
  int top = in.y < out.y ? in.y : out.y;
  int bottom = in.y < out.y ? out.y : in.y;
  if (LinkDetours()) {
    if (routeX2 < left) left = routeX2;
    if (routeX2 > right) right = routeX2;
    if (routeY < top) top = routeY;
    if (routeY > bottom) bottom = routeY;
  }
  *rect = RECT{left, top, right, bottom};
  return true;
}

void BeInputPin::ResolveSource() {
  unsigned int id = savedSource;
  savedSource = 0;
  source = nullptr;
  if (id == 0 || !owner->scheme) return;
  for (CBEBlock* block = owner->scheme->blocks; block; block = block->next) {
    for (int i = 0; i < block->outputCount; ++i) {
      if (block->outputs[i]->savedId == id) {
        source = block->outputs[i];
        return;
      }
    }
  }
}
