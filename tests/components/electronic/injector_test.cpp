// The PoE and RF power injectors: creation, pins, the supply fed onto the
// cable net, data handed through, and their symbols.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "component_kit.h"
#include "components/electronic/power/injector.h"
#include "components/electronic/power/poe.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::LogCapture;

struct PinRow {
  const wchar_t* name;
  const wchar_t* description;
  int kind, side;
};

void ExpectPins(CSCHBlock* b, const PinRow (&rows)[4]) {
  ASSERT_EQ(b->pinCount, 4);
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE("pin " + std::to_string(i));
    EXPECT_STREQ(b->pins[i].name, rows[i].name);
    EXPECT_STREQ(b->pins[i].description, rows[i].description);
    EXPECT_EQ(b->pins[i].kind, rows[i].kind);
    EXPECT_EQ(b->pins[i].side, rows[i].side);
  }
}

TEST(Injectors, CreatedThroughTheRegistry) {
  Bench bench;
  auto* poe = bench.Create<CSCHPoE>("PoE");
  ASSERT_NE(poe, nullptr);
  EXPECT_STREQ(poe->className, "PoE");
  EXPECT_EQ(poe->instanceName, nullptr);
  EXPECT_STREQ(poe->typeText, L"Инжектор питания PoE");
  EXPECT_EQ(poe->rect.right - poe->rect.left, 80);
  EXPECT_EQ(poe->rect.bottom - poe->rect.top, 30);
  ExpectPins(poe, {{L"in", L"Вход Ethernet", kSchPinEthernet, kSchSideLeft},
                   {L"out", L"Выход Ethernet с питанием", kSchPinEthernet, kSchSideRight},
                   {L"-", L"Вход питания", kSchPinElectric, kSchSideBottom},
                   {L"+", L"Вход питания", kSchPinElectric, kSchSideBottom}});
  // Spaced with room at the ends: one pin at mid-height a side (3/6 of
  // 30), the two bottom pins at 3/7 and 4/7 of the width.
  EXPECT_EQ(poe->pins[kElecInjectorIn].offset, 15);
  EXPECT_EQ(poe->pins[kElecInjectorOut].offset, 15);
  EXPECT_EQ(poe->pins[kElecInjectorMinus].offset, 34);
  EXPECT_EQ(poe->pins[kElecInjectorPlus].offset, 45);

  auto* rf = bench.Create<CSCHInjector>("Injector");
  ASSERT_NE(rf, nullptr);
  EXPECT_STREQ(rf->typeText, L"Инжектор питания ВЧ");
  EXPECT_EQ(rf->rect.right - rf->rect.left, 60);
  EXPECT_EQ(rf->rect.bottom - rf->rect.top, 30);
  ExpectPins(rf, {{L"in", L"Вход ВЧ", kSchPinRf, kSchSideLeft},
                  {L"out", L"Выход ВЧ с наведеном питанием", kSchPinRf, kSchSideRight},
                  {L"-", L"Вход питания", kSchPinElectric, kSchSideBottom},
                  {L"+", L"Вход питания", kSchPinElectric, kSchSideBottom}});

  // The plain block record: saved and read back through a scheme stream.
  auto read = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(read);
  int found = 0;
  for (CSCHBlock* b = read->blocks; b; b = b->next) {
    if (dynamic_cast<CSCHPoE*>(b) || dynamic_cast<CSCHInjector*>(b)) found++;
    EXPECT_EQ(b->pinCount, 4);
  }
  EXPECT_EQ(found, 2);
}

// A consumer at the far end of a cable: writes its load into the cable
// net's conductance sum every step and reads the delivered voltage.
class CableConsumer : public circuit::Part {
public:
  CableConsumer(int kind, float ohms) : circuit::Part(1, kind), R(ohms) {}
  void Step(float) override {
    SchNet* net = pins[0].net;
    if (!net) return;
    delivered = static_cast<float>(net->sumI);
    net->sumG = 1.0 / R;
  }
  float R;
  float delivered = -1;
};

template <class T>
void PowerDeliveredToTheConsumer(const char* className, int kind) {
  Bench bench;
  auto* inj = bench.Create<T>(className);
  // 12 V behind 1 ohm on the supply pins; a 24 ohm consumer on the cable.
  auto* plus = bench.Source(12, 1);
  auto* minus = bench.Ground();
  bench.Wire(plus, 0, inj, kElecInjectorPlus);
  bench.Wire(minus, 0, inj, kElecInjectorMinus);
  auto* consumer = bench.Add<CableConsumer>(kind, 24.0f);
  bench.Wire(inj, kElecInjectorOut, consumer, 0);
  LogCapture log;
  bench.Run(10);
  // 12 x 24 / (24 + 1 + 0.00001).
  EXPECT_NEAR(consumer->delivered, 11.52f, 1e-3f);
  // The supply sees 24 ohm between its pins (behind the ground's 10 uOhm).
  float R = 0;
  EXPECT_NEAR(Bench::Read(plus, 0, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 24.0f, 1e-3f);
  EXPECT_EQ(log.Count(), 0);  // never burns, reports nothing
  EXPECT_EQ(inj->burnt, 0);
  bench.Stop();
}

TEST(Injectors, PoEPowersTheConsumerOnTheCable) { PowerDeliveredToTheConsumer<CSCHPoE>("PoE", kSchPinEthernet); }

TEST(Injectors, RfInjectorPowersTheConsumerOnTheCable) {
  PowerDeliveredToTheConsumer<CSCHInjector>("Injector", kSchPinRf);
}

TEST(Injectors, NothingOnTheOutSideDrivesNothing) {
  Bench bench;
  auto* inj = bench.Create<CSCHPoE>("PoE");
  auto* plus = bench.Source(12, 1);
  auto* minus = bench.Ground();
  bench.Wire(plus, 0, inj, kElecInjectorPlus);
  bench.Wire(minus, 0, inj, kElecInjectorMinus);
  bench.Run(5);
  float R = 0;
  Bench::Read(plus, 0, &R);
  EXPECT_GT(R, 1e6f);  // the power pins stay open
  bench.Stop();
}

TEST(Injectors, ACableSumThatIsNoLoadCountsAsOpen) {
  Bench bench;
  auto* inj = bench.Create<CSCHInjector>("Injector");
  auto* plus = bench.Source(12, 1);
  auto* minus = bench.Ground();
  bench.Wire(plus, 0, inj, kElecInjectorPlus);
  bench.Wire(minus, 0, inj, kElecInjectorMinus);
  auto* consumer = bench.Add<CableConsumer>(kSchPinRf, INFINITY);  // writes a sum of 0
  bench.Wire(inj, kElecInjectorOut, consumer, 0);
  bench.Run(5);
  float R = 0;
  Bench::Read(plus, 0, &R);
  EXPECT_NEAR(R, 5e6f, 1.0f);
  // 12 x 5e6 / (5e6 + 1): the open cable carries the supply's voltage.
  EXPECT_NEAR(consumer->delivered, 12.0f, 1e-4f);
  bench.Stop();
}

// A cable end that hands its net a data source.
class DataEnd : public circuit::Part {
public:
  explicit DataEnd(int kind) : circuit::Part(1, kind) { source = {nullptr, 0.5f}; }
  void Step(float) override {
    if (!talk || !pins[0].net) return;
    SchPinState s = {};
    s.U = 0;
    s.R = 100;
    s.U2 = 5;
    s.R2 = 100;
    s.sourceKind = kSchSourceEthernet;
    s.source = &source;
    SetPinState(0, s);
  }
  SchSignalSource source;
  bool talk = false;
};

TEST(Injectors, DataPassesThroughBothWays) {
  Bench bench;
  auto* inj = bench.Create<CSCHPoE>("PoE");
  auto* router = bench.Add<DataEnd>(kSchPinEthernet);
  auto* device = bench.Add<CableConsumer>(kSchPinEthernet, 100.0f);
  bench.Wire(router, 0, inj, kElecInjectorIn);
  bench.Wire(inj, kElecInjectorOut, device, 0);
  router->talk = true;
  bench.Run(3);
  SchNet* in = Bench::NetOf(inj, kElecInjectorIn);
  SchNet* out = Bench::NetOf(inj, kElecInjectorOut);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->source, &router->source);
  EXPECT_EQ(out->source, &router->source);
  EXPECT_EQ(out->sourceKind, kSchSourceEthernet);
  bench.Stop();

  // The consumer side talks, the "in" side has nothing: handed back in.
  Bench back;
  auto* inj2 = back.Create<CSCHInjector>("Injector");
  auto* quiet = back.Part(1, kSchPinRf);
  auto* antenna = back.Add<DataEnd>(kSchPinRf);
  back.Wire(quiet, 0, inj2, kElecInjectorIn);
  back.Wire(inj2, kElecInjectorOut, antenna, 0);
  antenna->talk = true;
  back.Run(3);
  EXPECT_EQ(Bench::NetOf(inj2, kElecInjectorIn)->source, &antenna->source);
  EXPECT_EQ(Bench::NetOf(inj2, kElecInjectorIn)->sourceKind, kSchSourceEthernet);
  back.Stop();
}

TEST(Injectors, SymbolsAndScreenshot) {
  Bench bench;
  auto* poe = bench.Create<CSCHPoE>("PoE");
  auto* rf = bench.Create<CSCHInjector>("Injector");
  comptest::SymbolCanvas canvas(200, 60);
  EXPECT_TRUE(canvas.Paint(poe, 10, 10));
  EXPECT_TRUE(canvas.Paint(rf, 110, 10));
  // PoE: a grey body with its outline.
  EXPECT_EQ(canvas.Pixel(12, 37), RGB(204, 204, 204));
  EXPECT_EQ(canvas.Pixel(10, 25), RGB(0, 0, 0));
  EXPECT_GT(canvas.InkIn(30, 12, 70, 30), 0);  // "PoE"
  // Injector: cream inside, the bottom corners cut away.
  EXPECT_EQ(canvas.Pixel(113, 30), RGB(255, 238, 204));
  EXPECT_EQ(canvas.Pixel(112, 38), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(168, 38), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(140, 40), RGB(0, 0, 0));  // the bottom edge
  EXPECT_GT(canvas.InkIn(125, 12, 155, 30), 0);     // "Инж."
  EXPECT_TRUE(canvas.Save(L"power_injectors_symbols.bmp"));
}

}  // namespace
