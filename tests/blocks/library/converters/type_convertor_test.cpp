// The type converter: what it is made as, its costs for every pair of
// declared types, its conversions by the source's actual type at the
// narrowing, saturation and not-a-number edges, Start, its record, dialog
// and drawing.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "block_kit.h"
#include "blocks/library/converters/type_convertor.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// The declared types as the property dialog sets them.
void SetTypes(CBETypeConvertor* block, BeSignalType in, BeSignalType out) {
  block->Input(0)->type = in;
  block->Output(0)->type = out;
  block->UpdateCosts();
}

TEST(TypeConvertor, IsMadeBitToChar) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  ASSERT_NE(nullptr, convertor);
  EXPECT_STREQ(L"Преобразователь типов данных", convertor->GetCaption());
  EXPECT_EQ(120, convertor->Width());
  EXPECT_EQ(22, convertor->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xFFFFFF), convertor->fillColor);
  ASSERT_EQ(1, convertor->inputCount);
  ASSERT_EQ(1, convertor->outputCount);
  EXPECT_EQ(kSignalBit, convertor->GetInputType());
  EXPECT_EQ(kSignalChar, convertor->GetOutputType());
  EXPECT_EQ(nullptr, convertor->Input(0)->name);
  EXPECT_EQ(nullptr, convertor->Output(0)->name);
  EXPECT_EQ(Costs(5, 12, 0, false), CostsOf(convertor));
}

// cycles / ROM, * the shared-routine flag, by declared input (rows) and
// output (columns), bit to double.
TEST(TypeConvertor, CostsOfEveryPair) {
  const Costs table[6][6] = {
      {Costs(0, 0), Costs(5, 12), Costs(6, 14), Costs(8, 18), Costs(8, 18), Costs(12, 24)},
      {Costs(7, 20), Costs(0, 0), Costs(6, 10), Costs(8, 22), Costs(50, 8, 0, true), Costs(160, 12, 0, true)},
      {Costs(11, 24), Costs(0, 0), Costs(0, 0), Costs(7, 14), Costs(75, 20), Costs(275, 30)},
      {Costs(13, 30), Costs(0, 0), Costs(0, 0), Costs(0, 0), Costs(160, 8, 0, true), Costs(210, 16, 0, true)},
      {Costs(11, 24), Costs(80, 8, 0, true), Costs(80, 8, 0, true), Costs(80, 8, 0, true), Costs(0, 0),
       Costs(20, 16, 0, true)},
      {Costs(11, 24), Costs(80, 8, 0, true), Costs(80, 8, 0, true), Costs(80, 8, 0, true), Costs(20, 16, 0, true),
       Costs(0, 0)},
  };
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  for (int in = 1; in <= 6; ++in) {
    for (int out = 1; out <= 6; ++out) {
      // From a pair with the flag, so a cleared flag is seen.
      SetTypes(convertor, kSignalChar, kSignalFloat);
      SetTypes(convertor, in, out);
      EXPECT_EQ(table[in - 1][out - 1], CostsOf(convertor)) << in << " to " << out;
    }
  }
  // The Part's examples: bit to float as bit to int; short to double
  // without the flag.
  SetTypes(convertor, kSignalBit, kSignalFloat);
  EXPECT_EQ(Costs(8, 18), CostsOf(convertor));
  SetTypes(convertor, kSignalShort, kSignalDouble);
  EXPECT_EQ(Costs(275, 30), CostsOf(convertor));
}

TEST(TypeConvertor, CostsOfPairsOutsideTheTable) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  // A float or double input to another output type: 80 / 8 with the flag.
  for (BeSignalType in : {kSignalFloat, kSignalDouble})
    for (BeSignalType out : {kSignalPwm, kSignalPulseA, kSignalVideo}) {
      SetTypes(convertor, kSignalBit, kSignalChar);
      SetTypes(convertor, in, out);
      EXPECT_EQ(Costs(80, 8, 0, true), CostsOf(convertor)) << in << " to " << out;
    }
  // Otherwise cycles and ROM stay, the flag is cleared.
  for (BeSignalType in : {kSignalBit, kSignalChar, kSignalShort, kSignalInt})
    for (BeSignalType out : {kSignalPwm, kSignalAnalog}) {
      SetTypes(convertor, kSignalChar, kSignalDouble);  // 160 / 12 *
      SetTypes(convertor, in, out);
      EXPECT_EQ(Costs(160, 12, 0, false), CostsOf(convertor)) << in << " to " << out;
    }
  for (BeSignalType in : {kSignalPwm, kSignalPulseB, kSignalAnyScalar}) {
    SetTypes(convertor, kSignalInt, kSignalFloat);  // 160 / 8 *
    SetTypes(convertor, in, kSignalInt);
    EXPECT_EQ(Costs(160, 8, 0, false), CostsOf(convertor)) << in;
  }
}

// One conversion: a source of type S holding bytes, an output of type O
// preset to AA bytes, one pass.
struct Conversion {
  BeSignalType source;
  double value;                 // set in the source's type; NaN with bytes below
  std::vector<uint8_t> bytes;   // the source's bytes when not empty
  BeSignalType output;
  std::vector<uint8_t> expected;  // the output's eight bytes
};

std::vector<uint8_t> Le(const void* data, size_t n) {
  std::vector<uint8_t> b(8, 0xAA);
  memcpy(b.data(), data, n);
  return b;
}
std::vector<uint8_t> Char(int v) {
  int8_t c = static_cast<int8_t>(v);
  return Le(&c, 1);
}
std::vector<uint8_t> Short(int v) {
  int16_t s = static_cast<int16_t>(v);
  return Le(&s, 2);
}
std::vector<uint8_t> Int(int32_t v) { return Le(&v, 4); }
std::vector<uint8_t> Float(float v) { return Le(&v, 4); }
std::vector<uint8_t> Double(double v) { return Le(&v, 8); }
std::vector<uint8_t> Bit(int b) { return Char(b); }

TEST(TypeConvertor, ConversionsBySourceType) {
  const std::vector<Conversion> cases = {
      // char -1 everywhere.
      {kSignalChar, -1, {}, kSignalInt, Int(-1)},
      {kSignalChar, -1, {}, kSignalBit, Bit(1)},
      {kSignalChar, 0, {}, kSignalBit, Bit(0)},
      {kSignalChar, -1, {}, kSignalShort, Short(-1)},
      {kSignalChar, -128, {}, kSignalChar, Char(-128)},
      {kSignalChar, -1, {}, kSignalFloat, Float(-1)},
      {kSignalChar, -100, {}, kSignalDouble, Double(-100)},
      // short 0x0100: char 0, bit 1.
      {kSignalShort, 0x0100, {}, kSignalChar, Char(0)},
      {kSignalShort, 0x0100, {}, kSignalBit, Bit(1)},
      {kSignalShort, 0x1234, {}, kSignalChar, Char(0x34)},
      {kSignalShort, -32768, {}, kSignalInt, Int(-32768)},
      {kSignalShort, -2, {}, kSignalFloat, Float(-2)},
      // int: low bits, nearest float.
      {kSignalInt, 0x12345678, {}, kSignalShort, Short(0x5678)},
      {kSignalInt, 0x12345678, {}, kSignalChar, Char(0x78)},
      {kSignalInt, 0x10000, {}, kSignalBit, Bit(1)},
      {kSignalInt, 16777217, {}, kSignalFloat, Float(16777216.0f)},  // the tie goes to even
      {kSignalInt, 16777219, {}, kSignalFloat, Float(16777220.0f)},
      {kSignalInt, INT_MIN, {}, kSignalDouble, Double(-2147483648.0)},
      {kSignalInt, INT_MIN, {}, kSignalInt, Int(INT_MIN)},
      // float: truncated toward zero, -2147483648 beyond the range or for
      // not a number.
      {kSignalFloat, 300.7, {}, kSignalChar, Char(44)},
      {kSignalFloat, -2.9, {}, kSignalInt, Int(-2)},
      {kSignalFloat, 2.9, {}, kSignalInt, Int(2)},
      {kSignalFloat, 70000.9, {}, kSignalShort, Short(70000 - 65536)},
      {kSignalFloat, kNaN, {}, kSignalInt, Int(INT_MIN)},
      {kSignalFloat, kNaN, {}, kSignalChar, Char(0)},
      {kSignalFloat, kNaN, {}, kSignalShort, Short(0)},
      {kSignalFloat, kNaN, {}, kSignalBit, Bit(1)},
      {kSignalFloat, kInf, {}, kSignalInt, Int(INT_MIN)},
      {kSignalFloat, -kInf, {}, kSignalInt, Int(INT_MIN)},
      {kSignalFloat, 3e9, {}, kSignalInt, Int(INT_MIN)},
      {kSignalFloat, 2147483520.0, {}, kSignalInt, Int(2147483520)},  // the largest float below 2^31
      {kSignalFloat, 2147483648.0, {}, kSignalInt, Int(INT_MIN)},     // 2^31 itself is beyond
      {kSignalFloat, -2147483648.0, {}, kSignalInt, Int(INT_MIN)},    // in the range
      {kSignalFloat, 0.5, {}, kSignalBit, Bit(1)},
      {kSignalFloat, 0.5, {}, kSignalInt, Int(0)},
      {kSignalFloat, -0.0, {}, kSignalBit, Bit(0)},
      {kSignalFloat, 0.1, {}, kSignalDouble, Double(static_cast<double>(0.1f))},
      {kSignalFloat, kNaN, {0x01, 0x00, 0xC0, 0x7F}, kSignalFloat, Le("\x01\x00\xC0\x7F", 4)},  // copied
      // double.
      {kSignalDouble, 1e10, {}, kSignalInt, Int(INT_MIN)},
      {kSignalDouble, -2147483648.9, {}, kSignalInt, Int(INT_MIN)},  // truncates to the smallest int
      {kSignalDouble, -2147483649.0, {}, kSignalInt, Int(INT_MIN)},
      {kSignalDouble, 2147483647.9, {}, kSignalInt, Int(INT_MAX)},
      {kSignalDouble, 65537.5, {}, kSignalShort, Short(1)},
      {kSignalDouble, 65537.5, {}, kSignalChar, Char(1)},
      {kSignalDouble, -1e-300, {}, kSignalBit, Bit(1)},
      {kSignalDouble, kNaN, {}, kSignalBit, Bit(1)},
      {kSignalDouble, kNaN, {}, kSignalShort, Short(0)},
      {kSignalDouble, 0.1, {}, kSignalFloat, Float(0.1f)},
      {kSignalDouble, 1e300, {}, kSignalFloat, Float(std::numeric_limits<float>::infinity())},
      {kSignalDouble, 0.1, {}, kSignalDouble, Double(0.1)},
      // bit-like sources: the first byte.
      {kSignalBit, kNaN, {2}, kSignalBit, Bit(2)},
      {kSignalBit, kNaN, {2}, kSignalChar, Char(0)},
      {kSignalBit, kNaN, {3}, kSignalChar, Char(1)},
      {kSignalBit, kNaN, {3}, kSignalShort, Short(1)},
      {kSignalBit, kNaN, {0xFF}, kSignalInt, Int(1)},
      {kSignalBit, kNaN, {3}, kSignalFloat, Float(1)},
      {kSignalBit, kNaN, {2}, kSignalDouble, Double(0)},
      {kSignalPwm, kNaN, {0x05, 0x11, 0x22, 0x33}, kSignalBit, Bit(5)},
      {kSignalPwm, kNaN, {0x05, 0x11, 0x22, 0x33}, kSignalInt, Int(1)},
      {kSignalPulseA, kNaN, {0x81}, kSignalChar, Char(1)},
      {kSignalPulseB, kNaN, {0x80}, kSignalDouble, Double(0)},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Conversion& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": source type " << c.source << ", value " << c.value
                                    << ", output type " << c.output);
    Bench bench;
    auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
    // The declared input type does not matter: the source's type counts.
    SetTypes(convertor, kSignalBit, c.output);
    auto* source = bench.Source(c.source);
    if (!c.bytes.empty()) {
      source->SetBytes(c.bytes);
    } else {
      source->Set(c.value);
    }
    bench.LinkAnyway(source, 0, convertor, 0);
    bench.Start();
    memset(convertor->Output(0)->value, 0xAA, 8);
    bench.Pass();
    EXPECT_EQ(c.expected, blocktest::ValueBytes(convertor));
  }
}

TEST(TypeConvertor, StartClearsAndUncoveredTypesLeaveTheOutput) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  memset(convertor->Output(0)->value, 0xAA, 8);
  bench.Start();
  EXPECT_EQ(std::vector<uint8_t>({0, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(convertor));
  // Unconnected: the output keeps its value.
  convertor->Output(0)->value[0] = 0x42;
  bench.Pass();
  EXPECT_EQ(0x42, convertor->Output(0)->value[0]);
  // A source above type 8 is not converted.
  for (BeSignalType type : {kSignalAnalog, kSignalVideo, kSignalScanSector}) {
    auto* source = bench.Source(type);
    source->SetBytes({1, 2, 3, 4, 5, 6, 7, 8});
    bench.LinkAnyway(source, 0, convertor, 0);
    bench.Pass();
    EXPECT_EQ(0x42, convertor->Output(0)->value[0]) << type;
  }
  // An output type outside 1..6 writes nothing.
  auto* f = bench.Source(kSignalFloat);
  f->SetFloat(5);
  bench.LinkAnyway(f, 0, convertor, 0);
  SetTypes(convertor, kSignalFloat, kSignalAnalog);
  bench.Pass();
  EXPECT_EQ(0x42, convertor->Output(0)->value[0]);
  SetTypes(convertor, kSignalFloat, kSignalInt);
  bench.Pass();
  EXPECT_EQ(5, blocktest::ReadInt(convertor));
  // The value follows the source every pass.
  f->SetFloat(-7.5f);
  bench.Pass();
  EXPECT_EQ(-7, blocktest::ReadInt(convertor));
}

// ------------------------------------------------------------ records

TEST(TypeConvertorRecords, GoldenBytesLoadAndTruncations) {
  auto convertor = blocktest::NewDetached<CBETypeConvertor>(kTypeConvertorClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(convertor.get()), velktest::ParseHex(R"(
      01 02
      00 00 00 00  00 00 00 00  78 00 00 00  16 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));
  std::vector<uint8_t> record =
      blocktest::Golden().B(6).B(3).Base(blocktest::BaseRecord::Unlinked(RECT{5, 6, 125, 28}, 1, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(convertor.get(), record));
  EXPECT_EQ(kSignalDouble, convertor->GetInputType());
  EXPECT_EQ(kSignalShort, convertor->GetOutputType());
  EXPECT_EQ(Costs(80, 8, 0, true), CostsOf(convertor.get()));
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(convertor.get()), record));
  blocktest::ExpectTruncationsRefused<CBETypeConvertor>(kTypeConvertorClassId, record);

  // Type codes beyond the type table are refused, the block unchanged.
  struct Row {
    int in, out;
    bool loads;
  } rows[] = {{37, 2, false}, {41, 2, false}, {255, 2, false}, {1, 37, false}, {1, 38, false},
              {1, 255, false}, {0, 1, true},  {39, 5, true},   {5, 7, true}};
  for (const Row& row : rows) {
    auto fresh = blocktest::NewDetached<CBETypeConvertor>(kTypeConvertorClassId);
    EXPECT_EQ(row.loads, blocktest::LoadBytes(fresh.get(), blocktest::Golden().B(row.in).B(row.out)
        .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 120, 22}, 1, 1)).Bytes()))
        << row.in << " " << row.out;
    if (!row.loads) {
      EXPECT_EQ(kSignalBit, fresh->GetInputType());
      EXPECT_EQ(kSignalChar, fresh->GetOutputType());
      EXPECT_EQ(Costs(5, 12), CostsOf(fresh.get()));
    }
  }
}

TEST(TypeConvertorRecords, SchemeRoundTrip) {
  Bench bench;
  auto* f = bench.Source(kSignalFloat);
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  SetTypes(convertor, kSignalFloat, kSignalChar);
  bench.Link(f, convertor);
  f->SetFloat(300.7f);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto convertors = blocktest::BlocksOf<CBETypeConvertor>(copy.get());
  ASSERT_EQ(1u, convertors.size());
  EXPECT_EQ(kSignalFloat, convertors[0]->GetInputType());
  EXPECT_EQ(kSignalChar, convertors[0]->GetOutputType());
  EXPECT_EQ(Costs(80, 8, 0, true), CostsOf(convertors[0]));
  ASSERT_NE(nullptr, convertors[0]->Input(0)->source);
  copy->Start();
  for (CBEBlock* b = copy->blocks; b; b = b->next) b->Step(0.001f);
  EXPECT_EQ(44, blocktest::ReadInt(convertors[0]));
  copy->Stop();
}

// ------------------------------------------------------------ dialog and drawing

bool g_confirmed = false;
bool Confirm(CBEBlock* block) {
  g_confirmed = true;
  SetTypes(dynamic_cast<CBETypeConvertor*>(block), kSignalInt, kSignalDouble);
  return true;
}

TEST(TypeConvertor, PropertiesAnswerFalseUntilTheClassHasADialog) {
  blocktest::DialogScope dialogs;
  BeBlockDialogTable::Program().Set(kTypeConvertorClassId, nullptr);
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  std::vector<uint8_t> before = blocktest::RecordBytes(convertor);
  EXPECT_FALSE(convertor->ShowProperties());
  EXPECT_EQ(before, blocktest::RecordBytes(convertor));
  g_confirmed = false;
  dialogs.Set(kTypeConvertorClassId, Confirm);
  EXPECT_TRUE(convertor->ShowProperties());
  EXPECT_TRUE(g_confirmed);
  EXPECT_EQ(Costs(210, 16, 0, true), CostsOf(convertor));
}

TEST(TypeConvertor, DrawsTheDeclaredTypes) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kTypeConvertorClassId);
  EXPECT_TRUE(blocktest::DrawsCaption(convertor, L"bit => char"));
  SetTypes(convertor, kSignalFloat, kSignalDouble);
  EXPECT_TRUE(blocktest::DrawsCaption(convertor, L"float => double"));
  SetTypes(convertor, kSignalPwm, kSignalShort);
  EXPECT_TRUE(blocktest::DrawsCaption(convertor, L"ШИМ => short"));
  EXPECT_FALSE(blocktest::DrawsCaption(convertor, L"bit => char"));
  SetTypes(convertor, kSignalBit, kSignalChar);
  blocktest::Canvas canvas(160, 50);
  canvas.Paint(convertor, 20, 14);
  EXPECT_GT(canvas.Ink(22, 16, 137, 34), 20);
  canvas.Save(L"library_type_convertor.bmp");
}

}  // namespace
