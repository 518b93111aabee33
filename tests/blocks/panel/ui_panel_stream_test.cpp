// The item set, the "vkUI" stream with its preview, and the clipboard.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "blocks/panel/ui_panel.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_canvas.h"
#include "panel_fixture.h"
#include "support/test_support.h"

using namespace paneltest;
using velktest::BytesEqual;
using velktest::ParseHex;

namespace {

typedef std::vector<std::wstring> Order;

// "screen.png" beside the test program while it lives (made from the
// given BGRA rows, or absent); the shipped picture, set aside meanwhile,
// comes back afterwards.
class ScreenPicture {
public:
  ScreenPicture() { SetShippedAside(); }
  // 32 bits a pixel with alpha (pixels blue, green, red, alpha), or 24
  // (blue, green, red).
  ScreenPicture(int width, int height, const std::vector<uint8_t>& pixels, int bpp = 32) {
    SetShippedAside();
    CKestImage image;
    int size = bpp / 8;
    made_ = image.Create(width, height, bpp, bpp == 32 ? static_cast<DWORD>(CKestImage::createAlphaChannel) : 0u);
    for (int y = 0; made_ && y < height; ++y)
      memcpy(image.GetPixelAddress(0, y), &pixels[size * width * y], size * width);
    made_ = made_ && SUCCEEDED(image.Save(Path().c_str()));
  }
  ~ScreenPicture() {
    DeleteFileW(Path().c_str());
    if (setAside_) MoveFileExW(AsidePath().c_str(), Path().c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  bool Made() const { return made_; }
  static std::wstring Path() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe(path, n);
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"screen.png";
  }

private:
  static std::wstring AsidePath() { return Path() + L".aside"; }
  void SetShippedAside() {
    setAside_ = MoveFileExW(Path().c_str(), AsidePath().c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    DeleteFileW(Path().c_str());
  }

  bool made_ = false;
  bool setAside_ = false;
};

CMemoryStream* StreamOf(const std::vector<uint8_t>& bytes, CMemoryStream* stream) {
  stream->Write(bytes.data(), static_cast<int>(bytes.size()));
  stream->Seek(0, 0);
  return stream;
}

// A plain item "A" with hint "h" at (10, 20), 104 x 28, then a block item
// without name or hint at (-1, 0), 1 x 2.
const char kTwoItems[] =
    "02 00 00 00\n"
    "1F 04 40 04 3E 04 31 04 30 04 00 00   // \"Проба\"\n"
    "41 00 00 00  68 00 00 00              // \"A\", \"h\"\n"
    "0A 00 00 00 14 00 00 00 68 00 00 00 1C 00 00 00\n"
    "11 04 3B 04 3E 04 3A 04 00 00         // \"Блок\"\n"
    "00 00  00 00\n"
    "FF FF FF FF 00 00 00 00 01 00 00 00 02 00 00 00\n";
const int kFirstItemEnd = 44;   // offsets in the panel stream
const int kSecondItemEnd = 74;

std::vector<uint8_t> PanelStream(const char* previewHex) {
  std::string hex = std::string("76 6B 55 49\n") + kTwoItems + previewHex;
  return ParseHex(hex.c_str());
}

}  // namespace

class PanelStreamTest : public PanelTest {
protected:
  void Fill(UiPanel* panel) {
    ProbeItem* a = AddPlain(panel, L"A", 10, 20, 104, 28);
    a->hint = AppendString(nullptr, L"h");
    CVelkUIControl* b = CreatePanelItem(panel, blockRow);
    b->x = -1;
    b->y = 0;
    b->width = 1;
    b->height = 2;
  }
};

TEST_F(PanelStreamTest, WithoutTheDevicePictureTheStreamEndsWithAnEmptyPreview) {
  ScreenPicture none;
  UiPanel panel(&probe.scheme);
  Fill(&panel);
  CMemoryStream stream;
  panel.Save(&stream);
  EXPECT_TRUE(BytesEqual(stream.data, stream.size, PanelStream("00 00 00 00 00 00 00 00")));
  ASSERT_EQ(1u, host.texts.size());
  EXPECT_EQ(L"Невозможно загрузить файл screen.png!", host.texts[0]);
  EXPECT_EQ(L"Ошибка", host.captions[0]);
  EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), host.flags[0] & MB_ICONMASK);

  // And it reads back, up to its last byte.
  UiPanel back(&probe.scheme);
  stream.Seek(0, 0);
  ASSERT_TRUE(back.Load(&stream));
  EXPECT_EQ(stream.size, stream.GetPosition());
  ASSERT_EQ(2, back.ItemCount());
  CVelkUIControl* a = back.items;
  CVelkUIControl* b = a->next;
  EXPECT_EQ(PanelItemKindAt(plainRow)->name, a->kindName);
  EXPECT_STREQ(L"A", a->name);
  EXPECT_STREQ(L"h", a->hint);
  EXPECT_EQ(10, a->x);
  EXPECT_EQ(20, a->y);
  EXPECT_EQ(PanelItemKindAt(blockRow)->name, b->kindName);
  EXPECT_EQ(nullptr, b->name);
  EXPECT_EQ(-1, b->x);
  EXPECT_EQ(2, b->height);
  // Loading neither selects nor makes blocks.
  EXPECT_EQ(0, a->selected + b->selected);
  EXPECT_EQ(nullptr, b->block);
  EXPECT_EQ(0, probe.scheme.GetBlockCount());
}

TEST_F(PanelStreamTest, TheDevicePictureIsWrittenRedFirstWithItsAlpha) {
  ScreenPicture picture(2, 2, ParseHex("10 20 30 FF 40 50 60 FF  70 80 90 FF A0 B0 C0 FF"));
  ASSERT_TRUE(picture.Made());
  UiPanel panel(&probe.scheme);
  Fill(&panel);
  CMemoryStream stream;
  panel.Save(&stream);
  // The panel lies beyond a 2 x 2 picture: its pixels stay as they were.
  EXPECT_TRUE(BytesEqual(stream.data, stream.size,
                         PanelStream("02 00 00 00 02 00 00 00\n"
                                     "30 20 10 FF 60 50 40 FF 90 80 70 FF C0 B0 A0 FF")));
  EXPECT_TRUE(host.texts.empty());
  UiPanel back(&probe.scheme);
  stream.Seek(0, 0);
  ASSERT_TRUE(back.Load(&stream));
  EXPECT_EQ(stream.size, stream.GetPosition());
  EXPECT_EQ(2, back.ItemCount());
}

TEST_F(PanelStreamTest, ADevicePictureWithoutAlphaIsWrittenOpaque) {
  ScreenPicture picture(2, 1, ParseHex("10 20 30  40 50 60"), 24);
  ASSERT_TRUE(picture.Made());
  UiPanel panel(&probe.scheme);
  CMemoryStream stream;
  panel.Save(&stream);
  EXPECT_TRUE(BytesEqual(stream.data, stream.size,
                         ParseHex("76 6B 55 49 00 00 00 00  02 00 00 00 01 00 00 00\n"
                                  "30 20 10 FF 60 50 40 FF")));
}

TEST_F(PanelStreamTest, ThePreviewShowsTheItemBackgroundsInsideTheDevicePicture) {
  const int w = 520, h = 260;
  std::vector<uint8_t> bgra(4 * w * h);
  for (int i = 0; i < w * h; ++i) {
    bgra[4 * i] = 0x11;
    bgra[4 * i + 1] = 0x22;
    bgra[4 * i + 2] = 0x33;
    bgra[4 * i + 3] = 0xFF;
  }
  // A half-transparent corner, held premultiplied: straight it is 10 20 40.
  bgra[0] = 0x20;
  bgra[1] = 0x10;
  bgra[2] = 0x08;
  bgra[3] = 0x80;
  ScreenPicture picture(w, h, bgra);
  ASSERT_TRUE(picture.Made());
  UiPanel panel(&probe.scheme);
  AddPlain(&panel, L"левая половина", 0, 0, 384, 434);  // red background
  CMemoryStream stream;
  panel.Save(&stream);
  // magic, count, kind, name, hint, four numbers
  int header = 4 + 4 + 12 + 2 * 15 + 2 + 16;
  ASSERT_EQ(header + 8 + 4 * w * h, stream.size);
  const uint8_t* pixels = stream.data + header + 8;
  auto pixel = [&](int x, int y) {
    const uint8_t* p = pixels + 4 * (y * w + x);
    return std::vector<uint8_t>(p, p + 4);
  };
  auto close = [](const std::vector<uint8_t>& got, std::vector<uint8_t> want) {
    for (int i = 0; i < 4; ++i)
      if (abs(got[i] - want[i]) > 8) return false;
    return true;
  };
  // The half-transparent corner as in the file (not premultiplied).
  std::vector<uint8_t> corner = pixel(0, 0);
  EXPECT_NEAR(0x10, corner[0], 1);
  EXPECT_NEAR(0x20, corner[1], 1);
  EXPECT_NEAR(0x40, corner[2], 1);
  EXPECT_EQ(0x80, corner[3]);
  EXPECT_EQ((std::vector<uint8_t>{0x33, 0x22, 0x11, 0xFF}), pixel(5, 5));       // outside
  EXPECT_EQ((std::vector<uint8_t>{0x33, 0x22, 0x11, 0xFF}), pixel(500, 250));   // outside
  EXPECT_TRUE(close(pixel(24 + 60, 28 + 100), {0xFF, 0x00, 0x00, 0xFF}));       // the item
  EXPECT_TRUE(close(pixel(24 + 400, 28 + 100), {0xCC, 0xCC, 0xCC, 0xFF}));      // the empty canvas
  EXPECT_EQ((std::vector<uint8_t>{0x33, 0x22, 0x11, 0xFF}), pixel(24 + 464, 28 + 100));
  EXPECT_EQ((std::vector<uint8_t>{0x33, 0x22, 0x11, 0xFF}), pixel(24 + 100, 28 + 205));
}

TEST_F(PanelStreamTest, AnEmptyPanelWritesMagicCountZeroAndReadsBackEmpty) {
  ScreenPicture none;
  UiPanel panel(&probe.scheme);
  CMemoryStream stream;
  panel.Save(&stream);
  EXPECT_TRUE(BytesEqual(stream.data, stream.size,
                         ParseHex("76 6B 55 49 00 00 00 00 00 00 00 00 00 00 00 00")));
  UiPanel back(&probe.scheme);
  stream.Seek(0, 0);
  EXPECT_TRUE(back.Load(&stream));
  EXPECT_EQ(nullptr, back.items);
}

TEST_F(PanelStreamTest, EveryTruncationFailsKeepingOnlyWholeItems) {
  std::vector<uint8_t> bytes = PanelStream("00 00 00 00 00 00 00 00");
  for (size_t n = 0; n < bytes.size(); ++n) {
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(n));
    stream.Seek(0, 0);
    UiPanel panel(&probe.scheme);
    EXPECT_FALSE(panel.Load(&stream)) << n;
    int whole = n < kFirstItemEnd ? 0 : n < kSecondItemEnd ? 1 : 2;
    EXPECT_EQ(whole, panel.ItemCount()) << n;
  }
}

TEST_F(PanelStreamTest, DamagedStreamsFailCleanly) {
  struct Case {
    const char* what;
    int offset;
    std::vector<uint8_t> replacement;
    int items;
  } cases[] = {
      {"magic byte 0", 0, {0x56}, 0},
      {"magic byte 1", 1, {0x4B}, 0},
      {"magic byte 2", 2, {0x75}, 0},
      {"magic byte 3", 3, {0x69}, 0},
      {"unknown second kind", 44, {0x12}, 1},
      {"count beyond the items", 4, {0xFF, 0xFF, 0xFF, 0x7F}, 2},
      {"negative preview width", 74, {0xFF, 0xFF, 0xFF, 0xFF}, 2},
      {"negative preview height", 78, {0xFE, 0xFF, 0xFF, 0xFF}, 2},
      {"preview beyond the bytes", 74, {0x01, 0, 0, 0, 0x01, 0, 0, 0}, 2},
      {"preview of overflowing size", 74, {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F}, 2},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = PanelStream("00 00 00 00 00 00 00 00");
    std::copy(c.replacement.begin(), c.replacement.end(), bytes.begin() + c.offset);
    CMemoryStream stream;
    UiPanel panel(&probe.scheme);
    EXPECT_FALSE(panel.Load(StreamOf(bytes, &stream))) << c.what;
    EXPECT_EQ(c.items, panel.ItemCount()) << c.what;
  }
}

TEST_F(PanelStreamTest, APreviewThatFitsTheBytesLeftIsSkippedAndTheRestIsTheCallers) {
  // A panel stream inside a block record: the record's own bytes follow.
  std::vector<uint8_t> bytes = PanelStream("01 00 00 00 01 00 00 00  AA BB CC DD  EE FF");
  CMemoryStream stream;
  UiPanel panel(&probe.scheme);
  ASSERT_TRUE(panel.Load(StreamOf(bytes, &stream)));
  EXPECT_EQ(static_cast<int>(bytes.size()) - 2, stream.GetPosition());
}

TEST_F(PanelStreamTest, ASelectedItemSetPastedAgainIsRenamedAndGetsItsBlock) {
  UiPanel panel(&probe.scheme);
  BlockItem* original = AddBlockItem(&panel, L"Блок1");
  original->selected = 1;
  AddPlain(&panel, L"x", 0, 0, 1, 1);
  CMemoryStream set;
  panel.WriteItems(&set, true);
  EXPECT_EQ(1, *reinterpret_cast<int*>(set.data));

  set.Seek(0, 0);
  ASSERT_TRUE(panel.ReadItems(&set, true));
  CVelkUIControl* pasted = panel.Tail();
  EXPECT_STREQ(L"Блок2", pasted->name);
  EXPECT_EQ(1, pasted->selected);
  ASSERT_NE(nullptr, pasted->block);
  EXPECT_STREQ(L"Блок2", pasted->block->GetCaption());
  EXPECT_EQ(pasted, static_cast<CBEUIControl*>(pasted->block)->item);

  // Into an empty panel of another computer (whose scheme has no block of
  // that name) the name stays.
  ProbeScheme elsewhere;
  UiPanel empty(&elsewhere.scheme);
  set.Seek(0, 0);
  ASSERT_TRUE(empty.ReadItems(&set, true));
  EXPECT_STREQ(L"Блок1", empty.items->name);
  ASSERT_NE(nullptr, empty.items->block);
}

TEST_F(PanelStreamTest, ShortItemSetsAndSetsEndingEarlyRead) {
  UiPanel panel(&probe.scheme);
  CMemoryStream tiny;
  EXPECT_FALSE(panel.ReadItems(StreamOf(ParseHex("01 00 00"), &tiny), false));
  // A count larger than the items given stops at the end of the stream.
  CMemoryStream early;
  EXPECT_TRUE(panel.ReadItems(StreamOf(ParseHex("05 00 00 00"), &early), false));
  EXPECT_EQ(0, panel.ItemCount());
}

TEST_F(PanelStreamTest, CopyAndPasteThroughTheClipboard) {
  CanvasHost canvas;
  UiPanel source(&probe.scheme);
  source.canvas = canvas.box;
  AddPlain(&source, L"копия", 7, 8, 9, 10)->selected = 1;
  AddPlain(&source, L"нет", 0, 0, 1, 1);
  source.CopySelection();
  EXPECT_TRUE(source.CanPaste());

  UiPanel target(&probe.scheme);
  target.canvas = canvas.box;
  ProbeItem* there = AddPlain(&target, L"было", 0, 0, 5, 5);
  there->selected = 1;
  target.Paste();
  EXPECT_EQ((Order{L"было", L"копия"}), Names(target));
  EXPECT_EQ(0, there->selected);
  EXPECT_EQ(1, target.Tail()->selected);
  EXPECT_EQ(7, target.Tail()->x);
  EXPECT_EQ(10, target.Tail()->height);

  // Other data on the clipboard: nothing to paste.
  ASSERT_TRUE(OpenClipboard(canvas.box->GetHandle()));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(target.CanPaste());
  target.Paste();
  EXPECT_EQ(2, target.ItemCount());
}
