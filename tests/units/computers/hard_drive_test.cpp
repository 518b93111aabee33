// The hard drive: its pins per interface, the readiness marks on its data
// net and the computer booting from it, the supply loads, burning out, the
// spin-up and the random bursts, the record and the picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/devices/device_kit.h"
#include "foundation/memory_stream.h"
#include "foundation/random.h"
#include "scheme/database/compdb_record.h"
#include "support/test_support.h"
#include "units/computers/board_computer.h"
#include "units/computers/hard_drive.h"
#include "units/unit_classes.h"

namespace {

using comptest::Golden;

class UnitBench : public devtest::DeviceBench {
public:
  UnitBench() { RegisterUnitComponentCreators(); }
};

class UnitRegistryScope {
public:
  UnitRegistryScope() { RegisterUnitComponentCreators(); }

private:
  devtest::DeviceRegistryScope base_;
};

// A drive of the interface with the two supplies (volts on the 5 V and the
// 12 V rail, behind 0.1 ohm) and a data cable to a one-pin part.
struct Supplied {
  Supplied(int iface, float v5, float v12) {
    comptest::DbRow row(L"hdd", {{"model", "Test"}, {"iface", iface == 0 ? "0" : "1"}, {"Pactive", "4"},
                                 {"Pidle", "1.5"}, {"volume", "500"}});
    drive = bench.Create<CSCHHardDrive>("HardDrive");
    drive->ApplyDbRecord(row.Record());
    drive->SetName(L"HD1");
    data = bench.Part(1, drive->pins[CSCHHardDrive::kDataPin].kind);
    plus5 = bench.Source(v5, 0.1f);
    plus12 = bench.Source(v12, 0.1f);
    ground = bench.Ground();
    bench.Wire(data, 0, drive, CSCHHardDrive::kDataPin);
    bench.Wire(plus5, 0, drive, CSCHHardDrive::kPlus5Pin);
    bench.Wire(plus12, 0, drive, CSCHHardDrive::kPlus12Pin);
    bench.Star({{ground, 0}, {drive, CSCHHardDrive::kGround5Pin}, {drive, CSCHHardDrive::kGround12Pin}});
  }
  int DataKind() { return bench.NetOf(drive, CSCHHardDrive::kDataPin)->sourceKind; }

  UnitBench bench;
  CSCHHardDrive* drive = nullptr;
  circuit::Part* data = nullptr;
  circuit::Part* plus5 = nullptr;
  circuit::Part* plus12 = nullptr;
  circuit::Part* ground = nullptr;
};

TEST(HardDrive, PinsPerInterface) {
  UnitRegistryScope registry;
  auto d = comptest::NewDetached<CSCHHardDrive>("HardDrive");
  EXPECT_EQ(92, d->rect.right);
  EXPECT_EQ(132, d->rect.bottom);
  struct Row {
    int kind, offset;
    const wchar_t* description;
  };
  const Row sata[5] = {{5, 10, L"SATA-кабель"},
                       {0, 40, L"+5В (красный провод БП)"},
                       {0, 55, L"\"Земля\" (черный провод БП)"},
                       {0, 70, L"\"Земля\" (черный провод БП)"},
                       {0, 85, L"+12В (желтый провод БП)"}};
  ASSERT_EQ(5, d->pinCount);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(nullptr, d->pins[i].name);
    EXPECT_EQ(kSchSideTop, d->pins[i].side);
    EXPECT_EQ(sata[i].kind, d->pins[i].kind);
    EXPECT_EQ(sata[i].offset, d->pins[i].offset);
    EXPECT_STREQ(sata[i].description, d->pins[i].description);
  }
  d->iface = CSCHHardDrive::kIde;
  ASSERT_TRUE(d->BuildPins());
  EXPECT_EQ(6, d->pins[0].kind);
  EXPECT_STREQ(L"IDE-кабель", d->pins[0].description);
  d->iface = CSCHHardDrive::kUsb;
  ASSERT_TRUE(d->BuildPins());
  ASSERT_EQ(1, d->pinCount);
  EXPECT_EQ(kSchPinUsb, d->pins[0].kind);
  EXPECT_EQ(46, d->pins[0].offset);
  EXPECT_EQ(kSchSideTop, d->pins[0].side);
  EXPECT_STREQ(L"USB", d->pins[0].description);
}

TEST(HardDrive, ReadinessMarksTheDataNetPerInterface) {
  struct Case {
    int iface;
    float v5, v12;
    int kind;
  } cases[] = {
      {1, 5, 12, 34},   // SATA on good supplies
      {0, 5, 12, 35},   // IDE
      {1, 4, 12, 0},    // 5 V rail too low
      {1, 5, 10, 0},    // 12 V rail too low
      {0, 4.6f, 11.2f, 35},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.iface << " " << c.v5 << " " << c.v12);
    CRandomSeedScope seed(7);
    Supplied s(c.iface, c.v5, c.v12);
    s.bench.Build();
    s.bench.Start();
    s.bench.Step(1, 1e-3f);
    EXPECT_EQ(c.kind, s.DataKind());
    EXPECT_EQ(c.kind != 0, s.drive->IsReady());
    EXPECT_FALSE(s.drive->burnt);
    s.bench.Stop();
  }
}

TEST(HardDrive, LoadsTheRailsWithIdleAndActivePower) {
  CRandomSeedScope seed(7);
  Supplied s(1, 5, 12);
  s.bench.Build();
  s.bench.Start();
  s.bench.Step(1, 1e-3f);
  // 5 V rail: 25 / 1.5 ohm. Spinning up: 12 V rail 144 / (4 - 1.5) = 57.6 ohm.
  float R = 0;
  float U = circuit::Circuit::Read(s.plus5, 0, &R);
  EXPECT_NEAR(0, U, 1e-3f);
  EXPECT_NEAR(25.0f / 1.5f + 1e-5f, R, 1e-3f);
  circuit::Circuit::Read(s.plus12, 0, &R);
  EXPECT_NEAR(57.6f, R, 1e-3f);
  // The spin-up lasts 10 s; then the drive idles at 5 Mohm on 12 V until a
  // burst starts.
  EXPECT_NEAR(10.0f - 1e-3f, s.drive->GetActivityTimer(), 1e-5f);
  s.bench.Step(100, 0.1f);
  EXPECT_LT(s.drive->GetActivityTimer(), 0.0f);
  s.bench.Stop();
}

TEST(HardDrive, BurstsStartWithTheRandomChanceAndLastUpToTenSeconds) {
  CRandomSeedScope seed(1);
  // The numbers the drive will draw, replayed.
  std::vector<int> draws;
  for (int i = 0; i < 2000; ++i) draws.push_back(NextRandom());
  SetRandomSeed(1);
  Supplied s(1, 5, 12);
  s.bench.Build();
  s.bench.Start();
  s.bench.Step(1, 10.5f);  // the spin-up ends below 0
  ASSERT_LT(s.drive->GetActivityTimer(), 0.0f);
  size_t i = 0;
  while (i < draws.size() && draws[i] >= 1092) {
    s.bench.Step(1, 1e-3f);
    ASSERT_LT(s.drive->GetActivityTimer(), 0.0f) << i;
    ++i;
  }
  ASSERT_LT(i + 1, draws.size());
  s.bench.Step(1, 1e-3f);
  EXPECT_FLOAT_EQ(static_cast<float>(draws[i + 1] * 10.0 / 32767), s.drive->GetActivityTimer());
  s.bench.Stop();
}

TEST(HardDrive, OverVoltageBurnsItAndClearsTheMark) {
  struct Case {
    float v5, v12;
  } cases[] = {{8, 12}, {5, 20}, {-1, 12}, {5, -3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.v5 << " " << c.v12);
    comptest::LogCapture log;
    CRandomSeedScope seed(7);
    Supplied s(1, 5, 12);
    s.bench.Build();
    s.bench.Start();
    s.bench.Step(2, 1e-3f);
    ASSERT_EQ(34, s.DataKind());
    s.plus5->Drive(0, c.v5, 0.1f);
    s.plus12->Drive(0, c.v12, 0.1f);
    s.bench.Step(2, 1e-3f);
    EXPECT_TRUE(s.drive->burnt);
    EXPECT_EQ(0, s.DataKind());
    ASSERT_EQ(1, log.Count());
    EXPECT_EQ(L"Жесткий диск \"HD1\" вышел из строя.", log.Messages()[0]);
    // Final for the run and for the next one.
    s.plus5->Drive(0, 5, 0.1f);
    s.plus12->Drive(0, 12, 0.1f);
    s.bench.Step(2, 1e-3f);
    EXPECT_EQ(0, s.DataKind());
    s.bench.Stop();
    s.bench.Start();
    s.bench.Step(2, 1e-3f);
    EXPECT_TRUE(s.drive->burnt);
    EXPECT_EQ(1, log.Count());
    s.bench.Stop();
  }
}

TEST(HardDrive, AUsbDriveIsABusLoadOnly) {
  CRandomSeedScope seed(7);
  UnitBench bench;
  comptest::DbRow row(L"hdd", {{"model", "Usb"}, {"iface", "2"}, {"Pactive", "2.5"}, {"Pidle", "1"}});
  auto* d = bench.Create<CSCHHardDrive>("HardDrive");
  d->ApplyDbRecord(row.Record());
  ASSERT_EQ(1, d->pinCount);
  circuit::Part* host = bench.Source(5, 0.1f);
  bench.Wire(host, 0, d, 0);
  bench.Build();
  bench.Start();
  bench.Step(3, 1e-3f);
  float R = 0;
  EXPECT_NEAR(0, circuit::Circuit::Read(host, 0, &R), 1e-4f);
  EXPECT_NEAR(10.0f, R, 1e-3f);  // 25 / 2.5
  EXPECT_EQ(0, bench.NetOf(d, 0)->sourceKind);
  EXPECT_FALSE(d->IsReady());
  bench.Stop();
}

TEST(HardDrive, DatabasePowersThatWouldDivideByZeroLeaveTheRailOpen) {
  CRandomSeedScope seed(7);
  UnitBench bench;
  comptest::DbRow row(L"hdd", {{"model", "Odd"}, {"iface", "1"}, {"Pactive", "1"}, {"Pidle", "1"}});
  auto* d = bench.Create<CSCHHardDrive>("HardDrive");
  d->ApplyDbRecord(row.Record());
  circuit::Part* plus12 = bench.Source(12, 0.1f);
  bench.Wire(plus12, 0, d, CSCHHardDrive::kPlus12Pin);
  bench.Build();
  bench.Start();
  bench.Step(1, 1e-3f);
  float R = 0;
  circuit::Circuit::Read(plus12, 0, &R);
  EXPECT_GT(R, 1e6f);
  EXPECT_FALSE(d->burnt);
  bench.Stop();
}

TEST(HardDrive, TheGroundWiresAreOneNode) {
  CRandomSeedScope seed(7);
  UnitBench bench;
  auto* d = bench.Create<CSCHHardDrive>("HardDrive");
  circuit::Part* a = bench.Part(1);
  circuit::Part* b = bench.Part(1);
  bench.Wire(a, 0, d, CSCHHardDrive::kGround5Pin);
  bench.Wire(b, 0, d, CSCHHardDrive::kGround12Pin);
  bench.Build();
  EXPECT_EQ(bench.NetOf(d, CSCHHardDrive::kGround5Pin), bench.NetOf(d, CSCHHardDrive::kGround12Pin));
  EXPECT_NE(nullptr, bench.NetOf(d, CSCHHardDrive::kGround5Pin));
}

TEST(HardDrive, TheComputerBootsFromAReadyDiskOfItsInterface) {
  struct Case {
    const char* hdIface;  // the computer: 1 SATA, 2 IDE
    int driveIface;       // the drive: 0 IDE, 1 SATA
    float v5;
    bool boots;
  } cases[] = {{"1", 1, 5, true}, {"2", 0, 5, true}, {"1", 1, 4, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hdIface << " " << c.v5);
    CRandomSeedScope seed(7);
    UnitBench bench;
    std::string text = std::string("Test table\nmodel\tU1\tI1\tHD\tHD_IFACE\tLoadTime\n") +
                       "model\tU1\tI1\tHD\tHD_IFACE\tLoadTime\n\t\t\t\t\t\nBoard\t12\t2\t0\t" + c.hdIface +
                       "\t0.01\n";
    CompDbTable table(L"computers");
    ASSERT_TRUE(table.LoadFromBytes(text.data(), text.size()));
    auto* pc = bench.Create<CSCHBoardComputer>("BOARD_COMPUTER");
    pc->ApplyDbRecord(table.GetRecord(0));
    ASSERT_GE(pc->GetDiskPin(), 0);
    comptest::DbRow row(L"hdd", {{"model", "D"}, {"iface", c.driveIface ? "1" : "0"}, {"Pactive", "4"},
                                {"Pidle", "1.5"}});
    auto* d = bench.Create<CSCHHardDrive>("HardDrive");
    d->ApplyDbRecord(row.Record());
    circuit::Part* supply = bench.Source(12, 0.1f);
    circuit::Part* plus5 = bench.Source(c.v5, 0.1f);
    circuit::Part* ground = bench.Ground();
    circuit::Part* ground2 = bench.Ground();
    bench.Wire(ground, 0, pc, pc->GetSupplyPin(CSCHBoardComputer::kSupply1Return));
    bench.Wire(supply, 0, pc, pc->GetSupplyPin(CSCHBoardComputer::kSupply1Main));
    bench.Wire(pc, pc->GetDiskPin(), d, CSCHHardDrive::kDataPin);
    bench.Wire(plus5, 0, d, CSCHHardDrive::kPlus5Pin);
    bench.Star({{ground2, 0}, {d, CSCHHardDrive::kGround5Pin}, {d, CSCHHardDrive::kGround12Pin}});
    circuit::Part* plus12 = bench.Source(12, 0.1f);
    bench.Wire(plus12, 0, d, CSCHHardDrive::kPlus12Pin);
    bench.Build();
    bench.Start();
    bench.Step(100, 1e-3f);
    EXPECT_EQ(c.boots, pc->IsProgramRunning());
    bench.Stop();
  }
}

TEST(HardDrive, RecordLayoutReadsBackAndEveryCutLoadsSafely) {
  UnitRegistryScope registry;
  auto d = comptest::NewDetached<CSCHHardDrive>("HardDrive");
  d->iface = CSCHHardDrive::kIde;
  ASSERT_TRUE(d->BuildPins());
  d->Pactive = 5.5f;
  d->Pidle = 0.75f;
  d->volume = 1000;
  d->SetName(L"HD1");
  d->mass = 0.4f;
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(d.get()),
                                   Golden().B(0).F(5.5f).F(0.75f).F(1000).B(0).Bytes()));
  std::vector<uint8_t> bytes = comptest::SaveBytes(d.get());
  comptest::ForEachTruncation<CSCHHardDrive>("HardDrive", bytes, [&](CSCHHardDrive* copy, size_t n) {
    if (n < CSCHHardDrive::kOwnRecordBytes) {
      EXPECT_EQ(CSCHHardDrive::kSata, copy->iface);
      EXPECT_EQ(2.5f, copy->Pactive);
      EXPECT_EQ(5, copy->pinCount);
      EXPECT_EQ(5, copy->pins[0].kind);
    } else {
      EXPECT_EQ(CSCHHardDrive::kIde, copy->iface);
      EXPECT_EQ(5.5f, copy->Pactive);
      EXPECT_EQ(0.75f, copy->Pidle);
      EXPECT_EQ(1000.0f, copy->volume);
      EXPECT_EQ(6, copy->pins[0].kind);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(L"HD1", copy->instanceName);
      EXPECT_EQ(0.4f, copy->mass);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
  // The fifth field is ignored on reading: a non-zero byte there loads the same.
  std::vector<uint8_t> odd = bytes;
  odd[13] = 0x5A;
  auto copy = comptest::NewDetached<CSCHHardDrive>("HardDrive");
  comptest::LoadBytes(copy.get(), odd);
  EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy.get()), bytes));
}

TEST(HardDrive, DatabaseRowSetsTheModel) {
  UnitRegistryScope registry;
  auto d = comptest::NewDetached<CSCHHardDrive>("HardDrive");
  comptest::DbRow row(L"hdd", {{"model", "Usb disk"}, {"iface", "2"}, {"Pactive", "2.25"}, {"Pidle", "0.5"},
                               {"volume", "64"}, {"mass", "0.1"}});
  d->ApplyDbRecord(row.Record());
  EXPECT_EQ(CSCHHardDrive::kUsb, d->iface);
  EXPECT_EQ(2.25f, d->Pactive);
  EXPECT_EQ(0.5f, d->Pidle);
  EXPECT_EQ(64.0f, d->volume);
  EXPECT_EQ(0.1f, d->mass);
  EXPECT_EQ(1, d->pinCount);
}

}  // namespace

namespace {

TEST(HardDrive, SampleTableRowsMakeTheirDrives) {
  UnitRegistryScope registry;
  comptest::SampleTable table(L"hd");
  ASSERT_TRUE(table.loaded);
  struct Case {
    const char* model;
    unsigned char iface;
    int pins;
  } cases[] = {{"Velk HD-320S", CSCHHardDrive::kSata, 5}, {"Velk HD-160I", CSCHHardDrive::kIde, 5},
               {"Velk HD-500U", CSCHHardDrive::kUsb, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    CompDbRecord* record = table.Find(c.model);
    ASSERT_NE(nullptr, record);
    auto d = comptest::NewDetached<CSCHHardDrive>("HardDrive");
    d->ApplyDbRecord(record);
    EXPECT_EQ(c.iface, d->iface);
    EXPECT_EQ(c.pins, d->pinCount);
    EXPECT_GT(d->Pactive, d->Pidle);
  }
}

}  // namespace
