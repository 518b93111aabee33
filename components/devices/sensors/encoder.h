// The rotary encoder on a shaft, in one of three families chosen by its
// type: a passive contact encoder (a switch between a common and one or two
// channels), an absolute contact encoder with a 128-position code on up to
// 8 channels (with or without a supply pin), and a powered incremental
// encoder with open-collector, push-pull, pull-up or differential outputs
// and an optional index. Incremental outputs hand the nets the pulse record
// (edges and tick change of the step) as a source of kind 7 (channel A or
// the single output) or 8 (channel B).
#pragma once

#include <windows.h>

#include "components/devices/encoder_supply.h"
#include "components/devices/pulse_record.h"
#include "components/devices/sensors/rot_sensor.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/signal_source.h"

class CSCHEncoder : public CSCHRotSensor {
public:
  // Families by Type; every other value is a powered incremental encoder.
  static constexpr unsigned char kTypePassive = 0;
  static constexpr unsigned char kTypeIncremental = 1;
  static constexpr unsigned char kTypeAbsolute = 3;
  static constexpr unsigned char kTypeAbsoluteSupplied = 4;
  // Output stages of the powered incremental encoder.
  enum OutputStage : unsigned char {
    kOutOpenCollector = 0,          // the first level open
    kOutOpenCollectorInverted = 1,  // the first level conducting
    kOutPushPull = 2,
    kOutPullUp = 3,                 // 250-ohm pull-up
    kOutDifferential = 4,
  };
  static constexpr int kWidth = 114, kHeight = 55;
  static constexpr int kCodePositions = 128;
  static constexpr int kMaxCodeChannels = 8;
  // The largest tick count the record keeps (three bytes).
  static constexpr int kMaxTicks = 0xFFFFFF;
  // Bytes of the record before the device record.
  static constexpr int kOwnRecordBytes = 22;

  // A passive two-channel encoder of 100 ticks; a 114 x 55 px symbol.
  CSCHEncoder();

  // The device columns, then "Type", "channels", "outType", "N", "U", "I",
  // "IoutMax", "friction"; a form code above 1 becomes 0; then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The shared picture "encoder.png" centred on the block's height, a bar
  // down the right edge of a block taller than the picture, the instance
  // name below.
  void Paint(HDC dc) override;
  // Clears the tick memory; the burnt flag stays.
  void Start() override;
  void Step(float dt) override;
  // Its own fields, then the device record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // The pins of the type, output stage and channel count, all on the right;
  // the block at least 15 px a pin high. False, with the pins as they
  // were, when memory runs out.
  bool BuildPins();
  // The pin count BuildPins gives for the current fields.
  int ExpectedPinCount() const;
  // The absolute code at a position of the 128 (bit i set: channel i + 1
  // joined to the common).
  static unsigned char AbsoluteCode(int position);

  // Fields, in this order.
  SchSignalSource pulseRecord = {nullptr, 0};  // edges and tick change of the last step
  unsigned char Type = kTypePassive;
  unsigned char channels = 2;
  unsigned char outType = kOutOpenCollectorInverted;
  int N = 100;        // ticks (periods) a revolution
  float U = 0;        // V, nominal supply voltage
  float I = 0;        // A, supply current at U
  float IoutMax = 0;  // A, highest output current
  PulseTickMemory ticks = {0, 0};

private:
  // What the common part of a step finds.
  struct TickStep {
    int n;          // the count (halved for a single output)
    bool index;     // the shaft at the index (whole tick value -3 to 3)
    int edges;      // signed
    float change;   // signed tick change
  };
  TickStep CountTicks();
  bool Single() const { return channels <= 1; }
  int CodeChannels() const { return channels < kMaxCodeChannels ? channels : kMaxCodeChannels; }
  // Pins of each family.
  int PassivePins() const { return Single() ? 2 : 3; }
  int IncrementalPins() const;
  void StepPassive(const TickStep& k);
  void StepAbsolute(const TickStep& k);
  void StepAbsoluteSupplied(const TickStep& k);
  void StepIncremental(const TickStep& k);
  void StepDifferential(const TickStep& k, const EncoderSupply& s, int supplyPin, float load);
  void StepSingleOutput(const TickStep& k, const EncoderSupply& s, int supplyPin, float load);
  void StepTwoChannels(const TickStep& k, const EncoderSupply& s, int supplyPin, float load);
  // The two levels of a single-ended output stage, Uo the open level.
  SchPinState OutputLevels(const EncoderSupply& s, float Uo, int kind);
  // The common (pin 0) and the channels whose code bit is set form one
  // node; the clear channels are driven open at the common's voltage. A
  // common joined to no channel is driven open too when openLoneCommon.
  void DriveContacts(int n, bool openLoneCommon);
  void DriveOpen(int from, int to, float U);
  void Burn();
};

// Registry creator ("Encoder").
CSCHBlock* CreateCSCHEncoder();
