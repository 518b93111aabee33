// Speed button: frames, states, toggling, releases and drawing.
#include <windows.h>

#include <memory>

#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/panels_fixture.h"
#include "support/test_support.h"

using namespace kesttest;

namespace {

// A 24-bit strip of square frames, frame k filled with colours[k].
CKestImage* Strip(int size, std::initializer_list<COLORREF> colours) {
  auto* image = new CKestImage();
  int frames = static_cast<int>(colours.size());
  EXPECT_TRUE(image->Create(size * frames, size, 24));
  int k = 0;
  for (COLORREF c : colours) {
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) image->SetPixel(k * size + x, y, c);
    }
    ++k;
  }
  return image;
}

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 2;
}

class SpeedButtonTest : public RecordingFormTest<400, 300> {
protected:
  CKestSpdBtn* Button(bool toggle, CKestContainer* parent = nullptr) {
    return new CKestSpdBtn(parent ? parent : form, 55, 0, L"Подсказка", toggle, 48, 24, nullptr,
                           KestPos(10, 10), false);
  }
  void Press(CKestSpdBtn* b, int x, int y) {
    SendMessageW(b->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  void Release(CKestSpdBtn* b, int x, int y) {
    SendMessageW(b->GetHandle(), WM_LBUTTONUP, 0,
                 MAKELPARAM(static_cast<short>(x), static_cast<short>(y)));
  }
  COLORREF Render(CKestSpdBtn* b, int x, int y, COLORREF background = RGB(128, 128, 128)) {
    Canvas canvas(48, 24, background);
    b->Paint(canvas.dc());
    return canvas.At(x, y);
  }
  int Commands() {
    velktest::FlushEvents();
    return form->Count(WM_COMMAND, 55);
  }

};

}  // namespace

TEST_F(SpeedButtonTest, ConstructorLoadsResourceOrStaysWithoutImage) {
  auto* none = Button(false);
  EXPECT_EQ(nullptr, none->GetImage());
  EXPECT_EQ(KEST_TRANSPARENT, none->GetBackColor());
  EXPECT_STREQ(L"Подсказка", none->GetHint());
  EXPECT_EQ(55, GetWindowLongW(none->GetHandle(), GWL_ID));
  EXPECT_TRUE(GetWindowLongW(none->GetHandle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  auto* loaded = new CKestSpdBtn(form, 56, 101, nullptr, false, 30, 30, nullptr, KestPos(0, 0),
                                 false);
  ASSERT_NE(nullptr, loaded->GetImage());
  EXPECT_TRUE(loaded->GetImage()->IsIndexed());
  auto* missing = new CKestSpdBtn(form, 57, 9999, nullptr, false, 30, 30, nullptr, KestPos(0, 0),
                                  false);
  EXPECT_EQ(nullptr, missing->GetImage());
}

TEST_F(SpeedButtonTest, FrameFollowsStateAndEnabling) {
  auto* b = Button(false);
  b->SetImage(Strip(16, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}));
  EXPECT_EQ(3, b->GetFrameCount());
  EXPECT_EQ(0, b->GetFrameIndex());
  EXPECT_EQ(RGB(255, 0, 0), Render(b, 24, 11));
  SendMessageW(b->GetHandle(), WM_KEST_MOUSEENTER, 0, 0);
  EXPECT_EQ(CKestSpdBtn::StateHot, b->GetState());
  EXPECT_EQ(2, b->GetFrameIndex());
  EXPECT_EQ(RGB(0, 0, 255), Render(b, 24, 11));
  b->Enable(false);
  EXPECT_EQ(1, b->GetFrameIndex());
  EXPECT_EQ(RGB(0, 255, 0), Render(b, 24, 11));

  b->SetImage(Strip(16, {RGB(255, 0, 0), RGB(0, 255, 0)}));
  EXPECT_EQ(2, b->GetFrameCount());
  EXPECT_EQ(1, b->GetFrameIndex());
  b->Enable(true);
  EXPECT_EQ(0, b->GetFrameIndex());  // two frames have no hot look

  auto* square = new CKestImage();
  ASSERT_TRUE(square->Create(20, 16, 24));
  b->SetImage(square);
  EXPECT_EQ(1, b->GetFrameCount());
  b->SetImage(nullptr);
  EXPECT_EQ(1, b->GetFrameCount());
}

TEST_F(SpeedButtonTest, HotHighlightMixesParentColourTowardOrange) {
  auto* panel = new CKestPanel(form, 0, KestPos(0, 100), 200, 60, false, false);
  panel->SetBackColor(RGB(255, 0, 0));
  auto* b = Button(false, panel);
  EXPECT_EQ(RGB(128, 128, 128), Render(b, 5, 5));  // normal: nothing drawn
  SendMessageW(b->GetHandle(), WM_KEST_MOUSEENTER, 0, 0);
  EXPECT_EQ(BlendColors(RGB(255, 0, 0), 0x00FF6600, 32), Render(b, 5, 5));
  EXPECT_EQ(static_cast<COLORREF>(0x00FF6600), Render(b, 0, 0));
  EXPECT_EQ(static_cast<COLORREF>(0x00FF6600), Render(b, 47, 23));
  Press(b, 5, 5);
  EXPECT_EQ(BlendColors(RGB(255, 0, 0), 0x00FF6600, 128), Render(b, 5, 5));
  Release(b, 5, 5);
  b->SetDown(true);
  SendMessageW(b->GetHandle(), WM_KEST_MOUSEENTER, 0, 0);
  EXPECT_TRUE(b->IsDown());
  EXPECT_EQ(BlendColors(RGB(255, 0, 0), 0x00FF6600, 64), Render(b, 5, 5));
  SendMessageW(b->GetHandle(), WM_KEST_MOUSELEAVE, 0, 0);
  EXPECT_EQ(CKestSpdBtn::StatePressed, b->GetState());
}

TEST_F(SpeedButtonTest, ToggleFlipsOnReleasesInsideOnly) {
  auto* b = Button(true);
  Press(b, 5, 5);
  Release(b, 5, 5);
  EXPECT_TRUE(b->IsDown());
  EXPECT_EQ(CKestSpdBtn::StatePressed, b->GetState());
  EXPECT_EQ(1, Commands());
  Press(b, 5, 5);
  Release(b, 5, 5);
  EXPECT_FALSE(b->IsDown());
  EXPECT_EQ(CKestSpdBtn::StateHot, b->GetState());
  EXPECT_EQ(2, Commands());
  b->SetDown(true);
  Press(b, 5, 5);
  Release(b, 200, 5);  // outside: keeps the down flag, no command
  EXPECT_TRUE(b->IsDown());
  EXPECT_EQ(CKestSpdBtn::StatePressed, b->GetState());
  EXPECT_EQ(2, Commands());
  b->SetDown(false);
  Press(b, 5, 5);
  Release(b, -3, 5);
  EXPECT_FALSE(b->IsDown());
  EXPECT_EQ(CKestSpdBtn::StateNormal, b->GetState());
  EXPECT_EQ(2, Commands());
}

TEST_F(SpeedButtonTest, PlainButtonReleaseOutsideAndStrayRelease) {
  auto* b = Button(false);
  Press(b, 5, 5);
  EXPECT_EQ(CKestSpdBtn::StatePressed, b->GetState());
  EXPECT_FALSE(b->IsDown());
  Release(b, 5, 50);
  EXPECT_EQ(CKestSpdBtn::StateNormal, b->GetState());
  EXPECT_EQ(0, Commands());
  EXPECT_EQ(1, form->Count(WM_KEST_LBUTTONUP, reinterpret_cast<WPARAM>(b->GetHandle())));

  // A release that ends no press here is ignored entirely.
  Release(b, 5, 5);
  EXPECT_EQ(0, Commands());
  EXPECT_EQ(1, form->Count(WM_KEST_LBUTTONUP, reinterpret_cast<WPARAM>(b->GetHandle())));
  EXPECT_EQ(CKestSpdBtn::StateNormal, b->GetState());

  Press(b, 5, 5);
  Release(b, 5, 5);
  EXPECT_EQ(CKestSpdBtn::StateHot, b->GetState());
  EXPECT_EQ(1, Commands());
}

TEST(SpeedButtonImage, DisabledPaletteMapping) {
  EXPECT_EQ(156, CKestSpdBtn::DisabledComponent(0));
  EXPECT_EQ(219, CKestSpdBtn::DisabledComponent(255));
  EXPECT_EQ(208, CKestSpdBtn::DisabledComponent(207));  // truncates toward zero
  EXPECT_EQ(208, CKestSpdBtn::DisabledComponent(208));
  EXPECT_EQ(181, CKestSpdBtn::DisabledComponent(100));
  EXPECT_EQ(209, CKestSpdBtn::DisabledComponent(212));

  // 4-bit rows of 9 pixels and 1-bit rows of 33 pixels need 8 bytes; the
  // last pixel lies beyond the first 4.
  struct Case {
    int width, bpp;
  } cases[] = {{9, 4}, {33, 1}, {13, 8}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.width << " x " << k.bpp);
    CKestImage image;
    ASSERT_TRUE(image.Create(k.width, 3, k.bpp));
    RGBQUAD table[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};  // black, white
    ASSERT_TRUE(image.SetColorTable(0, 2, table));
    image.SetPixelIndexed(k.width - 1, 2, 1);
    image.SetPixelIndexed(1, 0, 1);
    std::unique_ptr<CKestImage> copy(CKestSpdBtn::MakeDisabledCopy(image));
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(k.bpp, copy->GetBPP());
    EXPECT_EQ(RGB(219, 219, 219), copy->GetPixel(k.width - 1, 2));
    EXPECT_EQ(RGB(219, 219, 219), copy->GetPixel(1, 0));
    EXPECT_EQ(RGB(156, 156, 156), copy->GetPixel(0, 0));
    EXPECT_EQ(RGB(156, 156, 156), copy->GetPixel(k.width - 2, 2));
    EXPECT_EQ(0, copy->GetTransparentColor());  // the entry of pixel (0, 0)
  }
  CKestImage rgb;
  ASSERT_TRUE(rgb.Create(4, 4, 24));
  EXPECT_EQ(nullptr, CKestSpdBtn::MakeDisabledCopy(rgb));
}

TEST_F(SpeedButtonTest, DisabledImagesAreLightenedOrFaded) {
  auto* b = Button(false);
  auto* indexed = new CKestImage();
  ASSERT_TRUE(indexed->Create(16, 16, 8));
  RGBQUAD table[2] = {{255, 0, 255, 0}, {0, 0, 0, 0}};  // magenta (corner), black
  ASSERT_TRUE(indexed->SetColorTable(0, 2, table));
  for (int y = 4; y < 12; ++y) {
    for (int x = 4; x < 12; ++x) indexed->SetPixelIndexed(x, y, 1);
  }
  b->SetImage(indexed);
  EXPECT_EQ(0, indexed->GetTransparentColor());
  // The image stands at (16, 3): its corner shows what lies behind.
  EXPECT_EQ(RGB(0, 0, 0), Render(b, 24, 11));
  EXPECT_EQ(RGB(128, 128, 128), Render(b, 17, 4));
  b->Enable(false);
  EXPECT_EQ(RGB(156, 156, 156), Render(b, 24, 11));
  EXPECT_EQ(RGB(128, 128, 128), Render(b, 17, 4));

  auto* colour = new CKestImage();
  ASSERT_TRUE(colour->Create(16, 16, 24));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) colour->SetPixel(x, y, RGB(255, 0, 0));
  }
  b->SetImage(colour);
  COLORREF faded = Render(b, 24, 11, RGB(0, 0, 0));
  EXPECT_TRUE(Near(RGB(64, 0, 0), faded)) << std::hex << faded;
  b->Enable(true);
  EXPECT_EQ(RGB(255, 0, 0), Render(b, 24, 11, RGB(0, 0, 0)));
}

TEST_F(SpeedButtonTest, CaptionBesideImageAndGreyedWhenDisabled) {
  auto* b = new CKestSpdBtn(form, 58, 0, nullptr, false, 120, 24, L"ЖЖЖЖ", KestPos(0, 0), true);
  b->SetImage(Strip(16, {RGB(255, 0, 0)}));
  b->SetTextColor(RGB(0, 0, 255));
  Canvas canvas(120, 24, RGB(255, 255, 0));
  b->Paint(canvas.dc());
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(8 + 8, 12));  // image at x 8, centred
  int blue = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (canvas.At(x, y) == RGB(0, 0, 255)) {
        ++blue;
        EXPECT_GE(x, 16 + 16);  // caption at frame width + 16
      }
    }
  }
  EXPECT_GT(blue, 0);
  b->Enable(false);
  Canvas grey(120, 24, RGB(255, 255, 0));
  b->Paint(grey.dc());
  COLORREF disabledText = BlendColors(KEST_TRANSPARENT, RGB(0, 0, 0), 64);
  int greyed = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 40; x < 120; ++x) greyed += grey.At(x, y) == disabledText;
  }
  EXPECT_GT(greyed, 0);
}
