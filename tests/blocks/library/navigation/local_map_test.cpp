// The local-map block: its pins for several sensor and zone counts, the
// "locmap" value, a step's reset or motion, the readings of range finders
// and scan sectors through their inputs (write enable, position inputs,
// the sector's counter, tag and handle), the zone outputs, the record and
// the drawing.
#include <cmath>
#include <cstring>
#include <string>

#include "block_kit.h"
#include "blocks/library/navigation/local_map.h"
#include "blocks/library/navigation/scan_sector.h"
#include "foundation/buffer_failure_scope.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Golden;

const wchar_t kMapCaption[] = L"Построитель локальной карты местности";
const wchar_t kSectorCaption[] = L"Построитель карты видимой области по стереозрению";
const float kSixtyDegrees = 1.0471976f;

std::unique_ptr<CBELocalMap> NewMap() { return blocktest::NewDetached<CBELocalMap>(kBeLocalMapClassId); }

// A bench with the local map (and the scan sector) offered, and the map.
struct Rig {
  Rig() {
    EXPECT_TRUE(bench.library.Offer(kBeLocalMapClassId, kMapCaption));
    EXPECT_TRUE(bench.library.Offer(kBeScanSectorClassId, kSectorCaption));
    map = bench.Create<CBELocalMap>(kBeLocalMapClassId);
  }
  // The first sensor becomes a range finder with the worked example's view.
  void UseRangeFinder() {
    map->sensors[0].kind = 0;
    ASSERT_TRUE(map->BuildPins());
  }
  int Input(int k, int which) const { return CBELocalMap::SensorInputIndex(k, which); }
  blocktest::Bench bench;
  blocktest::PayloadScope payloads;
  CBELocalMap* map = nullptr;
};

TEST(LocalMap, IsMadeWithOneScanSectorAndItsPins) {
  std::unique_ptr<CBELocalMap> m = NewMap();
  ASSERT_NE(nullptr, m);
  EXPECT_EQ(200, m->Width());
  EXPECT_EQ(150, m->Height());  // max(30, 75 + 75, 140)
  EXPECT_EQ(blocktest::Costs(1000000, 304114, 545444, false), blocktest::CostsOf(m.get()));
  ASSERT_EQ(1, m->sensorCount);
  const LocalMapSensor& s = m->sensors[0];
  EXPECT_NE(0, s.kind);
  EXPECT_EQ(0.0f, s.x);
  EXPECT_EQ(0.3f, s.y);
  EXPECT_EQ(0.0f, s.angle);
  EXPECT_EQ(kSixtyDegrees, s.fov);
  EXPECT_EQ(0.04f, s.zMin);
  EXPECT_EQ(5.0f, s.zMax);
  EXPECT_EQ(0, m->model.layerCount);
  EXPECT_EQ(0, m->model.zoneCount);
  EXPECT_EQ(2.0f, m->model.frontBound);

  struct Pin {
    const wchar_t* name;
    BeSignalType type;
    const wchar_t* description;
  } expected[] = {
      {L"v", kBeSignalFloat, L"Линейная скорость робота, м/с"},
      {L"w", kBeSignalFloat, L"Скорость поворота робота, rad/с"},
      {L"reset", kBeSignalBit, L"Сброс локальной карты"},
      {L"sector1", kBeSignalScanSector, L"Сектор сканирования стереозрением 1"},
      {L"write_en1", kBeSignalBit,
       L"Разрешение записи показаний с сенсора 1. Не подключен - разрешено всегда"},
      {L"sensorX1", kBeSignalFloat,
       L"Координата X положение сенсора 1 относительно робота [см]. Не подключен - используются из настроек"},
      {L"sensorY1", kBeSignalFloat,
       L"Координата Y положения сенсора 1 относительно робота [см]. Не подключен - используются из настроек"},
      {L"sensorA1", kBeSignalFloat,
       L"Угол поворота сенсора 1 относительно робота [rad]. Не подключен - используются из настроек"},
  };
  ASSERT_EQ(8, m->inputCount);
  for (int i = 0; i < 8; ++i) {
    EXPECT_STREQ(expected[i].name, m->Input(i)->name) << i;
    EXPECT_EQ(expected[i].type, m->Input(i)->type) << i;
    EXPECT_STREQ(expected[i].description, m->Input(i)->description) << i;
  }
  ASSERT_EQ(1, m->outputCount);
  EXPECT_STREQ(L"locmap", m->Output(0)->name);
  EXPECT_EQ(kBeSignalLocalMap, m->Output(0)->type);
  EXPECT_STREQ(L"Локальная карта местности", m->Output(0)->description);
}

TEST(LocalMap, PinsAndHeightFollowTheSensorAndZoneCounts) {
  struct Case {
    int sensors, zones, height;
  } cases[] = {{0, 0, 140}, {1, 0, 150}, {2, 3, 225}, {1, 7, 170}, {0, 10, 230}, {3, 12, 300}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sensors << " sensors, " << c.zones << " zones");
    std::unique_ptr<CBELocalMap> m = NewMap();
    ASSERT_NE(nullptr, m);
    ASSERT_TRUE(m->SetSensorCount(c.sensors));
    ASSERT_TRUE(m->model.SetZoneCount(c.zones));
    // Sensors after the first are range finders (new records are cleared).
    ASSERT_TRUE(m->BuildPins());
    EXPECT_EQ(c.height, m->Height());
    ASSERT_EQ(3 + 5 * c.sensors, m->inputCount);
    ASSERT_EQ(1 + c.zones, m->outputCount);
    for (int k = 1; k < c.sensors; ++k) {
      std::wstring n = std::to_wstring(k + 1);
      const BeInputPin* data = m->Input(CBELocalMap::SensorInputIndex(k, CBELocalMap::kSensorData));
      EXPECT_EQ(L"dist" + n, data->name);
      EXPECT_EQ(kBeSignalAnyScalar, data->type);
      EXPECT_EQ(L"Показание дальномера " + n + L", см", data->description);
      EXPECT_EQ(L"write_en" + n, std::wstring(m->Input(CBELocalMap::SensorInputIndex(k, 1))->name));
      EXPECT_EQ(L"sensorX" + n, std::wstring(m->Input(CBELocalMap::SensorInputIndex(k, 2))->name));
      EXPECT_EQ(L"sensorY" + n, std::wstring(m->Input(CBELocalMap::SensorInputIndex(k, 3))->name));
      EXPECT_EQ(L"sensorA" + n, std::wstring(m->Input(CBELocalMap::SensorInputIndex(k, 4))->name));
    }
    for (int z = 0; z < c.zones; ++z) {
      std::wstring n = std::to_wstring(z + 1);
      const BeOutputPin* out = m->Output(CBELocalMap::ZoneOutputIndex(z));
      EXPECT_EQ(L"zone" + n, std::wstring(out->name));
      EXPECT_EQ(kBeSignalFloat, out->type);
      EXPECT_EQ(L"Кол-во дискрет локальной карты местности в зоне " + n, std::wstring(out->description));
    }
    // Pins spread over the new height.
    EXPECT_GT(m->Input(m->inputCount - 1)->yOffset, m->Height() / 2);
  }
}

TEST(LocalMap, RefusedMemoryLeavesThePinsAsTheyWere) {
  std::unique_ptr<CBELocalMap> m = NewMap();
  ASSERT_NE(nullptr, m);
  ASSERT_TRUE(m->SetSensorCount(2));
  ASSERT_TRUE(m->model.SetZoneCount(2));
  // Refused at every allocation in turn, until the pins can be built.
  bool built = false;
  for (int granted = 0; granted < 100 && !built; ++granted) {
    SCOPED_TRACE(granted);
    {
      CBufferFailureScope refuse(granted);
      built = m->BuildPins();
    }
    if (built) break;
    EXPECT_EQ(8, m->inputCount);
    EXPECT_EQ(1, m->outputCount);
    EXPECT_EQ(150, m->Height());
    EXPECT_STREQ(L"sector1", m->Input(3)->name);
    EXPECT_STREQ(L"Сектор сканирования стереозрением 1", m->Input(3)->description);
  }
  EXPECT_TRUE(built);
  EXPECT_EQ(13, m->inputCount);
  EXPECT_STREQ(L"zone2", m->Output(2)->name);
  EXPECT_FALSE(m->SetSensorCount(256));
  EXPECT_FALSE(m->SetSensorCount(-1));
}

TEST(LocalMap, BeforeAnyReadingThereAreNoLayersAndTheCounterAdvances) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  ASSERT_TRUE(rig.map->model.SetZoneCount(1));
  rig.map->model.zones[0] = LocalMapZone{1u, -1, -1, 1, 1};
  ASSERT_TRUE(rig.map->BuildPins());
  rig.bench.Start();
  std::vector<uint8_t> v = blocktest::ValueBytes(rig.map);
  EXPECT_EQ(0, v[0]);
  EXPECT_EQ(0, v[1]);
  EXPECT_EQ(0x2E, v[2]);
  EXPECT_EQ(0x33, v[3]);
  EXPECT_EQ(&rig.map->model, BeResolvePayload(rig.map->Output(0)->value));
  for (int pass = 1; pass <= 3; ++pass) {
    rig.bench.Pass();
    EXPECT_EQ(pass, rig.map->Output(0)->value[0]);
    EXPECT_EQ(0.0f, blocktest::ReadFloat(rig.map, 1));
  }
  EXPECT_EQ(0, rig.map->model.layerCount);
  // The counter wraps at 16 bits.
  rig.map->Output(0)->value[0] = 0xFF;
  rig.map->Output(0)->value[1] = 0xFF;
  rig.bench.Pass();
  EXPECT_EQ(0, rig.map->Output(0)->value[0]);
  EXPECT_EQ(0, rig.map->Output(0)->value[1]);
}

// The worked example through the block: the range finder's first reading
// of 100 cm.
TEST(LocalMap, ARangeFinderReadingInCentimetresMakesTheFirstLayer) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  rig.UseRangeFinder();
  ASSERT_TRUE(rig.map->model.SetZoneCount(2));
  // Zone 1 holds the arc's middle (1 m ahead of the sensor), zone 2 the walls.
  rig.map->model.zones[0] = LocalMapZone{1u, -0.1f, 1.2f, 0.1f, 1.4f};
  rig.map->model.zones[1] = LocalMapZone{1u, 0.39f, -0.5f, 0.41f, 0.5f};
  ASSERT_TRUE(rig.map->BuildPins());
  blocktest::Source* dist = rig.bench.Source(kBeSignalFloat);
  dist->SetFloat(100.0f);
  rig.bench.Link(dist, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  rig.bench.Pass();
  ASSERT_EQ(1, rig.map->model.layerCount);
  EXPECT_EQ(80, rig.map->model.layers[0].pointCount);
  // The arc's points with x within 0.1: sin(angle) <= 0.1, angle =
  // 1.0471976 (l - 20) / 40, so l from 17 to 23.
  EXPECT_EQ(7.0f, blocktest::ReadFloat(rig.map, 1));
  EXPECT_EQ(20.0f, blocktest::ReadFloat(rig.map, 2));
}

TEST(LocalMap, TheSourceTypeDecidesHowTheReadingIsRead) {
  struct Case {
    BeSignalType type;
    double value;
    bool adds;
  } cases[] = {
      {kBeSignalChar, 100, true},  {kBeSignalChar, -100, false}, {kBeSignalShort, 450, true},
      {kBeSignalInt, 499, true},   {kBeSignalInt, 500, false},   {kBeSignalDouble, 4.5, true},
      {kBeSignalFloat, 4.0, false},  // 4 cm: not above the 0.04 m minimum
      {kBeSignalBit, 1, false},      // 1 cm
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.value);
    Rig rig;
    ASSERT_NE(nullptr, rig.map);
    rig.UseRangeFinder();
    blocktest::Source* dist = rig.bench.Source(c.type);
    dist->Set(c.value);
    rig.bench.LinkAnyway(dist, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
    rig.bench.Pass();
    ASSERT_EQ(1, rig.map->model.layerCount);
    EXPECT_EQ(c.adds ? 80 : 40, rig.map->model.layers[0].pointCount);
  }
  // Another type reads nothing: no layer is made.
  Rig rig;
  rig.UseRangeFinder();
  blocktest::Source* other = rig.bench.Source(kBeSignalVideo);
  rig.bench.LinkAnyway(other, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  rig.bench.Pass();
  EXPECT_EQ(0, rig.map->model.layerCount);
}

TEST(LocalMap, WriteEnableAndThePositionInputs) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  rig.UseRangeFinder();
  blocktest::Source* dist = rig.bench.Source(kBeSignalFloat);
  dist->SetFloat(100.0f);
  rig.bench.Link(dist, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  blocktest::Source* enable = rig.bench.Source(kBeSignalBit);
  enable->SetBit(false);
  rig.bench.Link(enable, 0, rig.map, rig.Input(0, CBELocalMap::kSensorWriteEnable));
  blocktest::Source* x = rig.bench.Source(kBeSignalFloat);
  blocktest::Source* y = rig.bench.Source(kBeSignalFloat);
  blocktest::Source* a = rig.bench.Source(kBeSignalFloat);
  x->SetFloat(10.0f);
  y->SetFloat(50.0f);
  a->SetFloat(-0.5f);
  rig.bench.Link(x, 0, rig.map, rig.Input(0, CBELocalMap::kSensorX));
  rig.bench.Link(y, 0, rig.map, rig.Input(0, CBELocalMap::kSensorY));
  rig.bench.Link(a, 0, rig.map, rig.Input(0, CBELocalMap::kSensorAngle));
  rig.bench.Pass();
  // Not enabled: nothing read, the position kept.
  EXPECT_EQ(0, rig.map->model.layerCount);
  EXPECT_EQ(0.3f, rig.map->sensors[0].y);
  enable->SetBit(true);
  rig.bench.Pass();
  const LocalMapSensor& s = rig.map->sensors[0];
  EXPECT_EQ(0.1f, s.x);
  EXPECT_EQ(0.5f, s.y);
  EXPECT_EQ(-0.5f, s.angle);
  ASSERT_EQ(1, rig.map->model.layerCount);
  // Every wall point lies behind the sensor or far off its axis.
  ASSERT_EQ(80, rig.map->model.layers[0].pointCount);
  // The arc's middle lies 1 m from (0.1, 0.5) along the angle -0.5.
  const LocalMapPoint& middle = rig.map->model.layers[0].points[60];
  EXPECT_NEAR(0.1 + std::sin(-0.5), middle.x, 1e-6);
  EXPECT_NEAR(0.5 + std::cos(-0.5), middle.y, 1e-6);
  // The position stays in the sensor's record.
  std::unique_ptr<CBELocalMap> copy = NewMap();
  ASSERT_TRUE(blocktest::LoadBytes(copy.get(), blocktest::RecordBytes(rig.map)));
  EXPECT_EQ(0.1f, copy->sensors[0].x);
}

TEST(LocalMap, MotionMovesTheMapAndResetPutsTheWallsBack) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  rig.UseRangeFinder();
  blocktest::Source* dist = rig.bench.Source(kBeSignalFloat);
  dist->SetFloat(600.0f);  // beyond the range: only clears
  rig.bench.Link(dist, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  blocktest::Source* v = rig.bench.Source(kBeSignalFloat);
  blocktest::Source* reset = rig.bench.Source(kBeSignalBit);
  rig.bench.Link(v, 0, rig.map, CBELocalMap::kInputV);
  rig.bench.Link(reset, 0, rig.map, CBELocalMap::kInputReset);
  rig.bench.Pass(0.5f);
  ASSERT_EQ(40, rig.map->model.layers[0].pointCount);
  // 1.1 m/s for 0.5 s: every wall point 0.55 m back (y0 = 0.4 ... y19 =
  // -0.36 to -0.15 ... -0.91), all still above the rear bound -1.
  v->SetFloat(1.1f);
  rig.bench.Pass(0.5f);
  ASSERT_EQ(40, rig.map->model.layers[0].pointCount);
  EXPECT_NEAR(-0.15, rig.map->model.layers[0].points[0].y, 1e-6);
  // Once more: only the pairs from y 0.4 to 0.12 (now -0.7 to -0.98) stay.
  rig.bench.Pass(0.5f);
  EXPECT_EQ(16, rig.map->model.layers[0].pointCount);
  reset->SetBit(true);
  rig.bench.Pass(0.5f);
  EXPECT_EQ(40, rig.map->model.layers[0].pointCount);
  EXPECT_EQ(0.4f, rig.map->model.layers[0].points[0].y);
}

// A scan sector block feeds the map: its columns are taken when its counter
// byte changes, and a message that is not a live sector is ignored.
TEST(LocalMap, ScanSectorColumnsAreTakenWhenTheCounterChanges) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  auto* sector = rig.bench.Create<CBEScanSector>(kBeScanSectorClassId);
  ASSERT_NE(nullptr, sector);
  rig.bench.Link(sector, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  rig.bench.Start();
  // Column 20 sees an obstacle 1 m ahead.
  sector->model.slices[0].columns[20] = 1.0f;
  rig.bench.Pass();
  EXPECT_EQ(0, rig.map->model.layerCount);  // counter 0: nothing new
  sector->Output(0)->value[0] = 1;
  rig.bench.Pass();
  ASSERT_EQ(1, rig.map->model.layerCount);
  ASSERT_EQ(41, rig.map->model.layers[0].pointCount);
  EXPECT_EQ(1, rig.map->lastSectorCounter);
  const LocalMapPoint& seen = rig.map->model.layers[0].points[40];
  EXPECT_EQ(0.0f, seen.x);
  EXPECT_FLOAT_EQ(1.3f, seen.y);
  // The same counter again: no new points.
  sector->model.slices[0].columns[10] = 2.0f;
  rig.bench.Pass();
  EXPECT_EQ(41, rig.map->model.layers[0].pointCount);
  // A new scan with two slices: the map takes two layers, cleared.
  ASSERT_TRUE(sector->model.SetSliceCount(2));
  sector->Output(0)->value[0] = 2;
  rig.bench.Pass();
  ASSERT_EQ(2, rig.map->model.layerCount);
  EXPECT_EQ(42, rig.map->model.layers[0].pointCount);
  EXPECT_EQ(40, rig.map->model.layers[1].pointCount);
}

TEST(LocalMap, SectorMessagesWithAnotherTagOrAStaleHandleAreIgnored) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  ScanSectorModel model;
  ASSERT_TRUE(model.SetSliceCount(1));
  BePayloadHandle live = BePayloadTable::Program().Add(&model, &model);
  BePayloadHandle stale = BePayloadTable::Program().Add(&model, &model);
  BePayloadTable::Program().Release(stale);
  blocktest::Source* line = rig.bench.Source(kBeSignalScanSector);
  rig.bench.Link(line, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  line->SetMessage(5, 0x331F, live);
  rig.bench.Pass();
  line->SetMessage(6, kBeScanSectorTag, stale);
  rig.bench.Pass();
  line->SetMessage(7, kBeScanSectorTag, kNoPayload);
  rig.bench.Pass();
  EXPECT_EQ(0, rig.map->model.layerCount);
  EXPECT_EQ(0, rig.map->lastSectorCounter);
  line->SetMessage(7, kBeScanSectorTag, live);
  rig.bench.Pass();
  EXPECT_EQ(1, rig.map->model.layerCount);
  EXPECT_EQ(7, rig.map->lastSectorCounter);
  BePayloadTable::Program().Release(live);
}

TEST(LocalMap, RecordHoldsTheSettingsZonesAndSensorsBeforeTheBase) {
  std::unique_ptr<CBELocalMap> m = NewMap();
  ASSERT_NE(nullptr, m);
  std::vector<uint8_t> record = blocktest::RecordBytes(m.get());
  auto golden = Golden()
                    .F(1.0f).F(2.0f).F(-1.0f)             // half-width, front, rear
                    .B(1).F(0.4f).F(0.4f).F(-0.4f)        // the walls
                    .B(1).F(0.5f).F(0.6f)                 // the robot
                    .B(1)                                 // reserved
                    .B(0)                                 // zones
                    .B(1)                                 // sensors
                    .B(1).F(0).F(0.3f).F(0).F(kSixtyDegrees).F(0.04f).F(5.0f)
                    .Base(BaseRecord::Unlinked(m->rect, 8, 1))
                    .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(record, golden));
  EXPECT_EQ(36u + 1 + 25 + blocktest::BaseRecordBytes(m.get()).size(), record.size());
  blocktest::ExpectTruncationsRefused<CBELocalMap>(kBeLocalMapClassId, record);
}

TEST(LocalMap, RecordsWithZonesAndSensorsLoadWithTheirPins) {
  std::unique_ptr<CBELocalMap> m = NewMap();
  ASSERT_NE(nullptr, m);
  ASSERT_TRUE(m->model.SetZoneCount(2));
  m->model.zones[0] = LocalMapZone{0x80000001u, -0.5f, 0.0f, 0.5f, 1.0f};
  m->model.zones[1] = LocalMapZone{2u, -1.0f, -1.0f, 0.0f, 0.0f};
  ASSERT_TRUE(m->SetSensorCount(3));
  m->sensors[2] = LocalMapSensor{0, 0.1f, 0.2f, 0.3f, 0.4f, 0.05f, 4.0f};
  m->model.halfWidth = 3.0f;
  m->model.virtualWalls = 0;
  ASSERT_TRUE(m->BuildPins());
  std::vector<uint8_t> record = blocktest::RecordBytes(m.get());
  // 35 bytes of settings, the zone count, 2 zones, the sensor count, 3 sensors.
  EXPECT_EQ(35u + 1 + 2 * 20 + 1 + 3 * 25 + blocktest::BaseRecordBytes(m.get()).size(), record.size());
  std::unique_ptr<CBELocalMap> copy = NewMap();
  ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
  EXPECT_EQ(3 + 15, copy->inputCount);
  EXPECT_EQ(3, copy->outputCount);
  EXPECT_EQ(m->Height(), copy->Height());
  EXPECT_STREQ(L"dist3", copy->Input(CBELocalMap::SensorInputIndex(2, 0))->name);
  EXPECT_STREQ(L"zone2", copy->Output(2)->name);
  EXPECT_EQ(0x80000001u, copy->model.zones[0].layerMask);
  EXPECT_EQ(4.0f, copy->sensors[2].zMax);
  EXPECT_EQ(3.0f, copy->model.halfWidth);
  EXPECT_TRUE(velktest::BytesEqual(record, blocktest::RecordBytes(copy.get())));
  blocktest::ExpectTruncationsRefused<CBELocalMap>(kBeLocalMapClassId, record);
  // Refused memory leaves the block as it was.
  std::unique_ptr<CBELocalMap> fresh = NewMap();
  std::vector<uint8_t> before = blocktest::RecordBytes(fresh.get());
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(blocktest::LoadBytes(fresh.get(), record));
  }
  EXPECT_TRUE(velktest::BytesEqual(before, blocktest::RecordBytes(fresh.get())));
  EXPECT_EQ(8, fresh->inputCount);
}

TEST(LocalMap, SchemesWithTheMapGoThroughTheirStream) {
  Rig rig;
  ASSERT_NE(nullptr, rig.map);
  auto* sector = rig.bench.Create<CBEScanSector>(kBeScanSectorClassId);
  ASSERT_NE(nullptr, sector);
  rig.bench.Link(sector, 0, rig.map, rig.Input(0, CBELocalMap::kSensorData));
  std::unique_ptr<BeScheme> copy = rig.bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  std::vector<CBELocalMap*> maps = blocktest::BlocksOf<CBELocalMap>(copy.get());
  ASSERT_EQ(1u, maps.size());
  const BeOutputPin* source = maps[0]->Input(3)->source;
  ASSERT_NE(nullptr, source);
  EXPECT_NE(nullptr, dynamic_cast<CBEScanSector*>(source->owner));
}

TEST(LocalMap, DrawsAGreyFrameItsPictureAndItsName) {
  std::unique_ptr<CBELocalMap> m = NewMap();
  ASSERT_NE(nullptr, m);
  blocktest::Canvas canvas(220, 170);
  EXPECT_TRUE(canvas.Draw(m.get(), 10, 10));
  // 200 x 150 at (10, 10): centre (110, 85).
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), canvas.At(209, 159));
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), canvas.At(20, 20));
  // The picture from (86, 61): its black frame at (3, 3).
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(86 + 3, 61 + 3));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(86 + 10, 61 + 10));
  // The name's ink starts 24 pixels below the centre, under the picture
  // (which ends at 108), centred across the body.
  EXPECT_GT(canvas.Count(20, 85 + 24, 200, 85 + 40, RGB(0, 0, 0)), 20);
  int left = canvas.Count(20, 109, 109, 130, RGB(0, 0, 0)), right = canvas.Count(110, 109, 200, 130, RGB(0, 0, 0));
  EXPECT_GT(left, 5);
  EXPECT_GT(right, 5);
  canvas.Save(L"library_local_map.bmp");
}

TEST(LocalMap, PropertiesOpenTheDialogRegisteredForTheClass) {
  std::unique_ptr<CBELocalMap> b = NewMap();
  ASSERT_NE(nullptr, b);
  blocktest::DialogScope dialogs;
  EXPECT_FALSE(b->ShowProperties());
  static CBEBlock* shown;
  shown = nullptr;
  dialogs.Set(kBeLocalMapClassId, [](CBEBlock* block) {
    shown = block;
    return true;
  });
  EXPECT_TRUE(b->ShowProperties());
  EXPECT_EQ(b.get(), shown);
}

}  // namespace
