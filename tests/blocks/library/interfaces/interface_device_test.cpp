// The interface-device base: its field lists and their pins, the transmit
// clock with its packets, sequence numbers and delivery passes, reception by
// channel and format word, the robot's channel, Stop and what a run leaves.
#include <cstring>
#include <vector>

#include "block_kit.h"
#include "blocks/library/interfaces/interface_device.h"
#include "blocks/library/typed_block.h"
#include "foundation/buffer_failure_scope.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"

namespace {

using blocktest::Bench;

// A device of the base alone: the test hands it its incoming source.
class TestDevice : public CBEInterfaceDevice {
public:
  TestDevice(int fixedIn = 0, int fixedOut = 0) : CBEInterfaceDevice(fixedIn, fixedOut, true, true) {
    enabled = 1;
  }
  void Step(float dt) override {
    incoming = feed;
    CBEInterfaceDevice::Step(dt);
  }
  SchSignalSource* feed = nullptr;
};

TestDevice* AddDevice(Bench& bench, int fixedIn = 0, int fixedOut = 0) {
  auto* device = new TestDevice(fixedIn, fixedOut);
  device->AttachToScheme(&bench.scheme);
  return device;
}

std::vector<uint8_t> Payload(SchPacket* packet) {
  return std::vector<uint8_t>(packet->payload.data, packet->payload.data + packet->payload.size);
}

// A packet made by hand, as another device would send it.
SchPacket* MakePacket(int id, int sequence, unsigned int format, const std::vector<uint8_t>& payload) {
  SchPacket* p = new SchPacket;
  p->id = static_cast<unsigned char>(id);
  p->sequence = static_cast<unsigned char>(sequence);
  p->format = static_cast<int>(format);
  if (!payload.empty()) p->payload.Write(payload.data(), static_cast<int>(payload.size()));
  return p;
}

// A set holding the packets (its own references only).
void PutAll(SchPacketSet* set, std::initializer_list<SchPacket*> packets) {
  for (SchPacket* p : packets) {
    p->AddRef();
    set->Put(p);
    p->Release();
  }
}

TEST(InterfaceDevice, ConstructionDefaults) {
  TestDevice device(1, 2);
  EXPECT_EQ(200, device.Width());
  EXPECT_EQ(115200, device.speed);
  EXPECT_EQ(10, device.bitsPerByte);
  EXPECT_EQ(0.027, device.period);
  EXPECT_EQ(1, device.inputCount);
  EXPECT_EQ(2, device.outputCount);
  EXPECT_EQ(0, device.SendFieldCount());
  EXPECT_EQ(0, device.ReceiveFieldCount());
  EXPECT_EQ(0u, device.receiveFormat);
  EXPECT_EQ(0u, device.sendFormat);
  EXPECT_EQ(nullptr, device.signalSource.packets);
  EXPECT_EQ(0.0f, device.signalSource.weight);
  // The base leaves a block disabled (each class decides).
  struct Bare : CBEInterfaceDevice {
    Bare() : CBEInterfaceDevice(3, 0, true, false) {}
  } bare;
  EXPECT_EQ(0, bare.enabled);
  EXPECT_EQ(0, bare.canSend);
  EXPECT_EQ(1, bare.canReceive);
  EXPECT_EQ(3, bare.inputCount);
}

TEST(InterfaceDevice, FieldCountsAndHeights) {
  // No fixed pins and one output: 3 sent fields give 60, none gives 20.
  TestDevice device(0, 0);
  ASSERT_TRUE(device.SetReceiveFieldCount(1));
  EXPECT_EQ(20, device.Height());
  ASSERT_TRUE(device.SetSendFieldCount(3));
  EXPECT_EQ(60, device.Height());
  EXPECT_EQ(3, device.inputCount);
  EXPECT_EQ(10, device.Input(0)->yOffset);
  EXPECT_EQ(30, device.Input(1)->yOffset);
  EXPECT_EQ(50, device.Input(2)->yOffset);
  EXPECT_EQ(30, device.Output(0)->yOffset) << "the outputs are spread over the new height";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(0, device.sendChannels[i]) << "a new field has channel 0, not 255";
  ASSERT_TRUE(device.SetSendFieldCount(0));
  EXPECT_EQ(20, device.Height());
  ASSERT_TRUE(device.SetReceiveFieldCount(0));
  EXPECT_EQ(20, device.Height()) << "never 0";
  EXPECT_TRUE(device.SetSendFieldCount(-2));
  EXPECT_EQ(0, device.SendFieldCount());

  // Fixed pins come first and count in the height.
  TestDevice uart(1, 2);
  ASSERT_TRUE(uart.SetSendFieldCount(2));
  EXPECT_EQ(60, uart.Height());  // 20 x max(1, 1 + 2, 2)
  ASSERT_TRUE(uart.SetReceiveFieldCount(3));
  EXPECT_EQ(100, uart.Height());  // 20 x max(1, 2 + 3, 3)
  EXPECT_EQ(3, uart.inputCount);
  EXPECT_EQ(5, uart.outputCount);
  EXPECT_EQ(uart.Input(1), uart.SendField(0));
  EXPECT_EQ(uart.Output(2), uart.ReceiveField(0));
  EXPECT_EQ(nullptr, uart.SendField(2));
  EXPECT_EQ(nullptr, uart.ReceiveField(-1));

  // Far too many fields are refused, changing nothing.
  EXPECT_FALSE(uart.SetSendFieldCount(kMaxInterfaceFields + 1));
  EXPECT_EQ(2, uart.SendFieldCount());
  EXPECT_EQ(100, uart.Height());
}

TEST(InterfaceDevice, FieldsKeepTheirSettingsWhenTheListShrinksOrGrows) {
  Bench bench;
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(3));
  ASSERT_TRUE(device->SetSendField(0, L"скорость", kBeSignalInt, 5));
  ASSERT_TRUE(device->SetSendField(1, L"", kBeSignalShort, 3));
  ASSERT_TRUE(device->SetSendField(2, L"флаг", kBeSignalChar, 255));
  EXPECT_STREQ(L"скорость", device->SendField(0)->name);
  EXPECT_EQ(nullptr, device->SendField(1)->name) << "an empty name leaves the field without one";
  ASSERT_TRUE(device->SetSendFieldCount(2));
  ASSERT_TRUE(device->SetSendFieldCount(4));
  EXPECT_STREQ(L"скорость", device->SendField(0)->name);
  EXPECT_EQ(kBeSignalShort, device->SendField(1)->type);
  EXPECT_EQ(nullptr, device->SendField(2)->name);
  EXPECT_EQ(kBeSignalBit, device->SendField(2)->type);
  EXPECT_EQ(0, device->sendChannels[2]);
  EXPECT_EQ(3, device->sendChannels[1]);

  // A type change unlinks the input (or disconnects the output); the same
  // type keeps the link.
  blocktest::Source* x = bench.Source(kBeSignalInt);
  bench.Link(x, device, 0);
  ASSERT_TRUE(device->SetSendField(0, L"скорость", kBeSignalInt, 6));
  EXPECT_EQ(x->outputs[0], device->SendField(0)->source);
  ASSERT_TRUE(device->SetSendField(0, L"скорость", kBeSignalFloat, 6));
  EXPECT_EQ(nullptr, device->SendField(0)->source);
  ASSERT_TRUE(device->SetReceiveFieldCount(1));
  ASSERT_TRUE(device->SetReceiveField(0, L"ответ", kBeSignalShort, 1));
  auto* reader = bench.Create<CBEBlock>(kBeAbsClassId);
  ChangeInputType(reader->Input(0), kBeSignalShort);
  bench.Link(device, 0, reader, 0);
  ASSERT_TRUE(device->SetReceiveField(0, L"ответ", kBeSignalInt, 1));
  EXPECT_EQ(nullptr, reader->Input(0)->source);
  EXPECT_FALSE(device->SetSendField(4, L"нет", kBeSignalInt, 0));
  EXPECT_FALSE(device->SetReceiveField(1, L"нет", kBeSignalInt, 0));
}

// Rearranged fields keep their own pins: a reader stays with the field it
// read, whatever place the field takes; a field that goes takes its
// readers' links with it, and a new field starts bare.
TEST(InterfaceDevice, ArrangedFieldsKeepTheirPinsAndLinks) {
  Bench bench;
  TestDevice* device = AddDevice(bench, 1, 1);
  ASSERT_TRUE(device->SetReceiveFieldCount(3));
  ASSERT_TRUE(device->SetReceiveField(0, L"a", kBeSignalInt, 1));
  ASSERT_TRUE(device->SetReceiveField(1, L"b", kBeSignalInt, 2));
  ASSERT_TRUE(device->SetReceiveField(2, L"c", kBeSignalShort, 255));
  ASSERT_TRUE(device->SetSendFieldCount(2));
  ASSERT_TRUE(device->SetSendField(0, L"x", kBeSignalInt, 7));
  ASSERT_TRUE(device->SetSendField(1, L"y", kBeSignalChar, 8));
  BeOutputPin* a = device->ReceiveField(0);
  BeOutputPin* b = device->ReceiveField(1);
  CBEBlock* readers[3];
  const BeSignalType types[3] = {kBeSignalInt, kBeSignalInt, kBeSignalShort};
  for (int i = 0; i < 3; ++i) {
    readers[i] = bench.Create<CBEBlock>(kBeAbsClassId);
    ChangeInputType(readers[i]->Input(0), types[i]);
    bench.Link(device, 1 + i, readers[i], 0);
  }
  blocktest::Source* sx = bench.Source(kBeSignalInt);
  bench.Link(sx, device, 1);

  // Received: b, a new field, a (the short c goes). Sent: y, x.
  const int receive[] = {1, -1, 0, 0};  // a repeated entry is a new field
  ASSERT_TRUE(device->ArrangeReceiveFields(receive, 4));
  const int send[] = {1, 0};
  ASSERT_TRUE(device->ArrangeSendFields(send, 2));

  ASSERT_EQ(4, device->ReceiveFieldCount());
  EXPECT_EQ(b, device->ReceiveField(0));
  EXPECT_EQ(a, device->ReceiveField(2));
  EXPECT_STREQ(L"b", device->ReceiveField(0)->name);
  EXPECT_STREQ(L"a", device->ReceiveField(2)->name);
  const unsigned char channels[] = {2, 0, 1, 0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(channels[i], device->receiveChannels[i]) << i;
  for (int i : {1, 3}) {
    EXPECT_EQ(nullptr, device->ReceiveField(i)->name) << i;
    EXPECT_EQ(kBeSignalBit, device->ReceiveField(i)->type) << i;
  }
  EXPECT_EQ(a, readers[0]->Input(0)->source) << "the reader of a follows a";
  EXPECT_EQ(b, readers[1]->Input(0)->source) << "the reader of b follows b";
  EXPECT_EQ(nullptr, readers[2]->Input(0)->source) << "c went with its link";
  // Pins spread by place: field i sits at 20 x (fixed + i) + 10.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(20 * (1 + i) + 10, device->ReceiveField(i)->yOffset) << i;
  EXPECT_EQ(100, device->Height());

  EXPECT_STREQ(L"y", device->SendField(0)->name);
  EXPECT_EQ(kBeSignalChar, device->SendField(0)->type);
  EXPECT_EQ(8, device->sendChannels[0]);
  EXPECT_EQ(sx->outputs[0], device->SendField(1)->source) << "x keeps its source in its new place";
  EXPECT_EQ(7, device->sendChannels[1]);

  // None: every field goes.
  ASSERT_TRUE(device->ArrangeReceiveFields(nullptr, 0));
  EXPECT_EQ(0, device->ReceiveFieldCount());
  EXPECT_EQ(nullptr, readers[0]->Input(0)->source);
  EXPECT_EQ(nullptr, readers[1]->Input(0)->source);
}

TEST(InterfaceDevice, ArrangingWithoutMemoryChangesNothing) {
  TestDevice device(0, 0);
  ASSERT_TRUE(device.SetSendFieldCount(2));
  ASSERT_TRUE(device.SetSendField(0, L"a", kBeSignalInt, 4));
  ASSERT_TRUE(device.SetSendField(1, L"b", kBeSignalChar, 5));
  BeInputPin* first = device.SendField(0);
  const int from[] = {1, 0, -1, -1, -1};
  bool done = false;
  for (int grant = 0; grant < 12 && !done; ++grant) {
    SCOPED_TRACE(grant);
    {
      CBufferFailureScope refuse(grant);
      done = device.ArrangeSendFields(from, 5);
    }
    if (done) break;
    EXPECT_EQ(2, device.SendFieldCount());
    EXPECT_EQ(first, device.SendField(0));
    EXPECT_STREQ(L"b", device.SendField(1)->name);
    EXPECT_EQ(5, device.sendChannels[1]);
  }
  ASSERT_TRUE(done);
  EXPECT_EQ(5, device.SendFieldCount());
  EXPECT_EQ(first, device.SendField(1));
}

TEST(InterfaceDevice, RefusedMemoryChangesNothing) {
  TestDevice device(0, 1);
  ASSERT_TRUE(device.SetSendFieldCount(1));
  ASSERT_TRUE(device.SetSendField(0, L"a", kBeSignalInt, 4));
  for (int grant = 0; grant < 3; ++grant) {
    SCOPED_TRACE(grant);
    {
      CBufferFailureScope refuse(grant);
      if (device.SetSendFieldCount(40)) break;  // enough was granted
    }
    EXPECT_EQ(1, device.SendFieldCount());
    EXPECT_EQ(20, device.Height());
    EXPECT_EQ(4, device.sendChannels[0]);
    EXPECT_STREQ(L"a", device.SendField(0)->name);
    EXPECT_EQ(10, device.Input(0)->yOffset);
  }
}

// Two sent fields on channel 5 (an int, then a char) and a short on
// channel 3 between them: two packets per start, 5 and 2 bytes.
TEST(InterfaceDevice, OnePacketPerChannelWithItsFieldsInOrder) {
  Bench bench;
  blocktest::Source* i = bench.Source(kBeSignalInt);
  blocktest::Source* s = bench.Source(kBeSignalShort);
  blocktest::Source* c = bench.Source(kBeSignalChar);
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(3));
  device->SetSendField(0, nullptr, kBeSignalInt, 5);
  device->SetSendField(1, nullptr, kBeSignalShort, 3);
  device->SetSendField(2, nullptr, kBeSignalChar, 5);
  device->sendFormat = 0xA1B2C3D4;
  bench.Link(i, device, 0);
  bench.Link(s, device, 1);
  bench.Link(c, device, 2);
  i->SetInt(0x01020304);
  s->SetInt(0x0506);
  c->SetInt(0x07);
  bench.Pass(0.01f);
  EXPECT_EQ(7, device->transferBytes);
  ASSERT_EQ(2, device->channelCount);
  EXPECT_EQ(5, device->channels[0]);
  EXPECT_EQ(3, device->channels[1]);
  SchPacketSet* set = device->signalSource.packets;
  ASSERT_NE(nullptr, set);
  ASSERT_EQ(2, set->count);
  SchPacket* five = set->packets[set->FindId(5)];
  SchPacket* three = set->packets[set->FindId(3)];
  EXPECT_EQ((std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01, 0x07}), Payload(five));
  EXPECT_EQ((std::vector<uint8_t>{0x06, 0x05}), Payload(three));
  EXPECT_EQ(1, five->sequence);
  EXPECT_EQ(static_cast<int>(0xA1B2C3D4), five->format);
  // The set alone holds them: the slots are empty after a delivery.
  EXPECT_EQ(1, five->useCount);
  EXPECT_EQ(nullptr, device->packetSlots[0]);
  // An unlinked field sends zero bytes of its size.
  bench.Unlink(device, 0);
  bench.Passes(3, 0.01f);
  five = set->packets[set->FindId(5)];
  EXPECT_EQ(2, five->sequence);
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0x07}), Payload(five));
}

TEST(InterfaceDevice, TypesWithoutSizeAddNothing) {
  Bench bench;
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(3));
  device->SetSendField(0, nullptr, kBeSignalPwm, 2);
  device->SetSendField(1, nullptr, kBeSignalChar, 2);
  device->SetSendField(2, nullptr, kBeSignalPulseA, 2);
  blocktest::Source* c = bench.Source(kBeSignalChar);
  bench.Link(c, device, 1);
  c->SetInt(0x42);
  bench.Pass(0.01f);
  EXPECT_EQ(1, device->transferBytes);
  SchPacketSet* set = device->signalSource.packets;
  ASSERT_EQ(1, set->count);
  EXPECT_EQ((std::vector<uint8_t>{0x42}), Payload(set->packets[0]));
}

// Period 0.027 s, dt 0.01 s, a transmission of 0.001 s (an int, 10 bits a
// byte, 40,000 bits per second): deliveries in passes 1, 4, 7 with
// sequence 1, 2, 3 and the values of those passes.
TEST(InterfaceDevice, AShortTransmissionIsDeliveredInItsStartPass) {
  Bench bench;
  blocktest::Source* x = bench.Source(kBeSignalInt);
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(1));
  device->SetSendField(0, nullptr, kBeSignalInt, 7);
  device->speed = 40000;
  bench.Link(x, device, 0);
  std::vector<int> deliveredAt, sequences, values;
  int lastSequence = 0;
  for (int pass = 1; pass <= 9; ++pass) {
    x->SetInt(pass);
    bench.Pass(0.01f);
    SchPacketSet* set = device->signalSource.packets;
    if (set->count == 1 && set->packets[0]->sequence != lastSequence) {
      lastSequence = set->packets[0]->sequence;
      deliveredAt.push_back(pass);
      sequences.push_back(lastSequence);
      int v;
      memcpy(&v, set->packets[0]->payload.data, 4);
      values.push_back(v);
    }
  }
  EXPECT_DOUBLE_EQ(0.001, device->transmitTime);
  EXPECT_EQ((std::vector<int>{1, 4, 7}), deliveredAt);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), sequences);
  EXPECT_EQ((std::vector<int>{1, 4, 7}), values);
}

// 100 transfer bytes (twelve doubles and an int), 10 bits a byte, 9600 bits
// per second: 0.104 s. With dt 0.01 s transmissions start in passes 1, 3,
// 5, 7, 9 and 11; the one of pass 11 (clock 0.11) is the first delivered,
// with sequence 6 and the values of pass 11.
TEST(InterfaceDevice, ALongTransmissionIsDeliveredByTheFirstStartThatCoversIt) {
  Bench bench;
  blocktest::Source* x = bench.Source(kBeSignalInt);
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(13));
  for (int k = 0; k < 12; ++k) device->SetSendField(k, nullptr, kBeSignalDouble, 1);
  device->SetSendField(12, nullptr, kBeSignalInt, 1);
  device->speed = 9600;
  bench.Link(x, device, 12);
  std::vector<int> sequenceAfter;
  for (int pass = 1; pass <= 11; ++pass) {
    x->SetInt(pass);
    bench.Pass(0.01f);
    sequenceAfter.push_back(device->sequence);
    if (pass < 11) {
      EXPECT_EQ(0, device->signalSource.packets->count) << "pass " << pass;
    }
  }
  EXPECT_EQ(100, device->transferBytes);
  EXPECT_DOUBLE_EQ(1000.0 / 9600.0, device->transmitTime);
  EXPECT_EQ((std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6}), sequenceAfter);
  SchPacketSet* set = device->signalSource.packets;
  ASSERT_EQ(1, set->count);
  EXPECT_EQ(6, set->packets[0]->sequence);
  ASSERT_EQ(100, set->packets[0]->payload.size);
  int v;
  memcpy(&v, set->packets[0]->payload.data + 96, 4);
  EXPECT_EQ(11, v);
  // After a delivery the clock goes back to minus the period.
  EXPECT_NEAR(-0.027, device->clock, 1e-12);
}

TEST(InterfaceDevice, ABlockWithoutSentFieldsStillCountsItsTransmissions) {
  Bench bench;
  TestDevice* device = AddDevice(bench);
  bench.Pass(0.01f);
  EXPECT_EQ(1, device->sequence);
  EXPECT_DOUBLE_EQ(-0.027, device->clock);
  bench.Passes(3, 0.01f);
  EXPECT_EQ(2, device->sequence);
  EXPECT_EQ(0, device->signalSource.packets->count);
  EXPECT_EQ(0, device->channelCount);
  // Sequence and sending outlive a run.
  bench.Stop();
  bench.Start();
  EXPECT_EQ(2, device->sequence);
  EXPECT_EQ(0.0, device->clock);
}

TEST(InterfaceDevice, ADisabledBlockDoesNothing) {
  Bench bench;
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(1));
  device->enabled = 0;
  bench.Passes(5, 0.01f);
  EXPECT_EQ(0, device->sequence);
  EXPECT_EQ(0.0, device->clock);
  EXPECT_EQ(0, device->signalSource.packets->count);
}

// A speed of 0 (or below) from a record carries no transmission: no packet,
// no division by it.
TEST(InterfaceDevice, ALineWithoutSpeedSendsNothing) {
  Bench bench;
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(1));
  device->SetSendField(0, nullptr, kBeSignalInt, 1);
  for (int speed : {0, -9600}) {
    device->speed = speed;
    bench.Passes(4, 0.01f);
    EXPECT_EQ(0, device->sequence) << speed;
    EXPECT_EQ(0, device->signalSource.packets->count) << speed;
  }
}

TEST(InterfaceDevice, TheRobotChannelBecomesTheRobotNumberForGood) {
  Bench bench;
  TestDevice* device = AddDevice(bench);
  ASSERT_TRUE(device->SetSendFieldCount(1));
  ASSERT_TRUE(device->SetReceiveFieldCount(1));
  device->SetSendField(0, nullptr, kBeSignalChar, 255);
  device->SetReceiveField(0, nullptr, kBeSignalChar, 255);
  bench.Pass(0.01f);
  EXPECT_EQ(BeRobotNumber, device->sendChannels[0]);
  EXPECT_EQ(1, device->receiveChannels[0]);
  ASSERT_EQ(1, device->signalSource.packets->count);
  EXPECT_EQ(1, device->signalSource.packets->packets[0]->id);
  bench.Stop();
  // The record written after the run holds 1 where 255 stood.
  std::vector<uint8_t> record = blocktest::RecordBytes(device);
  auto golden = blocktest::Golden()
                    .I32(1).WStr(nullptr).B(kBeSignalChar).B(1)
                    .I32(1).WStr(nullptr).B(kBeSignalChar).B(1)
                    .Bytes();
  ASSERT_GE(record.size(), golden.size());
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(record.begin(), record.begin() + golden.size()), golden));
}

// Received fields: an int and a char on channel 5, a short on channel 3, an
// int on channel 9 for which nothing arrives.
class Reception : public ::testing::Test {
protected:
  void SetUp() override {
    device = AddDevice(bench);
    ASSERT_TRUE(device->SetReceiveFieldCount(4));
    device->SetReceiveField(0, nullptr, kBeSignalInt, 5);
    device->SetReceiveField(1, nullptr, kBeSignalShort, 3);
    device->SetReceiveField(2, nullptr, kBeSignalChar, 5);
    device->SetReceiveField(3, nullptr, kBeSignalInt, 9);
    for (int k = 0; k < 4; ++k) memset(device->ReceiveField(k)->value, 0xAB, 8);
    source.packets = &set;
    device->feed = &source;
  }
  uint32_t Int(int field) const {
    uint32_t v;
    memcpy(&v, device->ReceiveField(field)->value, 4);
    return v;
  }
  Bench bench;
  TestDevice* device = nullptr;
  SchPacketSet set;
  SchSignalSource source = {nullptr, 0};
};

TEST_F(Reception, FieldsOfAChannelReadItsPacketInOrder) {
  PutAll(&set, {MakePacket(5, 1, 0x000BC200, {0x44, 0x33, 0x22, 0x11, 0x55}),
                MakePacket(3, 1, 0x000BC201, {0x77, 0x66})});
  bench.Pass();
  EXPECT_EQ(0x11223344u, Int(0));
  EXPECT_EQ(0x6677, blocktest::ReadInt(device, 1));
  EXPECT_EQ(0x55, device->ReceiveField(2)->value[0]);
  EXPECT_EQ(0xAB, device->ReceiveField(2)->value[1]) << "only the bytes of the type";
  EXPECT_EQ(0xABABABABu, Int(3)) << "no packet on channel 9: the value stays";
  // The packet is read from its start in every pass.
  bench.Pass();
  EXPECT_EQ(0x11223344u, Int(0));
}

TEST_F(Reception, ANonzeroFormatAcceptsOnlyItsOwnWord) {
  PutAll(&set, {MakePacket(5, 1, 0x000BC200, {1, 0, 0, 0, 2}), MakePacket(3, 1, 0x000BC201, {3, 0})});
  device->receiveFormat = 0x000BC200;
  bench.Pass();
  EXPECT_EQ(1u, Int(0));
  EXPECT_EQ(0xABAB, blocktest::ReadInt(device, 1) & 0xFFFF) << "one bit apart: ignored";
  // Every bit counts: speed, bits, parity and the request flag.
  for (unsigned int other : {0x000BC201u, 0x000AC200u, 0x010BC200u, 0x400BC200u}) {
    device->receiveFormat = other;
    memset(device->ReceiveField(0)->value, 0xAB, 8);
    bench.Pass();
    EXPECT_EQ(0xABABABABu, Int(0)) << std::hex << other;
  }
  // Format 0 takes both.
  device->receiveFormat = 0;
  bench.Pass();
  EXPECT_EQ(1u, Int(0));
  EXPECT_EQ(3, blocktest::ReadInt(device, 1));
}

TEST_F(Reception, AShortPacketFillsItsFieldsPartly) {
  PutAll(&set, {MakePacket(5, 1, 0, {0x01, 0x02})});
  bench.Pass();
  EXPECT_EQ(0xABAB0201u, Int(0));
  EXPECT_EQ(0xAB, device->ReceiveField(2)->value[0]);
}

TEST_F(Reception, NothingIsReadWithoutAnIncomingSet) {
  source.packets = nullptr;
  bench.Pass();
  EXPECT_EQ(0xABABABABu, Int(0));
  device->feed = nullptr;
  bench.Pass();
  EXPECT_EQ(0xABABABABu, Int(0));
}

TEST(InterfaceDevice, StopReleasesEveryPacketAndASecondStartLeavesNothing) {
  int before = SchPacket::LiveCount();
  {
    Bench bench;
    TestDevice* device = AddDevice(bench);
    ASSERT_TRUE(device->SetSendFieldCount(2));
    device->SetSendField(0, nullptr, kBeSignalInt, 1);
    device->SetSendField(1, nullptr, kBeSignalInt, 2);
    device->speed = 9600;  // 8 bytes: a transmission in flight after pass 1
    bench.Pass(0.001f);
    EXPECT_EQ(before + 2, SchPacket::LiveCount()) << "two packets in their slots";
    bench.Stop();
    EXPECT_EQ(before, SchPacket::LiveCount());
    EXPECT_EQ(nullptr, device->signalSource.packets);
    EXPECT_EQ(0, device->channelCount);
    EXPECT_EQ(nullptr, device->incoming);
    // Started twice without a stop, and deleted while running.
    bench.Start();
    bench.Pass(0.001f);
    bench.Start();
    bench.Pass(0.001f);
    EXPECT_EQ(before + 2, SchPacket::LiveCount());
  }
  EXPECT_EQ(before, SchPacket::LiveCount());
}

}  // namespace
