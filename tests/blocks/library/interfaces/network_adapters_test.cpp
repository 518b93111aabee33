// The network adapters: LAN and USB adapters exchanging packets through the
// net of their pin and taking it over as its source (and leaving it at Stop
// and when deleted); the WiFi module linking with access points and ad-hoc
// peers through its antenna, detuned or without one; their records.
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "block_kit.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "blocks/library/interfaces/wifi_radio_list.h"
#include "components/electronic/radio/antenna.h"
#include "components/electronic/radio/router.h"
#include "foundation/vecmath.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"

namespace {

using blocktest::Bench;
using blocktest::FakeOwner;

const float kOmni = 6.3f;  // at or above 2 pi: omnidirectional

// An adapter that sends an int on `sendChannel` and receives one on
// `receiveChannel`.
template <class T>
T* AddAdapter(Bench& bench, unsigned int classId, int pin, int sendChannel, int receiveChannel) {
  T* block = bench.Create<T>(classId);
  block->pinIndex = pin;
  block->SetSendFieldCount(1);
  block->SetSendField(0, nullptr, kBeSignalInt, static_cast<unsigned char>(sendChannel));
  block->SetReceiveFieldCount(1);
  block->SetReceiveField(0, nullptr, kBeSignalInt, static_cast<unsigned char>(receiveChannel));
  return block;
}

std::vector<int> Ids(const SchPacketSet* set) {
  std::vector<int> ids;
  if (set)
    for (int i = 0; i < set->count; ++i) ids.push_back(set->packets[i]->id);
  return ids;
}

bool Holds(const SchPacketSet* set, int id) { return set && set->FindId(id) >= 0; }

TEST(NetworkAdapters, Defaults) {
  Bench bench;
  auto* lan = bench.Create<CBELAN>(kBeLANClassId);
  ASSERT_NE(nullptr, lan);
  EXPECT_STREQ(L"LAN-адаптер", lan->GetCaption());
  EXPECT_EQ(kBeBlockDevice, lan->flags);
  EXPECT_EQ(1, lan->enabled);
  EXPECT_EQ(8000000, lan->speed);
  EXPECT_EQ(8, lan->bitsPerByte);
  EXPECT_EQ(0u, lan->receiveFormat);
  EXPECT_EQ(0u, lan->sendFormat);
  EXPECT_EQ(200, lan->Width());
  EXPECT_EQ(30, lan->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xE0E0E0), lan->fillColor);
  EXPECT_EQ(0, lan->pinIndex);
  auto* usb = bench.Create<CBEUSB>(kBeUSBClassId);
  ASSERT_NE(nullptr, usb);
  EXPECT_STREQ(L"USB-host", usb->GetCaption());
  EXPECT_EQ(8000000, usb->speed);

  auto* wifi = bench.Create<CBEWiFi>(kBeWiFiClassId);
  ASSERT_NE(nullptr, wifi);
  EXPECT_STREQ(L"Модуль WiFi", wifi->GetCaption());
  EXPECT_NE(nullptr, wifi->caption) << "its own caption, so the computer finds it";
  EXPECT_TRUE(wifi->IsDevice());
  EXPECT_EQ(0, wifi->enabled);
  EXPECT_EQ(kWiFiClient, wifi->mode);
  EXPECT_STREQ(L"", wifi->ssid);
  EXPECT_FLOAT_EQ(6.2831855f, wifi->beamWidth1);
  EXPECT_FLOAT_EQ(6.2831855f, wifi->beamWidth2);
  EXPECT_FLOAT_EQ(0.01f, wifi->power);
  EXPECT_FLOAT_EQ(1.0f, wifi->gain);
  EXPECT_EQ(0, wifi->axis);
  EXPECT_EQ(-1, wifi->antennaPin);
  EXPECT_EQ(nullptr, wifi->pose);
  EXPECT_EQ(8000000, wifi->speed);
  EXPECT_EQ(8, wifi->bitsPerByte);
  EXPECT_EQ(30, wifi->Height());
  EXPECT_EQ(bench.scheme.FindDeviceBlock(L"Модуль WiFi"), wifi);
}

// Two computers whose LAN pins share a net: after one pass of both, each
// set holds the newest packet of each id from both sides; their programs
// read each other's fields.
TEST(NetworkAdapters, TwoLANAdaptersOnOneNetExchangeTheirFields) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(2);
  owner.Tie(0, 1);
  auto* a = AddAdapter<CBELAN>(bench, kBeLANClassId, 0, 10, 20);
  auto* b = AddAdapter<CBELAN>(bench, kBeLANClassId, 1, 20, 10);
  blocktest::Source* x = bench.Source(kBeSignalInt);
  blocktest::Source* y = bench.Source(kBeSignalInt);
  bench.Link(x, a, 0);
  bench.Link(y, b, 0);
  x->SetInt(1010);
  y->SetInt(2020);
  bench.Pass();
  EXPECT_EQ((std::vector<int>{10, 20}), Ids(a->signalSource.packets));
  EXPECT_TRUE(Holds(b->signalSource.packets, 10));
  EXPECT_TRUE(Holds(b->signalSource.packets, 20));
  // The one stepped last is the net's source, as kind 17.
  SchNet* net = owner.Net(0);
  EXPECT_EQ(kSchSourceEthernet, net->sourceKind);
  EXPECT_EQ(&a->signalSource, net->source);
  bench.Pass();
  EXPECT_EQ(2020, blocktest::ReadInt(a));
  EXPECT_EQ(1010, blocktest::ReadInt(b));
  // The newest packet of an id wins on both sides.
  x->SetInt(3030);
  bench.Passes(40);
  EXPECT_EQ(3030, blocktest::ReadInt(b));
  int seqA = a->signalSource.packets->packets[a->signalSource.packets->FindId(10)]->sequence;
  int seqB = b->signalSource.packets->packets[b->signalSource.packets->FindId(10)]->sequence;
  EXPECT_EQ(a->sequence, seqA);
  EXPECT_EQ(seqA, seqB);
}

TEST(NetworkAdapters, ALANAdapterTakesOverANetCarryingUSB) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(2);
  owner.Tie(0, 1);
  auto* lan = AddAdapter<CBELAN>(bench, kBeLANClassId, 0, 10, 20);
  auto* usb = AddAdapter<CBEUSB>(bench, kBeUSBClassId, 1, 20, 10);  // steps first
  blocktest::Source* y = bench.Source(kBeSignalInt);
  bench.Link(y, usb, 0);
  y->SetInt(77);
  bench.Passes(5);
  EXPECT_EQ(0, blocktest::ReadInt(lan)) << "a USB source is not read by a LAN adapter";
  EXPECT_EQ(nullptr, lan->incoming);
  EXPECT_FALSE(Holds(lan->signalSource.packets, 20));
  EXPECT_EQ(kSchSourceEthernet, owner.Net(0)->sourceKind);
  EXPECT_EQ(&lan->signalSource, owner.Net(0)->source);
  // And the USB adapter takes it back as kind 11 in its own pass.
  usb->Step(0.001f);
  EXPECT_EQ(kSchSourceUsbHost, owner.Net(0)->sourceKind);
  EXPECT_EQ(&usb->signalSource, owner.Net(0)->source);
}

TEST(NetworkAdapters, USBAdaptersExchangeOverTheirCable) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(2);
  owner.Tie(0, 1);
  auto* a = AddAdapter<CBEUSB>(bench, kBeUSBClassId, 0, 3, 4);
  auto* b = AddAdapter<CBEUSB>(bench, kBeUSBClassId, 1, 4, 3);
  blocktest::Source* x = bench.Source(kBeSignalInt);
  bench.Link(x, a, 0);
  x->SetInt(-9);
  bench.Passes(2);
  EXPECT_EQ(-9, blocktest::ReadInt(b));
  EXPECT_EQ(kSchSourceUsbHost, owner.Net(0)->sourceKind);
}

TEST(NetworkAdapters, AnAdapterLeavesItsNetAtStopAndWhenDeleted) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(2);
  auto* lan = AddAdapter<CBELAN>(bench, kBeLANClassId, 0, 1, 1);
  auto* usb = AddAdapter<CBEUSB>(bench, kBeUSBClassId, 1, 1, 1);
  bench.Pass();
  ASSERT_EQ(&lan->signalSource, owner.Net(0)->source);
  ASSERT_EQ(&usb->signalSource, owner.Net(1)->source);
  bench.Stop();
  EXPECT_EQ(nullptr, owner.Net(0)->source);
  EXPECT_EQ(0, owner.Net(0)->sourceKind);
  EXPECT_EQ(nullptr, owner.Net(1)->source);
  // Deleted while it is the source.
  bench.Pass();
  ASSERT_EQ(&usb->signalSource, owner.Net(1)->source);
  delete usb;
  EXPECT_EQ(nullptr, owner.Net(1)->source);
  EXPECT_EQ(0, owner.Net(1)->sourceKind);
  // A source of another part is left alone.
  SchSignalSource other = {nullptr, 0};
  owner.Net(0)->source = &other;
  owner.Net(0)->sourceKind = kSchSourceEthernet;
  bench.Stop();
  EXPECT_EQ(&other, owner.Net(0)->source);
  owner.Net(0)->source = nullptr;
}

TEST(NetworkAdapters, AnUnwiredAdapterStillSendsIntoItsOwnSet) {
  Bench bench;
  auto* lan = AddAdapter<CBELAN>(bench, kBeLANClassId, 0, 1, 1);
  blocktest::Source* x = bench.Source(kBeSignalInt);
  bench.Link(x, lan, 0);
  x->SetInt(5);
  bench.Passes(3);
  EXPECT_EQ((std::vector<int>{1}), Ids(lan->signalSource.packets));
  EXPECT_EQ(0, blocktest::ReadInt(lan)) << "nothing is read without a net";
  Bench wired;
  wired.UseFakeOwner(1);
  auto* beyond = AddAdapter<CBELAN>(wired, kBeLANClassId, 5, 1, 1);  // past the unit's pins
  wired.Passes(3);
  EXPECT_EQ(1, beyond->signalSource.packets->count);
}

// ------------------------------------------------------------ WiFi

// A pose at (x, y, 0).
struct Pose {
  explicit Pose(float x = 0, float y = 0) {
    MakeIdentityMatrix(&m);
    m.at(3, 0) = x;
    m.at(3, 1) = y;
  }
  Mat4f m;
};

// A router on the air: an access point by default, omnidirectional, power
// 0.01 and gain 1, with one packet (an int) of its own id.
struct AirRouter {
  AirRouter(float x, const wchar_t* ssid, int id, int value, unsigned char mode = kElecRouterAccessPoint)
      : pose(x) {
    router.mode = mode;
    router.SetSsid(ssid);
    router.packets = new SchPacketSet;
    router.radioPose = &pose.m;
    router.radioAround = kOmni;
    router.radioAlong = kOmni;
    router.P = 0.01f;
    router.publishedGain = 1.0f;
    SchPacket* p = new SchPacket;
    p->id = static_cast<unsigned char>(id);
    p->sequence = 1;
    p->payload.Write(&value, 4);
    p->AddRef();
    router.packets->Put(p);
    p->Release();
    router.JoinRadioList();
  }
  Pose pose;
  CSCHRouter router;
};

// Three antenna pins on the unit, each with an omnidirectional antenna of
// gain 0 dBi (linear 1) tuned to 2400 MHz.
class WiFiTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(nullptr, BeWiFiRadioList::Head()) << "a WiFi block was left on the air";
    ASSERT_EQ(nullptr, CSCHRouter::RadioListHead()) << "a router was left on the air";
    owner = &bench.UseFakeOwner(kAntennas);
    for (int i = 0; i < kAntennas; ++i) {
      antennas[i] = bench.circuit_.Add<CSCHAntenna>();
      antennas[i]->widthAround = kOmni;
      antennas[i]->widthAlong = kOmni;
      antennas[i]->gain = 0;
      antennas[i]->bandwidth = 100;
      antennas[i]->centreFrequency = 2400;
      antennas[i]->pose = &poses[i].m;
      owner->Connect(i, antennas[i], 0);
    }
  }
  void TearDown() override {
    bench.Stop();
    EXPECT_EQ(nullptr, BeWiFiRadioList::Head());
  }
  // The antennas publish themselves on their nets (after the last Connect).
  void Publish() {
    for (CSCHAntenna* a : antennas) {
      a->Start();
      a->Step(0);
    }
  }
  // An enabled WiFi block on antenna pin `pin` at (x, 0, 0) that sends an
  // int on `sendChannel` and receives ints on the channels given.
  CBEWiFi* AddWiFi(int pin, float x, unsigned char mode, const wchar_t* ssid, int sendChannel,
                   std::initializer_list<int> receiveChannels) {
    auto* wifi = bench.Create<CBEWiFi>(kBeWiFiClassId);
    wifi->enabled = 1;
    wifi->antennaPin = pin;
    wifi->mode = mode;
    wifi->SetSsid(ssid);
    if (pin >= 0) poses[pin] = Pose(x);
    wifi->SetSendFieldCount(1);
    wifi->SetSendField(0, nullptr, kBeSignalInt, static_cast<unsigned char>(sendChannel));
    blocktest::Source* value = bench.Source(kBeSignalInt);
    value->SetInt(sendChannel * 100);
    bench.Link(value, wifi, 0);
    wifi->SetReceiveFieldCount(static_cast<int>(receiveChannels.size()));
    int k = 0;
    for (int c : receiveChannels) wifi->SetReceiveField(k++, nullptr, kBeSignalInt, static_cast<unsigned char>(c));
    return wifi;
  }

  static const int kAntennas = 3;
  Bench bench;
  FakeOwner* owner = nullptr;
  CSCHAntenna* antennas[kAntennas] = {};
  Pose poses[kAntennas];
};

TEST_F(WiFiTest, TheRadioListHoldsTheRunningEnabledBlocksNewestFirst) {
  auto* a = AddWiFi(0, 0, kWiFiAdHoc, L"mesh", 1, {});
  auto* b = AddWiFi(1, 0, kWiFiAdHoc, L"mesh", 2, {});
  auto* off = AddWiFi(2, 0, kWiFiAdHoc, L"mesh", 3, {});
  off->enabled = 0;
  EXPECT_EQ(nullptr, BeWiFiRadioList::Head()) << "on the air only while running";
  bench.Start();
  // The scheme starts its newest block first; each joins at the head.
  EXPECT_EQ(2, BeWiFiRadioList::Count());
  EXPECT_EQ(a, BeWiFiRadioList::Head());
  EXPECT_EQ(b, a->next);
  EXPECT_EQ(a, b->previous);
  EXPECT_FALSE(BeWiFiRadioList::Contains(off));
  // Enabled later, a block disabled at Start stays off the list.
  off->enabled = 1;
  bench.Pass();
  EXPECT_FALSE(BeWiFiRadioList::Contains(off));
  // Deleted while running, a block leaves the list.
  delete a;
  EXPECT_EQ(b, BeWiFiRadioList::Head());
  EXPECT_EQ(nullptr, b->previous);
  bench.Stop();
  EXPECT_EQ(nullptr, BeWiFiRadioList::Head());
  EXPECT_EQ(nullptr, b->next);
}

// List of routers, newest first: far (no link), near access point, another
// near access point. A client with an empty SSID links with the first
// access point whose link gain exceeds 2, and only with it.
TEST_F(WiFiTest, AClientLinksWithTheFirstAccessPointItReaches) {
  AirRouter second(30, L"lab", 42, 4242);
  AirRouter first(20, L"office", 41, 4141);
  AirRouter client(10, L"lab", 43, 4343, kElecRouterClient);  // not an access point
  AirRouter far(500, L"lab", 40, 4040);
  auto* wifi = AddWiFi(0, 0, kWiFiClient, L"", 1, {40, 41, 42, 43});
  Publish();
  bench.Passes(2);
  SchPacketSet* set = wifi->signalSource.packets;
  EXPECT_FALSE(Holds(set, 40)) << "too far";
  EXPECT_FALSE(Holds(set, 43)) << "not an access point";
  EXPECT_TRUE(Holds(set, 41));
  EXPECT_FALSE(Holds(set, 42)) << "the walk ends at the first link";
  EXPECT_EQ(4141, blocktest::ReadInt(wifi, 1)) << "the received fields read the merged set";
  EXPECT_EQ(0, blocktest::ReadInt(wifi, 2));
  // The router's set took the block's packet.
  EXPECT_TRUE(Holds(first.router.packets, 1));
}

TEST_F(WiFiTest, AClientWithAnSSIDTakesOnlyAccessPointsOfThatSSID) {
  AirRouter exact(30, L"lab", 42, 4242);
  AirRouter longer(20, L"lab2", 41, 4141);
  AirRouter cased(20, L"Lab", 44, 4444);
  auto* wifi = AddWiFi(0, 0, kWiFiClient, L"lab", 1, {41, 42, 44});
  Publish();
  bench.Passes(2);
  EXPECT_EQ(0, blocktest::ReadInt(wifi, 0));
  EXPECT_EQ(4242, blocktest::ReadInt(wifi, 1));
  EXPECT_EQ(0, blocktest::ReadInt(wifi, 2));
}

// Each block links with the ad-hoc blocks of its SSID that joined the radio
// list before it. The client is made first, so it starts last and stands at
// the head: it walks both ad-hoc blocks (a client links with ad-hoc peers
// too); they never walk it.
TEST_F(WiFiTest, AdHocBlocksOfOneSSIDExchangePackets) {
  auto* c = AddWiFi(2, 20, kWiFiClient, L"mesh", 3, {1, 2});
  auto* a = AddWiFi(0, 0, kWiFiAdHoc, L"mesh", 1, {2, 3});
  auto* b = AddWiFi(1, 40, kWiFiAdHoc, L"mesh", 2, {1, 3});
  Publish();
  bench.Start();
  ASSERT_EQ(c, BeWiFiRadioList::Head());
  bench.Passes(4);
  EXPECT_EQ(200, blocktest::ReadInt(a, 0));
  EXPECT_EQ(300, blocktest::ReadInt(a, 1));
  EXPECT_EQ(100, blocktest::ReadInt(b, 0));
  EXPECT_EQ(300, blocktest::ReadInt(b, 1));
  EXPECT_EQ(100, blocktest::ReadInt(c, 0));
  EXPECT_EQ(200, blocktest::ReadInt(c, 1));
}

TEST_F(WiFiTest, AdHocBlocksDoNotLinkWithoutAnSSIDOrWithAnother) {
  auto* a = AddWiFi(0, 0, kWiFiAdHoc, L"", 1, {2});
  auto* b = AddWiFi(1, 10, kWiFiAdHoc, L"", 2, {1});
  auto* c = AddWiFi(2, 10, kWiFiAdHoc, L"mesh", 3, {1, 2});
  Publish();
  bench.Passes(4);
  EXPECT_EQ(0, blocktest::ReadInt(a));
  EXPECT_EQ(0, blocktest::ReadInt(b));
  EXPECT_EQ(0, blocktest::ReadInt(c, 0));
  EXPECT_EQ(0, blocktest::ReadInt(c, 1));
  EXPECT_EQ((std::vector<int>{1}), Ids(a->signalSource.packets));
}

TEST_F(WiFiTest, ABlockDisabledAtStartIsNoOnesPeer) {
  auto* a = AddWiFi(0, 0, kWiFiAdHoc, L"mesh", 1, {2});
  auto* b = AddWiFi(1, 10, kWiFiAdHoc, L"mesh", 2, {1});
  a->enabled = 0;
  Publish();
  bench.Start();
  a->enabled = 1;  // as its dialog would during the run
  bench.Passes(4);
  EXPECT_EQ(0, blocktest::ReadInt(a));
  EXPECT_EQ(0, blocktest::ReadInt(b));
}

// The antenna's gain is detuned by e^(-x^2), x = (frequency - 2400) x 3 /
// bandwidth. At 50 m the link strength is 1.5e8 x (0.01 g)^2 / 2500 = 6 g^2:
// g = e^(-1/4) keeps the link (3.64), g = e^(-1) loses it (0.81).
TEST_F(WiFiTest, ADetunedAntennaLosesItsGain) {
  AirRouter ap(50, L"", 41, 4141);
  auto* wifi = AddWiFi(0, 0, kWiFiClient, L"", 1, {41});
  antennas[0]->centreFrequency = 2400 + 100.0f / 6;  // x = 1/2
  Publish();
  bench.Pass();
  EXPECT_NEAR(std::exp(-0.25f), wifi->gain, 1e-5f);
  bench.Pass();
  EXPECT_EQ(4141, blocktest::ReadInt(wifi));

  AirRouter other(50, L"", 42, 4242);  // now first on the air
  wifi->SetReceiveField(0, nullptr, kBeSignalInt, 42);
  memset(wifi->ReceiveField(0)->value, 0, 8);
  antennas[0]->centreFrequency = 2400 - 100.0f / 3;  // x = -1
  bench.Passes(2);
  EXPECT_NEAR(std::exp(-1.0f), wifi->gain, 1e-5f);
  EXPECT_FALSE(Holds(wifi->signalSource.packets, 42)) << "a detuned antenna loses the link";
  EXPECT_EQ(0, blocktest::ReadInt(wifi));
  // Tuned to the band it keeps its own gain (10^(3/10) for 3 dBi).
  antennas[0]->centreFrequency = 2400;
  antennas[0]->gain = 3;
  Publish();
  bench.Pass();
  EXPECT_FLOAT_EQ(antennas[0]->linearGain, wifi->gain);
  EXPECT_NEAR(1.9952623f, wifi->gain, 1e-5f);
}

TEST_F(WiFiTest, AnAntennaWithoutBandwidthFormsNoLink) {
  AirRouter ap(10, L"", 41, 4141);
  auto* wifi = AddWiFi(0, 0, kWiFiClient, L"", 1, {41});
  auto* peer = AddWiFi(1, 10, kWiFiAdHoc, L"mesh", 2, {});
  wifi->mode = kWiFiAdHoc;
  wifi->SetSsid(L"mesh");
  for (float bandwidth : {0.0f, -5.0f}) {
    antennas[0]->bandwidth = bandwidth;
    Publish();
    bench.Passes(3);
    EXPECT_EQ(0.0f, wifi->gain) << bandwidth;
    EXPECT_EQ((std::vector<int>{1}), Ids(wifi->signalSource.packets)) << bandwidth;
    EXPECT_FALSE(Holds(peer->signalSource.packets, 1)) << "nor does the peer link with it";
  }
  wifi->mode = kWiFiClient;
  wifi->SetSsid(L"");
  bench.Passes(3);
  EXPECT_EQ(0, blocktest::ReadInt(wifi));
}

TEST_F(WiFiTest, AnAntennaWithoutPoseFormsNoLink) {
  AirRouter ap(0, L"", 41, 4141);
  auto* wifi = AddWiFi(0, 0, kWiFiClient, L"", 1, {41});
  antennas[0]->pose = nullptr;
  Publish();
  bench.Passes(3);
  EXPECT_EQ(nullptr, wifi->pose);
  EXPECT_EQ(0, blocktest::ReadInt(wifi));
  EXPECT_EQ(1, wifi->sequence) << "the pass itself runs";
}

TEST_F(WiFiTest, WithoutAnAntennaPinTheBlockLinksWithNoOne) {
  AirRouter ap(0, L"", 41, 4141);
  auto* wifi = AddWiFi(-1, 0, kWiFiClient, L"mesh", 1, {1, 41});
  auto* peer = AddWiFi(1, 0, kWiFiAdHoc, L"mesh", 2, {1});
  Publish();
  bench.Passes(3);
  EXPECT_EQ(nullptr, wifi->pose);
  EXPECT_EQ(0, blocktest::ReadInt(wifi, 1));
  EXPECT_EQ(0, blocktest::ReadInt(peer)) << "a peer does not link with a block without pose";
  // It still runs on its own set: its own field comes back.
  EXPECT_EQ(100, blocktest::ReadInt(wifi, 0));
}

TEST_F(WiFiTest, AnAntennaPinWithoutAWorkingAntennaStopsThePass) {
  auto* wifi = AddWiFi(0, 0, kWiFiClient, L"", 1, {1});
  // Nothing published: the net carries no antenna.
  bench.Passes(3);
  EXPECT_EQ(0, wifi->sequence) << "no transmission";
  EXPECT_EQ(0, wifi->signalSource.packets->count);
  // A kind-18 source with another tag is no antenna either.
  struct Fake {
    int tag;
    void* owner;
  } fake = {1234, antennas[0]};
  owner->Net(0)->sourceKind = kSchSourceAntenna;
  owner->Net(0)->source = reinterpret_cast<SchSignalSource*>(&fake);
  bench.Passes(3);
  EXPECT_EQ(0, wifi->sequence);
  owner->Net(0)->source = nullptr;
  // With the antenna it runs.
  Publish();
  bench.Passes(1);
  EXPECT_EQ(1, wifi->sequence);
}

// ------------------------------------------------------------ records

TEST(NetworkAdapterRecords, GoldenBytesRoundTripsAndTruncations) {
  for (unsigned int classId : {kBeLANClassId, kBeUSBClassId}) {
    SCOPED_TRACE(testing::Message() << std::hex << classId);
    auto lan = blocktest::NewDetached<CBELAN>(classId);
    lan->pinIndex = 0x1234;  // the record keeps the low byte
    lan->SetSendFieldCount(1);
    lan->SetSendField(0, L"x", kBeSignalDouble, 7);
    blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(lan->rect, 1, 0);
    base.flags = kBeBlockDevice;
    auto golden = blocktest::Golden().B(0x34).I32(1).WStr(L"x").B(kBeSignalDouble).B(7).I32(0).Base(base).Bytes();
    std::vector<uint8_t> record = blocktest::RecordBytes(lan.get());
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
    auto copy = blocktest::NewDetached<CBELAN>(classId);
    ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
    EXPECT_EQ(0x34, copy->pinIndex);
    EXPECT_EQ(7, copy->sendChannels[0]);
    blocktest::ExpectTruncationsRefused<CBELAN>(classId, record);
  }

  auto wifi = blocktest::NewDetached<CBEWiFi>(kBeWiFiClassId);
  wifi->enabled = 1;
  wifi->mode = kWiFiAdHoc;
  wifi->SetSsid(L"сеть");
  wifi->SetReceiveFieldCount(1);
  wifi->SetReceiveField(0, nullptr, kBeSignalShort, 9);
  blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(wifi->rect, 0, 1);
  base.caption = L"Модуль WiFi";
  base.flags = kBeBlockDevice;
  auto golden = blocktest::Golden()
                    .B(1).B(3).WStr(L"сеть")
                    .I32(0).I32(1).WStr(nullptr).B(kBeSignalShort).B(9)
                    .Base(base)
                    .Bytes();
  std::vector<uint8_t> record = blocktest::RecordBytes(wifi.get());
  EXPECT_TRUE(velktest::BytesEqual(record, golden));
  auto copy = blocktest::NewDetached<CBEWiFi>(kBeWiFiClassId);
  ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
  EXPECT_EQ(1, copy->enabled);
  EXPECT_EQ(kWiFiAdHoc, copy->mode);
  EXPECT_STREQ(L"сеть", copy->ssid);
  EXPECT_EQ(-1, copy->antennaPin) << "not stored";
  blocktest::ExpectTruncationsRefused<CBEWiFi>(kBeWiFiClassId, record);
}

TEST(NetworkAdapterRecords, WiFiSSIDsAreCutAndImplausibleRecordsRefused) {
  auto wifi = blocktest::NewDetached<CBEWiFi>(kBeWiFiClassId);
  blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(wifi->rect, 0, 0);
  auto record = [&](int enabled, int mode, const wchar_t* ssid) {
    return blocktest::Golden().B(enabled).B(mode).WStr(ssid).I32(0).I32(0).Base(base).Bytes();
  };
  ASSERT_TRUE(blocktest::LoadBytes(wifi.get(), record(0, 0, L"abcdefghijklmnopqrstuvwxyz")));
  EXPECT_STREQ(L"abcdefghijklmnop", wifi->ssid);
  ASSERT_TRUE(blocktest::LoadBytes(wifi.get(), record(0, 0, nullptr)));
  EXPECT_STREQ(L"", wifi->ssid);
  // Any mode is kept (only 0 and 3 link); an enabled byte above 1 is damage.
  ASSERT_TRUE(blocktest::LoadBytes(wifi.get(), record(1, 7, L"x")));
  EXPECT_EQ(7, wifi->mode);
  std::vector<uint8_t> before = blocktest::RecordBytes(wifi.get());
  EXPECT_FALSE(blocktest::LoadBytes(wifi.get(), record(2, 0, L"y")));
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(wifi.get()), before));
  // The SSID setter cuts as well.
  wifi->SetSsid(L"01234567890123456789");
  EXPECT_EQ(16u, wcslen(wifi->ssid));
  wifi->SetSsid(nullptr);
  EXPECT_STREQ(L"", wifi->ssid);
}

}  // namespace
