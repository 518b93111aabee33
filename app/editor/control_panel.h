// CSCHPult: the control-panel component of a main scheme. It owns a nested
// scheme (the control panel's own circuit, holding its computer), simulates
// it as part of its own steps, saves it inside its record and opens it in a
// scheme editor of its own.
#pragma once

#include "scheme/model/block.h"

class CSCHPult : public CSCHBlock {
public:
  // Named "Пульт управления", with a nested scheme holding one
  // "PultComputer" part.
  CSCHPult();
  // Closes every editor that shows the nested scheme, then deletes it.
  ~CSCHPult() override;

  // Asks the program (the host) for a scheme editor in mode 2 on the nested
  // scheme; nothing changes.
  bool Edit() override;
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // The nested scheme's complete "SPH1" stream, then the base record.
  void Save(CStream* stream) override;
  // Empties the nested scheme, reads it back, then the base record.
  void Load(CStream* stream) override;
  void JoinInternalNets() override;
};

// Registry creators of the control panel and its computer.
CSCHBlock* CreateCSCHPult();
// Gives the registry rows "PULT" and "PultComputer" their creators; call it
// after RegisterComponentClasses.
void RegisterControlPanelClasses();
