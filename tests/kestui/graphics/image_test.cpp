// CKestImage: creation, pixels, colour tables, loading and saving PNG, BMP
// and JPEG files written here, drawing into DIBs, program resources.
#include "foundation/buffer_failure_scope.h"
#include "kestui/core/kest_resources.h"
#include "kestui/graphics/image.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using velktest::TempFolder;

// ---- helpers

::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance) {
  int dr = std::abs(GetRValue(actual) - GetRValue(expected));
  int dg = std::abs(GetGValue(actual) - GetGValue(expected));
  int db = std::abs(GetBValue(actual) - GetBValue(expected));
  if (actual != CLR_INVALID && dr <= tolerance && dg <= tolerance && db <= tolerance)
    return ::testing::AssertionSuccess();
  char text[120];
  snprintf(text, sizeof text, "colour %06lX (BGR) differs from %06lX by more than %d",
           static_cast<unsigned long>(actual), static_cast<unsigned long>(expected), tolerance);
  return ::testing::AssertionFailure() << text;
}

// An ASCII file name for trace messages.
std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += static_cast<char>(*text < 128 ? *text : '?');
  return out;
}

RGBQUAD Quad(BYTE r, BYTE g, BYTE b) {
  RGBQUAD q = {b, g, r, 0};
  return q;
}

bool SameQuad(const RGBQUAD& a, const RGBQUAD& b) {
  return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

// A 32-bit drawing target filled with one colour.
void MakeCanvas(CKestImage& canvas, int width, int height, COLORREF fill) {
  ASSERT_TRUE(canvas.Create(width, height, 32));
  HDC dc = canvas.GetDC();
  ASSERT_NE(dc, nullptr);
  RECT all = {0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  canvas.ReleaseDC();
}

// PNG bytes built by hand: stored (uncompressed) deflate blocks, so the
// pixel bytes are visible in the file.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* kind, const std::vector<uint8_t>& body) {
  PutBE32(out, static_cast<uint32_t>(body.size()));
  std::vector<uint8_t> typed(kind, kind + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBE32(out, Crc32(typed.data(), typed.size()));
}

// colourType 2 (RGB), 6 (RGBA) or 3 (palette); rows without filter bytes.
std::vector<uint8_t> MakePng(int width, int height, int colourType,
                             const std::vector<std::vector<uint8_t>>& rows,
                             const std::vector<uint8_t>& palette = {},
                             const std::vector<uint8_t>& transparency = {}) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  PutBE32(header, static_cast<uint32_t>(width));
  PutBE32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, static_cast<uint8_t>(colourType), 0, 0, 0});
  PutChunk(out, "IHDR", header);
  if (!palette.empty()) PutChunk(out, "PLTE", palette);
  if (!transparency.empty()) PutChunk(out, "tRNS", transparency);

  std::vector<uint8_t> raw;
  for (const auto& row : rows) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), row.begin(), row.end());
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  z.push_back(1);  // final stored block
  uint16_t len = static_cast<uint16_t>(raw.size());
  z.insert(z.end(), {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8),
                     static_cast<uint8_t>(~len), static_cast<uint8_t>((~len) >> 8)});
  z.insert(z.end(), raw.begin(), raw.end());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBE32(z, (b << 16) | a);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}

// ---- creation, pixels, colour tables

struct DepthCase {
  int bpp;
  int width;
  int stride;  // bytes a row
};

TEST(KestImage, CreateGivesBottomUpDibOfEachDepth) {
  const DepthCase cases[] = {{1, 10, 4}, {4, 9, 8}, {8, 5, 8}, {24, 5, 16}, {32, 3, 12}};
  for (const DepthCase& c : cases) {
    SCOPED_TRACE(c.bpp);
    CKestImage image;
    ASSERT_TRUE(image.Create(c.width, 3, c.bpp));
    EXPECT_FALSE(image.IsNull());
    EXPECT_EQ(image.GetWidth(), c.width);
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.GetBPP(), c.bpp);
    EXPECT_EQ(image.GetPitch(), -c.stride);
    EXPECT_EQ(image.IsIndexed(), c.bpp <= 8);
    EXPECT_EQ(image.GetMaxColorTableEntries(), c.bpp <= 8 ? 1 << c.bpp : 0);
    EXPECT_FALSE(image.HasAlphaChannel());
    EXPECT_EQ(image.GetTransparentColor(), -1);
    // Every pixel starts black (index 0 is black in every default table).
    EXPECT_EQ(image.GetPixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(image.GetPixel(c.width - 1, 2), RGB(0, 0, 0));

    // The bottom row lies at the start of the DIB's memory.
    DIBSECTION ds;
    ASSERT_EQ(GetObjectW(static_cast<HBITMAP>(image), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(static_cast<BYTE*>(ds.dsBm.bmBits) + 2 * c.stride,
              static_cast<BYTE*>(image.GetBits()));
  }
}

TEST(KestImage, NegativeHeightMakesTopDownRows) {
  CKestImage image;
  ASSERT_TRUE(image.Create(5, -4, 24));
  EXPECT_EQ(image.GetHeight(), 4);
  image.SetPixel(4, 3, RGB(1, 2, 3));
  EXPECT_EQ(image.GetPitch(), 16);
  DIBSECTION ds;
  ASSERT_EQ(GetObjectW(static_cast<HBITMAP>(image), sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, image.GetBits());
  const BYTE* last = static_cast<const BYTE*>(ds.dsBm.bmBits) + 3 * 16 + 4 * 3;
  EXPECT_EQ(last[0], 3);
  HDC dc = image.GetDC();
  EXPECT_EQ(::GetPixel(dc, 4, 3), RGB(1, 2, 3));  // GDI agrees on the row order
  image.ReleaseDC();
}

TEST(KestImage, DefaultColourTables) {
  CKestImage mono, vga, cube;
  ASSERT_TRUE(mono.Create(1, 1, 1));
  ASSERT_TRUE(vga.Create(1, 1, 4));
  ASSERT_TRUE(cube.Create(1, 1, 8));
  RGBQUAD t[256];
  ASSERT_TRUE(mono.GetColorTable(0, 2, t));
  EXPECT_TRUE(SameQuad(t[0], Quad(0, 0, 0)));
  EXPECT_TRUE(SameQuad(t[1], Quad(255, 255, 255)));
  ASSERT_TRUE(vga.GetColorTable(0, 16, t));
  EXPECT_TRUE(SameQuad(t[7], Quad(192, 192, 192)));
  EXPECT_TRUE(SameQuad(t[9], Quad(255, 0, 0)));
  EXPECT_TRUE(SameQuad(t[15], Quad(255, 255, 255)));
  ASSERT_TRUE(cube.GetColorTable(0, 256, t));
  EXPECT_TRUE(SameQuad(t[215], Quad(255, 255, 255)));
  EXPECT_TRUE(SameQuad(t[1], Quad(0, 0, 51)));
  EXPECT_TRUE(SameQuad(t[36], Quad(51, 0, 0)));
  EXPECT_TRUE(SameQuad(t[216], Quad(0, 0, 0)));
  EXPECT_TRUE(SameQuad(t[255], Quad(255, 255, 255)));
}

TEST(KestImage, CreateRefusesBadArgumentsAndKeepsThePicture) {
  CKestImage image;
  ASSERT_TRUE(image.Create(7, 5, 24));
  ASSERT_TRUE(image.SetPixel(6, 4, RGB(9, 8, 7)));
  struct { int w, h, bpp; DWORD flags; } bad[] = {
      {0, 5, 24, 0}, {-3, 5, 24, 0}, {5, 0, 24, 0}, {5, 5, 16, 0}, {5, 5, 2, 0},
      {5, 5, 24, CKestImage::createAlphaChannel}, {5, 5, 8, CKestImage::createAlphaChannel},
      {100000, 100000, 32, 0}};
  for (const auto& b : bad) {
    SCOPED_TRACE(testing::Message() << b.w << "x" << b.h << "x" << b.bpp);
    EXPECT_FALSE(image.Create(b.w, b.h, b.bpp, b.flags));
    EXPECT_EQ(image.GetWidth(), 7);
    EXPECT_EQ(image.GetBPP(), 24);
    EXPECT_EQ(image.GetPixel(6, 4), RGB(9, 8, 7));
  }
}

TEST(KestImage, PixelsLandInTheDibMemory) {
  CKestImage rgb;
  ASSERT_TRUE(rgb.Create(3, 2, 24));
  ASSERT_TRUE(rgb.SetPixel(1, 1, RGB(1, 2, 3)));
  const BYTE* p = static_cast<const BYTE*>(rgb.GetBits()) + rgb.GetPitch() + 3;
  EXPECT_EQ(p[0], 3);  // blue first
  EXPECT_EQ(p[1], 2);
  EXPECT_EQ(p[2], 1);
  EXPECT_EQ(rgb.GetPixelAddress(1, 1), p);
  EXPECT_EQ(rgb.GetPixel(1, 1), RGB(1, 2, 3));

  CKestImage mono;
  ASSERT_TRUE(mono.Create(12, 2, 1));
  ASSERT_TRUE(mono.SetPixelIndexed(9, 1, 1));
  const BYTE* row1 = static_cast<const BYTE*>(mono.GetBits()) + mono.GetPitch();
  EXPECT_EQ(row1[1], 0x40);
  EXPECT_EQ(mono.GetPixel(9, 1), RGB(255, 255, 255));
  EXPECT_EQ(mono.GetPixel(8, 1), RGB(0, 0, 0));

  CKestImage nibbles;
  ASSERT_TRUE(nibbles.Create(3, 1, 4));
  ASSERT_TRUE(nibbles.SetPixelIndexed(0, 0, 0x9));
  ASSERT_TRUE(nibbles.SetPixelIndexed(1, 0, 0xC));
  ASSERT_TRUE(nibbles.SetPixelIndexed(2, 0, 0x3));
  const BYTE* n = static_cast<const BYTE*>(nibbles.GetBits());
  EXPECT_EQ(n[0], 0x9C);
  EXPECT_EQ(n[1], 0x30);
  EXPECT_EQ(nibbles.GetPixel(1, 0), RGB(0, 0, 255));
}

TEST(KestImage, SetPixelOnIndexedPicksTheNearestTableColour) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 1, 8));
  RGBQUAD table[256] = {};  // black but for two entries
  table[1] = Quad(250, 10, 10);
  table[2] = Quad(10, 10, 250);
  ASSERT_TRUE(image.SetColorTable(0, 256, table));
  ASSERT_TRUE(image.SetPixel(0, 0, RGB(200, 40, 30)));
  ASSERT_TRUE(image.SetPixel(1, 0, RGB(10, 10, 250)));
  const BYTE* bits = static_cast<const BYTE*>(image.GetBits());
  EXPECT_EQ(bits[0], 1);
  EXPECT_EQ(bits[1], 2);
  EXPECT_EQ(image.GetPixel(0, 0), RGB(250, 10, 10));
}

TEST(KestImage, PixelAccessOutsideThePictureFails) {
  CKestImage empty;
  EXPECT_EQ(empty.GetPixel(0, 0), CLR_INVALID);
  EXPECT_FALSE(empty.SetPixel(0, 0, 0));
  EXPECT_EQ(empty.GetBits(), nullptr);
  CKestImage image;
  ASSERT_TRUE(image.Create(4, 3, 8));
  const int outside[][2] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}};
  for (const auto& xy : outside) {
    EXPECT_EQ(image.GetPixel(xy[0], xy[1]), CLR_INVALID);
    EXPECT_FALSE(image.SetPixel(xy[0], xy[1], 0));
    EXPECT_FALSE(image.SetPixelIndexed(xy[0], xy[1], 0));
    EXPECT_EQ(image.GetPixelAddress(xy[0], xy[1]), nullptr);
  }
  EXPECT_FALSE(image.SetPixelIndexed(0, 0, 256));
  EXPECT_FALSE(image.SetPixelIndexed(0, 0, -1));
}

TEST(KestImage, ColourTableRangesAreChecked) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 2, 4));
  RGBQUAD t[17] = {};
  RGBQUAD mine[2] = {Quad(1, 2, 3), Quad(4, 5, 6)};
  EXPECT_TRUE(image.SetColorTable(14, 2, mine));
  EXPECT_FALSE(image.SetColorTable(15, 2, mine));
  EXPECT_FALSE(image.GetColorTable(0, 17, t));
  EXPECT_FALSE(image.GetColorTable(0xFFFFFFFFu, 2, t));
  EXPECT_FALSE(image.GetColorTable(0, 1, nullptr));
  ASSERT_TRUE(image.GetColorTable(14, 2, t));
  EXPECT_TRUE(SameQuad(t[0], mine[0]));
  EXPECT_TRUE(SameQuad(t[1], mine[1]));

  CKestImage rgb;
  ASSERT_TRUE(rgb.Create(2, 2, 24));
  EXPECT_FALSE(rgb.GetColorTable(0, 1, t));
  EXPECT_FALSE(rgb.SetColorTable(0, 1, mine));
}

TEST(KestImage, GetDCNestsAndDrawsIntoThePicture) {
  CKestImage image;
  ASSERT_TRUE(image.Create(4, 4, 24));
  HDC first = image.GetDC();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetCurrentObject(first, OBJ_BITMAP), static_cast<HGDIOBJ>(static_cast<HBITMAP>(image)));
  HDC second = image.GetDC();
  EXPECT_EQ(second, first);
  RECT r = {1, 1, 3, 3};
  HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
  FillRect(second, &r, brush);
  DeleteObject(brush);
  image.ReleaseDC();
  EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_MEMDC));  // one use left
  image.ReleaseDC();
  EXPECT_EQ(GetObjectType(first), 0u);  // deleted with the last use
  image.ReleaseDC();                    // unbalanced: ignored
  EXPECT_EQ(image.GetPixel(1, 1), RGB(10, 200, 30));
  EXPECT_EQ(image.GetPixel(2, 2), RGB(10, 200, 30));
  EXPECT_EQ(image.GetPixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(image.GetPixel(3, 3), RGB(0, 0, 0));

  CKestImage empty;
  EXPECT_EQ(empty.GetDC(), nullptr);
}

TEST(KestImage, DestroyWithAnOpenDCFreesIt) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 2, 32));
  HBITMAP bitmap = image;
  HDC dc = image.GetDC();
  ASSERT_NE(dc, nullptr);
  image.Destroy();
  EXPECT_TRUE(image.IsNull());
  EXPECT_EQ(GetObjectType(dc), 0u);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_EQ(image.GetWidth(), 0);
}

TEST(KestImage, AttachAndDetachADibSection) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 3;
  info.bmiHeader.biHeight = -2;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  static_cast<DWORD*>(bits)[3 + 2] = 0x00112233;  // row 1, x 2

  CKestImage image;
  ASSERT_TRUE(image.Create(1, 1, 8));
  // Some systems report every DIB section as bottom-up: say what it is.
  ASSERT_TRUE(image.Attach(dib, CKestImage::DIBOR_TOPDOWN));
  EXPECT_EQ(static_cast<HBITMAP>(image), dib);
  EXPECT_EQ(image.GetWidth(), 3);
  EXPECT_EQ(image.GetHeight(), 2);
  EXPECT_EQ(image.GetBPP(), 32);
  EXPECT_EQ(image.GetPitch(), 12);
  EXPECT_EQ(image.GetPixel(2, 1), RGB(0x11, 0x22, 0x33));

  EXPECT_EQ(image.Detach(), dib);
  EXPECT_TRUE(image.IsNull());
  EXPECT_EQ(GetObjectType(dib), static_cast<DWORD>(OBJ_BITMAP));  // still alive, ours again
  DeleteObject(dib);

  // A device-dependent bitmap is no DIB section: refused, and stays the caller's.
  HBITMAP ddb = CreateBitmap(4, 4, 1, 1, nullptr);
  ASSERT_TRUE(image.Create(2, 2, 24));
  EXPECT_FALSE(image.Attach(ddb));
  EXPECT_FALSE(image.Attach(nullptr));
  EXPECT_EQ(image.GetWidth(), 2);
  EXPECT_EQ(GetObjectType(ddb), static_cast<DWORD>(OBJ_BITMAP));
  DeleteObject(ddb);
}

// ---- files

void FillPattern24(CKestImage& image) {
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      image.SetPixel(x, y, RGB(x * 40 + 3, y * 70 + 5, (x + y) * 20 + 7));
}

TEST(KestImage, Bmp24WritesTheExpectedBytes) {
  TempFolder folder;
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 2, 24));
  image.SetPixel(0, 0, RGB(0x10, 0x20, 0x30));
  image.SetPixel(1, 0, RGB(0x40, 0x50, 0x60));
  image.SetPixel(0, 1, RGB(0x70, 0x80, 0x90));
  image.SetPixel(1, 1, RGB(0xA0, 0xB0, 0xC0));
  ASSERT_EQ(image.Save(folder.File(L"small.bmp").c_str()), S_OK);
  EXPECT_TRUE(velktest::BytesEqual(folder.ReadFile(L"small.bmp"), velktest::ParseHex(R"(
      42 4D  46 00 00 00  00 00 00 00  36 00 00 00   // "BM", 70 bytes, pixels at 54
      28 00 00 00  02 00 00 00  02 00 00 00  01 00  18 00  // 2 x 2, 24 bits
      00 00 00 00  10 00 00 00  C4 0E 00 00  C4 0E 00 00  00 00 00 00  00 00 00 00
      90 80 70  C0 B0 A0  00 00                       // bottom row first, padded to 8
      30 20 10  60 50 40  00 00)")));
}

TEST(KestImage, Bmp24RoundTripIsExact) {
  TempFolder folder;
  CKestImage image;
  ASSERT_TRUE(image.Create(5, 3, 24));
  FillPattern24(image);
  ASSERT_EQ(image.Save(folder.File(L"pattern.BMP").c_str()), S_OK);
  CKestImage back;
  ASSERT_EQ(back.Load(folder.File(L"pattern.BMP").c_str()), S_OK);
  EXPECT_EQ(back.GetWidth(), 5);
  EXPECT_EQ(back.GetHeight(), 3);
  EXPECT_EQ(back.GetBPP(), 24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.GetPixel(x, y), image.GetPixel(x, y)) << x << "," << y;
}

// An 8-bit BMP with a four-colour table, as another program would write it.
const char kIndexedBmp[] = R"(
    42 4D  4E 00 00 00  00 00 00 00  46 00 00 00      // 78 bytes, pixels at 70
    28 00 00 00  03 00 00 00  02 00 00 00  01 00  08 00  // 3 x 2, 8 bits
    00 00 00 00  08 00 00 00  00 00 00 00  00 00 00 00
    04 00 00 00  00 00 00 00                          // 4 colours used
    FF 00 00 00  00 FF 00 00  00 00 FF 00  80 80 80 00 // blue, green, red, grey (BGR0)
    03 02 01 00                                       // bottom row: grey red green
    00 01 02 00                                       // top row: blue green red
)";

TEST(KestImage, Indexed8BmpLoadsWithItsTableAndSavesBack) {
  TempFolder folder;
  std::vector<uint8_t> bytes = velktest::ParseHex(kIndexedBmp);
  ASSERT_EQ(bytes.size(), 78u);
  ASSERT_TRUE(folder.WriteFile(L"indexed.bmp", bytes.data(), bytes.size()));

  CKestImage image;
  ASSERT_EQ(image.Load(folder.File(L"indexed.bmp").c_str()), S_OK);
  EXPECT_EQ(image.GetBPP(), 8);
  EXPECT_EQ(image.GetWidth(), 3);
  EXPECT_EQ(image.GetHeight(), 2);
  RGBQUAD t[4];
  ASSERT_TRUE(image.GetColorTable(0, 4, t));
  EXPECT_TRUE(SameQuad(t[0], Quad(0, 0, 255)));
  EXPECT_TRUE(SameQuad(t[1], Quad(0, 255, 0)));
  EXPECT_TRUE(SameQuad(t[2], Quad(255, 0, 0)));
  EXPECT_TRUE(SameQuad(t[3], Quad(128, 128, 128)));
  const BYTE* top = static_cast<const BYTE*>(image.GetBits());
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(top[1], 1);
  EXPECT_EQ(top[2], 2);
  EXPECT_EQ(image.GetPixel(0, 1), RGB(128, 128, 128));
  EXPECT_EQ(image.GetPixel(2, 0), RGB(255, 0, 0));

  // Saved again: still 8 bits with the whole 256-entry table.
  ASSERT_EQ(image.Save(folder.File(L"again.bmp").c_str()), S_OK);
  std::vector<uint8_t> saved = folder.ReadFile(L"again.bmp");
  ASSERT_EQ(saved.size(), 14u + 40u + 1024u + 8u);
  EXPECT_TRUE(velktest::BytesEqual(saved.data(), 14, velktest::ParseHex(
      "42 4D 3E 04 00 00 00 00 00 00 36 04 00 00")));
  EXPECT_EQ(saved[28], 8);                                           // bits per pixel
  EXPECT_TRUE(velktest::BytesEqual(saved.data() + 54, 16, velktest::ParseHex(
      "FF 00 00 00 00 FF 00 00 00 00 FF 00 80 80 80 00")));
  EXPECT_TRUE(velktest::BytesEqual(saved.data() + 54 + 1024, 8, velktest::ParseHex(
      "03 02 01 00 00 01 02 00")));
  CKestImage back;
  ASSERT_EQ(back.Load(folder.File(L"again.bmp").c_str()), S_OK);
  EXPECT_EQ(back.GetBPP(), 8);
  EXPECT_EQ(back.GetPixel(1, 1), RGB(255, 0, 0));
}

TEST(KestImage, LowDepthBmpRoundTripKeepsIndicesAndTable) {
  for (int bpp : {1, 4}) {
    SCOPED_TRACE(bpp);
    TempFolder folder;
    CKestImage image;
    ASSERT_TRUE(image.Create(11, 3, bpp));
    RGBQUAD table[2] = {Quad(20, 40, 60), Quad(220, 200, 180)};
    ASSERT_TRUE(image.SetColorTable(0, 2, table));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 11; ++x) ASSERT_TRUE(image.SetPixelIndexed(x, y, (x * 7 + y) % 3 % 2));
    ASSERT_EQ(image.Save(folder.File(L"low.dib").c_str()), S_OK);
    CKestImage back;
    ASSERT_EQ(back.Load(folder.File(L"low.dib").c_str()), S_OK);
    ASSERT_EQ(back.GetBPP(), bpp);
    RGBQUAD t[2];
    ASSERT_TRUE(back.GetColorTable(0, 2, t));
    EXPECT_TRUE(SameQuad(t[0], table[0]));
    EXPECT_TRUE(SameQuad(t[1], table[1]));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 11; ++x) EXPECT_EQ(back.GetPixel(x, y), image.GetPixel(x, y));
  }
}

TEST(KestImage, PngRgbLoadsExactly) {
  TempFolder folder;
  std::vector<uint8_t> png = MakePng(3, 2, 2, {{255, 0, 0, 0, 255, 0, 0, 0, 255},
                                               {1, 2, 3, 250, 251, 252, 128, 64, 32}});
  ASSERT_TRUE(folder.WriteFile(L"rgb.png", png.data(), png.size()));
  CKestImage image;
  ASSERT_EQ(image.Load(folder.File(L"rgb.png").c_str()), S_OK);
  EXPECT_EQ(image.GetWidth(), 3);
  EXPECT_EQ(image.GetHeight(), 2);
  EXPECT_EQ(image.GetBPP(), 24);
  EXPECT_FALSE(image.HasAlphaChannel());
  EXPECT_EQ(image.GetPixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(image.GetPixel(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(image.GetPixel(0, 1), RGB(1, 2, 3));
  EXPECT_EQ(image.GetPixel(2, 1), RGB(128, 64, 32));
}

TEST(KestImage, PngWithAlphaIsPremultiplied) {
  std::vector<uint8_t> png = MakePng(2, 1, 6, {{200, 100, 50, 128, 10, 20, 30, 255}});
  CKestImage image;
  ASSERT_EQ(image.LoadFromMemory(png.data(), png.size()), S_OK);
  EXPECT_EQ(image.GetBPP(), 32);
  EXPECT_TRUE(image.HasAlphaChannel());
  EXPECT_TRUE(ColourNear(image.GetPixel(0, 0), RGB(100, 50, 25), 1));
  EXPECT_EQ(image.GetPixel(1, 0), RGB(10, 20, 30));
  const BYTE* bits = static_cast<const BYTE*>(image.GetBits());
  EXPECT_EQ(bits[3], 128);
  EXPECT_EQ(bits[7], 255);
}

TEST(KestImage, PalettePngKeepsItsTable) {
  std::vector<uint8_t> png =
      MakePng(4, 1, 3, {{0, 1, 2, 1}}, {255, 255, 255, 200, 0, 0, 0, 0, 200});
  CKestImage image;
  ASSERT_EQ(image.LoadFromMemory(png.data(), png.size()), S_OK);
  ASSERT_TRUE(image.IsIndexed());
  EXPECT_EQ(image.GetBPP(), 8);
  RGBQUAD t[3];
  ASSERT_TRUE(image.GetColorTable(0, 3, t));
  EXPECT_TRUE(SameQuad(t[0], Quad(255, 255, 255)));
  EXPECT_TRUE(SameQuad(t[1], Quad(200, 0, 0)));
  EXPECT_TRUE(SameQuad(t[2], Quad(0, 0, 200)));
  EXPECT_EQ(image.GetTransparentColor(), -1);
  const BYTE* bits = static_cast<const BYTE*>(image.GetBits());
  EXPECT_EQ(bits[2], 2);
  EXPECT_EQ(bits[3], 1);
}

TEST(KestImage, PalettePngTransparencyIsDrawnTransparent) {
  // Entry 1 fully transparent. Decoders give either an indexed picture with
  // a transparent index or 32 bits with alpha; both draw the same.
  std::vector<uint8_t> png =
      MakePng(4, 1, 3, {{0, 1, 2, 1}}, {255, 255, 255, 200, 0, 0, 0, 0, 200}, {255, 0});
  CKestImage image;
  ASSERT_EQ(image.LoadFromMemory(png.data(), png.size()), S_OK);
  EXPECT_TRUE(image.GetTransparentColor() == 1 || image.HasAlphaChannel());
  CKestImage canvas;
  MakeCanvas(canvas, 4, 1, RGB(0, 128, 0));
  EXPECT_TRUE(image.Draw(canvas.GetDC(), 0, 0));
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.GetPixel(1, 0), RGB(0, 128, 0));
  EXPECT_EQ(canvas.GetPixel(2, 0), RGB(0, 0, 200));
  EXPECT_EQ(canvas.GetPixel(3, 0), RGB(0, 128, 0));
}

TEST(KestImage, PngSaveRoundTrips) {
  TempFolder folder;
  CKestImage rgb;
  ASSERT_TRUE(rgb.Create(6, 4, 24));
  FillPattern24(rgb);
  ASSERT_EQ(rgb.Save(folder.File(L"p.png").c_str()), S_OK);
  std::vector<uint8_t> head = folder.ReadFile(L"p.png");
  ASSERT_GE(head.size(), 8u);
  EXPECT_TRUE(velktest::BytesEqual(head.data(), 8, velktest::ParseHex("89 50 4E 47 0D 0A 1A 0A")));
  CKestImage back;
  ASSERT_EQ(back.Load(folder.File(L"p.png").c_str()), S_OK);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(back.GetPixel(x, y), rgb.GetPixel(x, y));

  CKestImage alpha;
  ASSERT_TRUE(alpha.Create(2, 1, 32, CKestImage::createAlphaChannel));
  BYTE* p = static_cast<BYTE*>(alpha.GetBits());
  const BYTE pixels[8] = {25, 50, 100, 128, 30, 20, 10, 255};  // premultiplied BGRA
  std::memcpy(p, pixels, 8);
  ASSERT_EQ(alpha.Save(folder.File(L"a.png").c_str()), S_OK);
  CKestImage alphaBack;
  ASSERT_EQ(alphaBack.Load(folder.File(L"a.png").c_str()), S_OK);
  EXPECT_TRUE(alphaBack.HasAlphaChannel());
  const BYTE* q = static_cast<const BYTE*>(alphaBack.GetBits());
  EXPECT_EQ(q[3], 128);
  EXPECT_TRUE(ColourNear(alphaBack.GetPixel(0, 0), RGB(100, 50, 25), 1));
  EXPECT_EQ(alphaBack.GetPixel(1, 0), RGB(10, 20, 30));
}

TEST(KestImage, GifAndTiffRoundTripAnIndexedPicture) {
  TempFolder folder;
  CKestImage image;
  ASSERT_TRUE(image.Create(5, 4, 8));
  RGBQUAD table[256] = {};
  table[1] = Quad(250, 0, 0);
  table[2] = Quad(0, 0, 250);
  table[3] = Quad(20, 200, 20);
  ASSERT_TRUE(image.SetColorTable(0, 256, table));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) image.SetPixelIndexed(x, y, (x + 2 * y) % 4);
  for (const wchar_t* name : {L"i.gif", L"i.tif", L"i.tiff"}) {
    SCOPED_TRACE(Narrow(name));
    ASSERT_EQ(image.Save(folder.File(name).c_str()), S_OK);
    CKestImage back;
    ASSERT_EQ(back.Load(folder.File(name).c_str()), S_OK);
    EXPECT_EQ(back.GetWidth(), 5);
    EXPECT_EQ(back.GetHeight(), 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(back.GetPixel(x, y), image.GetPixel(x, y)) << x << "," << y;
  }
}

TEST(KestImage, JpegRoundTripIsClose) {
  TempFolder folder;
  const COLORREF quadrants[4] = {RGB(220, 30, 30), RGB(30, 200, 40), RGB(40, 60, 210),
                                 RGB(240, 240, 240)};
  CKestImage image;
  ASSERT_TRUE(image.Create(32, 32, 24));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) image.SetPixel(x, y, quadrants[(y / 16) * 2 + x / 16]);
  for (const wchar_t* name : {L"q.jpg", L"q.JPEG"}) {
    SCOPED_TRACE(Narrow(name));
    ASSERT_EQ(image.Save(folder.File(name).c_str()), S_OK);
    std::vector<uint8_t> bytes = folder.ReadFile(name);
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_TRUE(velktest::BytesEqual(bytes.data(), 3, velktest::ParseHex("FF D8 FF")));
    CKestImage back;
    ASSERT_EQ(back.Load(folder.File(name).c_str()), S_OK);
    EXPECT_EQ(back.GetWidth(), 32);
    EXPECT_EQ(back.GetHeight(), 32);
    EXPECT_EQ(back.GetBPP(), 24);
    for (int q = 0; q < 4; ++q) {
      int x = (q % 2) * 16, y = (q / 2) * 16;
      EXPECT_TRUE(ColourNear(back.GetPixel(x + 4, y + 4), quadrants[q], 12)) << q;
      EXPECT_TRUE(ColourNear(back.GetPixel(x + 11, y + 11), quadrants[q], 12)) << q;
    }
  }
}

TEST(KestImage, JpegOfIndexedAndAlphaPictures) {
  TempFolder folder;
  CKestImage indexed;
  ASSERT_TRUE(indexed.Create(16, 16, 8));
  RGBQUAD orange = Quad(250, 140, 20);
  ASSERT_TRUE(indexed.SetColorTable(7, 1, &orange));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) indexed.SetPixelIndexed(x, y, 7);
  ASSERT_EQ(indexed.Save(folder.File(L"i.jpg").c_str()), S_OK);
  CKestImage back;
  ASSERT_EQ(back.Load(folder.File(L"i.jpg").c_str()), S_OK);
  EXPECT_TRUE(ColourNear(back.GetPixel(8, 8), RGB(250, 140, 20), 10));

  // No transparency in JPEG: fully transparent pixels come out white.
  CKestImage clear;
  ASSERT_TRUE(clear.Create(16, 16, 32, CKestImage::createAlphaChannel));
  ASSERT_EQ(clear.Save(folder.File(L"c.jpg").c_str()), S_OK);
  ASSERT_EQ(back.Load(folder.File(L"c.jpg").c_str()), S_OK);
  EXPECT_TRUE(ColourNear(back.GetPixel(8, 8), RGB(255, 255, 255), 4));
}

TEST(KestImage, SaveFailures) {
  TempFolder folder;
  CKestImage image;
  EXPECT_EQ(image.Save(folder.File(L"empty.bmp").c_str()), E_INVALIDARG);
  ASSERT_TRUE(image.Create(4, 4, 24));
  for (const wchar_t* name : {L"picture.xyz", L"picture", L"folder.jpg\\picture", L"picture.bmp."}) {
    EXPECT_EQ(image.Save(folder.File(name).c_str()), E_INVALIDARG);
    EXPECT_EQ(GetFileAttributesW(folder.File(name).c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(image.Save(nullptr), E_INVALIDARG);
  EXPECT_TRUE(FAILED(image.Save(folder.File(L"no such folder\\p.bmp").c_str())));
  EXPECT_TRUE(FAILED(image.Save(folder.File(L"no such folder\\p.jpg").c_str())));
}

TEST(KestImage, LoadFailuresKeepThePicture) {
  TempFolder folder;
  std::vector<uint8_t> png = MakePng(1, 1, 2, {{1, 2, 3}});
  std::vector<uint8_t> truncated(png.begin(), png.begin() + 40);
  std::vector<uint8_t> corrupt = png;
  corrupt[45] ^= 0xFF;  // inside the pixel data: the checksums no longer match
  const std::string text = "this is no picture at all, just some words";
  ASSERT_TRUE(folder.WriteFile(L"text.png", text));
  ASSERT_TRUE(folder.WriteFile(L"truncated.png", truncated.data(), truncated.size()));
  ASSERT_TRUE(folder.WriteFile(L"empty.bmp", "", 0));
  ASSERT_TRUE(folder.WriteFile(L"half.bmp", velktest::ParseHex(kIndexedBmp).data(), 30));

  CKestImage image;
  ASSERT_TRUE(image.Create(3, 3, 24));
  image.SetPixel(2, 2, RGB(7, 7, 7));
  auto unchanged = [&image] {
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetBPP(), 24);
    EXPECT_EQ(image.GetPixel(2, 2), RGB(7, 7, 7));
  };

  EXPECT_EQ(image.Load(folder.File(L"missing.png").c_str()),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  unchanged();
  EXPECT_EQ(image.Load(folder.File(L"nowhere\\missing.png").c_str()),
            HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  unchanged();
  for (const wchar_t* name : {L"text.png", L"truncated.png", L"empty.bmp", L"half.bmp"}) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_TRUE(FAILED(image.Load(folder.File(name).c_str())));
    unchanged();
  }
  EXPECT_TRUE(FAILED(image.LoadFromMemory(corrupt.data(), corrupt.size())));
  unchanged();
  EXPECT_EQ(image.LoadFromMemory(nullptr, 10), E_INVALIDARG);
  EXPECT_EQ(image.Load(nullptr), E_INVALIDARG);
  EXPECT_EQ(image.Load(L""), E_INVALIDARG);
  unchanged();
}

TEST(KestImage, RefusedMemoryFailsLoadAndSaveAndKeepsThePicture) {
  TempFolder folder;
  CKestImage image;
  ASSERT_TRUE(image.Create(4, 4, 24));
  image.SetPixel(1, 1, RGB(7, 7, 7));
  ASSERT_EQ(image.Save(folder.File(L"kept.bmp").c_str()), S_OK);
  {
    // The file's bytes come from the foundation's buffers: a refusal is an
    // answer, and no file is left behind.
    CBufferFailureScope refuse(0);
    EXPECT_EQ(image.Save(folder.File(L"refused.bmp").c_str()), E_OUTOFMEMORY);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"refused.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    CKestImage other;
    ASSERT_TRUE(other.Create(2, 2, 24));
    EXPECT_EQ(other.Load(folder.File(L"kept.bmp").c_str()), E_OUTOFMEMORY);
    EXPECT_EQ(other.GetWidth(), 2);
    EXPECT_GT(refuse.GetRefusals(), 0);
  }
  CKestImage back;
  ASSERT_EQ(back.Load(folder.File(L"kept.bmp").c_str()), S_OK);
  EXPECT_EQ(back.GetPixel(1, 1), RGB(7, 7, 7));
}

// ---- drawing

TEST(KestImage, DrawCopiesAtNaturalSizeAndStretchesWithHalftone) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 2, 24));
  image.SetPixel(0, 0, RGB(255, 0, 0));
  image.SetPixel(1, 0, RGB(0, 255, 0));
  image.SetPixel(0, 1, RGB(0, 0, 255));
  image.SetPixel(1, 1, RGB(255, 255, 0));

  CKestImage canvas;
  MakeCanvas(canvas, 12, 12, RGB(255, 255, 255));
  HDC dc = canvas.GetDC();
  SetStretchBltMode(dc, COLORONCOLOR);
  EXPECT_TRUE(image.Draw(dc, 9, 1));
  EXPECT_TRUE(image.Draw(dc, 0, 4, 8, 8));  // stretched four times
  EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);  // given back
  canvas.ReleaseDC();

  EXPECT_EQ(canvas.GetPixel(9, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.GetPixel(10, 2), RGB(255, 255, 0));
  EXPECT_EQ(canvas.GetPixel(11, 1), RGB(255, 255, 255));
  EXPECT_EQ(canvas.GetPixel(8, 1), RGB(255, 255, 255));
  EXPECT_TRUE(ColourNear(canvas.GetPixel(0, 4), RGB(255, 0, 0), 8));
  EXPECT_TRUE(ColourNear(canvas.GetPixel(7, 4), RGB(0, 255, 0), 8));
  EXPECT_TRUE(ColourNear(canvas.GetPixel(0, 11), RGB(0, 0, 255), 8));
  EXPECT_TRUE(ColourNear(canvas.GetPixel(7, 11), RGB(255, 255, 0), 8));
  EXPECT_EQ(canvas.GetPixel(8, 8), RGB(255, 255, 255));  // nothing beyond the rectangle
  EXPECT_EQ(canvas.GetPixel(3, 3), RGB(255, 255, 255));
}

TEST(KestImage, DrawTakesASourceRectangle) {
  // A strip of four frames 2 x 2 each, as speed buttons keep them.
  const COLORREF frames[4] = {RGB(10, 10, 10), RGB(90, 90, 90), RGB(170, 20, 20), RGB(20, 170, 20)};
  CKestImage strip;
  ASSERT_TRUE(strip.Create(8, 2, 24));
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 2; ++y) strip.SetPixel(x, y, frames[x / 2]);
  CKestImage canvas;
  MakeCanvas(canvas, 6, 6, RGB(255, 255, 255));
  HDC dc = canvas.GetDC();
  RECT dest = {1, 1, 3, 3}, src = {4, 0, 6, 2};
  EXPECT_TRUE(strip.Draw(dc, dest, src));
  EXPECT_TRUE(strip.Draw(dc, 3, 3, 2, 2, 6, 0, 2, 2));
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(1, 1), frames[2]);
  EXPECT_EQ(canvas.GetPixel(2, 2), frames[2]);
  EXPECT_EQ(canvas.GetPixel(3, 3), frames[3]);
  EXPECT_EQ(canvas.GetPixel(4, 4), frames[3]);
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.GetPixel(5, 5), RGB(255, 255, 255));
}

TEST(KestImage, BitBltAndStretchBltWithRasterOperations) {
  CKestImage image;
  ASSERT_TRUE(image.Create(1, 1, 24));
  image.SetPixel(0, 0, RGB(0x0F, 0xF0, 0x33));
  CKestImage canvas;
  MakeCanvas(canvas, 4, 4, RGB(0xFF, 0x00, 0x11));
  HDC dc = canvas.GetDC();
  EXPECT_TRUE(image.BitBlt(dc, 0, 0, SRCPAINT));
  EXPECT_TRUE(image.StretchBlt(dc, 2, 2, 2, 2));
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(0xFF, 0xF0, 0x33));
  EXPECT_EQ(canvas.GetPixel(3, 3), RGB(0x0F, 0xF0, 0x33));
  EXPECT_EQ(canvas.GetPixel(1, 1), RGB(0xFF, 0x00, 0x11));
}

TEST(KestImage, AlphaBlendWithConstantAlpha) {
  CKestImage red;
  ASSERT_TRUE(red.Create(2, 2, 24));
  for (int i = 0; i < 4; ++i) red.SetPixel(i % 2, i / 2, RGB(255, 0, 0));
  CKestImage canvas;
  MakeCanvas(canvas, 4, 2, RGB(255, 255, 255));
  HDC dc = canvas.GetDC();
  EXPECT_TRUE(red.AlphaBlend(dc, 0, 0, 255));
  EXPECT_TRUE(red.AlphaBlend(dc, 2, 0, 64));
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(1, 1), RGB(255, 0, 0));
  // 64/255 red over white.
  EXPECT_TRUE(ColourNear(canvas.GetPixel(3, 1), RGB(255, 191, 191), 2));
}

TEST(KestImage, PictureAlphaIsHonouredByDrawAndAlphaBlend) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 1, 32, CKestImage::createAlphaChannel));
  const BYTE pixels[8] = {128, 0, 0, 128, 0, 0, 0, 0};  // half blue, fully clear
  std::memcpy(image.GetBits(), pixels, 8);
  CKestImage canvas;
  MakeCanvas(canvas, 4, 1, RGB(255, 255, 255));
  HDC dc = canvas.GetDC();
  EXPECT_TRUE(image.Draw(dc, 0, 0));
  EXPECT_TRUE(image.AlphaBlend(dc, 2, 0, 128));
  canvas.ReleaseDC();
  EXPECT_TRUE(ColourNear(canvas.GetPixel(0, 0), RGB(127, 127, 255), 2));
  EXPECT_EQ(canvas.GetPixel(1, 0), RGB(255, 255, 255));
  EXPECT_TRUE(ColourNear(canvas.GetPixel(2, 0), RGB(191, 191, 255), 2));
  EXPECT_EQ(canvas.GetPixel(3, 0), RGB(255, 255, 255));
}

TEST(KestImage, TransparentIndexMakesDrawLeaveThatColourOut) {
  CKestImage image;
  ASSERT_TRUE(image.Create(3, 1, 8));
  RGBQUAD table[3] = {Quad(255, 0, 255), Quad(0, 0, 0), Quad(200, 100, 0)};
  ASSERT_TRUE(image.SetColorTable(0, 3, table));
  image.SetPixelIndexed(0, 0, 0);
  image.SetPixelIndexed(1, 0, 1);
  image.SetPixelIndexed(2, 0, 2);

  EXPECT_EQ(image.SetTransparentColor(0), -1);
  EXPECT_EQ(image.GetTransparentColor(), 0);
  EXPECT_EQ(image.SetTransparentColor(256), 0);  // refused
  EXPECT_EQ(image.SetTransparentColor(-5), 0);   // refused
  EXPECT_EQ(image.GetTransparentColor(), 0);

  CKestImage canvas;
  MakeCanvas(canvas, 9, 2, RGB(0, 128, 0));
  HDC dc = canvas.GetDC();
  EXPECT_TRUE(image.Draw(dc, 0, 0));
  EXPECT_TRUE(image.Draw(dc, 3, 0, 6, 2));  // stretched too
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(0, 128, 0));
  EXPECT_EQ(canvas.GetPixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.GetPixel(2, 0), RGB(200, 100, 0));
  EXPECT_EQ(canvas.GetPixel(3, 1), RGB(0, 128, 0));
  EXPECT_EQ(canvas.GetPixel(4, 1), RGB(0, 128, 0));
  EXPECT_EQ(canvas.GetPixel(5, 1), RGB(0, 0, 0));
  EXPECT_EQ(canvas.GetPixel(8, 1), RGB(200, 100, 0));

  EXPECT_EQ(image.SetTransparentColor(-1), 0);
  canvas.GetDC();
  EXPECT_TRUE(image.Draw(canvas.GetDC(), 0, 0));
  canvas.ReleaseDC();
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(255, 0, 255));

  CKestImage rgb;
  ASSERT_TRUE(rgb.Create(1, 1, 24));
  EXPECT_EQ(rgb.SetTransparentColor(0), -1);
  EXPECT_EQ(rgb.GetTransparentColor(), -1);
}

TEST(KestImage, TransparentBltWithAGivenColour) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 1, 24));
  image.SetPixel(0, 0, RGB(1, 2, 3));
  image.SetPixel(1, 0, RGB(40, 50, 60));
  CKestImage canvas;
  MakeCanvas(canvas, 2, 1, RGB(255, 255, 255));
  HDC dc = canvas.GetDC();
  EXPECT_FALSE(image.TransparentBlt(dc, 0, 0, 2, 1));  // no transparent index to use
  EXPECT_TRUE(image.TransparentBlt(dc, 0, 0, 2, 1, RGB(1, 2, 3)));
  canvas.ReleaseDC();
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.GetPixel(1, 0), RGB(40, 50, 60));
}

TEST(KestImage, DrawingAnEmptyPictureFails) {
  CKestImage empty, canvas;
  MakeCanvas(canvas, 2, 2, RGB(1, 1, 1));
  HDC dc = canvas.GetDC();
  EXPECT_FALSE(empty.Draw(dc, 0, 0));
  EXPECT_FALSE(empty.BitBlt(dc, 0, 0));
  EXPECT_FALSE(empty.AlphaBlend(dc, 0, 0, 128));
  EXPECT_FALSE(empty.TransparentBlt(dc, 0, 0, 1, 1, RGB(0, 0, 0)));
  canvas.ReleaseDC();
  EXPECT_FALSE(canvas.Draw(nullptr, 0, 0));
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(1, 1, 1));
}

// ---- resources (tests/kestui/image_test.rc, pictures by make_test_images.py)

TEST(KestImage, LoadsIndexedBitmapResource) {
  CKestImage image;
  ASSERT_EQ(image.LoadFromResource(nullptr, 101), S_OK);
  EXPECT_EQ(image.GetWidth(), 4);
  EXPECT_EQ(image.GetHeight(), 3);
  EXPECT_EQ(image.GetBPP(), 8);
  RGBQUAD t[4];
  ASSERT_TRUE(image.GetColorTable(0, 4, t));
  EXPECT_TRUE(SameQuad(t[0], Quad(255, 0, 255)));
  EXPECT_TRUE(SameQuad(t[3], Quad(0, 128, 255)));
  EXPECT_EQ(image.GetPixel(0, 0), RGB(255, 0, 255));
  EXPECT_EQ(image.GetPixel(3, 0), RGB(0, 128, 255));
  EXPECT_EQ(image.GetPixel(1, 1), RGB(200, 150, 100));
  EXPECT_EQ(image.GetPixel(3, 2), RGB(200, 150, 100));
  EXPECT_EQ(static_cast<const BYTE*>(image.GetBits())[image.GetPitch() * 1 + 0], 3);
}

TEST(KestImage, LoadsRgbAndAlphaBitmapResources) {
  CKestImage rgb;
  ASSERT_EQ(rgb.LoadFromResource(GetModuleHandleW(nullptr), 102), S_OK);
  EXPECT_EQ(rgb.GetBPP(), 24);
  EXPECT_EQ(rgb.GetWidth(), 3);
  EXPECT_EQ(rgb.GetPixel(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(rgb.GetPixel(2, 1), RGB(128, 64, 32));
  EXPECT_FALSE(rgb.HasAlphaChannel());

  CKestImage alpha;
  ASSERT_EQ(alpha.LoadFromResource(nullptr, MAKEINTRESOURCEW(103)), S_OK);
  EXPECT_EQ(alpha.GetBPP(), 32);
  EXPECT_TRUE(alpha.HasAlphaChannel());
  EXPECT_EQ(alpha.GetPixel(0, 0), RGB(255, 0, 0));
  EXPECT_TRUE(ColourNear(alpha.GetPixel(1, 0), RGB(0, 0, 100), 1));  // premultiplied
}

TEST(KestImage, LoadsPngFromRcdataResource) {
  CKestImage image;
  ASSERT_EQ(image.LoadFromResource(nullptr, 104), S_OK);
  EXPECT_EQ(image.GetWidth(), 2);
  EXPECT_EQ(image.GetHeight(), 2);
  EXPECT_EQ(image.GetBPP(), 32);
  EXPECT_TRUE(image.HasAlphaChannel());
  EXPECT_EQ(image.GetPixel(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(image.GetPixel(0, 1), RGB(0, 0, 255));
  EXPECT_EQ(image.GetPixel(1, 1), RGB(0, 0, 0));  // clear pixel
}

TEST(KestImage, MissingResourceFailsAndKeepsThePicture) {
  CKestImage image;
  ASSERT_TRUE(image.Create(2, 2, 8));
  EXPECT_EQ(image.LoadFromResource(nullptr, 999), HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(image.LoadFromResource(nullptr, static_cast<const wchar_t*>(nullptr)), E_INVALIDARG);
  EXPECT_EQ(image.GetBPP(), 8);
  EXPECT_EQ(image.GetWidth(), 2);
}

TEST(KestResources, FrameworkCursorsAreLinkedIn) {
  struct { int id; POINT hotspot; } cursors[] = {
      {IDCUR_KEST_CUT_LINK, {1, 1}}, {IDCUR_KEST_LINK_CUT, {1, 1}},  {IDCUR_KEST_MOVE, {15, 15}},
      {IDCUR_KEST_HAND, {11, 1}},    {IDCUR_KEST_SPLIT_NS, {15, 15}}, {IDCUR_KEST_SPLIT_WE, {15, 15}}};
  for (const auto& c : cursors) {
    SCOPED_TRACE(c.id);
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(c.id), IMAGE_CURSOR, 0, 0,
                                                     LR_DEFAULTSIZE));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(static_cast<LONG>(info.xHotspot), c.hotspot.x);
    EXPECT_EQ(static_cast<LONG>(info.yHotspot), c.hotspot.y);
    BITMAP mask = {};
    ASSERT_NE(GetObjectW(info.hbmMask, sizeof mask, &mask), 0);
    EXPECT_EQ(mask.bmWidth, 32);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DestroyCursor(cursor);
  }
}

}  // namespace
