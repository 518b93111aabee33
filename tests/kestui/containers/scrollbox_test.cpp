// Scroll box: range from the children, pages, scrolling reports and the wheel.
#include <windows.h>

#include <memory>

#include "kestui/containers/kest_scrollbox.h"
#include "kestui/panels_fixture.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

class ScrollBoxTest : public RecordingFormTest<600, 500> {
protected:
  void SetUp() override {
    RecordingFormTest::SetUp();
    if (HasFatalFailure()) return;
    box = new CKestScrollBox(form, KestPos(0, 0), 400, 300, false);
    ASSERT_NE(nullptr, box->GetHandle());
    SetWindowLongW(box->GetHandle(), GWL_ID, 31);
  }
  int Page(int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(box->GetHandle(), bar, &info);
    return static_cast<int>(info.nPage);
  }
  LRESULT Wheel(int delta) {
    return SendMessageW(box->GetHandle(), WM_MOUSEWHEEL,
                        MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
  }

  CKestScrollBox* box = nullptr;
};

}  // namespace

TEST_F(ScrollBoxTest, ChildrenBeyondTheViewGiveContentAndPages) {
  auto* child = new TestWidget(box, KestPos(400, 1100), 100, 100);
  box->FitToChildren();
  EXPECT_EQ(508, box->GetHorzRange());
  EXPECT_EQ(1208, box->GetVertRange());
  EXPECT_EQ(300 - GetSystemMetrics(SM_CYHSCROLL), Page(SB_VERT));
  EXPECT_EQ(400 - GetSystemMetrics(SM_CXVSCROLL), Page(SB_HORZ));
  RECT area;
  box->GetClientArea(&area);
  EXPECT_EQ(508, area.right);
  EXPECT_EQ(1208, area.bottom);

  // Scrolling clamps to range - page and moves the children.
  int bottom = box->ScrollVertTo(5000);
  EXPECT_EQ(1208 - Page(SB_VERT), bottom);
  EXPECT_EQ(1100 - bottom, child->GetPosition().y);
  EXPECT_EQ(0, box->ScrollHorzTo(-20));
  // The extent is measured in unscrolled coordinates.
  box->FitToChildren();
  EXPECT_EQ(1208, box->GetVertRange());
  EXPECT_EQ(bottom, box->GetScrollY());
}

TEST_F(ScrollBoxTest, EndLayoutFitsAndScrollReportsCarryTheId) {
  new TestWidget(box, KestPos(10, 10), 100, 800);
  SendMessageW(box->GetHandle(), WM_KEST_ENDLAYOUT, 0, 0);
  EXPECT_EQ(818, box->GetVertRange());
  SendMessageW(box->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  int page = Page(SB_VERT);
  EXPECT_EQ(std::max(1, page / 15), box->GetScrollY());
  EXPECT_EQ(1, form->Count(WM_KEST_RBUTTONDOWN, 31));
  SendMessageW(box->GetHandle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(std::max(1, page / 15) + page, box->GetScrollY());
  SendMessageW(box->GetHandle(), WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(1, form->Count(WM_KEST_MOUSEMOVE, 31));
}

TEST_F(ScrollBoxTest, WheelScrollsDownThenSidewaysAndIsAlwaysConsumed) {
  new TestWidget(box, KestPos(10, 10), 1000, 400);
  box->FitToChildren();
  EXPECT_EQ(1, Wheel(-120));
  EXPECT_EQ(120, box->GetScrollY());
  int maxY = box->ScrollVertTo(100000);
  EXPECT_EQ(1, Wheel(-120));  // at the bottom: sideways
  EXPECT_EQ(maxY, box->GetScrollY());
  EXPECT_EQ(120, box->GetScrollX());
  EXPECT_EQ(1, Wheel(120));  // up again
  EXPECT_EQ(maxY - 120, box->GetScrollY());

  form->wheelAnswer = 1;  // the form takes it
  EXPECT_EQ(1, Wheel(-120));
  EXPECT_EQ(maxY - 120, box->GetScrollY());
}

TEST_F(ScrollBoxTest, WheelWithNothingToScrollMovesNothing) {
  new TestWidget(box, KestPos(10, 10), 100, 100);
  box->FitToChildren();
  EXPECT_EQ(1, Wheel(-120));
  EXPECT_EQ(0, box->GetScrollX());
  EXPECT_EQ(0, box->GetScrollY());
}
