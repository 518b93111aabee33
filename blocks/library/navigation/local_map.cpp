#include "blocks/library/navigation/local_map.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/block_text.h"
#include "blocks/library/navigation/resource_picture.h"
#include "blocks/library/navigation/scan_sector.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_draw.h"

namespace {
const int kTextChars = 128;
const int kZoneRecordBytes = 20;
const int kSensorRecordBytes = 25;
// Pin texts per sensor (five names, five descriptions) and per zone.
const int kSensorTexts = 2 * CBELocalMap::kInputsPerSensor;
const int kZoneTexts = 2;

struct SensorPinText {
  const wchar_t* name;
  const wchar_t* description;
};
const SensorPinText kRangeData = {L"dist%d", L"Показание дальномера %d, см"};
const SensorPinText kSectorData = {L"sector%d", L"Сектор сканирования стереозрением %d"};
const SensorPinText kSensorPins[CBELocalMap::kInputsPerSensor - 1] = {
    {L"write_en%d", L"Разрешение записи показаний с сенсора %d. Не подключен - разрешено всегда"},
    {L"sensorX%d", L"Координата X положение сенсора %d относительно робота [см]. Не подключен - используются из настроек"},
    {L"sensorY%d", L"Координата Y положения сенсора %d относительно робота [см]. Не подключен - используются из настроек"},
    {L"sensorA%d", L"Угол поворота сенсора %d относительно робота [rad]. Не подключен - используются из настроек"},
};
const BeSignalType kSensorPinTypes[CBELocalMap::kInputsPerSensor - 1] = {kBeSignalBit, kBeSignalFloat, kBeSignalFloat,
                                                                         kBeSignalFloat};

// The block's first sensor.
const LocalMapSensor kFirstSensor = {1, 0.0f, 0.3f, 0.0f, 1.0471976f, 0.04f, 5.0f};

// A heap copy of the format with the 1-based number in place of its "%d";
// null when memory was refused.
wchar_t* NumberedText(const wchar_t* format, int number) {
  wchar_t text[kTextChars];
  _snwprintf(text, kTextChars - 1, format, number);
  text[kTextChars - 1] = 0;
  return DupString(text);
}

// The number an output holds: types 1 and 2 as a signed byte, 3 a signed
// 16-bit value, 4 a 32-bit integer, 5 a float, 6 a double. False for any
// other type.
bool ReadNumber(const BeOutputPin* source, double* number) {
  if (!source) return false;
  switch (source->type) {
    case kBeSignalBit: *number = static_cast<signed char>(source->value[0]); return true;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt:
    case kBeSignalFloat:
    case kBeSignalDouble: *number = ReadScalarValue(source->value, source->type); return true;
    default: return false;
  }
}

// The number a linked input reads (0 when unlinked or of another type).
double InputNumber(const BeInputPin* pin) {
  double number = 0;
  if (!ReadNumber(pin->source, &number)) return 0;
  return number;
}
}  // namespace

CBELocalMap::CBELocalMap() {
  rect = RECT{0, 0, 200, 100};
  cycles = 1000000;
  rom = 304114;
  ram = 545444;
  sharedRoutine = 0;
  model.Init();
  if (SetSensorCount(1)) sensors[0] = kFirstSensor;
  BuildPins();
}

CBELocalMap::~CBELocalMap() {
  // No value may name the map once it is gone.
  BePayloadTable::Program().Release(handle);
  SetInputCount(0);
  SetOutputCount(0);
  FreePinTexts();
  FreeBuffer(sensors);
}

CBEBlock* CBELocalMap::Create() {
  auto* block = new (std::nothrow) CBELocalMap;
  if (block && block->sensorCount != 1) {
    delete block;
    return nullptr;
  }
  return KeepIfPinsMade(block, kFixedInputs + kInputsPerSensor, 1);
}

bool CBELocalMap::SetSensorCount(int n) {
  if (n < 0 || n > kLocalMapMaxSensors) return false;
  if (n == sensorCount) return true;
  auto* resized = static_cast<LocalMapSensor*>(ReallocBuffer(sensors, sizeof(LocalMapSensor) * static_cast<size_t>(n)));
  if (n > 0 && !resized) return false;
  for (int i = sensorCount; i < n; ++i) resized[i] = LocalMapSensor{0, 0, 0, 0, 0, 0, 0};
  sensors = resized;
  sensorCount = n;
  return true;
}

void CBELocalMap::FreePinTexts() {
  for (int i = 0; i < pinTextCount_; ++i) FreeBuffer(pinTexts_[i]);
  FreeBuffer(pinTexts_);
  pinTexts_ = nullptr;
  pinTextCount_ = 0;
}

bool CBELocalMap::BuildPins() { return BuildPinsFor(sensors, sensorCount, model.zoneCount); }

bool CBELocalMap::BuildPinsFor(const LocalMapSensor* list, int count, int zones) {
  // Every text first: a refusal leaves the pins as they were.
  const int textCount = count * kSensorTexts + zones * kZoneTexts;
  wchar_t** texts = nullptr;
  if (textCount > 0) {
    texts = static_cast<wchar_t**>(AllocBuffer(sizeof(wchar_t*) * static_cast<size_t>(textCount)));
    if (!texts) return false;
  }
  bool made = true;
  for (int k = 0; k < count; ++k) {
    wchar_t** own = texts + k * kSensorTexts;
    const SensorPinText& data = list[k].kind ? kSectorData : kRangeData;
    own[0] = NumberedText(data.name, k + 1);
    own[1] = NumberedText(data.description, k + 1);
    for (int p = 0; p < kInputsPerSensor - 1; ++p) {
      own[2 + 2 * p] = NumberedText(kSensorPins[p].name, k + 1);
      own[3 + 2 * p] = NumberedText(kSensorPins[p].description, k + 1);
    }
  }
  for (int z = 0; z < zones; ++z) {
    wchar_t** own = texts + count * kSensorTexts + z * kZoneTexts;
    own[0] = NumberedText(L"zone%d", z + 1);
    own[1] = NumberedText(L"Кол-во дискрет локальной карты местности в зоне %d", z + 1);
  }
  for (int i = 0; i < textCount; ++i) made = made && texts[i];
  RECT was = rect;
  int height = zones * 20 + 30;
  if (count * 75 + 75 > height) height = count * 75 + 75;
  if (height < 140) height = 140;
  rect.bottom = rect.top + height;
  const int oldInputs = inputCount;
  if (made && !SetInputCount(kFixedInputs + count * kInputsPerSensor)) made = false;
  if (made && !SetOutputCount(1 + zones)) {
    SetInputCount(oldInputs);
    made = false;
  }
  if (!made) {
    rect = was;
    SpreadInputs();
    SpreadOutputs();
    for (int i = 0; i < textCount; ++i) FreeBuffer(texts[i]);
    FreeBuffer(texts);
    return false;
  }
  static const struct {
    const wchar_t* name;
    BeSignalType type;
    const wchar_t* description;
  } kFixed[kFixedInputs] = {
      {L"v", kBeSignalFloat, L"Линейная скорость робота, м/с"},
      {L"w", kBeSignalFloat, L"Скорость поворота робота, rad/с"},
      {L"reset", kBeSignalBit, L"Сброс локальной карты"},
  };
  for (int i = 0; i < kFixedInputs; ++i) {
    inputs[i]->name = kFixed[i].name;
    inputs[i]->type = kFixed[i].type;
    inputs[i]->description = kFixed[i].description;
  }
  for (int k = 0; k < count; ++k) {
    wchar_t** own = texts + k * kSensorTexts;
    BeInputPin* data = inputs[SensorInputIndex(k, kSensorData)];
    data->type = list[k].kind ? kBeSignalScanSector : kBeSignalAnyScalar;
    data->name = own[0];
    data->description = own[1];
    for (int p = 0; p < kInputsPerSensor - 1; ++p) {
      BeInputPin* pin = inputs[SensorInputIndex(k, kSensorWriteEnable + p)];
      pin->type = kSensorPinTypes[p];
      pin->name = own[2 + 2 * p];
      pin->description = own[3 + 2 * p];
    }
  }
  outputs[0]->type = kBeSignalLocalMap;
  outputs[0]->name = L"locmap";
  outputs[0]->description = L"Локальная карта местности";
  for (int z = 0; z < zones; ++z) {
    wchar_t** own = texts + count * kSensorTexts + z * kZoneTexts;
    BeOutputPin* pin = outputs[ZoneOutputIndex(z)];
    pin->type = kBeSignalFloat;
    pin->name = own[0];
    pin->description = own[1];
  }
  SpreadInputs();
  SpreadOutputs();
  FreePinTexts();
  pinTexts_ = texts;
  pinTextCount_ = textCount;
  return true;
}

void CBELocalMap::Start() {
  lastSectorCounter = 0;
  model.Reset();
  if (outputCount >= 1) {
    BePayloadTable& table = BePayloadTable::Program();
    // The handle of an earlier run went stale when its scheme stopped.
    if (!table.Resolve(handle)) handle = table.Add(&model, this);
    unsigned char* value = outputs[0]->value;
    value[0] = 0;
    value[1] = 0;
    value[2] = kBeLocalMapTag & 0xFF;
    value[3] = kBeLocalMapTag >> 8;
    BePutPayloadHandle(value, handle);
  }
  CBEBlock::Start();
}

void CBELocalMap::StepSensor(LocalMapSensor* sensor, BeInputPin* const* pins) {
  const BeOutputPin* source = pins[kSensorData]->source;
  if (!source) return;
  if (pins[kSensorWriteEnable]->source && InputNumber(pins[kSensorWriteEnable]) == 0) return;
  if (pins[kSensorX]->source) sensor->x = RoundToFloat(InputNumber(pins[kSensorX]) / 100);
  if (pins[kSensorY]->source) sensor->y = RoundToFloat(InputNumber(pins[kSensorY]) / 100);
  if (pins[kSensorAngle]->source) sensor->angle = RoundToFloat(InputNumber(pins[kSensorAngle]));
  double reading = 0;
  if (ReadNumber(source, &reading)) {
    model.AddRangeReading(sensor->x, sensor->y, sensor->angle, RoundToFloat(reading / 100), sensor->fov, sensor->zMin,
                          sensor->zMax);
    return;
  }
  if (source->type != kBeSignalScanSector) return;
  const unsigned char* value = source->value;
  if ((value[1] | (value[2] << 8)) != kBeScanSectorTag || value[0] == lastSectorCounter) return;
  const auto* sector = static_cast<const ScanSectorModel*>(BeResolvePayload(value));
  if (!sector) return;
  lastSectorCounter = value[0];
  model.AddScanSector(sensor->x, sensor->y, sensor->angle, *sector);
}

void CBELocalMap::Step(float dt) {
  if (inputCount != kFixedInputs + sensorCount * kInputsPerSensor || outputCount != 1 + model.zoneCount) return;
  if (inputs[kInputReset]->source && InputNumber(inputs[kInputReset]) != 0) {
    model.Reset();
  } else {
    model.Shift(RoundToFloat(InputNumber(inputs[kInputV]) * dt), RoundToFloat(InputNumber(inputs[kInputW]) * dt));
  }
  for (int k = 0; k < sensorCount; ++k) StepSensor(&sensors[k], inputs + SensorInputIndex(k, kSensorData));
  for (int z = 0; z < model.zoneCount; ++z)
    WriteFloatValue(outputs[ZoneOutputIndex(z)]->value, static_cast<float>(model.CountZonePoints(z)));
  unsigned char* value = outputs[0]->value;
  unsigned counter = (value[0] | (value[1] << 8)) + 1;
  value[0] = counter & 0xFF;
  value[1] = (counter >> 8) & 0xFF;
}

void CBELocalMap::Save(CStream* stream) {
  const LocalMapModel& m = model;
  stream->Write(&m.halfWidth, 4);
  stream->Write(&m.frontBound, 4);
  stream->Write(&m.rearBound, 4);
  stream->WriteByte(m.virtualWalls);
  stream->Write(&m.wallX, 4);
  stream->Write(&m.wallYStart, 4);
  stream->Write(&m.wallYEnd, 4);
  stream->WriteByte(m.showRobot);
  stream->Write(&m.robotWidth, 4);
  stream->Write(&m.robotLength, 4);
  stream->WriteByte(m.reserved);
  stream->WriteByte(m.zoneCount);
  for (int z = 0; z < m.zoneCount; ++z) {
    const LocalMapZone& zone = m.zones[z];
    stream->WriteInt32(static_cast<int>(zone.layerMask));
    stream->Write(&zone.xMin, 4);
    stream->Write(&zone.yMin, 4);
    stream->Write(&zone.xMax, 4);
    stream->Write(&zone.yMax, 4);
  }
  stream->WriteByte(sensorCount);
  for (int k = 0; k < sensorCount; ++k) {
    const LocalMapSensor& s = sensors[k];
    stream->WriteByte(s.kind);
    stream->Write(&s.x, 4);
    stream->Write(&s.y, 4);
    stream->Write(&s.angle, 4);
    stream->Write(&s.fov, 4);
    stream->Write(&s.zMin, 4);
    stream->Write(&s.zMax, 4);
  }
  CBEBlock::Save(stream);
}

bool CBELocalMap::Load(CStream* stream) {
  float halfWidth, frontBound, rearBound, wallX, wallYStart, wallYEnd, robotWidth, robotLength;
  unsigned char walls, showRobot, reserved, zones, count;
  if (!ReadFloatChecked(stream, &halfWidth) || !ReadFloatChecked(stream, &frontBound) ||
      !ReadFloatChecked(stream, &rearBound) || !ReadByteChecked(stream, &walls) || !ReadFloatChecked(stream, &wallX) ||
      !ReadFloatChecked(stream, &wallYStart) || !ReadFloatChecked(stream, &wallYEnd) ||
      !ReadByteChecked(stream, &showRobot) || !ReadFloatChecked(stream, &robotWidth) ||
      !ReadFloatChecked(stream, &robotLength) || !ReadByteChecked(stream, &reserved) || !ReadByteChecked(stream, &zones))
    return false;
  if (BytesLeft(stream) < zones * kZoneRecordBytes + 1) return false;
  LocalMapZone* zoneList = nullptr;
  if (zones > 0) {
    zoneList = static_cast<LocalMapZone*>(AllocBuffer(sizeof(LocalMapZone) * zones));
    if (!zoneList) return false;
  }
  for (int z = 0; z < zones; ++z) {
    LocalMapZone& zone = zoneList[z];
    ReadUInt32Checked(stream, &zone.layerMask);
    ReadFloatChecked(stream, &zone.xMin);
    ReadFloatChecked(stream, &zone.yMin);
    ReadFloatChecked(stream, &zone.xMax);
    ReadFloatChecked(stream, &zone.yMax);
  }
  ReadByteChecked(stream, &count);
  LocalMapSensor* list = nullptr;
  bool fits = BytesLeft(stream) >= count * kSensorRecordBytes;
  if (fits && count > 0) {
    list = static_cast<LocalMapSensor*>(AllocBuffer(sizeof(LocalMapSensor) * count));
    fits = list != nullptr;
  }
  for (int k = 0; fits && k < count; ++k) {
    LocalMapSensor& s = list[k];
    ReadByteChecked(stream, &s.kind);
    ReadFloatChecked(stream, &s.x);
    ReadFloatChecked(stream, &s.y);
    ReadFloatChecked(stream, &s.angle);
    ReadFloatChecked(stream, &s.fov);
    ReadFloatChecked(stream, &s.zMin);
    ReadFloatChecked(stream, &s.zMax);
  }
  // The base record, last, holds the links of the pins these counts make.
  if (!fits || !BaseRecordFollows(stream, kFixedInputs + count * kInputsPerSensor, 1 + zones)) {
    FreeBuffer(zoneList);
    FreeBuffer(list);
    return false;
  }
  // The pins first (they may be refused); the old sensors come back when
  // the base record cannot be kept.
  if (!BuildPinsFor(list, count, zones)) {
    FreeBuffer(zoneList);
    FreeBuffer(list);
    return false;
  }
  if (!LoadBaseRecord(this, stream)) {
    FreeBuffer(zoneList);
    FreeBuffer(list);
    BuildPins();
    return false;
  }
  LocalMapModel& m = model;
  m.halfWidth = halfWidth;
  m.frontBound = frontBound;
  m.rearBound = rearBound;
  m.virtualWalls = walls;
  m.wallX = wallX;
  m.wallYStart = wallYStart;
  m.wallYEnd = wallYEnd;
  m.showRobot = showRobot;
  m.robotWidth = robotWidth;
  m.robotLength = robotLength;
  m.reserved = reserved;
  FreeBuffer(m.zones);
  m.zones = zoneList;
  m.zoneCount = zones;
  FreeBuffer(sensors);
  sensors = list;
  sensorCount = count;
  return true;
}

void CBELocalMap::Draw(HDC dc) {
  Draw3DFrameRect(dc, &rect, 0xCCCCCC, 0xFFFFFF, 0x999999);
  DrawResourcePictureCentred(dc, rect, kBeLocalMapPicture);
  const wchar_t kText[] = L"LocalMap";
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, kText, static_cast<int>(wcslen(kText)), &size);
  DrawBlockText(dc, (rect.left + rect.right - size.cx) / 2, (rect.top + rect.bottom) / 2 + 24, kText);
}

bool CBELocalMap::ShowProperties() { return ShowBlockDialog(this, kBeLocalMapClassId); }
