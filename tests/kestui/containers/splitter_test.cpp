// Splitters resize the panel docked before them, between a minimum and what
// the container leaves free; the separator keeps clear of its neighbours.
#include <windows.h>

#include <memory>

#include "kestui/bars/kest_separator.h"
#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/panels_fixture.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

class SplitterTest : public RecordingFormTest<400, 300> {
protected:
  static void Drag(CKestControl* splitter, int x, int y) {
    SendMessageW(splitter->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON,
                 MAKELPARAM(static_cast<short>(x), static_cast<short>(y)));
  }

};

}  // namespace

TEST_F(SplitterTest, TopSplitterFollowsMouseBetweenMinimumAndFreeExtent) {
  auto* top = new CKestPanel(form, 0, KEST_POS_TOP, 100, 50, false, false);
  auto* splitter = new CKestHSplitter(form, KEST_POS_TOP);
  auto* rest = new CKestPanel(form, 0, KEST_POS_CLIENT, 100, 100, false, false);
  auto* status = new TestWidget(form, KEST_POS_BOTTOM, 100, 20);
  form->Realign();
  EXPECT_EQ(9, splitter->GetCursorIndex());
  EXPECT_EQ(top->GetHandle(), splitter->FindPanel());

  Drag(splitter, 10, 32);  // 30 pixels below the grip row
  EXPECT_EQ(80, top->GetHeight());
  EXPECT_EQ(80, splitter->GetPosition().y);
  EXPECT_EQ(86, rest->GetPosition().y);

  Drag(splitter, 10, -500);
  EXPECT_EQ(10, top->GetHeight());

  // The panel stops where the splitter and the status bar still fit.
  Drag(splitter, 10, 5000);
  EXPECT_EQ(300 - 6 - 20, top->GetHeight());
  EXPECT_EQ(300 - 20, splitter->GetPosition().y + splitter->GetHeight());
  EXPECT_EQ(300 - 20, status->GetPosition().y);
}

TEST_F(SplitterTest, BottomAndSideSplittersWorkTheOtherWay) {
  auto* bottom = new CKestPanel(form, 0, KEST_POS_BOTTOM, 100, 60, false, false);
  auto* hsplit = new CKestHSplitter(form, KEST_POS_BOTTOM);
  auto* left = new CKestPanel(form, 0, KEST_POS_LEFT, 100, 100, false, false);
  auto* vsplit = new CKestVSplitter(form, KEST_POS_LEFT);
  form->Realign();
  int oldTop = bottom->GetPosition().y;
  Drag(hsplit, 10, 32);  // 30 pixels down
  EXPECT_EQ(30, bottom->GetHeight());
  EXPECT_EQ(oldTop + 30, bottom->GetPosition().y);

  EXPECT_EQ(10, vsplit->GetCursorIndex());
  Drag(vsplit, 52, 10);
  EXPECT_EQ(150, left->GetWidth());
  Drag(vsplit, 5000, 10);
  EXPECT_EQ(400 - 6, left->GetWidth());
  Drag(vsplit, -5000, 10);
  EXPECT_EQ(10, left->GetWidth());
}

TEST_F(SplitterTest, NothingIsResizedWithoutPanelOrButton) {
  auto* hidden = new CKestPanel(form, 0, KEST_POS_TOP, 100, 50, false, false);
  auto* splitter = new CKestHSplitter(form, KEST_POS_TOP);
  auto* loose = new CKestHSplitter(form, KestPos(0, 200));
  form->Realign();
  hidden->SetVisible(false);
  EXPECT_EQ(nullptr, splitter->FindPanel());
  Drag(splitter, 10, 40);
  EXPECT_EQ(50, hidden->GetHeight());

  hidden->SetVisible(true);
  SendMessageW(splitter->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 40));
  EXPECT_EQ(50, hidden->GetHeight());

  EXPECT_EQ(nullptr, loose->FindPanel());
  EXPECT_FALSE(loose->Drag(40));
  EXPECT_EQ(50, hidden->GetHeight());
}

TEST_F(SplitterTest, GripDotsAreDrawnAroundTheCentre) {
  auto* splitter = new CKestHSplitter(form, KestPos(0, 0));
  splitter->SetBackColor(RGB(200, 200, 200));
  Canvas canvas(100, 6, RGB(200, 200, 200));
  splitter->Paint(canvas.dc());
  COLORREF dark = BlendColors(RGB(200, 200, 200), RGB(0, 0, 0), 128);
  COLORREF light = BlendColors(RGB(200, 200, 200), RGB(255, 255, 255), 128);
  // Centre (50, 3); dots every 6 pixels.
  EXPECT_EQ(dark, canvas.At(49, 2));
  EXPECT_EQ(light, canvas.At(51, 4));
  EXPECT_EQ(RGB(200, 200, 200), canvas.At(50, 3));
  EXPECT_EQ(dark, canvas.At(50 + 18 - 1, 3));
  EXPECT_EQ(RGB(200, 200, 200), canvas.At(50 + 24, 3));
}

TEST_F(SplitterTest, SeparatorStandsThreePixelsClearInToolBar) {
  auto* strip = new CKestPanel(form, 0, KestPos(0, 0), 300, 28, true, false);
  auto* a = new TestWidget(strip, KEST_POS_FLOW, 24, 24);
  auto* separator = new CKestSeparator(strip, KEST_POS_FLOW);
  auto* b = new TestWidget(strip, KEST_POS_FLOW, 24, 24);
  EXPECT_EQ(9 + 24 + 3, separator->GetPosition().x);
  EXPECT_EQ(9 + 24 + 3 + 1 + 3, b->GetPosition().x);
  EXPECT_EQ(28 - 1 - 2, separator->GetHeight());
  EXPECT_EQ(9, a->GetPosition().x);
}
