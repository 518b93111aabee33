// The control panel and its computer: the nested scheme with one computer,
// the computer's device blocks and pins, its charger and battery, records
// with the program inside, and nested streams that cannot be read.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_host.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/library/interfaces/dynamics.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "components/devices/device_kit.h"
#include "foundation/memory_stream.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_host.h"
#include "units/catalogues/unit_catalogues.h"
#include "units/computers/control_panel.h"
#include "units/computers/pult_computer.h"
#include "units/unit_classes.h"

namespace {

// The registry with the units' creators as at start-up.
class UnitBench : public devtest::DeviceBench {
public:
  UnitBench() { RegisterUnitComponentCreators(); }
};

std::vector<CBEBlock*> Blocks(BeScheme* program) {
  std::vector<CBEBlock*> v;
  for (CBEBlock* b = program->blocks; b; b = b->next) v.push_back(b);
  return v;
}

// Counts the passes of the program it is in.
class PassCounter : public CBEBlock {
public:
  void Step(float) override { ++passes; }
  int passes = 0;
};

// Notes the scheme editors and block editors asked for.
class EditorHost : public CSchemeHost, public CBlockHost {
public:
  EditorHost() : schemeScope_(this), blockScope_(this) {}
  bool OpenSchemeEditor(SchScheme* scheme, int mode, int, int) override {
    schemes.push_back(scheme);
    modes.push_back(mode);
    return true;
  }
  bool OpenBlockEditor(BeScheme* scheme, const wchar_t* title) override {
    programs.push_back(scheme);
    titles.push_back(title ? title : L"");
    return true;
  }
  std::vector<SchScheme*> schemes;
  std::vector<int> modes;
  std::vector<BeScheme*> programs;
  std::vector<std::wstring> titles;

private:
  CSchemeHostScope schemeScope_;
  CBlockHostScope blockScope_;
};

TEST(ControlPanel, ANewPanelHoldsOneComputerWithItsDeviceBlocks) {
  UnitBench bench;
  CSCHPult* pult = bench.Create<CSCHPult>("PULT");
  ASSERT_NE(nullptr, pult);
  EXPECT_STREQ(L"Пульт управления", pult->instanceName);
  EXPECT_EQ(0, pult->pinCount);
  EXPECT_EQ(200, pult->rect.right - pult->rect.left);
  EXPECT_EQ(100, pult->rect.bottom - pult->rect.top);
  ASSERT_NE(nullptr, pult->nestedScheme);
  ASSERT_EQ(1, pult->nestedScheme->BlockCount());
  CSCHPultComputer* computer = dynamic_cast<CSCHPultComputer*>(pult->nestedScheme->blocks);
  ASSERT_NE(nullptr, computer);

  EXPECT_STREQ(L"Компьютер пульта управления", computer->instanceName);
  EXPECT_EQ(kSchBoardPart, computer->flags & kSchBoardPart);
  EXPECT_EQ(230, computer->rect.right - computer->rect.left);
  EXPECT_EQ(157, computer->rect.bottom - computer->rect.top);
  EXPECT_FLOAT_EQ(9000.0f, computer->GetBattery());
  struct PinRow {
    int kind;
    const wchar_t* description;
    int offset;
  };
  const PinRow pins[] = {{kSchPinUsb, L"USB для подключения различных устройств", 113},
                         {kSchPinEthernet, L"Ethernet", 81},
                         {kSchPinElectric, L"Опционально, питание", 62},
                         {kSchPinElectric, L"Опционально, питание", 43}};
  ASSERT_EQ(4, computer->pinCount);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(nullptr, computer->pins[i].name);
    EXPECT_EQ(pins[i].kind, computer->pins[i].kind);
    EXPECT_STREQ(pins[i].description, computer->pins[i].description);
    EXPECT_EQ(pins[i].offset, computer->pins[i].offset);
    EXPECT_EQ(kSchSideRight, computer->pins[i].side);
  }

  BeScheme* program = computer->GetProgram();
  EXPECT_EQ(GetPultComputerCatalogue(), program->catalogue);
  EXPECT_EQ(computer, program->owner);
  EXPECT_FLOAT_EQ(1.3e9f, program->frequency);
  EXPECT_EQ(-1, program->romLimit);
  EXPECT_EQ(-1, program->ramLimit);
  EXPECT_EQ(50000, program->baseRom);
  // Newest first: audio system, WiFi, LAN, USB, user interface.
  std::vector<CBEBlock*> blocks = Blocks(program);
  ASSERT_EQ(5u, blocks.size());
  EXPECT_NE(nullptr, dynamic_cast<CBEDynamics*>(blocks[0]));
  CBEWiFi* wifi = dynamic_cast<CBEWiFi*>(blocks[1]);
  ASSERT_NE(nullptr, wifi);
  EXPECT_EQ(-1, wifi->antennaPin);
  CBELAN* lan = dynamic_cast<CBELAN*>(blocks[2]);
  ASSERT_NE(nullptr, lan);
  EXPECT_EQ(nullptr, dynamic_cast<CBEUSB*>(lan));
  EXPECT_STREQ(L"Ethernet", lan->GetCaption());
  EXPECT_EQ(1, lan->pinIndex);
  CBEUSB* usb = dynamic_cast<CBEUSB*>(blocks[3]);
  ASSERT_NE(nullptr, usb);
  EXPECT_STREQ(L"USB", usb->GetCaption());
  EXPECT_EQ(0, usb->pinIndex);
  EXPECT_NE(nullptr, dynamic_cast<CBEUI*>(blocks[4]));
  for (CBEBlock* b : blocks) EXPECT_TRUE(b->IsDevice());
}

TEST(ControlPanel, EditOpensThePanelSchemeAndTheComputersProgram) {
  UnitBench bench;
  EditorHost host;
  CSCHPult* pult = bench.Create<CSCHPult>("PULT");
  ASSERT_NE(nullptr, pult);
  EXPECT_FALSE(pult->Edit());
  ASSERT_EQ(1u, host.schemes.size());
  EXPECT_EQ(pult->nestedScheme, host.schemes[0]);
  EXPECT_EQ(2, host.modes[0]);
  CSCHPultComputer* computer = dynamic_cast<CSCHPultComputer*>(pult->nestedScheme->blocks);
  ASSERT_NE(nullptr, computer);
  EXPECT_FALSE(computer->Edit());
  EXPECT_FALSE(computer->Edit());
  ASSERT_EQ(2u, host.programs.size());
  EXPECT_EQ(computer->GetProgram(), host.programs[1]);
  EXPECT_EQ(L"Компьютер пульта управления", host.titles[0]);
}

TEST(ControlPanel, SavedAndReadPanelHoldsOneComputerWithOneSetOfDevices) {
  UnitBench bench;
  CSCHPult* pult = bench.Create<CSCHPult>("PULT");
  ASSERT_NE(nullptr, pult);
  CSCHPultComputer* computer = dynamic_cast<CSCHPultComputer*>(pult->nestedScheme->blocks);
  ASSERT_NE(nullptr, computer);
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_NE(nullptr, copy);
  ASSERT_EQ(1, copy->BlockCount());
  CSCHPult* read = dynamic_cast<CSCHPult*>(copy->blocks);
  ASSERT_NE(nullptr, read);
  ASSERT_EQ(1, read->nestedScheme->BlockCount());
  CSCHPultComputer* readComputer = dynamic_cast<CSCHPultComputer*>(read->nestedScheme->blocks);
  ASSERT_NE(nullptr, readComputer);
  std::vector<CBEBlock*> blocks = Blocks(readComputer->GetProgram());
  ASSERT_EQ(5u, blocks.size());
  CBELAN* usb = dynamic_cast<CBEUSB*>(readComputer->GetProgram()->FindDeviceBlock(L"USB"));
  ASSERT_NE(nullptr, usb);
  EXPECT_EQ(0, usb->pinIndex);
  CBELAN* lan = dynamic_cast<CBELAN*>(readComputer->GetProgram()->FindDeviceBlock(L"Ethernet"));
  ASSERT_NE(nullptr, lan);
  EXPECT_EQ(1, lan->pinIndex);
  EXPECT_EQ(readComputer, readComputer->GetProgram()->owner);
  // Written again, the same bytes.
  CMemoryStream first, second;
  bench.scheme->Write(&first, 0);
  copy->Write(&second, 0);
  EXPECT_EQ(comptest::StreamBytes(first), comptest::StreamBytes(second));
}

// The offset of the first "BE5 " magic in bytes (or npos).
size_t FindProgramStream(const std::vector<uint8_t>& bytes) {
  const char magic[4] = {'B', 'E', '5', ' '};
  for (size_t i = 0; i + 4 <= bytes.size(); ++i)
    if (memcmp(bytes.data() + i, magic, 4) == 0) return i;
  return std::string::npos;
}

TEST(ControlPanel, AProgramThatCannotBeReadFailsTheDocumentAndLeavesNothing) {
  UnitBench bench;
  devtest::ReadErrorHost errors;
  ASSERT_NE(nullptr, bench.Create<CSCHPult>("PULT"));
  bench.Create<CSCHBlock>("GND");
  CMemoryStream out;
  bench.scheme->Write(&out, 0);
  std::vector<uint8_t> bytes = comptest::StreamBytes(out);
  size_t at = FindProgramStream(bytes);
  ASSERT_NE(std::string::npos, at);
  for (int broken : {0, 1}) {
    SCOPED_TRACE(broken);
    std::vector<uint8_t> damaged = bytes;
    if (broken == 0)
      damaged[at + 3] = 'X';  // no program stream at all
    else
      damaged[at + 4] ^= 0x5A;  // the stream's first field is garbage
    CMemoryStream in;
    in.Write(damaged.data(), static_cast<int>(damaged.size()));
    in.Seek(0, 0);
    SchScheme copy;
    EXPECT_FALSE(copy.Read(&in, 0));
    EXPECT_EQ(0, copy.BlockCount());
  }
}

TEST(ControlPanel, ThePanelSchemeRunsWithTheRobot) {
  UnitBench bench;
  CSCHPult* pult = bench.Create<CSCHPult>("PULT");
  ASSERT_NE(nullptr, pult);
  CSCHPultComputer* computer = dynamic_cast<CSCHPultComputer*>(pult->nestedScheme->blocks);
  ASSERT_NE(nullptr, computer);
  PassCounter* counter = new PassCounter;
  counter->AttachToScheme(computer->GetProgram());
  bench.Build();
  bench.Start();
  EXPECT_EQ(1, pult->nestedScheme->running);
  EXPECT_TRUE(computer->GetProgram()->running);
  bench.Step(3, 0.01f);
  EXPECT_EQ(3, counter->passes);
  bench.Stop();
  EXPECT_EQ(0, pult->nestedScheme->running);
  EXPECT_FALSE(computer->GetProgram()->running);
}

TEST(PultComputer, TheBatteryRunsOutOnceAfter9000SecondsAndTheProgramStops) {
  UnitBench bench;
  comptest::LogCapture log;
  CSCHPultComputer* computer = bench.Create<CSCHPultComputer>("PultComputer");
  ASSERT_NE(nullptr, computer);
  PassCounter* counter = new PassCounter;
  counter->AttachToScheme(computer->GetProgram());
  bench.Build();
  bench.Start();
  bench.Step(90, 100.0f);  // 9000 s: empty, not yet below zero
  EXPECT_EQ(90, counter->passes);
  EXPECT_FALSE(computer->IsDischarged());
  EXPECT_EQ(0, log.Count());
  bench.Step(5, 100.0f);
  EXPECT_TRUE(computer->IsDischarged());
  EXPECT_EQ(90, counter->passes);
  ASSERT_EQ(1, log.Count());
  EXPECT_EQ(L"Батарея компьютера управления полностью разряжена!", log.Messages()[0]);
  bench.Stop();
  // The next run starts full.
  bench.Start();
  EXPECT_FALSE(computer->IsDischarged());
  EXPECT_FLOAT_EQ(9000.0f, computer->GetBattery());
  bench.Step(1, 1.0f);
  EXPECT_EQ(91, counter->passes);
  bench.Stop();
}

TEST(PultComputer, NineteenVoltsWithPin3PositiveChargeReversedDrains) {
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed);
    UnitBench bench;
    comptest::LogCapture log;
    CSCHPultComputer* computer = bench.Create<CSCHPultComputer>("PultComputer");
    ASSERT_NE(nullptr, computer);
    circuit::Part* plus = bench.Source(19, 0.1f);
    circuit::Part* minus = bench.Ground();
    bench.Wire(plus, 0, computer, reversed ? CSCHPultComputer::kSupplyPin : CSCHPultComputer::kSupplyReturnPin);
    bench.Wire(minus, 0, computer, reversed ? CSCHPultComputer::kSupplyReturnPin : CSCHPultComputer::kSupplyPin);
    bench.Build();
    bench.Start();
    bench.Step(200, 100.0f);
    if (reversed) {
      EXPECT_TRUE(computer->IsDischarged());
      EXPECT_EQ(1, log.Count());
    } else {
      EXPECT_FALSE(computer->IsDischarged());
      EXPECT_FLOAT_EQ(9000.0f, computer->GetBattery());
      EXPECT_EQ(0, log.Count());
    }
    bench.Stop();
  }
}

}  // namespace
