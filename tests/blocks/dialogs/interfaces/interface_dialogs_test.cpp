// The property dialogs of the interface devices: each class's top panel,
// its lists and what "OK" writes (the bits-per-byte rule, the speeds, the
// RS-485 direction output, the SSID, the SPI's and TWI's settings).
#include <windows.h>

#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/form_steps.h"
#include "blocks/dialogs/interfaces/interface_device_dlg.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/interfaces/board_uart.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "blocks/library/mcu/spi.h"
#include "blocks/library/mcu/twi.h"
#include "blocks/library/mcu/uart.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/graphics/kest_image_box.h"
#include "kestui/lists/kest_combo_box.h"
#include "support/form_queries.h"

namespace {

using blocktest::Bench;
using dialogtest::DialogTest;
using dialogtest::Find;
using dialogtest::Items;
using dialogtest::Press;
using dialogtest::RunSteps;
using dialogtest::Selected;

class InterfaceDialogsTest : public DialogTest {};

// Runs the block's dialog with one step, then "OK" (or "Отмена").
bool Confirm(CBEBlock* block, const std::function<void(CKestForm*)>& fill, bool ok = true) {
  return RunSteps([block] { return block->ShowProperties(); },
                  {[=](CKestForm* form) {
                    if (fill) fill(form);
                    Press(form, ok ? L"OK" : L"Отмена");
                  }});
}

std::vector<std::wstring> Labels(CKestForm* form) {
  std::vector<std::wstring> texts;
  for (CKestLabel* label : Find<CKestLabel>(form)) texts.push_back(velktest::WindowText(label->GetHandle()));
  return texts;
}

void Screenshot(CKestForm* form, const wchar_t* name) {
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), name));
}

const std::vector<std::wstring> kComSpeeds = {L"110",   L"300",   L"600",   L"1200",  L"2400",  L"9600",
                                              L"11400", L"19200", L"38400", L"56000", L"57600", L"115200"};
const std::vector<std::wstring> kParities = {L"Нет", L"Четность", L"Нечетность"};
const std::vector<std::wstring> kProtocols = {L"Асинхронный обмен", L"Обмен по запросу. Ведущий",
                                              L"Обмен по запросу. Ведомый"};

struct ComCase {
  int speedItem, parity, stopItem;
  int speed, bits;
};

TEST_F(InterfaceDialogsTest, ComPortListsAndTheBitsPerByteRule) {
  // bits = 9 + min(stop bits, 2) + 1 with parity.
  const ComCase cases[] = {
      {11, 1, 2, 115200, 12},  // 115200, even parity, 1.5 stop bits
      {0, 0, 0, 110, 10},       {5, 0, 1, 9600, 11}, {6, 2, 0, 11400, 11}, {10, 2, 1, 57600, 12},
  };
  for (const ComCase& c : cases) {
    SCOPED_TRACE(c.speed);
    Bench bench;
    auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
    ASSERT_NE(nullptr, com);
    com->speed = 9600;
    com->parity = 2;
    com->stopBits = 3;
    com->protocol = 1;
    EXPECT_TRUE(Confirm(com, [&](CKestForm* form) {
      auto lists = Find<CKestComboBox>(form);
      ASSERT_EQ(4u, lists.size());
      EXPECT_EQ(kComSpeeds, Items(lists[0]));
      EXPECT_EQ(L"9600", Selected(lists[0]));
      EXPECT_EQ(kParities, Items(lists[1]));
      EXPECT_EQ(L"Нечетность", Selected(lists[1]));
      EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"1.5"}), Items(lists[2]));
      EXPECT_EQ(L"1.5", Selected(lists[2]));
      EXPECT_EQ(kProtocols, Items(lists[3]));
      EXPECT_EQ(L"Обмен по запросу. Ведущий", Selected(lists[3]));
      EXPECT_EQ((std::vector<std::wstring>{L"Скорость:", L"Четность:", L"Стоп бит:", L"Протокол:",
                                           L"Передаваемые данные", L"Принимаемые данные"}),
                Labels(form));
      RECT protocol = velktest::RectIn(form->GetHandle(), lists[3]->GetHandle());
      EXPECT_EQ(250, protocol.right - protocol.left);
      if (c.speed == 115200) Screenshot(form, L"dialogs_com_port.bmp");
      lists[0]->SetSelectedIndex(c.speedItem);
      lists[1]->SetSelectedIndex(c.parity);
      lists[2]->SetSelectedIndex(c.stopItem);
      lists[3]->SetSelectedIndex(2);
    }));
    EXPECT_EQ(c.speed, com->speed);
    EXPECT_EQ(c.parity, com->parity);
    EXPECT_EQ(c.stopItem + 1, com->stopBits);
    EXPECT_EQ(c.bits, com->bitsPerByte);
    EXPECT_EQ(2, com->protocol);
    // The format words follow the new line (a slave marks what it sends).
    CBECOMPort expected;
    expected.speed = com->speed;
    expected.bitsPerByte = com->bitsPerByte;
    expected.parity = com->parity;
    expected.protocol = com->protocol;
    expected.UpdateLineFormat();
    EXPECT_EQ(expected.sendFormat, com->sendFormat);
    EXPECT_EQ(expected.receiveFormat, com->receiveFormat);
  }
}

TEST_F(InterfaceDialogsTest, ASpeedOutsideTheListOpensWithNoneAndIsKept) {
  Bench bench;
  auto* uart = bench.Create<CBEBoardUART>(kBeBoardUARTClassId);
  ASSERT_NE(nullptr, uart);
  uart->speed = 4800;
  EXPECT_TRUE(Confirm(uart, [](CKestForm* form) {
    EXPECT_EQ(-1, Find<CKestComboBox>(form)[0]->GetSelectedIndex());
  }));
  EXPECT_EQ(4800, uart->speed);
  EXPECT_EQ(10, uart->bitsPerByte);
}

TEST_F(InterfaceDialogsTest, UartStopBitsReopenAsWritten) {
  Bench bench;
  auto* uart = bench.Create<CBEUART>(kBeAvrUARTClassId);
  ASSERT_NE(nullptr, uart);
  EXPECT_TRUE(Confirm(uart, [](CKestForm* form) {
    auto lists = Find<CKestComboBox>(form);
    ASSERT_EQ(4u, lists.size());
    EXPECT_EQ((std::vector<std::wstring>{L"115200", L"57600", L"56000", L"38400", L"19200", L"11400", L"9600",
                                         L"2400", L"1200", L"600", L"300", L"110"}),
              Items(lists[0]));
    EXPECT_EQ(L"115200", Selected(lists[0]));
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2"}), Items(lists[2]));
    EXPECT_EQ(L"1", Selected(lists[2]));
    auto checks = Find<CKestCheckBox>(form);
    ASSERT_EQ(2u, checks.size());
    EXPECT_EQ(L"Включен", velktest::WindowText(checks[0]->GetHandle()));
    EXPECT_EQ(L"Режим RS-485", velktest::WindowText(checks[1]->GetHandle()));
    Screenshot(form, L"dialogs_uart.bmp");
    lists[0]->SetSelectedIndex(6);
    lists[1]->SetSelectedIndex(0);
    lists[2]->SetSelectedIndex(1);
    SendMessageW(checks[0]->GetHandle(), BM_CLICK, 0, 0);
  }));
  EXPECT_EQ(11, uart->bitsPerByte);
  EXPECT_EQ(6, uart->speedIndex);
  EXPECT_EQ(9600, uart->speed);
  EXPECT_EQ(1, uart->enabled);
  EXPECT_TRUE(Confirm(uart, [](CKestForm* form) {
    EXPECT_EQ(L"2", Selected(Find<CKestComboBox>(form)[2]));
    Find<CKestComboBox>(form)[1]->SetSelectedIndex(1);
  }));
  EXPECT_EQ(12, uart->bitsPerByte) << "two stop bits and parity";
  EXPECT_TRUE(Confirm(uart, [](CKestForm* form) { EXPECT_EQ(L"2", Selected(Find<CKestComboBox>(form)[2])); }));
  EXPECT_EQ(12, uart->bitsPerByte);
}

// RS-485 on a UART with two received fields: "dir485" (a bit) becomes
// output 1, counted from 0, after the fixed "TXD"; the fields follow; the
// links of the fields are cleared. Off again: "dir485" goes (its readers
// with it) and the fields move back. Confirming without touching RS-485
// keeps the fields' links.
TEST_F(InterfaceDialogsTest, Rs485AddsAndRemovesTheDirectionOutput) {
  Bench bench;
  auto* uart = bench.Create<CBEUART>(kBeAvrUARTClassId);
  ASSERT_NE(nullptr, uart);
  ASSERT_TRUE(uart->SetReceiveFieldCount(2));
  ASSERT_TRUE(uart->SetReceiveField(0, L"a", kBeSignalInt, 1));
  ASSERT_TRUE(uart->SetReceiveField(1, L"b", kBeSignalChar, 2));
  auto reader = [&](int output) {
    blocktest::Source* r = bench.Source(kBeSignalBit);
    r->SetInputCount(1);
    r->Input(0)->type = uart->Output(output)->type;
    bench.Link(uart, output, r, 0);
    return r;
  };
  CBEBlock* readA = reader(1);
  CBEBlock* readB = reader(2);
  EXPECT_TRUE(Confirm(uart, nullptr));
  EXPECT_EQ(uart->Output(1), readA->Input(0)->source) << "untouched RS-485 keeps the links";
  EXPECT_EQ(uart->Output(2), readB->Input(0)->source);

  EXPECT_TRUE(Confirm(uart, [](CKestForm* form) {
    auto* dlg = dynamic_cast<CInterfaceDeviceDlg*>(form);
    EXPECT_EQ((std::vector<std::wstring>{L"a|int|1", L"b|char|2"}), dialogtest::Rows(dlg->receiveList));
    SendMessageW(Find<CKestCheckBox>(form)[1]->GetHandle(), BM_CLICK, 0, 0);
  }));
  EXPECT_EQ(1, uart->rs485);
  EXPECT_EQ(2, uart->fixedOutputs);
  ASSERT_EQ(4, uart->outputCount);
  const int kDir = 1;  // counted from 0
  EXPECT_STREQ(L"dir485", uart->Output(kDir)->name);
  EXPECT_EQ(kBeSignalBit, uart->Output(kDir)->type);
  EXPECT_STREQ(L"a", uart->Output(2)->name);
  EXPECT_EQ(kBeSignalInt, uart->Output(2)->type);
  EXPECT_STREQ(L"b", uart->Output(3)->name);
  EXPECT_EQ(1, uart->receiveChannels[0]);
  EXPECT_EQ(2, uart->receiveChannels[1]);
  EXPECT_EQ(nullptr, readA->Input(0)->source);
  EXPECT_EQ(nullptr, readB->Input(0)->source);

  CBEBlock* readDir = reader(kDir);
  EXPECT_TRUE(Confirm(uart, [](CKestForm* form) {
    EXPECT_TRUE(Find<CKestCheckBox>(form)[1]->IsChecked());
    SendMessageW(Find<CKestCheckBox>(form)[1]->GetHandle(), BM_CLICK, 0, 0);
  }));
  EXPECT_EQ(0, uart->rs485);
  EXPECT_EQ(1, uart->fixedOutputs);
  ASSERT_EQ(3, uart->outputCount);
  EXPECT_STREQ(L"a", uart->Output(1)->name);
  EXPECT_STREQ(L"b", uart->Output(2)->name);
  EXPECT_EQ(nullptr, readDir->Input(0)->source) << "no field takes over dir485's readers";
}

TEST_F(InterfaceDialogsTest, WiFiModeAndAWholeSsid) {
  Bench bench;
  auto* wifi = bench.Create<CBEWiFi>(kBeWiFiClassId);
  ASSERT_NE(nullptr, wifi);
  wifi->SetSsid(L"robots");
  EXPECT_TRUE(Confirm(wifi, [](CKestForm* form) {
    auto lists = Find<CKestComboBox>(form);
    ASSERT_EQ(1u, lists.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Wireless client", L"ADHOC"}), Items(lists[0]));
    EXPECT_EQ(L"Wireless client", Selected(lists[0]));
    CKestEdit* ssid = Find<CKestEdit>(form)[0];
    EXPECT_EQ(L"robots", velktest::WindowText(ssid->GetHandle()));
    EXPECT_EQ(16, static_cast<int>(SendMessageW(ssid->GetHandle(), EM_GETLIMITTEXT, 0, 0)));
    Screenshot(form, L"dialogs_wifi.bmp");
    dialogtest::TypeInto(ssid, L"abcdefghijklmnopq");  // 17 typed: the edit keeps 16
    lists[0]->SetSelectedIndex(1);
    SendMessageW(Find<CKestCheckBox>(form)[0]->GetHandle(), BM_CLICK, 0, 0);
  }));
  EXPECT_STREQ(L"abcdefghijklmnop", wifi->ssid);
  EXPECT_EQ(kWiFiAdHoc, wifi->mode);
  EXPECT_EQ(1, wifi->enabled);
  EXPECT_TRUE(Confirm(wifi, [](CKestForm* form) { EXPECT_EQ(L"ADHOC", Selected(Find<CKestComboBox>(form)[0])); }));
}

TEST_F(InterfaceDialogsTest, SpiModeDividerAndFlags) {
  Bench bench;
  bench.scheme.frequency = 8000000.0f;
  auto* spi = bench.Create<CBESPI>(kBeAvrSPIClassId);
  ASSERT_NE(nullptr, spi);
  EXPECT_TRUE(Confirm(spi, [](CKestForm* form) {
    auto lists = Find<CKestComboBox>(form);
    ASSERT_EQ(2u, lists.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Выкл", L"Master", L"Slave"}), Items(lists[0]));
    EXPECT_EQ((std::vector<std::wstring>{L"1:2", L"1:4", L"1:8", L"1:16", L"1:32", L"1:64", L"1:128"}),
              Items(lists[1]));
    EXPECT_EQ(L"Выкл", Selected(lists[0]));
    EXPECT_EQ(L"1:2", Selected(lists[1]));
    EXPECT_EQ(1u, Find<CKestVSplitter>(form).size());
    auto checks = Find<CKestCheckBox>(form);
    ASSERT_EQ(3u, checks.size());
    Screenshot(form, L"dialogs_spi.bmp");
    lists[0]->SetSelectedIndex(1);
    lists[1]->SetSelectedIndex(3);
    SendMessageW(checks[0]->GetHandle(), BM_CLICK, 0, 0);
    SendMessageW(checks[2]->GetHandle(), BM_CLICK, 0, 0);
  }));
  EXPECT_EQ(1, spi->mode);
  EXPECT_EQ(3, spi->divider);
  EXPECT_EQ(1, spi->inversePolarity);
  EXPECT_EQ(0, spi->inverseEdge);
  EXPECT_EQ(1, spi->inverseBitOrder);
  EXPECT_EQ(500000, spi->speed) << "8 MHz over 16 (\"1:16\")";
  EXPECT_EQ(9, spi->bitsPerByte);
  EXPECT_EQ(1u + 0x10u + 0x40u, spi->sendFormat);
}

TEST_F(InterfaceDialogsTest, TwiKeepsItsRateOnlyAsMaster) {
  Bench bench;
  bench.scheme.frequency = 16000000.0f;
  auto* twi = bench.Create<CBETWI>(kBeAvrTWIClassId);
  ASSERT_NE(nullptr, twi);
  EXPECT_TRUE(Confirm(twi, [](CKestForm* form) {
    EXPECT_EQ((std::vector<std::wstring>{L"Выкл", L"Master", L"Slave"}), Items(Find<CKestComboBox>(form)[0]));
    EXPECT_TRUE(Find<CKestVSplitter>(form).empty()) << "no fixed outputs: no splitter";
    auto images = Find<CKestImageBox>(form);
    ASSERT_EQ(1u, images.size());
    EXPECT_NE(nullptr, images[0]->GetImage()) << "the formula's picture loaded";
    RECT image = velktest::RectIn(form->GetHandle(), images[0]->GetHandle());
    EXPECT_EQ(210, image.right - image.left);
    EXPECT_EQ(38, image.bottom - image.top);
    auto spins = Find<CKestSpinEdit>(form);
    ASSERT_EQ(2u, spins.size());
    RECT twbr = velktest::RectIn(form->GetHandle(), spins[0]->GetHandle());
    EXPECT_GE(twbr.top, image.bottom) << "the numbers below the formula";
    Screenshot(form, L"dialogs_twi.bmp");
    Find<CKestComboBox>(form)[0]->SetSelectedIndex(1);
    dialogtest::TypeInto(spins[0], L"72");
    dialogtest::TypeInto(spins[1], L"9");  // clamped to 3
  }));
  EXPECT_EQ(1, twi->mode);
  EXPECT_EQ(72, twi->twbr);
  EXPECT_EQ(3, twi->twps);
  EXPECT_EQ(1733, twi->speed) << "16 MHz / (16 + 2 x 72 x 64) = 16e6 / 9232";
  for (int mode : {2, 0}) {
    EXPECT_TRUE(Confirm(twi, [mode](CKestForm* form) {
      auto spins = Find<CKestSpinEdit>(form);
      EXPECT_EQ(72, spins[0]->GetIntValue());
      Find<CKestComboBox>(form)[0]->SetSelectedIndex(mode);
    }));
    EXPECT_EQ(mode, twi->mode);
    EXPECT_EQ(0, twi->twbr);
    EXPECT_EQ(0, twi->twps);
    EXPECT_EQ(1000000, twi->speed);
    twi->twbr = 72;
    twi->twps = 3;
  }
}

TEST_F(InterfaceDialogsTest, LanAndUsbShowOnlyTheFieldLists) {
  Bench bench;
  auto* usb = bench.Create<CBEUSB>(kBeUSBClassId);
  ASSERT_NE(nullptr, usb);
  EXPECT_TRUE(Confirm(usb, [](CKestForm* form) {
    EXPECT_EQ((std::vector<std::wstring>{L"Передаваемые данные", L"Принимаемые данные"}), Labels(form));
    EXPECT_TRUE(Find<CKestComboBox>(form).empty());
    EXPECT_TRUE(Find<CKestSpinEdit>(form).empty());
  }));
}

TEST_F(InterfaceDialogsTest, EveryWayOutButOkLeavesTheBlockAsItWas) {
  Bench bench;
  auto* uart = bench.Create<CBEUART>(kBeAvrUARTClassId);
  ASSERT_NE(nullptr, uart);
  std::vector<uint8_t> before = blocktest::RecordBytes(uart);
  EXPECT_FALSE(Confirm(
      uart,
      [](CKestForm* form) {
        SendMessageW(Find<CKestCheckBox>(form)[1]->GetHandle(), BM_CLICK, 0, 0);
        Find<CKestComboBox>(form)[0]->SetSelectedIndex(3);
      },
      false));
  EXPECT_FALSE(RunSteps([uart] { return uart->ShowProperties(); },
                        {[](CKestForm* form) { PostMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }}));
  EXPECT_EQ(before, blocktest::RecordBytes(uart));
  EXPECT_EQ(0, uart->rs485);
}

}  // namespace
