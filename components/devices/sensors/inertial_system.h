// The inertial measurement unit: accelerometers, gyroscopes (angular
// rates), a magnetometer and orientation angles, each present by the model.
// It takes its motion from its world pose, adds noise of the model's
// amplitudes, and delivers the results in one of six ways: a data packet
// naming its measurement record (by a payload handle) over UART, RS-232,
// USB or I2C, or pulse-width or voltage outputs, one pin per quantity. It
// may offer a regulated supply output.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/vecmath.h"
#include "scheme/parts/out_sensor.h"
#include "scheme/simulation/inertial_data.h"
#include "scheme/simulation/signal_source.h"

class SchPacketSet;

// The format word of its UART and RS-232 packets: 115200 baud, 10 bits a
// frame; USB and I2C packets carry 0.
const int kDevInertialSerialFormat = 0x000BC200;

// Noise of amplitude A: the sum of sixteen uniform draws, mean 0, within
// -8 A..8 A, spread A x sqrt(16 / 12). Uses rand(), which the program
// never reseeds.
float RandomNoise(float amplitude);

class CSCHInertialSystem : public CSCHOutSensor {
public:
  enum Interface : unsigned char {
    kUart = 0,
    kRs232 = 1,
    kUsb = 2,
    kI2c = 3,
    kPulseWidth = 4,
    kVoltage = 5,
  };
  static constexpr int kWidth = 180, kHeight = 140;
  // Pins sit 15 px apart from 15 px below the top; lines start at x = 140.
  static constexpr int kPinPitch = 15;
  static constexpr int kPictureWidth = 140;
  // Bytes of its record before the device record.
  static constexpr int kOwnRecordBytes = 56;
  static constexpr int kChannelCount = 10;

  // UART, supply pins: "GND", "+Vin", "TX", "RX".
  CSCHInertialSystem();
  // Deletes the packet set and withdraws its published record.
  ~CSCHInertialSystem() override;

  // The device columns, the nine measurement flags, then "iface",
  // "gyroDisp", "accelDisp", "magDisp", "U", "Umin", "Umax", "I",
  // "powerUSB", "Uout", "Iout", "Kaccel", "Kgyro", "Kmag", "Uwork"; then
  // the pins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // "inertial.png", the pin lines and names, the instance name below.
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // Its fields, then the device record.
  void Save(CStream* stream) override;
  // A cut record, a measurement set beyond its nine flags or a USB power
  // byte above 1 leaves the unit as it was.
  void Load(CStream* stream) override;
  // The output ground joins the input ground.
  void JoinInternalNets() override;

  // The pins of the model; the first interface pin and the output period
  // follow.
  void BuildPins();

  // Fields, in this order.
  wchar_t outputPinName[32] = {};         // NUL, then "+3.3V"
  wchar_t outputPinDescription[48] = {};
  int firstInterfacePin = 0;
  Mat4f lastInversePose = {};
  float previousVelocity[3] = {0, 0, 0};
  unsigned char iface = kUart;
  SchInertialData record = {};            // record.flags: the measurement set
  float U = 3.3f, Umin = 3.3f, Umax = 12.0f, I = 0.052f;
  unsigned char usbPower = 0;
  float Uout = 0, Iout = 0, Uwork = 0;
  float Kaccel = 0, Kgyro = 0, Kmag = 0;
  float gyroDisp = 0, accelDisp = 0, magDisp = 0;
  unsigned char requested = 0;
  unsigned char lastRequest = 0;
  unsigned char answerCounter = 0;
  SchPacketSet* packetSet = nullptr;      // owned while running
  SchSignalSource channels[kChannelCount] = {};
  float outputClock = 0;
  float outputPeriod = 1.0f / 180;

private:
  bool HasOutputPins() const { return !usbPower && Uout > 0; }
  void Burn();
  // The requests of this step; false when a line burnt the unit.
  bool ReadRequests(SchPacketSet** requests);
  void TakeRequest(const SchPacketSet* requests);
  void Output(const Mat4f& D, const float accel[3], float dt, SchPacketSet* requests, float Rg);
  void SendPacket(SchPacketSet* requests, float Rg);
  void DriveChannels(float Rg);

  SchSignalSource lineSource_ = {nullptr, 0};
  uint32_t recordHandle_ = 0;
};

// Registry creator ("InertialSystem").
CSCHBlock* CreateCSCHInertialSystem();
