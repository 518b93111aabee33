// The block-level loop of a simulation run of a scheme. The nets code adds
// to it what concerns the nets (recomputing their sums at the start,
// deleting them at the stop).
#include "scheme/scheme.h"

#include "scheme/block.h"

void SchScheme::StartSimulation() {
  startedToken = 1;
  for (CSCHBlock* b = blocks; b; b = b->next) b->Start();
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
