// The video camera: analogue PAL (with an optional RS-485 remote control),
// USB, Ethernet (optionally powered over the cable) or WiFi. It may carry a
// microphone, a pan/tilt/zoom drive and a pair of opto-isolated sync lines.
// Each powered step it hands on its picture and sound: as analogue signals
// (kinds 22 and 23) on its video and microphone pins, or as data packets
// over its USB, LAN or radio link; it takes pan/tilt/zoom commands from
// RS-485 or from data packets.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/vecmath.h"
#include "scheme/parts/device.h"
#include "scheme/simulation/signal_source.h"
#include "units/media/microphone.h"

class SchPacketSet;

// What the camera needs of its object in the robot's 3D scene. Nothing in
// the scheme makes one: the simulator around it does, and owns it. The
// handles are passed on unchanged in the video and audio records.
struct MediaSceneLink {
  float fieldOfView = 0.7f;  // radians
  Mat4f pose = {};           // the camera's pose
  Mat4f antennaPose = {};    // the radio antenna's pose
  uint32_t frameHandle = 0;  // the picture (a payload handle)
  uint32_t objectHandle = 0; // the scene object, for the sound
};

class CSCHCamera : public CSCHDevice {
public:
  enum Interface : int { kAnalogue = 0, kUsb = 1, kEthernet = 2, kWiFi = 3 };
  enum Sync : unsigned char { kNoSync = 0, kSyncOff = 1, kSyncMaster = 2, kSyncSlave = 3 };
  enum WiFiMode : unsigned char { kWiFiClientMode = 0, kWiFiAdHocMode = 3 };
  static constexpr int kSsidUnits = 16;  // 15 characters and the terminator
  static constexpr int kOwnRecordBytes = 78;
  static constexpr int kRs485Format = 0x000A0960;  // 2400 baud, 10 bits, no parity
  static constexpr uint16_t kVideoTag = 0x33EE;
  static constexpr float kBootGrace = 0.1f;
  static constexpr float kCommandPeriod = 0.1f;
  static constexpr float kDriveTime = 0.1f;

  // USB, no model values; a 160 x 100 px symbol.
  CSCHCamera();
  // Deletes a packet set a run left.
  ~CSCHCamera() override;

  // The model columns, the device columns, then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // "camera.png", a line along the pins, the instance name below.
  void Paint(HDC dc) override;
  // The settings dialog of the interface (RS-485, camera, WiFi camera);
  // the model chooser for an analogue camera without remote control.
  bool Edit() override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // The 78-byte record, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // An analogue camera's grounds are one node.
  void JoinInternalNets() override;

  // The pins of the interface, spread along the left side. False, with the
  // pins as they were, when memory runs out.
  bool BuildPins();
  // Takes a pan/tilt/zoom command from the set (null: none): the first
  // packet of the control channel, refused unless its format is the RS-485
  // one when checkFormat; a sequence byte seen last time is not applied
  // again. True when a new command was taken.
  bool ReadControlPacket(const SchPacketSet* set, bool checkFormat);

  // The three settings dialogs: true when confirmed with "OK" (the fields
  // then changed), false, changing nothing, otherwise.
  bool EditRs485Settings();
  bool EditCameraSettings();
  bool EditWiFiSettings();

  // Copies at most 15 characters of text (null: empty), zero-terminated.
  void SetSsid(const wchar_t* text);
  bool HasRemoteControl() const { return remoteControl != 0; }
  bool IsRunning() const { return runTimer > 0; }
  // The pin of a role, -1 when the interface has none.
  int VideoOutPin() const { return videoOut_; }
  int MicOutPin() const { return micOut_; }
  int ControlPin(int i) const { return controlPins_[i]; }  // A, B, G
  int SyncPin(int i) const { return sync != kNoSync ? pinCount - 4 + i : -1; }
  int DataPin() const { return dataPin_; }
  const SchPacketSet* GetPacketSet() const { return packets_; }

  // Fields, in this order.
  float U = 0, I = 0;
  float Zoom = 0;
  float rotX = 0, rotY = 0;
  float LoadTime = 0;
  float power = 0;
  float framePeriod = 0.04f;
  unsigned char PoE = 0;
  int iface = kUsb;
  unsigned char Mic = 0;
  unsigned char syncOutBurnt = 0, syncInBurnt = 0;
  float ObjectiveDiameter = 0, ObjectiveLength = 0;
  unsigned char wifiMode = kWiFiClientMode;
  wchar_t ssid[kSsidUnits] = {};
  unsigned char transmissionChannel = 0;
  unsigned char controlChannel = 1;
  unsigned char remoteControl = 0;
  float runTimer = 0;
  float fieldOfView = 0.78539819f;
  int frameCounter = 0;
  float commandTimer = 0;
  signed char dZoom = 0, dX = 0, dY = 0;
  Mat4f pose = {};
  float pan = 0, tilt = 0, zoom = 1;
  float targetPan = 0, targetTilt = 0, targetZoom = 1;
  unsigned char lastCommandSequence = 0;
  unsigned char sync = kNoSync;
  // Not owned; null: the camera sends frames with no picture.
  const MediaSceneLink* sceneLink = nullptr;
  int powerPin = -1, powerGroundPin = -1;

private:
  void Burn();
  void SwitchOff();
  bool StepPower(bool* powered);
  void StepSyncOutput(int plus, int minus);
  void StepSyncInput(int a, int b);
  void StepRemoteControl(float dt);
  void SendAnalogue();
  void SendDigital();
  void LinkByRadio();
  void ApplyCommand();
  int AddPin(int i, const wchar_t* name, const wchar_t* description, int kind);

  SchPacketSet* packets_ = nullptr;  // owned during a run
  SchSignalSource ownSource_ = {nullptr, 0};
  MediaAudioRecord videoRecord_;  // tag 0x33EE: the picture's handle
  MediaAudioRecord audioRecord_;
  SchSignalSource masterPulse_[2] = {};
  int videoOut_ = -1, videoGnd_ = -1, micOut_ = -1, micGnd_ = -1, dataPin_ = -1;
  int controlPins_[3] = {-1, -1, -1};
};

// Registry creator ("Camera").
CSCHBlock* CreateCSCHCamera();
