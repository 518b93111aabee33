#include <windows.h>

#include <cstdio>
#include <string>

#include "support/memory_canvas.h"
#include "blocks/engine/block.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "engine_fixture.h"

using betest::Link;
using betest::TestBlock;

namespace {

using Canvas = velktest::MemoryCanvas;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);

class CountingBlock : public TestBlock {
public:
  CountingBlock() : TestBlock(1, 1) {}
  void Draw(HDC dc) override {
    ++draws;
    TestBlock::Draw(dc);
  }
  int draws = 0;
};

TEST(BlockPaint, BodyPinsSelectionAndLinks) {
  Canvas canvas(420, 320);
  BeScheme scheme;
  TestBlock* source = new TestBlock(0, 2);
  source->AttachToScheme(&scheme);
  source->rect = RECT{20, 20, 120, 120};  // outputs at y 45 and 95
  source->outputs[1]->hardware = 1;
  TestBlock* target = new TestBlock(1, 0);
  target->AttachToScheme(&scheme);
  target->rect = RECT{250, 150, 400, 250};  // input at (250, 200)
  target->fillColor = kGreen;
  target->flags |= kBeBlockSelected;
  Link(source, 0, target, 0, 180);
  source->Paint(canvas.dc(), false);
  target->Paint(canvas.dc(), false);
  canvas.Save(L"block_paint.bmp");

  // Body: fill inside, black outline on the rectangle's edges.
  EXPECT_EQ(kGreen, canvas.At(325, 160));
  EXPECT_EQ(kBlack, canvas.At(250, 170));
  EXPECT_EQ(kBlack, canvas.At(399, 170));
  EXPECT_EQ(kBlack, canvas.At(300, 150));
  EXPECT_EQ(kWhite, canvas.At(70, 70));
  // Output marks: black for the first, red for the hardware output.
  EXPECT_GT(canvas.Count(118, 43, 122, 47, kBlack), 5);
  EXPECT_EQ(0, canvas.Count(117, 42, 123, 48, kRed));
  EXPECT_GT(canvas.Count(118, 93, 122, 97, kRed), 0);
  // Selection frame: dotted, 4 pixels outside the body.
  int dots = canvas.Count(260, 146, 390, 146, kBlack);
  EXPECT_GT(dots, 20);
  EXPECT_LT(dots, 131);
  EXPECT_EQ(0, canvas.Count(20, 16, 120, 16, kBlack));  // the source is not selected
  // The link: from the input left to x1 = 180, up to y 45, left to the output.
  EXPECT_EQ(kBlack, canvas.At(215, 200));
  EXPECT_EQ(kBlack, canvas.At(180, 120));
  EXPECT_EQ(kBlack, canvas.At(150, 45));
  EXPECT_EQ(kWhite, canvas.At(215, 120));
}

TEST(BlockPaint, CaptionColourFollowsTheFill) {
  Canvas canvas(400, 140);
  TestBlock dark(0, 0);
  dark.rect = RECT{10, 10, 190, 130};
  dark.fillColor = RGB(0, 0, 128);  // sum 128: white text
  dark.SetCaption(L"ЖЖЖЖ ЖЖЖЖ");
  TestBlock light(0, 0);
  light.rect = RECT{210, 10, 390, 130};
  light.fillColor = RGB(200, 100, 85);  // sum 385: black text
  light.SetCaption(L"ЖЖЖЖ ЖЖЖЖ");
  dark.Paint(canvas.dc(), true);
  light.Paint(canvas.dc(), true);
  canvas.Save(L"block_captions.bmp");
  // Text only within the body shrunk by 15 pixels.
  EXPECT_GT(canvas.Count(25, 25, 175, 115, kWhite), 10);
  EXPECT_EQ(0, canvas.Count(11, 11, 24, 128, kWhite));
  EXPECT_GT(canvas.Count(225, 25, 375, 115, kBlack), 10);
  EXPECT_EQ(0, canvas.Count(211, 11, 224, 128, kBlack));
}

TEST(BlockPaint, CaptionBelowOnlyForAnOwnCaption) {
  Canvas canvas(200, 200);
  TestBlock block(0, 0);
  block.rect = RECT{50, 20, 150, 100};
  block.DrawCaptionBelow(canvas.dc());  // no own caption: nothing
  EXPECT_EQ(0, canvas.Count(0, 0, 199, 199, kBlack));
  block.SetCaption(L"Подпись");
  block.DrawCaptionBelow(canvas.dc());
  EXPECT_EQ(0, canvas.Count(0, 0, 199, 103, kBlack));
  EXPECT_GT(canvas.Count(0, 104, 199, 130, kBlack), 10);
}

TEST(BlockPaint, InvisibleBlockDrawsOnlyItsLinks) {
  Canvas canvas(300, 300);
  BeScheme scheme;
  TestBlock* source = new TestBlock(0, 1);
  source->AttachToScheme(&scheme);
  source->rect = RECT{0, 0, 50, 50};
  CountingBlock* block = new CountingBlock;
  block->AttachToScheme(&scheme);
  block->rect = RECT{200, 200, 280, 280};
  HRGN clip = CreateRectRgn(0, 0, 150, 300);
  SelectClipRgn(canvas.dc(), clip);
  DeleteObject(clip);
  block->Paint(canvas.dc(), false);
  EXPECT_EQ(0, block->draws);
  block->Paint(canvas.dc(), true);
  EXPECT_EQ(1, block->draws);
  // A link of an invisible block is still drawn where the DC shows it.
  SelectClipRgn(canvas.dc(), nullptr);
  Canvas fresh(300, 300);
  HRGN clip2 = CreateRectRgn(0, 0, 150, 300);
  SelectClipRgn(fresh.dc(), clip2);
  DeleteObject(clip2);
  Link(source, 0, block, 0, 100);
  block->Paint(fresh.dc(), false);
  EXPECT_EQ(1, block->draws);
  EXPECT_EQ(kBlack, fresh.At(100, 150));
  EXPECT_EQ(kBlack, fresh.At(75, 50));
}

TEST(BlockPaint, MacroPortsMonitorAndMacro) {
  Canvas canvas(420, 130);
  CBEMacroInput in;
  in.rect = RECT{10, 10, 80, 24};
  CBEMacroOutput out;
  out.rect = RECT{100, 10, 170, 27};
  CBEMonitor monitor;
  monitor.rect = RECT{10, 50, 110, 72};
  CBEMacro macro;
  macro.rect = RECT{200, 50, 400, 110};
  CBEAvrPlot plot;  // no icons folder: its picture draws nothing
  plot.rect = RECT{300, 5, 380, 45};
  in.Draw(canvas.dc());
  out.Draw(canvas.dc());
  monitor.Draw(canvas.dc());
  macro.Draw(canvas.dc());
  plot.Draw(canvas.dc());
  in.SetCaption(L"вход");
  out.SetCaption(L"выход");
  Canvas captions(200, 40);
  in.Draw(captions.dc());
  out.Draw(captions.dc());
  canvas.Save(L"engine_blocks.bmp");
  captions.Save(L"macro_ports.bmp");

  const COLORREF pink = RGB(255, 153, 153);
  const COLORREF grey = RGB(102, 102, 102);
  // Input port: bar on the left, the right corners cut.
  EXPECT_EQ(kBlack, canvas.At(11, 17));
  EXPECT_EQ(kBlack, canvas.At(13, 17));
  EXPECT_EQ(pink, canvas.At(14, 17));
  EXPECT_EQ(pink, canvas.At(40, 17));
  EXPECT_EQ(kWhite, canvas.At(79, 11));
  EXPECT_EQ(kWhite, canvas.At(79, 23));
  EXPECT_EQ(pink, canvas.At(76, 17));
  // Output port: bar on the right, the left corners cut.
  EXPECT_EQ(kBlack, canvas.At(167, 18));
  EXPECT_EQ(pink, canvas.At(165, 18));
  EXPECT_EQ(kWhite, canvas.At(101, 11));
  EXPECT_EQ(pink, canvas.At(104, 18));
  // Monitor: grey body, black bar 5 pixels wide on the right, white caption.
  EXPECT_EQ(grey, canvas.At(12, 52));
  EXPECT_EQ(kBlack, canvas.At(105, 60));
  EXPECT_EQ(kBlack, canvas.At(108, 60));
  EXPECT_EQ(grey, canvas.At(103, 60));
  EXPECT_GT(canvas.Count(11, 51, 104, 71, kWhite), 5);
  // Macro: pink body with its own caption in black.
  EXPECT_EQ(pink, canvas.At(205, 55));
  EXPECT_GT(canvas.Count(216, 66, 384, 94, kBlack), 10);
  // Graph builder without its picture: nothing.
  EXPECT_EQ(0, canvas.Count(300, 5, 379, 44, kBlack) + canvas.Count(300, 5, 379, 44, RGB(204, 204, 204)));
  // Port captions start right of the input port's bar and 13 pixels into
  // the output port.
  EXPECT_GT(captions.Count(14, 10, 60, 24, kBlack), 5);
  EXPECT_EQ(0, captions.Count(100, 10, 112, 27, kBlack));
  EXPECT_GT(captions.Count(113, 10, 160, 27, kBlack), 5);
}

}  // namespace
