// The USB-COM adapter cable: pins, record, picture, settings form with the
// price, and the bridge between a USB host and the RS-232 lines.
#include "components/electronic/usb/usbcom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component_kit.h"
#include "support/test_support.h"
#include "usb_rig.h"

namespace {

using comptest::Bench;
using comptest::Golden;
using comptest::LogCapture;

const int kDefaultFormat = 0xBC200;  // 115200 | 10 << 16
const int k9600Format = 0xA2580;     // 9600 | 10 << 16

TEST(UsbCom, CreatedWithItsPinsPriceAndSettings) {
  Bench bench;
  auto* cable = bench.Create<CUSBCOM>("USB-COM");
  ASSERT_NE(cable, nullptr);
  EXPECT_DOUBLE_EQ(cable->price, 330.0);
  EXPECT_EQ(cable->settings.speed, 115200);
  EXPECT_EQ(cable->settings.SendFormat(), kDefaultFormat);
  EXPECT_EQ(cable->rect.right - cable->rect.left, 170);
  EXPECT_EQ(cable->rect.bottom - cable->rect.top, 40);
  ASSERT_EQ(cable->pinCount, 4);
  const struct {
    const wchar_t* description;
    int number, side, kind;
  } pins[4] = {{L"USB", -1, kSchSideLeft, kSchPinUsb},
               {L"Вход RS-232", 2, kSchSideRight, kSchPinElectric},
               {L"Выход RS-232", 3, kSchSideRight, kSchPinElectric},
               {L"\"Земля\"", 5, kSchSideRight, kSchPinElectric}};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(cable->pins[i].name, nullptr);
    EXPECT_STREQ(cable->pins[i].description, pins[i].description);
    EXPECT_EQ(cable->pins[i].number, pins[i].number);
    EXPECT_EQ(cable->pins[i].side, pins[i].side);
    EXPECT_EQ(cable->pins[i].kind, pins[i].kind);
  }
  wchar_t line[129];
  cable->FormatPriceLine(line, 129);
  EXPECT_STREQ(line, L"ORIENT \"USS-101\" (0.8м). Цена 330.00 руб.");
}

TEST(UsbCom, RecordTailAndReload) {
  Bench bench;
  auto* cable = bench.Create<CUSBCOM>("USB-COM");
  EXPECT_EQ(comptest::FieldsAfter<CSCHBlock>(cable), Golden().B(0x00).B(0xC2).B(1).B(0).B(0).Bytes());
  cable->settings.speed = 9600;
  cable->settings.parity = 2;
  std::vector<uint8_t> full = comptest::SaveBytes(cable);
  EXPECT_EQ(comptest::FieldsAfter<CSCHBlock>(cable), Golden().B(0x80).B(0x25).B(1).B(2).B(0).Bytes());
  auto copy = comptest::NewDetached<CUSBCOM>("USB-COM");
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(copy->settings.speed, 9600);
  EXPECT_EQ(copy->settings.parity, 2);
  comptest::ForEachTruncation<CUSBCOM>("USB-COM", full, [&](CUSBCOM* c, size_t n) {
    if (n == full.size()) {
      EXPECT_EQ(c->settings.speed, 9600);
    }
  });
}

// A cable with its ground, a probe on the transmit line and an RS-232 data
// line (idle -10 V, the other level +10 V) on the receive line.
struct Rig {
  Rig() {
    cable = bench.Create<CUSBCOM>("USB-COM");
    bench.Wire(bench.Ground(), 0, cable, kElecUsbComGround);
    tx = bench.Part(1);
    bench.Wire(tx, 0, cable, kElecUsbComTransmit);
    rx = bench.Add<chiptest::DataLine>();
    rx->U1 = -10;
    rx->U2 = 10;
    rx->source.packets = sender.set;
    bench.Wire(rx, 0, cable, kElecUsbComReceive);
  }
  Bench bench;
  CUSBCOM* cable;
  circuit::Part* tx;
  chiptest::DataLine* rx;
  chiptest::OwnedSet sender{1, 1, kDefaultFormat};
};

TEST(UsbCom, WithoutAHostTheTransmitLineCarriesNoPackets) {
  Rig rig;
  LogCapture log;
  rig.bench.Run(2);
  SchPinState s = Bench::State(rig.tx, 0);
  EXPECT_EQ(s.sourceKind, kSchSourceSerial);
  ASSERT_NE(s.source, nullptr);
  EXPECT_EQ(s.source->packets, nullptr);
  // -8 V and +8 V behind 250 ohms.
  EXPECT_NEAR(s.U, -8, 1e-3f);
  EXPECT_NEAR(s.U2, 8, 1e-3f);
  EXPECT_NEAR(s.R, 250, 0.1f);
  EXPECT_EQ(rig.sender.set->count, 1);
  EXPECT_EQ(log.Count(), 0);
}

TEST(UsbCom, WithAHostDataFlowsBothWaysAndForeignPacketsStay) {
  Rig rig;
  rig.cable->settings.speed = 9600;
  rig.sender.set->packets[0]->format = k9600Format;
  SchPacket* other = new SchPacket;
  other->id = 2;
  other->format = kDefaultFormat;
  rig.sender.set->Append(other);
  auto* host = rig.bench.Add<usbtest::UsbHost>(1, kSchPinUsb);
  rig.bench.Wire(host, 0, rig.cable, kElecUsbComUsb);
  LogCapture log;
  rig.bench.Run(2);
  EXPECT_EQ(log.Count(), 0);
  SchPacketSet* link = host->packets.set;
  EXPECT_NE(link->FindId(1), -1);
  EXPECT_EQ(link->FindId(2), -1);  // another format: skipped
  EXPECT_EQ(usbtest::FormatOf(rig.sender.set, 2), kDefaultFormat);
  EXPECT_NE(rig.sender.set->FindId(7), -1);
  EXPECT_EQ(usbtest::FormatOf(link, 7), k9600Format);
  SchPinState s = Bench::State(rig.tx, 0);
  EXPECT_EQ(s.source, &host->source);
}

TEST(UsbCom, BurnOutsAndReleasedLinesAfterwards) {
  const struct {
    const char* what;
    float load, rxLevel;
  } cases[] = {{"transmit line on 100 ohms", 100, 10}, {"receive line at 30 V", 0, 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    if (c.load > 0) rig.tx->Drive(0, 0, c.load);
    rig.rx->U2 = c.rxLevel;
    rig.cable->SetName(L"X5");
    LogCapture log;
    rig.bench.Run(2);
    EXPECT_EQ(rig.cable->burnt, 1);
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Messages()[0], L"Преобразователь интерфейсов USB->COM \"X5\" вышел из строя");
    float R = 0;
    Bench::Read(rig.rx, 0, &R);
    EXPECT_GT(R, 1e6f);
  }
}

std::wstring ShippedIconsFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"schemeIcons\\";
}

TEST(UsbCom, PictureAtTheSymbolCorner) {
  comptest::IconsFolderScope icons(ShippedIconsFolder());
  Bench bench;
  auto* cable = bench.Create<CUSBCOM>("USB-COM");
  comptest::SymbolCanvas canvas(220, 80);
  EXPECT_TRUE(canvas.Paint(cable, 20, 20));
  // The plug, the cable and the connector of the picture, nothing else.
  EXPECT_EQ(canvas.Pixel(20 + 10, 20 + 20), RGB(160, 160, 160));
  EXPECT_EQ(canvas.Pixel(20 + 80, 20 + 20), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(20 + 140, 20 + 6), RGB(40, 60, 160));
  EXPECT_EQ(canvas.InkIn(0, 0, 220, 20), 0);
  EXPECT_TRUE(canvas.Save(L"usbcom_symbol.bmp"));
}

// Texts of a window's children.
std::vector<std::wstring> ChildTexts(HWND parent) {
  std::vector<std::wstring> v;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    v.push_back(text);
  }
  return v;
}

TEST(UsbCom, SettingsFormShowsModelAndPrice) {
  usbtest::MainFormScope mainForm;
  Bench bench;
  auto* cable = bench.Create<CUSBCOM>("USB-COM");
  std::vector<std::wstring> texts;
  RECT frame = {};
  usbtest::ModalProbe probe([&] {
    CUartSettingsForm* form = usbtest::FindSettingsForm(L"Кабель-переходник USB->COM");
    ASSERT_NE(form, nullptr);
    GetWindowRect(form->GetHandle(), &frame);
    texts = ChildTexts(form->GetHandle());
    form->stopBox->SetSelectedIndex(1);
    RedrawWindow(form->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    velktest::FlushEvents();
    EXPECT_TRUE(velktest::SaveWindowBitmap(form->GetHandle(), comptest::ScreenshotFolder() + L"usbcom_settings.bmp"));
    SendMessageW(form->cancelButton->GetHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(cable->Edit());
  EXPECT_TRUE(probe.Ran());
  EXPECT_EQ(cable->settings.stopBits, 1);
  EXPECT_EQ(frame.right - frame.left, 320);
  EXPECT_EQ(frame.bottom - frame.top, 260);
  auto has = [&](const wchar_t* t) {
    for (const std::wstring& s : texts)
      if (s == t) return true;
    return false;
  };
  EXPECT_TRUE(has(L"Кабель-переходник USB->COM (9M)"));
  EXPECT_TRUE(has(L"ORIENT \"USS-101\" (0.8м). Цена 330.00 руб."));
  EXPECT_TRUE(has(L"Скорость:"));
  EXPECT_TRUE(has(L"Протокол:"));
}

}  // namespace
