// The encoder: creation, the pins of every family, database rows, its
// record, the tick counting, the passive, absolute and powered incremental
// families with their output stages, index, supply and burn-out, an encoder
// on a motor's shaft, and its picture.
#include "components/devices/sensors/encoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "components/devices/drives/dc_motor.h"
#include "components/electronic/battery.h"
#include "foundation/numbers.h"
#include "kestui/graphics/image.h"
#include "components/electronic/resister.h"
#include "support/test_support.h"
#include "tests/components/devices/sensors/sensor_kit.h"

namespace {

using comptest::DbRow;
using comptest::Golden;
using comptest::LogCapture;
using devtest::DeviceBench;
using sensortest::AngleAt;
using sensortest::ExpectLevels;

const float kPi = 3.1415927f;
const float kOpen = kSchOpenResistance;
// A reader sees an open pin's 5 megohm through the difference of its net's
// sums, exact to some parts in a million.
const float kOpenTolerance = 1e-4f * kSchOpenResistance;
const wchar_t kBurntE1[] = L"Энкодер \"E1\" сгорел";

using Rig = sensortest::ProbedSensor<CSCHEncoder>;

// An encoder of the family, stage, channels and ticks, a probe on each pin.
struct EncoderRig : Rig {
  EncoderRig(unsigned char type, unsigned char stage, unsigned char channels, int N = 100) : Rig("Encoder") {
    sensor->Type = type;
    sensor->outType = stage;
    sensor->channels = channels;
    sensor->N = N;
    EXPECT_TRUE(sensor->BuildPins());
    Wire();
  }
  CSCHEncoder* e() { return sensor; }
  // Turns the shaft from tick value `from` through `turns` revolutions in
  // `steps` steps, summing the edge counts of the record, which the probe
  // on `pin` must see as its net's source.
  long long Turn(double from, double turns, int steps, int pin) {
    long long edges = 0;
    const float start = AngleAt(from, sensor->N);
    for (int i = 1; i <= steps; i++) {
      StepAt(static_cast<float>(start + 2 * sensortest::kPi * turns * i / steps));
      EXPECT_EQ(State(pin).source, &sensor->pulseRecord) << i;
      edges += GetPulseEdges(&sensor->pulseRecord);
    }
    return edges;
  }
};

// A powered incremental encoder of 5 V and 0.05 A (a 100-ohm load) with
// 0.1 A allowed per output: ground probe 0 V, supply probe `volts`, both
// ideal; every output pulled to `pull` volts through 1000 ohm.
struct PoweredRig : EncoderRig {
  PoweredRig(unsigned char stage, unsigned char channels, float volts = 5, float pull = 5)
      : EncoderRig(CSCHEncoder::kTypeIncremental, stage, channels) {
    e()->U = 5;
    e()->I = 0.05f;
    e()->IoutMax = 0.1f;
    supply = stage == CSCHEncoder::kOutDifferential ? 3 : 2;
    for (int i = 0; i < e()->pinCount; i++) {
      if (i == 0) Drive(i, 0, kSchMinResistance);
      else if (i == supply) Drive(i, volts, kSchMinResistance);
      else Drive(i, pull, 1000);
    }
  }
  int supply;
};

struct PinRow {
  const wchar_t* description;
  int number;  // INT_MIN: left as it was
};

void ExpectPins(const CSCHEncoder* e, const std::vector<PinRow>& rows) {
  ASSERT_EQ(e->pinCount, static_cast<int>(rows.size()));
  const int height = e->rect.bottom - e->rect.top;
  for (int i = 0; i < e->pinCount; i++) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(e->pins[i].description, rows[i].description);
    if (rows[i].number != INT_MIN) {
      EXPECT_EQ(e->pins[i].number, rows[i].number);
    }
    EXPECT_EQ(e->pins[i].name, nullptr);
    EXPECT_EQ(e->pins[i].kind, kSchPinElectric);
    EXPECT_EQ(e->pins[i].side, kSchSideRight);
    // Spread along the right side: the k-th of n at (k + 1) x height / (n + 1).
    EXPECT_EQ(e->pins[i].offset, (i + 1) * height / (e->pinCount + 1));
  }
}

// ------------------------------------------------------------ creation and pins

TEST(Encoder, CreatedThroughTheRegistryWithItsDefaults) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHEncoder>("Encoder");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->className, "Encoder");
  EXPECT_EQ(e->rect.right - e->rect.left, 114);
  EXPECT_EQ(e->rect.bottom - e->rect.top, 55);
  EXPECT_EQ(e->Type, 0);
  EXPECT_EQ(e->channels, 2);
  EXPECT_EQ(e->outType, 1);
  EXPECT_EQ(e->N, 100);
  EXPECT_EQ(e->U, 0.0f);
  EXPECT_EQ(e->I, 0.0f);
  EXPECT_EQ(e->IoutMax, 0.0f);  // until a database row sets it
  EXPECT_EQ(e->friction, 0.0f);
  EXPECT_EQ(e->shaftAngle, 0.0f);
  EXPECT_EQ(e->form, 0);
  ExpectPins(e, {{L"Канал A", 1}, {L"Общий", 2}, {L"Канал B", 3}});
  // 55 px: pins at 13, 27 and 41 px up from the bottom.
  EXPECT_EQ(e->pins[0].offset, 13);
  EXPECT_EQ(e->pins[2].offset, 41);
}

TEST(Encoder, PinsOfEveryFamilyStageAndChannelCount) {
  struct Case {
    unsigned char type, stage, channels;
    std::vector<PinRow> pins;
  };
  const int kept = INT_MIN;
  const Case cases[] = {
      {0, 3, 1, {{L"Выход", 1}, {L"Общий", 2}}},
      {0, 0, 2, {{L"Канал A", 1}, {L"Общий", 2}, {L"Канал B", 3}}},
      {0, 4, 5, {{L"Канал A", 1}, {L"Общий", 2}, {L"Канал B", 3}}},
      {3, 0, 4, {{L"C - Общий", -1}, {L"1", 1}, {L"2", 2}, {L"3", 3}, {L"4", 4}}},
      {3, 2, 8,
       {{L"C - Общий", -1}, {L"1", 1}, {L"2", 2}, {L"3", 3}, {L"4", 4}, {L"5", 5}, {L"6", 6}, {L"7", 7}, {L"8", 8}}},
      {3, 2, 12,  // labels exist for 8 code channels
       {{L"C - Общий", -1}, {L"1", 1}, {L"2", 2}, {L"3", 3}, {L"4", 4}, {L"5", 5}, {L"6", 6}, {L"7", 7}, {L"8", 8}}},
      {4, 1, 3, {{L"C - Общий", -1}, {L"1", 1}, {L"2", 2}, {L"3", 3}, {L"+Eп", kept}}},
      {1, 4, 1, {{L"Земля", kept}, {L"Выход +", kept}, {L"Выход -", kept}, {L"Питание", kept}}},
      {2, 4, 2,
       {{L"Земля", kept}, {L"Канал A+", kept}, {L"Канал A-", kept}, {L"Питание", kept}, {L"Канал B+", kept},
        {L"Канал B-", kept}}},
      {9, 4, 3,
       {{L"Земля", kept}, {L"Канал A+", kept}, {L"Канал A-", kept}, {L"Питание", kept}, {L"Канал B+", kept},
        {L"Канал B-", kept}, {L"Индекс+", kept}, {L"Индекс-", kept}}},
      {1, 0, 1, {{L"Земля", 1}, {L"Выход", 2}, {L"Питание", 3}}},
      {2, 2, 2, {{L"Земля", 1}, {L"Канал A", 2}, {L"Питание", 3}, {L"Канал B", 4}}},
      {1, 3, 3, {{L"Земля", 1}, {L"Канал A", 2}, {L"Питание", 3}, {L"Индекс", 4}, {L"Канал B", 5}}},
  };
  devtest::DeviceRegistryScope registry;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " stage " << int(c.stage) << " channels "
                                    << int(c.channels));
    auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
    e->Type = c.type;
    e->outType = c.stage;
    e->channels = c.channels;
    ASSERT_TRUE(e->BuildPins());
    EXPECT_EQ(e->ExpectedPinCount(), static_cast<int>(c.pins.size()));
    ExpectPins(e.get(), c.pins);
    // At least 15 px a pin, never below the 55 px of the picture.
    EXPECT_EQ(e->rect.bottom - e->rect.top, std::max(55, 15 * static_cast<int>(c.pins.size())));
  }
}

TEST(Encoder, PinNumbersLeftAsTheyWereAndTheHeightNeverShrinks) {
  devtest::DeviceRegistryScope registry;
  auto e = comptest::NewDetached<CSCHEncoder>("Encoder");  // passive: pins 1, 2, 3
  e->Type = 2;
  e->outType = CSCHEncoder::kOutDifferential;
  e->channels = 3;
  ASSERT_TRUE(e->BuildPins());
  // The three pins there were keep their numbers; the new ones have none.
  const int numbers[8] = {1, 2, 3, -1, -1, -1, -1, -1};
  for (int i = 0; i < 8; i++) EXPECT_EQ(e->pins[i].number, numbers[i]) << i;
  EXPECT_EQ(e->rect.bottom - e->rect.top, 120);
  // 120 / 9 px apart.
  EXPECT_EQ(e->pins[0].offset, 13);
  EXPECT_EQ(e->pins[7].offset, 106);

  // Back to three pins: the block stays 120 px high; the supply pin of the
  // absolute encoder keeps the number pin 2 had.
  e->Type = CSCHEncoder::kTypeAbsoluteSupplied;
  e->channels = 1;
  ASSERT_TRUE(e->BuildPins());
  ASSERT_EQ(e->pinCount, 3);
  EXPECT_EQ(e->pins[0].number, -1);
  EXPECT_EQ(e->pins[1].number, 1);
  EXPECT_EQ(e->pins[2].number, 3);
  EXPECT_EQ(e->rect.bottom - e->rect.top, 120);
  EXPECT_EQ(e->pins[1].offset, 60);
}

TEST(Encoder, DatabaseRowSetsEveryField) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHEncoder>("Encoder");
  DbRow row(L"encoders", {{"model", "ACE-64P"}, {"Type", "4"}, {"channels", "5"}, {"outType", "0"}, {"N", "64"},
                          {"U", "12"}, {"I", "0.02"}, {"IoutMax", "0.01"}, {"friction", "0.003"}, {"Form", "2"},
                          {"mass", "0.05"}, {"Length", "30"}, {"Width", "28"}, {"Height", "16"}, {"price", "700"}});
  e->ApplyDbRecord(row.Record());
  EXPECT_EQ(e->Type, 4);
  EXPECT_EQ(e->channels, 5);
  EXPECT_EQ(e->outType, 0);
  EXPECT_EQ(e->N, 64);
  EXPECT_EQ(e->U, 12.0f);
  EXPECT_EQ(e->I, 0.02f);
  EXPECT_EQ(e->IoutMax, 0.01f);
  EXPECT_EQ(e->friction, 0.003f);
  EXPECT_EQ(e->form, 0);  // a form code above 1 becomes 0
  EXPECT_EQ(e->mass, 0.05f);
  EXPECT_FLOAT_EQ(e->length, 0.03f);
  EXPECT_FLOAT_EQ(e->width, 0.028f);
  EXPECT_FLOAT_EQ(e->height, 0.016f);
  EXPECT_STREQ(e->model, "ACE-64P");
  EXPECT_STREQ(e->tableName, L"encoders");
  EXPECT_EQ(e->price, 700.0);
  // The pins follow: the common, 5 channels, the supply; 7 x 15 px high.
  EXPECT_EQ(e->pinCount, 7);
  EXPECT_STREQ(e->pins[6].description, L"+Eп");
  EXPECT_EQ(e->rect.bottom - e->rect.top, 105);

  DbRow round(L"encoders", {{"model", "R"}, {"Form", "1"}, {"Type", "1"}, {"channels", "1"}});
  e->ApplyDbRecord(round.Record());
  EXPECT_EQ(e->form, 1);
  EXPECT_EQ(e->pinCount, 3);
}

TEST(Encoder, DatabaseValuesTheRecordCannotKeepAreTakenIntoItsRange) {
  struct Case {
    const char* type;
    const char* ticks;
    unsigned char Type;
    int N;
  };
  // The record keeps four bits of the type and three bytes of N.
  const Case cases[] = {
      {"19", "100", 1, 100},         // an incremental type beyond four bits stays incremental
      {"-1", "-100", 1, 0},          // no negative tick count
      {"15", "20000000", 15, 16777215},
      {"3", "16777215", 3, 16777215},
      {"256", "5", 0, 5},            // the low byte: passive
  };
  devtest::DeviceRegistryScope registry;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
    DbRow row(L"encoders", {{"model", "X"}, {"Type", c.type}, {"N", c.ticks}, {"channels", "2"}});
    e->ApplyDbRecord(row.Record());
    EXPECT_EQ(e->Type, c.Type);
    EXPECT_EQ(e->N, c.N);
    auto back = comptest::NewDetached<CSCHEncoder>("Encoder");
    comptest::LoadBytes(back.get(), comptest::SaveBytes(e.get()));
    EXPECT_EQ(back->Type, c.Type);
    EXPECT_EQ(back->N, c.N);
  }
}

TEST(Encoder, SampleDatabaseRows) {
  devtest::DeviceRegistryScope registry;
  comptest::SampleTable table(L"encoders");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 4);
  bool families[5] = {};
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    CompDbRecord* row = table.table.GetRecord(i);
    EXPECT_STREQ(row->GetTextByName("class"), "Encoder");
    auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
    e->ApplyDbRecord(row);
    EXPECT_GT(e->N, 0);
    EXPECT_LE(e->form, 1);
    EXPECT_EQ(e->pinCount, e->ExpectedPinCount());
    if (e->Type < 5) families[e->Type] = true;
    if (e->Type == CSCHEncoder::kTypeAbsolute || e->Type == CSCHEncoder::kTypeAbsoluteSupplied) {
      EXPECT_LE(e->N, 128);
      EXPECT_GE(e->channels, 2);
      EXPECT_LE(e->channels, 8);
    }
    if (e->Type != CSCHEncoder::kTypePassive && e->Type != CSCHEncoder::kTypeAbsolute) {
      EXPECT_GT(e->U, 0.0f);
      EXPECT_GT(e->I, 0.0f);
    }
  }
  EXPECT_TRUE(families[0] && families[1] && families[3] && families[4]);
  CompDbRecord* line = table.Find("E6B2-1000L");
  ASSERT_NE(line, nullptr);
  auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
  e->ApplyDbRecord(line);
  EXPECT_EQ(e->outType, CSCHEncoder::kOutDifferential);
  EXPECT_EQ(e->pinCount, 8);
}

// ------------------------------------------------------------ record

void FillEncoder(CSCHEncoder* e) {
  e->Type = 2;
  e->channels = 3;
  e->N = 0x012345;
  e->outType = CSCHEncoder::kOutDifferential;
  e->U = 5;
  e->I = 0.15f;
  e->IoutMax = 0.02f;
  e->friction = 0.001f;
  e->BuildPins();
  e->SetName(L"E1");
  e->SetModel("E6B2-1000L");
  e->form = 1;
  e->mass = 0.1f;
}

TEST(Encoder, RecordLayout) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHEncoder>("Encoder");
  FillEncoder(e);
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(e),
                                   Golden()
                                       .B(0x82)                    // Type + 128
                                       .B(3)                       // channels
                                       .B(0x45).B(0x23).B(0x01)    // N, three bytes
                                       .B(4)                       // outType
                                       .F(5).F(0.15f).F(0.02f).F(0.001f)
                                       .Bytes()));
  // The device record ends the record: form, mass and the sizes last.
  std::vector<uint8_t> full = comptest::SaveBytes(e);
  std::vector<uint8_t> tail = Golden().B(1).F(0.1f).F(0).F(0).F(0).Bytes();
  ASSERT_GE(full.size(), tail.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), full.end() - tail.size()));

  auto* passive = bench.Create<CSCHEncoder>("Encoder");
  EXPECT_TRUE(velktest::BytesEqual(devtest::FieldsBefore<CSCHDevice>(passive),
                                   Golden().B(0x80).B(2).B(100).B(0).B(0).B(1).F(0).F(0).F(0).F(0).Bytes()));
}

// The bytes of an encoder record with that first byte, the rest of the
// own fields as given, and the device record of an encoder of `pins` pins.
std::vector<uint8_t> RecordWithTypeByte(int first, unsigned char channels, unsigned char stage,
                                        CSCHEncoder* deviceSource) {
  std::vector<uint8_t> bytes =
      Golden().B(first).B(channels).B(200).B(0).B(0).B(stage).F(5).F(0.05f).F(0.1f).F(0.002f).Bytes();
  CMemoryStream device;
  deviceSource->CSCHDevice::Save(&device);
  return devtest::Concat(bytes, comptest::StreamBytes(device));
}

TEST(Encoder, TheFirstByteGivesTheType) {
  struct Case {
    int first;
    unsigned char type;
    int pins;  // with 2 channels and push-pull outputs
  };
  const Case cases[] = {
      {0x00, 1, 4},   // a record whose first byte is 0: an incremental encoder
      {0x80, 0, 3},   // passive
      {0x81, 1, 4},
      {0x83, 3, 3},   // absolute: common and 2 channels
      {0x84, 4, 4},   // with supply
      {0x8F, 15, 4},  // any other type: incremental
      {0x13, 3, 3},   // the low four bits
  };
  devtest::DeviceRegistryScope registry;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    // The device record holds one wire identity per pin: the pins must be
    // built before it is read.
    auto source = comptest::NewDetached<CSCHEncoder>("Encoder");
    source->Type = c.type;
    source->outType = CSCHEncoder::kOutPushPull;
    source->BuildPins();
    source->SetName(L"E9");
    source->mass = 0.25f;
    ASSERT_EQ(source->pinCount, c.pins);
    auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
    comptest::LoadBytes(e.get(), RecordWithTypeByte(c.first, 2, CSCHEncoder::kOutPushPull, source.get()));
    EXPECT_EQ(e->Type, c.type);
    EXPECT_EQ(e->channels, 2);
    EXPECT_EQ(e->N, 200);
    EXPECT_EQ(e->outType, CSCHEncoder::kOutPushPull);
    EXPECT_EQ(e->U, 5.0f);
    EXPECT_EQ(e->I, 0.05f);
    EXPECT_EQ(e->IoutMax, 0.1f);
    EXPECT_EQ(e->friction, 0.002f);
    EXPECT_EQ(e->pinCount, c.pins);
    EXPECT_STREQ(e->instanceName, L"E9");  // the device record was read in step
    EXPECT_EQ(e->mass, 0.25f);
  }
}

TEST(Encoder, RecordReadsBackAndEveryCutLoadsSafely) {
  devtest::DeviceRegistryScope registry;
  auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
  FillEncoder(e.get());
  std::vector<uint8_t> bytes = comptest::SaveBytes(e.get());
  comptest::ForEachTruncation<CSCHEncoder>("Encoder", bytes, [&](CSCHEncoder* copy, size_t n) {
    EXPECT_EQ(copy->pinCount, copy->ExpectedPinCount());
    if (n < CSCHEncoder::kOwnRecordBytes) {
      // Cut inside its own fields: the encoder stays as it was made.
      EXPECT_EQ(copy->Type, 0);
      EXPECT_EQ(copy->channels, 2);
      EXPECT_EQ(copy->N, 100);
      EXPECT_EQ(copy->U, 0.0f);
      EXPECT_EQ(copy->pinCount, 3);
      EXPECT_EQ(copy->rect.bottom - copy->rect.top, 55);
    } else {
      EXPECT_EQ(copy->Type, 2);
      EXPECT_EQ(copy->channels, 3);
      EXPECT_EQ(copy->N, 0x012345);
      EXPECT_EQ(copy->outType, 4);
      EXPECT_EQ(copy->U, 5.0f);
      EXPECT_EQ(copy->friction, 0.001f);
      EXPECT_EQ(copy->pinCount, 8);
    }
    if (n == bytes.size()) {
      EXPECT_STREQ(copy->instanceName, L"E1");
      EXPECT_STREQ(copy->model, "E6B2-1000L");
      EXPECT_EQ(copy->form, 1);
      EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(copy), bytes));
    }
  });
}

// Records no database row gives: channel counts, stages and tick counts
// beyond their bounds, and supply values that are no numbers. Each loads
// with the pins its fields give, reads back byte for byte, and steps at any
// shaft angle without a drive that is no number.
TEST(Encoder, HostileRecordsLoadReadBackAndStepSafely) {
  const float kNaN = std::numeric_limits<float>::quiet_NaN();
  const float kInf = std::numeric_limits<float>::infinity();
  struct Case {
    int first;                  // the type byte
    unsigned char channels;
    int N;                      // three bytes of it
    unsigned char outType;
    float U, I, IoutMax;
    unsigned char type;         // what the type byte gives
    int pins;
  };
  const Case cases[] = {
      {0x80, 0, 100, 1, 0, 0, 0, 0, 2},                  // passive, no channel: one output
      {0x80, 255, 0xFFFFFF, 9, kNaN, kNaN, kNaN, 0, 3},  // passive, many channels
      {0x83, 0, 0, 0, 0, 0, 0, 3, 1},                    // absolute: the common alone
      {0x83, 255, 0xFFFFFF, 0, 0, 0, 0, 3, 9},           // absolute: 8 code channels at most
      {0x84, 1, 0, 0, kInf, kInf, kNaN, 4, 3},           // with supply, one channel
      {0x84, 200, 129, 0, -5, 0.01f, 0, 4, 10},          // beyond the 128 positions
      {0x81, 0, 0xFFFFFF, 0, kNaN, 0.05f, kNaN, 1, 3},   // single output, no numbers
      {0x85, 255, 1, 4, 5, 0, -1, 5, 8},                 // differential with index, no current
      {0x8E, 7, 0x800000, 200, 5, -0.05f, kInf, 14, 5},  // an unknown stage
      {0x8F, 2, 0, 3, -kInf, 1, 0.1f, 15, 4},
  };
  devtest::DeviceRegistryScope registry;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first * 1000 + c.channels);
    std::vector<uint8_t> own = Golden()
                                   .B(c.first)
                                   .B(c.channels)
                                   .B(c.N & 0xFF).B((c.N >> 8) & 0xFF).B((c.N >> 16) & 0xFF)
                                   .B(c.outType)
                                   .F(c.U).F(c.I).F(c.IoutMax).F(kNaN)
                                   .Bytes();
    // The device record reads one wire identity a pin: it is written by an
    // encoder of the same pins.
    auto source = comptest::NewDetached<CSCHEncoder>("Encoder");
    source->Type = c.type;
    source->channels = c.channels;
    source->outType = c.outType;
    ASSERT_TRUE(source->BuildPins());
    ASSERT_EQ(source->pinCount, c.pins);
    source->SetName(L"E1");
    CMemoryStream device;
    source->CSCHDevice::Save(&device);
    const std::vector<uint8_t> bytes = devtest::Concat(own, comptest::StreamBytes(device));

    auto e = comptest::NewDetached<CSCHEncoder>("Encoder");
    comptest::LoadBytes(e.get(), bytes);
    EXPECT_EQ(e->Type, c.type);
    EXPECT_EQ(e->channels, c.channels);
    EXPECT_EQ(e->N, c.N);
    EXPECT_EQ(e->outType, c.outType);
    EXPECT_EQ(e->pinCount, c.pins);
    EXPECT_EQ(e->pinCount, e->ExpectedPinCount());
    EXPECT_GE(e->rect.bottom - e->rect.top, 15 * c.pins);
    EXPECT_STREQ(e->instanceName, L"E1");
    EXPECT_TRUE(velktest::BytesEqual(devtest::ResavedBytes(e.get()), bytes));

    // The same fields in a circuit: every pin pulled to 5 V through 1000
    // ohm, the ground pin of the powered types grounded.
    LogCapture log;
    EncoderRig rig(c.type, c.outType, c.channels, c.N);
    rig.e()->U = c.U;
    rig.e()->I = c.I;
    rig.e()->IoutMax = c.IoutMax;
    rig.e()->friction = kNaN;
    ASSERT_EQ(rig.e()->pinCount, c.pins);
    for (int i = 0; i < c.pins; i++) rig.Drive(i, i == 0 ? 0.0f : 5.0f, 1000);
    rig.Start();
    for (float angle : {0.0f, 1.0f, -1.0f, 1e30f, -1e30f, kInf, -kInf, kNaN, 0.25f}) {
      SCOPED_TRACE(angle);
      rig.StepAt(angle);
      for (int i = 0; i < c.pins; i++) {
        float R = 0;
        const float U = rig.Read(i, &R);
        EXPECT_FALSE(std::isnan(U)) << i;
        EXPECT_TRUE(R > 0) << i;
      }
    }
    rig.bench.Stop();
    // A burnt encoder said so once.
    EXPECT_EQ(log.Count(), rig.e()->burnt ? 1 : 0);
  }
}

TEST(Encoder, SchemeWithAnEncoderReadsBack) {
  DeviceBench bench;
  auto* e = bench.Create<CSCHEncoder>("Encoder");
  FillEncoder(e);
  // Parts the registry knows: the reader makes every block by its class.
  auto* a = bench.Create<CSCHResister>("Resister");
  auto* b = bench.Create<CSCHResister>("Resister");
  bench.Wire(e, 3, a, 0);  // supply
  bench.Wire(e, 6, b, 0);  // index +
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  auto* back = dynamic_cast<CSCHEncoder*>(copy->FindBlockByName(L"E1"));
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->pinCount, 8);
  EXPECT_EQ(back->N, 0x012345);
  for (int i = 0; i < 8; i++) EXPECT_EQ(back->pins[i].wire != nullptr, i == 3 || i == 6) << i;
  EXPECT_EQ(copy->WireCount(), 2);
}

// ------------------------------------------------------------ ticks

TEST(Encoder, EdgesPerTurnForOneAndTwoChannelsBothWays) {
  struct Case {
    unsigned char type, stage, channels;
    int pin;  // an output whose net carries the record
    long long perTurn;
  };
  const Case cases[] = {
      {CSCHEncoder::kTypePassive, 0, 1, 0, 200},
      {CSCHEncoder::kTypePassive, 0, 2, 2, 400},
      {CSCHEncoder::kTypeIncremental, CSCHEncoder::kOutPushPull, 1, 1, 200},
      {CSCHEncoder::kTypeIncremental, CSCHEncoder::kOutPullUp, 2, 3, 400},
      {CSCHEncoder::kTypeIncremental, CSCHEncoder::kOutDifferential, 1, 2, 200},
      {CSCHEncoder::kTypeIncremental, CSCHEncoder::kOutDifferential, 3, 4, 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " stage " << int(c.stage) << " channels "
                                    << int(c.channels));
    std::unique_ptr<EncoderRig> rig;
    if (c.type == CSCHEncoder::kTypePassive) rig.reset(new EncoderRig(c.type, c.stage, c.channels));
    else rig.reset(new PoweredRig(c.stage, c.channels, 5, c.stage == CSCHEncoder::kOutDifferential ? 2.5f : 5));
    rig->Start();
    // Half a tick off the edges; N = 100: 400 edges a turn, 200 on one channel.
    rig->StepAt(AngleAt(0.5, 100));
    EXPECT_EQ(GetPulseEdges(&rig->e()->pulseRecord), 0);
    EXPECT_EQ(rig->Turn(0.5, 1, 1000, c.pin), c.perTurn);
    EXPECT_EQ(rig->Turn(400.5, -2, 2000, c.pin), -2 * c.perTurn);  // backwards: negative
    EXPECT_FALSE(rig->e()->burnt);
    rig->bench.Stop();
  }
}

TEST(Encoder, TheTickChangeAndTheMemoryOfAStep) {
  EncoderRig rig(CSCHEncoder::kTypePassive, 0, 2);
  rig.Start();
  // The first step after Start counts from angle 0: 10.5 ticks, 10 edges.
  rig.StepAt(AngleAt(10.5, 100));
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 10);
  EXPECT_NEAR(GetPulseTicks(&rig.e()->pulseRecord), 10.5f, 1e-4f);
  EXPECT_EQ(rig.e()->ticks.lastCount, 10);
  EXPECT_NEAR(rig.e()->ticks.lastValue, 10.5f, 1e-4f);
  // Backwards across 0: -2.25 ticks is whole part -3.
  rig.StepAt(AngleAt(-2.25, 100));
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), -13);
  EXPECT_NEAR(GetPulseTicks(&rig.e()->pulseRecord), -12.75f, 1e-4f);
  // An angle that is no number counts nothing and keeps the memory.
  rig.StepAt(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 0);
  EXPECT_EQ(rig.e()->ticks.lastCount, -3);
  rig.StepAt(AngleAt(1.5, 100));
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 4);
  // Start clears the memory: the same angle counts from 0 again.
  rig.e()->Start();
  EXPECT_EQ(rig.e()->ticks.lastCount, 0);
  EXPECT_EQ(rig.e()->ticks.lastValue, 0.0f);
  rig.StepAt(AngleAt(1.5, 100));
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 1);
  rig.bench.Stop();
}

TEST(Encoder, ASingleChannelHalvesTheCountTowardsZero) {
  EncoderRig rig(CSCHEncoder::kTypePassive, 0, 1);
  rig.Start();
  struct Step {
    double t;
    int count;  // floor(t) / 2, truncated
  };
  const Step steps[] = {{1.5, 0}, {-0.5, 0}, {-1.5, -1}, {-2.5, -1}, {-3.5, -2}, {5.5, 2}};
  int last = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.t);
    rig.StepAt(AngleAt(s.t, 100));
    EXPECT_EQ(rig.e()->ticks.lastCount, s.count);
    EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), s.count - last);
    last = s.count;
  }
  rig.bench.Stop();
}

// ------------------------------------------------------------ passive

TEST(Encoder, PassiveTwoChannelsHandTheCommonToTheChannels) {
  EncoderRig rig(CSCHEncoder::kTypePassive, 0, 2);  // A 0, common 1, B 2
  rig.Drive(0, 1, 1000);
  rig.Drive(1, 5, 10);
  rig.Drive(2, -3, 2000);
  rig.Start();
  rig.StepAt(AngleAt(2.5, 100), 2);
  // Each channel: the common's voltage, open and behind the common's rest.
  SchPinState a = rig.State(0), b = rig.State(2), c = rig.State(1);
  ExpectLevels(a, 5, kOpen, 5, 10);
  EXPECT_EQ(a.sourceKind, kDevPulseSourceA);
  EXPECT_EQ(a.source, &rig.e()->pulseRecord);
  ExpectLevels(b, 5, kOpen, 5, 10);
  EXPECT_EQ(b.sourceKind, kDevPulseSourceB);
  EXPECT_EQ(b.source, &rig.e()->pulseRecord);
  // The common: the channel voltage of the larger magnitude (B's -3 V)
  // behind the smaller of the channels' resistances (A's 1000 ohm).
  ExpectLevels(c, -3, kOpen, -3, 1000);
  EXPECT_EQ(c.sourceKind, kDevPulseSourceA);
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 0);  // the second step stood still
  rig.bench.Stop();
}

TEST(Encoder, PassiveSingleOutputAndCommonExchangeTheirNets) {
  LogCapture log;
  EncoderRig rig(CSCHEncoder::kTypePassive, 0, 1);  // output 0, common 1
  rig.Drive(0, 2, 300);
  rig.Drive(1, 12, 40);
  rig.Start();
  rig.StepAt(AngleAt(0.5, 100), 2);
  ExpectLevels(rig.State(0), 12, kOpen, 12, 40);
  ExpectLevels(rig.State(1), 2, kOpen, 2, 300);
  EXPECT_EQ(rig.State(0).sourceKind, kDevPulseSourceA);
  EXPECT_EQ(rig.State(1).sourceKind, kDevPulseSourceA);
  EXPECT_EQ(log.Count(), 0);  // never burns
  rig.bench.Stop();
}

// ------------------------------------------------------------ absolute

TEST(Encoder, TheAbsoluteCodeTable) {
  // Rows of the code table, worked out from it by position.
  struct Entry {
    int position;
    unsigned char code;
  };
  const Entry entries[] = {{0, 0x7F}, {1, 0x3F}, {5, 0xB8}, {31, 0xD7}, {40, 0x02}, {64, 0xF7},
                           {72, 0x80}, {96, 0xFD}, {127, 0x5F}};
  for (const Entry& e : entries) EXPECT_EQ(CSCHEncoder::AbsoluteCode(e.position), e.code) << e.position;
  // Every position has a code of its own.
  std::vector<bool> seen(256, false);
  for (int p = 0; p < 128; p++) {
    EXPECT_FALSE(seen[CSCHEncoder::AbsoluteCode(p)]) << p;
    seen[CSCHEncoder::AbsoluteCode(p)] = true;
  }
}

// An absolute encoder of 8 channels and 128 positions, its common driven
// as 5 V behind 100 ohm; a channel joined to the common reads about 100
// ohm, an open one 5 megohm.
std::vector<bool> JoinedChannels(EncoderRig* rig, float angle) {
  rig->StepAt(angle, 2);
  std::vector<bool> joined;
  for (int i = 1; i < rig->e()->pinCount; i++) {
    float R = 0;
    float U = rig->Read(i, &R);
    EXPECT_NEAR(U, 5.0f, 1e-3f) << i;  // open channels too: at the common's voltage
    joined.push_back(R < 1000);
    EXPECT_TRUE(R < 101 || R > 4.9e6f) << i << ": " << R;
  }
  return joined;
}

std::vector<bool> Bits(unsigned char code, int n) {
  std::vector<bool> bits;
  for (int i = 0; i < n; i++) bits.push_back((code >> i) & 1);
  return bits;
}

TEST(Encoder, AbsoluteCodeAtPositionsOfTheShaftIncludingNegativeOnes) {
  EncoderRig rig(CSCHEncoder::kTypeAbsolute, 0, 8, 128);
  rig.Drive(0, 5, 100);
  rig.Start();
  struct Case {
    double t;  // tick value: 256 positions a half turn
    unsigned char code;
  };
  const Case cases[] = {
      {0.5, 0x7F},    {5.5, 0xB8},   {72.5, 0x80},   {127.5, 0x5F},
      {128.5, 0x7F},  // position 0 again
      {200.5, 0x80},  // 200 mod 128 = 72
      {-0.5, 0x5F},   // -1: position 127
      {-55.5, 0x80},  // -56: position 72
      {-128.5, 0x5F}, // -129: position 127
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    EXPECT_EQ(JoinedChannels(&rig, AngleAt(c.t, 128)), Bits(c.code, 8));
  }
  // The code repeats four times a turn: a quarter turn on is the same code.
  for (double t : {5.5, 72.5, 127.5}) {
    SCOPED_TRACE(t);
    EXPECT_EQ(JoinedChannels(&rig, AngleAt(t, 128) + kPi / 2), JoinedChannels(&rig, AngleAt(t, 128)));
    EXPECT_NE(JoinedChannels(&rig, AngleAt(t, 128) + kPi / 4), JoinedChannels(&rig, AngleAt(t, 128)));
  }
  rig.bench.Stop();
}

TEST(Encoder, AbsoluteContactsFormOneNode) {
  // Common 6 V behind 200 ohm, channel 1 (bit 0) 3 V behind 100 ohm, the
  // other channels open: at position 0 (0x7F) both channels 1 and 2 join.
  EncoderRig rig(CSCHEncoder::kTypeAbsolute, 0, 2, 128);
  rig.Drive(0, 6, 200);
  rig.Drive(1, 3, 100);
  rig.Start();
  rig.StepAt(AngleAt(0.5, 128), 2);
  // Channel 2's probe: the node without it, (6/200 + 3/100) / (1/200 + 1/100)
  // = 4 V behind 66.67 ohm.
  float R = 0;
  EXPECT_NEAR(rig.Read(2, &R), 4.0f, 1e-3f);
  EXPECT_NEAR(R, 66.6667f, 1e-2f);
  // The common's probe: channel 1 and channel 2's open net.
  EXPECT_NEAR(rig.Read(0, &R), 3.0f, 1e-3f);
  EXPECT_NEAR(R, 100.0f, 1e-2f);
  rig.bench.Stop();
}

TEST(Encoder, ACommonJoinedToNoChannelKeepsNoEarlierDrive) {
  EncoderRig rig(CSCHEncoder::kTypeAbsolute, 0, 2, 128);
  rig.Drive(1, 3, 10);  // channel 1 on 3 V; the common's and channel 2's probes idle
  rig.Start();
  rig.StepAt(AngleAt(0.5, 128), 2);  // 0x7F: the common joins channel 1
  float R = 0;
  EXPECT_NEAR(rig.Read(0, &R), 3.0f, 1e-3f);
  EXPECT_NEAR(R, 10.0f, 1e-3f);
  rig.StepAt(AngleAt(8.5, 128), 2);  // 0x08: neither of the two channels
  EXPECT_NEAR(rig.Read(0, &R), 0.0f, 1e-6f);
  EXPECT_NEAR(R, kOpen, kOpenTolerance);
  // Channel 1 open at the common's voltage.
  EXPECT_NEAR(rig.Read(1, &R), 0.0f, 1e-6f);
  EXPECT_NEAR(R, kOpen, kOpenTolerance);
  rig.bench.Stop();
}

// An absolute encoder with supply: 3 channels, 128 positions, 5 V and
// 0.01 A (a 500-ohm load), the common grounded, the supply on `volts`.
struct SuppliedRig : EncoderRig {
  explicit SuppliedRig(float volts) : EncoderRig(CSCHEncoder::kTypeAbsoluteSupplied, 0, 3, 128) {
    e()->U = 5;
    e()->I = 0.01f;
    Drive(0, 0, kSchMinResistance);
    Drive(4, volts, kSchMinResistance);
  }
};

TEST(Encoder, AbsoluteWithSupplyPowered) {
  LogCapture log;
  SuppliedRig rig(5);
  rig.Start();
  // Position 72 (0x80): no contact of the three; the common carries the
  // supply's load: 5 V behind 500 ohm; the supply pin 0 V behind 500 ohm.
  rig.StepAt(AngleAt(72.5, 128), 2);
  float R = 0;
  EXPECT_NEAR(rig.Read(0, &R), 5.0f, 1e-4f);
  EXPECT_NEAR(R, 500.0f, 1e-2f);
  EXPECT_NEAR(rig.Read(4, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, 500.0f, 1e-2f);
  for (int i = 1; i <= 3; i++) {
    rig.Read(i, &R);
    EXPECT_NEAR(R, kOpen, kOpenTolerance) << i;
  }
  // Position 0 (0x7F): the three channels join the grounded common.
  rig.StepAt(AngleAt(0.5, 128), 2);
  for (int i = 1; i <= 3; i++) {
    EXPECT_NEAR(rig.Read(i, &R), 0.0f, 1e-4f) << i;
    EXPECT_LT(R, 1e-3f) << i;
  }
  // Unpowered (3 V is not above 0.75 x 5): the contacts open, the encoder a
  // 5-megohm load.
  rig.Drive(4, 3, kSchMinResistance);
  rig.StepAt(AngleAt(0.5, 128), 2);
  for (int i = 1; i <= 3; i++) {
    rig.Read(i, &R);
    EXPECT_NEAR(R, kOpen, kOpenTolerance) << i;
  }
  EXPECT_NEAR(rig.Read(4, &R), 0.0f, 1e-4f);
  EXPECT_NEAR(R, kOpen, kOpenTolerance);
  EXPECT_NEAR(rig.Read(0, &R), 3.0f, 1e-4f);
  EXPECT_NEAR(R, kOpen, kOpenTolerance);
  EXPECT_EQ(log.Count(), 0);
  rig.bench.Stop();
}

TEST(Encoder, AbsoluteWithSupplyBurnsOnOverAndReverseVoltage) {
  struct Case {
    float volts;
    bool burns;
  };
  // Burns below -20 V and above 2 x 5 V across its 500-ohm load.
  const Case cases[] = {{10.1f, true}, {9.9f, false}, {-20.5f, true}, {-19.5f, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    LogCapture log;
    SuppliedRig rig(c.volts);
    rig.Start();
    rig.StepAt(AngleAt(0.5, 128));
    EXPECT_EQ(rig.e()->burnt != 0, c.burns);
    EXPECT_EQ(log.Messages(), c.burns ? std::vector<std::wstring>{kBurntE1} : std::vector<std::wstring>{});
    if (c.burns) {
      // From the next step on every pin floats.
      rig.StepAt(AngleAt(0.5, 128));
      for (int i = 0; i < 5; i++) {
        float R = 0;
        EXPECT_NEAR(rig.Read(i, &R), 0.0f, 1e-6f) << i;
        EXPECT_NEAR(R, kOpen, kOpenTolerance) << i;
      }
      EXPECT_EQ(log.Count(), 1);
    }
    rig.bench.Stop();
  }
}

// ------------------------------------------------------------ incremental

TEST(Encoder, SingleOutputLevelsOfEveryStage) {
  struct Case {
    unsigned char stage;
    float U, R, U2, R2;  // Up 5, Ug 0, the output pulled to 5 V
  };
  const Case cases[] = {
      {CSCHEncoder::kOutOpenCollector, 5, kOpen, 0, 50},
      {CSCHEncoder::kOutOpenCollectorInverted, 0, 50, 5, kOpen},
      {CSCHEncoder::kOutPushPull, 0, 50, 5, 50},
      {CSCHEncoder::kOutPullUp, 0, 50, 5, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.stage));
    PoweredRig rig(c.stage, 1);
    rig.Start();
    rig.StepAt(AngleAt(0.5, 100), 2);
    SchPinState s = rig.State(1);
    ExpectLevels(s, c.U, c.R, c.U2, c.R2);
    EXPECT_EQ(s.sourceKind, kDevPulseSourceA);
    EXPECT_EQ(s.source, &rig.e()->pulseRecord);
    // The supply pin: the ground's 0 V behind the 100-ohm load.
    float R = 0;
    EXPECT_NEAR(rig.Read(2, &R), 0.0f, 1e-5f);
    EXPECT_NEAR(R, 100.0f, 1e-3f);
    // The ground pin: 1 / (0.5 / 1000 + 1 / 100) = 95.238 ohm, and
    // (0.5 x 5 / 1000 + 5 / 100) x 95.238 = 5 V.
    EXPECT_NEAR(rig.Read(0, &R), 5.0f, 1e-4f);
    EXPECT_NEAR(R, 95.238095f, 1e-3f);
    EXPECT_FALSE(rig.e()->burnt);
    rig.bench.Stop();
  }
}

TEST(Encoder, OpenCollectorOutputBouncesAndNeverDrivesBelowGround) {
  sensortest::RandomSeed seed(7);
  const int r = seed.Next(1)[0] % 32768;
  PoweredRig rig(CSCHEncoder::kOutOpenCollector, 1, 5, -1);  // the output pulled to -1 V
  rig.Start();
  rig.StepAt(AngleAt(0.5, 100));  // standing: no edge, no bounce
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 0);
  // 20 ticks in one step: 10 edges on the single output, and up to as many
  // again for the contact's bounce.
  rig.StepAt(AngleAt(20.5, 100));
  EXPECT_EQ(GetPulseEdges(&rig.e()->pulseRecord), 10 + r * 10 / 32767);
  EXPECT_EQ(rig.e()->ticks.lastCount, 10);  // the memory holds the count itself
  // The open level is the output's net, raised to the ground's 0 V.
  ExpectLevels(rig.State(1), 0, kOpen, 0, 50);
  EXPECT_FALSE(rig.e()->burnt);
  rig.bench.Stop();
}

TEST(Encoder, SingleOutputCurrentCountsOnlyWhileTurning) {
  LogCapture log;
  PoweredRig rig(CSCHEncoder::kOutPushPull, 1);
  // (5 - 0) / (1000 + 50) = 4.76 mA.
  rig.e()->IoutMax = 0.004f;
  rig.Start();
  rig.StepAt(AngleAt(0.5, 100), 5);
  EXPECT_FALSE(rig.e()->burnt);
  rig.StepAt(AngleAt(4.5, 100));
  EXPECT_TRUE(rig.e()->burnt);
  EXPECT_EQ(log.Messages(), std::vector<std::wstring>{kBurntE1});
  rig.bench.Stop();
}

TEST(Encoder, SingleOutputSupplyLimits) {
  struct Case {
    float volts;
    bool burns;
  };
  // Burns below -20 V and above 2 x 5 V across its load, standing still.
  const Case cases[] = {{10.1f, true}, {9.9f, false}, {-20.5f, true}, {-19.5f, false}, {3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    LogCapture log;
    PoweredRig rig(CSCHEncoder::kOutPushPull, 1, c.volts);
    rig.Start();
    rig.StepAt(AngleAt(0.5, 100));
    EXPECT_EQ(rig.e()->burnt != 0, c.burns);
    EXPECT_EQ(log.Count(), c.burns ? 1 : 0);
    rig.StepAt(AngleAt(0.5, 100));
    if (c.burns) {
      // Burnt: every pin floats from the next step on; Start keeps the flag.
      for (int i = 0; i < 3; i++) {
        float R = 0;
        EXPECT_NEAR(rig.Read(i, &R), 0.0f, 1e-6f) << i;
        EXPECT_NEAR(R, kOpen, kOpenTolerance) << i;
      }
      rig.e()->Start();
      EXPECT_TRUE(rig.e()->burnt);
    } else if (c.volts < 3.75f) {
      // Unpowered (not above 0.75 x 5 V): the output open at the ground's
      // voltage without data; a 5-megohm load on the supply.
      SchPinState s = rig.State(1);
      ExpectLevels(s, 0, kOpen, 0, kOpen);
      EXPECT_EQ(s.source, nullptr);
      float R = 0;
      EXPECT_NEAR(rig.Read(0, &R), c.volts, 1e-4f * std::fabs(c.volts));
      EXPECT_NEAR(R, kOpen, kOpenTolerance);
      EXPECT_NEAR(rig.Read(2, &R), 0.0f, 1e-5f);
      EXPECT_NEAR(R, kOpen, kOpenTolerance);
    }
    rig.bench.Stop();
  }
}

TEST(Encoder, TwoChannelsAndIndexLevelsOfEveryStage) {
  struct Case {
    unsigned char stage;
    float U, R, U2, R2;     // A and B
    float atIndex, atIndexR;  // the index pin at the index
    float away, awayR;        // and away from it
  };
  const Case cases[] = {
      {CSCHEncoder::kOutOpenCollector, 5, kOpen, 0, 50, 0, 50, 5, kOpen},
      {CSCHEncoder::kOutOpenCollectorInverted, 0, 50, 5, kOpen, 5, kOpen, 0, 50},
      {CSCHEncoder::kOutPushPull, 0, 50, 5, 50, 5, 50, 0, 50},
      {CSCHEncoder::kOutPullUp, 0, 50, 5, 250, 5, 250, 0, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.stage));
    PoweredRig rig(c.stage, 3);  // ground 0, A 1, supply 2, index 3, B 4
    rig.Start();
    // At the index: the whole tick value within -3 to 3.
    rig.StepAt(AngleAt(-2.5, 100), 2);
    ExpectLevels(rig.State(1), c.U, c.R, c.U2, c.R2);
    ExpectLevels(rig.State(4), c.U, c.R, c.U2, c.R2);
    EXPECT_EQ(rig.State(1).sourceKind, kDevPulseSourceA);
    EXPECT_EQ(rig.State(4).sourceKind, kDevPulseSourceB);
    EXPECT_EQ(rig.State(4).source, &rig.e()->pulseRecord);
    float R = 0;
    EXPECT_NEAR(rig.Read(3, &R), c.atIndex, 1e-4f);
    EXPECT_NEAR(R, c.atIndexR, 1e-4f * c.atIndexR);
    EXPECT_EQ(rig.State(3).source, nullptr);
    // The ground pin with the index net: K = 0.5/1000 + 0.5/1000 + 1/100 +
    // 1/1000 = 0.012, L = 0.0025 + 0.0025 + 0.05 + 0.005 = 0.06.
    EXPECT_NEAR(rig.Read(0, &R), 5.0f, 1e-4f);
    EXPECT_NEAR(R, 83.33333f, 1e-3f);
    EXPECT_NEAR(rig.Read(2, &R), 0.0f, 1e-5f);
    EXPECT_NEAR(R, 100.0f, 1e-3f);
    // The index: whole tick values -3 to 3 (3.5 is 3, -3.5 is -4).
    for (double t : {3.5, 4.5, -3.5}) {
      SCOPED_TRACE(t);
      const bool atIndex = t == 3.5;
      rig.StepAt(AngleAt(t, 100), 2);
      EXPECT_NEAR(rig.Read(3, &R), atIndex ? c.atIndex : c.away, 1e-4f);
      EXPECT_NEAR(R, atIndex ? c.atIndexR : c.awayR, 1e-4f * R);
    }
    // Away from the index: K = 0.011, L = 0.055.
    rig.StepAt(AngleAt(40.5, 100), 2);
    EXPECT_NEAR(rig.Read(3, &R), c.away, 1e-4f);
    EXPECT_NEAR(R, c.awayR, 1e-4f * c.awayR);
    EXPECT_NEAR(rig.Read(0, &R), 5.0f, 1e-4f);
    EXPECT_NEAR(R, 90.90909f, 1e-3f);
    EXPECT_FALSE(rig.e()->burnt);
    rig.bench.Stop();
  }
}

TEST(Encoder, TwoChannelsWithTheSupplyTooHighFailOnlyOnceTurning) {
  LogCapture log;
  PoweredRig rig(CSCHEncoder::kOutPushPull, 2, 10.1f);
  rig.Start();
  rig.StepAt(AngleAt(0.5, 100), 10);
  EXPECT_FALSE(rig.e()->burnt);
  EXPECT_EQ(rig.State(1).source, &rig.e()->pulseRecord);
  rig.StepAt(AngleAt(1.5, 100));
  EXPECT_TRUE(rig.e()->burnt);
  EXPECT_EQ(log.Messages(), std::vector<std::wstring>{kBurntE1});
  rig.bench.Stop();
}

TEST(Encoder, TwoChannelsOutputCurrentWhileTurning) {
  struct Case {
    float limit;
    bool burns;
  };
  // (5 - 0) / (1000 + 50) = 4.76 mA on each channel.
  const Case cases[] = {{0.0048f, false}, {0.0047f, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    LogCapture log;
    PoweredRig rig(CSCHEncoder::kOutOpenCollector, 2);
    rig.e()->IoutMax = c.limit;
    rig.Start();
    rig.StepAt(AngleAt(0.5, 100), 3);
    EXPECT_FALSE(rig.e()->burnt);
    rig.StepAt(AngleAt(2.5, 100));
    EXPECT_EQ(rig.e()->burnt != 0, c.burns);
    rig.bench.Stop();
  }
}

TEST(Encoder, DifferentialLevelsSupplyAndIndex) {
  PoweredRig rig(CSCHEncoder::kOutDifferential, 3, 5, 2.5f);
  rig.Start();
  rig.StepAt(AngleAt(0.5, 100), 2);
  // + outputs: the supply behind 50 ohm first, the ground second; - the
  // other way round; A kind 7, B kind 8.
  const int pins[4] = {1, 2, 4, 5};
  for (int k = 0; k < 4; k++) {
    SCOPED_TRACE(pins[k]);
    SchPinState s = rig.State(pins[k]);
    if (k % 2 == 0) ExpectLevels(s, 5, 50, 0, 50);
    else ExpectLevels(s, 0, 50, 5, 50);
    EXPECT_EQ(s.sourceKind, k < 2 ? kDevPulseSourceA : kDevPulseSourceB);
    EXPECT_EQ(s.source, &rig.e()->pulseRecord);
  }
  // The encoder a 100-ohm load between supply and ground.
  float R = 0;
  EXPECT_NEAR(rig.Read(0, &R), 5.0f, 1e-4f);
  EXPECT_NEAR(R, 100.0f, 1e-3f);
  EXPECT_NEAR(rig.Read(3, &R), 0.0f, 1e-5f);
  EXPECT_NEAR(R, 100.0f, 1e-3f);
  // At the index Index+ low and Index- high; away the other way round.
  EXPECT_NEAR(rig.Read(6, &R), 0.0f, 1e-5f);
  EXPECT_NEAR(R, 50.0f, 1e-3f);
  EXPECT_NEAR(rig.Read(7, &R), 5.0f, 1e-4f);
  EXPECT_NEAR(R, 50.0f, 1e-3f);
  rig.StepAt(AngleAt(4.5, 100), 2);
  EXPECT_NEAR(rig.Read(6, &R), 5.0f, 1e-4f);
  EXPECT_NEAR(rig.Read(7, &R), 0.0f, 1e-5f);
  EXPECT_FALSE(rig.e()->burnt);
  rig.bench.Stop();
}

TEST(Encoder, DifferentialFailures) {
  struct Case {
    unsigned char channels;
    float volts, limit;
    bool burns;
  };
  // One channel: below -0.5 V or above 1.5 x 5 V across the load burns;
  // two or three channels have no supply limit. Each output passes
  // 2.5 / 1050 = 2.38 mA either way.
  const Case cases[] = {
      {1, 7.6f, 0.1f, true},  {1, 7.4f, 0.1f, false}, {1, -0.6f, 0.1f, true}, {1, -0.4f, 0.1f, false},
      {2, 7.6f, 0.1f, false}, {3, 9, 0.1f, false},    {3, 5, 0.0023f, true},  {2, 5, 0.0024f, false},
      {1, 5, 0.0023f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.channels) << " channels, " << c.volts << " V, " << c.limit << " A");
    LogCapture log;
    PoweredRig rig(CSCHEncoder::kOutDifferential, c.channels, c.volts, 2.5f);
    rig.e()->IoutMax = c.limit;
    rig.Start();
    rig.StepAt(AngleAt(0.5, 100), 2);  // standing still
    EXPECT_EQ(rig.e()->burnt != 0, c.burns);
    EXPECT_EQ(log.Count(), c.burns ? 1 : 0);
    rig.bench.Stop();
  }
}

// ------------------------------------------------------------ on a motor

TEST(Encoder, FollowsTheShaftOfADCMotor) {
  DeviceBench bench;
  auto* motor = bench.Create<CSCHDCMotor>("DCMotor");
  auto* battery = bench.Create<CSCHBattery>("Battery");
  battery->nominalVoltage = 12;
  battery->dischargeType = 6;
  battery->capacity = 1e6f;
  bench.Wire(battery, kElecBatteryPlus, motor, 1);
  bench.Wire(motor, 0, battery, kElecBatteryMinus);
  auto* e = bench.Create<CSCHEncoder>("Encoder");  // passive, two channels, 100 ticks
  auto* probe = bench.Part(1);
  bench.Wire(e, 0, probe, 0);
  bench.Build();
  bench.Start();
  // The test plays the mechanical simulation: the motor turns its shaft
  // against an inertia, the encoder on it follows.
  float speed = 0, angle = 0;
  long long edges = 0;
  const float dt = 1e-3f;
  for (int i = 0; i < 2000; i++) {
    motor->SetShaftMotion(speed, angle);
    e->FollowShaft(motor->GetShaft());
    bench.Step(1, dt);
    edges += GetPulseEdges(&e->pulseRecord);
    speed += dt * motor->GetShaft().torque / 0.001f;
    angle += dt * speed;
  }
  EXPECT_GT(motor->GetShaft().angle, 1.0f);
  EXPECT_EQ(e->shaftAngle, motor->GetShaft().angle);
  EXPECT_EQ(edges, static_cast<long long>(std::floor(RoundToFloat(e->shaftAngle * 200.0 / sensortest::kPi))));
  EXPECT_EQ(devtest::StateAt(probe, 0).source, &e->pulseRecord);
  bench.Stop();
}

// ------------------------------------------------------------ drawing

TEST(Encoder, PictureBarAndName) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* e = bench.Create<CSCHEncoder>("Encoder");
  e->SetName(L"E1");
  comptest::SymbolCanvas canvas(160, 90);
  EXPECT_TRUE(canvas.Paint(e, 20, 10));
  // The picture at its own size: the shaft, the code disc, the housing, the
  // bar at the right edge.
  EXPECT_EQ(canvas.Pixel(20 + 5, 10 + 27), RGB(200, 200, 205));
  EXPECT_EQ(canvas.Pixel(20 + 44, 10 + 17), RGB(225, 190, 90));
  EXPECT_EQ(canvas.Pixel(20 + 90, 10 + 40), RGB(70, 75, 85));
  EXPECT_EQ(canvas.Pixel(20 + 113, 10 + 2), RGB(0, 0, 0));
  // The name below, centred over the 114 px.
  EXPECT_GT(canvas.InkIn(20 + 40, 65, 20 + 74, 85), 0);
  EXPECT_EQ(canvas.InkIn(0, 65, 20 + 40, 90), 0);
  EXPECT_EQ(canvas.InkIn(20 + 74, 65, 160, 90), 0);
  EXPECT_TRUE(canvas.Save(L"encoder_symbol.bmp"));
  // No footprint.
  comptest::FootprintCanvas board(10, 100, 100);
  EXPECT_TRUE(board.Paint(e));
  EXPECT_EQ(board.InkCount(), 0);
}

TEST(Encoder, ATallBlockCentresThePictureAndDrawsTheBarDownItsEdge) {
  comptest::IconsFolderScope icons(devtest::ShippedIconsFolder());
  DeviceBench bench;
  auto* e = bench.Create<CSCHEncoder>("Encoder");
  e->Type = CSCHEncoder::kTypeAbsolute;
  e->channels = 8;
  e->BuildPins();  // 9 pins: 135 px
  comptest::SymbolCanvas canvas(160, 170);
  EXPECT_TRUE(canvas.Paint(e, 20, 10));
  // The picture at (135 - 55) / 2 = 40 px down.
  EXPECT_EQ(canvas.Pixel(20 + 5, 10 + 40 + 27), RGB(200, 200, 205));
  EXPECT_EQ(canvas.Pixel(20 + 5, 10 + 27), RGB(255, 255, 255));
  // A 2-px bar down the right edge, top to bottom.
  for (int y : {0, 20, 100, 134}) {
    EXPECT_EQ(canvas.Pixel(20 + 112, 10 + y), RGB(0, 0, 0)) << y;
    EXPECT_EQ(canvas.Pixel(20 + 113, 10 + y), RGB(0, 0, 0)) << y;
    EXPECT_EQ(canvas.Pixel(20 + 111, 10 + y), RGB(255, 255, 255)) << y;
  }
  EXPECT_EQ(canvas.Pixel(20 + 113, 10 + 135), RGB(255, 255, 255));
  EXPECT_TRUE(canvas.Save(L"encoder_absolute_symbol.bmp"));
}

TEST(Encoder, ShippedPictureFitsTheSymbol) {
  CKestImage picture;
  ASSERT_EQ(picture.Load((devtest::ShippedIconsFolder() + L"encoder.png").c_str()), S_OK);
  EXPECT_EQ(picture.GetWidth(), 114);
  EXPECT_EQ(picture.GetHeight(), 55);
}

}  // namespace
