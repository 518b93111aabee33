// The electromagnetic relay: a coil (and for one latching kind a reset coil)
// whose smoothed current moves an armature, and up to four contact groups
// that join their nets without resistance while closed. The coil, the reset
// coil and every contact group burn out on their own; the number and kinds
// of groups come from the database row, so the pins are rebuilt with them.
#pragma once

#include <windows.h>

#include "scheme/model/block.h"

// Contact group kinds.
const unsigned char kElecRelayNormallyOpen = 0;
const unsigned char kElecRelayNormallyClosed = 1;
const unsigned char kElecRelayChangeover = 2;

// Relay kinds: 0 standard (released below the release current); every other
// kind latches; kind 1 latches and has a reset coil.
const unsigned char kElecRelayStandard = 0;
const unsigned char kElecRelayWithResetCoil = 1;

// Polarity modes of the coil current.
const unsigned char kElecRelayUnpolarised = 0;      // |I| smoothed over 0.01 s
const unsigned char kElecRelaySlowUnpolarised = 1;  // |I| smoothed over 0.1 s
const unsigned char kElecRelayPolarised = 2;        // signed I smoothed over 0.01 s

// Package shapes.
const unsigned char kElecRelayBox = 0;
const unsigned char kElecRelayCylinder = 1;

const int kElecRelayMaxGroups = 4;

// Colour tables indexed by the colour scheme; a scheme past the end uses the
// last entry.
const int kElecRelayColorCount = 6;
extern const COLORREF kElecRelayBodyColors[kElecRelayColorCount];
extern const COLORREF kElecRelayMarkingColors[kElecRelayColorCount];

// The marking height (mm) and the text a marking line shows once its
// leading escapes are read: "\B" makes the text 1.25 times higher, "\s"
// 1.25 times lower, a backslash before anything else is dropped alone.
// Answers a pointer into text.
const wchar_t* ParseRelayMarking(const wchar_t* text, float* height);

class CSCHRelay : public CSCHBlock {
public:
  // A 5 V relay with one normally open group, 40 px wide.
  CSCHRelay();
  ~CSCHRelay() override;

  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  void Start() override;
  void Step(float dt) override;
  // The own fields (table below), then the base block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Pin count, pin places, symbol height and footprint size from the relay
  // kind, the group count and the group kinds. Wires on the pins that stay
  // are kept.
  void BuildPins();

  // The coil resistance, rated voltage / coil current; not a finite
  // positive number for a row that gives none.
  float CoilResistance() const;
  // Whether that resistance is a finite positive number; a coil without one
  // burns at its first step.
  bool CoilSound() const;
  // The current that pulls the armature in, pull-in voltage / coil
  // resistance; infinite (never reached) for a coil that is not sound.
  float PullInCurrent() const;
  // Index of the first pin of a contact group (0-based), -1 out of range.
  int GroupFirstPin(int group) const;

  // Fields, in this order.
  float ratedVoltage = 5;            // U, volts
  unsigned char polarityMode = kElecRelayUnpolarised;
  float pullInVoltage = 4.75f;       // Umin, volts
  float coilVoltageLimit = 6.2f;     // Umax, volts
  float coilCurrent = 0.1f;          // I, amperes
  float releaseCurrent = 0.08f;      // Ioff, amperes
  float dcSwitchingPower = 300;      // watts
  float acSwitchingVoltage = 277;    // volts
  float acSwitchingPower = 27710;    // watts
  unsigned char relayKind = kElecRelayStandard;
  unsigned char groupCount = 1;      // 0..4
  unsigned char groupKinds[kElecRelayMaxGroups] = {0, 0, 0, 0};
  unsigned char packageShape = kElecRelayBox;
  unsigned char colorScheme = 0;
  float bodyLength = 10, bodyWidth = 10;  // mm
  float cornerRadius = 0, rim = 0, earLength = 0;  // mm
  wchar_t* marking[3] = {nullptr, nullptr, nullptr};  // owned
  // Run time.
  float smoothedCoilCurrent = 0;
  float smoothedResetCurrent = 0;
  unsigned char armature = 0;  // 1 pulled in
  float smoothedContactPower[kElecRelayMaxGroups] = {0, 0, 0, 0};
  unsigned char coilBurnt = 0, resetCoilBurnt = 0;
  unsigned char groupBurnt[kElecRelayMaxGroups] = {0, 0, 0, 0};

private:
  // One coil between pins a and b: drives them, smooths its current into
  // *smoothed and burns it (*coilBurnt) above the voltage limit. Answers the
  // current the armature rule sees.
  float StepCoil(int a, int b, float dt, float* smoothed, unsigned char* burntCoil,
                 const wchar_t* message);
  // The closed contact between states A and B of group g; burns it.
  void CheckContact(int g, const SchPinState& A, const SchPinState& B, float dt);
};

// Registry creator ("Relay").
CSCHBlock* CreateCSCHRelay();
