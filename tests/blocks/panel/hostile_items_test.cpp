// Panel item records with extreme values (any 32-bit size or place, a font
// of 20,000 points, a slider default of 1e20): the stored values are kept
// as they are, and drawing is bounded by what the canvas shows, so that
// every such panel saves (painting its preview), reads back and paints.
// (bench/panel_records_bench times the same shapes.)
#include <climits>
#include <cmath>
#include <memory>
#include <vector>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/items/item_font.h"
#include "blocks/panel/items/velk_ui_button.h"
#include "blocks/panel/items/velk_ui_line.h"
#include "blocks/panel/items/velk_ui_text.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "kestui/graphics/kest_draw.h"
#include "support/memory_canvas.h"
#include "ui_block_fixture.h"

using namespace uitest;

namespace {

enum { kTextRow = 0, kLineRow = 1, kPictureRow = 2 };

class HostileItemTest : public UiBlockTest {
protected:
  void SetUp() override {
    UiBlockTest::SetUp();
    uiBlock = AddUIBlock(&scheme);
    panel = uiBlock->panel;
  }
  template <class T>
  T* Add(int row) {
    return static_cast<T*>(CreatePanelItem(panel, row));
  }
  // Saves the panel (with its preview), reads it into a second panel of a
  // second scheme and answers the item read back.
  CVelkUIControl* RoundTrip() {
    CMemoryStream stream;
    panel->Save(&stream);
    stream.Seek(0, 0);
    back.reset();
    backScheme.DeleteBlocks(true);
    backScheme.Init(&ui.catalogue);
    back.reset(new UiPanel(&backScheme));
    EXPECT_TRUE(back->Load(&stream));
    EXPECT_EQ(stream.size, stream.GetPosition());
    return back->items;
  }
  void TearDown() override {
    back.reset();
    backScheme.DeleteBlocks(true);
    UiBlockTest::TearDown();
  }
  CBEUI* uiBlock = nullptr;
  UiPanel* panel = nullptr;
  BeScheme backScheme;
  std::unique_ptr<UiPanel> back;
};

// The shade of face row i of a button of height h: weight (h - 4 - i) x 204
// / (h - 4), in 64 bits.
COLORREF FaceRow(COLORREF face, long long height, long long i) {
  long long shades = height - 4;
  return BlendColors(face, 0xFFFFFFFF, static_cast<int>((shades - i) * 204 / shades));
}

TEST_F(HostileItemTest, AButtonMillionsOfPixelsHighPaintsTheRowsThatShow) {
  velktest::MemoryCanvas canvas(300, 200, GRAY_BRUSH);
  auto* button = Add<CVelkUIButton>(kButtonRow);
  ReplaceString(&button->text, nullptr);
  for (int height : {100000000, 20000000, INT_MAX}) {
    button->x = 10;
    button->y = 10;
    button->width = 200;
    button->height = height;
    button->DrawBackground(canvas.dc());
    // The top rows of the face (below the two bevel lines): near white,
    // shaded by the 64-bit weight (a 32-bit product overflows above about
    // 10.5 million rows).
    EXPECT_EQ(FaceRow(0xAAAAAA, height, 4), canvas.At(100, 16)) << height;
    EXPECT_EQ(FaceRow(0xAAAAAA, height, 150), canvas.At(100, 162)) << height;
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(11, 100)) << height;  // the left outline
    EXPECT_EQ(BlendColors(0xAAAAAA, 0xFFFFFFFF, 153), canvas.At(12, 100)) << height;  // the light bevel
    button->pressed = 1;
    button->DrawFace(canvas.dc());
    EXPECT_EQ(BlendColors(FaceRow(0xAAAAAA, height, 150), 0xFF6633, 128), canvas.At(100, 162)) << height;
    button->pressed = 0;
  }
  canvas.Save(L"hostile_tall_button.bmp");
  // Stored as it was.
  auto* read = static_cast<CVelkUIButton*>(RoundTrip());
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(INT_MAX, read->height);
  EXPECT_EQ(200, read->width);
}

TEST_F(HostileItemTest, AButtonWhollyOutsideTheCanvasLeavesItAsItWas) {
  velktest::MemoryCanvas canvas(100, 100, GRAY_BRUSH);
  auto* button = Add<CVelkUIButton>(kButtonRow);
  const struct {
    int x, y, width, height;
  } places[] = {{INT_MIN, INT_MIN, INT_MAX, 100}, {5000, 0, INT_MAX, INT_MAX}, {0, 5000, 100, 100},
                {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {-300, -300, 200, 200}};
  for (const auto& p : places) {
    button->x = p.x;
    button->y = p.y;
    button->width = p.width;
    button->height = p.height;
    button->pressed = 1;
    button->DrawBackground(canvas.dc());
    button->DrawFace(canvas.dc());
  }
  EXPECT_EQ(100 * 100, canvas.Count(0, 0, 99, 99, RGB(128, 128, 128)));
}

// A line whose ends lie millions of pixels away draws the part that shows,
// where the whole line would lie: the canvas's diagonal of a line through
// (-1e8, -1e8) and (1e8, 1e8); one wholly beside the canvas draws nothing.
TEST_F(HostileItemTest, ALineReachingFarOutsideDrawsThePartThatShows) {
  velktest::MemoryCanvas canvas(100, 100, GRAY_BRUSH);
  auto* line = Add<CVelkUILine>(kLineRow);
  line->color = RGB(0, 0, 255);
  line->thickness = 1;
  line->x1 = -100000000;
  line->y1 = -100000000;
  line->x2 = 100000000;
  line->y2 = 100000000;
  line->DrawBackground(canvas.dc());
  for (int i : {0, 1, 50, 98, 99}) EXPECT_EQ(RGB(0, 0, 255), canvas.At(i, i)) << i;
  EXPECT_EQ(100, canvas.Count(0, 0, 99, 99, RGB(0, 0, 255)));
  canvas.Save(L"hostile_far_line.bmp");
  velktest::MemoryCanvas beside(100, 100, GRAY_BRUSH);
  line->thickness = 255;
  line->x1 = -100000000;
  line->y1 = 400;
  line->x2 = 100000000;
  line->y2 = 400;
  line->DrawBackground(beside.dc());
  EXPECT_EQ(100 * 100, beside.Count(0, 0, 99, 99, RGB(128, 128, 128)));
}

// A slider whose default lies far outside its range: the walk from the
// default starts at the range, so the ticks come at once, one per step.
TEST_F(HostileItemTest, ASliderDefaultFarOutsideItsRangeStillGetsItsTicks) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);  // vertical, 30 x 104 at (0, 0)
  slider->topValue = 0;
  slider->bottomValue = 100;
  slider->tickStep = 25;
  const float defaults[] = {1e20f, -1e20f, 1e38f, INFINITY, -INFINITY, NAN};
  for (float d : defaults) {
    slider->defaultValue = d;
    int ticks[256];
    int count = slider->TickPixels(ticks, 256);
    // The default's own tick (at the range's edge or nowhere), then at most
    // one tick per 25 of the range: 0, 25, 50, 75, 100.
    EXPECT_GE(count, 1) << d;
    EXPECT_LE(count, 6) << d;
  }
  slider->defaultValue = 1e20f;
  velktest::MemoryCanvas canvas(100, 150, GRAY_BRUSH);
  slider->tickStep = 25;
  slider->DrawBackground(canvas.dc());
  slider->DrawFace(canvas.dc());
  canvas.Save(L"hostile_slider_default.bmp");
  // Stored as it was.
  auto* read = static_cast<CVelkUITrackBar*>(RoundTrip());
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(1e20f, read->defaultValue);
}

// A track far longer than the canvas: only the ticks of the pixels shown
// are drawn, one per step where the steps are whole pixels apart.
TEST_F(HostileItemTest, ASliderTrackMillionsOfPixelsLongDrawsTheTicksThatShow) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->x = 10;
  slider->y = 0;
  slider->width = 30;
  slider->height = 100000000;  // vertical
  slider->topValue = 0;
  slider->bottomValue = 1e8f;
  slider->tickStep = 10;  // a tick every 10 pixels
  slider->defaultValue = 5e7f;
  // The ticks of pixels 0 to 199: those of the values 0, 10, ... in the
  // track (the margin puts the value 0 at pixel kUiTrackMargin).
  int ticks[256];
  int count = slider->TickPixels(ticks, 256, 0, 199);
  ASSERT_GE(count, 2);
  std::vector<int> shown(ticks + 1, ticks + count);
  for (int t : shown) {
    EXPECT_GE(t, 0);
    EXPECT_LE(t, 199);
  }
  EXPECT_GE(shown.size(), 18u);
  EXPECT_LE(shown.size(), 21u);
  velktest::MemoryCanvas canvas(100, 200, WHITE_BRUSH);
  slider->DrawBackground(canvas.dc());
  // The ticks left of the groove (centre 25, groove from 23, 4 px apart,
  // 4 px long): the column x = 17 crosses each once.
  int drawn = canvas.Count(17, 0, 17, 199, RGB(0, 0, 0));
  EXPECT_GE(drawn, 18);
  EXPECT_LE(drawn, 21);
  canvas.Save(L"hostile_long_slider.bmp");
}

// A text of 20,000 points draws with the largest font the items use; its
// record keeps the size.
TEST_F(HostileItemTest, AHugeFontSizeDrawsAtTheLimitAndIsKept) {
  EXPECT_EQ(400, ItemFontDrawnSize(20000));
  EXPECT_EQ(-400, ItemFontDrawnSize(-32768));
  EXPECT_EQ(16, ItemFontDrawnSize(16));
  EXPECT_EQ(-5, ItemFontDrawnSize(-5));
  auto* text = Add<CVelkUIText>(kTextRow);
  text->fontSize = 20000;
  text->x = 0;
  text->y = 0;
  velktest::MemoryCanvas canvas(kPanelCanvasWidth, kPanelCanvasHeight);
  text->DrawBackground(canvas.dc());
  // The measured height is that of a 400-point font: -(400 x 96) / 72 =
  // -533 px of character height, so the cell is a little taller.
  EXPECT_GE(text->height, 533);
  EXPECT_LT(text->height, 800);
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->fontSize = 30000;
  button->DrawBackground(canvas.dc());
  auto* read = static_cast<CVelkUIText*>(RoundTrip());
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(20000, read->fontSize);
  ASSERT_NE(nullptr, read->next);
  EXPECT_EQ(30000, static_cast<CVelkUIButton*>(read->next)->fontSize);
}

// Every kind at every extreme place and size saves, reads back with the
// same values and paints.
TEST_F(HostileItemTest, EveryKindAtExtremePlacesSavesReadsAndPaints) {
  const struct {
    int x, y, width, height;
  } places[] = {{0, 0, 100000000, 100000000},
                {10, 10, INT_MAX, INT_MAX},
                {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                {300, 200, -100000000, -100000000},
                {INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
  velktest::MemoryCanvas canvas(kPanelCanvasWidth, kPanelCanvasHeight, GRAY_BRUSH);
  for (int row = 0; row < PanelItemKindCount(); ++row) {
    for (const auto& p : places) {
      panel->DeleteAll();
      CVelkUIControl* item = CreatePanelItem(panel, row);
      ASSERT_NE(nullptr, item) << row;
      if (row == kLineRow) {
        auto* line = static_cast<CVelkUILine*>(item);
        line->x1 = p.x;
        line->y1 = p.y;
        line->x2 = p.width;
        line->y2 = p.height;
        line->thickness = 255;
      } else {
        item->x = p.x;
        item->y = p.y;
        item->width = p.width;
        item->height = p.height;
      }
      panel->PaintItems(canvas.dc());
      CVelkUIControl* read = RoundTrip();
      ASSERT_NE(nullptr, read) << row;
      if (row == kLineRow) {
        auto* line = static_cast<CVelkUILine*>(read);
        EXPECT_EQ(p.x, line->x1) << row;
        EXPECT_EQ(p.height, line->y2) << row;
        EXPECT_EQ(255, line->thickness) << row;
      } else if (row != kTextRow) {  // a text measures its size when drawn
        EXPECT_EQ(p.x, read->x) << row;
        EXPECT_EQ(p.y, read->y) << row;
        EXPECT_EQ(p.width, read->width) << row;
        EXPECT_EQ(p.height, read->height) << row;
      }
      back->PaintItems(canvas.dc());
    }
  }
}

}  // namespace
