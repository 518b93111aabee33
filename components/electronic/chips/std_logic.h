// The 14-pin standard logic chip: one class for fifteen gate sets (NAND,
// AND, OR-type and inverter chips with push-pull or open-collector outputs
// and a Schmitt-trigger inverter), chosen by the database key "Func".
// Logic levels and serial data (packet sets) both pass through the gates.
#pragma once

#include <windows.h>

#include "scheme/parts/device.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/signal_source.h"

class SchPacketSet;

// Pins every gate set has.
const int kElecStdLogicGround = 0;  // package pin 7
const int kElecStdLogicSupply = 1;  // package pin 14

// Packages (key "corps").
const unsigned char kElecStdLogicDip = 0;
const unsigned char kElecStdLogicNarrowSo = 1;
const unsigned char kElecStdLogicWideSo = 2;
const unsigned char kElecStdLogicFlatPack = 3;

const int kElecStdLogicGateCount = 6;
const int kElecStdLogicGateSets = 16;  // numbers 0-15; 12 is never produced

// What the gate sets are made of.
enum StdLogicFunction { kElecStdLogicNand, kElecStdLogicAnd, kElecStdLogicNor, kElecStdLogicInverter, kElecStdLogicSchmitt };

struct StdLogicGateSet {
  const wchar_t* func;  // the "Func" text, null for the unused number 12
  int gates;
  int inputs;  // per gate
  StdLogicFunction function;
  bool openCollector;
  char layout;  // 'A'-'F'; 0 for none
};

// The table of gate sets by number.
const StdLogicGateSet* GetStdLogicGateSet(int number);
// The number of a "Func" text (exact comparison), -1 when unknown.
int FindStdLogicGateSet(const wchar_t* func);

// What one input reads and what one gate holds: a logic level (kind 1, the
// level in level) or data of a net source kind with its source words.
struct StdLogicSignal {
  int kind = kSchSourceLogic;
  unsigned char level = 0;
  SchSignalSource source = {nullptr, 0};
  unsigned char flag = 0;  // polarity: the data idle at the other level
};

// One gate: the state it evaluates into, and the source its output hands
// its net. The output source is what a net may point at; it changes only
// while the output pin is written, so no reader ever sees a half-evaluated
// gate or a freed packet set.
struct StdLogicGate {
  StdLogicSignal state;
  bool ownsStateSet = false;  // state.source.packets is the gate's own clone
  SchSignalSource output = {nullptr, 0};
  bool ownsOutputSet = false;  // output.packets is the gate's own clone
};

class CSCHStdLogic : public CSCHDevice {
public:
  // A "1x6И-НЕ" in DIP: 5 V, 0.033 A, prefix "DD", 40 px wide.
  CSCHStdLogic();
  ~CSCHStdLogic() override;

  // "Func", "U", "I", "corps", the base fields, then BuildPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  void Paint(HDC dc) override;
  void PaintFootprint(PcbPainter* painter) override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // Gate set (int32), U, I (floats), then the block record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;

  // Pins, footprint size and symbol height from gate set and package.
  void BuildPins();

  // What Step uses. Reads set the burnt byte on an over-voltage.
  StdLogicSignal ReadInputPin(int pin);
  StdLogicSignal ReadSchmittInputPin(int pin, unsigned char* memory);
  void MergeInputAnd(StdLogicGate* gate, const StdLogicSignal& input);
  void MergeInputOr(StdLogicGate* gate, const StdLogicSignal& input);
  static void InvertLevel(StdLogicGate* gate);
  void DrivePushPullOutput(int pin, StdLogicGate* gate);
  void DriveOpenCollectorOutput(int pin, StdLogicGate* gate);
  // The gate becomes a level again; a clone its state holds is released.
  // Its output source stays until the output pin is written or released.
  void ResetOutput(StdLogicGate* gate);

  // Fields, in this order.
  int gateSet = 0;
  float nominalVoltage = 5.0f;   // U
  float nominalCurrent = 0.033f; // I
  unsigned char package = kElecStdLogicDip;
  StdLogicGate gates[kElecStdLogicGateCount];
  unsigned char schmittMemory[kElecStdLogicGateCount] = {};

private:
  // The state takes the signal; data of kinds 10 and 15 as the gate's own
  // clone of the set.
  void TakeSignal(StdLogicGate* gate, const StdLogicSignal& input);
  void ReleaseStateSet(StdLogicGate* gate);
  // After the output pin was written with a level or released: the output
  // source becomes empty and the set it held is released.
  void ReleaseOutputSource(StdLogicGate* gate);
  // Releases the pin (0 V behind 5e6 ohms) and the gate's published data.
  void ReleaseOutputPin(int pin, StdLogicGate* gate);
  // Checks an output current; burns and answers false outside the window.
  bool OutputCurrentOk(float I);
  // The output pin index of each gate (-1 for none) and its input pins.
  int GatePinBase(int gate) const;

  // Supply rails read at the start of the step.
  float Ug_ = 0, Rg_ = kSchOpenResistance, Uv_ = 0, Rv_ = kSchOpenResistance;
};

// Registry creator ("StdLogic").
CSCHBlock* CreateCSCHStdLogic();
