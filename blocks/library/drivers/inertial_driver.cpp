#include "blocks/library/drivers/inertial_driver.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/scalar_value.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/simulation/inertial_data.h"

namespace {
const BeSignalType kSignalInertialData = 25;
const BeSignalType kSignalInertialControl = 26;
const float kRequestPeriod = 0.2f;  // seconds, compared in the timer's precision
const wchar_t kDefaultProtocol[] = L"CHR-6dm";

struct OutputRow {
  const wchar_t* name;
  const wchar_t* description;
};
const OutputRow kQuantities[kInertialOutputCount - 1] = {
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

// Which flag sends which quantity to which output.
struct Copy {
  uint16_t flag;
  int output;
  int group;  // 0 accel, 1 rate, 2 magnetic, 3 angles
  int axis;
};
const Copy kCopies[] = {
    {kInertialAccelX, kInertialAx, 0, 0},      {kInertialAccelY, kInertialAy, 0, 1},
    {kInertialAccelZ, kInertialAz, 0, 2},      {kInertialRateX, kInertialWox, 1, 0},
    {kInertialRateY, kInertialWoy, 1, 1},      {kInertialRateZ, kInertialWoz, 1, 2},
    {kInertialMagnetometer, kInertialMagX, 2, 0}, {kInertialMagnetometer, kInertialMagY, 2, 1},
    {kInertialMagnetometer, kInertialMagZ, 2, 2}, {kInertialAngles, kInertialRoll, 3, 0},
    {kInertialAngles, kInertialPitch, 3, 1},   {kInertialAngles, kInertialYaw, 3, 2},
};

float Quantity(const SchInertialData& data, int group, int axis) {
  switch (group) {
    case 0: return data.accel[axis];
    case 1: return data.rate[axis];
    case 2: return data.magnetic[axis];
    default: return data.angles[axis];
  }
}
}  // namespace

CBEInertialDriver::CBEInertialDriver() {
  rect = RECT{0, 0, 190, 195};
  fillColor = RGB(255, 255, 255);
  cycles = 2134;
  rom = 2134;
  SetProtocolName(kDefaultProtocol);
  if (!SetOutputCount(kInertialOutputCount)) return;
  outputs[kInertialCtrl]->type = kSignalInertialControl;
  outputs[kInertialCtrl]->name = L"ctrl";
  outputs[kInertialCtrl]->description = L"Управление, на устройство связи";
  for (int i = 1; i < kInertialOutputCount; ++i) {
    outputs[i]->type = kBeSignalFloat;
    outputs[i]->name = kQuantities[i - 1].name;
    outputs[i]->description = kQuantities[i - 1].description;
  }
  SetInputCount(1);
  inputs[0]->type = kSignalInertialData;
  inputs[0]->name = L"Инер";
  inputs[0]->description = L"Вход от устройства связи";
  inputs[0]->yOffset = outputs[kInertialCtrl]->yOffset;
}

CBEInertialDriver::~CBEInertialDriver() { FreeBuffer(protocolName); }

CBEBlock* CBEInertialDriver::Create() {
  auto* block = new (std::nothrow) CBEInertialDriver;
  // A block whose pins could not be made is of no use.
  if (block && (block->outputCount != kInertialOutputCount || block->inputCount != 1)) {
    delete block;
    return nullptr;
  }
  return block;
}

bool CBEInertialDriver::SetProtocolName(const wchar_t* name) {
  wchar_t* copy = nullptr;
  if (name && *name) {
    copy = DupString(name);
    if (!copy) return false;
  }
  FreeBuffer(protocolName);
  protocolName = copy;
  return true;
}

void CBEInertialDriver::Start() {
  lastRecord = 0;
  requestCounter = 0;
  timer = 0;
}

void CBEInertialDriver::Step(float dt) {
  if (inputCount < 1 || outputCount < kInertialOutputCount) return;
  timer = RoundToFloat(static_cast<double>(timer) + dt);
  if (timer > kRequestPeriod) {
    timer = 0;
    ++requestCounter;
  }
  outputs[kInertialCtrl]->value[0] = requestCounter;

  const BeOutputPin* source = inputs[0]->source;
  if (!source || source->type != kSignalInertialData) return;
  const unsigned char* value = source->value;
  if ((value[1] | (value[2] << 8)) != kInertialRecordMarker || value[0] == lastRecord) return;
  const auto* data = static_cast<const SchInertialData*>(BeResolvePayload(value));
  if (!data) return;
  lastRecord = value[0];
  ++requestCounter;
  for (const Copy& copy : kCopies) {
    if (data->flags & copy.flag) WriteFloatValue(outputs[copy.output]->value, Quantity(*data, copy.group, copy.axis));
  }
}

void CBEInertialDriver::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteStringW(protocolName);
}

bool CBEInertialDriver::Load(CStream* stream) {
  int base = stream->GetPosition();
  if (!SkipBaseRecord(stream, inputCount, outputCount)) return false;
  wchar_t* name = nullptr;
  if (!ReadStringWChecked(stream, &name)) {
    FreeBuffer(name);
    return false;
  }
  if (!LoadBaseRecordAt(this, stream, base)) {
    FreeBuffer(name);
    return false;
  }
  FreeBuffer(protocolName);
  protocolName = name;
  return true;
}

bool CBEInertialDriver::ShowProperties() { return ShowBlockDialog(this, kBeInertialDriverClassId); }
