// Paint box DC keeping, image box placement and drawing, status bar panels.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "kestui/kest_test_widgets.h"
#include "kestui/bars/kest_status_bar.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_image_box.h"
#include "kestui/graphics/kest_paintbox.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

// A form that draws its paint boxes: it takes the box's DC on WM_KEST_PAINT
// and remembers what it saw.
class PaintForm : public TestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEST_PAINT && box && lParam == reinterpret_cast<LPARAM>(box->GetHandle())) {
      ++paints;
      HDC dc = box->GetDC();
      dcs.push_back(dc);
      usesDuringPaint = box->GetDCUseCount();
      box->ReleaseDC();
      usesAfterRelease = box->GetDCUseCount();
      if (mark) SetPixel(dc, 1, 1, RGB(0, 255, 0));
      if (throwInPaint) throw std::runtime_error("paint");
      return 0;
    }
    return TestForm::WindowProc(message, wParam, lParam);
  }

  CKestPaintBox* box = nullptr;
  int paints = 0;
  std::vector<HDC> dcs;
  int usesDuringPaint = 0;
  int usesAfterRelease = 0;
  bool mark = false;
  bool throwInPaint = false;
};

class PaintBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new PaintForm;
    guard = std::make_unique<WindowGuard>(form);
    ShowWindow(form->GetHandle(), SW_SHOWNOACTIVATE);
    ActivateWindow(form->GetHandle());
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }
  void Repaint(CKestControl* control) {
    InvalidateRect(control->GetHandle(), nullptr, TRUE);
    UpdateWindow(control->GetHandle());
  }

  PaintForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
};

CKestImage* SolidImage(int width, int height, COLORREF colour) {
  auto* image = new CKestImage;
  EXPECT_TRUE(image->Create(width, height, 24));
  HDC dc = image->GetDC();
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  image->ReleaseDC();
  return image;
}

}  // namespace

TEST_F(PaintBoxTest, FormDrawsIntoThePaintDCWithoutReleasingIt) {
  auto* box = new CKestPaintBox(form, 5, KestPos(10, 10), 50, 40);
  ASSERT_NE(nullptr, box->GetHandle());
  EXPECT_EQ(5, GetDlgCtrlID(box->GetHandle()));
  form->box = box;
  form->mark = true;
  Repaint(box);
  ASSERT_EQ(1, form->paints);
  EXPECT_NE(nullptr, form->dcs[0]);
  EXPECT_EQ(2, form->usesDuringPaint);
  EXPECT_EQ(1, form->usesAfterRelease);
  EXPECT_EQ(0, box->GetDCUseCount());
  HDC screen = GetDC(box->GetHandle());
  EXPECT_EQ(RGB(0, 255, 0), GetPixel(screen, 1, 1));
  ReleaseDC(box->GetHandle(), screen);
}

TEST_F(PaintBoxTest, GetDCOutsideAPaintIsAWindowDCReleasedByTheLastRelease) {
  auto* box = new CKestPaintBox(form, 0, KestPos(10, 10), 50, 40);
  HDC first = box->GetDC();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, box->GetDC());
  EXPECT_EQ(2, box->GetDCUseCount());
  box->ReleaseDC();
  EXPECT_EQ(1, box->GetDCUseCount());
  box->ReleaseDC();
  EXPECT_EQ(0, box->GetDCUseCount());
  box->ReleaseDC();  // one too many is ignored
  EXPECT_EQ(0, box->GetDCUseCount());
}

TEST_F(PaintBoxTest, AnExceptionWhilePaintingStillEndsThePaint) {
  auto* box = new CKestPaintBox(form, 0, KestPos(10, 10), 50, 40);
  form->box = box;
  form->throwInPaint = true;
  Repaint(box);
  EXPECT_EQ(1, form->paints);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(box->GetHandle(), &update, FALSE));
  EXPECT_EQ(0, box->GetDCUseCount());
}

TEST(ImageBoxPlacement, FitsKeepingTheAspectRatio) {
  struct Case {
    int iw, ih;
    bool fit;
    RECT area, expected;
  } cases[] = {
      {200, 100, true, {0, 0, 100, 100}, {0, 25, 100, 75}},
      {100, 200, true, {0, 0, 100, 100}, {25, 0, 75, 100}},
      {50, 50, true, {0, 0, 200, 100}, {50, 0, 150, 100}},
      {200, 100, false, {0, 0, 100, 100}, {0, 0, 200, 100}},
      {30, 20, false, {5, 6, 100, 100}, {5, 6, 35, 26}},
      {0, 10, true, {0, 0, 100, 100}, {0, 0, 0, 10}},
  };
  for (const Case& c : cases) {
    RECT got = CKestImageBox::PlaceImage(c.area, c.iw, c.ih, c.fit);
    EXPECT_TRUE(EqualRect(&got, &c.expected))
        << c.iw << "x" << c.ih << " fit " << c.fit << ": " << got.left << "," << got.top << ","
        << got.right << "," << got.bottom;
  }
}

TEST_F(PaintBoxTest, ImageBoxDrawsThePictureFittedAndFillsTheMargins) {
  auto* box = new CKestImageBox(form, 0, KestPos(10, 10), 0, false, true, 100, 100);
  ASSERT_NE(nullptr, box->GetHandle());
  form->box = box;
  box->SetBackColor(RGB(255, 0, 0));
  Repaint(box);
  EXPECT_EQ(0, form->paints);  // no picture: nothing drawn, nothing reported

  box->SetImage(SolidImage(200, 100, RGB(0, 0, 255)));
  Repaint(box);
  EXPECT_EQ(1, form->paints);
  HDC dc = GetDC(box->GetHandle());
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 50, 10));   // above
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 50, 24));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 50, 25));   // the picture
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 0, 50));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 99, 74));
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 50, 75));   // below
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 50, 99));
  ReleaseDC(box->GetHandle(), dc);
}

TEST_F(PaintBoxTest, ImageBoxTakesThePictureSize) {
  auto* box = new CKestImageBox(form, 0, KestPos(10, 10), 0, true, false, 40, 40);
  box->SetImage(SolidImage(64, 48, RGB(1, 2, 3)));
  EXPECT_EQ(64, box->GetWidth());
  EXPECT_EQ(48, box->GetHeight());
  box->SetImage(nullptr);
  EXPECT_EQ(nullptr, box->GetImage());
  auto* missing = new CKestImageBox(form, 0, KestPos(100, 10), 4242, true, false, 40, 40);
  EXPECT_EQ(nullptr, missing->GetImage());
  EXPECT_EQ(40, missing->GetWidth());
}

namespace {

std::wstring PanelText(HWND bar, int index) {
  LRESULT info = SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
  std::wstring text(LOWORD(info) + 1, L'\0');
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(LOWORD(info));
  return text;
}

std::vector<int> Parts(HWND bar) {
  int edges[8] = {};
  auto count = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
  return std::vector<int>(edges, edges + count);
}

}  // namespace

TEST_F(PaintBoxTest, StatusBarPanelsAndAlignedTexts) {
  auto* bar = new CKestStatusBar(form, false, 22);
  HWND window = bar->GetHandle();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(0, bar->AddPanel(100, 0, L"Готово"));
  EXPECT_EQ(std::vector<int>({-1}), Parts(window));
  EXPECT_EQ(1, bar->AddPanel(50, 1, L"Стр. 1"));
  EXPECT_EQ(std::vector<int>({100, -1}), Parts(window));
  EXPECT_EQ(L"\tГотово", PanelText(window, 0));
  EXPECT_EQ(L"\t\tСтр. 1", PanelText(window, 1));
  EXPECT_EQ(2, bar->AddPanel(80, -1, L"слева"));
  EXPECT_EQ(std::vector<int>({100, 150, -1}), Parts(window));
  EXPECT_EQ(L"слева", PanelText(window, 2));
  EXPECT_EQ(3, bar->GetPanelCount());

  bar->SetPanelText(0, nullptr);
  EXPECT_EQ(L"\t", PanelText(window, 0));
  bar->SetPanelText(1, nullptr);
  EXPECT_EQ(L"\t\t", PanelText(window, 1));
  bar->SetPanelText(2, nullptr);
  EXPECT_EQ(L"", PanelText(window, 2));
  bar->SetPanelText(5, L"никуда");
  bar->SetPanelText(-1, L"никуда");
  EXPECT_EQ(L"\t", PanelText(window, 0));
  EXPECT_EQ(L"\t\t", PanelText(window, 1));
  EXPECT_EQ(L"", PanelText(window, 2));
}
