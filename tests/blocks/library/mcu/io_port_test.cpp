// The microcontroller's pin block: the pins of its nine modes, the values
// it moves between its pins and its buffer, the port-block list and the
// caption search, its dialog's refusal, its drawing and its record.
#include <cstring>

#include "avr_bench.h"
#include "blocks/engine/output_pin.h"

namespace {

using avrtest::AvrBench;
using avrtest::Stored;
using blocktest::BaseRecord;
using blocktest::Golden;

TEST(IoPort, IsANarrowDeviceBlockWithOnePinOutput) {
  AvrBench bench;
  CBEIOPort* p = bench.Pin(L"PB0");
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(28, p->Width());
  EXPECT_EQ(13, p->Height());
  EXPECT_TRUE(p->IsDevice());
  EXPECT_EQ(CBEIOPort::kModeInput, p->mode);
  EXPECT_EQ(0, p->inputCount);
  ASSERT_EQ(1, p->outputCount);
  EXPECT_STREQ(L"Выходное значение (регистр PIN)", p->outputs[0]->description);
  EXPECT_EQ(kBeSignalBit, p->storedType);
  EXPECT_EQ(1, p->storedValue[0]);
  CBEIOPort* fresh = bench.Create<CBEIOPort>(kBePortPinBlockClassId);
  EXPECT_STREQ(L"Вывод микропроцессора", fresh->GetCaption());

  EXPECT_TRUE(p->SetMode(CBEIOPort::kModeSwitchable));
  EXPECT_EQ(20, p->Height());
  ASSERT_EQ(2, p->inputCount);
  ASSERT_EQ(1, p->outputCount);
  EXPECT_STREQ(L"Входное значение (регистр PORT)", p->inputs[0]->description);
  EXPECT_STREQ(L"Направление (регистр DDR): 0 - вход; 1 - выход", p->inputs[1]->description);
  EXPECT_EQ(nullptr, p->inputs[0]->name);
}

TEST(IoPort, EachModeHasItsPins) {
  struct Case {
    int mode, inputs, outputs, height;
  };
  const Case cases[] = {{0, 0, 1, 13}, {1, 0, 1, 13}, {2, 1, 0, 13}, {3, 0, 1, 13}, {4, 1, 0, 13},
                        {5, 1, 0, 13}, {6, 0, 1, 13}, {7, 0, 1, 13}, {8, 2, 1, 20}};
  AvrBench bench;
  CBEIOPort* p = bench.Pin(L"PC0");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_TRUE(p->SetMode(c.mode));
    EXPECT_EQ(c.inputs, p->inputCount);
    EXPECT_EQ(c.outputs, p->outputCount);
    EXPECT_EQ(c.height, p->Height());
    EXPECT_EQ(28, p->Width());
  }
}

TEST(IoPort, PinsThatStayKeepTheirLinksAndAGoneOutputDisconnects) {
  AvrBench bench;
  blocktest::Source* level = bench.Source(kBeSignalBit);
  CBEIOPort* p = bench.Pin(L"PD5", 5, CBEIOPort::kModeOutput);
  bench.Link(level, p);
  EXPECT_TRUE(p->SetMode(CBEIOPort::kModeSwitchable));
  EXPECT_EQ(level->outputs[0], p->inputs[0]->source);

  CBEIOPort* reader = bench.Pin(L"PD6");
  CBEIOPort* fed = bench.Pin(L"PD7", 7, CBEIOPort::kModeOutput);
  bench.Link(reader, fed);
  EXPECT_TRUE(reader->SetMode(CBEIOPort::kModeAltOutput));  // the PIN output goes
  EXPECT_EQ(nullptr, fed->inputs[0]->source);
}

TEST(IoPort, StepMovesValuesByMode) {
  AvrBench bench;
  blocktest::Source* port = bench.Source(kBeSignalChar);
  port->SetInt(0x5A);
  const std::vector<uint8_t> buffer = {9, 8, 7, 6, 5, 4, 3, 2};
  struct Case {
    int mode;
    bool readsPort;  // the buffer takes the PORT source
    bool writesPin;  // the PIN output takes the buffer
  };
  const Case cases[] = {{0, false, true},  {1, false, true}, {2, true, false},  {3, false, true}, {4, true, false},
                        {5, true, false},  {6, false, true}, {7, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    CBEIOPort* p = bench.Pin(L"PA1", 1, c.mode);
    if (p->inputCount > 0) bench.LinkAnyway(port, 0, p, 0);
    bench.Pass();  // Start: stored type 1, first word 0
    p->storedType = kBeSignalShort;
    memcpy(p->storedValue, buffer.data(), 8);
    if (p->outputCount > 0) {
      p->outputs[0]->type = kBeSignalBit;
      memset(p->outputs[0]->value, 0, 8);
    }
    p->Step(0.001f);
    if (c.readsPort) {
      EXPECT_EQ(kBeSignalChar, p->storedType);
      EXPECT_EQ(0x5A, p->storedValue[0]);
    } else {
      EXPECT_EQ(kBeSignalShort, p->storedType);
      EXPECT_EQ(buffer, Stored(p));
    }
    if (p->outputCount > 0) {
      EXPECT_EQ(c.writesPin ? kBeSignalShort : kBeSignalBit, p->outputs[0]->type);
      EXPECT_EQ(c.writesPin ? buffer : std::vector<uint8_t>(8, 0), blocktest::ValueBytes(p));
    }
    bench.Stop();
  }
}

TEST(IoPort, AnUnlinkedPortInputLeavesTheBufferAndStartClearsItsFirstWord) {
  AvrBench bench;
  CBEIOPort* p = bench.Pin(L"PA2", 2, CBEIOPort::kModeOutput);
  const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  memcpy(p->storedValue, bytes, 8);
  p->storedType = kBeSignalInt;
  bench.Start();
  EXPECT_EQ(kBeSignalBit, p->storedType);
  EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 5, 6, 7, 8}), Stored(p));
  p->storedType = kBeSignalInt;
  bench.Pass();
  EXPECT_EQ(kBeSignalInt, p->storedType);
}

TEST(IoPort, SwitchableModeFollowsItsDirectionInput) {
  AvrBench bench;
  blocktest::Source* port = bench.Source(kBeSignalBit);
  blocktest::Source* ddr = bench.Source(kBeSignalBit);
  CBEIOPort* p = bench.Pin(L"PB4", 4, CBEIOPort::kModeSwitchable);
  bench.Link(port, p, 0);
  bench.Link(ddr, p, 1);
  port->SetBit(true);

  // DDR 0: the microcontroller's reading goes to PIN.
  ddr->SetBit(false);
  bench.Start();
  p->storedType = kBeSignalAnalog;
  memcpy(p->storedValue, "\x11\x22\x33\x44\0\0\0\0", 8);
  bench.Pass();
  EXPECT_EQ(0, p->ddr);
  EXPECT_EQ(1, p->port);
  EXPECT_EQ(kBeSignalAnalog, p->outputs[0]->type);
  EXPECT_EQ(0x11, p->outputs[0]->value[0]);

  // DDR 1: the PORT source becomes the value the microcontroller drives.
  ddr->SetBit(true);
  bench.Pass();
  EXPECT_EQ(1, p->ddr);
  EXPECT_EQ(kBeSignalBit, p->storedType);
  EXPECT_EQ(1, p->storedValue[0]);

  // PORT unlinked: it counts as 0 and the buffer keeps its value.
  bench.Unlink(p, 0);
  p->storedType = kBeSignalChar;
  p->storedValue[0] = 77;
  bench.Pass();
  EXPECT_EQ(0, p->port);
  EXPECT_EQ(kBeSignalChar, p->storedType);
  EXPECT_EQ(77, p->storedValue[0]);

  // DDR unlinked: as an output, the PORT source is copied.
  bench.Link(port, p, 0);
  bench.Unlink(p, 1);
  bench.Pass();
  EXPECT_EQ(kBeSignalBit, p->storedType);
  EXPECT_EQ(1, p->storedValue[0]);
}

TEST(IoPort, APortSourceOfAnotherTypeCountsAsZero) {
  AvrBench bench;
  blocktest::Source* port = bench.Source(kBeSignalChar);
  blocktest::Source* ddr = bench.Source(kBeSignalBit);
  CBEIOPort* p = bench.Pin(L"PB4", 4, CBEIOPort::kModeSwitchable);
  bench.LinkAnyway(port, 0, p, 0);
  bench.Link(ddr, p, 1);
  port->SetInt(1);
  ddr->SetBit(true);
  bench.Pass();
  EXPECT_EQ(0, p->port);
  EXPECT_EQ(kBeSignalChar, p->storedType);  // the copy itself is of the source
}

TEST(IoPort, PinBlocksJoinTheSchemesPortListNewestFirstAndLeaveItWhenDeleted) {
  AvrBench bench;
  CBEIOPort* a = bench.Pin(L"PD0/RXD/PCINT16");
  bench.Source(kBeSignalBit);  // other blocks stay out of the list
  CBEIOPort* b = bench.Pin(L"PD1/TXD/PCINT17");
  CBEIOPort* c = bench.Pin(L"PD2/INT0");
  EXPECT_EQ((std::vector<CBEIOPort*>{c, b, a}), bench.PortList());
  delete b;
  EXPECT_EQ((std::vector<CBEIOPort*>{c, a}), bench.PortList());
  delete c;
  EXPECT_EQ((std::vector<CBEIOPort*>{a}), bench.PortList());

  // Moved to another scheme, it leaves the first list.
  BeScheme other;
  other.Init(&bench.library.catalogue);
  a->AttachToScheme(&other);
  EXPECT_TRUE(bench.PortList().empty());
  EXPECT_EQ(a, other.portBlocks);
  other.DeleteBlocks(true);
  EXPECT_EQ(nullptr, other.portBlocks);
}

TEST(IoPort, TheCaptionSearchFindsWholeWordsFromTheListHead) {
  struct Case {
    const wchar_t* caption;
    const wchar_t* text;
    bool found;
  };
  const Case cases[] = {
      {L"PD0/RXD/PCINT16", L"RXD", true},  {L"PD2/RXD1/INT2", L"RXD", false}, {L"PD2/RXD1/INT2", L"RXD1", true},
      {L"PF1/ADC1", L"ADC1", true},        {L"PK2/ADC10/PCINT18", L"ADC1", false},
      {L"PK2/ADC10/PCINT18", L"ADC10", true}, {L"PB3/MOSI/OC2", L"OC2", true},  {L"PB3/MOSI/OC2A", L"OC2", false},
      {L"PB3/MOSI/OC2A", L"OC2A", true},   {L"ADC3", L"ADC3", true},          {L"PB2/SS", L"SS", true},
      {L"PB2/SSX", L"SS", false},          {L"PB2 (SS)", L"SS", true},        {L"PB0", L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "\"" << std::wstring(c.caption).c_str() << "\"");
    EXPECT_EQ(c.found, CaptionHoldsWord(c.caption, c.text));
  }
  EXPECT_FALSE(CaptionHoldsWord(nullptr, L"RXD"));

  AvrBench bench;
  CBEIOPort* adc10 = bench.Pin(L"PK2/ADC10/PCINT18");
  CBEIOPort* adc1 = bench.Pin(L"PF1/ADC1");
  CBEIOPort* later = bench.Pin(L"PF9/ADC1");
  EXPECT_EQ(later, CBEIOPort::Find(&bench.scheme, L"ADC1"));  // the head first
  delete later;
  EXPECT_EQ(adc1, CBEIOPort::Find(&bench.scheme, L"ADC1"));
  EXPECT_EQ(adc10, CBEIOPort::Find(&bench.scheme, L"ADC10"));
  EXPECT_EQ(nullptr, CBEIOPort::Find(&bench.scheme, L"ADC2"));
  EXPECT_EQ(nullptr, CBEIOPort::Find(nullptr, L"ADC1"));
}

TEST(IoPort, DisconnectingTheOutputThatFeedsItReturnsThePinToOutputMode) {
  AvrBench bench;
  blocktest::Source* peripheral = bench.Source(kBeSignalPwm);
  CBEIOPort* p = bench.Pin(L"PB1/OC1A", 1, CBEIOPort::kModeAltOutput);
  bench.LinkAnyway(peripheral, 0, p, 0);
  peripheral->outputs[0]->Disconnect();
  EXPECT_EQ(CBEIOPort::kModeOutput, p->mode);
  EXPECT_EQ(nullptr, p->inputs[0]->source);
}

TEST(IoPort, ASwitchablePinLosingItsSourceKeepsPinsAndRecordInStep) {
  AvrBench bench;
  blocktest::Source* port = bench.Source(kBeSignalBit);
  CBEIOPort* p = bench.Pin(L"PC3", 3, CBEIOPort::kModeSwitchable);
  bench.Link(port, p, 0);
  port->outputs[0]->Disconnect();
  EXPECT_EQ(CBEIOPort::kModeOutput, p->mode);
  EXPECT_EQ(1, p->inputCount);
  EXPECT_EQ(0, p->outputCount);
  EXPECT_EQ(13, p->Height());
  std::unique_ptr<CBEIOPort> back = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
  ASSERT_TRUE(blocktest::LoadBytes(back.get(), blocktest::RecordBytes(p)));
  EXPECT_EQ(CBEIOPort::kModeOutput, back->mode);
}

bool CountingDialog(CBEBlock*) { return true; }

TEST(IoPort, AlternateModesRefuseTheDialogWithTheirMessage) {
  AvrBench bench;
  blocktest::DialogScope dialogs;
  dialogs.Set(kBePortPinBlockClassId, CountingDialog);
  CBEIOPort* p = bench.Pin(L"PD0/RXD/PCINT16");
  for (int mode = 0; mode <= CBEIOPort::kLastMode; ++mode) {
    SCOPED_TRACE(mode);
    p->SetMode(mode);
    bench.host.texts.clear();
    bench.host.captions.clear();
    bench.host.styles.clear();
    const bool alternate = mode >= 3 && mode <= 7;
    EXPECT_EQ(!alternate, p->ShowProperties());
    if (alternate) {
      ASSERT_EQ(1u, bench.host.texts.size());
      EXPECT_EQ(L"Порт переведен в режим альтернативной функции и настройке не подлежит", bench.host.texts[0]);
      EXPECT_EQ(L"PD0/RXD/PCINT16", bench.host.captions[0]);
      EXPECT_EQ(static_cast<UINT>(MB_OK), bench.host.styles[0] & 0xF);
      EXPECT_EQ(mode, p->mode);
    } else {
      EXPECT_TRUE(bench.host.texts.empty());
    }
  }
}

TEST(IoPort, WithoutADialogTheUserModesAnswerFalse) {
  AvrBench bench;
  blocktest::DialogScope dialogs;
  CBEIOPort* p = bench.Pin(L"PB0");
  EXPECT_FALSE(p->ShowProperties());
  EXPECT_TRUE(bench.host.texts.empty());
}

TEST(IoPort, TheRecordHoldsPinIdModeAndTheFirstPinsType) {
  AvrBench bench;
  blocktest::Source* port = bench.Source(kBeSignalChar);
  CBEIOPort* p = bench.Pin(nullptr, 0x0105, CBEIOPort::kModeSwitchable);
  p->SetCaption(nullptr);
  p->inputs[0]->type = kBeSignalChar;
  std::unique_ptr<CBEIOPort> eight = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
  eight->pinId = 0x0105;
  eight->SetMode(CBEIOPort::kModeSwitchable);
  eight->inputs[0]->type = kBeSignalChar;
  BaseRecord base = BaseRecord::Unlinked(eight->rect, 2, 1);
  base.flags = kBeBlockDevice;
  auto golden = Golden().I16(0x0105).B(8).B(kBeSignalChar).Base(base).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(eight.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEIOPort>(kBePortPinBlockClassId, golden);

  // Mode 0 writes its PIN output's type.
  std::unique_ptr<CBEIOPort> zero = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
  zero->outputs[0]->type = kBeSignalAnalog;
  BaseRecord base0 = BaseRecord::Unlinked(zero->rect, 0, 1);
  base0.flags = kBeBlockDevice;
  auto golden0 = Golden().I16(0).B(0).B(kBeSignalAnalog).Base(base0).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(zero.get()), golden0));

  // Loading builds the mode's pins first: a mode-8 record gives a mode-0
  // block two inputs and the stored type.
  std::unique_ptr<CBEIOPort> loaded = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
  ASSERT_TRUE(blocktest::LoadBytes(loaded.get(), golden));
  EXPECT_EQ(CBEIOPort::kModeSwitchable, loaded->mode);
  EXPECT_EQ(0x0105, loaded->pinId);
  ASSERT_EQ(2, loaded->inputCount);
  EXPECT_EQ(kBeSignalChar, loaded->inputs[0]->type);
  EXPECT_EQ(20, loaded->Height());

  // Through a scheme stream with its link.
  bench.Link(port, p, 0);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  std::vector<CBEIOPort*> ports = blocktest::BlocksOf<CBEIOPort>(copy.get());
  ASSERT_EQ(1u, ports.size());
  ASSERT_NE(nullptr, ports[0]->inputs[0]->source);
  EXPECT_EQ(kBeSignalChar, ports[0]->inputs[0]->source->type);
  EXPECT_EQ(ports[0], copy->portBlocks);
}

TEST(IoPort, ImplausibleRecordsAreRefusedWithTheBlockUnchanged) {
  std::unique_ptr<CBEIOPort> model = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
  BaseRecord base = BaseRecord::Unlinked(model->rect, 0, 1);
  base.flags = kBeBlockDevice;
  const std::vector<uint8_t> good = Golden().I16(3).B(0).B(1).Base(base).Bytes();
  std::vector<uint8_t> badMode = good, badType = good;
  badMode[2] = 9;
  badType[3] = kBeLastConcreteSignalType + 1;
  for (const auto& bytes : {badMode, badType}) {
    std::unique_ptr<CBEIOPort> p = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
    std::vector<uint8_t> before = blocktest::RecordBytes(p.get());
    EXPECT_FALSE(blocktest::LoadBytes(p.get(), bytes));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(p.get()), before));
  }
  std::unique_ptr<CBEIOPort> p = blocktest::NewDetached<CBEIOPort>(kBePortPinBlockClassId);
  EXPECT_TRUE(blocktest::LoadBytes(p.get(), good));
  EXPECT_EQ(3, p->pinId);
}

TEST(IoPort, DrawsAPentagonForAnOutputAndARectangleWithPullUpOtherwise) {
  // Blocks without an entry have no caption to draw.
  std::unique_ptr<CBEIOPort> out(new CBEIOPort);
  out->SetMode(CBEIOPort::kModeOutput);
  blocktest::Canvas canvas(100, 80);
  EXPECT_TRUE(canvas.Draw(out.get(), 40, 40));  // 40..68 x 40..53, h = 6
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  EXPECT_EQ(black, canvas.At(40, 46));   // the point on the left
  EXPECT_EQ(white, canvas.At(41, 41));   // outside the slanted edge
  EXPECT_EQ(white, canvas.At(55, 46));   // the white inside
  EXPECT_EQ(black, canvas.At(66, 46));   // the bar on the right
  EXPECT_EQ(black, canvas.At(67, 52));
  EXPECT_EQ(0, canvas.Ink(0, 0, 99, 24));  // no caption to draw

  blocktest::Canvas plain(100, 80);
  std::unique_ptr<CBEIOPort> in(new CBEIOPort);
  EXPECT_TRUE(plain.Draw(in.get(), 40, 40));
  EXPECT_EQ(black, plain.At(41, 46));   // the bar on the left
  EXPECT_EQ(black, plain.At(44, 46));   // the rectangle's left edge
  EXPECT_EQ(white, plain.At(55, 46));
  EXPECT_EQ(0, plain.Ink(0, 0, 99, 38));  // no pull-up

  blocktest::Canvas pulled(100, 80);
  in->SetMode(CBEIOPort::kModePullUp);
  EXPECT_TRUE(pulled.Draw(in.get(), 40, 40));
  EXPECT_EQ(black, pulled.At(64, 35));  // the line up from (right - 4, top)
  EXPECT_EQ(black, pulled.At(61, 25));  // the resistor's left side
  EXPECT_EQ(white, pulled.At(63, 25));  // its white inside
  EXPECT_EQ(black, pulled.At(64, 12));  // the circle around the line's top
  EXPECT_EQ(white, pulled.At(64, 10));  // its white centre
  EXPECT_EQ(0, pulled.Ink(0, 0, 55, 38));
}

TEST(IoPort, TheCaptionStandsAboveTheBlock) {
  AvrBench bench;
  CBEIOPort* in = bench.Pin(L"PD0/RXD", 0, CBEIOPort::kModeInput);
  blocktest::Canvas canvas(200, 60);
  EXPECT_TRUE(canvas.Draw(in, 150, 30));  // 150..178 x 30..43
  EXPECT_GT(canvas.Ink(60, 15, 168, 29), 0);    // ends 10 left of the right edge
  EXPECT_EQ(0, canvas.Ink(169, 0, 199, 29));
  canvas.Save(L"library_mcu_pin_blocks.bmp");

  CBEIOPort* out = bench.Pin(L"PD1/TXD", 1, CBEIOPort::kModeOutput);
  blocktest::Canvas right(260, 60);
  EXPECT_TRUE(right.Draw(out, 30, 30));  // text from x = 58 - 25 = 33
  EXPECT_EQ(0, right.Ink(0, 0, 32, 29));
  EXPECT_GT(right.Ink(33, 15, 140, 29), 0);
}

}  // namespace
