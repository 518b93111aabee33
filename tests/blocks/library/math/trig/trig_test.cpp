// The one-argument functions of the "Тригонометрия" group: what each is
// made as, its values in float and double at the edges (worked out from the
// block's constants and the standard functions), unlinked inputs, the type
// change, records, the property dialog and the drawn texts.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "block_kit.h"
#include "blocks/library/math/trig/arccos.h"
#include "blocks/library/math/trig/arcsin.h"
#include "blocks/library/math/trig/arctan.h"
#include "blocks/library/math/trig/cos.h"
#include "blocks/library/math/trig/cotan.h"
#include "blocks/library/math/trig/deg_to_rad.h"
#include "blocks/library/math/trig/math_func.h"
#include "blocks/library/math/trig/pi_to_pi.h"
#include "blocks/library/math/trig/rad_to_deg.h"
#include "blocks/library/math/trig/sin.h"
#include "blocks/library/math/trig/tan.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FunctionClass {
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* text;
};
const FunctionClass kClasses[] = {
    {kBeDegToRadClassId, L"Градусы в радианы", L"\u00B0\u2192rad"},
    {kBeRadToDegClassId, L"Радианы в градусы", L"rad\u2192\u00B0"},
    {kBePItoPIClassId, L"Привести угол в диапазон от -π до π", nullptr},
    {kBeSinClassId, L"Синус", L"sin"},
    {kBeCosClassId, L"Косинус", L"cos"},
    {kBeTanClassId, L"Тангенс", L"tg"},
    {kBeCotanClassId, L"Котангенс", L"ctg"},
    {kBeArcsinClassId, L"Арксинус", L"arcsin"},
    {kBeArccosClassId, L"Арккосинус", L"arccos"},
    {kBeArctanClassId, L"Арктангенс", L"arctan"},
};

// The type as the property dialog sets it.
void SetType(CBEBlock* block, BeSignalType type) { ChangeBlockType(block, type); }

TEST(TrigonometricBlocks, EachIsMadeFloatWithFixedCosts) {
  Bench bench;
  for (const FunctionClass& c : kClasses) {
    SCOPED_TRACE(testing::Message() << std::hex << c.classId);
    auto* block = bench.Create<CBEMathFunc>(c.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(c.classId, block->GetClassId());
    EXPECT_STREQ(c.caption, block->GetCaption());
    EXPECT_EQ(80, block->Width());
    EXPECT_EQ(30, block->Height());
    EXPECT_EQ(static_cast<COLORREF>(0x33FFFF), block->fillColor);
    ASSERT_EQ(1, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    EXPECT_EQ(nullptr, block->Input(0)->name);
    EXPECT_EQ(nullptr, block->Output(0)->name);
    EXPECT_EQ(kBeSignalFloat, block->Input(0)->type);
    EXPECT_EQ(kBeSignalFloat, block->Output(0)->type);
    EXPECT_EQ(Costs(560, 20, 0, true), CostsOf(block));
    // Double keeps the costs.
    SetType(block, kBeSignalDouble);
    EXPECT_EQ(kBeSignalDouble, block->GetType());
    EXPECT_EQ(kBeSignalDouble, block->Input(0)->type);
    EXPECT_EQ(Costs(560, 20, 0, true), CostsOf(block));
  }
  // No block is made under the code between the cotangent and the arc sine.
  EXPECT_EQ(nullptr, bench.library.catalogue.FindEntry(0x0000410F));
}

// The standard functions as the program calls them, at run time (a call
// with a constant argument may be computed by the compiler instead, more
// precisely than some run-time libraries do, for instance near pi).
double Call(double (*f)(double), double x) {
  volatile double v = x;
  return f(v);
}
double Sin(double x) { return Call([](double v) { return std::sin(v); }, x); }
double Cos(double x) { return Call([](double v) { return std::cos(v); }, x); }
double Tan(double x) { return Call([](double v) { return std::tan(v); }, x); }
double Asin(double x) { return Call([](double v) { return std::asin(v); }, x); }
double Acos(double x) { return Call([](double v) { return std::acos(v); }, x); }
double Atan(double x) { return Call([](double v) { return std::atan(v); }, x); }

// One block of one type fed by a source of that type with x.
double Evaluate(unsigned int classId, BeSignalType type, double x) {
  Bench bench;
  auto* block = bench.Create<CBEMathFunc>(classId);
  if (!block) return kNaN;
  SetType(block, type);
  auto* source = bench.Source(type);
  if (type == kBeSignalFloat) {
    source->SetFloat(static_cast<float>(x));
  } else {
    source->SetDouble(x);
  }
  bench.Link(source, block);
  bench.Pass();
  return type == kBeSignalFloat ? blocktest::ReadFloat(block) : blocktest::ReadDouble(block);
}

struct ValueCase {
  unsigned int classId;
  double x;         // the input (a float block gets it rounded to float)
  double expected;  // in the block's precision; NaN: not a number
};

void ExpectValues(BeSignalType type, const std::vector<ValueCase>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    const ValueCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": class " << std::hex << c.classId << std::dec << ", x "
                                    << c.x << ", type " << type);
    double got = Evaluate(c.classId, type, c.x);
    if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(got)) << got;
    } else if (type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(c.expected), static_cast<float>(got));
    } else {
      EXPECT_EQ(c.expected, got);
    }
  }
}

// A float block: the function in double of the float input, rounded to
// float; the constants are the float pi (3.1415927410125732) and twice it.
TEST(TrigonometricBlocks, FloatValuesAtTheEdges) {
  const double fpi = 3.1415927410125732;
  const float pi = static_cast<float>(fpi);
  const float threeHalvesPi = static_cast<float>(3 * fpi / 2);
  const float quarterPi = static_cast<float>(fpi / 4);
  const float big = 1.0e30f;
  ExpectValues(kBeSignalFloat, {
      {kBeDegToRadClassId, 180, 3.1415927410125732},  // exactly the float pi
      {kBeDegToRadClassId, -90, -90.0 * fpi / 180},
      {kBeDegToRadClassId, 1e30, 1e30f * fpi / 180},
      {kBeDegToRadClassId, kNaN, kNaN},
      {kBeDegToRadClassId, kInf, kInf},
      {kBeRadToDegClassId, pi, 180},
      {kBeRadToDegClassId, 1, 180 / fpi},
      {kBeRadToDegClassId, -kInf, -kInf},
      {kBeRadToDegClassId, kNaN, kNaN},
      {kBeSinClassId, pi, Sin(fpi)},  // -8.742278e-08, not 0
      {kBeSinClassId, threeHalvesPi, Sin(static_cast<double>(threeHalvesPi))},
      {kBeSinClassId, 0, 0},
      {kBeSinClassId, big, Sin(static_cast<double>(big))},
      {kBeSinClassId, kInf, kNaN},
      {kBeSinClassId, kNaN, kNaN},
      {kBeCosClassId, pi, -1},
      {kBeCosClassId, threeHalvesPi, Cos(static_cast<double>(threeHalvesPi))},
      {kBeCosClassId, big, Cos(static_cast<double>(big))},
      {kBeCosClassId, kNaN, kNaN},
      {kBeTanClassId, quarterPi, Tan(static_cast<double>(quarterPi))},
      {kBeTanClassId, pi, Tan(fpi)},
      {kBeTanClassId, static_cast<float>(fpi / 2), Tan(static_cast<double>(static_cast<float>(fpi / 2)))},
      {kBeTanClassId, kNaN, kNaN},
      // The cotangent narrows the tangent to float first.
      {kBeCotanClassId, quarterPi, 1.0 / static_cast<float>(Tan(static_cast<double>(quarterPi)))},
      {kBeCotanClassId, 0, kInf},
      {kBeCotanClassId, -0.0, -kInf},
      {kBeCotanClassId, pi, 1.0 / static_cast<float>(Tan(fpi))},
      {kBeCotanClassId, kNaN, kNaN},
      {kBeArcsinClassId, 1, Asin(1.0)},
      {kBeArcsinClassId, -1, -Asin(1.0)},
      {kBeArcsinClassId, 1.0000001192092896, kNaN},  // the float after 1
      {kBeArcsinClassId, -2, kNaN},
      {kBeArcsinClassId, kNaN, kNaN},
      {kBeArccosClassId, 1, 0},
      {kBeArccosClassId, -1, Acos(-1.0)},  // the float pi
      {kBeArccosClassId, 1.0000001192092896, kNaN},
      {kBeArccosClassId, kNaN, kNaN},
      {kBeArctanClassId, 1, Atan(1.0)},
      {kBeArctanClassId, kInf, Atan(kInf)},
      {kBeArctanClassId, -kInf, -Atan(kInf)},
      {kBeArctanClassId, big, Atan(static_cast<double>(big))},
      {kBeArctanClassId, kNaN, kNaN},
  });
  // The Part's figures: 180 degrees are 3.1415927, the cotangent of pi/4 is
  // 1 within float precision.
  EXPECT_EQ(3.1415927f, static_cast<float>(Evaluate(kBeDegToRadClassId, kBeSignalFloat, 180)));
  EXPECT_NEAR(1.0, Evaluate(kBeCotanClassId, kBeSignalFloat, quarterPi), 1.2e-7);
  EXPECT_EQ(1.5707964f, static_cast<float>(Evaluate(kBeArcsinClassId, kBeSignalFloat, 1)));
}

TEST(TrigonometricBlocks, DoubleValuesAtTheEdges) {
  const double pi = 3.141592653589793;
  const double big = 1.0e300;
  ExpectValues(kBeSignalDouble, {
      {kBeDegToRadClassId, 180, 3.141592653589793},
      {kBeDegToRadClassId, 45, 45 * pi / 180},
      {kBeDegToRadClassId, -1e308, -1e308 * pi / 180},  // the product overflows first
      {kBeDegToRadClassId, kNaN, kNaN},
      {kBeRadToDegClassId, pi, 180},
      {kBeRadToDegClassId, 2, 2 * 180 / pi},
      {kBeRadToDegClassId, kInf, kInf},
      {kBeSinClassId, pi, Sin(pi)},  // about 1.22e-16, not 0
      {kBeSinClassId, 3 * pi / 2, -1},
      {kBeSinClassId, big, Sin(big)},
      {kBeSinClassId, -kInf, kNaN},
      {kBeCosClassId, pi, -1},
      {kBeCosClassId, 3 * pi / 2, Cos(3 * pi / 2)},
      {kBeCosClassId, kNaN, kNaN},
      {kBeTanClassId, pi / 4, Tan(pi / 4)},
      {kBeTanClassId, pi / 2, Tan(pi / 2)},  // large, not infinite
      {kBeTanClassId, big, Tan(big)},
      {kBeCotanClassId, pi / 4, 1.0 / Tan(pi / 4)},
      {kBeCotanClassId, 0, kInf},
      {kBeCotanClassId, pi / 2, 1.0 / Tan(pi / 2)},
      {kBeCotanClassId, kNaN, kNaN},
      {kBeArcsinClassId, 1, pi / 2},
      {kBeArcsinClassId, -1, -pi / 2},
      {kBeArcsinClassId, 1.0000000000000002, kNaN},
      {kBeArccosClassId, -1, pi},
      {kBeArccosClassId, 1, 0},
      {kBeArccosClassId, -1.0000000000000002, kNaN},
      {kBeArctanClassId, 1, pi / 4},
      {kBeArctanClassId, kInf, pi / 2},
      {kBeArctanClassId, kNaN, kNaN},
  });
}

TEST(TrigonometricBlocks, AnUnlinkedInputOrAnotherTypeLeavesTheOutput) {
  Bench bench;
  for (const FunctionClass& c : kClasses) {
    auto* block = bench.Create<CBEMathFunc>(c.classId);
    memset(block->Output(0)->value, 0x3C, 8);
    bench.Pass();
    EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(block)) << std::hex << c.classId;
    // Pins of a type the functions do not take (only a record of another
    // program could make them): nothing is written.
    ChangeBlockType(block, kBeSignalInt);
    auto* x = bench.Source(kBeSignalInt);
    x->SetInt(1);
    bench.Link(x, block);
    bench.Pass();
    EXPECT_EQ(std::vector<uint8_t>(8, 0x3C), blocktest::ValueBytes(block)) << std::hex << c.classId;
  }
}

// A float result writes four bytes, a double one eight.
TEST(TrigonometricBlocks, AResultWritesTheBytesOfItsType) {
  Bench bench;
  auto* sin = bench.Create<CBESin>(kBeSinClassId);
  auto* x = bench.Source(kBeSignalFloat);
  bench.Link(x, sin);
  x->SetFloat(0.5f);
  memset(sin->Output(0)->value, 0xAA, 8);
  bench.Pass();
  float expected = static_cast<float>(std::sin(0.5));
  std::vector<uint8_t> bytes(8, 0xAA);
  memcpy(bytes.data(), &expected, 4);
  EXPECT_EQ(bytes, blocktest::ValueBytes(sin));
}

// ------------------------------------------------------------ records

TEST(TrigonometricRecords, GoldenBytesAndLoad) {
  // A new sine: the type byte 5, then the base record (0, 0, 80, 30; no
  // caption; flags 0; one unlinked input; one output of identity 0).
  auto sin = blocktest::NewDetached<CBESin>(kBeSinClassId);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(sin.get()), velktest::ParseHex(R"(
      05
      00 00 00 00  00 00 00 00  50 00 00 00  1E 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00)")));
  for (const FunctionClass& c : kClasses) {
    auto block = blocktest::NewDetached<CBEMathFunc>(c.classId);
    std::vector<uint8_t> record =
        blocktest::Golden().B(6).Base(blocktest::BaseRecord::Unlinked(RECT{30, 40, 110, 70}, 1, 1)).Bytes();
    ASSERT_TRUE(blocktest::LoadBytes(block.get(), record)) << std::hex << c.classId;
    EXPECT_EQ(kBeSignalDouble, block->Output(0)->type);
    EXPECT_EQ(kBeSignalDouble, block->Input(0)->type);
    EXPECT_EQ(30, block->rect.left);
    EXPECT_EQ(Costs(560, 20, 0, true), CostsOf(block.get()));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(block.get()), record));
  }
}

TEST(TrigonometricRecords, EveryTruncationAndImplausibleTypeIsRefused) {
  for (const FunctionClass& c : kClasses) {
    SCOPED_TRACE(testing::Message() << std::hex << c.classId);
    auto block = blocktest::NewDetached<CBEMathFunc>(c.classId);
    SetType(block.get(), kBeSignalDouble);
    block->MoveTo(7, 9);
    blocktest::ExpectTruncationsRefused<CBEMathFunc>(c.classId, blocktest::RecordBytes(block.get()));
    // Only float and double are types of these blocks.
    for (int type : {0, 1, 2, 3, 4, 7, 39, 255}) {
      auto fresh = blocktest::NewDetached<CBEMathFunc>(c.classId);
      EXPECT_FALSE(blocktest::LoadBytes(
          fresh.get(), blocktest::Golden().B(type).Base(blocktest::BaseRecord::Unlinked(RECT{0, 0, 80, 30}, 1, 1)).Bytes()))
          << type;
      EXPECT_EQ(kBeSignalFloat, fresh->GetType());
    }
  }
}

// A saved and reloaded double block has two double pins, keeps its link and
// computes the same.
TEST(TrigonometricRecords, SchemeRoundTrip) {
  Bench bench;
  auto* x = bench.Source(kBeSignalDouble);
  auto* cos = bench.Create<CBECos>(kBeCosClassId);
  SetType(cos, kBeSignalDouble);
  auto* reduce = bench.Create<CBEPItoPI>(kBePItoPIClassId);
  bench.Link(x, cos);
  x->SetDouble(0.25);
  bench.Pass();
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto coses = blocktest::BlocksOf<CBECos>(copy.get());
  ASSERT_EQ(1u, coses.size());
  EXPECT_EQ(kBeSignalDouble, coses[0]->Input(0)->type);
  EXPECT_EQ(kBeSignalDouble, coses[0]->Output(0)->type);
  ASSERT_NE(nullptr, coses[0]->Input(0)->source);
  auto reduces = blocktest::BlocksOf<CBEPItoPI>(copy.get());
  ASSERT_EQ(1u, reduces.size());
  EXPECT_EQ(kBeSignalFloat, reduces[0]->GetType());
  for (CBEBlock* b = copy->blocks; b; b = b->next) b->Step(0.001f);
  EXPECT_EQ(std::cos(0.25), blocktest::ReadDouble(coses[0]));
  (void)reduce;
}

// ------------------------------------------------------------ dialog

std::vector<CBEBlock*> g_shown;
bool Confirm(CBEBlock* block) {
  g_shown.push_back(block);
  ChangeBlockType(block, kBeSignalDouble);
  return true;
}

TEST(TrigonometricBlocks, PropertiesAnswerFalseUntilTheClassHasADialog) {
  blocktest::DialogScope dialogs;
  g_shown.clear();
  Bench bench;
  for (const FunctionClass& c : kClasses) BeBlockDialogTable::Program().Set(c.classId, nullptr);
  for (const FunctionClass& c : kClasses) {
    SCOPED_TRACE(testing::Message() << std::hex << c.classId);
    auto* block = bench.Create<CBEMathFunc>(c.classId);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    EXPECT_FALSE(block->ShowProperties());
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    // Each class asks for the dialog under its own id.
    dialogs.Set(c.classId, Confirm);
    EXPECT_TRUE(block->ShowProperties());
    ASSERT_FALSE(g_shown.empty());
    EXPECT_EQ(block, g_shown.back());
    EXPECT_EQ(kBeSignalDouble, block->GetType());
    EXPECT_EQ(Costs(560, 20, 0, true), CostsOf(block));
    dialogs.Set(c.classId, nullptr);
  }
  // A block made outside a catalogue still finds its class's dialog.
  dialogs.Set(kBeSinClassId, Confirm);
  std::unique_ptr<CBEBlock> lone(CBESin::Create());
  ASSERT_NE(nullptr, lone);
  EXPECT_EQ(0u, lone->GetClassId());
  EXPECT_TRUE(lone->ShowProperties());
}

// ------------------------------------------------------------ drawing

TEST(TrigonometricDrawing, TheTextOfEachClass) {
  Bench bench;
  for (const FunctionClass& c : kClasses) {
    if (!c.text) continue;
    EXPECT_TRUE(blocktest::DrawsCaption(bench.Create<CBEBlock>(c.classId), c.text)) << std::hex << c.classId;
  }
  EXPECT_FALSE(blocktest::DrawsCaption(bench.Create<CBEBlock>(kBeSinClassId), L"cos"));
}

int GdiObjects() { return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }

// "-p..p" in the "Symbol" font, 18 pixels high (or "-π..π" where that font
// is missing): not the text in the DC's own font; the font is put back and
// freed.
TEST(TrigonometricDrawing, TheReductionDrawsItsTextInItsOwnFont) {
  Bench bench;
  auto* reduce = bench.Create<CBEPItoPI>(kBePItoPIClassId);
  EXPECT_FALSE(blocktest::DrawsCaption(reduce, L"-p..p"));
  EXPECT_FALSE(blocktest::DrawsCaption(reduce, nullptr));
  blocktest::Canvas canvas(120, 60);
  int before = GdiObjects();
  ASSERT_TRUE(canvas.Draw(reduce, 20, 15));  // the DC's font is selected again
  for (int i = 0; i < 20; ++i) canvas.Draw(reduce, 20, 15);
  EXPECT_EQ(before, GdiObjects()) << "the font is freed after each drawing";
  // Black ink inside the body, none outside it.
  EXPECT_GT(canvas.Count(22, 17, 97, 42, RGB(0, 0, 0)), 30);
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(10, 5));
  EXPECT_EQ(RGB(255, 255, 51), canvas.At(22, 17));
  // The text is taller than the 13-pixel captions of the other blocks.
  int top = -1, bottom = -1;
  for (int y = 16; y < 44; ++y) {
    if (canvas.Count(22, y, 97, y, RGB(0, 0, 0)) > 0) {
      if (top < 0) top = y;
      bottom = y;
    }
  }
  ASSERT_GT(top, 0);
  EXPECT_GE(bottom - top + 1, 10);
  canvas.Save(L"library_trig_pi.bmp");
}

// One picture of the group as the view paints it, pins and all.
TEST(TrigonometricDrawing, ThePaletteGroupAsTheViewPaintsIt) {
  Bench bench;
  const unsigned int ids[] = {kBeSinClassId,    kBeCosClassId,    kBeTanClassId,      kBeCotanClassId,
                              kBeArcsinClassId, kBeArccosClassId, kBeArctanClassId,   kBeArctan2ClassId,
                              kBeLengthClassId, kBeNormClassId,   kBeDistanceClassId, kBeDegToRadClassId,
                              kBeRadToDegClassId, kBePItoPIClassId, kBeRotClassId};
  blocktest::Canvas canvas(560, 360);
  int x = 15, y = 15, rowHeight = 0;
  for (unsigned int id : ids) {
    CBEBlock* block = bench.Create<CBEBlock>(id);
    ASSERT_NE(nullptr, block);
    if (x + block->Width() > 540) {
      x = 15;
      y += rowHeight + 20;
      rowHeight = 0;
    }
    canvas.Paint(block, x, y);
    EXPECT_GT(canvas.Ink(x, y, x + block->Width() - 1, y + block->Height() - 1), 0);
    x += block->Width() + 30;
    rowHeight = rowHeight > block->Height() ? rowHeight : block->Height();
  }
  canvas.Save(L"library_trigonometry.bmp");
}

}  // namespace
