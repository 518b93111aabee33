// A printed circuit board as a circuit component: on its scheme one block
// with the pins of the board's connectors; inside, a nested scheme with the
// board's own parts and wires, run together with the outer scheme.
#pragma once

#include "scheme/model/block.h"

// Deepest chain of boards inside boards that a stream may carry.
const int kSchMaxBoardNesting = 16;

class CSCH_PCB : public CSCHBlock {
public:
  // A 120 x 120 symbol for a 100 x 100 mm board, price 500; the nested
  // scheme is made by Attach.
  CSCH_PCB();
  // Deletes the nested scheme with every part on the board.
  ~CSCH_PCB() override;

  // Base Attach, then the nested scheme (once) owned by this component.
  void Attach(SchScheme* scheme) override;
  // Light green body with the instance name.
  void Paint(HDC dc) override;
  // Start, step and stop the nested scheme with the outer one.
  void Start() override;
  void Step(float dt) override;
  void Stop() override;
  // Board width and height (float32 mm), the nested "SPH1" stream, then the
  // base record. A nested stream that does not read fails the outer read.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // Builds the nets of the nested scheme.
  void JoinInternalNets() override;
  // The base run state, then the run states of the nested scheme's blocks.
  void SaveRunState(CStream* stream) override;
  bool LoadRunState(CStream* stream) override;

  // The board's parts (the base's nested scheme field); null before Attach.
  SchScheme* Board() const { return nestedScheme; }

private:
  void MakeNestedScheme();
};

// The "PCB" entry of the class registry.
CSCHBlock* CreateCSCH_PCB();
