// The run cycle of a scheme: the blocks' Start, Step and Stop slots around
// the nets that BuildNets made (scheme/simulation/nets.cpp).
#include "scheme/model/scheme.h"

#include "scheme/model/block.h"
#include "scheme/simulation/net.h"

void SchScheme::StartSimulation() {
  startedToken = 1;
  for (CSCHBlock* b = blocks; b; b = b->next) b->Start();
  // The only full summation of a run; steps change the sums by differences.
  for (SchNet* n = nets; n; n = n->next) n->Recalculate();
  running = 1;
}

void SchScheme::StepSimulation(float dt) {
  for (CSCHBlock* b = blocks; b; b = b->next) b->Step(dt);
}

void SchScheme::StopSimulation() {
  for (CSCHBlock* b = blocks; b; b = b->next) b->Stop();
  for (CSCHBlock* b = blocks; b; b = b->next)
    for (int i = 0; i < b->pinCount; i++) b->pins[i].net = nullptr;
  for (SchWire* w = wires; w; w = w->next) w->net = nullptr;
  DeleteNets();
  groundNet = nullptr;
  running = 0;
}

void SchScheme::SaveRunState(CStream* stream) {
  for (CSCHBlock* b = blocks; b; b = b->next) b->SaveRunState(stream);
}

bool SchScheme::LoadRunState(CStream* stream) {
  for (CSCHBlock* b = blocks; b; b = b->next)
    if (!b->LoadRunState(stream)) return false;
  return true;
}
