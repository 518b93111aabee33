#include "blocks/library/navigation/video_navigation.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/base_record.h"
#include "blocks/library/navigation/normalize_angle.h"
#include "blocks/library/scalar_value.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/parts/camera_frame.h"

const wchar_t kVideoNavigationPicture[] = L"videonavigationicon.bmp";

namespace {
const int kWidth = 200;
const int kBaseHeight = 220;
const int kHeightPerFinder = 30;
const int kPictureX = 50, kPictureY = 20;
const int kFixedInputs = 12;        // with "obs"
const int kFixedOutputs = 10;       // since version 3
const int kOldFixedOutputs = 9;     // versions 1 and 2: no "pathY"
const int kDefaultFinders = 3;

// Manual correction: the speeds of "man_dX" and "man_dY" move the pose ten
// times as far; a released turn snaps to the nearest axis within 0.1 rad.
const double kManualScale = 10.0;
const double kSnap = 0.1;
const double kHalfPi = 1.5707963267948966;
const float kSnappedHalfPi = 1.5707964f;
const float kSnappedPiEdge = 3.0415928f;
const float kSnappedPi = 3.1415927f;
// An obstacle is marked this many radii ahead of the robot.
const double kObstacleAhead = 1.05;

const struct {
  const wchar_t* name;
  BeSignalType type;
  const wchar_t* description;
} kInputs[CBEVideoNavigation::kInFirstFinder] = {
    {L"cam", kBeSignalVideo, L"Вход с камеры"},
    {L"Vx", kBeSignalFloat, L"Скорость вдоль локальной оси X робота (см/сек)"},
    {L"Vy", kBeSignalFloat, L"Скорость вдоль локальной оси Y робота (см/сек)"},
    {L"ω", kBeSignalFloat, L"Скорость поворота робота по азимуту (рад/сек)"},
    {L"mode", kBeSignalChar,
     L"Режим: 0 - без навигации; 1 - движение; 2 - запись; 3 - коррекция; 4 - запись без блоировки поворота"},
    {L"placeID", kBeSignalInt, L"Идентификатор целевой точки для прокладки пути или 0"},
    {L"addPlace", kBeSignalBit, L"По переднему фронту добавить новое место на карте"},
    {L"man_dX", kBeSignalFloat,
     L"Вход для ручного управления положением робота на карте по оси X в мировой СК (см./сек)"},
    {L"man_dY", kBeSignalFloat,
     L"Вход для ручного управления положением робота на карте по оси Y в мировой СК (см./сек)"},
    {L"man_dA", kBeSignalFloat, L"Вход для ручного управления углом поворота робота на карте (рад/сек)"},
    {L"clear", kBeSignalBit, L"Сброс карты"},
};
const wchar_t kFinderInputDescription[] = L"Показание дальномера (см)";
const wchar_t kObstacleName[] = L"obs";
const wchar_t kObstacleDescription[] = L"Создать препятствие прямо по курсу";

const struct {
  const wchar_t* name;
  BeSignalType type;
  const wchar_t* description;
} kOutputs[kFixedOutputs] = {
    {L"globalMap", kBeSignalGlobalMap, L"Глобальная карта"},
    {L"robotLost", kBeSignalBit, L"Робот потерялся"},
    {L"robotX", kBeSignalFloat, L"Координата робота по оси X [см]"},
    {L"robotY", kBeSignalFloat, L"Координата робота по оси Y [см]"},
    {L"robotA", kBeSignalFloat, L"Азимут робота по карте (рад)"},
    {L"placeID", kBeSignalInt, L"Идентификатор последнего добавленного места"},
    {L"targetDist", kBeSignalFloat,
     L"Расстояние до конечной целевой точки пути [см] или -1, если путь не проложен"},
    {L"pathA", kBeSignalFloat, L"Пеленг на промежуточную точку пути (рад) (если targetDist >= 0.0)"},
    {L"pathX", kBeSignalFloat,
     L"Проекция направления на промежуточную точку пути на локальную ось X робота (если targetDist >= 0.0)"},
    {L"pathY", kBeSignalFloat,
     L"Проекция направления на промежуточную точку пути на локальную ось Y робота (если targetDist >= 0.0)"},
};
const wchar_t kWallDescription[] = L"Зарегистрирована ли данным дальномером стена на карте";

// The default range finders: left, right and ahead.
const struct {
  double x, y, angle;
} kDefaultFinderPlaces[kDefaultFinders] = {
    {-20, 0, -1.5707963267948966},
    {20, 0, 1.5707963267948966},
    {0, 20, 0},
};
const double kDefaultSearchAngle = 0.5235987755982988;  // 30 degrees
const double kDefaultSearchDistance = 10.0;
const double kDefaultMaxRange = 95.0;

// The class picture, loaded once for the whole program.
CKestImage& NavigationPicture() {
  static CKestImage image;
  return image;
}

int FixedOutputsOf(int version) { return version > 2 ? kFixedOutputs : kOldFixedOutputs; }

// The finder's "isWall" output name, whatever the name's length.
void NameWallOutput(NavRangeFinder* f) {
  f->name[kNavFinderNameChars] = 0;
  _snwprintf(f->wallOutputName, kNavWallOutputNameChars, L"isWall_%ls", f->name);
  f->wallOutputName[kNavWallOutputNameChars - 1] = 0;
}

void WriteDouble(CStream* stream, double v) { stream->Write(&v, 8); }

// A field of the record that may be used: a finite number, not negative.
bool IsUsableParameter(double v) { return std::isfinite(v) && v >= 0; }

// The record's fields other than the base record, as read.
struct NavRecord {
  unsigned char version = 0;
  int finderCount = 0;
  NavRangeFinder* finders = nullptr;  // FreeBuffer
  double drawingScale = 0, lifeTime = 0, radius = 0;
  wchar_t* fileName = nullptr;  // FreeBuffer; null for none
  int baseAt = 0;
  double searchRange = 0, nearZone = 0, accuracy = 0;

  NavRecord() {}
  ~NavRecord() {
    FreeBuffer(finders);
    FreeBuffer(fileName);
  }
  NavRecord(const NavRecord&) = delete;
  NavRecord& operator=(const NavRecord&) = delete;
};

bool ReadFinder(CStream* stream, NavRangeFinder* f) {
  memset(f, 0, sizeof(*f));
  if (!ReadDoubleChecked(stream, &f->x) || !ReadDoubleChecked(stream, &f->y) ||
      !ReadDoubleChecked(stream, &f->angle) || !ReadDoubleChecked(stream, &f->searchAngle) ||
      !ReadDoubleChecked(stream, &f->searchDistance) || !ReadDoubleChecked(stream, &f->maxRange) ||
      !ReadByteChecked(stream, &f->colour) || !ReadExact(stream, f->name, 2 * kNavFinderNameChars))
    return false;
  // Mounting and ranges must be numbers; a maximum range of infinity is
  // a finder that trusts every reading.
  if (!std::isfinite(f->x) || !std::isfinite(f->y) || !std::isfinite(f->angle) ||
      !IsUsableParameter(f->searchAngle) || !IsUsableParameter(f->searchDistance) ||
      std::isnan(f->maxRange) || f->maxRange < 0)
    return false;
  NameWallOutput(f);
  return true;
}

// Reads and checks the whole record; the stream ends up after it. The
// base record is measured against the pins of the record's version.
bool ReadNavRecord(CStream* stream, NavRecord* r) {
  if (!ReadByteChecked(stream, &r->version) || r->version < 1 || r->version > CBEVideoNavigation::kVersion)
    return false;
  if (!ReadInt32Checked(stream, &r->finderCount) || r->finderCount < 0 ||
      r->finderCount > CBEVideoNavigation::kMaxFinders)
    return false;
  // Each finder takes 69 bytes: a count beyond what is left is a cut record.
  if (static_cast<long long>(r->finderCount) * 69 > BytesLeft(stream)) return false;
  if (r->finderCount > 0) {
    r->finders = static_cast<NavRangeFinder*>(AllocBuffer(sizeof(NavRangeFinder) * r->finderCount));
    if (!r->finders) return false;
    for (int i = 0; i < r->finderCount; ++i)
      if (!ReadFinder(stream, &r->finders[i])) return false;
  }
  if (!ReadDoubleChecked(stream, &r->drawingScale) || !ReadDoubleChecked(stream, &r->lifeTime) ||
      !ReadDoubleChecked(stream, &r->radius) || !IsUsableParameter(r->drawingScale) ||
      !IsUsableParameter(r->lifeTime) || !IsUsableParameter(r->radius))
    return false;
  if (!ReadStringWChecked(stream, &r->fileName)) return false;
  r->baseAt = stream->GetPosition();
  const int base = MeasureBaseRecord(stream, r->finderCount + kFixedInputs,
                                     r->finderCount + FixedOutputsOf(r->version));
  if (base < 0) return false;
  stream->Seek(r->baseAt + base, 0);
  return ReadDoubleChecked(stream, &r->searchRange) && ReadDoubleChecked(stream, &r->nearZone) &&
         ReadDoubleChecked(stream, &r->accuracy) && IsUsableParameter(r->searchRange) &&
         IsUsableParameter(r->nearZone) && IsUsableParameter(r->accuracy);
}

// The linked input's value as a number; false when it is not linked.
bool ReadInput(const CBEBlock* block, int i, double* v) {
  const BeInputPin* pin = block->Input(i);
  if (!pin || !pin->source) return false;
  const BeOutputPin* source = pin->source;
  *v = source->type == kBeSignalBit ? source->value[0] : ReadScalarValue(source->value, source->type);
  return true;
}

double InputOrZero(const CBEBlock* block, int i) {
  double v = 0;
  return ReadInput(block, i, &v) && std::isfinite(v) ? v : 0.0;
}

// A released manual turn leaves the heading on the nearest axis within
// 0.1 rad of it.
double SnapHeading(double a) {
  a = NormalizeAngle(a);
  if (std::fabs(a) < kSnap) return 0;
  if (std::fabs(a - kHalfPi) < kSnap) return kSnappedHalfPi;
  if (std::fabs(a + kHalfPi) < kSnap) return -kSnappedHalfPi;
  if (a > kSnappedPiEdge || a < -kSnappedPiEdge) return kSnappedPi;
  return a;
}
}  // namespace

CBEVideoNavigation::CBEVideoNavigation() {
  rect = RECT{0, 0, kWidth, kBaseHeight};
  SetCaption(L"Визуальная навигация");
  fillColor = 0x00FF00;
  cycles = 500000;
  rom = 20000;
  ram = 10000000;
  map_ = new (std::nothrow) NavMap;
  if (!map_ || !map_->SetRangeFinderCount(kDefaultFinders)) return;
  for (int i = 0; i < kDefaultFinders; ++i) {
    NavRangeFinder& f = map_->rangeFinders[i];
    f.x = kDefaultFinderPlaces[i].x;
    f.y = kDefaultFinderPlaces[i].y;
    f.angle = kDefaultFinderPlaces[i].angle;
    f.searchAngle = kDefaultSearchAngle;
    f.searchDistance = kDefaultSearchDistance;
    f.maxRange = kDefaultMaxRange;
    f.colour = static_cast<unsigned char>(i);
    _snwprintf(f.name, kNavFinderNameChars, L"dist%d", i + 1);
    NameWallOutput(&f);
  }
  BuildPins(kVersion);
}

CBEVideoNavigation::~CBEVideoNavigation() { NavMap::Delete(map_); }

CBEBlock* CBEVideoNavigation::Create() {
  auto* block = new (std::nothrow) CBEVideoNavigation;
  // A block without its map or pins is of no use.
  if (block && (!block->map_ || block->inputCount != kFixedInputs + kDefaultFinders)) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBEVideoNavigation::NamePins(int fixedOutputs) {
  const int r = map_->rangeFinderCount;
  for (int i = 0; i < kInFirstFinder; ++i) {
    inputs[i]->name = kInputs[i].name;
    inputs[i]->type = kInputs[i].type;
    inputs[i]->description = kInputs[i].description;
  }
  for (int i = 0; i < r; ++i) {
    inputs[kInFirstFinder + i]->name = map_->rangeFinders[i].name;
    inputs[kInFirstFinder + i]->type = kBeSignalFloat;
    inputs[kInFirstFinder + i]->description = kFinderInputDescription;
  }
  BeInputPin* obstacle = inputs[kInFirstFinder + r];
  obstacle->name = kObstacleName;
  obstacle->type = kBeSignalBit;
  obstacle->description = kObstacleDescription;
  for (int i = 0; i < fixedOutputs; ++i) {
    outputs[i]->name = kOutputs[i].name;
    outputs[i]->type = kOutputs[i].type;
    outputs[i]->description = kOutputs[i].description;
  }
  for (int i = 0; i < r; ++i) {
    BeOutputPin* wall = outputs[fixedOutputs + i];
    NameWallOutput(&map_->rangeFinders[i]);
    wall->name = map_->rangeFinders[i].wallOutputName;
    wall->type = kBeSignalBit;
    wall->description = kWallDescription;
  }
}

bool CBEVideoNavigation::InsertPathY() {
  // The outputs of an old record (nine fixed, then the wall flags) get one
  // more, moved from the end to index 9.
  const int n = outputCount;
  if (n < kOldFixedOutputs || !SetOutputCount(n + 1)) return false;
  BeOutputPin* added = outputs[n];
  for (int k = n; k > kOutPathY; --k) outputs[k] = outputs[k - 1];
  outputs[kOutPathY] = added;
  fixedOutputs_ = kFixedOutputs;
  return true;
}

bool CBEVideoNavigation::BuildPins(int version) {
  if (!map_) return false;
  const int r = map_->rangeFinderCount;
  const int fixedOutputs = FixedOutputsOf(version);
  const int needInputs = r + kFixedInputs, needOutputs = r + fixedOutputs;
  const int oldInputs = inputCount, oldFixed = fixedOutputs_;
  // What needs memory comes first, so that a refusal can be undone by
  // shrinking, which never fails. Nine fixed outputs growing to ten:
  // "pathY" is inserted, so the wall flags keep their pins (and links).
  bool ok = needInputs <= inputCount || SetInputCount(needInputs);
  bool inserted = false;
  if (ok && fixedOutputs_ == kOldFixedOutputs && fixedOutputs == kFixedOutputs) ok = inserted = InsertPathY();
  if (ok && needOutputs > outputCount) ok = SetOutputCount(needOutputs);
  if (!ok) {
    if (inserted) {
      BeOutputPin* added = outputs[kOutPathY];
      for (int k = kOutPathY; k < outputCount - 1; ++k) outputs[k] = outputs[k + 1];
      outputs[outputCount - 1] = added;
      SetOutputCount(outputCount - 1);
      fixedOutputs_ = oldFixed;
    }
    SetInputCount(oldInputs);
    return false;
  }
  SetInputCount(needInputs);
  SetOutputCount(needOutputs);
  fixedOutputs_ = fixedOutputs;
  rect.bottom = rect.top + kBaseHeight + kHeightPerFinder * r;
  SpreadInputs();
  SpreadOutputs();
  NamePins(fixedOutputs);
  return true;
}

void CBEVideoNavigation::Step(float dt) {
  if (!map_ || inputCount != map_->rangeFinderCount + kFixedInputs) return;
  const int r = map_->rangeFinderCount;

  // A new camera frame (type 22, our tag, a live record, a new counter).
  const Mat4f* camera = nullptr;
  const BeOutputPin* cam = inputs[kInCamera]->source;
  if (cam && cam->type == kBeSignalVideo) {
    const unsigned char* v = cam->value;
    const unsigned short tag = static_cast<unsigned short>(v[1] | (v[2] << 8));
    if (tag == kSchCameraFrameTag && BeGetPayloadHandle(v) != kNoPayload && v[0] != lastFrame) {
      lastFrame = v[0];
      const auto* frame = static_cast<const SchCameraFrame*>(BeResolvePayload(v));
      if (frame) camera = &frame->world;
    }
  }

  const double vx = InputOrZero(this, kInVx);
  const double vy = InputOrZero(this, kInVy);
  const double w = InputOrZero(this, kInTurn);
  if (inputs[kInMode]->source) map_->mode = inputs[kInMode]->source->value[0];
  map_->Step(camera, vx, vy, w, dt);

  double value = 0;
  if (ReadInput(this, kInPlaceId, &value)) {
    const int id = TruncateToInt32(value);
    if (id != map_->targetPlaceId) map_->PlanRouteToPlace(id);
  }
  if (ReadInput(this, kInAddPlace, &value)) {
    if (value != 0 && lastAddPlace == 0) {
      map_->lastPlaceId++;
      map_->AddPlace(map_->x, map_->y, map_->angle, map_->lastPlaceId);
    }
    lastAddPlace = value;
  }

  // Manual correction of the pose.
  if (std::isfinite(dt)) {
    map_->x += InputOrZero(this, kInManualX) * dt * kManualScale;
    map_->y += InputOrZero(this, kInManualY) * dt * kManualScale;
    const double turn = InputOrZero(this, kInManualA);
    map_->angle += turn * dt;
    if (std::fabs(turn) > 0) {
      manualTurn = true;
    } else if (manualTurn) {
      manualTurn = false;
      map_->angle = SnapHeading(map_->angle);
    }
  }

  if (ReadInput(this, kInClear, &value) && value != 0) {
    map_->Clear();
    map_->saveCountdown = NavMap::kSaveDelay;
  }

  for (int i = 0; i < r && fixedOutputs_ + i < outputCount; ++i) {
    if (!ReadInput(this, kInFirstFinder + i, &value)) continue;
    outputs[fixedOutputs_ + i]->value[0] = map_->ProcessRangeReading(i, value) ? 1 : 0;
  }

  if (ReadInput(this, kInFirstFinder + r, &value) && value != 0) {
    const double ahead = map_->obstacleRadius * kObstacleAhead;
    map_->AddOrRefreshMark(map_->x + std::sin(map_->angle) * ahead, map_->y + std::cos(map_->angle) * ahead);
    map_->PlanRouteToPlace(map_->lastPlaceId);
  }

  if (fixedOutputs_ != kFixedOutputs || outputCount != kFixedOutputs + r) return;
  unsigned char* counter = outputs[kOutGlobalMap]->value;
  const unsigned int next = (counter[0] | (counter[1] << 8)) + 1u;
  counter[0] = static_cast<unsigned char>(next);
  counter[1] = static_cast<unsigned char>(next >> 8);
  outputs[kOutRobotLost]->value[0] = map_->robotLost;
  WriteFloatValue(outputs[kOutRobotX]->value, static_cast<float>(map_->x));
  WriteFloatValue(outputs[kOutRobotY]->value, static_cast<float>(map_->y));
  WriteFloatValue(outputs[kOutRobotA]->value, static_cast<float>(map_->angle));
  WriteIntegerValue(outputs[kOutPlaceId]->value, kBeSignalInt, static_cast<uint32_t>(map_->lastPlaceId));
  NavGuidance guidance = {0, 0, 0};
  const double distance = map_->Guide(vx, vy, w, &guidance);
  WriteFloatValue(outputs[kOutTargetDist]->value, static_cast<float>(distance));
  // Without a route the guidance outputs show 0.
  WriteFloatValue(outputs[kOutPathA]->value, static_cast<float>(guidance.bearing));
  WriteFloatValue(outputs[kOutPathX]->value, static_cast<float>(guidance.lateral));
  WriteFloatValue(outputs[kOutPathY]->value, static_cast<float>(guidance.forward));
}

void CBEVideoNavigation::Save(CStream* stream) {
  stream->WriteByte(kVersion);
  const int r = map_ ? map_->rangeFinderCount : 0;
  stream->WriteInt32(r);
  for (int i = 0; i < r; ++i) {
    const NavRangeFinder& f = map_->rangeFinders[i];
    WriteDouble(stream, f.x);
    WriteDouble(stream, f.y);
    WriteDouble(stream, f.angle);
    WriteDouble(stream, f.searchAngle);
    WriteDouble(stream, f.searchDistance);
    WriteDouble(stream, f.maxRange);
    stream->WriteByte(f.colour);
    stream->Write(f.name, 2 * kNavFinderNameChars);
  }
  WriteDouble(stream, map_ ? map_->drawingScale : 1.0);
  WriteDouble(stream, map_ ? map_->obstacleLifeTime : 0.0);
  WriteDouble(stream, map_ ? map_->obstacleRadius : 0.0);
  stream->WriteStringW(map_ ? map_->mapFileName : nullptr);
  CBEBlock::Save(stream);
  WriteDouble(stream, map_ ? map_->imageSearchRange : 0.0);
  WriteDouble(stream, map_ ? map_->placeNearZone : 0.0);
  WriteDouble(stream, map_ ? map_->positioningAccuracy : 0.0);
}

bool CBEVideoNavigation::Load(CStream* stream) {
  const int start = stream->GetPosition();
  NavRecord record;
  if (!ReadNavRecord(stream, &record)) {
    stream->Seek(start, 0);
    return false;
  }
  const int end = stream->GetPosition();
  // A fresh, empty map with the record's settings.
  NavMap* fresh = new (std::nothrow) NavMap;
  if (!fresh || !fresh->SetRangeFinderCount(record.finderCount) || !fresh->SetMapFileName(record.fileName)) {
    NavMap::Delete(fresh);
    stream->Seek(start, 0);
    return false;
  }
  for (int i = 0; i < record.finderCount; ++i) fresh->rangeFinders[i] = record.finders[i];
  fresh->drawingScale = record.drawingScale;
  fresh->obstacleLifeTime = record.lifeTime;
  fresh->obstacleRadius = record.radius;
  fresh->imageSearchRange = record.searchRange;
  fresh->placeNearZone = record.nearZone;
  fresh->positioningAccuracy = record.accuracy;

  NavMap* old = map_;
  const RECT oldRect = rect;
  map_ = fresh;
  // The base record meets the pins it was saved with; an older record's
  // pins then grow to the current layout.
  bool ok = BuildPins(record.version) && LoadBaseRecordAt(this, stream, record.baseAt);
  if (ok && record.version < kVersion) ok = BuildPins(kVersion);
  if (!ok) {
    // Back to the old map and its pins. When memory for those pins is
    // refused, the pins stay as the record laid them out, named from the
    // record's map, so the block keeps that map (empty, as after a load).
    map_ = old;
    rect = oldRect;
    if (BuildPins(kVersion)) {
      NavMap::Delete(fresh);
    } else {
      map_ = fresh;
      NavMap::Delete(old);
    }
    stream->Seek(start, 0);
    return false;
  }
  NavMap::Delete(old);
  lastFrame = -1;
  lastAddPlace = 0;
  manualTurn = false;
  stream->Seek(end, 0);
  return true;
}

void CBEVideoNavigation::Draw(HDC dc) {
  DrawBody(dc);
  CKestImage& picture = NavigationPicture();
  if (LoadSchemeIcon(&picture, kVideoNavigationPicture)) picture.Draw(dc, rect.left + kPictureX, rect.top + kPictureY);
}

bool CBEVideoNavigation::ShowProperties() { return ShowBlockDialog(this, kBeVideoNavigationClassId); }
