// CSCHPult: the operator's control panel in the robot's circuit. It owns a
// circuit of its own (the control panel's scheme, holding its computer),
// which it builds, starts, steps and stops with the robot's circuit, saves
// inside its record and opens in a scheme editor of its own. It has no pins:
// data reach the robot only through the programs' network blocks.
#pragma once

#include "scheme/model/block.h"

// The instance name of every control panel.
extern const wchar_t kUnitControlPanelName[];
// The editor mode of the control panel's scheme.
const int kUnitControlPanelEditorMode = 2;

class CSCHPult : public CSCHBlock {
public:
  // Named "Пульт управления", 200 x 100, with a nested scheme holding one
  // "PultComputer" part.
  CSCHPult();
  // Lets every editor of the nested scheme go (the program's scheme host),
  // then deletes the scheme, stopping a run first.
  ~CSCHPult() override;

  // The body and the instance name centred in it.
  void Paint(HDC dc) override;
  // Asks the program for a scheme editor in mode 2 on the nested scheme;
  // nothing changes.
  bool Edit() override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // The nested scheme's complete "SPH1" stream, then the base record.
  void Save(CStream* stream) override;
  // Empties the nested scheme, reads it back, then the base record. A
  // nested scheme that cannot be read fails the read of the outer scheme.
  void Load(CStream* stream) override;
  // Builds the nested scheme's nets with the outer ones.
  void JoinInternalNets() override;
};

CSCHBlock* CreateCSCHPult();
