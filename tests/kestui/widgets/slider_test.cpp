// The slider (keys, dragging, clamping, the command it posts, its selection
// and drawing) and the percentage bar (its figure and drawing).
#include <windows.h>

#include <climits>

#include "kestui/graphics/kest_draw.h"
#include "kestui/widgets/kest_percent_bar.h"
#include "kestui/widgets/kest_slider.h"
#include "kestui/panels_fixture.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

using SliderTest = WidgetFormTest<400, 300>;

int Commands(WidgetForm* form, CKestControl* widget) {
  velktest::FlushEvents();
  int n = 0;
  for (const auto& s : form->seen) {
    n += s.message == WM_COMMAND && s.wParam == 12 &&
         s.lParam == reinterpret_cast<LPARAM>(widget->GetHandle());
  }
  form->seen.clear();
  return n;
}

// 109 pixels wide: the track runs from 4 to 104, 10 pixels per unit of 0..10.
CKestSlider* MakeSlider(WidgetForm* form, bool integer = false, double step = 1) {
  return new CKestSlider(form, 12, KestPos(10, 10), 109, 30, false, integer, 0, 10, step);
}

TEST_F(SliderTest, TrackPixelsConvertLinearlyBetweenItsEnds) {
  CKestSlider* slider = MakeSlider(form);
  EXPECT_EQ(4, slider->GetTrackStart());
  EXPECT_EQ(104, slider->GetTrackEnd());
  EXPECT_DOUBLE_EQ(5, slider->ValueAt(54));
  EXPECT_DOUBLE_EQ(0.3, slider->ValueAt(7));
  EXPECT_DOUBLE_EQ(0, slider->ValueAt(-50));
  EXPECT_DOUBLE_EQ(10, slider->ValueAt(400));
  EXPECT_EQ(79, slider->PixelOf(7.5));
  EXPECT_EQ(4, slider->PixelOf(-3));
  auto* vertical = new CKestSlider(form, 13, KestPos(200, 10), 30, 59, true, true, -20, 20, 5);
  EXPECT_EQ(54, vertical->GetTrackEnd());
  EXPECT_DOUBLE_EQ(0, vertical->ValueAt(29));
  EXPECT_DOUBLE_EQ(-10, vertical->ValueAt(16));  // -20 + 12 / 50 * 40 = -10.4, rounded
  // An empty range or a window too small: everything is the minimum.
  auto* flat = new CKestSlider(form, 14, KestPos(10, 100), 109, 30, false, false, 3, 3, 1);
  EXPECT_DOUBLE_EQ(3, flat->ValueAt(60));
  EXPECT_EQ(4, flat->PixelOf(3));
  auto* tiny = new CKestSlider(form, 15, KestPos(10, 150), 6, 30, false, false, 0, 1, 0.1);
  EXPECT_DOUBLE_EQ(0, tiny->ValueAt(5));
}

TEST_F(SliderTest, KeysMoveByStepsAndPagesWithinTheRange) {
  CKestSlider* slider = MakeSlider(form);
  HWND w = slider->GetHandle();
  struct Step {
    UINT key;
    double value;
    int commands;
  };
  const Step steps[] = {
      {VK_RIGHT, 1, 1}, {VK_DOWN, 2, 1}, {VK_NEXT, 7, 1}, {VK_NEXT, 10, 1}, {VK_RIGHT, 10, 0},
      {VK_END, 10, 0},  {VK_LEFT, 9, 1}, {VK_PRIOR, 4, 1}, {VK_UP, 3, 1},    {VK_HOME, 0, 1},
      {VK_PRIOR, 0, 0},
  };
  for (const Step& s : steps) {
    SendMessageW(w, WM_KEYDOWN, s.key, 0);
    EXPECT_DOUBLE_EQ(s.value, slider->GetValue()) << s.key;
    EXPECT_EQ(s.commands, Commands(form, slider)) << s.key;
  }
  EXPECT_EQ(DLGC_WANTARROWS, SendMessageW(w, WM_GETDLGCODE, 0, 0));
  // Setting the value clamps it too, and tells the form of a change.
  slider->SetValue(42);
  EXPECT_DOUBLE_EQ(10, slider->GetValue());
  EXPECT_EQ(1, Commands(form, slider));
  slider->SetValue(10);
  EXPECT_EQ(0, Commands(form, slider));
  slider->SetValue(-1);
  EXPECT_DOUBLE_EQ(0, slider->GetValue());
  EXPECT_EQ(1, Commands(form, slider));
}

TEST_F(SliderTest, DraggingTheThumbIsClampedAndPostsEachChange) {
  CKestSlider* slider = MakeSlider(form);
  HWND w = slider->GetHandle();
  slider->SetValue(2);
  EXPECT_EQ(1, Commands(form, slider));
  // Pressed 2 pixels right of the thumb's centre: the thumb keeps that grip.
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Point(26, 8));
  EXPECT_DOUBLE_EQ(2, slider->GetValue());
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(56, 8));
  EXPECT_DOUBLE_EQ(5, slider->GetValue());
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(900, 8));
  EXPECT_DOUBLE_EQ(10, slider->GetValue());
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(950, 8));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, Point(-300, 8));
  EXPECT_DOUBLE_EQ(0, slider->GetValue());
  SendMessageW(w, WM_LBUTTONUP, 0, Point(-300, 8));
  EXPECT_EQ(3, Commands(form, slider));  // 5, 10, 0; the release adds none
  SendMessageW(w, WM_MOUSEMOVE, 0, Point(60, 8));
  EXPECT_DOUBLE_EQ(0, slider->GetValue());

  // A press beside the thumb moves it there; an integer slider rounds.
  CKestSlider* whole = new CKestSlider(form, 12, KestPos(10, 60), 109, 30, false, true, 0, 10, 1);
  SendMessageW(whole->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(71, 8));
  SendMessageW(whole->GetHandle(), WM_LBUTTONUP, 0, Point(71, 8));
  EXPECT_DOUBLE_EQ(7, whole->GetValue());
  EXPECT_EQ(1, Commands(form, whole));
}

TEST_F(SliderTest, ShiftExtendsTheSelectionAndItIsPaintedWhite) {
  CKestSlider* slider = MakeSlider(form);
  HWND w = slider->GetHandle();
  slider->SetValue(5);
  EXPECT_FALSE(slider->HasSelection());
  kesttest::SetModifierKeys(true, false, false);
  SendMessageW(w, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(w, WM_KEYDOWN, VK_RIGHT, 0);
  kesttest::SetModifierKeys(false, false, false);
  ASSERT_TRUE(slider->HasSelection());
  EXPECT_DOUBLE_EQ(5, slider->GetSelectionStart());
  EXPECT_DOUBLE_EQ(7, slider->GetSelectionEnd());
  SendMessageW(w, WM_KEYDOWN, VK_END, 0);  // without Shift it stays
  EXPECT_DOUBLE_EQ(7, slider->GetSelectionEnd());
  kesttest::SetModifierKeys(true, false, false);
  SendMessageW(w, WM_KEYDOWN, VK_HOME, 0);
  kesttest::SetModifierKeys(false, false, false);
  EXPECT_DOUBLE_EQ(0, slider->GetSelectionStart());
  EXPECT_DOUBLE_EQ(10, slider->GetSelectionEnd());

  slider->SetSelection(7, 5);
  slider->SetValue(10);
  const COLORREF back = RGB(180, 190, 200);
  slider->SetBackColor(back);
  slider->SetTextColor(RGB(0, 0, 0));
  kesttest::Canvas canvas(109, 30, back);
  slider->Paint(canvas.dc());
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(60, 9));  // 5.6 lies in the selection
  EXPECT_EQ(back, canvas.At(30, 9));               // 2.6 does not
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.At(30, 6));  // the sunken track's top
  // Ticks every step: the reference tick (0, at pixel 4) is the longer one.
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(4, 25));
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(14, 22));
  EXPECT_EQ(back, canvas.At(14, 25));
  EXPECT_EQ(back, canvas.At(9, 22));
  // The thumb at 10 (pixel 104): its face, its point below the body.
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.At(104, 8));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), canvas.At(104, 18));
  EXPECT_EQ(back, canvas.At(100, 18));
}

TEST_F(SliderTest, PercentageBarFigures) {
  auto* bar = new CKestPercentBar(form, 20, KestPos(10, 10), 102, 20, 0, 200);
  struct Case {
    int minimum, maximum, position, percent;
  };
  const Case cases[] = {
      {0, 200, 50, 25},  {0, 3, 1, 33},     {10, 20, 25, 100},         {10, 20, 5, 0},
      {5, 5, 5, 0},      {-100, 100, 0, 50}, {INT_MIN, INT_MAX, 0, 50}, {20, 10, 15, 50},
  };
  for (const Case& c : cases) {
    bar->SetRange(c.minimum, c.maximum);
    bar->SetPosition(c.position);
    EXPECT_EQ(c.percent, bar->GetPercent()) << c.minimum << ".." << c.maximum << " " << c.position;
  }
  bar->SetRange(0, 200);
  bar->SetPosition(50);
  EXPECT_EQ(25, bar->FilledWidth(100));
  bar->SetPosition(500);
  EXPECT_EQ(100, bar->FilledWidth(100));
  bar->SetRange(3, 3);
  EXPECT_EQ(0, bar->FilledWidth(100));
}

TEST_F(SliderTest, PercentageBarDrawsFrameTextAndInvertedPart) {
  const COLORREF parent = RGB(160, 180, 200);
  form->SetBackColor(parent);
  auto* bar = new CKestPercentBar(form, 20, KestPos(10, 10), 102, 20, 0, 200);
  bar->SetTextColor(RGB(0, 0, 0));
  bar->SetPosition(50);
  kesttest::Canvas canvas(102, 20, RGB(1, 2, 3));
  bar->Paint(canvas.dc());
  const COLORREF inverted = RGB(255 - 160, 255 - 180, 255 - 200);
  EXPECT_EQ(BlendColors(parent, RGB(0, 0, 0), 96), canvas.At(0, 10));       // dark left
  EXPECT_EQ(BlendColors(parent, RGB(255, 255, 255), 128), canvas.At(101, 10));  // light right
  EXPECT_EQ(inverted, canvas.At(3, 3));
  EXPECT_EQ(inverted, canvas.At(25, 16));
  EXPECT_EQ(parent, canvas.At(26, 16));
  EXPECT_EQ(parent, canvas.At(95, 3));
  // "25%" in the middle: dark text pixels around the centre only.
  int text = 0;
  for (int y = 1; y < 19; ++y) {
    for (int x = 30; x < 72; ++x) text += canvas.At(x, y) == RGB(0, 0, 0);
  }
  EXPECT_GT(text, 15);
}

TEST_F(SliderTest, PercentageBarTextIsThePercentCentred) {
  const COLORREF parent = RGB(160, 180, 200);
  form->SetBackColor(parent);
  auto* bar = new CKestPercentBar(form, 20, KestPos(10, 10), 102, 20, 0, 400);
  bar->SetTextColor(RGB(0, 0, 0));
  struct Case {
    int position;
    const wchar_t* text;
  };
  // 7% fills 7 pixels, 19% 19 and 0% none; the text lies right of them.
  for (Case c : {Case{28, L"7%"}, Case{0, L"0%"}, Case{76, L"19%"}}) {
    bar->SetPosition(c.position);
    kesttest::Canvas drawn(102, 20, RGB(1, 2, 3));
    bar->Paint(drawn.dc());
    kesttest::Canvas expected(102, 20, parent);
    HGDIOBJ old = SelectObject(expected.dc(), bar->GetFont()->GetHandle());
    SetBkMode(expected.dc(), TRANSPARENT);
    ::SetTextColor(expected.dc(), RGB(0, 0, 0));
    RECT inside = {1, 1, 101, 19};
    DrawTextW(expected.dc(), c.text, -1, &inside, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(expected.dc(), old);
    int differences = 0;
    for (int y = 1; y < 19; ++y) {
      for (int x = 20; x < 82; ++x) differences += drawn.At(x, y) != expected.At(x, y);
    }
    EXPECT_EQ(0, differences) << c.position;
  }
}

}  // namespace
