// The computer's serial ports: the COM port (RS-232 levels) and the board
// UART (TTL levels) on three pins of their unit, their line-format words,
// exchanges between ports with equal and unequal settings, masters and
// slaves, and their records.
#include <cstring>
#include <vector>

#include "block_kit.h"
#include "blocks/library/interfaces/board_uart.h"
#include "blocks/library/interfaces/com_port.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/uart_format.h"

namespace {

using blocktest::Bench;
using blocktest::FakeOwner;

// A line driver on a net: two levels behind 1 ohm, a kind, and a source
// whose set holds one packet (id 1, an int 77, a given format).
class LineDriver : public CSCHBlock {
public:
  LineDriver() {
    SetPinCount(1);
    source.packets = &set;
    source.weight = 0;
  }
  void DriveLine(float U1, float U2, int kind, unsigned int format) {
    SchPacket* p = new SchPacket;
    p->id = 1;
    p->format = static_cast<int>(format);
    int v = 77;
    p->payload.Write(&v, 4);
    p->AddRef();
    set.Put(p);
    p->Release();
    SchPinState s = {};
    s.U = U1;
    s.R = 1;
    s.U2 = U2;
    s.R2 = 1;
    s.sourceKind = kind;
    s.source = &source;
    SetPinState(0, s);
  }
  SchPacketSet set;
  SchSignalSource source;
};

// A port with one sent int on channel 1 and one received int on channel 1.
template <class Port>
Port* AddPort(Bench& bench, unsigned int classId, int pinIndex) {
  Port* port = bench.Create<Port>(classId);
  port->pinIndex = pinIndex;
  port->SetSendFieldCount(1);
  port->SetSendField(0, L"исходящее", kBeSignalInt, 1);
  port->SetReceiveFieldCount(1);
  port->SetReceiveField(0, L"входящее", kBeSignalInt, 1);
  return port;
}

// The parity and stop bits as the dialog sets them (bits per byte follow),
// then the format words.
void SetLine(CBECOMPort* port, int speed, int parity, int stopBits, int protocol) {
  port->speed = speed;
  port->parity = static_cast<unsigned char>(parity);
  port->stopBits = static_cast<unsigned char>(stopBits);
  port->bitsPerByte = 9 + (stopBits < 2 ? stopBits : 2) + (parity != 0 ? 1 : 0);
  port->protocol = static_cast<unsigned char>(protocol);
  port->UpdateLineFormat();
}

TEST(SerialPorts, Defaults) {
  Bench bench;
  auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  ASSERT_NE(nullptr, com);
  EXPECT_STREQ(L"COM-порт", com->GetCaption());
  EXPECT_EQ(200, com->Width());
  EXPECT_EQ(30, com->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xE0E0E0), com->fillColor);
  EXPECT_TRUE(com->IsDevice());
  EXPECT_EQ(1, com->enabled);
  EXPECT_EQ(115200, com->speed);
  EXPECT_EQ(10, com->bitsPerByte);
  EXPECT_EQ(0, com->parity);
  EXPECT_EQ(1, com->stopBits);
  EXPECT_EQ(0, com->protocol);
  EXPECT_EQ(0, com->pinIndex);
  EXPECT_EQ(0, com->inputCount);
  EXPECT_EQ(0, com->outputCount);
  // 115200 = 0x1C200, ORed with 10 << 16: 0xBC200.
  EXPECT_EQ(0x000BC200u, com->receiveFormat);
  EXPECT_EQ(0x000BC200u, com->sendFormat);
  EXPECT_EQ(nullptr, com->rdName);

  auto* uart = bench.Create<CBEBoardUART>(kBeBoardUARTClassId);
  ASSERT_NE(nullptr, uart);
  EXPECT_STREQ(L"UART", uart->GetCaption());
  EXPECT_EQ(30, uart->Height());
  EXPECT_EQ(0x000BC200u, uart->receiveFormat);

  // The unit gives the port its pin names.
  EXPECT_TRUE(com->SetPinNames(L"COM1 RD", L"COM1 TD", L"COM1 GND"));
  EXPECT_STREQ(L"COM1 TD", com->tdName);
  EXPECT_TRUE(com->SetPinNames(nullptr, L"COM1 TD", nullptr));
  EXPECT_EQ(nullptr, com->rdName);
}

TEST(SerialPorts, LineFormatWords) {
  struct Case {
    int speed, parity, stopBits, protocol;
    unsigned int receive, send;
  } cases[] = {
      // speed | bits << 16 | parity << 24.
      {9600, 0, 1, 0, 0x000A2580u, 0x000A2580u},
      {9600, 1, 1, 0, 0x010B2580u, 0x010B2580u},
      {9600, 2, 2, 0, 0x020C2580u, 0x020C2580u},
      {9600, 0, 3, 0, 0x000B2580u, 0x000B2580u},  // 1.5 stop bits count as 2
      // A master marks what it accepts, a slave what it sends.
      {9600, 0, 1, 1, 0x400A2580u, 0x000A2580u},
      {9600, 0, 1, 2, 0x000A2580u, 0x400A2580u},
      // 115200 sets bit 16 itself: ORed, not added.
      {115200, 1, 2, 0, 0x010DC200u, 0x010DC200u},
  };
  CBECOMPort port;
  for (const Case& c : cases) {
    SetLine(&port, c.speed, c.parity, c.stopBits, c.protocol);
    EXPECT_EQ(c.receive, port.receiveFormat) << c.speed << " " << c.parity << " " << c.stopBits;
    EXPECT_EQ(c.send, port.sendFormat) << c.speed << " " << c.parity << " " << c.stopBits;
    if (c.protocol == 0) {
      EXPECT_EQ(static_cast<int>(c.send), UartFormatWord(c.speed, c.stopBits, c.parity))
          << "as the circuit parts build it";
    }
  }
}

// Two stop bits and even parity: 12 bits a byte, so 10 transfer bytes at
// 115200 bits per second take 120 / 115200 s instead of 100 / 115200 s.
TEST(SerialPorts, TheFrameSetsTheTransmitTime) {
  Bench bench;
  auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  com->SetSendFieldCount(2);
  com->SetSendField(0, nullptr, kBeSignalDouble, 1);
  com->SetSendField(1, nullptr, kBeSignalShort, 1);
  bench.Pass();
  EXPECT_EQ(10, com->transferBytes);
  EXPECT_DOUBLE_EQ(100.0 / 115200.0, com->transmitTime);
  bench.Stop();
  SetLine(com, 115200, 1, 2, 0);
  EXPECT_EQ(12, com->bitsPerByte);
  // Sending outlives the run, so the next run's first start is in its
  // second pass.
  bench.Passes(2);
  EXPECT_EQ(2, com->sequence);
  EXPECT_DOUBLE_EQ(120.0 / 115200.0, com->transmitTime);
}

// One port on pins 0-2: what it drives, and how it loads its line.
TEST(SerialPorts, ThePinsOfACOMPort) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(3);
  auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  owner.Feed(2, 1.0f, 10.0f);  // the ground the port sees: 1 V behind 10 ohms
  bench.Pass();
  blocktest::PinDrive td = owner.Drive(1);
  EXPECT_NEAR(1.0f - 12.0f, td.U, 1e-4f);
  EXPECT_NEAR(1010.0f, td.R, 1e-2f);
  EXPECT_NEAR(1.0f + 12.0f, td.U2, 1e-4f);
  EXPECT_NEAR(1010.0f, td.R2, 1e-2f);
  EXPECT_EQ(kSchSourceSerial, td.sourceKind);
  EXPECT_EQ(&com->signalSource, td.source);
  // The receiver: RD loaded with 50 kOhm to the ground, GND with 50 kOhm to
  // what RD reads (an unwired line: 0 V behind 5 MOhm).
  blocktest::PinDrive rd = owner.Drive(0);
  EXPECT_NEAR(1.0f, rd.U, 1e-4f);
  EXPECT_NEAR(50010.0f, rd.R, 0.1f);
  blocktest::PinDrive gnd = owner.Drive(2);
  EXPECT_NEAR(0.0f, gnd.U, 1e-4f);
  EXPECT_NEAR(5050000.0f, gnd.R, 10.0f);
  // The net of TD carries the port's set as kind 10.
  EXPECT_EQ(kSchSourceSerial, owner.Net(1)->sourceKind);
  EXPECT_EQ(&com->signalSource, owner.Net(1)->source);
}

TEST(SerialPorts, APortDeletedDuringARunLeavesNoSourceBehind) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(6);
  auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  auto* other = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  other->pinIndex = 3;
  bench.Pass();
  ASSERT_EQ(&com->signalSource, owner.Net(1)->source);
  ASSERT_EQ(&com->signalSource, owner.pins[1].source);
  delete com;
  EXPECT_EQ(nullptr, owner.Net(1)->source);
  EXPECT_EQ(0, owner.Net(1)->sourceKind);
  EXPECT_EQ(nullptr, owner.pins[1].source);
  EXPECT_EQ(&other->signalSource, owner.Net(4)->source) << "another port's line is left alone";
  // Stopped first, the net keeps the address, which then reads a null set.
  bench.Stop();
  EXPECT_EQ(&other->signalSource, owner.Net(4)->source);
  EXPECT_EQ(nullptr, other->signalSource.packets);
}

TEST(SerialPorts, TheUARTDrivesTTLLevels) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(5);
  auto* uart = bench.Create<CBEBoardUART>(kBeBoardUARTClassId);
  uart->pinIndex = 2;
  owner.Feed(4, 0.5f, 2.0f);
  bench.Pass();
  blocktest::PinDrive td = owner.Drive(3);
  EXPECT_NEAR(5.5f, td.U, 1e-4f);
  EXPECT_NEAR(252.0f, td.R, 1e-3f);
  EXPECT_NEAR(0.5f, td.U2, 1e-4f);
  EXPECT_NEAR(252.0f, td.R2, 1e-3f);
  EXPECT_EQ(kSchSourceSerial, td.sourceKind);
  EXPECT_NEAR(500002.0f, owner.Drive(2).R, 0.5f);
  EXPECT_NEAR(0.5f, owner.Drive(2).U, 1e-4f);
  // Pins 0 and 1 are not the port's.
  EXPECT_NEAR(5e6f, owner.Drive(0).R, 1.0f);
  EXPECT_NEAR(5e6f, owner.Drive(1).R, 1.0f);
}

// What a port receives of a line driven with two levels (behind 1 ohm, a
// ground of 0 V) and a kind: only its own polarity and swing, only kind 10.
TEST(SerialPorts, ReceiverThresholds) {
  struct Case {
    bool ttl;
    float U1, U2;
    int kind;
    bool received;
  } cases[] = {
      {false, -12, 12, kSchSourceSerial, true},   {false, -3.2f, 3.2f, kSchSourceSerial, true},
      {false, -3.0f, 12, kSchSourceSerial, false}, {false, -12, 3.0f, kSchSourceSerial, false},
      {false, 12, -12, kSchSourceSerial, false},  {false, -12, 12, kSchSourceUsbHost, false},
      {false, -12, 12, kSchSourcePacket, false},  {true, 5, 0, kSchSourceSerial, true},
      {true, 2.6f, 2.4f, kSchSourceSerial, true}, {true, 2.4f, 0, kSchSourceSerial, false},
      {true, 5, 2.6f, kSchSourceSerial, false},   {true, 0, 5, kSchSourceSerial, false},
      {true, 5, 0, kSchSourceEthernet, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.ttl ? "TTL " : "RS-232 ") << c.U1 << " / " << c.U2 << " kind " << c.kind);
    Bench bench;
    FakeOwner& owner = bench.UseFakeOwner(3);
    auto* driver = bench.circuit_.Add<LineDriver>();
    owner.Connect(0, driver, 0);
    owner.Feed(2, 0.0f, 1e-3f);
    CBECOMPort* port = c.ttl ? AddPort<CBEBoardUART>(bench, kBeBoardUARTClassId, 0)
                             : AddPort<CBECOMPort>(bench, kBeCOMPortClassId, 0);
    driver->DriveLine(c.U1, c.U2, c.kind, port->receiveFormat);
    bench.Pass();
    EXPECT_EQ(c.received ? 77 : 0, blocktest::ReadInt(port)) << (c.received ? "received" : "nothing");
    EXPECT_EQ(c.received ? &driver->source : nullptr, port->incoming);
  }
}

// Two ports of one unit wired to each other: pins 0-2 and 3-5, each TD on
// the other's RD, the grounds joined (and held at 0 V).
class PortPair : public ::testing::Test {
protected:
  template <class A, class B>
  void Wire(unsigned int classA, unsigned int classB) {
    FakeOwner& owner = bench.UseFakeOwner(6);
    owner.Tie(1, 3);
    owner.Tie(4, 0);
    owner.Tie(2, 5);
    owner.Feed(2, 0.0f, 1e-3f);
    a = AddPort<A>(bench, classA, 0);
    b = AddPort<B>(bench, classB, 3);
    x = bench.Source(kBeSignalInt);
    y = bench.Source(kBeSignalInt);
    bench.Link(x, a, 0);
    bench.Link(y, b, 0);
    x->SetInt(1111);
    y->SetInt(2222);
  }
  // What each received after passes enough for a new transmission of both
  // (60 ms: more than twice the period).
  void Exchange() { bench.Passes(60); }
  int AGot() const { return blocktest::ReadInt(a); }
  int BGot() const { return blocktest::ReadInt(b); }

  Bench bench;
  CBECOMPort* a = nullptr;
  CBECOMPort* b = nullptr;
  blocktest::Source* x = nullptr;
  blocktest::Source* y = nullptr;
};

TEST_F(PortPair, COMPortsWithEqualSettingsExchangeTheirFields) {
  Wire<CBECOMPort, CBECOMPort>(kBeCOMPortClassId, kBeCOMPortClassId);
  Exchange();
  EXPECT_EQ(2222, AGot());
  EXPECT_EQ(1111, BGot());
  // Later values follow.
  x->SetInt(-5);
  Exchange();
  EXPECT_EQ(-5, BGot());
}

TEST_F(PortPair, ADifferentParityReceivesNothing) {
  Wire<CBECOMPort, CBECOMPort>(kBeCOMPortClassId, kBeCOMPortClassId);
  SetLine(b, 115200, 1, 1, 0);
  Exchange();
  EXPECT_EQ(0, AGot());
  EXPECT_EQ(0, BGot());
  // A different speed, too.
  SetLine(b, 57600, 0, 1, 0);
  Exchange();
  EXPECT_EQ(0, AGot());
  EXPECT_EQ(0, BGot());
  SetLine(b, 115200, 0, 1, 0);
  Exchange();
  EXPECT_EQ(2222, AGot());
  EXPECT_EQ(1111, BGot());
}

TEST_F(PortPair, ACOMPortAndABoardUARTReceiveNothingFromEachOther) {
  Wire<CBECOMPort, CBEBoardUART>(kBeCOMPortClassId, kBeBoardUARTClassId);
  Exchange();
  EXPECT_EQ(0, AGot()) << "TTL levels fail the RS-232 thresholds";
  EXPECT_EQ(0, BGot()) << "RS-232 levels fail the TTL thresholds";
  EXPECT_EQ(nullptr, a->incoming);
  EXPECT_EQ(nullptr, b->incoming);
  // Even with the same settings on both: the levels decide.
  EXPECT_EQ(a->receiveFormat, b->sendFormat);
}

TEST_F(PortPair, BoardUARTsExchangeTheirFields) {
  Wire<CBEBoardUART, CBEBoardUART>(kBeBoardUARTClassId, kBeBoardUARTClassId);
  Exchange();
  EXPECT_EQ(2222, AGot());
  EXPECT_EQ(1111, BGot());
}

TEST_F(PortPair, AMasterAndASlaveReceiveEachOther) {
  Wire<CBECOMPort, CBECOMPort>(kBeCOMPortClassId, kBeCOMPortClassId);
  SetLine(a, 115200, 0, 1, kComMaster);
  SetLine(b, 115200, 0, 1, kComSlave);
  Exchange();
  EXPECT_EQ(2222, AGot()) << "the slave's answers reach the master";
  EXPECT_EQ(1111, BGot()) << "the master's requests reach the slave";
}

TEST_F(PortPair, TwoMastersReceiveNothingFromEachOther) {
  Wire<CBECOMPort, CBECOMPort>(kBeCOMPortClassId, kBeCOMPortClassId);
  SetLine(a, 115200, 0, 1, kComMaster);
  SetLine(b, 115200, 0, 1, kComMaster);
  Exchange();
  EXPECT_EQ(0, AGot());
  EXPECT_EQ(0, BGot());
}

TEST_F(PortPair, AMastersRequestsReachAnAsynchronousPortButNotItsAnswers) {
  Wire<CBECOMPort, CBECOMPort>(kBeCOMPortClassId, kBeCOMPortClassId);
  SetLine(a, 115200, 0, 1, kComMaster);
  Exchange();
  EXPECT_EQ(1111, BGot());
  EXPECT_EQ(0, AGot()) << "an asynchronous port's packets lack the request flag";
}

TEST_F(PortPair, ASlavesAnswersReachOnlyMasters) {
  Wire<CBECOMPort, CBECOMPort>(kBeCOMPortClassId, kBeCOMPortClassId);
  SetLine(b, 115200, 0, 1, kComSlave);
  Exchange();
  EXPECT_EQ(1111, BGot()) << "a slave takes the plain packets of an asynchronous port";
  EXPECT_EQ(0, AGot());
}

TEST(SerialPorts, APortWithoutUnitOrWiringReceivesNothing) {
  Bench bench;
  auto* com = AddPort<CBECOMPort>(bench, kBeCOMPortClassId, 0);
  bench.Passes(3);
  EXPECT_EQ(nullptr, com->incoming);
  EXPECT_EQ(0, blocktest::ReadInt(com));
  EXPECT_EQ(1, com->signalSource.packets->count) << "it still transmits into its own set";
  // A unit whose pins are too few: the pins it lacks read as unwired.
  Bench other;
  other.UseFakeOwner(1);
  auto* distant = AddPort<CBECOMPort>(other, kBeCOMPortClassId, 7);
  other.Passes(3);
  EXPECT_EQ(nullptr, distant->incoming);
}

// ------------------------------------------------------------ records

// The port's record: speed, bits, parity, stop bits, the pin index in 2
// bytes, the protocol, the field lists, the base record.
std::vector<uint8_t> GoldenPort(const CBECOMPort* port, int pinIndex) {
  blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(port->rect, 1, 1);
  base.flags = kBeBlockDevice;
  return blocktest::Golden()
      .I32(9600).B(12).B(2).B(2).I16(pinIndex).B(1)
      .I32(1).WStr(L"исходящее").B(kBeSignalInt).B(5)
      .I32(1).WStr(L"входящее").B(kBeSignalFloat).B(255)
      .Base(base)
      .Bytes();
}

TEST(SerialPortRecords, GoldenBytesAndRoundTrip) {
  for (unsigned int classId : {kBeCOMPortClassId, kBeBoardUARTClassId}) {
    SCOPED_TRACE(testing::Message() << std::hex << classId);
    auto port = blocktest::NewDetached<CBECOMPort>(classId);
    SetLine(port.get(), 9600, 2, 2, kComMaster);
    port->pinIndex = 0x0123;
    port->SetSendFieldCount(1);
    port->SetSendField(0, L"исходящее", kBeSignalInt, 5);
    port->SetReceiveFieldCount(1);
    port->SetReceiveField(0, L"входящее", kBeSignalFloat, 255);
    std::vector<uint8_t> record = blocktest::RecordBytes(port.get());
    EXPECT_TRUE(velktest::BytesEqual(record, GoldenPort(port.get(), 0x0123)));

    // Loaded into a fresh block, the settings, fields and formats return.
    auto copy = blocktest::NewDetached<CBECOMPort>(classId);
    copy->protocol = kComSlave;
    ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
    EXPECT_EQ(9600, copy->speed);
    EXPECT_EQ(12, copy->bitsPerByte);
    EXPECT_EQ(2, copy->parity);
    EXPECT_EQ(2, copy->stopBits);
    EXPECT_EQ(kComMaster, copy->protocol);
    EXPECT_EQ(0x0123, copy->pinIndex);
    EXPECT_EQ(0x420C2580u, copy->receiveFormat) << "the loaded settings' words, whatever it held";
    EXPECT_EQ(0x020C2580u, copy->sendFormat);
    ASSERT_EQ(1, copy->SendFieldCount());
    EXPECT_STREQ(L"исходящее", copy->SendField(0)->name);
    EXPECT_EQ(kBeSignalInt, copy->SendField(0)->type);
    EXPECT_EQ(5, copy->sendChannels[0]);
    ASSERT_EQ(1, copy->ReceiveFieldCount());
    EXPECT_EQ(kBeSignalFloat, copy->ReceiveField(0)->type);
    EXPECT_EQ(255, copy->receiveChannels[0]);
    EXPECT_EQ(20, copy->Height());
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(copy.get()), record));
  }
}

TEST(SerialPortRecords, EveryTruncationIsRefusedAndChangesNothing) {
  for (unsigned int classId : {kBeCOMPortClassId, kBeBoardUARTClassId}) {
    auto port = blocktest::NewDetached<CBECOMPort>(classId);
    SetLine(port.get(), 9600, 2, 2, kComMaster);
    port->SetSendFieldCount(1);
    port->SetSendField(0, L"исходящее", kBeSignalInt, 5);
    port->SetReceiveFieldCount(1);
    port->SetReceiveField(0, L"входящее", kBeSignalFloat, 255);
    blocktest::ExpectTruncationsRefused<CBECOMPort>(classId, blocktest::RecordBytes(port.get()));
  }
}

TEST(SerialPortRecords, ImplausibleFieldsAreRefused) {
  auto model = blocktest::NewDetached<CBECOMPort>(kBeCOMPortClassId);
  model->SetSendFieldCount(1);
  model->SetReceiveFieldCount(1);
  std::vector<uint8_t> good = blocktest::RecordBytes(model.get());
  // Offsets: speed 0, bits 4, parity 5, stop bits 6, pin 7-8, protocol 9,
  // sent count 10, the sent field's name 14-15, type 16, channel 17,
  // received count 18, the received field's name 22-23, type 24.
  struct Patch {
    size_t at;
    std::vector<uint8_t> bytes;
  } patches[] = {
      {5, {3}},                       // parity
      {6, {0}},                       // stop bits
      {6, {4}},                       // stop bits
      {9, {3}},                       // protocol
      {10, {0xFF, 0xFF, 0xFF, 0xFF}},  // a negative count
      {10, {0x01, 0x10, 0, 0}},       // more fields than allowed
      {10, {2, 0, 0, 0}},             // more fields than the record holds
      {16, {37}},                     // no signal type
      {24, {200}},
      {18, {0, 0, 0, 0x80}},
  };
  for (const Patch& patch : patches) {
    SCOPED_TRACE(testing::Message() << "at " << patch.at);
    std::vector<uint8_t> bad = good;
    for (size_t k = 0; k < patch.bytes.size(); ++k) bad[patch.at + k] = patch.bytes[k];
    auto port = blocktest::NewDetached<CBECOMPort>(kBeCOMPortClassId);
    std::vector<uint8_t> before = blocktest::RecordBytes(port.get());
    EXPECT_FALSE(blocktest::LoadBytes(port.get(), bad));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(port.get()), before));
  }
  // Stop bits 3 (one and a half), parity 2 and protocol 2 are fine; so is
  // a speed of 0, which sends nothing.
  std::vector<uint8_t> edge = good;
  edge[0] = edge[1] = edge[2] = edge[3] = 0;
  edge[5] = 2;
  edge[6] = 3;
  edge[9] = 2;
  auto port = blocktest::NewDetached<CBECOMPort>(kBeCOMPortClassId);
  ASSERT_TRUE(blocktest::LoadBytes(port.get(), edge));
  EXPECT_EQ(0, port->speed);
  EXPECT_EQ(3, port->stopBits);
}

TEST(SerialPortRecords, SchemeRoundTripKeepsLinksToTheFields) {
  Bench bench;
  auto* com = AddPort<CBECOMPort>(bench, kBeCOMPortClassId, 3);
  com->SetCaption(L"COM2");
  blocktest::Source* x = bench.Source(kBeSignalInt);
  bench.Link(x, com, 0);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  CBEBlock* found = copy->FindDeviceBlock(L"COM2");
  auto* back = dynamic_cast<CBECOMPort*>(found);
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(3, back->pinIndex);
  ASSERT_NE(nullptr, back->SendField(0)->source);
  EXPECT_NE(nullptr, dynamic_cast<blocktest::Source*>(back->SendField(0)->source->owner));
  EXPECT_STREQ(L"входящее", back->ReceiveField(0)->name);
}

}  // namespace
