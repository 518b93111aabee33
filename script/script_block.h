// The script block: a simulation block that runs a compiled script on its
// own machine. Its input and output pins are named after variables of the
// script: every 0.05 s of simulated time the linked inputs are copied into
// those variables, the machine runs one slice of the program, and the
// variables are copied into the outputs.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"
#include "script/machine/vm_engine.h"

class BeCatalogueGroup;

const unsigned int kScriptBlockClassId = 0x2A424581;
extern const wchar_t kScriptBlockCaption[];  // "Виртуальный процессор на основе JavaScript"
extern const wchar_t kScriptBlockBitmap[];   // its palette picture, "js.bmp"
extern const wchar_t kScriptBlockGroup[];    // the palette group that offers it, "Интеллект"

// Adds the script block's entry to a group of a unit's catalogue; false when
// memory ran out.
bool AddScriptBlockEntry(BeCatalogueGroup* group);

class CBEVirtualMachine : public CBEBlock {
public:
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 60;
  static constexpr int kMinHeight = 70;  // of a block sized for its pins
  static constexpr int kCycles = 10000;
  static constexpr int kRom = 361984;
  static constexpr int kRam = 145444;
  static constexpr float kRunPeriod = 0.05f;  // seconds of simulated time between slices

  // White, 200 x 60, the costs above, no pins, no source, an empty machine.
  CBEVirtualMachine();
  // Frees the source and the pin names; the machine goes with the block.
  ~CBEVirtualMachine() override;

  // A new machine, the built-ins, and one global per pin (inputs, then
  // outputs, so a later pin hides an earlier one of the same name): false
  // for a bit, integer 0 for char, short and int, number 0 for float and
  // double, undefined for any other type.
  void Start() override;
  // Adds dt to the clock; past 0.05 s the clock restarts at 0 (the excess
  // is dropped), the linked inputs go into their variables, the machine
  // runs one slice and the variables go into the outputs.
  void Step(float dt) override;
  // The pins with their names and types, the source, the code, then the
  // base record.
  void Save(CStream* stream) override;
  // Reads what Save wrote. A record whose counts or code size do not fit in
  // the bytes left, or that ends early, answers false and leaves the pins,
  // source and code as they were.
  bool Load(CStream* stream) override;
  // Body, "JavaScript" and the script picture.
  void Draw(HDC dc) override;
  // The script editor on this block, modally; true when it closed with OK.
  bool ShowProperties() override;

  // Height for the pins: the largest of 20 x inputs + 10, 20 x outputs + 10
  // and 70 (the top stays), the pins spread again.
  void UpdateSize();

  // Pin lists as the script editor sets them. A pin that goes frees its
  // name; new pins have no name and the type bit. False when memory ran
  // out (nothing changed).
  bool SetInputPins(int count);
  bool SetOutputPins(int count);
  // Keeps a copy of the name (null or empty: none); false when memory ran
  // out or there is no such pin.
  bool SetInputName(int i, const wchar_t* name);
  bool SetOutputName(int i, const wchar_t* name);
  // Keeps a copy of the source text (null or empty: none); false when
  // memory ran out.
  bool SetSource(const wchar_t* text);
  const wchar_t* Source() const { return source_; }

  VmEngine* Machine() { return &machine_; }
  float Accumulator() const { return accumulator_; }
  // Simulated seconds since Start: what the script's time() answers.
  double RunTime() const { return runTime_; }

  static CBEBlock* Create();

private:
  void FreePinNames();
  void AddPinVariable(const wchar_t* name, BeSignalType type);
  void CopyInputs();
  void CopyOutputs();

  VmEngine machine_;
  wchar_t* source_ = nullptr;  // owned
  float accumulator_ = 0;
  double runTime_ = 0;
};
