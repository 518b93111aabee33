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
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  ASSERT_NE(nullptr, convertor);
  EXPECT_STREQ(L"Преобразователь типов данных", convertor->GetCaption());
  EXPECT_EQ(120, convertor->Width());
  EXPECT_EQ(22, convertor->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xFFFFFF), convertor->fillColor);
  ASSERT_EQ(1, convertor->inputCount);
  ASSERT_EQ(1, convertor->outputCount);
  EXPECT_EQ(kBeSignalBit, convertor->GetInputType());
  EXPECT_EQ(kBeSignalChar, convertor->GetOutputType());
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
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  for (int in = 1; in <= 6; ++in) {
    for (int out = 1; out <= 6; ++out) {
      // From a pair with the flag, so a cleared flag is seen.
      SetTypes(convertor, kBeSignalChar, kBeSignalFloat);
      SetTypes(convertor, in, out);
      EXPECT_EQ(table[in - 1][out - 1], CostsOf(convertor)) << in << " to " << out;
    }
  }
  // The Part's examples: bit to float as bit to int; short to double
  // without the flag.
  SetTypes(convertor, kBeSignalBit, kBeSignalFloat);
  EXPECT_EQ(Costs(8, 18), CostsOf(convertor));
  SetTypes(convertor, kBeSignalShort, kBeSignalDouble);
  EXPECT_EQ(Costs(275, 30), CostsOf(convertor));
}

TEST(TypeConvertor, CostsOfPairsOutsideTheTable) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  // A float or double input to another output type: 80 / 8 with the flag.
  for (BeSignalType in : {kBeSignalFloat, kBeSignalDouble})
    for (BeSignalType out : {kBeSignalPwm, kBeSignalPulseA, kBeSignalVideo}) {
      SetTypes(convertor, kBeSignalBit, kBeSignalChar);
      SetTypes(convertor, in, out);
      EXPECT_EQ(Costs(80, 8, 0, true), CostsOf(convertor)) << in << " to " << out;
    }
  // Otherwise cycles and ROM stay, the flag is cleared.
  for (BeSignalType in : {kBeSignalBit, kBeSignalChar, kBeSignalShort, kBeSignalInt})
    for (BeSignalType out : {kBeSignalPwm, kBeSignalAnalog}) {
      SetTypes(convertor, kBeSignalChar, kBeSignalDouble);  // 160 / 12 *
      SetTypes(convertor, in, out);
      EXPECT_EQ(Costs(160, 12, 0, false), CostsOf(convertor)) << in << " to " << out;
    }
  for (BeSignalType in : {kBeSignalPwm, kBeSignalPulseB, kBeSignalAnyScalar}) {
    SetTypes(convertor, kBeSignalInt, kBeSignalFloat);  // 160 / 8 *
    SetTypes(convertor, in, kBeSignalInt);
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
      {kBeSignalChar, -1, {}, kBeSignalInt, Int(-1)},
      {kBeSignalChar, -1, {}, kBeSignalBit, Bit(1)},
      {kBeSignalChar, 0, {}, kBeSignalBit, Bit(0)},
      {kBeSignalChar, -1, {}, kBeSignalShort, Short(-1)},
      {kBeSignalChar, -128, {}, kBeSignalChar, Char(-128)},
      {kBeSignalChar, -1, {}, kBeSignalFloat, Float(-1)},
      {kBeSignalChar, -100, {}, kBeSignalDouble, Double(-100)},
      // short 0x0100: char 0, bit 1.
      {kBeSignalShort, 0x0100, {}, kBeSignalChar, Char(0)},
      {kBeSignalShort, 0x0100, {}, kBeSignalBit, Bit(1)},
      {kBeSignalShort, 0x1234, {}, kBeSignalChar, Char(0x34)},
      {kBeSignalShort, -32768, {}, kBeSignalInt, Int(-32768)},
      {kBeSignalShort, -2, {}, kBeSignalFloat, Float(-2)},
      // int: low bits, nearest float.
      {kBeSignalInt, 0x12345678, {}, kBeSignalShort, Short(0x5678)},
      {kBeSignalInt, 0x12345678, {}, kBeSignalChar, Char(0x78)},
      {kBeSignalInt, 0x10000, {}, kBeSignalBit, Bit(1)},
      {kBeSignalInt, 16777217, {}, kBeSignalFloat, Float(16777216.0f)},  // the tie goes to even
      {kBeSignalInt, 16777219, {}, kBeSignalFloat, Float(16777220.0f)},
      {kBeSignalInt, INT_MIN, {}, kBeSignalDouble, Double(-2147483648.0)},
      {kBeSignalInt, INT_MIN, {}, kBeSignalInt, Int(INT_MIN)},
      // float: truncated toward zero, -2147483648 beyond the range or for
      // not a number.
      {kBeSignalFloat, 300.7, {}, kBeSignalChar, Char(44)},
      {kBeSignalFloat, -2.9, {}, kBeSignalInt, Int(-2)},
      {kBeSignalFloat, 2.9, {}, kBeSignalInt, Int(2)},
      {kBeSignalFloat, 70000.9, {}, kBeSignalShort, Short(70000 - 65536)},
      {kBeSignalFloat, kNaN, {}, kBeSignalInt, Int(INT_MIN)},
      {kBeSignalFloat, kNaN, {}, kBeSignalChar, Char(0)},
      {kBeSignalFloat, kNaN, {}, kBeSignalShort, Short(0)},
      {kBeSignalFloat, kNaN, {}, kBeSignalBit, Bit(1)},
      {kBeSignalFloat, kInf, {}, kBeSignalInt, Int(INT_MIN)},
      {kBeSignalFloat, -kInf, {}, kBeSignalInt, Int(INT_MIN)},
      {kBeSignalFloat, 3e9, {}, kBeSignalInt, Int(INT_MIN)},
      {kBeSignalFloat, 2147483520.0, {}, kBeSignalInt, Int(2147483520)},  // the largest float below 2^31
      {kBeSignalFloat, 2147483648.0, {}, kBeSignalInt, Int(INT_MIN)},     // 2^31 itself is beyond
      {kBeSignalFloat, -2147483648.0, {}, kBeSignalInt, Int(INT_MIN)},    // in the range
      {kBeSignalFloat, 0.5, {}, kBeSignalBit, Bit(1)},
      {kBeSignalFloat, 0.5, {}, kBeSignalInt, Int(0)},
      {kBeSignalFloat, -0.0, {}, kBeSignalBit, Bit(0)},
      {kBeSignalFloat, 0.1, {}, kBeSignalDouble, Double(static_cast<double>(0.1f))},
      {kBeSignalFloat, kNaN, {0x01, 0x00, 0xC0, 0x7F}, kBeSignalFloat, Le("\x01\x00\xC0\x7F", 4)},  // copied
      // double.
      {kBeSignalDouble, 1e10, {}, kBeSignalInt, Int(INT_MIN)},
      {kBeSignalDouble, -2147483648.9, {}, kBeSignalInt, Int(INT_MIN)},  // truncates to the smallest int
      {kBeSignalDouble, -2147483649.0, {}, kBeSignalInt, Int(INT_MIN)},
      {kBeSignalDouble, 2147483647.9, {}, kBeSignalInt, Int(INT_MAX)},
      {kBeSignalDouble, 65537.5, {}, kBeSignalShort, Short(1)},
      {kBeSignalDouble, 65537.5, {}, kBeSignalChar, Char(1)},
      {kBeSignalDouble, -1e-300, {}, kBeSignalBit, Bit(1)},
      {kBeSignalDouble, kNaN, {}, kBeSignalBit, Bit(1)},
      {kBeSignalDouble, kNaN, {}, kBeSignalShort, Short(0)},
      {kBeSignalDouble, 0.1, {}, kBeSignalFloat, Float(0.1f)},
      {kBeSignalDouble, 1e300, {}, kBeSignalFloat, Float(std::numeric_limits<float>::infinity())},
      {kBeSignalDouble, 0.1, {}, kBeSignalDouble, Double(0.1)},
      // bit-like sources: the first byte.
      {kBeSignalBit, kNaN, {2}, kBeSignalBit, Bit(2)},
      {kBeSignalBit, kNaN, {2}, kBeSignalChar, Char(0)},
      {kBeSignalBit, kNaN, {3}, kBeSignalChar, Char(1)},
      {kBeSignalBit, kNaN, {3}, kBeSignalShort, Short(1)},
      {kBeSignalBit, kNaN, {0xFF}, kBeSignalInt, Int(1)},
      {kBeSignalBit, kNaN, {3}, kBeSignalFloat, Float(1)},
      {kBeSignalBit, kNaN, {2}, kBeSignalDouble, Double(0)},
      {kBeSignalPwm, kNaN, {0x05, 0x11, 0x22, 0x33}, kBeSignalBit, Bit(5)},
      {kBeSignalPwm, kNaN, {0x05, 0x11, 0x22, 0x33}, kBeSignalInt, Int(1)},
      {kBeSignalPulseA, kNaN, {0x81}, kBeSignalChar, Char(1)},
      {kBeSignalPulseB, kNaN, {0x80}, kBeSignalDouble, Double(0)},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Conversion& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": source type " << c.source << ", value " << c.value
                                    << ", output type " << c.output);
    Bench bench;
    auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
    // The declared input type does not matter: the source's type counts.
    SetTypes(convertor, kBeSignalBit, c.output);
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
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  memset(convertor->Output(0)->value, 0xAA, 8);
  bench.Start();
  EXPECT_EQ(std::vector<uint8_t>({0, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(convertor));
  // Unconnected: the output keeps its value.
  convertor->Output(0)->value[0] = 0x42;
  bench.Pass();
  EXPECT_EQ(0x42, convertor->Output(0)->value[0]);
  // A source above type 8 is not converted.
  for (BeSignalType type : {kBeSignalAnalog, kBeSignalVideo, kBeSignalScanSector}) {
    auto* source = bench.Source(type);
    source->SetBytes({1, 2, 3, 4, 5, 6, 7, 8});
    bench.LinkAnyway(source, 0, convertor, 0);
    bench.Pass();
    EXPECT_EQ(0x42, convertor->Output(0)->value[0]) << type;
  }
  // An output type outside 1..6 writes nothing.
  auto* f = bench.Source(kBeSignalFloat);
  f->SetFloat(5);
  bench.LinkAnyway(f, 0, convertor, 0);
  SetTypes(convertor, kBeSignalFloat, kBeSignalAnalog);
  bench.Pass();
  EXPECT_EQ(0x42, convertor->Output(0)->value[0]);
  SetTypes(convertor, kBeSignalFloat, kBeSignalInt);
  bench.Pass();
  EXPECT_EQ(5, blocktest::ReadInt(convertor));
  // The value follows the source every pass.
  f->SetFloat(-7.5f);
  bench.Pass();
  EXPECT_EQ(-7, blocktest::ReadInt(convertor));
}

// ------------------------------------------------------------ records

TEST(TypeConvertorRecords, GoldenBytesLoadAndTruncations) {
  auto convertor = blocktest::NewDetached<CBETypeConvertor>(kBeTypeConvertorClassId);
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
  EXPECT_EQ(kBeSignalDouble, convertor->GetInputType());
  EXPECT_EQ(kBeSignalShort, convertor->GetOutputType());
  EXPECT_EQ(Costs(80, 8, 0, true), CostsOf(convertor.get()));
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(convertor.get()), record));
  blocktest::ExpectTruncationsRefused<CBETypeConvertor>(kBeTypeConvertorClassId, record);

  // Type codes beyond the type table are refused, the block unchanged.
  struct Row {
    int in, out;
    bool loads;
  } rows[] = {{37, 2, false}, {41, 2, false}, {255, 2, false}, {1, 37, false}, {1, 38, false},
              {1, 255, false}, {0, 1, true},  {39, 5, true},   {5, 7, true}};
  for (const Row& row : rows) {
    auto fresh = blocktest::NewDetached<CBETypeConvertor>(kBeTypeConvertorClassId);
    EXPECT_EQ(row.loads, blocktest::LoadBytes(fresh.get(), blocktest::Golden().B(row.in).B(row.out)
        .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 120, 22}, 1, 1)).Bytes()))
        << row.in << " " << row.out;
    if (!row.loads) {
      EXPECT_EQ(kBeSignalBit, fresh->GetInputType());
      EXPECT_EQ(kBeSignalChar, fresh->GetOutputType());
      EXPECT_EQ(Costs(5, 12), CostsOf(fresh.get()));
    }
  }
}

TEST(TypeConvertorRecords, SchemeRoundTrip) {
  Bench bench;
  auto* f = bench.Source(kBeSignalFloat);
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  SetTypes(convertor, kBeSignalFloat, kBeSignalChar);
  bench.Link(f, convertor);
  f->SetFloat(300.7f);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto convertors = blocktest::BlocksOf<CBETypeConvertor>(copy.get());
  ASSERT_EQ(1u, convertors.size());
  EXPECT_EQ(kBeSignalFloat, convertors[0]->GetInputType());
  EXPECT_EQ(kBeSignalChar, convertors[0]->GetOutputType());
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
  SetTypes(dynamic_cast<CBETypeConvertor*>(block), kBeSignalInt, kBeSignalDouble);
  return true;
}

TEST(TypeConvertor, PropertiesAnswerFalseUntilTheClassHasADialog) {
  blocktest::DialogScope dialogs;
  BeBlockDialogTable::Program().Set(kBeTypeConvertorClassId, nullptr);
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  std::vector<uint8_t> before = blocktest::RecordBytes(convertor);
  EXPECT_FALSE(convertor->ShowProperties());
  EXPECT_EQ(before, blocktest::RecordBytes(convertor));
  g_confirmed = false;
  dialogs.Set(kBeTypeConvertorClassId, Confirm);
  EXPECT_TRUE(convertor->ShowProperties());
  EXPECT_TRUE(g_confirmed);
  EXPECT_EQ(Costs(210, 16, 0, true), CostsOf(convertor));
}

TEST(TypeConvertor, DrawsTheDeclaredTypes) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  EXPECT_TRUE(blocktest::DrawsCaption(convertor, L"bit => char"));
  SetTypes(convertor, kBeSignalFloat, kBeSignalDouble);
  EXPECT_TRUE(blocktest::DrawsCaption(convertor, L"float => double"));
  SetTypes(convertor, kBeSignalPwm, kBeSignalShort);
  EXPECT_TRUE(blocktest::DrawsCaption(convertor, L"ШИМ => short"));
  EXPECT_FALSE(blocktest::DrawsCaption(convertor, L"bit => char"));
  SetTypes(convertor, kBeSignalBit, kBeSignalChar);
  blocktest::Canvas canvas(160, 50);
  canvas.Paint(convertor, 20, 14);
  EXPECT_GT(canvas.Ink(22, 16, 137, 34), 20);
  canvas.Save(L"library_type_convertor.bmp");
}

}  // namespace
