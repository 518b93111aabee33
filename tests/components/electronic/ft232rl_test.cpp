// The FT232RL USB-UART bridge: pins, the UART format word, its record, the
// application circuit, the joined ground pins, the supply and input checks,
// packets both ways and the settings form.
#include "components/electronic/usb/ft232rl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component_kit.h"
#include "components/electronic/discrete/capacitor.h"
#include "scheme/model/wire.h"
#include "scheme/simulation/uart_format.h"
#include "support/test_support.h"
#include "usb_rig.h"

namespace {

using comptest::Bench;
using comptest::Golden;
using comptest::LogCapture;

// 115200 ORs in whole: 0x1C200 | 10 << 16 = 0xBC200.
const int kDefaultFormat = 0xBC200;
// 9600 8N1: 0x2580 | 0xA0000.
const int k9600Format = 0xA2580;

TEST(UartFormat, WordsFromTheSettings) {
  const struct {
    int speed, stop, parity, word;
  } cases[] = {
      {115200, 1, 0, kDefaultFormat},
      {9600, 1, 0, k9600Format},
      {9600, 2, 1, 0x2580 | (12 << 16) | (1 << 24)},    // even, two stop bits
      {9600, 3, 0, 0x2580 | (11 << 16)},                // "1.5" counts as 2
      {300, 1, 2, 300 | (11 << 16) | (2 << 24)},        // odd
  };
  for (const auto& c : cases) EXPECT_EQ(UartFormatWord(c.speed, c.stop, c.parity), c.word) << c.speed;
}

TEST(UartFormat, TheProtocolBitGoesOnOneSide) {
  UartSettings s;
  EXPECT_EQ(s.ReceiveFormat(), kDefaultFormat);
  EXPECT_EQ(s.SendFormat(), kDefaultFormat);
  s.protocol = kElecUartRequestMaster;
  EXPECT_EQ(s.ReceiveFormat(), kDefaultFormat | 0x40000000);
  EXPECT_EQ(s.SendFormat(), kDefaultFormat);
  s.protocol = kElecUartRequestSlave;
  EXPECT_EQ(s.ReceiveFormat(), kDefaultFormat);
  EXPECT_EQ(s.SendFormat(), kDefaultFormat | 0x40000000);
}

TEST(Ft232rl, CreatedWithItsPinsAndDefaults) {
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  ASSERT_NE(chip, nullptr);
  EXPECT_STREQ(chip->instanceName, L"DD1");
  EXPECT_EQ(chip->settings.speed, 115200);
  EXPECT_EQ(chip->settings.stopBits, 1);
  EXPECT_EQ(chip->settings.parity, 0);
  EXPECT_EQ(chip->settings.protocol, 0);
  EXPECT_EQ(chip->rect.right - chip->rect.left, 150);
  EXPECT_EQ(chip->rect.bottom - chip->rect.top, 250);
  EXPECT_FLOAT_EQ(chip->footprintWidth, 7.8f);
  EXPECT_FLOAT_EQ(chip->footprintLength, 10.2f);
  ASSERT_EQ(chip->pinCount, 28);
  const int numbers[28] = {4, 20, 16, 15, 8, 19, 24, 27, 28, 17, 25, 7, 18, 21,
                           26, 12, 14, 13, 22, 23, 6, 10, 9, 2, 11, 3, 5, 1};
  for (int i = 0; i < 28; i++) {
    EXPECT_EQ(chip->pins[i].number, numbers[i]) << i;
    EXPECT_EQ(chip->pins[i].kind, kSchPinElectric);
    EXPECT_EQ(chip->pins[i].side, i < 10 ? kSchSideLeft : i < 15 ? kSchSideBottom : kSchSideRight) << i;
  }
  EXPECT_STREQ(chip->pins[kElecFtPWREN].name, L"CBUS3/PWREN#");
  EXPECT_STREQ(chip->pins[kElecFtRXD].description, L"Вход асинхронной передачи данных (UART)");
  EXPECT_STREQ(chip->pins[kElecFtAGND].description, L"Аналоговая \"Земля\"");
  // Ten left pins over 250 px, widened by the bottom pins: (k + 3) * 250 /
  // (10 + 2 * 3 - 1).
  EXPECT_EQ(chip->pins[0].offset, 3 * 250 / 15);
  EXPECT_EQ(chip->pins[9].offset, 12 * 250 / 15);
}

TEST(Ft232rl, RecordTailAndReload) {
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  // 115200 keeps its low 16 bits, 0xC200.
  EXPECT_EQ(comptest::FieldsAfter<CSCHBlock>(chip), Golden().B(0x00).B(0xC2).B(1).B(0).B(0).Bytes());
  std::vector<uint8_t> full = comptest::SaveBytes(chip);
  auto copy = comptest::NewDetached<CFT232RL>("FT232RL");
  copy->settings.speed = 1;
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(copy->settings.speed, 115200);

  chip->settings.speed = 9600;
  chip->settings.stopBits = 3;
  chip->settings.parity = 1;
  chip->settings.protocol = 2;
  EXPECT_EQ(comptest::FieldsAfter<CSCHBlock>(chip), Golden().B(0x80).B(0x25).B(3).B(1).B(2).Bytes());
  full = comptest::SaveBytes(chip);
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(copy->settings.speed, 9600);
  EXPECT_EQ(copy->settings.stopBits, 3);
  EXPECT_EQ(copy->settings.parity, 1);
  EXPECT_EQ(copy->settings.protocol, 2);
  EXPECT_EQ(comptest::FieldsAfter<CSCHBlock>(copy.get()), Golden().B(0x80).B(0x25).B(3).B(1).B(2).Bytes());
  // Every cut of the record loads without harm.
  comptest::ForEachTruncation<CFT232RL>("FT232RL", full, [&](CFT232RL* c, size_t n) {
    if (n == full.size()) {
      EXPECT_EQ(c->settings.speed, 9600);
    }
    EXPECT_EQ(c->ownPackets, nullptr);
  });
}

// The wires of a scheme as their two ends.
struct WireEnds {
  CSCHBlock* a;
  int pa;
  CSCHBlock* b;
  int pb;
  std::vector<int> coords;
  unsigned char flags;
};
std::vector<WireEnds> Wires(SchScheme* s) {
  std::vector<WireEnds> v;
  for (SchWire* w = s->wires; w; w = w->next) {
    WireEnds e = {nullptr, -1, nullptr, -1, {}, w->flags};
    if (w->endKind[0] == kSchWireEndPin) {
      e.a = static_cast<CSCHBlock*>(w->ends[0].target);
      e.pa = w->ends[0].index;
    }
    if (w->endKind[1] == kSchWireEndPin) {
      e.b = static_cast<CSCHBlock*>(w->ends[1].target);
      e.pb = w->ends[1].index;
    }
    for (int i = 0; i < w->coordCount; i++) e.coords.push_back(w->coords[i]);
    v.push_back(e);
  }
  return v;
}

// Memory refused anywhere while the circuit is added never leaves a part of
// it outside the chip's children.
TEST(Ft232rl, RefusedMemoryLeavesNoPartOfTheCircuitUnowned) {
  comptest::DbRow row(L"FT232", {{"model", "FT232RL"}, {"price", "180"}});
  comptest::ExpectCircuitOwnedUnderRefusedMemory("FT232RL", 400, 100, row, 8);
}

TEST(Ft232rl, ApplyingARowAddsTheApplicationCircuitOnce) {
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  chip->MoveTo(400, 100);
  chip->boardX = 30;
  chip->boardY = 40;
  comptest::DbRow row(L"FT232", {{"model", "FT232RL"}, {"price", "180"}});
  chip->ApplyDbRecord(row.Record());
  EXPECT_STREQ(chip->model, "FT232RL");
  ASSERT_EQ(chip->childCount, 8);
  CSCHBlock* r = chip->children[0];
  CSCHBlock* c = chip->children[1];
  EXPECT_STREQ(r->className, "Resister");
  EXPECT_EQ(r->flags & 0x0E, 0x0E);
  EXPECT_EQ(r->orientation, 1);
  EXPECT_FLOAT_EQ(r->boardX, 30);
  EXPECT_NEAR(r->boardY, 40 + 5.1f + 2.54f + 1.27f + 2.54f, 1e-4f);
  POINT a16 = chip->GetPinAnchor(kElecFtPWREN), a9 = chip->GetPinAnchor(kElecFt3VOUT);
  EXPECT_EQ(r->rect.left, a16.x + 50);
  EXPECT_EQ(r->rect.top, a16.y + 20);
  EXPECT_STREQ(r->pins[1].description, L"Подключить к +VccIO");
  auto* cap = dynamic_cast<CCapacitor*>(c);
  ASSERT_NE(cap, nullptr);
  EXPECT_FLOAT_EQ(cap->capacitance, 1e-7f);
  EXPECT_EQ(cap->kind, kElecCapacitorChip);
  EXPECT_FLOAT_EQ(cap->ratedVoltage, 16);
  EXPECT_EQ(c->flags & 0x0E, 0x0E);
  EXPECT_NEAR(c->boardY, 40 + 5.1f + 2.54f + 1.27f, 1e-4f);
  EXPECT_EQ(c->rect.left, a9.x - 80);
  EXPECT_EQ(c->rect.top, a9.y + 30);
  const int yG = a9.y + 80;
  EXPECT_EQ(chip->children[2]->rect.left, a9.x - 80 + 6);
  for (int k = 2; k < 8; k++) {
    EXPECT_STREQ(chip->children[k]->className, "GND");
    EXPECT_EQ(chip->children[k]->flags & 0x0C, 0x0C);
    EXPECT_EQ(chip->children[k]->rect.top, yG);
  }
  for (int i = kElecFtAGND; i <= kElecFtTEST; i++)
    EXPECT_EQ(chip->children[3 + i - kElecFtAGND]->rect.left, chip->GetPinAnchor(i).x - 6);
  // Eight wires, all flagged 0x0C.
  std::vector<WireEnds> wires = Wires(bench.scheme);
  ASSERT_EQ(wires.size(), 8u);
  auto has = [&](CSCHBlock* a, int pa, CSCHBlock* b, int pb, int firstCoord) {
    for (const WireEnds& w : wires)
      if (w.a == a && w.pa == pa && w.b == b && w.pb == pb) {
        EXPECT_EQ(w.flags & 0x0C, 0x0C);
        if (firstCoord >= 0) {
          EXPECT_FALSE(w.coords.empty());
          if (!w.coords.empty()) {
            EXPECT_EQ(w.coords[0], firstCoord);
          }
        }
        return true;
      }
    return false;
  };
  EXPECT_TRUE(has(chip, kElecFtPWREN, r, 0, -1));
  EXPECT_TRUE(has(chip, kElecFt3VOUT, c, 0, -1));
  EXPECT_TRUE(has(c, 1, chip->children[2], 0, yG - 15));
  for (int i = kElecFtAGND; i <= kElecFtTEST; i++) EXPECT_TRUE(has(chip, i, chip->children[3 + i - kElecFtAGND], 0, yG - 15)) << i;
  // Again: the old circuit goes first.
  chip->ApplyDbRecord(row.Record());
  EXPECT_EQ(chip->childCount, 8);
  EXPECT_EQ(Wires(bench.scheme).size(), 8u);
  int blocks = 0;
  for (CSCHBlock* b = bench.scheme->blocks; b; b = b->next) blocks++;
  EXPECT_EQ(blocks, 9);
}

// A chip on stiff 5 V supplies with PWREN# pulled up, the ground pins tied
// to one ground, a probe on TXD and a data line on RXD.
struct Rig {
  Rig() {
    chip = bench.Create<CFT232RL>("FT232RL");
    vcc = bench.Source(5);
    vio = bench.Source(5);
    gnd = bench.Ground();
    bench.Wire(vcc, 0, chip, kElecFtVCC);
    bench.Wire(vio, 0, chip, kElecFtVCCIO);
    bench.Star({{gnd, 0}, {chip, kElecFtGND1}, {chip, kElecFtGND2}, {chip, kElecFtGND3}});
    pwren = bench.Source(5, 10000);
    bench.Wire(pwren, 0, chip, kElecFtPWREN);
    txd = bench.Part(1);
    bench.Wire(txd, 0, chip, kElecFtTXD);
    out3v = bench.Part(1);
    bench.Wire(out3v, 0, chip, kElecFt3VOUT);
    rxd = bench.Add<chiptest::DataLine>();
    rxd->source.packets = sender.set;
    bench.Wire(rxd, 0, chip, kElecFtRXD);
  }
  SchPinState Txd() { return Bench::State(txd, 0); }
  Bench bench;
  CFT232RL* chip;
  circuit::Part *vcc, *vio, *gnd, *pwren, *txd, *out3v;
  chiptest::DataLine* rxd;
  chiptest::OwnedSet sender{1, 1, kDefaultFormat};
};

TEST(Ft232rl, ASchemeStreamKeepsTheSettingsAndTheCircuit) {
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  comptest::DbRow row(L"FT232", {{"model", "FT232RL"}, {"price", "180"}});
  chip->ApplyDbRecord(row.Record());
  chip->settings.stopBits = 3;
  chip->settings.protocol = 1;
  std::unique_ptr<SchScheme> back = comptest::ReadBack(bench.scheme);
  ASSERT_NE(back, nullptr);
  CFT232RL* copy = nullptr;
  int wires = 0;
  for (CSCHBlock* b = back->blocks; b; b = b->next)
    if (auto* c = dynamic_cast<CFT232RL*>(b)) copy = c;
  for (SchWire* w = back->wires; w; w = w->next) wires++;
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->settings.speed, 115200);
  EXPECT_EQ(copy->settings.stopBits, 3);
  EXPECT_EQ(copy->settings.protocol, 1);
  EXPECT_EQ(copy->childCount, 8);
  EXPECT_EQ(wires, 8);
}

TEST(Ft232rl, GroundPinsOnTwoNetsAreJoined) {
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  auto* a = bench.Ground();
  auto* b = bench.Part(1);
  bench.Wire(a, 0, chip, kElecFtGND1);
  bench.Wire(b, 0, chip, kElecFtGND3);
  bench.Build();
  EXPECT_NE(Bench::NetOf(chip, kElecFtGND1), nullptr);
  EXPECT_EQ(Bench::NetOf(chip, kElecFtGND1), Bench::NetOf(chip, kElecFtGND3));
  EXPECT_EQ(Bench::NetOf(chip, kElecFtGND2), nullptr);  // left out, no harm
  EXPECT_TRUE(circuit::NetPointersLive({bench.scheme}));
}

TEST(Ft232rl, WithoutAHostRxdDataGoesOutOnTxdStamped) {
  Rig rig;
  rig.chip->settings.speed = 9600;  // stamps 9600 8N1, expects the same
  rig.sender.set->packets[0]->format = k9600Format;
  // A packet of another format: skipped, and still the sender's.
  SchPacket* other = new SchPacket;
  other->id = 2;
  other->format = kDefaultFormat;
  rig.sender.set->Append(other);
  LogCapture log;
  rig.bench.Run(3);
  SchPinState s = rig.Txd();
  EXPECT_EQ(s.sourceKind, kSchSourceSerial);
  ASSERT_NE(s.source, nullptr);
  ASSERT_EQ(s.source->packets, rig.chip->ownPackets);
  EXPECT_EQ(usbtest::FormatOf(rig.chip->ownPackets, 1), k9600Format);
  EXPECT_EQ(rig.chip->ownPackets->FindId(2), -1);
  EXPECT_EQ(rig.sender.set->count, 2);
  EXPECT_EQ(usbtest::FormatOf(rig.sender.set, 2), kDefaultFormat);
  // High 5 V behind 150 ohms, low 0 V behind 150 ohms.
  EXPECT_NEAR(s.U, 5, 1e-3f);
  EXPECT_NEAR(s.R, 150, 0.1f);
  EXPECT_NEAR(s.U2, 0, 1e-3f);
  EXPECT_NEAR(s.R2, 150, 0.1f);
  // 3VOUT: 3.3 V behind 55 ohms.
  float R = 0;
  EXPECT_NEAR(Bench::Read(rig.out3v, 0, &R), 3.3f, 1e-3f);
  EXPECT_NEAR(R, 55, 0.01f);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Stop();
  EXPECT_EQ(rig.chip->ownPackets, nullptr);
}

TEST(Ft232rl, TwoReceiversWithDifferentSettingsBothKeepWorking) {
  Bench bench;
  auto powered = [&bench]() {
    auto* chip = bench.Create<CFT232RL>("FT232RL");
    bench.Wire(bench.Source(5), 0, chip, kElecFtVCC);
    bench.Wire(bench.Source(5), 0, chip, kElecFtVCCIO);
    bench.Star({{bench.Ground(), 0}, {chip, kElecFtGND1}, {chip, kElecFtGND2}});
    bench.Wire(bench.Source(5, 10000), 0, chip, kElecFtPWREN);
    return chip;
  };
  CFT232RL* fast = powered();
  CFT232RL* slow = powered();
  slow->settings.speed = 9600;
  chiptest::OwnedSet sender(1, 1, kDefaultFormat);
  SchPacket* p = new SchPacket;
  p->id = 2;
  p->format = k9600Format;
  sender.set->Append(p);
  auto* line = bench.Add<chiptest::DataLine>();
  line->source.packets = sender.set;
  bench.Star({{line, 0}, {fast, kElecFtRXD}, {slow, kElecFtRXD}});
  LogCapture log;
  bench.Run(3);
  EXPECT_EQ(log.Count(), 0);
  // Each took the packet of its own format; the sender lost neither.
  EXPECT_NE(fast->ownPackets->FindId(1), -1);
  EXPECT_EQ(fast->ownPackets->FindId(2), -1);
  EXPECT_NE(slow->ownPackets->FindId(2), -1);
  EXPECT_EQ(slow->ownPackets->FindId(1), -1);
  EXPECT_NE(sender.set->FindId(1), -1);
  EXPECT_NE(sender.set->FindId(2), -1);
}

TEST(Ft232rl, WithAUsbHostPacketsFlowBothWays) {
  Rig rig;
  auto* host = rig.bench.Add<usbtest::UsbHost>(2, kSchPinElectric);
  rig.bench.Wire(host, 0, rig.chip, kElecFtUSBDM);
  rig.bench.Wire(host, 1, rig.chip, kElecFtUSBDP);
  rig.chip->settings.protocol = kElecUartRequestSlave;  // bit 30 on the way out
  LogCapture log;
  rig.bench.Run(2);
  EXPECT_EQ(log.Count(), 0);
  SchPacketSet* link = host->packets.set;
  SchPinState s = rig.Txd();
  ASSERT_NE(s.source, nullptr);
  EXPECT_EQ(s.source, &host->source);
  // The host's packet 7 reached the sender, the sender's packet 1 the host;
  // the host's set is stamped with the slave's format.
  EXPECT_NE(link->FindId(1), -1);
  EXPECT_NE(rig.sender.set->FindId(7), -1);
  EXPECT_EQ(usbtest::FormatOf(link, 7), kDefaultFormat | 0x40000000);
  EXPECT_EQ(usbtest::FormatOf(link, 1), kDefaultFormat | 0x40000000);
}

TEST(Ft232rl, TheUartSideNeedsPwrenResetAndCore) {
  {
    // PWREN# open reads 0 V: TXD low (0 V behind 150 ohms), no data.
    Rig rig;
    rig.pwren->Undrive(0);
    rig.pwren->Drive(0, 0, kSchOpenResistance);
    rig.bench.Run(2);
    SchPinState s = rig.Txd();
    EXPECT_EQ(s.source, nullptr);
    EXPECT_NEAR(s.U, 0, 1e-3f);
    EXPECT_NEAR(s.R, 150, 0.1f);
  }
  {
    // ~RESET held low.
    Rig rig;
    auto* reset = rig.bench.Source(0);
    rig.bench.Wire(reset, 0, rig.chip, kElecFtReset);
    rig.bench.Run(2);
    EXPECT_EQ(rig.Txd().source, nullptr);
  }
  {
    // Core supply 3.0 V: 3VOUT released, TXD low, no burn-out.
    Rig rig;
    rig.vcc->Drive(0, 3.0f, kSchMinResistance);
    LogCapture log;
    rig.bench.Run(2);
    float R = 0;
    Bench::Read(rig.out3v, 0, &R);
    EXPECT_GT(R, 1e6f);
    EXPECT_EQ(rig.Txd().source, nullptr);
    EXPECT_EQ(log.Count(), 0);
    EXPECT_EQ(rig.chip->burnt, 0);
  }
}

TEST(Ft232rl, BurnOuts) {
  const struct {
    const char* what;
    float vcc, usb, txdLoad, rxd;
  } cases[] = {
      {"core above 6 V", 7, 0, 0, 5},
      {"USB line above 5.5 V", 5, 6, 0, 5},
      {"TXD loaded by 50 ohms", 5, 0, 50, 5},
      {"RXD above VCCIO + 2", 5, 0, 0, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.vcc->Drive(0, c.vcc, kSchMinResistance);
    rig.rxd->U1 = c.rxd;
    if (c.usb > 0) {
      auto* usb = rig.bench.Source(c.usb);
      rig.bench.Wire(usb, 0, rig.chip, kElecFtUSBDP);
    }
    if (c.txdLoad > 0) rig.txd->Drive(0, 0, c.txdLoad);
    LogCapture log;
    rig.bench.Run(2);
    EXPECT_EQ(rig.chip->burnt, 1);
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Драйвер FT232RL (\"DD1\") вышел из строя");
    // Afterwards every pin is released.
    float R = 0;
    Bench::Read(rig.out3v, 0, &R);
    EXPECT_GT(R, 1e6f);
  }
}

TEST(Ft232rl, SymbolAndFootprint) {
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  comptest::SymbolCanvas canvas(260, 320);
  EXPECT_TRUE(canvas.Paint(chip, 50, 30));
  // Body filled 0xEEEEEE; name above and "FT232RL" below the middle line.
  EXPECT_EQ(canvas.Pixel(60, 40), RGB(0xEE, 0xEE, 0xEE));
  EXPECT_GT(canvas.InkIn(90, 155 - 18, 160, 155) - 0, 0);
  int dark = 0;
  for (int y = 155; y < 175; y++)
    for (int x = 90; x < 160; x++)
      if (GetRValue(canvas.Pixel(x, y)) < 0x80) dark++;
  EXPECT_GT(dark, 20);
  EXPECT_TRUE(canvas.Save(L"ft232rl_symbol.bmp"));
  comptest::FootprintCanvas board(20, 400, 400);
  chip->boardX = chip->boardY = 0;
  EXPECT_TRUE(board.Paint(chip));
  EXPECT_GT(board.InkCount(), 500);
  EXPECT_TRUE(board.Save(L"ft232rl_footprint.bmp"));
}

TEST(Ft232rl, SettingsFormListsAndOk) {
  usbtest::MainFormScope mainForm;
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  std::vector<std::wstring> speeds, parities, stops, protocols;
  int selectedSpeed = -1;
  RECT frame = {};
  usbtest::ModalProbe probe([&] {
    CUartSettingsForm* form = usbtest::FindSettingsForm(L"Настройки UART для FT232RL");
    ASSERT_NE(form, nullptr);
    GetWindowRect(form->GetHandle(), &frame);
    speeds = usbtest::Items(form->speedBox);
    parities = usbtest::Items(form->parityBox);
    stops = usbtest::Items(form->stopBox);
    protocols = usbtest::Items(form->protocolBox);
    selectedSpeed = form->speedBox->GetSelectedIndex();
    form->speedBox->SetSelectedIndex(5);  // 9600
    form->stopBox->SetSelectedIndex(2);   // "1.5"
    form->parityBox->SetSelectedIndex(2);
    form->protocolBox->SetSelectedIndex(1);
    RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    velktest::FlushEvents();
    EXPECT_TRUE(velktest::SaveWindowBitmap(form->GetHandle(), comptest::ScreenshotFolder() + L"ft232rl_settings.bmp"));
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(chip->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(frame.right - frame.left, 320);
  EXPECT_EQ(frame.bottom - frame.top, 220);
  const std::vector<std::wstring> expectedSpeeds = {L"110",   L"300",   L"600",   L"1200",  L"2400",  L"9600",
                                                    L"11400", L"19200", L"38400", L"56000", L"57600", L"115200"};
  EXPECT_EQ(speeds, expectedSpeeds);
  EXPECT_EQ(selectedSpeed, 11);
  EXPECT_EQ(parities, (std::vector<std::wstring>{L"Нет", L"Четность", L"Нечетность"}));
  EXPECT_EQ(stops, (std::vector<std::wstring>{L"1", L"2", L"1.5"}));
  EXPECT_EQ(protocols, (std::vector<std::wstring>{L"Асинхронный обмен", L"Обмен по запросу. Ведущий",
                                                  L"Обмен по запросу. Ведомый"}));
  EXPECT_EQ(chip->settings.speed, 9600);
  EXPECT_EQ(chip->settings.stopBits, 3);
  EXPECT_EQ(chip->settings.parity, 2);
  EXPECT_EQ(chip->settings.protocol, 1);
}

TEST(Ft232rl, SettingsFormCancelChangesNothingAndOkKeepsAnUnlistedSpeed) {
  usbtest::MainFormScope mainForm;
  Bench bench;
  auto* chip = bench.Create<CFT232RL>("FT232RL");
  usbtest::ModalProbe cancel([&] {
    CUartSettingsForm* form = usbtest::FindSettingsForm(L"Настройки UART для FT232RL");
    ASSERT_NE(form, nullptr);
    form->speedBox->SetSelectedIndex(0);
    form->stopBox->SetSelectedIndex(1);
    SendMessageW(form->cancelButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(chip->Edit());
  EXPECT_TRUE(cancel.Ran());
  EXPECT_EQ(chip->settings.speed, 115200);
  EXPECT_EQ(chip->settings.stopBits, 1);
  // 4800 is not offered: no speed is selected and OK keeps it.
  chip->settings.speed = 4800;
  int selected = 0;
  usbtest::ModalProbe ok([&] {
    CUartSettingsForm* form = usbtest::FindSettingsForm(L"Настройки UART для FT232RL");
    ASSERT_NE(form, nullptr);
    selected = form->speedBox->GetSelectedIndex();
    SendMessageW(form->okButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(chip->Edit());
  EXPECT_EQ(selected, -1);
  EXPECT_EQ(chip->settings.speed, 4800);
}

}  // namespace
