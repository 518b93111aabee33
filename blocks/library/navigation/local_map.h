// CBELocalMap ("Построитель локальной карты местности"): keeps an obstacle
// map around the robot in its own frame (LocalMapModel), moved every step
// by the robot's speed "v" and turn rate "w", cleared and filled by its
// sensors (range finders and stereo scan sectors) and summarised as point
// counts of its analysis zones. Output "locmap" (type 31) names the map:
// bytes 0-1 a step counter, 2-3 the tag 0x332E, 4-7 the map's payload
// handle.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/payload_table.h"
#include "blocks/library/navigation/local_map_model.h"

const unsigned short kBeLocalMapTag = 0x332E;
// The program's bitmap resource the block draws in its body (48 x 48).
const int kBeLocalMapPicture = 195;

// A sensor on the robot. A scan sector takes its view and range from its
// own model instead of fov, zMin and zMax.
struct LocalMapSensor {
  unsigned char kind;  // non-zero: stereo scan sector; 0: range finder
  float x, y;          // mounting position, metres
  float angle;         // radians
  float fov;           // radians
  float zMin, zMax;    // metres
};

const int kLocalMapMaxSensors = 255;

class CBELocalMap : public CBEBlock {
public:
  // Fixed inputs, then five per sensor.
  enum FixedInput { kInputV = 0, kInputW, kInputReset, kFixedInputs };
  enum SensorPin { kSensorData = 0, kSensorWriteEnable, kSensorX, kSensorY, kSensorAngle, kInputsPerSensor };

  // 200 wide; 1,000,000 cycles, 304,114 ROM and 545,444 RAM bytes; one scan
  // sector at (0, 0.3 m) looking ahead, view pi/3, 0.04 to 5 m; its pins.
  CBELocalMap();
  // Releases the map's handle, frees the sensors, the pin texts and the map.
  ~CBELocalMap() override;
  static CBEBlock* Create();

  // n sensors; new ones are cleared. False, as it was, for n outside
  // 0..kLocalMapMaxSensors or refused memory. Call BuildPins afterwards.
  bool SetSensorCount(int n);
  // The pins of the sensors and the zones: "v", "w", "reset", five inputs
  // per sensor, "locmap" and one float output per zone; the height becomes
  // max(zones * 20 + 30, sensors * 75 + 75, 140). False, with the pins as
  // they were, when memory was refused.
  bool BuildPins();
  // The first input of sensor k (0-based) and the output of zone z.
  static int SensorInputIndex(int k, int which) { return kFixedInputs + k * kInputsPerSensor + which; }
  static int ZoneOutputIndex(int z) { return 1 + z; }

  // Last sector counter 0, the map reset, "locmap" counter 0.
  void Start() override;
  // Reset or motion, each sensor's reading, the zone counts, "locmap"'s
  // counter + 1.
  void Step(float dt) override;
  // The map's settings, the zones and the sensors, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record or
  // refused memory. The map's points stay.
  bool Load(CStream* stream) override;
  // A grey raised frame, the map's picture in the middle and "LocalMap"
  // under it.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  LocalMapModel model;
  int sensorCount = 0;
  LocalMapSensor* sensors = nullptr;  // owned
  // The counter byte of the last scan-sector message taken (one for all
  // the block's scan sectors).
  unsigned char lastSectorCounter = 0;
  BePayloadHandle handle = kNoPayload;  // the map's, from Start

private:
  // BuildPins for these sensors and zone count.
  bool BuildPinsFor(const LocalMapSensor* list, int count, int zones);
  // One sensor's step with its five inputs.
  void StepSensor(LocalMapSensor* sensor, BeInputPin* const* pins);
  void FreePinTexts();

  wchar_t** pinTexts_ = nullptr;  // owned, with every text
  int pinTextCount_ = 0;
};
