// The text, line and picture items: their records (golden bytes, short and
// damaged records), text sizing, line geometry and hit tests, the picture
// item's crossed box and picture, and their registry rows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "blocks/panel/items/item_font.h"
#include "blocks/panel/items/velk_ui_image.h"
#include "blocks/panel/items/velk_ui_line.h"
#include "blocks/panel/items/velk_ui_text.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "panel_fixture.h"
#include "support/test_support.h"

using namespace paneltest;

namespace {

std::vector<uint8_t> Bytes(const CMemoryStream& s) { return std::vector<uint8_t>(s.data, s.data + s.size); }

// A stream holding these bytes, read from the start.
void Fill(CMemoryStream* s, const std::vector<uint8_t>& bytes) {
  s->Write(bytes.data(), static_cast<int>(bytes.size()));
  s->Seek(0, 0);
}

// The base record of an unnamed item without hint at (x, y) of w x h.
std::string BaseHex(const char* rect) { return std::string("00 00  00 00  ") + rect; }

// A line's two ends, and the rectangle of an item, checked together.
void ExpectLineEnds(const CVelkUILine& line, int x1, int y1, int x2, int y2) {
  EXPECT_EQ(x1, line.x1);
  EXPECT_EQ(y1, line.y1);
  EXPECT_EQ(x2, line.x2);
  EXPECT_EQ(y2, line.y2);
}

void ExpectItemRect(const CVelkUIControl& item, int x, int y, int width, int height) {
  EXPECT_EQ(x, item.x);
  EXPECT_EQ(y, item.y);
  EXPECT_EQ(width, item.width);
  EXPECT_EQ(height, item.height);
}

class ItemsTest : public PanelTest {
protected:
  UiPanel panel{&probe.scheme};
};

}  // namespace

TEST_F(ItemsTest, RegistryRowsMakeTheThreeKindsWithTheirDefaults) {
  auto* text = dynamic_cast<CVelkUIText*>(CreatePanelItemByKind(&panel, L"Текст"));
  auto* line = dynamic_cast<CVelkUILine*>(CreatePanelItemByKind(&panel, L"Линия"));
  auto* image = dynamic_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
  ASSERT_NE(nullptr, text);
  ASSERT_NE(nullptr, line);
  ASSERT_NE(nullptr, image);
  EXPECT_STREQ(L"Текст", text->kindName);
  EXPECT_STREQ(L"Текст", text->text);
  EXPECT_STREQ(L"Arial", text->fontName);
  EXPECT_EQ(0, text->fontStyle);
  EXPECT_EQ(16, text->fontSize);
  EXPECT_EQ(0u, text->textColor);
  EXPECT_EQ(0, line->x1);
  EXPECT_EQ(0, line->y1);
  EXPECT_EQ(104, line->x2);
  EXPECT_EQ(28, line->y2);
  EXPECT_EQ(0x666666u, line->color);
  EXPECT_EQ(3, line->thickness);
  EXPECT_EQ(104, image->width);
  EXPECT_EQ(104, image->height);
  EXPECT_TRUE(image->picture.IsNull());
  EXPECT_EQ(nullptr, text->block);
  EXPECT_EQ(3, panel.ItemCount());
}

TEST_F(ItemsTest, ItemFontsFollowSizeAndStyle) {
  EXPECT_EQ(-21, ItemFontHeight(16));  // -(16 x 96) / 72 = -21.33
  EXPECT_EQ(-13, ItemFontHeight(10));
  EXPECT_EQ(-6, ItemFontHeight(5));
  HFONT font = CreateItemFont(L"Arial", kUiFontStyleBold | kUiFontStyleUnderline, 16);
  ASSERT_NE(nullptr, font);
  LOGFONTW lf = {};
  GetObjectW(font, sizeof(lf), &lf);
  EXPECT_EQ(-21, lf.lfHeight);
  EXPECT_EQ(FW_BOLD, lf.lfWeight);
  EXPECT_FALSE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfStrikeOut);
  EXPECT_STREQ(L"Arial", lf.lfFaceName);
  DeleteObject(font);
}

TEST_F(ItemsTest, TextRecordMatchesItsLayoutAndReadsBack) {
  CVelkUIText text(&panel);
  text.SetName(L"T");
  text.x = 1;
  text.y = 2;
  text.width = 3;
  text.height = 4;
  text.SetTextCopy(L"Hi");
  FreeBuffer(text.fontName);
  text.fontName = nullptr;
  text.fontStyle = 5;
  text.fontSize = 300;
  text.textColor = 0x00123456;
  CMemoryStream s;
  text.Save(&s);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(s), velktest::ParseHex(
      "54 00 00 00  00 00  01 00 00 00  02 00 00 00  03 00 00 00  04 00 00 00"
      "48 00 69 00 00 00"  // text "Hi"
      "00 00"              // no font name
      "05  2C 01  56 34 12 00")));
  s.Seek(0, 0);
  CVelkUIText back(&panel);
  ASSERT_TRUE(back.Load(&s));
  EXPECT_STREQ(L"T", back.name);
  EXPECT_STREQ(L"Hi", back.text);
  EXPECT_EQ(nullptr, back.fontName);
  EXPECT_EQ(5, back.fontStyle);
  EXPECT_EQ(300, back.fontSize);
  EXPECT_EQ(0x00123456u, back.textColor);
  EXPECT_EQ(s.size, s.position);
}

TEST_F(ItemsTest, TextRecordEndingAfterTheFontNameGivesStyleZeroAndSizeTen) {
  CMemoryStream s;
  Fill(&s, velktest::ParseHex((BaseHex("00 00 00 00  00 00 00 00  10 00 00 00  10 00 00 00") +
                               "41 00 00 00  41 00 72 00 00 00").c_str()));
  CVelkUIText text(&panel);
  text.fontStyle = 7;
  text.fontSize = 40;
  ASSERT_TRUE(text.Load(&s));
  EXPECT_STREQ(L"A", text.text);
  EXPECT_STREQ(L"Ar", text.fontName);
  EXPECT_EQ(0, text.fontStyle);
  EXPECT_EQ(10, text.fontSize);
}

TEST_F(ItemsTest, EveryTruncationOfATextRecordReadsWithoutHarm) {
  CVelkUIText text(&panel);
  text.SetName(L"N");
  CMemoryStream whole;
  text.Save(&whole);
  // The strings end at: base 4 + 2 + 16, text 12 ("Текст"), font 12 ("Arial").
  const int stringsEnd = 22 + 12 + 12;
  for (int n = 0; n < whole.size; ++n) {
    SCOPED_TRACE(n);
    CMemoryStream cut;
    cut.Write(whole.data, n);
    cut.Seek(0, 0);
    CVelkUIText back(&panel);
    EXPECT_EQ(n >= stringsEnd, back.Load(&cut));
    EXPECT_LE(cut.position, n);
  }
}

TEST_F(ItemsTest, TextTakesTheSizeOfItsTextAtTheFirstPaint) {
  CVelkUIText text(&panel);
  text.x = 10;
  text.y = 20;
  text.width = 500;
  text.height = 3;
  Dib dib(300, 100, RGB(255, 255, 255));
  text.DrawBackground(dib.dc());
  // The same text measured in the same 16-point Arial.
  HFONT font = CreateItemFont(L"Arial", 0, 16);
  HGDIOBJ old = SelectObject(dib.dc(), font);
  SIZE expected = {};
  GetTextExtentPoint32W(dib.dc(), L"Текст", 5, &expected);
  SelectObject(dib.dc(), old);
  DeleteObject(font);
  EXPECT_EQ(expected.cx, text.width);
  EXPECT_EQ(expected.cy, text.height);
  EXPECT_GT(text.width, 30);
  // Black ink inside the text's box and nowhere left of it.
  int ink = 0;
  for (int py = text.y; py < text.y + text.height; ++py)
    for (int px = text.x; px < text.x + text.width; ++px)
      if (dib.At(px, py) == RGB(0, 0, 0)) ++ink;
  EXPECT_GT(ink, 20);
  for (int py = 0; py < 100; ++py) EXPECT_EQ(RGB(255, 255, 255), dib.At(5, py));
  // Without text nothing is drawn and the size stays.
  text.SetTextCopy(nullptr);
  text.width = 7;
  text.DrawBackground(dib.dc());
  EXPECT_EQ(7, text.width);
}

TEST_F(ItemsTest, TextPropertiesAreNameTextPositionAndFont) {
  CVelkUIText text(&panel);
  UiPropertyList list;
  list.owner = &text;
  text.BuildProperties(&list);
  const wchar_t* labels[] = {L"Название:", L"Текст:", L"X:", L"Y:", L"Шрифт:", L"Стиль шрифта:",
                             L"Размер шрифта:", L"Цвет текста:"};
  UiPropertyType types[] = {UiPropString, UiPropString, UiPropInt, UiPropInt,
                            UiPropFontName, UiPropFontStyle, UiPropInt, UiPropColor};
  ASSERT_EQ(8, list.count);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(labels[i], list.At(i)->label);
    EXPECT_EQ(types[i], list.At(i)->type);
  }
  EXPECT_EQ(&text.name, list.At(0)->value);
  EXPECT_EQ(&text.fontSize, list.At(6)->value);
  EXPECT_TRUE(list.At(6)->ranged);
  EXPECT_EQ(5, list.At(6)->min.i);
  EXPECT_EQ(100, list.At(6)->max.i);
  EXPECT_EQ(kPanelCanvasWidth, list.At(3)->max.i);
}

TEST_F(ItemsTest, ANewLinePlacedAtAPointRunsRightFromIt) {
  CVelkUILine line(&panel);
  line.SetPosition(40, 50);
  ExpectLineEnds(line, 40, 50, 144, 50);
  ExpectItemRect(line, 36, 46, 112, 8);
}

TEST_F(ItemsTest, LineHitTestsUseTheEndsAndTheWholeStraightLine) {
  struct Case {
    int x1, y1, x2, y2, px, py, code;
  } cases[] = {
      {0, 0, 100, 0, 300, 2, 0},     // beyond the end, on the line
      {0, 0, 100, 0, 50, 12, -1},    // 12 away: t + 8 = 11 is the reach
      {0, 0, 100, 0, 50, 10, 0},
      {0, 0, 100, 0, 7, 7, 9},       // first end
      {0, 0, 100, 0, 8, 0, 0},       // not the end, but on the line
      {0, 0, 100, 0, 93, -7, 10},    // second end
      {0, 0, 10, 100, 5, 50, 0},     // steep: x at 50 is 5
      {0, 0, 10, 100, 15, 50, 0},    // |5 - 15| = 10, below t + 8
      {0, 0, 10, 100, 16, 50, -1},   // |5 - 16| = 11
      {20, 20, 20, 20, 20, 40, -1},  // ends together: only the handles
      {20, 20, 20, 20, 25, 25, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.px << "," << c.py);
    CVelkUILine line(&panel);
    line.x1 = c.x1;
    line.y1 = c.y1;
    line.x2 = c.x2;
    line.y2 = c.y2;
    line.UpdateBounds();
    EXPECT_EQ(c.code, line.HitTest(c.px, c.py));
  }
}

TEST_F(ItemsTest, DraggingMovesTheLineOrOneEnd) {
  CVelkUILine line(&panel);
  line.SetPosition(10, 10);  // (10, 10) to (114, 10)
  line.DragHandle(CVelkUIControl::kHitLineStart, 5, 20);
  ExpectLineEnds(line, 15, 30, 114, 10);
  line.DragHandle(CVelkUIControl::kHitLineEnd, -4, 1);
  EXPECT_EQ(110, line.x2);
  EXPECT_EQ(11, line.y2);
  line.DragHandle(CVelkUIControl::kHitBody, 1, 2);
  ExpectLineEnds(line, 16, 32, 111, 13);
  line.DragHandle(5, 100, 100);  // a corner handle means nothing to a line
  EXPECT_EQ(16, line.x1);
  EXPECT_EQ(111, line.x2);
  // The rectangle follows: min 16 - 4, 13 - 4; max 111 + 4, 32 + 4.
  ExpectItemRect(line, 12, 9, 103, 27);
}

TEST_F(ItemsTest, LineRecordMatchesItsLayoutAndEveryTruncationFails) {
  CVelkUILine line(&panel);
  line.x1 = 1;
  line.y1 = -1;
  line.x2 = 300;
  line.y2 = 2;
  line.color = 0x00ABCDEF;
  line.thickness = 7;
  line.UpdateBounds();  // (-7, -9) 315 x 19
  CMemoryStream s;
  line.Save(&s);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(s), velktest::ParseHex(
      "00 00  00 00  F9 FF FF FF  F7 FF FF FF  3B 01 00 00  13 00 00 00"
      "01 00 00 00  FF FF FF FF  2C 01 00 00  02 00 00 00  EF CD AB 00  07")));
  for (int n = 0; n < s.size; ++n) {
    SCOPED_TRACE(n);
    CMemoryStream cut;
    cut.Write(s.data, n);
    cut.Seek(0, 0);
    CVelkUILine back(&panel);
    EXPECT_FALSE(back.Load(&cut));
  }
  s.Seek(0, 0);
  CVelkUILine back(&panel);
  ASSERT_TRUE(back.Load(&s));
  EXPECT_EQ(300, back.x2);
  EXPECT_EQ(-1, back.y1);
  EXPECT_EQ(0x00ABCDEFu, back.color);
  EXPECT_EQ(7, back.thickness);
  EXPECT_EQ(-7, back.x);
  EXPECT_EQ(315, back.width);
}

TEST_F(ItemsTest, LineDrawsItsThicknessAndRoundEndMarks) {
  CVelkUILine line(&panel);
  line.x1 = 20;
  line.y1 = 30;
  line.x2 = 80;
  line.y2 = 30;
  line.color = RGB(0, 200, 0);
  Dib dib(100, 60, RGB(255, 255, 255));
  line.DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0, 200, 0), dib.At(50, 30));
  EXPECT_EQ(RGB(0, 200, 0), dib.At(50, 31));
  EXPECT_EQ(RGB(255, 255, 255), dib.At(50, 34));
  // Drawing updated the bounds: 20 - 4, 30 - 4 to 80 + 4, 30 + 4.
  ExpectItemRect(line, 16, 26, 68, 8);
  line.DrawSelection(dib.dc());
  for (int end : {20, 80}) {
    SCOPED_TRACE(end);
    int rim = 0;
    for (int py = 26; py <= 34; ++py)
      for (int px = end - 4; px <= end + 4; ++px)
        if (dib.At(px, py) == RGB(0, 0, 0)) ++rim;
    EXPECT_GE(rim, 8);
    EXPECT_EQ(RGB(255, 255, 255), dib.At(end, 30));  // white inside
  }
  EXPECT_EQ(RGB(0, 200, 0), dib.At(50, 30));  // no squares along the line
}

TEST_F(ItemsTest, APictureItemWithoutAPictureIsACrossedBox) {
  CVelkUIImage image(&panel);
  image.x = 10;
  image.y = 10;
  image.width = 41;
  image.height = 41;
  Dib dib(80, 80, RGB(255, 255, 255));
  image.DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0, 0, 0), dib.At(10, 30));   // left edge
  EXPECT_EQ(RGB(0, 0, 0), dib.At(30, 10));   // top edge
  EXPECT_EQ(RGB(0, 0, 0), dib.At(20, 20));   // first diagonal
  EXPECT_EQ(RGB(0, 0, 0), dib.At(30, 30));
  EXPECT_EQ(RGB(0, 0, 0), dib.At(41, 20));   // second diagonal: x + y = 61
  EXPECT_EQ(RGB(0, 0, 0), dib.At(30, 31));
  EXPECT_EQ(RGB(255, 255, 255), dib.At(30, 20));  // hollow
  EXPECT_EQ(RGB(255, 255, 255), dib.At(60, 60));
}

TEST_F(ItemsTest, APictureIsDrawnStretchedToTheRectangle) {
  CVelkUIImage image(&panel);
  ASSERT_TRUE(image.picture.Create(2, 1, 24));
  image.picture.SetPixel(0, 0, RGB(255, 0, 0));
  image.picture.SetPixel(1, 0, RGB(0, 0, 255));
  image.x = 0;
  image.y = 0;
  image.width = 40;
  image.height = 20;
  Dib dib(60, 30, RGB(255, 255, 255));
  image.DrawBackground(dib.dc());
  COLORREF left = dib.At(3, 10);
  COLORREF right = dib.At(36, 10);
  EXPECT_GT(GetRValue(left), 200);
  EXPECT_LT(GetBValue(left), 60);
  EXPECT_GT(GetBValue(right), 200);
  EXPECT_LT(GetRValue(right), 60);
  EXPECT_EQ(RGB(255, 255, 255), dib.At(45, 10));
}

TEST_F(ItemsTest, AnEightBitPictureKeepsItsWholePaletteAndPixels) {
  CVelkUIImage image(&panel);
  ASSERT_TRUE(image.picture.Create(3, 2, 8));
  RGBQUAD table[256];
  for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
  ASSERT_TRUE(image.picture.SetColorTable(0, 256, table));
  for (int py = 0; py < 2; ++py)
    for (int px = 0; px < 3; ++px) image.picture.SetPixelIndexed(px, py, 10 * py + px + 1);
  CMemoryStream s;
  image.Save(&s);
  // Base 20, sizes 8, depth 1, highest index 1, palette 1024, rows 2 x 3.
  ASSERT_EQ(20 + 8 + 1 + 1 + 1024 + 6, s.size);
  EXPECT_TRUE(velktest::BytesEqual(s.data + 20, 10, velktest::ParseHex("03 00 00 00 02 00 00 00 08 FF")));
  EXPECT_TRUE(velktest::BytesEqual(s.data + 30, 8, velktest::ParseHex("00 FF 00 00 01 FE 00 00")));
  EXPECT_TRUE(velktest::BytesEqual(s.data + s.size - 6, 6, velktest::ParseHex("01 02 03 0B 0C 0D")));
  s.Seek(0, 0);
  CVelkUIImage back(&panel);
  ASSERT_TRUE(back.Load(&s));
  ASSERT_FALSE(back.picture.IsNull());
  EXPECT_EQ(8, back.picture.GetBPP());
  RGBQUAD read[256];
  ASSERT_TRUE(back.picture.GetColorTable(0, 256, read));
  EXPECT_EQ(0, memcmp(table, read, sizeof(read)));
  EXPECT_EQ(0, memcmp(back.picture.GetPixelAddress(0, 1), image.picture.GetPixelAddress(0, 1), 3));
  EXPECT_EQ(0, memcmp(back.picture.GetPixelAddress(0, 0), image.picture.GetPixelAddress(0, 0), 3));
}

TEST_F(ItemsTest, TrueColourAndPackedOneBitPicturesReadBack) {
  for (int bpp : {1, 4, 24, 32}) {
    SCOPED_TRACE(bpp);
    CVelkUIImage image(&panel);
    ASSERT_TRUE(image.picture.Create(13, 3, bpp));
    image.picture.SetPixel(0, 0, RGB(255, 255, 255));
    image.picture.SetPixel(12, 2, RGB(255, 255, 255));
    CMemoryStream s;
    image.Save(&s);
    int rows = 3 * PictureRowBytes(13, bpp);
    int palette = bpp <= 8 ? 1 + 4 * (1 << bpp) : 0;
    EXPECT_EQ(20 + 9 + palette + rows, s.size);
    s.Seek(0, 0);
    CVelkUIImage back(&panel);
    ASSERT_TRUE(back.Load(&s));
    EXPECT_EQ(13, back.picture.GetWidth());
    EXPECT_EQ(3, back.picture.GetHeight());
    EXPECT_EQ(RGB(255, 255, 255), back.picture.GetPixel(0, 0) & 0xFFFFFF);
    EXPECT_EQ(RGB(255, 255, 255), back.picture.GetPixel(12, 2) & 0xFFFFFF);
    EXPECT_EQ(RGB(0, 0, 0), back.picture.GetPixel(1, 0) & 0xFFFFFF);
  }
  EXPECT_EQ(2, PictureRowBytes(13, 1));
  EXPECT_EQ(7, PictureRowBytes(13, 4));
  EXPECT_EQ(39, PictureRowBytes(13, 24));
}

TEST_F(ItemsTest, APictureItemWithoutPictureWritesTwoZeroSizes) {
  CVelkUIImage image(&panel);
  CMemoryStream s;
  image.Save(&s);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(s), velktest::ParseHex(
      "00 00 00 00  00 00 00 00  00 00 00 00  68 00 00 00  68 00 00 00  00 00 00 00  00 00 00 00")));
  s.Seek(0, 0);
  CVelkUIImage back(&panel);
  ASSERT_TRUE(back.picture.Create(2, 2, 24));
  ASSERT_TRUE(back.Load(&s));
  EXPECT_TRUE(back.picture.IsNull());
}

TEST_F(ItemsTest, BadPictureRecordsFailAndLeaveNoPicture) {
  const char* base = "00 00 00 00  00 00 00 00  00 00 00 00  10 00 00 00  10 00 00 00";
  struct Case {
    const char* name;
    const char* picture;
  } cases[] = {
      {"negative width", "FF FF FF FF 01 00 00 00 18 00 00 00"},
      {"negative height", "01 00 00 00 FE FF FF FF 18 00 00 00"},
      {"depth 16", "01 00 00 00 01 00 00 00 10 00 00"},
      {"depth 0", "01 00 00 00 01 00 00 00 00 00"},
      {"palette beyond the depth", "01 00 00 00 01 00 00 00 01 02 00 00 00 00 00 00 00 00 00 00 00 00 00"},
      {"rows missing", "02 00 00 00 02 00 00 00 18 00 00 00 00 00 00 00 00 00"},
      {"huge size", "FF FF FF 7F FF FF FF 7F 20"},
      {"no depth", "01 00 00 00 01 00 00 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMemoryStream s;
    Fill(&s, velktest::ParseHex((std::string(base) + c.picture).c_str()));
    CVelkUIImage image(&panel);
    ASSERT_TRUE(image.picture.Create(2, 2, 24));
    EXPECT_FALSE(image.Load(&s));
    EXPECT_TRUE(image.picture.IsNull());
  }
}

TEST_F(ItemsTest, EveryTruncationOfAPictureRecordFailsCleanly) {
  CVelkUIImage image(&panel);
  ASSERT_TRUE(image.picture.Create(2, 2, 4));
  CMemoryStream whole;
  image.Save(&whole);
  for (int n = 0; n < whole.size; ++n) {
    SCOPED_TRACE(n);
    CMemoryStream cut;
    cut.Write(whole.data, n);
    cut.Seek(0, 0);
    CVelkUIImage back(&panel);
    EXPECT_FALSE(back.Load(&cut));
    EXPECT_TRUE(back.picture.IsNull());
  }
}

TEST_F(ItemsTest, PictureItemPropertiesEndWithTheDialogButton) {
  CVelkUIImage image(&panel);
  UiPropertyList list;
  list.owner = &image;
  image.BuildProperties(&list);
  ASSERT_EQ(7, list.count);
  EXPECT_STREQ(L"Высота:", list.At(5)->label);
  EXPECT_EQ(UiPropDialog, list.At(6)->type);
  EXPECT_STREQ(L"Изображение", list.At(6)->label);
  EXPECT_NE(nullptr, list.At(6)->callback);
  CVelkUILine line(&panel);
  UiPropertyList lineList;
  lineList.owner = &line;
  line.BuildProperties(&lineList);
  const wchar_t* labels[] = {L"Название:", L"x1:", L"y1:", L"x2:", L"y2:", L"Цвет:", L"Толщина:"};
  ASSERT_EQ(7, lineList.count);
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(labels[i], lineList.At(i)->label);
  EXPECT_FALSE(lineList.At(1)->ranged);
  EXPECT_EQ(1, lineList.At(6)->min.i);
  EXPECT_EQ(20, lineList.At(6)->max.i);
}

TEST_F(ItemsTest, PanelStreamKeepsTheThreeKinds) {
  auto* text = static_cast<CVelkUIText*>(CreatePanelItemByKind(&panel, L"Текст"));
  text->SetName(L"Заголовок");
  auto* line = static_cast<CVelkUILine*>(CreatePanelItemByKind(&panel, L"Линия"));
  line->SetPosition(8, 16);
  auto* image = static_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
  ASSERT_TRUE(image->picture.Create(5, 4, 24));
  CMemoryStream s;
  panel.WriteItems(&s, false);
  s.Seek(0, 0);
  UiPanel back(&probe.scheme);
  ASSERT_TRUE(back.ReadItems(&s, false));
  ASSERT_EQ(3, back.ItemCount());
  auto* text2 = dynamic_cast<CVelkUIText*>(back.items);
  auto* line2 = dynamic_cast<CVelkUILine*>(back.items->next);
  auto* image2 = dynamic_cast<CVelkUIImage*>(back.items->next->next);
  ASSERT_TRUE(text2 && line2 && image2);
  EXPECT_STREQ(L"Заголовок", text2->name);
  EXPECT_EQ(112, line2->x2);
  EXPECT_EQ(5, image2->picture.GetWidth());
  EXPECT_EQ(s.size, s.position);
}
