// Containers: docking, client, anchors and the flow layout.
#include "kestui/forms_test_util.h"
#include "kestui/containers/kest_flow_layout.h"

namespace {

using formtest::Box;
using formtest::Describe;
using formtest::Form;
using formtest::FormsTest;
using formtest::MakeForm;
using formtest::Panel;
using formtest::RectIn;

class ContainerTest : public FormsTest {};

std::string Where(Form* form, CKestControl* child) {
  return Describe(RectIn(form->GetHandle(), child->GetHandle()));
}

struct DockCase {
  const char* name;
  struct Child {
    uint32_t code;
    int width, height;
    bool visible;
    RECT expected;
  } children[5];
  int count;
  RECT free;
};

TEST_F(ContainerTest, DockedChildrenTakeStripsInCreationOrder) {
  const DockCase cases[] = {
      {"two tops and a client",
       {{KEST_POS_TOP, 10, 20, true, {0, 0, 400, 20}},
        {KEST_POS_TOP, 10, 30, true, {0, 20, 400, 50}},
        {KEST_POS_CLIENT, 10, 10, true, {0, 50, 400, 300}}},
       3,
       {0, 50, 400, 300}},
      {"all four edges and a client",
       {{KEST_POS_LEFT, 50, 10, true, {0, 0, 50, 300}},
        {KEST_POS_RIGHT, 60, 10, true, {340, 0, 400, 300}},
        {KEST_POS_BOTTOM, 10, 25, true, {50, 275, 340, 300}},
        {KEST_POS_TOP, 10, 20, true, {50, 0, 340, 20}},
        {KEST_POS_CLIENT, 10, 10, true, {50, 20, 340, 275}}},
       5,
       {50, 20, 340, 275}},
      {"a hidden top takes no strip",
       {{KEST_POS_TOP, 10, 40, false, {0, 0, 10, 40}},
        {KEST_POS_TOP, 10, 20, true, {0, 0, 400, 20}},
        {KEST_POS_CLIENT, 10, 10, true, {0, 20, 400, 300}}},
       3,
       {0, 20, 400, 300}},
      {"only the first client fills",
       {{KEST_POS_BOTTOM, 10, 30, true, {0, 270, 400, 300}},
        {KEST_POS_CLIENT, 10, 10, true, {0, 0, 400, 270}},
        {KEST_POS_CLIENT, 15, 12, true, {0, 0, 15, 12}}},
       3,
       {0, 0, 400, 270}},
  };
  for (const DockCase& c : cases) {
    SCOPED_TRACE(c.name);
    Form* form = MakeForm(30, 30, 400, 300);
    ASSERT_NE(nullptr, form->GetHandle());
    std::vector<Box*> boxes;
    for (int i = 0; i < c.count; ++i) {
      DWORD style = WS_CHILD | (c.children[i].visible ? WS_VISIBLE : 0);
      boxes.push_back(
          new Box(form, c.children[i].code, c.children[i].width, c.children[i].height, style));
    }
    SendMessageW(form->GetHandle(), WM_KEST_ENDLAYOUT, 0, 0);
    for (int i = 0; i < c.count; ++i) {
      EXPECT_EQ(Describe(c.children[i].expected), Where(form, boxes[i])) << "child " << i;
    }
    EXPECT_EQ(Describe(c.free), Describe(form->GetFreeRect()));
    DestroyWindow(form->GetHandle());
  }
}

TEST_F(ContainerTest, ShowingAHiddenDockedChildGivesItItsStrip) {
  Form* form = MakeForm(30, 30, 400, 300);
  Box* hidden = new Box(form, KEST_POS_TOP, 10, 40, WS_CHILD);
  Box* top = new Box(form, KEST_POS_TOP, 10, 20);
  Box* client = new Box(form, KEST_POS_CLIENT, 10, 10);
  form->Realign();
  EXPECT_EQ(Describe(0, 0, 400, 20), Where(form, top));

  hidden->SetVisible(true);  // realigns the parent
  EXPECT_EQ(Describe(0, 0, 400, 40), Where(form, hidden));
  EXPECT_EQ(Describe(0, 40, 400, 60), Where(form, top));
  EXPECT_EQ(Describe(0, 60, 400, 300), Where(form, client));

  hidden->SetVisible(false);
  EXPECT_EQ(Describe(0, 0, 400, 20), Where(form, top));
  EXPECT_EQ(Describe(0, 20, 400, 300), Where(form, client));
}

TEST_F(ContainerTest, BorderInsetsTheDockingArea) {
  Form* form = MakeForm(30, 30, 400, 300);
  Box* top = new Box(form, KEST_POS_TOP, 10, 20);
  Box* client = new Box(form, KEST_POS_CLIENT, 10, 10);
  form->SetBorderWidth(5);
  EXPECT_EQ(Describe(5, 5, 395, 25), Where(form, top));
  EXPECT_EQ(Describe(5, 25, 395, 295), Where(form, client));
  RECT area;
  form->GetClientArea(&area);
  EXPECT_EQ(Describe(5, 5, 395, 295), Describe(area));
}

TEST_F(ContainerTest, DockedChildrenFollowAResize) {
  Form* form = MakeForm(30, 30, 400, 300);
  Box* left = new Box(form, KEST_POS_LEFT, 50, 10);
  Box* bottom = new Box(form, KEST_POS_BOTTOM, 10, 25);
  Box* client = new Box(form, KEST_POS_CLIENT, 10, 10);
  form->Realign();
  form->SetSize(500, 350);
  EXPECT_EQ(Describe(0, 0, 50, 350), Where(form, left));
  EXPECT_EQ(Describe(50, 325, 500, 350), Where(form, bottom));
  EXPECT_EQ(Describe(50, 0, 500, 325), Where(form, client));
}

TEST_F(ContainerTest, AnchorsFollowTheContainerEdges) {
  Form* form = MakeForm(30, 30, 400, 300);
  struct Anchored {
    const char* name;
    int x, y, w, h;
    uint8_t anchors;
    bool visible;
    RECT after;  // after growing to 411 x 321
  };
  const Anchored cases[] = {
      {"left+right stretches", 10, 10, 100, 20, KEST_ANCHOR_LEFT | KEST_ANCHOR_RIGHT, true,
       {10, 10, 121, 30}},
      {"right moves", 300, 10, 50, 20, KEST_ANCHOR_RIGHT, true, {311, 10, 361, 30}},
      {"centre moves by the half steps", 100, 100, 50, 20, KEST_ANCHOR_HCENTER, true,
       {105, 100, 155, 120}},
      {"top+bottom stretches", 10, 200, 50, 20, KEST_ANCHOR_TOP | KEST_ANCHOR_BOTTOM, true,
       {10, 200, 60, 241}},
      {"bottom moves", 10, 250, 50, 20, KEST_ANCHOR_BOTTOM, true, {10, 271, 60, 291}},
      {"vertical centre", 200, 100, 50, 20, KEST_ANCHOR_VCENTER, true, {200, 110, 250, 130}},
      {"left+top stays", 60, 60, 30, 30, KEST_ANCHOR_LEFT | KEST_ANCHOR_TOP, true, {60, 60, 90, 90}},
      {"no anchors stays", 150, 150, 30, 30, 0, true, {150, 150, 180, 180}},
      {"hidden children move too", 300, 150, 40, 20, KEST_ANCHOR_RIGHT, false,
       {311, 150, 351, 170}},
  };
  std::vector<Box*> boxes;
  for (const Anchored& c : cases) {
    Box* box = new Box(form, KestPos(c.x, c.y), c.w, c.h, WS_CHILD | (c.visible ? WS_VISIBLE : 0));
    box->SetAnchors(c.anchors);
    boxes.push_back(box);
  }
  form->SetSize(411, 321);
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(Describe(cases[i].after), Where(form, boxes[i])) << cases[i].name;
  }
  // Back to the first size: everything returns without drift.
  form->SetSize(400, 300);
  for (size_t i = 0; i < boxes.size(); ++i) {
    RECT start = {cases[i].x, cases[i].y, cases[i].x + cases[i].w, cases[i].y + cases[i].h};
    EXPECT_EQ(Describe(start), Where(form, boxes[i])) << cases[i].name;
  }
}

// Flow placement.
class FlowTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = MakeForm(30, 30, 300, 400);
    ASSERT_NE(nullptr, form->GetHandle());
  }
  POINT Add(int w, int h) {
    Box* box = new Box(form, KEST_POS_FLOW, w, h);
    last = box;
    RECT r = RectIn(form->GetHandle(), box->GetHandle());
    EXPECT_EQ(w, r.right - r.left);
    EXPECT_EQ(h, r.bottom - r.top);
    return POINT{r.left, r.top};
  }
  static std::string P(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
  static std::string P(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  Form* form = nullptr;
  Box* last = nullptr;
};

TEST_F(FlowTest, RowsWrapAtTheRightEdge) {
  EXPECT_EQ(P(8, 8), P(Add(100, 20)));
  EXPECT_EQ(P(116, 8), P(Add(100, 30)));
  // 216 + 100 + 16 = 332 > 300: a new row below the tallest of the three.
  EXPECT_EQ(P(8, 30 + 8 + 8), P(Add(100, 25)));
  EXPECT_EQ(P(116, 46), P(Add(100, 10)));
}

TEST_F(FlowTest, ATallWidgetThatWrapsCountsInItsNewRow) {
  Add(100, 20);
  Add(100, 20);
  POINT tall = Add(100, 50);
  EXPECT_EQ(P(8, 50 + 16), P(tall));
  form->NewFlowRow();
  POINT next = Add(100, 20);
  EXPECT_EQ(8, next.x);
  // The next row starts a gap below the tall widget, not on top of it.
  EXPECT_EQ(tall.y + 50 + 8, next.y);
}

TEST_F(FlowTest, NewRowOnAnEmptyRowAdvancesEighteenAndAGap) {
  form->NewFlowRow();
  EXPECT_EQ(P(8, 18 + 8 + 8), P(Add(50, 20)));
}

TEST_F(FlowTest, AStackedLabelSharesItsCellWithTheNextWidget) {
  form->GetFlowLayout()->StackNext();
  EXPECT_EQ(P(8, 8), P(Add(60, 15)));
  EXPECT_EQ(P(8, 8 + 15), P(Add(120, 20)));
  // The cell is as wide as the wider of the two.
  EXPECT_EQ(P(8 + 120 + 8, 8), P(Add(50, 20)));
}

TEST_F(FlowTest, GapAndCursorCanBeSetByTheForm) {
  KestFlowLayout* flow = form->GetFlowLayout();
  ASSERT_NE(nullptr, flow);
  flow->gap = 2;
  flow->cursorY = 40;
  EXPECT_EQ(P(2, 42), P(Add(50, 10)));
  form->AdvanceFlow(3);
  EXPECT_EQ(P(50 + 2 + 3 + 2, 42), P(Add(50, 10)));
}

TEST_F(FlowTest, ColumnsLieSideBySide) {
  form->NewFlowColumn(150);
  EXPECT_EQ(P(8, 8), P(Add(100, 20)));
  EXPECT_EQ(P(8, 36), P(Add(100, 20)));  // too wide for the rest of the column
  form->NewFlowColumn(150);
  EXPECT_EQ(P(158, 8), P(Add(100, 20)));
}

TEST_F(FlowTest, CenteredRowsEndUpBetweenTheEdges) {
  Add(200, 18);
  Box* labelBox = last;
  form->BeginCenteredRows();
  Add(80, 25);
  Box* first = last;
  Add(80, 25);
  Box* second = last;
  form->CenterFlowRows();
  RECT a = RectIn(form->GetHandle(), first->GetHandle());
  RECT b = RectIn(form->GetHandle(), second->GetHandle());
  // The row under the label: placed at 8 and 96, moved right by
  // (300 - 168) / 2 - 8 = 58.
  EXPECT_EQ(P(66, 18 + 8 + 8), P(a.left, a.top));
  EXPECT_EQ(a.left, 300 - b.right);  // equal margins
  EXPECT_EQ(96 - 8, b.left - a.left);
  RECT l = RectIn(form->GetHandle(), labelBox->GetHandle());
  EXPECT_EQ(P(8, 8), P(l.left, l.top));  // rows before the section stay
}

TEST_F(FlowTest, FlowStartsBelowDockedChildren) {
  new Panel(form, KEST_POS_TOP, 10, 40);
  EXPECT_EQ(P(8, 48), P(Add(50, 20)));
}

TEST_F(FlowTest, EndLayoutStartsANewLayoutAtTheTopLeft) {
  Panel* panel = new Panel(form, KestPos(0, 100), 300, 200);
  Box* inner = new Box(panel, KEST_POS_FLOW, 40, 20);
  EXPECT_EQ(Describe(8, 8, 48, 28), Describe(RectIn(panel->GetHandle(), inner->GetHandle())));
  Add(100, 20);
  Add(100, 20);
  EXPECT_TRUE(form->HasFlowLayout());
  EXPECT_TRUE(panel->HasFlowLayout());
  SendMessageW(form->GetHandle(), WM_KEST_ENDLAYOUT, 0, 0);
  EXPECT_FALSE(form->HasFlowLayout());
  EXPECT_FALSE(panel->HasFlowLayout());  // the message walked down the tree
  EXPECT_EQ(P(8, 8), P(Add(30, 30)));
}

}  // namespace
