// The device-list import against a scheme: components created, updated and
// deleted by the list, the board size, the messages, and lists that are cut
// short or damaged.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/import/device_fixture.h"
#include "app/import/device_list.h"
#include "app/import/device_payload.h"
#include "components/devices/device_classes.h"
#include "components/devices/drives/actuator.h"
#include "components/devices/drives/dc_motor.h"
#include "components/devices/drives/ice.h"
#include "components/devices/drives/servo.h"
#include "components/devices/sensors/encoder.h"
#include "components/devices/sensors/limit_switcher.h"
#include "components/devices/sensors/potentiometric.h"
#include "components/electronic/battery.h"
#include "components/electronic/switching/button.h"
#include "foundation/memory_stream.h"
#include "scheme/board/pcb.h"
#include "scheme/model/class_registry.h"

namespace importtest {
namespace {

using Model = DeviceListWriter;

int CountBlocks(SchScheme* scheme) { return scheme->BlockCount(); }

TEST_F(DeviceImportTest, ListedDevicesAreCreatedWithTheirRowsAndTheDatabaseMark) {
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"Кнопка1", "btn ", Model::Model(Ansi(L"КМ2")));
  list.Record(L"B1", "dev ", Model::Model("LP-1", "1:1;"));
  velktest::DialogAnswerer answers(IDOK);
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_EQ(0, answers.Count());
  EXPECT_EQ(2, result.records);
  EXPECT_EQ(2, result.created);
  EXPECT_TRUE(result.Modified());
  ASSERT_EQ(2, CountBlocks(&scheme));

  auto* button = dynamic_cast<CSCHButton*>(scheme.FindBlockByName(L"Кнопка1"));
  ASSERT_NE(nullptr, button);
  EXPECT_STREQ("Button", button->className);
  EXPECT_EQ(Ansi(L"КМ2"), button->model);
  EXPECT_STREQ(L"buttons", button->tableName);
  EXPECT_EQ(2, button->groupCount);
  EXPECT_DOUBLE_EQ(25.0, button->price);
  EXPECT_EQ(kSchBoardPart, button->flags);

  auto* battery = dynamic_cast<CSCHBattery*>(scheme.FindBlockByName(L"B1"));
  ASSERT_NE(nullptr, battery);
  EXPECT_STREQ("Battery", battery->className);
  EXPECT_STREQ("LP-1", battery->model);
  EXPECT_STREQ("1:1;", battery->options);
  EXPECT_FLOAT_EQ(3.7f, battery->nominalVoltage);
  EXPECT_FLOAT_EQ(2.0f, battery->capacity);
  EXPECT_EQ(kSchBoardPart, battery->flags);
  // The catalogue lives only during the import.
  EXPECT_EQ(0, CatalogueTableCount());
}

TEST_F(DeviceImportTest, TheSameListTwiceAddsAndDeletesNothing) {
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"K1", "btn ", Model::Model(Ansi(L"КМ1-1")));
  list.Record(L"B1", "dev ", Model::Model("LP-1"));
  list.Record(L"P1", "PCB ", Model::Board(0.1f, 0.08f));
  Import(&scheme, list.Bytes());
  ASSERT_EQ(3, CountBlocks(&scheme));
  CSCHBlock* k1 = scheme.FindBlockByName(L"K1");
  CSCHBlock* b1 = scheme.FindBlockByName(L"B1");
  CSCHBlock* p1 = scheme.FindBlockByName(L"P1");

  DeviceImportResult again = Import(&scheme, list.Bytes());
  EXPECT_EQ(0, again.created);
  EXPECT_EQ(0, again.deleted);
  EXPECT_EQ(3, again.updated);
  EXPECT_EQ(3, CountBlocks(&scheme));
  EXPECT_EQ(k1, scheme.FindBlockByName(L"K1"));
  EXPECT_EQ(b1, scheme.FindBlockByName(L"B1"));
  EXPECT_EQ(p1, scheme.FindBlockByName(L"P1"));
}

TEST_F(DeviceImportTest, OnlyMarkedComponentsMissingFromTheListAreDeleted) {
  SchScheme scheme;
  CSCHBlock* managed = scheme.CreateBlock("Battery");
  managed->SetName(L"OLD");
  managed->flags = kSchBoardPart;
  CSCHBlock* own = scheme.CreateBlock("Battery");
  own->SetName(L"MINE");
  // A stray unseen mark from a stored file does not make it the list's.
  own->flags = kSchUnseen;
  DeviceListWriter list;
  list.Record(L"K1", "btn ", Model::Model(Ansi(L"КМ1-1")));
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_EQ(1, result.deleted);
  EXPECT_EQ(nullptr, scheme.FindBlockByName(L"OLD"));
  ASSERT_EQ(own, scheme.FindBlockByName(L"MINE"));
  EXPECT_EQ(0, own->flags);
  EXPECT_NE(nullptr, scheme.FindBlockByName(L"K1"));
  EXPECT_EQ(2, CountBlocks(&scheme));
}

TEST_F(DeviceImportTest, AnEmptyListDeletesEveryMarkedComponent) {
  SchScheme scheme;
  scheme.CreateBlock("Battery")->flags = kSchBoardPart;
  scheme.CreateBlock("Battery")->flags = kSchBoardPart;
  CSCHBlock* own = scheme.CreateBlock("Button");
  DeviceImportResult result = Import(&scheme, std::string());
  EXPECT_EQ(2, result.deleted);
  EXPECT_EQ(0, result.records);
  EXPECT_TRUE(result.Modified());
  EXPECT_EQ(own, scheme.blocks);
  EXPECT_EQ(1, CountBlocks(&scheme));
}

TEST_F(DeviceImportTest, AnExistingComponentOfAnotherClassKeepsItsClassAndTakesTheRow) {
  SchScheme scheme;
  CSCHBlock* existing = scheme.CreateBlock("Button");
  existing->SetName(L"M1");
  DeviceListWriter list;
  // Found in the servo table only; the component stays a button.
  list.Record(L"M1", "engn", Model::Model("S-90"));
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_EQ(0, result.created);
  EXPECT_EQ(1, result.updated);
  ASSERT_EQ(existing, scheme.FindBlockByName(L"M1"));
  EXPECT_STREQ("Button", existing->className);
  EXPECT_STREQ("S-90", existing->model);
  EXPECT_STREQ(L"servo", existing->tableName);
  EXPECT_EQ(kSchBoardPart, existing->flags);
  EXPECT_EQ(1, CountBlocks(&scheme));
}

TEST_F(DeviceImportTest, TheBoardIsSizedInMillimetres) {
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"Плата", "PCB ", Model::Board(0.1f, 0.08f));
  Import(&scheme, list.Bytes());
  auto* board = dynamic_cast<CSCH_PCB*>(scheme.FindBlockByName(L"Плата"));
  ASSERT_NE(nullptr, board);
  EXPECT_STREQ("PCB", board->className);
  EXPECT_FLOAT_EQ(100.0f, board->footprintWidth);
  EXPECT_FLOAT_EQ(80.0f, board->footprintLength);
  EXPECT_EQ(kSchBoardPart, board->flags);
}

TEST_F(DeviceImportTest, BoardSizesThatAreNotPositiveNumbersAreSkipped) {
  const float kBad[][2] = {{0.0f, 0.08f}, {-0.1f, 0.08f}, {0.1f, NAN}, {INFINITY, 0.1f}};
  for (const auto& size : kBad) {
    SchScheme scheme;
    DeviceListWriter list;
    list.Record(L"P1", "PCB ", Model::Board(size[0], size[1]));
    Import(&scheme, list.Bytes());
    EXPECT_EQ(0, CountBlocks(&scheme)) << size[0] << " x " << size[1];
  }
}

TEST_F(DeviceImportTest, AnUnknownDeviceModelIsReportedOthersAreSkippedSilently) {
  SchScheme scheme;
  CSCHBlock* kept = scheme.CreateBlock("Battery");
  kept->SetName(L"B9");
  kept->flags = kSchBoardPart;
  kept->SetModel("OLD-MODEL");
  DeviceListWriter list;
  list.Record(L"B9", "dev ", Model::Model("XYZ-404"));
  list.Record(L"K9", "btn ", Model::Model("NONE"));
  list.Record(L"M9", "engn", Model::Model("NONE"));
  velktest::DialogAnswerer answers(IDOK);
  DeviceImportResult result = Import(&scheme, list.Bytes());
  ASSERT_EQ(1, answers.Count());
  EXPECT_EQ(L"Устройство \"XYZ-404\" не найдено.", answers.Texts()[0]);
  EXPECT_EQ(L"Ошибка", answers.Captions()[0]);
  EXPECT_EQ(3, result.records);
  // The named component stays as it was.
  ASSERT_EQ(kept, scheme.FindBlockByName(L"B9"));
  EXPECT_STREQ("OLD-MODEL", kept->model);
  EXPECT_EQ(1, CountBlocks(&scheme));
}

TEST_F(DeviceImportTest, AnUnknownTagIsSkippedByExactlyItsLength) {
  SchScheme scheme;
  DeviceListWriter list;
  // Twelve payload bytes that would read as a record of their own.
  std::string payload = std::string("X") + '\0' + "btn " + std::string(4, '\0') + "ab";
  ASSERT_EQ(12u, payload.size());
  size_t afterUnknown = list.Record(L"Q1", "zzzz", payload);
  EXPECT_EQ(3u + 4 + 4 + 12, afterUnknown);
  list.Record(L"K1", "btn ", Model::Model(Ansi(L"КМ1-1")));
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_EQ(2, result.records);
  EXPECT_FALSE(result.damaged);
  EXPECT_EQ(nullptr, scheme.FindBlockByName(L"X"));
  EXPECT_EQ(nullptr, scheme.FindBlockByName(L"Q1"));
  EXPECT_NE(nullptr, scheme.FindBlockByName(L"K1"));
  EXPECT_EQ(1, CountBlocks(&scheme));
}

TEST_F(DeviceImportTest, AClassWithoutACreatorIsReportedAndNothingElseIsLost) {
  SchScheme scheme;
  CSCHBlock* old = scheme.CreateBlock("Battery");
  old->SetName(L"OLD");
  old->flags = kSchBoardPart;
  DeviceListWriter list;
  list.Record(L"PC", "dev ", Model::Model("PC-1"));     // BOARD_COMPUTER, which has its creator
  list.Record(L"M1", "engn", Model::Model("S-90"));     // servo
  list.Record(L"D1", "dev ", Model::Model(Ansi(L"Д-нет")));  // a class no registry row names
  list.Record(L"B1", "dev ", Model::Model("LP-1"));
  velktest::DialogAnswerer answers(IDOK);
  DeviceImportResult result = Import(&scheme, list.Bytes());
  ASSERT_EQ(1, answers.Count());
  EXPECT_EQ(std::wstring(kVelkUncreatableMessage) + L"\nM1 (servo)\nD1 (NoSuchClass)", answers.Texts()[0]);
  EXPECT_EQ(2u, result.uncreatable.size());
  EXPECT_NE(nullptr, scheme.FindBlockByName(L"B1"));
  EXPECT_NE(nullptr, scheme.FindBlockByName(L"PC"));
  EXPECT_EQ(nullptr, scheme.FindBlockByName(L"OLD"));
  EXPECT_EQ(2, CountBlocks(&scheme));
}

// Once a class gains a creator, its rows create components without any
// change to the import.
CSCHBlock* CreateStandInComputer() { return new CSCHBlock; }

TEST_F(DeviceImportTest, AClassThatGainsACreatorIsCreatedByName) {
  ASSERT_TRUE(g_schClassRegistry.SetCreator("BOARD_COMPUTER", CreateStandInComputer));
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"PC", "dev ", Model::Model("PC-1"));
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_TRUE(result.uncreatable.empty());
  CSCHBlock* computer = scheme.FindBlockByName(L"PC");
  ASSERT_NE(nullptr, computer);
  EXPECT_STREQ("BOARD_COMPUTER", computer->className);
  EXPECT_STREQ(L"computers", computer->tableName);
}

TEST_F(DeviceImportTest, ADistanceSensorOfAnotherClassIsReplacedByTheRowsClass) {
  SchScheme scheme;
  CSCHBlock* wrong = scheme.CreateBlock("Button");
  wrong->SetName(L"D1");
  CSCHBlock* right = scheme.CreateBlock("Battery");
  right->SetName(L"D2");
  CSCHBlock* unchangeable = scheme.CreateBlock("Button");
  unchangeable->SetName(L"D3");
  DeviceListWriter list;
  list.Record(L"D1", "dev ", Model::Model(Ansi(L"ДБ-1")));
  list.Record(L"D2", "dev ", Model::Model(Ansi(L"ДБ-1")));
  // The row's class cannot be created: the old component stays.
  list.Record(L"D3", "dev ", Model::Model(Ansi(L"Д-нет")));
  velktest::DialogAnswerer answers(IDOK);
  Import(&scheme, list.Bytes());
  CSCHBlock* d1 = scheme.FindBlockByName(L"D1");
  ASSERT_NE(nullptr, d1);
  EXPECT_STREQ("Battery", d1->className);
  EXPECT_EQ(right, scheme.FindBlockByName(L"D2"));
  EXPECT_STREQ(L"distance", right->tableName);
  EXPECT_EQ(unchangeable, scheme.FindBlockByName(L"D3"));
  EXPECT_EQ(3, CountBlocks(&scheme));
  EXPECT_EQ(1, answers.Count());
}

// Every cut of a small list: at a record boundary it is a shorter list;
// anywhere else the records before the cut are applied, nothing is deleted
// and the damage is reported.
TEST_F(DeviceImportTest, EveryTruncationEndsTheImportCleanly) {
  DeviceListWriter list;
  std::vector<size_t> ends;
  ends.push_back(list.Record(L"K1", "btn ", Model::Model(Ansi(L"КМ1-1"))));
  ends.push_back(list.Record(L"B1", "dev ", Model::Model("LP-1", "1:0;")));
  ends.push_back(list.Record(L"P1", "PCB ", Model::Board(0.1f, 0.08f)));
  const wchar_t* names[] = {L"K1", L"B1", L"P1"};
  const std::string& full = list.Bytes();
  for (size_t cut = 0; cut <= full.size(); ++cut) {
    SchScheme scheme;
    CSCHBlock* old = scheme.CreateBlock("Battery");
    old->SetName(L"OLD");
    old->flags = kSchBoardPart;
    bool boundary = cut == 0;
    for (size_t end : ends) boundary = boundary || cut == end;
    velktest::DialogAnswerer answers(IDOK);
    DeviceImportResult result = Import(&scheme, full.substr(0, cut));
    EXPECT_EQ(!boundary, result.damaged) << cut;
    int expected = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
      bool whole = ends[i] <= cut;
      EXPECT_EQ(whole, scheme.FindBlockByName(names[i]) != nullptr) << cut << " " << i;
      if (whole) expected++;
    }
    if (boundary) {
      EXPECT_EQ(nullptr, scheme.FindBlockByName(L"OLD")) << cut;
      EXPECT_EQ(0, answers.Count()) << cut;
    } else {
      EXPECT_EQ(old, scheme.FindBlockByName(L"OLD")) << cut;
      EXPECT_EQ(kSchBoardPart, old->flags) << cut;
      expected++;
      ASSERT_EQ(1, answers.Count()) << cut;
      EXPECT_EQ(kVelkDamagedListMessage, answers.Texts()[0]);
    }
    EXPECT_EQ(expected, CountBlocks(&scheme)) << cut;
    for (CSCHBlock* b = scheme.blocks; b; b = b->next) EXPECT_EQ(0, b->flags & kSchUnseen) << cut;
  }
}

TEST_F(DeviceImportTest, NegativeAndOverlongLengthsEndTheListAndDeleteNothing) {
  const int kLengths[] = {-1, -100000, 0x7FFFFFFF, 11};
  for (int length : kLengths) {
    SchScheme scheme;
    CSCHBlock* old = scheme.CreateBlock("Battery");
    old->SetName(L"OLD");
    old->flags = kSchBoardPart;
    DeviceListWriter list;
    list.Record(L"K1", "btn ", Model::Model(Ansi(L"КМ1-1")));
    list.RecordWithLength(L"B1", "dev ", Model::Model("LP-1"), length);  // 6 payload bytes
    list.Record(L"B2", "dev ", Model::Model("LP-1"));
    velktest::DialogAnswerer answers(IDOK);
    DeviceImportResult result = Import(&scheme, list.Bytes());
    if (length == 11) {
      // Still inside the file: the record ends 11 bytes on, in the middle
      // of the next one, whose rest then reads as a damaged record.
      EXPECT_EQ(2, result.records) << length;
    } else {
      EXPECT_EQ(1, result.records) << length;
    }
    EXPECT_TRUE(result.damaged) << length;
    EXPECT_EQ(old, scheme.FindBlockByName(L"OLD")) << length;
    EXPECT_NE(nullptr, scheme.FindBlockByName(L"K1")) << length;
    EXPECT_EQ(1, answers.Count()) << length;
  }
}

// Imported components are stored with their mark and name: a scheme read
// back from its stream takes the same list without any change.
TEST_F(DeviceImportTest, ImportedComponentsRoundTripThroughTheSchemeStream) {
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"K1", "btn ", Model::Model(Ansi(L"КМ2")));
  list.Record(L"B1", "dev ", Model::Model("LP-1", "1:1;"));
  list.Record(L"P1", "PCB ", Model::Board(0.1f, 0.08f));
  Import(&scheme, list.Bytes());
  CMemoryStream stream;
  scheme.Write(&stream, 0);
  stream.Seek(0, 0);
  SchScheme copy;
  ASSERT_TRUE(copy.Read(&stream, 0));
  ASSERT_EQ(3, CountBlocks(&copy));
  for (const wchar_t* name : {L"K1", L"B1", L"P1"}) {
    CSCHBlock* original = scheme.FindBlockByName(name);
    CSCHBlock* read = copy.FindBlockByName(name);
    ASSERT_NE(nullptr, read) << name;
    EXPECT_STREQ(original->className, read->className);
    EXPECT_EQ(kSchBoardPart, read->flags & kSchBoardPart) << name;
  }
  EXPECT_STREQ("1:1;", copy.FindBlockByName(L"B1")->options);
  EXPECT_FLOAT_EQ(100.0f, copy.FindBlockByName(L"P1")->footprintWidth);
  DeviceImportResult again = Import(&copy, list.Bytes());
  EXPECT_EQ(0, again.created);
  EXPECT_EQ(0, again.deleted);
  EXPECT_EQ(3, CountBlocks(&copy));
}

TEST_F(DeviceImportTest, TheRecordReaderStaysInsideTheBytes) {
  DeviceListWriter list;
  list.Record(L"Имя", "jSen", Model::Model("E1") + Model::Board(1.0f, 2.0f));
  const std::string& bytes = list.Bytes();
  CDeviceListReader reader(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  DeviceRecord record;
  ASSERT_EQ(DeviceRecordRead::kRecord, reader.Next(&record));
  EXPECT_EQ(L"Имя", record.name);
  EXPECT_STREQ("jSen", record.tag);
  EXPECT_EQ(4 + 4 + 4, record.payloadStart);
  EXPECT_EQ(4 + 8, record.payloadLength);
  EXPECT_EQ(DeviceRecordRead::kEnd, reader.Next(&record));

  // A key that the payload ends before its terminator stops at the payload.
  const unsigned char payload[] = {'A', 'B', 'C'};
  CDevicePayload fields(payload, 3);
  EXPECT_EQ("ABC", fields.ReadText());
  EXPECT_EQ("", fields.ReadText());
  float value = 5.0f;
  EXPECT_FALSE(fields.ReadFloat(&value));
  EXPECT_EQ(5.0f, value);
}

// The drives of the sample database, placed by a device list once their
// classes have creators.
TEST_F(DeviceImportTest, TheDrivesOfTheSampleDatabaseArePlaced) {
  ASSERT_TRUE(RegisterDeviceComponentCreators());
  browsertest::DatabaseFolders folders(browsertest::SampleDatabaseFolder());
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"M1", "engn", Model::Model("GM25-370", "1:1;"));
  list.Record(L"S1", "engn", Model::Model("MG996R"));
  list.Record(L"A1", "act ", Model::Model("LA-24-200-H"));
  list.Record(L"D1", "ICE ", Model::Model(Ansi(L"Д-245")));
  velktest::DialogAnswerer answers(IDOK);
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_EQ(0, answers.Count());
  EXPECT_EQ(4, result.created);
  EXPECT_TRUE(result.uncreatable.empty());

  auto* motor = dynamic_cast<CSCHDCMotor*>(scheme.FindBlockByName(L"M1"));
  ASSERT_NE(nullptr, motor);
  EXPECT_STREQ(L"dcmotors", motor->tableName);
  EXPECT_EQ(CSCHDCMotor::kSensorEncoderAB, motor->sensorType);  // the option chose the encoder
  EXPECT_EQ(6, motor->pinCount);
  auto* servo = dynamic_cast<CSCHServo*>(scheme.FindBlockByName(L"S1"));
  ASSERT_NE(nullptr, servo);
  EXPECT_STREQ(L"servo", servo->tableName);
  EXPECT_FLOAT_EQ(7.2f, servo->Umax);
  auto* actuator = dynamic_cast<CSCHActuator*>(scheme.FindBlockByName(L"A1"));
  ASSERT_NE(nullptr, actuator);
  EXPECT_EQ(CSCHActuator::kSensorEncoderAB, actuator->sensor);
  EXPECT_FLOAT_EQ(0.2f, actuator->range);
  auto* engine = dynamic_cast<CSCHICE*>(scheme.FindBlockByName(L"D1"));
  ASSERT_NE(nullptr, engine);
  EXPECT_STREQ(L"ICE", engine->tableName);
  EXPECT_EQ(5, engine->pinCount);
  EXPECT_FLOAT_EQ(78000.0f, engine->power);
  for (CSCHBlock* b : {static_cast<CSCHBlock*>(motor), static_cast<CSCHBlock*>(servo),
                       static_cast<CSCHBlock*>(actuator), static_cast<CSCHBlock*>(engine)})
    EXPECT_EQ(kSchBoardPart, b->flags);
}

// The shaft sensors of the sample database, placed by a device list as joint
// sensors from the encoder, potentiometer and limit-switch tables.
TEST_F(DeviceImportTest, TheShaftSensorsOfTheSampleDatabaseArePlaced) {
  ASSERT_TRUE(RegisterDeviceComponentCreators());
  browsertest::DatabaseFolders folders(browsertest::SampleDatabaseFolder());
  SchScheme scheme;
  DeviceListWriter list;
  list.Record(L"E1", "jSen", Model::Model("E6B2-360"));
  list.Record(L"E2", "jSen", Model::Model("ACE-128P"));
  list.Record(L"P1", "jSen", Model::Model("WDD35D4"));
  list.Record(L"K1", "jSen", Model::Model("D2F-L"));
  velktest::DialogAnswerer answers(IDOK);
  DeviceImportResult result = Import(&scheme, list.Bytes());
  EXPECT_EQ(0, answers.Count());
  EXPECT_EQ(4, result.created);
  EXPECT_TRUE(result.uncreatable.empty());
  EXPECT_TRUE(result.unknownModels.empty());

  auto* incremental = dynamic_cast<CSCHEncoder*>(scheme.FindBlockByName(L"E1"));
  ASSERT_NE(nullptr, incremental);
  EXPECT_STREQ(L"encoders", incremental->tableName);
  EXPECT_EQ(360, incremental->N);
  EXPECT_EQ(5, incremental->pinCount);  // ground, A, supply, index, B
  auto* absolute = dynamic_cast<CSCHEncoder*>(scheme.FindBlockByName(L"E2"));
  ASSERT_NE(nullptr, absolute);
  EXPECT_EQ(CSCHEncoder::kTypeAbsoluteSupplied, absolute->Type);
  EXPECT_EQ(10, absolute->pinCount);
  auto* pot = dynamic_cast<CSCHPotentiometric*>(scheme.FindBlockByName(L"P1"));
  ASSERT_NE(nullptr, pot);
  EXPECT_STREQ(L"potentiometric", pot->tableName);
  EXPECT_EQ(5000.0f, pot->R);
  auto* limit = dynamic_cast<CSCHLimitSwitcher*>(scheme.FindBlockByName(L"K1"));
  ASSERT_NE(nullptr, limit);
  EXPECT_STREQ(L"limitswitch", limit->tableName);
  EXPECT_EQ(CSCHLimitSwitcher::kChangeover, limit->tech);
  EXPECT_EQ(3, limit->pinCount);
  for (CSCHBlock* b : {static_cast<CSCHBlock*>(incremental), static_cast<CSCHBlock*>(absolute),
                       static_cast<CSCHBlock*>(pot), static_cast<CSCHBlock*>(limit)})
    EXPECT_EQ(kSchBoardPart, b->flags);
}

}  // namespace
}  // namespace importtest
