// The MAX232 driver: pins and packages, its record, the charge-pump
// application circuit a database row adds, transmitters, receivers, the
// supply window and burn-out.
#include "components/electronic/chips/max232.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "chip_rig.h"
#include "component_kit.h"
#include "components/electronic/discrete/capacitor.h"
#include "scheme/model/wire.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

// The bench's registry creates the capacitors.
using CapBench = Bench;

// The capacitor's own fields.
struct CapFields {
  int orientation;
  float farads, volts;
  int kind;
};
CapFields ReadCapacitor(CSCHBlock* c) {
  CapFields f = {};
  CCapacitor* cap = dynamic_cast<CCapacitor*>(c);
  if (!cap) return f;
  f.orientation = cap->symbolOrientation;
  f.farads = cap->capacitance;
  f.volts = cap->ratedVoltage;
  f.kind = cap->kind;
  return f;
}

DbRow Row(const char* model, const char* c, const char* corps) {
  return DbRow(L"max232", {{"model", model}, {"C1", c}, {"C2", c}, {"corps", corps}, {"I", "10"},
                           {"Umin", "4.5"}, {"Umax", "5.5"}, {"price", "80"}});
}

TEST(Max232, CreatedWithNamedPinsAndNoLayoutYet) {
  Bench bench;
  auto* chip = bench.Create<CSCHMAX232>("MAX232");
  ASSERT_NE(chip, nullptr);
  EXPECT_STREQ(chip->instanceName, L"DD1");
  EXPECT_EQ(chip->supplyCurrent, 0.015f);
  EXPECT_EQ(chip->minimumSupply, 4.5f);
  EXPECT_EQ(chip->maximumSupply, 6.0f);
  EXPECT_EQ(chip->rect.right - chip->rect.left, 150);
  ASSERT_EQ(chip->pinCount, 16);
  const wchar_t* names[16] = {L"C1+", L"+10V", L"C1-",  L"C2+",  L"C2-",  L"-10V",  L"T2out", L"R2in",
                              L"R2out", L"T2in", L"T1in", L"R1out", L"R1in", L"T1out", L"GND", L"VCC"};
  for (int i = 0; i < 16; i++) {
    EXPECT_STREQ(chip->pins[i].name, names[i]);
    EXPECT_EQ(chip->pins[i].number, -1);
    EXPECT_EQ(chip->pins[i].side, kSchSideLeft);
  }
  EXPECT_STREQ(chip->pins[kElecMax232T2Out].description, L"Выход RS-232");
  EXPECT_STREQ(chip->pins[kElecMax232VCC].description, L"Подключить к +5V");
  EXPECT_EQ(chip->pins[kElecMax232T1In].description, nullptr);
}

TEST(Max232, PackagesLayThePinsOut) {
  const struct {
    const char* corps;
    float width, length;
  } cases[] = {{"0", 7.62f, 19.558f}, {"1", 6.2f, 10.46f}, {"2", 10.2f, 10.46f}};
  for (const auto& c : cases) {
    comptest::RegistryScope registry;
    auto chip = comptest::NewDetached<CSCHMAX232>("MAX232");
    DbRow row = Row("MAX232CPE", "1", c.corps);
    chip->ApplyDbRecord(row.Record());  // detached: no application circuit
    EXPECT_FLOAT_EQ(chip->footprintWidth, c.width);
    EXPECT_FLOAT_EQ(chip->footprintLength, c.length);
    EXPECT_EQ(chip->rect.bottom - chip->rect.top, 160);
    for (int i = 0; i < 16; i++) {
      EXPECT_EQ(chip->pins[i].number, i + 1);
      EXPECT_EQ(chip->pins[i].side, i < 8 ? kSchSideLeft : kSchSideRight);
    }
    EXPECT_EQ(chip->childCount, 0);
    EXPECT_FLOAT_EQ(chip->supplyCurrent, 0.01f);
    EXPECT_EQ(chip->maximumSupply, 5.5f);
  }
}

TEST(Max232, RecordIsPackageCurrentAndSupplyWindowThenTheBlock) {
  comptest::RegistryScope registry;
  auto chip = comptest::NewDetached<CSCHMAX232>("MAX232");
  DbRow row = Row("MAX232CWE", "1", "2");
  chip->ApplyDbRecord(row.Record());
  std::vector<uint8_t> full = comptest::SaveBytes(chip.get());
  CMemoryStream base;
  chip->CSCHBlock::Save(&base);
  std::vector<uint8_t> expected = Golden().B(2).F(10.0f / 1000).F(4.5f).F(5.5f).Bytes();
  std::vector<uint8_t> tail = comptest::StreamBytes(base);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_TRUE(velktest::BytesEqual(full, expected));
  auto copy = comptest::NewDetached<CSCHMAX232>("MAX232");
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(copy->package, 2);
  EXPECT_FLOAT_EQ(copy->footprintWidth, 10.2f);
  EXPECT_EQ(copy->pins[15].number, 16);
  comptest::ForEachTruncation<CSCHMAX232>("MAX232", full, [&](CSCHMAX232* c, size_t n) {
    EXPECT_EQ(c->package, n >= 1 ? 2 : 0);
    if (n >= 5 || n <= 1) {
      EXPECT_EQ(c->supplyCurrent, n >= 5 ? 0.01f : 0.0f);
    }
    if (n >= 9 || n <= 5) {
      EXPECT_EQ(c->minimumSupply, n >= 9 ? 4.5f : 0.0f);
    }
    if (n >= 13 || n <= 9) {
      EXPECT_EQ(c->maximumSupply, n >= 13 ? 5.5f : 0.0f);
    }
    EXPECT_EQ(c->pinCount, 16);
  });
}

// The wires of a scheme as "block:pin-block:pin" texts with their flags.
struct WireEnd {
  CSCHBlock* a;
  int pa;
  CSCHBlock* b;
  int pb;
  std::vector<int> coords;
  unsigned char flags;
};
std::vector<WireEnd> Wires(SchScheme* s) {
  std::vector<WireEnd> v;
  for (SchWire* w = s->wires; w; w = w->next) {
    WireEnd e = {w->GetEndBlock(0), w->ends[0].index, w->GetEndBlock(1), w->ends[1].index,
                 std::vector<int>(w->coords, w->coords + w->coordCount), w->flags};
    v.push_back(e);
  }
  return v;
}

TEST(Max232, DatabaseRowAddsTheChargePumpCircuit) {
  CapBench bench;
  auto* chip = bench.Create<CSCHMAX232>("MAX232");
  chip->MoveTo(300, 100);
  chip->boardX = 10;
  chip->boardY = 20;
  DbRow row = Row("MAX232CPE", "1", "0");
  chip->ApplyDbRecord(row.Record());
  EXPECT_EQ(chip->rect.left, 500);
  EXPECT_EQ(chip->rect.right, 650);
  ASSERT_EQ(chip->childCount, 6);
  CSCHBlock* cap[4];
  for (int i = 0; i < 4; i++) {
    cap[i] = chip->children[i];
    EXPECT_STREQ(cap[i]->className, "Capacitor");
    EXPECT_EQ(cap[i]->parent, chip);
    EXPECT_EQ(cap[i]->flags & 0x0E, 0x0E);
    CapFields f = ReadCapacitor(cap[i]);
    EXPECT_FLOAT_EQ(f.farads, 1e-6f);
    EXPECT_EQ(f.kind, 1);  // electrolytic from 1 uF
    EXPECT_EQ(f.orientation, i % 2 == 0 ? 0 : 2);
    EXPECT_GE(f.volts, 16.0f);
  }
  // Board: x - 8.89, x - 12.7 - 2.54 (e for 1 uF); y - 7.62 and y.
  const float bx[4] = {10 - 8.89f, 10 - 15.24f, 10 - 8.89f, 10 - 15.24f};
  const float by[4] = {20 - 7.62f, 20 - 7.62f, 20, 20};
  // Symbols: pin anchors of the moved chip (left - 7, top + 160 k / 9 for
  // pins 0, 3 and 5: 17, 71, 106) plus the offsets.
  const POINT at[4] = {{493 - 110, 117 - 30}, {493 - 200, 117 - 30}, {493 - 200, 171}, {493 - 40, 206 + 70}};
  for (int i = 0; i < 4; i++) {
    EXPECT_NEAR(cap[i]->boardX, bx[i], 1e-4f) << i;
    EXPECT_NEAR(cap[i]->boardY, by[i], 1e-4f) << i;
    EXPECT_EQ(cap[i]->rect.left, at[i].x) << i;
    EXPECT_EQ(cap[i]->rect.top, at[i].y) << i;
  }
  EXPECT_STREQ(cap[1]->pins[1].description, L"Подключить к +5V");
  CSCHBlock* gnd1 = chip->children[4];
  CSCHBlock* gnd2 = chip->children[5];
  EXPECT_STREQ(gnd1->className, "GND");
  EXPECT_STREQ(gnd2->className, "GND");
  EXPECT_EQ(gnd1->flags & 0x0C, 0x0C);
  EXPECT_EQ(gnd1->rect.left, cap[3]->rect.left + 6);
  EXPECT_EQ(gnd1->rect.top, cap[3]->rect.bottom + 15);
  EXPECT_EQ(gnd2->rect.left, 660);
  EXPECT_EQ(gnd2->rect.top, cap[3]->rect.bottom + 15);

  // The eight wires, end 0 first.
  struct Expect {
    CSCHBlock* a;
    int pa;
    CSCHBlock* b;
    int pb;
    std::vector<int> coords;
  };
  const Expect expected[] = {
      {chip, kElecMax232C1Plus, cap[0], 0, {490, 75}},
      {chip, kElecMax232C1Minus, cap[0], 1, {}},
      {chip, kElecMax232Plus10V, cap[1], 0, {}},
      {chip, kElecMax232C2Plus, cap[2], 0, {380, 160}},
      {chip, kElecMax232C2Minus, cap[2], 1, {380, 210}},
      {chip, kElecMax232Minus10V, cap[3], 1, {}},
      {cap[3], 0, gnd1, 0, {static_cast<int>(cap[3]->rect.bottom + 4)}},
      {chip, kElecMax232GND, gnd2, 0, {}},
  };
  std::vector<WireEnd> wires = Wires(bench.scheme);
  ASSERT_EQ(wires.size(), 8u);
  for (const Expect& e : expected) {
    int found = 0;
    for (const WireEnd& w : wires) {
      if (w.a == e.a && w.pa == e.pa && w.b == e.b && w.pb == e.pb) {
        found++;
        // The polyline given, and at most one last turn into the pin.
        ASSERT_GE(w.coords.size(), e.coords.size());
        EXPECT_LE(w.coords.size(), e.coords.size() + 1);
        EXPECT_TRUE(std::equal(e.coords.begin(), e.coords.end(), w.coords.begin())) << e.pa;
        EXPECT_EQ(w.flags & 0x0C, 0x0C);
      }
    }
    EXPECT_EQ(found, 1) << e.pa;
  }
}

// Memory refused anywhere while the circuit is added (a part, a slot among
// the children, a wire) never leaves a part of it outside the chip's
// children, where deleting the circuit would miss it.
TEST(Max232, RefusedMemoryLeavesNoPartOfTheCircuitUnowned) {
  comptest::ExpectCircuitOwnedUnderRefusedMemory("MAX232", 300, 100, Row("MAX232CPE", "1", "0"), 6);
}

TEST(Max232, SmallCapacitorsAreChipsOnSoAndCeramicOnDip) {
  for (const char* corps : {"0", "1", "2"}) {
    CapBench bench;
    auto* chip = bench.Create<CSCHMAX232>("MAX232");
    DbRow row = Row("MAX232ACSE", "0.1", corps);
    chip->ApplyDbRecord(row.Record());
    ASSERT_EQ(chip->childCount, 6);
    CapFields f = ReadCapacitor(chip->children[0]);
    EXPECT_EQ(f.kind, corps[0] == '0' ? 0 : 2) << corps;
    EXPECT_FLOAT_EQ(f.farads, 1e-7f);
    EXPECT_FLOAT_EQ(f.volts, 16.0f);
    // No extra spacing below 1 uF; the SO offsets.
    float dx = corps[0] == '2' ? -1.27f : 0, dy = corps[0] == '0' ? 0 : 2.54f;
    EXPECT_NEAR(chip->children[1]->boardX, -12.7f + dx, 1e-4f);
    EXPECT_NEAR(chip->children[1]->boardY, -7.62f + dy, 1e-4f);
  }
}

TEST(Max232, ApplyingARowAgainLeavesOneCircuit) {
  CapBench bench;
  auto* chip = bench.Create<CSCHMAX232>("MAX232");
  DbRow row = Row("MAX232CPE", "1", "0");
  chip->ApplyDbRecord(row.Record());
  const int left = chip->rect.left;
  chip->ApplyDbRecord(row.Record());
  EXPECT_EQ(chip->rect.left, left);  // moved once
  EXPECT_EQ(chip->childCount, 6);
  int blocks = 0;
  for (CSCHBlock* b = bench.scheme->blocks; b; b = b->next) blocks++;
  EXPECT_EQ(blocks, 7);
  std::vector<WireEnd> wires = Wires(bench.scheme);
  EXPECT_EQ(wires.size(), 8u);
  for (const WireEnd& w : wires) {
    EXPECT_NE(w.a, nullptr);
    EXPECT_NE(w.b, nullptr);
  }
  for (int i = 0; i < chip->childCount; i++) EXPECT_EQ(chip->children[i]->parent, chip);
}

TEST(Max232, CapacitorsAreTheCapacitorClassWithTheirSidesAndRecord) {
  CapBench bench;
  auto* chip = bench.Create<CSCHMAX232>("MAX232");
  DbRow row = Row("MAX232CPE", "0.1", "0");
  chip->ApplyDbRecord(row.Record());
  ASSERT_EQ(chip->childCount, 6);
  for (int i = 0; i < 4; i++) {
    CSCHBlock* cap = chip->children[i];
    ASSERT_NE(dynamic_cast<CCapacitor*>(cap), nullptr) << i;
    // Orientation 0: pin 1 on top, pin 2 at the bottom; 2: the other way.
    const int o = i % 2 == 0 ? 0 : 2;
    EXPECT_EQ(cap->pins[0].side, (o + 1) & 3) << i;
    EXPECT_EQ(cap->pins[1].side, (o + 3) & 3) << i;
    EXPECT_EQ(cap->flags & kSchLoaded, 0);
    // Its record: flags with the orientation (bit 7: the voltage is a
    // float), 1e-7 F, 16 V, kind 0.
    std::vector<uint8_t> b = comptest::SaveBytes(cap);
    ASSERT_GE(b.size(), 10u);
    EXPECT_EQ(b[0], 0x80 | o);
    float farads = 0, volts = 0;
    memcpy(&farads, &b[1], 4);
    memcpy(&volts, &b[5], 4);
    EXPECT_FLOAT_EQ(farads, 1e-7f);
    EXPECT_FLOAT_EQ(volts, 16);
    EXPECT_EQ(b[9], 0);
  }
}

TEST(Max232, WithoutACapacitorClassTheGroundsStillCome) {
  Bench bench;
  g_schClassRegistry.SetCreator("Capacitor", nullptr);  // the bench puts the rows back
  auto* chip = bench.Create<CSCHMAX232>("MAX232");
  DbRow row = Row("MAX232CPE", "1", "0");
  chip->ApplyDbRecord(row.Record());
  EXPECT_EQ(chip->childCount, 2);
  EXPECT_EQ(Wires(bench.scheme).size(), 1u);  // chip GND to its ground
}

// A driver on a stiff supply, record applied detached (no circuit).
struct Rig {
  explicit Rig(float supply = 5, float max = 6) {
    chip = bench.Create<CSCHMAX232>("MAX232");
    chip->UpdateBodySize();
    chip->maximumSupply = max;
    vcc = bench.Source(supply);
    bench.Wire(vcc, 0, chip, kElecMax232VCC);
    gnd = bench.Ground();
    bench.Wire(gnd, 0, chip, kElecMax232GND);
  }
  circuit::Part* In(int pin, float U) {
    auto* s = bench.Source(U);
    bench.Wire(s, 0, chip, pin);
    return s;
  }
  circuit::Part* Probe(int pin) {
    auto* p = bench.Part(1);
    bench.Wire(p, 0, chip, pin);
    return p;
  }
  Bench bench;
  CSCHMAX232* chip;
  circuit::Part* vcc;
  circuit::Part* gnd;
};

TEST(Max232, TransmittersTurnUartLevelsIntoRs232) {
  const struct {
    float in;
    bool open;
    float out;
  } cases[] = {{5, false, -10}, {0, false, 10}, {0, true, 10}, {2.4f, false, 10}, {2.5f, false, -10}};
  for (const auto& c : cases) {
    Rig rig;
    if (!c.open) rig.In(kElecMax232T1In, c.in);
    auto* out = rig.Probe(kElecMax232T1Out);
    rig.bench.Run(2);
    SchPinState s = Bench::State(out, 0);
    EXPECT_NEAR(s.U, c.out, 1e-3f) << c.in;
    EXPECT_NEAR(s.R, 250, 1e-3f);
    EXPECT_EQ(s.source, nullptr);  // a steady level, no data
    EXPECT_EQ(rig.chip->burnt, 0);
  }
}

TEST(Max232, DataPassesBothWays) {
  chiptest::OwnedSet data;
  Rig rig;
  auto* uart = rig.bench.Add<chiptest::DataLine>();
  uart->source.packets = data.set;
  rig.bench.Wire(uart, 0, rig.chip, kElecMax232T2In);
  auto* rs232 = rig.bench.Add<chiptest::DataLine>();
  rs232->source.packets = data.set;
  rs232->U1 = -10;
  rs232->U2 = 10;
  rig.bench.Wire(rs232, 0, rig.chip, kElecMax232R1In);
  auto* t2 = rig.Probe(kElecMax232T2Out);
  auto* r1 = rig.Probe(kElecMax232R1Out);
  rig.bench.Run(2);
  SchPinState s = Bench::State(t2, 0);
  EXPECT_EQ(s.sourceKind, kSchSourceSerial);
  EXPECT_EQ(s.source, &uart->source);
  EXPECT_NEAR(s.U, -10, 1e-3f);
  EXPECT_NEAR(s.U2, 10, 1e-3f);
  s = Bench::State(r1, 0);
  EXPECT_EQ(s.source, &rs232->source);
  // Vc = 5 x Rs / (Rs + 2e-5), Rs = 5 / 0.015.
  EXPECT_NEAR(s.U, 5, 1e-4f);
  EXPECT_NEAR(s.R, 166, 1e-3f);
  EXPECT_NEAR(s.U2, 0, 1e-4f);
}

TEST(Max232, ReceiversTurnRs232LevelsIntoUart) {
  const struct {
    float in, out;
  } cases[] = {{-12, 5}, {-3.3f, 0}, {-3.4f, 5}, {0, 0}, {12, 0}};
  for (const auto& c : cases) {
    Rig rig;
    rig.In(kElecMax232R2In, c.in);
    auto* out = rig.Probe(kElecMax232R2Out);
    rig.bench.Run(2);
    SchPinState s = Bench::State(out, 0);
    EXPECT_NEAR(s.U, c.out, 1e-4f) << c.in;
    EXPECT_NEAR(s.R, 166, 1e-3f);
    EXPECT_EQ(s.source, nullptr);
  }
}

TEST(Max232, SupplyWindow) {
  // The edges, worked in single precision as the window's fields are. VCC and
  // GND are driven behind next to nothing, which the pin model raises to
  // 1e-5 ohm each; Rs = 5 / 0.01 = 500 ohms, so Vc = U x 500 / (500 + 2e-5):
  // 4.5 gives 4.49999982, which rounds to 4.5 (the float below 4.5 is
  // 4.49999952), so the chip works; the float below 4.5 gives 4.49999934,
  // which stays below. At the top 5.5 gives 5.49999978, rounding to 5.5
  // (not above the maximum); the float above 5.5 (5.50000048) gives
  // 5.50000026, rounding to 5.50000048, and burns the chip.
  const struct {
    const char* what;
    float supply;
    float expectedOut;
    bool burns;
  } cases[] = {
      {"exactly the minimum", 4.5f, 10, false},
      {"the float below the minimum", 4.49999952f, 0, false},
      {"exactly the maximum", 5.5f, 10, false},
      {"the float above the maximum", 5.50000048f, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture log;
    Rig rig(c.supply, 5.5f);
    rig.chip->supplyCurrent = 0.01f;
    rig.chip->minimumSupply = 4.5f;
    rig.vcc->Drive(0, c.supply, 1e-9f);
    rig.gnd->Drive(0, 0, 1e-9f);
    rig.In(kElecMax232T1In, 0);
    auto* out = rig.Probe(kElecMax232T1Out);
    rig.bench.Run(2);
    EXPECT_EQ(rig.chip->burnt, c.burns ? 1 : 0);
    if (!c.burns) {
      EXPECT_NEAR(Bench::Read(out, 0), c.expectedOut, 1e-3f);
    }
  }
  {
    // Below the minimum the outputs go to ground.
    Rig rig(4.4f);
    rig.In(kElecMax232T1In, 0);
    auto* out = rig.Probe(kElecMax232T1Out);
    auto* r = rig.Probe(kElecMax232R1Out);
    rig.bench.Run(2);
    float R = 0;
    EXPECT_NEAR(Bench::Read(out, 0, &R), 0, 1e-6f);
    EXPECT_LT(R, 1e-3f);
    EXPECT_NEAR(Bench::Read(r, 0), 0, 1e-6f);
    EXPECT_EQ(rig.chip->burnt, 0);
    // The supply sees Rs = 5 / 0.015 ohm.
    float Rv = 0;
    Bench::Read(rig.vcc, 0, &Rv);
    EXPECT_NEAR(Rv, 5 / 0.015f, 1e-2f);
  }
}

TEST(Max232, BurnOuts) {
  const struct {
    const char* what;
    float supply;
    int pin;
    float U;
    bool burns;
  } cases[] = {
      {"supply above the maximum", 6.1f, -1, 0, true},
      {"transmitter input above the maximum", 5, kElecMax232T2In, 6.2f, true},
      {"transmitter input below -0.3 V", 5, kElecMax232T1In, -0.4f, true},
      {"receiver input above 30 V", 5, kElecMax232R1In, 30.5f, true},
      {"receiver input at 30 V", 5, kElecMax232R2In, 30, false},
      {"transmitter input at the maximum", 5, kElecMax232T1In, 6, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture log;
    Rig rig(c.supply);
    if (c.pin >= 0) rig.In(c.pin, c.U);
    auto* out = rig.Probe(kElecMax232T1Out);
    rig.bench.Run(1);
    EXPECT_EQ(rig.chip->burnt, c.burns ? 1 : 0);
    if (!c.burns) continue;
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Драйвер RS-232 \"DD1\" вышел из строя!");
    rig.bench.Step(1);
    float R = 0;
    Bench::Read(out, 0, &R);
    EXPECT_FLOAT_EQ(R, 5e6f);
  }
}

TEST(Max232, ZeroSupplyCurrentBurnsInsteadOfDividingByZero) {
  LogCapture log;
  Rig rig;
  rig.chip->supplyCurrent = 0;
  rig.bench.Run(1);
  EXPECT_EQ(rig.chip->burnt, 1);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Max232, SymbolCircuitAndFootprints) {
  CapBench bench;
  auto* chip = bench.Create<CSCHMAX232>("MAX232");
  chip->MoveTo(0, 60);
  DbRow row = Row("MAX232ACSE", "1", "0");
  chip->ApplyDbRecord(row.Record());
  comptest::SymbolCanvas canvas(420, 320);
  for (CSCHBlock* b = bench.scheme->blocks; b; b = b->next) {
    POINT p = {b->rect.left, b->rect.top};
    EXPECT_TRUE(canvas.Paint(b, p.x, p.y));
  }
  EXPECT_EQ(canvas.Pixel(chip->rect.left + 5, chip->rect.top + 5), RGB(238, 238, 238));
  const int middle = (chip->rect.top + chip->rect.bottom) / 2;
  EXPECT_GT(canvas.InkIn(chip->rect.left + 20, middle - 16, chip->rect.right - 20, middle), 0);  // DD1
  EXPECT_GT(canvas.InkIn(chip->rect.left + 20, middle, chip->rect.right - 20, middle + 16), 0);  // MAX232A
  canvas.Save(L"max232_circuit.bmp");
  int ink[3];
  for (int p = 0; p < 3; p++) {
    comptest::FootprintCanvas board(20, 400, 400);
    chip->package = static_cast<unsigned char>(p);
    chip->UpdateBodySize();
    EXPECT_TRUE(board.Paint(chip));
    ink[p] = board.InkCount();
    EXPECT_GT(ink[p], 0);
    if (p == 0) board.Save(L"max232_footprint_dip.bmp");
  }
  EXPECT_NE(ink[0], ink[1]);
  EXPECT_NE(ink[1], ink[2]);
}

}  // namespace
