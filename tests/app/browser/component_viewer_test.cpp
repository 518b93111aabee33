// The component viewer "Свойства": layout, the description, the picture
// fitted into its box, a missing or broken picture, and its modal result.
#include <windows.h>

#include <string>

#include "app/browser/component_viewer.h"
#include "app/app_fixture.h"
#include "app/browser/browser_fixture.h"

namespace {

using browsertest::Children;
using browsertest::RectIn;
using browsertest::WindowText;

class ViewerTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    db.WritePicture(L"wide.bmp", 100, 50, RGB(0, 0, 255));
    db.WritePicture(L"tall.bmp", 50, 100, RGB(0, 0, 255));
    db.WriteFile(L"images\\broken.png", "\x89PNG\r\n\x1a\n not a picture at all");
  }

  static CComponentViewer* Open(const wchar_t* text, const wchar_t* picture) {
    CComponentViewer* viewer = new CComponentViewer(nullptr, text, picture);
    EXPECT_NE(nullptr, viewer->GetHandle());
    viewer->Show(false);
    velktest::FlushEvents();
    return viewer;
  }

  static COLORREF PixelAt(CComponentViewer* viewer, int x, int y) {
    return velktest::ScreenPixel(viewer->GetPictureBox()->GetHandle(), x, y);
  }

  static void Repaint(CComponentViewer* viewer) {
    RedrawWindow(viewer->GetPictureBox()->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    velktest::FlushEvents();
  }

  browsertest::TestDatabase db;
};

TEST_F(ViewerTest, Layout) {
  std::wstring text = L"Конденсатор керамический.\r\nДопуск 10 %, ";
  text += std::wstring(1000, L'ы');  // taken whole
  CComponentViewer* viewer = Open(text.c_str(), L"wide.bmp");
  HWND window = viewer->GetHandle();
  EXPECT_EQ(L"Свойства", WindowText(window));
  RECT bounds;
  GetWindowRect(window, &bounds);
  EXPECT_EQ(600, bounds.right - bounds.left);
  EXPECT_EQ(300, bounds.bottom - bounds.top);
  // Centred on the screen.
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR((screenWidth - 600) / 2, bounds.left, 1);
  EXPECT_NEAR((screenHeight - 300) / 2, bounds.top, 1);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
  EXPECT_EQ(nullptr, GetMenu(window));

  // The picture box and the text side by side, "OK" centred below.
  std::vector<HWND> children = Children(window);
  ASSERT_EQ(3u, children.size());
  EXPECT_EQ(viewer->GetPictureBox()->GetHandle(), children[0]);
  EXPECT_EQ(viewer->GetTextLabel()->GetHandle(), children[1]);
  EXPECT_EQ(viewer->GetOkButton()->GetHandle(), children[2]);
  RECT box = RectIn(window, children[0]), label = RectIn(window, children[1]);
  RECT ok = RectIn(window, children[2]);
  EXPECT_EQ(200, box.right - box.left);
  EXPECT_EQ(200, box.bottom - box.top);
  EXPECT_EQ(360, label.right - label.left);
  EXPECT_EQ(200, label.bottom - label.top);
  EXPECT_EQ(box.top, label.top);
  EXPECT_LT(box.right, label.left);
  EXPECT_EQ(100, ok.right - ok.left);
  EXPECT_EQ(25, ok.bottom - ok.top);
  EXPECT_GT(ok.top, box.bottom);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_NEAR(client.right / 2, (ok.left + ok.right) / 2, 1);
  EXPECT_EQ(L"OK", WindowText(children[2]));
  EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(children[2], GWL_STYLE) & 0x0F);
  EXPECT_EQ(0, GetDlgCtrlID(children[2]));
  EXPECT_EQ(1, viewer->GetOkButton()->GetModalResult());

  EXPECT_EQ(text, WindowText(children[1]));
  EXPECT_EQ(-1, viewer->GetTextLabel()->GetAlignment());
  ASSERT_NE(nullptr, viewer->GetPicture());
  EXPECT_EQ(100, viewer->GetPicture()->GetWidth());
}

TEST_F(ViewerTest, ThePictureIsFittedIntoItsBox) {
  // In a 200 x 200 box: 190 wide, or 190 high when it would be higher.
  const struct {
    const wchar_t* file;
    RECT drawn;  // 100 x 50 -> 190 x 95 at (5, 52); 50 x 100 -> 95 x 190 at (52, 5)
  } cases[] = {{L"wide.bmp", {5, 52, 195, 147}}, {L"tall.bmp", {52, 5, 147, 195}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (&c - cases));
    CComponentViewer* viewer = Open(L"", c.file);
    RECT area;
    GetClientRect(viewer->GetPictureBox()->GetHandle(), &area);
    ASSERT_EQ(200, area.right);
    ASSERT_EQ(200, area.bottom);
    Repaint(viewer);
    const RECT& d = c.drawn;
    int midX = (d.left + d.right) / 2, midY = (d.top + d.bottom) / 2;
    EXPECT_EQ(RGB(0, 0, 255), PixelAt(viewer, midX, midY));
    EXPECT_EQ(RGB(0, 0, 255), PixelAt(viewer, d.left, d.top));
    EXPECT_EQ(RGB(0, 0, 255), PixelAt(viewer, d.right - 1, d.bottom - 1));
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(viewer, d.left - 1, midY));
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(viewer, midX, d.top - 1));
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(viewer, d.right, midY));
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(viewer, midX, d.bottom));
    velktest::CloseAllLiveForms();
  }
}

TEST_F(ViewerTest, FitViewerPictureCases) {
  const struct {
    int areaWidth, areaHeight, width, height;
    RECT expected;
  } cases[] = {
      {200, 200, 100, 50, {5, 52, 195, 147}},
      {200, 200, 50, 100, {52, 5, 147, 195}},
      {200, 100, 190, 90, {5, 5, 195, 95}},    // 190 x 90 fits: 190 wide
      {200, 100, 100, 100, {55, 5, 145, 95}},  // 190 too high for 100: 90 x 90
      {10, 10, 4, 4, {0, 0, 0, 0}},            // no room left
      {200, 200, 0, 10, {0, 0, 0, 0}},         // no picture
      {200, 200, 10, 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    RECT r = FitViewerPicture(c.areaWidth, c.areaHeight, c.width, c.height);
    EXPECT_EQ(c.expected.left, r.left) << (&c - cases);
    EXPECT_EQ(c.expected.top, r.top) << (&c - cases);
    EXPECT_EQ(c.expected.right, r.right) << (&c - cases);
    EXPECT_EQ(c.expected.bottom, r.bottom) << (&c - cases);
  }
}

TEST_F(ViewerTest, AMissingOrBrokenPictureLeavesTheBoxWhite) {
  for (const wchar_t* file : {L"none.png", L"broken.png", L"", static_cast<const wchar_t*>(nullptr)}) {
    SCOPED_TRACE(file ? file : L"(null)");
    CComponentViewer* viewer = Open(L"Без картинки", file);
    EXPECT_EQ(nullptr, viewer->GetPicture());
    Repaint(viewer);
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(viewer, 100, 100));
    EXPECT_EQ(L"Без картинки", WindowText(viewer->GetTextLabel()->GetHandle()));
    velktest::CloseAllLiveForms();
  }
}

TEST_F(ViewerTest, OkAndEscEndTheModalLoop) {
  const struct {
    const char* name;
    bool ok;
    int result;
  } cases[] = {{"OK", true, 1}, {"Esc", false, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CComponentViewer* viewer = new CComponentViewer(nullptr, L"Текст", L"wide.bmp");
    browsertest::LoopProbe probe([&] {
      if (c.ok) PostMessageW(viewer->GetOkButton()->GetHandle(), BM_CLICK, 0, 0);
      else PostMessageW(viewer->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    probe.Post();
    EXPECT_EQ(c.result, viewer->ShowModal(false));
    EXPECT_TRUE(probe.Ran());
    delete viewer;
    velktest::FlushEvents();
    EXPECT_EQ(0, LiveForms.count);
  }
}

}  // namespace
