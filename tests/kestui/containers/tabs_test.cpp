// Tab control: pages, edges, hit tests on the slanted strip, click commands
// and drawing.
#include <windows.h>

#include <memory>

#include "kestui/containers/kest_tabs.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/panels_fixture.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

class TabsTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new RecordingForm(400, 300);
    ASSERT_NE(nullptr, form->GetHandle());
    guard = std::make_unique<WindowGuard>(form);
    tabs = new CKestTabControl(form, true, 77, 300, 200, KestPos(0, 0));
    ASSERT_NE(nullptr, tabs->GetHandle());
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }
  int TextWidth(const wchar_t* text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, tabs->GetFont()->GetHandle());
    SIZE size = {};
    GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size.cx;
  }
  bool PageVisible(int i) { return IsWindowVisible(tabs->GetPage(i)->GetHandle()) != FALSE; }
  void Click(int x, int y) {
    SendMessageW(tabs->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(tabs->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  RecordingForm* form = nullptr;
  CKestTabControl* tabs = nullptr;
  std::unique_ptr<WindowGuard> guard;
};

}  // namespace

TEST_F(TabsTest, FirstTabIsSelectedWithItsPage) {
  EXPECT_EQ(0, tabs->AddTab(L"Электронная схема"));
  EXPECT_EQ(0, tabs->GetSelectedTab());
  EXPECT_TRUE(PageVisible(0));
  EXPECT_EQ(1, tabs->AddTab(L"Макет печатной платы"));
  EXPECT_EQ(0, tabs->GetSelectedTab());
  EXPECT_FALSE(PageVisible(1));
  EXPECT_STREQ(L"Макет печатной платы", tabs->GetCaption(1));
  // The page fills the area under the strip.
  RECT area;
  tabs->GetClientArea(&area);
  EXPECT_EQ(1 + 23, area.top);
  EXPECT_EQ(200 - 2, area.bottom);
  EXPECT_EQ(area.top, tabs->GetPage(0)->GetPosition().y);
  EXPECT_EQ(area.right - area.left, tabs->GetPage(0)->GetWidth());
}

TEST_F(TabsTest, EdgesAreKnownBeforeAnyPaintAndHitTestFollowsThem) {
  tabs->AddTab(L"Один");
  tabs->AddTab(nullptr);
  tabs->AddTab(L"Три");
  // Each tab takes slant + caption + margin: height + height / 3 + text
  // - height / 2 + 8 = text + 24, after a start of height / 2.
  int e0 = 10 + TextWidth(L"Один") + 24;
  int e1 = e0 + 24;
  int e2 = e1 + TextWidth(L"Три") + 24;
  EXPECT_EQ(e0, tabs->GetTabRightEdge(0));
  EXPECT_EQ(e1, tabs->GetTabRightEdge(1));
  EXPECT_EQ(e2, tabs->GetTabRightEdge(2));

  struct Case {
    int x, y, tab;
  } cases[] = {
      {0, 12, 0},       {5, 22, 0},  // the slanted foot of the first tab
      {e0 - 1, 12, 0},  {e0, 12, 1},  {e1 - 1, 4, 1}, {e1, 4, 2},
      {e2 - 1, 23, 2},  {e2, 12, -1},  // past the last tab
      {20, 2, -1},      {20, 3, 0},    {20, 24, -1},  {-1, 12, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.tab, tabs->HitTest(c.x, c.y)) << c.x << ", " << c.y;
  }

  Canvas canvas(300, 200, RGB(255, 0, 255));
  tabs->Paint(canvas.dc());
  EXPECT_EQ(e2, tabs->GetTabRightEdge(2));
}

TEST_F(TabsTest, ClickOnOtherTabSendsAtOnceAndPostsOnRelease) {
  tabs->AddTab(L"Один");
  tabs->AddTab(L"Два");
  velktest::FlushEvents();
  form->seen.clear();
  int x = tabs->GetTabRightEdge(0) + 20;
  SendMessageW(tabs->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 12));
  EXPECT_EQ(1, tabs->GetSelectedTab());
  EXPECT_EQ(1, form->Count(WM_COMMAND, 77));  // sent at once
  EXPECT_TRUE(PageVisible(1));
  EXPECT_FALSE(PageVisible(0));
  SendMessageW(tabs->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 12));
  EXPECT_EQ(1, form->Count(WM_COMMAND, 77));
  velktest::FlushEvents();
  EXPECT_EQ(2, form->Count(WM_COMMAND, 77));  // and the posted one of Click
  for (const Seen& s : form->seen) {
    if (s.message == WM_COMMAND) {
      EXPECT_EQ(reinterpret_cast<LPARAM>(tabs->GetHandle()), s.lParam);
    }
  }

  // The selected tab again: only the posted command.
  form->seen.clear();
  Click(x, 12);
  EXPECT_EQ(0, form->Count(WM_COMMAND, 77));
  velktest::FlushEvents();
  EXPECT_EQ(1, form->Count(WM_COMMAND, 77));
  EXPECT_EQ(1, tabs->GetSelectedTab());

  // Above the strip nothing is selected.
  Click(20, 1);
  EXPECT_EQ(1, tabs->GetSelectedTab());
  velktest::FlushEvents();
}

TEST_F(TabsTest, SelectedTabOpensIntoThePage) {
  tabs->AddTab(L"Один");
  tabs->AddTab(L"Два");
  int e0 = tabs->GetTabRightEdge(0);
  int e1 = tabs->GetTabRightEdge(1);
  Canvas canvas(300, 200, RGB(255, 0, 255));
  tabs->Paint(canvas.dc());
  EXPECT_EQ(tabs->faceColor, canvas.At(1, 1));             // strip above the tabs
  EXPECT_EQ(tabs->faceColor, canvas.At(e1 + 10, 12));      // strip after the last tab
  EXPECT_EQ(tabs->selectedColor, canvas.At(20, 15));       // inside the selected tab
  EXPECT_EQ(tabs->selectedColor, canvas.At(15, 23));       // its open bottom
  EXPECT_EQ(tabs->lineColor, canvas.At(e0, 15));           // its right edge
  EXPECT_EQ(tabs->otherColor, canvas.At(e0 + 3, 20));      // the other tab
  EXPECT_EQ(tabs->lineColor, canvas.At(e0 + 5, 23));       // closed at the bottom
  EXPECT_EQ(tabs->lineColor, canvas.At(e1 + 10, 23));      // strip line after the tabs
  EXPECT_EQ(tabs->lineColor, canvas.At(150, 199));         // bottom line of the control
  EXPECT_EQ(tabs->faceColor, canvas.At(e0 + 2, 8));        // above the slant of tab 1

  tabs->SelectTab(1);
  Canvas second(300, 200, RGB(255, 0, 255));
  tabs->Paint(second.dc());
  EXPECT_EQ(tabs->otherColor, second.At(20, 15));
  EXPECT_EQ(tabs->selectedColor, second.At(e0 + 5, 23));
}

TEST_F(TabsTest, ControlWithoutPagesOnlyTracksSelection) {
  auto* bare = new CKestTabControl(form, false, 5, 200, 60, KestPos(0, 220));
  EXPECT_EQ(0, bare->AddTab(L"A"));
  EXPECT_EQ(nullptr, bare->GetPage(0));
  EXPECT_EQ(0, bare->GetSelectedTab());
  bare->SelectTab(7);
  EXPECT_EQ(0, bare->GetSelectedTab());
  bare->SelectTab(-1);
  EXPECT_EQ(-1, bare->GetSelectedTab());
}
