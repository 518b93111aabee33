// The control-theory links as the editor and the stream see them: what each
// is made as, its costs by type and realisation (and the table realisation
// a microcontroller's program gives them), its record byte by byte, every
// truncation and damaged field refused, and the "BE5 " round trip.
#include <climits>
#include <cmath>
#include <limits>

#include "block_kit.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/control/vibro.h"
#include "blocks/library/typed_block.h"
#include "foundation/buffer_failure_scope.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;

// A fresh block of the class loads the bytes: false, and the block is as a
// new one is.
template <class T>
void ExpectRefused(unsigned int classId, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<T> model = blocktest::NewDetached<T>(classId);
  std::unique_ptr<T> fresh = blocktest::NewDetached<T>(classId);
  ASSERT_TRUE(model && fresh);
  EXPECT_FALSE(blocktest::LoadBytes(fresh.get(), bytes));
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(fresh.get()), blocktest::RecordBytes(model.get())));
  EXPECT_EQ(CostsOf(model.get()), CostsOf(fresh.get()));
}

// ------------------------------------------------------------ construction

TEST(ControlLinks, EachIsMadeWithItsSizePinsColourAndCosts) {
  Bench bench;
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height, inputs;
    BeSignalType type;
    COLORREF fill;
    Costs costs;
  } rows[] = {
      {kBeIntegralClassId, L"Интегральное звено", 50, 40, 1, kBeSignalChar, 0x99FFFF, Costs(731, 42, 0, true)},
      {kBeIntegralWithReloadClassId, L"Интегральное звено с перезагрузкой", 70, 40, 3, kBeSignalFloat, 0x99FFFF,
       Costs(731, 42, 0, true)},
      {kBeDiffClassId, L"Дифференциальное звено", 70, 20, 1, kBeSignalChar, 0x99FFFF, Costs(530, 34, 0, true)},
      {kBeInertialClassId, L"Апериодическое звено", 100, 40, 1, kBeSignalFloat, 0x99FFFF, Costs(430, 40, 0, true)},
      {kBeVibroClassId, L"Колебательное звено", 100, 40, 1, kBeSignalFloat, 0x99FFFF, Costs(930, 112, 0, true)},
      {kBeLimiterClassId, L"Нелинейный элемент типа \"Ограничение\"", 60, 60, 1, kBeSignalShort, 0xFFFFCC,
       Costs(11, 24, 0, false)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(nullptr, block->caption);
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(row.fill, block->fillColor);
    ASSERT_EQ(row.inputs, block->inputCount);
    ASSERT_EQ(1, block->outputCount);
    EXPECT_EQ(row.type, block->Input(0)->type);
    EXPECT_EQ(row.type, block->Output(0)->type);
    EXPECT_EQ(nullptr, block->Output(0)->name);
    EXPECT_EQ(nullptr, block->Output(0)->description);
    EXPECT_EQ(row.costs, CostsOf(block));
  }
  auto* reload = bench.Create<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  const wchar_t* names[] = {L"x", L"D", L"W"};
  const wchar_t* descriptions[] = {L"Вход интегрирующего звена", L"Данные для перезагрузки",
                                   L"Разрешение записи данных для перезагрузки"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(names[i], reload->Input(i)->name);
    EXPECT_STREQ(descriptions[i], reload->Input(i)->description);
  }
  EXPECT_EQ(kBeSignalFloat, reload->Input(1)->type);
  EXPECT_EQ(kBeSignalBit, reload->Input(2)->type);
  // Defaults of the fields.
  auto* integral = bench.Create<CBEIntegral>(kBeIntegralClassId);
  EXPECT_EQ(1.0, integral->gain);
  EXPECT_EQ(127.0, integral->limit);
  EXPECT_EQ(0.0, integral->initialOutput);
  EXPECT_EQ(0, integral->realisation);
  auto* diff = bench.Create<CBEDiff>(kBeDiffClassId);
  EXPECT_EQ(127, diff->amplitude);
  auto* vibro = bench.Create<CBEVibro>(kBeVibroClassId);
  EXPECT_EQ(0.75, vibro->damping);
  EXPECT_EQ(1.0, vibro->timeConstant);
  auto* limiter = bench.Create<CBELimiter>(kBeLimiterClassId);
  EXPECT_EQ(std::vector<uint8_t>({0x7F, 0, 0, 0, 0, 0, 0, 0}),
            std::vector<uint8_t>(limiter->upper, limiter->upper + 8));
  EXPECT_EQ(std::vector<uint8_t>({0x81, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}),
            std::vector<uint8_t>(limiter->lower, limiter->lower + 8));
}

TEST(ControlLinks, AReloadLinkWithoutItsPinsIsNotMade) {
  CBufferFailureScope refuse(0);
  EXPECT_EQ(nullptr, CBEIntegralWithReload::Create());
}

// ------------------------------------------------------------ costs

TEST(ControlLinks, IntegralCostsByRealisationLimitAndType) {
  auto link = blocktest::NewDetached<CBEIntegral>(kBeIntegralClassId);
  struct Row {
    BeSignalType type;
    double limit;
    int32_t realisation;
    Costs costs;
  } rows[] = {
      {kBeSignalChar, 127, 1, Costs(20, 294)},            // 2 x 127 x 1 + 40
      {kBeSignalShort, 127, 1, Costs(20, 548)},
      {kBeSignalInt, 300.9, 1, Costs(20, 2440)},          // T(L) = 300
      {kBeSignalDouble, 512, 1, Costs(20, 8232)},
      {kBeSignalInt, 2147483647, 1, Costs(20, INT_MAX)},  // held within the int range
      {kBeSignalChar, -50, 1, Costs(20, 0)},               // -60 held at 0
      {kBeSignalChar, 127, 0, Costs(731, 42, 0, true)},
      {kBeSignalDouble, 512, 0, Costs(731, 42, 0, true)},
  };
  for (const Row& row : rows) {
    ChangeBlockType(link.get(), row.type);
    link->limit = row.limit;
    link->realisation = row.realisation;
    link->UpdateCosts();
    EXPECT_EQ(row.costs, CostsOf(link.get())) << row.type << " " << row.limit << " " << row.realisation;
  }
}

TEST(ControlLinks, DiffAndLimiterCostsByType) {
  auto diff = blocktest::NewDetached<CBEDiff>(kBeDiffClassId);
  auto limiter = blocktest::NewDetached<CBELimiter>(kBeLimiterClassId);
  const int tableRom[5] = {276, 532, 1044, 1044, 2068};  // 256 x size + 20
  const Costs limiterCosts[5] = {Costs(9, 20), Costs(11, 24), Costs(15, 32), Costs(220, 20, 0, true),
                                 Costs(420, 40, 0, true)};
  for (BeSignalType type : {kBeSignalDouble, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble,
                            kBeSignalChar}) {
    ChangeBlockType(diff.get(), type);
    diff->realisation = 1;
    diff->UpdateCosts();
    EXPECT_EQ(Costs(10, tableRom[type - kBeSignalChar]), CostsOf(diff.get())) << type;
    diff->realisation = 0;
    diff->UpdateCosts();
    EXPECT_EQ(Costs(530, 34, 0, true), CostsOf(diff.get())) << type;
    ChangeBlockType(limiter.get(), type);
    limiter->UpdateCosts();
    EXPECT_EQ(limiterCosts[type - kBeSignalChar], CostsOf(limiter.get())) << type;
  }
  // Another type clears the flag and keeps cycles and ROM.
  ChangeBlockType(limiter.get(), kBeSignalDouble);
  limiter->UpdateCosts();
  ChangeBlockType(limiter.get(), kBeSignalBit);
  limiter->UpdateCosts();
  EXPECT_EQ(Costs(420, 40, 0, false), CostsOf(limiter.get()));
}

TEST(ControlLinks, AMicrocontrollersProgramGivesTheTableRealisation) {
  Bench bench;
  bench.scheme.romLimit = 8192;
  auto* integral = bench.Create<CBEIntegral>(kBeIntegralClassId);
  EXPECT_EQ(1, integral->realisation);
  EXPECT_EQ(Costs(20, 294), CostsOf(integral));
  auto* diff = bench.Create<CBEDiff>(kBeDiffClassId);
  EXPECT_EQ(1, diff->realisation);
  EXPECT_EQ(Costs(10, 276), CostsOf(diff));
  // The other links cost the same anywhere.
  EXPECT_EQ(Costs(430, 40, 0, true), CostsOf(bench.Create<CBEBlock>(kBeInertialClassId)));
  // A computer's program (no ROM limit) keeps floating point.
  Bench computer;
  EXPECT_EQ(0, computer.Create<CBEIntegral>(kBeIntegralClassId)->realisation);
  // A record read afterwards sets the realisation that was saved.
  integral->realisation = 0;
  integral->UpdateCosts();
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto integrals = blocktest::BlocksOf<CBEIntegral>(copy.get());
  ASSERT_EQ(1u, integrals.size());
  EXPECT_EQ(0, integrals[0]->realisation);
  EXPECT_EQ(Costs(731, 42, 0, true), CostsOf(integrals[0]));
  auto diffs = blocktest::BlocksOf<CBEDiff>(copy.get());
  ASSERT_EQ(1u, diffs.size());
  EXPECT_EQ(1, diffs[0]->realisation);
}

// ------------------------------------------------------------ records

TEST(ControlLinks, IntegralRecord) {
  auto link = blocktest::NewDetached<CBEIntegral>(kBeIntegralClassId);
  link->gain = 2.5;
  link->initialOutput = -1;
  link->limit = 300;
  link->realisation = 1;
  ChangeBlockType(link.get(), kBeSignalShort);
  auto golden = Golden()
                    .Base(BaseRecord::Unlinked(RECT{0, 0, 50, 40}, 1, 1))
                    .D(2.5)
                    .D(-1)
                    .D(300)
                    .B(1)
                    .B(kBeSignalShort)
                    .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(link.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEIntegral>(kBeIntegralClassId, golden);
  auto read = blocktest::NewDetached<CBEIntegral>(kBeIntegralClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), golden));
  EXPECT_EQ(2.5, read->gain);
  EXPECT_EQ(-1.0, read->initialOutput);
  EXPECT_EQ(300.0, read->limit);
  EXPECT_EQ(1, read->realisation);
  EXPECT_EQ(kBeSignalShort, read->Input(0)->type);
  EXPECT_EQ(kBeSignalShort, read->Output(0)->type);
  EXPECT_EQ(Costs(20, 1240), CostsOf(read.get()));
  // The realisation byte goes into the low byte of the flag.
  read->realisation = 0x100;
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), golden));
  EXPECT_EQ(0x101, read->realisation);
  // A type outside char..double is refused.
  auto bad = golden;
  bad.back() = kBeSignalBit;
  ExpectRefused<CBEIntegral>(kBeIntegralClassId, bad);
  bad.back() = 7;
  ExpectRefused<CBEIntegral>(kBeIntegralClassId, bad);
}

TEST(ControlLinks, IntegralWithReloadRecord) {
  auto link = blocktest::NewDetached<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  link->gain = -0.5;
  link->initialOutput = 12;
  link->SetDataType(kBeSignalInt);
  auto golden =
      Golden().D(-0.5).D(12).B(kBeSignalInt).Base(BaseRecord::Unlinked(RECT{0, 0, 70, 40}, 3, 1)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(link.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEIntegralWithReload>(kBeIntegralWithReloadClassId, golden);
  auto read = blocktest::NewDetached<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), golden));
  EXPECT_EQ(-0.5, read->gain);
  EXPECT_EQ(12.0, read->initialOutput);
  EXPECT_EQ(kBeSignalInt, read->Input(0)->type);
  EXPECT_EQ(kBeSignalInt, read->Input(1)->type);
  EXPECT_EQ(kBeSignalBit, read->Input(2)->type);
  EXPECT_EQ(kBeSignalInt, read->Output(0)->type);
  auto bad = golden;
  bad[16] = 0;
  ExpectRefused<CBEIntegralWithReload>(kBeIntegralWithReloadClassId, bad);
}

TEST(ControlLinks, DiffRecord) {
  auto link = blocktest::NewDetached<CBEDiff>(kBeDiffClassId);
  link->gain = 4;
  link->amplitude = 1000;
  link->realisation = 1;
  ChangeBlockType(link.get(), kBeSignalInt);
  auto golden = Golden()
                    .Base(BaseRecord::Unlinked(RECT{0, 0, 70, 20}, 1, 1))
                    .D(4)
                    .I32(1000)
                    .B(1)
                    .B(kBeSignalInt)
                    .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(link.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEDiff>(kBeDiffClassId, golden);
  auto read = blocktest::NewDetached<CBEDiff>(kBeDiffClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), golden));
  EXPECT_EQ(4.0, read->gain);
  EXPECT_EQ(1000, read->amplitude);
  EXPECT_EQ(1, read->realisation);
  EXPECT_EQ(kBeSignalInt, read->Input(0)->type);
  EXPECT_EQ(Costs(10, 1044), CostsOf(read.get()));
  auto bad = golden;
  bad.back() = 0;
  ExpectRefused<CBEDiff>(kBeDiffClassId, bad);
}

TEST(ControlLinks, InertialAndVibroRecords) {
  auto inertial = blocktest::NewDetached<CBEInertial>(kBeInertialClassId);
  inertial->gain = 3;
  inertial->timeConstant = 0.25;
  ChangeBlockType(inertial.get(), kBeSignalChar);
  auto inertialGolden =
      Golden().Base(BaseRecord::Unlinked(RECT{0, 0, 100, 40}, 1, 1)).D(3).D(0.25).B(kBeSignalChar).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(inertial.get()), inertialGolden));
  blocktest::ExpectTruncationsRefused<CBEInertial>(kBeInertialClassId, inertialGolden);

  auto vibro = blocktest::NewDetached<CBEVibro>(kBeVibroClassId);
  vibro->gain = -1;
  vibro->timeConstant = 2;
  vibro->damping = 0.125;
  auto vibroGolden =
      Golden().Base(BaseRecord::Unlinked(RECT{0, 0, 100, 40}, 1, 1)).D(-1).D(2).D(0.125).B(kBeSignalFloat).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(vibro.get()), vibroGolden));
  blocktest::ExpectTruncationsRefused<CBEVibro>(kBeVibroClassId, vibroGolden);
  auto read = blocktest::NewDetached<CBEVibro>(kBeVibroClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), vibroGolden));
  EXPECT_EQ(-1.0, read->gain);
  EXPECT_EQ(2.0, read->timeConstant);
  EXPECT_EQ(0.125, read->damping);
  auto bad = vibroGolden;
  bad.back() = 9;
  ExpectRefused<CBEVibro>(kBeVibroClassId, bad);
}

TEST(ControlLinks, LimiterRecord) {
  auto link = blocktest::NewDetached<CBELimiter>(kBeLimiterClassId);
  ChangeBlockType(link.get(), kBeSignalFloat);
  link->SetLimitsFloat(2.5f, -1.0f);
  link->UpdateCosts();
  auto golden = Golden()
                    .F(2.5f)
                    .U32(0)
                    .F(-1.0f)
                    .U32(0)
                    .B(kBeSignalFloat)
                    .Base(BaseRecord::Unlinked(RECT{0, 0, 60, 60}, 1, 1))
                    .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(link.get()), golden));
  blocktest::ExpectTruncationsRefused<CBELimiter>(kBeLimiterClassId, golden);
  auto read = blocktest::NewDetached<CBELimiter>(kBeLimiterClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), golden));
  EXPECT_EQ(2.5, read->UpperLimit());
  EXPECT_EQ(-1.0, read->LowerLimit());
  EXPECT_EQ(kBeSignalFloat, read->Input(0)->type);
  EXPECT_EQ(Costs(220, 20, 0, true), CostsOf(read.get()));
  auto bad = golden;
  bad[16] = 1;
  ExpectRefused<CBELimiter>(kBeLimiterClassId, bad);
}

// A caption makes the base record longer: a record cut anywhere inside it,
// before or after the class's own fields, is refused all the same.
TEST(ControlLinks, RecordsWithACaptionAreRefusedWhenCutAnywhere) {
  auto integral = blocktest::NewDetached<CBEIntegral>(kBeIntegralClassId);
  integral->SetCaption(L"Звено 1");
  integral->gain = 7;
  std::vector<uint8_t> record = blocktest::RecordBytes(integral.get());
  blocktest::ExpectTruncationsRefused<CBEIntegral>(kBeIntegralClassId, record);
  auto limiter = blocktest::NewDetached<CBELimiter>(kBeLimiterClassId);
  limiter->SetCaption(L"Ограничитель");
  blocktest::ExpectTruncationsRefused<CBELimiter>(kBeLimiterClassId, blocktest::RecordBytes(limiter.get()));
  auto reload = blocktest::NewDetached<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  reload->SetCaption(L"R");
  blocktest::ExpectTruncationsRefused<CBEIntegralWithReload>(kBeIntegralWithReloadClassId,
                                                             blocktest::RecordBytes(reload.get()));
  // Memory refused for the caption: the block stays as it was.
  auto fresh = blocktest::NewDetached<CBEIntegral>(kBeIntegralClassId);
  std::vector<uint8_t> untouched = blocktest::RecordBytes(fresh.get());
  CMemoryStream stream;
  stream.Write(record.data(), static_cast<int>(record.size()));
  stream.Seek(0, 0);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(fresh->Load(&stream));
  }
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(fresh.get()), untouched));
}

TEST(ControlLinks, ASchemeOfLinksReadsBackWithItsLinks) {
  Bench bench;
  auto* x = bench.Source(kBeSignalShort);
  auto* integral = bench.Create<CBEIntegral>(kBeIntegralClassId);
  ChangeBlockType(integral, kBeSignalShort);
  integral->gain = 0.5;
  integral->limit = 1000;
  auto* limiter = bench.Create<CBELimiter>(kBeLimiterClassId);
  limiter->SetLimitsInt(300, -300);
  auto* vibro = bench.Create<CBEVibro>(kBeVibroClassId);
  vibro->damping = 0.5;
  bench.Link(x, integral);
  bench.Link(integral, limiter);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto integrals = blocktest::BlocksOf<CBEIntegral>(copy.get());
  auto limiters = blocktest::BlocksOf<CBELimiter>(copy.get());
  auto vibros = blocktest::BlocksOf<CBEVibro>(copy.get());
  ASSERT_EQ(1u, integrals.size());
  ASSERT_EQ(1u, limiters.size());
  ASSERT_EQ(1u, vibros.size());
  EXPECT_EQ(0.5, integrals[0]->gain);
  EXPECT_EQ(1000.0, integrals[0]->limit);
  EXPECT_EQ(integrals[0]->Output(0), limiters[0]->Input(0)->source);
  EXPECT_NE(nullptr, integrals[0]->Input(0)->source);
  EXPECT_EQ(300.0, limiters[0]->UpperLimit());
  EXPECT_EQ(0.5, vibros[0]->damping);
  EXPECT_EQ(integral->rect.top, integrals[0]->rect.top);
}

// Until the dialogs are registered, the links' properties answer false.
TEST(ControlLinks, PropertiesGoToTheRegisteredDialog) {
  Bench bench;
  blocktest::DialogScope dialogs;
  const unsigned int ids[] = {kBeIntegralClassId, kBeIntegralWithReloadClassId, kBeDiffClassId,
                              kBeInertialClassId, kBeVibroClassId,              kBeLimiterClassId};
  for (unsigned int id : ids) EXPECT_FALSE(bench.Create<CBEBlock>(id)->ShowProperties()) << std::hex << id;
  static std::vector<unsigned int> asked;
  asked.clear();
  for (unsigned int id : ids)
    dialogs.Set(id, [](CBEBlock* block) {
      asked.push_back(block->GetClassId());
      return true;
    });
  for (unsigned int id : ids) EXPECT_TRUE(bench.Create<CBEBlock>(id)->ShowProperties()) << std::hex << id;
  EXPECT_EQ(std::vector<unsigned int>(ids, ids + 6), asked);
  EXPECT_TRUE(bench.host.texts.empty());
}

}  // namespace
