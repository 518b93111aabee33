// Device and connector bases, ground, hydraulic fittings and the multimeter.
#include "scheme/parts/device.h"
#include "scheme/parts/measure_device.h"
#include "scheme/parts/out_sensor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/memory_stream.h"
#include "scheme/database/compdb_table.h"
#include "scheme/model/class_registry.h"
#include "scheme/parts/5_gidro.h"
#include "scheme/parts/connector.h"
#include "scheme/parts/ground.h"
#include "scheme/parts/multimeter.h"
#include "scheme/parts/t_gidro.h"
#include "tests/scheme/circuit_fixture.h"

using circuit::Circuit;
using circuit::Nesting;
using circuit::Part;

namespace {

// ---- Devices ----

TEST(Device, TakesItsPhysicalDescriptionFromTheDatabase) {
  const char kTable[] =
      "Devices\r\n"
      "Model\tForm\tMass\tLength\tWidth\tHeight\tPrice\r\n"
      "model\tForm\tmass\tLength\tWidth\tHeight\tprice\r\n"
      "\r\n"
      "M1\t3\t0.25\t120\t45.5\t8\t10\r\n";
  CompDbTable table(L"devices");
  ASSERT_TRUE(table.LoadFromBytes(kTable, strlen(kTable)));
  ASSERT_EQ(table.GetRecordCount(), 1);
  CSCHDevice d;
  d.ApplyDbRecord(table.GetRecord(0));
  EXPECT_EQ(d.form, 3);
  EXPECT_FLOAT_EQ(d.mass, 0.25f);
  EXPECT_FLOAT_EQ(d.length, 0.12f);
  EXPECT_FLOAT_EQ(d.width, 0.0455f);
  EXPECT_FLOAT_EQ(d.height, 0.008f);
  EXPECT_STREQ(d.model, "M1");
  EXPECT_EQ(d.price, 10.0);
}

TEST(Device, SavesItsFieldsAfterTheBaseRecord) {
  CSCHDevice d;
  d.form = 7;
  d.mass = 1.5f;
  d.length = 0.1f;
  d.width = 0.2f;
  d.height = 0.3f;
  CMemoryStream s;
  d.Save(&s);
  CMemoryStream base;
  d.CSCHBlock::Save(&base);
  ASSERT_EQ(s.size, base.size + 17);
  EXPECT_EQ(memcmp(s.data, base.data, base.size), 0);
  EXPECT_EQ(s.data[base.size], 7);
  float f[4];
  memcpy(f, s.data + base.size + 1, 16);
  EXPECT_EQ(f[0], 1.5f);
  EXPECT_EQ(f[3], 0.3f);
  s.Seek(0, 0);
  CSCHDevice e;
  e.Load(&s);
  EXPECT_EQ(e.form, 7);
  EXPECT_EQ(e.mass, 1.5f);
  EXPECT_EQ(e.length, 0.1f);
  EXPECT_EQ(e.width, 0.2f);
  EXPECT_EQ(e.height, 0.3f);
  e.flags = 0;
}

TEST(Device, OutSensorStartsWithoutAPose) {
  CSCHOutSensor s;
  EXPECT_EQ(s.pose, nullptr);
  EXPECT_EQ(s.form, 0);
}

// ---- Connectors ----

class Board : public ::testing::Test {
protected:
  void SetUp() override {
    board = outer.Add<Nesting>();
    inner.reset(new Circuit(board->nested));
  }
  CSCHConnector* Connector(int pins, int side = -1) {
    CSCHConnector* x = inner->Add<CSCHConnector>();
    if (side >= 0) x->side = static_cast<unsigned char>(side);
    x->SetPinCount(pins);
    x->LayoutPins();
    return x;
  }

  Circuit outer;
  Nesting* board = nullptr;
  std::unique_ptr<Circuit> inner;
};

TEST_F(Board, ConnectorsTakeSidesAndOffsetsInTurn) {
  int counts[] = {2, 3, 1, 4, 2};
  CSCHConnector* x[5];
  for (int i = 0; i < 5; i++) x[i] = Connector(counts[i]);
  int offset = 0;
  for (int i = 0; i < 5; i++) {
    EXPECT_EQ(x[i]->side, i % 4) << i;
    EXPECT_EQ(x[i]->pinOffset, offset) << i;
    EXPECT_EQ(x[i]->mirroredCount, counts[i]);
    offset += counts[i];
  }
  EXPECT_STREQ(x[0]->instanceName, L"X1");
  EXPECT_STREQ(x[4]->instanceName, L"X5");
  EXPECT_EQ(board->pinCount, 12);
  EXPECT_EQ(board->nested->connectors, x[0]);
}

TEST_F(Board, MirroredPinsAppearOnTheOwnersSide) {
  CSCHConnector* x = Connector(4, kSchSideTop);
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(x->pins[i].side, kSchSideBottom);
    EXPECT_EQ(x->pins[i].offset, 16 * i + 8);
    EXPECT_EQ(x->pins[i].number, i + 1);
  }
  EXPECT_EQ(x->rect.right - x->rect.left, 64);
  EXPECT_EQ(x->rect.bottom - x->rect.top, 16);
  ASSERT_EQ(board->pinCount, 4);
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(board->pins[i].side, kSchSideTop);
    EXPECT_EQ(board->pins[i].number, i + 1);
    EXPECT_STREQ(board->pins[i].name, L"X1");
  }
  // An even side: a tall body.
  CSCHConnector* y = Connector(3, kSchSideLeft);
  EXPECT_EQ(y->rect.right - y->rect.left, 16);
  EXPECT_EQ(y->rect.bottom - y->rect.top, 48);
  EXPECT_EQ(y->pins[0].side, kSchSideRight);
}

TEST_F(Board, FewerPinsDropTheLastMirroredPinsWithTheirWires) {
  CSCHConnector* x = Connector(4);
  Part* p[4];
  SchWire* w[4];
  for (int i = 0; i < 4; i++) {
    p[i] = outer.Part(1);
    w[i] = outer.Wire(p[i], 0, board, i);
  }
  x->SetPinCount(2);
  x->LayoutPins();
  ASSERT_EQ(board->pinCount, 2);
  EXPECT_EQ(outer.scheme->WireCount(), 2);
  EXPECT_EQ(p[2]->pins[0].wire, nullptr);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(board->pins[i].wire, w[i]);
    EXPECT_EQ(w[i]->ends[1].index, i);
  }
}

TEST_F(Board, DeletingAConnectorMovesTheFollowingPinsDown) {
  CSCHConnector* first = Connector(2);
  CSCHConnector* second = Connector(3);
  Part* p[3];
  SchWire* w[3];
  for (int i = 0; i < 3; i++) {
    p[i] = outer.Part(1);
    w[i] = outer.Wire(p[i], 0, board, 2 + i);
  }
  delete first;
  ASSERT_EQ(board->pinCount, 3);
  EXPECT_EQ(second->pinOffset, 0);
  EXPECT_EQ(board->nested->connectors, second);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(board->pins[i].wire, w[i]);
    EXPECT_EQ(w[i]->ends[1].target, board);
    EXPECT_EQ(w[i]->ends[1].index, i);
    EXPECT_STREQ(board->pins[i].name, L"X2");
  }
}

TEST(Connector, InATopLevelSchemeMirrorsNothing) {
  Circuit c;
  CSCHConnector* x = c.Add<CSCHConnector>();
  x->SetPinCount(3);
  x->LayoutPins();
  EXPECT_EQ(x->mirroredCount, 0);
  EXPECT_EQ(x->pins[2].offset, 40);
  EXPECT_EQ(x->pins[2].side, 2);
  EXPECT_EQ(c.scheme->connectors, x);
}

TEST_F(Board, SaveWritesSideAndPinCountBeforeTheBaseRecord) {
  CSCHConnector* x = Connector(3);
  x->side = 2;
  CMemoryStream s;
  x->Save(&s);
  ASSERT_GE(s.size, 3);
  EXPECT_EQ(s.data[0], 2);
  EXPECT_EQ(s.data[1], 3);
  EXPECT_EQ(s.data[2], 0);
  // Read into a connector of a top-level scheme: pins laid out again.
  Circuit c;
  CSCHConnector* y = c.Add<CSCHConnector>();
  s.Seek(0, 0);
  y->Load(&s);
  y->flags &= ~kSchLoaded;
  y->pins[0].wire = y->pins[1].wire = y->pins[2].wire = nullptr;  // saved identities
  EXPECT_EQ(y->side, 2);
  EXPECT_EQ(y->pinCount, 3);
  EXPECT_EQ(y->pins[1].side, 0);
  EXPECT_EQ(y->pins[1].offset, 24);
}

TEST_F(Board, NetsJoinThroughTheConnector) {
  CSCHConnector* x = Connector(1);
  Part* source = outer.Part(1);
  Part* reader = inner->Part(1);
  outer.Wire(source, 0, board, 0);
  inner->Wire(x, 0, reader, 0);
  source->Drive(0, 5, 100);
  outer.Run(2);
  ASSERT_NE(reader->pins[0].net, nullptr);
  EXPECT_EQ(reader->pins[0].net, source->pins[0].net);
  EXPECT_EQ(reader->pins[0].net->scheme, board->nested);  // the merged net is the nested scheme's
  EXPECT_EQ(outer.NetCount(), 0);
  EXPECT_TRUE(circuit::NetPointersLive({outer.scheme, board->nested}));
  float r;
  EXPECT_NEAR(Circuit::Read(reader, 0, &r), 5.0f, 1e-3f);
  EXPECT_NEAR(r, 100.0f, 1e-2f);
  outer.Stop();
  EXPECT_EQ(source->pins[0].net, nullptr);
  EXPECT_EQ(reader->pins[0].net, nullptr);
  EXPECT_EQ(board->nested->nets, nullptr);
}

// The outer ground net is joined first and then merged away by the
// connectors; two connectors meet the same outer net.
TEST_F(Board, MergingAcrossSchemesLeavesNoPointerToADeletedNet) {
  CSCHConnector* x1 = Connector(1);
  CSCHConnector* x2 = Connector(1);
  Part* source = outer.Part(1);
  CSCHGnd* gnd = outer.Add<CSCHGnd>();  // newest: joins before the board
  outer.Star({{board, 0}, {board, 1}, {source, 0}, {gnd, 0}});
  Part* r1 = inner->Part(1);
  Part* r2 = inner->Part(1);
  inner->Wire(x1, 0, r1, 0);
  inner->Wire(x2, 0, r2, 0);
  source->Drive(0, 3, 10);
  outer.Run(1);
  EXPECT_TRUE(circuit::NetPointersLive({outer.scheme, board->nested}));
  SchNet* net = r1->pins[0].net;
  ASSERT_NE(net, nullptr);
  EXPECT_EQ(r2->pins[0].net, net);
  EXPECT_EQ(source->pins[0].net, net);
  EXPECT_EQ(outer.scheme->groundNet, net);
  for (SchWire* w = outer.scheme->wires; w; w = w->next) EXPECT_EQ(w->net, net);
  EXPECT_NEAR(Circuit::Read(r1, 0), 3.0f, 1e-3f);
  outer.Stop();
  EXPECT_EQ(outer.scheme->groundNet, nullptr);
  EXPECT_EQ(gnd->pins[0].net, nullptr);
  EXPECT_TRUE(circuit::NetPointersLive({outer.scheme, board->nested}));
}

// ---- Ground and fittings ----

TEST(Ground, ShapeAndPin) {
  CSCHGnd g;
  EXPECT_EQ(g.rect.right - g.rect.left, 12);
  EXPECT_EQ(g.rect.bottom - g.rect.top, 8);
  ASSERT_EQ(g.pinCount, 1);
  EXPECT_EQ(g.pins[0].side, kSchSideTop);
  POINT a = g.GetPinAnchor(0);
  EXPECT_EQ(a.x, g.rect.left + 6);
  EXPECT_EQ(g.pins[0].number, -1);
  EXPECT_EQ(g.namePrefix, nullptr);
}

TEST(Ground, PaintsAStemAndABar) {
  CSCHGnd g;
  g.MoveTo(4, 4);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 24, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all = {0, 0, 24, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  g.Paint(dc);
  EXPECT_EQ(GetPixel(dc, 10, 6), RGB(0, 0, 0));   // the stem
  EXPECT_EQ(GetPixel(dc, 9, 6), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 5, 11), RGB(0, 0, 0));   // the bar along the bottom
  EXPECT_EQ(GetPixel(dc, 14, 11), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 5, 8), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(Fittings, PinsLineUp) {
  CSCH_T_Gidro t;
  ASSERT_EQ(t.pinCount, 3);
  for (int i = 0; i < 3; i++) EXPECT_EQ(t.pins[i].kind, kSchPinHydraulic);
  EXPECT_EQ(t.GetPinAnchor(0).y, t.GetPinAnchor(1).y);
  EXPECT_EQ(t.pins[2].side, kSchSideBottom);
  EXPECT_EQ(t.rect.right, 30);
  EXPECT_EQ(t.rect.bottom, 20);
  CSCH_5_Gidro f;
  ASSERT_EQ(f.pinCount, 5);
  EXPECT_EQ(f.GetPinAnchor(0).y, f.GetPinAnchor(1).y);
  int tops[] = {7, 20, 32};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(f.pins[2 + i].side, kSchSideTop);
    EXPECT_EQ(f.pins[2 + i].offset, tops[i]);
    EXPECT_EQ(f.pins[2 + i].kind, kSchPinHydraulic);
  }
}

TEST(Fittings, FiveWayJoinsOnlyConnectedPins) {
  Circuit c;
  CSCH_5_Gidro* f = c.Add<CSCH_5_Gidro>();
  Part* a = c.Part(1, kSchPinHydraulic);
  Part* b = c.Part(1, kSchPinHydraulic);
  c.Wire(a, 0, f, 2);
  c.Wire(b, 0, f, 4);
  c.Build();
  EXPECT_EQ(c.NetCount(), 1);
  EXPECT_EQ(a->pins[0].net, b->pins[0].net);
  EXPECT_EQ(f->pins[0].net, nullptr);
  EXPECT_TRUE(circuit::NetPointersLive({c.scheme}));
}

TEST(Fittings, TJoinsThreeLines) {
  Circuit c;
  CSCH_T_Gidro* t = c.Add<CSCH_T_Gidro>();
  Part* p[3];
  for (int i = 0; i < 3; i++) {
    p[i] = c.Part(1, kSchPinHydraulic);
    c.Wire(p[i], 0, t, i);
  }
  c.Build();
  EXPECT_EQ(c.NetCount(), 1);
  EXPECT_EQ(p[0]->pins[0].net->pinCount, 6);
}

TEST(Fittings, CreatorsMakeTheirClasses) {
  std::unique_ptr<CSCHBlock> g(CreateCSCHGnd());
  std::unique_ptr<CSCHBlock> t(CreateCSCH_T_Gidro());
  std::unique_ptr<CSCHBlock> f(CreateCSCH_5_Gidro());
  std::unique_ptr<CSCHBlock> m(CreateCSCHMultimeter());
  EXPECT_NE(dynamic_cast<CSCHGnd*>(g.get()), nullptr);
  EXPECT_NE(dynamic_cast<CSCH_T_Gidro*>(t.get()), nullptr);
  EXPECT_NE(dynamic_cast<CSCH_5_Gidro*>(f.get()), nullptr);
  EXPECT_NE(dynamic_cast<CSCHMultimeter*>(m.get()), nullptr);
  EXPECT_EQ(g->scheme, nullptr);
}

// ---- Multimeter ----

TEST(Multimeter, TakesTheFirstFreeLetter) {
  EXPECT_EQ(CSCHMeasureDevice::GetListCount(), 0);
  auto* a = new CSCHMultimeter;
  auto* b = new CSCHMultimeter;
  auto* c = new CSCHMultimeter;
  EXPECT_STREQ(a->instanceName, L"A");
  EXPECT_STREQ(b->instanceName, L"B");
  EXPECT_STREQ(c->instanceName, L"C");
  EXPECT_EQ(CSCHMeasureDevice::GetListCount(), 3);
  delete b;
  EXPECT_EQ(CSCHMeasureDevice::GetListCount(), 2);
  EXPECT_EQ(CSCHMeasureDevice::GetListItem(1), c);
  auto* d = new CSCHMultimeter;
  EXPECT_STREQ(d->instanceName, L"B");
  EXPECT_EQ(d->rect.right, 80);
  EXPECT_EQ(d->rect.bottom, 100);
  EXPECT_EQ(d->pins[0].offset, 51);
  EXPECT_EQ(d->pins[1].side, kSchSideRight);
  delete a;
  delete c;
  delete d;
  EXPECT_EQ(CSCHMeasureDevice::GetListCount(), 0);
}

// The letters in use follow the names as they change, whoever changes them.
TEST(Multimeter, LettersFollowRenamedDevices) {
  std::vector<std::unique_ptr<CSCHMultimeter>> m;
  for (int i = 0; i < 3; i++) m.emplace_back(new CSCHMultimeter);  // A, B, C
  m[1]->SetName(L"X");                                              // B is free again
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[3]->instanceName, L"B");
  m[0]->SetName(L"a");  // only the capital letter itself counts
  m[2]->SetName(L"AB");
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[4]->instanceName, L"A");
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[5]->instanceName, L"C");
  // Two devices with one letter: the letter is free when neither has it.
  m[0]->SetName(L"D");
  m[1]->SetName(L"D");
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[6]->instanceName, L"E");
  m[0]->SetName(nullptr);
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[7]->instanceName, L"F");
  m[1].reset();
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[8]->instanceName, L"D");
  // A name read from a stream counts as well.
  CMemoryStream record;
  m[8]->Save(&record);  // "D"
  record.Seek(0, 0);
  m[3]->Load(&record);  // B becomes D
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m[9]->instanceName, L"B");
  EXPECT_EQ(CSCHMeasureDevice::GetListCount(), 9);
  m.clear();
  EXPECT_EQ(CSCHMeasureDevice::GetListCount(), 0);
  EXPECT_EQ(CSCHMeasureDevice::GetFreeLetter(), L'A');
}

TEST(Multimeter, TheTwentySeventhGoesUnnamed) {
  std::vector<std::unique_ptr<CSCHMultimeter>> m;
  for (int i = 0; i < 27; i++) m.emplace_back(new CSCHMultimeter);
  for (int i = 0; i < 26; i++) {
    wchar_t letter[2] = {static_cast<wchar_t>(L'A' + i), 0};
    EXPECT_STREQ(m[i]->instanceName, letter);
  }
  EXPECT_EQ(m[26]->instanceName, nullptr);
  EXPECT_EQ(CSCHMeasureDevice::GetFreeLetter(), 0);
  m[7].reset();  // H
  m.emplace_back(new CSCHMultimeter);
  EXPECT_STREQ(m.back()->instanceName, L"H");
  // The list keeps construction order.
  EXPECT_EQ(CSCHMeasureDevice::GetListItem(0), m[0].get());
  EXPECT_EQ(CSCHMeasureDevice::GetListItem(7), m[8].get());
  EXPECT_EQ(CSCHMeasureDevice::GetListItem(26), m[27].get());
  EXPECT_EQ(CSCHMeasureDevice::GetListItem(27), nullptr);
  EXPECT_EQ(CSCHMeasureDevice::GetListItem(-1), nullptr);
}

// Probe 0 on a net held at v behind 100 ohm, probe 1 at 0 V behind 100 ohm.
class Meter : public ::testing::Test {
protected:
  void SetUp() override {
    meter = c.Add<CSCHMultimeter>();
    high = c.Part(1);  // newer than the meter: steps before it
    low = c.Part(1);
    c.Wire(high, 0, meter, 0);
    c.Wire(low, 0, meter, 1);
    high->Drive(0, 5, 100);
    low->Drive(0, 0, 100);
    c.Build();
    c.Start();
  }
  Circuit c;
  CSCHMultimeter* meter = nullptr;
  Part* high = nullptr;
  Part* low = nullptr;
};

TEST_F(Meter, StartsOffAndLeavesTheNetsOpen) {
  meter->mode = CSCHMultimeter::kVoltmeter;
  meter->reading = 7;
  c.Start();
  EXPECT_EQ(meter->mode, CSCHMultimeter::kOff);
  EXPECT_EQ(meter->reading, 0.0f);
  EXPECT_EQ(meter->updateTimer, 2000.0f);
  c.Step(1);
  EXPECT_FLOAT_EQ(meter->pins[0].G, 2e-7f);
  EXPECT_EQ(meter->pins[1].I, 0.0f);
}

TEST_F(Meter, VoltmeterReadsThroughItsInput) {
  meter->mode = CSCHMultimeter::kVoltmeter;
  c.Step(1);
  EXPECT_NEAR(meter->reading, 5.0 * 1e7 / (1e7 + 200), 1e-5);
  EXPECT_LT(meter->reading, 5.0f);
  // Probe 0 is driven at the other side behind 10 megohm and 100 ohm.
  EXPECT_NEAR(1.0f / meter->pins[0].G, 1e7f + 100, 2.0f);
  EXPECT_EQ(meter->updateTimer, 0.0f);
}

TEST_F(Meter, PeakVoltmeterShowsTheLargestOfTheLastWindow) {
  meter->mode = CSCHMultimeter::kPeakVoltmeter;
  const float dt = 0.125f;  // the reading updates every fifth step
  float volts[] = {1, -4, 2, 3, 0.5f, 2.5f, 1, 1, 1, 1, 1};
  const double k = 1e7 / (1e7 + 200);
  for (int i = 0; i < 11; i++) {
    high->drives[0].U = volts[i];
    c.Step(1, dt);
    if (i == 0) {
      EXPECT_EQ(meter->reading, 0.0f);  // updated before the first peak
    }
    if (i == 5) {
      EXPECT_NEAR(meter->reading, 4 * k, 1e-4);  // steps 0 to 4
    }
  }
  EXPECT_NEAR(meter->reading, 2.5 * k, 1e-4);  // steps 5 to 9
}

TEST_F(Meter, AmmeterJoinsTheProbes) {
  meter->mode = CSCHMultimeter::kAmmeter;
  c.Step(1);
  EXPECT_NEAR(meter->reading, 5.0f / 200, 1e-6f);
  // Each probe is driven like the other side: the high net sees 0 V behind 100 ohm.
  EXPECT_NEAR(meter->pins[0].I / meter->pins[0].G, 0.0f, 1e-6f);
  EXPECT_NEAR(1.0f / meter->pins[0].G, 100.0f, 1e-3f);
}

}  // namespace

namespace {

TEST(Registry, CreatesGroundFittingsAndMultimeterByName) {
  g_schClassRegistry.Clear();
  RegisterComponentClasses();
  Circuit c;
  struct Case {
    const char* name;
    int pins;
  } cases[] = {{"GND", 1}, {"T_GIDRO", 3}, {"5_GIDRO", 5}, {"Multimeter", 2}};
  for (const Case& k : cases) {
    CSCHBlock* b = c.scheme->CreateBlock(k.name);
    ASSERT_NE(b, nullptr) << k.name;
    EXPECT_STREQ(b->className, k.name);
    EXPECT_EQ(b->scheme, c.scheme);
    EXPECT_EQ(b->pinCount, k.pins);
  }
  EXPECT_NE(dynamic_cast<CSCHMultimeter*>(c.scheme->blocks), nullptr);
  g_schClassRegistry.Clear();
}

}  // namespace
