// The camera: pins per interface, power and boot, burning out, the sync
// lines, pan/tilt/zoom commands over RS-485 and over USB, frames over USB,
// Ethernet and a WiFi link through a router, and the record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "components/devices/device_kit.h"
#include "components/electronic/motor/h_bridge.h"
#include "components/electronic/radio/router.h"
#include "foundation/memory_stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "support/test_support.h"
#include "units/media/camera.h"
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

// A one-pin part that hands its net a data source of a kind (a computer's
// USB host, 11, or LAN, 17) with a packet set, or with none.
class DataHost : public CSCHBlock {
public:
  DataHost(int kind, bool withSet) : kind_(kind) {
    className = "TestDataHost";
    SetPinCount(1);
    pins[0].side = kSchSideRight;
    source.packets = withSet ? &set : nullptr;
  }
  void Start() override { Hand(); }
  void Step(float) override { Hand(); }
  void Hand() {
    if (!pins[0].net) return;
    pins[0].net->sourceKind = kind_;
    if (!pins[0].net->source) pins[0].net->source = &source;
  }
  SchPacketSet set;
  SchSignalSource source = {nullptr, 0};

private:
  int kind_;
};

// A packet of the id, sequence, format and payload, put into the set.
void PutPacket(SchPacketSet* set, unsigned char id, unsigned char sequence, int format,
               std::vector<unsigned char> payload) {
  SchPacket* p = new SchPacket;
  p->useCount = 1;
  p->id = id;
  p->sequence = sequence;
  p->format = format;
  if (!payload.empty()) p->payload.Write(payload.data(), static_cast<int>(payload.size()));
  set->Put(p);
  p->Release();
}

CSCHCamera* MakeCamera(UnitBench& bench, std::initializer_list<std::pair<const char*, const char*>> extra) {
  std::vector<std::pair<std::string, std::string>> cells = {{"model", "Cam"}};
  for (const auto& e : extra) cells.push_back({e.first, e.second});
  std::string captions, values, choices;
  for (size_t i = 0; i < cells.size(); ++i) {
    const char* sep = i ? "\t" : "";
    captions += sep + cells[i].first;
    values += sep + cells[i].second;
    choices += sep;
  }
  CompDbTable table(L"cameras");
  std::string text = "Test table\n" + captions + "\n" + captions + "\n" + choices + "\n" + values + "\n";
  EXPECT_TRUE(table.LoadFromBytes(text.data(), text.size()));
  auto* c = bench.Create<CSCHCamera>("Camera");
  if (c) c->ApplyDbRecord(table.GetRecord(0));
  return c;
}

std::vector<std::wstring> PinNames(const CSCHCamera* c) {
  std::vector<std::wstring> v;
  for (int i = 0; i < c->pinCount; ++i) v.push_back(c->pins[i].name ? c->pins[i].name : L"");
  return v;
}

TEST(Camera, PinsPerInterface) {
  using V = std::vector<std::wstring>;
  struct Case {
    const char *iface, *poe, *mic, *zoom, *sync;
    V names;
  } cases[] = {
      {"0", "0", "0", "0", "0", V{L"Video Out", L"Video Gnd", L"+", L"GND"}},
      {"0", "0", "1", "3", "1",
       V{L"Video Out", L"Video Gnd", L"Mic Out", L"Mic Gnd", L"Control A", L"Control B", L"Control G", L"+", L"GND",
         L"digital out (+)", L"digital out (-)", L"digital in (+)", L"digital in (-)"}},
      {"1", "0", "1", "0", "0", V{L"USB"}},
      {"2", "1", "0", "0", "0", V{L"LAN"}},
      {"2", "0", "0", "0", "0", V{L"LAN", L"+", L"GND"}},
      {"3", "0", "0", "0", "0", V{L"+", L"GND"}},
      {"7", "0", "0", "0", "1", V{L"digital out (+)", L"digital out (-)", L"digital in (+)", L"digital in (-)"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.iface << " " << k.poe << " " << k.mic << " " << k.sync);
    UnitBench bench;
    CSCHCamera* c =
        MakeCamera(bench, {{"iface", k.iface}, {"PoE", k.poe}, {"Mic", k.mic}, {"Zoom", k.zoom}, {"sync", k.sync}});
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(k.names, PinNames(c));
    for (int i = 0; i < c->pinCount; ++i) EXPECT_EQ(kSchSideLeft, c->pins[i].side);
  }
  UnitBench bench;
  CSCHCamera* lan = MakeCamera(bench, {{"iface", "2"}, {"PoE", "1"}, {"sync", "1"}});
  EXPECT_STREQ(L"Ethernet с инжектированным питанием (PoE)", lan->pins[0].description);
  EXPECT_EQ(kSchPinEthernet, lan->pins[0].kind);
  const int numbers[4] = {6, 1, 7, 2};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(numbers[i], lan->pins[1 + i].number);
  EXPECT_EQ(-1, lan->powerPin);
  CSCHCamera* usb = MakeCamera(bench, {{"iface", "1"}});
  EXPECT_EQ(kSchPinUsb, usb->pins[0].kind);
  EXPECT_STREQ(L"USB-клиент для подключения к компьютеру с USB-host", usb->pins[0].description);
}

TEST(Camera, DatabaseColumnsInTheirUnits) {
  UnitBench bench;
  CSCHCamera* c = MakeCamera(bench, {{"children[1].fov", "90"}, {"iface", "0"}, {"U", "12"}, {"I", "0.25"},
                                     {"LoadTime", "2"}, {"rotX", "180"}, {"rotY", "45"}, {"Zoom", "4"},
                                     {"sync", "1"}, {"ObjectiveDiameter", "12"}, {"ObjectiveLength", "30"}});
  EXPECT_FLOAT_EQ(3.1415927f / 2, c->fieldOfView);
  EXPECT_FLOAT_EQ(3.1415927f, c->rotX);
  EXPECT_FLOAT_EQ(3.1415927f / 4, c->rotY);
  EXPECT_EQ(1, c->sync);
  EXPECT_TRUE(c->HasRemoteControl());
  EXPECT_FLOAT_EQ(0.012f, c->ObjectiveDiameter);
  EXPECT_FLOAT_EQ(0.03f, c->ObjectiveLength);
  // "sync" other than 0 and 1 leaves the mode.
  c->sync = CSCHCamera::kSyncMaster;
  comptest::DbRow row(L"cameras", {{"model", "C"}, {"iface", "0"}, {"sync", "2"}});
  c->ApplyDbRecord(row.Record());
  EXPECT_EQ(CSCHCamera::kSyncMaster, c->sync);
}

// An analogue camera (12 V, 0.5 A) on a supply, its video pin read by a part.
struct Analogue {
  explicit Analogue(std::initializer_list<std::pair<const char*, const char*>> extra = {}) {
    camera = MakeCamera(bench, extra);
    camera->SetName(L"K1");
    supply = bench.Source(12, 0.1f);
    ground = bench.Ground();
    video = bench.Part(1);
    bench.Wire(supply, 0, camera, camera->powerPin);
    bench.Wire(ground, 0, camera, camera->powerGroundPin);
    bench.Wire(video, 0, camera, camera->VideoOutPin());
    camera->sceneLink = &link;
    link.frameHandle = 0xA1B2C3D4;
    link.objectHandle = 0x01020304;
  }
  SchPinState Video() { return comptest::Bench::State(video, 0); }

  UnitBench bench;
  MediaSceneLink link;
  CSCHCamera* camera = nullptr;
  circuit::Part* supply = nullptr;
  circuit::Part* ground = nullptr;
  circuit::Part* video = nullptr;
};

const std::initializer_list<std::pair<const char*, const char*>> kAnalogueModel = {
    {"iface", "0"}, {"U", "12"}, {"I", "0.5"}, {"LoadTime", "0.5"}};

TEST(Camera, APoweredAnalogueCameraDrivesItsVideoRecord) {
  Analogue a(kAnalogueModel);
  a.bench.Build();
  a.bench.Start();
  a.bench.Step(2, 1e-3f);
  EXPECT_TRUE(a.camera->IsRunning());
  SchPinState s = a.Video();
  EXPECT_EQ(22, s.sourceKind);
  ASSERT_NE(nullptr, s.source);
  const unsigned char* v = reinterpret_cast<const BeAudioSource*>(s.source)->value;
  EXPECT_EQ(0xEE, v[1]);
  EXPECT_EQ(0x33, v[2]);
  EXPECT_EQ(0xA1B2C3D4u, AudioSoundHandle(v));
  EXPECT_NEAR(6.0f, s.U, 1e-4f);
  EXPECT_NEAR(-6.0f, s.U2, 1e-4f);
  EXPECT_NEAR(100.0f, s.R2, 1e-3f);
  a.bench.Stop();
}

TEST(Camera, ALossUpTo100MsIsSurvivedALongerOneNeedsTheBootTime) {
  Analogue a(kAnalogueModel);
  a.bench.Build();
  a.bench.Start();
  a.bench.Step(50, 1e-3f);
  // 90 ms off, back, 90 ms off again: the grace refills while running.
  for (int round = 0; round < 2; ++round) {
    a.supply->Drive(0, 0, 0.1f);
    a.bench.Step(90, 1e-3f);
    EXPECT_TRUE(a.camera->IsRunning()) << round;
    a.supply->Drive(0, 12, 0.1f);
    a.bench.Step(5, 1e-3f);
    EXPECT_FLOAT_EQ(0.1f, a.camera->runTimer);
  }
  a.supply->Drive(0, 0, 0.1f);
  a.bench.Step(110, 1e-3f);
  EXPECT_FALSE(a.camera->IsRunning());
  EXPECT_FLOAT_EQ(-0.5f, a.camera->runTimer);
  EXPECT_NE(22, a.Video().sourceKind);  // switched off
  // Booting sets the drive's targets back; the whole boot time is needed.
  a.supply->Drive(0, 12, 0.1f);
  a.bench.Step(495, 1e-3f);
  EXPECT_FALSE(a.camera->IsRunning());
  a.bench.Step(10, 1e-3f);
  EXPECT_TRUE(a.camera->IsRunning());
  a.bench.Step(2, 1e-3f);
  EXPECT_EQ(22, a.Video().sourceKind);
  a.bench.Stop();
}

TEST(Camera, OverVoltageBurnsTheCameraAndSwitchesItOff) {
  for (float volts : {22.0f, -2.0f}) {
    SCOPED_TRACE(volts);
    comptest::LogCapture log;
    Analogue a(kAnalogueModel);
    a.bench.Build();
    a.bench.Start();
    a.bench.Step(2, 1e-3f);
    a.supply->Drive(0, volts, 0.1f);
    a.bench.Step(2, 1e-3f);
    EXPECT_TRUE(a.camera->burnt);
    ASSERT_EQ(1, log.Count());
    EXPECT_EQ(L"Камера \"K1\" вышла из строя", log.Messages()[0]);
    EXPECT_NE(22, a.Video().sourceKind);
    a.bench.Stop();
  }
}

TEST(Camera, WithoutASceneLinkFramesNameNoPicture) {
  Analogue a(kAnalogueModel);
  a.camera->sceneLink = nullptr;
  a.bench.Build();
  a.bench.Start();
  a.bench.Step(2, 1e-3f);
  SchPinState s = a.Video();
  ASSERT_EQ(22, s.sourceKind);
  EXPECT_EQ(0u, AudioSoundHandle(reinterpret_cast<const BeAudioSource*>(s.source)->value));
  EXPECT_FLOAT_EQ(0.7f, a.camera->fieldOfView);
  a.bench.Stop();
}

// The sync lines of a camera: output (+) pulled to 12 V through r, (-) to
// ground; the input left open.
struct Synced {
  explicit Synced(const char* mode, float pullUp = 12, float r = 2000) : a({}) {
    a.camera->sync = CSCHCamera::kSyncOff;
    comptest::DbRow row(L"cameras",
                        {{"model", "S"}, {"iface", "0"}, {"U", "12"}, {"I", "0.5"}, {"sync", "1"}});
    a.camera->ApplyDbRecord(row.Record());
    a.camera->sync = static_cast<unsigned char>(atoi(mode));
    a.bench.Wire(a.supply, 0, a.camera, a.camera->powerPin);
    a.bench.Wire(a.ground, 0, a.camera, a.camera->powerGroundPin);
    a.bench.Wire(a.video, 0, a.camera, a.camera->VideoOutPin());
    pull = a.bench.Source(pullUp, r);
    low = a.bench.Ground();
    a.bench.Wire(pull, 0, a.camera, a.camera->SyncPin(0));
    a.bench.Wire(low, 0, a.camera, a.camera->SyncPin(1));
  }
  Analogue a;
  circuit::Part* pull = nullptr;
  circuit::Part* low = nullptr;
};

TEST(Camera, OnlyAMasterDrivesTheSyncPulse) {
  for (const char* mode : {"1", "2", "3"}) {
    SCOPED_TRACE(mode);
    Synced s(mode);
    s.a.bench.Build();
    s.a.bench.Start();
    s.a.bench.Step(3, 1e-3f);
    SchPinState plus = comptest::Bench::State(s.pull, 0);
    if (mode[0] == '2') {
      EXPECT_EQ(kSchSourceOwnWeight, plus.sourceKind);
      ASSERT_NE(nullptr, plus.source);
      EXPECT_FLOAT_EQ(0.04f, GetPwmPeriod(plus.source));
      EXPECT_FLOAT_EQ(0.5f, plus.source->weight);
      EXPECT_NEAR(3.0f, plus.R2, 1e-3f);  // the closed switch to ground
    } else {
      EXPECT_EQ(nullptr, plus.source);
      float R = 0;
      circuit::Circuit::Read(s.pull, 0, &R);
      EXPECT_GT(R, 1e6f);
    }
    EXPECT_FALSE(s.a.camera->syncOutBurnt);
    s.a.bench.Stop();
  }
}

TEST(Camera, SyncOutputBurnsOnOverVoltageOrAMasterOverCurrent) {
  struct Case {
    const char* mode;
    float volts, r;
    bool burns;
  } cases[] = {{"1", 35, 2000, true}, {"2", 12, 100, true}, {"2", 12, 2000, false}, {"3", 12, 100, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.mode << " " << k.volts << " " << k.r);
    comptest::LogCapture log;
    Synced s(k.mode, k.volts, k.r);
    s.a.camera->SetName(L"K1");
    s.a.bench.Build();
    s.a.bench.Start();
    s.a.bench.Step(3, 1e-3f);
    EXPECT_EQ(k.burns, s.a.camera->syncOutBurnt != 0);
    EXPECT_FALSE(s.a.camera->burnt);
    if (k.burns) {
      ASSERT_EQ(1, log.Count());
      EXPECT_EQ(L"Цифровой выход камеры \"K1\" вышел из строя!", log.Messages()[0]);
      // Now a 3-ohm short between the pins.
      float R = 0;
      circuit::Circuit::Read(s.pull, 0, &R);
      EXPECT_NEAR(3.0f, R, 0.01f);
    }
    s.a.bench.Stop();
    // Start clears the flag.
    s.a.bench.Start();
    EXPECT_FALSE(s.a.camera->syncOutBurnt);
    s.a.bench.Stop();
  }
}

TEST(Camera, SyncInputIsAnOptoLedAndBurnsOverTenMilliamps) {
  struct Case {
    float volts, r;
    bool burns;
  } cases[] = {{12, 1000, false}, {30, 0.1f, false}, {31, 0.1f, true}, {45, 100000, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.volts << " " << k.r);
    comptest::LogCapture log;
    Synced s("1");
    s.a.camera->SetName(L"K1");
    circuit::Part* in = s.a.bench.Source(k.volts, k.r);
    circuit::Part* back = s.a.bench.Ground();
    s.a.bench.Wire(in, 0, s.a.camera, s.a.camera->SyncPin(2));
    s.a.bench.Wire(back, 0, s.a.camera, s.a.camera->SyncPin(3));
    s.a.bench.Build();
    s.a.bench.Start();
    s.a.bench.Step(3, 1e-3f);
    EXPECT_EQ(k.burns, s.a.camera->syncInBurnt != 0);
    float R = 0;
    circuit::Circuit::Read(in, 0, &R);
    if (k.burns) {
      ASSERT_EQ(1, log.Count());
      EXPECT_EQ(L"Цифровой вход камеры \"K1\" вышел из строя!", log.Messages()[0]);
      EXPECT_NEAR(3000.0f, R, 1.0f);
    } else {
      // The LED conducts: the source sees ground behind 3000 ohm and 0.7 V.
      EXPECT_NEAR(3000.0f, R, 1.0f);
      EXPECT_NEAR(0.7f, circuit::Circuit::Read(in, 0), 1e-3f);
    }
    s.a.bench.Stop();
  }
}

// An RS-485 master: two parts driving the A and B lines with serial data of
// one source.
struct Rs485 {
  Rs485() : a({{"iface", "0"}, {"U", "12"}, {"I", "0.5"}, {"rotX", "90"}, {"rotY", "30"}, {"Zoom", "3"}}) {
    lineA = a.bench.Add<devtest::StateDriver>();
    lineB = a.bench.Add<devtest::StateDriver>();
    lineA->SetLevels(5, 10, -5, 10, kSchSourceSerial);
    lineB->SetLevels(-5, 10, 5, 10, kSchSourceSerial);
    source.packets = &set;
    lineA->state.source = &source;
    lineB->state.source = &source;
    a.bench.Wire(lineA, 0, a.camera, a.camera->ControlPin(0));
    a.bench.Wire(lineB, 0, a.camera, a.camera->ControlPin(1));
  }
  Analogue a;
  devtest::StateDriver* lineA = nullptr;
  devtest::StateDriver* lineB = nullptr;
  SchPacketSet set;
  SchSignalSource source = {nullptr, 0};
};

TEST(Camera, Rs485CommandsNeedTheFormatWordAndMoveTheDrive) {
  Rs485 r;
  r.a.bench.Build();
  r.a.bench.Start();
  // Another format: not taken.
  PutPacket(&r.set, 1, 5, 0x000A0961, {1, 1, static_cast<unsigned char>(-1)});
  r.a.bench.Step(5, 1e-3f);
  EXPECT_EQ(0, r.a.camera->dX);
  EXPECT_EQ(0, r.a.camera->lastCommandSequence);
  // The RS-485 format: taken.
  PutPacket(&r.set, 1, 6, CSCHCamera::kRs485Format, {1, 1, static_cast<unsigned char>(-1)});
  r.a.bench.Step(1, 1e-3f);
  EXPECT_EQ(6, r.a.camera->lastCommandSequence);
  EXPECT_EQ(1, r.a.camera->dZoom);
  EXPECT_EQ(1, r.a.camera->dX);
  EXPECT_EQ(-1, r.a.camera->dY);
  // Held: the targets move 0.1 zoom and 0.02 rad every 0.1 s, to the limits.
  r.a.bench.Step(10, 0.0501f);  // five ticks
  EXPECT_NEAR(1.5f, r.a.camera->targetZoom, 1e-4f);
  EXPECT_NEAR(0.1f, r.a.camera->targetPan, 1e-4f);
  EXPECT_NEAR(-0.1f, r.a.camera->targetTilt, 1e-4f);
  r.a.bench.Step(1000, 0.0501f);
  EXPECT_NEAR(3.0f, r.a.camera->targetZoom, 1e-4f);
  EXPECT_NEAR(3.1415927f / 2, r.a.camera->targetPan, 1e-4f);
  EXPECT_NEAR(-3.1415927f / 6, r.a.camera->targetTilt, 1e-4f);
  EXPECT_NEAR(3.0f, r.a.camera->zoom, 1e-3f);  // the drive has followed
  // Lines below the RS-485 levels: not read.
  r.lineA->SetLevels(2, 10, -2, 10, kSchSourceSerial);
  r.lineA->state.source = &r.source;
  PutPacket(&r.set, 1, 7, CSCHCamera::kRs485Format, {0, 0, 0});
  r.a.bench.Step(2, 1e-3f);
  EXPECT_EQ(6, r.a.camera->lastCommandSequence);
  r.a.bench.Stop();
}

TEST(Camera, ACommandWithAnUnchangedSequenceIsNotAppliedAgain) {
  UnitRegistryScope registry;
  auto c = comptest::NewDetached<CSCHCamera>("Camera");
  SchPacketSet set;
  PutPacket(&set, 1, 9, 0, {1, 2, 3});
  EXPECT_FALSE(c->ReadControlPacket(&set, true));  // format 0 refused with the check
  EXPECT_TRUE(c->ReadControlPacket(&set, false));
  EXPECT_EQ(9, c->lastCommandSequence);
  c->dX = 0;
  EXPECT_FALSE(c->ReadControlPacket(&set, false));
  EXPECT_EQ(0, c->dX);
  // Another channel is not read; a short payload reads as zeros.
  c->controlChannel = 4;
  PutPacket(&set, 4, 10, 0, {static_cast<unsigned char>(-3)});
  EXPECT_TRUE(c->ReadControlPacket(&set, false));
  EXPECT_EQ(-3, c->dZoom);
  EXPECT_EQ(0, c->dX);
  EXPECT_FALSE(c->ReadControlPacket(nullptr, false));
}

// The payload of a frame packet: counter, tag, 0, handle (and the audio part).
std::vector<unsigned char> FramePayload(const SchPacket* p) {
  return std::vector<unsigned char>(p->payload.data, p->payload.data + p->payload.size);
}

TEST(Camera, UsbFramesGoIntoTheHostsSetAndCommandsComeFromIt) {
  UnitBench bench;
  CSCHCamera* c = MakeCamera(bench, {{"iface", "1"}, {"Mic", "1"}, {"Zoom", "2"}});
  MediaSceneLink link;
  link.frameHandle = 0x11223344;
  link.objectHandle = 0x55667788;
  c->sceneLink = &link;
  c->transmissionChannel = 3;
  auto* host = bench.Add<DataHost>(kSchSourceUsbHost, true);
  bench.Wire(host, 0, c, 0);
  PutPacket(&host->set, 1, 1, 0x1234, {1, 0, 0});
  bench.Build();
  bench.Start();
  bench.Step(3, 1e-3f);
  int i = host->set.FindId(3);
  ASSERT_GE(i, 0);
  const SchPacket* p = host->set.packets[i];
  EXPECT_EQ(2, p->sequence);
  EXPECT_EQ(0, p->format);
  EXPECT_EQ((std::vector<unsigned char>{2, 0xEE, 0x33, 0, 0x44, 0x33, 0x22, 0x11, 2, 0x22, 0xEA, 0, 0x88, 0x77,
                                        0x66, 0x55}),
            FramePayload(p));
  EXPECT_EQ(3, c->frameCounter);
  // Any format over USB.
  EXPECT_EQ(1, c->lastCommandSequence);
  EXPECT_EQ(1, c->dZoom);
  bench.Stop();
}

TEST(Camera, UsbOrEthernetWithoutAComputersSourceSendNothing) {
  struct Case {
    const char* iface;
    int hostKind;
    bool withSet;
    bool sends;
  } cases[] = {{"1", 17, true, false}, {"2", 11, true, false}, {"2", 17, true, true}, {"1", 11, false, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.iface << " " << k.hostKind << " " << k.withSet);
    UnitBench bench;
    CSCHCamera* c = MakeCamera(bench, {{"iface", k.iface}, {"PoE", "0"}, {"U", "12"}, {"I", "1"}});
    auto* host = bench.Add<DataHost>(k.hostKind, k.withSet);
    bench.Wire(host, 0, c, c->DataPin());
    if (c->powerPin >= 0) {
      bench.Wire(bench.Source(12, 0.1f), 0, c, c->powerPin);
      bench.Wire(bench.Ground(), 0, c, c->powerGroundPin);
    }
    bench.Build();
    bench.Start();
    bench.Step(2, 1e-3f);
    SchNet* net = bench.NetOf(c, c->DataPin());
    const SchPacketSet* set = net->source ? net->source->packets : nullptr;
    EXPECT_EQ(k.sends, set && set->FindId(0) >= 0);
    if (!k.withSet && k.sends) {
      EXPECT_EQ(c->GetPacketSet(), set);  // its own set became the net's
    }
    bench.Stop();
  }
}

TEST(Camera, APoeCameraLoadsTheCableAndBurnsOnOverVoltage) {
  struct Case {
    double volts;
    bool powered, burns;
  } cases[] = {{48, true, false}, {10, false, false}, {100, false, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.volts);
    comptest::LogCapture log;
    UnitBench bench;
    CSCHCamera* c = MakeCamera(bench, {{"iface", "2"}, {"PoE", "1"}, {"U", "48"}, {"I", "0.25"}});
    // An injector writes the cable's voltage into its first sum each step.
    class Injector : public DataHost {
    public:
      Injector(double v) : DataHost(kSchSourceEthernet, true), volts(v) {}
      void Step(float dt) override {
        DataHost::Step(dt);
        if (pins[0].net) pins[0].net->sumI = volts;
      }
      double volts;
    };
    auto* inj = bench.Add<Injector>(k.volts);
    bench.Wire(inj, 0, c, 0);
    bench.Build();
    bench.Start();
    bench.Step(3, 1e-3f);
    EXPECT_NEAR(0.25 / 48, bench.NetOf(c, 0)->sumG, 1e-6);
    EXPECT_EQ(k.burns, c->burnt != 0);
    EXPECT_EQ(k.powered, inj->set.FindId(0) >= 0);
    bench.Stop();
  }
}

TEST(Camera, WiFiPacketsReachARouterOfTheSameSsid) {
  UnitBench bench;
  CSCHCamera* c = MakeCamera(bench, {{"iface", "3"}, {"U", "5"}, {"I", "1"}, {"power", "1"}});
  bench.Wire(bench.Source(5, 0.1f), 0, c, c->powerPin);
  bench.Wire(bench.Ground(), 0, c, c->powerGroundPin);
  MediaSceneLink link;
  MakeIdentityMatrix(&link.antennaPose);
  link.frameHandle = 77;
  c->sceneLink = &link;
  c->SetSsid(L"robot");
  // A router on the air, 1 m away, its radio omnidirectional.
  CSCHRouter router;
  router.mode = kElecRouterAccessPoint;
  router.SetSsid(L"robot");
  Mat4f routerPose;
  MakeIdentityMatrix(&routerPose);
  routerPose.at(3, 0) = 1;
  router.radioPose = &routerPose;
  router.radioAround = 0;
  router.radioAlong = 0;
  router.P = 10;
  router.packets = new SchPacketSet;
  PutPacket(router.packets, 1, 4, 0, {0, 1, 0});
  router.JoinRadioList();
  bench.Build();
  bench.Start();
  bench.Step(2, 1e-3f);
  // Both ways: the frame at the router, the router's command at the camera.
  EXPECT_GE(router.packets->FindId(0), 0);
  ASSERT_NE(nullptr, c->GetPacketSet());
  EXPECT_GE(c->GetPacketSet()->FindId(1), 0);
  // Another SSID: no link.
  router.packets->RemoveAt(router.packets->FindId(0));
  router.SetSsid(L"other");
  bench.Step(2, 1e-3f);
  EXPECT_LT(router.packets->FindId(0), 0);
  // No SSID: nothing sent at all.
  router.SetSsid(L"robot");
  c->SetSsid(nullptr);
  bench.Step(2, 1e-3f);
  EXPECT_LT(router.packets->FindId(0), 0);
  bench.Stop();
  router.LeaveRadioList();
}

TEST(Camera, RecordLayoutReadsBackAndEveryCutLoadsSafely) {
  UnitRegistryScope registry;
  auto c = comptest::NewDetached<CSCHCamera>("Camera");
  c->fieldOfView = 0.5f;
  c->U = 12;
  c->I = 0.3f;
  c->Zoom = 0;
  c->rotX = 0;
  c->rotY = 0;
  c->LoadTime = 3;
  c->power = 0.1f;
  c->iface = CSCHCamera::kWiFi;
  c->sync = CSCHCamera::kSyncMaster;
  c->Mic = 1;
  c->wifiMode = CSCHCamera::kWiFiAdHocMode;
  c->SetSsid(L"ABCDEFGHIJKLMNOPQ");  // 17: cut to 15
  c->transmissionChannel = 9;
  c->controlChannel = 200;
  c->ObjectiveDiameter = 0.01f;
  c->ObjectiveLength = 0.02f;
  ASSERT_TRUE(c->BuildPins());
  c->SetName(L"K1");
  Golden g;
  g.F(0.5f).F(12).F(0.3f).F(0).F(0).F(0).F(3).F(0.1f).B(0).B(0x43).B(1).B(3);
  for (const wchar_t* p = L"ABCDEFGHIJKLMNO"; *p; ++p) g.B(*p).B(0);
  g.B(0).B(0);
  g.B(9).B(200).F(0.01f).F(0.02f);
  ASSERT_EQ(78u, g.Bytes().size());
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(c.get()), g.Bytes()));
  std::vector<uint8_t> bytes = comptest::SaveBytes(c.get());
  comptest::ForEachTruncation<CSCHCamera>("Camera", bytes, [&](CSCHCamera* copy, size_t n) {
    if (n < CSCHCamera::kOwnRecordBytes) {
      EXPECT_EQ(CSCHCamera::kUsb, copy->iface);
      EXPECT_EQ(1, copy->pinCount);
    } else {
      EXPECT_EQ(CSCHCamera::kWiFi, copy->iface);
      EXPECT_EQ(CSCHCamera::kSyncMaster, copy->sync);
      EXPECT_EQ(6, copy->pinCount);
      EXPECT_STREQ(L"ABCDEFGHIJKLMNO", copy->ssid);
      EXPECT_EQ(200, copy->controlChannel);
      EXPECT_EQ(0.02f, copy->ObjectiveLength);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(L"K1", copy->instanceName);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
  // A record whose SSID field holds 16 characters: cut to 15, terminated.
  std::vector<uint8_t> full = bytes;
  full[36 + 30] = 'Z';
  auto copy = comptest::NewDetached<CSCHCamera>("Camera");
  comptest::LoadBytes(copy.get(), full);
  EXPECT_EQ(0, copy->ssid[15]);
  EXPECT_STREQ(L"ABCDEFGHIJKLMNO", copy->ssid);
}

}  // namespace

namespace {

TEST(Camera, SampleTableRowsMakeTheirCameras) {
  UnitRegistryScope registry;
  comptest::SampleTable table(L"cameras");
  ASSERT_TRUE(table.loaded);
  struct Case {
    const char* model;
    int iface, pins;
    bool remote;
  } cases[] = {{"Velk CAM-P1", 0, 13, true}, {"Velk CAM-U1", 1, 1, false}, {"Velk CAM-E1", 2, 5, false},
               {"Velk CAM-W1", 3, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    CompDbRecord* record = table.Find(c.model);
    ASSERT_NE(nullptr, record);
    auto cam = comptest::NewDetached<CSCHCamera>("Camera");
    cam->ApplyDbRecord(record);
    EXPECT_EQ(c.iface, cam->iface);
    EXPECT_EQ(c.pins, cam->pinCount);
    EXPECT_EQ(c.remote, cam->HasRemoteControl());
  }
  comptest::SampleTable mics(L"mic");
  ASSERT_TRUE(mics.loaded);
  EXPECT_NE(nullptr, mics.Find("Velk MC-10"));
}

}  // namespace

namespace {

TEST(Camera, ARatingWithoutCurrentDrawsNothingAndNeverDividesByZero) {
  for (const char* iface : {"2", "3"}) {
    SCOPED_TRACE(iface);
    comptest::LogCapture log;
    UnitBench bench;
    CSCHCamera* c = MakeCamera(bench, {{"iface", iface}, {"PoE", "1"}, {"U", "12"}, {"I", "0"}});
    auto* host = bench.Add<DataHost>(kSchSourceEthernet, true);
    if (c->DataPin() >= 0) bench.Wire(host, 0, c, c->DataPin());
    circuit::Part* supply = bench.Source(12, 0.1f);
    if (c->powerPin >= 0) {
      bench.Wire(supply, 0, c, c->powerPin);
      bench.Wire(bench.Ground(), 0, c, c->powerGroundPin);
    }
    bench.Build();
    bench.Start();
    bench.Step(3, 1e-3f);
    EXPECT_FALSE(c->burnt);
    EXPECT_EQ(0, log.Count());
    if (c->DataPin() >= 0) {
      const double G = bench.NetOf(c, c->DataPin())->sumG;
      EXPECT_TRUE(std::isfinite(G));
      EXPECT_NEAR(1.0 / 5e6, G, 1e-9);
    } else {
      float R = 0;
      circuit::Circuit::Read(supply, 0, &R);
      EXPECT_GT(R, 1e6f);  // the camera's pins are not driven
    }
    bench.Stop();
  }
}

}  // namespace
