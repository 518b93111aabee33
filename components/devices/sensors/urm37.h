// The URM37 ultrasonic range finder: answers measurement requests over a
// serial line at 9600 baud (RS-232 or TTL levels), and gives the distance
// as a pulse width and a compare output. Three modes: measuring on
// request, measuring by itself every 0.025 s, or on a trigger edge.
#pragma once

#include <windows.h>

#include <cstdint>

#include "components/devices/sensors/range_finder.h"
#include "scheme/parts/out_sensor.h"
#include "scheme/simulation/signal_source.h"

class SchPacketSet;

// The format word of its packets: 9600 baud, 10 bits a frame, no parity.
const int kDevUrm37Format = 0x000A2580;

class CURM37 : public CSCHOutSensor {
public:
  enum Mode : unsigned char { kModeSerial = 0, kModeAutomatic = 1, kModeTriggered = 2 };
  enum Pin { kVccPin, kGndPin, kResetPin, kPwmPin, kMotoPin, kCompTrigPin, kPowerOnPin, kRxdPin, kTxdPin, kPinCount };
  enum Command : unsigned char { kCommandMeasure = 2, kCommandShortAnswer = 3 };
  static constexpr int kWidth = 80, kHeight = 84;
  static constexpr int kPinPitch = 11;
  // Bytes of its record before the base record.
  static constexpr int kOwnRecordBytes = 4;
  // "Nothing in range".
  static constexpr uint16_t kNoDistance = 0xFFFF;
  // s: a measurement, the first automatic one after Start, the next ones.
  static constexpr float kMeasureTime = 0.03f;
  static constexpr float kFirstAutomatic = 0.25f;
  static constexpr float kAutomaticPeriod = 0.025f;
  // The PWM output: its period (s) and the distance of a full duty (m).
  static constexpr float kPwmPeriod = 0.029f;
  static constexpr float kFullRange = 5.0f;
  static const RangeFinderModel kModel;

  // Serial mode, RS-232 levels, threshold 100 cm; nine pins on the left.
  CURM37();
  ~CURM37() override;

  void Paint(HDC dc) override;
  // The settings dialog; true when "OK" closed it (the fields change only
  // then).
  bool Edit() override;
  // distance "nothing", the timer (0.25 s in the automatic mode), a new
  // empty answer set; the request sequence and the answer counter stay.
  void Start() override;
  void Step(float dt) override;
  // Deletes the answer set.
  void Stop() override;
  // RS-232 levels, mode, threshold (16 bits), then the base block record.
  void Save(CStream* stream) override;
  // A cut record or a mode or levels byte it does not know leaves the
  // finder as it was.
  void Load(CStream* stream) override;

  // Fields, in this order.
  unsigned char mode = kModeSerial;
  unsigned char rs232Levels = 1;  // jumpers: 1 RS-232, 0 TTL
  uint16_t threshold = 100;       // cm, the compare distance of the automatic mode
  unsigned char lastRequest = 0;  // sequence of the last request taken
  unsigned char answerCounter = 0;
  SchSignalSource echo = {nullptr, 0};  // kind 0: PWM period and duty
  SchPacketSet* answerSet = nullptr;    // owned while running
  float timer = 0;                      // s left of the running measurement
  uint16_t distance = kNoDistance;      // cm of the last measurement
  // The distance along the axis (m) that the robot simulator supplies with
  // the world pose; not stored.
  float axisDistance = 0;

private:
  // The answer set as the TXD line's source.
  SchSignalSource answerSource_ = {nullptr, 0};

  void CompleteMeasurement(const RangeFinderSupply& s);
  void Receive(const RangeFinderSupply& s);
  void DriveLevel(int pin, const RangeFinderSupply& s, bool high);
  // The answer line state of the levels (idle, then the other level).
  void DriveAnswerLine(const RangeFinderSupply& s);
  void SendAnswer(unsigned char command, uint16_t value);
};

// Registry creator ("URM37").
CSCHBlock* CreateCURM37();
