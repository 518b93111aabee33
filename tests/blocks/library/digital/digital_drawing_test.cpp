// What the "Цифровые" blocks draw: their letters, the counters' sigma, the
// switch symbols of the multiplexer and demultiplexer, and the group placed
// from its palette entries as the view paints it.
#include <algorithm>

#include "block_kit.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/library/digital/coder.h"
#include "blocks/library/digital/counter.h"
#include "blocks/library/digital/d_flip_flop.h"
#include "blocks/library/digital/demux.h"
#include "blocks/library/digital/mux.h"
#include "blocks/library/digital/puls_counter.h"
#include "blocks/library/digital/register.h"
#include "blocks/library/digital/rs_flip_flop.h"
#include "kestui/forms/kest_form.h"
#include "support/live_forms.h"

namespace {

using blocktest::Bench;
using blocktest::Canvas;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGreen = RGB(204, 255, 204);

// Block drawn with its top-left corner at (20, 20) on a 100 x 100 canvas.
struct Drawn {
  explicit Drawn(CBEBlock* block, int w = 100, int h = 100) : canvas(w, h) { ok = canvas.Draw(block, 20, 20); }
  Canvas canvas;
  bool ok;
};

// The letters sit at (30, 4) from the corner: ink right of x = 50 and
// below y = 24 only, within the body.
TEST(DigitalDrawing, LettersAtTheirPlace) {
  Bench bench;
  const unsigned int ids[] = {kBeRSFlipFlopClassId, kBeDFlipFlopClassId, kBeRegisterClassId, kBeCoderClassId};
  for (unsigned int id : ids) {
    SCOPED_TRACE(testing::Message() << std::hex << id);
    CBEBlock* block = bench.Create<CBEBlock>(id);
    Drawn d(block);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(kGreen, d.canvas.At(22, 22));
    EXPECT_EQ(kBlack, d.canvas.At(20, 30)) << "the frame";
    EXPECT_GT(d.canvas.Count(50, 24, 68, 58, kBlack), 3);
    EXPECT_EQ(0, d.canvas.Count(21, 21, 49, 58, kBlack));
    EXPECT_EQ(0, d.canvas.Count(21, 21, 68, 23, kBlack));
  }
  // Both flip-flops show the same "T"; the register and the coder other
  // letters.
  Drawn rs(bench.Create<CBEBlock>(kBeRSFlipFlopClassId));
  Drawn dff(bench.Create<CBEBlock>(kBeDFlipFlopClassId));
  Drawn reg(bench.Create<CBEBlock>(kBeRegisterClassId));
  Drawn coder(bench.Create<CBEBlock>(kBeCoderClassId));
  EXPECT_TRUE(blocktest::SamePixels(rs.canvas, dff.canvas));
  EXPECT_FALSE(blocktest::SamePixels(rs.canvas, reg.canvas));
  EXPECT_FALSE(blocktest::SamePixels(rs.canvas, coder.canvas));
  EXPECT_GT(reg.canvas.Count(50, 24, 68, 58, kBlack), rs.canvas.Count(50, 24, 68, 58, kBlack)) << "three letters";
}

// A sigma about 14 pixels high from (30, 4), the same for both counters.
TEST(DigitalDrawing, TheCountersShowASigma) {
  Bench bench;
  Drawn counter(bench.Create<CBEBlock>(kBeCounterClassId));
  Drawn quadrature(bench.Create<CBEBlock>(kBePulsCounterClassId));
  ASSERT_TRUE(counter.ok);
  EXPECT_TRUE(blocktest::SamePixels(counter.canvas, quadrature.canvas));
  int top = -1, bottom = -1;
  for (int y = 21; y < 69; ++y) {
    if (counter.canvas.Count(21, y, 68, y, kBlack) > 0) {
      if (top < 0) top = y;
      bottom = y;
    }
  }
  ASSERT_GE(top, 24);
  EXPECT_LE(bottom - top + 1, 16);
  EXPECT_GE(bottom - top + 1, 7);
  EXPECT_EQ(0, counter.canvas.Count(21, 21, 49, 68, kBlack));
  counter.canvas.Save(L"library_digital_counter.bmp");
}

// The multiplexer of two data inputs: its pins at 15 ("n"), 45 and 75, the
// output at 45.
TEST(DigitalDrawing, TheMultiplexersSwitch) {
  Bench bench;
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  Drawn d(mux, 100, 130);
  ASSERT_TRUE(d.ok);
  const int L = 20, T = 20, R = 70, B = 110;
  // The arm: from the output left 15, up to 8, left to -25, down to -8.
  EXPECT_EQ(kBlack, d.canvas.At(R - 5, T + 45));
  EXPECT_EQ(kBlack, d.canvas.At(R - 15, T + 20));
  EXPECT_EQ(kBlack, d.canvas.At(R - 20, T + 8));
  EXPECT_EQ(kBlack, d.canvas.At(R - 25, T + 60));
  EXPECT_EQ(kBlack, d.canvas.At(R - 25, B - 9));
  EXPECT_EQ(kWhite, d.canvas.At(R - 25, B - 5));
  // The contact at the first data input, 20 to 30 from the right, then a
  // gap, then the input's line from 33 to the left edge.
  EXPECT_EQ(kBlack, d.canvas.At(R - 22, T + 45));
  EXPECT_EQ(kWhite, d.canvas.At(R - 31, T + 45));
  EXPECT_EQ(kBlack, d.canvas.At(R - 33, T + 45));
  EXPECT_EQ(kBlack, d.canvas.At(L + 8, T + 75));
  EXPECT_EQ(kWhite, d.canvas.At(L + 8, T + 15)) << "no line at the selector";
  // The numbers 0 and 1 above their lines, from the left edge.
  EXPECT_GT(d.canvas.Count(L + 2, T + 32, L + 14, T + 44, kBlack), 0);
  EXPECT_GT(d.canvas.Count(L + 2, T + 62, L + 14, T + 74, kBlack), 0);
  d.canvas.Save(L"library_digital_mux.bmp");
}

TEST(DigitalDrawing, TheDemultiplexerIsItsMirrorImage) {
  Bench bench;
  auto* demux = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  ASSERT_TRUE(demux->ApplyProperties(3, kBeSignalChar));  // 90 high: input at 22 and 67, outputs at 15, 45, 75
  Drawn d(demux, 100, 130);
  ASSERT_TRUE(d.ok);
  const int L = 20, T = 20, R = 70, B = 110;
  EXPECT_EQ(kBlack, d.canvas.At(L + 5, T + 67));
  EXPECT_EQ(kBlack, d.canvas.At(L + 15, T + 30));
  EXPECT_EQ(kBlack, d.canvas.At(L + 20, T + 8));
  EXPECT_EQ(kBlack, d.canvas.At(L + 25, T + 50));
  EXPECT_EQ(kWhite, d.canvas.At(L + 25, B - 5));
  EXPECT_EQ(kBlack, d.canvas.At(L + 22, T + 15));  // the contact at output 0
  EXPECT_EQ(kWhite, d.canvas.At(L + 31, T + 15));
  EXPECT_EQ(kBlack, d.canvas.At(L + 33, T + 15));
  EXPECT_EQ(kBlack, d.canvas.At(R - 2, T + 75));
  EXPECT_EQ(kWhite, d.canvas.At(L + 5, T + 22)) << "no line at the selector";
  for (int y : {15, 45, 75}) EXPECT_GT(d.canvas.Count(R - 20, T + y - 13, R - 8, T + y - 1, kBlack), 0) << y;
  EXPECT_EQ(0, d.canvas.Count(R - 20, T + 80, R - 2, B - 2, kBlack)) << "three numbers only";
}

// ------------------------------------------------------------ the group

class Frame : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SCHEME_MODIFIED) return 0;
    return CKestForm::WindowProc(message, wParam, lParam);
  }
};

TEST(DigitalGroup, EveryEntryIsPlacedFromTheGroupAsItsClass) {
  Bench bench;
  const BeCatalogueGroup* group = bench.library.Group(L"Цифровые");
  ASSERT_NE(nullptr, group);
  const unsigned int ids[] = {kBeRSFlipFlopClassId,  kBeDFlipFlopClassId, kBeRegisterClassId, kBeCounterClassId,
                              kBePulsCounterClassId, kBeDEMUXClassId,     kBeMUXClassId,      kBeCoderClassId};
  ASSERT_EQ(8, group->entryCount);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(ids[i], group->Entry(i)->classId);
    ASSERT_NE(nullptr, group->Entry(i)->creator) << i;
  }
  auto* frame = new Frame;
  ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 900, 600, nullptr, true, true, true, true));
  ASSERT_TRUE(frame->CreateMDIClient());
  frame->Show(false);
  auto* editor = new CBEEditor(frame, &bench.scheme);
  ASSERT_TRUE(editor->GetHandle());
  MoveWindow(editor->GetHandle(), 0, 0, 800, 420, TRUE);
  velktest::FlushEvents();
  CBEView* view = editor->GetView();
  for (int i = 0; i < 8; ++i) {
    view->SetPendingClass(ids[i]);
    int x = 60 + 110 * (i % 4), y = 40 + 130 * (i / 4);
    SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    velktest::FlushEvents();
    CBEBlock* placed = bench.scheme.blocks;
    ASSERT_NE(nullptr, placed);
    EXPECT_EQ(ids[i], placed->GetClassId());
    EXPECT_EQ(group->Entry(i), placed->entry);
  }
  EXPECT_EQ(8, bench.scheme.GetBlockCount());
  EXPECT_NE(nullptr, dynamic_cast<CBECoder*>(bench.scheme.blocks));
  InvalidateRect(view->GetHandle(), nullptr, TRUE);
  UpdateWindow(editor->GetHandle());
  velktest::FlushEvents();
  velktest::SaveScreenshot(editor->GetHandle(), L"library_digital.bmp");
  EXPECT_TRUE(bench.host.texts.empty());
  velktest::CloseAllLiveForms();
}

}  // namespace
