// The vector blocks of the "Тригонометрия" group: their pins and sizes, the
// costs by type, results at 2 and 127 dimensions with wrapping integer
// sums, the distance block's new dimension and type with its links, the
// records, dialogs and drawn texts.
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "block_kit.h"
#include "blocks/library/math/vectors/arctan2.h"
#include "blocks/library/math/vectors/distance.h"
#include "blocks/library/math/vectors/length.h"
#include "blocks/library/math/vectors/norm.h"
#include "blocks/library/math/vectors/rot.h"
#include "blocks/library/math/vectors/vector_dimension.h"
#include "blocks/library/typed_block.h"
#include "foundation/buffer_failure_scope.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The type as the property dialogs set it, then the class's update.
void SetType(CBEBlock* block, BeSignalType type) {
  ChangeBlockType(block, type);
  if (auto* b = dynamic_cast<CBEArctan2*>(block)) b->UpdateCosts();
  if (auto* b = dynamic_cast<CBELength*>(block)) b->UpdatePinsAndCosts();
  if (auto* b = dynamic_cast<CBENorm*>(block)) b->UpdatePinsAndCosts();
  if (auto* b = dynamic_cast<CBEDistance*>(block)) b->UpdatePinsAndCosts();
}
// n components as the dialogs set them.
void SetComponents(CBEBlock* block, int n) {
  ASSERT_TRUE(block->SetInputCount(n));
  if (auto* b = dynamic_cast<CBENorm*>(block)) {
    ASSERT_TRUE(b->SetOutputCount(n));
    b->UpdatePinsAndCosts();
  }
  if (auto* b = dynamic_cast<CBELength*>(block)) b->UpdatePinsAndCosts();
}

// Input i fed by a source of type with the value v (NaN: left unlinked).
void Feed(Bench& bench, CBEBlock* block, int i, BeSignalType type, double v) {
  if (std::isnan(v)) return;
  auto* source = bench.Source(type);
  source->Set(v);
  bench.Link(source, block, i);
}

// ------------------------------------------------------------ construction

TEST(VectorBlocks, EachIsMadeWithItsSizePinsAndType) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height, inputs, outputs;
    BeSignalType type;
    Costs costs;
  } rows[] = {
      {kBeArctan2ClassId, L"Арктангенс от двух аргументов", 80, 40, 2, 1, kBeSignalFloat, Costs(380, 10, 0, true)},
      {kBeLengthClassId, L"Длина вектора", 80, 40, 2, 1, kBeSignalFloat, Costs(380, 10, 0, true)},
      {kBeNormClassId, L"Нормировка вектора", 80, 40, 2, 2, kBeSignalFloat, Costs(380, 10, 0, true)},
      {kBeRotClassId, L"Плоский поворот вектора на угол a", 80, 60, 3, 2, kBeSignalFloat, Costs(0, 0, 0, false)},
      {kBeDistanceClassId, L"Расстояние между точками", 120, 100, 4, 1, kBeSignalFloat, Costs(380, 10, 0, true)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(static_cast<COLORREF>(0x33FFFF), block->fillColor);
    ASSERT_EQ(row.inputs, block->inputCount);
    ASSERT_EQ(row.outputs, block->outputCount);
    for (int i = 0; i < block->inputCount; ++i) EXPECT_EQ(row.type, block->Input(i)->type) << i;
    for (int i = 0; i < block->outputCount; ++i) {
      EXPECT_EQ(row.type, block->Output(i)->type) << i;
      EXPECT_EQ(std::vector<uint8_t>(8, 0), blocktest::ValueBytes(block, i)) << "holds 0";
    }
    EXPECT_EQ(row.costs, CostsOf(block));
  }
  auto* atan2 = bench.Create<CBEArctan2>(kBeArctan2ClassId);
  EXPECT_STREQ(L"y", atan2->Input(0)->name);
  EXPECT_STREQ(L"x", atan2->Input(1)->name);
  EXPECT_EQ(nullptr, atan2->Input(0)->description);
  auto* length = bench.Create<CBELength>(kBeLengthClassId);
  EXPECT_EQ(nullptr, length->Input(0)->name);
  EXPECT_EQ(10, length->Input(0)->yOffset);
  EXPECT_EQ(30, length->Input(1)->yOffset);

  auto* rot = bench.Create<CBERot>(kBeRotClassId);
  const wchar_t* names[] = {L"x", L"y", L"a"};
  const wchar_t* hints[] = {L"Координата x", L"Координата y", L"Угол поворота (рад)"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(names[i], rot->Input(i)->name);
    EXPECT_STREQ(hints[i], rot->Input(i)->description);
  }
  EXPECT_STREQ(L"x", rot->Output(0)->name);
  EXPECT_STREQ(L"y", rot->Output(1)->name);
  EXPECT_STREQ(L"Координата x после поворота на a", rot->Output(0)->description);
  EXPECT_STREQ(L"Координата y после поворота на a", rot->Output(1)->description);

  // A new distance block: 120 x 100, A inputs at 10 and 30, B inputs at 60
  // and 80, the output at 50.
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  EXPECT_EQ(2, distance->GetDimension());
  const int offsets[] = {10, 30, 60, 80};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(offsets[i], distance->Input(i)->yOffset) << i;
    EXPECT_STREQ(i < 2 ? L"A" : L"B", distance->Input(i)->name);
    EXPECT_STREQ(i < 2 ? L"Компоненты вектора точка A" : L"Компоненты вектора точка B",
                 distance->Input(i)->description);
  }
  EXPECT_EQ(50, distance->Output(0)->yOffset);
  EXPECT_EQ(nullptr, distance->Output(0)->name);
}

TEST(VectorBlocks, CostsByType) {
  Bench bench;
  // char, short, int, float, double; a row of zeros: the type leaves the
  // costs as they were.
  struct Row {
    unsigned int classId;
    Costs costs[5];
  } rows[] = {
      {kBeLengthClassId, {Costs(380, 10, 0, true), Costs(380, 10, 0, true), Costs(380, 10, 0, true),
                        Costs(380, 10, 0, true), Costs(490, 20, 0, true)}},
      {kBeDistanceClassId, {Costs(380, 10, 0, true), Costs(380, 10, 0, true), Costs(380, 10, 0, true),
                          Costs(380, 10, 0, true), Costs(490, 20, 0, true)}},
  };
  for (const Row& row : rows) {
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    for (BeSignalType type : {kBeSignalDouble, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble}) {
      SetType(block, type);
      EXPECT_EQ(row.costs[type - kBeSignalChar], CostsOf(block)) << std::hex << row.classId << std::dec << " " << type;
    }
  }
  for (unsigned int id : {kBeArctan2ClassId, kBeNormClassId}) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    SetType(block, kBeSignalDouble);
    EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(block)) << std::hex << id;
    // A type without a row keeps the costs (and the flag stays set).
    SetType(block, kBeSignalShort);
    EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(block)) << std::hex << id;
    SetType(block, kBeSignalFloat);
    EXPECT_EQ(Costs(380, 10, 0, true), CostsOf(block)) << std::hex << id;
  }
  // The costs do not grow with the dimension.
  auto* length = bench.Create<CBELength>(kBeLengthClassId);
  SetComponents(length, 127);
  EXPECT_EQ(Costs(380, 10, 0, true), CostsOf(length));
  auto* rot = bench.Create<CBERot>(kBeRotClassId);
  EXPECT_EQ(Costs(0, 0, 0, false), CostsOf(rot));
}

// ------------------------------------------------------------ results

TEST(VectorBlocks, ArcTangentOfTwoArguments) {
  struct Row {
    BeSignalType type;
    BeSignalType sourceType;  // of both sources
    double y, x;              // NaN: unlinked
    double expected;
  } rows[] = {
      {kBeSignalFloat, kBeSignalFloat, 1, -1, static_cast<float>(std::atan2(1.0, -1.0))},  // 2.3561945
      {kBeSignalFloat, kBeSignalFloat, kNaN, kNaN, 0},
      {kBeSignalFloat, kBeSignalFloat, 0, 0, 0},
      {kBeSignalFloat, kBeSignalFloat, -1, kNaN, static_cast<float>(std::atan2(-1.0, 0.0))},
      {kBeSignalFloat, kBeSignalDouble, 0.1, 3, static_cast<float>(std::atan2(0.1, 3.0))},  // the double as it is
      {kBeSignalDouble, kBeSignalFloat, 0.1, 3, std::atan2(static_cast<double>(0.1f), 3.0)},  // the float widened
      {kBeSignalDouble, kBeSignalDouble, 1, -1, std::atan2(1.0, -1.0)},
      {kBeSignalDouble, kBeSignalInt, 5, 7, 0},  // another type reads 0
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.type << " " << row.sourceType << " " << row.y << " " << row.x);
    Bench bench;
    auto* atan2 = bench.Create<CBEArctan2>(kBeArctan2ClassId);
    SetType(atan2, row.type);
    double in[2] = {row.y, row.x};
    for (int i = 0; i < 2; ++i) {
      if (std::isnan(in[i])) continue;
      auto* source = bench.Source(row.sourceType);
      source->Set(in[i]);
      bench.LinkAnyway(source, 0, atan2, i);
    }
    bench.Pass();
    if (row.type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(row.expected), blocktest::ReadFloat(atan2));
    } else {
      EXPECT_EQ(row.expected, blocktest::ReadDouble(atan2));
    }
  }
  Bench bench;
  auto* atan2 = bench.Create<CBEArctan2>(kBeArctan2ClassId);
  auto* y = bench.Source(kBeSignalFloat);
  auto* x = bench.Source(kBeSignalFloat);
  y->SetFloat(1);
  x->SetFloat(-1);
  bench.Link(y, atan2, 0);
  bench.Link(x, atan2, 1);
  bench.Pass();
  EXPECT_EQ(2.3561945f, blocktest::ReadFloat(atan2));
}

struct VectorCase {
  BeSignalType type;
  std::vector<double> components;  // NaN: unlinked
  double expected;
};

TEST(VectorBlocks, LengthAtTwoAnd127Dimensions) {
  const std::vector<VectorCase> cases = {
      {kBeSignalChar, {3, 4}, 5},
      {kBeSignalShort, {3, kNaN}, 3},
      // 100000^2 wraps in 32 bits to 1410065408, whose root in float is
      // 37550.8...
      {kBeSignalInt, {100000, 0}, 37550},
      // Twice 2147488281 wraps to 9266: 96.
      {kBeSignalInt, {46341, 46341}, 96},
      // 2147488281 is negative as a 32-bit integer: the root is not a
      // number, which truncates to -2147483648.
      {kBeSignalInt, {46341, 0}, INT_MIN},
      {kBeSignalChar, {46341, 0}, 5},  // a char source keeps the low byte, 5
      // 2147352578 in float is 2147352576, its root 46339.5...: the low 16
      // bits of 46339 as a short.
      {kBeSignalShort, {32767, 32767}, 46339 - 65536},
      {kBeSignalChar, std::vector<double>(127, 10), 112},   // sqrt(12700)
      {kBeSignalChar, std::vector<double>(127, 127), -105},  // 1431, low byte 0x97
      {kBeSignalFloat, {3, 4}, 5},
      {kBeSignalFloat, std::vector<double>(127, 1), 11.269427299499512},  // sqrt(127) in float
      {kBeSignalFloat, {1e20, 1e20}, std::numeric_limits<double>::infinity()},  // the squares overflow float
      {kBeSignalDouble, {1e20, 1e20}, std::sqrt(2e40)},
      {kBeSignalDouble, {kNaN, kNaN}, 0},
  };
  for (const VectorCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.components.size() << " components, first "
                                    << c.components[0]);
    Bench bench;
    auto* length = bench.Create<CBELength>(kBeLengthClassId);
    SetComponents(length, static_cast<int>(c.components.size()));
    SetType(length, c.type);
    for (size_t i = 0; i < c.components.size(); ++i)
      Feed(bench, length, static_cast<int>(i), c.type, c.components[i]);
    bench.Pass();
    if (c.type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(c.expected), blocktest::ReadFloat(length));
    } else {
      EXPECT_EQ(c.expected, blocktest::ReadValue(length));
    }
  }
}

TEST(VectorBlocks, LengthStoresTheWidthOfItsType) {
  Bench bench;
  auto* length = bench.Create<CBELength>(kBeLengthClassId);
  SetType(length, kBeSignalChar);
  Feed(bench, length, 0, kBeSignalChar, 3);
  Feed(bench, length, 1, kBeSignalChar, 4);
  memset(length->Output(0)->value, 0xAA, 8);
  bench.Pass();
  EXPECT_EQ(std::vector<uint8_t>({5, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}), blocktest::ValueBytes(length));
}

TEST(VectorBlocks, NormalisationAtTwoAnd127Dimensions) {
  struct Case {
    BeSignalType type;
    std::vector<double> components;
    std::vector<double> expected;
  };
  const double tiny = 1e-11;
  std::vector<double> ones(127, 1.0);
  std::vector<double> unitFloat(127, static_cast<float>(1.0 / static_cast<float>(std::sqrt(127.0))));
  std::vector<double> unitDouble(127, 1.0 / std::sqrt(127.0));
  const std::vector<Case> cases = {
      {kBeSignalFloat, {3, 4}, {0.6, 0.8}},
      {kBeSignalFloat, {0, 0}, {0, 0}},  // a zero vector stays zero
      {kBeSignalFloat, {kNaN, kNaN}, {0, 0}},
      {kBeSignalFloat, {tiny, 0}, {static_cast<float>(tiny), 0}},  // shorter than 1e-10: unchanged
      {kBeSignalFloat, {-5, kNaN}, {-1, 0}},
      {kBeSignalFloat, {1e-10, 0}, {1, 0}},  // 1e-10 in float is the limit
      {kBeSignalFloat, {std::nextafter(1e-10f, 0.0f), 0}, {std::nextafter(1e-10f, 0.0f), 0}},
      {kBeSignalFloat, ones, unitFloat},
      {kBeSignalDouble, {3, 4}, {0.6, 0.8}},
      {kBeSignalDouble, {0, 0}, {0, 0}},
      {kBeSignalDouble, {tiny, 0}, {tiny, 0}},
      // At the limit (the float nearest to 1e-10) the vector is divided;
      // just below it, not.
      {kBeSignalDouble, {kNormSmallestLength, 0}, {1, 0}},
      {kBeSignalDouble, {std::nextafter(kNormSmallestLength, 0.0), 0}, {std::nextafter(kNormSmallestLength, 0.0), 0}},
      {kBeSignalDouble, {std::ldexp(1.0, -30), 0}, {1, 0}},
      {kBeSignalDouble, ones, unitDouble},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.components.size() << " components, first "
                                    << c.components[0]);
    Bench bench;
    auto* norm = bench.Create<CBENorm>(kBeNormClassId);
    SetComponents(norm, static_cast<int>(c.components.size()));
    SetType(norm, c.type);
    ASSERT_EQ(norm->inputCount, norm->outputCount);
    for (size_t i = 0; i < c.components.size(); ++i) Feed(bench, norm, static_cast<int>(i), c.type, c.components[i]);
    bench.Pass();
    for (size_t i = 0; i < c.expected.size(); ++i) {
      if (c.type == kBeSignalFloat) {
        EXPECT_EQ(static_cast<float>(c.expected[i]), blocktest::ReadFloat(norm, static_cast<int>(i))) << i;
      } else {
        EXPECT_EQ(c.expected[i], blocktest::ReadDouble(norm, static_cast<int>(i))) << i;
      }
    }
  }
}

TEST(VectorBlocks, PlaneRotation) {
  Bench bench;
  auto* rot = bench.Create<CBERot>(kBeRotClassId);
  auto* x = bench.Source(kBeSignalFloat);
  auto* y = bench.Source(kBeSignalFloat);
  auto* a = bench.Source(kBeSignalFloat);
  bench.Link(x, rot, 0);
  bench.Link(y, rot, 1);
  bench.Link(a, rot, 2);
  float halfPi = static_cast<float>(3.141592653589793 / 2);
  x->SetFloat(1);
  y->SetFloat(0);
  a->SetFloat(halfPi);
  bench.Pass();
  // cos of the float pi/2 is -4.37e-8 in float, its sine 1.
  float c = static_cast<float>(std::cos(static_cast<double>(halfPi)));
  EXPECT_EQ(c, blocktest::ReadFloat(rot, 0));
  EXPECT_NEAR(0.0f, blocktest::ReadFloat(rot, 0), 1e-7f);
  EXPECT_EQ(1.0f, blocktest::ReadFloat(rot, 1));
  // (2, 3) turned by 0.5: every operation rounded to float.
  x->SetFloat(2);
  y->SetFloat(3);
  a->SetFloat(0.5f);
  bench.Pass();
  float ca = static_cast<float>(std::cos(0.5)), sa = static_cast<float>(std::sin(0.5));
  EXPECT_EQ(static_cast<float>(static_cast<float>(2 * ca) - static_cast<float>(3 * sa)), blocktest::ReadFloat(rot, 0));
  EXPECT_EQ(static_cast<float>(static_cast<float>(2 * sa) + static_cast<float>(3 * ca)), blocktest::ReadFloat(rot, 1));
  // Without links everything is 0.
  bench.Unlink(rot, 0);
  bench.Unlink(rot, 1);
  bench.Unlink(rot, 2);
  bench.Pass();
  EXPECT_EQ(0.0f, blocktest::ReadFloat(rot, 0));
  EXPECT_EQ(0.0f, blocktest::ReadFloat(rot, 1));
}

TEST(VectorBlocks, DistanceAtTwoAnd127Dimensions) {
  struct Case {
    BeSignalType type;
    std::vector<double> a, b;  // NaN: unlinked
    double expected;
  };
  std::vector<double> steps(127), zeros(127, 0.0);
  for (int j = 0; j < 127; ++j) steps[j] = j;
  const std::vector<Case> cases = {
      {kBeSignalInt, {1, 2}, {4, 6}, 5},
      {kBeSignalInt, {1, 2}, {kNaN, kNaN}, 2},  // the length of A: sqrt(5)
      {kBeSignalInt, {kNaN, kNaN}, {3, 4}, 5},
      {kBeSignalInt, {40000, 0}, {-40000, 0}, 45880},  // 6.4e9 wraps to 2105032704
      {kBeSignalInt, {46341, 0}, {0, 0}, INT_MIN},     // wraps negative: not a number
      {kBeSignalChar, {-128, 0}, {127, 0}, -1},        // 255 in the low byte
      {kBeSignalShort, {300, 0}, {0, 400}, 500},
      {kBeSignalInt, steps, zeros, 821},  // sqrt(674751)
      {kBeSignalFloat, {1, 2}, {4, 6}, 5},
      {kBeSignalFloat, {0.1, 0.2}, {0.4, 0.6}, [] {
         float d0 = 0.1f - 0.4f, d1 = 0.2f - 0.6f;
         float s = d0 * d0 + d1 * d1;
         return static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(s))));
       }()},
      {kBeSignalDouble, {0.1, 0.2}, {0.4, 0.6}, std::sqrt((0.1 - 0.4) * (0.1 - 0.4) + (0.2 - 0.6) * (0.2 - 0.6))},
      {kBeSignalDouble, steps, zeros, std::sqrt(674751.0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", d = " << c.a.size() << ", A0 " << c.a[0]);
    Bench bench;
    auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
    int d = static_cast<int>(c.a.size());
    ASSERT_TRUE(distance->ApplyProperties(d, c.type));
    for (int j = 0; j < d; ++j) {
      Feed(bench, distance, j, c.type, c.a[j]);
      Feed(bench, distance, d + j, c.type, c.b[j]);
    }
    bench.Pass();
    if (c.type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(c.expected), blocktest::ReadFloat(distance));
    } else {
      EXPECT_EQ(c.expected, blocktest::ReadValue(distance));
    }
  }
}

// ------------------------------------------------------------ pins after the dialog

TEST(VectorBlocks, DistancePinsFollowTheDimension) {
  Bench bench;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  distance->MoveTo(200, 300);
  ASSERT_TRUE(distance->ApplyProperties(3, kBeSignalFloat));
  // 20 x 6 + 20 = 140 high: A at 10, 30, 50; B at 80, 100, 120; the output
  // at 70.
  EXPECT_EQ(140, distance->Height());
  EXPECT_EQ(300, distance->rect.top);
  ASSERT_EQ(6, distance->inputCount);
  const int offsets[] = {10, 30, 50, 80, 100, 120};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(offsets[i], distance->Input(i)->yOffset) << i;
    EXPECT_STREQ(i < 3 ? L"A" : L"B", distance->Input(i)->name) << i;
  }
  EXPECT_EQ(70, distance->Output(0)->yOffset);
  // 127 dimensions: 254 inputs, 5100 high.
  ASSERT_TRUE(distance->ApplyProperties(127, kBeSignalDouble));
  EXPECT_EQ(254, distance->inputCount);
  EXPECT_EQ(5100, distance->Height());
  EXPECT_EQ(2550 + 10, distance->Input(127)->yOffset);
  EXPECT_EQ(2550, distance->Output(0)->yOffset);
  EXPECT_EQ(kBeSignalDouble, distance->Input(253)->type);
  EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(distance));
  // Refused, with nothing changed.
  for (int d : {0, 1, 128, 255}) EXPECT_FALSE(distance->ApplyProperties(d, kBeSignalInt)) << d;
  EXPECT_FALSE(distance->ApplyProperties(2, kBeSignalBit));
  EXPECT_FALSE(distance->ApplyProperties(2, 22));
  EXPECT_EQ(254, distance->inputCount);
  EXPECT_EQ(kBeSignalDouble, distance->GetType());
}

// From d = 3 to d = 2 inputs 0 to 3 stay with their links (the third A input
// becomes the first B input); a type change drops the links of other types.
TEST(VectorBlocks, DistanceKeepsOrDropsLinksByPinAndType) {
  Bench bench;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(3, kBeSignalInt));
  std::vector<blocktest::Source*> sources;
  for (int i = 0; i < 6; ++i) {
    sources.push_back(bench.Source(kBeSignalInt));
    sources.back()->SetInt(i + 1);
    bench.Link(sources.back(), distance, i);
  }
  auto* reader = bench.Create<CBELength>(kBeLengthClassId);
  SetType(reader, kBeSignalInt);
  bench.Link(distance, reader, 0);

  ASSERT_TRUE(distance->ApplyProperties(2, kBeSignalInt));
  ASSERT_EQ(4, distance->inputCount);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(sources[i]->Output(0), distance->Input(i)->source) << i;
  EXPECT_EQ(distance->Output(0), reader->Input(0)->source) << "same type: the output stays connected";
  // A = (1, 2), B = (3, 4): sqrt(8) = 2.
  bench.Pass();
  EXPECT_EQ(2, blocktest::ReadInt(distance));
  EXPECT_STREQ(L"B", distance->Input(2)->name);
  EXPECT_EQ(60, distance->Input(2)->yOffset);

  // Another type: every input loses its link, the output is disconnected.
  ASSERT_TRUE(distance->ApplyProperties(2, kBeSignalFloat));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(nullptr, distance->Input(i)->source) << i;
  EXPECT_EQ(nullptr, reader->Input(0)->source);
  EXPECT_EQ(Costs(380, 10, 0, true), CostsOf(distance));

  // Growing keeps the links of the pins that stay.
  auto* f = bench.Source(kBeSignalFloat);
  bench.Link(f, distance, 1);
  ASSERT_TRUE(distance->ApplyProperties(4, kBeSignalFloat));
  EXPECT_EQ(f->Output(0), distance->Input(1)->source);
  EXPECT_EQ(nullptr, distance->Input(7)->source);
  EXPECT_EQ(kBeSignalFloat, distance->Input(7)->type);
}

TEST(VectorBlocks, LengthAndNormPinsFollowTheCount) {
  Bench bench;
  auto* norm = bench.Create<CBENorm>(kBeNormClassId);
  SetComponents(norm, 5);
  EXPECT_EQ(100, norm->Height());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(10 + 20 * i, norm->Input(i)->yOffset) << i;
    EXPECT_EQ(10 + 20 * i, norm->Output(i)->yOffset) << i;
    EXPECT_EQ(kBeSignalFloat, norm->Input(i)->type);
    EXPECT_EQ(kBeSignalFloat, norm->Output(i)->type);
  }
  auto* length = bench.Create<CBELength>(kBeLengthClassId);
  SetComponents(length, 127);
  EXPECT_EQ(2540, length->Height());
  EXPECT_EQ(2530, length->Input(126)->yOffset);
  EXPECT_EQ(1270, length->Output(0)->yOffset);
}

// ------------------------------------------------------------ records

TEST(VectorRecords, GoldenBytes) {
  auto atan2 = blocktest::NewDetached<CBEArctan2>(kBeArctan2ClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(atan2.get()), velktest::ParseHex(R"(
      05
      00 00 00 00  00 00 00 00  50 00 00 00  28 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));

  auto length = blocktest::NewDetached<CBELength>(kBeLengthClassId);
  SetComponents(length.get(), 3);
  SetType(length.get(), kBeSignalShort);
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(length.get()),
      blocktest::Golden().B(3).B(3).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 60}, 3, 1)).Bytes()));

  auto norm = blocktest::NewDetached<CBENorm>(kBeNormClassId);
  SetComponents(norm.get(), 4);
  SetType(norm.get(), kBeSignalDouble);
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(norm.get()),
      blocktest::Golden().B(4).B(6).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 80}, 4, 4)).Bytes()));

  auto distance = blocktest::NewDetached<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(3, kBeSignalChar));
  EXPECT_TRUE(velktest::BytesEqual(
      blocktest::RecordBytes(distance.get()),
      blocktest::Golden().B(3).B(2).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 120, 140}, 6, 1)).Bytes()));

  // The plane rotation: the base record alone.
  auto rot = blocktest::NewDetached<CBERot>(kBeRotClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(rot.get()),
                                   blocktest::Golden().Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 60}, 3, 2)).Bytes()));
}

TEST(VectorRecords, LoadSetsPinsTypesAndCosts) {
  auto distance = blocktest::NewDetached<CBEDistance>(kBeDistanceClassId);
  std::vector<uint8_t> record =
      blocktest::Golden().B(4).B(6).Base(blocktest::BaseRecord::Unlinked(RECT{10, 20, 130, 200}, 8, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(distance.get(), record));
  EXPECT_EQ(4, distance->GetDimension());
  EXPECT_EQ(180, distance->Height());
  EXPECT_EQ(kBeSignalDouble, distance->Input(7)->type);
  EXPECT_EQ(100, distance->Input(4)->yOffset);  // 90 + 10
  EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(distance.get()));
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(distance.get()), record));

  auto norm = blocktest::NewDetached<CBENorm>(kBeNormClassId);
  record = blocktest::Golden().B(7).B(6).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 140}, 7, 7)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(norm.get(), record));
  EXPECT_EQ(7, norm->inputCount);
  EXPECT_EQ(7, norm->outputCount);
  EXPECT_EQ(kBeSignalDouble, norm->Output(6)->type);
  EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(norm.get()));

  auto atan2 = blocktest::NewDetached<CBEArctan2>(kBeArctan2ClassId);
  record = blocktest::Golden().B(6).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(atan2.get(), record));
  EXPECT_EQ(kBeSignalDouble, atan2->Input(1)->type);
  EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(atan2.get()));
}

TEST(VectorRecords, EveryTruncationIsRefusedAndChangesNothing) {
  auto atan2 = blocktest::NewDetached<CBEArctan2>(kBeArctan2ClassId);
  SetType(atan2.get(), kBeSignalDouble);
  blocktest::ExpectTruncationsRefused<CBEArctan2>(kBeArctan2ClassId, blocktest::RecordBytes(atan2.get()));
  auto length = blocktest::NewDetached<CBELength>(kBeLengthClassId);
  SetComponents(length.get(), 5);
  SetType(length.get(), kBeSignalInt);
  blocktest::ExpectTruncationsRefused<CBELength>(kBeLengthClassId, blocktest::RecordBytes(length.get()));
  auto norm = blocktest::NewDetached<CBENorm>(kBeNormClassId);
  SetComponents(norm.get(), 3);
  SetType(norm.get(), kBeSignalDouble);
  blocktest::ExpectTruncationsRefused<CBENorm>(kBeNormClassId, blocktest::RecordBytes(norm.get()));
  auto distance = blocktest::NewDetached<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(3, kBeSignalShort));
  blocktest::ExpectTruncationsRefused<CBEDistance>(kBeDistanceClassId, blocktest::RecordBytes(distance.get()));
  // The rotation's record is the base record.
  auto rot = blocktest::NewDetached<CBERot>(kBeRotClassId);
  std::vector<uint8_t> record = blocktest::RecordBytes(rot.get());
  blocktest::ForEachTruncation<CBERot>(kBeRotClassId, record, [&](CBERot* block, size_t n, bool loaded) {
    EXPECT_EQ(n == record.size(), loaded);
    EXPECT_EQ(3, block->inputCount);
    EXPECT_EQ(Costs(0, 0, 0, false), CostsOf(block));
  });
}

// Loads a record of more components into a new block while memory runs out
// at each allocation in turn: a refused load leaves the block's record and
// costs as they were; with enough memory the record is taken.
template <class T>
void ExpectMemoryRefusalsUndone(unsigned int classId, const std::vector<uint8_t>& record) {
  bool loaded = false;
  for (int successes = 0; successes < 64 && !loaded; ++successes) {
    auto block = blocktest::NewDetached<T>(classId);
    std::vector<uint8_t> untouched = blocktest::RecordBytes(block.get());
    Costs costs = CostsOf(block.get());
    {
      CBufferFailureScope refuse(successes);
      loaded = blocktest::LoadBytes(block.get(), record);
    }
    // Growing the pins needs memory, so the first walk step is refused.
    if (successes == 0) {
      EXPECT_FALSE(loaded);
    }
    if (loaded) {
      EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(block.get()), record));
    } else {
      EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(block.get()), untouched)) << successes;
      EXPECT_EQ(costs, CostsOf(block.get())) << successes;
    }
  }
  EXPECT_TRUE(loaded);
}

TEST(VectorRecords, ALoadRefusedForMemoryPutsTheBlockBack) {
  auto length = blocktest::NewDetached<CBELength>(kBeLengthClassId);
  SetComponents(length.get(), 9);
  SetType(length.get(), kBeSignalInt);
  ExpectMemoryRefusalsUndone<CBELength>(kBeLengthClassId, blocktest::RecordBytes(length.get()));
  // The norm grows its inputs, then its outputs: a refusal between the two
  // is undone too.
  auto norm = blocktest::NewDetached<CBENorm>(kBeNormClassId);
  SetComponents(norm.get(), 9);
  SetType(norm.get(), kBeSignalFloat);
  ExpectMemoryRefusalsUndone<CBENorm>(kBeNormClassId, blocktest::RecordBytes(norm.get()));
  auto distance = blocktest::NewDetached<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(5, kBeSignalShort));
  ExpectMemoryRefusalsUndone<CBEDistance>(kBeDistanceClassId, blocktest::RecordBytes(distance.get()));
}

TEST(VectorRecords, ImplausibleFieldsAreRefused) {
  struct Row {
    unsigned int classId;
    int count;
    int type;
    bool loads;
  } rows[] = {
      {kBeLengthClassId, 1, 5, false},   {kBeLengthClassId, 128, 5, false}, {kBeLengthClassId, 2, 1, false},
      {kBeLengthClassId, 2, 7, false},   {kBeLengthClassId, 127, 2, true},  {kBeNormClassId, 0, 5, false},
      {kBeNormClassId, 200, 5, false},   {kBeNormClassId, 2, 4, false},     {kBeNormClassId, 127, 6, true},
      {kBeDistanceClassId, 1, 5, false}, {kBeDistanceClassId, 128, 5, false}, {kBeDistanceClassId, 2, 0, false},
      {kBeDistanceClassId, 2, 39, false}, {kBeDistanceClassId, 127, 3, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId << std::dec << " " << row.count << " " << row.type);
    auto block = blocktest::NewDetached<CBEBlock>(row.classId);
    bool norm = row.classId == kBeNormClassId, distance = row.classId == kBeDistanceClassId;
    int inputs = distance ? 2 * row.count : row.count;
    int outputs = norm ? row.count : 1;
    int height = distance ? 40 * row.count + 20 : 20 * row.count;
    std::vector<uint8_t> before = blocktest::RecordBytes(block.get());
    std::vector<uint8_t> record = blocktest::Golden().B(row.count).B(row.type)
        .Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, distance ? 120 : 80, height}, inputs, outputs)).Bytes();
    EXPECT_EQ(row.loads, blocktest::LoadBytes(block.get(), record));
    if (!row.loads) {
      EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(block.get()), before));
    }
  }
  for (int type : {0, 1, 2, 4, 7, 255}) {
    auto atan2 = blocktest::NewDetached<CBEArctan2>(kBeArctan2ClassId);
    EXPECT_FALSE(blocktest::LoadBytes(
        atan2.get(), blocktest::Golden().B(type).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 40}, 2, 1)).Bytes()))
        << type;
    EXPECT_EQ(kBeSignalFloat, atan2->GetType());
  }
}

// The stream round trip keeps dimensions, types and links.
TEST(VectorRecords, SchemeRoundTrip) {
  Bench bench;
  std::vector<blocktest::Source*> sources;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(3, kBeSignalInt));
  const int values[6] = {3, 4, 0, 0, 0, 0};  // A = (3, 4, 0), B = 0
  for (int i = 0; i < 6; ++i) {
    sources.push_back(bench.Source(kBeSignalInt));
    sources.back()->SetInt(values[i]);
    bench.Link(sources.back(), distance, i);
  }
  auto* norm = bench.Create<CBENorm>(kBeNormClassId);
  SetComponents(norm, 3);
  SetType(norm, kBeSignalDouble);
  auto* rot = bench.Create<CBERot>(kBeRotClassId);
  bench.Pass();
  ASSERT_EQ(5, blocktest::ReadInt(distance));
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto distances = blocktest::BlocksOf<CBEDistance>(copy.get());
  ASSERT_EQ(1u, distances.size());
  EXPECT_EQ(3, distances[0]->GetDimension());
  EXPECT_EQ(kBeSignalInt, distances[0]->GetType());
  EXPECT_EQ(140, distances[0]->Height());
  for (int i = 0; i < 6; ++i) EXPECT_NE(nullptr, distances[0]->Input(i)->source) << i;
  EXPECT_EQ(80, distances[0]->Input(3)->yOffset);
  auto norms = blocktest::BlocksOf<CBENorm>(copy.get());
  ASSERT_EQ(1u, norms.size());
  EXPECT_EQ(3, norms[0]->outputCount);
  EXPECT_EQ(kBeSignalDouble, norms[0]->Output(2)->type);
  EXPECT_EQ(1u, blocktest::BlocksOf<CBERot>(copy.get()).size());
  for (CBEBlock* b = copy->blocks; b; b = b->next) b->Step(0.001f);
  EXPECT_EQ(5, blocktest::ReadInt(distances[0]));
  (void)rot;
}

// ------------------------------------------------------------ dialogs and drawing

std::vector<CBEBlock*> g_shown;
bool Confirm(CBEBlock* block) {
  g_shown.push_back(block);
  return true;
}

TEST(VectorBlocks, PropertiesAnswerFalseUntilTheClassHasADialog) {
  blocktest::DialogScope dialogs;
  g_shown.clear();
  Bench bench;
  for (unsigned int id : {kBeArctan2ClassId, kBeLengthClassId, kBeNormClassId, kBeDistanceClassId})
    BeBlockDialogTable::Program().Set(id, nullptr);
  for (unsigned int id : {kBeArctan2ClassId, kBeLengthClassId, kBeNormClassId, kBeDistanceClassId}) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    EXPECT_FALSE(block->ShowProperties()) << std::hex << id;
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    dialogs.Set(id, Confirm);
    EXPECT_TRUE(block->ShowProperties()) << std::hex << id;
    EXPECT_EQ(block, g_shown.back());
  }
  // The rotation has no dialog, whatever the table holds.
  dialogs.Set(kBeRotClassId, Confirm);
  size_t shown = g_shown.size();
  EXPECT_FALSE(bench.Create<CBERot>(kBeRotClassId)->ShowProperties());
  EXPECT_EQ(shown, g_shown.size());
}

TEST(VectorDrawing, TheTextOfEachClass) {
  Bench bench;
  EXPECT_TRUE(blocktest::DrawsCaption(bench.Create<CBEArctan2>(kBeArctan2ClassId), L"atan2"));
  EXPECT_TRUE(blocktest::DrawsCaption(bench.Create<CBELength>(kBeLengthClassId), L"длина"));
  EXPECT_TRUE(blocktest::DrawsCaption(bench.Create<CBENorm>(kBeNormClassId), L"||x||"));
  EXPECT_TRUE(blocktest::DrawsCaption(bench.Create<CBERot>(kBeRotClassId), L"rot"));
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  EXPECT_TRUE(blocktest::DrawsCaption(distance, L"Расстояние"));
  ASSERT_TRUE(distance->ApplyProperties(5, kBeSignalInt));
  EXPECT_TRUE(blocktest::DrawsCaption(distance, L"Расстояние"));
  EXPECT_FALSE(blocktest::DrawsCaption(distance, L"длина"));
}

}  // namespace
