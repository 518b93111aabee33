// The on-board computer: pins, offsets and device blocks from the model,
// the record with its program, the supplies, the power switch, the boot and
// its grace, the battery, burning out, and the skipped steps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_host.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/library/interfaces/audio_in.h"
#include "blocks/library/interfaces/board_uart.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "components/devices/device_kit.h"
#include "foundation/memory_stream.h"
#include "foundation/random.h"
#include "scheme/model/scheme.h"
#include "units/catalogues/unit_catalogues.h"
#include "units/computers/board_computer.h"
#include "units/unit_classes.h"

namespace {

class UnitBench : public devtest::DeviceBench {
public:
  UnitBench() { RegisterUnitComponentCreators(); }
};

class PassCounter : public CBEBlock {
public:
  void Step(float) override { ++passes; }
  int passes = 0;
};

using Cells = std::initializer_list<std::pair<const char*, const char*>>;

// A computer of the bench with the model's cells (every other key 0).
CSCHBoardComputer* Make(UnitBench& bench, Cells cells) {
  const char* keys[] = {"type", "U1Type", "U1", "I1", "U2", "I2", "U3", "I3", "U4", "I4",
                        "hours", "ONType", "LoadTime", "HD", "HD_IFACE", "USB", "COM", "UART",
                        "LPT", "GPIO", "Ethernet", "WiFi", "bluetooth", "WiFiAntenna", "AudioOut",
                        "AudioIn", "CamIface", "can"};
  std::vector<std::pair<std::string, std::string>> all = {{"model", "Test board"}};
  for (const char* k : keys) {
    std::string value = "0";
    for (const auto& c : cells)
      if (strcmp(c.first, k) == 0) value = c.second;
    all.push_back({k, value});
  }
  std::vector<std::pair<const char*, const char*>> ptrs;
  for (const auto& a : all) ptrs.push_back({a.first.c_str(), a.second.c_str()});
  CSCHBoardComputer* pc = bench.Create<CSCHBoardComputer>("BOARD_COMPUTER");
  if (!pc) return nullptr;
  // DbRow takes an initializer list: build the table text the same way.
  std::string captions, values, choices;
  for (size_t i = 0; i < ptrs.size(); ++i) {
    const char* sep = i ? "\t" : "";
    captions += sep + std::string(ptrs[i].first);
    values += sep + std::string(ptrs[i].second);
    choices += sep;
  }
  std::string text = "Test table\n" + captions + "\n" + captions + "\n" + choices + "\n" + values + "\n";
  CompDbTable table(L"computers");
  EXPECT_TRUE(table.LoadFromBytes(text.data(), text.size()));
  pc->ApplyDbRecord(table.GetRecord(0));
  return pc;
}

struct PinRow {
  const wchar_t* name;
  int side;
  int kind;
  int number;
  int offset;  // -1: not checked (left side, spread)
  const wchar_t* description;
};

TEST(BoardComputer, PinsOffsetsAndDeviceBlocksComeFromTheModel) {
  UnitBench bench;
  CSCHBoardComputer* pc = Make(bench, {{"U1", "12"}, {"I1", "2"}, {"U2", "5"}, {"I2", "1"}, {"ONType", "1"},
                                       {"LoadTime", "30"}, {"HD", "1"}, {"HD_IFACE", "1"}, {"USB", "2"},
                                       {"COM", "1"}, {"UART", "1"}, {"GPIO", "2"}, {"Ethernet", "1"},
                                       {"WiFi", "1"}, {"WiFiAntenna", "1"}, {"AudioIn", "2"}, {"CamIface", "1"}});
  ASSERT_NE(nullptr, pc);
  const wchar_t* S = L"Питание";
  const PinRow rows[] = {
      {L"GND", 0, 0, -1, -1, S},
      {L"+12V", 0, 0, -1, -1, S},
      {L"+5V", 0, 0, -1, -1, S},
      {L"PwrSw", 0, 0, -1, -1, L"Кнопка включения"},
      {L"PwrSw", 0, 0, -1, -1, L"Кнопка включения"},
      {L"Hard", 3, 5, -1, 10, L"Подключение жесткого диска (SATA)"},
      {L"USB0", 3, 1, -1, 49, L"USB-host"},
      {L"USB1", 3, 1, -1, 88, L"USB-host"},
      {L"COM1 RD", 3, 0, 2, 127, L"Вход COM-порта"},
      {L"COM1 TD", 3, 0, 3, 140, L"Выход COM-порта"},
      {L"COM1 GND", 3, 0, 5, 153, L"\"Земля\" COM-порта"},
      {L"UART1 RD", 3, 0, 2, 192, L"Вход UART-порта"},
      {L"UART1 TD", 3, 0, 3, 205, L"Выход UART-порта"},
      {L"UART1 GND", 3, 0, 5, 218, L"\"Земля\" UART-порта"},
      {L"GPIO", 3, 0, 0, 257, L"Ножка для ввода/вывода"},
      {L"GPIO", 3, 0, 1, 270, L"Ножка для ввода/вывода"},
      {L"LAN", 3, 2, -1, 309, L"Подключение кабеля Ethernet"},
      {L"Ant", 3, 3, -1, 348, L"Антенна WiFi"},
      {L"Mic1 In", 3, 0, -1, 387, L"Вход микрофона (\"Земля\")"},
      {L"Mic1 In", 3, 0, -1, 400, L"Вход микрофона (\"Сигнал\")"},
      {L"Mic2 In", 3, 0, -1, 426, L"Вход микрофона (\"Земля\")"},
      {L"Mic2 In", 3, 0, -1, 439, L"Вход микрофона (\"Сигнал\")"},
      {nullptr, 3, 0, -1, 465, nullptr},
  };
  ASSERT_EQ(23, pc->pinCount);
  for (int i = 0; i < 23; ++i) {
    SCOPED_TRACE(i);
    const SchPin& p = pc->pins[i];
    if (rows[i].name)
      EXPECT_STREQ(rows[i].name, p.name);
    else
      EXPECT_EQ(nullptr, p.name);
    EXPECT_EQ(rows[i].side, p.side);
    EXPECT_EQ(rows[i].kind, p.kind);
    EXPECT_EQ(rows[i].number, p.number);
    if (rows[i].offset >= 0) {
      EXPECT_EQ(rows[i].offset, p.offset);
    }
    if (rows[i].description)
      EXPECT_STREQ(rows[i].description, p.description);
    else
      EXPECT_EQ(nullptr, p.description);
  }
  // w = 2 + 6 + 5 + 4 + 4 + 3 + 3 + 3 + 5 = 35, less one.
  EXPECT_EQ(13 * 34 + 20, pc->rect.right - pc->rect.left);
  EXPECT_EQ(0, pc->GetSupplyPin(CSCHBoardComputer::kSupply1Return));
  EXPECT_EQ(1, pc->GetSupplyPin(CSCHBoardComputer::kSupply1Main));
  EXPECT_EQ(2, pc->GetSupplyPin(CSCHBoardComputer::kSupply2));
  EXPECT_EQ(0, pc->GetSupplyPin(CSCHBoardComputer::kSupply2Ground));
  EXPECT_EQ(3, pc->GetPowerSwitchPin());
  EXPECT_EQ(5, pc->GetDiskPin());
  std::vector<int> grounds(pc->GetGroundList().begin(), pc->GetGroundList().end());
  EXPECT_EQ((std::vector<int>{0, 3, 10, 13, 18, 20}), grounds);

  BeScheme* program = pc->GetProgram();
  EXPECT_EQ(GetBoardComputerCatalogue(), program->catalogue);
  EXPECT_EQ(pc, program->owner);
  EXPECT_FLOAT_EQ(1.3e9f, program->frequency);
  EXPECT_EQ(9, program->GetBlockCount());
  CBEUSB* usb0 = dynamic_cast<CBEUSB*>(pc->FindProgramBlock(L"USB0"));
  CBEUSB* usb1 = dynamic_cast<CBEUSB*>(pc->FindProgramBlock(L"USB1"));
  ASSERT_TRUE(usb0 && usb1);
  EXPECT_EQ(6, usb0->pinIndex);
  EXPECT_EQ(7, usb1->pinIndex);
  EXPECT_EQ(usb1->GetCaption(), pc->pins[7].name);
  CBECOMPort* com = dynamic_cast<CBECOMPort*>(pc->FindProgramBlock(L"COM1"));
  ASSERT_NE(nullptr, com);
  EXPECT_EQ(nullptr, dynamic_cast<CBEBoardUART*>(com));
  EXPECT_EQ(8, com->pinIndex);
  EXPECT_EQ(com->rdName, pc->pins[8].name);
  EXPECT_EQ(com->gndName, pc->pins[10].name);
  CBEBoardUART* uart = dynamic_cast<CBEBoardUART*>(pc->FindProgramBlock(L"UART1"));
  ASSERT_NE(nullptr, uart);
  EXPECT_EQ(11, uart->pinIndex);
  CBEGPIO* gpio = dynamic_cast<CBEGPIO*>(pc->FindProgramBlock(L"GPIO"));
  ASSERT_NE(nullptr, gpio);
  EXPECT_EQ(14, gpio->firstPin);
  EXPECT_EQ(2, gpio->lineCount);
  CBELAN* lan = dynamic_cast<CBELAN*>(pc->FindProgramBlock(L"LAN"));
  ASSERT_NE(nullptr, lan);
  EXPECT_EQ(16, lan->pinIndex);
  CBEWiFi* wifi = dynamic_cast<CBEWiFi*>(pc->FindProgramBlock(L"Модуль WiFi"));
  ASSERT_NE(nullptr, wifi);
  EXPECT_EQ(17, wifi->antennaPin);
  CBEAudioIn* mic1 = dynamic_cast<CBEAudioIn*>(pc->FindProgramBlock(L"Mic1 In"));
  CBEAudioIn* mic2 = dynamic_cast<CBEAudioIn*>(pc->FindProgramBlock(L"Mic2 In"));
  ASSERT_TRUE(mic1 && mic2);
  EXPECT_EQ(18, mic1->pinIndex);
  EXPECT_EQ(20, mic2->pinIndex);
  for (CBEBlock* b = program->blocks; b; b = b->next) EXPECT_TRUE(b->IsDevice());

  // A new model keeps the blocks it finds again, makes the missing ones and
  // leaves the rest unbound.
  CBEBlock* before = usb0;
  CSCHBoardComputer* again = pc;
  comptest::DbRow row(L"computers", {{"model", "Other"}, {"U1", "5"}, {"I1", "1"}, {"HD", "1"}, {"USB", "3"},
                                     {"AudioIn", "1"}, {"Ethernet", "0"}});
  again->ApplyDbRecord(row.Record());
  EXPECT_EQ(before, again->FindProgramBlock(L"USB0"));
  ASSERT_NE(nullptr, again->FindProgramBlock(L"USB2"));
  EXPECT_EQ(11, program->GetBlockCount());  // + USB2, + "Mic In"
  EXPECT_EQ(2 + 3 + 2, again->pinCount);
  EXPECT_STREQ(L"Mic In", again->pins[5].name);
  EXPECT_STREQ(L"+5V", again->pins[1].name);
}

TEST(BoardComputer, AlternatingAndConnectorSuppliesNameTheirPins) {
  UnitBench bench;
  CSCHBoardComputer* ac = Make(bench, {{"U1Type", "1"}, {"U1", "220.7"}, {"I1", "0.5"}, {"U2", "12"}, {"I2", "1"}});
  ASSERT_NE(nullptr, ac);
  ASSERT_EQ(4, ac->pinCount);  // ~220V twice, GND, +12V
  EXPECT_STREQ(L"~220V", ac->pins[0].name);
  EXPECT_EQ(ac->pins[0].name, ac->pins[1].name);
  EXPECT_EQ(0, ac->GetSupplyPin(CSCHBoardComputer::kSupply1Return));
  EXPECT_EQ(1, ac->GetSupplyPin(CSCHBoardComputer::kSupply1Main));
  EXPECT_STREQ(L"GND", ac->pins[2].name);
  EXPECT_EQ(2, ac->GetSupplyPin(CSCHBoardComputer::kSupply2Ground));
  EXPECT_STREQ(L"+12V", ac->pins[3].name);

  CSCHBoardComputer* atx = Make(bench, {{"U1Type", "2"}, {"U1", "0"}, {"I1", "10"}, {"USB", "0"}});
  ASSERT_NE(nullptr, atx);
  ASSERT_EQ(1, atx->pinCount);
  EXPECT_STREQ(L"ATX", atx->pins[0].name);
  EXPECT_EQ(kSchPinAtx24, atx->pins[0].kind);
  EXPECT_STREQ(L"Разъем питания ATX 24", atx->pins[0].description);
}

// The fields before the program, written by hand for this model.
TEST(BoardComputer, RecordRoundTripsWithTheProgramAndRebindsItsBlocks) {
  UnitBench bench;
  CSCHBoardComputer* pc = Make(bench, {{"type", "3"}, {"U1", "12"}, {"I1", "2"}, {"hours", "1.5"},
                                       {"LoadTime", "20"}, {"HD", "1"}, {"USB", "1"}, {"COM", "1"},
                                       {"Ethernet", "1"}, {"AudioOut", "2"}, {"AudioIn", "1"}});
  ASSERT_NE(nullptr, pc);
  pc->SetName(L"PC1");
  std::vector<uint8_t> bytes = comptest::SaveBytes(pc);
  std::vector<uint8_t> head = comptest::Golden()
                                  .B(3)
                                  .B(0)
                                  .F(12)
                                  .F(2)
                                  .F(0)
                                  .F(0)
                                  .F(0)
                                  .F(0)
                                  .F(0)
                                  .F(0)
                                  .F(1.5f)
                                  .B(0)
                                  .F(20)
                                  .B(1)
                                  .B(0)
                                  .B(1)
                                  .B(1)
                                  .B(0)
                                  .B(0)
                                  .B(0)
                                  .B(1)
                                  .B(0)
                                  .B(0)
                                  .B(0)
                                  .B(0x82)
                                  .B(0x81)
                                  .B(0)
                                  .B(0)
                                  .Bytes();
  ASSERT_GT(bytes.size(), head.size() + 4);
  EXPECT_EQ(head, std::vector<uint8_t>(bytes.begin(), bytes.begin() + head.size()));
  EXPECT_EQ(0, memcmp(bytes.data() + head.size(), "BE5 ", 4));

  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_NE(nullptr, copy);
  CSCHBoardComputer* read = dynamic_cast<CSCHBoardComputer*>(copy->FindBlockByName(L"PC1"));
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(2, read->AudioOut);
  EXPECT_EQ(1, read->AudioIn);
  EXPECT_FLOAT_EQ(1.5f, read->hours);
  EXPECT_EQ(pc->pinCount, read->pinCount);
  EXPECT_EQ(pc->GetProgram()->GetBlockCount(), read->GetProgram()->GetBlockCount());
  EXPECT_EQ(read, read->GetProgram()->owner);
  CBECOMPort* com = dynamic_cast<CBECOMPort*>(read->FindProgramBlock(L"COM1"));
  ASSERT_NE(nullptr, com);
  EXPECT_EQ(com->rdName, read->pins[com->pinIndex].name);
  EXPECT_EQ(bytes, devtest::ResavedBytes(read));
}

TEST(BoardComputer, AudioBytesWithoutTheMarkReadAsNone) {
  UnitBench bench;
  CSCHBoardComputer* pc = Make(bench, {{"U1", "5"}, {"I1", "1"}, {"AudioOut", "3"}, {"AudioIn", "2"}});
  ASSERT_NE(nullptr, pc);
  std::vector<uint8_t> bytes = comptest::SaveBytes(pc);
  const size_t audio = 2 + 9 * 4 + 1 + 4 + 1 + 6 + 4;
  ASSERT_EQ(0x83, bytes[audio]);
  ASSERT_EQ(0x82, bytes[audio + 1]);
  bytes[audio] = 3;
  bytes[audio + 1] = 2;
  std::unique_ptr<CSCHBoardComputer> copy = comptest::NewDetached<CSCHBoardComputer>("BOARD_COMPUTER");
  ASSERT_NE(nullptr, copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(0, copy->AudioOut);
  EXPECT_EQ(0, copy->AudioIn);
}

size_t FindProgramStream(const std::vector<uint8_t>& bytes) {
  for (size_t i = 0; i + 4 <= bytes.size(); ++i)
    if (memcmp(bytes.data() + i, "BE5 ", 4) == 0) return i;
  return std::string::npos;
}

TEST(BoardComputer, AProgramThatCannotBeReadFailsTheDocumentAndLeavesNothing) {
  UnitBench bench;
  devtest::ReadErrorHost errors;
  ASSERT_NE(nullptr, Make(bench, {{"U1", "5"}, {"I1", "1"}, {"USB", "1"}}));
  bench.Create<CSCHBlock>("GND");
  CMemoryStream out;
  bench.scheme->Write(&out, 0);
  std::vector<uint8_t> bytes = comptest::StreamBytes(out);
  size_t at = FindProgramStream(bytes);
  ASSERT_NE(std::string::npos, at);
  bytes[at + 2] = '4';
  CMemoryStream in;
  in.Write(bytes.data(), static_cast<int>(bytes.size()));
  in.Seek(0, 0);
  SchScheme copy;
  EXPECT_FALSE(copy.Read(&in, 0));
  EXPECT_EQ(0, copy.BlockCount());
}

TEST(BoardComputer, RunStateAppendsTheRunTimer) {
  UnitBench bench;
  CSCHBoardComputer* pc = Make(bench, {{"U1", "5"}, {"I1", "1"}, {"HD", "1"}, {"LoadTime", "7"}});
  ASSERT_NE(nullptr, pc);
  bench.Build();
  bench.Start();
  EXPECT_FLOAT_EQ(0.1f, pc->GetRunTimer());
  std::vector<uint8_t> state = comptest::SaveRunStateBytes(pc);
  std::vector<uint8_t> expected = comptest::Golden().Raw("BOARD_COMPUTER", 15).B(0).F(0.1f).Bytes();
  EXPECT_EQ(expected, state);
  bench.Stop();
  std::unique_ptr<CSCHBoardComputer> copy = comptest::NewDetached<CSCHBoardComputer>("BOARD_COMPUTER");
  ASSERT_NE(nullptr, copy);
  EXPECT_TRUE(comptest::LoadRunStateBytes(copy.get(), state));
  EXPECT_FLOAT_EQ(0.1f, copy->GetRunTimer());
}

// A 12 V, 2 A computer wired to a supply of its own, with a counter in its
// program.
struct Powered {
  explicit Powered(Cells extra) {
    // The extras first: a key's first column is the one read.
    std::vector<std::pair<const char*, const char*>> cells(extra.begin(), extra.end());
    for (const auto& c : {std::make_pair("U1", "12"), std::make_pair("I1", "2"), std::make_pair("USB", "0")})
      cells.push_back(c);
    pc = MakeList(cells);
    supply = bench.Source(12, 0.1f);
    ground = bench.Ground();
    bench.Wire(ground, 0, pc, pc->GetSupplyPin(CSCHBoardComputer::kSupply1Return));
    bench.Wire(supply, 0, pc, pc->GetSupplyPin(CSCHBoardComputer::kSupply1Main));
    counter = new PassCounter;
    counter->AttachToScheme(pc->GetProgram());
  }
  CSCHBoardComputer* MakeList(const std::vector<std::pair<const char*, const char*>>& cells);
  void Volts(float U) { supply->Drive(0, U, 0.1f); }

  UnitBench bench;
  CSCHBoardComputer* pc = nullptr;
  circuit::Part* supply = nullptr;
  circuit::Part* ground = nullptr;
  PassCounter* counter = nullptr;
};

CSCHBoardComputer* Powered::MakeList(const std::vector<std::pair<const char*, const char*>>& cells) {
  std::string captions = "model", values = "Test", choices;
  for (const auto& c : cells) {
    captions += "\t" + std::string(c.first);
    values += "\t" + std::string(c.second);
    choices += "\t";
  }
  std::string text = "Test table\n" + captions + "\n" + captions + "\n" + choices + "\n" + values + "\n";
  CompDbTable table(L"computers");
  EXPECT_TRUE(table.LoadFromBytes(text.data(), text.size()));
  CSCHBoardComputer* made = bench.Create<CSCHBoardComputer>("BOARD_COMPUTER");
  if (made) made->ApplyDbRecord(table.GetRecord(0));
  return made;
}

TEST(BoardComputer, AComputerWithADiskAndPowerRunsAtOnce) {
  Powered p({{"HD", "1"}, {"LoadTime", "0.5"}});
  ASSERT_NE(nullptr, p.pc);
  p.bench.Build();
  p.bench.Start();
  EXPECT_TRUE(p.pc->IsProgramRunning());
  p.bench.Step(16, 1e-3f);
  EXPECT_GT(p.counter->passes, 0);
  EXPECT_FALSE(p.pc->burnt);
  // The ground reference is what the return pin sees: the ideal ground.
  float U = 1, R = 1;
  p.pc->GetGroundReference(&U, &R);
  EXPECT_NEAR(0.0f, U, 1e-4f);
  EXPECT_LT(R, 1e-3f);
  p.bench.Stop();
  EXPECT_FALSE(p.pc->IsProgramRunning());
}

TEST(BoardComputer, ALossUpTo100MsIsSurvivedALongerOneNeedsAFullBoot) {
  CRandomSeedScope seed(1);
  Powered p({{"HD", "1"}, {"LoadTime", "0.5"}});
  ASSERT_NE(nullptr, p.pc);
  p.bench.Build();
  p.bench.Start();
  p.bench.Step(50, 1e-3f);
  ASSERT_TRUE(p.pc->IsProgramRunning());
  // 90 ms without power, back, 90 ms without again: still running.
  for (int round = 0; round < 2; ++round) {
    p.Volts(0);
    p.bench.Step(90, 1e-3f);
    EXPECT_TRUE(p.pc->IsProgramRunning()) << round;
    p.Volts(12);
    p.bench.Step(10, 1e-3f);
    EXPECT_TRUE(p.pc->IsProgramRunning()) << round;
    EXPECT_FLOAT_EQ(kUnitBootGrace, p.pc->GetRunTimer());
  }
  // 110 ms: stopped, then the whole boot time with power.
  p.Volts(0);
  p.bench.Step(110, 1e-3f);
  EXPECT_FALSE(p.pc->IsProgramRunning());
  EXPECT_FLOAT_EQ(-0.5f, p.pc->GetRunTimer());
  p.Volts(12);
  p.bench.Step(495, 1e-3f);
  EXPECT_FALSE(p.pc->IsProgramRunning());
  p.bench.Step(10, 1e-3f);
  EXPECT_TRUE(p.pc->IsProgramRunning());
  p.bench.Stop();
}

TEST(BoardComputer, WithoutADiskTheProgramNeverStarts) {
  Powered p({{"HD", "0"}, {"HD_IFACE", "0"}, {"LoadTime", "0"}});
  ASSERT_NE(nullptr, p.pc);
  p.bench.Build();
  p.bench.Start();
  EXPECT_FLOAT_EQ(-0.01f, p.pc->GetRunTimer());  // a boot time of 0 is 10 ms
  p.bench.Step(100, 1e-3f);
  EXPECT_FALSE(p.pc->IsProgramRunning());
  EXPECT_EQ(0, p.counter->passes);
  p.bench.Stop();
}

TEST(BoardComputer, ThePowerSwitchKeepsItOffUntilItsPinsAreJoined) {
  for (bool joined : {false, true}) {
    SCOPED_TRACE(joined);
    Powered p({{"HD", "1"}, {"ONType", "1"}, {"LoadTime", "0.02"}});
    ASSERT_NE(nullptr, p.pc);
    int sw = p.pc->GetPowerSwitchPin();
    ASSERT_GE(sw, 0);
    if (joined) p.bench.Wire(p.pc, sw, p.pc, sw + 1);
    p.bench.Build();
    p.bench.Start();
    EXPECT_FALSE(p.pc->IsSwitchedOn());
    EXPECT_FALSE(p.pc->IsProgramRunning());
    p.bench.Step(1, 1e-3f);
    EXPECT_EQ(joined, p.pc->IsSwitchedOn());
    p.bench.Step(30, 1e-3f);
    EXPECT_EQ(joined, p.pc->IsProgramRunning());
    p.bench.Stop();
  }
}

TEST(BoardComputer, TheBatteryKeepsItRunningForItsCharge) {
  Powered p({{"HD", "1"}, {"hours", "1"}, {"LoadTime", "1"}});
  ASSERT_NE(nullptr, p.pc);
  p.bench.Build();
  p.bench.Start();
  EXPECT_FLOAT_EQ(1800.0f, p.pc->GetBattery());  // no power switch: 1800 s less
  p.Volts(0);
  p.bench.Step(179, 10.0f);
  EXPECT_TRUE(p.pc->IsProgramRunning());
  p.bench.Step(2, 10.0f);
  EXPECT_FALSE(p.pc->IsProgramRunning());
  p.bench.Stop();
}

TEST(BoardComputer, OverAndReverseVoltageBurnItOutOnce) {
  for (float volts : {20.0f, -5.0f}) {
    SCOPED_TRACE(volts);
    comptest::LogCapture log;
    Powered p({{"HD", "1"}});
    ASSERT_NE(nullptr, p.pc);
    p.pc->SetName(L"PC7");
    p.bench.Build();
    p.bench.Start();
    p.Volts(volts);
    p.bench.Step(3, 1e-3f);
    EXPECT_TRUE(p.pc->burnt);
    ASSERT_EQ(1, log.Count());
    EXPECT_EQ(L"Бортовой вычислитель \"PC7\" вышел из строя", log.Messages()[0]);
    // From then on its pins are open.
    float R = 0;
    comptest::Bench::Read(p.supply, 0, &R);
    EXPECT_GT(R, 1e6f);
    p.bench.Stop();
  }
}

TEST(BoardComputer, AZeroRatedCurrentIsAnOpenLoadNotANaN) {
  Powered p({{"HD", "1"}, {"I1", "0"}, {"U2", "5"}, {"I2", "0"}});
  ASSERT_NE(nullptr, p.pc);
  p.bench.Build();
  p.bench.Start();
  p.bench.Step(5, 1e-3f);
  for (int i = 0; i < p.pc->pinCount; ++i) {
    float U = 0, R = 0;
    p.pc->GetPinInput(i, &U, &R);
    EXPECT_TRUE(std::isfinite(U)) << i;
    EXPECT_TRUE(std::isfinite(R)) << i;
  }
  float R = 0;
  float U = comptest::Bench::Read(p.supply, 0, &R);
  EXPECT_TRUE(std::isfinite(U));
  EXPECT_GT(R, 1e6f);  // nothing drawn from the supply
  EXPECT_FALSE(p.pc->burnt);
  p.bench.Stop();
}

TEST(BoardComputer, SkippedStepsAreMadeUpAndFollowTheSeed) {
  std::vector<int> first;
  for (int run = 0; run < 2; ++run) {
    CRandomSeedScope seed(12345);
    Powered p({{"HD", "1"}});
    ASSERT_NE(nullptr, p.pc);
    p.bench.Build();
    p.bench.Start();
    std::vector<int> passes;
    int skipped = 0;
    for (int k = 1; k <= 200; ++k) {
      p.bench.Step(1, 1e-3f);
      passes.push_back(p.counter->passes);
      if (p.counter->passes < k) ++skipped;
      // Whenever the program ran, it caught up with every step.
      if (k > 1 && passes[k - 1] != passes[k - 2]) {
        EXPECT_EQ(k, p.counter->passes) << k;
      }
    }
    EXPECT_GT(skipped, 0);
    EXPECT_LT(skipped, 100);
    if (run == 0)
      first = passes;
    else
      EXPECT_EQ(first, passes);
    p.bench.Stop();
  }
}

}  // namespace
