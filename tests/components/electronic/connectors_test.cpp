// The board connectors: layouts and footprint sizes over the families, the
// pin header's record, mirroring onto the board's block (the Mini-USB's one
// USB pin), names that follow renames and pastes, the Mini-USB's power and
// data, and the footprints.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "component_kit.h"
#include "components/electronic/connectors/connector_drawing.h"
#include "components/electronic/connectors/miniusb_connector.h"
#include "components/electronic/connectors/pls_connector.h"
#include "components/electronic/connectors/pls_connector2.h"
#include "foundation/memory_stream.h"
#include "scheme/parts/connector.h"
#include "scheme/simulation/packet_set.h"
#include "support/test_support.h"

namespace {

using circuit::Circuit;
using circuit::Nesting;
using circuit::Part;

struct FamilyCase {
  const char* className;
  int n;
  float W, L;  // millimetres, worked from the family's table
  const wchar_t* typeText;
};

const FamilyCase kFamilies[] = {
    {"PLS", 6, 2.54f, 15.24f, L"Разъем типа PLS (на плату) и BLS на кабель"},
    {"PLS2", 3, 2.54f, 7.62f, L"PLS-разъем на плату и BLS-разъем на кабель"},
    {"CWF", 4, 5.7f, 12.5f, L"Разъем типа CWF-x (на плату) и CHU-x (на кабель)"},
    {"WF", 4, 5.08f, 12.7f, L"Разъем типа WF-x (на плату) и HU-x (на кабель)"},
    {"MPW", 2, 10.2f, 10.22f, L"Разъем типа MPW (на плату) и MHU (на кабель)"},
    {"MPW", 4, 10.2f, 20.38f, L"Разъем типа MPW (на плату) и MHU (на кабель)"},
    {"Connector2", 3, 7.6f, 15.0f, L"Клеммники"},
    {"MiniFit", 4, 9.6f, 9.6f, L"Разъем типа MiniFit"},
    {"MiniFit", 6, 9.6f, 13.8f, L"Разъем типа MiniFit"},
    {"MiniFit", 3, 13.8f, 4.8f, L"Разъем типа MiniFit"},
    {"MiniFit", 2, 9.6f, 4.8f, L"Разъем типа MiniFit"},
    {"MiniUSB", 4, 9.2f, 9.9f, L"Mini-USB 5P"},
};

TEST(Connectors, LayoutsAndFootprintSizes) {
  comptest::RegistryScope registry;
  for (const FamilyCase& c : kFamilies) {
    SCOPED_TRACE(std::string(c.className) + " n=" + std::to_string(c.n));
    auto block = comptest::NewDetached<CSCHBlock>(c.className);
    ASSERT_TRUE(block);
    EXPECT_STREQ(block->typeText, c.typeText);
    EXPECT_STREQ(block->namePrefix, L"X");
    std::string n = std::to_string(c.n);
    comptest::DbRow row(L"connectors", {{"model", "M"}, {"class", c.className}, {"n", n.c_str()}});
    block->ApplyDbRecord(row.Record());
    ASSERT_EQ(block->pinCount, c.n);
    EXPECT_NEAR(block->footprintWidth, c.W, 1e-4);
    EXPECT_NEAR(block->footprintLength, c.L, 1e-4);
    // Side 0 by default: the pins on the right (side 2), 16 px apart.
    for (int i = 0; i < c.n; i++) {
      EXPECT_EQ(block->pins[i].side, kSchSideRight);
      EXPECT_EQ(block->pins[i].offset, 16 * i + 8);
      EXPECT_EQ(block->pins[i].number, i + 1);
    }
    EXPECT_EQ(block->rect.right - block->rect.left, 16);
    EXPECT_EQ(block->rect.bottom - block->rect.top, 16 * c.n);
  }
}

TEST(Connectors, PlsHeaderFacingRight) {
  comptest::RegistryScope registry;
  auto pls = comptest::NewDetached<CPLSConnector>("PLS");
  ASSERT_TRUE(pls);
  EXPECT_EQ(pls->pinCount, 0);
  pls->side = kSchSideRight;
  pls->SetPinCount(6);
  pls->LayoutPins();
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(pls->pins[i].side, kSchSideLeft);
    EXPECT_EQ(pls->pins[i].offset, 8 + 16 * i);
    EXPECT_EQ(pls->pins[i].number, i + 1);
  }
  EXPECT_EQ(pls->rect.right - pls->rect.left, 16);
  EXPECT_EQ(pls->rect.bottom - pls->rect.top, 96);
  EXPECT_FLOAT_EQ(pls->footprintLength, 15.24f);
  // Facing up: a row 16 n wide and 16 high.
  pls->side = kSchSideTop;
  pls->LayoutPins();
  EXPECT_EQ(pls->pins[0].side, kSchSideBottom);
  EXPECT_EQ(pls->rect.right - pls->rect.left, 96);
  EXPECT_EQ(pls->rect.bottom - pls->rect.top, 16);
}

TEST(Connectors, PlsRecordGoldenBytesAndTruncations) {
  comptest::RegistryScope registry;
  auto pls = comptest::NewDetached<CPLSConnector>("PLS");
  pls->side = 3;
  pls->SetPinCount(5);
  pls->LayoutPins();
  std::vector<uint8_t> all = comptest::SaveBytes(pls.get());
  std::vector<uint8_t> head = comptest::Golden().B(3).B(5).B(0).Bytes();
  ASSERT_GT(all.size(), head.size());
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(all.begin(), all.begin() + 3), head));
  CMemoryStream base;
  pls->CSCHBlock::Save(&base);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(all.begin() + 3, all.end()), comptest::StreamBytes(base)));

  auto copy = comptest::NewDetached<CPLSConnector>("PLS");
  comptest::LoadBytes(copy.get(), all);
  EXPECT_EQ(copy->side, 3);
  EXPECT_EQ(copy->pinCount, 5);
  EXPECT_EQ(copy->pins[4].side, kSchSideTop);
  copy->flags &= static_cast<unsigned char>(~kSchLoaded);
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), all));
  comptest::ForEachTruncation<CPLSConnector>("PLS", all, [](CPLSConnector* c, size_t) {
    EXPECT_GE(c->side, 0);
    EXPECT_LE(c->side, 3);
    EXPECT_FLOAT_EQ(c->footprintLength, 2.54f * c->pinCount);
  });
}

TEST(Connectors, FamilyRecordRoundTrip) {
  comptest::RegistryScope registry;
  for (const char* name : {"PLS2", "CWF", "WF", "MPW", "Connector2", "MiniFit", "MiniUSB"}) {
    SCOPED_TRACE(name);
    auto x = comptest::NewDetached<CSCHConnector>(name);
    x->side = 1;
    x->SetPinCount(4);
    x->LayoutPins();
    std::vector<uint8_t> bytes = comptest::SaveBytes(x.get());
    auto copy = comptest::NewDetached<CSCHConnector>(name);
    comptest::LoadBytes(copy.get(), bytes);
    copy->flags &= static_cast<unsigned char>(~kSchLoaded);
    EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));
    EXPECT_FLOAT_EQ(copy->footprintLength, x->footprintLength);
  }
}

class BoardConnectors : public ::testing::Test {
protected:
  void SetUp() override {
    board = outer.Add<Nesting>();
    inner.reset(new Circuit(board->nested));
  }
  template <class T>
  T* Connector(int pins) {
    T* x = inner->Add<T>();
    x->SetPinCount(pins);
    x->LayoutPins();
    return x;
  }

  comptest::RegistryScope registry;
  Circuit outer;
  Nesting* board = nullptr;
  std::unique_ptr<Circuit> inner;
};

TEST_F(BoardConnectors, MiniUsbMirrorsOneUsbPin) {
  CPLSConnector2* header = Connector<CPLSConnector2>(3);
  ASSERT_EQ(board->pinCount, 3);
  CMiniUSBConnector* usb = inner->Add<CMiniUSBConnector>();
  ASSERT_EQ(usb->pinCount, 4);
  EXPECT_STREQ(usb->pins[0].description, L"VCC");
  EXPECT_STREQ(usb->pins[1].description, L"D-");
  EXPECT_STREQ(usb->pins[2].description, L"D+");
  EXPECT_STREQ(usb->pins[3].description, L"GND");
  usb->LayoutPins();
  ASSERT_EQ(board->pinCount, 4) << "one pin whatever its own count";
  EXPECT_EQ(usb->pinOffset, 3);
  EXPECT_EQ(usb->mirroredCount, 1);
  const SchPin& p = board->pins[3];
  EXPECT_EQ(p.kind, kSchPinUsb);
  EXPECT_EQ(p.number, -1);
  EXPECT_STREQ(p.description, L"MiniUSB");
  EXPECT_STREQ(p.name, L"X2");
  EXPECT_EQ(p.side, usb->side);
  // Laid out again: still one.
  usb->LayoutPins();
  EXPECT_EQ(board->pinCount, 4);
  delete usb;
  EXPECT_EQ(board->pinCount, 3) << "the USB pin goes with the connector";
  EXPECT_EQ(header->mirroredCount, 3);
  EXPECT_STREQ(board->pins[0].name, L"X1");
}

TEST_F(BoardConnectors, UsbBeforeAHeaderKeepsTheHeadersPinsInPlace) {
  CMiniUSBConnector* usb = Connector<CMiniUSBConnector>(4);
  CPLSConnector2* header = Connector<CPLSConnector2>(2);
  ASSERT_EQ(board->pinCount, 3);
  EXPECT_EQ(header->pinOffset, 1);
  EXPECT_STREQ(board->pins[1].name, header->instanceName);
  delete usb;
  ASSERT_EQ(board->pinCount, 2);
  EXPECT_EQ(header->pinOffset, 0);
  EXPECT_STREQ(board->pins[0].name, header->instanceName);
}

TEST_F(BoardConnectors, MirroredNamesFollowARename) {
  CPLSConnector2* header = Connector<CPLSConnector2>(2);
  CMiniUSBConnector* usb = Connector<CMiniUSBConnector>(4);
  header->SetName(L"J_POWER_INPUT");
  usb->SetName(L"USB_A");
  ASSERT_EQ(board->pinCount, 3);
  // The old texts are freed: the pins show the new ones.
  EXPECT_EQ(board->pins[0].name, header->instanceName);
  EXPECT_EQ(board->pins[1].name, header->instanceName);
  EXPECT_EQ(board->pins[2].name, usb->instanceName);
  EXPECT_STREQ(board->pins[2].name, L"USB_A");
  header->SetName(nullptr);
  EXPECT_EQ(board->pins[0].name, nullptr);
  // Another connector's pins are not touched by a rename.
  EXPECT_STREQ(board->pins[2].name, L"USB_A");
}

TEST_F(BoardConnectors, MirroredNamesStayValidAfterAPaste) {
  CPLSConnector2* header = Connector<CPLSConnector2>(2);
  header->SetName(L"J1");
  std::vector<uint8_t> bytes = comptest::SaveBytes(header);
  // Pasted: read into a new connector of the same board, then given a
  // designator of its own.
  CPLSConnector2* pasted = inner->Add<CPLSConnector2>();
  comptest::LoadBytes(pasted, bytes);
  pasted->flags &= static_cast<unsigned char>(~kSchLoaded);
  ASSERT_EQ(board->pinCount, 4);
  EXPECT_EQ(board->pins[2].name, pasted->instanceName);
  pasted->MakeNameUnique();
  EXPECT_STRNE(pasted->instanceName, L"J1");
  EXPECT_EQ(board->pins[2].name, pasted->instanceName);
  EXPECT_EQ(board->pins[3].name, pasted->instanceName);
  EXPECT_EQ(board->pins[0].name, header->instanceName);
}

// Outside: a USB cable part on the board's USB pin; inside: loads on VCC
// and GND and a USB device on D- and D+.
struct UsbRig {
  comptest::RegistryScope registry;
  Circuit outer;
  Nesting* board = outer.Add<Nesting>();
  Circuit inner{board->nested};
  CMiniUSBConnector* usb = nullptr;
  Part* vccLoad = nullptr;
  Part* gndLoad = nullptr;
  UsbRig() {
    usb = inner.Add<CMiniUSBConnector>();
    usb->LayoutPins();
    vccLoad = inner.Part(1);
    gndLoad = inner.Part(1);
    inner.Wire(usb, kElecMiniUsbVcc, vccLoad, 0);
    inner.Wire(usb, kElecMiniUsbGnd, gndLoad, 0);
  }
};

TEST(MiniUsb, DoesNothingWhileTheBoardsUsbPinIsFree) {
  UsbRig rig;
  rig.outer.Run(2);
  EXPECT_EQ(rig.board->pins[0].net, nullptr);
  EXPECT_NEAR(Circuit::Read(rig.vccLoad, 0), 0.0f, 1e-4);
  rig.outer.Stop();
}

TEST(MiniUsb, ACableWithoutSourceOnlyPowersTheBoard) {
  UsbRig rig;
  Part* cable = rig.outer.Part(1, kSchPinUsb);
  rig.outer.Wire(cable, 0, rig.board, 0);
  Part* dminus = rig.inner.Part(1);
  rig.inner.Wire(rig.usb, kElecMiniUsbDataMinus, dminus, 0);
  rig.outer.Run(2);
  ASSERT_NE(rig.board->pins[0].net, nullptr);
  EXPECT_NE(rig.usb->pins[0].net, rig.board->pins[0].net) << "the inner and outer pins are not joined";
  float R = 0;
  EXPECT_NEAR(Circuit::Read(rig.vccLoad, 0, &R), 5.0f, 1e-3);
  EXPECT_NEAR(R, 5.0f, 1e-3);
  EXPECT_NEAR(Circuit::Read(rig.gndLoad, 0, &R), 0.0f, 1e-3);
  EXPECT_NEAR(R, 5.0f, 1e-3);
  EXPECT_EQ(dminus->pins[0].net->sourceKind, 0) << "no data without a source on the cable";
  rig.outer.Stop();
}

// A part that hands its packet set to its net as a source of the kind.
class SourcePart : public Part {
public:
  SourcePart(int kind, int pinKind) : Part(1, pinKind), kind_(kind) { record.packets = &packets; }
  void Start() override { Publish(); }
  void Step(float) override { Publish(); }
  void Publish() {
    SchNet* net = pins[0].net;
    if (!net) return;
    net->sourceKind = kind_;
    net->source = &record;
  }
  SchPacketSet packets;
  SchSignalSource record = {nullptr, 0};

private:
  int kind_;
};

TEST(MiniUsb, CarriesTheCableSourceToTheDataPins) {
  UsbRig rig;
  auto* cable = rig.outer.Add<SourcePart>(kSchSourceUsbHost, kSchPinUsb);
  rig.outer.Wire(cable, 0, rig.board, 0);
  Part* dminus = rig.inner.Part(1);
  Part* dplus = rig.inner.Part(1);
  rig.inner.Wire(rig.usb, kElecMiniUsbDataMinus, dminus, 0);
  rig.inner.Wire(rig.usb, kElecMiniUsbDataPlus, dplus, 0);
  rig.outer.Run(2);
  SchPinState minus = comptest::Bench::State(dminus, 0);
  SchPinState plus = comptest::Bench::State(dplus, 0);
  EXPECT_EQ(minus.sourceKind, kSchSourceUsb);
  EXPECT_EQ(minus.source, &cable->record);
  EXPECT_EQ(plus.source, &cable->record);
  // Idle levels: D- low, D+ at 3.3 V, each behind 1 kOhm.
  EXPECT_NEAR(minus.U, 0.0f, 1e-3);
  EXPECT_NEAR(minus.U2, 3.3f, 1e-3);
  EXPECT_NEAR(plus.U, 3.3f, 1e-3);
  EXPECT_NEAR(plus.U2, 0.0f, 1e-3);
  rig.outer.Stop();
}

TEST(ConnectorFootprints, ArcPoints) {
  float points[2 * 8];
  int count = 0;
  // Quarter circle of radius 2 round (1, 1) in 2 steps and one extra:
  // 0, 45 and 90 degrees.
  AppendArcPoints(points, &count, 8, 1, 1, 2, 0, 90, 2, 1);
  ASSERT_EQ(count, 3);
  EXPECT_NEAR(points[0], 1.0f, 1e-5);
  EXPECT_NEAR(points[1], -1.0f, 1e-5);
  EXPECT_NEAR(points[2], 1 + 1.4142136f, 1e-5);
  EXPECT_NEAR(points[3], 1 - 1.4142136f, 1e-5);
  EXPECT_NEAR(points[4], 3.0f, 1e-5);
  EXPECT_NEAR(points[5], 1.0f, 1e-5);
  // Full: points past the room are dropped.
  AppendArcPoints(points, &count, 4, 0, 0, 1, 0, 360, 6, 0);
  EXPECT_EQ(count, 4);
}

struct FootprintProbe {
  const char* className;
  int n;
  float x, y;        // a point of the part frame
  COLORREF colour;   // what is drawn there
};

TEST(ConnectorFootprints, ProbedAtPartsOfTheDrawing) {
  comptest::RegistryScope registry;
  const FootprintProbe probes[] = {
      {"PLS", 2, -1.0f, -2.0f, RGB(0, 0, 0)},           // the first pin's black square
      {"PLS", 2, 0, -1.27f, RGB(192, 238, 255)},        // its lead
      {"PLS2", 2, 0, 1.27f, RGB(192, 238, 255)},
      {"CWF", 2, -2.0f, 0, RGB(208, 208, 208)},         // the inner body
      {"CWF", 2, 0, -1.25f, RGB(204, 206, 153)},        // the first lead
      {"WF", 2, -1.5f, 0, RGB(224, 224, 224)},          // the body
      {"WF", 2, 2.0f, 0, RGB(255, 255, 255)},           // the white inset
      {"MPW", 2, 0.5f, -2.54f, RGB(204, 224, 255)},     // the first lead
      {"MPW", 2, -3.0f, 0, RGB(224, 224, 224)},
      {"Connector2", 2, -3.0f, 0, RGB(68, 102, 255)},   // the first strip
      {"Connector2", 2, 3.0f, 0, RGB(0, 34, 204)},
      {"Connector2", 2, 2.9f, -2.5f, RGB(0, 0, 0)},     // the first dot
      {"MiniFit", 4, -2.0f, -2.1f, RGB(0, 0, 0)},       // a square of the first row
      {"MiniFit", 4, 0.1f, 0, RGB(224, 224, 224)},      // the body between the rows
      {"MiniFit", 2, -2.1f, 0, RGB(0, 0, 0)},
      {"MiniUSB", 4, 3.5f, 0, RGB(214, 218, 187)},      // the middle signal pad
      {"MiniUSB", 4, 0, 0.5f, RGB(200, 224, 242)},      // the shell
  };
  for (const FootprintProbe& p : probes) {
    SCOPED_TRACE(std::string(p.className) + " at " + std::to_string(p.x) + ", " + std::to_string(p.y));
    auto block = comptest::NewDetached<CSCHBlock>(p.className);
    std::string n = std::to_string(p.n);
    comptest::DbRow row(L"connectors", {{"model", "M"}, {"n", n.c_str()}});
    block->ApplyDbRecord(row.Record());
    comptest::FootprintCanvas canvas(20, 400, 400);
    EXPECT_TRUE(canvas.Paint(block.get()));
    EXPECT_EQ(canvas.At(p.x, p.y), p.colour);
  }
}

TEST(ConnectorFootprints, Screenshot) {
  comptest::RegistryScope registry;
  comptest::FootprintCanvas canvas(8, 800, 240);
  const char* names[] = {"PLS", "PLS2", "CWF", "WF", "MPW", "Connector2", "MiniFit", "MiniUSB"};
  float x = -42;
  for (const char* name : names) {
    auto block = comptest::NewDetached<CSCHBlock>(name);
    comptest::DbRow row(L"connectors", {{"model", "M"}, {"n", "4"}});
    block->ApplyDbRecord(row.Record());
    block->SetName(L"X1");
    block->boardX = x;
    block->boardY = 0;
    EXPECT_TRUE(canvas.Paint(block.get()));
    x += 12;
  }
  EXPECT_GT(canvas.InkCount(), 1000);
  canvas.Save(L"connectors_footprints.bmp");
}

TEST(ConnectorSymbols, PlsArrowsAndBars) {
  comptest::RegistryScope registry;
  auto pls = comptest::NewDetached<CPLSConnector>("PLS");
  pls->SetPinCount(3);
  pls->LayoutPins();
  pls->SetName(L"X7");
  comptest::SymbolCanvas canvas(80, 90);
  EXPECT_TRUE(canvas.Paint(pls.get(), 40, 10));
  // Block (40, 10)-(56, 58), facing left (side 0): pins on the right, their
  // anchors at x = 62 and y = 50, 34, 18; the arrows run left from x = 55 to
  // 40; the bars at x = 50 and 47 from the first pin to the last.
  EXPECT_EQ(canvas.Pixel(45, 34), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(50, 26), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(47, 42), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(30, 26), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(53, 26), RGB(255, 255, 255));
  EXPECT_GT(canvas.InkIn(40, 58, 80, 80), 0) << "the name under the header";
  canvas.Save(L"pls_connector.bmp");
}

}  // namespace

namespace {

TEST(Connectors, SampleDatabaseRowsMakeTheirClasses) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"connectors");
  ASSERT_TRUE(table.loaded);
  ASSERT_GT(table.table.GetRecordCount(), 0);
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* record = table.table.GetRecord(i);
    const char* cls = record->GetTextByName("class");
    SCOPED_TRACE(cls ? cls : "(none)");
    ASSERT_NE(cls, nullptr);
    auto block = comptest::NewDetached<CSCHBlock>(cls);
    ASSERT_TRUE(block);
    block->ApplyDbRecord(record);
    EXPECT_EQ(block->pinCount, record->GetIntByName("n"));
    EXPECT_GT(block->footprintWidth, 0);
    EXPECT_GT(block->footprintLength, 0);
  }
}

}  // namespace
