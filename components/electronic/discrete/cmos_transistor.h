// The field-effect transistor, N or P channel: a switch of fixed
// on-resistance between source and drain, driven by the gate voltage, with
// an optional body diode that conducts backwards.
#pragma once

#include <windows.h>

#include "components/electronic/discrete/custom_transistor.h"

// Pins.
const int kElecCmosGate = 0;
const int kElecCmosSource = 1;
const int kElecCmosDrain = 2;

// The channel's resistance when on, and the reverse voltage from which the
// body diode conducts.
const float kElecCmosOnResistance = 0.2f;
const float kElecCmosBodyDiodeDrop = 0.6f;

class CSCHCMOSTransistor : public CSCHCustomTransistor {
public:
  // N channel, 43 A (170 A peak), 20 V gate limit, threshold 3 V, with a
  // body diode; gate on the left, source and drain on the right.
  CSCHCMOSTransistor();

  // The package fields, then "channel", "Id", "Idm", "Ugsmax", "diod" and
  // the threshold between "Ugsthmin" and "Ugsthmax".
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;
  // The package record, then P channel, Id, Idm, Ugsmax, the drawn
  // threshold and the body diode.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The channel resistance at these drain-source and gate-source voltages.
  float ChannelResistance(float Uds, float Ugs) const;

  // Fields, in this order.
  unsigned char pChannel = 0;
  float Id = 43;        // A, limit of the smoothed drain current
  float Idm = 170;      // A, instant drain current limit
  float Ugsmax = 20;    // V, gate-source limit (either sign)
  float threshold = 3;  // V, this part's own, drawn from the database's range
  unsigned char bodyDiode = 1;
  float smoothedDrainCurrent = 0;  // run time
};

// Registry creator ("CMOSTransistor").
CSCHBlock* CreateCSCHCMOSTransistor();
