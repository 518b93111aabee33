// The board view's conflict check and board paint for 200 and 800 parts on
// a board they fill (a quarter of the pairs of neighbours overlap, so that
// marks are made as well). The check over all pairs is quadratic by design:
// at 800 parts it may take at most 20 times its time at 200. Both figures
// are printed; exit code 1 when the goal is missed.
#include <windows.h>

#include <cmath>
#include <cstdio>

#include "bench/bench_clock.h"
#include "app/board/pcb_view.h"
#include "kestui/forms/kest_form.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"

namespace {

class BenchPart : public CSCHBlock {
public:
  BenchPart() {
    footprintWidth = 6;
    footprintLength = 4;
    SetPinCount(8);
  }
};

using velkbench::Now;

struct Result {
  double checkMs = 1e30, paintMs = 1e30;
  bool marked = false;
};

Result Measure(CKestForm* host, int n) {
  SchScheme scheme;
  int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  float pitch = 10;
  float side = columns * pitch + 10;
  for (int i = 0; i < n; i++) {
    BenchPart* part = new BenchPart;
    part->Attach(&scheme);
    part->boardX = (i % columns) * pitch - side / 2 + 10;
    // Every fourth part sits on its neighbour.
    part->boardY = (i / columns) * pitch - side / 2 + 10 + ((i % 4 == 0) ? 6.0f : 0.0f);
  }
  CPCBView* view = new CPCBView(host, KestPos(0, 0), 1000, 800, &scheme, side, side);
  Result result;
  for (int run = 0; run < 5; run++) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    double t0 = Now();
    result.marked = view->CheckConflicts(region);
    double t1 = Now();
    DeleteObject(region);
    if (t1 - t0 < result.checkMs) result.checkMs = t1 - t0;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1000, 800);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    double t2 = Now();
    view->PaintBuffered(memory);
    double t3 = Now();
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (t3 - t2 < result.paintMs) result.paintMs = t3 - t2;
  }
  delete view;
  return result;
}

}  // namespace

int main() {
  CKestForm* host = new CKestForm;
  if (!host->Create(nullptr, L"bench", KestPos(0, 0), 1100, 850, nullptr, false, false, true, true)) {
    std::printf("no window\n");
    return 1;
  }
  const int sizes[2] = {200, 800};
  Result results[2];
  for (int k = 0; k < 2; k++) {
    results[k] = Measure(host, sizes[k]);
    std::printf("%4d parts: conflict check %8.3f ms, board paint %8.3f ms (best of 5)%s\n", sizes[k],
                results[k].checkMs, results[k].paintMs, results[k].marked ? "" : " - nothing marked!");
  }
  double ratio = results[0].checkMs > 0 ? results[1].checkMs / results[0].checkMs : 0;
  bool ok = ratio <= 20 && results[0].marked && results[1].marked;
  std::printf("check 800 / 200 = %.2f (goal at most 20) %s\n", ratio, ok ? "ok" : "MISSED");
  delete host;
  return ok ? 0 : 1;
}
