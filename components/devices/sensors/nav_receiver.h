// The satellite navigation receiver (GPS/ГЛОНАСС): powered from its supply
// pins or from USB, it needs time to acquire a fix after power-up, checks
// the antenna on its antenna input, and answers every new request of the
// controlling computer (over its serial port or USB) with a fix packet:
// [answer counter, A0 31, precision, pose handle], the handle naming the
// receiver's world pose through the program's payload table (0 when it has
// none, which its reader takes as "no fix").
#pragma once

#include <windows.h>

#include <cstdint>

#include "scheme/parts/out_sensor.h"
#include "scheme/simulation/signal_source.h"

class SchPacketSet;

// The format word of its serial packets: 9600 baud, 10 bits a frame, no
// parity; USB packets carry 0.
const int kDevNavSerialFormat = 0x000A2580;
// Bytes 1-2 of a fix packet's payload (little-endian A0 31).
const uint16_t kDevNavFixTag = 0x31A0;
// Serial kinds.
const unsigned char kDevNavNoSerial = 0;
const unsigned char kDevNavRs232 = 1;
const unsigned char kDevNavUart = 2;

class CSCHNavReceiver : public CSCHOutSensor {
public:
  static constexpr int kWidth = 200, kHeight = 100;
  // Bytes of its record before the device record.
  static constexpr int kOwnRecordBytes = 28;
  // s: the fix timer at Start, the end of acquisition, the restart after a
  // long power loss.
  static constexpr float kStartTimer = 0.2f;
  static constexpr float kAcquired = 0.5f;
  static constexpr float kRestart = -45.0f;

  // The defaults: an antenna input, supply pins and a TTL UART (six pins).
  CSCHNavReceiver();
  // Deletes the answer set and withdraws its published pose.
  ~CSCHNavReceiver() override;

  // The device columns, then "system", "precision", "baudrate", "U",
  // "Umin", "Umax", "I", "usbPower", "rs232", "usb", "bluetooth",
  // "ExtAntenna"; then the pins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // A grey body and "GPS/ГЛОНАСС".
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // The receiver's fields, then the device record.
  void Save(CStream* stream) override;
  // A cut record, or a flag byte above 1, leaves the receiver as it was.
  void Load(CStream* stream) override;
  // The block run state, then the fix timer.
  void SaveRunState(CStream* stream) override;
  bool LoadRunState(CStream* stream) override;

  // The pins of the model (see the constructor); the pin indexes follow.
  void BuildPins();

  // Fields, in this order.
  int antennaPin = -1;  // -1 none
  int powerPin = -1;    // the + supply pin; the - pin follows
  int serialPin = -1;   // ground, receive, transmit
  int usbPin = -1;
  unsigned char system = 0;          // stored only
  uint16_t precision = 30;           // its low byte goes in every fix
  float answerInterval = 0.1f;       // s between two answers at least
  float U = 5.0f, Umin = 4.5f, Umax = 6.0f, I = 1.0f;
  unsigned char usbPower = 0;
  unsigned char bluetooth = 0;       // stored only
  unsigned char serialKind = kDevNavUart;
  unsigned char usb = 0;
  unsigned char externalAntenna = 1;
  float fixTimer = 0;                // s; acquired at 0.5
  float answerClock = 0;             // s since the last answer
  unsigned char answerPending = 0;
  unsigned char lastRequest = 0;
  unsigned char answerCounter = 0;
  SchPacketSet* answerSet = nullptr;  // owned while running

private:
  // The packet format of the port it talks on.
  int PortFormat() const;
  // The handle naming the pose now (published once per pose object).
  uint32_t PoseHandle();
  // The antenna input carries a suitable antenna; takes its pose.
  bool AntennaReceives();
  // The set of requests on the data line, null without one; false when
  // the line burnt the receiver.
  bool ReadRequests(SchPacketSet** requests);
  void Answer(SchPacketSet* requests, float Ug, float Rg);
  void Burn();

  SchSignalSource lineSource_ = {nullptr, 0};
  const Mat4f* publishedPose_ = nullptr;
  uint32_t poseHandle_ = 0;
};

// Registry creator ("NavReceiver").
CSCHBlock* CreateCSCHNavReceiver();
