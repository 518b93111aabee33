// The microcontroller's serial interfaces: the UART's captions, format
// words, pin binding, RS-485 direction output and exchange; the SPI's
// speeds, format words, master and slave binding and its select line; the
// TWI's bit rates, binding and bus merge; their records.
#include <cmath>
#include <cstring>

#include "avr_bench.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/mcu/line_value.h"
#include "blocks/library/mcu/spi.h"
#include "blocks/library/mcu/twi.h"
#include "blocks/library/mcu/uart.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"

namespace {

using avrtest::At;
using avrtest::AvrBench;
using blocktest::BaseRecord;
using blocktest::Golden;

// ------------------------------------------------------------ UART

TEST(AvrUart, IsADisabledDeviceWithItsLinePins) {
  AvrBench bench;
  auto* u = bench.Create<CBEUART>(kBeAvrUARTClassId);
  ASSERT_NE(nullptr, u);
  EXPECT_STREQ(L"UART", u->GetCaption());
  EXPECT_EQ(nullptr, u->caption);
  EXPECT_EQ(255, u->number);
  EXPECT_EQ(0, u->enabled);
  EXPECT_TRUE(u->IsDevice());
  EXPECT_EQ(static_cast<COLORREF>(0xE0E0E0), u->fillColor);
  EXPECT_EQ(200, u->Width());
  EXPECT_EQ(20, u->Height());
  ASSERT_EQ(1, u->inputCount);
  ASSERT_EQ(1, u->outputCount);
  EXPECT_STREQ(L"RXD", u->inputs[0]->name);
  EXPECT_STREQ(L"TXD", u->outputs[0]->name);
  EXPECT_EQ(10, u->inputs[0]->type);
  EXPECT_EQ(10, u->outputs[0]->type);
  EXPECT_EQ(blocktest::Costs(10, 100, 0, false), blocktest::CostsOf(u));
  EXPECT_EQ(115200, u->speed);
  EXPECT_EQ(0u, u->speedIndex);
  EXPECT_EQ(static_cast<unsigned>(115200 | (10 << 16)), u->sendFormat);
  EXPECT_EQ(u->sendFormat, u->receiveFormat);
}

TEST(AvrUart, SpeedsComeFromTheTable) {
  const int expected[12] = {115200, 57600, 56000, 38400, 19200, 11400, 9600, 2400, 1200, 600, 300, 110};
  CBEUART u;
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(expected[i], BeUartSpeedTable[i]);
    u.SetSpeedIndex(i);
    EXPECT_EQ(expected[i], u.speed);
  }
  u.SetSpeedIndex(40);
  EXPECT_EQ(11, u.speedIndex);
  EXPECT_EQ(110, u.speed);
}

TEST(AvrUart, CaptionsFollowTheNumber) {
  struct Case {
    int number;
    const wchar_t* caption;
    const wchar_t* rx;
    const wchar_t* tx;
  };
  const Case cases[] = {{255, L"UART", L"RXD", L"TXD"}, {128, L"UART", L"RXD", L"TXD"},
                        {0, L"UART0", L"RXD0", L"TXD0"}, {1, L"UART1", L"RXD1", L"TXD1"},
                        {127, L"UART127", L"RXD127", L"TXD127"}};
  for (const Case& c : cases) {
    CBEUART u;
    u.number = static_cast<unsigned char>(c.number);
    u.UpdateCaption();
    EXPECT_STREQ(c.caption, u.GetCaption());
    wchar_t rx[16], tx[16];
    u.RxName(rx, 16);
    u.TxName(tx, 16);
    EXPECT_STREQ(c.rx, rx);
    EXPECT_STREQ(c.tx, tx);
  }
}

TEST(AvrUart, FormatWordsPackSpeedFrameParityAndProtocol) {
  CBEUART u;
  u.SetSpeedIndex(6);  // 9600
  u.parity = 1;
  u.bitsPerByte = 12;  // 2 stop bits with parity
  u.UpdateLineFormat();
  const unsigned word = 9600u | (12u << 16) | (1u << 24);
  EXPECT_EQ(word, u.sendFormat);
  EXPECT_EQ(word, u.receiveFormat);
  u.protocol = CBEUART::kRequestMaster;
  u.UpdateLineFormat();
  EXPECT_EQ(word | 0x40000000u, u.receiveFormat);
  EXPECT_EQ(word, u.sendFormat);
  u.protocol = CBEUART::kRequestSlave;
  u.UpdateLineFormat();
  EXPECT_EQ(word, u.receiveFormat);
  EXPECT_EQ(word | 0x40000000u, u.sendFormat);
}

TEST(AvrUart, OneUartBindsTheRxdAndTxdPinsAtTheirOffsets) {
  AvrBench bench;
  auto* u = bench.Create<CBEUART>(kBeAvrUARTClassId);
  CBEIOPort* rx = bench.Pin(L"PD0/RXD/PCINT16", 16);
  CBEIOPort* tx = bench.Pin(L"PD1/TXD/PCINT17", 17);
  bench.Pin(L"PD2/INT0", 18);
  u->MoveTo(400, 100);  // RXD at (400, 110), TXD at (600, 110)
  u->enabled = 1;
  for (int round = 0; round < 2; ++round) {  // binding twice binds once
    SCOPED_TRACE(round);
    u->BindPins();
    EXPECT_TRUE(At(rx, 310, 104));
    EXPECT_EQ(CBEIOPort::kModeAltInput, rx->mode);
    ASSERT_EQ(1, rx->outputCount);
    EXPECT_EQ(rx->outputs[0], u->inputs[0]->source);
    EXPECT_EQ(340, u->inputs[0]->routeX1);
    EXPECT_EQ(1, rx->outputs[0]->hardware);
    EXPECT_EQ(10, rx->outputs[0]->type);

    EXPECT_TRUE(At(tx, 690, 104));
    EXPECT_EQ(CBEIOPort::kModeAltOutput, tx->mode);
    ASSERT_EQ(1, tx->inputCount);
    EXPECT_EQ(u->outputs[0], tx->inputs[0]->source);
    EXPECT_EQ(660, tx->inputs[0]->routeX1);
    EXPECT_EQ(1, u->outputs[0]->hardware);
  }

  // Disabling gives both pins back in mode 0.
  u->enabled = 0;
  u->BindPins();
  EXPECT_EQ(CBEIOPort::kModeInput, rx->mode);
  EXPECT_EQ(CBEIOPort::kModeInput, tx->mode);
  EXPECT_EQ(nullptr, u->inputs[0]->source);
  EXPECT_EQ(0, tx->inputCount);
  EXPECT_EQ(0, rx->outputs[0]->hardware);
  EXPECT_EQ(0, u->outputs[0]->hardware);
}

TEST(AvrUart, NumberedUartsBindTheirOwnPinsOnly) {
  AvrBench bench;
  auto* u0 = bench.Create<CBEUART>(kBeAvrUARTClassId);
  auto* u1 = bench.Create<CBEUART>(kBeAvrUARTClassId);
  CBEIOPort* rx0 = bench.Pin(L"PE0/RXD0/PCINT8", 0);
  CBEIOPort* tx0 = bench.Pin(L"PE1/TXD0", 1);
  CBEIOPort* rx1 = bench.Pin(L"PD2/RXD1/INT2", 2);
  CBEIOPort* tx1 = bench.Pin(L"PD3/TXD1/INT3", 3);
  u0->number = 0;
  u1->number = 1;
  u0->UpdateCaption();
  u1->UpdateCaption();
  EXPECT_STREQ(L"UART0", u0->GetCaption());
  EXPECT_STREQ(L"UART1", u1->GetCaption());
  u1->enabled = 1;
  u1->BindPins();
  EXPECT_EQ(rx1->outputs[0], u1->inputs[0]->source);
  EXPECT_EQ(u1->outputs[0], tx1->inputs[0]->source);
  EXPECT_EQ(CBEIOPort::kModeInput, rx0->mode);
  EXPECT_EQ(CBEIOPort::kModeInput, tx0->mode);
  u0->enabled = 1;
  u0->BindPins();
  EXPECT_EQ(rx0->outputs[0], u0->inputs[0]->source);
  EXPECT_EQ(u0->outputs[0], tx0->inputs[0]->source);
  EXPECT_EQ(rx1->outputs[0], u1->inputs[0]->source);
}

TEST(AvrUart, AMissingPinBindsNothing) {
  AvrBench bench;
  auto* u = bench.Create<CBEUART>(kBeAvrUARTClassId);
  CBEIOPort* other = bench.Pin(L"PD2/RXD1/INT2");
  u->enabled = 1;
  u->BindPins();
  EXPECT_EQ(nullptr, u->inputs[0]->source);
  EXPECT_EQ(0, u->outputs[0]->hardware);
  EXPECT_EQ(CBEIOPort::kModeInput, other->mode);
}

TEST(AvrUart, Rs485AddsADirectionOutputInPlaceOfTheFirstReceivedField) {
  CBEUART u;
  ASSERT_TRUE(u.SetRs485(true));
  EXPECT_EQ(2, u.fixedOutputs);
  ASSERT_EQ(2, u.outputCount);
  EXPECT_STREQ(L"dir485", u.outputs[1]->name);
  EXPECT_STREQ(L"Направление передачи данных по RS-485. Вывести на любой выход", u.outputs[1]->description);
  EXPECT_EQ(kBeSignalBit, u.outputs[1]->type);
  EXPECT_EQ(0, u.ReceiveFieldCount());
  EXPECT_EQ(40, u.Height());
  ASSERT_TRUE(u.SetRs485(false));
  EXPECT_EQ(1, u.fixedOutputs);
  EXPECT_EQ(2, u.outputCount);  // output 1 became the first received field
  EXPECT_EQ(1, u.ReceiveFieldCount());
  EXPECT_EQ(nullptr, u.outputs[1]->name);
  EXPECT_EQ(nullptr, u.outputs[1]->description);

  // With received fields the first one gives its place up, the others keep
  // their channels.
  ASSERT_TRUE(u.SetReceiveFieldCount(3));
  ASSERT_TRUE(u.SetReceiveField(0, L"a", kBeSignalChar, 4));
  ASSERT_TRUE(u.SetReceiveField(1, L"b", kBeSignalShort, 5));
  ASSERT_TRUE(u.SetReceiveField(2, L"c", kBeSignalInt, 6));
  ASSERT_TRUE(u.SetRs485(true));
  ASSERT_EQ(4, u.outputCount);
  EXPECT_EQ(2, u.ReceiveFieldCount());
  EXPECT_STREQ(L"dir485", u.outputs[1]->name);
  EXPECT_STREQ(L"b", u.ReceiveField(0)->name);
  EXPECT_EQ(5, u.receiveChannels[0]);
  EXPECT_EQ(6, u.receiveChannels[1]);
  EXPECT_EQ(80, u.Height());
}

TEST(AvrUart, SwitchingRs485DisconnectsTheReceivedFields) {
  AvrBench bench;
  auto* u = bench.Create<CBEUART>(kBeAvrUARTClassId);
  ASSERT_TRUE(u->SetReceiveFieldCount(1));
  blocktest::Source* s = bench.Source(kBeSignalChar);
  CBEIOPort* reader = bench.Pin(L"PB0", 0, CBEIOPort::kModeOutput);
  bench.LinkAnyway(u, 1, reader, 0);
  (void)s;
  ASSERT_TRUE(u->SetRs485(true));
  EXPECT_EQ(nullptr, reader->inputs[0]->source);
}

// Two UARTs joined through a line: A's TXD feeds B's RXD.
struct UartPair {
  AvrBench bench;
  CBEUART* a;
  CBEUART* b;
  blocktest::Source* value;
  UartPair() {
    a = bench.Create<CBEUART>(kBeAvrUARTClassId);
    b = bench.Create<CBEUART>(kBeAvrUARTClassId);
    value = bench.Source(kBeSignalChar);
    value->SetInt(42);
    a->enabled = b->enabled = 1;
    EXPECT_TRUE(a->SetSendFieldCount(1));
    EXPECT_TRUE(a->SetSendField(0, L"x", kBeSignalChar, 3));
    bench.Link(value, a, 1);
    EXPECT_TRUE(b->SetReceiveFieldCount(1));
    EXPECT_TRUE(b->SetReceiveField(0, L"x", kBeSignalChar, 3));
    bench.Link(a, 0, b, 0);
  }
};

TEST(AvrUart, ExchangesThroughItsLineValue) {
  blocktest::PayloadScope payloads;
  UartPair pair;
  pair.bench.Passes(3);
  EXPECT_EQ(&pair.a->signalSource, LineSourceOf(pair.a->outputs[0]->value));
  EXPECT_EQ(42, blocktest::ReadInt(pair.b, 1));
  pair.bench.Stop();
  // The run's end releases the line's handle: the value names nothing.
  EXPECT_EQ(nullptr, LineSourceOf(pair.a->outputs[0]->value));
}

TEST(AvrUart, AReceiverWithOtherSettingsIgnoresThePackets) {
  struct Case {
    int speedIndex, bits, parity;
    bool accepted;
  };
  const Case cases[] = {{6, 12, 1, true}, {7, 12, 1, false}, {6, 11, 1, false}, {6, 12, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.speedIndex << " " << c.bits << " " << c.parity);
    blocktest::PayloadScope payloads;
    UartPair pair;
    pair.a->SetSpeedIndex(6);
    pair.a->bitsPerByte = 12;
    pair.a->parity = 1;
    pair.a->UpdateLineFormat();
    EXPECT_EQ(9600u | (12u << 16) | (1u << 24), pair.a->sendFormat);
    pair.b->SetSpeedIndex(c.speedIndex);
    pair.b->bitsPerByte = c.bits;
    pair.b->parity = static_cast<unsigned char>(c.parity);
    pair.b->UpdateLineFormat();
    pair.bench.Passes(5);
    EXPECT_EQ(c.accepted ? 42 : 0, blocktest::ReadInt(pair.b, 1));
    pair.bench.Stop();
  }
}

TEST(AvrUart, ADisabledUartDoesNothingAndTheDirectionOutputMarksTransmissions) {
  blocktest::PayloadScope payloads;
  UartPair pair;
  pair.b->enabled = 0;
  ASSERT_TRUE(pair.a->SetRs485(true));
  pair.bench.Pass();
  EXPECT_EQ(1, pair.a->outputs[1]->value[0]);  // the pass started a transmission
  pair.bench.Pass();
  EXPECT_EQ(0, pair.a->outputs[1]->value[0]);
  EXPECT_EQ(0, blocktest::ReadInt(pair.b, 1));
  EXPECT_EQ(nullptr, LineSourceOf(pair.b->outputs[0]->value));
  pair.bench.Stop();
}

TEST(AvrUart, TheRecordKeepsItsSettingsAndTheDirectionOutput) {
  std::unique_ptr<CBEUART> u = blocktest::NewDetached<CBEUART>(kBeAvrUARTClassId);
  u->enabled = 1;
  u->number = 1;
  u->SetSpeedIndex(6);
  u->bitsPerByte = 12;
  u->parity = 1;
  u->protocol = 2;
  ASSERT_TRUE(u->SetRs485(true));
  ASSERT_TRUE(u->SetReceiveFieldCount(1));
  ASSERT_TRUE(u->SetReceiveField(0, L"r", kBeSignalShort, 7));
  BaseRecord base = BaseRecord::Unlinked(u->rect, 1, 3);
  base.flags = kBeBlockDevice;
  auto golden = Golden()
                    .B(3).B(1).B(6).B(12).B(1).B(2)
                    .I32(0)
                    .I32(1).WStr(L"r").B(kBeSignalShort).B(7)
                    .Base(base)
                    .Bytes();
  std::vector<uint8_t> record = blocktest::RecordBytes(u.get());
  EXPECT_TRUE(velktest::BytesEqual(record, golden));
  blocktest::ExpectTruncationsRefused<CBEUART>(kBeAvrUARTClassId, golden);

  std::unique_ptr<CBEUART> back = blocktest::NewDetached<CBEUART>(kBeAvrUARTClassId);
  ASSERT_TRUE(blocktest::LoadBytes(back.get(), golden));
  EXPECT_EQ(1, back->rs485);
  ASSERT_EQ(3, back->outputCount);
  EXPECT_STREQ(L"dir485", back->outputs[1]->name);
  EXPECT_STREQ(L"r", back->ReceiveField(0)->name);
  EXPECT_EQ(9600, back->speed);
  EXPECT_EQ(9600u | (12u << 16) | (1u << 24) | 0x40000000u, back->sendFormat);

  // A speed index beyond the table becomes the last one; an odd parity or
  // protocol is refused.
  std::vector<uint8_t> fast = golden, parity = golden, protocol = golden;
  fast[2] = 30;
  parity[4] = 3;
  protocol[5] = 3;
  std::unique_ptr<CBEUART> f = blocktest::NewDetached<CBEUART>(kBeAvrUARTClassId);
  ASSERT_TRUE(blocktest::LoadBytes(f.get(), fast));
  EXPECT_EQ(11, f->speedIndex);
  EXPECT_EQ(110, f->speed);
  for (const auto& bad : {parity, protocol}) {
    std::unique_ptr<CBEUART> r = blocktest::NewDetached<CBEUART>(kBeAvrUARTClassId);
    std::vector<uint8_t> before = blocktest::RecordBytes(r.get());
    EXPECT_FALSE(blocktest::LoadBytes(r.get(), bad));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(r.get()), before));
  }
}

// ------------------------------------------------------------ SPI

TEST(AvrSpi, IsMadeWithItsLinePins) {
  AvrBench bench;
  auto* s = bench.Create<CBESPI>(kBeAvrSPIClassId);
  ASSERT_NE(nullptr, s);
  EXPECT_STREQ(L"SPI", s->GetCaption());
  EXPECT_EQ(120, s->Width());
  EXPECT_EQ(60, s->Height());
  EXPECT_TRUE(s->IsDevice());
  ASSERT_EQ(3, s->inputCount);
  ASSERT_EQ(2, s->outputCount);
  const wchar_t* inNames[3] = {L"MISO", L"SCK", L"SS"};
  const int inTypes[3] = {15, 16, 15};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(inNames[i], s->inputs[i]->name);
    EXPECT_EQ(inTypes[i], s->inputs[i]->type);
  }
  EXPECT_STREQ(L"MOSI", s->outputs[0]->name);
  EXPECT_STREQ(L"SCK", s->outputs[1]->name);
  EXPECT_EQ(15, s->outputs[0]->type);
  EXPECT_EQ(16, s->outputs[1]->type);
  EXPECT_EQ(1, s->outputs[0]->hardware);
  EXPECT_EQ(1, s->outputs[1]->hardware);
  EXPECT_TRUE(blocktest::DrawsCaption(s, L"SPI"));
}

TEST(AvrSpi, SpeedFollowsTheDividerAndTheFrequency) {
  struct Case {
    float frequency;
    int divider;
    int speed;
  };
  const Case cases[] = {{1000000.0f, 0, 500000}, {1000000.0f, 6, 7812},  {8000000.0f, 2, 1000000},
                        {16000000.0f, 6, 125000}, {7372800.0f, 1, 1843200}, {1000000.0f, 3, 62500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frequency << " / " << c.divider);
    AvrBench bench;
    bench.scheme.frequency = c.frequency;
    auto* s = bench.Create<CBESPI>(kBeAvrSPIClassId);
    s->divider = static_cast<unsigned char>(c.divider);
    s->UpdateLineFormat();
    EXPECT_EQ(c.speed, s->speed);
    EXPECT_EQ(9, s->bitsPerByte);
  }
  // Attaching follows the new scheme's frequency.
  AvrBench bench;
  bench.scheme.frequency = 4000000.0f;
  auto* s = bench.Create<CBESPI>(kBeAvrSPIClassId);
  EXPECT_EQ(2000000, s->speed);
}

TEST(AvrSpi, FormatWordsOfMasterAndSlaveMatchWhenTheirOptionsAgree) {
  CBESPI master, slave;
  master.mode = CBESPI::kMaster;
  slave.mode = CBESPI::kSlave;
  master.inversePolarity = slave.inversePolarity = 1;
  master.inverseBitOrder = slave.inverseBitOrder = 1;
  master.UpdateLineFormat();
  slave.UpdateLineFormat();
  EXPECT_EQ(0x51u, master.sendFormat);
  EXPECT_EQ(0x52u, master.receiveFormat);
  EXPECT_EQ(0x52u, slave.sendFormat);
  EXPECT_EQ(0x51u, slave.receiveFormat);
  slave.inverseEdge = 1;
  slave.UpdateLineFormat();
  EXPECT_EQ(0x72u, slave.sendFormat);
  EXPECT_NE(master.receiveFormat, slave.sendFormat);
}

// The SPI at (400, 100): inputs at y 110, 130, 150, outputs at y 115, 145.
struct SpiBench : AvrBench {
  CBESPI* spi;
  CBEIOPort *mosi, *miso, *sck, *ss;
  SpiBench() {
    spi = Create<CBESPI>(kBeAvrSPIClassId);
    spi->MoveTo(400, 100);
    mosi = Pin(L"PB3/MOSI/PCINT3", 3);
    miso = Pin(L"PB4/MISO/PCINT4", 4);
    sck = Pin(L"PB5/SCK/PCINT5", 5);
    ss = Pin(L"PB2/SS/PCINT2", 2);
    Pin(L"PB6/XTAL1", 6);
  }
};

struct Bound {
  CBEIOPort* port;
  int x, y, mode, routeX1, type;
};

void ExpectReadBy(CBEBlock* peripheral, int in, const Bound& b) {
  EXPECT_TRUE(At(b.port, b.x, b.y));
  EXPECT_EQ(b.mode, b.port->mode);
  ASSERT_EQ(1, b.port->outputCount);
  EXPECT_EQ(b.port->outputs[0], peripheral->inputs[in]->source);
  EXPECT_EQ(b.routeX1, peripheral->inputs[in]->routeX1);
  EXPECT_EQ(b.type, b.port->outputs[0]->type);
  EXPECT_EQ(1, b.port->outputs[0]->hardware);
}

void ExpectDrivenBy(CBEBlock* peripheral, int out, const Bound& b) {
  EXPECT_TRUE(At(b.port, b.x, b.y));
  EXPECT_EQ(b.mode, b.port->mode);
  ASSERT_EQ(1, b.port->inputCount);
  EXPECT_EQ(peripheral->outputs[out], b.port->inputs[0]->source);
  EXPECT_EQ(b.routeX1, b.port->inputs[0]->routeX1);
  EXPECT_EQ(b.type, b.port->inputs[0]->type);
}

TEST(AvrSpi, AMasterBindsMisoMosiAndSck) {
  SpiBench bench;
  bench.spi->mode = CBESPI::kMaster;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bench.spi->BindPins();
    ExpectReadBy(bench.spi, 0, {bench.miso, 300, 104, 3, 380, 15});
    EXPECT_EQ(0, bench.miso->outputs[0]->value[0]);
    ExpectDrivenBy(bench.spi, 0, {bench.mosi, 620, 99, 4, 540, 15});
    ExpectDrivenBy(bench.spi, 1, {bench.sck, 620, 139, 4, 540, 16});
    EXPECT_EQ(CBEIOPort::kModeInput, bench.ss->mode);
    EXPECT_EQ(nullptr, bench.spi->inputs[1]->source);
  }
}

TEST(AvrSpi, ASlaveBindsMosiSckSelectAndMiso) {
  SpiBench bench;
  bench.spi->mode = CBESPI::kMaster;
  bench.spi->BindPins();
  bench.spi->mode = CBESPI::kSlave;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bench.spi->BindPins();
    ExpectReadBy(bench.spi, 0, {bench.mosi, 300, 84, 3, 380, 15});
    ExpectReadBy(bench.spi, 1, {bench.sck, 300, 114, 3, 375, 16});
    ExpectReadBy(bench.spi, 2, {bench.ss, 300, 144, 3, 370, kBeSignalBit});
    EXPECT_EQ(1, bench.ss->outputs[0]->value[0]);
    ExpectDrivenBy(bench.spi, 0, {bench.miso, 620, 99, 4, 540, 15});
    EXPECT_EQ(nullptr, bench.sck->inputCount > 0 ? bench.sck->inputs[0]->source : nullptr);
  }
  // Off: every pin goes back to input mode, the outputs bit-typed.
  bench.spi->mode = CBESPI::kOff;
  bench.spi->BindPins();
  for (CBEIOPort* p : {bench.mosi, bench.miso, bench.sck, bench.ss}) {
    EXPECT_EQ(CBEIOPort::kModeInput, p->mode);
    ASSERT_EQ(1, p->outputCount);
    EXPECT_EQ(0, p->outputs[0]->hardware);
    EXPECT_EQ(kBeSignalBit, p->outputs[0]->type);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(nullptr, bench.spi->inputs[i]->source);
}

TEST(AvrSpi, ASlaveExchangesOnlyWhileClockedAndSelected) {
  blocktest::PayloadScope payloads;
  SpiBench bench;
  bench.spi->mode = CBESPI::kSlave;
  bench.spi->BindPins();
  bench.Start();
  EXPECT_EQ(bench.miso, bench.spi->dataOut);
  // What the microcontroller read from the pins: a clock, the select high.
  bench.sck->storedType = 16;
  bench.ss->storedType = kBeSignalBit;
  bench.ss->storedValue[0] = 1;
  bench.Pass();
  EXPECT_EQ(CBEIOPort::kModeAltReleased, bench.miso->mode);
  EXPECT_EQ(0, bench.spi->enabled);
  EXPECT_EQ(nullptr, LineSourceOf(bench.spi->outputs[0]->value));

  bench.ss->storedValue[0] = 0;
  bench.Pass();
  EXPECT_EQ(CBEIOPort::kModeAltOutput, bench.miso->mode);
  EXPECT_EQ(1, bench.spi->enabled);
  EXPECT_EQ(&bench.spi->signalSource, LineSourceOf(bench.spi->outputs[0]->value));

  // No clock: not selected.
  bench.sck->storedType = kBeSignalBit;
  bench.Pass();
  EXPECT_EQ(CBEIOPort::kModeAltReleased, bench.miso->mode);
  EXPECT_EQ(0, bench.spi->enabled);
  bench.Stop();
}

TEST(AvrSpi, AMasterClocksAndCarriesItsSet) {
  blocktest::PayloadScope payloads;
  SpiBench bench;
  bench.spi->mode = CBESPI::kMaster;
  bench.spi->BindPins();
  bench.spi->outputs[1]->type = kBeSignalBit;
  bench.Pass();
  EXPECT_EQ(16, bench.spi->outputs[1]->type);
  EXPECT_EQ(1, bench.spi->enabled);
  EXPECT_EQ(15, bench.spi->outputs[0]->type);
  EXPECT_EQ(&bench.spi->signalSource, LineSourceOf(bench.spi->outputs[0]->value));
  // The MOSI pin block stores the line for the microcontroller.
  bench.Pass();
  EXPECT_EQ(15, bench.mosi->storedType);
  EXPECT_EQ(&bench.spi->signalSource, LineSourceOf(bench.mosi->storedValue));
  bench.Stop();
}

TEST(AvrSpi, TheRecordKeepsModeFlagsAndDivider) {
  std::unique_ptr<CBESPI> s = blocktest::NewDetached<CBESPI>(kBeAvrSPIClassId);
  s->mode = 2;
  s->inverseEdge = 1;
  s->divider = 6;
  BaseRecord base = BaseRecord::Unlinked(s->rect, 3, 2);
  base.flags = kBeBlockDevice;
  base.outputs[0].hardware = base.outputs[1].hardware = 1;
  auto golden = Golden().B(2).B(0).B(1).B(0).B(6).I32(0).I32(0).Base(base).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(s.get()), golden));
  blocktest::ExpectTruncationsRefused<CBESPI>(kBeAvrSPIClassId, golden);
  std::unique_ptr<CBESPI> back = blocktest::NewDetached<CBESPI>(kBeAvrSPIClassId);
  ASSERT_TRUE(blocktest::LoadBytes(back.get(), golden));
  EXPECT_EQ(0x22u, back->sendFormat);
  EXPECT_EQ(7812, back->speed);  // the default frequency / 128
  std::vector<uint8_t> mode = golden, divider = golden;
  mode[0] = 3;
  divider[4] = 7;
  for (const auto& bad : {mode, divider}) {
    std::unique_ptr<CBESPI> r = blocktest::NewDetached<CBESPI>(kBeAvrSPIClassId);
    EXPECT_FALSE(blocktest::LoadBytes(r.get(), bad));
    EXPECT_EQ(0, r->mode);
    EXPECT_EQ(0, r->divider);
  }
}

// ------------------------------------------------------------ TWI

TEST(AvrTwi, IsMadeWithItsBusInputs) {
  AvrBench bench;
  auto* t = bench.Create<CBETWI>(kBeAvrTWIClassId);
  ASSERT_NE(nullptr, t);
  EXPECT_STREQ(L"Двухпроводной последовательный интерфейс (TWI)", t->GetCaption());
  EXPECT_EQ(120, t->Width());
  EXPECT_EQ(40, t->Height());
  EXPECT_EQ(16, t->bitsPerByte);
  ASSERT_EQ(2, t->inputCount);
  EXPECT_EQ(0, t->outputCount);
  EXPECT_STREQ(L"SDA", t->inputs[0]->name);
  EXPECT_STREQ(L"SCL", t->inputs[1]->name);
  EXPECT_EQ(13, t->inputs[0]->type);
  EXPECT_EQ(14, t->inputs[1]->type);
  EXPECT_TRUE(blocktest::DrawsCaption(t, L"TWI"));
}

TEST(AvrTwi, BitRateFollowsTwbrTwpsAndTheFrequency) {
  struct Case {
    float frequency;
    int twbr, twps, speed;
  };
  const Case cases[] = {{8000000.0f, 0, 0, 500000}, {8000000.0f, 32, 0, 100000}, {8000000.0f, 2, 1, 250000},
                        {8000000.0f, 255, 3, 244},   {1000000.0f, 0, 0, 62500},   {16000000.0f, 72, 0, 100000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.twbr << " " << c.twps);
    AvrBench bench;
    bench.scheme.frequency = c.frequency;
    auto* t = bench.Create<CBETWI>(kBeAvrTWIClassId);
    t->twbr = static_cast<unsigned char>(c.twbr);
    t->twps = static_cast<unsigned char>(c.twps);
    t->UpdateBitRate();
    EXPECT_EQ(c.speed, t->speed);
  }
}

TEST(AvrTwi, BindsSdaAndSclAsBusLinesAndGivesThemBack) {
  AvrBench bench;
  auto* t = bench.Create<CBETWI>(kBeAvrTWIClassId);
  t->MoveTo(400, 100);  // SDA at (400, 110), SCL at (400, 130)
  CBEIOPort* sda = bench.Pin(L"PC4/ADC4/SDA/PCINT12", 12);
  CBEIOPort* scl = bench.Pin(L"PC5/ADC5/SCL/PCINT13", 13);
  t->mode = CBETWI::kMaster;
  for (int round = 0; round < 2; ++round) {
    t->BindPins();
    ExpectReadBy(t, 0, {sda, 300, 94, CBEIOPort::kModeBus, 380, 13});
    ExpectReadBy(t, 1, {scl, 300, 124, CBEIOPort::kModeBus, 380, 14});
  }
  t->mode = CBETWI::kSlave;
  t->BindPins();
  ExpectReadBy(t, 1, {scl, 300, 124, CBEIOPort::kModeAltInput, 380, 14});
  t->mode = CBETWI::kOff;
  t->BindPins();
  for (CBEIOPort* p : {sda, scl}) {
    EXPECT_EQ(CBEIOPort::kModeInput, p->mode);
    EXPECT_EQ(0, p->outputs[0]->hardware);
    EXPECT_EQ(kBeSignalBit, p->outputs[0]->type);
  }
  EXPECT_EQ(nullptr, t->inputs[0]->source);
  EXPECT_EQ(nullptr, t->inputs[1]->source);
}

TEST(AvrTwi, MergesTheBusSetIntoItsOwn) {
  blocktest::PayloadScope payloads;
  AvrBench bench;
  auto* t = bench.Create<CBETWI>(kBeAvrTWIClassId);
  CBEIOPort* sda = bench.Pin(L"PC4/SDA", 12);
  CBEIOPort* scl = bench.Pin(L"PC5/SCL", 13);
  t->mode = CBETWI::kSlave;
  t->BindPins();
  // The bus model puts the line's set into the SDA pin's value.
  SchPacketSet bus;
  SchPacket* packet = new SchPacket;
  packet->id = 5;
  packet->sequence = 1;
  packet->AddRef();
  ASSERT_TRUE(bus.Put(packet));
  packet->Release();
  SchSignalSource line = {&bus, 0.0f};
  BePayloadHandle handle = kNoPayload;
  PutLineSource(sda->outputs[0]->value, &line, nullptr, &handle);
  sda->outputs[0]->type = kBeSignalBit;
  bench.Start();
  EXPECT_EQ(13, sda->outputs[0]->type);
  EXPECT_EQ(1, t->enabled);
  // A slave waits for the clock line.
  scl->outputs[0]->type = kBeSignalBit;
  t->Step(0.001f);
  EXPECT_EQ(0, t->signalSource.packets->count);
  scl->outputs[0]->type = 14;
  t->Step(0.001f);
  ASSERT_EQ(1, t->signalSource.packets->count);
  EXPECT_EQ(5, t->signalSource.packets->packets[0]->id);
  bench.Stop();
}

TEST(AvrTwi, TheRecordKeepsModeAndRate) {
  std::unique_ptr<CBETWI> t = blocktest::NewDetached<CBETWI>(kBeAvrTWIClassId);
  t->mode = 1;
  t->twbr = 32;
  t->twps = 2;
  BaseRecord base = BaseRecord::Unlinked(t->rect, 2, 0);
  base.flags = kBeBlockDevice;
  auto golden = Golden().B(1).B(32).B(2).I32(0).I32(0).Base(base).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(t.get()), golden));
  blocktest::ExpectTruncationsRefused<CBETWI>(kBeAvrTWIClassId, golden);
  std::unique_ptr<CBETWI> back = blocktest::NewDetached<CBETWI>(kBeAvrTWIClassId);
  ASSERT_TRUE(blocktest::LoadBytes(back.get(), golden));
  EXPECT_EQ(1000000 / (16 + 2 * 32 * 16), back->speed);
  std::vector<uint8_t> mode = golden, twps = golden;
  mode[0] = 3;
  twps[2] = 4;
  for (const auto& bad : {mode, twps}) {
    std::unique_ptr<CBETWI> r = blocktest::NewDetached<CBETWI>(kBeAvrTWIClassId);
    EXPECT_FALSE(blocktest::LoadBytes(r.get(), bad));
    EXPECT_EQ(0, r->mode);
  }
}

}  // namespace
