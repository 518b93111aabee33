// The external antenna: a device with an RF connector pin, passive or active
// (an active antenna's amplifier is fed DC over its cable). In a run it hands
// its RF net a source of kind 18, so that the radio device at the cable's
// other end radiates with the antenna's placement, beam and gain.
#pragma once

#include <windows.h>

#include "scheme/parts/out_sensor.h"

class CSCHAntenna;

// The tag of the record an antenna hands its net as the source of kind 18.
const int kElecAntennaSourceTag = 16903;

// What a net of source kind 18 points at.
struct SchAntennaSource {
  int tag;              // kElecAntennaSourceTag
  CSCHAntenna* owner;   // the antenna
};

class CSCHAntenna : public CSCHOutSensor {
public:
  // A 40 x 30 px symbol with one RF pin at the bottom.
  CSCHAntenna();

  // "active", "U", "I", "freq", "range", "axis", "around" and "along"
  // (degrees), "dBI", then the device fields.
  void ApplyDbRecord(CompDbRecord* record) override;
  // A mast with a V; the instance name centred above.
  void Paint(HDC dc) override;
  void Start() override;
  // Publishes the antenna on its RF net, or takes it off the air when it is
  // burnt or an active antenna is underfed; burns when overfed.
  void Step(float dt) override;
  // The antenna fields, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The antenna a net carries (source kind 18 with a well-formed record),
  // null otherwise.
  static CSCHAntenna* FromNet(const SchNet* net);

  // Fields, in this order.
  unsigned char axis = 0;        // beam axis: 0 pose X, 1 pose Y, 2 pose Z
  float widthAlong = 1.0f;       // radians
  float widthAround = 1.0f;      // radians
  float gain = 3.0f;             // dBi
  float bandwidth = 1.0f;
  float centreFrequency = 2400;  // 2400 is the WiFi band
  unsigned char active = 0;
  float U = 0;                   // supply voltage of an active antenna
  float I = 0;                   // supply current of an active antenna
  float linearGain = 2.0f;       // run time: the gain as a power ratio
  SchAntennaSource sourceRecord = {0, nullptr};
};

// Registry creator ("Antenna").
CSCHBlock* CreateCSCHAntenna();
