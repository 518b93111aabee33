// The button: creation, pins from kind and group count, its record and run
// state, contacts joined by the pressed state that the run state brings,
// the heat of each group and melting, switching under voltage, the symbol.
#include "components/electronic/switching/button.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "component_kit.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

TEST(Button, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  ASSERT_NE(b, nullptr);
  EXPECT_STREQ(b->className, "Button");
  EXPECT_EQ(b->instanceName, nullptr);  // no designator of its own
  EXPECT_EQ(b->buttonKind, 0);
  EXPECT_EQ(b->latching, 0);
  EXPECT_EQ(b->voltageLimit, 1000.0f);
  EXPECT_EQ(b->currentLimit, 10.0f);
  EXPECT_EQ(b->groupCount, 1);
  EXPECT_EQ(b->pressed, 0);
  EXPECT_EQ(b->switching, 0);
  EXPECT_EQ(b->form, 0);
  EXPECT_EQ(b->burnt, 0);
  EXPECT_EQ(b->rect.right - b->rect.left, 48);
  EXPECT_EQ(b->rect.bottom - b->rect.top, 32);
  ASSERT_EQ(b->pinCount, 2);
}

struct PinPlace {
  int side, offset;
  const wchar_t* description;
};

TEST(Button, PinLayouts) {
  const wchar_t* leg = L"Ножка";
  const wchar_t* common = L"Общий";
  const wchar_t* nc = L"Нормальнозамкнутый";
  const wchar_t* no = L"Нормальноразомкнутый";
  struct Layout {
    int kind, n, height;
    std::vector<PinPlace> pins;
  };
  const Layout layouts[] = {
      {0, 1, 32, {{0, 20, leg}, {2, 12, leg}}},
      {1, 2, 64, {{0, 20, leg}, {2, 44, leg}, {0, 52, leg}, {2, 12, leg}}},
      {2, 3, 96, {{0, 25, common}, {2, 87, nc}, {2, 71, no},
                  {0, 57, common}, {2, 55, nc}, {2, 39, no},
                  {0, 89, common}, {2, 23, nc}, {2, 7, no}}},
      {5, 1, 32, {{0, 20, leg}, {2, 12, leg}}},
  };
  for (const Layout& l : layouts) {
    SCOPED_TRACE(testing::Message() << "kind " << l.kind << ", N " << l.n);
    CSCHButton b;
    b.buttonKind = l.kind;
    b.groupCount = l.n;
    b.MoveTo(100, 50);
    b.BuildPins();
    EXPECT_EQ(b.rect.right - b.rect.left, 48);
    EXPECT_EQ(b.rect.bottom - b.rect.top, l.height);
    ASSERT_EQ(b.pinCount, static_cast<int>(l.pins.size()));
    for (int i = 0; i < b.pinCount; i++) {
      EXPECT_EQ(b.pins[i].side, l.pins[i].side) << "pin " << i;
      EXPECT_EQ(b.pins[i].offset, l.pins[i].offset) << "pin " << i;
      EXPECT_STREQ(b.pins[i].description, l.pins[i].description) << "pin " << i;
      EXPECT_EQ(b.pins[i].name, nullptr);
    }
  }
}

TEST(Button, ContactsOfAGroupStandLevel) {
  CSCHButton b;
  b.buttonKind = kElecButtonChangeover;
  b.groupCount = 3;
  b.MoveTo(0, 0);
  b.BuildPins();
  for (int g = 0; g < 3; g++) {
    const int y = 32 * g + 25;
    EXPECT_EQ(b.GetPinAnchor(3 * g).y, y) << g;
    EXPECT_EQ(b.GetPinAnchor(3 * g + 1).y, y - 16) << g;  // normally closed 16 px higher
    EXPECT_EQ(b.GetPinAnchor(3 * g + 2).y, y) << g;
  }
  b.buttonKind = kElecButtonMake;
  b.BuildPins();
  for (int g = 0; g < 3; g++) EXPECT_EQ(b.GetPinAnchor(2 * g).y, b.GetPinAnchor(2 * g + 1).y) << g;
}

DbRow SwitchRow(const char* type, const char* n) {
  return DbRow(L"buttons", {{"model", "P2K"}, {"type", type}, {"fix", "3"}, {"N", n}, {"Umax", "250"},
                            {"Imax", "6"}, {"Length", "15"}, {"Width", "12"}, {"Height", "20"},
                            {"mass", "6"}, {"Form", "2"}, {"price", "40"}});
}

TEST(Button, DatabaseRowSetsEveryField) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  DbRow row = SwitchRow("2", "2");
  b->ApplyDbRecord(row.Record());
  EXPECT_STREQ(b->model, "P2K");
  EXPECT_STREQ(b->tableName, L"buttons");
  EXPECT_EQ(b->price, 40.0);
  EXPECT_EQ(b->buttonKind, 2);
  EXPECT_EQ(b->latching, 1);
  EXPECT_EQ(b->groupCount, 2);
  EXPECT_EQ(b->voltageLimit, 250.0f);
  EXPECT_EQ(b->currentLimit, 6.0f);
  EXPECT_FLOAT_EQ(b->length, 0.015f);
  EXPECT_FLOAT_EQ(b->width, 0.012f);
  EXPECT_FLOAT_EQ(b->height, 0.02f);
  EXPECT_EQ(b->mass, 6.0f);
  EXPECT_EQ(b->form, 0);  // the form is not read
  EXPECT_EQ(b->pinCount, 6);
  EXPECT_EQ(b->rect.bottom - b->rect.top, 64);
}

TEST(Button, GroupCountIsKeptBetweenOneAnd255) {
  struct Case {
    const char* n;
    int count;
  };
  const Case cases[] = {{"0", 1}, {"-4", 1}, {"1", 1}, {"255", 255}, {"256", 255}, {"100000", 255}};
  for (const Case& c : cases) {
    Bench bench;
    auto* b = bench.Create<CSCHButton>("Button");
    DbRow row = SwitchRow("0", c.n);
    b->ApplyDbRecord(row.Record());
    EXPECT_EQ(b->groupCount, c.count) << c.n;
    EXPECT_EQ(b->pinCount, 2 * c.count) << c.n;
  }
  // A kind beyond one byte keeps its low byte, as the record does.
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  DbRow row = SwitchRow("258", "1");
  b->ApplyDbRecord(row.Record());
  EXPECT_EQ(b->buttonKind, 2);
  EXPECT_EQ(b->pinCount, 3);
}

TEST(Button, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"buttons");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 4);
  auto b = comptest::NewDetached<CSCHButton>("Button");
  ASSERT_TRUE(b);
  b->ApplyDbRecord(table.table.GetRecord(0));
  EXPECT_EQ(b->buttonKind, 0);
  EXPECT_EQ(b->currentLimit, 3.0f);
  EXPECT_EQ(b->pinCount, 2);
  b->ApplyDbRecord(table.table.GetRecord(3));  // a three-group changeover
  EXPECT_EQ(b->buttonKind, 2);
  EXPECT_EQ(b->latching, 1);
  EXPECT_EQ(b->pinCount, 9);
  EXPECT_FLOAT_EQ(b->height, 0.025f);
}

// ------------------------------------------------------------ records

TEST(Button, RecordBeforeTheDeviceRecord) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  DbRow row = SwitchRow("2", "3");
  b->ApplyDbRecord(row.Record());
  std::vector<uint8_t> own = Golden().B(2).B(3).F(250).F(6).B(1).Bytes();
  CMemoryStream device;
  b->CSCHDevice::Save(&device);
  std::vector<uint8_t> expected = own;
  expected.insert(expected.end(), device.data, device.data + device.size);
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(b), expected));
}

TEST(Button, RecordRoundTrip) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  DbRow row = SwitchRow("2", "3");
  b->ApplyDbRecord(row.Record());
  b->SetName(L"S1");
  b->MoveTo(40, 60);
  std::vector<uint8_t> bytes = comptest::SaveBytes(b);
  auto copy = comptest::NewDetached<CSCHButton>("Button");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->buttonKind, 2);
  EXPECT_EQ(copy->groupCount, 3);
  EXPECT_EQ(copy->voltageLimit, 250.0f);
  EXPECT_EQ(copy->currentLimit, 6.0f);
  EXPECT_EQ(copy->latching, 1);
  EXPECT_EQ(copy->pinCount, 9);
  EXPECT_FLOAT_EQ(copy->height, 0.02f);
  EXPECT_EQ(copy->mass, 6.0f);
  EXPECT_STREQ(copy->instanceName, L"S1");
  EXPECT_EQ(copy->rect.top, 60);
  EXPECT_EQ(copy->rect.bottom, 60 + 96);
  copy->flags &= ~kSchLoaded;
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));
}

TEST(Button, EveryTruncatedRecordLoads) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  DbRow row = SwitchRow("2", "3");
  b->ApplyDbRecord(row.Record());
  std::vector<uint8_t> bytes = comptest::SaveBytes(b);
  comptest::ForEachTruncation<CSCHButton>("Button", bytes, [&](CSCHButton* c, size_t n) {
    EXPECT_EQ(c->buttonKind, n >= 1 ? 2 : 0);
    EXPECT_EQ(c->groupCount, n >= 2 ? 3 : 1);  // a missing count reads 0: one group
    // A field cut in its middle reads what it got; whole or missing fields
    // are checked.
    if (n >= 6 || n <= 2) {
      EXPECT_EQ(c->voltageLimit, n >= 6 ? 250.0f : 0.0f);
    }
    if (n >= 10 || n <= 6) {
      EXPECT_EQ(c->currentLimit, n >= 10 ? 6.0f : 0.0f);
    }
    EXPECT_EQ(c->latching, n >= 11 ? 1 : 0);
    EXPECT_EQ(c->pinCount, c->GroupPins() * c->groupCount);
    EXPECT_EQ(c->rect.bottom - c->rect.top, n >= bytes.size() ? 96 : c->rect.bottom - c->rect.top);
  });
}

TEST(Button, SchemeStreamKeepsTheButton) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  DbRow row = SwitchRow("2", "3");
  b->ApplyDbRecord(row.Record());
  auto* other = bench.Create<CSCHButton>("Button");
  bench.Wire(other, 0, b, 7);
  auto copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  CSCHButton* back = nullptr;
  for (CSCHBlock* k = copy->blocks; k; k = k->next) {
    auto* button = dynamic_cast<CSCHButton*>(k);
    if (button && button->pinCount == 9) back = button;
  }
  ASSERT_NE(back, nullptr);
  EXPECT_STREQ(back->className, "Button");
  EXPECT_EQ(back->pinCount, 9);
  EXPECT_NE(back->pins[7].wire, nullptr);
  EXPECT_EQ(back->groupCount, 3);
}

TEST(Button, RunStateCarriesThePressedState) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  b->pressed = 1;
  b->burnt = 1;
  std::vector<uint8_t> bytes = comptest::SaveRunStateBytes(b);
  EXPECT_TRUE(velktest::BytesEqual(bytes, Golden().Raw("Button", 7).B(1).B(1).Bytes()));
  auto other = comptest::NewDetached<CSCHButton>("Button");
  ASSERT_TRUE(other);
  EXPECT_TRUE(comptest::LoadRunStateBytes(other.get(), bytes));
  EXPECT_EQ(other->pressed, 1);
  EXPECT_EQ(other->burnt, 1);
  // A record of another class leaves the pressed state.
  EXPECT_FALSE(comptest::LoadRunStateBytes(other.get(), Golden().Raw("Relay", 6).B(0).B(0).Bytes()));
  EXPECT_EQ(other->pressed, 1);
  EXPECT_EQ(other->burnt, 1);
  // Released again through the run state.
  EXPECT_TRUE(comptest::LoadRunStateBytes(other.get(), Golden().Raw("Button", 7).B(0).B(0).Bytes()));
  EXPECT_EQ(other->pressed, 0);
}

// ------------------------------------------------------------ simulation

// Presses or releases the button as the simulation does: through its run
// state.
void SetPressed(CSCHButton* b, bool pressed) {
  ASSERT_TRUE(comptest::LoadRunStateBytes(
      b, Golden().Raw("Button", 7).B(b->burnt).B(pressed ? 1 : 0).Bytes()));
}

// A button whose first pin of each group sits on a source and whose other
// pins each sit on a ground.
struct ButtonBench {
  ButtonBench(int kind, int n, float volts, float ohms) {
    b = bench.Create<CSCHButton>("Button");
    b->buttonKind = kind;
    b->groupCount = n;
    b->BuildPins();
    b->SetName(L"S1");
    const int per = b->GroupPins();
    for (int g = 0; g < n; g++) {
      circuit::Part* s = bench.Source(g == 0 ? volts : 0, ohms);
      bench.Wire(s, 0, b, per * g);
      sources.push_back(s);
      for (int i = 1; i < per; i++) {
        circuit::Part* p = bench.Ground();
        bench.Wire(b, per * g + i, p, 0);
        loads.push_back(p);
      }
    }
    bench.Build();
    bench.Start();
  }
  ~ButtonBench() { bench.Stop(); }
  // The voltage a load reads of its contact and the resistance behind it.
  float LoadSees(int load, float* R = nullptr) { return Bench::Read(loads[load], 0, R); }
  Bench bench;
  CSCHButton* b;
  std::vector<circuit::Part*> sources;
  std::vector<circuit::Part*> loads;
};

TEST(Button, ContactsFollowThePressedState) {
  struct Case {
    int kind;
    bool pressed;
    std::vector<bool> joined;  // per load of group 1
  };
  const Case cases[] = {
      {0, false, {false}},        {0, true, {true}},
      {1, false, {false}},        {1, true, {true}},  // kind 1 switches as kind 0
      {2, false, {true, false}},  {2, true, {false, true}},  // normally closed, open
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << k.kind << (k.pressed ? ", pressed" : ", released"));
    LogCapture log;
    ButtonBench c(k.kind, 1, 5, 10);
    SetPressed(c.b, k.pressed);
    c.bench.Step(3);
    for (size_t i = 0; i < k.joined.size(); i++) {
      float R = 0;
      float U = c.LoadSees(static_cast<int>(i), &R);
      if (k.joined[i]) {
        EXPECT_NEAR(U, 5.0f, 1e-3f) << "load " << i;
        EXPECT_NEAR(R, 10.0f, 1e-3f) << "load " << i;
      } else {
        EXPECT_NEAR(U, 0.0f, 1e-3f) << "load " << i;
        EXPECT_GT(R, 4e6f) << "load " << i;
      }
    }
    EXPECT_EQ(log.Count(), 0);
  }
}

TEST(Button, PressingAndReleasingDuringARun) {
  ButtonBench c(kElecButtonChangeover, 1, 5, 10);
  c.bench.Step(2);
  EXPECT_NEAR(c.LoadSees(0), 5.0f, 1e-3f);  // normally closed
  EXPECT_NEAR(c.LoadSees(1), 0.0f, 1e-3f);
  SetPressed(c.b, true);
  c.bench.Step(2);
  EXPECT_NEAR(c.LoadSees(0), 0.0f, 1e-3f);
  EXPECT_NEAR(c.LoadSees(1), 5.0f, 1e-3f);
  SetPressed(c.b, false);
  c.bench.Step(2);
  EXPECT_NEAR(c.LoadSees(0), 5.0f, 1e-3f);
  EXPECT_NEAR(c.LoadSees(1), 0.0f, 1e-3f);
}

TEST(Button, HeatApproachesTheCurrentWithTenSeconds) {
  // 5 V behind 10 ohm into ground: 5 / (10 + 1e-5) A = 0.5 A; after n
  // steps of 0.1 s, 0.5 (1 - 0.99^n): 0.5 (1 - 0.366) = 0.317 A at 10 s.
  LogCapture log;
  ButtonBench c(kElecButtonMake, 1, 5, 10);
  SetPressed(c.b, true);
  c.bench.Step(100, 0.1f);
  const double I = 5 / (10 + 1e-5);
  EXPECT_NEAR(c.b->groupCurrent[0], I * (1 - std::pow(0.99, 100)), 1e-4);
  c.bench.Step(5000, 0.1f);
  EXPECT_NEAR(c.b->groupCurrent[0], I, 1e-4);
  EXPECT_LE(c.b->groupCurrent[0], 0.5f);
  EXPECT_EQ(c.b->burnt, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Button, MeltsWhenOneGroupPassesTheLimit) {
  // Three groups, only the first carries 0.5 A; with a 0.4 A limit it melts
  // when 0.5 (1 - 0.99^n) > 0.4, 0.99^n < 0.2: n = 161 steps of 0.1 s.
  LogCapture log;
  ButtonBench c(kElecButtonChangeover, 3, 5, 10);
  c.b->currentLimit = 0.4f;
  const double I = 5 / (10 + 1e-5);
  int expected = 0;
  double x = 0;
  for (int n = 1; n < 1000 && !expected; n++) {
    x += (I - x) * 0.01;
    if (x > 0.4) expected = n;
  }
  EXPECT_EQ(expected, 161);
  int meltedAt = 0;
  for (int n = 1; n <= 300 && !meltedAt; n++) {
    c.bench.Step(1, 0.1f);
    if (c.b->burnt) meltedAt = n;
  }
  EXPECT_EQ(meltedAt, expected);
  EXPECT_EQ(c.b->groupCurrent[1], 0.0f);
  EXPECT_EQ(c.b->groupCurrent[2], 0.0f);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Кнопка \"S1\" оплавилась и вышла из строя!");
  // Every pin open from the next step on.
  c.bench.Step(2, 0.1f);
  for (int i = 0; i < c.b->pinCount; i++) EXPECT_EQ(c.b->pins[i].G, 1 / 5e6f) << i;
  EXPECT_NEAR(c.LoadSees(0), 0.0f, 1e-6f);
  EXPECT_EQ(log.Count(), 1);
  // The next run works again.
  c.bench.Stop();
  c.bench.Build();
  c.bench.Start();
  EXPECT_EQ(c.b->burnt, 0);
  EXPECT_EQ(c.b->groupCurrent[0], 0.0f);
  c.bench.Step(2, 0.1f);
  EXPECT_NEAR(c.LoadSees(0), 5.0f, 1e-3f);
}

TEST(Button, ShortCircuitMeltsInItsFirstStep) {
  // 5 V behind 10 micro-ohm into ground behind 10 micro-ohm: 250000 A, of
  // which a 1 ms step already smooths in 25 A, above the 10 A limit.
  LogCapture log;
  ButtonBench c(kElecButtonMake, 1, 5, 0);
  SetPressed(c.b, true);
  c.bench.Step(1);
  EXPECT_EQ(c.b->burnt, 1);
  EXPECT_NEAR(c.b->groupCurrent[0], 25.0f, 0.01f);
  EXPECT_EQ(log.Count(), 1);
}

TEST(Button, SwitchingUnderVoltageCharsTheContacts) {
  // 12 V across the open contact, a 10 V limit: pressing it chars the
  // contacts in that step.
  LogCapture log;
  ButtonBench c(kElecButtonMake, 1, 12, 1000);
  c.b->voltageLimit = 10;
  c.bench.Step(5);
  EXPECT_EQ(c.b->burnt, 0);
  SetPressed(c.b, true);
  c.bench.Step(1);
  EXPECT_EQ(c.b->switching, 1);
  EXPECT_EQ(c.b->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"В кнопке \"S1\" обуглились контакты!");
}

TEST(Button, SwitchingBelowTheVoltageLimitIsHarmless) {
  LogCapture log;
  ButtonBench c(kElecButtonChangeover, 2, 12, 1000);
  c.b->voltageLimit = 12.5f;
  c.bench.Step(1);  // the first step of a run sees no change
  EXPECT_EQ(c.b->switching, 0);
  for (int i = 0; i < 6; i++) {
    SetPressed(c.b, i % 2 == 0);
    c.bench.Step(1);
    EXPECT_EQ(c.b->switching, 1);
    c.bench.Step(1);
    EXPECT_EQ(c.b->switching, 0);
  }
  EXPECT_EQ(c.b->burnt, 0);
  EXPECT_EQ(log.Count(), 0);
}

TEST(Button, PressedFromTheStartDoesNotSwitch) {
  LogCapture log;
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  b->voltageLimit = 1;
  SetPressed(b, true);
  auto* s = bench.Source(12, 1000);
  auto* g = bench.Ground();
  bench.Wire(s, 0, b, 0);
  bench.Wire(b, 1, g, 0);
  bench.Build();
  bench.Start();
  bench.Step(3);
  EXPECT_EQ(b->switching, 0);
  EXPECT_EQ(b->burnt, 0);
  EXPECT_EQ(log.Count(), 0);
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(Button, SymbolOfAPushButton) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  b->SetName(L"S1");
  comptest::SymbolCanvas canvas(80, 60);
  EXPECT_TRUE(canvas.Paint(b, 10, 10));  // 10..58 x 10..42; the group at y 30
  EXPECT_EQ(canvas.Pixel(12, 30), kBlack);  // the lead to the blade
  EXPECT_EQ(canvas.Pixel(25, 30), kBlack);
  EXPECT_EQ(canvas.Pixel(50, 30), kBlack);  // the fixed contact to the right edge
  EXPECT_EQ(canvas.Pixel(38, 30), kWhite);  // open
  EXPECT_GT(canvas.InkIn(36, 20, 42, 24), 0);  // the blade's tip near (42, 20)
  EXPECT_EQ(canvas.InkIn(34, 0, 35, 20), 0);   // no actuator for one group
  EXPECT_GT(canvas.InkIn(10, 42, 58, 60), 0);  // the name
  EXPECT_TRUE(canvas.Save(L"button_symbol.bmp"));
}

TEST(Button, SymbolOfAThreeGroupChangeover) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  b->buttonKind = kElecButtonChangeover;
  b->groupCount = 3;
  b->BuildPins();
  comptest::SymbolCanvas canvas(80, 120);
  EXPECT_TRUE(canvas.Paint(b, 10, 10));  // 10..58 x 10..106
  for (int g = 0; g < 3; g++) {
    const int y = 10 + 32 * g + 25;
    EXPECT_EQ(canvas.Pixel(12, y), kBlack) << g;
    EXPECT_EQ(canvas.Pixel(50, y), kBlack) << g;       // normally open contact
    EXPECT_EQ(canvas.Pixel(50, y - 16), kBlack) << g;  // normally closed contact
    EXPECT_EQ(canvas.Pixel(42, y - 12), kBlack) << g;  // its bend
  }
  // The dotted actuator at x 34 from y 30 to 94.
  int ink = canvas.InkIn(34, 31, 35, 94);
  EXPECT_GT(ink, 5);
  EXPECT_LT(ink, 63);
  EXPECT_EQ(canvas.InkIn(34, 0, 35, 18), 0);
  EXPECT_TRUE(canvas.Save(L"button_symbol_changeover.bmp"));
}

TEST(Button, SymbolOfKindOne) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  b->buttonKind = kElecButtonMakeAlt;
  b->groupCount = 2;
  b->BuildPins();
  comptest::SymbolCanvas canvas(80, 90);
  EXPECT_TRUE(canvas.Paint(b, 10, 10));
  // Group 1 at y 30: up at x 26 to y 22, then a blade to (45, 33).
  EXPECT_EQ(canvas.Pixel(26, 25), kBlack);
  EXPECT_GT(canvas.InkIn(40, 30, 46, 34), 0);
  EXPECT_EQ(canvas.Pixel(50, 30), kBlack);
  EXPECT_GT(canvas.InkIn(34, 29, 35, 60), 0);  // the actuator from y 28
  EXPECT_TRUE(canvas.Save(L"button_symbol_kind1.bmp"));
}

TEST(Button, HasNoFootprint) {
  Bench bench;
  auto* b = bench.Create<CSCHButton>("Button");
  comptest::FootprintCanvas board(20, 100, 100);
  EXPECT_TRUE(board.Paint(b));
  EXPECT_EQ(board.InkCount(), 0);
}

}  // namespace
