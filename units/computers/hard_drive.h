// The external hard drive of the on-board computer: an IDE or SATA drive
// on a data cable with +5 V and +12 V supplies (idle and active power, with
// random bursts of activity), or a bus-powered USB drive. A ready IDE or
// SATA drive marks the net of its data cable, so that the computer can boot
// from it.
#pragma once

#include <windows.h>

#include "scheme/parts/device.h"

class CSCHHardDrive : public CSCHDevice {
public:
  enum Interface : unsigned char { kIde = 0, kSata = 1, kUsb = 2 };
  // Pins of an IDE or SATA drive.
  static constexpr int kDataPin = 0;
  static constexpr int kPlus5Pin = 1;
  static constexpr int kGround5Pin = 2;
  static constexpr int kGround12Pin = 3;
  static constexpr int kPlus12Pin = 4;
  // Net source kinds of a ready drive's data cable (0: not ready).
  static constexpr int kReadyIdeKind = 35;
  static constexpr int kReadySataKind = 34;
  // The spin-up burst every run begins with, seconds.
  static constexpr float kSpinUpTime = 10;
  static constexpr float kIdle12Load = 5e6f;
  static constexpr int kOwnRecordBytes = 14;

  // SATA, 2.5 W active, 1 W idle, 320; a 92 x 132 px symbol.
  CSCHHardDrive();

  // "iface", "Pactive", "Pidle", "volume", the device columns, the pins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // "hd.jpg" at the top-left corner, the instance name below.
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  // iface, Pactive, Pidle, volume, a zero byte, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // The two ground wires are one node.
  void JoinInternalNets() override;

  // One USB pin, or the data pin and the four supply pins. False, with the
  // pins as they were, when memory runs out.
  bool BuildPins();
  bool IsReady() const { return ready_; }
  float GetActivityTimer() const { return activity_; }

  // Fields, in this order.
  unsigned char iface = kSata;
  float Pactive = 2.5f;
  float Pidle = 1.0f;
  float volume = 320;

private:
  void Burn();
  void MarkDataNet(int kind);

  float activity_ = 0;  // seconds of the current burst still to go; below 0 idle
  bool ready_ = false;
};

// Registry creator ("HardDrive").
CSCHBlock* CreateCSCHHardDrive();
