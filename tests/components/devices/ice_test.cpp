// The combustion engine: creation, pins, database rows, its record (base
// record first) read back with 2 and with 5 pins, the key relays, the
// loads, the starter and the generator on the battery, and its pictures.
#include "components/devices/drives/ice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/electronic/battery.h"
#include "components/electronic/resister.h"
#include "device_kit.h"
#include "foundation/buffers.h"
#include "kestui/graphics/image.h"
#include "support/test_support.h"

namespace {

using comptest::DbRow;
using comptest::Golden;
using devtest::DeviceBench;

TEST(ICE, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHICE>("ICE");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->className, "ICE");
  EXPECT_EQ(e->rect.right - e->rect.left, 200);
  EXPECT_EQ(e->rect.bottom - e->rect.top, 240);
  ASSERT_EQ(e->pinCount, 2);
  EXPECT_STREQ(e->pins[0].description, L"+ Аккумуляторной батареи");
  EXPECT_STREQ(e->pins[1].description, L"- Аккумуляторной батареи (\"Земля\")");
  EXPECT_EQ(e->pins[0].side, kSchSideBottom);
  EXPECT_EQ(e->pins[0].offset, 39);
  EXPECT_EQ(e->pins[1].offset, 62);
  EXPECT_EQ(e->power, 6180000.0f);
  EXPECT_EQ(e->startType, 0);
  EXPECT_EQ(e->Irelay, 0.5f);
  EXPECT_EQ(e->type, 1);
  EXPECT_EQ(e->ctrlPath, 0.02f);
  EXPECT_EQ(e->Fstatic, 1.0f);
  EXPECT_EQ(e->friction, 250.0f);
  EXPECT_FLOAT_EQ(e->minSpeed, 52.359879f);       // 500 rpm
  EXPECT_FLOAT_EQ(e->idleSpeed, 83.775803f);      // 800 rpm
  EXPECT_FLOAT_EQ(e->nominalSpeed, 188.49556f);   // 1800 rpm
  EXPECT_FLOAT_EQ(e->maxTorqueSpeed, 94.247780f); // 900 rpm
  EXPECT_EQ(e->timeConst, 0.3f);
  EXPECT_EQ(e->consumption, 247.0f);
  EXPECT_EQ(e->stopTime, 3.0f);
  EXPECT_EQ(e->Uacc, 24.0f);
  EXPECT_EQ(e->Istarter, 225.0f);
  EXPECT_EQ(e->Ugen, 28.0f);
  EXPECT_EQ(e->Igen, 70.0f);
  EXPECT_EQ(e->Iengine, 0.0f);
  EXPECT_EQ(e->soundRate, 1.0f);
  // What the constructor leaves unset starts at 0.
  EXPECT_EQ(e->Ipribor, 0.0f);
  EXPECT_EQ(e->Ffriction, 0.0f);
  EXPECT_EQ(e->maxSpeed, 0.0f);
  EXPECT_EQ(e->sound, nullptr);
  EXPECT_EQ(e->starterSound, nullptr);
}

TEST(ICE, KeyStartAddsTheThreeKeyPins) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHICE>("ICE");
  for (unsigned char type : {1, 2, 200}) {
    e->startType = type;
    ASSERT_TRUE(e->BuildPins());
    ASSERT_EQ(e->pinCount, 5);
    EXPECT_STREQ(e->pins[2].description,
                 L"От включателя приборного питания (положение ACC ключа зажигания) (+ от аккумуляторной батареи)");
    EXPECT_STREQ(e->pins[3].description,
                 L"От включателя питания двигателя (положение ON ключа зажигания) (+ от аккумуляторной батареи)");
    EXPECT_STREQ(e->pins[4].description,
                 L"От включателя реле стартера (положение START ключа зажигания) (+ от аккумуляторной батареи)");
    const int offsets[] = {32, 19, 8};
    for (int i = 0; i < 3; i++) {
      EXPECT_EQ(e->pins[2 + i].side, kSchSideRight);
      EXPECT_EQ(e->pins[2 + i].offset, offsets[i]);
    }
  }
  e->startType = 0;
  ASSERT_TRUE(e->BuildPins());
  EXPECT_EQ(e->pinCount, 2);
}

TEST(ICE, DatabaseRowConvertsEveryColumn) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHICE>("ICE");
  DbRow row(L"ICE",
            {{"model", "D-245"}, {"power", "78"}, {"startType", "1"}, {"Irelay", "0.3"}, {"type", "2"},
             {"ctrlPath", "25"}, {"Ffriction", "40"}, {"Fstatic", "1.2"}, {"Fdyn", "0.8"}, {"friction", "300"},
             {"minSpeed", "500"}, {"idleSpeed", "800"}, {"nominalSpeed", "2400"}, {"maxSpeed", "2600"},
             {"maxTorqueSpeed", "1500"}, {"maxTorquePercent", "115"}, {"timeConst", "0.4"}, {"consumption", "220"},
             {"stopTime", "3"}, {"Uacc", "24"}, {"Istarter", "300"}, {"Ugen", "28"}, {"Igen", "80"},
             {"Ipribor", "3"}, {"Iengine", "12"}, {"sound", "\xE4\xE8\xE7\xE5\xEB\xFC.wav"}, {"soundRate", "1.1"},
             {"starterSound", "starter.wav"}, {"price", "480000"}});
  e->ApplyDbRecord(row.Record());
  EXPECT_EQ(e->power, 78000.0f);
  EXPECT_EQ(e->startType, 1);
  EXPECT_EQ(e->Irelay, 0.3f);
  EXPECT_EQ(e->type, 2);
  EXPECT_FLOAT_EQ(e->ctrlPath, 0.025f);
  EXPECT_EQ(e->Ffriction, 40.0f);
  EXPECT_EQ(e->Fstatic, 1.2f);
  EXPECT_EQ(e->Fdyn, 0.8f);
  EXPECT_EQ(e->friction, 300.0f);
  EXPECT_FLOAT_EQ(e->minSpeed, 52.359879f);
  EXPECT_FLOAT_EQ(e->idleSpeed, 83.775803f);
  EXPECT_FLOAT_EQ(e->nominalSpeed, 251.32742f);
  EXPECT_FLOAT_EQ(e->maxSpeed, 272.27136f);
  EXPECT_FLOAT_EQ(e->maxTorqueSpeed, 157.07964f);
  EXPECT_FLOAT_EQ(e->maxTorquePercent, 1.15f);
  EXPECT_EQ(e->timeConst, 0.4f);
  EXPECT_EQ(e->consumption, 220.0f);
  EXPECT_EQ(e->Uacc, 24.0f);
  EXPECT_EQ(e->Istarter, 300.0f);
  EXPECT_EQ(e->Ugen, 28.0f);
  EXPECT_EQ(e->Igen, 80.0f);
  EXPECT_EQ(e->Ipribor, 3.0f);
  EXPECT_EQ(e->Iengine, 12.0f);
  EXPECT_STREQ(e->sound, L"дизель.wav");
  EXPECT_EQ(e->soundRate, 1.1f);
  EXPECT_STREQ(e->starterSound, L"starter.wav");
  EXPECT_EQ(e->pinCount, 5);
  EXPECT_STREQ(e->model, "D-245");
}

TEST(ICE, SampleDatabaseRows) {
  devtest::DeviceRegistryScope registry;
  comptest::SampleTable table(L"ICE");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 2);
  int keyStart = 0;
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* row = table.table.GetRecord(i);
    auto e = comptest::NewDetached<CSCHICE>(row->GetTextByName("class"));
    ASSERT_TRUE(e);
    e->ApplyDbRecord(row);
    EXPECT_GT(e->power, 0.0f);
    EXPECT_GT(e->idleSpeed, e->minSpeed);
    EXPECT_EQ(e->pinCount, e->ExpectedPinCount());
    keyStart += e->startType;
  }
  EXPECT_GE(keyStart, 1);
}

// ------------------------------------------------------------ record

// A key-start engine with the values of a database row.
void FillEngine(CSCHICE* e) {
  e->power = 78000;
  e->startType = 1;
  e->Irelay = 0.3f;
  e->type = 2;
  e->ctrlPath = 0.025f;
  e->Ffriction = 40;
  e->Fstatic = 1.2f;
  e->Fdyn = 0.8f;
  e->friction = 300;
  e->nominalSpeed = IceRpmToRadians(2400);
  e->maxSpeed = IceRpmToRadians(2600);
  e->maxTorqueSpeed = IceRpmToRadians(1500);
  e->maxTorquePercent = 1.15f;
  e->Ipribor = 3;
  e->Iengine = 12;
  ReplaceString(&e->sound, L"дизель.wav");
  ReplaceString(&e->starterSound, L"стартер.wav");
  e->BuildPins();
  e->SetName(L"D1");
}

TEST(ICE, RecordPutsTheBaseRecordFirst) {
  devtest::DeviceRegistryScope registry;
  auto e = comptest::NewDetached<CSCHICE>("ICE");
  FillEngine(e.get());
  std::vector<uint8_t> expected = Golden()
                                      .F(78000).B(1).F(0.3f).B(2)
                                      .F(0.025f).F(40).F(1.2f).F(0.8f).F(300)
                                      .F(IceRpmToRadians(500)).F(IceRpmToRadians(800)).F(IceRpmToRadians(2400))
                                      .F(IceRpmToRadians(2600))
                                      .F(3).F(0.3f).F(247).F(24).F(225).F(28).F(70).F(3).F(12)
                                      .Bytes();
  expected = devtest::Concat(expected, devtest::WideBytes(L"дизель.wav"));
  expected = devtest::Concat(expected, Golden().F(1).Bytes());
  expected = devtest::Concat(expected, devtest::WideBytes(L"стартер.wav"));
  expected = devtest::Concat(expected, Golden().F(IceRpmToRadians(1500)).F(1.15f).Bytes());
  EXPECT_TRUE(velktest::BytesEqual(comptest::FieldsAfter<CSCHBlock>(e.get()), expected));
}

// Saves the engine and loads the bytes into a new engine (that has 2 pins,
// as the creator makes it).
std::unique_ptr<CSCHICE> LoadedCopy(CSCHICE* e, const std::vector<uint8_t>& tail = {}) {
  std::vector<uint8_t> bytes = devtest::Concat(comptest::SaveBytes(e), tail);
  auto copy = comptest::NewDetached<CSCHICE>("ICE");
  comptest::LoadBytes(copy.get(), bytes);
  return copy;
}

TEST(ICE, RecordsOfBothPinCountsReadBack) {
  devtest::DeviceRegistryScope registry;
  struct Case {
    const char* what;
    unsigned char startType;
    bool filled;
    int pins;
  };
  const Case cases[] = {
      {"no key, defaults", 0, false, 2},
      {"no key, a database row", 0, true, 2},
      {"key start, a database row", 1, true, 5},
      {"key start, defaults", 1, false, 5},
      {"start type 2", 2, false, 5},
  };
  // What may follow a record in a scheme stream: nothing (a record on its
  // own), the next block's class name, or the end of the block list.
  std::vector<uint8_t> nextBlock = {'B', 'a', 't', 't', 'e', 'r', 'y', 0, 1, 2, 3, 4};
  std::vector<uint8_t> endOfBlocks = Golden().B(0).B(0).I(0).B(0x99).I(0).I(0).Bytes();
  for (const Case& c : cases) {
    for (const std::vector<uint8_t>* tail : {&nextBlock, &endOfBlocks}) {
      SCOPED_TRACE(testing::Message() << c.what << (tail == &nextBlock ? ", a block follows" : ", the list ends"));
      auto e = comptest::NewDetached<CSCHICE>("ICE");
      if (c.filled) FillEngine(e.get());
      e->startType = c.startType;
      e->BuildPins();
      e->SetName(L"D1");
      e->boardX = 0;
      e->boardY = 0;
      std::vector<uint8_t> bytes = comptest::SaveBytes(e.get());
      std::vector<uint8_t> all = devtest::Concat(bytes, *tail);
      auto copy = comptest::NewDetached<CSCHICE>("ICE");
      CMemoryStream s;
      s.Write(all.data(), static_cast<int>(all.size()));
      s.Seek(0, 0);
      copy->Load(&s);
      EXPECT_EQ(s.GetPosition(), static_cast<int>(bytes.size()));  // exactly the record read
      EXPECT_EQ(copy->pinCount, c.pins);
      EXPECT_EQ(copy->startType, c.startType);
      EXPECT_STREQ(copy->instanceName, L"D1");
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy.get()), bytes));
    }
  }
}

TEST(ICE, ARecordOnItsOwnReadsBack) {
  devtest::DeviceRegistryScope registry;
  for (unsigned char type : {0, 1}) {
    SCOPED_TRACE(testing::Message() << "start type " << int(type));
    auto e = comptest::NewDetached<CSCHICE>("ICE");
    FillEngine(e.get());
    e->startType = type;
    e->BuildPins();
    e->boardX = 12.5f;
    auto copy = LoadedCopy(e.get());
    EXPECT_EQ(copy->pinCount, type ? 5 : 2);
    EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy.get()), comptest::SaveBytes(e.get())));
  }
}

TEST(ICE, EveryCutOfBothKindsLoadsSafely) {
  devtest::DeviceRegistryScope registry;
  for (unsigned char type : {0, 1}) {
    SCOPED_TRACE(testing::Message() << "start type " << int(type));
    auto e = comptest::NewDetached<CSCHICE>("ICE");
    FillEngine(e.get());
    e->startType = type;
    e->BuildPins();
    std::vector<uint8_t> bytes = comptest::SaveBytes(e.get());
    comptest::ForEachTruncation<CSCHICE>("ICE", bytes, [&](CSCHICE* copy, size_t n) {
      // The pins always follow the start type read.
      EXPECT_EQ(copy->pinCount, copy->ExpectedPinCount());
      if (n == bytes.size()) {
        EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
      }
    });
  }
}

// A scheme of two engines of each kind between batteries, some key pins
// wired and some not, on a board position of 0: written and read back
// whole, every engine keeps its pins and wires.
TEST(ICE, SchemesWithBothKindsReadBack) {
  struct Case {
    const char* what;
    bool wireKeys;
    bool engineLast;
  };
  const Case cases[] = {
      {"key pins free, a block follows", false, false},
      {"key pins free, the last block", false, true},
      {"key pins wired, a block follows", true, false},
      {"key pins wired, the last block", true, true},
  };
  devtest::ReadErrorHost host;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceBench bench;
    CSCHBattery* battery = nullptr;
    CSCHResister* keys[2] = {nullptr, nullptr};
    auto others = [&] {
      battery = bench.Create<CSCHBattery>("Battery");
      battery->SetName(L"GB1");
      if (c.wireKeys)
        for (CSCHResister*& key : keys) key = bench.Create<CSCHResister>("Resister");
    };
    // Blocks are written oldest first.
    if (c.engineLast) others();
    auto* plain = bench.Create<CSCHICE>("ICE");
    plain->SetName(L"D2");
    auto* keyed = bench.Create<CSCHICE>("ICE");
    keyed->startType = 1;
    keyed->BuildPins();
    keyed->SetName(L"D1");
    if (!c.engineLast) others();
    for (CSCHICE* e : {keyed, plain}) {
      e->boardX = e->boardY = 0;
      e->orientation = 0;
    }
    bench.Wire(battery, kElecBatteryPlus, keyed, CSCHICE::kElecBatteryPlus);
    bench.Wire(keyed, CSCHICE::kElecBatteryMinus, battery, kElecBatteryMinus);
    if (c.wireKeys) {
      bench.Wire(keys[0], 0, keyed, CSCHICE::kKeyAcc);
      bench.Wire(keys[1], 0, keyed, CSCHICE::kKeyStart);
    }
    std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
    ASSERT_TRUE(copy);
    auto* d1 = dynamic_cast<CSCHICE*>(copy->FindBlockByName(L"D1"));
    auto* d2 = dynamic_cast<CSCHICE*>(copy->FindBlockByName(L"D2"));
    ASSERT_NE(d1, nullptr);
    ASSERT_NE(d2, nullptr);
    EXPECT_EQ(d1->pinCount, 5);
    EXPECT_EQ(d1->startType, 1);
    EXPECT_EQ(d2->pinCount, 2);
    EXPECT_NE(copy->FindBlockByName(L"GB1"), nullptr);
    EXPECT_EQ(copy->BlockCount(), bench.scheme->BlockCount());
    EXPECT_NE(d1->pins[CSCHICE::kElecBatteryPlus].wire, nullptr);
    EXPECT_NE(d1->pins[CSCHICE::kElecBatteryMinus].wire, nullptr);
    EXPECT_EQ(d1->pins[CSCHICE::kKeyAcc].wire != nullptr, c.wireKeys);
    EXPECT_EQ(d1->pins[CSCHICE::kKeyOn].wire, nullptr);
    EXPECT_EQ(d1->pins[CSCHICE::kKeyStart].wire != nullptr, c.wireKeys);
    EXPECT_EQ(copy->WireCount(), bench.scheme->WireCount());
  }
}

// A key-start engine whose last currents are 0 and that has no texts reads
// plausibly with 2 pins as well (the 12 bytes of the extra identities land
// in mixed but normal floats, and the shorter reading ends 12 bytes early):
// what follows the record decides, on its own, before a class name and at
// the end of the block list.
TEST(ICE, WhenBothPinCountsReadPlausiblyWhatFollowsDecides) {
  devtest::DeviceRegistryScope registry;
  auto e = comptest::NewDetached<CSCHICE>("ICE");
  e->startType = 1;
  e->BuildPins();
  e->power = 78000;
  e->Irelay = 0.3f;
  e->Igen = 0;
  e->Ipribor = 0;
  e->Iengine = 0;
  const std::vector<uint8_t> bytes = comptest::SaveBytes(e.get());
  const std::vector<std::vector<uint8_t>> tails = {
      {},
      {'G', 'N', 'D', 0, 1, 2, 3, 4},
      Golden().B(0).B(0).I(0).B(0x99).I(0).I(0).Bytes(),
  };
  for (const auto& tail : tails) {
    SCOPED_TRACE(testing::Message() << tail.size() << " bytes follow");
    auto copy = comptest::NewDetached<CSCHICE>("ICE");
    comptest::LoadBytes(copy.get(), devtest::Concat(bytes, tail));
    EXPECT_EQ(copy->pinCount, 5);
    EXPECT_EQ(copy->power, 78000.0f);
    EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy.get()), bytes));
  }
}

// Engines of many parameter values, board positions and wirings, of both
// kinds, in documents: every one reads back with its own pins, whatever
// its bytes look like when read with the other pin count.
TEST(ICE, ManyEnginesOfBothKindsReadBack) {
  devtest::ReadErrorHost host;
  unsigned seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  const float values[] = {0, 0.5f, 1, 2, 3, 3.3f, 12, 24, 28, 70, 80, 225, 300, 0.2f, 0.3f, 1.15f, 78000, 6180000};
  const int valueCount = sizeof values / sizeof values[0];
  int failures = 0;
  for (int round = 0; round < 120 && failures < 5; round++) {
    DeviceBench bench;
    const bool last = next(2) == 1;
    if (last) bench.Create<CSCHBattery>("Battery");
    auto* e = bench.Create<CSCHICE>("ICE");
    e->startType = static_cast<unsigned char>(next(3));
    e->BuildPins();
    e->SetName(L"D1");
    for (float* v : {&e->power, &e->Irelay, &e->ctrlPath, &e->Ffriction, &e->Fstatic, &e->Fdyn, &e->friction,
                     &e->maxSpeed, &e->stopTime, &e->Uacc, &e->Istarter, &e->Ugen, &e->Igen, &e->Ipribor,
                     &e->Iengine, &e->soundRate, &e->maxTorquePercent})
      *v = values[next(valueCount)];
    if (next(2)) ReplaceString(&e->sound, L"звук.wav");
    if (next(2)) ReplaceString(&e->starterSound, L"s");
    e->boardX = next(3) == 0 ? 12.5f : 0;
    e->orientation = next(4);
    if (!last) bench.Create<CSCHBattery>("Battery");
    for (int pin = 0; pin < e->pinCount; pin++) {
      if (next(2) == 0) continue;
      auto* r = bench.Create<CSCHResister>("Resister");
      bench.Wire(r, 0, e, pin);
    }
    std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
    if (!copy) {
      ++failures;
      continue;
    }
    auto* back = dynamic_cast<CSCHICE*>(copy->FindBlockByName(L"D1"));
    ASSERT_NE(back, nullptr) << "round " << round;
    EXPECT_EQ(back->pinCount, e->pinCount) << "round " << round;
    EXPECT_EQ(back->startType, e->startType) << "round " << round;
    EXPECT_EQ(back->power, e->power) << "round " << round;
    EXPECT_EQ(back->maxTorquePercent, e->maxTorquePercent) << "round " << round;
    EXPECT_EQ(copy->WireCount(), bench.scheme->WireCount()) << "round " << round;
    for (int pin = 0; pin < e->pinCount; pin++)
      EXPECT_EQ(back->pins[pin].wire != nullptr, e->pins[pin].wire != nullptr) << "round " << round << " pin " << pin;
  }
  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(host.texts.empty());
}

// ------------------------------------------------------------ simulation

// An engine on an ideal battery (24 V behind 0.05 ohm, minus grounded),
// with a switch source on each key pin when it starts with a key.
struct EngineRig {
  explicit EngineRig(unsigned char startType) {
    e = bench.Create<CSCHICE>("ICE");
    e->startType = startType;
    e->BuildPins();
    plus = bench.Source(24, 0.05f);
    bench.Wire(plus, 0, e, CSCHICE::kElecBatteryPlus);
    bench.Wire(e, CSCHICE::kElecBatteryMinus, bench.Ground(), 0);
    if (e->pinCount == 5)
      for (int i = 0; i < 3; i++) {
        keys[i] = bench.Source(0, 0.01f);
        bench.Wire(keys[i], 0, e, CSCHICE::kKeyAcc + i);
      }
  }
  void Start() {
    bench.Build();
    bench.Start();
  }
  void Key(int i, float volts) { keys[i]->Drive(0, volts, 0.01f); }
  // The engine as the battery's plus pin sees it.
  float Seen(float* R) { return comptest::Bench::Read(plus, 0, R); }
  DeviceBench bench;
  CSCHICE* e;
  circuit::Part* plus;
  circuit::Part* keys[3] = {nullptr, nullptr, nullptr};
};

TEST(ICE, WithoutKeyItRunsFromTheStartAndLoadsOrFeedsTheBattery) {
  EngineRig rig(0);
  rig.e->Ipribor = 2;
  rig.e->Iengine = 3;
  rig.Start();
  EXPECT_EQ(rig.e->engineState, CSCHICE::kRunning);
  EXPECT_TRUE(rig.e->accRelay);
  EXPECT_TRUE(rig.e->onRelay);
  EXPECT_FALSE(rig.e->startRelay);
  // At rest: the instruments (2 A) and the engine electrics (3 A) at 24 V,
  // 1e-5 S and the idle starter (5 MOhm): 4.79977 ohm.
  rig.bench.Step(1, 1e-3f);
  float R = 0;
  EXPECT_NEAR(rig.Seen(&R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 4.799765f, 1e-4f);
  // The idle starter draws 24 V / 5 MOhm: next to no torque.
  EXPECT_NEAR(rig.e->starterTorque, 0.0f, 1e-5f);
  // Below idle speed the generator gives nothing.
  rig.e->engineSpeed = 83.7f;
  rig.bench.Step(1, 1e-3f);
  EXPECT_NEAR(rig.Seen(&R), 0.0f, 1e-3f);
  // At idle speed: 28 V behind 0.4 ohm joins (70 A), and the starter's back
  // EMF behind its 5 MOhm.
  rig.e->engineSpeed = rig.e->idleSpeed;
  rig.bench.Step(1, 1e-3f);
  EXPECT_NEAR(rig.Seen(&R), 25.846059f, 1e-3f);
  EXPECT_NEAR(R, 0.369229f + 1e-5f, 1e-5f);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kRunning);
  rig.bench.Stop();
}

TEST(ICE, KeyPositionsWorkTheRelays) {
  EngineRig rig(1);
  rig.Start();
  EXPECT_EQ(rig.e->engineState, CSCHICE::kStopped);
  EXPECT_FALSE(rig.e->accRelay || rig.e->onRelay || rig.e->startRelay);
  rig.bench.Step(1, 1e-3f);
  EXPECT_FALSE(rig.e->accRelay || rig.e->onRelay || rig.e->startRelay);
  // ACC: picked up in the first step it sees the battery voltage.
  rig.Key(0, 24);
  rig.bench.Step(1, 1e-3f);
  EXPECT_TRUE(rig.e->accRelay);
  EXPECT_FALSE(rig.e->onRelay);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kStopped);
  // ON, then START: cranking.
  rig.Key(1, 24);
  rig.bench.Step(1, 1e-3f);
  EXPECT_TRUE(rig.e->onRelay);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kStopped);
  rig.Key(2, 24);
  rig.bench.Step(1, 1e-3f);
  EXPECT_TRUE(rig.e->startRelay);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kCranking);
  // START released: still 1 while ON holds; nothing here sets running.
  rig.Key(2, 0);
  rig.bench.Step(1, 1e-3f);
  EXPECT_FALSE(rig.e->startRelay);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kCranking);
  // ON below half the battery voltage: dropped in that step, the engine stops.
  rig.Key(1, 11.9f);
  rig.bench.Step(1, 1e-3f);
  EXPECT_FALSE(rig.e->onRelay);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kStopped);
  EXPECT_TRUE(rig.e->accRelay);
  // Each key pin carries its coil to the battery minus: 24 V / 0.5 A = 48 ohm.
  float R = 0;
  EXPECT_NEAR(comptest::Bench::Read(rig.keys[0], 0, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 48.0f, 1e-3f);
  rig.bench.Stop();
}

TEST(ICE, RelaysHoldBetweenDropOutAndPickUp) {
  struct Step {
    float volts;
    bool on;
  };
  // Pick-up above 0.85 x 24 = 20.4 V on the coil, drop-out below 12 V; the
  // coil sees the key voltage x 48 / (48 + 0.01).
  const Step steps[] = {
      {16.8f, false}, {20.4f, false}, {20.5f, true}, {16.8f, true}, {12.01f, true}, {11.9f, false}, {16.8f, false},
  };
  EngineRig rig(1);
  rig.Start();
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << s.volts << " V");
    rig.Key(0, s.volts);
    rig.bench.Step(1, 1e-3f);
    EXPECT_EQ(rig.e->accRelay != 0, s.on);
  }
  rig.bench.Stop();
}

TEST(ICE, TheStarterAtRest) {
  EngineRig rig(1);
  rig.Start();
  rig.Key(1, 24);
  rig.Key(2, 24);
  rig.bench.Step(1, 1e-3f);
  // (U+ - U-) / (Uacc / Istarter + R+ + R-) = 24 / (0.10667 + 0.05 + 1e-5).
  EXPECT_NEAR(rig.e->starterCurrent, 153.18171f, 1e-3f);
  // Its torque: the power x 0.6 / the starter's no-load speed.
  EXPECT_NEAR(rig.e->starterTorque, 42.127994f, 1e-3f);
  // The battery sees it as the resistance that draws that current from 24 V.
  float R = 0;
  EXPECT_NEAR(rig.Seen(&R), 0.0f, 1e-3f);
  EXPECT_NEAR(R, 0.15667667f + 1e-5f, 1e-4f);
  // Turning at its no-load speed it draws nothing.
  rig.e->engineSpeed = rig.e->minSpeed;
  rig.bench.Step(1, 1e-3f);
  EXPECT_NEAR(rig.e->starterCurrent, 0.0f, 1e-3f);
  EXPECT_NEAR(rig.e->starterTorque, 0.0f, 1e-3f);
  rig.bench.Stop();
}

TEST(ICE, KeySwitchesDoNotLoadTheBatteryPins) {
  // Only the key relays: no instruments, electrics, starter or generator.
  EngineRig rig(1);
  rig.e->Istarter = 0;
  rig.e->Igen = 0;
  rig.Start();
  float R = 0, before = 0;
  rig.bench.Step(1, 1e-3f);
  rig.Seen(&before);
  for (int i = 0; i < 3; i++) rig.Key(i, 24);
  rig.bench.Step(2, 1e-3f);
  EXPECT_TRUE(rig.e->accRelay && rig.e->onRelay && rig.e->startRelay);
  rig.Seen(&R);
  EXPECT_NEAR(R, before, 1e-3f * before);
  EXPECT_NEAR(R, 1e5f, 10.0f);  // the engine's least conductance alone
  rig.bench.Stop();
}

TEST(ICE, StartTypesAboveOneNeverDriveTheirKeyPins) {
  EngineRig rig(2);
  rig.Start();
  for (int i = 0; i < 3; i++) rig.Key(i, 24);
  rig.bench.Step(3, 1e-3f);
  EXPECT_FALSE(rig.e->accRelay || rig.e->onRelay || rig.e->startRelay);
  EXPECT_EQ(rig.e->engineState, CSCHICE::kStopped);
  float R = 0;
  comptest::Bench::Read(rig.keys[0], 0, &R);
  EXPECT_NEAR(R, kSchOpenResistance, 0.01f * kSchOpenResistance);
  rig.bench.Stop();
}

TEST(ICE, TheGeneratorChargesARealBattery) {
  DeviceBench bench;
  auto* battery = bench.Create<CSCHBattery>("Battery");
  battery->nominalVoltage = 24;
  battery->dischargeType = 6;  // 24 V whatever the charge
  auto* e = bench.Create<CSCHICE>("ICE");
  e->Ipribor = 2;
  bench.Wire(battery, kElecBatteryPlus, e, CSCHICE::kElecBatteryPlus);
  bench.Wire(e, CSCHICE::kElecBatteryMinus, battery, kElecBatteryMinus);
  bench.Build();
  bench.Start();
  bench.Step(100, 1);
  EXPECT_LT(battery->charge, battery->capacity);  // the instruments discharge it
  double low = battery->charge;
  e->engineSpeed = e->idleSpeed;
  bench.Step(100, 1);
  EXPECT_GT(battery->charge, low);  // the generator charges it
  EXPECT_FALSE(battery->burnt);
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(ICE, PicturesAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* e = bench.Create<CSCHICE>("ICE");
  e->SetName(L"D1");
  comptest::SymbolCanvas canvas(240, 290);
  // Without key start "ICE2.jpg": no key terminals at the right edge.
  EXPECT_TRUE(canvas.Paint(e, 20, 30));
  EXPECT_TRUE(devtest::Near(canvas.Pixel(20 + 95, 30 + 130), RGB(120, 120, 125), 24));
  EXPECT_TRUE(devtest::Near(canvas.Pixel(20 + 186, 30 + 225), RGB(255, 255, 255), 24));
  // The name 14 px above the block, centred.
  EXPECT_GT(canvas.InkIn(20 + 80, 30 - 14, 20 + 120, 30), 0);
  EXPECT_EQ(canvas.InkIn(0, 0, 20 + 80, 30), 0);
  EXPECT_TRUE(canvas.Save(L"ice_symbol.bmp"));
  // With key start "ICE.jpg": the key terminal strip.
  canvas.Clear();
  e->startType = 1;
  e->BuildPins();
  EXPECT_TRUE(canvas.Paint(e, 20, 30));
  EXPECT_TRUE(devtest::Near(canvas.Pixel(20 + 186, 30 + 226), RGB(60, 60, 60), 30));
  EXPECT_TRUE(canvas.Save(L"ice_key_start_symbol.bmp"));
}

TEST(ICE, ShippedPicturesFitTheSymbol) {
  for (const wchar_t* name : {L"ICE.jpg", L"ICE2.jpg"}) {
    CKestImage picture;
    ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + name).c_str()), S_OK) << name;
    EXPECT_EQ(picture.GetWidth(), 200);
    EXPECT_EQ(picture.GetHeight(), 240);
  }
}

}  // namespace
