// CMemoryStream, CFileStream and the typed field helpers of CStream.
#include "foundation/file_stream.h"
#include "foundation/memory_stream.h"
#include "foundation/stream.h"

#include <malloc.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/buffer_failure_scope.h"
#include "foundation/buffers.h"
#include "support/test_support.h"

using velktest::BytesEqual;

namespace {

std::vector<uint8_t> Hex(const char* text) { return velktest::ParseHex(text); }

// A stream holding the given bytes, positioned at the start.
void Fill(CMemoryStream& s, const std::vector<uint8_t>& bytes) {
  s.SetSize(0);
  if (!bytes.empty()) {
    ASSERT_EQ(static_cast<int>(bytes.size()), s.Write(bytes.data(), static_cast<int>(bytes.size())));
  }
  s.Seek(0, 0);
}

std::vector<uint8_t> Content(const CMemoryStream& s) {
  return std::vector<uint8_t>(s.data, s.data + s.size);
}

std::vector<uint8_t> Counting(int n) {
  std::vector<uint8_t> v(n);
  for (int i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
  return v;
}

}  // namespace

// ------------------------------------------------------------ basic state

TEST(MemoryStream, StartsEmpty) {
  CMemoryStream s;
  EXPECT_EQ(nullptr, s.data);
  EXPECT_EQ(0, s.position);
  EXPECT_EQ(0, s.size);
  EXPECT_EQ(1024, s.granularity);
  EXPECT_EQ(0, s.GetSize());
  EXPECT_EQ(0, s.GetPosition());
  unsigned char b = 0x55;
  EXPECT_EQ(0, s.Read(&b, 1));
  EXPECT_EQ(0x55, b);
}

TEST(MemoryStream, GetSizeAndGetPositionLeaveThePosition) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(4, 0);
  EXPECT_EQ(10, s.GetSize());
  EXPECT_EQ(4, s.GetPosition());
  EXPECT_EQ(4, s.position);
}

// ------------------------------------------------------------------- Seek

struct SeekCase {
  int offset, origin, expected;
};

TEST(MemoryStream, SeekClampsToTheContent) {
  const SeekCase cases[] = {
      {-5, 0, 0},       {3, 0, 3},         {10, 0, 10},      {11, 0, 10},     {INT_MAX, 0, 10},
      {10, 2, 10},      {-3, 2, 7},        {-20, 2, 0},      {0, 2, 10},      {2, 1, 6},
      {-4, 1, 0},       {100, 1, 10},      {-100, 1, 0},     {INT_MAX, 1, 10}, {INT_MIN, 1, 0},
      {INT_MIN, 2, 0},  {INT_MAX, 2, 10},  {5, 3, 4},        {-5, -1, 4},     {100, 99, 4},
  };
  for (const SeekCase& c : cases) {
    CMemoryStream s;
    Fill(s, Counting(10));
    s.Seek(4, 0);
    EXPECT_EQ(c.expected, s.Seek(c.offset, c.origin)) << "offset " << c.offset << " origin " << c.origin;
    EXPECT_EQ(c.expected, s.position);
    EXPECT_EQ(10, s.size) << "Seek never changes the size";
  }
}

TEST(MemoryStream, SeekOnAnEmptyStreamStaysAtZero) {
  CMemoryStream s;
  EXPECT_EQ(0, s.Seek(10, 0));
  EXPECT_EQ(0, s.Seek(10, 2));
  EXPECT_EQ(0, s.Seek(-1, 1));
  EXPECT_EQ(0, s.size);
  EXPECT_EQ(nullptr, s.data);
}

// ------------------------------------------------------------------- Read

TEST(MemoryStream, ReadIsShortenedAtTheEnd) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(6, 0);
  unsigned char buf[10] = {};
  EXPECT_EQ(4, s.Read(buf, 10));
  const std::vector<uint8_t> all = Counting(10);
  EXPECT_TRUE(BytesEqual(buf, 4, std::vector<uint8_t>(all.begin() + 6, all.end())));
  EXPECT_EQ(10, s.position);
  EXPECT_EQ(0, s.Read(buf, 10));
  EXPECT_EQ(10, s.position);
}

TEST(MemoryStream, ReadOfNothingOrLessThanNothing) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(3, 0);
  unsigned char buf[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(0, s.Read(buf, 0));
  EXPECT_EQ(0, s.Read(buf, -1));
  EXPECT_EQ(0, s.Read(buf, INT_MIN));
  EXPECT_EQ(3, s.position);
  EXPECT_EQ(0xEE, buf[0]);
}

TEST(MemoryStream, ReadOfAHugeLengthDoesNotOverflow) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(3, 0);
  unsigned char buf[16] = {};
  EXPECT_EQ(7, s.Read(buf, INT_MAX));
  EXPECT_EQ(10, s.position);
  EXPECT_EQ(Counting(10)[3], buf[0]);
}

// ------------------------------------------------------------------ Write

TEST(MemoryStream, WriteAppendsOverwritesAndGrowsOnlyPastTheEnd) {
  CMemoryStream s;
  EXPECT_EQ(4, s.Write("abcd", 4));
  EXPECT_EQ(4, s.position);
  EXPECT_EQ(4, s.size);
  s.Seek(1, 0);
  EXPECT_EQ(2, s.Write("XY", 2));  // inside: overwrites, same size
  EXPECT_EQ(3, s.position);
  EXPECT_EQ(4, s.size);
  EXPECT_EQ(3, s.Write("123", 3));  // one byte inside, two past the end
  EXPECT_EQ(6, s.position);
  EXPECT_EQ(6, s.size);
  EXPECT_TRUE(BytesEqual(Content(s), {'a', 'X', 'Y', '1', '2', '3'}));
}

TEST(MemoryStream, WriteOfNothingChangesNothing) {
  CMemoryStream s;
  EXPECT_EQ(0, s.Write("abc", 0));
  EXPECT_EQ(0, s.Write("abc", -3));
  EXPECT_EQ(0, s.Write(nullptr, 0));
  EXPECT_EQ(0, s.size);
  EXPECT_EQ(nullptr, s.data);
}

TEST(MemoryStream, ContentSurvivesManyGrowthSteps) {
  CMemoryStream s;
  const int n = 300000;  // 1.2 MB in 4-byte fields
  for (int i = 0; i < n; ++i) ASSERT_EQ(4, s.WriteInt32(i * 2654435761u));
  EXPECT_EQ(4 * n, s.size);
  EXPECT_EQ(4 * n, s.position);
  s.Seek(0, 0);
  for (int i = 0; i < n; ++i) ASSERT_EQ(static_cast<int>(i * 2654435761u), s.ReadInt32()) << i;
  EXPECT_EQ(0, s.ReadInt32());
}

// Appending the stream's own bytes stays right when growing moves the buffer.
TEST(MemoryStream, WriteOfItsOwnBytes) {
  CMemoryStream s;
  s.Write("abcd", 4);
  std::vector<uint8_t> expected = {'a', 'b', 'c', 'd'};
  while (s.size < (16 << 20)) {
    s.Seek(0, 2);
    const int n = s.size;
    ASSERT_EQ(n, s.Write(s.data, n));
    expected.insert(expected.end(), expected.begin(), expected.end());
  }
  ASSERT_TRUE(BytesEqual(Content(s), expected));
  s.Seek(2, 0);
  EXPECT_EQ(6, s.Write(s.data + 1, 6));  // overlapping, inside the content
  EXPECT_TRUE(BytesEqual(s.data, 8, {'a', 'b', 'b', 'c', 'd', 'a', 'b', 'c'}));
}

// When the buffer cannot grow, a write changes nothing and answers 0.
TEST(MemoryStream, WriteThatCannotGrowWritesNothing) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(1, 0);
  const unsigned char src[4] = {1, 2, 3, 4};
  // position + length passes the int range: refused before any growth
  EXPECT_EQ(0, s.Write(src, INT_MAX));
  EXPECT_EQ(1, s.position);
  EXPECT_EQ(10, s.size);
  // The heap refuses the growth (as when memory runs out): SetSize fails and
  // so does Write, for a huge length and a small one alike.
  s.Seek(0, 0);
  {
    CBufferFailureScope failing(0);
    EXPECT_EQ(0, s.Write(src, INT_MAX));
    EXPECT_EQ(0, s.Write(src, INT_MAX - 2000));
    s.Seek(0, 2);
    EXPECT_EQ(0, s.Write(src, 4000));
    EXPECT_GE(failing.GetRefusals(), 3);
    s.Seek(0, 0);
  }
  EXPECT_EQ(0, s.position);
  EXPECT_EQ(10, s.size);
  EXPECT_TRUE(BytesEqual(Content(s), Counting(10)));
  // and the stream still works afterwards
  s.Seek(0, 2);
  EXPECT_EQ(4, s.Write(src, 4));
  EXPECT_EQ(14, s.size);
}

// ---------------------------------------------------------------- SetSize

TEST(MemoryStream, SetSizeZeroFreesTheBuffer) {
  CMemoryStream s;
  Fill(s, Counting(3000));
  ASSERT_NE(nullptr, s.data);
  EXPECT_TRUE(s.SetSize(0));
  EXPECT_EQ(nullptr, s.data);
  EXPECT_EQ(0, s.size);
  EXPECT_EQ(0, s.position);
  Fill(s, Counting(5));
  EXPECT_TRUE(s.SetSize(-7));  // negative is 0
  EXPECT_EQ(nullptr, s.data);
  EXPECT_EQ(0, s.size);
}

TEST(MemoryStream, SetSizeWithinOneGranuleKeepsTheBlock) {
  CMemoryStream s;
  EXPECT_TRUE(s.SetSize(10));
  unsigned char* block = s.data;
  ASSERT_NE(nullptr, block);
  EXPECT_TRUE(s.SetSize(1000));
  EXPECT_EQ(block, s.data);
  EXPECT_EQ(1000, s.size);
  EXPECT_TRUE(s.SetSize(1024));
  EXPECT_EQ(block, s.data);
  EXPECT_TRUE(s.SetSize(1));
  EXPECT_EQ(block, s.data);
  EXPECT_EQ(1, s.size);
}

TEST(MemoryStream, SetSizeKeepsTheContentAndClampsThePosition) {
  CMemoryStream s;
  Fill(s, Counting(100));
  s.Seek(80, 0);
  EXPECT_TRUE(s.SetSize(5000));  // grow: old bytes kept, position stays
  EXPECT_EQ(5000, s.size);
  EXPECT_EQ(80, s.position);
  EXPECT_TRUE(BytesEqual(s.data, 100, Counting(100)));
  EXPECT_TRUE(s.SetSize(50));  // shrink below the position
  EXPECT_EQ(50, s.size);
  EXPECT_EQ(50, s.position);
  const std::vector<uint8_t> all = Counting(100);
  EXPECT_TRUE(BytesEqual(Content(s), std::vector<uint8_t>(all.begin(), all.begin() + 50)));
  EXPECT_TRUE(s.SetSize(60));  // growing never moves the position
  EXPECT_EQ(50, s.position);
}

TEST(MemoryStream, SetSizeThatCannotBeHadChangesNothing) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(7, 0);
  {
    CBufferFailureScope failing(0);
    EXPECT_FALSE(s.SetSize(INT_MAX));
    EXPECT_FALSE(s.SetSize(INT_MAX - 1500));
    EXPECT_FALSE(s.SetSize(5000));
  }
  EXPECT_EQ(10, s.size);
  EXPECT_EQ(7, s.position);
  EXPECT_TRUE(BytesEqual(Content(s), Counting(10)));
}

// ------------------------------------------------------ typed field helpers

TEST(StreamFields, GoldenBytes) {
  CMemoryStream s;
  EXPECT_EQ(4, s.WriteInt32(0x12345678));
  EXPECT_EQ(4, s.WriteInt32(-2));
  EXPECT_EQ(2, s.WriteInt16(0x1234));
  EXPECT_EQ(2, s.WriteInt16(0x12345));  // low 16 bits only
  EXPECT_EQ(2, s.WriteInt16(-1));
  EXPECT_EQ(1, s.WriteByte(0x1FF));  // low 8 bits only
  EXPECT_EQ(1, s.WriteByte('A'));
  EXPECT_EQ(4, s.WriteStringA("abc"));
  EXPECT_EQ(1, s.WriteStringA(nullptr));
  EXPECT_EQ(1, s.WriteStringA(""));
  EXPECT_EQ(6, s.WriteStringW(L"Жa"));
  EXPECT_EQ(2, s.WriteStringW(nullptr));
  EXPECT_EQ(2, s.WriteStringW(L""));
  float f = 1.0f;
  EXPECT_EQ(4, s.Write(&f, 4));
  double d = -2.0;
  EXPECT_EQ(8, s.Write(&d, 8));
  EXPECT_TRUE(BytesEqual(Content(s), Hex(R"(
      78 56 34 12               // int32 0x12345678
      FE FF FF FF               // int32 -2
      34 12                     // int16 0x1234
      45 23                     // int16 0x12345 cut to 16 bits
      FF FF                     // int16 -1
      FF                        // byte 0x1FF cut to 8 bits
      41                        // byte 'A'
      61 62 63 00               // "abc"
      00                        // null 8-bit string
      00                        // empty 8-bit string
      16 04 61 00 00 00         // L"Жa"
      00 00                     // null wide string
      00 00                     // empty wide string
      00 00 80 3F               // float 1.0
      00 00 00 00 00 00 00 C0   // double -2.0
  )")));
}

TEST(StreamFields, ReadBackWhatWasWritten) {
  CMemoryStream s;
  s.WriteInt32(0x12345678);
  s.WriteInt32(INT_MIN);
  s.WriteInt16(0x8001);
  s.WriteByte(0x80);
  s.WriteStringA("Схема");  // UTF-8 bytes, kept as they are
  s.WriteStringW(L"Привет, мир");
  s.WriteStringW(nullptr);
  float f = -3.25f;
  s.Write(&f, 4);
  s.WriteStringA(nullptr);
  s.Seek(0, 0);
  EXPECT_EQ(0x12345678, s.ReadInt32());
  EXPECT_EQ(INT_MIN, s.ReadInt32());
  int w = s.ReadInt16();
  EXPECT_EQ(0x8001, w);
  EXPECT_EQ(-32767, static_cast<short>(w));  // the caller picks the sign
  int b = s.ReadByte();
  EXPECT_EQ(0x80, b);
  EXPECT_EQ(-128, static_cast<signed char>(b));
  char* a = s.ReadStringA();
  ASSERT_NE(nullptr, a);
  EXPECT_STREQ("Схема", a);
  FreeBuffer(a);
  wchar_t* t = s.ReadStringW();
  ASSERT_NE(nullptr, t);
  EXPECT_STREQ(L"Привет, мир", t);
  FreeBuffer(t);
  EXPECT_EQ(nullptr, s.ReadStringW());
  EXPECT_FLOAT_EQ(-3.25f, s.ReadFloat());
  EXPECT_EQ(nullptr, s.ReadStringA());
  EXPECT_EQ(s.size, s.position);
}

TEST(StreamFields, ReadsAtTheEndGiveZeroAndNull) {
  CMemoryStream s;
  EXPECT_EQ(0, s.ReadInt32());
  EXPECT_EQ(0, s.ReadInt16());
  EXPECT_EQ(0, s.ReadByte());
  EXPECT_EQ(0.0f, s.ReadFloat());
  EXPECT_EQ(nullptr, s.ReadStringA());
  EXPECT_EQ(nullptr, s.ReadStringW());
  EXPECT_EQ(nullptr, s.ReadStringAToW());
  EXPECT_EQ(0, s.position);
}

TEST(StreamFields, ShortReadsFillTheLowBytes) {
  CMemoryStream s;
  Fill(s, Hex("01 02"));
  EXPECT_EQ(0x0201, s.ReadInt32());
  EXPECT_EQ(2, s.position);
  EXPECT_EQ(0, s.ReadInt32());
  Fill(s, Hex("7F"));
  EXPECT_EQ(0x7F, s.ReadInt16());
  Fill(s, Hex("01 02 03"));
  EXPECT_EQ(0x030201, s.ReadInt32());
  Fill(s, Hex("00 00"));
  EXPECT_EQ(0.0f, s.ReadFloat());
  Fill(s, Hex("00 00 80"));  // the top byte is missing: 0x00800000
  float expected;
  const uint32_t bits = 0x00800000;
  memcpy(&expected, &bits, 4);
  EXPECT_EQ(expected, s.ReadFloat());
}

// ------------------------------------------------------- string edge cases

struct StringCase {
  const char* bytes;
  int start;
  const char* expected;  // null: no string
  int positionAfter;
};

TEST(StreamStrings, ReadStringACases) {
  const StringCase cases[] = {
      {"61 62 63 00", 0, "abc", 4},
      {"61 62 63 00 64", 0, "abc", 4},
      {"00", 0, nullptr, 1},             // empty string: terminator consumed
      {"00 61 00", 0, nullptr, 1},
      {"", 0, nullptr, 0},               // at the very end: nothing consumed
      {"61 62", 0, "a", 2},              // no terminator: the 62 becomes it
      {"61", 0, nullptr, 1},             // one last byte: consumed, no string
      {"61 00 62 00", 2, "b", 4},
      {"61 00 62 63 64", 2, "bc", 5},
      {"61 62 63 00", 4, nullptr, 4},
  };
  for (const StringCase& c : cases) {
    CMemoryStream s;
    Fill(s, Hex(c.bytes));
    s.Seek(c.start, 0);
    char* text = s.ReadStringA();
    if (c.expected) {
      ASSERT_NE(nullptr, text) << c.bytes;
      EXPECT_STREQ(c.expected, text) << c.bytes;
    } else {
      EXPECT_EQ(nullptr, text) << c.bytes;
    }
    EXPECT_EQ(c.positionAfter, s.position) << c.bytes;
    FreeBuffer(text);
  }
}

struct WideStringCase {
  const char* bytes;
  int start;
  const wchar_t* expected;
  int positionAfter;
};

// Reads each case's bytes from its start with the given reader and checks
// the text (or null) and where the position ends.
template <size_t N>
void CheckWideStringReads(const WideStringCase (&cases)[N], wchar_t* (CStream::*read)()) {
  for (const WideStringCase& c : cases) {
    CMemoryStream s;
    Fill(s, Hex(c.bytes));
    s.Seek(c.start, 0);
    wchar_t* text = (s.*read)();
    if (c.expected) {
      ASSERT_NE(nullptr, text) << c.bytes;
      EXPECT_STREQ(c.expected, text) << c.bytes;
    } else {
      EXPECT_EQ(nullptr, text) << c.bytes;
    }
    EXPECT_EQ(c.positionAfter, s.position) << c.bytes;
    FreeBuffer(text);
  }
}

TEST(StreamStrings, ReadStringWCases) {
  const WideStringCase cases[] = {
      {"41 00 42 00 00 00", 0, L"AB", 6},
      {"16 04 36 04 00 00 41 00", 0, L"Жж", 6},
      {"00 00", 0, nullptr, 2},
      {"00 00 41 00 00 00", 0, nullptr, 2},
      {"", 0, nullptr, 0},
      {"41 00 42 00", 0, L"A", 4},        // no terminator: the last unit becomes it
      {"41 00 42 00 43", 0, L"A", 4},     // an odd last byte is left alone
      {"41 00", 0, nullptr, 2},           // one last unit: consumed, no string
      {"41 00 42", 0, nullptr, 2},
      {"41", 0, nullptr, 1},              // half a unit: consumed, no string
      {"00 41 00 00 00", 1, L"A", 5},     // units need no alignment
  };
  CheckWideStringReads(cases, &CStream::ReadStringW);
}

TEST(StreamStrings, ReadStringAToWCases) {
  const WideStringCase cases[] = {
      {"C0 E1 00", 0, L"\u0410\u0431", 3},
      {"CF F0 E8 E2 E5 F2 2C 20 EC E8 F0 00", 0, L"Привет, мир", 12},
      {"A8 B8 B9 00", 0, L"Ёё№", 4},
      {"00", 0, nullptr, 1},
      {"", 0, nullptr, 0},
      {"41 C0", 0, L"A", 2},
      {"C0", 0, nullptr, 1},
  };
  CheckWideStringReads(cases, &CStream::ReadStringAToW);
}

TEST(StreamStrings, NullAndEmptyWideStringsWriteTheSameTwoBytes) {
  CMemoryStream s;
  s.WriteStringW(nullptr);
  s.WriteStringW(L"");
  EXPECT_TRUE(BytesEqual(Content(s), Hex("00 00 00 00")));
  s.Seek(0, 0);
  EXPECT_EQ(nullptr, s.ReadStringW());
  EXPECT_EQ(2, s.position);
  EXPECT_EQ(nullptr, s.ReadStringW());
  EXPECT_EQ(4, s.position);
}

TEST(StreamStrings, ReadStringABlockHoldsTheTerminator) {
  CMemoryStream s;
  s.WriteStringA("abc");
  s.Seek(0, 0);
  char* text = s.ReadStringA();
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(4u, _msize(text));
  EXPECT_TRUE(BytesEqual(text, 4, Hex("61 62 63 00")));
  FreeBuffer(text);
}

// A string refused its memory reads as null like an empty one, but the
// stream says so, and the reading goes on after the string. An empty string
// needs no memory and never sets the mark.
TEST(StreamStrings, RefusedMemoryIsToldApartFromAnEmptyString) {
  struct Case {
    const char* what;
    const char* hex;
    int grants;  // allocations the reader is given
    bool wide;   // ReadStringW, else ReadStringA
    bool viaAnsi;
    int end;
  } cases[] = {
      {"narrow", "61 62 63 00 7A", 0, false, false, 4},
      {"wide", "41 00 42 00 00 00 7A", 0, true, false, 6},
      {"narrow to wide, first block", "C0 E1 00 7A", 0, true, true, 3},
      {"narrow to wide, second block", "C0 E1 00 7A", 1, true, true, 3},
  };
  for (const Case& c : cases) {
    CMemoryStream s;
    Fill(s, Hex(c.hex));
    void* text = nullptr;
    {
      CBufferFailureScope scope(c.grants);
      if (!c.wide) text = s.ReadStringA();
      else if (c.viaAnsi) text = s.ReadStringAToW();
      else text = s.ReadStringW();
      EXPECT_EQ(1, scope.GetRefusals()) << c.what;
    }
    EXPECT_EQ(nullptr, text) << c.what;
    EXPECT_TRUE(s.outOfMemory) << c.what;
    EXPECT_EQ(c.end, s.position) << c.what;
    EXPECT_EQ(0x7A, s.ReadByte()) << c.what;
  }
  CMemoryStream empty;
  Fill(empty, Hex("00 00 00 00"));
  {
    CBufferFailureScope scope(0);
    EXPECT_EQ(nullptr, empty.ReadStringA());
    EXPECT_EQ(nullptr, empty.ReadStringW());
    EXPECT_EQ(nullptr, empty.ReadStringAToW());
  }
  EXPECT_FALSE(empty.outOfMemory);
}

// ------------------------------------------------------ files of a stream

class StreamFiles : public ::testing::Test {
protected:
  velktest::TempFolder temp;
  std::wstring Folder() {
    std::wstring folder = temp.File(L"Документы схем");
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
  }
};

TEST_F(StreamFiles, SaveAndLoadUnderACyrillicPath) {
  const std::wstring path = Folder() + L"Робот №1.vlkx";
  CMemoryStream out;
  out.WriteStringW(L"Схема");
  out.WriteInt32(0x01020304);
  out.Seek(3, 0);
  ASSERT_TRUE(out.SaveToFile(path.c_str()));
  EXPECT_EQ(3, out.position) << "saving leaves the position";
  EXPECT_TRUE(BytesEqual(velktest::ReadWholeFile(path), Content(out)));

  CMemoryStream in;
  Fill(in, Counting(5000));
  in.Seek(100, 0);
  ASSERT_TRUE(in.LoadFromFile(path.c_str()));
  EXPECT_EQ(0, in.position);
  EXPECT_TRUE(BytesEqual(Content(in), Content(out)));
  wchar_t* name = in.ReadStringW();
  EXPECT_STREQ(L"Схема", name);
  FreeBuffer(name);
  EXPECT_EQ(0x01020304, in.ReadInt32());
}

TEST_F(StreamFiles, SaveTruncatesALongerFile) {
  const std::wstring path = Folder() + L"старый.vlkx";
  ASSERT_TRUE(temp.WriteFile(L"Документы схем\\старый.vlkx", std::string(5000, 'x')));
  CMemoryStream s;
  s.Write("new", 3);
  ASSERT_TRUE(s.SaveToFile(path.c_str()));
  EXPECT_TRUE(BytesEqual(velktest::ReadWholeFile(path), {'n', 'e', 'w'}));
}

TEST_F(StreamFiles, EmptyStreamGivesAnEmptyFileAndBack) {
  const std::wstring path = Folder() + L"пусто.vlkx";
  CMemoryStream empty;
  ASSERT_TRUE(empty.SaveToFile(path.c_str()));
  EXPECT_EQ(0u, velktest::ReadWholeFile(path).size());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));

  CMemoryStream s;
  Fill(s, Counting(2000));
  s.Seek(10, 0);
  ASSERT_TRUE(s.LoadFromFile(path.c_str()));
  EXPECT_EQ(0, s.size);
  EXPECT_EQ(0, s.position);
  EXPECT_EQ(nullptr, s.data);
}

TEST_F(StreamFiles, LoadOfAMissingFileKeepsTheContentButRewinds) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(6, 0);
  EXPECT_FALSE(s.LoadFromFile((Folder() + L"нет такого.vlkx").c_str()));
  EXPECT_EQ(0, s.position);
  EXPECT_TRUE(BytesEqual(Content(s), Counting(10)));
  s.Seek(6, 0);
  EXPECT_FALSE(s.LoadFromFile(nullptr));
  EXPECT_EQ(0, s.position);
  EXPECT_EQ(10, s.size);
}

TEST_F(StreamFiles, SaveWhereNoFileCanBeMade) {
  CMemoryStream s;
  Fill(s, Counting(10));
  s.Seek(4, 0);
  EXPECT_FALSE(s.SaveToFile((Folder() + L"нет папки\\файл.vlkx").c_str()));
  EXPECT_FALSE(s.SaveToFile(nullptr));
  EXPECT_FALSE(s.SaveToFile(Folder().c_str()));  // a folder, not a file
  EXPECT_EQ(4, s.position);
  EXPECT_TRUE(BytesEqual(Content(s), Counting(10)));
}

// Positions are 32-bit: a file of 2 GB or more is refused, the content kept.
// Sparse files cost no disk space.
TEST_F(StreamFiles, LoadRefusesFilesOf2GBAndMore) {
  const long long lengths[] = {0x80000000LL, 0x100000005LL};
  for (long long length : lengths) {
    const std::wstring path = Folder() + L"огромный.bin";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER end;
    end.QuadPart = length;
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
    WIN32_FILE_ATTRIBUTE_DATA info;
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info));
    ASSERT_EQ(length, (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);

    CMemoryStream s;
    Fill(s, Counting(10));
    s.Seek(5, 0);
    EXPECT_FALSE(s.LoadFromFile(path.c_str())) << length;
    EXPECT_EQ(0, s.position);
    EXPECT_TRUE(BytesEqual(Content(s), Counting(10)));
    DeleteFileW(path.c_str());
  }
}

// ------------------------------------------------------------ CFileStream

class FileStreamTest : public ::testing::Test {
protected:
  velktest::TempFolder temp;
  HANDLE Open(const std::wstring& name, DWORD access, DWORD disposition) {
    return CreateFileW(temp.File(name).c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
};

TEST_F(FileStreamTest, StartsWithoutAHandle) {
  CFileStream s;
  EXPECT_EQ(INVALID_HANDLE_VALUE, s.handle);
  char b;
  EXPECT_EQ(-1, s.Read(&b, 1));
  EXPECT_EQ(-1, s.Write("x", 1));
}

TEST_F(FileStreamTest, FieldsThroughAFileHandle) {
  {
    CFileStream s;
    s.handle = Open(L"поток.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(INVALID_HANDLE_VALUE, s.handle);
    EXPECT_EQ(4, s.WriteInt32(0x11223344));
    EXPECT_EQ(8, s.WriteStringW(L"Ток"));
    EXPECT_EQ(4, s.WriteStringA("abc"));
    EXPECT_EQ(16, s.GetPosition());
    EXPECT_EQ(16, s.GetSize());
    EXPECT_EQ(16, s.GetPosition());
    EXPECT_EQ(0, s.Seek(0, 0));
    EXPECT_EQ(0x11223344, s.ReadInt32());
    wchar_t* w = s.ReadStringW();
    EXPECT_STREQ(L"Ток", w);
    FreeBuffer(w);
    char* a = s.ReadStringA();
    EXPECT_STREQ("abc", a);
    FreeBuffer(a);
    EXPECT_EQ(16, s.GetPosition());
    char b[4];
    EXPECT_EQ(0, s.Read(b, 4));  // at the end
    EXPECT_EQ(0, s.ReadInt32());
    EXPECT_EQ(12, s.Seek(-4, 2));
    EXPECT_EQ(14, s.Seek(2, 1));
    EXPECT_EQ(-1, s.Seek(-100, 0));  // what SetFilePointer answers
    EXPECT_EQ(-1, s.Write("x", -1));
    EXPECT_EQ(-1, s.Read(b, -1));
  }
  EXPECT_TRUE(BytesEqual(temp.ReadFile(L"поток.bin"),
                         velktest::ParseHex("44 33 22 11  22 04 3E 04 3A 04 00 00  61 62 63 00")));
}

TEST_F(FileStreamTest, WriteToAReadOnlyHandleFails) {
  ASSERT_TRUE(temp.WriteFile(L"только.bin", std::string("abcd")));
  CFileStream s;
  s.handle = Open(L"только.bin", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(INVALID_HANDLE_VALUE, s.handle);
  EXPECT_EQ(-1, s.Write("x", 1));
  EXPECT_EQ(0x64636261, s.ReadInt32());
}

TEST_F(FileStreamTest, DestructorClosesTheHandle) {
  {
    CFileStream s;
    s.handle = Open(L"закрыть.bin", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(INVALID_HANDLE_VALUE, s.handle);
    // opened without sharing: nobody else may open it now
    HANDLE other = Open(L"закрыть.bin", GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  }
  HANDLE again = Open(L"закрыть.bin", GENERIC_READ, OPEN_EXISTING);
  EXPECT_NE(INVALID_HANDLE_VALUE, again);
  if (again != INVALID_HANDLE_VALUE) CloseHandle(again);
}
