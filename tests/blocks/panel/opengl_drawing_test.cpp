// The control items' OpenGL drawing (DrawGL) and the frame helper
// (DrawGLFrame), run in a real rendering context and probed pixel by pixel.
// The projection puts integer canvas coordinates on pixel centres, as a host
// showing the panel at run time would.
#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/items/velk_ui_button.h"
#include "blocks/panel/items/velk_ui_joystick.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "gl_target.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_canvas.h"
#include "kestui/graphics/kest_paintbox.h"
#include "support/test_support.h"
#include "ui_block_fixture.h"

using namespace uitest;

namespace {

const GLenum kReadBgra = 0x80E1;  // GL_BGRA

// The colour of the canvas pixel (x, y), y downward.
COLORREF PixelAt(int x, int y) {
  unsigned char p[4] = {};
  glReadPixels(x, kPanelCanvasHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return RGB(p[0], p[1], p[2]);
}

// How many pixels of the rows top to bottom (y downward) are not black.
int LitPixels(int top, int bottom) {
  const int w = kPanelCanvasWidth, rows = bottom - top + 1;
  std::vector<unsigned char> pixels(static_cast<size_t>(4 * w * rows));
  glReadPixels(0, kPanelCanvasHeight - 1 - bottom, w, rows, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int lit = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) lit += (pixels[i] | pixels[i + 1] | pixels[i + 2]) != 0;
  return lit;
}

// Writes the frame buffer as a 32-bit BMP into the screenshots folder.
void SaveFrame(const wchar_t* name) {
  const int w = kPanelCanvasWidth, h = kPanelCanvasHeight;
  std::vector<unsigned char> pixels(static_cast<size_t>(4 * w * h));
  glReadPixels(0, 0, w, h, kReadBgra, GL_UNSIGNED_BYTE, pixels.data());  // bottom row first, as in a BMP
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 32;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* f = _wfopen((velktest::ScreenshotFolder() + name).c_str(), L"wb");
  if (!f) return;
  fwrite(&file, sizeof file, 1, f);
  fwrite(&info, sizeof info, 1, f);
  fwrite(pixels.data(), pixels.size(), 1, f);
  fclose(f);
}

class OpenGLDrawingTest : public UiBlockTest {
protected:
  void SetUp() override {
    UiBlockTest::SetUp();
    uiBlock = AddUIBlock(&scheme);
    panel = uiBlock->panel;
    canvas.reset(new paneltest::CanvasHost);
    target.reset(new paneltest::GlTarget(canvas->box->GetHandle()));
    ASSERT_TRUE(target->Ready()) << "no OpenGL rendering context: Mesa's software renderer is missing";
    glViewport(0, 0, kPanelCanvasWidth, kPanelCanvasHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, kPanelCanvasWidth - 0.5, kPanelCanvasHeight - 0.5, -0.5, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override {
    target.reset();
    canvas.reset();
    UiBlockTest::TearDown();
  }
  template <class T>
  T* Add(int row) {
    return static_cast<T*>(CreatePanelItem(panel, row));
  }
  CBEUI* uiBlock = nullptr;
  UiPanel* panel = nullptr;
  std::unique_ptr<paneltest::CanvasHost> canvas;
  std::unique_ptr<paneltest::GlTarget> target;
};

TEST_F(OpenGLDrawingTest, TheFrameIsAFilledQuadWithLightAndDarkEdges) {
  DrawGLFrame(100, 100, 160, 140, RGB(0, 0, 255), RGB(255, 255, 255), RGB(255, 0, 0));
  // Without a fill only the edges.
  DrawGLFrame(200, 100, 260, 140, 0xFFFFFFFF, RGB(0, 255, 0), RGB(255, 255, 0));
  glFinish();
  EXPECT_EQ(RGB(0, 0, 255), PixelAt(130, 120));    // the fill
  EXPECT_EQ(RGB(255, 255, 255), PixelAt(100, 120));  // light: left edge
  EXPECT_EQ(RGB(255, 255, 255), PixelAt(130, 100));  // light: top edge
  EXPECT_EQ(RGB(255, 0, 0), PixelAt(160, 120));      // dark: right edge
  EXPECT_EQ(RGB(255, 0, 0), PixelAt(130, 140));      // dark: bottom edge
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(130, 150));        // nothing below
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(230, 120));        // no fill
  EXPECT_EQ(RGB(0, 255, 0), PixelAt(200, 120));
  EXPECT_EQ(RGB(255, 255, 0), PixelAt(260, 120));
  EXPECT_EQ(GL_NO_ERROR, static_cast<int>(glGetError()));
}

TEST_F(OpenGLDrawingTest, APressedButtonIsAHalfTransparentQuadInAnOutline) {
  auto* button = Add<CVelkUIButton>(kButtonRow);  // 104 x 32
  button->SetPosition(10, 10);
  button->pressedColor = RGB(255, 0, 0);
  button->DrawGL();  // not pressed: nothing
  glFinish();
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(60, 25));
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(10, 25));
  // The host blends: the quad's alpha of 0.5 over the black canvas.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  button->pressed = 1;
  button->DrawGL();
  glFinish();
  COLORREF inside = PixelAt(60, 25);
  EXPECT_NEAR(128, GetRValue(inside), 1);
  EXPECT_EQ(0, GetGValue(inside));
  EXPECT_EQ(0, GetBValue(inside));
  // The outline, opaque: BlendColors(red, black, 128).
  COLORREF outline = BlendColors(RGB(255, 0, 0), RGB(0, 0, 0), 128);
  EXPECT_EQ(outline, PixelAt(10, 25));        // left
  EXPECT_EQ(outline, PixelAt(60, 10));        // top
  EXPECT_EQ(outline, PixelAt(10 + 104, 25));  // right
  EXPECT_EQ(outline, PixelAt(60, 10 + 32));   // bottom
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(60, 50));   // nothing outside
  EXPECT_EQ(GL_NO_ERROR, static_cast<int>(glGetError()));
}

TEST_F(OpenGLDrawingTest, TheSliderDrawsItsThumbAtItsValue) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);  // vertical, 40 x 104, range -1 to 1
  slider->SetPosition(200, 10);
  // The value 0 lies at 10 + 8 + (0 + 1) x 88 / 2 = 62; the thumb is 20
  // across the centre 220 and 12 along.
  slider->DrawGL();
  slider->value = 1.0f;  // the bottom end: 10 + 8 + 88 = 106
  slider->SetPosition(300, 10);
  slider->DrawGL();
  glFinish();
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), PixelAt(220, 62));
  EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), PixelAt(210, 62));  // light left edge
  EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), PixelAt(220, 56));  // light top edge
  EXPECT_EQ(RGB(0x33, 0x33, 0x33), PixelAt(230, 62));  // dark right edge
  EXPECT_EQ(RGB(0x33, 0x33, 0x33), PixelAt(220, 68));  // dark bottom edge
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(220, 80));           // the groove is not drawn
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), PixelAt(320, 106));
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(320, 62));
  EXPECT_EQ(GL_NO_ERROR, static_cast<int>(glGetError()));
}

TEST_F(OpenGLDrawingTest, TheJoystickDrawsItsStickAndKnobAtTheDeflection) {
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);  // 100 x 100
  joystick->SetPosition(300, 10);                       // centre (350, 60)
  joystick->xValue = 1.0f;                              // full deflection: 40 px right
  joystick->DrawGL();
  glFinish();
  // The knob at (390, 60): the cap of grey 0.6, the disc of grey 0.4
  // around it, the black upper and white lower rim.
  EXPECT_NEAR(153, GetRValue(PixelAt(390, 60)), 1);
  EXPECT_NEAR(102, GetRValue(PixelAt(403, 60)), 1);
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(390, 44));
  EXPECT_EQ(RGB(255, 255, 255), PixelAt(390, 76));
  // The stick's first disc (grey 0.25, radius 10) at the centre.
  EXPECT_NEAR(64, GetRValue(PixelAt(342, 60)), 1);
  // Nothing beyond the knob.
  EXPECT_EQ(RGB(0, 0, 0), PixelAt(420, 60));
  EXPECT_EQ(GL_NO_ERROR, static_cast<int>(glGetError()));
}

TEST_F(OpenGLDrawingTest, ThePanelDrawsItsControlsAndNothingElse) {
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->SetPosition(10, 10);
  button->pressed = 1;
  button->pressedColor = RGB(0, 160, 0);
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->SetPosition(200, 10);
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);
  joystick->SetPosition(300, 10);
  joystick->yValue = 0.5f;
  // The kinds without OpenGL drawing: text, line, picture, video,
  // indicator, each somewhere below.
  const int others[] = {0, 1, 2, kVideoRow, kIndicatorRow};
  int y = 200;
  for (int row : others) {
    CVelkUIControl* item = CreatePanelItem(panel, row);
    ASSERT_NE(nullptr, item) << row;
    item->SetPosition(20 + 140 * (row % 5), y);
  }
  for (CVelkUIControl* item = panel->items; item; item = item->next) item->DrawGL();
  glFinish();
  SaveFrame(L"panel_opengl.bmp");
  EXPECT_EQ(RGB(0, 160, 0), PixelAt(60, 25));             // the button, opaque without blending
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), PixelAt(220, 62));     // the slider's thumb
  EXPECT_NEAR(153, GetRValue(PixelAt(350, 40)), 1);       // the knob's cap, 20 px up
  EXPECT_EQ(0, LitPixels(190, kPanelCanvasHeight - 1));
  EXPECT_EQ(GL_NO_ERROR, static_cast<int>(glGetError()));
}

}  // namespace
