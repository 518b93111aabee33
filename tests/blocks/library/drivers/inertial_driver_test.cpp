// The inertial driver against a fake inertial unit whose measurement
// record reaches it by a payload handle: the request counter, the outputs
// each flag word changes, values it must not take (no marker, another
// type, a stale handle, a record number seen before), and its record.
#include <cstring>

#include "block_kit.h"
#include "blocks/library/drivers/inertial_driver.h"
#include "foundation/buffer_failure_scope.h"
#include "scheme/simulation/inertial_data.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::Golden;
using blocktest::ReadFloat;

const BeSignalType kInertialType = 25;
const BeSignalType kControlType = 26;
// A pass of 1/64 s: the timer's sums are exact.
const float kDt = 1.0f / 64;

// The inertial unit on the far side of the link: it owns its measurement
// record, which the payload table names, and publishes it as a type-25
// value with a new record number.
class FakeInertialUnit {
public:
  explicit FakeInertialUnit(blocktest::Source* line) : line_(line) {
    memset(&data, 0, sizeof data);
    handle = BePayloadTable::Program().Add(&data, this);
  }
  ~FakeInertialUnit() { BePayloadTable::Program().ReleaseOwner(this); }
  FakeInertialUnit(const FakeInertialUnit&) = delete;
  FakeInertialUnit& operator=(const FakeInertialUnit&) = delete;

  // Every quantity a value of its own: accel 1x, rates 2x, magnetic 3x,
  // angles 4x (x the axis 1..3).
  void Fill(uint16_t flags) {
    data.flags = flags;
    for (int i = 0; i < 3; ++i) {
      data.accel[i] = 10.0f + i + 1;
      data.rate[i] = 20.0f + i + 1;
      data.magnetic[i] = 30.0f + i + 1;
      data.angles[i] = 40.0f + i + 1;
    }
  }
  void Publish() {
    number = (number + 1) & 0xFF;
    line_->SetMessage(number, kInertialRecordMarker, handle);
  }

  SchInertialData data;
  BePayloadHandle handle;
  int number = 0;

private:
  blocktest::Source* line_;
};

struct Rig {
  Rig() : bench(), payloads() {
    driver = bench.Create<CBEInertialDriver>(kBeInertialDriverClassId);
    line = bench.Source(kInertialType);
    bench.Link(line, driver);
    unit.reset(new FakeInertialUnit(line));
  }
  int Ctrl() const { return driver->Output(kInertialCtrl)->value[0]; }
  Bench bench;
  blocktest::PayloadScope payloads;
  CBEInertialDriver* driver = nullptr;
  blocktest::Source* line = nullptr;
  std::unique_ptr<FakeInertialUnit> unit;
};

// ------------------------------------------------------------ construction

TEST(InertialDriver, IsMadeWithItsThirteenOutputs) {
  Bench bench;
  auto* d = bench.Create<CBEInertialDriver>(kBeInertialDriverClassId);
  ASSERT_NE(nullptr, d);
  EXPECT_STREQ(L"Драйвер инерциальной системы", d->GetCaption());
  EXPECT_EQ(190, d->Width());
  EXPECT_EQ(195, d->Height());
  EXPECT_EQ(RGB(255, 255, 255), d->fillColor);
  EXPECT_EQ(Costs(2134, 2134), CostsOf(d));
  EXPECT_STREQ(L"CHR-6dm", d->protocolName);
  ASSERT_EQ(1, d->inputCount);
  EXPECT_STREQ(L"Инер", d->Input(0)->name);
  EXPECT_STREQ(L"Вход от устройства связи", d->Input(0)->description);
  EXPECT_EQ(kInertialType, d->Input(0)->type);
  ASSERT_EQ(13, d->outputCount);
  EXPECT_EQ(d->Output(0)->yOffset, d->Input(0)->yOffset);
  struct Row {
    const wchar_t* name;
    const wchar_t* description;
  } rows[] = {
      {L"ctrl", L"Управление, на устройство связи"},
      {L"Wox", L"Скорость вокруг оси X (°/сек), если есть"},
      {L"Woy", L"Скорость вокруг оси Y (°/сек), если есть"},
      {L"Woz", L"Скорость вокруг оси Z (°/сек), если есть"},
      {L"Ax", L"Ускорение вдоль оси X (mg), если есть"},
      {L"Ay", L"Ускорение вдоль оси Y (mg), если есть"},
      {L"Az", L"Ускорение вдоль оси Z (mg), если есть"},
      {L"Mag x", L"Показание магнитометра по X (у.е), если есть"},
      {L"Mag y", L"Показание магнитометра по Y (у.е), если есть"},
      {L"Mag z", L"Показание магнитометра по Z (у.е), если есть"},
      {L"roll", L"Угол крена (°) (угол OX), если есть"},
      {L"pitch", L"Угол тангажа (°) (угол OY), если есть"},
      {L"yaw", L"Угол поворота (°) (угол OZ), если есть"},
  };
  for (int i = 0; i < 13; ++i) {
    EXPECT_STREQ(rows[i].name, d->Output(i)->name) << i;
    EXPECT_STREQ(rows[i].description, d->Output(i)->description) << i;
    EXPECT_EQ(i == 0 ? kControlType : kBeSignalFloat, d->Output(i)->type) << i;
  }
  for (int i = 1; i < 13; ++i) EXPECT_GT(d->Output(i)->yOffset, d->Output(i - 1)->yOffset) << i;
}

// ------------------------------------------------------------ the counter

TEST(InertialDriver, TheRequestCounterAdvancesEvery02SecondsAndWithEveryRecord) {
  Rig rig;
  // 13 passes of 1/64 s are 0.203 s: the 13th advances the counter.
  for (int i = 1; i <= 26; ++i) {
    rig.bench.Pass(kDt);
    EXPECT_EQ(i < 13 ? 0 : i < 26 ? 1 : 2, rig.Ctrl()) << i;
  }
  // A new record advances it once more; "ctrl" shows it from the next pass.
  rig.unit->Fill(0);
  rig.unit->Publish();
  rig.bench.Pass(kDt);
  EXPECT_EQ(2, rig.Ctrl());
  EXPECT_EQ(3, rig.driver->requestCounter);
  rig.bench.Pass(kDt);
  EXPECT_EQ(3, rig.Ctrl());
  // It wraps at 256; Start clears it.
  rig.driver->requestCounter = 255;
  rig.unit->Publish();
  rig.bench.Pass(kDt);
  rig.bench.Pass(kDt);
  EXPECT_EQ(0, rig.Ctrl());
  rig.bench.Stop();
  rig.bench.Start();
  EXPECT_EQ(0, rig.driver->requestCounter);
  EXPECT_EQ(0, rig.driver->lastRecord);
}

// ------------------------------------------------------------ flag words

TEST(InertialDriver, EachFlagWordCopiesItsGroupsOnly) {
  // Outputs: 1-3 rates, 4-6 accelerations, 7-9 magnetometer, 10-12 angles.
  struct Case {
    uint16_t flags;
    const char* changed;  // per output 1..12: x changed, . kept
  } cases[] = {
      {0x41, "...x..xxx..."},  {0x01, "...x........"}, {0x02, "....x......."},
      {0x04, ".....x......"},  {0x08, "x..........."}, {0x10, ".x.........."},
      {0x20, "..x........."},  {0x40, "......xxx..."}, {0x80, ".........xxx"},
      {0x3F, "xxxxxx......"},  {0xFF, "xxxxxxxxxxxx"}, {0x1FF, "xxxxxxxxxxxx"},
      {0x100, "............"}, {0x00, "............"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
    Rig rig;
    rig.bench.Start();
    for (int i = 1; i < 13; ++i) rig.driver->Output(i)->SetFloat(-1.0f);
    rig.unit->Fill(c.flags);
    rig.unit->Publish();
    rig.bench.Pass(kDt);
    const float expected[13] = {0, 21, 22, 23, 11, 12, 13, 31, 32, 33, 41, 42, 43};
    for (int i = 1; i < 13; ++i) {
      bool changed = c.changed[i - 1] == 'x';
      EXPECT_EQ(changed ? expected[i] : -1.0f, ReadFloat(rig.driver, i)) << i;
    }
    EXPECT_EQ(1, rig.driver->lastRecord);
    EXPECT_EQ(1, rig.driver->requestCounter);
  }
}

TEST(InertialDriver, ARecordIsTakenOncePerNumber) {
  Rig rig;
  rig.unit->Fill(kInertialAccelX);
  rig.unit->Publish();
  rig.bench.Pass(kDt);
  EXPECT_EQ(11.0f, ReadFloat(rig.driver, kInertialAx));
  // The record changes but its number does not: not taken.
  rig.unit->data.accel[0] = 99;
  rig.bench.Passes(3, kDt);
  EXPECT_EQ(11.0f, ReadFloat(rig.driver, kInertialAx));
  EXPECT_EQ(1, rig.driver->requestCounter);
  rig.unit->Publish();
  rig.bench.Pass(kDt);
  EXPECT_EQ(99.0f, ReadFloat(rig.driver, kInertialAx));
  EXPECT_EQ(2, rig.driver->requestCounter);
  // Without a source the quantities stay; the counter still runs.
  rig.bench.Unlink(rig.driver);
  rig.unit->data.accel[0] = 5;
  rig.unit->Publish();
  rig.bench.Passes(13, kDt);
  EXPECT_EQ(99.0f, ReadFloat(rig.driver, kInertialAx));
  EXPECT_EQ(3, rig.driver->requestCounter);
}

TEST(InertialDriver, ValuesThatDoNotNameALiveRecordChangeOnlyCtrl) {
  Rig rig;
  rig.unit->Fill(0xFF);
  rig.bench.Start();
  for (int i = 1; i < 13; ++i) rig.driver->Output(i)->SetFloat(-1.0f);
  // Another marker.
  rig.line->SetMessage(1, 0x7506, rig.unit->handle);
  rig.bench.Pass(kDt);
  // Another type that carries the same bytes.
  auto* other = rig.bench.Source(27);
  other->SetMessage(2, kInertialRecordMarker, rig.unit->handle);
  rig.bench.LinkAnyway(other, 0, rig.driver, 0);
  rig.bench.Pass(kDt);
  // A handle no payload answers to.
  rig.bench.Link(rig.line, rig.driver);
  rig.line->SetMessage(3, kInertialRecordMarker, 0);
  rig.bench.Pass(kDt);
  BePayloadHandle gone = rig.unit->handle;
  ASSERT_TRUE(BePayloadTable::Program().Release(gone));
  rig.line->SetMessage(4, kInertialRecordMarker, gone);
  rig.bench.Pass(kDt);
  for (int i = 1; i < 13; ++i) EXPECT_EQ(-1.0f, ReadFloat(rig.driver, i)) << i;
  EXPECT_EQ(0, rig.driver->requestCounter);
  EXPECT_EQ(0, rig.driver->lastRecord);
  // The number of a value that was not taken is not remembered: the same
  // number with a live handle is taken.
  BePayloadHandle live = BePayloadTable::Program().Add(&rig.unit->data, rig.unit.get());
  rig.line->SetMessage(4, kInertialRecordMarker, live);
  rig.bench.Pass(kDt);
  EXPECT_EQ(11.0f, ReadFloat(rig.driver, kInertialAx));
  EXPECT_EQ(4, rig.driver->lastRecord);
  EXPECT_EQ(1, rig.driver->requestCounter);
}

// ------------------------------------------------------------ record

TEST(InertialDriver, RecordHoldsTheProtocolNameAfterTheBaseRecord) {
  auto d = blocktest::NewDetached<CBEInertialDriver>(kBeInertialDriverClassId);
  BaseRecord base = BaseRecord::Unlinked(RECT{0, 0, 190, 195}, 1, 13);
  auto golden = Golden().Base(base).WStr(L"CHR-6dm").Bytes();
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(d.get()), golden));
  blocktest::ExpectTruncationsRefused<CBEInertialDriver>(kBeInertialDriverClassId, golden);
  // Another name, and none.
  auto named = Golden().Base(base).WStr(L"Протокол 2").Bytes();
  auto read = blocktest::NewDetached<CBEInertialDriver>(kBeInertialDriverClassId);
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), named));
  EXPECT_STREQ(L"Протокол 2", read->protocolName);
  auto none = Golden().Base(base).WStr(nullptr).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(read.get(), none));
  EXPECT_EQ(nullptr, read->protocolName);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(read.get()), none));
  EXPECT_TRUE(read->SetProtocolName(L"X"));
  EXPECT_STREQ(L"X", read->protocolName);
  EXPECT_TRUE(read->SetProtocolName(L""));
  EXPECT_EQ(nullptr, read->protocolName);
  // Memory refused for the name: the block keeps its own.
  CMemoryStream stream;
  stream.Write(named.data(), static_cast<int>(named.size()));
  stream.Seek(0, 0);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(d->Load(&stream));
    EXPECT_FALSE(d->SetProtocolName(L"Y"));
  }
  EXPECT_STREQ(L"CHR-6dm", d->protocolName);
}

TEST(InertialDriver, ASchemeWithTheDriverReadsBackAndItsPropertiesGoToItsDialog) {
  Bench bench;
  auto* d = bench.Create<CBEInertialDriver>(kBeInertialDriverClassId);
  d->SetProtocolName(L"UM6");
  auto* line = bench.Source(kInertialType);
  bench.Link(line, d);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto drivers = blocktest::BlocksOf<CBEInertialDriver>(copy.get());
  ASSERT_EQ(1u, drivers.size());
  EXPECT_STREQ(L"UM6", drivers[0]->protocolName);
  EXPECT_NE(nullptr, drivers[0]->Input(0)->source);
  blocktest::DialogScope dialogs;
  EXPECT_FALSE(d->ShowProperties());
  dialogs.Set(kBeInertialDriverClassId, [](CBEBlock* block) {
    return static_cast<CBEInertialDriver*>(block)->SetProtocolName(L"CHR-6d");
  });
  EXPECT_TRUE(d->ShowProperties());
  EXPECT_STREQ(L"CHR-6d", d->protocolName);
}

}  // namespace
