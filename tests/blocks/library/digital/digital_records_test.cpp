// The records of the "Цифровые" blocks: golden bytes written from their
// layouts, what Load does besides reading, the counts and type bytes it
// refuses, every truncation, costs after a reload, and the stream round
// trip.
#include <vector>

#include "block_kit.h"
#include "blocks/library/digital/coder.h"
#include "blocks/library/digital/counter.h"
#include "blocks/library/digital/d_flip_flop.h"
#include "blocks/library/digital/demux.h"
#include "blocks/library/digital/mux.h"
#include "blocks/library/digital/puls_counter.h"
#include "blocks/library/digital/register.h"
#include "blocks/library/digital/rs_flip_flop.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::LoadBytes;
using blocktest::NewDetached;
using blocktest::RecordBytes;

BaseRecord Base(int width, int height, int inputs, int outputs) {
  return BaseRecord::Unlinked(RECT{0, 0, width, height}, inputs, outputs);
}

// A base record elsewhere, with a caption, flags, routes and identities.
BaseRecord Placed(int width, int height, int inputs, int outputs, const wchar_t* caption) {
  BaseRecord r = BaseRecord::Unlinked(RECT{100, 60, 100 + width, 60 + height}, inputs, outputs);
  r.caption = caption;
  r.flags = 0x02;
  for (int i = 0; i < inputs; ++i) r.inputs[i] = {0, 10 + i, 20 + i, 30 + i};
  for (int i = 0; i < outputs; ++i) r.outputs[i] = {500 + i, 0};
  return r;
}

TEST(DigitalRecords, GoldenBytes) {
  auto rs = NewDetached<CBERSFlipFlop>(kBeRSFlipFlopClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(rs.get()), Golden().Base(Base(50, 40, 2, 1)).Bytes()));

  auto d = NewDetached<CBEDFlipFlop>(kBeDFlipFlopClassId);
  d->SetDataType(kBeSignalFloat);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(d.get()), Golden().B(5).Base(Base(50, 40, 2, 1)).Bytes()));
  auto reg = NewDetached<CBERegister>(kBeRegisterClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(reg.get()), Golden().B(1).Base(Base(50, 40, 2, 1)).Bytes()));

  auto counter = NewDetached<CBECounter>(kBeCounterClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(counter.get()), velktest::ParseHex(R"(
      00 00 00 00  00 00 00 00  32 00 00 00  32 00 00 00
      00 00
      00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00
      00 00 00 00  00
      03)")));

  auto q = NewDetached<CBEPulsCounter>(kBePulsCounterClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(q.get()), Golden().Base(Base(50, 50, 3, 1)).B(2).B(3).Bytes()));

  auto demux = NewDetached<CBEDEMUX>(kBeDEMUXClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(demux.get()), Golden().B(2).B(2).Base(Base(50, 60, 2, 2)).Bytes()));
  ASSERT_TRUE(demux->ApplyProperties(4, 31));
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(demux.get()), Golden().B(4).B(31).Base(Base(50, 120, 2, 4)).Bytes()));

  auto mux = NewDetached<CBEMUX>(kBeMUXClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(mux.get()), Golden().B(2).B(2).Base(Base(50, 90, 3, 1)).Bytes()));
  ASSERT_TRUE(mux->ApplyProperties(3, kBeSignalDouble));
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(mux.get()), Golden().B(3).B(6).Base(Base(50, 120, 4, 1)).Bytes()));

  auto coder = NewDetached<CBECoder>(kBeCoderClassId);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(coder.get()), Golden().B(2).Base(Base(50, 40, 2, 1)).Bytes()));
}

TEST(DigitalRecords, LoadGivesThePinsTheirTypesAndCounts) {
  auto d = NewDetached<CBEDFlipFlop>(kBeDFlipFlopClassId);
  std::vector<uint8_t> record = Golden().B(6).Base(Placed(50, 40, 2, 1, L"D1")).Bytes();
  ASSERT_TRUE(LoadBytes(d.get(), record));
  EXPECT_EQ(kBeSignalDouble, d->Input(0)->type);
  EXPECT_EQ(kBeSignalBit, d->Input(1)->type);
  EXPECT_EQ(kBeSignalDouble, d->Output(0)->type);
  EXPECT_EQ(Costs(15, 36), CostsOf(d.get()));
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(d.get()), record));

  auto reg = NewDetached<CBERegister>(kBeRegisterClassId);
  EXPECT_EQ(Costs(4, 0), CostsOf(reg.get()));
  ASSERT_TRUE(LoadBytes(reg.get(), RecordBytes(reg.get())));
  EXPECT_EQ(Costs(8, 22), CostsOf(reg.get())) << "the bit row from the first load";

  auto q = NewDetached<CBEPulsCounter>(kBePulsCounterClassId);
  q->previousState = 3;
  record = Golden().Base(Placed(50, 50, 3, 1, L"Энкодер")).B(7).B(4).Bytes();
  ASSERT_TRUE(LoadBytes(q.get(), record));
  EXPECT_EQ(7, q->reserved) << "kept as read";
  EXPECT_EQ(kBeSignalInt, q->Output(0)->type);
  EXPECT_EQ(0, q->previousState);
  EXPECT_EQ(Costs(600, 60), CostsOf(q.get()));
  EXPECT_EQ(93, q->maximumStep);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(q.get()), record));

  auto mux = NewDetached<CBEMUX>(kBeMUXClassId);
  record = Golden().B(5).B(27).Base(Placed(50, 180, 6, 1, nullptr)).Bytes();
  ASSERT_TRUE(LoadBytes(mux.get(), record));
  EXPECT_EQ(6, mux->inputCount);
  EXPECT_EQ(5, mux->DataInputCount());
  EXPECT_EQ(27, mux->Output(0)->type);
  EXPECT_EQ(kBeSignalAnyInteger, mux->Input(0)->type);
  for (int i = 1; i < 6; ++i) {
    EXPECT_EQ(27, mux->Input(i)->type) << i;
    EXPECT_STREQ(L"Вход", mux->Input(i)->description) << i;
    EXPECT_EQ(10 + i, mux->Input(i)->routeX1) << i;
  }
  EXPECT_EQ(100, mux->rect.left);
  EXPECT_EQ(240, mux->rect.bottom);
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(mux.get()), record));

  auto demux = NewDetached<CBEDEMUX>(kBeDEMUXClassId);
  record = Golden().B(3).B(kBeSignalBit).Base(Placed(50, 90, 2, 3, L"DX")).Bytes();
  ASSERT_TRUE(LoadBytes(demux.get(), record));
  EXPECT_EQ(2, demux->inputCount);
  EXPECT_EQ(3, demux->outputCount);
  EXPECT_EQ(kBeSignalBit, demux->Input(1)->type);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(kBeSignalBit, demux->Output(i)->type);
    EXPECT_STREQ(L"Выход", demux->Output(i)->description);
    EXPECT_EQ(500u + i, demux->Output(i)->savedId);
  }
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(demux.get()), record));

  auto coder = NewDetached<CBECoder>(kBeCoderClassId);
  record = Golden().B(4).Base(Placed(50, 80, 4, 1, nullptr)).Bytes();
  ASSERT_TRUE(LoadBytes(coder.get(), record));
  EXPECT_EQ(4, coder->inputCount);
  EXPECT_STREQ(L"4", coder->Input(3)->name);
  EXPECT_EQ(Costs(12, 16), CostsOf(coder.get()));
  EXPECT_TRUE(velktest::BytesEqual(RecordBytes(coder.get()), record));
}

TEST(DigitalRecords, CountsAndTypesOutOfTheDialogsRangeAreRefused) {
  // Each record is whole; Load refuses it and the block stays as it was.
  struct Row {
    unsigned int classId;
    std::vector<uint8_t> record;
  };
  std::vector<Row> rows;
  for (int code : {0, 7, 37, 255}) {
    rows.push_back({kBeDFlipFlopClassId, Golden().B(code).Base(Base(50, 40, 2, 1)).Bytes()});
    rows.push_back({kBeRegisterClassId, Golden().B(code).Base(Base(50, 40, 2, 1)).Bytes()});
  }
  for (int code : {0, 1, 5, 6, 40}) {
    rows.push_back({kBeCounterClassId, Golden().Base(Base(50, 50, 3, 1)).B(code).Bytes()});
    rows.push_back({kBePulsCounterClassId, Golden().Base(Base(50, 50, 3, 1)).B(2).B(code).Bytes()});
  }
  // The demultiplexer with no outputs, one, or more than 127.
  for (int m : {0, 1, 128, 255})
    rows.push_back({kBeDEMUXClassId, Golden().B(m).B(2).Base(Base(50, 30 * m, 2, m)).Bytes()});
  for (int n : {0, 1, 128})
    rows.push_back({kBeMUXClassId, Golden().B(n).B(2).Base(Base(50, 30 * n + 30, n + 1, 1)).Bytes()});
  for (int n : {0, 1, 128}) rows.push_back({kBeCoderClassId, Golden().B(n).Base(Base(50, 20 * n, n, 1)).Bytes()});
  // Types the switches do not offer: PWM, the pulse channels, the bus
  // types, 29, 34, 35, 37 and the wildcards.
  for (int type : {0, 7, 8, 9, 17, 29, 34, 35, 37, 38, 39, 40, 41, 200}) {
    rows.push_back({kBeDEMUXClassId, Golden().B(2).B(type).Base(Base(50, 60, 2, 2)).Bytes()});
    rows.push_back({kBeMUXClassId, Golden().B(2).B(type).Base(Base(50, 90, 3, 1)).Bytes()});
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId << std::dec << ": " << row.record.size() << " bytes, "
                                    << static_cast<int>(row.record[0]) << ", " << static_cast<int>(row.record[1]));
    auto block = NewDetached<CBEBlock>(row.classId);
    std::vector<uint8_t> before = RecordBytes(block.get());
    Costs costs = CostsOf(block.get());
    EXPECT_FALSE(LoadBytes(block.get(), row.record));
    EXPECT_TRUE(velktest::BytesEqual(before, RecordBytes(block.get())));
    EXPECT_EQ(costs, CostsOf(block.get()));
  }
}

TEST(DigitalRecords, EveryTruncationIsRefusedAndChangesNothing) {
  blocktest::ExpectTruncationsRefused<CBEDFlipFlop>(kBeDFlipFlopClassId,
                                                    Golden().B(4).Base(Placed(50, 40, 2, 1, nullptr)).Bytes());
  blocktest::ExpectTruncationsRefused<CBERegister>(kBeRegisterClassId,
                                                   Golden().B(3).Base(Placed(50, 40, 2, 1, nullptr)).Bytes());
  blocktest::ExpectTruncationsRefused<CBECounter>(kBeCounterClassId,
                                                  Golden().Base(Placed(50, 50, 3, 1, L"Счет")).B(4).Bytes());
  blocktest::ExpectTruncationsRefused<CBEPulsCounter>(
      kBePulsCounterClassId, Golden().Base(Placed(50, 50, 3, 1, L"Энкодер")).B(9).B(2).Bytes());
  blocktest::ExpectTruncationsRefused<CBEDEMUX>(kBeDEMUXClassId,
                                                Golden().B(3).B(6).Base(Placed(50, 90, 2, 3, nullptr)).Bytes());
  blocktest::ExpectTruncationsRefused<CBEMUX>(kBeMUXClassId,
                                              Golden().B(4).B(22).Base(Placed(50, 150, 5, 1, nullptr)).Bytes());
  blocktest::ExpectTruncationsRefused<CBECoder>(kBeCoderClassId,
                                                Golden().B(3).Base(Placed(50, 60, 3, 1, nullptr)).Bytes());
}

// A record with a caption cut inside the caption or after it is refused
// before the block changes (its own fields come first and the base record
// is measured).
TEST(DigitalRecords, ACaptionCutShortChangesNothing) {
  std::vector<uint8_t> record = Golden().B(5).B(4).Base(Placed(50, 180, 6, 1, L"Мультиплексор каналов")).Bytes();
  blocktest::ForEachTruncation<CBEMUX>(kBeMUXClassId, record, [&](CBEMUX* mux, size_t n, bool loaded) {
    if (n < record.size()) {
      EXPECT_FALSE(loaded);
      EXPECT_EQ(3, mux->inputCount);
      EXPECT_EQ(90, mux->Height());
      EXPECT_EQ(nullptr, mux->caption);
      EXPECT_EQ(kBeSignalChar, mux->Output(0)->type);
    } else {
      EXPECT_TRUE(loaded);
      EXPECT_STREQ(L"Мультиплексор каналов", mux->caption);
    }
  });
}

TEST(DigitalRecords, RoundTripThroughTheSchemeStream) {
  blocktest::Bench bench;
  bench.scheme.frequency = 16e6f;
  blocktest::Source* x = bench.Source(kBeSignalInt);
  blocktest::Source* a = bench.Source(kBeSignalBit);
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  ASSERT_TRUE(mux->ApplyProperties(4, kBeSignalInt));
  bench.Link(x, mux, 3);
  auto* coder = bench.Create<CBECoder>(kBeCoderClassId);
  ASSERT_TRUE(coder->SetInputCount(6));
  bench.Link(a, coder, 5);
  auto* q = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  bench.Link(a, q, 0);
  bench.Create<CBECounter>(kBeCounterClassId);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto muxes = blocktest::BlocksOf<CBEMUX>(copy.get());
  auto coders = blocktest::BlocksOf<CBECoder>(copy.get());
  auto qs = blocktest::BlocksOf<CBEPulsCounter>(copy.get());
  auto counters = blocktest::BlocksOf<CBECounter>(copy.get());
  ASSERT_EQ(1u, muxes.size());
  ASSERT_EQ(1u, coders.size());
  ASSERT_EQ(1u, qs.size());
  ASSERT_EQ(1u, counters.size());
  auto sources = blocktest::BlocksOf<blocktest::Source>(copy.get());
  ASSERT_EQ(2u, sources.size());
  EXPECT_EQ(5, muxes[0]->inputCount);
  EXPECT_EQ(kBeSignalInt, muxes[0]->Input(3)->type);
  ASSERT_NE(nullptr, muxes[0]->Input(3)->source);
  EXPECT_EQ(kBeSignalInt, muxes[0]->Input(3)->source->type);
  EXPECT_EQ(6, coders[0]->inputCount);
  ASSERT_NE(nullptr, coders[0]->Input(5)->source);
  EXPECT_EQ(coders[0]->Input(5)->source, qs[0]->Input(0)->source);
  // Costs as after a reload.
  EXPECT_EQ(Costs(600, 60), CostsOf(qs[0]));
  EXPECT_EQ(Costs(9, 22), CostsOf(counters[0]));
  EXPECT_EQ(Costs(18, 24), CostsOf(coders[0]));
}

}  // namespace
