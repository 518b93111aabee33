// CAVR: an AVR microcontroller of the ATmega families in a 28-, 32-, 40-,
// 44- or 64-pin package, a programmable unit: it owns a program on the
// microcontroller's catalogue, whose clock and memory limits come from the
// model. Its pins are named from the pin tables of its package; its supply
// pins that the package has several times are joined into one net for a
// run; it draws its symbol and its package on the board and keeps its model
// and its program in its record.
#pragma once

#include "blocks/engine/payload_table.h"
#include "scheme/model/block.h"
#include "scheme/simulation/signal_source.h"

class BeScheme;
class CBEIOPort;

// The package codes (model key "corps").
const int kUnitAvrWideDip = 0;  // dual-in-line, rows 15.24 mm apart
const int kUnitAvrDip = 1;      // dual-in-line, rows 7.62 mm apart
const int kUnitAvrQuadFlat = 2;

// The program's fixed memory costs.
const int kUnitAvrSharedRoutineRom = 1826;
const int kUnitAvrBaseRom = 312;
const int kUnitAvrBaseRam = 150;

// The width of a dual-in-line symbol, pixels.
const int kUnitAvrDipSymbolWidth = 200;

// An undriven pin: 0 V behind this resistance.
const float kUnitAvrFloatingResistance = 5000000.0f;
// The pin model: pull-up and output resistances, ohms; the reverse supply
// a chip survives, volts; the share of a driven value that is neither a bit
// nor PWM on the supply side.
const double kUnitAvrPullUpResistance = 4000.0;
const double kUnitAvrOutputResistance = 250.0;
const float kUnitAvrReverseSupply = -1.0f;
const double kUnitAvrOtherValueShare = 0.7;
// The most pins a package has.
const int kUnitAvrMaxPins = 64;

class CAVR : public CSCHBlock {
public:
  // Builds the microcontroller catalogue once and makes an empty program on
  // it (shared routines 1826, base ROM 312 and base RAM 150 bytes); the
  // defaults below, prefix "DD", no pins until a model is applied or a
  // record read.
  CAVR();
  // Deletes the program with its blocks; the base then deletes the child
  // parts.
  ~CAVR() override;

  // The base fields, then the model's keys and the pins; then the device
  // blocks of the program (avr_program_blocks.h) and the application
  // circuit (avr_circuit.h), each after deleting what an earlier model
  // made. A model whose pin count ("n"), package ("corps"), timer count
  // ("Timers") or PWM channel count ("PWM") is not one that
  // IsAvrModelKnown accepts is refused: the chip takes only the base fields
  // and keeps its defaults, no pins, blocks or parts.
  void ApplyDbRecord(CompDbRecord* record) override;
  // The body, the instance name above the middle and the model (up to its
  // first comma) below it; the pins and their labels are the view's.
  void Paint(HDC dc) override;
  // The package with the "ATMEL" marking and the model, and the instance
  // name.
  void PaintFootprint(PcbPainter* painter) override;
  // Opens a block-diagram editor on the program; false.
  bool Edit() override;
  // The model's fields, the pin count, the base record and the program's
  // "BE5 " stream.
  void Save(CStream* stream) override;
  // The same order. A record cut short, or whose package, pin count, timer
  // or PWM count is not a known one (IsAvrModelKnown; a pin count of 0 is
  // a chip whose model was refused), leaves the chip as it was and fails
  // the read of the scheme; so does a program that cannot be read.
  void Load(CStream* stream) override;
  // The run (avr_simulation.cpp). Start: not burnt, not running, the
  // program started, every pin floating; a program that does not fit is
  // logged. Step: the chip as a load between its supply and ground nodes,
  // burnt by a supply out of range or a pin beyond its input window, held
  // in reset at or below its minimum supply; otherwise the pins read into
  // their pin blocks, the program stepped and the outputs driven. Stop:
  // stops a running program.
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // Joins the package's ground pins and its supply pins into one net each
  // and chooses the supply, ground, AREF and AVCC pins.
  void JoinInternalNets() override;

  // The program's clock and limits, the pin layout of the package and the
  // pin names of its table; called once the pin count is set.
  void BuildPins();
  // Every pin 0 V behind 5,000,000 ohm: an unpowered or burnt chip.
  void SetAllPinsFloating();
  // Turns a part placed on the board around the chip by a quarter turn.
  static void RotateChildPart(const CSCHBlock* chip, CSCHBlock* part);

  // Whether the model's pin count, package, timer and PWM channel counts
  // are ones this chip knows: a pin table (28, 32, 40, 44, 64), packages
  // 0 to 2, timer counts 3 and 4 (0 stands for 3), up to 8 PWM channels.
  static bool IsAvrModelKnown(int pinCount, int package, int timers, int pwm);
  // Whether the model selects the second column of the 40- and 44-pin
  // tables (8 PWM channels with 4 timers).
  bool IsEightPwm() const { return PWM == 8 && Timers == 4; }

  BeScheme* GetProgram() const { return program_; }
  int GetSupplyPin() const { return supplyPin_; }
  int GetGroundPin() const { return groundPin_; }
  int GetArefPin() const { return arefPin_; }
  int GetAvccPin() const { return avccPin_; }
  bool IsRunning() const { return running_ != 0; }

  // The model, in the order of the fields.
  int corps = kUnitAvrWideDip;
  float Umin = 4.5f, Umax = 6.0f;  // volts
  float freq = 1.0f;               // MHz
  int ROM = 8;                     // KB
  int RAM = 0;                     // bytes
  float Imax = 0;                  // amperes (key "I" in mA)
  int ADC = 8;
  int UART = 1;
  int PWM = 3;
  int Timers = 3;
  unsigned char PCINTx = 0;
  int programmer = 0;  // key "program": 0 SPI header, 1 JTAG header, other none

private:
  // The Norton sums of the chip's supply node B and ground node A.
  struct NodeSums {
    double IB, GB, IA, GA;
  };
  // The pin block's mode as the step treats it: a switchable pin as an
  // output, an input with pull-up or an input by its bits.
  static int ElectricMode(const CBEIOPort* port);
  // The pin a pin block stands for when it is on a net; -1 otherwise.
  int NetPinOf(const CBEIOPort* port) const;
  void AddPinLoads(NodeSums* sums) const;
  // Reads every pin in a reading mode into its block; false when a pin
  // burnt the chip.
  bool ReadPins(const NodeSums& sums, double VA, double RA, double VB);
  // Sets the block's value from what its pin sees; false (the chip burnt)
  // outside [low, high].
  bool CheckAndRead(CBEIOPort* port, float U, float U2, int kind, SchSignalSource* source, float low, float high,
                    float middle);
  void DriveOutputs(const NodeSums& sums);
  void BurnOut(const wchar_t* format);

  unsigned char running_ = 0;
  // A source per pin for the values that are neither bits nor lines, and
  // the handles under which read lines are published.
  SchSignalSource pinSources_[kUnitAvrMaxPins] = {};
  BePayloadHandle lineHandles_[kUnitAvrMaxPins] = {};
  int supplyPin_ = -1;
  int groundPin_ = -1;
  int arefPin_ = -1;
  int avccPin_ = -1;
  BeScheme* program_;  // owned, never null
};

CSCHBlock* CreateCAVR();
