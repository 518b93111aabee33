// CBEWiFi ("WiFi-модуль"): the WiFi module of a computer in its program. It
// links by radio, through the antenna on its antenna pin, with access points
// (as a client) and with other WiFi blocks of the same SSID in ad-hoc mode,
// merging their packet sets into its own outgoing set; its received fields
// then read that set.
//
// The computer makes the block itself ("Модуль WiFi") and writes the index
// of its antenna pin (-1: none, as on the control-panel computer).
#pragma once

#include "blocks/library/interfaces/interface_device.h"

struct Mat4f;
class CSCHRouter;

// Modes.
const unsigned char kWiFiClient = 0;  // "Wireless client"
const unsigned char kWiFiAdHoc = 3;   // "ADHOC"
// SSID: at most 16 characters and a terminator; empty means any network.
const int kWiFiSsidChars = 16;

class CBEWiFi : public CBEInterfaceDevice {
public:
  // Disabled, a device block, 200 x 30, fill 0xE0E0E0, caption "Модуль
  // WiFi", 8,000,000 bits per second, 8 bits per byte; client, no SSID,
  // omnidirectional (2 pi, 2 pi), power 0.01, gain 1, axis 0, no antenna pin.
  CBEWiFi();
  // Leaves the radio list.
  ~CBEWiFi() override;
  static CBEBlock* Create();

  // No pose (nothing in the program sets a default radio pose), the
  // interface device's Start, then onto the radio list when enabled.
  void Start() override;
  // Nothing while disabled. With an antenna pin: nothing at all in the pass
  // unless the pin's net carries a working antenna, whose pose, axis, beam
  // widths and gain (detuned by e^(-x^2), x = (frequency - 2400) x 3 /
  // bandwidth) the block takes. Then, with a pose and a positive bandwidth,
  // links: a client with the first access point on the air (empty SSID: any;
  // else the same) whose link gain exceeds 2; both modes, with an SSID, with
  // every ad-hoc block of that SSID that joined the list before this one.
  // Each link merges the two outgoing sets. Then the interface device runs
  // on the block's own set.
  void Step(float dt) override;
  // Off the radio list, then the interface device's Stop.
  void Stop() override;
  // Enabled, mode (a byte each), the SSID, then the interface-device record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut or implausible record. The
  // SSID is cut to 16 characters.
  bool Load(CStream* stream) override;
  bool ShowProperties() override;

  // Copies at most 16 characters (null: empty).
  void SetSsid(const wchar_t* text);

  // Fields, in this order.
  unsigned char mode = kWiFiClient;
  wchar_t ssid[kWiFiSsidChars + 1] = {};
  const Mat4f* pose = nullptr;  // not owned: the antenna's; null without one
  float beamWidth1;             // horizontal, radians
  float beamWidth2;             // vertical, radians
  float power = 0.01f;
  float gain = 1.0f;
  unsigned char axis = 0;
  CBEWiFi* next = nullptr;      // BeWiFiRadioList
  CBEWiFi* previous = nullptr;
  int antennaPin = -1;          // the owner's antenna pin; -1 none

private:
  friend class BeWiFiRadioList;
  // Takes the antenna of the antenna pin's net; false when the pin's net
  // carries none (the pass then does nothing); *tuned says whether the
  // antenna has a band (a bandwidth above 0).
  bool TakeAntenna(bool* tuned);
  // Merges with the router or block when their link gain exceeds 2.
  bool LinkWithRouter(CSCHRouter* router);
  bool LinkWithPeer(CBEWiFi* peer);
  unsigned char onList_ = 0;
};
