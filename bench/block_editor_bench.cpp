// Paints and hit-tests generated block diagrams of 500 and 2,000 blocks, each
// block linked to the one before it, with the block-diagram view. Painting
// goes into a 1024 x 768 memory bitmap with every block forced (as picture
// export does); hit testing asks 2,000 points spread over the diagram. Both
// walk every block once, so each figure at 2,000 blocks may be at most 4.5
// times its figure at 500. Exit code 1 when one is not.
//
// The machine is usually shared: the sizes are measured in alternating
// rounds and the best round of each is its figure.
#include <windows.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

namespace {

const int kRounds = 5;
const int kPaints = 10;
const int kHitPoints = 2000;
const int kColumns = 40;
const int kPitchX = 220;
const int kPitchY = 150;
const double kAllowedRatio = 4.5;

class Plain : public CBEBlock {
public:
  Plain() {
    SetInputCount(1);
    SetOutputCount(1);
  }
};

using velkbench::Now;

// n blocks on a grid, each input linked to the previous block's output.
BeScheme* BuildDiagram(int n) {
  BeScheme* scheme = new BeScheme;
  CBEBlock* previous = nullptr;
  for (int i = 0; i < n; ++i) {
    Plain* block = new Plain;
    block->AttachToScheme(scheme);
    block->MoveTo((i % kColumns) * kPitchX, (i / kColumns) * kPitchY);
    if (previous) {
      BeInputPin* input = block->inputs[0];
      POINT o = previous->outputs[0]->GetPosition();
      POINT in = input->GetPosition();
      input->source = previous->outputs[0];
      input->routeY = (o.y + in.y) / 2;
      input->routeX2 = in.x - 20;
      input->routeX1 = in.x - 20 < o.x ? o.x + 40 : (o.x + in.x) / 2;
    }
    previous = block;
  }
  return scheme;
}

struct Figures {
  double paint = 1e30;  // seconds per paint
  double hit = 1e30;    // seconds per hit test
};

void Measure(CKestForm* form, BeScheme* scheme, HDC dc, Figures* best, volatile int* sink) {
  CBEView* view = new CBEView(form, scheme, KestPos(0, 0), 400, 300);
  double t0 = Now();
  for (int i = 0; i < kPaints; ++i) view->PaintScheme(dc, true);
  GdiFlush();
  double paint = (Now() - t0) / kPaints;
  RECT bounds = view->GetSchemeBounds();
  int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  t0 = Now();
  for (int i = 0; i < kHitPoints; ++i) {
    void* object = nullptr;
    int x = bounds.left + static_cast<int>((static_cast<long long>(i) * 7919) % w);
    int y = bounds.top + static_cast<int>((static_cast<long long>(i) * 104729) % h);
    *sink += view->HitTest(x, y, &object);
  }
  double hit = (Now() - t0) / kHitPoints;
  DestroyWindow(view->GetHandle());
  if (paint < best->paint) best->paint = paint;
  if (hit < best->hit) best->hit = hit;
}

}  // namespace

int main() {
  CKestForm* form = new CKestForm;
  if (!form->Create(nullptr, L"bench", KestPos(0, 0), 420, 320, nullptr, true, true, true, true)) {
    std::printf("no window\n");
    return 2;
  }
  CKestOwnedDC dc(CreateCompatibleDC(nullptr));
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 1024;
  bi.bmiHeader.biHeight = -768;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  CKestOwnedBitmap bitmap(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  CKestDcSelection selection(dc.Get());
  if (!bitmap || !selection.Select(bitmap.Get())) {
    std::printf("no bitmap\n");
    return 2;
  }
  BeScheme* small = BuildDiagram(500);
  BeScheme* large = BuildDiagram(2000);
  Figures smallBest, largeBest;
  volatile int sink = 0;
  for (int round = 0; round < kRounds; ++round) {
    Measure(form, small, dc.Get(), &smallBest, &sink);
    Measure(form, large, dc.Get(), &largeBest, &sink);
  }
  double paintRatio = largeBest.paint / smallBest.paint;
  double hitRatio = largeBest.hit / smallBest.hit;
  std::printf("paint  500 blocks: %.3f ms   2000 blocks: %.3f ms   ratio %.2f\n", smallBest.paint * 1e3,
              largeBest.paint * 1e3, paintRatio);
  std::printf("hit    500 blocks: %.2f us   2000 blocks: %.2f us   ratio %.2f\n", smallBest.hit * 1e6,
              largeBest.hit * 1e6, hitRatio);
  selection.Restore();
  delete small;
  delete large;
  DestroyWindow(form->GetHandle());
  bool ok = paintRatio <= kAllowedRatio && hitRatio <= kAllowedRatio;
  std::printf("%s\n", ok ? "within 4.5 times" : "TOO SLOW");
  return ok ? 0 : 1;
}
