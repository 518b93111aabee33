#include "blocks/library/geodesy/nav_controller.h"

#include <cmath>
#include <ctime>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/geodesy/geodesy.h"
#include "blocks/library/geodesy/plane_frame.h"
#include "blocks/library/scalar_value.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "foundation/random.h"
#include "foundation/stream.h"
#include "foundation/vecmath.h"

namespace {
const BeSignalType kSignalNavData = 27;
const BeSignalType kSignalNavControl = 28;
const float kNoDataTime = 2.0f;   // s, PDOP shows no data past it
const float kRequestTime = 3.0f;  // s, a new request past it
const float kStartSinceData = 10.0f;

struct OutputRow {
  const wchar_t* name;
  const wchar_t* description;
};
const OutputRow kGeocentricRows[6] = {
    {L"x", L"Геоцентрическая координата X [м]"}, {L"y", L"Геоцентрическая координата Y [м]"},
    {L"z", L"Геоцентрическая координата Z [м]"}, {L"Vx", L"Скорость по оси X [м/с]"},
    {L"Vy", L"Скорость по оси Y [м/с]"},         {L"Vz", L"Скорость по оси Z [м/с]"},
};
const OutputRow kGeodeticRows[6] = {
    {L"шир", L"Широта [рад]"},
    {L"дол", L"Долгота [рад]"},
    {L"выс", L"Высота над уровнем моря [м]"},
    {L"Vш", L"Скорость по оси широты [м/с]"},
    {L"Vд", L"Скорость по оси долготы [м/с]"},
    {L"Vв", L"Вертикальная скорость [м/с]"},
};
}  // namespace

CBENavController::CBENavController() {
  rect = RECT{0, 0, 150, 150};
  fillColor = 0xFFFFCC;
  cycles = 1800;
  rom = 1200;
  if (!SetOutputCount(kNavOutputCount) || !SetInputCount(1)) return;
  outputs[kNavCtrl]->type = kSignalNavControl;
  outputs[kNavCtrl]->name = L"ctrl";
  outputs[kNavCtrl]->description = L"Управление навигационным приемником. На устройство связи";
  for (int i = kNavPosition0; i <= kNavVelocity2; ++i) outputs[i]->type = kBeSignalDouble;
  outputs[kNavPdop]->type = kBeSignalDouble;
  outputs[kNavPdop]->name = L"PDOP";
  outputs[kNavPdop]->description = L"Полный геометрический фактор от 0 до 1000. Если нет данных, то 1000";
  outputs[kNavTime]->type = kBeSignalInt;
  outputs[kNavTime]->name = L"time";
  outputs[kNavTime]->description = L"Время UTC в секундах с 1 января 1970 г";
  inputs[0]->type = kSignalNavData;
  inputs[0]->name = L"nav";
  inputs[0]->description = L"Навигационные данные с устройства связи";
  inputs[0]->yOffset = outputs[kNavCtrl]->yOffset;
  SetOutputDescriptions();
}

CBEBlock* CBENavController::Create() {
  return KeepIfPinsMade(new (std::nothrow) CBENavController, 1, kNavOutputCount);
}

void CBENavController::SetOutputDescriptions() {
  if (outputCount < kNavOutputCount) return;
  const OutputRow* rows = coordinateSystem == kBeNavGeocentric ? kGeocentricRows : kGeodeticRows;
  for (int i = 0; i < 6; ++i) {
    outputs[kNavPosition0 + i]->name = rows[i].name;
    outputs[kNavPosition0 + i]->description = rows[i].description;
  }
}

void CBENavController::Start() {
  sinceData = kStartSinceData;
  previous[0] = previous[1] = previous[2] = 0;
  hasPrevious = false;
  lastSequence = 0;
  if (outputCount >= kNavOutputCount) {
    outputs[kNavCtrl]->value[0] = 0;
    WriteDoubleValue(outputs[kNavPdop]->value, kBeNavNoData);
  }
  runTime = NextRandom();
}

void CBENavController::Step(float dt) {
  if (inputCount < 1 || outputCount < kNavOutputCount) return;
  sinceData = RoundToFloat(static_cast<double>(sinceData) + dt);
  runTime += dt;
  if (sinceData > kNoDataTime) WriteDoubleValue(outputs[kNavPdop]->value, kBeNavNoData);
  if (sinceData > kRequestTime) {
    sinceData = 0;
    ++outputs[kNavCtrl]->value[0];
  }
  const BeOutputPin* source = inputs[0]->source;
  if (!source || source->type != kSignalNavData) return;
  const unsigned char* value = source->value;
  if ((value[1] | (value[2] << 8)) != kBeNavMessageTag) return;
  const auto* transform = static_cast<const Mat4f*>(BeResolvePayload(value));
  if (!transform) return;
  const float position[3] = {transform->at(3, 0), transform->at(3, 1), transform->at(3, 2)};
  if (value[0] != lastSequence) {
    MakeFix(position, value[3], dt);
    lastSequence = value[0];
  }
  for (int i = 0; i < 3; ++i) previous[i] = position[i];
  hasPrevious = true;
}

void CBENavController::MakeFix(const float* position, unsigned char precision, float dt) {
  double q = precision / 17.0;
  ++outputs[kNavCtrl]->value[0];
  sinceData = 0;
  BePlaneFrame frame = MakePlaneFrame(kBeNavBaseX, kBeNavBaseY, kBeNavBaseZ);

  double x = position[0], y = position[1], z = position[2];
  // Without a position before this one (or time between them) there is no
  // movement to measure.
  double vx = 0, vy = 0, vz = 0;
  if (hasPrevious && dt > 0) {
    vx = (x - previous[0]) / dt;
    vy = (y - previous[1]) / dt;
    vz = (z - previous[2]) / dt;
  }
  const double t = runTime;
  const double k = 0.4 * std::sin(t / 800) + 1.7;
  const double wobble = 0.4 * std::sin(t / 2);
  x += q * k * (std::sin(t / 10 + 0.312) * std::sin(t / 15.3) + wobble) / 2;
  y += q * k * (std::cos(t / 10 + 0.312) * std::sin(t / 15.3) + wobble) / 2;
  z += q * k * (std::sin(t / 11 + 0.752) * std::sin(t / 13.3) + wobble) * 1.5 / 2;
  if (hasPrevious && dt > 0) {
    vx += std::sin(t / 0.3) * k / 50;
    vy += std::cos(t / 0.3) * k / 50;
    vz += std::sin(t / 0.3531) * k / 20;
  }

  double u = z + frame.radius;
  RotatePair(&u, &y, frame.sinLat, frame.cosLat);
  RotatePair(&u, &x, frame.sinLon, frame.cosLon);
  RotatePair(&vz, &vy, frame.sinLat, frame.cosLat);
  RotatePair(&vz, &vx, frame.sinLon, frame.cosLon);
  const double p[3] = {u, x, y};
  const double v[3] = {vz, vx, vy};

  WriteDoubleValue(outputs[kNavPdop]->value, k);
  const uint64_t now = static_cast<uint64_t>(time(nullptr));
  WriteIntegerValue(outputs[kNavTime]->value, kBeSignalInt, static_cast<uint32_t>(now));
  double out[6];
  if (coordinateSystem == kBeNavGeocentric) {
    for (int i = 0; i < 3; ++i) {
      out[i] = p[i];
      out[3 + i] = v[i];
    }
  } else if (coordinateSystem == kBeNavWgs84 || coordinateSystem == kBeNavPz90) {
    bool wgs = coordinateSystem == kBeNavWgs84;
    BeGeodetic g = wgs ? GeocentricToWgs84(p[0], p[1], p[2]) : GeocentricToPz90(p[0], p[1], p[2]);
    BeLocalAxes local = ProjectOnLocalAxes(v[0], v[1], v[2], g.B, g.L, wgs ? kBeWgs84A : kBePz90A,
                                        wgs ? kBeWgs84E2 : kBePz90E2);
    out[0] = g.B;
    out[1] = g.L;
    out[2] = g.H;
    out[3] = local.north;
    out[4] = local.east;
    out[5] = local.up;
  } else {
    return;
  }
  for (int i = 0; i < 6; ++i) WriteDoubleValue(outputs[kNavPosition0 + i]->value, out[i]);
}

void CBENavController::Save(CStream* stream) {
  stream->WriteByte(coordinateSystem);
  CBEBlock::Save(stream);
}

bool CBENavController::Load(CStream* stream) {
  unsigned char system;
  if (!ReadByteChecked(stream, &system) || !BaseRecordFollows(stream, inputCount, outputCount)) return false;
  if (!LoadBaseRecord(this, stream)) return false;
  coordinateSystem = system;
  SetOutputDescriptions();
  return true;
}

void CBENavController::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"Драйвер\nнавигационного\nприемника");
}

bool CBENavController::ShowProperties() { return ShowBlockDialog(this, kBeNavControllerClassId); }
