// The URM04 ultrasonic range finder on an RS-485 bus at 115200 baud,
// addressed by a channel 17..128. Two identical connectors, joined inside,
// chain finders on one bus; a 12 kohm termination sits between the lines.
#pragma once

#include <windows.h>

#include <cstdint>

#include "components/devices/sensors/range_finder.h"
#include "scheme/parts/out_sensor.h"
#include "scheme/simulation/signal_source.h"

class SchPacketSet;

// The format word of its packets: 115200 baud, 10 bits a frame, no parity.
const int kDevUrm04Format = 0x000BC200;

class CURM04 : public CSCHOutSensor {
public:
  // The first connector; the second repeats it at kConnectorPins on.
  enum Pin { kPlusPin, kMinusPin, kAPin, kBPin, kConnectorPins, kPinCount = 2 * kConnectorPins };
  enum Command : unsigned char { kCommandMeasure = 1, kCommandRead = 2, kCommandShortAnswer = 3 };
  static constexpr int kWidth = 80, kHeight = 84;
  static constexpr unsigned char kMinAddress = 17, kMaxAddress = 128;
  static constexpr uint16_t kNoDistance = 0xFFFF;
  // s: a measurement, the delay of an answer, the bus left alone after it.
  static constexpr float kMeasureTime = 0.03f;
  static constexpr float kAnswerDelay = 0.01f;
  static constexpr float kTurnaround = 0.006f;
  static constexpr float kFullRange = 5.0f;
  // The termination between the lines (ohm) and the differential levels
  // (V) a receiver needs: above +0.2 V in the idle level, below -0.2 V in
  // the other; beyond 400 V it burns.
  static constexpr float kTermination = 12000;
  static constexpr float kReceiveThreshold = 0.2f;
  static constexpr float kBurnDifference = 400;
  static const RangeFinderModel kModel;

  // Address 17; eight pins on the left.
  CURM04();
  ~CURM04() override;

  void Paint(HDC dc) override;
  // The address dialog; true when "OK" closed it (the address changes only
  // then).
  bool Edit() override;
  // distance "nothing", the timers and the answer counter 0, two new empty
  // sets.
  void Start() override;
  void Step(float dt) override;
  // Deletes both sets.
  void Stop() override;
  // address, then the base block record.
  void Save(CStream* stream) override;
  // A cut record or an address outside 17..128 leaves the finder as it was.
  void Load(CStream* stream) override;
  // Each pin of the first connector joins the net of its twin in the
  // second: a finder wired through either connector (or both) works.
  void JoinInternalNets() override;

  // Fields, in this order.
  SchPacketSet* setA = nullptr;  // answers on line A, owned while running
  SchPacketSet* setB = nullptr;  // answers on line B
  unsigned char answerCounter = 0;
  unsigned char answerCommand = 0;
  uint16_t answerValue = 0;
  unsigned char lastRequest = 0;
  unsigned char address = kMinAddress;
  float measureTimer = 0;
  float answerTimer = 0;
  float turnaroundTimer = 0;
  uint16_t distance = kNoDistance;
  // The distance along the axis (m) that the robot simulator supplies with
  // the world pose; not stored.
  float axisDistance = 0;

private:
  // The sets as the lines' sources.
  SchSignalSource sourceA_ = {nullptr, 0};
  SchSignalSource sourceB_ = {nullptr, 0};

  void DeleteSets();
  void SendAnswer(const RangeFinderSupply& s);
  void Receive(const RangeFinderSupply& s);
};

// Registry creator ("URM04").
CSCHBlock* CreateCURM04();
