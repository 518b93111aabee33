// The signal converters of "Преобразователи": position to speed (both
// branches, each type, its record and period), the byte from bits and its
// cost estimate from the microcontroller's pin blocks, the encoder's decode
// table at every code, the camera-control packer and the joystick mixer at
// their edges, their catalogue entries, records and drawing.
#include <cmath>
#include <memory>

#include "block_kit.h"
#include "blocks/library/converters/byte_builder.h"
#include "blocks/library/converters/encoder_decoder.h"
#include "blocks/library/converters/joy_to_lr.h"
#include "blocks/library/converters/pelco_builder.h"
#include "blocks/library/converters/speed.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/typed_block.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::ReadInt;

template <class T>
bool Is(CBEBlock* block) {
  return dynamic_cast<T*>(block) != nullptr;
}

TEST(SignalConverters, TheConvertersGroupOffersThem) {
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* group = library.Group(L"Преобразователи");
  ASSERT_NE(nullptr, group);
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    const wchar_t* bitmap;
    bool (*isClass)(CBEBlock*);
  };
  const Row rows[] = {
      {kBeByteBuilderClassId, L"Формирователь байта", L"bytebuilder.bmp", Is<CBEByteBuilder>},
      {kBeEncoderDecoderClassId, L"Дешифратор абсолютного энкодера", L"encoderdecoder.bmp", Is<CBEEncoderDecoder>},
      {kBePelcoBuilderClassId, L"Драйвер управления камерами", L"pelco.bmp", Is<CBEPelcoBuilder>},
      {kBeSpeedClassId, L"Положение в скорость", L"pos2speed.bmp", Is<CBESpeed>},
      {kBeJoyToLRClassId, L"Пересчет координат джойстика в сигнал для левого и правого привода", L"joy2LR.bmp",
       Is<CBEJoyToLR>},
  };
  for (const Row& row : rows) {
    const BeCatalogueEntry* entry = library.catalogue.FindEntry(row.classId);
    ASSERT_NE(nullptr, entry) << std::hex << row.classId;
    bool inGroup = false;
    for (int i = 0; i < group->entryCount; ++i) inGroup = inGroup || group->Entry(i) == entry;
    EXPECT_TRUE(inGroup) << std::hex << row.classId;
    EXPECT_STREQ(row.caption, entry->caption);
    EXPECT_STREQ(row.bitmap, entry->bitmap);
    std::unique_ptr<CBEBlock> block(entry->creator());
    EXPECT_TRUE(row.isClass(block.get())) << std::hex << row.classId;
  }
}

// ------------------------------------------------------------ position to speed

TEST(Speed, PinsAndCostsByType) {
  Bench bench;
  auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
  ASSERT_NE(nullptr, speed);
  EXPECT_EQ(80, speed->Width());
  EXPECT_EQ(45, speed->Height());
  EXPECT_EQ(kBeSignalShort, speed->inputs[0]->type);
  EXPECT_EQ(kBeSignalShort, speed->outputs[0]->type);
  EXPECT_EQ(nullptr, speed->inputs[0]->name);
  EXPECT_STREQ(L"Положение", speed->inputs[0]->description);
  EXPECT_STREQ(L"Скорость (изменение положение за указанный период)", speed->outputs[0]->description);
  EXPECT_EQ(100.0f, speed->period);
  EXPECT_EQ(Costs(10, 14, 0, false), CostsOf(speed));
  struct Case {
    BeSignalType type;
    Costs costs;
  };
  const Case cases[] = {{kBeSignalFloat, Costs(154, 32, 0, true)}, {kBeSignalChar, Costs(8, 12, 0, false)},
                        {kBeSignalDouble, Costs(234, 40, 0, true)}, {kBeSignalInt, Costs(14, 18, 0, false)},
                        {kBeSignalShort, Costs(10, 14, 0, false)}};
  for (const Case& c : cases) {
    speed->outputs[0]->type = c.type;
    speed->UpdateCosts();
    EXPECT_EQ(c.costs, CostsOf(speed)) << c.type;
  }
  // Another type keeps cycles and ROM; the shared flag is cleared first.
  speed->outputs[0]->type = kBeSignalDouble;
  speed->UpdateCosts();
  speed->outputs[0]->type = kBeSignalBit;
  speed->UpdateCosts();
  EXPECT_EQ(Costs(234, 40, 0, false), CostsOf(speed));
}

struct SpeedBench {
  Bench bench;
  CBESpeed* speed = nullptr;
  blocktest::Source* in = nullptr;
  SpeedBench(BeSignalType type, float periodMs) {
    speed = bench.Create<CBESpeed>(kBeSpeedClassId);
    SetPinTypes(speed, type);
    speed->period = periodMs;
    in = bench.Source(type);
    bench.Link(in, speed);
  }
};

TEST(Speed, ShortPassesOutputTheChangeOncePerPeriod) {
  // 125 ms in passes of 31.25 ms: the fifth pass is the first past the
  // period (a time equal to it does not count), then every fourth.
  SpeedBench b(kBeSignalInt, 125.0f);
  const float dt = 0.03125f;
  int outputs = 0;
  for (int pass = 1; pass <= 13; ++pass) {
    b.in->SetInt(pass * pass);
    b.bench.Pass(dt);
    int expected = 0;
    if (pass >= 5) expected = pass < 9 ? 25 - 1 : pass < 13 ? 81 - 25 : 169 - 81;
    EXPECT_EQ(expected, ReadInt(b.speed)) << pass;
    outputs += pass == 5 || pass == 9 || pass == 13;
  }
  EXPECT_EQ(3, outputs);
  // A second run uses the same period.
  b.bench.Stop();
  EXPECT_EQ(125.0f, b.speed->period);
  b.bench.Start();
  b.speed->outputs[0]->SetInt(0);
  for (int pass = 1; pass <= 5; ++pass) {
    b.in->SetInt(1000 + pass);
    b.bench.Pass(dt);
    EXPECT_EQ(pass < 5 ? 0 : 4, ReadInt(b.speed)) << pass;
  }
}

TEST(Speed, LongPassesScaleTheChangeToThePeriod) {
  // 10 ms in passes of 50 ms: (cur - prev)·0.2 truncated toward zero.
  SpeedBench b(kBeSignalShort, 10.0f);
  b.in->SetInt(500);
  b.bench.Pass(0.05f);
  EXPECT_EQ(0, ReadInt(b.speed));  // the first pass has nothing before it
  // The period and the pass are floats: 0.01f / 0.05f = 0.00999999977648 /
  // 0.0500000007451 lies just below 0.2, so a change of 10 gives
  // 1.9999999 and then 1.
  const int steps[][2] = {{507, 1}, {500, -1}, {512, 2}, {522, 1}, {-29987, -6101}, {-29986, 0}};
  for (const auto& s : steps) {
    b.in->SetInt(s[0]);
    b.bench.Pass(0.05f);
    EXPECT_EQ(s[1], ReadInt(b.speed)) << s[0];
  }
  // A pass exactly one period long: the change itself.
  SpeedBench exact(kBeSignalChar, 125.0f);
  exact.in->SetInt(3);
  exact.bench.Pass(0.125f);
  exact.in->SetInt(-4);
  exact.bench.Pass(0.125f);
  EXPECT_EQ(-7, ReadInt(exact.speed));
}

TEST(Speed, CharWrapsAndFloatAndDoubleKeepTheirPrecision) {
  // Char, one output per period: the 32-bit difference wraps to 8 bits.
  SpeedBench c(kBeSignalChar, 2.0f);
  c.in->SetInt(-100);
  c.bench.Pass(0.001f);
  c.in->SetInt(100);
  c.bench.Pass(0.001f);
  EXPECT_EQ(0, ReadInt(c.speed));  // 2 ms exactly: not yet
  c.bench.Pass(0.001f);
  EXPECT_EQ(static_cast<int8_t>(200), ReadInt(c.speed));  // 200 wraps to -56
  // Float, long passes: 10 ms / 50 ms of a change of 1.5.
  SpeedBench f(kBeSignalFloat, 10.0f);
  f.in->SetFloat(2.0f);
  f.bench.Pass(0.05f);
  f.in->SetFloat(3.5f);
  f.bench.Pass(0.05f);
  EXPECT_FLOAT_EQ(0.3f, blocktest::ReadFloat(f.speed));
  // Double, short passes: 4 ms in passes of 1 ms, the change after 5.
  SpeedBench d(kBeSignalDouble, 4.0f);
  for (int pass = 1; pass <= 5; ++pass) {
    d.in->SetDouble(0.25 * pass * pass);
    d.bench.Pass(0.001f);
  }
  EXPECT_DOUBLE_EQ(0.25 * 25 - 0.25, blocktest::ReadDouble(d.speed));
}

TEST(Speed, AnUnlinkedInputChangesNothing) {
  Bench bench;
  auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
  speed->outputs[0]->SetInt(77);
  bench.Passes(300, 0.001f);
  EXPECT_EQ(77, ReadInt(speed));
  EXPECT_EQ(1, speed->firstPass);
}

TEST(Speed, TheRecordHoldsTypeAndPeriodInMilliseconds) {
  Bench bench;
  auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
  speed->MoveTo(5, 6);
  speed->period = 125.0f;
  SetPinTypes(speed, kBeSignalDouble);
  speed->UpdateCosts();
  bench.Passes(3);
  bench.Stop();
  std::vector<uint8_t> record = blocktest::RecordBytes(speed);
  auto golden = Golden().B(6).F(125.0f).Base(BaseRecord::Unlinked(speed->rect, 1, 1)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(golden, record));
  blocktest::ExpectTruncationsRefused<CBESpeed>(kBeSpeedClassId, record);
  std::unique_ptr<CBESpeed> fresh = blocktest::NewDetached<CBESpeed>(kBeSpeedClassId);
  ASSERT_TRUE(blocktest::LoadBytes(fresh.get(), record));
  EXPECT_EQ(kBeSignalDouble, fresh->inputs[0]->type);
  EXPECT_EQ(kBeSignalDouble, fresh->outputs[0]->type);
  EXPECT_EQ(125.0f, fresh->period);
  EXPECT_EQ(Costs(234, 40, 0, true), CostsOf(fresh.get()));
  // Refused, the block as it was: a type outside char..double, a period
  // that no dialog stores.
  std::unique_ptr<CBESpeed> model = blocktest::NewDetached<CBESpeed>(kBeSpeedClassId);
  std::vector<uint8_t> untouched = blocktest::RecordBytes(model.get());
  for (int type : {1, 7}) {
    std::vector<uint8_t> bad = record;
    bad[0] = static_cast<uint8_t>(type);
    EXPECT_FALSE(blocktest::LoadBytes(model.get(), bad)) << type;
  }
  for (float period : {0.0f, -5.0f, std::nanf(""), HUGE_VALF}) {
    auto bad = Golden().B(4).F(period).Base(BaseRecord::Unlinked(speed->rect, 1, 1)).Bytes();
    EXPECT_FALSE(blocktest::LoadBytes(model.get(), bad)) << period;
  }
  EXPECT_TRUE(velktest::BytesEqual(untouched, blocktest::RecordBytes(model.get())));
  EXPECT_EQ(Costs(10, 14, 0, false), CostsOf(model.get()));
}

TEST(Speed, DrawsPositionArrowSpeed) {
  Bench bench;
  auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
  blocktest::Canvas canvas(100, 65);
  EXPECT_TRUE(canvas.Draw(speed, 10, 10));
  const int centre = 10 + 40;
  // The arrow's shaft and head in black; the texts above and below it.
  for (int y = 10 + 13; y <= 10 + 25; ++y) EXPECT_EQ(RGB(0, 0, 0), canvas.At(centre, y)) << y;
  for (int d = 1; d <= 4; ++d) {
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(centre - d, 10 + 25 - d)) << d;
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(centre + d, 10 + 25 - d)) << d;
  }
  EXPECT_GT(canvas.Ink(12, 11, 88, 22), 20);
  EXPECT_GT(canvas.Ink(12, 36, 88, 52), 20);
  canvas.Save(L"library_position_to_speed.bmp");
}

// ------------------------------------------------------------ byte from bits

struct ByteBench {
  Bench bench;
  CBEByteBuilder* builder = nullptr;
  ByteBench() { builder = bench.Create<CBEByteBuilder>(kBeByteBuilderClassId); }
  CBEIOPort* Pin(const wchar_t* caption) {
    CBEIOPort* pin = bench.Create<CBEIOPort>(kBePortPinBlockClassId);
    pin->SetCaption(caption);
    return pin;
  }
  // Inputs from..to from pins "P<letter><input>".
  void WirePort(wchar_t letter, int from = 0, int to = 7) {
    for (int j = from; j <= to; ++j) {
      wchar_t caption[8] = {L'P', letter, static_cast<wchar_t>(L'0' + j), 0};
      bench.Link(Pin(caption), builder, j);
    }
  }
  Costs Estimate() {
    bench.Start();
    Costs c = CostsOf(builder);
    bench.Stop();
    return c;
  }
};

TEST(ByteBuilder, PinsAndTheByte) {
  ByteBench b;
  auto* bb = b.builder;
  EXPECT_EQ(15, bb->Width());
  EXPECT_EQ(120, bb->Height());
  ASSERT_EQ(8, bb->inputCount);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(kBeSignalBit, bb->inputs[i]->type);
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(L'0' + i)), bb->inputs[i]->name);
    EXPECT_EQ(nullptr, bb->inputs[i]->description);
  }
  EXPECT_EQ(kBeSignalChar, bb->outputs[0]->type);
  EXPECT_EQ(Costs(24, 32, 0, false), CostsOf(bb));
  blocktest::Source* bits[8];
  for (int i = 0; i < 8; ++i) {
    bits[i] = b.bench.Source(kBeSignalBit);
    b.bench.Link(bits[i], bb, i);
  }
  bits[0]->SetBit(true);
  bits[2]->SetBit(true);
  b.bench.Pass();
  EXPECT_EQ(5, bb->outputs[0]->value[0]);
  for (int i = 0; i < 8; ++i) bits[i]->SetBit(true);
  b.bench.Pass();
  EXPECT_EQ(255, bb->outputs[0]->value[0]);
  // Any nonzero first byte is a 1; an unlinked input a 0.
  bits[7]->SetBytes({0, 9});
  bits[6]->SetBytes({2});
  b.bench.Unlink(bb, 1);
  b.bench.Pass();
  EXPECT_EQ(0x7D, bb->outputs[0]->value[0]);
  EXPECT_TRUE(blocktest::DrawsCaption(bb, L"Формирователь байта"));
}

TEST(ByteBuilder, TheEstimateRewardsBitsStraightFromOnePort) {
  {
    ByteBench b;
    b.WirePort(L'C');
    EXPECT_EQ(Costs(2, 2, 0, false), b.Estimate());
    // Between runs the last estimate stays.
    EXPECT_EQ(Costs(2, 2, 0, false), CostsOf(b.builder));
    b.bench.Unlink(b.builder, 7);
    EXPECT_EQ(Costs(4, 4, 0, false), b.Estimate());
    // One input fed by another block.
    b.bench.Link(b.bench.Source(kBeSignalBit), b.builder, 7);
    EXPECT_EQ(Costs(24, 32, 0, false), b.Estimate());
  }
  {
    ByteBench b;  // nothing linked: port A passes at once
    EXPECT_EQ(Costs(4, 4, 0, false), b.Estimate());
  }
  {
    ByteBench b;  // the last letter, bits 2 to 5 only
    b.WirePort(L'H', 2, 5);
    EXPECT_EQ(Costs(4, 4, 0, false), b.Estimate());
  }
  {
    ByteBench b;  // captions that hold the text among others
    b.bench.Link(b.Pin(L"PD0/RXD"), b.builder, 0);
    b.bench.Link(b.Pin(L"PD1/TXD"), b.builder, 1);
    EXPECT_EQ(Costs(4, 4, 0, false), b.Estimate());
  }
  {
    ByteBench b;  // two ports mixed
    b.WirePort(L'B', 0, 3);
    b.WirePort(L'D', 4, 7);
    EXPECT_EQ(Costs(24, 32, 0, false), b.Estimate());
  }
  {
    ByteBench b;  // a pin on the wrong input, a letter beyond H
    b.bench.Link(b.Pin(L"PC1"), b.builder, 0);
    EXPECT_EQ(Costs(24, 32, 0, false), b.Estimate());
    ByteBench j;
    j.WirePort(L'J');
    EXPECT_EQ(Costs(24, 32, 0, false), j.Estimate());
  }
  {
    ByteBench b;  // a switchable pin (two inputs, still one output) counts
    b.WirePort(L'A');
    CBEIOPort* pin = dynamic_cast<CBEIOPort*>(b.builder->inputs[3]->source->owner);
    ASSERT_NE(nullptr, pin);
    ASSERT_TRUE(pin->SetMode(CBEIOPort::kModeSwitchable));
    b.bench.Link(pin, b.builder, 3);
    EXPECT_EQ(Costs(2, 2, 0, false), b.Estimate());
    // A pin block of another scheme does not count.
    Bench elsewhere;
    CBEIOPort* foreign = elsewhere.Create<CBEIOPort>(kBePortPinBlockClassId);
    foreign->SetCaption(L"PA3");
    b.bench.LinkAnyway(foreign, 0, b.builder, 3);
    EXPECT_EQ(Costs(24, 32, 0, false), b.Estimate());
    b.bench.Unlink(b.builder, 3);
  }
}

// ------------------------------------------------------------ encoder decoder

// The decode table, as the encoder's code wheel gives it.
const int kPositions[256] = {
    112, 112, 96,  97,  80,  79,  81,  98,  64,  64,  63,  76,  65,  78,  82,  77,  48,  48,  48,  48,  47,  47,
    60,  99,  49,  49,  62,  62,  66,  101, 61,  100, 32,  32,  32,  32,  32,  32,  32,  32,  31,  31,  31,  75,
    44,  44,  83,  83,  33,  33,  33,  33,  46,  46,  46,  46,  50,  50,  85,  86,  45,  45,  84,  87,  16,  111,
    111, 110, 110, 110, 110, 5,   5,   5,   5,   5,   5,   5,   5,   5,   15,  15,  15,  15,  15,  15,  59,  59,
    28,  27,  27,  26,  67,  67,  67,  67,  17,  124, 124, 124, 124, 123, 123, 6,   30,  30,  30,  74,  74,  122,
    122, 121, 34,  35,  35,  35,  69,  69,  70,  70,  29,  29,  29,  73,  68,  68,  71,  72,  0,   113, 95,  114,
    114, 92,  94,  93,  93,  93,  93,  115, 115, 115, 117, 116, 116, 116, 116, 116, 116, 91,  91,  91,  91,  91,
    91,  91,  91,  102, 102, 103, 127, 126, 126, 21,  21,  21,  21,  21,  21,  21,  21,  21,  43,  42,  42,  42,
    12,  12,  11,  22,  22,  90,  10,  9,   51,  51,  51,  51,  51,  89,  89,  88,  1,   2,   108, 109, 109, 3,
    3,   4,   4,   4,   107, 107, 107, 107, 118, 119, 14,  37,  37,  37,  37,  37,  58,  58,  58,  38,  106, 25,
    25,  25,  105, 104, 18,  125, 19,  20,  20,  20,  20,  7,   53,  53,  53,  53,  54,  41,  41,  120, 13,  36,
    36,  23,  23,  23,  57,  8,   52,  39,  39,  24,  55,  40,  56,  56,
};

TEST(EncoderDecoder, EveryCodeGivesItsPosition) {
  Bench bench;
  auto* dec = bench.Create<CBEEncoderDecoder>(kBeEncoderDecoderClassId);
  ASSERT_NE(nullptr, dec);
  EXPECT_EQ(80, dec->Width());
  EXPECT_EQ(40, dec->Height());
  EXPECT_EQ(kBeSignalChar, dec->inputs[0]->type);
  EXPECT_EQ(kBeSignalChar, dec->outputs[0]->type);
  EXPECT_EQ(Costs(4, 260, 0, false), CostsOf(dec));
  // Unlinked: the output stays.
  dec->outputs[0]->value[0] = 99;
  bench.Pass();
  EXPECT_EQ(99, dec->outputs[0]->value[0]);
  blocktest::Source* code = bench.Source(kBeSignalChar);
  bench.Link(code, dec);
  bool seen[128] = {};
  for (int c = 0; c < 256; ++c) {
    code->SetInt(c);
    bench.Pass();
    EXPECT_EQ(kPositions[c], dec->outputs[0]->value[0]) << c;
    if (kPositions[c] < 128) seen[kPositions[c]] = true;
  }
  for (int p = 0; p < 128; ++p) EXPECT_TRUE(seen[p]) << p;
  const int examples[][2] = {{0, 112}, {128, 0}, {160, 127}, {255, 56}};
  for (const auto& e : examples) EXPECT_EQ(e[1], kBeEncoderPositions[e[0]]);
  EXPECT_TRUE(blocktest::DrawsCaption(dec, L"Дешифр. энкодера"));
}

// ------------------------------------------------------------ camera control

TEST(PelcoBuilder, PacksTheThreeSpeeds) {
  Bench bench;
  auto* pelco = bench.Create<CBEPelcoBuilder>(kBePelcoBuilderClassId);
  ASSERT_NE(nullptr, pelco);
  EXPECT_EQ(100, pelco->Width());
  EXPECT_EQ(50, pelco->Height());
  EXPECT_EQ(Costs(0, 0, 0, false), CostsOf(pelco));
  const wchar_t* names[3] = {L"zoom", L"x", L"y"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(kBeSignalChar, pelco->inputs[i]->type);
    EXPECT_STREQ(names[i], pelco->inputs[i]->name);
  }
  EXPECT_STREQ(L"Скорость поворота камеры по Y", pelco->inputs[2]->description);
  EXPECT_EQ(24, pelco->outputs[0]->type);
  EXPECT_STREQ(L"data", pelco->outputs[0]->name);
  EXPECT_STREQ(L"На устройство связи", pelco->outputs[0]->description);
  EXPECT_STREQ(L"Управл.камерами", GetSignalTypeName(24));
  EXPECT_EQ(3, GetSignalValueSize(24));

  blocktest::Source* x = bench.Source(kBeSignalChar);
  bench.Link(x, pelco, 1);
  x->SetInt(-5);
  pelco->outputs[0]->value[0] = 7;
  bench.Pass();
  EXPECT_EQ((std::vector<uint8_t>{0, 251, 0}),
            std::vector<uint8_t>(pelco->outputs[0]->value, pelco->outputs[0]->value + 3));
  blocktest::Source* zoom = bench.Source(kBeSignalChar);
  blocktest::Source* y = bench.Source(kBeSignalChar);
  bench.Link(zoom, pelco, 0);
  bench.Link(y, pelco, 2);
  zoom->SetInt(127);
  y->SetInt(-128);
  bench.Pass();
  EXPECT_EQ((std::vector<uint8_t>{127, 251, 128}),
            std::vector<uint8_t>(pelco->outputs[0]->value, pelco->outputs[0]->value + 3));
  EXPECT_TRUE(blocktest::DrawsCaption(pelco, L"PELCO-D"));
}

// ------------------------------------------------------------ joystick

TEST(JoyToLR, MixesClampsAndTruncates) {
  Bench bench;
  auto* joy = bench.Create<CBEJoyToLR>(kBeJoyToLRClassId);
  ASSERT_NE(nullptr, joy);
  EXPECT_EQ(120, joy->Width());
  EXPECT_EQ(40, joy->Height());
  EXPECT_EQ(Costs(650, 80, 0, true), CostsOf(joy));
  EXPECT_STREQ(L"x", joy->inputs[0]->name);
  EXPECT_STREQ(L"Ось X джойстика (от -1 до 1)", joy->inputs[0]->description);
  EXPECT_STREQ(L"y", joy->inputs[1]->name);
  EXPECT_EQ(kBeSignalFloat, joy->inputs[1]->type);
  EXPECT_STREQ(L"L", joy->outputs[0]->name);
  EXPECT_STREQ(L"R", joy->outputs[1]->name);
  EXPECT_EQ(kBeSignalChar, joy->outputs[1]->type);
  EXPECT_STREQ(L"Сигнал на правый привод (от -127 до 127)", joy->outputs[1]->description);
  // Unlinked inputs read 0.
  joy->outputs[0]->value[0] = 9;
  bench.Pass();
  EXPECT_EQ(0, ReadInt(joy, 0));
  EXPECT_EQ(0, ReadInt(joy, 1));

  blocktest::Source* x = bench.Source(kBeSignalFloat);
  blocktest::Source* y = bench.Source(kBeSignalFloat);
  bench.Link(x, joy, 0);
  bench.Link(y, joy, 1);
  struct Case {
    float x, y;
    int l, r;
  };
  const Case cases[] = {
      {0.5f, 1.0f, 127, 63},     // l clamped from 1.5; 0.5·127 = 63.5 truncated
      {-1.0f, -1.0f, -127, 0},   // l clamped from -2
      {1.0f, 0.0f, 127, -127},   // a turn on the spot
      {0.25f, -0.5f, -31, -95},  // -0.25·127 = -31.75, -0.75·127 = -95.25
      {0.0f, 0.1f, 12, 12},      // 12.7 truncated
      {5.0f, 5.0f, 127, 0},      // far out of range: clamped, never wrapped
      {-9.0f, 3.0f, -127, 127},
  };
  for (const Case& c : cases) {
    x->SetFloat(c.x);
    y->SetFloat(c.y);
    bench.Pass();
    EXPECT_EQ(c.l, ReadInt(joy, 0)) << c.x << " " << c.y;
    EXPECT_EQ(c.r, ReadInt(joy, 1)) << c.x << " " << c.y;
  }
  EXPECT_TRUE(blocktest::DrawsCaption(joy, L"Joy->Лев.Пр."));
  blocktest::Canvas canvas(340, 140);
  canvas.Paint(joy, 10, 10);
  canvas.Paint(bench.Create<CBEPelcoBuilder>(kBePelcoBuilderClassId), 10, 70);
  canvas.Paint(bench.Create<CBEEncoderDecoder>(kBeEncoderDecoderClassId), 180, 10);
  canvas.Paint(bench.Create<CBEByteBuilder>(kBeByteBuilderClassId), 300, 10);
  canvas.Paint(bench.Create<CBESpeed>(kBeSpeedClassId), 180, 70);
  canvas.Save(L"library_signal_converters.bmp");
}

// ------------------------------------------------------------ records

TEST(SignalConverters, TheOtherFourKeepTheBaseRecordAlone) {
  const unsigned int ids[] = {kBeByteBuilderClassId, kBeEncoderDecoderClassId, kBePelcoBuilderClassId,
                              kBeJoyToLRClassId};
  for (unsigned int id : ids) {
    SCOPED_TRACE(testing::Message() << std::hex << id);
    Bench bench;
    CBEBlock* block = bench.scheme.CreateBlock(id);
    ASSERT_NE(nullptr, block);
    block->MoveTo(7, 9);
    std::vector<uint8_t> record = blocktest::RecordBytes(block);
    auto golden = Golden().Base(BaseRecord::Unlinked(block->rect, block->inputCount, block->outputCount)).Bytes();
    EXPECT_TRUE(velktest::BytesEqual(golden, record));
    blocktest::ExpectTruncationsRefused<CBEBlock>(id, record);
  }
}

}  // namespace
