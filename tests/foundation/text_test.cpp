// Heap blocks, path helpers, module paths and text encodings.
#include <malloc.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "foundation/buffer_failure_scope.h"
#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "foundation/paths.h"
#include "support/test_support.h"

using velktest::BytesEqual;

namespace {

std::vector<uint8_t> Hex(const char* text) { return velktest::ParseHex(text); }

// Bytes placed at the very end of a readable page, followed by a page that
// may not be touched: a function that reads past its input crashes here.
class GuardedBytes {
public:
  explicit GuardedBytes(const std::vector<uint8_t>& bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    page_ = si.dwPageSize;
    base_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
    data_ = base_ + page_ - bytes.size();
    if (!bytes.empty()) memcpy(data_, bytes.data(), bytes.size());
  }
  ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;
  unsigned char* data() const { return data_; }

private:
  DWORD page_ = 0;
  unsigned char* base_ = nullptr;
  unsigned char* data_ = nullptr;
};

unsigned char* HeapCopy(const std::vector<uint8_t>& bytes) {
  unsigned char* block = static_cast<unsigned char*>(malloc(bytes.size() + 1));
  if (!bytes.empty()) memcpy(block, bytes.data(), bytes.size());
  return block;
}

std::wstring Units(std::initializer_list<unsigned> units) {
  std::wstring s;
  for (unsigned u : units) s.push_back(static_cast<wchar_t>(u));
  return s;
}

std::string HexOf(const std::wstring& text) {
  std::string out;
  char buf[8];
  for (wchar_t c : text) {
    snprintf(buf, sizeof buf, "%04X ", static_cast<unsigned>(c));
    out += buf;
  }
  return out;
}

}  // namespace

// ------------------------------------------------------------ heap blocks

TEST(HeapBlocks, AllocReallocFree) {
  EXPECT_EQ(nullptr, AllocBuffer(0));
  void* a = AllocBuffer(5);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(5u, _msize(a));
  memcpy(a, "abcde", 5);
  void* b = ReallocBuffer(a, 5000);  // grows, content kept
  ASSERT_NE(nullptr, b);
  EXPECT_EQ(0, memcmp(b, "abcde", 5));
  EXPECT_EQ(nullptr, ReallocBuffer(b, 0));  // frees
  void* c = ReallocBuffer(nullptr, 8);  // a null block allocates
  ASSERT_NE(nullptr, c);
  EXPECT_EQ(8u, _msize(c));
  FreeBuffer(c);
  FreeBuffer(nullptr);
  EXPECT_EQ(nullptr, ReallocBuffer(nullptr, 0));
}

TEST(HeapBlocks, AllocWideStringHasRoomForTheTerminator) {
  wchar_t* s = AllocWideString(3);
  ASSERT_NE(nullptr, s);
  EXPECT_EQ(8u, _msize(s));
  FreeBuffer(s);
  wchar_t* e = AllocWideString(0);
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(2u, _msize(e));
  FreeBuffer(e);
}

// Blocks past the int range are refused at both widths, before the heap is
// asked (a 64-bit heap would give them), and counted as failures; the block
// being grown stays as it was. Sizes near 2^32 must not wrap to small ones.
TEST(HeapBlocks, BlocksPastTheIntRangeAreRefusedAtBothWidths) {
  unsigned char* block = static_cast<unsigned char*>(AllocBuffer(16));
  ASSERT_NE(nullptr, block);
  block[15] = 0x5A;
  const size_t past = static_cast<size_t>(INT_MAX) + 1;  // 2^31
  const size_t sizes[] = {past, past + 4096, static_cast<size_t>(0xFFFFFFFFu)};
  for (size_t size : sizes) {
    const unsigned before = GetBufferFailureCount();
    EXPECT_EQ(nullptr, AllocBuffer(size)) << size;
    EXPECT_EQ(nullptr, ReallocBuffer(block, size)) << size;
    EXPECT_EQ(before + 2, GetBufferFailureCount()) << size;
    EXPECT_EQ(0x5A, block[15]);
    EXPECT_EQ(16u, _msize(block));
  }
  // 2n + 2 bytes: n = 2^30 - 1 asks for exactly 2^31 bytes; n = 2^31 would
  // wrap to 2 at 32 bits; SIZE_MAX wraps to 0.
  const size_t lengths[] = {(static_cast<size_t>(1) << 30) - 1, past, static_cast<size_t>(-1)};
  for (size_t n : lengths) {
    const unsigned before = GetBufferFailureCount();
    EXPECT_EQ(nullptr, AllocWideString(n)) << n;
    EXPECT_EQ(before + 1, GetBufferFailureCount()) << n;
  }
  FreeBuffer(block);
}

TEST(HeapBlocks, AppendString) {
  EXPECT_EQ(nullptr, AppendString(nullptr, nullptr));
  EXPECT_EQ(nullptr, AppendString(nullptr, L""));

  wchar_t* text = DupString(L"Схема");
  EXPECT_EQ(text, AppendString(text, nullptr));  // unchanged, same block
  EXPECT_EQ(text, AppendString(text, L""));
  text = AppendString(text, L" №2");
  ASSERT_NE(nullptr, text);
  EXPECT_STREQ(L"Схема №2", text);
  EXPECT_EQ(2u * 8 + 2, _msize(text));
  FreeBuffer(text);

  const wchar_t tail[] = L"хвост";
  wchar_t* copy = AppendString(nullptr, tail);
  ASSERT_NE(nullptr, copy);
  EXPECT_NE(tail, copy);
  EXPECT_STREQ(L"хвост", copy);
  FreeBuffer(copy);
}

TEST(HeapBlocks, AppendStringOfItsOwnTail) {
  // The tail lies inside the text that grows: it is copied before the old
  // block goes, at every length (small blocks and ones that must move).
  for (int length : {1, 7, 64, 4000}) {
    wchar_t* text = AllocWideString(static_cast<size_t>(length));
    ASSERT_NE(nullptr, text);
    for (int i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(L'А' + i % 32);
    text[length] = 0;
    std::wstring expected = std::wstring(text) + std::wstring(text + length / 2);
    text = AppendString(text, text + length / 2);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(expected, std::wstring(text)) << length;
    EXPECT_EQ(2u * expected.size() + 2, _msize(text));
    FreeBuffer(text);
  }
}

TEST(HeapBlocks, AppendStringWithoutRoomFreesTheText) {
  wchar_t* text = DupString(L"Схема");
  CBufferFailureScope noRoom(0);
  EXPECT_EQ(nullptr, AppendString(text, L" №2"));  // text is freed, not leaked
  EXPECT_EQ(1, noRoom.GetRefusals());
  EXPECT_EQ(nullptr, DupString(L"x"));
  EXPECT_EQ(nullptr, DupStringA("x"));
}

// Every block not given counts once, whoever refused it; freeing and
// blocks of no size never count.
TEST(HeapBlocks, FailureCountCountsEveryBlockNotGiven) {
  const unsigned start = GetBufferFailureCount();
  void* kept = AllocBuffer(4);
  ASSERT_NE(nullptr, kept);
  EXPECT_EQ(start, GetBufferFailureCount());
  {
    CBufferFailureScope scope(0);
    EXPECT_EQ(nullptr, AllocBuffer(4));
    EXPECT_EQ(nullptr, ReallocBuffer(kept, 64));
    EXPECT_EQ(nullptr, AllocBuffer(0));
    EXPECT_EQ(nullptr, DupString(L"Схема"));
  }
  EXPECT_EQ(start + 3, GetBufferFailureCount());
  EXPECT_EQ(nullptr, ReallocBuffer(kept, 0));
  // A block larger than the address space is refused by the heap itself.
  EXPECT_EQ(nullptr, AllocBuffer(static_cast<size_t>(-1) - 16));
  EXPECT_EQ(start + 4, GetBufferFailureCount());
}

TEST(HeapBlocks, FailureScopeGrantsThenRefusesAndNests) {
  {
    CBufferFailureScope scope(2);
    void* a = AllocBuffer(4);
    void* b = ReallocBuffer(nullptr, 4);
    EXPECT_NE(nullptr, a);
    EXPECT_NE(nullptr, b);
    EXPECT_EQ(nullptr, AllocBuffer(4));
    EXPECT_EQ(nullptr, ReallocBuffer(b, 0));  // freeing is always allowed
    {
      CBufferFailureScope inner(1);
      void* c = AllocBuffer(8);
      EXPECT_NE(nullptr, c);
      EXPECT_EQ(nullptr, ReallocBuffer(c, 16));  // refused: c stays valid
      EXPECT_EQ(1, inner.GetRefusals());
      FreeBuffer(c);
    }
    EXPECT_EQ(nullptr, AllocBuffer(4));  // the outer scope is back
    EXPECT_EQ(2, scope.GetRefusals());
    FreeBuffer(a);
  }
  void* free = AllocBuffer(4);
  EXPECT_NE(nullptr, free);
  FreeBuffer(free);
}

TEST(HeapBlocks, ReplaceStringCopiesFirst) {
  wchar_t* wide = nullptr;
  ReplaceString(&wide, L"Схема");
  ASSERT_NE(nullptr, wide);
  EXPECT_STREQ(L"Схема", wide);
  // The slot's own text: copied before the old block goes.
  ReplaceString(&wide, wide);
  EXPECT_STREQ(L"Схема", wide);
  ReplaceString(&wide, nullptr);
  EXPECT_EQ(nullptr, wide);

  char* narrow = nullptr;
  ReplaceString(&narrow, "R1");
  ReplaceString(&narrow, narrow + 1);  // a tail of its own text
  EXPECT_STREQ("1", narrow);
  ReplaceString(&narrow, static_cast<const char*>(nullptr));
  EXPECT_EQ(nullptr, narrow);
}

TEST(HeapBlocks, DupStrings) {
  EXPECT_EQ(nullptr, DupString(nullptr));
  EXPECT_EQ(nullptr, DupStringA(nullptr));
  const wchar_t* w = L"Ёж";
  wchar_t* wc = DupString(w);
  EXPECT_NE(w, wc);
  EXPECT_STREQ(w, wc);
  FreeBuffer(wc);
  char* ac = DupStringA("");
  ASSERT_NE(nullptr, ac);
  EXPECT_STREQ("", ac);
  FreeBuffer(ac);
}

// ------------------------------------------------------------------ paths

struct PathCase {
  const wchar_t* path;
  const wchar_t* expected;
  int length;
};

// Checks a path function both measuring (null output) and writing: the same
// length, and the expected text in a buffer that held something else before.
template <size_t N>
void CheckPathFunction(const PathCase (&cases)[N], int (*function)(wchar_t*, const wchar_t*)) {
  for (const PathCase& c : cases) {
    wchar_t out[kFoundationMaxPathChars] = L"junk";
    EXPECT_EQ(c.length, function(nullptr, c.path)) << c.path;
    EXPECT_EQ(c.length, function(out, c.path)) << c.path;
    EXPECT_STREQ(c.expected, out) << c.path;
  }
}

TEST(Paths, ChangeFileExtension) {
  const PathCase cases[] = {
      {L"C:\\a.b\\file", L"C:\\a.b\\file.vlkx", 16},
      {L"C:\\dir\\file.txt", L"C:\\dir\\file.vlkx", 16},
      {L".txt", L".txt.vlkx", 9},  // a dot at index 0 does not count
      {L"file.tar.gz", L"file.tar.vlkx", 13},
      {L"file.", L"file.vlkx", 9},
      {L"a/b.c|d", L"a/b.c|d.vlkx", 12},
      {L"a.b/c", L"a.b/c.vlkx", 10},
      {L"C:\\Схемы\\робот.vlkx", L"C:\\Схемы\\робот.vlkx", 19},
      {L"", L".vlkx", 5},
  };
  for (const PathCase& c : cases) {
    wchar_t out[kFoundationMaxPathChars];
    EXPECT_EQ(c.length, ChangeFileExtension(nullptr, c.path, L".vlkx")) << c.path;
    EXPECT_EQ(c.length, ChangeFileExtension(out, c.path, L".vlkx")) << c.path;
    EXPECT_STREQ(c.expected, out);
  }
  wchar_t out[kFoundationMaxPathChars];
  EXPECT_EQ(10, ChangeFileExtension(out, L"D:\\x.y", L".~vlkx"));
  EXPECT_STREQ(L"D:\\x.~vlkx", out);
  EXPECT_EQ(4, ChangeFileExtension(out, L"D:\\x.y", L""));
  EXPECT_STREQ(L"D:\\x", out);
}

TEST(Paths, GetFileExtension) {
  const PathCase cases[] = {
      {L"C:\\dir\\file.txt", L"txt", 3},   {L"C:\\a.b\\file", L"", 0}, {L".txt", L"", 0},
      {L"a.tar.gz", L"gz", 2},             {L"file.", L"", 0},        {L"x|y.Z", L"Z", 1},
      {L"схема.vlkx", L"vlkx", 4},         {L"", L"", 0},
  };
  CheckPathFunction(cases, GetFileExtension);
}

TEST(Paths, GetFileName) {
  const PathCase cases[] = {
      {L"C:\\x\\y.vlkx", L"y.vlkx", 6},
      {L"y.vlkx", L"y.vlkx", 0},  // no separator: copied whole, length 0
      {L"C:/x/", L"", 0},
      {L"\\y", L"\\y", 0},  // a separator at index 0 does not count
      {L"a|b", L"b", 1},
      {L"a/b\\c", L"c", 1},
      {L"C:\\Мои схемы\\Робот.vlkx", L"Робот.vlkx", 10},
  };
  CheckPathFunction(cases, GetFileName);
}

TEST(Paths, GetDirectoryPart) {
  const PathCase cases[] = {
      {L"C:\\x\\y.vlkx", L"C:\\x\\", 5},
      {L"y.vlkx", L"", 0},
      {L"\\y", L"", 0},
      {L"a/b|c", L"a/b|", 4},
      {L"C:\\x\\", L"C:\\x\\", 5},
      {L"C:\\Мои схемы\\Робот.vlkx", L"C:\\Мои схемы\\", 13},
  };
  CheckPathFunction(cases, GetDirectoryPart);
  for (const PathCase& c : cases) {
    wchar_t* dup = DupDirectoryPart(c.path);
    ASSERT_NE(nullptr, dup);
    EXPECT_STREQ(c.expected, dup);
    EXPECT_EQ(2u * c.length + 2, _msize(dup));
    FreeBuffer(dup);
  }
}

TEST(ModulePaths, AgreeWithGetModuleFileName) {
  wchar_t expected[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(nullptr, expected, MAX_PATH);
  ASSERT_GT(n, 0u);
  ASSERT_LT(n, static_cast<DWORD>(MAX_PATH));

  wchar_t path[kFoundationMaxPathChars];
  EXPECT_EQ(static_cast<int>(n), GetModulePath(path));
  EXPECT_STREQ(expected, path);
  EXPECT_EQ(static_cast<int>(n), GetModulePath(nullptr));

  wchar_t* dup = DupModulePath();
  ASSERT_NE(nullptr, dup);
  EXPECT_STREQ(expected, dup);
  FreeBuffer(dup);

  wchar_t dir[kFoundationMaxPathChars];
  wchar_t* tail = GetExeDirectory(dir);
  const wchar_t* sep = wcsrchr(expected, L'\\');
  ASSERT_NE(nullptr, sep);
  int dirLength = static_cast<int>(sep - expected) + 1;
  EXPECT_EQ(dir + dirLength, tail);
  EXPECT_EQ(std::wstring(expected, dirLength), std::wstring(dir));
  wcscpy(tail, L"foundation_tests.exe");
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir)) << "a file name copied there names a file of that folder";
}

// -------------------------------------------------------------- encodings

TEST(Encodings, TheAnsiCodePageIsCyrillic) {
  // The tests of ANSI text below assume the Russian system code page.
  EXPECT_EQ(1251u, GetACP());
}

struct DetectCase {
  const char* bytes;
  TextEncoding expected;
};

TEST(Encodings, DetectTextEncoding) {
  const DetectCase cases[] = {
      {"EF BB BF 41", kFoundationEncodingUtf8},
      {"EF BB BF", kFoundationEncodingUtf8},
      {"EF BB", kFoundationEncodingAnsi},
      {"41 00 42 00", kFoundationEncodingUtf16},
      {"41 42 43 44", kFoundationEncodingAnsi},
      {"", kFoundationEncodingAnsi},
      {"41", kFoundationEncodingAnsi},
      {"00", kFoundationEncodingAnsi},
      {"41 00", kFoundationEncodingUtf16},
      {"FF FE 41 00", kFoundationEncodingUtf16},
      {"FF FE 16 04", kFoundationEncodingAnsi},     // the mark itself is not looked for
      {"16 04 36 04", kFoundationEncodingAnsi},     // Cyrillic only: no unit below U+0100
      {"00 41 00 42", kFoundationEncodingAnsi},     // big-endian pairs
      {"42 41 00 43", kFoundationEncodingAnsi},     // pairs sit at even offsets only
      {"D0 96 D0 B6 0A", kFoundationEncodingAnsi},  // UTF-8 without a mark reads as ANSI
  };
  for (const DetectCase& c : cases) {
    std::vector<uint8_t> bytes = Hex(c.bytes);
    GuardedBytes guarded(bytes);
    EXPECT_EQ(c.expected, DetectTextEncoding(guarded.data(), static_cast<int>(bytes.size()))) << c.bytes;
  }
  EXPECT_EQ(kFoundationEncodingAnsi, DetectTextEncoding(nullptr, 0));
}

TEST(Encodings, DetectLooksAtTheFirst1000BytesOnly) {
  std::vector<uint8_t> bytes(2000, 0x10);
  bytes[998] = 'A';
  bytes[999] = 0;
  EXPECT_EQ(kFoundationEncodingUtf16, DetectTextEncoding(bytes.data(), 2000));
  bytes[998] = 0x10;
  bytes[999] = 0x10;
  bytes[1000] = 'A';
  bytes[1001] = 0;
  EXPECT_EQ(kFoundationEncodingAnsi, DetectTextEncoding(bytes.data(), 2000));
  // and within n: a pair past n is not seen
  std::vector<uint8_t> short_ = Hex("42 43 41 00");
  EXPECT_EQ(kFoundationEncodingAnsi, DetectTextEncoding(short_.data(), 3));
}

struct Utf8Case {
  const char* bytes;
  std::wstring expected;
};

// Malformed and cut-off sequences become U+FFFD; nothing past the input is
// read (the input ends at a page that may not be touched).
TEST(Encodings, DecodeUtf8Cases) {
  const Utf8Case cases[] = {
      {"E2 82 AC", Units({0x20AC})},
      {"D0 96", Units({0x416})},
      {"41 62", L"Ab"},
      {"EF BB BF 41", L"A"},
      {"EF BB BF", L""},
      {"", L""},
      {"EF BB", Units({0xFFFD, 0xFFFD})},
      {"41 D0", Units({0x41, 0xFFFD})},              // lead byte at the end
      {"E2", Units({0xFFFD})},
      {"E2 82", Units({0xFFFD, 0xFFFD})},            // cut-off three-byte sequence
      {"80 41", Units({0xFFFD, 0x41})},              // stray continuation byte
      {"BF BF BF", Units({0xFFFD, 0xFFFD, 0xFFFD})},
      {"D0 41", Units({0xFFFD, 0x41})},              // lead without its continuation
      {"E2 41 AC", Units({0xFFFD, 0x41, 0xFFFD})},
      {"C0 80", Units({0xFFFD})},                    // overlong forms
      {"E0 80 80", Units({0xFFFD})},
      {"F0 9F 98 80", Units({0xD83D, 0xDE00})},      // beyond the BMP: a surrogate pair
      {"F0 9F 98", Units({0xFFFD, 0xFFFD, 0xFFFD})},
      {"ED A0 BD ED B8 80", Units({0xD83D, 0xDE00})},  // surrogates coded one by one
      {"F8 41", Units({0xFFFD, 0x41})},
      {"FF", Units({0xFFFD})},
      {"D0 9F D1 80 D0 B8 D0 B2 D0 B5 D1 82", L"Привет"},
  };
  for (const Utf8Case& c : cases) {
    std::vector<uint8_t> bytes = Hex(c.bytes);
    GuardedBytes guarded(bytes);
    int outBytes = -1;
    wchar_t* text = DecodeUtf8(guarded.data(), static_cast<int>(bytes.size()), &outBytes);
    ASSERT_NE(nullptr, text) << c.bytes;
    EXPECT_EQ(HexOf(c.expected), HexOf(std::wstring(text, outBytes / 2))) << c.bytes;
    EXPECT_EQ(2 * static_cast<int>(c.expected.size()), outBytes) << c.bytes;
    EXPECT_EQ(0, text[outBytes / 2]) << "terminated after what it reports";
    EXPECT_GE(_msize(text), static_cast<size_t>(outBytes + 2));
    FreeBuffer(text);
  }
  wchar_t* text = DecodeUtf8(Hex("41").data(), 1, nullptr);  // the count is optional
  EXPECT_STREQ(L"A", text);
  FreeBuffer(text);
}

struct EncodeCase {
  std::wstring text;
  const char* bytes;
};

TEST(Encodings, EncodeUtf8Cases) {
  const EncodeCase cases[] = {
      {Units({0x416}), "D0 96"},
      {Units({0x20AC}), "E2 82 AC"},
      {L"A", "41"},
      {Units({0x7F}), "7F"},
      {Units({0x80}), "C2 80"},
      {Units({0x7FF}), "DF BF"},
      {Units({0x800}), "E0 A0 80"},
      {Units({0xFFFF}), "EF BF BF"},
      {Units({0xD83D, 0xDE00}), "ED A0 BD ED B8 80"},
      {L"", ""},
      {L"Ёж 1", "D0 81 D0 B6 20 31"},
  };
  for (const EncodeCase& c : cases) {
    int outBytes = -1;
    char* out = EncodeUtf8(c.text.c_str(), 2 * static_cast<int>(c.text.size()), &outBytes);
    ASSERT_NE(nullptr, out);
    std::vector<uint8_t> expected = Hex(c.bytes);
    EXPECT_TRUE(BytesEqual(out, outBytes, expected)) << HexOf(c.text);
    EXPECT_EQ(0, out[outBytes]) << "zero-terminated, the zero not counted";
    FreeBuffer(out);
  }
}

TEST(Encodings, EncodeUtf8TakesTheLengthFromTheByteCount) {
  int outBytes = -1;
  char* out = EncodeUtf8(L"ABC", 4, &outBytes);
  EXPECT_STREQ("AB", out);
  EXPECT_EQ(2, outBytes);
  FreeBuffer(out);
  out = EncodeUtf8(L"ABC", 3, &outBytes);  // an odd byte is no unit
  EXPECT_STREQ("A", out);
  EXPECT_EQ(1, outBytes);
  FreeBuffer(out);
  out = EncodeUtf8(L"A\0B", 6, &outBytes);  // an embedded zero is just a unit
  EXPECT_TRUE(BytesEqual(out, outBytes, Hex("41 00 42")));
  FreeBuffer(out);
}

TEST(Encodings, Utf8RoundTrip) {
  const std::wstring text = L"Plain ASCII, Кириллица Ёё, € ≠ ∞, " + Units({0xD83D, 0xDE00, 0x1, 0x7F, 0x80, 0xFFFD});
  int bytes = 0;
  char* utf8 = EncodeUtf8(text.c_str(), 2 * static_cast<int>(text.size()), &bytes);
  ASSERT_NE(nullptr, utf8);
  int units = 0;
  wchar_t* back = DecodeUtf8(reinterpret_cast<unsigned char*>(utf8), bytes, &units);
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(HexOf(text), HexOf(std::wstring(back, units / 2)));
  FreeBuffer(utf8);
  FreeBuffer(back);
}

TEST(Encodings, AnsiIsCodePage1251) {
  int outBytes = -1;
  wchar_t* text = DecodeAnsi(Hex("C0 E1 20 A8 B8 B9").data(), 6, &outBytes);
  EXPECT_STREQ(L"Аб Ёё№", text);
  EXPECT_EQ(12, outBytes);
  FreeBuffer(text);
  text = DecodeAnsi(nullptr, 0, &outBytes);
  ASSERT_NE(nullptr, text);
  EXPECT_STREQ(L"", text);
  EXPECT_EQ(0, outBytes);
  FreeBuffer(text);

  char* bytes = EncodeAnsi(L"Аб Ёё№", 12, &outBytes);
  ASSERT_NE(nullptr, bytes);
  EXPECT_TRUE(BytesEqual(bytes, outBytes, Hex("C0 E1 20 A8 B8 B9")));
  EXPECT_EQ(0, bytes[outBytes]);
  FreeBuffer(bytes);
}

TEST(Encodings, EncodeAnsiSkipsTheByteOrderMark) {
  int outBytes = -1;
  const std::wstring marked = Units({0xFEFF}) + L"Я";
  char* bytes = EncodeAnsi(marked.c_str(), 4, &outBytes);
  ASSERT_NE(nullptr, bytes);
  EXPECT_TRUE(BytesEqual(bytes, outBytes, Hex("DF")));
  FreeBuffer(bytes);

  const std::wstring onlyMark = Units({0xFEFF});
  outBytes = -1;
  EXPECT_EQ(nullptr, EncodeAnsi(onlyMark.c_str(), 2, &outBytes));
  EXPECT_EQ(0, outBytes);
  outBytes = -1;
  EXPECT_EQ(nullptr, EncodeAnsi(nullptr, 10, &outBytes));
  EXPECT_EQ(0, outBytes);

  bytes = EncodeAnsi(L"", 0, &outBytes);  // an empty text is a text
  ASSERT_NE(nullptr, bytes);
  EXPECT_EQ(0, outBytes);
  EXPECT_EQ(0, bytes[0]);
  FreeBuffer(bytes);
}

struct DecodeCase {
  const char* bytes;
  TextEncoding encoding;
  const wchar_t* expected;
};

TEST(Encodings, DecodeTextCases) {
  const DecodeCase cases[] = {
      {"FF FE 41 00", kFoundationEncodingDetect, L"A"},
      {"41 00 42 00", kFoundationEncodingDetect, L"AB"},
      {"EF BB BF D0 96 D0 B6", kFoundationEncodingDetect, L"Жж"},
      {"C6 E6", kFoundationEncodingDetect, L"Жж"},
      {"C6 E6", kFoundationEncodingAnsi, L"Жж"},
      {"D0 96", kFoundationEncodingUtf8, L"Ж"},
      {"16 04 36 04", kFoundationEncodingUtf16, L"Жж"},
      {"FF FE 16 04", kFoundationEncodingUtf16, L"Ж"},
      {"41 00 42 00 43", kFoundationEncodingUtf16, L"AB"},  // odd length: the last byte is dropped
      {"41 00 42", kFoundationEncodingDetect, L"A"},
      {"FF FE 41", kFoundationEncodingUtf16, L""},
      {"41", kFoundationEncodingUtf16, L""},
      {"FF FE", kFoundationEncodingUtf16, L""},
      {"", kFoundationEncodingUtf16, L""},
      {"", kFoundationEncodingDetect, L""},
      {"41 00 42 00", 7, L"AB"},  // an unknown encoding is UTF-16
  };
  for (const DecodeCase& c : cases) {
    std::vector<uint8_t> bytes = Hex(c.bytes);
    const int n = static_cast<int>(bytes.size());
    {
      GuardedBytes guarded(bytes);
      wchar_t* text = DecodeText(guarded.data(), n, false, c.encoding);
      ASSERT_NE(nullptr, text) << c.bytes;
      EXPECT_STREQ(c.expected, text) << c.bytes;
      EXPECT_TRUE(BytesEqual(guarded.data(), n, bytes)) << "a block the caller keeps is left alone";
      FreeBuffer(text);
    }
    wchar_t* owned = DecodeText(HeapCopy(bytes), n, true, c.encoding);
    ASSERT_NE(nullptr, owned) << c.bytes;
    EXPECT_STREQ(c.expected, owned) << c.bytes;
    FreeBuffer(owned);
  }
  EXPECT_EQ(nullptr, DecodeText(nullptr, 4, false, kFoundationEncodingDetect));
  EXPECT_EQ(nullptr, DecodeText(nullptr, 4, true, kFoundationEncodingUtf16));
}

TEST(Encodings, EncodeTextCases) {
  struct Case {
    TextEncoding encoding;
    const char* bytes;
  };
  const Case cases[] = {
      {kFoundationEncodingAnsi, "CF F3 EB FC F2 20 31"},
      {kFoundationEncodingUtf8, "D0 9F D1 83 D0 BB D1 8C D1 82 20 31"},
      {kFoundationEncodingUtf16, "1F 04 43 04 3B 04 4C 04 42 04 20 00 31 00"},
      {kFoundationEncodingDetect, "1F 04 43 04 3B 04 4C 04 42 04 20 00 31 00"},
  };
  for (const Case& c : cases) {
    int outBytes = -1;
    unsigned char* bytes = EncodeText(const_cast<wchar_t*>(L"Пульт 1"), false, c.encoding, &outBytes);
    ASSERT_NE(nullptr, bytes);
    EXPECT_TRUE(BytesEqual(bytes, outBytes, Hex(c.bytes))) << c.encoding;
    FreeBuffer(bytes);

    wchar_t* owned = DupString(L"Пульт 1");
    bytes = EncodeText(owned, true, c.encoding, &outBytes);
    ASSERT_NE(nullptr, bytes);
    EXPECT_TRUE(BytesEqual(bytes, outBytes, Hex(c.bytes))) << c.encoding;
    if (c.encoding == kFoundationEncodingUtf16) {
      EXPECT_EQ(reinterpret_cast<unsigned char*>(owned), bytes) << "the block itself is the result";
    }
    FreeBuffer(bytes);
  }
  int outBytes = -1;
  EXPECT_EQ(nullptr, EncodeText(nullptr, false, kFoundationEncodingUtf8, &outBytes));
  EXPECT_EQ(0, outBytes);
}

TEST(Encodings, TextRoundTripsThroughEveryEncoding) {
  const wchar_t* text = L"Схема робота\r\nвольт: 12,5 V";
  const TextEncoding encodings[] = {kFoundationEncodingAnsi, kFoundationEncodingUtf16, kFoundationEncodingUtf8};
  for (TextEncoding e : encodings) {
    int n = 0;
    unsigned char* bytes = EncodeText(const_cast<wchar_t*>(text), false, e, &n);
    ASSERT_NE(nullptr, bytes);
    wchar_t* back = DecodeText(bytes, n, true, e);
    ASSERT_NE(nullptr, back);
    EXPECT_STREQ(text, back) << e;
    FreeBuffer(back);
  }
}
