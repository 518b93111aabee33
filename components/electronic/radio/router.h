// The WiFi router: power from its own pins, over Ethernet or from USB;
// wired data ports; an antenna (none, built in, built in with an optional
// external one, or an external one required); a radio mode and an SSID. In
// a run it collects the packets of its cables, joins the program-wide list
// of routers on the air and exchanges packets with the routers it has a
// radio link with.
#pragma once

#include <windows.h>

#include "scheme/parts/out_sensor.h"

class SchPacketSet;

// Radio modes.
const unsigned char kElecRouterClient = 0;
const unsigned char kElecRouterAccessPoint = 1;
const unsigned char kElecRouterBridge = 2;
const unsigned char kElecRouterMultipointBridge = 3;
const unsigned char kElecRouterRepeater = 4;

// Input types, power kinds and antenna kinds.
const int kElecRouterInputLan = 1;
const int kElecRouterInputUsb = 2;
const int kElecRouterPowerOwn = 0;
const int kElecRouterPowerPoe = 1;
const int kElecRouterPowerUsb = 2;
const int kElecRouterAntennaNone = 0;
const int kElecRouterAntennaBuiltIn = 1;
const int kElecRouterAntennaOptional = 2;
const int kElecRouterAntennaExternal = 3;

// SSID: at most 16 characters and a terminator.
const int kElecRouterSsidChars = 16;

class CSCHRouter : public CSCHOutSensor {
public:
  // A router with five LAN ports, its own power pins and a built-in radio
  // off; the pins of that configuration.
  CSCHRouter();
  // Deletes the packet set and leaves the radio list.
  ~CSCHRouter() override;

  // The router's columns, then the device fields, then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // A yellow body with "Роутер" and the model; the name above.
  void Paint(HDC dc) override;
  // The settings dialog (mode, SSID); false for a router without radio or
  // when the dialog is cancelled.
  bool Edit() override;
  void Start() override;
  void Step(float dt) override;
  // Deletes the packet set and leaves the radio list.
  void Stop() override;
  // The router fields, the SSID, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The pins of the configuration, all at the bottom.
  void BuildPins();
  void JoinRadioList();
  void LeaveRadioList();
  // Copies at most 16 characters of text (null: empty).
  void SetSsid(const wchar_t* text);

  // The first router of the radio list (most recently joined), null when
  // none is on the air. Walk it through next.
  static CSCHRouter* RadioListHead();

  // The radio with which this router's step links: the attached antenna's
  // placement and beam when it has one, else the router's own.
  const Mat4f* RadioPose() const { return radioPose; }

  // Fields, in this order.
  unsigned char onAir = 0;
  CSCHRouter* next = nullptr;  // the radio list
  CSCHRouter* prev = nullptr;
  int inputType = kElecRouterInputLan;
  int lanCount = 5;
  int baudRate = 5400000;
  float U = 12.0f;
  float I = 1.0f;
  int powerKind = kElecRouterPowerOwn;
  int antennaKind = kElecRouterAntennaNone;
  unsigned char repeaterAllowed = 0;
  wchar_t ssid[kElecRouterSsidChars + 1] = {};
  float P = 10.0f;
  unsigned char mode = kElecRouterAccessPoint;
  unsigned char axis = 0;
  float widthAround = 1.0f;
  float widthAlong = 1.0f;
  float publishedGain = 1.0f;  // run time
  SchPacketSet* packets = nullptr;  // owned, during a run
  // Run time: the radio of the last step (the own fields, or the attached
  // antenna's), so that the saved settings stay the user's.
  Mat4f* radioPose = nullptr;
  unsigned char radioAxis = 0;
  float radioAround = 1.0f;
  float radioAlong = 1.0f;
};

// Registry creator ("Router").
CSCHBlock* CreateCSCHRouter();
